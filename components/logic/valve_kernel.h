// The valve, shared by the designer's CModelValve and the runtime's CRModelValve:
// an open valve passes the value read on "ValueIN", a closed one gives 0.
#pragma once

#include <cstdint>

namespace zor2 {

inline constexpr int32_t kTypeValve = 9;

inline double ValveOutput(bool open, double value) {
    return open ? value : 0.0;
}

}  // namespace zor2
