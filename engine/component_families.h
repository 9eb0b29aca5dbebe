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
std::span<const CComponentType> TruthCheckComponentTypes();
std::span<const CComponentType> ValveComponentTypes();
std::span<const CComponentType> ToggleComponentTypes();
std::span<const CComponentType> BitExtractorComponentTypes();
std::span<const CComponentType> DoOnceComponentTypes();
std::span<const CComponentType> MathExpComponentTypes();
std::span<const CComponentType> AngleComponentTypes();
std::span<const CComponentType> DeltaComponentTypes();
std::span<const CComponentType> CompareComponentTypes();
std::span<const CComponentType> ComparatorComponentTypes();
std::span<const CComponentType> TimerComponentTypes();
std::span<const CComponentType> DelayComponentTypes();
std::span<const CComponentType> CounterComponentTypes();
std::span<const CComponentType> QuantityDiminishComponentTypes();
std::span<const CComponentType> RandomComponentTypes();

inline std::vector<std::span<const CComponentType>> ComponentFamilies() {
    return {
        MathComponentTypes(),
        ConstantComponentTypes(),
        FeedbackComponentTypes(),
        TruthCheckComponentTypes(),
        ValveComponentTypes(),
        ToggleComponentTypes(),
        BitExtractorComponentTypes(),
        DoOnceComponentTypes(),
        MathExpComponentTypes(),
        AngleComponentTypes(),
        DeltaComponentTypes(),
        CompareComponentTypes(),
        ComparatorComponentTypes(),
        TimerComponentTypes(),
        DelayComponentTypes(),
        CounterComponentTypes(),
        QuantityDiminishComponentTypes(),
        RandomComponentTypes(),
    };
}

}  // namespace zor2
