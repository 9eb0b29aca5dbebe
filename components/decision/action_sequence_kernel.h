// Timed patterns shared by the designer's CModelActionSequence and the
// runtime's CRModelActionSequence: an action sets one output during a time
// window (CAction), a sequence plays its actions when its trigger value arrives
// (CActionSequence), and CActionSequencer picks and steps the running sequence.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "algo/field_lists.h"

namespace zor2 {

inline constexpr int32_t kTypeActionSequence = 85;
inline constexpr int32_t kSequencerEnableInputId = 10;
inline constexpr int32_t kSequencerPatternInputId = 20;
/// The cycle rate the runtime library steps sequences at: the designer's default.
inline constexpr int32_t kSequencerRuntimeRate = 10;

enum EActionType : int32_t {
    kActionOn = 0,        // "On (value of 1)"
    kActionConstant = 1,  // "Custom Constant Value"
    kActionDynamic = 2,   // "Custom Dynamic Value": a ramp from the start to the end value
};

/// Milliseconds of one cycle at `cyclesPerSecond` (kept within 1..20).
double SequencerCycleMs(int32_t cyclesPerSecond);
/// The trigger value a Pattern Number selects: truncated toward zero; false for
/// NaN and values outside the int32 range, which select nothing.
bool SequenceKey(double patternNumber, int32_t& key);

class CAction {
  public:
    double End() const { return m_start + m_duration; }
    /// The value at sequence time `t`, `dt` milliseconds after the previous step.
    double EventValue(double t, double dt) const;

    /// The action record, 72 bytes in both files.
    template <class Ar, class Self>
    static void Fields(Ar& ar, Self& a) {
        ar.I32(a.m_id);
        ar.I32(a.m_outputId);
        ar.F64(a.m_start);
        ar.F64(a.m_duration);
        ar.F64(a.m_onValue);
        ar.I32(a.m_type);
        ar.F64(a.m_startValue);
        ar.F64(a.m_endValue);
        ar.F64(a.m_constantValue);
        ar.F64(a.m_reservedValue);
        ar.I32(a.m_reserved);
    }

    int32_t m_id = 0;
    int32_t m_outputId = 0;
    double m_start = 0.0;     // milliseconds from the sequence start
    double m_duration = 0.0;  // milliseconds
    double m_onValue = 1.0;
    int32_t m_type = kActionOn;
    double m_startValue = 0.0;
    double m_endValue = 0.0;
    double m_constantValue = 0.0;
    double m_reservedValue = 0.0;  // kept as stored
    int32_t m_reserved = 0;
    bool m_active = false;
    bool m_done = false;
    /// The runtime's position of the output it writes, resolved at load.
    int32_t m_slot = -1;
};
inline constexpr size_t kActionRecordBytes = 72;

class CActionSequence {
  public:
    /// length = the latest end of the actions (0 without actions).
    void RecomputeLength();
    /// Start time, previous time and time to 0; every action neither active nor done.
    void ResetSequence();
    /// One step of `dt` milliseconds: restarts a repeating sequence past its
    /// length, then every active action writes its value through `write(action,
    /// value)`, in list order, so the last action on an output wins.
    template <class Write>
    void StepSequence(double dt, Write&& write) {
        if (m_repeat && m_length < m_t) {
            m_t = 0.0;
            ResetSequence();
        }
        for (CAction& a : m_actions) {
            if (a.m_done && !m_preview) continue;
            const double end = a.End();
            if (m_t > end) {
                a.m_done = true;
                a.m_active = false;
            } else if (a.m_start <= m_t && m_t < end) {
                a.m_active = true;
                a.m_done = false;
                write(a, a.EventValue(m_t, m_t - m_previous));
            }
        }
        m_previous = m_t;
        m_preview = false;
        m_t += dt;
    }
    /// Whether the sequence time has passed the length.
    bool Finished() const { return m_t > m_length; }
    /// The action with this id, or null.
    CAction* FindAction(int32_t id);

