// Little-endian byte writer and a bounds-checked byte reader, used for the
// runtime file on both sides of the export.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace zor2 {

/// Appends little-endian fields to a growing buffer.
class CByteWriter {
  public:
    void I32(int32_t v) { Raw(&v, 4); }
    void U16(uint16_t v) { Raw(&v, 2); }
    void F64(double v) { Raw(&v, 8); }
    void Byte(uint8_t v) { Raw(&v, 1); }
    void Bool(bool v) { Byte(v ? 1 : 0); }
    void Raw(const void* data, size_t n) {
        // Zero bytes may come with a null pointer, which memcpy must not see.
        if (n > 0) std::memcpy(Extend(n), data, n);
    }
    /// Appends `n` bytes for the caller to fill, all of them, and returns where they start.
    uint8_t* Extend(size_t n) {
        if (m_room < n) MakeRoom(n);
        uint8_t* at = m_bytes.data() + (m_bytes.size() - m_room);
        m_room -= n;
        return at;
    }
    /// A fixed field of `units` UTF-16 code units: the text cut to units-1
    /// code units, a terminating zero, zero padding.
    void FixedName(const std::u16string& text, size_t units = 100);

    /// The bytes written; even the const form trims the room, so one thread at a time. The vector
    /// may be changed; writing goes on after what it then holds.
    const std::vector<uint8_t>& Bytes() const {
        Settle();
        return m_bytes;
    }
    std::vector<uint8_t>& Bytes() {
        Settle();
        return m_bytes;
    }
    size_t Size() const { return m_bytes.size() - m_room; }
    /// Forgets what was written after the first `size` bytes.
    void Truncate(size_t size) {
        if (size < Size()) m_room = m_bytes.size() - size;
    }

  private:
    /// Grows the room at the end to at least `n` bytes, doubling as a vector does.
    void MakeRoom(size_t n);
    /// Cuts the vector to the bytes written.
    void Settle() const {
        m_bytes.resize(m_bytes.size() - m_room);
        m_room = 0;
    }

    // While fields are appended the vector runs `m_room` bytes past them, so
    // that a field is one copy and one subtraction, not a vector insert.
    mutable std::vector<uint8_t> m_bytes;
    mutable size_t m_room = 0;
};

/// Reads little-endian fields from a byte span. Every read checks the bytes
/// that remain; the first failure sets the error and every later read fails.
class CByteReader {
  public:
    CByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    explicit CByteReader(const std::vector<uint8_t>& bytes) : CByteReader(bytes.data(), bytes.size()) {}

    bool I32(int32_t& v) { return Raw(&v, 4); }
    bool U16(uint16_t& v) { return Raw(&v, 2); }
    bool F64(double& v) { return Raw(&v, 8); }
    bool Byte(uint8_t& v) { return Raw(&v, 1); }
    bool Bool(bool& v) {
        uint8_t b = 0;
        if (!Byte(b)) return false;
        v = b != 0;
        return true;
    }
    bool Raw(void* out, size_t n) {
        if (m_failed || n > m_size - m_pos) {
            Fail("unexpected end of data");
            return false;
        }
        // Zero bytes may come with null pointers, which memcpy must not see.
        if (n > 0) std::memcpy(out, m_data + m_pos, n);
        m_pos += n;
        return true;
    }
    /// Moves past `n` bytes without reading them.
    bool Skip(size_t n) {
        if (m_failed || n > m_size - m_pos) {
            Fail("unexpected end of data");
            return false;
        }
        m_pos += n;
        return true;
    }
    /// The bytes from the current position on (Remaining() of them).
    const uint8_t* Here() const { return m_data + m_pos; }
    /// Reads a fixed field of `units` UTF-16 code units up to its first zero.
    bool FixedName(std::u16string& text, size_t units = 100);
    /// True when `count` records of at least `minBytes` each can still follow.
    bool CanHold(int64_t count, size_t minBytes) const {
        return count >= 0 && (minBytes == 0 || static_cast<uint64_t>(count) <= Remaining() / minBytes);
    }

    /// CanHold, failing the reader with "<what> count exceeds the file" when not.
    bool CheckCount(int64_t count, size_t minBytes, std::string_view what) {
        if (CanHold(count, minBytes)) return true;
        Fail(std::string(what) + " count exceeds the file");
        return false;
    }

    void Fail(std::string_view why) {
        if (!m_failed) {
            m_failed = true;
            m_error = std::string(why);
            m_errorOffset = m_pos;
        }
    }
    bool Failed() const { return m_failed; }
    const std::string& Error() const { return m_error; }
    size_t ErrorOffset() const { return m_errorOffset; }
    size_t Position() const { return m_pos; }
    size_t Remaining() const { return m_size - m_pos; }

  private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_failed = false;
    std::string m_error;
    size_t m_errorOffset = 0;
};

/// UTF-8 <-> UTF-16 conversions (unpaired surrogates become U+FFFD).
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);

}  // namespace zor2
