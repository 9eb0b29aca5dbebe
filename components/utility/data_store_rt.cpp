// Runtime Data Value Storage: record, inputs, time stamps and reset.
#include "components/utility/data_store_rt.h"

#include "algo/platform.h"
#include "runtime/rt_inputs.h"
#include "runtime/rt_system.h"

namespace zor2 {

size_t CRModelDataStore::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    if (ReadBase(in)) DataStoreFieldList(in, m_fields);
    for (int32_t i = 0; i < 3; ++i) m_in[i] = FindInput(10 * (i + 1));
    for (int32_t i = 0; i < 5; ++i) m_out[i] = RuntimeOutput(*this, 10 * (i + 1));
    return offset + (in.Position() - start);
}

int32_t CRModelDataStore::GetInputValues() {
    auto connected = [](const CRModelInput* input) { return input && input->HasSource(); };
    const bool reset =
        DataStoreInputs(m_fields, connected(m_in[0]), RuntimeSourceValue(m_in[0]), connected(m_in[1]),
                        RuntimeSourceValue(m_in[1]), RuntimeSourceValue(m_in[2]));
    if (reset) Reset();
    return 0;
}

int32_t CRModelDataStore::Execute() {
    if (!m_fields.enabled) {
        if (!m_fields.flag) Reset();
        return 0;
    }
    const double seconds = Clock().TickMs() / 1000.0;
    const CRSystem* system = m_owner ? m_owner->m_owner : nullptr;
    SetRuntimeOutput(m_out[0], m_fields.stored);
    SetRuntimeOutput(m_out[1], system ? system->m_cycleCount : 0);
    SetRuntimeOutput(m_out[2], seconds);
    SetRuntimeOutput(m_out[3], seconds);
    SetRuntimeOutput(m_out[4], m_fields.flag ? 1.0 : 0.0);
    return 0;
}

void CRModelDataStore::Reset() {
    m_value = 0.0;
    ResetDataStore(m_fields);
    SetRuntimeOutput(m_out[4], 0.0);
}

namespace {
std::unique_ptr<CRNetworkModel> Create(int32_t typeId) {
    return std::make_unique<CRModelDataStore>(typeId);
}
constexpr CRuntimeType kTypes[] = {{kTypeDataStore, Create}};
}  // namespace

std::span<const CRuntimeType> DataStoreRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
