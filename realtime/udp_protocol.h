// The real-time link's text protocol without sockets: "udp.conf" parsing, the
// checksum, building outgoing messages in a fixed buffer, and reading one
// incoming datagram into a command or a value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zor2 {

/// Size of the link's message buffer; a message uses at most one byte less
/// (room for the terminator), and so does a received datagram.
inline constexpr size_t kUdpBufferSize = 2048;
inline constexpr size_t kUdpMaxMessage = kUdpBufferSize - 1;
inline constexpr uint16_t kUdpSendPort = 27019;
inline constexpr uint16_t kUdpReceivePort = 27020;
/// 127.0.0.1 in host byte order.
inline constexpr uint32_t kUdpLoopback = 0x7F000001u;

/// Where the link binds and sends. Only the address and the receive port
/// come from "udp.conf"; the send port is fixed (tests may point it elsewhere,
/// and a receive port of 0 lets the system choose one).
struct CUdpConfig {
    uint32_t address = kUdpLoopback;  // host byte order
    uint16_t receivePort = kUdpReceivePort;
    uint16_t sendPort = kUdpSendPort;
};

/// Reads the configuration text: '#' lines are skipped, each read takes at
/// most 255 characters of a line, the first other line is the IPv4 address
/// (unparsable or 0.0.0.0 gives 127.0.0.1), the next the receive port
/// (outside 1..65535 or no number gives 27020).
CUdpConfig ParseUdpConfig(std::string_view text);
/// The configuration file at `path`; the defaults when it cannot be read.
CUdpConfig ReadUdpConfig(const std::string& path);
/// Dotted form of a host-order IPv4 address.
std::string FormatIpv4(uint32_t address);

/// XOR of the bytes of a message between its leading '$' and its '*'.
uint8_t UdpChecksum(std::string_view bodyAfterDollar);

/// Builds one outgoing message in a caller-owned buffer without allocating:
/// "$TYPE", then ",field" per field, then "*", two lowercase hex digits and a
/// line feed. A message that does not fit leaves Ok() false.
class CUdpMessage {
  public:
    CUdpMessage(char* buffer, size_t capacity, std::string_view type);
    CUdpMessage& Int(int32_t v);
    /// "%f": six decimals, whatever the process locale.
    CUdpMessage& Dbl(double v);
    CUdpMessage& Str(std::string_view v);
    /// Appends '*', the checksum of everything after '$' and the line feed.
    /// Returns the length of the message, or 0 when it did not fit.
    size_t Finish();
    bool Ok() const { return m_ok; }

  private:
    void Put(std::string_view s);

    char* m_buffer;
    size_t m_capacity;
    size_t m_length = 0;
    bool m_ok = true;
};

/// A whole message as a string (tests and tools).
std::string FrameUdpMessage(std::string_view bodyWithDollar);

enum class EUdpIncoming {
    Ignored,
    RawValue,      // "$QXRAW": set a system input
    StartSim,      // "$QXSENDER_STARTSIM"
    StopSim,       // "$QXSENDER_STOPPING"
    QueryPresent,  // "$ZOR_QUERYPRESENT"
    QueryInOut,    // "$ZOR_QUERYINOUT"
    QueryInputs,   // "$ZOR_QUERYINPUTS"
    QueryOutputs,  // "$ZOR_QUERYOUTPUTS"
};

struct CUdpIncoming {
    EUdpIncoming kind = EUdpIncoming::Ignored;
    int32_t id = 0;
    double value = 0.0;
    const char* why = "";  // why a datagram was ignored (for the trace)
};

/// Reads one received datagram (already cut to at most 2047 bytes). The type
/// is the text before the first ',' compared without regard to case; only
/// "$QXRAW" carries a checked checksum, and it must end with "*", the two hex
/// digits (either case) and a line feed. An id or value that is not a number
/// makes the datagram ignored.
CUdpIncoming ParseUdpDatagram(std::string_view datagram);

/// Splits on ','; a field that starts with '"' runs to the closing '"' and
/// two '"' inside it stand for one.
std::vector<std::string> SplitUdpFields(std::string_view text);

}  // namespace zor2
