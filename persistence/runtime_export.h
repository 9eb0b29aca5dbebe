// Export of a system as a runtime file (.z2r) for the runtime library, and the
// manifest text file written beside it for host developers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "algo/runtime_records.h"
#include "engine/connections.h"

namespace zor2 {

class CSystem;

/// The runtime record of a connection inside a module, in the form of its
/// holder: a component output (rtfile::COutputConnection) or a module input
/// (rtfile::CInputConnection).
template <class Record>
Record RuntimeConnectionRecord(const CModelConnection& c) {
    Record r;
    r.m_id = c.m_id;
    r.m_kind = c.m_kind;
    r.m_sourceComponentId = c.m_srcComponentId;
    r.m_destComponentId = c.m_dstComponentId;
    r.m_sourceOutputId = c.m_srcOutputId;
    r.m_destInputId = c.m_dstInputId;
    r.m_modulePortId = c.m_modulePortId;
    return r;
}

/// The runtime file's bytes: computes the levels first, then writes the header,
/// every module record (components, module inputs, module outputs), the system
/// inputs, the system outputs and the module connections.
std::vector<uint8_t> ExportRuntimeBytes(CSystem& system);

/// Why the system cannot be exported as it stands: the first component whose
/// settings the runtime file cannot hold (a file path longer than its field),
/// named in the message; empty when it can be exported.
std::string RuntimeExportRefusal(const CSystem& system);

/// Writes the runtime file at `path` (through a temporary file renamed into
/// place, so an existing file is replaced only by a complete one). Returns 0 or
/// the error number of the failed file operation; EINVAL, writing nothing, when
/// RuntimeExportRefusal names a reason.
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
