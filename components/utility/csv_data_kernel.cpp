// Playing a CSV file row by row and appending log lines, in the one CSV dialect.
#include "components/utility/csv_data_kernel.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace zor2 {

bool SkipCsvInputBody(CByteReader& in) {
    std::u16string text;
    return in.FixedName(text, kCsvPathUnits) && in.FixedName(text, kCsvPathUnits);
}

bool SkipCsvOutputBody(CByteReader& in) {
    std::u16string text;
    return in.FixedName(text, kCsvPathUnits);
}

double CsvFieldNumber(std::string_view field) {
    size_t pos = 0;
    while (pos < field.size() && (field[pos] == ' ' || field[pos] == '\t')) ++pos;
    if (pos < field.size() && field[pos] == '+') ++pos;
    double v = 0.0;
    const auto [end, ec] = std::from_chars(field.data() + pos, field.data() + field.size(), v);
    (void)end;
    if (ec != std::errc() || !std::isfinite(v)) return 0.0;
    return v;
}

std::string CsvFileName(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// --- CSV Data Input -------------------------------------------------------------------

bool CCsvPlayer::Open(const std::string& path) {
    Close();
    m_error.clear();
    if (!m_file.Open(path, ECsvMode::Read)) {
        m_error = m_file.Error();
        return false;
    }
    int32_t lines = 0;
    int32_t fields = 0;
    m_file.ReadShape(lines, fields);
    m_file.ReadLine(m_header);
    m_rows = lines;
    Rewind();
    return true;
}

std::string CCsvPlayer::TakeShortLineNote(const std::string& path) {
    if (m_shortLine == 0 || m_noted) return {};
    m_noted = true;
    char note[1200];
    std::snprintf(note, sizeof note,
                  "line %d of %s has %d fields where the header has %d; the missing columns read 0.",
                  m_shortLine, path.c_str(), m_shortLineFields, Columns());
    return note;
}

void CCsvPlayer::Close() {
    m_file.Close();
    m_header.clear();
    m_rows = 0;
    m_current = 0;
    m_shortLine = 0;
    m_noted = false;
}

void CCsvPlayer::Rewind() {
    if (!m_file.IsOpen()) return;
    m_file.Rewind();
    m_file.ReadLine(m_fields);  // the header
    m_current = 1;
    m_shortLine = 0;
    m_shortLineFields = 0;
}

CCsvPlayer::EStep CCsvPlayer::Advance(bool loop, std::vector<double>& values) {
    // A file that shrank since it was opened ends where it ends now.
    if (m_current < m_rows && m_file.ReadLine(m_fields)) {
        const size_t columns = m_header.size();
        if (values.size() != columns) values.assign(columns, 0.0);
        for (size_t i = 0; i < columns; ++i)
            values[i] = i < m_fields.size() ? CsvFieldNumber(m_fields[i]) : 0.0;
        if (m_fields.size() < columns && m_shortLine == 0) {
            m_shortLine = m_current + 1;
            m_shortLineFields = static_cast<int32_t>(m_fields.size());
        }
        ++m_current;
        return EStep::Played;
    }
    if (loop) {
        Rewind();
        return EStep::Looped;
    }
    return EStep::Ended;
}

// --- CSV Data Output ------------------------------------------------------------------

std::string CreateCsvLog(const std::string& path, const std::vector<std::string>& header) {
    CCSVFile file;
    if (!file.Open(path, ECsvMode::Write) || !file.WriteLine(header)) return file.Error();
    return {};
}

std::string AppendCsvLog(const std::string& path, const std::vector<std::string>& fields) {
    CCSVFile file;
    if (!file.Open(path, ECsvMode::Append) || !file.WriteLine(fields)) return file.Error();
    return {};
}

std::vector<std::string> ReadCsvLogHeader(const std::string& path) {
    std::vector<std::string> header;
    CCSVFile file;
    if (file.Open(path, ECsvMode::Read)) file.ReadLine(header);
    return header;
}

}  // namespace zor2
