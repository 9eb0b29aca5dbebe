// The link's protocol without sockets: configuration text, message framing,
// field splitting and the reading of incoming datagrams.
#include "realtime/udp_protocol.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <fstream>

namespace zor2 {
namespace {

TEST(UdpConfig, Parsing) {
    struct Case {
        const char* name;
        std::string text;
        const char* address;
        uint16_t port;
    };
    const Case cases[] = {
        {"empty", "", "127.0.0.1", 27020},
        {"address and port", "192.168.1.20\n30000\n", "192.168.1.20", 30000},
        {"comments skipped", "# peer\n#x\n10.0.0.5\n# port\n4000\n", "10.0.0.5", 4000},
        {"crlf endings", "10.0.0.5\r\n4000\r\n", "10.0.0.5", 4000},
        {"no final newline", "10.0.0.5\n4000", "10.0.0.5", 4000},
        {"address only", "10.0.0.5\n", "10.0.0.5", 27020},
        {"any address gives loopback", "0.0.0.0\n5000\n", "127.0.0.1", 5000},
        {"unparsable address", "localhost\n5000\n", "127.0.0.1", 5000},
        {"short form is no dotted quad", "127.1\n5000\n", "127.0.0.1", 5000},
        {"port zero", "10.0.0.5\n0\n", "10.0.0.5", 27020},
        {"port too big", "10.0.0.5\n65536\n", "10.0.0.5", 27020},
        {"port highest", "10.0.0.5\n65535\n", "10.0.0.5", 65535},
        {"port negative", "10.0.0.5\n-4\n", "10.0.0.5", 27020},
        {"port not a number", "10.0.0.5\nport\n", "10.0.0.5", 27020},
        {"port with junk", "10.0.0.5\n80x\n", "10.0.0.5", 27020},
        {"empty line takes the address slot", "\n10.0.0.5\n", "127.0.0.1", 27020},
        {"later lines ignored", "10.0.0.5\n4000\n10.9.9.9\n1\n", "10.0.0.5", 4000},
        {"long comment: its tail is the next line", std::string(255, '#') + "10.0.0.7\n4100\n", "10.0.0.7",
         4100},
        {"long address line: its tail is the port line", std::string(300, '1') + "\n4100\n", "127.0.0.1",
         27020},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CUdpConfig config = ParseUdpConfig(c.text);
        EXPECT_EQ(FormatIpv4(config.address), c.address);
        EXPECT_EQ(config.receivePort, c.port);
        EXPECT_EQ(config.sendPort, kUdpSendPort);
    }
}

TEST(UdpConfig, FileOrDefaults) {
    const std::string path = ::testing::TempDir() + "udp_conf_test.conf";
    {
        std::ofstream out(path);
        out << "# link\n127.0.0.2\n28000\n";
    }
    const CUdpConfig config = ReadUdpConfig(path);
    EXPECT_EQ(FormatIpv4(config.address), "127.0.0.2");
    EXPECT_EQ(config.receivePort, 28000);
    std::remove(path.c_str());
    const CUdpConfig missing = ReadUdpConfig(path);
    EXPECT_EQ(missing.address, kUdpLoopback);
    EXPECT_EQ(missing.receivePort, kUdpReceivePort);
}

std::string Build(std::string_view type, auto&& fill) {
    char buffer[kUdpBufferSize];
    CUdpMessage m(buffer, sizeof buffer, type);
    fill(m);
    const size_t n = m.Finish();
    return std::string(buffer, n);
}

TEST(UdpMessage, Framing) {
    struct Case {
        const char* name;
        std::string built;
        std::string expected;
    };
    const Case cases[] = {
        {"present", Build("$ZOR_PRESENT", [](CUdpMessage& m) { m.Dbl(0.0); }), "$ZOR_PRESENT,0.000000*"},
        {"count", Build("$ZOR_COUNTIO", [](CUdpMessage& m) { m.Int(3).Int(2); }), "$ZOR_COUNTIO,3,2*"},
        {"out", Build("$ZOR_OUT", [](CUdpMessage& m) { m.Int(1).Int(812).Dbl(-2.5); }),
         "$ZOR_OUT,1,812,-2.500000*"},
        {"rounding", Build("$ZOR_OUT", [](CUdpMessage& m) { m.Int(1).Int(1).Dbl(1.0 / 3.0); }),
         "$ZOR_OUT,1,1,0.333333*"},
        {"big", Build("$ZOR_OUT", [](CUdpMessage& m) { m.Int(1).Int(1).Dbl(1e20); }),
         "$ZOR_OUT,1,1,100000000000000000000.000000*"},
        {"sim", Build("$ZOR_SIM", [](CUdpMessage& m) { m.Int(0).Str("Untitled").Int(12); }),
         "$ZOR_SIM,0,Untitled,12*"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Every message is its body, '*', the XOR after '$' in two lowercase digits, and a line feed.
        char cs[3];
        std::snprintf(cs, sizeof cs, "%.2x",
                      UdpChecksum(std::string_view(c.expected).substr(1, c.expected.size() - 2)));
        EXPECT_EQ(c.built, c.expected + cs + "\n");
        EXPECT_EQ(FrameUdpMessage(c.expected.substr(0, c.expected.size() - 1)), c.built);
    }
    // A known value, worked by hand: 'A' ^ 'B' = 0x03.
    EXPECT_EQ(FrameUdpMessage("$AB"), "$AB*03\n");
}

TEST(UdpMessage, NumbersIgnoreTheProcessLocale) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    bool switched = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "ru_RU.UTF-8"})
        if (!switched) switched = std::setlocale(LC_NUMERIC, name) != nullptr;
    const std::string built = Build("$ZOR_OUT", [](CUdpMessage& m) { m.Int(1).Int(2).Dbl(3.25); });
    const CUdpIncoming in = ParseUdpDatagram(FrameUdpMessage("$QXRAW,5,3.25"));
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(built.substr(0, built.find('*')), "$ZOR_OUT,1,2,3.250000");
    EXPECT_EQ(in.value, 3.25);
    if (!switched) GTEST_SKIP() << "no decimal-comma locale installed; checked under the C locale only";
}

