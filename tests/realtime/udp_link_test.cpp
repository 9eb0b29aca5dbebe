// The real-time link over real loopback sockets on free ports: announcements,
// query answers, input values, the enabled flag, per-cycle reports, simulator
// commands, hostile datagrams and shutdown. Every wait is bounded.
#include "realtime/udp_link.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <optional>

#include "support/system_builder.h"

namespace zor2 {
namespace {

using Clock = std::chrono::steady_clock;

/// The peer application: a UDP socket on a free loopback port.
class CPeer {
  public:
    explicit CPeer(bool reuse = true) {
        m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const int one = 1;
        if (reuse) ::setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = 0;
        EXPECT_EQ(::bind(m_fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        socklen_t n = sizeof a;
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&a), &n);
        m_port = ntohs(a.sin_port);
    }
    ~CPeer() { ::close(m_fd); }
    uint16_t Port() const { return m_port; }

    void SendTo(uint16_t port, std::string_view data) const {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(port);
        ASSERT_EQ(::sendto(m_fd, data.data(), data.size(), 0, reinterpret_cast<sockaddr*>(&a), sizeof a),
                  static_cast<ssize_t>(data.size()));
    }
    std::optional<std::string> Receive(int timeoutMs) const {
        pollfd p{m_fd, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0) return std::nullopt;
        std::string data(70000, '\0');
        const ssize_t n = ::recv(m_fd, data.data(), data.size(), 0);
        if (n < 0) return std::nullopt;
        data.resize(static_cast<size_t>(n));
        return data;
    }
    /// Everything that arrives until the line is quiet for `quietMs`.
    std::vector<std::string> Drain(int quietMs = 40) const {
        std::vector<std::string> out;
        while (auto d = Receive(quietMs)) out.push_back(*d);
        return out;
    }

  private:
    int m_fd = -1;
    uint16_t m_port = 0;
};

/// Lets the link read until it has read `count` datagrams or two seconds pass.
int Pump(CUdpLink& link, int count) {
    int read = 0;
    const auto deadline = Clock::now() + std::chrono::seconds(2);
    while (read < count && Clock::now() < deadline) {
        pollfd p{link.ReadFd(), POLLIN, 0};
        if (::poll(&p, 1, 50) > 0) read += link.OnReadReady();
    }
    return read;
}

std::vector<std::string> Framed(std::initializer_list<const char*> bodies) {
    std::vector<std::string> out;
    for (const char* b : bodies) out.push_back(FrameUdpMessage(b));
    return out;
}

struct Fixture {
    CSystem system;
    CPeer peer;
    CUdpLink link{system, CUdpConfig{kUdpLoopback, 0, peer.Port()}};
    CExternalInput* speed = nullptr;
    CExternalInput* temp = nullptr;
    CExternalOutput* level = nullptr;
    CExternalOutput* samples = nullptr;

