// Rewrites the golden files from the code as it stands: per case the project,
// its runtime export with the manifest, and the `zor21-cli info` summaries of both.
// Run it only on purpose, after a deliberate format change:
//   build/tests/golden/zor2-make-golden tests/data/golden
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "golden/golden_project.h"
#include "persistence/project_file.h"
#include "persistence/runtime_export.h"
#include "tools/cli_info.h"

namespace {

using namespace zor2;

bool WriteText(const std::string& path, const std::string& text) {
    const std::vector<uint8_t> bytes(text.begin(), text.end());
    const CFileResult r = WriteFileAtomically(path, bytes);
    if (!r) std::fprintf(stderr, "zor2-make-golden: %s: %s\n", path.c_str(), r.message.c_str());
    return static_cast<bool>(r);
}

bool WriteCase(const test::CGoldenCase& c, const std::string& root) {
    const std::string dir = root + "/" + c.name;
    ::mkdir(dir.c_str(), 0755);
    CSystem system;
    CLcgRandom random;
    const std::vector<std::string> refused = test::BuildGoldenProject(c, system, random);
    for (const std::string& p : refused)
        std::fprintf(stderr, "zor2-make-golden: %s: %s refused\n", c.name, p.c_str());
    if (!refused.empty()) return false;
    const std::string project = dir + "/" + test::GoldenProjectName(c);
    const std::string runtime = dir + "/" + test::GoldenRuntimeName(c);
    if (const CFileResult r = SaveProjectFile(system, project); !r) {
        std::fprintf(stderr, "zor2-make-golden: %s\n", r.message.c_str());
        return false;
    }
    if (ExportRuntimeFile(system, runtime) != 0 || WriteManifest(system, runtime) != 0) {
        std::fprintf(stderr, "zor2-make-golden: cannot export %s\n", runtime.c_str());
        return false;
    }
    system.SetRandom(nullptr);

    CSystem loaded;
    std::vector<uint8_t> bytes;
    std::string summary, error;
    if (!LoadProjectFile(loaded, project) || !ReadWholeFile(runtime, bytes) ||
        !DescribeRuntimeFile(bytes, summary, error)) {
        std::fprintf(stderr, "zor2-make-golden: %s: cannot read back what was written %s\n", c.name,
                     error.c_str());
        return false;
    }
    return WriteText(dir + "/" + test::kGoldenProjectInfo, DescribeSystem(loaded)) &&
           WriteText(dir + "/" + test::kGoldenRuntimeInfo, summary);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: zor2-make-golden GOLDEN_FOLDER\n", stderr);
        return 1;
    }
    bool ok = true;
    for (const test::CGoldenCase& c : test::GoldenCases()) ok = WriteCase(c, argv[1]) && ok;
    return ok ? 0 : 1;
}
