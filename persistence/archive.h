// The project archive: little-endian primitives and length-prefixed UTF-16
// strings. One archive object either reads or writes, so a record's field list
// is written once and runs in both directions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "algo/bytes.h"
#include "engine/object.h"

namespace zor2 {

/// The field values of a project in another form than its bytes (the text form):
/// an archive over a stream moves every field through it instead. Records are
/// named by Mark as the field lists reach them. Each call returns false with
/// Error() set when a value cannot be read.
class IFieldStream {
  public:
    virtual ~IFieldStream() = default;
    virtual bool Mark(const char* record) = 0;
    virtual bool I32(int32_t& v) = 0;
    virtual bool F64(double& v) = 0;
    virtual bool Byte(uint8_t& v) = 0;
    virtual bool Str(std::string& v) = 0;
    /// Values moved so far (what an archive over the stream calls its position).
    virtual size_t Position() const = 0;
    /// Loading: values left, the bound of every count read.
    virtual size_t Remaining() const = 0;
    virtual const std::string& Error() const = 0;
};

class CArchive {
  public:
    /// An archive that writes into its own buffer.
    CArchive();
    /// An archive that reads `size` bytes at `data` (the bytes must outlive it).
    CArchive(const uint8_t* data, size_t size);
    /// An archive that reads (`loading`) or writes its fields through `stream`.
    CArchive(IFieldStream& stream, bool loading);

    bool IsLoading() const { return m_loading; }
    bool IsStoring() const { return !m_loading; }

    // Each moves one field in the archive's direction. After a read failure
    // every later read leaves its field unchanged and Failed() stays true.
    // The fixed-size fields are inline: a project moves hundreds of thousands.
    void I32(int32_t& v) { Fixed(v, &IFieldStream::I32); }
    void F64(double& v) { Fixed(v, &IFieldStream::F64); }
    void Byte(uint8_t& v) { Fixed(v, &IFieldStream::Byte); }
    void Bool(bool& v) {
        uint8_t b = v ? 1 : 0;
        Byte(b);
        if (m_loading && !m_failed) v = b != 0;
    }
    void Str(std::string& v);
    void Rect(CRect& r) {
        I32(r.left);
        I32(r.top);
        I32(r.right);
        I32(r.bottom);
    }
    void Point(CPoint& p) {
        I32(p.x);
        I32(p.y);
    }
    /// Names the record whose fields follow; only a field stream sees it.
    void Mark(const char* record) {
        if (m_stream) MarkStream(record);
    }

    /// Loading: checks that `count` records of at least `minBytes` each can
    /// still follow; fails the archive with a message naming `what` if not.
    bool CheckCount(int32_t count, size_t minBytes, const char* what);
    /// The same for a count read earlier at `countAt` (the error names that offset).
    bool CheckCount(int32_t count, size_t minBytes, const char* what, size_t countAt);
    /// Stops a load with a message (the offset is the current position).
    void Fail(const std::string& why);
    /// Stops a load with a message about the field that starts at `offset`.
    void Fail(const std::string& why, size_t offset);
    /// Stops a load because the file ends `needed` bytes too early (at least
    /// that many when `forWhat`, a count, asked for them) for the field at `offset`.
    void FailEndsEarly(uint64_t needed, const std::string& forWhat, size_t offset);
    /// Storing: makes room for `bytes` so a large record grows without copies.
    void Reserve(size_t bytes) { m_writer.Bytes().reserve(bytes); }
    /// Storing: writes into `buffer` (emptied first), reusing its memory.
    void Adopt(std::vector<uint8_t>&& buffer) {
        m_writer.Bytes() = std::move(buffer);
        m_writer.Bytes().clear();
    }

    /// Storing: forgets what was written after `position`.
    void Rewind(size_t position) { m_writer.Truncate(position); }

    bool Failed() const { return m_failed; }
    const std::string& Error() const { return m_error; }
    /// The error as a person reads it: where the file ends when it was cut
    /// short, else the message and the offset of the field at fault.
    std::string Describe() const;
    size_t ErrorOffset() const { return m_errorOffset; }
    /// Loading: bytes consumed; storing: bytes written.
    size_t Position() const;
    size_t Remaining() const;

    const std::vector<uint8_t>& Bytes() const { return m_writer.Bytes(); }
    std::vector<uint8_t> TakeBytes() { return std::move(m_writer.Bytes()); }

    // Storing helpers for const data.
    void WriteI32(int32_t v) { I32(v); }
    void WriteStr(std::string v) { Str(v); }

  private:
    template <class T>
    void Fixed(T& v, bool (IFieldStream::*move)(T&)) {
        if (m_stream) return Streamed(move, v);
        if (!m_loading) return m_writer.Raw(&v, sizeof v);
        T t{};
        if (ReadRaw(&t, sizeof t)) v = t;
    }
    bool ReadRaw(void* out, size_t n) {
        if (!m_failed && n <= m_reader.Remaining()) return m_reader.Raw(out, n);
        return ReadRawFailed(n);
    }
    /// Fails the read of `n` bytes that are not there (unless failed before).
    bool ReadRawFailed(size_t n);
    void LoadStr(std::string& v);
    void StoreStr(const std::string& v);
    void MarkStream(const char* record);
    /// Moves `v` through the stream; its first failure stops the archive.
    template <class T>
    void Streamed(bool (IFieldStream::*move)(T&), T& v);

    bool m_loading;
    IFieldStream* m_stream = nullptr;
    CByteWriter m_writer;
    CByteReader m_reader;
    bool m_failed = false;
    bool m_endsEarly = false;  // the failure is a file cut short
    // Counts above this are corruption, not a project cut short.
    static constexpr int32_t kPlausibleCount = 100000;
    static constexpr uint32_t kPlausibleStringLength = 1u << 20;
    std::string m_error;
    size_t m_errorOffset = 0;
};

/// Smallest encoded size of a string (the one-byte prefix of an empty 8-bit string).
inline constexpr size_t kMinStringBytes = 1;

}  // namespace zor2
