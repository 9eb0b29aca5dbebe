// CSV data components: type table, property sheets, the file played row by row,
// the log file written line by line, reports and records.
#include "components/utility/csv_data.h"

#include <cctype>
#include <cstdio>
#include <filesystem>

#include "algo/bytes.h"
#include "engine/catalogue.h"
#include "engine/network.h"
#include "engine/port_helpers.h"
#include "engine/property_sheet.h"
#include "engine/system.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {

constexpr CPortTemplate kInputInputs[] = {{10, "On Off"}};
constexpr CPortTemplate kInputOutputs[] = {{10, "Enabled", kDataOnOff, 0},
                                           {20, "Data Cols (variables)", kDataInteger, 0},
                                           {30, "Data Rows (vectors)", kDataInteger, 0},
                                           {40, "Current Row", kDataInteger, 0}};
constexpr CPortTemplate kLogInputs[] = {{10, "On Off"}};
constexpr CPortTemplate kLogOutputs[] = {{10, "Log Event", kDataOnOff, 0},
                                         {20, "Data Items", kDataInteger, 0},
                                         {30, "Lines Written", kDataInteger, 0}};

constexpr const char* kBrowseTitle = "Open CSV file for Logging (CSV)";

bool NamesFile(const std::string& path) {
    std::error_code ec;
    return !path.empty() && std::filesystem::exists(path, ec) && !std::filesystem::is_directory(path, ec);
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

void SetOutput(CNetworkModel& c, int32_t id, double v) {
    if (CModelOutput* out = c.FindOutput(id)) out->SetValue(v);
}

/// "Current Row": the row, or "-" without a file.
void ShowCurrentRow(CModelOutput* row, bool open, int32_t current) {
    if (!row) return;
    if (open) {
        row->SetValue(current);
        return;
    }
    row->m_value = 0.0;
    row->m_text.SetText("-");
}

/// What feeds an input: the source output's label or the module input's name, and its value text.
std::string SourceName(const CModelInput& in) {
    if (const CModelOutput* out = in.SourceOutput()) return out->m_name;
    if (const CNetworkInput* mi = in.SourceModuleInput()) return mi->m_name;
    return in.m_name;
}
std::string SourceText(const CModelInput& in) {
    if (const CModelOutput* out = in.SourceOutput()) return out->ValueString();
    if (const CNetworkInput* mi = in.SourceModuleInput()) return mi->ValueString();
    return {};
}

// --- property sheets ----------------------------------------------------------------------

CPropField PathField(const std::string& path, bool forWriting) {
    CPropField f = prop::Field(EPropKind::Path, "path", "CSV file:", path);
    f.options = {kBrowseTitle};
    f.checked = forWriting;
    return f;
}

void ReadImportSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* d = dynamic_cast<const CModelDataImport*>(&c);
    if (!d) return;
    sheet.Add(PathField(d->Path(), false));
    sheet.Add(prop::Button("wizard", "Load Data Wizard..."));
    sheet.Add(prop::Check("loop", "Loop back to the first row at the end of the file", d->Loop()));
    sheet.Add(prop::Check("showName", "Show the file name", d->ShowFileName()));
}

bool ImportAction(CPropertySheet& sheet, std::string_view key, IPropertyHost& host) {
    if (key != "wizard") return false;
    const std::string path = host.ChooseDataFile("Open CSV file for Import (CSV)", true);
    return !path.empty() && sheet.SetText("path", path);
}

std::string ApplyImportSheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* d = dynamic_cast<CModelDataImport*>(&c);
    if (!d) return {};
    if (sheet.Changed("path")) d->ChangeFile(sheet.Find("path")->text);
    d->SetLoop(sheet.Find("loop")->checked);
    d->SetShowFileName(sheet.Find("showName")->checked);
    return {};
}

void ReadLogSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    if (const auto* l = dynamic_cast<const CModelLogBook*>(&c)) sheet.Add(PathField(l->Path(), true));
}

std::string ApplyLogSheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* l = dynamic_cast<CModelLogBook*>(&c);
    if (l && sheet.Changed("path")) l->SetPath(sheet.Find("path")->text);
    return {};
}

constexpr CPropertyProfile kImportSheet{
    "CSV Data Input Properties", ReadImportSheet, nullptr, ApplyImportSheet, false, ImportAction,
    EOpenCheck::DataSource};
constexpr CPropertyProfile kLogSheet{"CSV Data Output Properties", ReadLogSheet, nullptr, ApplyLogSheet};

template <class T>
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<T>();
}

