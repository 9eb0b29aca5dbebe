// The global C interface: one default system per process over the same load path
// as the handles, status codes at the boundary, no exception ever leaves a function.
#include "runtime/zor2runtime.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "algo/bytes.h"
#include "runtime/rt_open.h"
#include "runtime/rt_system.h"

namespace {

using zor2::CRSystem;
using zor2::CRSystemInput;
using zor2::CRSystemOutput;

std::unique_ptr<CRSystem> g_system;

constexpr int32_t kNotLoaded = -1;
constexpr int32_t kBadId = -2;
constexpr int32_t kNullArgument = -3;

/// Copies `text` into a fixed UTF-16 field of `units` code units, cut to
/// units - 1 and zero-filled.
void CopyUnits(const std::u16string& text, uint16_t* field, size_t units) {
    const size_t n = text.size() < units ? text.size() : units - 1;
    for (size_t i = 0; i < units; ++i) field[i] = i < n ? static_cast<uint16_t>(text[i]) : 0;
}

void SetMessage(qxAISystemLoadResult* result, const std::string& text) {
    if (result) CopyUnits(zor2::Utf8ToUtf16(text), result->message, 256);
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
        const zor2::CROpenResult opened = zor2::OpenRuntimeFile(*g_system, path, systemId);
        if (opened.code == 1 && result) {
            result->status = 0;
            result->loaded = 1;
        }
        SetMessage(result, opened.message);
        return opened.code;
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
