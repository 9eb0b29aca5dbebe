// The runtime registry, generated from the one list of component families: a row
// with a constructor makes the type loadable, a row without one marks it designer-only.
#include "runtime/rt_registry.h"

#include <array>

#include "components/families.h"

namespace zor2 {

// Each family's runtime table, declared from the one list of families.
#define ZOR2_DECLARE_FAMILY(Name) std::span<const CRuntimeType> Name##RuntimeTypes();
ZOR2_COMPONENT_FAMILIES(ZOR2_DECLARE_FAMILY)
#undef ZOR2_DECLARE_FAMILY

namespace {

constexpr int32_t kMaxTypeId = 127;

/// The first row of a type id, or null; ids outside 1..127 are never registered.
const std::array<const CRuntimeType*, kMaxTypeId + 1>& Registry() {
    static const std::array<const CRuntimeType*, kMaxTypeId + 1> table = [] {
        std::array<const CRuntimeType*, kMaxTypeId + 1> t{};
        for (std::span<const CRuntimeType> family : RuntimeFamilyTables()) {
            for (const CRuntimeType& row : family) {
                if (row.typeId > 0 && row.typeId <= kMaxTypeId && !t[static_cast<size_t>(row.typeId)])
                    t[static_cast<size_t>(row.typeId)] = &row;
            }
        }
        return t;
    }();
    return table;
}

const CRuntimeType* FindRow(int32_t typeId) {
    if (typeId < 1 || typeId > kMaxTypeId) return nullptr;
    return Registry()[static_cast<size_t>(typeId)];
}

}  // namespace

const std::vector<std::span<const CRuntimeType>>& RuntimeFamilyTables() {
#define ZOR2_FAMILY_TABLE(Name) Name##RuntimeTypes(),
    static const std::vector<std::span<const CRuntimeType>> tables = {
        ZOR2_COMPONENT_FAMILIES(ZOR2_FAMILY_TABLE)};
#undef ZOR2_FAMILY_TABLE
    return tables;
}

std::unique_ptr<CRNetworkModel> CreateRuntimeComponent(int32_t typeId) {
    const CRuntimeType* row = FindRow(typeId);
    return row && row->create ? row->create(typeId) : nullptr;
}

bool IsDesignerOnlyType(int32_t typeId) {
    const CRuntimeType* row = FindRow(typeId);
    return row && !row->create;
}

}  // namespace zor2
