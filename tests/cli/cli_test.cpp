// zor21-cli end to end on the example projects: run (values, options, inputs
// files, saving), resave, export, info, serve over loopback, help and errors.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <functional>
#include <sstream>

#include "cli_process.h"
#include "engine/system.h"
#include "persistence/module_file.h"
#include "persistence/project_file.h"
#include "persistence/runtime_export.h"
#include "realtime/udp_protocol.h"

namespace zor2 {
namespace {

CResult Cli(const std::vector<std::string>& args, const std::string& cwd) {
    return Finish(Spawn(args, cwd), cwd);
}

CResult Zor2Run(const std::vector<std::string>& args, const std::string& cwd) {
    return Finish(Spawn(args, cwd, ZOR2RUN), cwd);
}

std::string Example(const char* name) {
    return std::string(ZOR2_BUILT_EXAMPLES) + "/" + name + ".zr2";
}

/// Ids of an example's system inputs and outputs, in list order.
struct CIds {
    std::vector<int32_t> inputs, outputs;
};
CIds IdsOf(const std::string& path) {
    CSystem s;
    EXPECT_TRUE(LoadProjectFile(s, path)) << path;
    CIds ids;
    for (const CExternalInput* p : s.m_inputs) ids.inputs.push_back(p->m_id);
    for (const CExternalOutput* q : s.m_outputs) ids.outputs.push_back(q->m_id);
    return ids;
}

std::string Header(const CIds& ids) {
    std::string h = "cycle";
    for (int32_t id : ids.outputs) h += "," + std::to_string(id);
    return h + "\n";
}

std::string FullPrecision(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

/// What the ramp example prints: a behaviour adds 1/rate to level each cycle, doubled.
std::string RampRows(int rate, int cycles, bool behaviors) {
    std::string rows;
    double level = 0.0;
    for (int k = 1; k <= cycles; ++k) {
        if (behaviors) level = level + 1.0 / static_cast<double>(rate);
        rows += std::to_string(k) + "," + FullPrecision(level * 2.0) + "\n";
    }
    return rows;
}

TEST(CliRun, OutputsPerCycle) {
    const std::string dir = ScratchDir();
    const CIds celsius = IdsOf(Example("celsius"));
    const CIds acc = IdsOf(Example("accumulator"));
    const CIds two = IdsOf(Example("two_stage"));
    const CIds ramp = IdsOf(Example("ramp"));
    ASSERT_EQ(celsius.inputs.size(), 1u);
    ASSERT_EQ(two.inputs.size(), 2u);
    WriteText(dir + "/rows.csv",
              std::to_string(two.inputs[0]) + "," + std::to_string(two.inputs[1]) + "\n1,1\n2.5,\n,-0.5\n");
    struct Case {
        const char* name;
        const char* example;
        std::vector<std::string> args;
        const CIds& ids;
        std::string rows;
    };
    const Case cases[] = {
        {"three cycles", "celsius", {"--cycles", "3"}, celsius, "1,68\n2,68\n3,68\n"},
        {"no cycles", "celsius", {"--cycles", "0"}, celsius, ""},
        {"set an input",
         "celsius",
         {"--cycles", "2", "--set", std::to_string(celsius.inputs[0]) + "=100"},
         celsius,
         "1,212\n2,212\n"},
        {"set negative",
         "celsius",
         {"--set", std::to_string(celsius.inputs[0]) + "=-40", "--cycles", "1"},
         celsius,
         "1,-40\n"},
        {"feedback loop", "accumulator", {"--cycles", "4", "--rate", "20"}, acc, "1,0.5\n2,1\n3,1.5\n4,2\n"},
        {"two levels", "two_stage", {"--cycles", "2"}, two, "1,7,-70\n2,7,-70\n"},
        {"inputs file",
         "two_stage",
         {"--cycles", "4", "--inputs", "rows.csv"},
         two,
         "1,2,-20\n2,3.5,-35\n3,2,-20\n4,2,-20\n"},
        {"set then inputs file",
         "two_stage",
         {"--cycles", "1", "--set", std::to_string(two.inputs[0]) + "=9", "--inputs", "rows.csv"},
         two,
         "1,2,-20\n"},
        {"behaviour at the default rate", "ramp", {"--cycles", "12"}, ramp, RampRows(10, 12, true)},
        {"behaviour at rate 3", "ramp", {"--cycles", "4", "--rate", "3"}, ramp, RampRows(3, 4, true)},
        {"behaviour at rate 20", "ramp", {"--cycles", "25", "--rate", "20"}, ramp, RampRows(20, 25, true)},
        {"no behaviours", "ramp", {"--cycles", "3", "--no-behaviors"}, ramp, RampRows(10, 3, false)},
        {"set under a behaviour",
         "ramp",
         {"--cycles", "1", "--set", std::to_string(ramp.inputs[0]) + "=5"},
         ramp,
         "1," + FullPrecision((5.0 + 0.1) * 2.0) + "\n"},
        {"full precision",
         "celsius",
         {"--cycles", "1", "--set", std::to_string(celsius.inputs[0]) + "=0.1"},
         celsius,
         "1," + FullPrecision(0.1 * 1.8 + 32.0) + "\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args = {"run", Example(c.example)};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CResult r = Cli(args, dir);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, Header(c.ids) + c.rows);
        EXPECT_EQ(r.err, "");
    }
}

TEST(CliRun, SaveAfterTheRunKeepsTheBehaviourFlag) {
    const std::string dir = ScratchDir();
    const CResult r =
        Cli({"run", Example("ramp"), "--cycles", "3", "--no-behaviors", "--save", "after.zr2"}, dir);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    CSystem saved;
    ASSERT_TRUE(LoadProjectFile(saved, dir + "/after.zr2"));
    EXPECT_TRUE(saved.m_behaviorsEnabled);
    EXPECT_EQ(saved.m_name, "ramp");
    EXPECT_EQ(saved.m_behaviors.m_behaviors.Size(), 1u);
    const CResult again = Cli({"run", "after.zr2", "--cycles", "2"}, dir);
    EXPECT_EQ(again.out, Header(IdsOf(Example("ramp"))) + RampRows(10, 2, true));
}

TEST(CliErrors, ClearMessageExitOneNothingOnStdout) {
    const std::string dir = ScratchDir();
    const CIds two = IdsOf(Example("two_stage"));
    WriteText(dir + "/bad_header.csv", "999999\n1\n");
    WriteText(dir + "/bad_value.csv", std::to_string(two.inputs[0]) + "\n1\nabc\n");
    WriteText(dir + "/too_many.csv", std::to_string(two.inputs[0]) + "\n1,2\n");
    WriteText(dir + "/garbage.zr2", "this is no project");
    WriteText(dir + "/garbage.z2r", std::string(7, '\x01'));
    const std::string ex = Example("two_stage");
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const Case cases[] = {
        {{}, "usage: zor21-cli"},
        {{"bogus"}, "unknown command \"bogus\""},
        {{"run", ex}, "--cycles N is required"},
        {{"run", "--cycles", "2"}, "the project file is missing"},
        {{"run", ex, "--cycles", "-1"}, "--cycles must be a whole number"},
        {{"run", ex, "--cycles", "two"}, "--cycles must be a whole number"},
        {{"run", ex, "--cycles"}, "--cycles needs a value"},
        {{"run", ex, "--cycles", "1", "--rate", "0"}, "--rate must be a whole number from 1 to 20"},
        {{"run", ex, "--cycles", "1", "--rate", "21"}, "--rate must be a whole number from 1 to 20"},
        {{"run", ex, "--cycles", "1", "--set", "12"}, "--set needs ID=VALUE"},
        {{"run", ex, "--cycles", "1", "--set", "1=2"}, "no system input with id 1"},
        {{"run", ex, "--cycles", "1", "--set", std::to_string(two.inputs[0]) + "=x"}, "is not a number"},
        {{"run", ex, "--cycles", "1", "--set", std::to_string(two.inputs[0]) + "=nan"}, "is not a number"},
        {{"run", ex, "--cycles", "1", "--inputs", "missing.csv"}, "Cannot open missing.csv"},
        {{"run", ex, "--cycles", "1", "--inputs", "bad_header.csv"}, "no system input with id 999999"},
        {{"run", ex, "--cycles", "1", "--inputs", "bad_value.csv"},
         "line 3, column 1: \"abc\" is not a finite decimal number"},
        {{"run", ex, "--cycles", "1", "--inputs", "too_many.csv"}, "more fields than the header names"},
        {{"run", ex, "--cycles", "1", "--frobnicate"}, "unknown option --frobnicate"},
        {{"run", "nowhere.zr2", "--cycles", "1"}, "nowhere.zr2"},
        {{"run", "garbage.zr2", "--cycles", "1"}, "garbage.zr2"},
        {{"resave", ex}, "expected 2 file names, got 1"},
        {{"resave", "garbage.zr2", "out.zr2"}, "garbage.zr2"},
        {{"export", ex}, "expected 2 file names"},
        {{"export", ex, "/nonexistent-folder/x.z2r"}, "cannot write /nonexistent-folder/x.z2r"},
        {{"info"}, "expected 1 file name, got 0"},
        {{"info", "notes.txt"}, "is not a .zr2, .zrm or .z2r file"},
        {{"info", "garbage.z2r"}, "at byte"},
        {{"info", "garbage.zr2"}, "garbage.zr2"},
        {{"serve"}, "the project file is missing"},
        {{"serve", ex, "--rate", "99"}, "--rate must be a whole number from 1 to 20"},
        {{"serve", "nowhere.zr2"}, "nowhere.zr2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args[0] + " " + (c.args.size() > 1 ? c.args.back() : ""));
        const CResult r = Cli(c.args, dir);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(std::ifstream(dir + "/out.zr2").good());
}

TEST(CliRun, BothToolsReadAnInputsFileByOneRule) {
    const std::string dir = ScratchDir();
    const std::string ex = Example("two_stage");
    ASSERT_EQ(Cli({"export", ex, "two.z2r"}, dir).exitCode, 0);
    const CIds two = IdsOf(ex);
    const std::string a = std::to_string(two.inputs[0]), b = std::to_string(two.inputs[1]);
    // The runtime file carries no input values: every case sets both inputs first.
    struct Case {
        const char* name;
        std::string text;
        std::string refusedAt;  // "line L, column C", or empty when both take the file
    };
    const Case cases[] = {
        {"plain", a + "," + b + "\n1,2\n,3\n", ""},
        {"byte-order mark skipped", "\xEF\xBB\xBF" + a + "," + b + "\n4,5\n", ""},
        {"blanks, sign and quotes", a + "," + b + "\n +1.5 ,\"-2e3\"\r\n", ""},
        {"empty line leaves every input", a + "," + b + "\n1,2\n\n3\n", ""},
        {"NUL byte", a + "\n1" + std::string(1, '\0') + "2\n", "line 2, column 2"},
        {"nan", a + "\nnan\n", "line 2, column 1"},
        {"inf", a + "\n-inf\n", "line 2, column 1"},
        {"beyond a double", a + "\n1e999\n", "line 2, column 1"},
        {"hexadecimal", a + "\n0x10\n", "line 2, column 1"},
        {"header id with a point", a + ".0\n1\n", "line 1, column 1"},
        {"trailing empty header field", a + ",\n1\n", "line 1, column " + std::to_string(a.size() + 2)},
        {"unterminated quote", a + "\n\"1\n", "line 2, column 1"},
        {"text after a quote", a + "\n\"1\"2\n", "line 2, column 4"},
        {"more fields than ids", a + "\n1,2\n", "line 2, column 3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteText(dir + "/in.csv", c.text);
        const CResult cli = Cli({"run", ex, "--cycles", "3", "--no-behaviors", "--inputs", "in.csv"}, dir);
        const CResult run = Zor2Run({"two.z2r", "--cycles", "3", "--inputs", "in.csv"}, dir);
        if (c.refusedAt.empty()) {
            EXPECT_EQ(cli.exitCode, 0) << cli.err;
            EXPECT_EQ(run.exitCode, 0) << run.err;
            EXPECT_EQ(cli.out, run.out);
            continue;
        }
        EXPECT_EQ(cli.exitCode, 1);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(cli.err.find(c.refusedAt), std::string::npos) << cli.err;
        EXPECT_NE(run.err.find(c.refusedAt), std::string::npos) << run.err;
    }
    // A device is refused at once, not read without end.
    const CResult cli = Cli({"run", ex, "--cycles", "1", "--inputs", "/dev/zero"}, dir);
    const CResult run = Zor2Run({"two.z2r", "--cycles", "1", "--inputs", "/dev/zero"}, dir);
    EXPECT_NE(cli.err.find("/dev/zero: not a regular file"), std::string::npos) << cli.err;
    EXPECT_NE(run.err.find("/dev/zero: not a regular file"), std::string::npos) << run.err;
}

TEST(CliHelp, EveryCommand) {
    const std::string dir = ScratchDir();
    const char* commands[] = {"run",    "resave",  "export",    "info",          "serve",
                              "verify", "to-json", "from-json", "import-inputs", "import-outputs"};
    for (const char* c : commands) {
        SCOPED_TRACE(c);
        for (const char* flag : {"--help", "-h"}) {
            const CResult r = Cli({c, flag}, dir);
            EXPECT_EQ(r.exitCode, 0);
            EXPECT_EQ(r.out.rfind(std::string("usage: zor21-cli ") + c, 0), 0u) << r.out;
            EXPECT_EQ(r.err, "");
        }
        // Help wins over whatever else stands on the line.
        EXPECT_EQ(Cli({c, "nowhere.zr2", "--help"}, dir).exitCode, 0);
    }
    const CResult top = Cli({"--help"}, dir);
    EXPECT_EQ(top.exitCode, 0);
    for (const char* c : commands)
        EXPECT_NE(top.out.find(std::string("  ") + c + " "), std::string::npos) << c;
}

TEST(CliFiles, ResaveIsByteIdentical) {
    const std::string dir = ScratchDir();
    for (const char* name : {"celsius", "accumulator", "two_stage", "ramp"}) {
        SCOPED_TRACE(name);
        const CResult r = Cli({"resave", Example(name), "copy.zr2"}, dir);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(ReadText(dir + "/copy.zr2"), ReadText(Example(name)));
    }
}

TEST(CliFiles, ImportsTextFormAndReport) {
    const std::string dir = ScratchDir();
    const std::string ex = Example("two_stage");
    WriteText(dir + "/ports.csv", "name,category\ntemp,Sensors\nhum,sensors\n");
    WriteText(dir + "/short.csv", "name,category\ntemp,Sensors\nlonely\n");
    WriteText(dir + "/bad.json",
              "{\"format\": \"zor2 project text\", \"version\": 1, \"records\": [\n{\"system\": [1]}\n]}\n");
    struct Case {
        std::vector<std::string> args;
        int exit;
        std::string out;      // standard output starts with it
        const char* written;  // the file the command writes, or that must not exist
    } const cases[] = {
        {{"import-inputs", ex, "ports.csv", "-o", "in.zr2"}, 0, "Imported: 2 system inputs\n", "in.zr2"},
        {{"import-outputs", ex, "ports.csv", "-o", "out.zr2", "--answer", "no"},
         0,
         "Imported: 2 system outputs\n",
         "out.zr2"},
        {{"import-inputs", ex, "short.csv", "-o", "short.zr2"}, 1, "", "short.zr2"},
        {{"import-inputs", ex, "missing.csv", "-o", "missing.zr2"}, 1, "", "missing.zr2"},
        {{"import-inputs", ex, "ports.csv", "--answer", "maybe"}, 1, "", nullptr},
        {{"to-json", ex, "p.json"}, 0, "", "p.json"},
        {{"from-json", "p.json", "back.zr2"}, 0, "", "back.zr2"},
        {{"from-json", "bad.json", "bad.zr2"}, 1, "", "bad.zr2"},
        {{"export", ex, "two.z2r"},
         0,
         "Runtime AI File: two.z2r\nManifest File: ZOR2_RT_MANIFEST_two.txt\n",
         "two.z2r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[2]);
        const CResult r = Cli(c.args, dir);
        EXPECT_EQ(r.exitCode, c.exit) << r.err;
        EXPECT_EQ(r.out.rfind(c.out, 0), 0u) << r.out;
        if (c.written) {
            EXPECT_EQ(::access((dir + "/" + c.written).c_str(), F_OK) == 0, c.exit == 0);
        }
    }
    EXPECT_EQ(ReadText(dir + "/back.zr2"), ReadText(ex));
    EXPECT_NE(
        Cli({"from-json", "bad.json", "bad.zr2"}, dir).err.find("line 2, key \"system\": the record ends"),
        std::string::npos);
    const std::string report = Cli({"export", ex, "two.z2r"}, dir).out;
    for (const char* line :
         {"Runtime file size: ", "Components: 4\n", "Runtime memory once loaded: ", "One cycle: "})
        EXPECT_NE(report.find(line), std::string::npos) << line << "\n" << report;
    CSystem system;
    ASSERT_TRUE(LoadProjectFile(system, dir + "/in.zr2"));
    EXPECT_EQ(system.m_inputs.Size(), 4u);
}

TEST(CliFiles, ExportWritesRuntimeFileAndManifest) {
    const std::string dir = ScratchDir();
    for (const char* name : {"celsius", "accumulator", "two_stage", "ramp"}) {
        SCOPED_TRACE(name);
        const CResult r = Cli({"export", Example(name), "sys.z2r"}, dir);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        EXPECT_EQ(r.err, "");  // no CSV components in the examples
        CSystem system;
        ASSERT_TRUE(LoadProjectFile(system, Example(name)));
        const std::vector<uint8_t> expected = ExportRuntimeBytes(system);
        EXPECT_EQ(ReadText(dir + "/sys.z2r"), std::string(expected.begin(), expected.end()));
        const std::string manifest = ReadText(dir + "/ZOR2_RT_MANIFEST_sys.txt");
        ASSERT_GE(manifest.size(), 2u);
        EXPECT_EQ(manifest.substr(0, 2), "\xff\xfe");
        EXPECT_NE(r.out.find("ZOR2_RT_MANIFEST_sys.txt"), std::string::npos);
    }
}

TEST(CliInfo, SummariesOfEveryFileKind) {
    const std::string dir = ScratchDir();
    ASSERT_EQ(Cli({"export", Example("two_stage"), "two.z2r"}, dir).exitCode, 0);
    {
        CSystem system;
        ASSERT_TRUE(LoadProjectFile(system, Example("two_stage")));
        ASSERT_TRUE(ExportModuleFile(*system.m_modules.At(1), dir + "/scale.zrm"));
    }
    const CIds ids = IdsOf(Example("two_stage"));
    struct Case {
        const char* file;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"two_stage.zr2",
         {"project \"two_stage\"", "\"sum\": level 1", "\"scale\": level 2",
          "type 21 (Add Input Values), stage 1", "type 88 (Reverse Sign), stage 3",
          "input " + std::to_string(ids.inputs[0]) + " \"a\"",
          "output " + std::to_string(ids.outputs[1]) + " \"scaled\"", "module connections: 1"}},
        {"two.z2r",
         {"runtime file", "\"sum\": level 1", "\"scale\": level 2",
          "type 23 (Multiply Input Values), stage 2", "input " + std::to_string(ids.inputs[1]) + " \"b\"",
          "output " + std::to_string(ids.outputs[0]) + " \"sum\"", "module connections: 1"}},
        {"scale.zrm", {"module file", "\"scale\"", "type 88 (Reverse Sign)", "module output"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string path = std::string(c.file) == "two_stage.zr2" ? Example("two_stage") : c.file;
        const CResult r = Cli({"info", path}, dir);
        EXPECT_EQ(r.exitCode, 0) << r.err;
        for (const std::string& e : c.expected)
            EXPECT_NE(r.out.find(e), std::string::npos) << e << "\n" << r.out;
    }
}

TEST(CliInfo, TruncatedRuntimeFilesFailCleanly) {
    const std::string dir = ScratchDir();
    ASSERT_EQ(Cli({"export", Example("two_stage"), "two.z2r"}, dir).exitCode, 0);
    const std::string whole = ReadText(dir + "/two.z2r");
    // A handful of cut points across the records, plus one extra byte.
    for (size_t cut :
         {size_t(0), size_t(19), size_t(21), whole.size() / 3, whole.size() / 2, whole.size() - 1}) {
        SCOPED_TRACE(cut);
        WriteText(dir + "/cut.z2r", whole.substr(0, cut));
        const CResult r = Cli({"info", "cut.z2r"}, dir);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_NE(r.err.find("at byte"), std::string::npos) << r.err;
        EXPECT_EQ(r.out, "");
    }
    WriteText(dir + "/long.z2r", whole + "x");
    EXPECT_NE(Cli({"info", "long.z2r"}, dir).err.find("1 bytes follow the last record"), std::string::npos);
}

// --- serve ----------------------------------------------------------------

/// The peer: a socket on the fixed send port of a loopback address nobody else
/// uses (the send port cannot be configured; the address can), and the
/// receive port the tool binds on that address.
class CPeer {
  public:
    CPeer() {
        // 127.0.0.0/8 is loopback: a test picks its own host part so that another
        // program holding the send port on 127.0.0.1 does not stand in its way.
        for (uint32_t host = 2 + static_cast<uint32_t>(::getpid()) % 60000; host < 0xFFFFFF && m_fd < 0;
             host += 4099) {
            m_address = (127u << 24) | host;
            const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
            if (::bind(fd, Address(kUdpSendPort), sizeof(sockaddr_in)) == 0)
                m_fd = fd;
            else
                ::close(fd);
        }
        // The tool's receive port: a free one on the same address.
        const int probe = ::socket(AF_INET, SOCK_DGRAM, 0);
        ::bind(probe, Address(0), sizeof(sockaddr_in));
        sockaddr_in a{};
        socklen_t n = sizeof a;
        ::getsockname(probe, reinterpret_cast<sockaddr*>(&a), &n);
        ::close(probe);
        m_receivePort = ntohs(a.sin_port);
    }
    ~CPeer() { ::close(m_fd); }
    bool Bound() const { return m_fd >= 0; }
    uint16_t ReceivePort() const { return m_receivePort; }
    /// The udp.conf that points the tool at this peer.
    std::string Config() const { return FormatIpv4(m_address) + "\n" + std::to_string(m_receivePort) + "\n"; }

    /// Datagrams as they arrive until `done` holds for what came so far, or
    /// until nothing arrives for `quietMs` (a guard against a hang, not a verdict).
    std::vector<std::string> Receive(const std::function<bool(const std::vector<std::string>&)>& done,
                                     int quietMs = 5000) {
        while (!done(m_got)) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, quietMs) <= 0) break;
            char buffer[4096];
            const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, 0);
            if (n < 0) break;
            m_got.emplace_back(buffer, static_cast<size_t>(n));
        }
        return m_got;
    }
    /// Waits for one datagram equal to `text`.
    bool WaitFor(const std::string& text) {
        const auto has = [&](const std::vector<std::string>& got) {
            return std::find(got.begin(), got.end(), text) != got.end();
        };
        return has(Receive(has));
    }
    void Send(std::string_view text) const {
        ::sendto(m_fd, text.data(), text.size(), 0, Address(m_receivePort), sizeof(sockaddr_in));
    }

  private:
    const sockaddr* Address(uint16_t port) const {
        m_sockaddr = {};
        m_sockaddr.sin_family = AF_INET;
        m_sockaddr.sin_addr.s_addr = htonl(m_address);
        m_sockaddr.sin_port = htons(port);
        return reinterpret_cast<const sockaddr*>(&m_sockaddr);
    }

    int m_fd = -1;
    uint32_t m_address = 0;
    uint16_t m_receivePort = 0;
    mutable sockaddr_in m_sockaddr{};
    std::vector<std::string> m_got;
};

TEST(CliServe, RunsCyclesThenSaysGoodbye) {
    const std::string dir = ScratchDir();
    CPeer peer;
    ASSERT_TRUE(peer.Bound());
    WriteText(dir + "/udp.conf", "# loopback test\n" + peer.Config());
    const CResult r = Cli({"serve", Example("two_stage"), "--run", "--cycles", "3", "--rate", "20"}, dir);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(":" + std::to_string(peer.ReceivePort())), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("stopped after 3 cycles"), std::string::npos) << r.err;
    const CIds ids = IdsOf(Example("two_stage"));
    std::vector<std::string> expected = {
        FrameUdpMessage("$ZOR_PRESENT,0.000000"),
        FrameUdpMessage("$ZOR_PRESENT,0.000000"),
        FrameUdpMessage("$ZOR_COUNTIO,2,2"),
        FrameUdpMessage("$ZOR_IDETAIL," + std::to_string(ids.inputs[0]) + ",a,1"),
        FrameUdpMessage("$ZOR_IDETAIL," + std::to_string(ids.inputs[1]) + ",b,1"),
        FrameUdpMessage("$ZOR_ODETAIL," + std::to_string(ids.outputs[0]) + ",sum,1"),
        FrameUdpMessage("$ZOR_ODETAIL," + std::to_string(ids.outputs[1]) + ",scaled,1"),
    };
    for (int k = 1; k <= 3; ++k) {
        expected.push_back(FrameUdpMessage("$ZOR_OUT,1," + std::to_string(ids.outputs[0]) + ",7.000000"));
        expected.push_back(FrameUdpMessage("$ZOR_OUT,1," + std::to_string(ids.outputs[1]) + ",-70.000000"));
        expected.push_back(FrameUdpMessage("$ZOR_SIM,0,two_stage," + std::to_string(k)));
    }
    expected.push_back(FrameUdpMessage("$ZOR_SIMSTOPPED,0.000000"));
    expected.push_back(FrameUdpMessage("$ZOR_SHUTDOWN,0.000000"));
    // The tool has exited: everything it sent is waiting in the peer's socket.
    EXPECT_EQ(peer.Receive([&](const auto& got) { return got.size() >= expected.size(); }), expected);
}

TEST(CliServe, PeerStartsItAndASignalEndsIt) {
    const std::string dir = ScratchDir();
    CPeer peer;
    ASSERT_TRUE(peer.Bound());
    WriteText(dir + "/udp.conf", peer.Config());
    const CIds ids = IdsOf(Example("two_stage"));
    const std::string a = std::to_string(ids.inputs[0]);
    const std::string sum = std::to_string(ids.outputs[0]);
    const pid_t pid = Spawn({"serve", Example("two_stage"), "--rate", "20"}, dir);
    // The announcements end with the last output's details: the tool listens now.
    EXPECT_TRUE(
        peer.WaitFor(FrameUdpMessage("$ZOR_ODETAIL," + std::to_string(ids.outputs[1]) + ",scaled,1")));
    peer.Send(FrameUdpMessage("$QXRAW," + a + ",10"));
    peer.Send("$QXSENDER_STARTSIM,");
    // The run resets the system, so the value set before it is gone: a + b = 3 + 4.
    EXPECT_TRUE(peer.WaitFor(FrameUdpMessage("$ZOR_SIM,0,two_stage,1")));
    // While it runs: a new value for a, and a question.
    peer.Send(FrameUdpMessage("$QXRAW," + a + ",10"));
    peer.Send("$zor_queryinout,");
    // The value set during the run reaches the outputs: a + b = 10 + 4.
    EXPECT_TRUE(peer.WaitFor(FrameUdpMessage("$ZOR_OUT,1," + sum + ",14.000000")));
    EXPECT_TRUE(peer.WaitFor(FrameUdpMessage("$ZOR_COUNTIO,2,2")));
    ::kill(pid, SIGTERM);
    const CResult r = Finish(pid, dir, 10);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out, "");
    const std::string shutdown = FrameUdpMessage("$ZOR_SHUTDOWN,0.000000");
    const std::vector<std::string> got =
        peer.Receive([&](const auto& g) { return !g.empty() && g.back() == shutdown; });
    const auto first = std::find(got.begin(), got.end(), FrameUdpMessage("$ZOR_SIM,0,two_stage,1"));
    ASSERT_GE(first - got.begin(), 2);
    EXPECT_EQ(*(first - 2), FrameUdpMessage("$ZOR_OUT,1," + sum + ",7.000000"));
    EXPECT_TRUE(std::find(got.begin(), got.end(),
                          FrameUdpMessage("$ZOR_OUT,1," + std::to_string(ids.outputs[1]) + ",-140.000000")) !=
                got.end());
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(got[got.size() - 2], FrameUdpMessage("$ZOR_SIMSTOPPED,0.000000"));
    EXPECT_EQ(got.back(), shutdown);
}

}  // namespace
}  // namespace zor2
