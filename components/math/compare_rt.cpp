// Runtime Compare: the base record, then the reserved flag and the compare value.
#include "components/math/compare_rt.h"

#include <vector>

#include "runtime/rt_plan.h"

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

void CRModelCompare::Compile(CRPlan& plan) {
    // Without outputs nothing is published.
    CRModelOutput* out = FirstOutput();
    if (!out) return;
    const bool toInput = CompareToInput(m_type);
    std::vector<const CRModelInput*> tested;
    const CRModelInput* valueInput = nullptr;
    int32_t connected = 0;
    for (const CRModelInput& in : m_inputs) {
        if (toInput && in.m_id == kCompareValueInputId) {
            // Two "CompareVal" inputs hand the value on within one cycle; only the
            // component's own phases do that.
            if (valueInput) {
                plan.AddCallThrough(*this);
                return;
            }
            valueInput = &in;
            continue;
        }
        tested.push_back(&in);
        if (in.HasSource()) ++connected;
    }
    // The compare value: the "CompareVal" source; without one the component value,
    // which a cycle never changes; without that input, or for Compare to
    // Constant, the stored compare value.
    const double* k = &m_params.compareValue;
    if (valueInput) k = valueInput->HasSource() ? valueInput->m_source : &m_value;
    plan.AddCompare(m_type, tested, connected, *k, m_tolerance, out->m_value,
                    m_countOutput ? &m_countOutput->m_value : nullptr,
                    m_satisfiedOutput ? &m_satisfiedOutput->m_value : nullptr);
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
