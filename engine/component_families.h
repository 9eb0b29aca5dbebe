// The list of component families whose types the factory knows. A component
// issue adds its family's table here and nowhere else.
#pragma once

#include <span>
#include <vector>

#include "engine/catalogue.h"

namespace zor2 {

std::span<const CComponentType> MathComponentTypes();
std::span<const CComponentType> ConstantComponentTypes();
std::span<const CComponentType> FeedbackComponentTypes();

inline std::vector<std::span<const CComponentType>> ComponentFamilies() {
    return {
        MathComponentTypes(),
        ConstantComponentTypes(),
        FeedbackComponentTypes(),
    };
}

}  // namespace zor2
