// The CSV dialect: line splitting and joining, and the file object that reads,
// writes and appends lines.
#include "algo/csv_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace zor2 {

std::vector<std::string> CCSVFile::SplitLine(std::string_view line) {
    std::vector<std::string> fields;
    const size_t n = line.size();
    size_t pos = 0;
    while (pos < n) {
        if (line[pos] == '"') {
            ++pos;
            std::string field;
            bool closed = false;
            while (pos < n) {
                const char c = line[pos];
                if (c == '"') {
                    if (pos + 1 < n && line[pos + 1] == '"') {
                        field += '"';
                        pos += 2;
                        continue;
                    }
                    ++pos;
                    closed = true;
                    break;
                }
                field += c;
                ++pos;
            }
            fields.push_back(std::move(field));
            // After the closing quote one more character is skipped, whatever it
            // is; a quote that ends the line ends the field and the line.
            if (closed && pos < n) ++pos;
        } else {
            const size_t comma = line.find(',', pos);
            if (comma == std::string_view::npos) {
                fields.emplace_back(line.substr(pos));
                pos = n;
            } else {
                fields.emplace_back(line.substr(pos, comma - pos));
                pos = comma + 1;
            }
        }
    }
    return fields;
}

std::string CCSVFile::JoinLine(const std::vector<std::string>& fields) {
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) out += ',';
        const std::string& f = fields[i];
        if (f.find_first_of(",\"") == std::string::npos) {
            out += f;
            continue;
        }
        out += '"';
        for (char c : f) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
    }
    return out;
}

bool CCSVFile::Open(const std::string& path, ECsvMode mode) {
    Close();
    m_error.clear();
    // A folder opens for reading on some systems and then reads as nothing.
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        m_error = "Cannot open " + path + ": it is a folder, not a file";
        return false;
    }
    const char* how = mode == ECsvMode::Read ? "rb" : mode == ECsvMode::Write ? "wb" : "r+b";
    m_file = std::fopen(path.c_str(), how);
    if (!m_file) {
        m_error = "Cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    if (mode == ECsvMode::Append && std::fseek(m_file, 0, SEEK_END) != 0) {
        m_error = "Cannot open " + path + " for appending: " + std::strerror(errno);
        Close();
        return false;
    }
    m_path = path;
    m_mode = mode;
    m_lineCounter = 0;
    m_firstLineFields = 0;
    m_linesRead = 0;
    return true;
}

void CCSVFile::Close() {
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
}

bool CCSVFile::ReadRawLine(std::string& line) {
    line.clear();
    if (!m_file || m_mode != ECsvMode::Read) return false;
    char chunk[4096];
    bool any = false;
    while (std::fgets(chunk, sizeof chunk, m_file)) {
        any = true;
        const size_t len = std::strlen(chunk);
        if (len > 0 && chunk[len - 1] == '\n') {
            line.append(chunk, len - 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return true;
        }
        line.append(chunk, len);
    }
    // A last line without a line end still counts as a line.
    if (any && !line.empty() && line.back() == '\r') line.pop_back();
    return any;
}

bool CCSVFile::ReadLine(std::vector<std::string>& fields) {
    std::string line;
    if (!ReadRawLine(line)) {
        fields.clear();
        return false;
    }
    fields = SplitLine(line);
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
    if (!m_file) return;
    std::rewind(m_file);
    m_linesRead = 0;
}

bool CCSVFile::ReadShape(int32_t& lines, int32_t& fieldsOfFirstLine) {
    lines = 0;
    fieldsOfFirstLine = 0;
    if (!m_file || m_mode != ECsvMode::Read) return false;
    Rewind();
    std::string line;
    while (ReadRawLine(line)) {
        if (lines == 0) fieldsOfFirstLine = static_cast<int32_t>(SplitLine(line).size());
        if (lines < INT32_MAX) ++lines;
    }
    m_firstLineFields = fieldsOfFirstLine;
    Rewind();
    return true;
}

}  // namespace zor2
