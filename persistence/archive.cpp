// Primitive encodings of the project archive.
#include "persistence/archive.h"

#include <algorithm>
#include <cstring>

namespace zor2 {

CArchive::CArchive() : m_loading(false), m_reader(nullptr, 0) {}

CArchive::CArchive(const uint8_t* data, size_t size) : m_loading(true), m_reader(data, size) {}

CArchive::CArchive(IFieldStream& stream, bool loading)
    : m_loading(loading), m_stream(&stream), m_reader(nullptr, 0) {}

size_t CArchive::Position() const {
    if (m_stream) return m_stream->Position();
    return m_loading ? m_reader.Position() : m_writer.Size();
}

size_t CArchive::Remaining() const {
    if (m_stream) return m_loading ? m_stream->Remaining() : 0;
    return m_loading ? m_reader.Remaining() : 0;
}

void CArchive::MarkStream(const char* record) {
    if (!m_failed && !m_stream->Mark(record)) Fail(m_stream->Error());
}

void CArchive::Fail(const std::string& why) {
    Fail(why, Position());
}

void CArchive::Fail(const std::string& why, size_t offset) {
    if (m_failed) return;
    m_failed = true;
    m_error = why;
    m_errorOffset = offset;
}

void CArchive::FailEndsEarly(uint64_t needed, const std::string& forWhat, size_t offset) {
    if (m_failed) return;
    // Where the file ends, not only where the cut record starts: that is what a
    // person holding a shortened copy needs to know.
    const size_t end = Position() + Remaining();
    Fail("the file ends early (at byte " + std::to_string(end) + "; it needs " +
             (forWhat.empty() ? "" : "at least ") + std::to_string(needed) + " more bytes" +
             (forWhat.empty() ? "" : " for " + forWhat) + ")",
         offset);
    m_endsEarly = true;
}

std::string CArchive::Describe() const {
    if (m_endsEarly) return m_error;
    return m_error + " at byte offset " + std::to_string(m_errorOffset);
}

bool CArchive::ReadRawFailed(size_t n) {
    if (m_failed) return false;
    FailEndsEarly(n - Remaining(), {}, Position());
    return false;
}

bool CArchive::CheckCount(int32_t count, size_t minBytes, const char* what) {
    return CheckCount(count, minBytes, what, Position());
}

bool CArchive::CheckCount(int32_t count, size_t minBytes, const char* what, size_t countAt) {
    if (!m_loading || m_failed) return !m_failed;
    if (m_stream) {
        // A stream holds at least one value per record.
        if (count >= 0 && static_cast<size_t>(count) <= m_stream->Remaining()) return true;
        Fail(std::string("impossible ") + what + " count " + std::to_string(count), countAt);
        return false;
    }
    if (count >= 0 && count <= kPlausibleCount && !m_reader.CanHold(count, minBytes)) {
        // A count a real project may hold, with too few bytes after it: the file was cut short.
        FailEndsEarly(static_cast<uint64_t>(count) * minBytes - Remaining(),
                      std::string("the ") + what + " count " + std::to_string(count), countAt);
        return false;
    }
    if (count < 0 || !m_reader.CanHold(count, minBytes)) {
        Fail(std::string("impossible ") + what + " count " + std::to_string(count), countAt);
        return false;
    }
    return true;
}

template <class T>
void CArchive::Streamed(bool (IFieldStream::*move)(T&), T& v) {
    // The stream takes or gives the value itself; its first failure stops the archive.
    if (!m_failed && !(m_stream->*move)(v)) Fail(m_stream->Error());
}
// The inline fields of the header reach the stream through these.
template void CArchive::Streamed(bool (IFieldStream::*)(int32_t&), int32_t&);
template void CArchive::Streamed(bool (IFieldStream::*)(double&), double&);
template void CArchive::Streamed(bool (IFieldStream::*)(uint8_t&), uint8_t&);

void CArchive::Str(std::string& v) {
    if (m_stream) return Streamed(&IFieldStream::Str, v);
    if (m_loading) return LoadStr(v);
    StoreStr(v);
}

void CArchive::StoreStr(const std::string& v) {
    // Plain ASCII (most names) is widened in place without a UTF-16 copy.
    const bool ascii =
        std::all_of(v.begin(), v.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const std::u16string units = ascii ? std::u16string() : Utf8ToUtf16(v);
    const size_t n = ascii ? v.size() : units.size();
    // Marker of UTF-16 text: the byte 0xFF and the 16-bit value 0xFFFE; then
    // the length in one byte, or 0xFF and 16 bits, or 0xFF, 0xFFFF and 32 bits.
    uint8_t head[10] = {0xFF, 0xFE, 0xFF};
    size_t headBytes = 4;
    if (n < 0xFF) {
        head[3] = static_cast<uint8_t>(n);
    } else if (n < 0xFFFE) {
        head[3] = 0xFF;
        head[4] = static_cast<uint8_t>(n & 0xFF);
        head[5] = static_cast<uint8_t>(n >> 8);
        headBytes = 6;
    } else {
        const uint32_t length = static_cast<uint32_t>(n);
        head[3] = head[4] = head[5] = 0xFF;
        std::memcpy(head + 6, &length, 4);
        headBytes = 10;
    }
    uint8_t* p = m_writer.Extend(headBytes + 2 * n);
    std::memcpy(p, head, headBytes);
    p += headBytes;
    for (size_t i = 0; i < n; ++i) {
        const uint16_t u = ascii ? static_cast<uint8_t>(v[i]) : static_cast<uint16_t>(units[i]);
        p[2 * i] = static_cast<uint8_t>(u & 0xFF);
        p[2 * i + 1] = static_cast<uint8_t>(u >> 8);
    }
}

void CArchive::LoadStr(std::string& v) {
    if (m_failed) return;
    bool wide = false;
    uint8_t b = 0;
    uint16_t w = 0;
    uint32_t length = 0;
    if (!ReadRaw(&b, 1)) return;
    bool done = false;
    if (b < 0xFF) {
        length = b;
        done = true;
    } else {
        if (!ReadRaw(&w, 2)) return;
        if (w == 0xFFFE) {
            wide = true;
            if (!ReadRaw(&b, 1)) return;
            if (b < 0xFF) {
                length = b;
                done = true;
            } else if (!ReadRaw(&w, 2)) {
                return;
            }
        }
    }
    if (!done) {
        if (w < 0xFFFF) {
            length = w;
        } else if (!ReadRaw(&length, 4)) {
            return;
        }
    }
    const size_t bytes = static_cast<size_t>(length) * (wide ? 2 : 1);
    if (length <= kPlausibleStringLength && bytes > m_reader.Remaining()) {
        FailEndsEarly(bytes - m_reader.Remaining(), {}, Position());
        return;
    }
    if (length > m_reader.Remaining() || bytes > m_reader.Remaining()) {
        Fail("string length " + std::to_string(length) + " runs past the end of the file");
        return;
    }
    // The whole text is there: plain ASCII (nearly every name) is copied
    // straight into the result; anything else goes through UTF-16, where
    // 8-bit characters are Latin-1.
    const uint8_t* p = m_reader.Here();
    m_reader.Skip(bytes);
    auto unit = [p, wide](size_t i) -> uint16_t {
        return wide ? static_cast<uint16_t>(p[2 * i] | (p[2 * i + 1] << 8)) : p[i];
    };
    v.resize(length);
    for (size_t i = 0; i < length; ++i) {
        const uint16_t u = unit(i);
        if (u >= 0x80) {
            std::u16string units(length, u'\0');
            for (size_t k = 0; k < length; ++k) units[k] = static_cast<char16_t>(unit(k));
            v = Utf16ToUtf8(units);
            return;
        }
        v[i] = static_cast<char>(u);
    }
}

}  // namespace zor2
