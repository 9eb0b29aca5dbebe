// Runtime Pattern Sequencer: the base record, the enabled flag and the sequences
// without names; actions are tied to their outputs once, at load.
#include "components/decision/action_sequence_rt.h"

#include "components/logic/truth_check_kernel.h"
#include "runtime/rt_system.h"

namespace zor2 {

size_t CRModelActionSequence::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    if (ReadBase(in)) {
        in.Bool(m_enabled);
        CActionSequencer::Fields(in, m_sequencer);
    }
    auto slotOf = [this](int32_t outputId) {
        for (size_t i = 0; i < m_outputs.size(); ++i)
            if (outputId > 0 && m_outputs[i].m_id == outputId) return static_cast<int32_t>(i);
        return -1;
    };
    // As in the designer, an action on a missing output is dropped.
    m_sequencer.DropActions([&slotOf](int32_t id) { return slotOf(id) >= 0; });
    for (CActionSequence& s : m_sequencer.m_sequences)
        for (CAction& a : s.m_actions) a.m_slot = slotOf(a.m_outputId);
    m_pattern = FindInput(kSequencerPatternInputId);
    return offset + (in.Position() - start);
}

int32_t CRModelActionSequence::GetInputValues() {
    if (CRModelInput* enable = FirstInput()) m_enabled = !enable->HasSource() || IsTrue(*enable->m_source);
    if (m_pattern) {
        m_pattern->Pull();
        m_value = m_pattern->m_value;
    }
    return 0;
}

int32_t CRModelActionSequence::Execute() {
    const double simTime = m_owner && m_owner->m_owner ? m_owner->m_owner->m_simTime : 0.0;
    m_sequencer.Execute(
        m_enabled, m_value, simTime, SequencerCycleMs(kSequencerRuntimeRate),
        [this] {
            for (CRModelOutput& out : m_outputs) out.m_value = 0.0;
        },
        [this](const CAction& a, double v) { m_outputs[static_cast<size_t>(a.m_slot)].m_value = v; });
    return 0;
}

namespace {
std::unique_ptr<CRNetworkModel> Create(int32_t typeId) {
    return std::make_unique<CRModelActionSequence>(typeId);
}
constexpr CRuntimeType kTypes[] = {{kTypeActionSequence, Create}};
}  // namespace

std::span<const CRuntimeType> ActionSequenceRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
