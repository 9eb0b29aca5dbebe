// Concatenates the families' runtime type tables; a later family adds one line.
#include "runtime/rt_registry.h"

#include <array>
#include <initializer_list>
#include <span>

#include "components/decision/comparator_rt.h"
#include "components/decision/feedback_rt.h"
#include "components/logic/bit_extractor_rt.h"
#include "components/logic/toggle_rt.h"
#include "components/logic/truth_check_rt.h"
#include "components/logic/valve_rt.h"
#include "components/math/angle_rt.h"
#include "components/math/compare_rt.h"
#include "components/math/delay_rt.h"
#include "components/math/delta_rt.h"
#include "components/math/math_exp_rt.h"
#include "components/math/math_rt.h"
#include "components/utility/constant_rt.h"
#include "components/utility/counter_rt.h"
#include "components/utility/do_once_rt.h"
#include "components/utility/quantity_diminish_rt.h"
#include "components/utility/rand_gen_rt.h"
#include "components/utility/timer_rt.h"

namespace zor2 {

namespace {

constexpr int32_t kMaxTypeId = 127;

using CreateFn = std::unique_ptr<CRNetworkModel> (*)(int32_t);

const std::array<CreateFn, kMaxTypeId + 1>& Registry() {
    static const std::array<CreateFn, kMaxTypeId + 1> table = [] {
        std::array<CreateFn, kMaxTypeId + 1> t{};
        const std::initializer_list<std::span<const CRuntimeType>> families = {
            MathRuntimeTypes(),
            ConstantRuntimeTypes(),
            FeedbackRuntimeTypes(),
            TruthCheckRuntimeTypes(),
            ValveRuntimeTypes(),
            ToggleRuntimeTypes(),
            BitExtractorRuntimeTypes(),
            DoOnceRuntimeTypes(),
            MathExpRuntimeTypes(),
            AngleRuntimeTypes(),
            DeltaRuntimeTypes(),
            CompareRuntimeTypes(),
            ComparatorRuntimeTypes(),
            TimerRuntimeTypes(),
            DelayRuntimeTypes(),
            CounterRuntimeTypes(),
            QuantityDiminishRuntimeTypes(),
            RandomRuntimeTypes(),
        };
        for (std::span<const CRuntimeType> family : families) {
            for (const CRuntimeType& row : family) {
                if (row.typeId > 0 && row.typeId <= kMaxTypeId && row.typeId != kTypeSimInfoLocalTime)
                    t[static_cast<size_t>(row.typeId)] = row.create;
            }
        }
        return t;
    }();
    return table;
}

}  // namespace

std::unique_ptr<CRNetworkModel> CreateRuntimeComponent(int32_t typeId) {
    if (typeId < 1 || typeId > kMaxTypeId) return nullptr;
    CreateFn create = Registry()[static_cast<size_t>(typeId)];
    return create ? create(typeId) : nullptr;
}

}  // namespace zor2
