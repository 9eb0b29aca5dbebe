// The document's announcements through the real-time link, over a loopback
// socket: "$ZOR_COUNTIO" after edits of the system ports, and one project
// announcement (counts included) after an open.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <algorithm>

#include "doc_fixture.h"
#include "realtime/udp_link.h"

namespace zor2::test {
namespace {

/// The peer application: a UDP socket on a free loopback port.
class CLoopbackPeer {
  public:
    CLoopbackPeer() {
        m_fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        EXPECT_EQ(::bind(m_fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        socklen_t n = sizeof a;
        ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&a), &n);
        m_port = ntohs(a.sin_port);
    }
    ~CLoopbackPeer() { ::close(m_fd); }
    uint16_t Port() const { return m_port; }
    /// Every datagram that arrives until the line is quiet for 40 ms.
    std::vector<std::string> Drain() const {
        std::vector<std::string> out;
        for (;;) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, 40) <= 0) return out;
            std::string data(70000, '\0');
            const ssize_t n = ::recv(m_fd, data.data(), data.size(), 0);
            if (n < 0) return out;
            data.resize(static_cast<size_t>(n));
            out.push_back(data);
        }
    }

  private:
    int m_fd = -1;
    uint16_t m_port = 0;
};

TEST(DocumentLink, CountsGoOutAfterPortEditsAndWithTheLoadAnnouncement) {
    Czor2Doc doc;
    CScriptedPrompter prompter;
    doc.SetPrompter(&prompter);
    CLoopbackPeer peer;
    CUdpLink link(doc.System(), CUdpConfig{kUdpLoopback, 0, peer.Port()});
    CUdpLinkNotifier notifier(link);
    doc.SetLink(&notifier);
    ASSERT_TRUE(link.Start());
    peer.Drain();  // the start-up presence

    ASSERT_EQ(AddSystemInput(doc, {}), ECmd::Done);
    EXPECT_EQ(peer.Drain(), std::vector<std::string>{FrameUdpMessage("$ZOR_COUNTIO,1,0")});
    ASSERT_EQ(AddSystemOutputFromBar(doc), ECmd::Done);
    EXPECT_EQ(peer.Drain(), std::vector<std::string>{FrameUdpMessage("$ZOR_COUNTIO,1,1")});

    CTempFile file("linked.zr2");
    ASSERT_TRUE(doc.SaveAs(file.Path()));
    EXPECT_TRUE(peer.Drain().empty());  // saving announces nothing
    ASSERT_TRUE(doc.Open(file.Path()));
    const std::vector<std::string> sent = peer.Drain();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), FrameUdpMessage("$ZOR_COUNTIO,1,1")), 1);
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), FrameUdpMessage("$ZOR_PRESENT,0.000000"));
}

}  // namespace
}  // namespace zor2::test
