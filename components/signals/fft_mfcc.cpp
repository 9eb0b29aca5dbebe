// Signal FFT and Voice MFCC: type table, property sheets (the Voice MFCC's edits
// its own filter bank), input phases, outputs and records.
#include "components/signals/fft_mfcc.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "algo/bytes.h"
#include "components/signals/signal.h"
#include "engine/catalogue.h"
#include "engine/network.h"
#include "engine/property_sheet.h"
#include "engine/system.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {

constexpr CPortTemplate kFftInputs[] = {{10, "Signal", 0, 2, true}, {20, "SampleRate"}};
constexpr CPortTemplate kFftOutputs[] = {
    {10, "Bin count", kDataInteger, 0},
    {20, "Spectrum (dbl array)", kDataArray, 2},
    {30, "Bin Size"},
    {40, "Peak Freq"},
    {50, "Lowest Freq"},
    {60, "Nyquist Freq"},
};
constexpr CPortTemplate kMfccInputs[] = {{10, "FFT Output", 0, 2, true}};

std::string Printf(const char* format, auto... args) {
    char text[160];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

/// A radio field over `values` labelled by `label`; a current value not among
/// them is offered last, so that an OK without a choice keeps it.
template <class T, class Label>
CPropField ChoiceField(const char* key, std::span<const T> values, double current, Label label,
                       const char* otherFormat) {
    std::vector<std::string> options;
    int32_t choice = -1;
    for (const T& v : values) {
        if (static_cast<double>(v) == current) choice = static_cast<int32_t>(options.size());
        options.push_back(label(v));
    }
    if (choice < 0) {
        choice = static_cast<int32_t>(options.size());
        options.push_back(Printf(otherFormat, current));
    }
    return prop::Radio(key, choice, std::move(options));
}

/// The value behind a ChoiceField's choice: one of `values`, or `current` for the extra option.
template <class T>
double Chosen(const CPropertySheet& sheet, const char* key, std::span<const T> values, double current) {
    const int32_t choice = sheet.Find(key)->choice;
    return choice >= 0 && choice < static_cast<int32_t>(values.size()) ? static_cast<double>(values[choice])
                                                                       : current;
}

std::vector<int32_t> RateValues() {
    std::vector<int32_t> rates;
    for (const CSampleRate& r : SampleRates()) rates.push_back(r.rate);
    return rates;
}

std::string RateLabel(int32_t rate) {
    return SampleRates()[static_cast<size_t>(SampleRateIndex(rate))].label;
}

// --- Signal FFT sheet ---------------------------------------------------------------------

constexpr int32_t kFftPoints[] = {64, 128, 256, 512, 1024, 2048, 4096};

void ReadFftSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* f = dynamic_cast<const CModelSignalFFT*>(&c);
    if (!f) return;
    static const std::vector<int32_t> rates = RateValues();
    sheet
        .Add(ChoiceField<int32_t>(
            "points", kFftPoints, f->Points(),
            [](int32_t n) { return Printf("%d Input Pts (%d bins)", n, n / 2); }, "%.0f Input Pts"))
        .group = "FFT input points";
    sheet.Add(ChoiceField<int32_t>("sampleRate", rates, f->SampleRate(), RateLabel, "%g Hz")).group =
        "Sample rate";
}

std::string ApplyFftSheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* f = dynamic_cast<CModelSignalFFT*>(&c);
    if (!f) return {};
    static const std::vector<int32_t> rates = RateValues();
    if (sheet.Changed("points"))
        f->SetPoints(static_cast<int32_t>(Chosen<int32_t>(sheet, "points", kFftPoints, f->Points())));
    if (sheet.Changed("sampleRate"))
        f->SetSampleRate(Chosen<int32_t>(sheet, "sampleRate", rates, f->SampleRate()));
    return {};
}

// --- Voice MFCC sheet --------------------------------------------------------------------------

constexpr int32_t kMfccBins[] = {128, 256, 512, 1024};
constexpr int32_t kMfccFilterMin = 2;
constexpr int32_t kMfccFilterMax = 32;
constexpr double kCentreStep = 10.0;
constexpr double kCentreMargin = 20.0;

double StepCentre(double value, bool up) {
    return up ? value + kCentreStep : value - kCentreStep;
}

