// The handle-based C interface: each handle owns its system, random source, clock
// and copies of the host's arrays, so handles never share state.
#include "runtime/zor2rt.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "algo/bytes.h"
#include "algo/platform.h"
#include "runtime/rt_open.h"
#include "runtime/rt_system.h"

struct zor2rt_system {
    zor2::CRSystem system;
    zor2::CLcgRandom random{1};
    zor2::CSteadyClock clock;
    // One copy per system input, in list order; the input points into it.
    std::vector<std::vector<double>> arrays;
};

namespace {

using zor2::CRSystemInput;
using zor2::CRSystemOutput;

zor2rt_status StatusOf(const zor2::CROpenResult& r) {
    switch (r.code) {
        case 8:
            return ZOR2RT_NO_SUCH_FILE;
        case 4:
            return ZOR2RT_PERMISSION_DENIED;
        case 2:
            return ZOR2RT_OUT_OF_MEMORY;
        case 32:
            return r.designerOnly ? ZOR2RT_UNSUPPORTED_TYPE : ZOR2RT_CORRUPT_FILE;
        default:
            return r.fileError == zor2::kNotARegularFile ? ZOR2RT_NOT_A_FILE : ZOR2RT_OPEN_FAILED;
    }
}

void Set(zor2rt_status* status, zor2rt_status value) {
    if (status) *status = value;
}

/// Copies `name` as UTF-8 into a field of `size` bytes, cut at a character boundary.
void CopyName(const std::u16string& name, char* field, size_t size) {
    const std::string text = zor2::Utf16ToUtf8(name);
    size_t n = text.size() < size ? text.size() : size - 1;
    while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    std::memcpy(field, text.data(), n);
    std::memset(field + n, 0, size - n);
}

}  // namespace