    Fixture() {
        speed = system.CreateSystemInput("speed", 1);
        speed->m_id = 5;
        speed->m_initialValue = 1.0;
        speed->SetValue(1.0);
        temp = system.CreateSystemInput("temp", 0);
        temp->m_id = 8;
        CNetwork* m = system.CreateModule("m", 0, 0);
        CNetworkModel* k = test::DropConstant(*m, 2.5);
        CNetworkModel* a = test::DropConstant(*m, 0.0);
        a->FirstOutput()->m_dataType = kDataArray;  // stands in for a signal output
        CNetworkOutput* plain = test::ExposeOutput(*m, *k, "plain");
        CNetworkOutput* array = test::ExposeOutput(*m, *a, "array");
        level = system.CreateSystemOutput("level", 1);
        level->m_id = 3;
        samples = system.CreateSystemOutput("samples", 1);
        samples->m_id = 4;
        system.ConnectSystemOutput(*m, *level, plain);
        system.ConnectSystemOutput(*m, *samples, array);
    }
    /// Starts the link and takes its first datagram.
    std::string Start() {
        EXPECT_TRUE(link.Start());
        EXPECT_TRUE(link.Bound());
        EXPECT_TRUE(link.ReuseSet());
        EXPECT_NE(link.BoundPort(), 0);
        auto first = peer.Receive(2000);
        return first ? *first : "";
    }
};

TEST(UdpLink, FirstDatagramAnnouncesPresence) {
    Fixture f;
    const std::string first = f.Start();
    // Checksum worked independently: XOR of everything between '$' and '*'.
    unsigned cs = 0;
    for (char c : std::string("ZOR_PRESENT,0.000000")) cs ^= static_cast<unsigned char>(c);
    char expected[64];
    std::snprintf(expected, sizeof expected, "$ZOR_PRESENT,0.000000*%.2x\n", cs);
    EXPECT_EQ(first, expected);
    EXPECT_TRUE(f.peer.Drain().empty());
}

TEST(UdpLink, QueryAnswers) {
    struct Case {
        const char* name;
        std::string datagram;
        std::vector<std::string> answers;
    };
    const Case cases[] = {
        {"presence", "$ZOR_QUERYPRESENT,", Framed({"$ZOR_PRESENT,0.000000"})},
        {"presence in lower case", "$zor_querypresent,", Framed({"$ZOR_PRESENT,0.000000"})},
        {"presence without comma", "$ZOR_QUERYPRESENT", {}},
        {"counts", "$ZOR_QUERYINOUT,", Framed({"$ZOR_COUNTIO,2,2"})},
        {"inputs", "$ZOR_QUERYINPUTS,anything", Framed({"$ZOR_IDETAIL,5,speed,1", "$ZOR_IDETAIL,8,temp,0"})},
        {"outputs skip the array-fed one", "$ZOR_QUERYOUTPUTS,", Framed({"$ZOR_ODETAIL,3,level,1"})},
        {"unknown type", "$ZOR_QUERYEVERYTHING,", {}},
    };
    Fixture f;
    f.Start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f.peer.SendTo(f.link.BoundPort(), c.datagram);
        EXPECT_EQ(Pump(f.link, 1), 1);
        EXPECT_EQ(f.peer.Drain(), c.answers);
    }
}

TEST(UdpLink, RawValues) {
    const std::string raw = FrameUdpMessage("$QXRAW,5,3.25");
    std::string upper = raw;
    for (size_t i = raw.find('*'); i < raw.size(); ++i) upper[i] = static_cast<char>(std::toupper(raw[i]));
    struct Case {
        const char* name;
        std::string datagram;
        double value;  // of input 5 afterwards, from 1.0
    };
    const Case cases[] = {
        {"lower-case checksum", raw, 3.25},
        {"upper-case checksum", upper, 3.25},
        {"no line feed", raw.substr(0, raw.size() - 1), 1.0},
        {"wrong checksum", "$QXRAW,5,3.25*7f\n", 1.0},
        {"unknown id", FrameUdpMessage("$QXRAW,6,3.25"), 1.0},
        {"value not a number", FrameUdpMessage("$QXRAW,5,x"), 1.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.Start();
        f.peer.SendTo(f.link.BoundPort(), c.datagram);
        EXPECT_EQ(Pump(f.link, 1), 1);
        EXPECT_EQ(f.speed->m_value, c.value);
        EXPECT_EQ(f.speed->m_initialValue, 1.0);
        EXPECT_TRUE(f.peer.Drain().empty());
    }
}

TEST(UdpLink, EveryCycleReportsOutputsAndTheCycle) {
    Fixture f;
    f.Start();
    f.system.m_systemId = 42;
    f.system.m_name = "plant";
    f.system.RunCycle();
    f.system.RunCycle();
    EXPECT_EQ(f.peer.Drain(), Framed({"$ZOR_OUT,1,3,2.500000", "$ZOR_SIM,42,plant,1", "$ZOR_OUT,1,3,2.500000",
                                      "$ZOR_SIM,42,plant,2"}));
}

TEST(UdpLink, DisabledLinkReadsNothingAndSendsNoOutputs) {
    Fixture f;
    f.Start();
    EXPECT_FALSE(f.link.ToggleEnabled());
    EXPECT_EQ(f.peer.Drain(), Framed({"$ZOR_DISABLED,0.000000"}));
    EXPECT_FALSE(f.link.WantsRead());

    f.peer.SendTo(f.link.BoundPort(), FrameUdpMessage("$QXRAW,5,7.5"));
    pollfd p{f.link.ReadFd(), POLLIN, 0};
    ASSERT_EQ(::poll(&p, 1, 2000), 1);  // it is there, and stays unread
    EXPECT_EQ(f.link.OnReadReady(), 0);
    EXPECT_EQ(f.speed->m_value, 1.0);

    f.system.RunCycle();
    EXPECT_EQ(f.peer.Drain(), Framed({"$ZOR_SIM,0,Untitled,1"}));

    EXPECT_TRUE(f.link.ToggleEnabled());
    EXPECT_EQ(f.peer.Drain(), Framed({"$ZOR_ENABLED,0.000000"}));
    EXPECT_EQ(Pump(f.link, 1), 1);  // reading resumes with what waited
    EXPECT_EQ(f.speed->m_value, 7.5);
}

TEST(UdpLink, PeerDrivesTheSimulator) {
    Fixture f;
    CManualClock clock;
    f.system.SetClock(&clock);
    CSimController sim(f.system);
    f.link.Attach(&sim);
    f.Start();

    f.peer.SendTo(f.link.BoundPort(), "$QXSENDER_STARTSIM,");
    EXPECT_EQ(Pump(f.link, 1), 1);
    EXPECT_TRUE(sim.IsActive());
    EXPECT_TRUE(f.peer.Drain().empty());

    f.peer.SendTo(f.link.BoundPort(), "$qxsender_stopping,now");
    EXPECT_EQ(Pump(f.link, 1), 1);
    EXPECT_FALSE(sim.IsActive());
    EXPECT_EQ(f.peer.Drain(), Framed({"$ZOR_SIMSTOPPED,0.000000"}));

    sim.RunStep();
    EXPECT_EQ(f.peer.Drain(), Framed({"$ZOR_SIMSTOPPED,0.000000"}));

    // A paused run is ended by the peer's stop, and a stopped one still answers.
    struct Case {
        const char* name;
        bool pausedFirst;
    };
    for (const Case c : {Case{"paused", true}, Case{"stopped", false}}) {
        SCOPED_TRACE(c.name);
        if (c.pausedFirst) {
            sim.Run();
            sim.RunOnce();
            sim.Pause();
            ASSERT_EQ(sim.State(), ESimState::Paused);
            f.peer.Drain();  // the cycle's reports
        }
        f.peer.SendTo(f.link.BoundPort(), "$QXSENDER_STOPPING,");
        EXPECT_EQ(Pump(f.link, 1), 1);
        EXPECT_EQ(sim.State(), ESimState::Stopped);
        EXPECT_EQ(f.peer.Drain(), Framed({"$ZOR_SIMSTOPPED,0.000000"}));
    }
}

TEST(UdpLink, BurstOfMalformedAndOversizedDatagramsLeavesItAnswering) {
    Fixture f;
    f.Start();
    std::vector<std::string> junk = {
        "",
        ",",
        "*",
        "$",
        std::string("\0\0\0,", 4),
        std::string("$ZOR_QUERYPRESENT\0,", 19),  // the type ends at the NUL: no ','
        "$QXRAW,",
        "$QXRAW,5",
        "$QXRAW,5,3.25*",
        "$QXRAW,5,3.25*zz\n",
        FrameUdpMessage("$QXRAW,5,nan"),
        FrameUdpMessage("$QXRAW,5,1e999"),
        FrameUdpMessage("$QXRAW,\"5"),
        FrameUdpMessage("$QXRAW,,,,,,"),
        "\xff\xfe\x80,\x01\x02",
        std::string(2047, ','),
        "$QXRAW,5," + std::string(3000, '9') + "*00\n",  // cut to 2047 bytes, so no valid ending
        std::string(2048, 'A'),
        std::string(65000, '*'),
    };
    for (int i = 0; i < 300; ++i) {
        std::string d(static_cast<size_t>(i % 97), static_cast<char>('!' + i % 90));
        if (!d.empty()) d[d.size() / 2] = ',';
        junk.push_back(d);
    }
    // A valid command cut at 2047 bytes is still a valid command.
    junk.push_back("$ZOR_QUERYPRESENT," + std::string(5000, 'x'));
    junk.push_back("$ZOR_QUERYINOUT,");
    // Read as they come, as the event loop would, so the socket's queue never overflows.
    int read = 0;
    for (const std::string& d : junk) {
        f.peer.SendTo(f.link.BoundPort(), d);
        read += f.link.OnReadReady();
    }
    const int total = static_cast<int>(junk.size());
    read += Pump(f.link, total - read);
    EXPECT_EQ(read, total);
    EXPECT_EQ(f.speed->m_value, 1.0);
    EXPECT_EQ(f.temp->m_value, 0.0);
    EXPECT_EQ(f.peer.Drain(), Framed({"$ZOR_PRESENT,0.000000", "$ZOR_COUNTIO,2,2"}));
    EXPECT_EQ(f.link.m_ignored, junk.size() - 2);

    f.peer.SendTo(f.link.BoundPort(), FrameUdpMessage("$QXRAW,8,-4.5"));
    EXPECT_EQ(Pump(f.link, 1), 1);
    EXPECT_EQ(f.temp->m_value, -4.5);
}

TEST(UdpLink, MessageLongerThanTheBufferIsNotSent) {
    Fixture f;
    f.Start();
    f.system.m_name = std::string(3000, 'n');
    f.system.RunCycle();
    EXPECT_EQ(f.peer.Drain(), Framed({"$ZOR_OUT,1,3,2.500000"}));
    EXPECT_EQ(f.link.m_oversized, 1u);
}

TEST(UdpLink, ShutdownSaysGoodbyeOnce) {
    Fixture f;
    f.Start();
    f.link.Shutdown();
    EXPECT_EQ(f.link.ReadFd(), -1);
    EXPECT_FALSE(f.link.WantsRead());
    f.link.Shutdown();
    EXPECT_EQ(f.peer.Drain(), Framed({"$ZOR_SHUTDOWN,0.000000"}));
    EXPECT_EQ(f.link.OnReadReady(), 0);
}

TEST(UdpLink, AnnouncesAProject) {
    Fixture f;
    f.Start();
    f.link.AnnounceProject();
    EXPECT_EQ(f.peer.Drain(), Framed({"$ZOR_PRESENT,0.000000", "$ZOR_COUNTIO,2,2", "$ZOR_IDETAIL,5,speed,1",
                                      "$ZOR_IDETAIL,8,temp,0", "$ZOR_ODETAIL,3,level,1"}));
}

TEST(UdpLink, FailedBindLeavesNoReadSocketAndSendsNoPresence) {
    CPeer busy(false);  // holds the port without address reuse
    CSystem system;
    CPeer peer;
    CUdpLink link(system, CUdpConfig{kUdpLoopback, busy.Port(), peer.Port()});
    EXPECT_FALSE(link.Start());
    EXPECT_FALSE(link.Bound());
    EXPECT_EQ(link.ReadFd(), -1);
    EXPECT_EQ(link.OnReadReady(), 0);
    EXPECT_TRUE(peer.Drain().empty());
    system.RunCycle();  // cycles still report
    EXPECT_EQ(peer.Drain(), Framed({"$ZOR_SIM,0,Untitled,1"}));
}

TEST(UdpLink, DestructionDetachesFromSystemAndSimulator) {
    CSystem system;
    CSimController sim(system);
    CPeer peer;
    {
        CUdpLink link(system, CUdpConfig{kUdpLoopback, 0, peer.Port()});
        link.Attach(&sim);
        link.Start();
    }
    EXPECT_EQ(peer.Drain(), Framed({"$ZOR_PRESENT,0.000000", "$ZOR_SHUTDOWN,0.000000"}));
    system.RunCycle();  // no observer left behind
    sim.Run();
    sim.Stop();
    EXPECT_TRUE(peer.Drain().empty());
}

}  // namespace
}  // namespace zor2
