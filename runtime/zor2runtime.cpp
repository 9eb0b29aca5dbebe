// The exported C interface: one loaded system per process, status codes at the
// boundary, no exception ever leaves a function.
#include "runtime/zor2runtime.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "algo/bytes.h"
#include "algo/platform.h"
#include "runtime/rt_loader.h"
#include "runtime/rt_registry.h"
#include "runtime/rt_system.h"

namespace {

using zor2::CRSystem;
using zor2::CRSystemInput;
using zor2::CRSystemOutput;

std::unique_ptr<CRSystem> g_system;

constexpr int32_t kNotLoaded = -1;
constexpr int32_t kBadId = -2;
constexpr int32_t kNullArgument = -3;

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

/// Copies `text` into a fixed UTF-16 field of `units` code units, cut to
/// units - 1 and zero-filled.
void CopyUnits(const std::u16string& text, uint16_t* field, size_t units) {
    const size_t n = text.size() < units ? text.size() : units - 1;
    for (size_t i = 0; i < units; ++i) field[i] = i < n ? static_cast<uint16_t>(text[i]) : 0;
}

void SetMessage(qxAISystemLoadResult* result, const std::string& text) {
    if (result) CopyUnits(zor2::Utf8ToUtf16(text), result->message, 256);
}

/// Reads the whole file; returns 0 or the open failure code of the interface.
/// Only a regular file is read: a device or a FIFO would never end.
int32_t ReadFile(const char* path, std::vector<uint8_t>& bytes, const char*& reason) {
    switch (zor2::ReadInputFile(path, bytes)) {
        case 0:
            return 0;
        case ENOENT:
            reason = "No such file or directory";
            return 8;
        case ENOMEM:
            reason = "Not enough memory";
            return 2;
        case EACCES:
            reason = "Permission denied";
            return 4;
        case zor2::kNotARegularFile:
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

std::string ReadFailureMessage(const zor2::CRReadResult& r) {
    switch (r.code) {
        case -2:
            return "qxMindlatch2 Runtime could not read file (error in module count).\n\n Reason: Corrupt file";
        case -3:
            return "qxMindlatch2 Runtime could not read file (error in system input count).\n\n Reason: Corrupt file";
        case -4:
            return "qxMindlatch2 Runtime could not read file (error in system output count).\n\n Reason: Corrupt file";
        case -5:
            return "qxMindlatch2 Runtime could not read file (error in system connection count).\n\n Reason: Corrupt file";
        case zor2::kReadTrailingBytes:
            return Format(
                "qxMindlatch2 Runtime could not read file (%zu bytes follow the last record at byte offset %zu).\n\n Reason: Corrupt file",
                r.trailing, r.offset);
        case zor2::kReadBadInputId:
            return Format(
                "qxMindlatch2 Runtime could not read file (system input id %d at byte offset %zu; ids start at 1).\n\n Reason: Corrupt file",
                r.inputId, r.offset);
        default:
            if (zor2::IsDesignerOnlyType(r.componentType))
                return Format(
                    "qxMindlatch2 Runtime could not read file (component type %d at byte offset %zu runs only in the designer).\n\n Reason: Unsupported component type",
                    r.componentType, r.offset);
            return Format(
                "qxMindlatch2 Runtime could not read file (unknown component type %d at byte offset %zu).\n\n Reason: Corrupt file",
                r.componentType, r.offset);
    }
}

void FillInputInfo(CRSystemInput& in, qxAISystemPortInfo* info) {
    info->id = in.m_id;
    info->kind = in.m_kind;
    info->value = in.m_value;
    CopyUnits(in.m_name, info->name, 100);
    info->data = &in.m_value;
}

/// Fills the record of a system output; `liveData` selects what data points at
/// for a plain output (its live value) instead of receiving a copy of the value.
void FillOutputInfo(CRSystemOutput& out, qxAISystemPortInfo* info, bool liveData) {
    info->id = out.m_id;
    info->value = out.m_value;
    CopyUnits(out.m_name, info->name, 100);
    if (out.ReadsArray()) {
        info->kind = 2;
        info->count = out.Source()->m_arrayCount;
        info->data = out.Source()->m_arrayData;
    } else {
        info->kind = out.m_kind;
        info->count = 1;
        if (liveData) {
            info->data = &out.m_value;
        } else if (info->data) {
            *info->data = out.m_value;
        }
    }
}

}  // namespace

extern "C" {

int32_t qxAISystem_Load(const char* path, int32_t systemId, qxAISystemLoadResult* result) {
    if (!path) return kNullArgument;
    try {
        g_system.reset();
        g_system = std::make_unique<CRSystem>();
    } catch (...) {
        g_system.reset();
        return 0;
    }
    try {
        std::vector<uint8_t> bytes;
        const char* reason = "Unknown";
        if (const int32_t code = ReadFile(path, bytes, reason); code != 0) {
            SetMessage(result, Format("qxMindlatch2 Runtime could not open file.\n\n Reason: %s", reason));
            return code;
        }
        const zor2::CRReadResult read =
            zor2::ReadRuntimeSystem(*g_system, bytes.data(), bytes.size(), systemId);
        g_system->BuildOrder();
        if (read.code != 0) {
            zor2::Trace("Runtime file %s: %s at byte %zu\n", path, read.detail.c_str(), read.offset);
            SetMessage(result, ReadFailureMessage(read));
            return 32;
        }
        if (result) {
            result->status = 0;
            result->loaded = 1;
            SetMessage(
                result,
                Format(
                    "Successfully opened runtime file (%s) - %d module(s), %d system input(s), %d system output(s)",
                    FileNameOf(path).c_str(), static_cast<int>(g_system->m_modules.size()),
                    static_cast<int>(g_system->m_inputs.size()),
                    static_cast<int>(g_system->m_outputs.size())));
        }
        return 1;
    } catch (...) {
        // Only an allocation failure can land here; nothing half-built stays loaded.
        g_system.reset();
        return 0;
    }
}

int32_t qxAISystem_Unload(void) {
    g_system.reset();
    return 0;
}

double qxAISystem_GetVersion(void) {
    return 2.13;
}

int32_t qxAISystem_Execute(void) {
    if (!g_system) return kNotLoaded;
    g_system->Execute();
    return 0;
}

int32_t qxAISystem_SetValue(int32_t id, double value) {
    if (!g_system) return kNotLoaded;
    CRSystemInput* in = g_system->FindInput(id);
    if (!in) return kBadId;
    in->m_value = value;
    return 0;
}

int32_t qxAISystem_SetArrayValues(int32_t id, double* data, int32_t count) {
    if (!g_system) return kNotLoaded;
    if (count < 0 || (!data && count > 0)) return kNullArgument;
    CRSystemInput* in = g_system->FindInput(id);
    if (!in) return kBadId;
    in->m_arrayData = data;
    in->m_arrayCount = count;
    return 0;
}

int32_t qxAISystem_GetCountSystemInputs(void) {
    if (!g_system) return kNotLoaded;
    return static_cast<int32_t>(g_system->m_inputs.size());
}

int32_t qxAISystem_GetCountSystemOutputs(void) {
    if (!g_system) return kNotLoaded;
    return static_cast<int32_t>(g_system->m_outputs.size());
}

int32_t qxAISystem_GetSystemInputInfo(int32_t, int32_t id, qxAISystemPortInfo* info) {
    if (!g_system) return kNotLoaded;
    if (!info) return kNullArgument;
    CRSystemInput* in = g_system->FindInput(id);
    if (!in) return kBadId;
    FillInputInfo(*in, info);
    return 0;
}

int32_t qxAISystem_GetSystemInputValue(int32_t, int32_t id, double* value) {
    if (!g_system) return kNotLoaded;
    if (!value) return kNullArgument;
    CRSystemInput* in = g_system->FindInput(id);
    if (!in) return kBadId;
    *value = in->m_value;
    return 0;
}

int32_t qxAISystem_GetSystemOutputInfo(int32_t, int32_t id, qxAISystemPortInfo* info) {
    if (!g_system) return kNotLoaded;
    if (!info) return kNullArgument;
    CRSystemOutput* out = g_system->FindOutput(id);
    if (!out) return kBadId;
    FillOutputInfo(*out, info, false);
    return 0;
}

int32_t qxAISystem_GetSystemOutputValue(int32_t, int32_t id, double* values) {
    if (!g_system) return kNotLoaded;
    if (!values) return kNullArgument;
    CRSystemOutput* out = g_system->FindOutput(id);
    if (!out) return kBadId;
    if (out->ReadsArray()) {
        const auto* src = out->Source();
        if (src->m_arrayCount > 0) std::memcpy(values, src->m_arrayData, sizeof(double) * src->m_arrayCount);
    } else {
        *values = out->m_value;
    }
    return 0;
}

int32_t qxAISystem_GetAllSystemInputs(int32_t, qxAISystemPortInfo* infos) {
    if (!g_system) return kNotLoaded;
    if (!infos) return kNullArgument;
    for (size_t i = 0; i < g_system->m_inputs.size(); ++i) FillInputInfo(g_system->m_inputs[i], &infos[i]);
    return 0;
}

int32_t qxAISystem_GetAllSystemOutputs(int32_t, qxAISystemPortInfo* infos) {
    if (!g_system) return kNotLoaded;
    if (!infos) return kNullArgument;
    for (size_t i = 0; i < g_system->m_outputs.size(); ++i)
        FillOutputInfo(g_system->m_outputs[i], &infos[i], true);
    return 0;
}

int32_t qxAISystem_GetSystemOutputValues(int32_t id, double* values, int32_t capacity) {
    if (!g_system) return kNotLoaded;
    if (capacity < 0 || (!values && capacity > 0)) return kNullArgument;
    CRSystemOutput* out = g_system->FindOutput(id);
    if (!out) return kBadId;
    if (out->ReadsArray()) {
        const auto* src = out->Source();
        const int32_t held = src->m_arrayCount > 0 ? src->m_arrayCount : 0;
        const int32_t n = held < capacity ? held : capacity;
        if (n > 0) std::memcpy(values, src->m_arrayData, sizeof(double) * n);
        return held;
    }
    if (capacity > 0) values[0] = out->m_value;
    return 1;
}

}  // extern "C"
