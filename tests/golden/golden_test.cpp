// Today's bytes, kept: each golden case is rebuilt, saved, reloaded, exported
// and summarised by `zor21-cli info`, and every result must equal its golden
// file byte for byte; the runtime library runs the exported all-types file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zor2runtime.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>

#include "engine/catalogue.h"
#include "golden/golden_project.h"
#include "persistence/project_file.h"
#include "persistence/runtime_export.h"

namespace zor2::test {

// Names the case in test output instead of dumping its bytes.
void PrintTo(const CGoldenCase& c, std::ostream* os) {
    *os << c.name;
}

namespace {

std::string GoldenPath(const CGoldenCase& c, const std::string& file) {
    return std::string(ZOR2_TEST_DATA) + "/golden/" + c.name + "/" + file;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(ReadWholeFile(path, bytes)) << path;
    return bytes;
}

std::string ReadText(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

/// Byte equality with the first differing offset in the message.
::testing::AssertionResult SameBytes(const std::vector<uint8_t>& actual, const std::vector<uint8_t>& golden) {
    if (actual == golden) return ::testing::AssertionSuccess();
    size_t at = 0;
    while (at < actual.size() && at < golden.size() && actual[at] == golden[at]) ++at;
    return ::testing::AssertionFailure() << actual.size() << " bytes against " << golden.size()
                                         << " golden bytes, first difference at byte " << at;
}

/// Stdout and exit code of `zor21-cli ARGS`.
std::pair<std::string, int> RunCli(const std::string& args) {
    std::string out;
    FILE* p = ::popen((std::string("'") + ZOR21_CLI + "' " + args).c_str(), "r");
    if (!p) return {out, -1};
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, p)) > 0;) out.append(buffer, n);
    const int status = ::pclose(p);
    return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

class Golden : public ::testing::TestWithParam<CGoldenCase> {
  protected:
    void SetUp() override {
        m_dir = ::testing::TempDir() + "zor2_golden_" + std::to_string(::getpid()) + "_" + GetParam().name;
        ::mkdir(m_dir.c_str(), 0755);
    }
    const CGoldenCase& Case() const { return GetParam(); }
    std::vector<uint8_t> GoldenFile(const std::string& file) const {
        return ReadBytes(GoldenPath(Case(), file));
    }

