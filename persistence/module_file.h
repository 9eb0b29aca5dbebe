// The module file: one module record, exported from a system and imported
// into any system as a new module.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "persistence/project_file.h"

namespace zor2 {

class CNetwork;
class CSystem;

/// The module-file bytes of `module` (its record exactly as in a project file).
std::vector<uint8_t> ExportModuleBytes(CNetwork& module);
CFileResult ExportModuleFile(CNetwork& module, const std::string& path);

/// Reads a module record into a new module of `system`: module inputs lose
/// their sources and are named "open", a clashing id is drawn anew, levels are
/// recomputed and the change is recorded ("Imported system module: %s").
/// On failure the system is unchanged. `imported` receives the new module.
CFileResult ImportModuleBytes(CSystem& system, const uint8_t* data, size_t size,
                              CNetwork** imported = nullptr);
CFileResult ImportModuleFile(CSystem& system, const std::string& path, CNetwork** imported = nullptr);

}  // namespace zor2
