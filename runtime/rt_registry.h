// The runtime component registry: the runtime type tables of every family that
// components/families.h lists, and the factory that builds a runtime component
// from a type id.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "runtime/rt_model.h"

namespace zor2 {

/// Creates the runtime component of `typeId`, or null when the runtime has no class for it.
std::unique_ptr<CRNetworkModel> CreateRuntimeComponent(int32_t typeId);
/// Whether a family registers `typeId` without a runtime class: the type runs only in the designer.
bool IsDesignerOnlyType(int32_t typeId);
/// Every family's runtime rows, in the order components/families.h lists the families.
const std::vector<std::span<const CRuntimeType>>& RuntimeFamilyTables();

}  // namespace zor2
