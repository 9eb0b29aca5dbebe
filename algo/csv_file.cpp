// The CSV file object: reading through the system's CSV reader, writing and
// appending lines.
#include "algo/csv_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace zor2 {

std::vector<std::string> CCSVFile::SplitLine(std::string_view line) {
    std::vector<std::string> fields;
    std::string error;
    SplitLine(line, fields, error);
    return fields;
}

bool CCSVFile::SplitLine(std::string_view line, std::vector<std::string>& fields, std::string& error) {
    CCsvLineError e;
    if (SplitCsvLine(line, fields, e)) return true;
    error = "column " + std::to_string(e.column) + ": " + e.what;
    return false;
}

std::string CCSVFile::JoinLine(const std::vector<std::string>& fields) {
    return JoinCsvLine(fields);
}

bool CCSVFile::Open(const std::string& path, ECsvMode mode) {
    Close();
    m_error.clear();
    if (mode == ECsvMode::Read) {
        if (!m_reader.Open(path)) {
            m_error = m_reader.Error();
            return false;
        }
    } else {
        // A folder opens on some systems and then takes nothing.
        std::error_code ec;
        if (std::filesystem::is_directory(path, ec)) {
            m_error = "Cannot open " + path + ": it is a folder, not a file";
            return false;
        }
        m_file = std::fopen(path.c_str(), mode == ECsvMode::Write ? "wb" : "r+b");
        if (!m_file) {
            m_error = "Cannot open " + path + ": " + std::strerror(errno);
            return false;
        }
        if (mode == ECsvMode::Append && std::fseek(m_file, 0, SEEK_END) != 0) {
            m_error = "Cannot open " + path + " for appending: " + std::strerror(errno);
            Close();
            return false;
        }
    }
    m_path = path;
    m_mode = mode;
    m_lineCounter = 0;
    m_firstLineFields = 0;
    m_linesRead = 0;
    return true;
}

void CCSVFile::Close() {
    m_reader.Close();
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
}

bool CCSVFile::ReadLine(std::vector<std::string>& fields) {
    if (m_mode != ECsvMode::Read || !m_reader.Next(fields)) {
        fields.clear();
        if (m_reader.Failed()) m_error = m_reader.Error();
        return false;
    }
    ++m_linesRead;
    return true;
}

bool CCSVFile::WriteLine(const std::vector<std::string>& fields) {
    if (!m_file || m_mode == ECsvMode::Read) return false;
    const std::string line = JoinLine(fields) + "\n";
    // The line is flushed at once, and a flush that fails (a full disk) fails the
    // write: a line reported as written is in the file.
    if (std::fwrite(line.data(), 1, line.size(), m_file) != line.size() || std::fflush(m_file) != 0) {
        m_error = "Cannot write " + m_path + ": " + std::strerror(errno);
        return false;
    }
    ++m_lineCounter;
    return true;
}

void CCSVFile::Rewind() {
    if (m_mode == ECsvMode::Read)
        m_reader.Rewind();
    else if (m_file)
        std::rewind(m_file);
    m_linesRead = 0;
}

bool CCSVFile::ReadShape(int32_t& lines, int32_t& fieldsOfFirstLine) {
    lines = 0;
    fieldsOfFirstLine = 0;
    if (m_mode != ECsvMode::Read || !m_reader.IsOpen()) return false;
    Rewind();
    std::string_view line;
    std::vector<std::string> fields;
    while (m_reader.NextLine(line)) {
        if (lines == 0) {
            CCsvLineError e;
            if (!SplitCsvLine(line, fields, e)) {
                m_reader.Refuse(e.column, e.what);
                break;
            }
            fieldsOfFirstLine = static_cast<int32_t>(fields.size());
        }
        if (lines < INT32_MAX) ++lines;
    }
    const bool ok = !m_reader.Failed();
    if (!ok) m_error = m_reader.Error();
    m_firstLineFields = fieldsOfFirstLine;
    Rewind();
    return ok;
}

}  // namespace zor2
