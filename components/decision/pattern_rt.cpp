// Runtime pattern components: record, enable and data inputs, generation,
// analysis and recording.
#include "components/decision/pattern_rt.h"

#include "algo/record_archive.h"
#include "runtime/rt_inputs.h"

namespace zor2 {

namespace {
/// True unless input 10 is connected and 0.
bool PatternEnable(CRModelInput* in) {
    if (!in) return true;
    in->Pull();
    return !(in->HasSource() && in->m_value == 0.0);
}
}  // namespace

size_t CRModelPatternBase::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    int32_t count = 0;
    if (ReadBase(in) && in.Bool(m_enabled) && in.I32(count))
        ReadRecords<CPatternRecord>(in, count, "pattern", m_patterns,
                                    [](CPattern& p, const CPatternRecord& r) {
                                        p.m_id = r.m_id;
                                        p.m_bits = static_cast<uint32_t>(r.m_bits);
                                        p.m_number = r.m_number;
                                    });
    m_enable = FindInput(10);
    for (CRModelInput& input : m_inputs)
        if (input.m_id != 10) m_dataInputs.push_back(&input);
    m_values.reserve(m_dataInputs.size());
    return offset + (in.Position() - start);
}

int32_t CRModelPatternBase::GetInputValues() {
    m_value = 0.0;
    m_enabled = PatternEnable(m_enable);
    return 0;
}

uint32_t CRModelPatternBase::ReadBits() {
    m_values.clear();
    for (CRModelInput* input : m_dataInputs) {
        input->Pull();
        m_values.push_back(input->HasSource() ? input->m_value : 0.0);
    }
    return PatternBits(m_values);
}

int32_t CRModelPatternBase::ConnectedDataInputs() const {
    int32_t n = 0;
    for (const CRModelInput* input : m_dataInputs)
        if (input->HasSource()) ++n;
    return n;
}

// --- generator ----------------------------------------------------------------------

int32_t CRModelPatternGenerator::GetInputValues() {
    m_enabled = PatternEnable(m_enable);
    m_value = m_inputs.empty() ? 0.0 : RuntimeSourceValue(&m_inputs.back());
    return 0;
}

int32_t CRModelPatternGenerator::Execute() {
    const CPattern* p = FindPatternNumber(m_patterns, m_enabled ? TriggerKey(m_value) : 0);
    for (size_t k = 0; k < m_outputs.size(); ++k)
        m_outputs[k].m_value = p ? GeneratorOutput(p->m_bits, k) : 0.0;
    return 0;
}

// --- analyzer -------------------------------------------------------------------------

size_t CRModelPatternAnalyzer::ReadRuntime(CByteReader& in, size_t offset) {
    offset = CRModelPatternBase::ReadRuntime(in, offset);
    m_analysis.m_registered = std::move(m_patterns);
    m_analysis.m_analyzed.reserve(kRuntimeAnalyzedLimit);
    return offset;
}

int32_t CRModelPatternAnalyzer::Execute() {
    m_value = 0.0;
    if (!m_enabled || ConnectedDataInputs() <= 1) return 0;
    const CPattern* match = m_analysis.Analyze(ReadBits(), m_id, kRuntimeAnalyzedLimit);
    if (m_outputs.empty()) return 0;
    m_outputs.front().m_value = match ? 1.0 : 0.0;
    m_outputs.back().m_value = match ? match->m_id : 0.0;
    return 0;
}

// --- recorder -------------------------------------------------------------------------

size_t CRModelPatternRecorder::ReadRuntime(CByteReader& in, size_t offset) {
    offset = CRModelPatternBase::ReadRuntime(in, offset);
    m_recording.m_recorded = std::move(m_patterns);
    m_recording.Reindex(m_id);
    for (int32_t i = 0; i < 6; ++i) m_out[i] = RuntimeOutput(*this, 10 * (i + 1));
    return offset;
}

int32_t CRModelPatternRecorder::Execute() {
    m_value = 0.0;
    const size_t inputs = m_inputs.size();
    if (m_enabled) {
        const uint32_t bits = ReadBits();
        m_value = bits;
        if (inputs >= 2) {
            const CPatternRecording::CResult r = m_recording.Record(bits, m_id, Random());
            SetRuntimeOutput(m_out[0], r.recorded ? 1.0 : 0.0);
            if (r.recorded) SetRuntimeOutput(m_out[1], r.number);
            SetRuntimeOutput(m_out[5], m_recording.MostCommonNumber());
        }
    }
    SetRuntimeOutput(m_out[2], static_cast<double>(m_recording.m_recorded.size()));
    SetRuntimeOutput(m_out[3], m_recording.m_total);
    SetRuntimeOutput(m_out[4], PatternsPossible(inputs));
    return 0;
}

namespace {
template <class T>
std::unique_ptr<CRNetworkModel> Create(int32_t typeId) {
    return std::make_unique<T>(typeId);
}
constexpr CRuntimeType kTypes[] = {{kTypePatternGenerator, Create<CRModelPatternGenerator>},
                                   {kTypePatternAnalyzer, Create<CRModelPatternAnalyzer>},
                                   {kTypePatternRecorder, Create<CRModelPatternRecorder>}};
}  // namespace

std::span<const CRuntimeType> PatternRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
