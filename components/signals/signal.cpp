// Signal sources, shaping and Signal Stats: type table, property sheets, the
// designer's input phases with their value texts, and the records.
#include "components/signals/signal.h"

#include <algorithm>
#include <string>

#include "algo/bytes.h"
#include "engine/catalogue.h"
#include "engine/network.h"
#include "engine/property_sheet.h"
#include "engine/value_text.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {

constexpr CPortTemplate kSignalOut[] = {{10, "Signal (array)", kDataArray, 2}};
constexpr CPortTemplate kShapedOut[] = {{10, "SignalOut", kDataArray, 2}};
constexpr CPortTemplate kMixedOut[] = {{10, "Mixed Signal", kDataArray, 2}};
constexpr CPortTemplate kGenInputs[] = {{10, "On Off"}, {20, "Freq Hz"}, {30, "SampleRate"}, {40, "Samples"}};
constexpr CPortTemplate kGainInputs[] = {{10, "Signal", 0, 2, true}, {20, "Gain"}};
constexpr CPortTemplate kMixInputs[] = {{10, "Signal1", 0, 2, true}, {20, "Signal2", 0, 2, true}};
constexpr CPortTemplate kPreEmpInputs[] = {{10, "Signal", 0, 2, true}, {20, "Emp Factor"}};
constexpr CPortTemplate kDelayInputs[] = {
    {10, "Signal", 0, 2, true}, {20, "Delay (secs)"}, {30, "Magnitude (0-1)"}, {40, "SampleRate"}};
constexpr CPortTemplate kWindowInputs[] = {{10, "Signal", 0, 2, true}};
constexpr CPortTemplate kStatsInputs[] = {{10, "Signal", 0, 2, true}};
constexpr CPortTemplate kStatsOutputs[] = {{10, "Min"}, {20, "Max"}, {30, "Mean"}};

// --- property sheets ------------------------------------------------------------------

constexpr int32_t kFrameSizes[] = {32, 64, 128, 256, 512, 1024, 2048, 4096};

void ReadGenSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* g = dynamic_cast<const CModelSignalGen*>(&c);
    if (!g) return;
    const CSignalGenParams& p = g->Params();
    std::vector<std::string> sizes;
    int32_t choice = -1;
    for (int32_t n : kFrameSizes) {
        if (n == p.frameSize) choice = static_cast<int32_t>(sizes.size());
        sizes.push_back(std::to_string(n));
    }
    // A size set through the "Samples" input stays offered until another is chosen.
    if (choice < 0) {
        choice = static_cast<int32_t>(sizes.size());
        sizes.push_back(std::to_string(p.frameSize));
    }
    sheet.Add(prop::Radio("frameSize", choice, std::move(sizes))).group = "Samples per frame";
    CPropField& rate = sheet.Add(prop::Field(EPropKind::Spin, "sampleRate", "Sample rate (Hz):"));
    rate.minimum = INT32_MIN;
    rate.maximum = INT32_MAX;
    rate.number = p.sampleRate;
    CPropField& freq = sheet.Add(prop::Field(EPropKind::Spin, "frequency", "Frequency (Hz):"));
    freq.minimum = INT32_MIN;
    freq.maximum = INT32_MAX;
    freq.number = SignalTruncInt(p.frequency);
}

std::string ApplyGenSheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* g = dynamic_cast<CModelSignalGen*>(&c);
    if (!g) return {};
    CSignalGenParams p = g->Params();
    if (sheet.Changed("frameSize")) {
        const CPropField* f = sheet.Find("frameSize");
        p.frameSize = std::stoi(f->options[static_cast<size_t>(f->choice)]);
    }
    if (sheet.Changed("sampleRate")) p.sampleRate = sheet.Find("sampleRate")->number;
    if (sheet.Changed("frequency")) p.frequency = sheet.Find("frequency")->number;
    g->SetParams(p);
    return {};
}

void ReadWindowSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* w = dynamic_cast<const CModelSignalWindow*>(&c);
    if (!w) return;
    // A type the dialog does not know shows no button checked.
    const int32_t type = w->WindowType();
    const int32_t choice = type >= kWindowHamming && type <= kWindowBlackman ? type - 1 : -1;
    sheet.Add(prop::Radio("windowType", choice, {"Hamming", "Hanning", "Blackman"})).group = "Window type";
}

