// The project file: the whole system record in its fixed order, the module
// record it contains, and safe file writing (temporary file, flush, rename).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zor2 {

class CArchive;
class IFieldStream;
class CSystem;
class CNetwork;

/// Outcome of a file operation: success, or a message naming what was wrong
/// (reads also give the byte offset where the fault stands).
struct CFileResult {
    bool ok = true;
    std::string message;
    size_t offset = 0;
    int error = 0;  // the system's error number of a failed write, when there is one
    explicit operator bool() const { return ok; }
    static CFileResult Failure(std::string message, size_t offset = 0) {
        return {false, std::move(message), offset};
    }
};

/// Reads or writes the whole system record. Loading reads into a system that
/// holds only what a new project holds; on failure the archive says why and the
/// system is left half-read, so callers load into a spare system.
void SerializeSystem(CArchive& ar, CSystem& system);
/// Reads or writes one module record. Loading reads into an empty module whose
/// owner is set, then rebuilds its connection references and stages.
void SerializeModule(CArchive& ar, CNetwork& module);

/// The project-file bytes of `system`. `expectedSize` only pre-sizes the buffer.
std::vector<uint8_t> SaveProjectBytes(CSystem& system, size_t expectedSize = 0);
/// The same into `bytes`, whose memory is reused.
void SaveProjectBytes(CSystem& system, std::vector<uint8_t>& bytes);
/// Loads project-file bytes. The bytes are read into a fresh system that takes
/// the place of `system`'s contents only when the whole record was read; on
/// failure `system` is exactly as it was.
CFileResult LoadProjectBytes(CSystem& system, const uint8_t* data, size_t size);
inline CFileResult LoadProjectBytes(CSystem& system, const std::vector<uint8_t>& bytes) {
    return LoadProjectBytes(system, bytes.data(), bytes.size());
}

/// The same two through a field stream (the project's text form); a failed
/// load gives the value index at fault as its offset, for the stream to name.
CFileResult LoadProjectFields(CSystem& system, IFieldStream& stream);
void SaveProjectFields(CSystem& system, IFieldStream& stream);

/// Saves the project to `path` without ever leaving a partly written file.
CFileResult SaveProjectFile(CSystem& system, const std::string& path);
/// Loads the project at `path`; on failure `system` is unchanged.
CFileResult LoadProjectFile(CSystem& system, const std::string& path);

/// Writes `bytes` to a temporary file beside `path`, flushes it to disk and
/// renames it over `path`. A symbolic link is written through, dangling or
/// not: the file it names is replaced or created, and the link stays. On
/// failure the previous file is untouched.
CFileResult WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);
/// Reads a whole file.
CFileResult ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);

}  // namespace zor2
