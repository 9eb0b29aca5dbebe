// The export report: file size and contents from the project, memory and cycle
// cost measured on a handle of the runtime library.
#include "tools/runtime_report.h"

#include <malloc.h>
#include <zor2rt.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>

#include "engine/catalogue.h"
#include "engine/system.h"
#include "persistence/runtime_export.h"
#include "tools/runtime_verify.h"

namespace zor2 {

namespace {

int64_t HeapInUse() {
    return static_cast<int64_t>(mallinfo2().uordblks);
}

/// Runs cycles for about a fifth of a second (at least 10) and returns the mean.
double MeasureCycle(zor2rt_system* rt, int64_t& cycles) {
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto budget = std::chrono::milliseconds(200);
    cycles = 0;
    while (cycles < 10 || (Clock::now() - start < budget && cycles < 10'000'000)) {
        for (int i = 0; i < 10; ++i) zor2rt_step(rt);
        cycles += 10;
    }
    const std::chrono::duration<double, std::micro> spent = Clock::now() - start;
    return spent.count() / static_cast<double>(cycles);
}

}  // namespace

CExportReport ReportRuntimeExport(CSystem& system, const std::string& path) {
    CExportReport r;
    std::error_code ec;
    r.fileBytes = std::filesystem::file_size(path, ec);
    std::map<int32_t, int> counts;
    for (const CNetwork* m : system.m_modules) {
        for (const CNetworkModel* c : m->m_components) {
            ++counts[c->m_typeId];
            ++r.components;
            const CTypeTraits& traits = TypeTraits(c->m_typeId);
            if (traits.designerOnly || traits.notExported)
                r.designerOnly.push_back(DescribeComponent(
                    *c, traits.runtimeNote ? traits.runtimeNote : "runs only in the designer"));
        }
    }
    for (const auto& [type, n] : counts) {
        const char* name = CatalogueName(type);
        std::string text = name ? name : "type " + std::to_string(type);
        for (char& ch : text)
            if (ch == '\n') ch = ' ';
        r.typeCounts.emplace_back(text, n);
    }
    // The measurements load a copy whose CSV logs write into a scratch folder.
    CScratchFolder folder;
    const std::unique_ptr<CSystem> copy = ScratchCopy(system, folder, r.loadError);
    const std::string measured = folder.File("system.z2r");
    if (!copy || ExportRuntimeFile(*copy, measured) != 0) {
        if (r.loadError.empty()) r.loadError = "cannot write a copy of the file to measure";
        return r;
    }
    const int64_t before = HeapInUse();
    zor2rt_status status = ZOR2RT_OK;
    zor2rt_system* rt = zor2rt_open(measured.c_str(), &status);
    if (!rt) {
        r.loadError = std::string("the runtime library cannot load the file: ") + zor2rt_status_text(status);
        return r;
    }
    r.loadedBytes = HeapInUse() - before;
    r.cycleMicroseconds = MeasureCycle(rt, r.measuredCycles);
    zor2rt_close(rt);
    return r;
}

std::string CExportReport::Text() const {
    char line[256];
    std::string t = "Runtime file size: " + std::to_string(fileBytes) + " bytes\n";
    t += "Components: " + std::to_string(components) + "\n";
    for (const auto& [name, n] : typeCounts) t += "  " + std::to_string(n) + " x " + name + "\n";
    if (loadedBytes < 0) {
        t += "Not measured: " + loadError + "\n";
    } else {
        t += "Runtime memory once loaded: " + std::to_string(loadedBytes) + " bytes\n";
        std::snprintf(line, sizeof line, "One cycle: %.3f microseconds (mean of %lld cycles)\n",
                      cycleMicroseconds, static_cast<long long>(measuredCycles));
        t += line;
    }
    if (!designerOnly.empty()) {
        t += "Designer-only components:\n";
        for (const std::string& d : designerOnly) t += "  " + d + "\n";
    }
    return t;
}

}  // namespace zor2
