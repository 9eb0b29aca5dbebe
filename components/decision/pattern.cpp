// Pattern components: type table, property sheets, input phase, execution,
// registered-pattern import and records.
#include "components/decision/pattern.h"

#include <cstdio>

#include "algo/bytes.h"
#include "algo/csv_file.h"
#include "algo/record_archive.h"
#include "components/decision/pattern_sheet.h"
#include "components/utility/csv_data_kernel.h"
#include "engine/catalogue.h"
#include "engine/port_helpers.h"
#include "engine/property_sheet.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {

constexpr CPortTemplate kGeneratorInputs[] = {{10, "Enable"}, {20, "Pattern Number"}};
constexpr CPortTemplate kAnalyzerInputs[] = {{10, "Read Inputs (enable)"}};
constexpr CPortTemplate kAnalyzerOutputs[] = {{10, "Identified Flag", kDataYesNo, 0},
                                              {20, "Pattern Number", kDataInteger, 0}};
constexpr CPortTemplate kRecorderOutputs[] = {{10, "Recorded Flag", kDataYesNo, 0},
                                              {20, "Assigned Pattern Number", kDataInteger, 0},
                                              {30, "Unique Patterns Recorded", kDataInteger, 0},
                                              {40, "Total Patterns Recorded", kDataInteger, 0},
                                              {50, "Patterns Possible", kDataInteger, 0},
                                              {60, "Most Common Pattern", kDataInteger, 0}};

constexpr const char* kImportTitle = "Open CSV file for Import (CSV)";

// --- shared input phase and records ------------------------------------------------

/// True unless input 10 is connected and 0; the input shows the state.
bool ReadEnable(CNetworkModel& c) {
    CModelInput* in = c.FindInput(10);
    if (!in) return true;
    const bool on = !(in->HasSource() && CNetworkModel::SourceValue(*in) == 0.0);
    in->m_value = on ? 1.0 : 0.0;
    in->m_text.SetText(on ? "On" : "Off");
    return on;
}

/// The data inputs (every input but input 10) in list order into `values`;
/// each shows whether it is on.
void ReadDataInputs(CNetworkModel& c, std::vector<double>& values) {
    values.clear();
    for (CModelInput* in : c.m_inputs) {
        if (in->m_id == 10) continue;
        const double v = in->HasSource() ? CNetworkModel::SourceValue(*in) : 0.0;
        const bool on = PatternInputOn(v);
        in->m_value = on ? 1.0 : 0.0;
        in->m_text.SetText(on ? "On" : "Off");
        values.push_back(v);
    }
}

void SerializePatterns(CArchive& ar, bool& enabled, std::vector<CPattern>& list) {
    ar.Bool(enabled);
    int32_t count = static_cast<int32_t>(list.size());
    ar.I32(count);
    if (ar.IsLoading()) {
        if (!ar.CheckCount(count, 12 + kMinStringBytes, "pattern")) return;
        list.assign(static_cast<size_t>(count), CPattern{});
    }
    for (CPattern& p : list) {
        int32_t bits = static_cast<int32_t>(p.m_bits);
        ar.I32(p.m_id);
        ar.I32(bits);
        ar.I32(p.m_number);
        ar.Str(p.m_name);
        p.m_bits = static_cast<uint32_t>(bits);
    }
}

void ExportPatterns(CByteWriter& w, bool enabled, const std::vector<CPattern>& list) {
    w.Bool(enabled);
    w.I32(static_cast<int32_t>(list.size()));
    for (const CPattern& p : list)
        WriteRecord(w, CPatternRecord{p.m_id, static_cast<int32_t>(p.m_bits), p.m_number});
}

void SetOutput(CNetworkModel& c, int32_t id, double v) {
    if (CModelOutput* out = c.FindOutput(id)) out->SetValue(v);
}

// --- Pattern Generator sheet ---------------------------------------------------------

struct CGeneratorEdit {
    std::vector<CPattern> patterns;
    std::vector<std::string> outputNames;
};

const CPatternListTexts kGeneratorTexts{
    "Are you sure you want to delete all current patterns? If so, the outputs will remain in place, just the patterns will be deleted.",
    [](size_t) { return std::string("Pattern Name"); }};

