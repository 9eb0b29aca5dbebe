// Runtime Compare: the base record, then the reserved flag and the compare value.
#include "components/logic/compare_rt.h"

namespace zor2 {

namespace {
CRModelOutput* FindOutput(std::vector<CRModelOutput>& outputs, int32_t id) {
    for (CRModelOutput& out : outputs)
        if (out.m_id == id && id > 0) return &out;
    return nullptr;
}
}  // namespace

size_t CRModelCompare::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    if (ReadBase(in)) CCompareParams::Fields(in, m_params);
    m_countOutput = FindOutput(m_outputs, 20);
    m_satisfiedOutput = FindOutput(m_outputs, 30);
    return offset + (in.Position() - start);
}

int32_t CRModelCompare::GetInputValues() {
    m_connected = 0;
    const bool toInput = CompareToInput(m_type);
    if (!toInput) m_value = m_params.compareValue;
    for (CRModelInput& in : m_inputs) {
        if (toInput && in.m_id == kCompareValueInputId) {
            if (in.HasSource()) {
                in.Pull();
                m_value = in.m_value;
            }
            m_params.compareValue = m_value;
            continue;
        }
        if (in.HasSource()) {
            in.Pull();
            ++m_connected;
        }
    }
    return 0;
}

int32_t CRModelCompare::Execute() {
    const bool toInput = CompareToInput(m_type);
    int32_t satisfied = 0;
    if (m_connected > 0) {
        for (const CRModelInput& in : m_inputs) {
            if (toInput && in.m_id == kCompareValueInputId) continue;
            if (CompareTest(m_type, in.m_value, m_params.compareValue, m_tolerance)) ++satisfied;
        }
    }
    if (CRModelOutput* out = FirstOutput()) out->m_value = CompareAllSatisfy(m_connected, satisfied);
    if (m_countOutput) m_countOutput->m_value = m_connected;
    if (m_satisfiedOutput) m_satisfiedOutput->m_value = satisfied;
    return 0;
}

namespace {
std::unique_ptr<CRNetworkModel> Create(int32_t typeId) {
    return std::make_unique<CRModelCompare>(typeId);
}
constexpr CRuntimeType kTypes[] = {
    {kCompareInputEqual, Create},    {kCompareInputGreater, Create},    {kCompareInputLess, Create},
    {kCompareConstantEqual, Create}, {kCompareConstantGreater, Create}, {kCompareConstantLess, Create},
};
}  // namespace

std::span<const CRuntimeType> CompareRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
