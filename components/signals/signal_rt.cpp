// Runtime signal components: record fields, input phases and publishing.
#include "components/signals/signal_rt.h"

namespace zor2 {

namespace {

/// With a source, `param` takes the input's value.
void TakeParameter(CRModelInput* in, double& param) {
    if (!in || !in->HasSource()) return;
    in->Pull();
    param = in->m_value;
}

}  // namespace

CFrame RuntimeFrame(const CRModelInput* in, bool arrayOutputsOnly) {
    const double* data = nullptr;
    int32_t count = 0;
    if (!in || !in->SourceArray(data, count)) return {};
    const CRModelOutput* out = in->m_sourceConnection ? in->m_sourceConnection->m_sourceOutput : nullptr;
    if (arrayOutputsOnly && out && out->m_dataType != kDataTypeArray) return {};
    return {data, count};
}

void PublishArray(CRModelOutput* out, const CArrayValue& value) {
    if (!out) return;
    out->m_arrayData = value.data;
    out->m_arrayCount = value.count;
    out->m_spareValue = value.minimum;
    out->m_heldValue = value.maximum;
}

CRModelOutput* FindOutputAtLoad(CRNetworkModel& c, int32_t id) {
    for (CRModelOutput& out : c.m_outputs)
        if (out.m_id == id) return &out;
    return nullptr;
}

// --- Signal Generator -------------------------------------------------------------------

size_t CRModelSignalGen::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    ReadBase(in);
    SignalGenFieldList(in, m_params);
    m_frequencyIn = FindInput(20);
    m_rateIn = FindInput(30);
    m_samplesIn = FindInput(40);
    m_out = FindOutputAtLoad(*this, 10);
    return offset + (in.Position() - start);
}

int32_t CRModelSignalGen::GetInputValues() {
    if (CRModelInput* on = FirstInput()) {
        on->Pull();
        m_enabled = !(on->HasSource() && on->m_value == 0.0);
        on->m_value = m_enabled ? 1.0 : 0.0;
    }
    TakeParameter(m_frequencyIn, m_params.frequency);
    double rate = m_params.sampleRate;
    TakeParameter(m_rateIn, rate);
    m_params.sampleRate = SignalTruncInt(rate);
    double size = m_params.frameSize;
    TakeParameter(m_samplesIn, size);
    m_params.frameSize = SignalTruncInt(size);
    return 0;
}

int32_t CRModelSignalGen::Execute() {
    const double f = m_enabled ? m_params.frequency : 0.0;
    PublishArray(m_out, m_generator.Frame(f, m_params.frameSize, m_params.sampleRate));
    return 0;
}

// --- shaping -------------------------------------------------------------------------------

size_t CRModelSignalShaper::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    ReadBase(in);
    ReadFields(in);
    m_signal = FindInput(10);
    for (int i = 0; i < 3; ++i) m_params[i] = FindInput(20 + 10 * i);
    m_output = FindOutputAtLoad(*this, 10);
    return offset + (in.Position() - start);
}

int32_t CRModelSignalShaper::GetInputValues() {
    Shape(RuntimeFrame(m_signal));
    return 0;
}

int32_t CRModelSignalShaper::Execute() {
    PublishArray(m_output, m_out.Value());
    return 0;
}

void CRModelSignalGain::Shape(CFrame frame) {
    TakeParameter(m_params[0], m_gain);
    ScaleFrame(frame, m_gain, m_out);
}

void CRModelSignalPreEmp::Shape(CFrame frame) {
    TakeParameter(m_params[0], m_factor);
    PreEmphasizeFrame(frame, m_factor, m_out);
}

void CRModelSignalDelay::Shape(CFrame frame) {
    TakeParameter(m_params[0], m_echo.delay);
    TakeParameter(m_params[1], m_echo.magnitude);
    TakeParameter(m_params[2], m_echo.sampleRate);
    EchoFrame(frame, m_echo, m_out);
}

int32_t CRModelSignalMixer::GetInputValues() {
    if (m_inputs.empty()) {
        m_out.Clear();
        return 0;
    }
    CombineFrames(RuntimeFrame(&m_inputs.front()), RuntimeFrame(&m_inputs.back()), Multiplies(), m_out);
    return 0;
}

void CRModelSignalWindow::Shape(CFrame frame) {
    WindowFrame(frame, m_window, m_type, m_out);
}

// --- Signal Stats -----------------------------------------------------------------------------

int32_t CRModelSignalStats::GetInputValues() {
    m_stats.Take(RuntimeFrame(FirstInput()));
    return 0;
}

int32_t CRModelSignalStats::Execute() {
    const double values[] = {m_stats.minimum, m_stats.maximum, m_stats.mean};
    const int32_t ids[] = {10, 20, 30};
    for (CRModelOutput& out : m_outputs)
        for (int i = 0; i < 3; ++i)
            if (out.m_id == ids[i]) out.m_value = values[i];
    return 0;
}

namespace {
constexpr CRuntimeType kSignalTypes[] = {
    {kTypeSignalStats, CreateRuntimeAs<CRModelSignalStats>},
    {kTypeSignalGen, CreateRuntimeAs<CRModelSignalGen>},
    {kTypeSignalMixer, CreateRuntimeAs<CRModelSignalMixer>},
    {kTypeSignalGain, CreateRuntimeAs<CRModelSignalGain>},
    {kTypeSignalWindow, CreateRuntimeAs<CRModelSignalWindow>},
    {kTypeSignalPreEmp, CreateRuntimeAs<CRModelSignalPreEmp>},
    {kTypeSignalDelay, CreateRuntimeAs<CRModelSignalDelay>},
    {kTypeSignalModulate, CreateRuntimeAs<CRModelSignalModulate>},
};
}  // namespace

std::span<const CRuntimeType> SignalRuntimeTypes() {
    return kSignalTypes;
}

}  // namespace zor2
