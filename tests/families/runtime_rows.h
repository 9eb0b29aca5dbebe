// The runtime registry as the family walk sees it. The runtime's headers and the
// engine's cannot share a translation unit, so its questions are answered here.
#pragma once

#include <cstdint>
#include <vector>

namespace zor2::test {

struct CRuntimeRow {
    int32_t typeId;
    bool hasClass;  // false: the type runs only in the designer
};

/// Every row of every family's runtime table, in family order.
std::vector<CRuntimeRow> RuntimeRows();
/// The type id of the runtime component created for `typeId`, or 0 when none is.
int32_t RuntimeCreates(int32_t typeId);
bool RuntimeDesignerOnly(int32_t typeId);

}  // namespace zor2::test
