// The real-time link over POSIX UDP sockets: start-up and shutdown, sending
// every message through the one buffer, and handling incoming datagrams.
#include "realtime/udp_link.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace zor2 {

namespace {
sockaddr_in MakeAddress(uint32_t address, uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(address);
    a.sin_port = htons(port);
    return a;
}

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}
}  // namespace

CUdpLink::CUdpLink(CSystem& system, CUdpConfig config) : m_system(system), m_config(config) {
    m_system.SetCycleObserver(this);
}

CUdpLink::~CUdpLink() {
    Shutdown();
    m_system.SetCycleObserver(nullptr);
    if (m_simulator) m_simulator->SetStopListener(nullptr);
}

void CUdpLink::Attach(CSimController* simulator) {
    if (m_simulator) m_simulator->SetStopListener(nullptr);
    m_simulator = simulator;
    if (m_simulator) m_simulator->SetStopListener(this);
}

bool CUdpLink::Start() {
    if (m_receiveFd >= 0 || m_sendFd >= 0) return m_bound;
    m_shutDown = false;
    m_receiveFd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_UDP);
    m_sendFd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_UDP);
    if (m_receiveFd < 0 || m_sendFd < 0) {
        Trace("CMF Create Error: UDP Manager could not init socket.\n");
        CloseFd(m_receiveFd);
        CloseFd(m_sendFd);
        return false;
    }
    const int one = 1;
    m_reuseSet = ::setsockopt(m_receiveFd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one) == 0;
    const sockaddr_in bindAddress = MakeAddress(m_config.address, m_config.receivePort);
    if (::bind(m_receiveFd, reinterpret_cast<const sockaddr*>(&bindAddress), sizeof bindAddress) != 0) {
        Trace("CMF Create Error: UDP Manager could not bind socket.\n");
        Trace("UDP bind to %s:%u failed, error %d\n", FormatIpv4(m_config.address).c_str(),
              unsigned(m_config.receivePort), errno);
        return false;
    }
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    if (::getsockname(m_receiveFd, reinterpret_cast<sockaddr*>(&bound), &length) == 0)
        m_boundPort = ntohs(bound.sin_port);
    m_bound = true;
    SendPresent();
    return true;
}

void CUdpLink::Shutdown() {
    if (m_shutDown || (m_receiveFd < 0 && m_sendFd < 0)) return;
    SendShutdown();
    CloseFd(m_receiveFd);
    CloseFd(m_sendFd);
    m_bound = false;
    m_boundPort = 0;
    m_shutDown = true;
}

bool CUdpLink::ToggleEnabled() {
    m_enabled = !m_enabled;
    SendSimple(m_enabled ? "$ZOR_ENABLED" : "$ZOR_DISABLED");
    return m_enabled;
}

// --- sending --------------------------------------------------------------

bool CUdpLink::SendBuffer(size_t length) {
    if (length == 0) {
        ++m_oversized;
        Trace("UDP message not sent: longer than the %zu-byte buffer\n", kUdpBufferSize);
        return false;
    }
    if (m_sendFd < 0) {
        ++m_sendFailures;
        Trace("UDP send failed: no socket\n");
        return false;
    }
    const sockaddr_in to = MakeAddress(m_config.address, m_config.sendPort);
    const ssize_t n = ::sendto(m_sendFd, m_buffer, length, MSG_DONTWAIT | MSG_NOSIGNAL,
                               reinterpret_cast<const sockaddr*>(&to), sizeof to);
    if (n != static_cast<ssize_t>(length)) {
        ++m_sendFailures;
        Trace("UDP send failed, error %d\n", errno);
        return false;
    }
    ++m_sent;
    Trace("UDP sent %.*s", static_cast<int>(length), m_buffer);
    return true;
}

bool CUdpLink::SendSimple(std::string_view type) {
    CUdpMessage m(m_buffer, sizeof m_buffer, type);
    return SendBuffer(m.Dbl(0.0).Finish());
}

bool CUdpLink::SendPresent() {
    return SendSimple("$ZOR_PRESENT");
}
bool CUdpLink::SendSimStopped() {
    return SendSimple("$ZOR_SIMSTOPPED");
}
bool CUdpLink::SendShutdown() {
    return SendSimple("$ZOR_SHUTDOWN");
}

