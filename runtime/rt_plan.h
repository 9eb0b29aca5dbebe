// A module's compiled cycle: one contiguous list of small steps built once after
// loading, run by a switch on the step kind, with a call-through step for the rest;
// the compiled steps publish into one array of values the plan owns.
#pragma once

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "runtime/rt_model.h"

namespace zor2 {

struct CFeedbackState;
struct CTimerRunState;

/// What a step does. A compiled step reads its inputs' sources directly and
/// writes only its outputs: the input values and the component value the
/// component's own phases would also keep are read by nothing else.
enum ERStepKind : uint8_t {
    kStepCallThrough,     // the component's own GetInputValues and Execute
    kStepCopies,          // m_sourceCount copies from the plan's copy list on, in order
    kStepRangeCheck,      // three sources: value, minimum, maximum
    kStepMath,            // any arithmetic type over any number of sources
    kStepTruthCheck,      // a gate over any number of sources
    kStepCounter,         // m_a the event source, m_b the reset source (null when none)
    kStepCounterChained,  // the same with the event from the register
    kStepCount,           // a counter without a reset source: m_a the event source
    kStepCountChained,    // the same with the event from the register
    kStepCompare,         // m_a the compare value, m_b the tolerance, the rest in a compare record
    kStepCompareChained,  // the same testing one input, the register
    // A Compare testing the register alone whose first output is no other one:
    // the test is the kind, and the register is all its outputs need.
    kStepCompareEqualOne,
    kStepCompareGreaterOne,
    kStepCompareLessOne,
    kStepDelay,          // m_a the raw source (a zero when unfed), with the feedback input
    kStepDelayChained,   // the same with the raw value from the register
    kStepNegate,         // Reverse Sign of m_a
    kStepNegateChained,  // the same of the register
    kStepValve,          // m_a the "ValueIN" source, m_b the "Enabler" source
    kStepValveChained,   // the same with the value from the register
    kStepAbsolute,       // the unary functions of m_a; Power raises it to the power m_b gives
    kStepAbsoluteChained,
    kStepSquareRoot,
    kStepSquareRootChained,
    kStepPower,
    kStepPowerChained,
    kStepToggle,  // m_a the input; m_out holds the state, m_second the dual pole's other output
    kStepToggleChained,
    kStepTimer,     // m_a the "On Off" source, m_b the "Delay ms" source (null when unfed)
    kStepFeedback,  // an unfed Feedback Flow: m_b the component value
    kStepEnd,       // after the last step, so a step needs no count to find the end
    // Arithmetic over exactly two sources m_a and m_b; each second kind of a pair
    // takes m_a's value from the previous step's result held in a register.
    kStepAdd,
    kStepAddChained,
    kStepSubtract,
    kStepSubtractChained,
    kStepMultiply,
    kStepMultiplyChained,
    kStepDivide,
    kStepDivideChained,
    kStepGetMin,
    kStepGetMinChained,
    kStepGetMax,
    kStepGetMaxChained,
    // A chained Delay (output m_delayOut) and the chained two-input operation
    // reading it (second source m_b, output m_out) in one step.
    kStepDelayAdd,
    kStepDelaySubtract,
    kStepDelayMultiply,
    kStepDelayDivide,
    kStepDelayGetMin,
    kStepDelayGetMax,
};

/// The outputs of a Compare beyond its first.
struct CRCompareRecord {
    int32_t m_connected;
    double* m_count;
    double* m_satisfied;
    bool m_readBack;  // a later output is the first one too, so the register reads it back
};

/// One component's work in a cycle.
struct CRStep {
    ERStepKind m_kind = kStepCallThrough;
    int16_t m_type = 0;          // the component type (ids stay below 128), where the kind needs it
    uint32_t m_firstSource = 0;  // into the plan's source list
    uint32_t m_sourceCount = 0;
    int32_t m_code = 0;  // where Run finds the kind's code, filled in by its first pass
    union {
        const double* m_a = nullptr;  // first source of a two-source step; the value of a Constant
        double* m_copyTo;             // kStepDelayAdd ...: a copy of the Delay's output, or m_sink
    };
    const double* m_b = nullptr;  // second source of a two-source step
    double* m_out = nullptr;      // the first output's value
    union {
        CRNetworkModel* m_model = nullptr;  // a call-through step's component
        CTimerRunState* m_timer;            // kStepTimer: the component's state
        CFeedbackState* m_feedback;         // kStepFeedback: the component's state
        double* m_delayOut;                 // kStepDelayAdd ...: the Delay's output
        double* m_second;                   // kStepToggle...: the second output, or m_sink
        uint32_t m_record;                  // a Compare's record: its index until Finish,
        const CRCompareRecord* m_compare;   // then the record itself
    };
};

class CRPlan {
  public:
    CRPlan() = default;
    CRPlan(const CRPlan&) = delete;
    CRPlan& operator=(const CRPlan&) = delete;

