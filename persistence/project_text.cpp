// The project's text form: a field stream that writes JSON, and one that reads
// it back with the line and record key of every fault.
#include "persistence/project_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/system.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {

constexpr const char* kFormat = "zor2 project text";
constexpr int kVersion = 1;

void AppendString(std::string& out, std::string_view text) {
    out += '"';
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (c < 0x20) {
                    char esc[8];
                    std::snprintf(esc, sizeof esc, "\\u%04x", c);
                    out += esc;
                } else {
                    out += ch;
                }
        }
    }
    out += '"';
}

/// Writes each record as one line: {"<record>": [v, v, ...]}.
class CTextWriter final : public IFieldStream {
  public:
    CTextWriter() {
        m_out = "{\"format\": \"";
        m_out += kFormat;
        m_out += "\", \"version\": " + std::to_string(kVersion) + ", \"records\": [\n";
    }
    std::string Finish() {
        CloseRecord();
        m_out += "\n]}\n";
        return std::move(m_out);
    }

    bool Mark(const char* record) override {
        CloseRecord();
        if (m_records++ > 0) m_out += ",\n";
        m_out += '{';
        AppendString(m_out, record);
        m_out += ": [";
        m_open = true;
        m_first = true;
        return true;
    }
    bool I32(int32_t& v) override { return Number(std::to_string(v)); }
    bool Byte(uint8_t& v) override { return Number(std::to_string(v)); }
    bool F64(double& v) override {
        if (std::isnan(v)) {
            uint64_t bits = 0;
            std::memcpy(&bits, &v, sizeof bits);
            char text[32];
            std::snprintf(text, sizeof text, "nan:%016llx", static_cast<unsigned long long>(bits));
            return Text(text);
        }
        if (std::isinf(v)) return Text(v > 0 ? "inf" : "-inf");
        char text[32];
        const auto r = std::to_chars(text, text + sizeof text, v);
        return Number(std::string(text, r.ptr));
    }
    bool Str(std::string& v) override { return Text(v); }
    size_t Position() const override { return m_values; }
    size_t Remaining() const override { return 0; }
    const std::string& Error() const override { return m_error; }

  private:
    void Separate() {
        if (!m_open) Mark("");  // a value before any record: kept, under an empty key
        if (!m_first) m_out += ", ";
        m_first = false;
        ++m_values;
    }
    bool Number(const std::string& text) {
        Separate();
        m_out += text;
        return true;
    }
    bool Text(std::string_view text) {
        Separate();
        AppendString(m_out, text);
        return true;
    }
    void CloseRecord() {
        if (m_open) m_out += "]}";
        m_open = false;
    }

    std::string m_out;
    std::string m_error;
    size_t m_values = 0;
    size_t m_records = 0;
    bool m_open = false;
    bool m_first = true;
};

// --- reading ------------------------------------------------------------------

struct CTextValue {
    bool isString = false;
    std::string text;  // the number as written, or the decoded string
    size_t line = 0;
};

struct CTextRecord {
    std::string key;
    size_t line = 0;
    size_t firstValue = 0;  // index of its first value among all values
    std::vector<CTextValue> values;
};

/// Thrown inside the parser only; caught in ProjectFromText.
struct CTextFault {
    std::string message;
};

/// Parses the fixed shape of the text form, counting lines.
class CTextParser {
  public:
    explicit CTextParser(std::string_view text) : m_text(text) {}

    std::vector<CTextRecord> Parse() {
        Expect('{', "the text does not start with '{'");
        bool format = false, version = false, records = false;
        std::vector<CTextRecord> out;
        for (bool first = true;; first = false) {
            Skip();
            if (Peek() == '}' && first) Fault("the object is empty");
            if (!first) {
                if (Peek() == '}') break;
                Expect(',', "expected ',' or '}'");
                Skip();
            }
            const std::string key = String("a key");
            Expect(':', "expected ':' after the key \"" + key + "\"");
            Skip();
            m_key = key;
            if (key == "format") {
                if (String("the format") != kFormat) Fault("this is not a project text form");
                format = true;
            } else if (key == "version") {
                if (NumberToken() != std::to_string(kVersion)) Fault("only version 1 is read");
                version = true;
            } else if (key == "records") {
                out = Records();
                records = true;
            } else {
                Fault("unknown key");
            }
            m_key.clear();
        }
        ++m_at;
        Skip();
        if (m_at < m_text.size()) Fault("text follows the end of the object");
        m_key.clear();
        if (!format) Fault("the key \"format\" is missing");
        if (!version) Fault("the key \"version\" is missing");
        if (!records) Fault("the key \"records\" is missing");
        return out;
    }

