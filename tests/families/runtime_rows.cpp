// The runtime registry's answers for the family walk.
#include "runtime_rows.h"

#include "runtime/rt_registry.h"

namespace zor2::test {

std::vector<CRuntimeRow> RuntimeRows() {
    std::vector<CRuntimeRow> rows;
    for (std::span<const CRuntimeType> family : RuntimeFamilyTables())
        for (const CRuntimeType& row : family) rows.push_back({row.typeId, row.create != nullptr});
    return rows;
}

int32_t RuntimeCreates(int32_t typeId) {
    const auto component = CreateRuntimeComponent(typeId);
    return component ? component->m_type : 0;
}

bool RuntimeDesignerOnly(int32_t typeId) {
    return IsDesignerOnlyType(typeId);
}

}  // namespace zor2::test
