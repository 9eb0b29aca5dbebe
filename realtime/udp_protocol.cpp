// Configuration parsing, checksums, message building and datagram reading of
// the real-time link.
#include "realtime/udp_protocol.h"

#include <arpa/inet.h>
#include <strings.h>

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "algo/platform.h"

namespace zor2 {

namespace {

std::string_view Trim(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

bool ParseInt(std::string_view s, long long& out) {
    s = Trim(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size();
}

bool ParseDouble(std::string_view s, double& out) {
    s = Trim(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return false;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size() && std::isfinite(out);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

const char kHex[] = "0123456789abcdef";

}  // namespace

CUdpConfig ParseUdpConfig(std::string_view text) {
    CUdpConfig config;
    int found = 0;  // 0: looking for the address, 1: for the port
    size_t pos = 0;
    while (pos < text.size() && found < 2) {
        // One read of a 256-byte line buffer: up to the line feed, at most 255 characters.
        size_t end = text.find('\n', pos);
        end = end == std::string_view::npos ? text.size() : end + 1;
        if (end - pos > 255) end = pos + 255;
        const std::string_view line = text.substr(pos, end - pos);
        pos = end;
        if (line.front() == '#') continue;
        const std::string_view value = Trim(line);
        if (found == 0) {
            in_addr addr{};
            const std::string copy(value);
            if (inet_pton(AF_INET, copy.c_str(), &addr) == 1 && addr.s_addr != 0)
                config.address = ntohl(addr.s_addr);
        } else {
            long long port = 0;
            if (ParseInt(value, port) && port >= 1 && port <= 65535)
                config.receivePort = static_cast<uint16_t>(port);
        }
        ++found;
    }
    return config;
}

CUdpConfig ReadUdpConfig(const std::string& path) {
    // The file holds two short lines; a longer one is not read past 64 KiB, and
    // only a regular file is read at all.
    int error = 0;
    std::FILE* f = OpenInputFile(path, error);
    if (!f) return {};
    std::string text(64 * 1024, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), f));
    std::fclose(f);
    return ParseUdpConfig(text);
}

std::string FormatIpv4(uint32_t address) {
    return std::to_string(address >> 24) + "." + std::to_string((address >> 16) & 0xFF) + "." +
           std::to_string((address >> 8) & 0xFF) + "." + std::to_string(address & 0xFF);
}

uint8_t UdpChecksum(std::string_view body) {
    uint8_t cs = 0;
    for (char c : body) cs ^= static_cast<uint8_t>(c);
    return cs;
}

// --- outgoing -------------------------------------------------------------

CUdpMessage::CUdpMessage(char* buffer, size_t capacity, std::string_view type)
    : m_buffer(buffer), m_capacity(capacity) {
    Put(type);
}

void CUdpMessage::Put(std::string_view s) {
    // Keep one byte for the terminator, as the buffer always has.
    if (!m_ok || m_length + s.size() + 1 > m_capacity) {
        m_ok = false;
        return;
    }
    std::memcpy(m_buffer + m_length, s.data(), s.size());
    m_length += s.size();
}

CUdpMessage& CUdpMessage::Int(int32_t v) {
    char text[16];
    const auto r = std::to_chars(text, text + sizeof text, v);
    Put(",");
    Put(std::string_view(text, static_cast<size_t>(r.ptr - text)));
    return *this;
}

CUdpMessage& CUdpMessage::Dbl(double v) {
    char text[400];  // "%f" of the largest double has 309 digits before the point
    const auto r = std::to_chars(text, text + sizeof text, v, std::chars_format::fixed, 6);
    Put(",");
    if (r.ec == std::errc())
        Put(std::string_view(text, static_cast<size_t>(r.ptr - text)));
    else
        m_ok = false;
    return *this;
}

CUdpMessage& CUdpMessage::Str(std::string_view v) {
    Put(",");
    Put(v);
    return *this;
}

size_t CUdpMessage::Finish() {
    if (!m_ok || m_length == 0) return 0;
    // The checksum covers the whole body up to the '*' appended here, so a
    // '*' inside a name cannot cut the message short.
    const uint8_t cs = UdpChecksum(std::string_view(m_buffer + 1, m_length - 1));
    const char tail[] = {'*', kHex[cs >> 4], kHex[cs & 0xF], '\n'};
    Put(std::string_view(tail, sizeof tail));
    if (!m_ok) return 0;
    m_buffer[m_length] = '\0';
    return m_length;
}

std::string FrameUdpMessage(std::string_view body) {
    std::string out(body);
    const uint8_t cs = UdpChecksum(body.empty() ? body : body.substr(1));
    out += '*';
    out += kHex[cs >> 4];
    out += kHex[cs & 0xF];
    out += '\n';
    return out;
}

// --- incoming -------------------------------------------------------------

std::vector<std::string> SplitUdpFields(std::string_view text) {
    std::vector<std::string> fields;
    size_t i = 0;
    for (;;) {
        std::string field;
        if (i < text.size() && text[i] == '"') {
            ++i;
            while (i < text.size()) {
                if (text[i] == '"') {
                    if (i + 1 < text.size() && text[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += text[i++];
            }
            // Anything between the closing quote and the next ',' belongs to the field.
            while (i < text.size() && text[i] != ',') field += text[i++];
        } else {
            while (i < text.size() && text[i] != ',') field += text[i++];
        }
        fields.push_back(std::move(field));
        if (i >= text.size()) break;
        ++i;  // the ','
    }
    return fields;
}

CUdpIncoming ParseUdpDatagram(std::string_view d) {
    CUdpIncoming result;
    const size_t comma = d.find(',');
    if (comma == std::string_view::npos) {
        result.why = "no ',' after the type";
        return result;
    }
    const std::string_view type = d.substr(0, comma);
    struct Command {
        const char* type;
        EUdpIncoming kind;
    };
    static constexpr Command kCommands[] = {
        {"$QXSENDER_STARTSIM", EUdpIncoming::StartSim},    {"$QXSENDER_STOPPING", EUdpIncoming::StopSim},
        {"$ZOR_QUERYPRESENT", EUdpIncoming::QueryPresent}, {"$ZOR_QUERYINOUT", EUdpIncoming::QueryInOut},
        {"$ZOR_QUERYINPUTS", EUdpIncoming::QueryInputs},   {"$ZOR_QUERYOUTPUTS", EUdpIncoming::QueryOutputs},
    };
    if (!EqualsNoCase(type, "$QXRAW")) {
        for (const Command& c : kCommands) {
            if (EqualsNoCase(type, c.type)) {
                result.kind = c.kind;
                return result;
            }
        }
        result.why = "unknown type";
        return result;
    }
    const size_t star = d.find('*');
    if (star == std::string_view::npos) {
        result.why = "no checksum";
        return result;
    }
    const uint8_t cs = UdpChecksum(d.substr(1, star - 1));
    const char expected[] = {kHex[cs >> 4], kHex[cs & 0xF], '\n'};
    if (!EqualsNoCase(d.substr(star + 1), std::string_view(expected, sizeof expected))) {
        result.why = "wrong checksum or no line feed";
        return result;
    }
    std::string_view rest = d.substr(comma + 1);
    rest = rest.substr(0, rest.find('*'));
    const std::vector<std::string> fields = SplitUdpFields(rest);
    long long id = 0;
    double value = 0.0;
    if (fields.size() < 2 || !ParseInt(fields[0], id) || !ParseDouble(fields[1], value)) {
        result.why = "id or value is not a number";
        return result;
    }
    if (id < 1 || id > INT32_MAX) {
        result.why = "no input has that id";
        return result;
    }
    result.kind = EUdpIncoming::RawValue;
    result.id = static_cast<int32_t>(id);
    result.value = value;
    return result;
}

}  // namespace zor2