    size_t Line() const { return m_line; }

  private:
    [[noreturn]] void Fault(const std::string& why) {
        std::string where = "line " + std::to_string(m_line);
        if (!m_key.empty()) where += ", key \"" + m_key + "\"";
        throw CTextFault{where + ": " + why};
    }
    char Peek() const { return m_at < m_text.size() ? m_text[m_at] : '\0'; }
    void Skip() {
        while (m_at < m_text.size()) {
            const char c = m_text[m_at];
            if (c == '\n') {
                ++m_line;
            } else if (c != ' ' && c != '\t' && c != '\r') {
                return;
            }
            ++m_at;
        }
    }
    void Expect(char c, const std::string& why) {
        Skip();
        if (Peek() != c) Fault(why);
        ++m_at;
    }

    std::vector<CTextRecord> Records() {
        Expect('[', "expected '[' to open the records");
        std::vector<CTextRecord> out;
        size_t values = 0;
        Skip();
        if (Peek() == ']') {
            ++m_at;
            return out;
        }
        for (;;) {
            Expect('{', "expected '{' to open a record");
            Skip();
            CTextRecord& r = out.emplace_back();
            r.line = m_line;
            r.key = String("a record key");
            m_key = r.key;
            r.firstValue = values;
            Expect(':', "expected ':' after the record key");
            Expect('[', "expected '[' to open the record's values");
            Skip();
            if (Peek() != ']') {
                for (;;) {
                    Skip();
                    CTextValue& v = r.values.emplace_back();
                    v.line = m_line;
                    if (Peek() == '"') {
                        v.isString = true;
                        v.text = String("a value");
                    } else {
                        v.text = NumberToken();
                    }
                    Skip();
                    if (Peek() == ']') break;
                    Expect(',', "expected ',' or ']' after value " + std::to_string(r.values.size()));
                }
            }
            ++m_at;
            values += r.values.size();
            Expect('}', "a record holds one key");
            m_key = "records";
            Skip();
            if (Peek() == ']') {
                ++m_at;
                return out;
            }
            Expect(',', "expected ',' or ']' between records");
        }
    }

    /// A JSON number, checked against the JSON grammar, as written.
    std::string NumberToken() {
        const size_t start = m_at;
        auto digits = [this] {
            const size_t from = m_at;
            while (m_at < m_text.size() && m_text[m_at] >= '0' && m_text[m_at] <= '9') ++m_at;
            return m_at > from;
        };
        if (Peek() == '-') ++m_at;
        if (Peek() == '0') {
            ++m_at;
        } else if (!digits()) {
            Fault("expected a number or a string");
        }
        if (Peek() == '.') {
            ++m_at;
            if (!digits()) Fault("a number has no digits after its point");
        }
        if (Peek() == 'e' || Peek() == 'E') {
            ++m_at;
            if (Peek() == '+' || Peek() == '-') ++m_at;
            if (!digits()) Fault("a number has no digits in its exponent");
        }
        return std::string(m_text.substr(start, m_at - start));
    }

    static void AppendUtf8(std::string& out, uint32_t cp) {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }

    uint32_t Hex4() {
        if (m_at + 4 > m_text.size()) Fault("a \\u escape needs four hex digits");
        uint32_t v = 0;
        const auto r = std::from_chars(m_text.data() + m_at, m_text.data() + m_at + 4, v, 16);
        if (r.ptr != m_text.data() + m_at + 4) Fault("a \\u escape needs four hex digits");
        m_at += 4;
        return v;
    }

