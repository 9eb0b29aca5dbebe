// Pattern Sequencer: type table, property sheet, inputs, the running sequence,
// the saved sequences and the edits its pane makes.
#include "components/decision/action_sequence.h"

#include <cmath>
#include <cstdio>

#include "algo/bytes.h"
#include "components/logic/truth_check_kernel.h"
#include "engine/catalogue.h"
#include "engine/network.h"
#include "engine/property_sheet.h"
#include "engine/system.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {
constexpr CPortTemplate kInputs[] = {
    {kSequencerEnableInputId, "Enable"}, {kSequencerPatternInputId, "Pattern Number"}, {30, "Reset"}};
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelActionSequence>();
}
void ReadSheet(const CNetworkModel&, CPropertySheet& sheet) {
    sheet.Add(prop::Note(
        "timelineNote",
        "To add edit delete outputs and sequences, select Show Sequences Timeline from the popup menu for this component."));
}
constexpr CPropertyProfile kSheet{"Component Properties - Action Sequencer", ReadSheet};
bool SkipBody(CByteReader& in) {
    bool enabled = false;
    CActionSequencer scratch;
    return in.Bool(enabled) && CActionSequencer::Fields(in, scratch);
}
// Outputs come from the sequence pane, so the generic "Add Output" stays unavailable.
constexpr CComponentType kTypes[] = {{kTypeActionSequence,
                                      kInputs,
                                      {},
                                      3,
                                      0,
                                      Create,
                                      &kSheet,
                                      {.menu = EComponentMenu::Sequencer},
                                      nullptr,
                                      SkipBody}};

}  // namespace

std::span<const CComponentType> ActionSequenceComponentTypes() {
    return kTypes;
}

void CModelActionSequence::Serialize(CArchive& ar) {
    SerializeBase(ar);
    ar.Bool(m_enabled);
    CActionSequencer::Fields(ar, m_sequencer);
    if (!ar.IsLoading() || ar.Failed()) return;
    // Deleting an output deletes its actions first, so an action on a missing
    // output comes from a damaged file; stepping needs every action's output.
    const int32_t dropped = m_sequencer.DropActions([this](int32_t id) { return FindOutput(id) != nullptr; });
    if (dropped > 0) {
        if (CSystem* s = System())
            s->BuildFeedback(
                "Pattern Sequencer " + m_name + ": " + std::to_string(dropped) +
                " event(s) for an output the component does not have were dropped while loading.");
    }
}

void CModelActionSequence::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    w.Bool(m_enabled);
    CActionSequencer::Fields(w, m_sequencer);
}

std::string CModelActionSequence::RuntimeExportNote() const {
    const CSystem* s = System();
    if (!s || s->m_cyclesPerSecond == kSequencerRuntimeRate) return {};
    bool timed = false;
    for (const CActionSequence& q : m_sequencer.m_sequences) timed = timed || !q.m_actions.empty();
    if (!timed) return {};
    char line[1024];
    std::snprintf(
        line, sizeof line,
        "Runtime export: Pattern Sequencer \"%s\" in module \"%s\" steps its sequences by %d cycles per second there, not by the %d of this simulation (the runtime file does not carry the rate).",
        m_name.c_str(), m_owner ? m_owner->m_name.c_str() : "", kSequencerRuntimeRate, s->m_cyclesPerSecond);
    return line;
}

void CModelActionSequence::GetInputValues() {
    if (CModelInput* enable = FirstInput()) {
        m_enabled = !enable->HasSource() || IsTrue(SourceValue(*enable));
        enable->m_value = m_enabled ? 1.0 : 0.0;
        enable->m_text.SetText(m_enabled ? "On" : "Off");
    }
    if (CModelInput* pattern = FindInput(kSequencerPatternInputId)) {
        PullInput(*pattern);
        pattern->m_text.SetInt("%d", TruncToInt32(pattern->m_value));
        m_value = pattern->m_value;
    }
}

void CModelActionSequence::Execute() {
    const CSystem* s = System();
    const double dt = SequencerCycleMs(s ? s->m_cyclesPerSecond : kSequencerRuntimeRate);
    m_sequencer.Execute(
        m_enabled, m_value, s ? s->m_simulatedTime : 0.0, dt,
        [this] {
            for (CModelOutput* out : m_outputs) out->SetValue(0.0);
        },
        [this](const CAction& a, double v) {
            if (CModelOutput* out = FindOutput(a.m_outputId)) out->SetValue(v);
        });
}

void CModelActionSequence::ResetValues() {
    m_sequencer.Reset();
    for (CModelOutput* out : m_outputs) out->SetValue(0.0);
}

void CModelActionSequence::OnOutputRemoved(int32_t outputId) {
    ClearOutputEvents(outputId);
}

double CModelActionSequence::TimelineCycleMs() const {
    const CSystem* s = System();
    return std::trunc(SequencerCycleMs(s ? s->m_cyclesPerSecond : kSequencerRuntimeRate));
}

// --- edits ----------------------------------------------------------------------

CActionSequence& CModelActionSequence::NewSequence() {
    std::vector<CActionSequence>& list = m_sequencer.m_sequences;
    int32_t trigger = static_cast<int32_t>(list.size()) + 1;
    while (m_sequencer.FindByTrigger(trigger) >= 0) ++trigger;
    CActionSequence s;
    s.m_id = DrawFreeRecordId(Random(), list);
    s.m_moduleId = m_owner ? m_owner->m_id : 0;
    s.m_componentId = m_id;
    s.m_name = "Seq " + std::to_string(s.m_id);
    s.m_trigger = trigger;
    list.push_back(std::move(s));
    if (CModelInput* pattern = FindInput(kSequencerPatternInputId)) {
        pattern->m_value = trigger;
        pattern->m_text.SetInt("%d", trigger);
    }
    m_sequencer.m_running = static_cast<int32_t>(list.size()) - 1;
    return list.back();
}

CModelOutput* CModelActionSequence::NewOutput() {
    CModelOutput* out = AddOutput(0);
    if (!out) return nullptr;
    out->m_name = "Output " + std::to_string(m_outputs.Size());
    out->m_dataType = kDataDouble;
    out->m_decimals = 2;
    out->SetValue(0.0);
    return out;
}

CAction& CModelActionSequence::AddAction(CActionSequence& sequence, int32_t outputId, double start,
                                         double duration) {
    CAction a;
    a.m_id = DrawFreeRecordId(Random(), sequence.m_actions);
    a.m_outputId = outputId;
    a.m_start = start;
    a.m_duration = duration;
    sequence.m_actions.push_back(a);
    sequence.RecomputeLength();
    return sequence.m_actions.back();
}

int32_t CModelActionSequence::ClearOutputEvents(int32_t outputId) {
    return m_sequencer.DropActions([outputId](int32_t id) { return id != outputId; });
}

int32_t CModelActionSequence::EventCount(const CActionSequence& sequence, int32_t outputId) {
    int32_t n = 0;
    for (const CAction& a : sequence.m_actions) n += a.m_outputId == outputId;
    return n;
}

}  // namespace zor2
