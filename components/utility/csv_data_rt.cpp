// Runtime CSV data components: the file played row by row and the log file.
#include "components/utility/csv_data_rt.h"

#include <charconv>

#include "algo/platform.h"
#include "runtime/rt_inputs.h"

namespace zor2 {

namespace {
std::string ReadPath(CByteReader& in) {
    std::u16string text;
    in.FixedName(text, kCsvPathUnits);
    return Utf16ToUtf8(text);
}
}  // namespace

// --- CSV Data Input -----------------------------------------------------------------------

size_t CRModelDataImport::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    if (ReadBase(in)) {
        m_path = ReadPath(in);
        ReadPath(in);  // the file name: the path says it all
    }
    m_on = FindInput(10);
    for (int32_t i = 0; i < 4; ++i) m_out[i] = RuntimeOutput(*this, 10 * (i + 1));
    if (!in.Failed() && !m_path.empty()) {
        if (m_player.Open(m_path)) {
            for (int32_t i = 0; i < m_player.Columns(); ++i)
                m_columns.push_back(RuntimeOutput(*this, kCsvFirstColumnOutput + i));
            m_row.assign(m_columns.size(), 0.0);
        } else {
            Trace("CSV Data Input %d: the data file %s cannot be opened (%s); its outputs stay 0.\n", m_id,
                  m_path.c_str(), m_player.Error().c_str());
        }
    }
    return offset + (in.Position() - start);
}

int32_t CRModelDataImport::GetInputValues() {
    m_enabled = RuntimeOnOff(m_on);
    return 0;
}

int32_t CRModelDataImport::Execute() {
    SetRuntimeOutput(m_out[0], m_enabled && m_player.CurrentRow() < m_player.Rows() ? 1.0 : 0.0);
    SetRuntimeOutput(m_out[1], m_player.Columns());
    SetRuntimeOutput(m_out[2], m_player.Rows());
    SetRuntimeOutput(m_out[3], m_player.CurrentRow());
    if (!m_player.IsOpen() || !m_enabled) return 0;
    switch (m_player.Advance(false, m_row)) {
        case CCsvPlayer::EStep::Played:
            for (size_t i = 0; i < m_columns.size(); ++i) SetRuntimeOutput(m_columns[i], m_row[i]);
            if (const std::string note = m_player.TakeShortLineNote(m_path); !note.empty())
                Trace("CSV Data Input %d: %s\n", m_id, note.c_str());
            break;
        case CCsvPlayer::EStep::Looped:
            break;
        case CCsvPlayer::EStep::Ended:
            m_enabled = false;
            break;
    }
    return 0;
}

// --- CSV Data Output ----------------------------------------------------------------------

void CRModelLogBook::Report(const std::string& why) {
    m_failed = true;
    Trace("CSV Data Output %d: nothing more is logged. %s\n", m_id, why.c_str());
}

size_t CRModelLogBook::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    if (ReadBase(in)) m_path = ReadPath(in);
    m_on = FindInput(10);
    for (CRModelInput& input : m_inputs)
        if (input.m_id != 10) m_data.push_back(&input);
    for (int32_t i = 0; i < 3; ++i) m_out[i] = RuntimeOutput(*this, 10 * (i + 1));
    m_fields.reserve(m_data.size() + 1);
    if (in.Failed() || m_path.empty()) return offset + (in.Position() - start);
    // The designer's reset wrote the header with the names of the sources; the
    // record does not carry them, so a header of the right width is kept.
    std::vector<std::string> header = ReadCsvLogHeader(m_path);
    if (header.size() != m_data.size() + 1) {
        header = {"Tick Count"};
        for (size_t i = 1; i <= m_data.size(); ++i) header.push_back("Input " + std::to_string(i));
    }
    if (const std::string error = CreateCsvLog(m_path, header); !error.empty()) Report(error);
    return offset + (in.Position() - start);
}

int32_t CRModelLogBook::GetInputValues() {
    m_enabled = RuntimeOnOff(m_on);
    if (!m_enabled || m_failed || m_path.empty()) return 0;
    m_fields.clear();
    m_fields.push_back(std::to_string(m_lines + 1));
    for (CRModelInput* input : m_data) {
        if (!input->HasSource()) continue;
        input->Pull();
        char text[32];
        const auto [end, ec] = std::to_chars(text, text + sizeof text, input->m_value);
        m_fields.emplace_back(text, ec == std::errc() ? end : text);
    }
    if (const std::string error = AppendCsvLog(m_path, m_fields); !error.empty()) {
        Report(error);
        return 0;
    }
    ++m_lines;
    return 0;
}

int32_t CRModelLogBook::Execute() {
    SetRuntimeOutput(m_out[0], m_enabled ? 1.0 : 0.0);
    SetRuntimeOutput(m_out[1], static_cast<double>(m_data.size()));
    SetRuntimeOutput(m_out[2], m_lines);
    return 0;
}

namespace {
template <class T>
std::unique_ptr<CRNetworkModel> Create(int32_t typeId) {
    return std::make_unique<T>(typeId);
}
constexpr CRuntimeType kTypes[] = {{kTypeCsvOutput, Create<CRModelLogBook>},
                                   {kTypeCsvInput, Create<CRModelDataImport>}};
}  // namespace

std::span<const CRuntimeType> CsvDataRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
