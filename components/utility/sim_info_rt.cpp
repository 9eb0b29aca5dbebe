// Sim Info: the runtime's type table. Sim Info LocalTime has no runtime class;
// its row tells the loader that the type exists but runs only in the designer.
#include "components/utility/sim_info_kernel.h"
#include "runtime/rt_model.h"

namespace zor2 {

namespace {
constexpr CRuntimeType kTypes[] = {{kTypeSimInfoLocalTime, nullptr}};
}  // namespace

std::span<const CRuntimeType> SimInfoRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