    std::string String(const char* what) {
        Skip();
        if (Peek() != '"') Fault(std::string("expected ") + what + " in double quotes");
        ++m_at;
        std::string out;
        for (;;) {
            if (m_at >= m_text.size()) Fault("a string is not closed");
            const char c = m_text[m_at++];
            if (c == '"') return out;
            if (static_cast<unsigned char>(c) < 0x20) Fault("a string holds a raw control character");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_at >= m_text.size()) Fault("a string is not closed");
            const char e = m_text[m_at++];
            switch (e) {
                case '"':
                case '\\':
                case '/':
                    out += e;
                    break;
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u': {
                    uint32_t cp = Hex4();
                    // A high surrogate followed by a low one is one character; a lone one
                    // stays as it is, as the project's own text conversion keeps it.
                    if (cp >= 0xD800 && cp < 0xDC00 && m_text.substr(m_at, 2) == "\\u") {
                        const size_t back = m_at;
                        m_at += 2;
                        const uint32_t low = Hex4();
                        if (low >= 0xDC00 && low < 0xE000)
                            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                        else
                            m_at = back;
                    }
                    AppendUtf8(out, cp);
                    break;
                }
                default:
                    Fault(std::string("unknown escape \\") + e);
            }
        }
    }

    std::string_view m_text;
    size_t m_at = 0;
    size_t m_line = 1;
    std::string m_key;
};

/// Hands the parsed values to the field lists, checking each record's key and length.
class CTextReader final : public IFieldStream {
  public:
    CTextReader(const std::vector<CTextRecord>& records, size_t lastLine)
        : m_records(records), m_lastLine(lastLine) {
        for (const CTextRecord& r : records) m_total += r.values.size();
    }

    bool Mark(const char* record) override {
        if (!Finished()) return false;
        if (m_next >= m_records.size())
            return Fault(m_lastLine, "", "the records end before a \"" + std::string(record) + "\" record");
        const CTextRecord& r = m_records[m_next];
        if (r.key != record)
            return Fault(r.line, r.key, "a \"" + std::string(record) + "\" record belongs here");
        m_current = &r;
        ++m_next;
        m_index = 0;
        return true;
    }
    bool I32(int32_t& v) override {
        const CTextValue* t = Take("a whole number");
        int64_t n = 0;
        if (!t || !Whole(*t, n, INT32_MIN, INT32_MAX))
            return t ? Wrong(*t, "a whole number of 32 bits") : false;
        v = static_cast<int32_t>(n);
        return true;
    }
    bool Byte(uint8_t& v) override {
        const CTextValue* t = Take("a whole number from 0 to 255");
        int64_t n = 0;
        if (!t || !Whole(*t, n, 0, 255)) return t ? Wrong(*t, "a whole number from 0 to 255") : false;
        v = static_cast<uint8_t>(n);
        return true;
    }
    bool F64(double& v) override {
        const CTextValue* t = Take("a number");
        if (!t) return false;
        if (!t->isString) {
            const char* end = t->text.data() + t->text.size();
            double d = 0.0;
            const auto r = std::from_chars(t->text.data(), end, d);
            if (r.ec != std::errc() || r.ptr != end) return Wrong(*t, "a number a double can hold");
            v = d;
            return true;
        }
        if (t->text == "inf" || t->text == "-inf") {
            v = t->text[0] == '-' ? -HUGE_VAL : HUGE_VAL;
            return true;
        }
        uint64_t bits = 0;
        const char* end = t->text.data() + t->text.size();
        if (t->text.size() == 20 && t->text.compare(0, 4, "nan:") == 0 &&
            std::from_chars(t->text.data() + 4, end, bits, 16).ptr == end) {
            double d = 0.0;
            std::memcpy(&d, &bits, sizeof d);
            if (std::isnan(d)) {
                v = d;
                return true;
            }
        }
        return Wrong(*t, "a number, \"inf\", \"-inf\" or \"nan:<16 hex digits>\"");
    }
    bool Str(std::string& v) override {
        const CTextValue* t = Take("a string");
        if (!t) return false;
        if (!t->isString) return Wrong(*t, "a string");
        v = t->text;
        return true;
    }
    size_t Position() const override { return m_consumed; }
    size_t Remaining() const override { return m_total - m_consumed; }
    const std::string& Error() const override { return m_error; }

