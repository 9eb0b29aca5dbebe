// CCSVFile: the system's CSV files (data files, imports, logs), read by the one
// CSV rule (algo/csv.h) and written or appended line by line. It lives with the
// shared kernels because the runtime's data components read and write it too.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "algo/csv.h"

namespace zor2 {

enum class ECsvMode {
    Read,    // text, for reading
    Write,   // text, created or replaced
    Append,  // text, opened for writing without truncation, positioned at the end
};

class CCSVFile {
  public:
    CCSVFile() = default;
    ~CCSVFile() { Close(); }
    CCSVFile(const CCSVFile&) = delete;
    CCSVFile& operator=(const CCSVFile&) = delete;

    /// Opens `path` in `mode`, closing any file open before. Reading takes only
    /// a regular file; Append does not create a missing file. Returns false
    /// with Error() set when it fails.
    bool Open(const std::string& path, ECsvMode mode);
    void Close();
    bool IsOpen() const { return m_file != nullptr || m_reader.IsOpen(); }

    /// Reads the next line into `fields` (an empty line gives no fields).
    /// Returns false at the end of the file, when no file is open for reading,
    /// or when the line is malformed: then Failed() is set and Error() names
    /// the line and column.
    bool ReadLine(std::vector<std::string>& fields);
    /// Writes `fields` as one line ending in "\n"; the line counter grows by 1.
    bool WriteLine(const std::vector<std::string>& fields);
    /// Returns to the start of the file; the lines-read count restarts at 0.
    void Rewind();
    /// The shape of the file: the number of lines and the number of fields of
    /// the first line (0 for an empty file). Leaves the file at its start.
    bool ReadShape(int32_t& lines, int32_t& fieldsOfFirstLine);

    /// Splits one line (without its line end) into fields by the rule; a
    /// malformed line gives no fields.
    static std::vector<std::string> SplitLine(std::string_view line);
    /// The same, false with `error` ("column C: what") for a malformed line.
    static bool SplitLine(std::string_view line, std::vector<std::string>& fields, std::string& error);
    /// Joins fields into one line by the rule, without the line end.
    static std::string JoinLine(const std::vector<std::string>& fields);

    const std::string& Path() const { return m_path; }
    const std::string& Error() const { return m_error; }
    /// Whether reading stopped at a malformed line or a reading fault.
    bool Failed() const { return m_reader.Failed(); }
    /// Lines written since the file was opened.
    int32_t LineCounter() const { return m_lineCounter; }
    /// Fields of the first line, known after ReadShape.
    int32_t FirstLineFieldCount() const { return m_firstLineFields; }
    /// Lines read since the file was opened or rewound.
    int32_t LinesRead() const { return m_linesRead; }

  private:
    CCsvReader m_reader;          // read mode
    std::FILE* m_file = nullptr;  // write and append modes
    ECsvMode m_mode = ECsvMode::Read;
    std::string m_path;
    std::string m_error;
    int32_t m_lineCounter = 0;
    int32_t m_firstLineFields = 0;
    int32_t m_linesRead = 0;
};

}  // namespace zor2