/// The settings the sheet's fields stand for (`base` supplies what a field cannot hold).
CMfccSettings SheetSettings(const CPropertySheet& sheet, const CMfccSettings& base) {
    static const std::vector<int32_t> rates = RateValues();
    CMfccSettings s = base;
    s.sampleRate = static_cast<int32_t>(Chosen<int32_t>(sheet, "sampleRate", rates, base.sampleRate));
    s.filterCount = sheet.Find("filters")->number;
    s.lowestCentre = sheet.Find("low")->value;
    s.highestCentre = sheet.Find("high")->value;
    s.bins = static_cast<int32_t>(Chosen<int32_t>(sheet, "bins", kMfccBins, base.bins));
    return s;
}

/// Lists filters 2 … n−1 of the bank the fields describe; a filter keeps its pick by id.
void ShowFilters(CPropertySheet& sheet) {
    CMfccSettings base;
    base.sampleRate = std::atoi(sheet.Kept("rate").c_str());
    base.bins = std::atoi(sheet.Kept("bins").c_str());
    const CMfccSettings s = SheetSettings(sheet, base);
    CMelFilterBank bank;
    BuildMelBank(bank, s, {});
    CPropField* list = sheet.Edit("selected");
    std::vector<int32_t> picked;
    for (size_t i = 0; i < list->options.size(); ++i)
        if (list->picks[i]) picked.push_back(std::atoi(list->options[i].c_str()));
    list->options.clear();
    list->picks.clear();
    for (const CMelFilter& f : bank.Filters()) {
        if (f.id < 2 || f.id >= bank.FilterCount()) continue;
        list->options.push_back(Printf("%d: f: %0.1f-%0.1f", f.id, f.lower, f.upper));
        list->picks.push_back(std::find(picked.begin(), picked.end(), f.id) != picked.end());
    }
}

/// A centre moves by 10 Hz only within its bounds and never closer than 100 Hz
/// to the other (no bank could be built from that range).
void BoundCentre(CPropertySheet& sheet, std::string_view key) {
    CPropField* f = sheet.Edit(key);
    const double old = std::strtod(sheet.Kept(key).c_str(), nullptr);
    const double low = sheet.Find("low")->value;
    const double high = sheet.Find("high")->value;
    const bool up = f->value > old;
    bool allowed = high - low >= kMinMelRange;
    if (key == "low")
        allowed = allowed && (up ? old < high - kCentreMargin : old > kCentreMargin);
    else
        allowed = allowed && (up ? old < SheetSettings(sheet, {}).sampleRate - kCentreMargin
                                 : old > low + kCentreMargin);
    if (!allowed) f->value = old;
    sheet.Kept(key) = Printf("%.17g", f->value);
    f->text = Printf("%0.0f", f->value);
}

void MfccRule(CPropertySheet& sheet, std::string_view key) {
    if (key == "name" || key == "description" || key == "selected") return;
    if (key == "low" || key == "high") BoundCentre(sheet, key);
    ShowFilters(sheet);
}

void ReadMfccSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* m = dynamic_cast<const CModelSignalMFCC*>(&c);
    if (!m) return;
    static const std::vector<int32_t> rates = RateValues();
    const CMfccSettings s = MfccDialogSettings(*m);
    sheet.Kept("rate") = std::to_string(s.sampleRate);
    sheet.Kept("bins") = std::to_string(s.bins);
    sheet.Add(ChoiceField<int32_t>("sampleRate", rates, s.sampleRate, RateLabel, "%g Hz")).group =
        "Sample rate";
    CPropField& filters = sheet.Add(prop::Field(EPropKind::Spin, "filters", "Number of filters:"));
    filters.minimum = std::min(kMfccFilterMin, s.filterCount);
    filters.maximum = std::max(kMfccFilterMax, s.filterCount);
    filters.number = s.filterCount;
    for (const auto& [key, label, value] : {std::tuple{"low", "Lowest centre (Hz):", s.lowestCentre},
                                            std::tuple{"high", "Highest centre (Hz):", s.highestCentre}}) {
        CPropField& f = sheet.Add(prop::Field(EPropKind::Stepper, key, label, Printf("%0.0f", value)));
        f.value = value;
        f.step = StepCentre;
        sheet.Kept(key) = Printf("%.17g", value);
    }
    sheet
        .Add(ChoiceField<int32_t>(
            "bins", kMfccBins, s.bins, [](int32_t b) { return Printf("%d bins (%d-point FFT)", b, 2 * b); },
            "%.0f bins"))
        .group = "FFT input bins";
    CPropField& list = sheet.Add(prop::Field(EPropKind::Picks, "selected", "Filters with an output:"));
    for (const CMelEntry& e : m->Entries())
        if (e.enabled) {
            list.options.push_back(Printf("%d:", e.id));
            list.picks.push_back(1);
        }
    ShowFilters(sheet);
}