    /// True when the current record was read to its end (else the error says so).
    bool Finished() {
        if (!m_current || m_index >= m_current->values.size()) return true;
        return Fault(
            m_current->values[m_index].line, m_current->key,
            std::to_string(m_current->values.size() - m_index) + " value(s) more than the record holds");
    }
    /// True when nothing follows the last record read.
    bool AtEnd() {
        if (!Finished()) return false;
        if (m_next >= m_records.size()) return true;
        return Fault(m_records[m_next].line, m_records[m_next].key, "a record after the end of the project");
    }
    /// The line and key of the value at `index` among all values.
    std::string Where(size_t index) const {
        auto it = std::upper_bound(m_records.begin(), m_records.end(), index,
                                   [](size_t i, const CTextRecord& r) { return i < r.firstValue; });
        if (it == m_records.begin()) return "line " + std::to_string(m_lastLine);
        --it;
        const size_t at = index - it->firstValue;
        const size_t line = at < it->values.size() ? it->values[at].line : it->line;
        return "line " + std::to_string(line) + ", key \"" + it->key + "\"";
    }

  private:
    bool Fault(size_t line, const std::string& key, const std::string& why) {
        m_error = "line " + std::to_string(line) + (key.empty() ? "" : ", key \"" + key + "\"") + ": " + why;
        return false;
    }
    const CTextValue* Take(const char* what) {
        if (!m_current) {
            Fault(m_lastLine, "", std::string("expected ") + what + " before any record");
            return nullptr;
        }
        if (m_index >= m_current->values.size()) {
            Fault(m_current->line, m_current->key,
                  "the record ends after " + std::to_string(m_current->values.size()) + " value(s); " + what +
                      " is missing");
            return nullptr;
        }
        ++m_consumed;
        return &m_current->values[m_index++];
    }
    bool Wrong(const CTextValue& t, const char* expected) {
        return Fault(t.line, m_current->key,
                     "value " + std::to_string(m_index) + " (" +
                         (t.isString ? "\"" + t.text + "\"" : t.text) + ") is not " + expected);
    }
    static bool Whole(const CTextValue& t, int64_t& n, int64_t min, int64_t max) {
        if (t.isString) return false;
        const char* end = t.text.data() + t.text.size();
        const auto r = std::from_chars(t.text.data(), end, n);
        return r.ec == std::errc() && r.ptr == end && n >= min && n <= max;
    }

    const std::vector<CTextRecord>& m_records;
    size_t m_lastLine;
    size_t m_total = 0;
    size_t m_consumed = 0;
    size_t m_next = 0;
    size_t m_index = 0;
    const CTextRecord* m_current = nullptr;
    std::string m_error;
};

}  // namespace

std::string ProjectToText(CSystem& system) {
    CTextWriter writer;
    SaveProjectFields(system, writer);
    return writer.Finish();
}

CFileResult ProjectFromText(CSystem& system, std::string_view text) {
    std::vector<CTextRecord> records;
    CTextParser parser(text);
    try {
        records = parser.Parse();
    } catch (const CTextFault& f) {
        return CFileResult::Failure(f.message);
    }
    CTextReader reader(records, parser.Line());
    CSystem loaded;
    loaded.SetRandom(&system.Random());
    const CFileResult r = LoadProjectFields(loaded, reader);
    if (!r) {
        // The stream's own faults name their line; the field lists' name a value.
        if (!reader.Error().empty()) return CFileResult::Failure(reader.Error());
        return CFileResult::Failure(reader.Where(r.offset) + ": " + r.message);
    }
    if (!reader.AtEnd()) return CFileResult::Failure(reader.Error());
    system.SwapContents(loaded);
    return {};
}

}  // namespace zor2
