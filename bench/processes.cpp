// Whole processes as a user starts them: `zor21-cli run` of a 1,000-component
// project against `zor2run` of its export (2,200 cycles each), `zor21-cli resave`
// of a 10,000-component project, and the runtime's load of that project's export.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <zor2runtime.h>

#include <string>
#include <vector>

#include "graph_builders.h"
#include "persistence/project_file.h"

extern char** environ;

namespace zor2::bench {
namespace {

constexpr const char* kCycles = "2200";
// Whole processes on a shared machine vary from run to run; the summary takes
// the fastest repetition, as it does for the graphs.
constexpr int kRepetitions = 3;

/// Runs a program with its output thrown away and returns the processor time
/// it used in seconds (user and system; on a busy machine the wall clock would
/// mostly measure the others), or a negative number when it did not exit with 0.
double RunProcess(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -1.0;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1.0;
    auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + 1e-6 * t.tv_usec; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

/// A graph saved as a project and exported; empty paths when either failed.
struct CFiles {
    std::string project;
    std::string exported;
    int components = 0;
    ~CFiles() {
        std::error_code ignored;
        std::filesystem::remove(project, ignored);
        std::filesystem::remove(exported, ignored);
    }
};

CFiles Save(const char* name, const FBuildModule& buildModule, int modules) {
    std::unique_ptr<CGraph> g = Build(nullptr, buildModule, modules);
    CFiles f;
    f.project = BenchTempPath(std::string(name) + ".zr2");
    f.exported = BenchTempPath(std::string(name) + ".z2r");
    f.components = g->components;
    if (!SaveProjectFile(g->system, f.project)) f.project.clear();
    if (ExportRuntimeFile(g->system, f.exported) != 0) f.exported.clear();
    return f;
}

const CFiles& Cells1k() {
    static const CFiles f = Save("cells1k", CellsModule, kHandModules);
    return f;
}
const CFiles& Arith10k() {
    static const CFiles f = Save("arith10k", ArithModule, 100);
    return f;
}

/// Runs `args` once per iteration; `file` is the file it reads.
void RunEach(benchmark::State& state, const std::string& file, const std::vector<std::string>& args) {
    if (file.empty()) {
        state.SkipWithError("the project could not be written");
        return;
    }
    for (auto _ : state) {
        const double used = RunProcess(args);
        if (used < 0.0) {
            state.SkipWithError("the process failed");
            return;
        }
        state.SetIterationTime(used);
    }
}

#ifdef ZOR2_CLI  // set by the build when both programs are built
void BM_CliRun1k(benchmark::State& state) {
    RunEach(state, Cells1k().project, {ZOR2_CLI, "run", Cells1k().project, "--cycles", kCycles});
}
BENCHMARK(BM_CliRun1k)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5)
    ->Repetitions(kRepetitions);

void BM_Zor2Run1k(benchmark::State& state) {
    RunEach(state, Cells1k().exported, {ZOR2_RUN, Cells1k().exported, "--cycles", kCycles});
}
BENCHMARK(BM_Zor2Run1k)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5)
    ->Repetitions(kRepetitions);

void BM_CliResave10k(benchmark::State& state) {
    const std::string out = BenchTempPath("resaved10k.zr2");
    RunEach(state, Arith10k().project, {ZOR2_CLI, "resave", Arith10k().project, out});
    std::error_code ignored;
    std::filesystem::remove(out, ignored);
}
BENCHMARK(BM_CliResave10k)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5)
    ->Repetitions(kRepetitions);
#endif

void BM_RuntimeLoadExport10k(benchmark::State& state) {
    const std::string& path = Arith10k().exported;
    for (auto _ : state) {
        qxAISystemLoadResult result{};
        if (path.empty() || qxAISystem_Load(path.c_str(), 0, &result) != 1) {
            state.SkipWithError("the exported system did not load");
            return;
        }
        qxAISystem_Unload();
    }
}
BENCHMARK(BM_RuntimeLoadExport10k)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zor2::bench