    CLcgRandom m_random;
    std::string m_dir;
};

TEST_P(Golden, BuildingWritesTheGoldenProject) {
    CSystem system;
    EXPECT_EQ(BuildGoldenProject(Case(), system, m_random), std::vector<std::string>{});
    EXPECT_TRUE(SameBytes(SaveProjectBytes(system), GoldenFile(GoldenProjectName(Case()))));
}

TEST_P(Golden, LoadingThenSavingKeepsEveryByte) {
    const std::vector<uint8_t> golden = GoldenFile(GoldenProjectName(Case()));
    CSystem system;
    ASSERT_TRUE(LoadProjectBytes(system, golden));
    EXPECT_TRUE(SameBytes(SaveProjectBytes(system), golden));
}

TEST_P(Golden, ExportWritesTheGoldenRuntimeFileAndManifest) {
    CSystem built, loaded;
    BuildGoldenProject(Case(), built, m_random);
    ASSERT_TRUE(LoadProjectBytes(loaded, GoldenFile(GoldenProjectName(Case()))));
    for (CSystem* system : {&built, &loaded}) {
        SCOPED_TRACE(system == &built ? "built" : "loaded");
        const std::string path = m_dir + "/" + GoldenRuntimeName(Case());
        ASSERT_EQ(ExportRuntimeFile(*system, path), 0);
        ASSERT_EQ(WriteManifest(*system, path), 0);
        EXPECT_TRUE(SameBytes(ReadBytes(path), GoldenFile(GoldenRuntimeName(Case()))));
        EXPECT_TRUE(SameBytes(ReadBytes(m_dir + "/" + GoldenManifestName(Case())),
                              GoldenFile(GoldenManifestName(Case()))));
    }
}

TEST_P(Golden, CliInfoPrintsTheGoldenSummaries) {
    const std::pair<std::string, const char*> files[] = {{GoldenProjectName(Case()), kGoldenProjectInfo},
                                                         {GoldenRuntimeName(Case()), kGoldenRuntimeInfo}};
    for (const auto& [file, summary] : files) {
        SCOPED_TRACE(file);
        const auto [out, exitCode] = RunCli("info '" + GoldenPath(Case(), file) + "'");
        EXPECT_EQ(exitCode, 0);
        EXPECT_EQ(out, ReadText(GoldenPath(Case(), summary)));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, ::testing::ValuesIn(GoldenCases().begin(), GoldenCases().end()),
                         [](const auto& info) { return std::string(info.param.name); });

// A type that joins the registry joins the all-types project too, and the golden
// files are then rewritten on purpose with zor2-make-golden.
TEST(GoldenRuntime, TheAllTypesProjectHoldsEveryRegisteredType) {
    const CGoldenCase& c =
        *std::find_if(GoldenCases().begin(), GoldenCases().end(),
                      [](const CGoldenCase& g) { return std::string(g.name) == "all_types"; });
    CSystem system;
    ASSERT_TRUE(LoadProjectFile(system, GoldenPath(c, GoldenProjectName(c))));
    std::set<int32_t> held, registered;
    for (const CNetwork* m : system.m_modules)
        for (const CNetworkModel* component : m->m_components) held.insert(component->m_typeId);
    for (const CComponentType* type : RegisteredComponentTypes())
        if (!type->traits.designerOnly) registered.insert(type->typeId);
    EXPECT_EQ(held, registered);
}

// The runtime library runs the golden all-types file as the designer runs the
// golden project: the same system outputs every cycle, and the values the wiring gives.
TEST(GoldenRuntime, RunsTheAllTypesFileAsTheDesignerRunsItsProject) {
    const CGoldenCase& c =
        *std::find_if(GoldenCases().begin(), GoldenCases().end(),
                      [](const CGoldenCase& g) { return std::string(g.name) == "all_types"; });
    CSystem designer;
    ASSERT_TRUE(LoadProjectFile(designer, GoldenPath(c, GoldenProjectName(c))));
    CManualClock clock;
    designer.SetClock(&clock);
    qxAISystemLoadResult result{};
    ASSERT_EQ(qxAISystem_Load(GoldenPath(c, GoldenRuntimeName(c)).c_str(), 0, &result), 1);
    ASSERT_EQ(qxAISystem_GetCountSystemInputs(), static_cast<int32_t>(designer.m_inputs.Size()));
    ASSERT_EQ(qxAISystem_GetCountSystemOutputs(), static_cast<int32_t>(designer.m_outputs.Size()));

    const CGoldenInputs inputs[] = {{3.0, 4.0, 1.0}, {-1.5, 0.25, 0.0}, {10.0, -2.0, 1.0}, {0.0, 0.0, 1.0}};
    for (const CGoldenInputs& in : inputs) {
        SCOPED_TRACE(in.x);
        const std::map<std::string, double> values = {{"x", in.x}, {"y", in.y}, {"enable", in.enable}};
        for (CExternalInput* p : designer.m_inputs) {
            const auto it = values.find(p->m_name);
            if (it == values.end()) continue;
            p->SetValue(it->second);
            ASSERT_EQ(qxAISystem_SetValue(p->m_id, it->second), 0);
        }
        designer.RunCycle();
        clock.Advance(100);
        ASSERT_EQ(qxAISystem_Execute(), 0);
        std::map<std::string, double> outputs;
        for (const CExternalOutput* q : designer.m_outputs) {
            double value = -12345.0;
            ASSERT_EQ(qxAISystem_GetSystemOutputValue(0, q->m_id, &value), 0);
            EXPECT_EQ(value, q->m_value) << q->m_name;
            outputs[q->m_name] = value;
        }
        EXPECT_EQ(outputs["Sum"], GoldenSum(in));
        EXPECT_EQ(outputs["Negated"], GoldenNegated(in));
        EXPECT_EQ(outputs["Seven"], kGoldenSeven);
        EXPECT_EQ(outputs["Loose"], 0.0);
    }
    qxAISystem_Unload();
}

}  // namespace
}  // namespace zor2::test
