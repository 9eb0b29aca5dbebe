// Runtime statistics: record fields and the shared kernels' cycles.
#include "components/math/stats_rt.h"

namespace zor2 {

namespace {

/// The first input's value, pulled; 0 (and the input's value 0) without a source.
double NewValue(CRNetworkModel& c) {
    CRModelInput* in = c.FirstInput();
    if (!in) return 0.0;
    if (in->HasSource())
        in->Pull();
    else
        in->m_value = 0.0;
    return in->m_value;
}

}  // namespace

size_t CRModelRunningStats::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    ReadBase(in);
    m_on = FindInput(10);
    m_valueIn = FindInput(20);
    m_reset = FindInput(30);
    return offset + (in.Position() - start);
}

int32_t CRModelRunningStats::GetInputValues() {
    if (m_on) m_on->Pull();
    m_enabled = !(m_on && m_on->HasSource() && m_on->m_value == 0.0);
    if (m_on) m_on->m_value = m_enabled ? 1.0 : 0.0;
    if (m_reset) m_reset->Pull();
    const bool resetting = m_reset && m_reset->HasSource() && m_reset->m_value != 0.0;
    if (m_reset) m_reset->m_value = resetting ? 1.0 : 0.0;
    const bool taken = m_valueIn && m_valueIn->HasSource();
    double v = 0.0;
    if (m_enabled && taken) {
        m_valueIn->Pull();
        v = m_valueIn->m_value;
    }
    if (!m_stats.Take(m_enabled, resetting, taken, v, m_value)) {
        // The restart zeroes every port value, as the designer's reset does.
        for (CRModelInput& port : m_inputs) port.m_value = 0.0;
        for (CRModelOutput& port : m_outputs) port.m_value = 0.0;
    }
    return 0;
}

int32_t CRModelRunningStats::Execute() {
    if (!m_enabled) return 0;
    double out[7];
    m_stats.Outputs(m_valueIn ? m_valueIn->m_value : 0.0, out);
    for (size_t i = 0; i < m_outputs.size() && i < 7; ++i) m_outputs[i].m_value = out[i];
    return 0;
}

size_t CRModelStatsMovingAvg::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    ReadBase(in);
    MovingAverageFields(in, m_average);
    return offset + (in.Position() - start);
}

int32_t CRModelStatsMovingAvg::GetInputValues() {
    const CRModelInput* in = FirstInput();
    const double v = NewValue(*this);
    if (in && in->HasSource()) m_average.Take(v, m_value);
    return 0;
}

int32_t CRModelStatsMovingAvg::Execute() {
    if (CRModelOutput* out = FirstOutput()) out->m_value = m_average.Output(m_value);
    return 0;
}

size_t CRModelStatsRunTotal::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    ReadBase(in);
    in.Bool(m_enabled);
    return offset + (in.Position() - start);
}

int32_t CRModelStatsRunTotal::GetInputValues() {
    m_value = m_value + NewValue(*this);
    return 0;
}

int32_t CRModelStatsRunTotal::Execute() {
    if (CRModelOutput* out = FirstOutput()) out->m_value = RunningTotalOutput(m_enabled, m_value);
    return 0;
}

namespace {
constexpr CRuntimeType kStatsTypes[] = {
    {kTypeRunningStats, CreateRuntimeAs<CRModelRunningStats>},
    {kTypeRunningTotal, CreateRuntimeAs<CRModelStatsRunTotal>},
    {kTypeMovingAverage, CreateRuntimeAs<CRModelStatsMovingAvg>},
};
}  // namespace

std::span<const CRuntimeType> StatsRuntimeTypes() {
    return kStatsTypes;
}

}  // namespace zor2
