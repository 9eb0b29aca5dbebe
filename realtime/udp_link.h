// CUdpLink: the real-time link to a peer application over UDP/IPv4 — it
// announces the system, reports every cycle's outputs, and takes input values
// and simulator commands. Reading is driven by the owner's event loop.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/system.h"
#include "realtime/udp_protocol.h"
#include "simulation/sim_controller.h"

namespace zor2 {

/// The link. It hooks itself to the system as its cycle observer (one
/// "$ZOR_OUT" per eligible output while enabled and one "$ZOR_SIM" after every
/// cycle) and, once attached, to the simulator as its stop listener
/// ("$ZOR_SIMSTOPPED"). Single-threaded: every call comes from the owner's loop.
class CUdpLink final : public ICycleObserver, public ISimStopListener {
  public:
    CUdpLink(CSystem& system, CUdpConfig config = {});
    ~CUdpLink() override;
    CUdpLink(const CUdpLink&) = delete;
    CUdpLink& operator=(const CUdpLink&) = delete;

    /// Creates the receive socket (address reuse, bound to the address and
    /// receive port, non-blocking) and the send socket, then sends
    /// "$ZOR_PRESENT" when the bind succeeded. Returns whether it did; on
    /// failure the trace says why and the link runs without a bound socket.
    bool Start();
    /// Sends "$ZOR_SHUTDOWN" and closes the receive, then the send socket.
    /// Safe to call twice; the destructor calls it.
    void Shutdown();

    /// The simulator that "$QXSENDER_STARTSIM" (Run, while not active) and
    /// "$QXSENDER_STOPPING" (Stop, in every state, answered by "$ZOR_SIMSTOPPED") drive.
    void Attach(CSimController* simulator);

    // Reading. The owner watches ReadFd() for readability while WantsRead()
    // holds (a disabled link reads nothing, so its descriptor must not be
    // watched then) and calls OnReadReady() when it is readable.
    int ReadFd() const { return m_bound ? m_receiveFd : -1; }
    bool WantsRead() const { return m_bound && m_enabled; }
    /// Reads and handles the datagrams waiting (at most `limit`), returns how
    /// many were read. Reads nothing while the link is disabled.
    int OnReadReady(int limit = 64);
    /// Handles one received datagram as OnReadReady does with each it reads
    /// (tests and the fuzz target feed it directly).
    void HandleDatagram(std::string_view datagram);

    // The enabled flag gates reading and "$ZOR_OUT" only.
    bool Enabled() const { return m_enabled; }
    /// Inverts the flag and sends "$ZOR_ENABLED" or "$ZOR_DISABLED"; returns the new flag.
    bool ToggleEnabled();

    // Outgoing messages; each returns whether a datagram went out.
    bool SendPresent();
    bool SendCountIO();
    /// One "$ZOR_IDETAIL" per system input; returns how many were sent.
    int SendInputDetails();
    /// One "$ZOR_ODETAIL" per system output not fed by an array; returns how many were sent.
    int SendOutputDetails();
    bool SendSimStopped();
    bool SendShutdown();
    /// After a project is loaded: presence, counts, input and output details.
    void AnnounceProject();

    /// True when the system output's feeding module output carries array data
    /// (such outputs never appear in "$ZOR_ODETAIL" or "$ZOR_OUT").
    static bool IsArrayFed(const CExternalOutput& output);

    void OnCycle(const CSystem& system) override;
    void OnSimulationStopped() override { SendSimStopped(); }
    void OnSimulatorGone() override { m_simulator = nullptr; }

    const CUdpConfig& Config() const { return m_config; }
    /// The receive port actually bound (the configured one, or the system's
    /// choice when 0 was configured); 0 when not bound.
    uint16_t BoundPort() const { return m_boundPort; }
    bool Bound() const { return m_bound; }
    bool ReuseSet() const { return m_reuseSet; }

    // Counters for diagnostics and tests.
    size_t m_sent = 0;
    size_t m_sendFailures = 0;
    size_t m_oversized = 0;
    size_t m_received = 0;
    size_t m_ignored = 0;

  private:
    bool SendBuffer(size_t length);
    bool SendSimple(std::string_view type);

    CSystem& m_system;
    CUdpConfig m_config;
    CSimController* m_simulator = nullptr;
    int m_receiveFd = -1;
    int m_sendFd = -1;
    bool m_bound = false;
    bool m_reuseSet = false;
    bool m_enabled = true;
    bool m_shutDown = false;
    uint16_t m_boundPort = 0;
    char m_buffer[kUdpBufferSize] = {};
};

}  // namespace zor2
