// Runtime sim actions: the enabled byte and the input phase.
#include "components/utility/sim_action_rt.h"

namespace zor2 {

namespace {
void ReadTrigger(CRModelInput& in) {
    in.m_value = TriggerValue(in.HasSource(), in.HasSource() ? *in.m_source : 0.0);
}
}  // namespace

size_t CRModelSimAction::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    ReadBase(in);
    SimActionRuntimeFields(in, m_enabled);
    return offset + (in.Position() - start);
}

int32_t CRModelSimAction::GetInputValues() {
    m_value = 0.0;
    if (m_inputs.empty()) return 0;
    ReadTrigger(m_inputs.front());
    m_value = m_inputs.front().m_value;
    if (m_type == kTypeSimActionSound) ReadTrigger(m_inputs.back());
    return 0;
}

namespace {
std::unique_ptr<CRNetworkModel> Create(int32_t typeId) {
    return std::make_unique<CRModelSimAction>(typeId);
}
constexpr CRuntimeType kTypes[] = {{kTypeSimActionStop, Create},
                                   {kTypeSimActionSound, Create},
                                   {kTypeSimActionMessage, Create},
                                   {kTypeSimActionFormat, Create}};
}  // namespace

std::span<const CRuntimeType> SimActionRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
