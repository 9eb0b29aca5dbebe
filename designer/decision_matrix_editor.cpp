// The decision matrix dialog's model: commands, lists, geometry and gestures.
#include "designer/decision_matrix_editor.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "designer/commands_component.h"
#include "designer/document.h"

namespace zor2 {

namespace {
constexpr int32_t kMarkerReach = 4;  // pixels either side of a threshold marker
}  // namespace

double ReadDecimal(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    const double v = std::strtod(begin, &end);
    return end == begin ? 0.0 : v;
}

CDecisionMatrixEditor::CDecisionMatrixEditor(Czor2Doc& doc, int32_t moduleId, int32_t componentId)
    : m_doc(doc), m_moduleId(moduleId), m_componentId(componentId) {}

CModelDecisionMatrix* CDecisionMatrixEditor::Component() const {
    CNetwork* m = m_doc.System().FindModule(m_moduleId);
    return m ? dynamic_cast<CModelDecisionMatrix*>(m->m_components.Find(m_componentId)) : nullptr;
}

std::string CDecisionMatrixEditor::Name() const {
    const CModelDecisionMatrix* c = Component();
    return c ? c->m_name : std::string();
}

const CModelOutput* CDecisionMatrixEditor::Output(int32_t id) const {
    const CModelDecisionMatrix* c = Component();
    return c ? c->FindOutput(id) : nullptr;
}

ECmd CDecisionMatrixEditor::Record(const std::string& line) {
    m_doc.RecordChange(line);
    return ECmd::Done;
}

// --- commands --------------------------------------------------------------------

ECmd CDecisionMatrixEditor::AddThreshold(int input, double value) {
    CModelDecisionMatrix* c = Component();
    if (!c) return ECmd::Unavailable;
    if (!c->AddThreshold(input, value)) return ECmd::Refused;
    return Record(
        Fmt("Added threshold %0.2f to Input %d of decision matrix: %s", value, input, Name().c_str()));
}

ECmd CDecisionMatrixEditor::EditThreshold(int input, int32_t thresholdId, double value) {
    CModelDecisionMatrix* c = Component();
    const auto* t = c ? c->Matrix().Input(input).FindThreshold(thresholdId) : nullptr;
    if (!t) return ECmd::Unavailable;
    const double old = t->m_value;
    if (!c->SetThreshold(input, thresholdId, value)) return ECmd::Refused;
    return Record(Fmt("Changed a threshold of Input %d from %0.2f to %0.2f in decision matrix: %s", input,
                      old, value, Name().c_str()));
}

ECmd CDecisionMatrixEditor::DeleteThreshold(int input, int32_t thresholdId) {
    CModelDecisionMatrix* c = Component();
    const auto* t = c ? c->Matrix().Input(input).FindThreshold(thresholdId) : nullptr;
    if (!t) return ECmd::Unavailable;
    const double value = t->m_value;
    c->DeleteThreshold(input, thresholdId);
    return Record(
        Fmt("Deleted threshold %0.2f from Input %d of decision matrix: %s", value, input, Name().c_str()));
}

ECmd CDecisionMatrixEditor::DeleteAllThresholds(int input) {
    CModelDecisionMatrix* c = Component();
    if (!c || c->Matrix().Input(input).m_thresholds.empty()) return ECmd::Unavailable;
    if (!AskYesNoCancel(
            m_doc.Prompter(),
            "Deleting all thresholds for this input will result in a single continuous timeline yielding a result of 0 during calculation, until at least one new threshold is created. Do you wish to continue?"))
        return ECmd::Cancelled;
    c->DeleteAllThresholds(input);
    return Record(Fmt("Deleted all thresholds of Input %d of decision matrix: %s", input, Name().c_str()));
}

ECmd CDecisionMatrixEditor::AssignCells(const std::vector<CDecisionCell>& cells, int32_t outputId) {
    CModelDecisionMatrix* c = Component();
    const CModelOutput* out = Output(outputId);
    if (!c || !out) return ECmd::Unavailable;
    const int32_t changed = c->AssignDecisions(cells, outputId);
    if (changed == 0) return ECmd::Unavailable;
    return Record(Fmt("Assigned %d decision(s) to output %s in decision matrix: %s", changed,
                      out->m_name.c_str(), Name().c_str()));
}

ECmd CDecisionMatrixEditor::ResetDecisions() {
    CModelDecisionMatrix* c = Component();
    if (!c) return ECmd::Unavailable;
    if (!AskYesNoCancel(
            m_doc.Prompter(),
            "Resetting the decision matrix sets all decisions (each unique intersection of input1 segments and input2 segments) to the default output. Do you want to continue?"))
        return ECmd::Cancelled;
    if (!c->ResetDecisions()) return ECmd::Unavailable;
    return Record(Fmt("Reset all decisions to the Default output in decision matrix: %s", Name().c_str()));
}

ECmd CDecisionMatrixEditor::AddOutput(const std::string& name, int32_t colour) {
    CModelDecisionMatrix* c = Component();
    if (!c) return ECmd::Unavailable;
    if (!c->AddDecisionOutput(name, colour)) return ECmd::Refused;
    Refresh(*c);
    return Record(Fmt("Added output %s to decision matrix: %s", name.c_str(), Name().c_str()));
}

ECmd CDecisionMatrixEditor::EditOutput(int32_t outputId, const std::string& name, int32_t colour) {
    CModelDecisionMatrix* c = Component();
    CModelOutput* out = c ? c->FindOutput(outputId) : nullptr;
    if (!out) return ECmd::Unavailable;
    if (out->m_name == name && out->m_colour == colour) return ECmd::Unavailable;
    out->m_name = name;
    out->m_colour = colour;
    return Record(Fmt("Edited output %s of decision matrix: %s", name.c_str(), Name().c_str()));
}

ECmd CDecisionMatrixEditor::DeleteOutput(int32_t outputId) {
    CModelDecisionMatrix* c = Component();
    CModelOutput* out = c ? c->FindOutput(outputId) : nullptr;
    if (!out || !c->m_owner) return ECmd::Unavailable;
    if (outputId == kDecisionDefaultOutputId) {
        m_doc.Prompter().Tell("This output cannot be removed from this component.");
        return ECmd::Refused;
    }
    if (!out->m_connections.Empty() &&
        !AskYesNoCancel(
            m_doc.Prompter(),
            "This output is currently connected to other components or elements within this system module. These connections will be removed. Do you want to continue?"))
        return ECmd::Cancelled;
    const std::string name = out->m_name;
    DeleteOutputPort(*c->m_owner, *c, out);
    Refresh(*c);
    m_doc.Editor().Prune(m_doc.System());
    Record(Fmt("Deleted output %s from decision matrix: %s", name.c_str(), Name().c_str()));
    m_doc.NotifyCountIO();
    return ECmd::Done;
}

// --- lists -------------------------------------------------------------------------

std::vector<std::string> CDecisionMatrixEditor::ThresholdItems(int input) const {
    std::vector<std::string> items;
    if (const CModelDecisionMatrix* c = Component())
        for (const auto& t : c->Matrix().Input(input).m_thresholds) items.push_back(Fmt("%0.2f", t.m_value));
    return items;
}

std::vector<int32_t> CDecisionMatrixEditor::ThresholdIds(int input) const {
    std::vector<int32_t> ids;
    if (const CModelDecisionMatrix* c = Component())
        for (const auto& t : c->Matrix().Input(input).m_thresholds) ids.push_back(t.m_id);
    return ids;
}

std::vector<std::string> CDecisionMatrixEditor::OutputItems() const {
    std::vector<std::string> items;
    if (const CModelDecisionMatrix* c = Component())
        for (const CModelOutput* out : c->m_outputs)
            items.push_back(Fmt("ID: %d, %s", out->m_id, out->m_name.c_str()));
    return items;
}

std::vector<int32_t> CDecisionMatrixEditor::OutputIds() const {
    std::vector<int32_t> ids;
    if (const CModelDecisionMatrix* c = Component())
        for (const CModelOutput* out : c->m_outputs) ids.push_back(out->m_id);
    return ids;
}

int32_t CDecisionMatrixEditor::SelectedOutput() const {
    return Output(m_selectedOutput) ? m_selectedOutput : kDecisionDefaultOutputId;
}

// --- geometry ------------------------------------------------------------------------

void CDecisionMatrixEditor::SetLayout(const CRect& line1, const CRect& line2, const CRect& grid) {
    m_line1 = line1;
    m_line2 = line2;
    m_grid = grid;
}

std::pair<double, double> CDecisionMatrixEditor::LineRange(int input) const {
    if (m_drag && m_drag->input == input) return m_drag->range;
    const CModelDecisionMatrix* c = Component();
    double lo = 0.0, hi = 0.0;
    bool any = false;
    if (c) {
        for (const auto& t : c->Matrix().Input(input).m_thresholds) {
            if (!std::isfinite(t.m_value)) continue;
            lo = any ? std::min(lo, t.m_value) : t.m_value;
            hi = any ? std::max(hi, t.m_value) : t.m_value;
            any = true;
        }
    }
    if (!any) return {-1.0, 1.0};
    const double margin = hi > lo ? (hi - lo) * 0.25 : std::max(1.0, std::fabs(lo) * 0.25);
    return {lo - margin, hi + margin};
}

int32_t CDecisionMatrixEditor::XOfValue(int input, double value) const {
    const CRect& r = LineRect(input);
    const auto [lo, hi] = LineRange(input);
    const double f = std::clamp((value - lo) / (hi - lo), 0.0, 1.0);
    return r.left + static_cast<int32_t>(std::lround(f * (r.right - r.left)));
}

double CDecisionMatrixEditor::ValueAtX(int input, int32_t x) const {
    const CRect& r = LineRect(input);
    const auto [lo, hi] = LineRange(input);
    const int32_t width = std::max(1, r.right - r.left);
    const double f = std::clamp(static_cast<double>(x - r.left) / width, 0.0, 1.0);
    // Round to the power of ten one pixel spans, so a dragged value reads cleanly.
    const double step = std::pow(10.0, std::ceil(std::log10((hi - lo) / width)));
    return std::round((lo + f * (hi - lo)) / step) * step;
}

int32_t CDecisionMatrixEditor::ThresholdAt(int input, CPoint p) const {
    const CRect& r = LineRect(input);
    if (p.y < r.top || p.y > r.bottom) return 0;
    const CModelDecisionMatrix* c = Component();
    if (!c) return 0;
    int32_t best = 0, bestDistance = kMarkerReach + 1;
    for (const auto& t : c->Matrix().Input(input).m_thresholds) {
        const int32_t d = std::abs(XOfValue(input, t.m_value) - p.x);
        if (d < bestDistance) {
            best = t.m_id;
            bestDistance = d;
        }
    }
    return best;
}

int32_t CDecisionMatrixEditor::Columns() const {
    const CModelDecisionMatrix* c = Component();
    return c ? static_cast<int32_t>(c->Matrix().m_input1.m_segments.size()) : 0;
}

int32_t CDecisionMatrixEditor::Rows() const {
    const CModelDecisionMatrix* c = Component();
    return c ? static_cast<int32_t>(c->Matrix().m_input2.m_segments.size()) : 0;
}

std::optional<CDecisionCell> CDecisionMatrixEditor::CellAt(CPoint p) const {
    const int32_t columns = Columns(), rows = Rows();
    if (columns == 0 || rows == 0 || p.x < m_grid.left || p.x >= m_grid.right || p.y < m_grid.top ||
        p.y >= m_grid.bottom)
        return std::nullopt;
    const int32_t column = (p.x - m_grid.left) * columns / std::max(1, m_grid.right - m_grid.left);
    const int32_t row = (p.y - m_grid.top) * rows / std::max(1, m_grid.bottom - m_grid.top);
    return CDecisionCell{column, row};
}

CRect CDecisionMatrixEditor::CellRect(const CDecisionCell& cell) const {
    const int32_t columns = std::max(1, Columns()), rows = std::max(1, Rows());
    const int32_t w = m_grid.right - m_grid.left, h = m_grid.bottom - m_grid.top;
    return {m_grid.left + cell.first * w / columns, m_grid.top + cell.second * h / rows,
            m_grid.left + (cell.first + 1) * w / columns, m_grid.top + (cell.second + 1) * h / rows};
}

std::string CDecisionMatrixEditor::CellText(const CDecisionCell& cell) {
    return Fmt("(%d, %d)", cell.first, cell.second);
}

int32_t CDecisionMatrixEditor::CellOutput(const CDecisionCell& cell) const {
    const CModelDecisionMatrix* c = Component();
    const int32_t d = c ? c->Matrix().DecisionAt(cell.first, cell.second) : -1;
    return d >= 0 ? c->Matrix().m_decisions[static_cast<size_t>(d)].m_outputId : 0;
}

int32_t CDecisionMatrixEditor::CellColour(const CDecisionCell& cell) const {
    const CModelOutput* out = Output(CellOutput(cell));
    return out ? out->m_colour : 0xFFFFFF;
}

// --- gestures -------------------------------------------------------------------------

void CDecisionMatrixEditor::PressLeft(CPoint p) {
    CancelGesture();
    for (int input : {1, 2}) {
        if (const int32_t id = ThresholdAt(input, p)) {
            const auto* t = Component()->Matrix().Input(input).FindThreshold(id);
            m_drag = CThresholdDrag{input, id, t->m_value, LineRange(input)};
            return;
        }
    }
    if (const auto cell = CellAt(p)) {
        m_paintingActive = true;
        m_painting.push_back(*cell);
    }
}

ECmd CDecisionMatrixEditor::PressRight(CPoint p) {
    CancelGesture();
    const auto cell = CellAt(p);
    return cell ? AssignCells({*cell}, kDecisionDefaultOutputId) : ECmd::Unavailable;
}

CMatrixClick CDecisionMatrixEditor::DoubleClick(CPoint p, ECmd* result) {
    CancelGesture();
    ECmd outcome = ECmd::Unavailable;
    CMatrixClick click;
    for (int input : {1, 2}) {
        const CRect& r = LineRect(input);
        if (p.x < r.left || p.x > r.right || p.y < r.top || p.y > r.bottom) continue;
        if (const int32_t id = ThresholdAt(input, p))
            click = {input, id};
        else
            outcome = AddThreshold(input, ValueAtX(input, p.x));
    }
    if (const auto cell = CellAt(p)) outcome = AssignCells({*cell}, kDecisionDefaultOutputId);
    if (result) *result = outcome;
    return click;
}

void CDecisionMatrixEditor::MoveTo(CPoint p) {
    if (m_drag) {
        m_drag->value = ValueAtX(m_drag->input, p.x);
    } else if (m_paintingActive) {
        const auto cell = CellAt(p);
        if (cell && std::find(m_painting.begin(), m_painting.end(), *cell) == m_painting.end())
            m_painting.push_back(*cell);
    }
}

ECmd CDecisionMatrixEditor::Release() {
    ECmd outcome = ECmd::Unavailable;
    if (m_drag) {
        const CThresholdDrag drag = *m_drag;
        m_drag.reset();
        const auto* t =
            Component() ? Component()->Matrix().Input(drag.input).FindThreshold(drag.id) : nullptr;
        if (t && t->m_value != drag.value) outcome = EditThreshold(drag.input, drag.id, drag.value);
    } else if (m_paintingActive) {
        const std::vector<CDecisionCell> cells = std::move(m_painting);
        CancelGesture();
        outcome = AssignCells(cells, SelectedOutput());
    }
    return outcome;
}

void CDecisionMatrixEditor::CancelGesture() {
    m_drag.reset();
    m_painting.clear();
    m_paintingActive = false;
}

}  // namespace zor2
