// The load path shared by the global and the handle-based C interface.
#include "runtime/rt_open.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <vector>

#include "algo/platform.h"
#include "runtime/rt_loader.h"
#include "runtime/rt_registry.h"

namespace zor2 {

namespace {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

/// The open failure code of the global interface for a file error, with its reason.
int32_t OpenFailureCode(int error, const char*& reason) {
    switch (error) {
        case ENOENT:
            reason = "No such file or directory";
            return 8;
        case ENOMEM:
            reason = "Not enough memory";
            return 2;
        case EACCES:
            reason = "Permission denied";
            return 4;
        case kNotARegularFile:
            reason = "Not a regular file";
            return 64;
        default:
            reason = "Unknown";
            return 64;
    }
}

std::string FileNameOf(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p) {
        if (*p == '/' || *p == '\\') name = p + 1;
    }
    return name;
}

std::string ReadFailureMessage(const CRReadResult& r) {
    switch (r.code) {
        case -2:
            return "qxMindlatch2 Runtime could not read file (error in module count).\n\n Reason: Corrupt file";
        case -3:
            return "qxMindlatch2 Runtime could not read file (error in system input count).\n\n Reason: Corrupt file";
        case -4:
            return "qxMindlatch2 Runtime could not read file (error in system output count).\n\n Reason: Corrupt file";
        case -5:
            return "qxMindlatch2 Runtime could not read file (error in system connection count).\n\n Reason: Corrupt file";
        case kReadTrailingBytes:
            return Format(
                "qxMindlatch2 Runtime could not read file (%zu bytes follow the last record at byte offset %zu).\n\n Reason: Corrupt file",
                r.trailing, r.offset);
        case kReadBadInputId:
            return Format(
                "qxMindlatch2 Runtime could not read file (system input id %d at byte offset %zu; ids start at 1).\n\n Reason: Corrupt file",
                r.inputId, r.offset);
        default:
            if (IsDesignerOnlyType(r.componentType))
                return Format(
                    "qxMindlatch2 Runtime could not read file (component type %d at byte offset %zu runs only in the designer).\n\n Reason: Unsupported component type",
                    r.componentType, r.offset);
            return Format(
                "qxMindlatch2 Runtime could not read file (unknown component type %d at byte offset %zu).\n\n Reason: Corrupt file",
                r.componentType, r.offset);
    }
}

}  // namespace

CROpenResult OpenRuntimeFile(CRSystem& system, const char* path, int32_t systemId) {
    CROpenResult result;
    std::vector<uint8_t> bytes;
    result.fileError = ReadInputFile(path, bytes);
    if (result.fileError != 0) {
        const char* reason = "Unknown";
        result.code = OpenFailureCode(result.fileError, reason);
        result.message = Format("qxMindlatch2 Runtime could not open file.\n\n Reason: %s", reason);
        return result;
    }
    const CRReadResult read = ReadRuntimeSystem(system, bytes.data(), bytes.size(), systemId);
    system.BuildOrder();
    if (read.code != 0) {
        Trace("Runtime file %s: %s at byte %zu\n", path, read.detail.c_str(), read.offset);
        result.code = 32;
        result.designerOnly = read.code == kReadUnsupportedType && IsDesignerOnlyType(read.componentType);
        result.message = ReadFailureMessage(read);
        return result;
    }
    result.code = 1;
    result.message = Format(
        "Successfully opened runtime file (%s) - %d module(s), %d system input(s), %d system output(s)",
        FileNameOf(path).c_str(), static_cast<int>(system.m_modules.size()),
        static_cast<int>(system.m_inputs.size()), static_cast<int>(system.m_outputs.size()));
    return result;
}

}  // namespace zor2