std::string ApplyMfccSheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* m = dynamic_cast<CModelSignalMFCC*>(&c);
    if (!m) return {};
    bool edited = false;
    for (const char* key : {"sampleRate", "filters", "low", "high", "bins", "selected"})
        edited |= sheet.Changed(key);
    if (!edited) return {};
    const CMfccSettings s = SheetSettings(sheet, MfccDialogSettings(*m));
    std::vector<CMelEntry> entries = DefaultMelEntries(s.filterCount);
    const CPropField* list = sheet.Find("selected");
    for (size_t i = 0; i < list->options.size(); ++i) {
        const int32_t id = std::atoi(list->options[i].c_str());
        if (id >= 1 && id <= static_cast<int32_t>(entries.size()))
            entries[static_cast<size_t>(id - 1)].enabled = list->picks[i];
    }
    if (!m->Configure(s, entries))
        return "The filter bank cannot be built: the highest centre must lie at least 100 Hz above the lowest.";
    return {};
}

constexpr CPropertyProfile kFftSheet{"Component Properties - Signal FFT", ReadFftSheet, nullptr,
                                     ApplyFftSheet, true};
constexpr CPropertyProfile kMfccSheet{.caption = "Component Properties - Voice MFCC",
                                      .read = ReadMfccSheet,
                                      .rule = MfccRule,
                                      .apply = ApplyMfccSheet,
                                      .openCheck = EOpenCheck::SegmentOutputs};

constexpr CComponentType kTypes[] = {
    {kTypeSignalFft, kFftInputs, kFftOutputs, 2, 6, CreateAs<CModelSignalFFT>, &kFftSheet},
    {kTypeVoiceMfcc,
     kMfccInputs,
     {},
     1,
     0,
     CreateAs<CModelSignalMFCC>,
     &kMfccSheet,
     {.menu = EComponentMenu::Mfcc},
     nullptr,
     SkipMfccRuntimeBody},
};

}  // namespace

std::span<const CComponentType> FftMfccComponentTypes() {
    return kTypes;
}

// --- Signal FFT ---------------------------------------------------------------------------------

void CModelSignalFFT::Serialize(CArchive& ar) {
    SerializeBase(ar);
    ar.I32(m_points);
    ar.F64(m_sampleRate);
}

void CModelSignalFFT::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    w.I32(m_points);
    w.F64(m_sampleRate);
}

void CModelSignalFFT::GetInputValues() {
    if (CModelInput* in = FirstInput()) {
        const CFrame frame = DesignerFrame(in, true);
        m_analysed = m_analyser.Analyse(frame.data, frame.count, m_points, m_sampleRate);
        in->m_text.SetInt("%d pts", frame.data ? frame.count : 0);
    }
    if (CModelInput* rate = FindInput(20); rate && PullInput(*rate)) {
        m_sampleRate = rate->m_value;
        rate->m_text.SetInt("%d/sec", TruncToInt32(m_sampleRate));
    }
}

void CModelSignalFFT::Execute() {
    const CSpectrumSummary& s = m_analyser.Summary();
    const double values[] = {
        static_cast<double>(s.bins), 0.0, s.binSize, s.peakFreq, s.lowestFreq, s.nyquistFreq};
    for (size_t i = 0; i < std::size(kFftOutputs); ++i) {
        CModelOutput* out = FindOutput(kFftOutputs[i].id);
        if (!out) continue;
        if (out->m_id == 20) {
            if (m_analysed)
                PublishArray(out, {const_cast<double*>(m_analyser.Spectrum()), s.bins, 0.0, s.peakMagnitude});
            else
                PublishArray(out, {});
        }
        out->SetValue(values[i]);
    }
}

