// Small input rules the runtime component classes share.
#pragma once

#include "runtime/rt_model.h"

namespace zor2 {

/// The switch on input 10 (pass its pointer, resolved at load): on when it is
/// missing, unconnected or its source is non-zero; the input then holds 1, else 0.
inline bool RuntimeOnOff(CRModelInput* in) {
    if (!in) return true;
    in->Pull();
    const bool on = !in->HasSource() || in->m_value != 0.0;
    in->m_value = on ? 1.0 : 0.0;
    return on;
}

/// The value an input's source delivers now; 0 without a source.
inline double RuntimeSourceValue(CRModelInput* in) {
    if (!in || !in->HasSource()) return 0.0;
    in->Pull();
    return in->m_value;
}

/// The output with `id`, or null (for resolving at load).
inline CRModelOutput* RuntimeOutput(CRNetworkModel& c, int32_t id) {
    for (CRModelOutput& out : c.m_outputs)
        if (out.m_id == id) return &out;
    return nullptr;
}

/// Sets an output resolved at load, if there is one.
inline void SetRuntimeOutput(CRModelOutput* out, double v) {
    if (out) out->m_value = v;
}

}  // namespace zor2
