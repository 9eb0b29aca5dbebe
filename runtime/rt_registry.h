// The runtime component registry: the type tables of every component family,
// concatenated, and the factory that builds a runtime component from a type id.
#pragma once

#include <cstdint>
#include <memory>

#include "runtime/rt_model.h"

namespace zor2 {

/// Type 55 runs only in the designer; the runtime has no class for it.
inline constexpr int32_t kTypeSimInfoLocalTime = 55;

/// Creates the runtime component of `typeId`, or null when the runtime has no class for it.
std::unique_ptr<CRNetworkModel> CreateRuntimeComponent(int32_t typeId);

}  // namespace zor2
