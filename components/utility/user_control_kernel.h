// The user controls operated with the mouse while the simulation runs — User
// Control Button (type 59) and User Button Up Down (type 78): their ids, modes
// and record field lists, shared by the designer and the runtime halves.
#pragma once

#include <cstdint>

namespace zor2 {

inline constexpr int32_t kTypeUserButton = 59;
inline constexpr int32_t kTypeUserButtonUpDown = 78;

/// Button modes: on for one cycle per press, on while held, flipped by each press.
enum EButtonMode : int32_t { kButtonOnce = 0, kButtonContinuous = 1, kButtonToggle = 2 };

/// A value above this counts as on (0.1 in single precision).
inline constexpr double kButtonThreshold = static_cast<double>(0.1f);

/// The toggle rule both controls share: off from 0.1 up, else on.
inline double ToggledValue(double value) {
    return value >= kButtonThreshold ? 0.0 : 1.0;
}

/// User Control Button fields beyond the component base.
struct CUserButtonFields {
    int32_t mode = kButtonContinuous;
    bool reserved = true;  // saved and exported, read by nothing
};
/// The project record's and the runtime record's fields alike (5 bytes in the runtime file).
template <class Ar, class F>
void UserButtonFieldList(Ar& ar, F& f) {
    ar.I32(f.mode);
    ar.Bool(f.reserved);
}

/// User Button Up Down fields beyond the component base.
struct CUpDownFields {
    double increment = 1.0;  // its sign follows the half last pressed
    int32_t sizeStyle = 2;
    int32_t mode = kButtonContinuous;
    double baseValue = 0.0;
    bool reserved = true;
};
template <class Ar, class F>
void UpDownProjectFields(Ar& ar, F& f) {
    ar.F64(f.increment);
    ar.I32(f.sizeStyle);
    ar.I32(f.mode);
    ar.F64(f.baseValue);
    ar.Bool(f.reserved);
}
/// The runtime record has no size style: 21 bytes.
template <class Ar, class F>
void UpDownRuntimeFields(Ar& ar, F& f) {
    ar.F64(f.increment);
    ar.I32(f.mode);
    ar.F64(f.baseValue);
    ar.Bool(f.reserved);
}

}  // namespace zor2
