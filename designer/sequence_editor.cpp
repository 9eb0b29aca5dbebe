// The sequence pane's model: lists, status lines, commands, timeline geometry,
// gestures and preview.
#include "designer/sequence_editor.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "designer/commands_component.h"
#include "designer/document.h"
#include "simulation/sim_controller.h"

namespace zor2 {

namespace {
constexpr std::array<int32_t, 9> kColumnWidths = {4, 6, 8, 12, 16, 24, 32, 48, 64};
constexpr size_t kDefaultZoom = 4;  // 16 pixels per cycle
constexpr int32_t kEdgeReach = 4;   // pixels of a bar's edge that resize it
}  // namespace

CSequenceEditor::CSequenceEditor(Czor2Doc& doc, const CSimController* sim)
    : m_doc(doc), m_sim(sim), m_zoom(kDefaultZoom) {}

CModelActionSequence* CSequenceEditor::Component() const {
    return dynamic_cast<CModelActionSequence*>(m_doc.Editor().SelectedComponent(m_doc.System()));
}

CActionSequence* CSequenceEditor::Sequence() const {
    CModelActionSequence* c = Component();
    if (!c) return nullptr;
    CActionSequencer& q = c->Sequencer();
    if (const int32_t i = q.IndexOf(m_sequenceId); i >= 0) return &q.m_sequences[static_cast<size_t>(i)];
    if (CActionSequence* running = q.Running()) return running;
    return q.m_sequences.empty() ? nullptr : &q.m_sequences.front();
}

CModelOutput* CSequenceEditor::Output(int32_t outputId) const {
    CModelActionSequence* c = Component();
    return c ? c->FindOutput(outputId) : nullptr;
}

ECmd CSequenceEditor::Record(const std::string& line) {
    m_doc.RecordChange(line);
    return ECmd::Done;
}

// --- lists and texts -----------------------------------------------------------------

std::vector<std::string> CSequenceEditor::SequenceItems() const {
    std::vector<std::string> items;
    if (const CModelActionSequence* c = Component())
        for (const CActionSequence& s : c->Sequencer().m_sequences)
            items.push_back(Fmt("%s [Trigger: %d]", s.m_name.c_str(), s.m_trigger));
    return items;
}

std::vector<int32_t> CSequenceEditor::SequenceIds() const {
    std::vector<int32_t> ids;
    if (const CModelActionSequence* c = Component())
        for (const CActionSequence& s : c->Sequencer().m_sequences) ids.push_back(s.m_id);
    return ids;
}

std::vector<std::string> CSequenceEditor::StatusLines() const {
    if (!Component()) return {"Select an Action Sequence Component to create and edit Pattern Sequences"};
    const CActionSequence* s = Sequence();
    if (!s)
        return {"Current Sequence:  none selected", "Time: --", "Duration: --", "Repeat: --",
                "Total Events: --"};
    return {Fmt("Current Sequence:   %s", s->m_name.c_str()),
            Fmt("Time:   %0.2f secs", s->m_t / 1000.0) + (s->Finished() ? " (done)" : ""),
            Fmt("Duration:   %0.2f secs", s->m_length / 1000.0), s->m_repeat ? "Repeat: Yes" : "Repeat: No",
            Fmt("Total Events:  %d", static_cast<int>(s->m_actions.size()))};
}

std::vector<std::string> CSequenceEditor::RowLabel(int32_t outputId) const {
    const CModelOutput* out = Output(outputId);
    const CActionSequence* s = Sequence();
    if (!out) return {};
    return {out->m_name, Fmt("Events: %d", s ? CModelActionSequence::EventCount(*s, outputId) : 0)};
}

std::string CSequenceEditor::EmptyText() const {
    const CModelActionSequence* c = Component();
    if (!c) return "Select an Action Sequence Component to create and edit Pattern Sequences";
    return c->m_outputs.Empty() || !Sequence() ? "Click 'New' below..." : "";
}

CSequenceSettings CSequenceEditor::SequenceSettings() const {
    const CActionSequence* s = Sequence();
    if (!s) return {};
    return {s->m_name, s->m_description, s->m_trigger, s->m_repeat};
}

CActionSettings CSequenceEditor::ActionSettings(int32_t actionId) const {
    CActionSequence* s = Sequence();
    const CAction* a = s ? s->FindAction(actionId) : nullptr;
    if (!a) return {};
    return {a->m_type, a->m_constantValue, a->m_startValue, a->m_endValue};
}

// --- commands ------------------------------------------------------------------------

ECmd CSequenceEditor::NewSequence() {
    CModelActionSequence* c = Component();
    if (!c) return ECmd::Unavailable;
    const CActionSequence& s = c->NewSequence();
    m_sequenceId = s.m_id;
    m_actionId = 0;
    return Record(Fmt("Added action sequence %s (trigger %d) to component: %s", s.m_name.c_str(), s.m_trigger,
                      c->m_name.c_str()));
}

ECmd CSequenceEditor::EditSequence(const CSequenceSettings& settings) {
    CModelActionSequence* c = Component();
    CActionSequence* s = Sequence();
    if (!c || !s) return ECmd::Unavailable;
    const int32_t other = c->Sequencer().FindByTrigger(settings.trigger);
    if (other >= 0 && c->Sequencer().m_sequences[static_cast<size_t>(other)].m_id != s->m_id) {
        m_doc.Prompter().Tell(Fmt(
            "The trigger value of %d is already being used to trigger a different action sequence. Trigger values must be unique. Please enter a different integer value for the sequence.",
            settings.trigger));
        return ECmd::Refused;
    }
    if (SequenceSettings().name == settings.name && s->m_description == settings.description &&
        s->m_trigger == settings.trigger && s->m_repeat == settings.repeat)
        return ECmd::Unavailable;
    s->m_name = settings.name;
    s->m_description = settings.description;
    s->m_trigger = settings.trigger;
    s->m_repeat = settings.repeat;
    return Record(Fmt("Edited action sequence %s of component: %s", s->m_name.c_str(), c->m_name.c_str()));
}

ECmd CSequenceEditor::DeleteSequence() {
    CModelActionSequence* c = Component();
    CActionSequence* s = Sequence();
    if (!c || !s) return ECmd::Unavailable;
    if (!AskYesNoCancel(m_doc.Prompter(), "Are you sure you want to delete the selected action sequence?"))
        return ECmd::Cancelled;
    const std::string name = s->m_name;
    c->Sequencer().RemoveSequence(static_cast<size_t>(c->Sequencer().IndexOf(s->m_id)));
    m_sequenceId = 0;
    m_actionId = 0;
    return Record(Fmt("Deleted action sequence %s from component: %s", name.c_str(), c->m_name.c_str()));
}

ECmd CSequenceEditor::ClearSequence() {
    CModelActionSequence* c = Component();
    CActionSequence* s = Sequence();
    if (!c || !s || s->m_actions.empty()) return ECmd::Unavailable;
    const int n = static_cast<int>(s->m_actions.size());
    s->m_actions.clear();
    s->RecomputeLength();
    m_actionId = 0;
    return Record(Fmt("Deleted %d event(s) from action sequence %s of component: %s", n, s->m_name.c_str(),
                      c->m_name.c_str()));
}

ECmd CSequenceEditor::NewOutput() {
    CModelActionSequence* c = Component();
    if (!c) return ECmd::Unavailable;
    const CModelOutput* out = c->NewOutput();
    if (!out) return ECmd::Refused;
    Refresh(*c);
    return Record(Fmt("Added output %s to component: %s", out->m_name.c_str(), c->m_name.c_str()));
}

ECmd CSequenceEditor::RenameOutput(int32_t outputId, const std::string& name) {
    CModelActionSequence* c = Component();
    CModelOutput* out = Output(outputId);
    if (!out || out->m_name == name) return ECmd::Unavailable;
    const std::string old = out->m_name;
    out->m_name = name;
    return Record(
        Fmt("Renamed output %s to %s on component: %s", old.c_str(), name.c_str(), c->m_name.c_str()));
}

ECmd CSequenceEditor::ClearOutput(int32_t outputId) {
    CModelActionSequence* c = Component();
    const CModelOutput* out = Output(outputId);
    if (!out) return ECmd::Unavailable;
    int32_t events = 0;
    for (const CActionSequence& s : c->Sequencer().m_sequences)
        events += CModelActionSequence::EventCount(s, outputId);
    if (events == 0) return ECmd::Unavailable;
    if (!AskYesNoCancel(
            m_doc.Prompter(),
            "Please confirm the deletion of all events for this component output within this action sequence."))
        return ECmd::Cancelled;
    c->ClearOutputEvents(outputId);
    return Record(Fmt("Deleted %d event(s) of output %s in component: %s", events, out->m_name.c_str(),
                      c->m_name.c_str()));
}

ECmd CSequenceEditor::DeleteOutput(int32_t outputId) {
    CModelActionSequence* c = Component();
    CModelOutput* out = Output(outputId);
    if (!out || !c->m_owner) return ECmd::Unavailable;
    if (!AskYesNoCancel(m_doc.Prompter(), "Please confirm the deletion of this component output."))
        return ECmd::Cancelled;
    const std::string name = out->m_name;
    DeleteOutputPort(*c->m_owner, *c, out);
    Refresh(*c);
    m_doc.Editor().Prune(m_doc.System());
    Record(Fmt("Deleted output %s from component: %s", name.c_str(), c->m_name.c_str()));
    m_doc.NotifyCountIO();
    return ECmd::Done;
}

ECmd CSequenceEditor::AddAction(int32_t outputId, double start) {
    CModelActionSequence* c = Component();
    CActionSequence* s = Sequence();
    const CModelOutput* out = Output(outputId);
    if (!s || !out || !(start >= 0.0)) return ECmd::Unavailable;
    m_actionId = c->AddAction(*s, outputId, start, CycleMs()).m_id;
    return Record(Fmt("Added an event at %0.2f secs on output %s to action sequence %s", start / 1000.0,
                      out->m_name.c_str(), s->m_name.c_str()));
}

ECmd CSequenceEditor::EditAction(int32_t actionId, const CActionSettings& settings) {
    CActionSequence* s = Sequence();
    CAction* a = s ? s->FindAction(actionId) : nullptr;
    if (!a) return ECmd::Unavailable;
    CAction edited = *a;
    edited.m_type = settings.type;
    // Only the fields of the chosen type are taken.
    if (settings.type == kActionConstant) edited.m_constantValue = settings.constantValue;
    if (settings.type == kActionDynamic) {
        edited.m_startValue = settings.startValue;
        edited.m_endValue = settings.endValue;
    }
    if (edited.m_type == a->m_type && edited.m_constantValue == a->m_constantValue &&
        edited.m_startValue == a->m_startValue && edited.m_endValue == a->m_endValue)
        return ECmd::Unavailable;
    *a = edited;
    const CModelOutput* out = Output(a->m_outputId);
    return Record(Fmt("Edited the event at %0.2f secs on output %s in action sequence %s",
                      a->m_start / 1000.0, out ? out->m_name.c_str() : "", s->m_name.c_str()));
}

ECmd CSequenceEditor::PlaceAction(int32_t actionId, int32_t outputId, double start, double duration) {
    CActionSequence* s = Sequence();
    CAction* a = s ? s->FindAction(actionId) : nullptr;
    const CModelOutput* out = Output(outputId);
    if (!a || !out || !(start >= 0.0) || !(duration > 0.0)) return ECmd::Unavailable;
    if (a->m_outputId == outputId && a->m_start == start && a->m_duration == duration)
        return ECmd::Unavailable;
    a->m_outputId = outputId;
    a->m_start = start;
    a->m_duration = duration;
    s->RecomputeLength();
    return Record(Fmt("Placed the event on output %s at %0.2f to %0.2f secs in action sequence %s",
                      out->m_name.c_str(), start / 1000.0, (start + duration) / 1000.0, s->m_name.c_str()));
}

ECmd CSequenceEditor::DeleteAction(int32_t actionId) {
    CActionSequence* s = Sequence();
    const CAction* a = s ? s->FindAction(actionId) : nullptr;
    if (!a) return ECmd::Unavailable;
    const CModelOutput* out = Output(a->m_outputId);
    const std::string line = Fmt("Deleted the event at %0.2f secs on output %s from action sequence %s",
                                 a->m_start / 1000.0, out ? out->m_name.c_str() : "", s->m_name.c_str());
    std::erase_if(s->m_actions, [actionId](const CAction& x) { return x.m_id == actionId; });
    s->RecomputeLength();
    if (m_actionId == actionId) m_actionId = 0;
    return Record(line);
}

void CSequenceEditor::Preview(double timeMs) {
    CModelActionSequence* c = Component();
    CActionSequence* s = Sequence();
    if (!c || !s || (m_sim && m_sim->IsActive()) || !(timeMs >= 0.0)) return;
    c->Sequencer().m_running = c->Sequencer().IndexOf(s->m_id);
    s->m_t = timeMs;
    // The step before lay one cycle earlier, as in a run (none before time 0).
    s->m_previous = std::max(0.0, timeMs - SequencerCycleMs(CyclesPerSecond()));
    s->m_preview = true;
    m_doc.System().RunCycle();
}

// --- timeline geometry ---------------------------------------------------------------------

int32_t CSequenceEditor::ColumnWidth() const {
    return kColumnWidths[m_zoom];
}

bool CSequenceEditor::ZoomIn() {
    if (m_zoom + 1 >= kColumnWidths.size()) return false;
    ++m_zoom;
    return true;
}

bool CSequenceEditor::ZoomOut() {
    if (m_zoom == 0) return false;
    --m_zoom;
    return true;
}

bool CSequenceEditor::ScrollLeft() {
    if (m_scroll == 0) return false;
    --m_scroll;
    return true;
}

void CSequenceEditor::FollowTime() {
    const CActionSequence* s = Sequence();
    if (!s || MarkerX()) return;
    m_scroll = std::max(0, static_cast<int32_t>(s->m_t / 1000.0));
}

int32_t CSequenceEditor::CyclesPerSecond() const {
    return std::clamp(m_doc.System().m_cyclesPerSecond, kMinCyclesPerSecond, kMaxCyclesPerSecond);
}

double CSequenceEditor::CycleMs() const {
    return std::trunc(SequencerCycleMs(CyclesPerSecond()));
}

std::vector<int32_t> CSequenceEditor::Rows() const {
    std::vector<int32_t> rows;
    if (const CModelActionSequence* c = Component())
        for (const CModelOutput* out : c->m_outputs) rows.push_back(out->m_id);
    return rows;
}

CRect CSequenceEditor::RowRect(size_t row) const {
    const int32_t top = m_area.top + kHeaderHeight + static_cast<int32_t>(row) * kRowHeight;
    return {m_area.left, top, m_area.right, top + kRowHeight};
}

int32_t CSequenceEditor::XOfTime(double ms) const {
    const double columns = (ms - m_scroll * 1000.0) / CycleMs();
    return m_area.left + kLabelWidth + static_cast<int32_t>(std::lround(columns * ColumnWidth()));
}

int32_t CSequenceEditor::ColumnAt(int32_t x) const {
    const int32_t dx = x - (m_area.left + kLabelWidth);
    return dx < 0 ? -1 : dx / ColumnWidth();
}

std::vector<CTimelineBar> CSequenceEditor::Bars() const {
    std::vector<CTimelineBar> bars;
    const CActionSequence* s = Sequence();
    if (!s) return bars;
    const std::vector<int32_t> rows = Rows();
    for (const CAction& a : s->m_actions) {
        const auto row = std::find(rows.begin(), rows.end(), a.m_outputId);
        if (row == rows.end()) continue;
        const CRect r = RowRect(static_cast<size_t>(row - rows.begin()));
        bars.push_back(
            {a.m_id, {XOfTime(a.m_start), r.top + 4, XOfTime(a.End()), r.bottom - 4}, a.m_id == m_actionId});
    }
    return bars;
}

std::optional<int32_t> CSequenceEditor::MarkerX() const {
    const CActionSequence* s = Sequence();
    if (!s) return std::nullopt;
    const int32_t x = XOfTime(s->m_t);
    if (x < m_area.left + kLabelWidth || x > m_area.right) return std::nullopt;
    return x;
}

CTimelineHit CSequenceEditor::HitTest(CPoint p) const {
    if (p.x < m_area.left + kLabelWidth || p.x > m_area.right || p.y < m_area.top || p.y > m_area.bottom)
        return {};
    if (p.y < m_area.top + kHeaderHeight) {
        const auto marker = MarkerX();
        return marker && std::abs(*marker - p.x) <= kEdgeReach ? CTimelineHit{ETimelineHit::Marker}
                                                               : CTimelineHit{};
    }
    const std::vector<int32_t> rows = Rows();
    const auto row = static_cast<size_t>((p.y - m_area.top - kHeaderHeight) / kRowHeight);
    if (row >= rows.size()) return {};
    CTimelineHit hit{ETimelineHit::Cell, rows[row]};
    // The last bar drawn is the one on top.
    const std::vector<CTimelineBar> bars = Bars();
    for (auto b = bars.rbegin(); b != bars.rend(); ++b) {
        const CRect& r = b->rect;
        if (p.x < r.left || p.x > r.right || p.y < r.top || p.y > r.bottom) continue;
        const int32_t width = r.right - r.left;
        hit.actionId = b->actionId;
        hit.kind = width >= 8 && r.right - p.x < kEdgeReach   ? ETimelineHit::BarEnd
                   : width >= 12 && p.x - r.left < kEdgeReach ? ETimelineHit::BarStart
                                                              : ETimelineHit::Bar;
        return hit;
    }
    hit.start = CycleMs() * ColumnAt(p.x) + m_scroll * 1000.0;
    return hit;
}

// --- gestures -------------------------------------------------------------------------------

ECmd CSequenceEditor::Press(CPoint p) {
    CancelGesture();
    const CTimelineHit hit = HitTest(p);
    m_pressX = p.x;
    switch (hit.kind) {
        case ETimelineHit::Cell: {
            const ECmd done = AddAction(hit.outputId, hit.start);
            if (done == ECmd::Done) Preview(hit.start);
            return done;
        }
        case ETimelineHit::Bar:
        case ETimelineHit::BarStart:
        case ETimelineHit::BarEnd: {
            const CAction* a = Sequence()->FindAction(hit.actionId);
            m_actionId = hit.actionId;
            m_dragFrom = {hit.kind, a->m_id, a->m_outputId, a->m_start, a->m_duration};
            m_drag = m_dragFrom;
            Preview(a->m_start);
            return ECmd::Unavailable;
        }
        case ETimelineHit::Marker:
            m_markerDrag = true;
            return ECmd::Unavailable;
        case ETimelineHit::None:
            break;
    }
    return ECmd::Unavailable;
}

void CSequenceEditor::MoveTo(CPoint p) {
    const double cycle = CycleMs();
    if (m_markerDrag) {
        const int32_t column = std::max(0, ColumnAt(p.x));
        if (CActionSequence* s = Sequence()) s->m_t = cycle * column + m_scroll * 1000.0;
        return;
    }
    if (!m_drag) return;
    // Whole cycles only, so a bar keeps to the columns.
    const double steps = std::round(static_cast<double>(p.x - m_pressX) / ColumnWidth());
    const CBarDrag& from = m_dragFrom;
    CBarDrag& to = *m_drag;
    switch (from.kind) {
        case ETimelineHit::Bar: {
            to.start = std::max(0.0, from.start + steps * cycle);
            const CTimelineHit hit = HitTest({std::max(p.x, m_area.left + kLabelWidth), p.y});
            if (hit.outputId) to.outputId = hit.outputId;
            break;
        }
        case ETimelineHit::BarEnd:
            to.duration = std::max(cycle, from.duration + steps * cycle);
            break;
        case ETimelineHit::BarStart: {
            const double end = from.start + from.duration;
            to.start = std::clamp(from.start + steps * cycle, 0.0, std::max(0.0, end - cycle));
            to.duration = end - to.start;
            break;
        }
        default:
            break;
    }
}

ECmd CSequenceEditor::Release() {
    if (m_markerDrag) {
        m_markerDrag = false;
        if (const CActionSequence* s = Sequence()) Preview(s->m_t);
        return ECmd::Unavailable;
    }
    if (!m_drag) return ECmd::Unavailable;
    const CBarDrag to = *m_drag;
    m_drag.reset();
    const ECmd done = PlaceAction(to.actionId, to.outputId, to.start, to.duration);
    if (done == ECmd::Done) Preview(to.start);
    return done;
}

int32_t CSequenceEditor::DoubleClick(CPoint p) {
    CancelGesture();
    const CTimelineHit hit = HitTest(p);
    if (!hit.actionId) return 0;
    m_actionId = hit.actionId;
    return hit.actionId;
}

void CSequenceEditor::CancelGesture() {
    m_drag.reset();
    m_markerDrag = false;
}

}  // namespace zor2
