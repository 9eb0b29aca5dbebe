// The decision matrix dialog without a toolkit: its edits as commands (one undo
// level and one feedback line each), the geometry of its two number lines and
// its grid, hit-testing, and the drag rules of thresholds and painted cells.
// The Qt dialog draws this model and forwards the mouse to it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "components/decision/decision_matrix.h"
#include "designer/commands_common.h"
#include "engine/object.h"

namespace zor2 {

class Czor2Doc;

/// A decimal number at the start of `text`; text that is not a number reads as 0.
double ReadDecimal(const std::string& text);

/// What a double click asks the dialog to do next.
struct CMatrixClick {
    int input = 0;            // the number line of a threshold marker (1, 2); 0 for none
    int32_t thresholdId = 0;  // the marker double-clicked: the dialog edits its value
};

class CDecisionMatrixEditor {
  public:
    /// Edits the decision matrix `componentId` of module `moduleId` in `doc`.
    CDecisionMatrixEditor(Czor2Doc& doc, int32_t moduleId, int32_t componentId);

    /// The component, looked up afresh: null once it no longer exists.
    CModelDecisionMatrix* Component() const;

    // --- commands: Done records one change; anything else changed nothing ----------
    /// Refused (silently) for a value within 0.0001 of a threshold of that input.
    ECmd AddThreshold(int input, double value);
    ECmd EditThreshold(int input, int32_t thresholdId, double value);
    ECmd DeleteThreshold(int input, int32_t thresholdId);
    /// After "Deleting all thresholds for this input ..." answered Yes.
    ECmd DeleteAllThresholds(int input);
    /// The cells take the output; Unavailable when every one already had it.
    ECmd AssignCells(const std::vector<CDecisionCell>& cells, int32_t outputId);
    /// After "Resetting the decision matrix ..." answered Yes.
    ECmd ResetDecisions();
    ECmd AddOutput(const std::string& name, int32_t colour);
    ECmd EditOutput(int32_t outputId, const std::string& name, int32_t colour);
    /// Output 10 is refused; a connected output asks first. Decisions that
    /// selected it select Default.
    ECmd DeleteOutput(int32_t outputId);

    // --- lists of the dialog ----------------------------------------------------------
    /// The thresholds of an input as "%0.2f", in order, and their ids.
    std::vector<std::string> ThresholdItems(int input) const;
    std::vector<int32_t> ThresholdIds(int input) const;
    /// The outputs as "ID: %d, %s", and their ids.
    std::vector<std::string> OutputItems() const;
    std::vector<int32_t> OutputIds() const;
    /// The output the left button paints with (Default at first, and again when
    /// the selected one is gone).
    int32_t SelectedOutput() const;
    void SelectOutput(int32_t outputId) { m_selectedOutput = outputId; }

    // --- geometry -----------------------------------------------------------------------
    /// Places the two number lines and the grid (dialog coordinates).
    void SetLayout(const CRect& line1, const CRect& line2, const CRect& grid);
    const CRect& LineRect(int input) const { return input == 1 ? m_line1 : m_line2; }
    const CRect& GridRect() const { return m_grid; }
    /// The values a number line spans: its thresholds with a margin around them
    /// (-1..1 without thresholds). Held still while a threshold is dragged.
    std::pair<double, double> LineRange(int input) const;
    int32_t XOfValue(int input, double value) const;
    /// The value under `x`, kept inside the line and rounded to what one pixel resolves.
    double ValueAtX(int input, int32_t x) const;
    /// The id of the threshold whose marker is under `p`, or 0.
    int32_t ThresholdAt(int input, CPoint p) const;
    /// Segment counts: the grid's columns (input 1) and rows (input 2).
    int32_t Columns() const;
    int32_t Rows() const;
    std::optional<CDecisionCell> CellAt(CPoint p) const;
    CRect CellRect(const CDecisionCell& cell) const;
    /// "(%d, %d)": the two segment indexes.
    static std::string CellText(const CDecisionCell& cell);
    /// The output a cell selects (0 for none), and that output's colour.
    int32_t CellOutput(const CDecisionCell& cell) const;
    int32_t CellColour(const CDecisionCell& cell) const;

    // --- gestures -----------------------------------------------------------------------
    /// Left button down: a marker starts a drag, a cell starts painting.
    void PressLeft(CPoint p);
    /// Right click: the cell selects Default.
    ECmd PressRight(CPoint p);
    /// Double click: a cell selects Default; a marker is returned for its value
    /// dialog; empty space on a number line adds a threshold there.
    CMatrixClick DoubleClick(CPoint p, ECmd* result = nullptr);
    void MoveTo(CPoint p);
    /// Button up: the dragged threshold takes its value, the painted cells
    /// their output, each as one command.
    ECmd Release();
    void CancelGesture();

    /// A threshold being dragged: its input, id and the value under the cursor.
    struct CThresholdDrag {
        int input = 0;
        int32_t id = 0;
        double value = 0.0;
        std::pair<double, double> range{};
    };
    const std::optional<CThresholdDrag>& Drag() const { return m_drag; }
    /// The cells painted so far while the button is held.
    const std::vector<CDecisionCell>& Painting() const { return m_painting; }

  private:
    ECmd Record(const std::string& line);
    std::string Name() const;
    const CModelOutput* Output(int32_t id) const;

    Czor2Doc& m_doc;
    int32_t m_moduleId;
    int32_t m_componentId;
    int32_t m_selectedOutput = kDecisionDefaultOutputId;
    CRect m_line1{}, m_line2{}, m_grid{};
    std::optional<CThresholdDrag> m_drag;
    std::vector<CDecisionCell> m_painting;
    bool m_paintingActive = false;
};

}  // namespace zor2
