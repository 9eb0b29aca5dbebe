// Feedback Flow state shared by the designer's CModelFeedback and the runtime's
// CRModelFeedback: the value read this cycle is published at the next Execute.
#pragma once

#include <cstdint>

namespace zor2 {

/// Type id of the Feedback Flow component: its module runs it after all others
/// and connections through it may close a loop.
inline constexpr int32_t kTypeFeedbackFlow = 56;

struct CFeedbackState {
    double pending = 0.0;  // what the next Execute publishes
    bool primed = false;   // set by the first Execute after a reset

    void Take(double input) { pending = input; }
    /// Returns the value to publish; `baseValue` (the component value) becomes pending.
    double Publish(double baseValue) {
        const double out = pending;
        primed = true;
        pending = baseValue;
        return out;
    }
    void Reset() {
        pending = 0.0;
        primed = false;
    }
};

}  // namespace zor2
