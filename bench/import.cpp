// Costs that once grew faster than their input: the CSV import of many system
// inputs (rows per second must stay flat from 4,000 to 32,000), and loading a
// project cut short at every offset (the damaged-file loop of the tests).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "engine/system.h"
#include "persistence/csv_import.h"
#include "persistence/project_file.h"

namespace {

using namespace zor2;

void BM_ImportInputs(benchmark::State& state) {
    const int rows = static_cast<int>(state.range(0));
    const std::string path = "/tmp/zor2_bench_import_" + std::to_string(::getpid()) + ".csv";
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fputs("Name,Category\n", f);
        for (int i = 0; i < rows; ++i) std::fprintf(f, "input %d,group %d\n", i, i % 50);
        std::fclose(f);
    }
    for (auto _ : state) {
        CSystem system;
        const CCsvImportResult r = ImportSystemInputsCsv(system, path);
        if (r.created != rows) state.SkipWithError("the import stopped early");
    }
    std::remove(path.c_str());
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_ImportInputs)->Arg(4000)->Arg(16000)->Arg(31999)->Unit(benchmark::kMillisecond);

void BM_LoadEveryTruncation(benchmark::State& state) {
    CSystem source;
    for (int m = 0; m < 4; ++m) {
        CNetwork* module = source.CreateModule("M" + std::to_string(m), 100 * m, 0);
        for (int i = 0; i < 20; ++i) module->CreateComponent(21, 0, "Add", 10 * i, 10);
        source.CreateSystemInput("in " + std::to_string(m), 1);
    }
    const std::vector<uint8_t> bytes = SaveProjectBytes(source);
    CSystem target;
    for (auto _ : state) {
        for (size_t n = 0; n < bytes.size(); ++n)
            benchmark::DoNotOptimize(LoadProjectBytes(target, bytes.data(), n));
    }
    state.counters["file_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_LoadEveryTruncation)->Unit(benchmark::kMillisecond);

}  // namespace