    /// The sequence record: the project file leads with the id once more and
    /// carries the name and the description.
    template <class Ar, class Self>
    static bool Fields(Ar& ar, Self& s) {
        constexpr bool project = kFieldsHaveText<Ar>;
        if constexpr (project) ar.I32(s.m_id);
        ar.I32(s.m_id);
        ar.I32(s.m_moduleId);
        ar.I32(s.m_componentId);
        if constexpr (project) {
            ar.Str(s.m_name);
            ar.Str(s.m_description);
        }
        ar.I32(s.m_trigger);
        ar.I32(s.m_reserved);
        ar.Bool(s.m_repeat);
        if (!ListCount(ar, s.m_actions, kActionRecordBytes, "action")) return false;
        for (auto& a : s.m_actions) CAction::Fields(ar, a);
        return !FieldsFailed(ar);
    }

    int32_t m_id = 0;
    int32_t m_moduleId = 0;
    int32_t m_componentId = 0;
    std::string m_name;
    std::string m_description;
    int32_t m_trigger = 0;
    int32_t m_reserved = 0;
    bool m_repeat = false;  // "Auto-repeat"
    std::vector<CAction> m_actions;
    double m_length = 0.0;     // milliseconds
    double m_startTime = 0.0;  // the simulation time of the last start
    double m_t = 0.0;          // sequence time, milliseconds
    double m_previous = 0.0;
    bool m_preview = false;  // one step evaluates finished actions again
};

/// The sequences of one component and the one that runs.
class CActionSequencer {
  public:
    /// One cycle. Disabled: nothing. Running: every output to 0 through
    /// `zero()`, then a step of `dt`. Idle: the first sequence whose trigger is
    /// the Pattern Number starts at `simTime` and takes its first step; with no
    /// such sequence the outputs keep their values.
    template <class Zero, class Write>
    void Execute(bool enabled, double patternNumber, double simTime, double dt, Zero&& zero, Write&& write) {
        if (!enabled) return;
        if (m_running < 0) {
            int32_t key = 0;
            if (!SequenceKey(patternNumber, key)) return;
            m_running = FindByTrigger(key);
            if (m_running < 0) return;
            CActionSequence& s = m_sequences[static_cast<size_t>(m_running)];
            s.m_startTime = simTime;
            s.m_t = 0.0;
        }
        zero();
        m_sequences[static_cast<size_t>(m_running)].StepSequence(dt, write);
    }
    /// No sequence runs, every sequence back to its start.
    void Reset();
    /// The position of the first sequence with this trigger, or -1.
    int32_t FindByTrigger(int32_t trigger) const;
    /// The position of the sequence with this id, or -1.
    int32_t IndexOf(int32_t sequenceId) const;
    CActionSequence* Running() {
        return m_running >= 0 ? &m_sequences[static_cast<size_t>(m_running)] : nullptr;
    }
    const CActionSequence* Running() const {
        return m_running >= 0 ? &m_sequences[static_cast<size_t>(m_running)] : nullptr;
    }
    /// Removes the sequence at `index`; the running one stays the same sequence
    /// (none when it was the one removed).
    void RemoveSequence(size_t index);
    /// Drops every action whose output `known(outputId)` denies; returns how many.
    template <class Known>
    int32_t DropActions(Known&& known) {
        int32_t dropped = 0;
        for (CActionSequence& s : m_sequences) {
            const size_t before = s.m_actions.size();
            std::erase_if(s.m_actions, [&](const CAction& a) { return !known(a.m_outputId); });
            dropped += static_cast<int32_t>(before - s.m_actions.size());
            s.RecomputeLength();
        }
        return dropped;
    }

    /// The sequence count and records, after the enabled flag, in both files.
    template <class Ar, class Self>
    static bool Fields(Ar& ar, Self& q) {
        if (!ListCount(ar, q.m_sequences, MinSequenceBytes<Ar>(), "action sequence")) return false;
        for (auto& s : q.m_sequences)
            if (!CActionSequence::Fields(ar, s)) return false;
        if constexpr (!std::is_const_v<Self>) {
            if (FieldsLoading(ar))
                for (auto& s : q.m_sequences) s.RecomputeLength();
        }
        return !FieldsFailed(ar);
    }

    std::vector<CActionSequence> m_sequences;
    int32_t m_running = -1;

  private:
    template <class Ar>
    static constexpr size_t MinSequenceBytes() {
        // Five int32, the flag and the action count; the project record adds
        // the id again and two strings of at least one byte.
        return kFieldsHaveText<Ar> ? 31 : 25;
    }
};

}  // namespace zor2