TEST(UdpMessage, TooLongIsNotBuilt) {
    const std::string name(kUdpBufferSize, 'n');
    EXPECT_EQ(Build("$ZOR_IDETAIL", [&](CUdpMessage& m) { m.Int(1).Str(name).Int(1); }), "");
    // The longest message that still fits leaves room for the terminator.
    const std::string fits(kUdpMaxMessage - std::string("$X,*00\n").size(), 'n');
    EXPECT_EQ(Build("$X", [&](CUdpMessage& m) { m.Str(fits); }).size(), kUdpMaxMessage);
    EXPECT_EQ(Build("$X", [&](CUdpMessage& m) { m.Str(fits + "n"); }), "");
}

TEST(UdpMessage, StarInANameDoesNotCutTheMessage) {
    const std::string built = Build("$ZOR_IDETAIL", [](CUdpMessage& m) { m.Int(4).Str("a*b").Int(1); });
    EXPECT_EQ(built, FrameUdpMessage("$ZOR_IDETAIL,4,a*b,1"));
    EXPECT_EQ(built.substr(0, built.rfind('*')), "$ZOR_IDETAIL,4,a*b,1");
}

TEST(UdpFields, Splitting) {
    struct Case {
        const char* text;
        std::vector<std::string> fields;
    };
    const Case cases[] = {
        {"5,3.25", {"5", "3.25"}},
        {"", {""}},
        {"a,,b", {"a", "", "b"}},
        {"\"x,y\",2", {"x,y", "2"}},
        {"\"say \"\"hi\"\"\",1", {"say \"hi\"", "1"}},
        {"\"open", {"open"}},
        {"\"q\"tail,2", {"qtail", "2"}},
        {"1,", {"1", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(SplitUdpFields(c.text), c.fields);
    }
}

TEST(UdpIncoming, Reading) {
    const std::string raw = FrameUdpMessage("$QXRAW,5,3.25");
    std::string upper = raw;
    const size_t star = raw.find('*');
    for (size_t i = star + 1; i < raw.size(); ++i) upper[i] = static_cast<char>(std::toupper(raw[i]));
    struct Case {
        const char* name;
        std::string datagram;
        EUdpIncoming kind;
        int32_t id;
        double value;
    };
    const Case cases[] = {
        {"raw value", raw, EUdpIncoming::RawValue, 5, 3.25},
        {"upper-case checksum", upper, EUdpIncoming::RawValue, 5, 3.25},
        {"lower-case type", FrameUdpMessage("$qxraw,7,-1e3"), EUdpIncoming::RawValue, 7, -1000.0},
        {"quoted fields", FrameUdpMessage("$QXRAW,\"9\",\"0.5\""), EUdpIncoming::RawValue, 9, 0.5},
        {"extra fields", FrameUdpMessage("$QXRAW,9,0.5,zzz"), EUdpIncoming::RawValue, 9, 0.5},
        {"no line feed", raw.substr(0, raw.size() - 1), EUdpIncoming::Ignored, 0, 0},
        {"crlf", raw.substr(0, raw.size() - 1) + "\r\n", EUdpIncoming::Ignored, 0, 0},
        {"trailing byte", raw + "x", EUdpIncoming::Ignored, 0, 0},
        {"wrong checksum", "$QXRAW,5,3.25*00\n", EUdpIncoming::Ignored, 0, 0},
        {"no checksum", "$QXRAW,5,3.25\n", EUdpIncoming::Ignored, 0, 0},
        {"id not a number", FrameUdpMessage("$QXRAW,five,3.25"), EUdpIncoming::Ignored, 0, 0},
        {"value not a number", FrameUdpMessage("$QXRAW,5,abc"), EUdpIncoming::Ignored, 0, 0},
        {"value nan", FrameUdpMessage("$QXRAW,5,nan"), EUdpIncoming::Ignored, 0, 0},
        {"value inf", FrameUdpMessage("$QXRAW,5,inf"), EUdpIncoming::Ignored, 0, 0},
        {"value missing", FrameUdpMessage("$QXRAW,5"), EUdpIncoming::Ignored, 0, 0},
        {"id zero", FrameUdpMessage("$QXRAW,0,1"), EUdpIncoming::Ignored, 0, 0},
        {"id negative", FrameUdpMessage("$QXRAW,-3,1"), EUdpIncoming::Ignored, 0, 0},
        {"id beyond int32", FrameUdpMessage("$QXRAW,99999999999,1"), EUdpIncoming::Ignored, 0, 0},
        {"query present lower case", "$zor_querypresent,", EUdpIncoming::QueryPresent, 0, 0},
        {"query present without comma", "$ZOR_QUERYPRESENT", EUdpIncoming::Ignored, 0, 0},
        {"query with junk after comma", "$ZOR_QUERYINOUT,junk*zz", EUdpIncoming::QueryInOut, 0, 0},
        {"query inputs", "$ZOR_QUERYINPUTS,\n", EUdpIncoming::QueryInputs, 0, 0},
        {"query outputs", "$ZOR_QueryOutputs,", EUdpIncoming::QueryOutputs, 0, 0},
        {"start", "$QXSENDER_STARTSIM,1", EUdpIncoming::StartSim, 0, 0},
        {"stop", "$qxsender_stopping,", EUdpIncoming::StopSim, 0, 0},
        {"unknown type", "$ZOR_OUT,1,2,3", EUdpIncoming::Ignored, 0, 0},
        {"empty type", ",", EUdpIncoming::Ignored, 0, 0},
        {"empty", "", EUdpIncoming::Ignored, 0, 0},
        {"only star", "*", EUdpIncoming::Ignored, 0, 0},
        {"raw only", "$QXRAW,", EUdpIncoming::Ignored, 0, 0},
        {"star before comma", "$QXRAW*,5,1", EUdpIncoming::Ignored, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CUdpIncoming in = ParseUdpDatagram(c.datagram);
        EXPECT_EQ(in.kind, c.kind);
        if (c.kind == EUdpIncoming::RawValue) {
            EXPECT_EQ(in.id, c.id);
            EXPECT_EQ(in.value, c.value);
        }
        if (c.kind == EUdpIncoming::Ignored) {
            EXPECT_STRNE(in.why, "");
        }
    }
}

}  // namespace
}  // namespace zor2