/// The selected pattern's bits, one cell per output.
void ShowBits(CPropertySheet& sheet) {
    const CGeneratorEdit* edit = sheet.Data<CGeneratorEdit>();
    CPropField* bits = sheet.Edit("bits");
    const CPattern* p = pattern_sheet::Selected<CGeneratorEdit>(sheet);
    bits->cells.assign(edit->outputNames.size(), 0.0);
    for (size_t k = 0; k < bits->cells.size(); ++k)
        bits->cells[k] = p && k < 32 && (p->m_bits >> k & 1u) ? 1.0 : 0.0;
    bits->cellLabels = edit->outputNames;
    bits->enabled = p != nullptr;
}

void ReadGeneratorSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* g = dynamic_cast<const CModelPatternGenerator*>(&c);
    if (!g) return;
    CGeneratorEdit edit{g->Patterns(), {}};
    for (const CModelOutput* out : g->m_outputs) edit.outputNames.push_back(out->m_name);
    sheet.SetData(std::move(edit));
    sheet.Add(prop::Button("addOutput", "Add Output"));
    pattern_sheet::AddFields<CGeneratorEdit>(sheet);
    CPropField bits = prop::Field(EPropKind::Grid, "bits", "Outputs on:", {}, "Patterns");
    bits.columns = 8;
    bits.maximum = 1;
    sheet.Add(std::move(bits));
    ShowBits(sheet);
}

void GeneratorRule(CPropertySheet& sheet, std::string_view key) {
    if (key == "bits") {
        if (CPattern* p = pattern_sheet::Selected<CGeneratorEdit>(sheet)) {
            const std::vector<double>& cells = sheet.Find("bits")->cells;
            p->m_bits = 0;
            for (size_t k = 0; k < cells.size() && k < 32; ++k)
                if (cells[k] != 0.0) p->m_bits |= uint32_t{1} << k;
            sheet.MarkDataEdited();
        }
        return;
    }
    pattern_sheet::Rule<CGeneratorEdit>(sheet, key);
    ShowBits(sheet);
}

bool GeneratorAction(CPropertySheet& sheet, std::string_view key, IPropertyHost& host) {
    CGeneratorEdit* edit = sheet.Data<CGeneratorEdit>();
    if (key == "addOutput") {
        if (edit->outputNames.size() >= static_cast<size_t>(kMaxGeneratorOutputs)) {
            host.Prompter().Tell(
                "Currently at the maximum of 32 outputs in the Pattern Generator Component.");
            return false;
        }
        edit->outputNames.push_back("Output " + std::to_string(edit->outputNames.size()));
        return true;
    }
    return pattern_sheet::Action<CGeneratorEdit>(sheet, key, host, kGeneratorTexts);
}

std::string ApplyGeneratorSheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* g = dynamic_cast<CModelPatternGenerator*>(&c);
    const CGeneratorEdit* edit = sheet.Data<CGeneratorEdit>();
    if (!g || !edit) return {};
    while (g->m_outputs.Size() < edit->outputNames.size() && g->AddPatternOutput()) {
    }
    g->SetPatterns(edit->patterns);
    return {};
}

// --- Pattern Analyzer sheet ----------------------------------------------------------

struct CAnalyzerEdit {
    struct CImport {
        std::vector<std::string> header;
        bool rebuild = false;
    };
    std::vector<CPattern> registered;
    std::vector<CImport> imports;  // their input changes, made on OK in order
    bool clearAnalyzed = false;
    int32_t analyzed = 0, identified = 0, unidentified = 0;
};

void ShowAnalyzer(CPropertySheet& sheet) {
    const CAnalyzerEdit* edit = sheet.Data<CAnalyzerEdit>();
    char counts[200];
    std::snprintf(counts, sizeof counts, "Analyzed: %d   Identified: %d   Unidentified: %d   Registered: %d",
                  edit->analyzed, edit->identified, edit->unidentified,
                  static_cast<int>(edit->registered.size()));
    sheet.Edit("counts")->label = counts;
    std::vector<std::string> lines;
    lines.reserve(edit->registered.size());
    for (const CPattern& p : edit->registered) lines.push_back(std::to_string(p.m_id) + ": " + p.m_name);
    CPropField* list = sheet.Edit("registered");
    list->options = std::move(lines);
    if (list->choice >= static_cast<int32_t>(list->options.size())) list->choice = -1;
}

void ReadAnalyzerSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* a = dynamic_cast<const CModelPatternAnalyzer*>(&c);
    if (!a) return;
    const CPatternAnalysis& an = a->Analysis();
    sheet.SetData(CAnalyzerEdit{an.m_registered,
                                {},
                                false,
                                static_cast<int32_t>(an.m_analyzed.size()),
                                an.m_identified,
                                an.m_unidentified});
    sheet.Add(prop::Note("counts", ""));
    sheet.Add(prop::List("registered", "Registered patterns:", {}));
    sheet.Add(prop::Button("import", "Import Registered Patterns..."));
    sheet.Add(prop::Button("importWizard", "Import with the Load Data Wizard..."));
    sheet.Add(prop::Button("removeAll", "Remove All Registered Patterns"));
    sheet.Add(prop::Button("deleteAnalyzed", "Delete Analyzed Patterns"));
    ShowAnalyzer(sheet);
}

bool ImportRegistered(CAnalyzerEdit& edit, IPropertyHost& host, bool wizard) {
    const EAnswer answer = host.Prompter().Ask(
        "Do you want to automatically add new inputs on the component to receive the values of the registered patterns? It is recommended that you say yes, if you have not yet added inputs manually, or if this is the first import of registered patterns to this component. If there are existing inputs, and you wish to delete them with a rebuild to the imported pattern structure, say yes as well. Say no if you are simply registering additional patterns to a model with existing registered patterns and existing inputs.",
        EButtons::YesNoCancel);
    if (answer == EAnswer::Cancel) return false;
    const std::string path = host.ChooseDataFile(kImportTitle, wizard);
    if (path.empty()) return false;
    CAnalyzerEdit::CImport import;
    import.rebuild = answer == EAnswer::Yes;
    bool opened = false;
    host.Prompter().Tell(ReadRegisteredPatterns(path, import.header, edit.registered, opened));
    if (!opened) return false;
    edit.imports.push_back(std::move(import));
    return true;
}

bool AnalyzerAction(CPropertySheet& sheet, std::string_view key, IPropertyHost& host) {
    CAnalyzerEdit* edit = sheet.Data<CAnalyzerEdit>();
    bool changed = false;
    if (key == "import" || key == "importWizard") {
        changed = ImportRegistered(*edit, host, key == "importWizard");
    } else if (key == "removeAll") {
        changed = !edit->registered.empty() &&
                  host.Prompter().Ask("Are you sure you want to remove all registered patterns?",
                                      EButtons::YesNo) == EAnswer::Yes;
        if (changed) edit->registered.clear();
    } else if (key == "deleteAnalyzed") {
        changed = edit->analyzed > 0 &&
                  host.Prompter().Ask("Are you sure you want to delete the analyzed patterns?",
                                      EButtons::YesNo) == EAnswer::Yes;
        if (changed) edit->clearAnalyzed = true, edit->analyzed = 0;
    }
    ShowAnalyzer(sheet);
    return changed;
}

std::string ApplyAnalyzerSheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* a = dynamic_cast<CModelPatternAnalyzer*>(&c);
    const CAnalyzerEdit* edit = sheet.Data<CAnalyzerEdit>();
    if (!a || !edit) return {};
    for (const CAnalyzerEdit::CImport& import : edit->imports)
        a->TakeImportHeader(import.header, import.rebuild);
    a->Analysis().m_registered = edit->registered;
    if (edit->clearAnalyzed) {
        a->Analysis().m_analyzed.clear();
        a->Analysis().m_analyses = 0;
    }
    return {};
}

constexpr CPropertyProfile kGeneratorSheet{"Pattern Generator Properties",
                                           ReadGeneratorSheet,
                                           GeneratorRule,
                                           ApplyGeneratorSheet,
                                           false,
                                           GeneratorAction};
constexpr CPropertyProfile kAnalyzerSheet{
    "Pattern Analyzer Properties", ReadAnalyzerSheet, nullptr, ApplyAnalyzerSheet, false, AnalyzerAction};
