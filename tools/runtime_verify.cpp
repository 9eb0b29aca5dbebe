// Runs the designer engine and the runtime library on the same exported system
// and compares every system output after every cycle, bit for bit.
#include "tools/runtime_verify.h"

#include <unistd.h>
#include <zor2rt.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "algo/csv.h"
#include "algo/platform.h"
#include "components/utility/csv_data.h"
#include "engine/catalogue.h"
#include "engine/system.h"
#include "persistence/project_file.h"
#include "persistence/runtime_export.h"
#include "simulation/sim_controller.h"

namespace zor2 {

namespace {

std::string Number(double v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

/// Bit for bit, except that every NaN equals every other.
bool SameBits(double a, double b) {
    if (std::isnan(a) && std::isnan(b)) return true;
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

CScratchFolder::CScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zor2_check_XXXXXX").string();
    if (::mkdtemp(pattern.data())) m_path = pattern;
}

CScratchFolder::~CScratchFolder() {
    std::error_code ec;
    if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
}

std::string CScratchFolder::File(const std::string& name) const {
    return m_path + "/" + name;
}

std::unique_ptr<CSystem> ScratchCopy(CSystem& project, const CScratchFolder& folder, std::string& error) {
    if (!folder) {
        error = std::string("cannot create a temporary folder: ") + std::strerror(errno);
        return nullptr;
    }
    auto copy = std::make_unique<CSystem>();
    if (const CFileResult r = LoadProjectBytes(*copy, SaveProjectBytes(project)); !r) {
        error = "cannot copy the project: " + r.message;
        return nullptr;
    }
    // A reset or a runtime load starts a CSV log afresh: the copy's logs go to the folder.
    int n = 0;
    for (CNetwork* m : copy->m_modules)
        for (CNetworkModel* c : m->m_components)
            if (auto* log = dynamic_cast<CModelLogBook*>(c))
                log->SetPath(folder.File("log" + std::to_string(++n) + ".csv"));
    return copy;
}

std::string DescribeComponent(const CNetworkModel& c, const char* why) {
    const char* type = CatalogueName(c.m_typeId);
    return "\"" + c.m_name + "\" (" + (type ? type : "?") + ") in module \"" +
           (c.m_owner ? c.m_owner->m_name : std::string()) + "\": " + why;
}

namespace {

/// The designer clock of a verification: it follows simulated time, as a headless run's does.
class CFollowingClock final : public IClock {
  public:
    uint32_t TickMs() override { return m_now; }
    uint32_t m_now = 0;
};

/// The first difference of output `out` after `cycle`, or empty.
std::string CompareOutput(zor2rt_system* rt, CExternalOutput& out, int64_t cycle,
                          std::vector<double>& scratch) {
    const std::string where =
        "cycle " + std::to_string(cycle) + ", output " + std::to_string(out.m_id) + " \"" + out.m_name + "\"";
    const CNetworkOutput* source = out.SourceOutput();
    if (source && source->CarriesArray()) {
        int32_t count = 0;
        scratch.resize(static_cast<size_t>(source->m_arrayCount) + 1);
        zor2rt_get_output_array(rt, out.m_id, scratch.data(), static_cast<int32_t>(scratch.size()), &count);
        if (count != source->m_arrayCount)
            return where + ": designer " + std::to_string(source->m_arrayCount) + " elements, runtime " +
                   std::to_string(count);
        for (int32_t i = 0; i < count; ++i)
            if (!SameBits(source->m_arrayData[i], scratch[static_cast<size_t>(i)]))
                return where + " [" + std::to_string(i) + "]: designer " + Number(source->m_arrayData[i]) +
                       ", runtime " + Number(scratch[static_cast<size_t>(i)]);
        return {};
    }
    double value = 0.0;
    zor2rt_get_output(rt, out.m_id, &value);
    if (SameBits(out.m_value, value)) return {};
    return where + ": designer " + Number(out.m_value) + ", runtime " + Number(value);
}

}  // namespace

std::vector<std::string> RuntimeDifferences(const CSystem& system) {
    std::vector<std::string> lines;
    for (const CNetwork* m : system.m_modules) {
        for (const CNetworkModel* c : m->m_components) {
            const CTypeTraits& traits = TypeTraits(c->m_typeId);
            if (traits.designerOnly || traits.notExported)
                lines.push_back(DescribeComponent(
                    *c, traits.runtimeNote ? traits.runtimeNote : "runs only in the designer"));
            if (traits.followsClock)
                lines.push_back(DescribeComponent(
                    *c,
                    "reads the clock; the runtime's is the host's time, the designer's the simulated time"));
            if (const std::string note = c->RuntimeExportNote(); !note.empty()) lines.push_back(note);
        }
    }
    return lines;
}

std::string CVerifyReport::Text() const {
    std::string t;
    switch (result) {
        case EResult::Equivalent:
            t = "equivalent for " + std::to_string(cycles) + " cycles\n";
            break;
        case EResult::Different:
            t = "different at " + difference + "\n";
            break;
        case EResult::NotRun:
            t = "not verified: " + error + "\n";
            break;
    }
    if (!listed.empty()) {
        t += "Components whose runtime behaviour differs by definition:\n";
        for (const std::string& line : listed) t += "  " + line + "\n";
    }
    return t;
}

CVerifyReport VerifyRuntime(CSystem& project, const CVerifyOptions& options) {
    CVerifyReport report;
    report.listed = RuntimeDifferences(project);
    if (const std::string why = RuntimeExportRefusal(project); !why.empty()) {
        report.error = why;
        return report;
    }
    // A copy runs, so the project's values, counters, settings and files stay as they are.
    CScratchFolder folder;
    const std::unique_ptr<CSystem> copy = ScratchCopy(project, folder, report.error);
    if (!copy) return report;
    CSystem& system = *copy;
    const std::string runtimeFile = folder.File("system.z2r");
    CFollowingClock clock;
    system.SetClock(&clock);
    system.m_behaviorsEnabled = false;
    system.ResetSystem();
    if (const int e = ExportRuntimeFile(system, runtimeFile)) {
        report.error = std::string("cannot write the runtime file: ") + std::strerror(e);
        return report;
    }
    zor2rt_status status = ZOR2RT_OK;
    zor2rt_system* rt = zor2rt_open(runtimeFile.c_str(), &status);
    if (!rt) {
        report.error =
            std::string("the runtime library cannot load the exported file: ") + zor2rt_status_text(status);
        return report;
    }
    CLcgRandom random(options.seed);
    system.SetRandom(&random);
    zor2rt_set_seed(rt, options.seed);
    std::vector<double> scratch;
    report.result = CVerifyReport::EResult::Equivalent;
    for (int64_t k = 0; k < options.cycles; ++k) {
        if (options.inputs)
            options.inputs->Apply(static_cast<size_t>(k), [&system](int32_t id, double v) {
                if (CExternalInput* in = system.FindSystemInput(id)) in->SetValue(v);
            });
        for (CExternalInput* in : system.m_inputs) {
            zor2rt_set_input(rt, in->m_id, in->m_value);
            if (in->m_kind == 2) zor2rt_set_input_array(rt, in->m_id, in->ArrayData(), in->ArrayCount());
        }
        system.RunCycle();
        system.m_simulatedTime += CycleDurationMs(system.m_cyclesPerSecond);
        zor2rt_step(rt);
        clock.m_now = static_cast<uint32_t>(static_cast<uint64_t>(system.m_simulatedTime + 0.5));
        report.cycles = k + 1;
        for (CExternalOutput* out : system.m_outputs) {
            report.difference = CompareOutput(rt, *out, k + 1, scratch);
            if (!report.difference.empty()) {
                report.result = CVerifyReport::EResult::Different;
                zor2rt_close(rt);
                return report;
            }
        }
    }
    zor2rt_close(rt);
    return report;
}

}  // namespace zor2
