// Do Once, shared by the designer's CModelDoOnce and the runtime's
// CRModelDoOnce: fires in the first cycle with the event after a reset.
#pragma once

#include <cstdint>

namespace zor2 {

inline constexpr int32_t kTypeDoOnce = 90;

struct CDoOnceState {
    bool done = false;   // fired since the last reset
    bool event = false;  // the "Event" input is true

    void Reset() {
        done = false;
        event = false;
    }
    /// The trigger value of this cycle: 1 once per reset, else 0.
    double Fire() {
        if (event && !done) {
            done = true;
            return 1.0;
        }
        return 0.0;
    }
};

}  // namespace zor2