    /// Hands the values the plan holds back to the component outputs, points the
    /// inputs it redirected back at them and empties the plan.
    void Clear();
    /// A step that calls the component's GetInputValues and Execute.
    void AddCallThrough(CRNetworkModel& model);
    /// Publishes `value` into `out` every cycle.
    void AddConstant(const double& value, double& out);
    /// Add, Subtract, Multiply, Divide, Get Min or Get Max of `inputs` in list
    /// order into `out`. False for any other type.
    bool AddMath(int32_t type, std::span<const CRModelInput> inputs, double& out);
    /// Range Check of the inputs with ids 10, 20 and 30 (null when missing); an
    /// input without a source takes its default.
    void AddRangeCheck(CRModelInput* const (&inputs)[3], double& out);
    /// A truth check of `type` over `inputs` in list order into `out` (1 or 0).
    void AddTruthCheck(int32_t type, std::span<const CRModelInput> inputs, double& out);
    /// A counter of `type` counting in `out`; `event` and `reset` are the sources
    /// of its event and reset inputs, null when the input is missing or unfed.
    void AddCounter(int32_t type, const double* event, const double* reset, double& out);
    /// A Reverse Sign of `source` (0 when null) into `out`.
    void AddReverseSign(const double* source, double& out);
    /// A Valve passing `value` into `out` while `enabler` is true; 0 when either
    /// is null (missing or unfed).
    void AddValve(const double* enabler, const double* value, double& out);
    /// Absolute value, Power or Square Root (`type`) of `*x` into `out`; `power` is
    /// the source of "Power (y)" (null when unfed). False for any other type.
    bool AddMathExp(int32_t type, const double* x, const double* power, double& out);
    /// A toggle whose state `out` flips on a true `input` (never when null);
    /// `second`, a dual pole's other output (null when none), takes the opposite.
    void AddToggle(const double* input, double& out, double* second);
    /// A Delay adding `raw` (0 when null) to the decayed last value of `out`
    /// when `feedback`, the component has its feedback input.
    void AddDelay(const double* raw, bool feedback, double& out);

    /// A Timer on `state` firing at the cycle's tick; `on` and `delay` are the
    /// sources of its "On Off" and "Delay ms" inputs (null when missing or unfed),
    /// `out` its first output (null when it has none).
    void AddTimer(CTimerRunState& state, const double* on, const double* delay, double* out);
    /// A Feedback Flow on `state` taking `source` (null when unfed) and publishing
    /// into `out` (null when it has no output); `value` is the component value.
    /// A fed one publishes its source as it stands, so it is a copy, and its state
    /// settles after the first cycle.
    void AddFeedback(CFeedbackState& state, const double* source, const double& value, double* out);

    /// A Compare of `type` testing `tested` (`connected` of them fed) against
    /// `compareValue` with `tolerance`; "All Satisfy?" into `out`, the counts into
    /// `count` and `satisfied` when the component has those outputs.
    void AddCompare(int32_t type, std::span<const CRModelInput* const> tested, int32_t connected,
                    const double& compareValue, const double& tolerance, double& out, double* count,
                    double* satisfied);

    /// Called once after the last Add: every value a compiled step publishes moves
    /// into the plan's own array, seeded from the output that held it. The steps
    /// and the inputs of the call-through components read it there from now on.
    void Finish();

    /// Where the value at `record` (a component output's value) lives while the
    /// plan runs: in the plan's array when a compiled step publishes it, else at
    /// `record` itself. O(log n); for use at load time and by inspection.
    const double* Resolve(const double* record) const;

    /// True when a step reads the cycle's tick.
    bool NeedsTick() const { return m_needsTick; }

    /// One pass over the steps: no allocation, no lookups. `now` is the cycle's
    /// tick in milliseconds, read once for every Timer of the cycle.
    void Run(uint32_t now = 0);

    /// The steps Run walks, in order (the end mark left out).
    std::span<const CRStep> Steps() const { return {m_steps.data(), m_steps.size() - (m_finished ? 1 : 0)}; }

  private:
    /// Appends `step`, turning a two-source kind, a counter, a delay or a one-input
    /// compare into its chained form when its first source is the value the
    /// previous step has just published; a chained two-input operation right
    /// after a chained Delay joins the Delay's step.
    void Push(CRStep step);
    /// `*from` into `*to` in a cycle; copies that follow one another form one step.
    void AddCopy(const double* from, double* to);

    /// The slot of the value at `record`, or null when no compiled step publishes it.
    double* SlotOf(const double* record);
    /// Moves the copy of a joined Delay's output into the Delay's step where nothing
    /// reads the copy's target in between; called by Finish on the slots.
    void JoinCopies();

    std::vector<CRStep> m_steps;
    std::vector<const double*> m_sources;
    std::vector<CRCompareRecord> m_compares;
    struct CRPlanCopy {
        const double* m_from;
        double* m_to;
    };
    std::vector<CRPlanCopy> m_copies;
    // The fed Feedback Flows with their component values: after the first cycle
    // their states hold what every later cycle would leave in them.
    std::vector<std::pair<CFeedbackState*, const double*>> m_settle;
    // Filled by Finish: the values the compiled steps publish, side by side, and
    // the component output each came from, by address for the lookup.
    std::vector<double> m_slots;
    std::vector<std::pair<double*, uint32_t>> m_slotOf;
    // The call-through inputs Finish pointed into m_slots, with their own sources.
    std::vector<std::pair<CRModelInput*, const double*>> m_redirected;
    bool m_needsTick = false;
    bool m_finished = false;  // Finish has run: the steps end in kStepEnd
    bool m_threaded = false;  // Run has filled in every step's m_code
    double m_sink = 0.0;      // takes the writes to outputs a component lacks
};

/// Where an input's value comes from in a cycle: its source, or, without one,
/// its own value, which then never changes.
inline const double* SourceOf(const CRModelInput& in) {
    return in.m_source ? in.m_source : &in.m_value;
}

}  // namespace zor2