std::vector<std::string> CModelSignalFFT::HelperText() const {
    return {Printf("SampleRate: %0.0f Hz ", m_sampleRate),
            Printf("FFT Input Pts: %d (N/2 = %d bins)", m_points, m_points / 2),
            Printf("FFT Freq Resolution: %0.0f Hz/bin ", m_sampleRate / m_points)};
}

// --- Voice MFCC -------------------------------------------------------------------------------------

void CModelSignalMFCC::Serialize(CArchive& ar) {
    SerializeBase(ar);
    if (ar.Failed()) return;
    const size_t settingsAt = ar.Position();
    MfccSettingsFields(ar, m_settings);
    int32_t outputs = static_cast<int32_t>(m_outputs.Size());
    ar.I32(outputs);
    if (ar.IsStoring()) {
        if (outputs > 0)
            for (CMelEntry& e : m_entries) MelEntryFields(ar, e);
        return;
    }
    if (ar.Failed()) return;
    if (m_settings.filterCount < 0 || m_settings.filterCount > kMaxMelFilters) {
        ar.Fail("Voice MFCC filter count out of range", settingsAt + 4);
        return;
    }
    m_entries.assign(static_cast<size_t>(m_settings.filterCount), CMelEntry{});
    if (outputs > 0) {
        if (!ar.CheckCount(m_settings.filterCount, kMelEntryBytes, "Voice MFCC filter")) return;
        for (CMelEntry& e : m_entries) MelEntryFields(ar, e);
    } else {
        m_entries = DefaultMelEntries(m_settings.filterCount);
    }
    BuildMelBank(m_bank, m_settings, m_entries);
}

void CModelSignalMFCC::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    MfccSettingsFields(w, m_settings);
    // The runtime reads one entry for each of the filter count, built or not.
    for (const CMelEntry& e : m_entries) MelEntryFields(w, e);
}

void CModelSignalMFCC::GetInputValues() {
    const CFrame frame = DesignerFrame(FirstInput(), true);
    m_spectrum = frame.data;
    m_spectrumCount = frame.data ? frame.count : 0;
}

void CModelSignalMFCC::Execute() {
    if (!m_bank.Initialized()) return;
    m_bank.Compute(m_spectrum, m_spectrumCount);
    for (CModelOutput* out : m_outputs)
        if (const CMelFilter* f = m_bank.Find(out->m_id); f && f->enabled) out->SetValue(f->coefficient);
}

std::vector<std::string> CModelSignalMFCC::HelperText() const {
    return {Printf("SampleRate: %0.0f Hz", m_bank.Rate()),
            Printf("Filters: %d of %d", static_cast<int>(m_outputs.Size()), m_bank.FilterCount()),
            Printf("FFT Input bins %d", m_bank.Bins())};
}

bool CModelSignalMFCC::Configure(const CMfccSettings& settings, const std::vector<CMelEntry>& entries) {
    CMelFilterBank bank;
    if (!BuildMelBank(bank, settings, entries)) return false;
    for (CModelOutput* out : m_outputs.Snapshot()) {
        if (m_owner) {
            if (CSystem* s = System()) s->DeleteOutputViews(nullptr, nullptr, out);
            m_owner->RemoveOutputConnections(*out);
        }
        m_selectedOutputs.Remove(out);
        m_outputs.Remove(out);
    }
    m_settings = settings;
    m_entries = entries;
    m_bank = std::move(bank);
    for (const CMelFilter& f : m_bank.Filters()) {
        if (!f.enabled || f.id < 2 || f.id >= m_bank.FilterCount()) continue;
        CModelOutput* out = AddOutput(f.id);
        if (!out) continue;
        out->m_name = Printf("c%d %0.0fHz", f.id, f.centre);
        out->m_template = true;
        out->m_decimals = 2;
    }
    m_maxOutputs = static_cast<int32_t>(m_outputs.Size());
    CalcSize();
    return true;
}

CMfccSettings MfccDialogSettings(const CModelSignalMFCC& component) {
    CMfccSettings s = component.Settings();
    if (component.Bank().Initialized()) return s;
    s.bins = 256;
    s.lowestCentre = 100.0;
    s.highestCentre = s.sampleRate / 2.0 > 4999 ? 5000.0 : s.sampleRate / 2.0;
    return s;
}

}  // namespace zor2