std::string ApplyWindowSheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* w = dynamic_cast<CModelSignalWindow*>(&c);
    if (w && sheet.Changed("windowType")) w->SetWindowType(sheet.Find("windowType")->choice + 1);
    return {};
}

constexpr CPropertyProfile kGenSheet{"Component Properties - Signal Generator", ReadGenSheet, nullptr,
                                     ApplyGenSheet};
constexpr CPropertyProfile kWindowSheet{"Component Properties - Signal Windowing", ReadWindowSheet, nullptr,
                                        ApplyWindowSheet};

constexpr CComponentType kTypes[] = {
    {kTypeSignalStats, kStatsInputs, kStatsOutputs, 1, 3, CreateAs<CModelSignalStats>},
    {kTypeSignalGen, kGenInputs, kSignalOut, 4, 1, CreateAs<CModelSignalGen>, &kGenSheet},
    {kTypeSignalMixer, kMixInputs, kMixedOut, 2, 1, CreateAs<CModelSignalMixer>},
    {kTypeSignalGain, kGainInputs, kShapedOut, 2, 1, CreateAs<CModelSignalGain>},
    {kTypeSignalWindow, kWindowInputs, kShapedOut, 1, 1, CreateAs<CModelSignalWindow>, &kWindowSheet},
    {kTypeSignalPreEmp, kPreEmpInputs, kShapedOut, 2, 1, CreateAs<CModelSignalPreEmp>},
    {kTypeSignalDelay, kDelayInputs, kShapedOut, 4, 1, CreateAs<CModelSignalDelay>},
    {kTypeSignalModulate, kMixInputs, kMixedOut, 2, 1, CreateAs<CModelSignalModulate>},
};

/// An input that sets a parameter: with a source, `param` takes the input's
/// value. Returns the input (null when the component lacks it).
CModelInput* TakeParameter(CNetworkModel& c, int32_t id, double& param) {
    CModelInput* in = c.FindInput(id);
    if (in && CNetworkModel::PullInput(*in)) param = in->m_value;
    return in;
}

}  // namespace

std::span<const CComponentType> SignalComponentTypes() {
    return kTypes;
}

CFrame DesignerFrame(const CModelInput* in, bool arrayOutputsOnly) {
    if (!in || !in->HasSource()) return {};
    if (const CModelOutput* out = in->SourceOutput()) {
        if (arrayOutputsOnly && !out->IsArray()) return {};
        return {out->m_arrayData, out->m_arrayCount};
    }
    const CNetworkInput* mi = in->SourceModuleInput();
    if (!mi) return {};
    if (mi->m_sourceKind == kSourceSystemInput && mi->m_sourceExtConnection) {
        CExternalInput* p = mi->m_sourceExtConnection->m_systemInput;
        if (p && p->m_kind == 2) return {p->ArrayData(), p->ArrayCount()};
    } else if (mi->m_sourceKind == kSourceModuleOutput && mi->m_sourceNetConnection) {
        const CNetworkOutput* o = mi->m_sourceNetConnection->m_srcOutput;
        if (o && o->CarriesArray()) return {o->m_arrayData, o->m_arrayCount};
    }
    return {};
}

void PublishArray(CModelOutput* out, const CArrayValue& value) {
    if (!out) return;
    out->m_arrayData = value.data;
    out->m_arrayCount = value.count;
    out->m_spareValue = value.minimum;
    out->m_heldValue = value.maximum;
}

// --- Signal Generator -----------------------------------------------------------------------

void CModelSignalGen::Serialize(CArchive& ar) {
    SerializeBase(ar);
    SignalGenFieldList(ar, m_params);
}

void CModelSignalGen::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    SignalGenFieldList(w, m_params);
}

