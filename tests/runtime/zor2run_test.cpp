// zor2run end to end: the exact CSV it prints, --set, --inputs and its exit codes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/runtime/z2r_builder.h"

namespace zor2::test {
namespace {

namespace fs = std::filesystem;

struct CRun {
    int exitCode;
    std::string out;
};

CRun RunTool(const std::string& args) {
    const std::string command = std::string(ZOR2RUN_PATH) + " " + args + " 2>/dev/null";
    FILE* p = ::popen(command.c_str(), "r");
    CRun r{-1, ""};
    if (!p) return r;
    char buf[4096];
    size_t n = 0;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int status = ::pclose(p);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

class Zor2RunTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("zor2run_" + std::to_string(::getpid()) + "_" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    std::string Write(const std::string& name, const std::string& text) {
        const std::string path = (m_dir / name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::string WriteSystem(const std::string& name, const ZSystem& s) {
        const auto bytes = WriteZ2r(s);
        return Write(name, std::string(bytes.begin(), bytes.end()));
    }
    fs::path m_dir;
};

TEST_F(Zor2RunTest, PrintsHeaderAndOneLinePerCycle) {
    const std::string file = WriteSystem("fb.z2r", FeedbackSystem());
    const CRun r = RunTool(file + " --cycles 3");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "cycle,31,32\n1,1,1\n2,2,2\n3,3,3\n");
}

TEST_F(Zor2RunTest, SetAppliesBeforeTheFirstCycle) {
    const std::string file = WriteSystem("chain.z2r", ChainSystem());
    const CRun r = RunTool(file + " --cycles 2 --set 11=0.1");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "cycle,21\n1,5.0999999999999996\n2,5.0999999999999996\n");
}

TEST_F(Zor2RunTest, InputsRowKAppliesBeforeCycleK) {
    const std::string file = WriteSystem("two.z2r", TwoModuleSystem());
    const std::string csv = Write("in.csv", "1,2,3\r\n1,1,2\r\n2,,\r\n");
    const CRun r = RunTool(file + " --cycles 3 --inputs " + csv);
    EXPECT_EQ(r.exitCode, 0);
    // Row 2 leaves y and z unchanged; cycle 3 has no row and keeps everything.
    EXPECT_EQ(r.out, "cycle,41,42\n1,4,0\n2,6,0\n3,6,0\n");
}

TEST_F(Zor2RunTest, ZeroCyclesPrintsOnlyTheHeader) {
    const std::string file = WriteSystem("chain.z2r", ChainSystem());
    EXPECT_EQ(RunTool(file + " --cycles 0").out, "cycle,21\n");
}

TEST_F(Zor2RunTest, FailuresExitWithTheirCodes) {
    const std::string good = WriteSystem("chain.z2r", ChainSystem());
    const std::string bad = Write("bad.z2r", std::string("\x01\x00\x00\x00\x05", 5));
    const std::string badCsv = Write("bad.csv", "11\nabc\n");
    struct Case {
        std::string args;
        int exitCode;
    } cases[] = {
        {(m_dir / "absent.z2r").string() + " --cycles 1", 1},
        {bad + " --cycles 1", 1},
        {good, 2},
        {good + " --cycles -1", 2},
        {good + " --cycles 1 --set 99=1", 2},
        {good + " --cycles 1 --set 11", 2},
        {good + " --cycles 1 --inputs " + badCsv, 2},
        {good + " --cycles 1 --bogus", 2},
        {"--help", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args);
        const CRun r = RunTool(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode);
        if (c.exitCode != 0) {
            EXPECT_EQ(r.out, "");  // nothing half-printed on stdout
        }
    }
    EXPECT_NE(RunTool("--help").out.find("Usage: zor2run FILE.z2r --cycles N"), std::string::npos);
}

}  // namespace
}  // namespace zor2::test
