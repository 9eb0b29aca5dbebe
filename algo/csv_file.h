// CCSVFile: the one CSV dialect of the system (comma separated, double-quote
// quoting), read line by line, written or appended line by line. It lives with the
// shared kernels because the runtime's data components read and write it too.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

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

    /// Opens `path` in `mode`, closing any file open before. Append does not
    /// create a missing file. Returns false with Error() set when it fails.
    bool Open(const std::string& path, ECsvMode mode);
    void Close();
    bool IsOpen() const { return m_file != nullptr; }

    /// Reads the next line into `fields` (an empty line gives no fields).
    /// Returns false at the end of the file or when no file is open for reading.
    bool ReadLine(std::vector<std::string>& fields);
    /// Writes `fields` as one line ending in "\n"; the line counter grows by 1.
    bool WriteLine(const std::vector<std::string>& fields);
    /// Returns to the start of the file; the lines-read count restarts at 0.
    void Rewind();
    /// The shape of the file: the number of lines and the number of fields of
    /// the first line (0 for an empty file). Leaves the file at its start.
    bool ReadShape(int32_t& lines, int32_t& fieldsOfFirstLine);

    /// Splits one line (without its line end) into fields by the dialect.
    static std::vector<std::string> SplitLine(std::string_view line);
    /// Joins fields into one line by the dialect, without the line end.
    static std::string JoinLine(const std::vector<std::string>& fields);

    const std::string& Path() const { return m_path; }
    const std::string& Error() const { return m_error; }
    /// Lines written since the file was opened.
    int32_t LineCounter() const { return m_lineCounter; }
    /// Fields of the first line, known after ReadShape.
    int32_t FirstLineFieldCount() const { return m_firstLineFields; }
    /// Lines read since the file was opened or rewound.
    int32_t LinesRead() const { return m_linesRead; }

  private:
    /// Reads one raw line without its LF (and without a CR before it).
    bool ReadRawLine(std::string& line);

    std::FILE* m_file = nullptr;
    ECsvMode m_mode = ECsvMode::Read;
    std::string m_path;
    std::string m_error;
    int32_t m_lineCounter = 0;
    int32_t m_firstLineFields = 0;
    int32_t m_linesRead = 0;
};

}  // namespace zor2
