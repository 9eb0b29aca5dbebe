// One component's part of a module's compiled cycle: the ports it reads and
// writes, found once per wiring, and the function that runs its input and
// execute phases over them without walking port lists or connections.
#pragma once

#include <cstdint>

namespace zor2 {

class CNetworkModel;
class CModelInput;
class CModelOutput;

/// At most this many inputs take part in a compiled step; a component with
/// more runs through its own operations. Two keep a step on one cache line.
inline constexpr int kStepInputs = 2;

struct alignas(64) CCycleStep {
    using FRun = void (*)(const CCycleStep&);
    /// Null: the component runs through its GetInputValues and Execute.
    FRun run = nullptr;
    CNetworkModel* component = nullptr;
    CModelOutput* out = nullptr;  // the first output, or null
    int32_t inputs = 0;           // the first `inputs` entries of in[] are used, in list order
    uint32_t flags = 0;           // per input k: kConnected << k, kFedBack << k
    CModelInput* in[kStepInputs] = {};
    /// Where in[k] takes its value from: the source's value, or its own value
    /// when it has no source (or its connection leads nowhere), which it keeps.
    const double* source[kStepInputs] = {};

    static constexpr uint32_t kConnected = 1u;  // in[k] has a source connection
    static constexpr uint32_t kFedBack = 4u;    // its source is a Feedback Flow output

    /// What pulling in[k] gives, by the common pull's rule: a Feedback Flow
    /// source reads 0 until it has run (its flag is cached in the input).
    double Read(int k) const {
        if ((flags & (kFedBack << k)) && FedBackUnprimed(k)) return 0.0;
        return *source[k];
    }
    bool Connected(int k) const { return flags & (kConnected << k); }
    bool FedBackUnprimed(int k) const;
};
static_assert(sizeof(CCycleStep) == 64);

/// Whether inputs fed by a module input may take part (types that leave an
/// array-fed input as it was must test the running system every cycle).
enum class EModuleInputs { Allowed, Refused };

/// Fills the step's inputs and first output from the component's lists. False
/// when the component has more than `maxInputs` inputs (at most kStepInputs) or
/// an input fed by a module input while those are refused.
bool BindStepPorts(CCycleStep& step, const CNetworkModel& component, int maxInputs = kStepInputs,
                   EModuleInputs moduleInputs = EModuleInputs::Allowed);

}  // namespace zor2