constexpr CPropertyProfile kRecorderSheet{"Component Properties - Pattern Recorder"};

template <class T>
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<T>();
}

constexpr CTypeTraits kRecorderTraits{.inputsNamedBySource = true};
constexpr CComponentType kTypes[] = {
    {kTypePatternGenerator,
     kGeneratorInputs,
     {},
     2,
     -1,
     Create<CModelPatternGenerator>,
     &kGeneratorSheet,
     {},
     nullptr,
     SkipPatternBody},
    {kTypePatternAnalyzer,
     kAnalyzerInputs,
     kAnalyzerOutputs,
     -1,
     2,
     Create<CModelPatternAnalyzer>,
     &kAnalyzerSheet,
     {},
     nullptr,
     SkipPatternBody},
    {kTypePatternRecorder, kAnalyzerInputs, kRecorderOutputs, -1, 6, Create<CModelPatternRecorder>,
     &kRecorderSheet, kRecorderTraits, nullptr, SkipPatternBody},
};

}  // namespace

std::span<const CComponentType> PatternComponentTypes() {
    return kTypes;
}

// --- registered-pattern import ---------------------------------------------------------

int32_t ImportColumnInputId(size_t column) {
    return column < 10 ? static_cast<int32_t>(column) : static_cast<int32_t>(column) + 1;
}

std::string ReadRegisteredPatterns(const std::string& path, std::vector<std::string>& header,
                                   std::vector<CPattern>& patterns, bool& opened) {
    CCSVFile file;
    opened = file.Open(path, ECsvMode::Read);
    if (!opened) return "The registered patterns could not be read: " + file.Error();
    header.clear();
    file.ReadLine(header);
    const size_t columns = header.size();
    int32_t read = 0;
    std::string stop;
    std::vector<std::string> fields;
    for (int32_t line = 2; file.ReadLine(fields); ++line) {
        if (fields.size() < columns) {
            char why[200];
            std::snprintf(why, sizeof why,
                          "Line %d has %d fields where the header has %d; the import stopped there.\n", line,
                          static_cast<int>(fields.size()), static_cast<int>(columns));
            stop = why;
            break;
        }
        CPattern p;
        if (columns > 0) p.m_name = fields[0];
        if (columns > 1) p.m_id = TriggerKey(CsvFieldNumber(fields[1]));
        for (size_t i = 2; i < columns && i - 2 < 32; ++i)
            if (TriggerKey(CsvFieldNumber(fields[i])) != 0) p.m_bits |= uint32_t{1} << (i - 2);
        patterns.push_back(std::move(p));
        ++read;
    }
    char message[1200];
    std::snprintf(message, sizeof message, "Read %d Patterns from CSV file: %s\n", read, path.c_str());
    return stop + message;
}

// --- Pattern Generator -----------------------------------------------------------------

void CModelPatternGenerator::Serialize(CArchive& ar) {
    SerializeBase(ar);
    SerializePatterns(ar, m_enabled, m_patterns);
}

void CModelPatternGenerator::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    ExportPatterns(w, m_enabled, m_patterns);
}

void CModelPatternGenerator::GetInputValues() {
    m_value = 0.0;
    m_enabled = ReadEnable(*this);
    if (CModelInput* number = LastInput()) {
        const double v = number->HasSource() ? SourceValue(*number) : 0.0;
        number->m_value = v;
        number->m_text.SetInt("%d", TriggerKey(v));
        m_value = v;
    }
}

void CModelPatternGenerator::Execute() {
    const CPattern* p = FindPatternNumber(m_patterns, m_enabled ? TriggerKey(m_value) : 0);
    size_t k = 0;
    for (CModelOutput* out : m_outputs) out->SetValue(p ? GeneratorOutput(p->m_bits, k++) : 0.0);
}

void CModelPatternGenerator::SetPatterns(std::vector<CPattern> patterns) {
    pattern_sheet::GiveIds(patterns, Random());
    m_patterns = std::move(patterns);
}

