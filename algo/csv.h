// The one CSV rule of the system, shared by the designer and the run tools:
// comma-separated fields with double-quote quoting, read line by line from a
// regular file, every malformed line refused with its line and column.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace zor2 {

/// The longest line a CSV reader takes; a longer one is refused.
inline constexpr size_t kCsvMaxLineBytes = size_t{16} << 20;

/// Where a line was refused: the column (1-based byte position in the line)
/// and what is wrong there.
struct CCsvLineError {
    size_t column = 0;
    const char* what = "";
};

/// Splits one line (without its line end) into fields, calling
/// `field(text, column)` for each in order (column: 1-based byte position of
/// the field's start); false with `error` set when the line is malformed.
/// - Fields are separated by ","; spaces belong to the field.
/// - A field that starts with a double quote runs to its closing quote, with
///   a doubled quote standing for one; the closing quote must be followed by
///   a comma or the end of the line, and a quote that never closes is refused.
/// - An empty line has no fields; a comma at the end gives an empty last field.
/// - A NUL byte is refused anywhere.
template <class Field>
bool SplitCsvLine(std::string_view line, std::string& scratch, CCsvLineError& error, Field&& field);

/// SplitCsvLine into a vector of strings (reusing the strings it holds).
bool SplitCsvLine(std::string_view line, std::vector<std::string>& fields, CCsvLineError& error);

/// Joins fields into one line, without the line end: a field holding a comma
/// or a double quote is quoted with its quotes doubled.
std::string JoinCsvLine(const std::vector<std::string>& fields);

/// A number field: optional blanks around a decimal number with an optional
/// sign, point and exponent. Hexadecimal, "nan", "inf" and numbers beyond the
/// range of a double are refused.
bool ParseCsvNumber(std::string_view field, double& value);
/// An id field: optional blanks around decimal digits for 1 to 2147483647.
bool ParseCsvId(std::string_view field, int32_t& id);

/// Reads a CSV file line by line. Only a regular file is opened; a UTF-8
/// byte-order mark at its start is skipped; a line ends at LF, and a CR
/// before the LF is dropped. The memory taken is the longest line and its fields.
class CCsvReader {
  public:
    CCsvReader() = default;
    ~CCsvReader() { Close(); }
    CCsvReader(const CCsvReader&) = delete;
    CCsvReader& operator=(const CCsvReader&) = delete;

    /// Opens `path`; false with Error() set ("Cannot open PATH: why").
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return m_file != nullptr; }

    /// Reads the next line's raw text; false at the end or on a fault.
    bool NextLine(std::string_view& line);
    /// Reads the next line into fields; false at the end, or with Failed()
    /// set when the line is malformed, too long or cannot be read.
    bool Next(std::vector<std::string>& fields);
    /// The next line's fields through `field(text, column)`, as SplitCsvLine.
    template <class Field>
    bool Next(Field&& field);

    /// Back to the start of the file; a fault is forgotten.
    void Rewind();

    bool Failed() const { return m_failed; }
    /// "PATH line L, column C: what" for a malformed line, or the reading fault.
    const std::string& Error() const { return m_error; }
    /// Lines read since the file was opened or rewound.
    int64_t LinesRead() const { return m_lines; }
    const std::string& Path() const { return m_path; }
    /// Refuses the current line at `column` for `what` (a caller's own check).
    void Refuse(size_t column, std::string_view what);

  private:
    bool Fail(std::string text);

    std::FILE* m_file = nullptr;
    std::string m_path;
    std::string m_line;
    std::string m_scratch;
    std::string m_error;
    int64_t m_lines = 0;
    bool m_failed = false;
};

/// The inputs table of the run tools: a header line of system input ids, then
/// one row per cycle (row k applied before cycle k). An empty or blank field
/// leaves its input unchanged; a row may be shorter than the header, not longer.
class CInputTable {
  public:
    /// Reads `path`; false with `error` naming the file, line and column.
    bool Read(const std::string& path, std::string& error);

    const std::vector<int32_t>& Ids() const { return m_ids; }
    size_t Rows() const { return m_rowEnds.size(); }
    /// Calls `set(id, value)` for every value that row `row` gives.
    template <class Set>
    void Apply(size_t row, Set&& set) const {
        if (row >= m_rowEnds.size()) return;
        const size_t begin = row == 0 ? 0 : m_rowEnds[row - 1];
        for (size_t k = begin; k < m_rowEnds[row]; ++k)
            if (m_values[k] == m_values[k]) set(m_ids[k - begin], m_values[k]);
    }

  private:
    std::vector<int32_t> m_ids;
    std::vector<double> m_values;  // the rows one after the other; NaN leaves an input
    std::vector<size_t> m_rowEnds;
};

// --- templates ----------------------------------------------------------------

template <class Field>
bool SplitCsvLine(std::string_view line, std::string& scratch, CCsvLineError& error, Field&& field) {
    const size_t n = line.size();
    if (n == 0) return true;
    if (const size_t nul = line.find('\0'); nul != std::string_view::npos) {
        error = {nul + 1, "a NUL byte"};
        return false;
    }
    size_t pos = 0;
    for (;;) {
        if (pos < n && line[pos] == '"') {
            const size_t open = pos++;
            scratch.clear();
            bool closed = false;
            while (pos < n) {
                const size_t quote = line.find('"', pos);
                if (quote == std::string_view::npos) break;
                scratch.append(line.substr(pos, quote - pos));
                if (quote + 1 < n && line[quote + 1] == '"') {
                    scratch += '"';
                    pos = quote + 2;
                    continue;
                }
                pos = quote + 1;
                closed = true;
                break;
            }
            if (!closed) {
                error = {open + 1, "a quoted field without its closing quote"};
                return false;
            }
            if (pos < n && line[pos] != ',') {
                error = {pos + 1, "text after a closing quote (a comma or the line's end must follow it)"};
                return false;
            }
            field(std::string_view(scratch), open + 1);
        } else {
            const size_t comma = line.find(',', pos);
            const size_t end = comma == std::string_view::npos ? n : comma;
            field(line.substr(pos, end - pos), pos + 1);
            pos = end;
        }
        if (pos >= n) return true;
        ++pos;  // the comma; one at the very end still gives an empty last field
    }
}

template <class Field>
bool CCsvReader::Next(Field&& field) {
    std::string_view line;
    if (!NextLine(line)) return false;
    CCsvLineError e;
    if (SplitCsvLine(line, m_scratch, e, field)) return true;
    Refuse(e.column, e.what);
    return false;
}

}  // namespace zor2
