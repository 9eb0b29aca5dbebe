// Export of a system as a runtime file (.z2r) for the runtime library, and the
// manifest text file written beside it for host developers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zor2 {

class CSystem;

/// The runtime file's bytes: computes the levels first, then writes the header,
/// every module record (components, module inputs, module outputs), the system
/// inputs, the system outputs and the module connections.
std::vector<uint8_t> ExportRuntimeBytes(CSystem& system);

/// Writes the runtime file at `path` (through a temporary file renamed into
/// place, so an existing file is replaced only by a complete one). Returns 0 or
/// the error number of the failed file operation.
int ExportRuntimeFile(CSystem& system, const std::string& path);

/// The manifest file name for a runtime file path: "ZOR2_RT_MANIFEST_<name>.txt"
/// with the runtime file's name without folder and extension.
std::string ManifestFileName(const std::string& runtimePath);

/// The manifest text (line breaks as "\n", before encoding).
std::u16string ManifestText(const CSystem& system, const std::string& runtimePath);

/// Writes the manifest beside the runtime file at `runtimePath`: UTF-16LE with a
/// byte-order mark and CR LF line ends. Returns 0 or the error number.
int WriteManifest(const CSystem& system, const std::string& runtimePath);

}  // namespace zor2