void CModelSignalGen::GetInputValues() {
    if (CModelInput* on = FirstInput()) {
        m_enabled = !(on->HasSource() && SourceValue(*on) == 0.0);
        on->m_value = m_enabled ? 1.0 : 0.0;
        on->m_text.SetText(m_enabled ? "On" : "Off");
    }
    if (CModelInput* in = TakeParameter(*this, 20, m_params.frequency)) {
        if (m_enabled)
            in->m_text.SetInt("%d Hz", TruncToInt32(m_params.frequency));
        else
            in->m_text.SetText("0 Hz");
    }
    double rate = m_params.sampleRate;
    if (CModelInput* in = TakeParameter(*this, 30, rate)) {
        m_params.sampleRate = SignalTruncInt(rate);
        in->m_text.SetInt("%d/sec", m_params.sampleRate);
    }
    double size = m_params.frameSize;
    if (CModelInput* in = TakeParameter(*this, 40, size)) {
        m_params.frameSize = SignalTruncInt(size);
        in->m_text.SetInt("%d", m_params.frameSize);
    }
}

void CModelSignalGen::Execute() {
    const double f = m_enabled ? m_params.frequency : 0.0;
    PublishArray(FindOutput(10), m_generator.Frame(f, m_params.frameSize, m_params.sampleRate));
}

void CModelSignalGen::SetParams(const CSignalGenParams& params) {
    m_params = params;
    Execute();
}

// --- shaping -----------------------------------------------------------------------------------

void CModelSignalShaper::Execute() {
    PublishArray(FindOutput(10), m_out.Value());
}

void CModelSignalGain::Serialize(CArchive& ar) {
    SerializeBase(ar);
    ar.F64(m_gain);
}

void CModelSignalGain::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    w.F64(m_gain);
}

void CModelSignalGain::GetInputValues() {
    if (CModelInput* in = TakeParameter(*this, 20, m_gain)) in->m_text.SetNumber("%.2f", m_gain);
    ScaleFrame(DesignerFrame(FindInput(10)), m_gain, m_out);
}

void CModelSignalPreEmp::Serialize(CArchive& ar) {
    SerializeBase(ar);
    ar.F64(m_factor);
}

void CModelSignalPreEmp::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    w.F64(m_factor);
}

void CModelSignalPreEmp::GetInputValues() {
    if (CModelInput* in = TakeParameter(*this, 20, m_factor)) in->m_text.SetNumber("%.2f", m_factor);
    PreEmphasizeFrame(DesignerFrame(FindInput(10)), m_factor, m_out);
}

void CModelSignalDelay::Serialize(CArchive& ar) {
    SerializeBase(ar);
    EchoFieldList(ar, m_params);
}

void CModelSignalDelay::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    EchoFieldList(w, m_params);
}

void CModelSignalDelay::GetInputValues() {
    if (CModelInput* in = TakeParameter(*this, 20, m_params.delay))
        in->m_text.SetNumber("%.2f", m_params.delay);
    if (CModelInput* in = TakeParameter(*this, 30, m_params.magnitude))
        in->m_text.SetNumber("%0.2f", m_params.magnitude);
    if (CModelInput* in = TakeParameter(*this, 40, m_params.sampleRate))
        in->m_text.SetInt("%d/sec", TruncToInt32(m_params.sampleRate));
    EchoFrame(DesignerFrame(FindInput(10)), m_params, m_out);
}

void CModelSignalMixer::GetInputValues() {
    if (!FirstInput() || !LastInput()) return m_out.Clear();
    CombineFrames(DesignerFrame(FirstInput()), DesignerFrame(LastInput()), Multiplies(), m_out);
}

void CModelSignalWindow::Serialize(CArchive& ar) {
    SerializeBase(ar);
    ar.I32(m_type);
}

void CModelSignalWindow::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    w.I32(m_type);
}

void CModelSignalWindow::GetInputValues() {
    WindowFrame(DesignerFrame(FindInput(10)), m_window, m_type, m_out);
}

std::vector<std::string> CModelSignalWindow::HelperText() const {
    return {WindowTypeText(m_type)};
}

// --- Signal Stats --------------------------------------------------------------------------------

void CModelSignalStats::GetInputValues() {
    m_stats.Take(DesignerFrame(FirstInput()));
}

void CModelSignalStats::Execute() {
    const double values[] = {m_stats.minimum, m_stats.maximum, m_stats.mean};
    const int32_t ids[] = {10, 20, 30};
    for (int i = 0; i < 3; ++i)
        if (CModelOutput* out = FindOutput(ids[i])) out->SetValue(values[i]);
}

}  // namespace zor2
