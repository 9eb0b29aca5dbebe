// The Sim Info sources of time and count, shared by their designer and runtime
// halves. Sim Info LocalTime reads the local clock and runs only in the designer.
#pragma once

#include <cstdint>

namespace zor2 {

inline constexpr int32_t kTypeSimInfoLocalTime = 55;

}  // namespace zor2
