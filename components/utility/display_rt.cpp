// Runtime pictures: the type table.
#include "components/utility/display_rt.h"

namespace zor2 {

namespace {
template <class T>
std::unique_ptr<CRNetworkModel> Create(int32_t typeId) {
    return std::make_unique<T>(typeId);
}
constexpr CRuntimeType kTypes[] = {{kTypeLedDigit, Create<CRModelLEDDigit>},
                                   {kTypeChartColumn, Create<CRModelChartColumn>}};
}  // namespace

std::span<const CRuntimeType> DisplayRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