bool CUdpLink::SendCountIO() {
    CUdpMessage m(m_buffer, sizeof m_buffer, "$ZOR_COUNTIO");
    m.Int(static_cast<int32_t>(m_system.m_inputs.Size()))
        .Int(static_cast<int32_t>(m_system.m_outputs.Size()));
    return SendBuffer(m.Finish());
}

int CUdpLink::SendInputDetails() {
    int sent = 0;
    for (const CExternalInput* p : m_system.m_inputs) {
        CUdpMessage m(m_buffer, sizeof m_buffer, "$ZOR_IDETAIL");
        m.Int(p->m_id).Str(p->m_name).Int(p->m_kind);
        if (SendBuffer(m.Finish())) ++sent;
    }
    return sent;
}

bool CUdpLink::IsArrayFed(const CExternalOutput& output) {
    const CNetworkOutput* mo = output.SourceOutput();
    if (!mo) return false;
    if (mo->CarriesArray()) return true;
    const CModelOutput* src = mo->SourceOutput();
    return src && src->IsArray();
}

int CUdpLink::SendOutputDetails() {
    int sent = 0;
    for (const CExternalOutput* q : m_system.m_outputs) {
        if (IsArrayFed(*q)) continue;
        CUdpMessage m(m_buffer, sizeof m_buffer, "$ZOR_ODETAIL");
        m.Int(q->m_id).Str(q->m_name).Int(q->m_kind);
        if (SendBuffer(m.Finish())) ++sent;
    }
    return sent;
}

void CUdpLink::AnnounceProject() {
    SendPresent();
    SendCountIO();
    SendInputDetails();
    SendOutputDetails();
}

void CUdpLink::OnCycle(const CSystem& system) {
    if (m_enabled) {
        for (const CExternalOutput* q : system.m_outputs) {
            if (IsArrayFed(*q)) continue;
            CUdpMessage m(m_buffer, sizeof m_buffer, "$ZOR_OUT");
            m.Int(1).Int(q->m_id).Dbl(q->m_value);
            SendBuffer(m.Finish());
        }
    }
    CUdpMessage m(m_buffer, sizeof m_buffer, "$ZOR_SIM");
    m.Int(system.m_systemId).Str(system.m_name).Int(system.m_cycleCount);
    SendBuffer(m.Finish());
}

// --- receiving ------------------------------------------------------------

int CUdpLink::OnReadReady(int limit) {
    if (!m_bound) return 0;
    if (!m_enabled) {
        Trace("UDP data waiting while the link is disabled: not read\n");
        return 0;
    }
    int read = 0;
    while (read < limit) {
        // At most 2047 bytes: a longer datagram is cut and then read like any other.
        const ssize_t n = ::recv(m_receiveFd, m_buffer, kUdpMaxMessage, MSG_DONTWAIT);
        if (n < 0) {
            if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
                Trace("UDP receive failed, error %d\n", errno);
            break;
        }
        m_buffer[n] = '\0';
        ++read;
        ++m_received;
        HandleDatagram(std::string_view(m_buffer, std::strlen(m_buffer)));
    }
    return read;
}

void CUdpLink::HandleDatagram(std::string_view datagram) {
    const CUdpIncoming in = ParseUdpDatagram(datagram);
    switch (in.kind) {
        case EUdpIncoming::Ignored:
            ++m_ignored;
            Trace("UDP datagram ignored: %s\n", in.why);
            return;
        case EUdpIncoming::RawValue:
            if (CExternalInput* p = m_system.FindSystemInput(in.id)) {
                p->SetValue(in.value);
            } else {
                ++m_ignored;
                Trace("UDP datagram ignored: no system input %d\n", in.id);
            }
            return;
        case EUdpIncoming::StartSim:
            if (m_simulator) m_simulator->Run();
            return;
        case EUdpIncoming::StopSim:
            if (m_simulator) m_simulator->StopFromPeer();
            return;
        case EUdpIncoming::QueryPresent:
            SendPresent();
            return;
        case EUdpIncoming::QueryInOut:
            SendCountIO();
            return;
        case EUdpIncoming::QueryInputs:
            SendInputDetails();
            return;
        case EUdpIncoming::QueryOutputs:
            SendOutputDetails();
            return;
    }
}

}  // namespace zor2
