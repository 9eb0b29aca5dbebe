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

void CArchive::Mark(const char* record) {
    if (m_stream && !m_failed && !m_stream->Mark(record)) Fail(m_stream->Error());
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

bool CArchive::ReadRaw(void* out, size_t n) {
    if (m_failed) return false;
    if (n > Remaining()) {
        FailEndsEarly(n - Remaining(), {}, Position());
        return false;
    }
    if (!m_reader.Raw(out, n)) {
        Fail("unexpected end of file");
        return false;
    }
    return true;
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
bool CArchive::Streamed(bool (IFieldStream::*move)(T&), T& v) {
    if (!m_stream) return false;
    // The stream takes or gives the value itself; its first failure stops the archive.
    if (!m_failed && !(m_stream->*move)(v)) Fail(m_stream->Error());
    return true;
}

void CArchive::I32(int32_t& v) {
    if (Streamed(&IFieldStream::I32, v)) return;
    if (!m_loading) return m_writer.I32(v);
    int32_t t;
    if (ReadRaw(&t, 4)) v = t;
}

void CArchive::F64(double& v) {
    if (Streamed(&IFieldStream::F64, v)) return;
    if (!m_loading) return m_writer.F64(v);
    double t;
    if (ReadRaw(&t, 8)) v = t;
}

void CArchive::Byte(uint8_t& v) {
    if (Streamed(&IFieldStream::Byte, v)) return;
    if (!m_loading) return m_writer.Byte(v);
    uint8_t t;
    if (ReadRaw(&t, 1)) v = t;
}

void CArchive::Bool(bool& v) {
    uint8_t b = v ? 1 : 0;
    Byte(b);
    if (m_loading && !m_failed) v = b != 0;
}

void CArchive::Rect(CRect& r) {
    I32(r.left);
    I32(r.top);
    I32(r.right);
    I32(r.bottom);
}

void CArchive::Point(CPoint& p) {
    I32(p.x);
    I32(p.y);
}

void CArchive::Str(std::string& v) {
    if (Streamed(&IFieldStream::Str, v)) return;
    if (!m_loading) {
        // Plain ASCII (most names) is widened in place without a UTF-16 copy.
        const bool ascii =
            std::all_of(v.begin(), v.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        const std::u16string units = ascii ? std::u16string() : Utf8ToUtf16(v);
        const size_t n = ascii ? v.size() : units.size();
        // Marker of UTF-16 text: the byte 0xFF and the 16-bit value 0xFFFE.
        m_writer.Byte(0xFF);
        m_writer.U16(0xFFFE);
        if (n < 0xFF) {
            m_writer.Byte(static_cast<uint8_t>(n));
        } else if (n < 0xFFFE) {
            m_writer.Byte(0xFF);
            m_writer.U16(static_cast<uint16_t>(n));
        } else {
            m_writer.Byte(0xFF);
            m_writer.U16(0xFFFF);
            m_writer.I32(static_cast<int32_t>(n));
        }
        std::vector<uint8_t>& out = m_writer.Bytes();
        const size_t at = out.size();
        out.resize(at + 2 * n);
        uint8_t* p = out.data() + at;
        for (size_t i = 0; i < n; ++i) {
            const uint16_t u = ascii ? static_cast<uint8_t>(v[i]) : static_cast<uint16_t>(units[i]);
            p[2 * i] = static_cast<uint8_t>(u & 0xFF);
            p[2 * i + 1] = static_cast<uint8_t>(u >> 8);
        }
        return;
    }
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
    // Read in chunks through a stack buffer; plain ASCII goes straight into the
    // result, anything else through UTF-16. 8-bit characters are Latin-1.
    const size_t unitBytes = wide ? 2 : 1;
    std::string out;
    out.reserve(length);
    std::u16string units;
    bool ascii = true;
    uint8_t buf[512];
    for (uint32_t got = 0; got < length;) {
        const uint32_t chunk = std::min<uint32_t>(length - got, sizeof buf / 2);
        if (!ReadRaw(buf, chunk * unitBytes)) return;
        for (uint32_t i = 0; i < chunk; ++i) {
            const uint16_t u = wide ? static_cast<uint16_t>(buf[2 * i] | (buf[2 * i + 1] << 8)) : buf[i];
            if (ascii && u < 0x80) {
                out.push_back(static_cast<char>(u));
                continue;
            }
            if (ascii) {
                ascii = false;
                units.assign(out.begin(), out.end());
            }
            units.push_back(static_cast<char16_t>(u));
        }
        got += chunk;
    }
    if (ascii)
        v = std::move(out);
    else
        v = Utf16ToUtf8(units);
}

}  // namespace zor2
