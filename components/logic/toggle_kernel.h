// The toggles, shared by the designer's CModelToggle and the runtime's
// CRModelToggle: the state is the first output's value and flips in every
// cycle whose input is true (level, not edge).
#pragma once

#include <cstdint>

namespace zor2 {

enum EToggleType : int32_t {
    kToggleSinglePole = 10,
    kToggleDualPole = 11,
};

/// The state after one cycle.
inline bool ToggleNext(bool state, bool input) {
    return input ? !state : state;
}

}  // namespace zor2