/// A new CSV Data Output logs to "<first four characters of its name>[ModuleID<module id>].csv",
/// created at once.
void NewLog(CNetworkModel& c) {
    auto* l = dynamic_cast<CModelLogBook*>(&c);
    if (!l) return;
    char path[64];
    std::snprintf(path, sizeof path, "%s[ModuleID%d].csv", c.m_name.substr(0, 4).c_str(),
                  c.m_owner ? c.m_owner->m_id : 0);
    l->SetPath(path);
}

constexpr CTypeTraits kCsvInputTraits{
    .notExported = true,
    .runtimeNote = "the runtime plays the rows of its file once through, without looping"};
constexpr CTypeTraits kCsvOutputTraits{
    .notExported = true,
    .runtimeNote = "the runtime starts its file afresh at load and writes the values unformatted"};
constexpr CComponentType kTypes[] = {
    {kTypeCsvOutput, kLogInputs, kLogOutputs, -1, 3, Create<CModelLogBook>, &kLogSheet, kCsvOutputTraits,
     NewLog, SkipCsvOutputBody},
    {kTypeCsvInput, kInputInputs, kInputOutputs, 1, 4, Create<CModelDataImport>, &kImportSheet,
     kCsvInputTraits, nullptr, SkipCsvInputBody},
};

}  // namespace

std::span<const CComponentType> CsvDataComponentTypes() {
    return kTypes;
}

std::string CsvPathRefusal(const CNetworkModel& component, const std::string& path) {
    const size_t units = Utf8ToUtf16(path).size();
    if (units < kCsvPathUnits) return {};
    char line[1400];
    std::snprintf(
        line, sizeof line,
        "The runtime file cannot hold the file path of component [%s] in module [%s]: it has %d characters and the runtime file holds at most %d. Please choose a shorter path.",
        component.m_name.c_str(), component.m_owner ? component.m_owner->m_name.c_str() : "",
        static_cast<int>(units), static_cast<int>(kCsvPathUnits - 1));
    return line;
}

// --- CSV Data Input ---------------------------------------------------------------------

void CModelDataImport::Report(const std::string& line) {
    if (CSystem* s = System()) s->BuildFeedback(line);
}

void CModelDataImport::Serialize(CArchive& ar) {
    SerializeBase(ar);
    ar.Str(m_path);
    ar.Str(m_fileName);
    ar.Bool(m_enabled);
    ar.Bool(m_loop);
    if (ar.IsLoading() && !ar.Failed() && m_enabled) OpenFile(m_path);
}

void CModelDataImport::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    w.FixedName(Utf8ToUtf16(m_path), kCsvPathUnits);
    w.FixedName(Utf8ToUtf16(m_fileName), kCsvPathUnits);
}

std::string CModelDataImport::RuntimeExportRefusal() const {
    return CsvPathRefusal(*this, m_path);
}

bool CModelDataImport::UnsavedSettings(CArchive& ar) {
    ar.Bool(m_showName);
    return true;
}

bool CModelDataImport::OpenFile(const std::string& path) {
    m_player.Close();
    if (!NamesFile(path)) return false;
    m_fileName = CsvFileName(path);
    if (!m_player.Open(path)) return false;
    const std::vector<std::string>& header = m_player.Header();
    for (size_t i = 0; i < header.size(); ++i) {
        const int32_t id = kCsvFirstColumnOutput + static_cast<int32_t>(i);
        CModelOutput* out = FindOutput(id);
        if (!out) out = AddOutput(id);
        if (out) out->m_name = header[i];
    }
    m_maxOutputs = m_player.Columns() + 3;
    m_row.assign(header.size(), 0.0);
    CalcSize();
    return true;
}

void CModelDataImport::ChangeFile(const std::string& path) {
    const bool opens = NamesFile(path);
    if (opens && SameIgnoringCase(path, m_path)) return;
    if (CNetwork* module = m_owner)
        for (CModelOutput* out : m_outputs) module->RemoveOutputConnections(*out);
    for (CModelOutput* out : m_outputs.Snapshot())
        if (!out->m_template) RemoveComponentOutput(*this, out);
    m_player.Close();
    if (opens) {
        m_path = path;
        OpenFile(path);
    } else {
        m_path.clear();
        m_fileName.clear();
    }
    CalcSize();
}

void CModelDataImport::GetInputValues() {
    m_enabled = ReadOnOffInput(*this);
}

