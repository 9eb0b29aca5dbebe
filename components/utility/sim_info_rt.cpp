// Runtime Sim Info: the enabled byte and the values read from the runtime system.
// Sim Info LocalTime's row tells the loader that the type exists but runs only in the designer.
#include "components/utility/sim_info_rt.h"

#include "runtime/rt_system.h"

namespace zor2 {

size_t CRModelSimInfo::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    ReadBase(in);
    SimInfoFieldList(in, m_enabled);
    return offset + (in.Position() - start);
}

int32_t CRModelSimInfo::Execute() {
    CRModelOutput* out = FirstOutput();
    if (!m_enabled || !out) return 0;
    const CRSystem* s = m_owner ? m_owner->m_owner : nullptr;
    out->m_value = m_type == kTypeSimInfoSimTime ? SimTimeSeconds(s ? s->m_simTime : 0.0)
                                                 : CycleNumber(s ? s->m_cycleCount : 0);
    return 0;
}

namespace {
std::unique_ptr<CRNetworkModel> Create(int32_t typeId) {
    return std::make_unique<CRModelSimInfo>(typeId);
}
constexpr CRuntimeType kTypes[] = {
    {kTypeSimInfoSimTime, Create}, {kTypeSimInfoCount, Create}, {kTypeSimInfoLocalTime, nullptr}};
}  // namespace

std::span<const CRuntimeType> SimInfoRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