extern "C" {

zor2rt_system* zor2rt_open(const char* path, zor2rt_status* status) {
    if (!path) {
        Set(status, ZOR2RT_NULL_ARGUMENT);
        return nullptr;
    }
    try {
        auto handle = std::make_unique<zor2rt_system>();
        handle->system.m_random = &handle->random;
        handle->system.m_clock = &handle->clock;
        const zor2::CROpenResult opened = zor2::OpenRuntimeFile(handle->system, path, 0);
        if (opened.code != 1) {
            Set(status, StatusOf(opened));
            return nullptr;
        }
        handle->arrays.resize(handle->system.m_inputs.size());
        Set(status, ZOR2RT_OK);
        return handle.release();
    } catch (...) {
        Set(status, ZOR2RT_OUT_OF_MEMORY);
        return nullptr;
    }
}

void zor2rt_close(zor2rt_system* system) {
    delete system;
}

zor2rt_status zor2rt_step(zor2rt_system* system) {
    if (!system) return ZOR2RT_NULL_ARGUMENT;
    system->system.Execute();
    return ZOR2RT_OK;
}

zor2rt_status zor2rt_set_seed(zor2rt_system* system, uint32_t seed) {
    if (!system) return ZOR2RT_NULL_ARGUMENT;
    system->random.Seed(seed);
    return ZOR2RT_OK;
}

zor2rt_status zor2rt_set_input(zor2rt_system* system, int32_t id, double value) {
    if (!system) return ZOR2RT_NULL_ARGUMENT;
    CRSystemInput* in = system->system.FindInput(id);
    if (!in) return ZOR2RT_BAD_ID;
    in->m_value = value;
    return ZOR2RT_OK;
}

zor2rt_status zor2rt_set_input_array(zor2rt_system* system, int32_t id, const double* data, int32_t count) {
    if (!system || (!data && count > 0)) return ZOR2RT_NULL_ARGUMENT;
    if (count < 0) return ZOR2RT_BAD_ARGUMENT;
    CRSystemInput* in = system->system.FindInput(id);
    if (!in) return ZOR2RT_BAD_ID;
    std::vector<double>& copy = system->arrays[static_cast<size_t>(in - system->system.m_inputs.data())];
    try {
        copy.assign(data, data + count);
    } catch (...) {
        return ZOR2RT_OUT_OF_MEMORY;
    }
    in->m_arrayData = count > 0 ? copy.data() : nullptr;
    in->m_arrayCount = count;
    return ZOR2RT_OK;
}

zor2rt_status zor2rt_get_output(const zor2rt_system* system, int32_t id, double* value) {
    if (!system || !value) return ZOR2RT_NULL_ARGUMENT;
    const CRSystemOutput* out = const_cast<zor2::CRSystem&>(system->system).FindOutput(id);
    if (!out) return ZOR2RT_BAD_ID;
    *value = out->m_value;
    return ZOR2RT_OK;
}

zor2rt_status zor2rt_get_output_array(const zor2rt_system* system, int32_t id, double* values,
                                      int32_t capacity, int32_t* count) {
    if (!system || !count || (!values && capacity > 0)) return ZOR2RT_NULL_ARGUMENT;
    if (capacity < 0) return ZOR2RT_BAD_ARGUMENT;
    const CRSystemOutput* out = const_cast<zor2::CRSystem&>(system->system).FindOutput(id);
    if (!out) return ZOR2RT_BAD_ID;
    if (out->ReadsArray()) {
        const auto* src = out->Source();
        const int32_t held = src->m_arrayCount > 0 ? src->m_arrayCount : 0;
        const int32_t n = held < capacity ? held : capacity;
        if (n > 0) std::memcpy(values, src->m_arrayData, sizeof(double) * static_cast<size_t>(n));
        *count = held;
    } else {
        if (capacity > 0) values[0] = out->m_value;
        *count = 1;
    }
    return ZOR2RT_OK;
}

zor2rt_status zor2rt_get_outputs(const zor2rt_system* system, double* values, int32_t capacity) {
    if (!system || !values) return ZOR2RT_NULL_ARGUMENT;
    const auto& outputs = system->system.m_outputs;
    if (capacity < 0 || static_cast<size_t>(capacity) < outputs.size()) return ZOR2RT_BAD_ARGUMENT;
    for (size_t i = 0; i < outputs.size(); ++i) values[i] = outputs[i].m_value;
    return ZOR2RT_OK;
}

int32_t zor2rt_input_count(const zor2rt_system* system) {
    return system ? static_cast<int32_t>(system->system.m_inputs.size()) : -1;
}

int32_t zor2rt_output_count(const zor2rt_system* system) {
    return system ? static_cast<int32_t>(system->system.m_outputs.size()) : -1;
}

zor2rt_status zor2rt_port_info(const zor2rt_system* system, int32_t direction, int32_t index,
                               zor2rt_port* info) {
    if (!system || !info) return ZOR2RT_NULL_ARGUMENT;
    const zor2::CRSystem& s = system->system;
    if (direction == ZOR2RT_INPUT && index >= 0 && static_cast<size_t>(index) < s.m_inputs.size()) {
        const CRSystemInput& in = s.m_inputs[static_cast<size_t>(index)];
        info->id = in.m_id;
        info->kind = in.m_kind;
        info->array = in.m_kind == 2 ? 1 : 0;
        info->count = in.m_kind == 2 ? in.m_arrayCount : 1;
        CopyName(in.m_name, info->name, sizeof info->name);
        return ZOR2RT_OK;
    }
    if (direction == ZOR2RT_OUTPUT && index >= 0 && static_cast<size_t>(index) < s.m_outputs.size()) {
        const CRSystemOutput& out = s.m_outputs[static_cast<size_t>(index)];
        info->id = out.m_id;
        info->kind = out.m_kind;
        info->array = out.ReadsArray() ? 1 : 0;
        info->count = out.ReadsArray() ? out.Source()->m_arrayCount : 1;
        CopyName(out.m_name, info->name, sizeof info->name);
        return ZOR2RT_OK;
    }
    return ZOR2RT_BAD_ID;
}

const char* zor2rt_status_text(zor2rt_status status) {
    switch (status) {
        case ZOR2RT_OK:
            return "ok";
        case ZOR2RT_NULL_ARGUMENT:
            return "a required pointer is null";
        case ZOR2RT_BAD_ID:
            return "no such port";
        case ZOR2RT_BAD_ARGUMENT:
            return "a count or capacity is out of range";
        case ZOR2RT_NO_SUCH_FILE:
            return "no such file";
        case ZOR2RT_PERMISSION_DENIED:
            return "permission denied";
        case ZOR2RT_NOT_A_FILE:
            return "not a regular file";
        case ZOR2RT_OPEN_FAILED:
            return "the file could not be opened";
        case ZOR2RT_CORRUPT_FILE:
            return "the file is damaged or not a runtime file";
        case ZOR2RT_UNSUPPORTED_TYPE:
            return "the file holds a component that runs only in the designer";
        case ZOR2RT_OUT_OF_MEMORY:
            return "not enough memory";
    }
    return "unknown status";
}

}  // extern "C"
