// The runtime equivalence check: equivalent systems, a documented difference
// found at its first cycle, a file the runtime refuses, the project left as it
// was, the designer's command and the command line.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "algo/csv.h"
#include "components/utility/csv_data.h"
#include "components/utility/rand_gen.h"
#include "designer/command_rows.h"
#include "designer/document.h"
#include "persistence/project_file.h"
#include "persistence/runtime_export.h"
#include "support/system_builder.h"
#include "tools/runtime_report.h"
#include "tools/runtime_verify.h"

namespace zor2 {
namespace {

namespace fs = std::filesystem;

/// A module with two system inputs, the first `feeds` of them into `type`, its output as a system output.
CNetworkModel* Around(CSystem& s, int32_t type, int feeds = 2) {
    CNetwork* m = s.CreateModule("M", 0, 0);
    CNetworkModel* c = test::Drop(*m, type);
    for (const char* name : {"x", "y"}) {
        CExternalConnection* in = s.ConnectSystemInput(*s.CreateSystemInput(name, 1), *m);
        // A template input takes the first feed; the others get inputs of their own.
        CModelInput* free = c->FirstInput() && !c->FirstInput()->HasSource() ? c->FirstInput() : nullptr;
        if (feeds-- > 0) {
            EXPECT_EQ(m->RequestConnectModuleInput(*in->m_moduleInput, *c, free), 0);
        }
    }
    CNetworkOutput* mo = test::ExposeOutput(*m, *c, "out");
    EXPECT_NE(s.ConnectSystemOutput(*m, *s.CreateSystemOutput("out", 1), mo), nullptr);
    return c;
}

class Verify : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("zor2_verify_" + std::to_string(::getpid()));
        fs::create_directories(m_dir);
        m_system.SetRandom(&m_random);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    /// Inputs that change every cycle, under the system's two input ids.
    CInputTable Inputs() {
        {
            std::ofstream csv(m_dir / "in.csv");
            csv << m_system.m_inputs.Head()->m_id << "," << m_system.m_inputs.Tail()->m_id << "\n";
            for (int k = 0; k < 40; ++k) csv << (k % 7) - 3 << "," << (k * 3 % 5) * 0.5 << "\n";
        }
        CInputTable table;
        std::string error;
        EXPECT_TRUE(table.Read((m_dir / "in.csv").string(), error)) << error;
        return table;
    }

