// Sim Info: the designer's type table. Its classes are still to be built, so it
// registers no type yet and the factory yields no component for them.
#include "engine/catalogue.h"

namespace zor2 {

std::span<const CComponentType> SimInfoComponentTypes() {
    return {};
}

}  // namespace zor2
