// The export report: what an exported runtime file holds and what it costs the
// host, measured by loading it into the runtime library and running it.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace zor2 {

class CSystem;

struct CExportReport {
    uint64_t fileBytes = 0;
    std::vector<std::pair<std::string, int>> typeCounts;  // by type id
    int components = 0;
    int64_t loadedBytes = -1;  // heap the loaded system holds; -1 when it did not load
    double cycleMicroseconds = -1.0;
    int64_t measuredCycles = 0;
    std::string loadError;
    /// Designer-only and unexported components with what the runtime does instead.
    std::vector<std::string> designerOnly;

    std::string Text() const;
};

/// Reports on the runtime file at `path` exported from `system`: its size, the
/// components by type, the memory the runtime library holds once it has loaded
/// the file, the cost of one cycle (both measured) and the designer-only components.
/// The measurements run on a copy, so nothing of the user's changes.
CExportReport ReportRuntimeExport(CSystem& system, const std::string& path);

}  // namespace zor2