    CLcgRandom m_random{11};
    CSystem m_system;
    fs::path m_dir;
};

TEST_F(Verify, Reports) {
    struct Case {
        const char* name;
        void (*build)(CSystem&);
        CVerifyReport::EResult result;
        const char* text;  // the report starts with it
        size_t listed;
    } const cases[] = {
        {"arithmetic", [](CSystem& s) { Around(s, 21); }, CVerifyReport::EResult::Equivalent,
         "equivalent for 40 cycles\n", 0},
        {"random draws from one seed",
         [](CSystem& s) {
             auto* r = static_cast<CModelRandGen*>(Around(s, 43, 1));
             ASSERT_TRUE(r->SetDraw({-50, 50, kRandInteger, kTimingCycles, 1, false}));
         },
         CVerifyReport::EResult::Equivalent, "equivalent for 40 cycles\n", 1},
        {"time stamp from the host's clock",
         [](CSystem& s) {
             CNetworkModel* store = Around(s, 67, 1);
             CNetwork& m = *store->m_owner;
             CNetworkOutput* mo = m.CreateOutput("stamp");
             ASSERT_EQ(m.RequestConnectToModuleOutput(*store, store->FindOutput(30), *mo), 0);
             ASSERT_NE(s.ConnectSystemOutput(m, *s.CreateSystemOutput("stamp", 1), mo), nullptr);
         },
         CVerifyReport::EResult::Different, "different at cycle 1, output ", 1},
        {"designer-only type", [](CSystem& s) { Around(s, 55, 0); }, CVerifyReport::EResult::NotRun,
         "not verified: the runtime library cannot load the exported file: the file holds a component that runs only in the designer\n",
         1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_system.NewProject();
        c.build(m_system);
        const CInputTable inputs = Inputs();
        const std::vector<uint8_t> before = SaveProjectBytes(m_system);
        const CVerifyReport report = VerifyRuntime(m_system, {.cycles = 40, .seed = 9, .inputs = &inputs});
        EXPECT_EQ(report.result, c.result);
        EXPECT_EQ(report.Text().rfind(c.text, 0), 0u) << report.Text();
        EXPECT_EQ(report.listed.size(), c.listed) << report.Text();
        EXPECT_EQ(SaveProjectBytes(m_system), before);
    }
}

TEST_F(Verify, ExportReportAndChecksLeaveTheUsersFilesAlone) {
    const std::string log = (m_dir / "precious.csv").string();
    struct Case {
        const char* name;
        void (*build)(CSystem&, const std::string& log);
        std::vector<std::string> lines;  // the report holds each
    } const cases[] = {
        {"arithmetic",
         [](CSystem& s, const std::string&) { Around(s, 21); },
         {"Components: 1\n  1 x Add Input Values\n", "Runtime memory once loaded: ", "One cycle: "}},
        {"csv log",
         [](CSystem& s, const std::string& log) {
             auto* book = static_cast<CModelLogBook*>(Around(s, kTypeCsvOutput, 2));
             fs::remove(book->Path());  // the file a new log starts with
             book->SetPath(log);
             std::ofstream(log) << "precious\n";
         },
         {"1 x CSV Data Output", "One cycle: ",
          "Designer-only components:\n  \"M1 CSV Data Output\" (CSV Data Output) in module \"M\": the runtime starts"}},
        {"designer-only type",
         [](CSystem& s, const std::string&) { Around(s, 55, 0); },
         {"Not measured: the runtime library cannot load the file: the file holds a component that runs only in the designer\n",
          "Designer-only components:\n  \"M1 Sim Info LocalTime\""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_system.NewProject();
        c.build(m_system, log);
        const std::string path = (m_dir / "out.z2r").string();
        ASSERT_EQ(ExportRuntimeFile(m_system, path), 0);
        const std::string text = ReportRuntimeExport(m_system, path).Text();
        EXPECT_EQ(text.rfind("Runtime file size: " + std::to_string(fs::file_size(path)) + " bytes\n", 0),
                  0u);
        for (const std::string& line : c.lines)
            EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
        VerifyRuntime(m_system, {.cycles = 5});
    }
    std::ifstream in(log);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "precious\n");
}

/// A host that runs the check as the designer window does and keeps the report.
class CVerifyingHost final : public ICommandHost {
  public:
    std::optional<std::string> VerifyRuntimeEquivalence(CSystem& s) override {
        return VerifyRuntime(s, {}).Text();
    }
    void ShowReport(const std::string& title, const std::string& text) override {
        m_shown = title + ": " + text;
    }
    std::string m_shown;
};

TEST_F(Verify, DesignerCommandShowsTheReport) {
    Czor2Doc doc;
    Around(doc.System(), 21);
    CVerifyingHost host;
    CCommandContext ctx{doc, host};
    EXPECT_EQ(RunCommand(ctx, kCmdVerifyRuntime), ECmd::Done);
    EXPECT_EQ(host.m_shown, "Verify Runtime Equivalence: equivalent for 100 cycles\n");
    ICommandHost without;  // a host without the runtime library
    CCommandContext bare{doc, without};
    EXPECT_EQ(RunCommand(bare, kCmdVerifyRuntime), ECmd::Unavailable);
}

TEST_F(Verify, CommandLine) {
    Around(m_system, 22);
    const std::string project = (m_dir / "p.zr2").string();
    ASSERT_TRUE(SaveProjectFile(m_system, project));
    Inputs();
    struct Case {
        std::string args;
        int exit;
        std::string out;
    } const cases[] = {
        {project + " --cycles 12 --seed 4 --inputs " + (m_dir / "in.csv").string(), 0,
         "equivalent for 12 cycles\n"},
        {project, 0, "equivalent for 100 cycles\n"},
        {project + " --cycles -1", 1, ""},
        {project + " --inputs " + (m_dir / "missing.csv").string(), 1, ""},
        {(m_dir / "nothing.zr2").string(), 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const std::string command = std::string(ZOR21_CLI_PATH) + " verify " + c.args + " 2>/dev/null";
        FILE* p = ::popen(command.c_str(), "r");
        ASSERT_NE(p, nullptr);
        std::string out;
        char buf[256];
        while (size_t n = std::fread(buf, 1, sizeof buf, p)) out.append(buf, n);
        const int status = ::pclose(p);
        EXPECT_EQ(WEXITSTATUS(status), c.exit);
        EXPECT_EQ(out, c.out);
    }
}

}  // namespace
}  // namespace zor2
