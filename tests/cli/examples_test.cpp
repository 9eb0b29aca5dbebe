// The shipped example projects load and run with the values they promise, the
// copies the build writes afresh are the same bytes, and the task examples give
// the same outputs through zor21-cli run and, exported, through zor2run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "cli_process.h"
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

TEST(Examples, CheckedInFilesAreWhatTheWriterWrites) {
    namespace fs = std::filesystem;
    size_t compared = 0;
    for (const fs::directory_entry& e : fs::directory_iterator(ZOR2_BUILT_EXAMPLES)) {
        const std::string name = e.path().filename().string();
        SCOPED_TRACE(name);
        const std::string shipped = std::string(ZOR2_SOURCE_DIR) + "/examples/" + name;
        ASSERT_TRUE(fs::exists(shipped)) << "copy the written file into examples/";
        EXPECT_TRUE(ReadText(shipped) == ReadText(e.path().string()));
        ++compared;
    }
    EXPECT_GE(compared, 10u);
}

/// The rows a tool printed: each line split at its commas.
std::vector<std::vector<std::string>> PrintedRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::vector<std::string>& row = rows.emplace_back();
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, ',');) row.push_back(field);
    }
    return rows;
}

size_t LineCount(const std::string& text) {
    return static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
}

TEST(Examples, TasksGiveTheirOutputsInTheDesignerAndTheRuntime) {
    struct Expect {
        int cycle;
        std::vector<double> outputs;  // in system output order
    };
    struct Case {
        const char* name;
        int cycles;
        bool inputs;       // run with examples/<name>_inputs.csv
        double tolerance;  // on the expected values (0: exact); the two tools always agree exactly
        std::vector<Expect> expected;
        const char* report = nullptr;  // a CSV file the project writes, one line per cycle and a header
    };
    // The designer and the runtime compute every output here alike. Where they
    // differ by definition it is the CSV report's number format: the designer
    // writes two decimals, the runtime the shortest form; only its lines are compared.
    const Case cases[] = {
        // peak Hz, A4 heard: 440 Hz and its neighbours fall in the bin at 430.66 Hz.
        {"tone_detector",
         8,
         true,
         0.0,
         {{1, {430.6640625, 1}}, {2, {301.46484375, 0}}, {3, {861.328125, 0}}, {6, {430.6640625, 1}}}},
        // a, e, i, o, u: each row's vowel wins.
        {"vowel_classifier",
         5,
         true,
         1e-3,
         {{1, {0.865, 0.661, 0.566, 0.596, 0.417}},
          {3, {0.559, 0.649, 0.871, 0.301, 0.676}},
          {5, {0.571, 0.374, 0.607, 0.586, 0.846}}}},
        // fan, flame, heat, cool: the flame ramps in cycles 4 to 8 and again after the
        // cycle restarts at 21; no heat by day at 21 C, cooling at 26 C.
        {"thermostat",
         60,
         true,
         0.0,
         {{5, {1, 0.25, 1, 0}},
          {8, {1, 1, 1, 0}},
          {21, {0, 0, 1, 0}},
          {27, {1, 0.5, 1, 0}},
          {40, {0, 0, 0, 0}},
          {50, {0, 0, 0, 1}}}},
        // mean, max, std dev, moving average of the last 4 (0 until it has 4).
        {"sensor_log",
         24,
         false,
         1e-9,
         {{1, {12.5, 12.5, 0, 0}},
          {4, {13.375, 14.75, 0.875, 13.375}},
          {24, {17.979166666666668, 22.5, 2.9136144744209993, 17}}},
         "sensor_report.csv"},
        // digit shown, recognised: 12 has no pattern.
        {"digit_display", 11, true, 0.0, {{1, {0, 1}}, {8, {7, 1}}, {11, {-10, 0}}}},
        // distance, heading x, heading y, arrived: within 1 of (40, 30) at the end.
        {"homing",
         11,
         true,
         1e-9,
         {{1, {50, 0.8, 0.6, 0}}, {6, {25, 0.8, 0.6, 0}}, {11, {0.5, 0.8, 0.6, 1}}}},
    };
    // The projects name their data files "examples/FILE", from the folder they run in.
    const std::string dir = ScratchDir();
    std::filesystem::remove(dir + "/examples");
    std::filesystem::create_directory_symlink(std::string(ZOR2_SOURCE_DIR) + "/examples", dir + "/examples");
    auto ExpectReport = [&dir](const Case& c) {
        if (c.report) {
            EXPECT_EQ(LineCount(ReadText(dir + "/" + c.report)), static_cast<size_t>(c.cycles) + 1);
        }
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string project = std::string("examples/") + c.name + ".zr2";
        CSystem stored;
        ASSERT_TRUE(LoadProjectFile(stored, dir + "/" + project));
        EXPECT_EQ(stored.m_name, c.name);
        EXPECT_FALSE(stored.m_description.empty());
        std::vector<std::string> steps = {"--cycles", std::to_string(c.cycles)};
        if (c.inputs)
            steps.insert(steps.end(), {"--inputs", std::string("examples/") + c.name + "_inputs.csv"});
        std::vector<std::string> run = {"run", project};
        run.insert(run.end(), steps.begin(), steps.end());
        const CResult designer = Finish(Spawn(run, dir), dir);
        ASSERT_EQ(designer.exitCode, 0) << designer.err;
        ExpectReport(c);
        const CResult exported = Finish(Spawn({"export", project, "task.z2r"}, dir), dir);
        ASSERT_EQ(exported.exitCode, 0) << exported.err;
        std::vector<std::string> replay = {"task.z2r"};
        replay.insert(replay.end(), steps.begin(), steps.end());
        const CResult runtime = Finish(Spawn(replay, dir, ZOR2RUN), dir);
        ASSERT_EQ(runtime.exitCode, 0) << runtime.err;
        ExpectReport(c);

        EXPECT_EQ(designer.out, runtime.out);
        const auto rows = PrintedRows(designer.out);
        ASSERT_EQ(rows.size(), static_cast<size_t>(c.cycles) + 1);
        for (const Expect& e : c.expected) {
            SCOPED_TRACE(e.cycle);
            const std::vector<std::string>& row = rows[static_cast<size_t>(e.cycle)];
            ASSERT_EQ(row.size(), e.outputs.size() + 1);
            EXPECT_EQ(row[0], std::to_string(e.cycle));
            for (size_t k = 0; k < e.outputs.size(); ++k)
                EXPECT_NEAR(std::stod(row[k + 1]), e.outputs[k], c.tolerance) << "output " << k;
        }
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
