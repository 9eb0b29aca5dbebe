// The sim actions — Stop (type 50), Sound (51), Message (52) and Format (69) —
// shared by the designer's CModelSimAction and the runtime's CRModelSimAction:
// their ids, the trigger rule and the runtime record.
#pragma once

#include <cstdint>

namespace zor2 {

inline constexpr int32_t kTypeSimActionStop = 50;
inline constexpr int32_t kTypeSimActionSound = 51;
inline constexpr int32_t kTypeSimActionMessage = 52;
inline constexpr int32_t kTypeSimActionFormat = 69;

/// Target kinds of a Format action (its parameter integer).
inline constexpr int32_t kTargetValueWindow = 60;
inline constexpr int32_t kTargetGraphic = 25;

/// A trigger or stop input reads 1 when it has a source whose value is true, else 0.
inline double TriggerValue(bool hasSource, double sourceValue) {
    return hasSource && sourceValue != 0.0 ? 1.0 : 0.0;
}

/// The runtime record after the component base: enabled, one byte.
template <class Ar, class F>
void SimActionRuntimeFields(Ar& ar, F& enabled) {
    ar.Bool(enabled);
}

}  // namespace zor2
