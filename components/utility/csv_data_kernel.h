// The file work of CSV Data Input (playing a file's rows) and CSV Data Output
// (a log file of one line per cycle), shared by the designer and the runtime.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "algo/bytes.h"
#include "algo/csv_file.h"

namespace zor2 {

inline constexpr int32_t kTypeCsvOutput = 44;
inline constexpr int32_t kTypeCsvInput = 45;
/// UTF-16 code units of the runtime record's path fields, the terminator included.
inline constexpr size_t kCsvPathUnits = 260;
/// Id of the output of data column 0; column i feeds output kCsvFirstColumnOutput + i.
inline constexpr int32_t kCsvFirstColumnOutput = 100;

/// Read past the runtime bodies: two path fields (CSV Data Input) or one (CSV
/// Data Output). Stated by the types so that reading a runtime file never has
/// to make one of them, which would create its log file.
bool SkipCsvInputBody(CByteReader& in);
bool SkipCsvOutputBody(CByteReader& in);

/// A CSV field as a number: the leading number in C notation whatever the
/// process locale (blanks before it allowed), 0 for text that is not a number
/// and for a value that is not finite.
double CsvFieldNumber(std::string_view field);

/// The part of a path after its last folder separator (either slash).
std::string CsvFileName(const std::string& path);

/// CSV Data Input's file: the header names the columns, every further line is
/// one row of values. The row count includes the header line.
class CCsvPlayer {
  public:
    enum class EStep {
        Played,  // a row was read into the values
        Looped,  // the end was reached and the file rewound
        Ended,   // the end was reached without looping
    };

    /// Opens `path`, reads its header and counts its lines; false (nothing open,
    /// counts 0) with Error() set when the file cannot be opened.
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return m_file.IsOpen(); }
    /// Back to the first data line: current row 1.
    void Rewind();
    /// One enabled cycle: reads the next row into `values` (one per column; a
    /// short line leaves its missing columns at 0 and is noted in ShortLine()),
    /// or rewinds when `loop` is set, or reports the end.
    EStep Advance(bool loop, std::vector<double>& values);

    const std::vector<std::string>& Header() const { return m_header; }
    int32_t Columns() const { return static_cast<int32_t>(m_header.size()); }
    int32_t Rows() const { return m_rows; }
    int32_t CurrentRow() const { return m_current; }
    const std::string& Error() const { return m_error; }
    /// Line number (from 1, header included) of the first line with fewer fields
    /// than the header since the last Rewind; 0 when none.
    int32_t ShortLine() const { return m_shortLine; }
    int32_t ShortLineFields() const { return m_shortLineFields; }
    /// The note on the first short line, once until ClearNotes (a new run) or
    /// a new file; empty when there is nothing new to say.
    std::string TakeShortLineNote(const std::string& path);
    void ClearNotes() { m_noted = false; }

  private:
    CCSVFile m_file;
    std::vector<std::string> m_header;
    std::vector<std::string> m_fields;  // the line being played, reused
    std::string m_error;
    int32_t m_rows = 0;
    int32_t m_current = 0;
    int32_t m_shortLine = 0;
    int32_t m_shortLineFields = 0;
    bool m_noted = false;
};

/// CSV Data Output's file: created with its header at a reset, then opened for
/// appending, written and closed in every cycle, so every line written is in
/// the file when the run stops or the program ends. Both return an empty
/// string or the reason nothing (or not all) was written.
std::string CreateCsvLog(const std::string& path, const std::vector<std::string>& header);
std::string AppendCsvLog(const std::string& path, const std::vector<std::string>& fields);
/// The header line of an existing log file (empty when there is none).
std::vector<std::string> ReadCsvLogHeader(const std::string& path);

}  // namespace zor2
