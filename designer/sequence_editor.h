// The "Action Sequence Timeline" pane without a toolkit: the sequence editor of
// the selected Pattern Sequencer. Its edits are commands (one undo level and one
// feedback line each); the timeline's geometry, hit-testing, drag and zoom rules,
// status lines and preview live here. The Qt pane draws this model and forwards
// the mouse to it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "components/decision/action_sequence.h"
#include "designer/commands_common.h"
#include "engine/object.h"

namespace zor2 {

class Czor2Doc;
class CSimController;

/// What the "Action Sequence Properties" dialog edits.
struct CSequenceSettings {
    std::string name;
    std::string description;
    int32_t trigger = 0;
    bool repeat = false;
};

/// What the "Action Properties" dialog edits.
struct CActionSettings {
    int32_t type = kActionOn;
    double constantValue = 0.0;
    double startValue = 0.0;
    double endValue = 0.0;
};

/// What lies under a point of the timeline.
enum class ETimelineHit { None, Cell, Bar, BarStart, BarEnd, Marker };
struct CTimelineHit {
    ETimelineHit kind = ETimelineHit::None;
    int32_t outputId = 0;  // the row's output
    int32_t actionId = 0;  // Bar, BarStart, BarEnd
    double start = 0.0;    // Cell: the start of the cycle under the point
};

/// An action bar as the timeline draws it.
struct CTimelineBar {
    int32_t actionId = 0;
    CRect rect;
    bool selected = false;
};

/// An action being moved or resized: where it would go on release.
struct CBarDrag {
    ETimelineHit kind = ETimelineHit::Bar;
    int32_t actionId = 0;
    int32_t outputId = 0;
    double start = 0.0;
    double duration = 0.0;
};

class CSequenceEditor {
  public:
    /// `sim`, when given, keeps previews from running while the simulation runs.
    explicit CSequenceEditor(Czor2Doc& doc, const CSimController* sim = nullptr);

    /// The Pattern Sequencer selected in the module view, or null.
    CModelActionSequence* Component() const;
    /// The sequence shown: the one selected here, else the running one, else the first.
    CActionSequence* Sequence() const;
    void SelectSequence(int32_t sequenceId) { m_sequenceId = sequenceId; }

    // --- lists and texts ------------------------------------------------------------
    /// "%s [Trigger: %d]" per sequence, and their ids.
    std::vector<std::string> SequenceItems() const;
    std::vector<int32_t> SequenceIds() const;
    /// The five status lines; without a component the pane's one prompt.
    std::vector<std::string> StatusLines() const;
    /// A row's label: the output's name and "Events: %d" in the shown sequence.
    std::vector<std::string> RowLabel(int32_t outputId) const;
    /// The pane's text when there is no timeline to draw, else empty.
    std::string EmptyText() const;
    CSequenceSettings SequenceSettings() const;
    CActionSettings ActionSettings(int32_t actionId) const;

    // --- commands: Done records one change; anything else changed nothing -------------
    ECmd NewSequence();
    /// Refused, with the message, when another sequence has the trigger value.
    ECmd EditSequence(const CSequenceSettings& settings);
    /// After "Are you sure you want to delete the selected action sequence?".
    ECmd DeleteSequence();
    /// Deletes every action of the shown sequence.
    ECmd ClearSequence();
    ECmd NewOutput();
    ECmd RenameOutput(int32_t outputId, const std::string& name);
    /// The output's actions in every sequence, after a confirmation.
    ECmd ClearOutput(int32_t outputId);
    /// The output with its actions in every sequence, after a confirmation.
    ECmd DeleteOutput(int32_t outputId);
    /// An "On" action of one cycle on `outputId` from `start`; it becomes the selected one.
    ECmd AddAction(int32_t outputId, double start);
    ECmd EditAction(int32_t actionId, const CActionSettings& settings);
    /// Moves or resizes an action (and may move it to another output's row).
    ECmd PlaceAction(int32_t actionId, int32_t outputId, double start, double duration);
    ECmd DeleteAction(int32_t actionId);
    int32_t SelectedAction() const { return m_actionId; }
    void SelectAction(int32_t actionId) { m_actionId = actionId; }

    /// Runs one system cycle with the shown sequence at `timeMs` and finished
    /// actions evaluated again, so the outputs show that moment; the time then
    /// stands one cycle further. Nothing while the simulation runs.
    void Preview(double timeMs);

    // --- timeline geometry ---------------------------------------------------------------
    void SetTimelineArea(const CRect& area) { m_area = area; }
    const CRect& TimelineArea() const { return m_area; }
    /// Pixels per cycle column, changed by "+" and "-" through fixed steps.
    int32_t ColumnWidth() const;
    bool ZoomIn();
    bool ZoomOut();
    /// The first second shown; "->" and "<-" scroll by one, never before 0.
    int32_t ScrollSeconds() const { return m_scroll; }
    void ScrollRight() { ++m_scroll; }
    bool ScrollLeft();
    /// Scrolls so that the shown sequence's time is in view (while it plays).
    void FollowTime();
    /// A cycle's length in whole milliseconds at the system's rate.
    double CycleMs() const;
    int32_t CyclesPerSecond() const;
    /// The outputs, one row each, top to bottom.
    std::vector<int32_t> Rows() const;
    CRect RowRect(size_t row) const;
    /// The label column left of the time axis, and the seconds header above the rows.
    static constexpr int32_t kLabelWidth = 110;
    static constexpr int32_t kHeaderHeight = 18;
    static constexpr int32_t kRowHeight = 26;
    int32_t XOfTime(double ms) const;
    std::vector<CTimelineBar> Bars() const;
    /// The x of the time marker, when the sequence's time is in view.
    std::optional<int32_t> MarkerX() const;
    CTimelineHit HitTest(CPoint p) const;

    // --- gestures --------------------------------------------------------------------------
    /// A click: an empty cell adds an action there, a bar is selected and may be
    /// dragged (its edges resize it), the marker may be dragged.
    ECmd Press(CPoint p);
    void MoveTo(CPoint p);
    /// Button up: a dragged bar is placed, a dragged marker previews its time.
    ECmd Release();
    /// A double click on a bar selects it and returns its id for the action dialog (0: none).
    int32_t DoubleClick(CPoint p);
    void CancelGesture();
    const std::optional<CBarDrag>& Drag() const { return m_drag; }

  private:
    ECmd Record(const std::string& line);
    CModelOutput* Output(int32_t outputId) const;
    int32_t ColumnAt(int32_t x) const;

    Czor2Doc& m_doc;
    const CSimController* m_sim;
    int32_t m_sequenceId = 0;
    int32_t m_actionId = 0;
    size_t m_zoom;
    int32_t m_scroll = 0;
    CRect m_area{0, 0, 600, 200};
    // The gesture under way.
    std::optional<CBarDrag> m_drag;
    CBarDrag m_dragFrom;
    int32_t m_pressX = 0;
    bool m_markerDrag = false;
};

}  // namespace zor2