bool CModelPatternGenerator::AddPatternOutput() {
    if (m_outputs.Size() >= static_cast<size_t>(kMaxGeneratorOutputs)) return false;
    const std::string label = "Output " + std::to_string(m_outputs.Size());
    CModelOutput* out = AddOutput(0);
    if (!out) return false;
    out->m_name = label;
    out->m_dataType = kDataOnOff;
    out->m_decimals = 0;
    out->m_template = true;
    return true;
}

// --- Pattern Analyzer ------------------------------------------------------------------

void CModelPatternAnalyzer::Serialize(CArchive& ar) {
    SerializeBase(ar);
    SerializePatterns(ar, m_enabled, m_analysis.m_registered);
}

void CModelPatternAnalyzer::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    ExportPatterns(w, m_enabled, m_analysis.m_registered);
}

void CModelPatternAnalyzer::GetInputValues() {
    m_value = 0.0;
    m_enabled = ReadEnable(*this);
}

void CModelPatternAnalyzer::Execute() {
    m_value = 0.0;
    if (!m_enabled) return;
    int32_t connected = 0;
    for (const CModelInput* in : m_inputs)
        if (in->HasSource() && in->m_id != 10) ++connected;
    if (connected <= 1) return;  // at least two connected data inputs
    ReadDataInputs(*this, m_data);
    const CPattern* match = m_analysis.Analyze(PatternBits(m_data), m_id);
    if (CModelOutput* first = FirstOutput()) first->SetValue(match ? 1.0 : 0.0);
    if (CModelOutput* last = LastOutput()) {
        last->SetValue(match ? match->m_id : 0.0);
        if (!match) last->m_text.SetText("--");
    }
}

void CModelPatternAnalyzer::ResetValues() {
    CNetworkModel::ResetValues();
    m_analysis.Reset();
    if (CModelOutput* first = FirstOutput()) first->SetValue(0.0);
    if (CModelOutput* last = LastOutput()) {
        last->m_value = 0.0;
        last->m_text.SetText("--");
    }
}

void CModelPatternAnalyzer::TakeImportHeader(const std::vector<std::string>& header, bool rebuild) {
    if (rebuild) {
        for (CModelInput* in : m_inputs.Snapshot()) {
            if (in->m_id == 10) continue;
            in->m_template = false;
            RemoveComponentInput(*this, in);
        }
    }
    for (size_t i = 2; i < header.size(); ++i) {
        const int32_t id = ImportColumnInputId(i);
        CModelInput* in = FindInput(id);
        if (!in) in = AddInput(id);
        if (in) in->m_name = header[i];
    }
    CalcSize();
}

// --- Pattern Recorder ------------------------------------------------------------------

void CModelPatternRecorder::Serialize(CArchive& ar) {
    SerializeBase(ar);
    SerializePatterns(ar, m_enabled, m_recording.m_recorded);
    if (ar.IsLoading()) m_recording.Reindex(m_id);
}

void CModelPatternRecorder::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    ExportPatterns(w, m_enabled, m_recording.m_recorded);
}

void CModelPatternRecorder::GetInputValues() {
    m_value = 0.0;
    m_enabled = ReadEnable(*this);
}

void CModelPatternRecorder::Execute() {
    m_value = 0.0;
    const size_t inputs = m_inputs.Size();
    if (m_enabled) {
        ReadDataInputs(*this, m_data);
        const uint32_t bits = PatternBits(m_data);
        m_value = bits;
        if (inputs >= 2) {
            const CPatternRecording::CResult r = m_recording.Record(bits, m_id, Random());
            SetOutput(*this, 10, r.recorded ? 1.0 : 0.0);
            if (r.recorded) SetOutput(*this, 20, r.number);
            SetOutput(*this, 60, m_recording.MostCommonNumber());
        }
    }
    SetOutput(*this, 30, static_cast<double>(m_recording.m_recorded.size()));
    SetOutput(*this, 40, m_recording.m_total);
    SetOutput(*this, 50, PatternsPossible(inputs));
}

void CModelPatternRecorder::ResetValues() {
    CNetworkModel::ResetValues();
    m_recording.Reset();
    for (int32_t id : {10, 20, 30, 50, 60}) SetOutput(*this, id, 0.0);
}

}  // namespace zor2