void CModelDataImport::Execute() {
    const bool open = m_player.IsOpen();
    SetOutput(*this, 10, m_enabled && m_player.CurrentRow() < m_player.Rows() ? 1.0 : 0.0);
    SetOutput(*this, 20, m_player.Columns());
    SetOutput(*this, 30, m_player.Rows());
    ShowCurrentRow(FindOutput(40), open, m_player.CurrentRow());
    if (!open || !m_enabled) return;
    switch (m_player.Advance(m_loop, m_row)) {
        case CCsvPlayer::EStep::Played:
            for (CModelOutput* out : m_outputs) {
                const int32_t column = out->m_id - kCsvFirstColumnOutput;
                if (column >= 0 && column < static_cast<int32_t>(m_row.size())) out->SetValue(m_row[column]);
            }
            if (const std::string note = m_player.TakeShortLineNote(m_path); !note.empty())
                Report("CSV Data Input [" + m_name + "]: " + note);
            break;
        case CCsvPlayer::EStep::Looped:
            break;
        case CCsvPlayer::EStep::Ended:
            m_enabled = false;
            break;
    }
}

void CModelDataImport::ResetValues() {
    CNetworkModel::ResetValues();
    m_player.ClearNotes();
    // A file that was missing (or disabled when saved) is tried again at every
    // reset, so a run after the file appears plays it.
    if (!m_player.IsOpen() && !m_path.empty() && !OpenFile(m_path)) {
        char line[1400];
        std::snprintf(line, sizeof line,
                      "CSV Data Input [%s]: the data file %s cannot be opened (%s); its outputs stay 0.",
                      m_name.c_str(), m_path.c_str(),
                      m_player.Error().empty() ? "no such file" : m_player.Error().c_str());
        Report(line);
    }
    if (!m_player.IsOpen()) return;
    m_player.Rewind();
    SetOutput(*this, 20, m_player.Columns());
    SetOutput(*this, 30, m_player.Rows());
    SetOutput(*this, 40, 0.0);
    Trace("Reset dataimport file: %s\n", m_path.c_str());
}

// --- CSV Data Output --------------------------------------------------------------------

void CModelLogBook::Report(const std::string& why) {
    if (m_reported) return;
    m_reported = true;
    std::string line = "CSV Data Output [";
    line.append(m_name).append("]: nothing more is logged this run. ").append(why);
    if (CSystem* s = System()) s->BuildFeedback(line);
}

void CModelLogBook::Serialize(CArchive& ar) {
    SerializeBase(ar);
    ar.Str(m_path);
    ar.Bool(m_enabled);
}

void CModelLogBook::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    w.FixedName(Utf8ToUtf16(m_path), kCsvPathUnits);
}

std::string CModelLogBook::RuntimeExportRefusal() const {
    return CsvPathRefusal(*this, m_path);
}

void CModelLogBook::SetPath(const std::string& path) {
    m_path = path;
    ResetValues();
}

void CModelLogBook::ResetValues() {
    CNetworkModel::ResetValues();
    m_reported = false;
    m_dataItems = 0;
    m_lines = 0;
    std::vector<std::string> header = {"Tick Count"};
    for (CModelInput* in : m_inputs) {
        if (in->m_id == 10) continue;
        if (in->HasSource()) in->m_name = SourceName(*in);
        header.push_back(in->m_name);
    }
    m_dataItems = static_cast<int32_t>(header.size()) - 1;
    if (m_path.empty()) return;
    if (const std::string error = CreateCsvLog(m_path, header); !error.empty()) Report(error);
    Trace("Reset logbook file: %s\n", m_path.c_str());
}

void CModelLogBook::GetInputValues() {
    m_enabled = ReadOnOffInput(*this);
    int32_t contributed = 0;
    for (CModelInput* in : m_inputs) {
        if (in->m_id == 10 || !in->HasSource()) continue;
        in->m_value = SourceValue(*in);
        ++contributed;
    }
    if (!m_enabled) {
        if (CModelInput* on = FindInput(10)) on->m_value = 0.0;
        return;
    }
    if (m_path.empty() || m_reported) return;
    // More inputs than the header names: a new file with a new header.
    if (contributed > m_dataItems) ResetValues();
    if (m_reported) return;
    m_fields.clear();
    m_fields.push_back(std::to_string(m_lines + 1));
    for (CModelInput* in : m_inputs)
        if (in->m_id != 10 && in->HasSource()) m_fields.push_back(SourceText(*in));
    if (const std::string error = AppendCsvLog(m_path, m_fields); !error.empty()) {
        Report(error);
        return;
    }
    ++m_lines;
}

void CModelLogBook::Execute() {
    SetOutput(*this, 10, m_enabled ? 1.0 : 0.0);
    SetOutput(*this, 20, m_dataItems);
    SetOutput(*this, 30, m_lines);
}

}  // namespace zor2
