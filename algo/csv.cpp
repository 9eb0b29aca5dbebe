// The CSV rule: splitting and joining lines, number and id fields, the line
// reader, and the inputs table of the run tools.
#include "algo/csv.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "algo/platform.h"

namespace zor2 {

namespace {

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

bool SplitCsvLine(std::string_view line, std::vector<std::string>& fields, CCsvLineError& error) {
    std::string scratch;
    size_t count = 0;
    const bool ok = SplitCsvLine(line, scratch, error, [&](std::string_view text, size_t) {
        if (count < fields.size())
            fields[count].assign(text);
        else
            fields.emplace_back(text);
        ++count;
    });
    fields.resize(ok ? count : 0);
    return ok;
}

std::string JoinCsvLine(const std::vector<std::string>& fields) {
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

bool ParseCsvNumber(std::string_view field, double& value) {
    std::string_view t = TrimBlanks(field);
    if (!t.empty() && t.front() == '+') {
        t.remove_prefix(1);
        if (!t.empty() && t.front() == '-') return false;
    }
    // from_chars takes the decimal forms and also "inf" and "nan", which are refused.
    if (t.empty() || !(std::isdigit(static_cast<unsigned char>(t.back())) || t.back() == '.')) return false;
    double v = 0.0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v, std::chars_format::general);
    if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool ParseCsvId(std::string_view field, int32_t& id) {
    const std::string_view t = TrimBlanks(field);
    if (t.empty() || t.size() > 10) return false;
    int64_t v = 0;
    for (char c : t) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < 1 || v > std::numeric_limits<int32_t>::max()) return false;
    id = static_cast<int32_t>(v);
    return true;
}

// --- reader -------------------------------------------------------------------

bool CCsvReader::Open(const std::string& path) {
    Close();
    m_path = path;
    m_error.clear();
    m_failed = false;
    m_lines = 0;
    int error = 0;
    m_file = OpenInputFile(path, error);
    if (!m_file) {
        m_error = "Cannot open " + path + ": " + InputFileErrorText(error);
        return false;
    }
    return true;
}

void CCsvReader::Close() {
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
}

void CCsvReader::Rewind() {
    if (!m_file) return;
    std::rewind(m_file);
    m_lines = 0;
    m_failed = false;
    m_error.clear();
}

bool CCsvReader::Fail(std::string text) {
    if (!m_failed) {
        m_failed = true;
        m_error = std::move(text);
    }
    return false;
}

void CCsvReader::Refuse(size_t column, std::string_view what) {
    Fail(m_path + " line " + std::to_string(m_lines) + ", column " + std::to_string(column) + ": " +
         std::string(what));
}

bool CCsvReader::NextLine(std::string_view& line) {
    if (!m_file || m_failed) return false;
    // The line is measured first and then read into a buffer of its size, so
    // that reading it takes its length once, not a growing multiple of it.
    const long start = std::ftell(m_file);
    char chunk[65536];
    size_t length = 0;
    bool any = false, ended = false;
    while (!ended) {
        const size_t got = std::fread(chunk, 1, sizeof chunk, m_file);
        if (got == 0) break;
        any = true;
        const void* lf = std::memchr(chunk, '\n', got);
        const size_t take = lf ? static_cast<size_t>(static_cast<const char*>(lf) - chunk) : got;
        length += take;
        ended = lf != nullptr;
        if (length > kCsvMaxLineBytes)
            return Fail(m_path + " line " + std::to_string(m_lines + 1) + ": longer than " +
                        std::to_string(kCsvMaxLineBytes >> 20) + " MiB");
    }
    if (std::ferror(m_file) || start < 0) return Fail("Cannot read " + m_path + ": " + std::strerror(errno));
    if (!any) return false;
    if (length > m_line.capacity()) {
        m_line = std::string();
        m_line.reserve(length);
    }
    m_line.resize(length);
    if (std::fseek(m_file, start, SEEK_SET) != 0 ||
        (length > 0 && std::fread(m_line.data(), 1, length, m_file) != length) ||
        (ended && std::fgetc(m_file) != '\n'))
        return Fail("Cannot read " + m_path + ": the file changed while it was read");
    std::string_view text(m_line);
    if (m_lines == 0 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    ++m_lines;
    line = text;
    return true;
}

bool CCsvReader::Next(std::vector<std::string>& fields) {
    std::string_view line;
    if (!NextLine(line)) {
        fields.clear();
        return false;
    }
    CCsvLineError e;
    if (SplitCsvLine(line, fields, e)) return true;
    Refuse(e.column, e.what);
    return false;
}

// --- inputs table ---------------------------------------------------------------

bool CInputTable::Read(const std::string& path, std::string& error) {
    m_ids.clear();
    m_values.clear();
    m_rowEnds.clear();
    CCsvReader reader;
    if (!reader.Open(path)) {
        error = reader.Error();
        return false;
    }
    std::string why;
    size_t whyColumn = 0;
    auto header = [&](std::string_view text, size_t column) {
        int32_t id = 0;
        if (!why.empty()) return;
        if (ParseCsvId(text, id)) {
            m_ids.push_back(id);
        } else {
            why = "\"" + std::string(text) + "\" is not a system input id";
            whyColumn = column;
        }
    };
    if (!reader.Next(header)) {
        error =
            reader.Failed() ? reader.Error() : path + ": the header line naming system input ids is missing";
        return false;
    }
    if (m_ids.empty() && why.empty()) {
        why = "the header line names no system input id";
        whyColumn = 1;
    }
    size_t field = 0;
    auto row = [&](std::string_view text, size_t column) {
        if (!why.empty()) return;
        if (field++ >= m_ids.size()) {
            why = "more fields than the header names";
            whyColumn = column;
            return;
        }
        double v = 0.0;
        if (TrimBlanks(text).empty()) {
            m_values.push_back(std::numeric_limits<double>::quiet_NaN());
        } else if (ParseCsvNumber(text, v)) {
            m_values.push_back(v);
        } else {
            why = "\"" + std::string(text) + "\" is not a finite decimal number";
            whyColumn = column;
        }
    };
    while (why.empty()) {
        field = 0;
        if (!reader.Next(row)) break;
        if (why.empty()) m_rowEnds.push_back(m_values.size());
    }
    if (!why.empty()) reader.Refuse(whyColumn, why);
    if (reader.Failed()) {
        error = reader.Error();
        return false;
    }
    return true;
}

}  // namespace zor2
