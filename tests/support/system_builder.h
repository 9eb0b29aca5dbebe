// Small helpers that build systems through the engine's own operations.
#pragma once

#include <string>

#include "engine/system.h"

namespace zor2::test {

/// A component from the palette path (template ports, stages), failing the test if refused.
CNetworkModel* Drop(CNetwork& module, int32_t typeId, int32_t x = 100, int32_t y = 100);
/// A Constant with the given value.
CNetworkModel* DropConstant(CNetwork& module, double value);
/// Connects `src`'s first output (or a new one) to a new input of `dst`; expects success.
void Wire(CNetwork& module, CNetworkModel& src, CNetworkModel& dst);
/// Exposes `src`'s first output as a new module output named `name`.
CNetworkOutput* ExposeOutput(CNetwork& module, CNetworkModel& src, const std::string& name);

}  // namespace zor2::test
