// The shipped example projects load and run with the values they promise, and
// the copies the build writes afresh behave the same.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/catalogue.h"
#include "engine/system.h"
#include "persistence/project_file.h"
#include "persistence/runtime_export.h"
#include "simulation/sim_controller.h"
#include "tools/cli_info.h"

namespace zor2 {
namespace {

/// Outputs of every cycle, in system output order.
std::vector<std::vector<double>> RunCycles(const std::string& path, int cycles) {
    CSystem system;
    CManualClock clock;
    system.SetClock(&clock);
    const CFileResult r = LoadProjectFile(system, path);
    EXPECT_TRUE(r) << path << ": " << r.message;
    CSimController sim(system);
    sim.Reset();
    std::vector<std::vector<double>> out;
    for (int k = 0; k < cycles; ++k) {
        sim.RunOnce();
        std::vector<double> row;
        for (const CExternalOutput* q : system.m_outputs) row.push_back(q->m_value);
        out.push_back(row);
    }
    EXPECT_EQ(system.m_cycleCount, cycles);
    return out;
}

TEST(Examples, ShippedProjectsLoadAndRun) {
    struct Case {
        const char* name;
        size_t modules;
        std::vector<std::vector<double>> outputs;  // first three cycles
    };
    const Case cases[] = {
        {"celsius", 1, {{68.0}, {68.0}, {68.0}}},
        {"accumulator", 1, {{0.5}, {1.0}, {1.5}}},
        {"two_stage", 2, {{7.0, -70.0}, {7.0, -70.0}, {7.0, -70.0}}},
        {"ramp", 1, {{0.1 * 2.0}, {(0.1 + 0.1) * 2.0}, {(0.1 + 0.1 + 0.1) * 2.0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string shipped = std::string(ZOR2_SOURCE_DIR) + "/examples/" + c.name + ".zr2";
        const std::string built = std::string(ZOR2_BUILT_EXAMPLES) + "/" + c.name + ".zr2";
        CSystem system;
        ASSERT_TRUE(LoadProjectFile(system, shipped));
        EXPECT_EQ(system.m_name, c.name);
        EXPECT_EQ(system.m_modules.Size(), c.modules);
        EXPECT_FALSE(system.m_description.empty());
        EXPECT_EQ(RunCycles(shipped, 3), c.outputs);
        EXPECT_EQ(RunCycles(built, 3), c.outputs);
    }
}

TEST(Examples, RuntimeSummaryWalksEveryRegisteredType) {
    // One component of every type the factory knows, in one exported file:
    // the summary must step over each body exactly and end at the last byte.
    CSystem system;
    CNetwork* m = system.CreateModule("all", 0, 0);
    std::vector<int32_t> types;
    for (const CComponentType* t : RegisteredComponentTypes())
        if (m->DropComponent(t->typeId, 0, 0)) types.push_back(t->typeId);
    ASSERT_FALSE(types.empty());
    const std::vector<uint8_t> bytes = ExportRuntimeBytes(system);
    std::string summary, error;
    ASSERT_TRUE(DescribeRuntimeFile(bytes, summary, error)) << error;
    for (int32_t type : types)
        EXPECT_NE(summary.find("type " + std::to_string(type) + " ("), std::string::npos) << type;

    std::vector<uint8_t> unknown = bytes;
    // The first component's type id stands after the header, the module's id,
    // name, level and three counts, and the component's id.
    const size_t typeAt = 20 + 4 + 200 + 4 * 4 + 4;
    const int32_t bogus = 9999;
    std::memcpy(unknown.data() + typeAt, &bogus, 4);
    EXPECT_FALSE(DescribeRuntimeFile(unknown, summary, error));
    EXPECT_NE(error.find("type 9999"), std::string::npos) << error;
}

}  // namespace
}  // namespace zor2
