// Runtime Match Count: record, input pull and the six counts.
#include "components/decision/match_count_rt.h"

#include "runtime/rt_inputs.h"

namespace zor2 {

size_t CRModelMatchCount::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    if (ReadBase(in)) in.Bool(m_enabled);
    for (int32_t i = 0; i < 6; ++i) m_out[i] = RuntimeOutput(*this, 10 * (i + 1));
    m_values.reserve(m_inputs.size());
    m_connected.reserve(m_inputs.size());
    return offset + (in.Position() - start);
}

int32_t CRModelMatchCount::GetInputValues() {
    if (m_inputs.empty()) {
        m_value = 0.0;
        return 0;
    }
    m_values.clear();
    m_connected.clear();
    for (CRModelInput& input : m_inputs) {
        input.Pull();
        m_values.push_back(input.m_value);
        m_connected.push_back(input.HasSource() ? 1 : 0);
    }
    m_count.Count(m_values, m_connected, m_tolerance);
    m_value = m_count.m_pairs;
    return 0;
}

int32_t CRModelMatchCount::Execute() {
    if (!m_enabled) {
        m_value = 0.0;
        return 0;
    }
    SetRuntimeOutput(m_out[0], m_count.m_pairs);
    SetRuntimeOutput(m_out[1], static_cast<double>(m_count.m_bins.size()));
    if (const CBin* most = m_count.MostFrequent()) {
        SetRuntimeOutput(m_out[2], most->m_value);
        SetRuntimeOutput(m_out[3], most->m_hits);
    }
    if (const CBin* least = m_count.LeastFrequent()) {
        SetRuntimeOutput(m_out[4], least->m_value);
        SetRuntimeOutput(m_out[5], least->m_hits);
    }
    return 0;
}

namespace {
std::unique_ptr<CRNetworkModel> Create(int32_t typeId) {
    return std::make_unique<CRModelMatchCount>(typeId);
}
constexpr CRuntimeType kTypes[] = {{kTypeMatchCount, Create}};
}  // namespace

std::span<const CRuntimeType> MatchCountRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
