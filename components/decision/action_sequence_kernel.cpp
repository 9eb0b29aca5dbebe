// Actions and sequences: event values, lengths, resets and the sequence list.
#include "components/decision/action_sequence_kernel.h"

#include <algorithm>
#include <cmath>

namespace zor2 {

double SequencerCycleMs(int32_t cyclesPerSecond) {
    return 1000.0 / std::clamp(cyclesPerSecond, 1, 20);
}

bool SequenceKey(double patternNumber, int32_t& key) {
    const double t = std::trunc(patternNumber);
    if (!(t >= -2147483648.0 && t <= 2147483647.0)) return false;
    key = static_cast<int32_t>(t);
    return true;
}

double CAction::EventValue(double t, double dt) const {
    switch (m_type) {
        case kActionOn:
            return m_onValue;
        case kActionConstant:
            return m_constantValue;
        case kActionDynamic:
            // An event no longer than one step would divide by zero (or by a
            // negative count of steps): it holds its start value.
            if (dt == 0.0 || m_duration <= dt) return m_startValue;
            return m_startValue +
                   (m_endValue - m_startValue) / (m_duration / dt - 1.0) * ((t - m_start) / dt);
        default:
            return 0.0;
    }
}

void CActionSequence::RecomputeLength() {
    m_length = 0.0;
    for (const CAction& a : m_actions) m_length = std::max(m_length, a.End());
}

void CActionSequence::ResetSequence() {
    m_startTime = 0.0;
    m_previous = 0.0;
    m_t = 0.0;
    for (CAction& a : m_actions) {
        a.m_active = false;
        a.m_done = false;
    }
}

CAction* CActionSequence::FindAction(int32_t id) {
    for (CAction& a : m_actions)
        if (a.m_id == id) return &a;
    return nullptr;
}

void CActionSequencer::Reset() {
    m_running = -1;
    for (CActionSequence& s : m_sequences) s.ResetSequence();
}

int32_t CActionSequencer::FindByTrigger(int32_t trigger) const {
    for (size_t i = 0; i < m_sequences.size(); ++i)
        if (m_sequences[i].m_trigger == trigger) return static_cast<int32_t>(i);
    return -1;
}

int32_t CActionSequencer::IndexOf(int32_t sequenceId) const {
    for (size_t i = 0; i < m_sequences.size(); ++i)
        if (m_sequences[i].m_id == sequenceId) return static_cast<int32_t>(i);
    return -1;
}

void CActionSequencer::RemoveSequence(size_t index) {
    if (index >= m_sequences.size()) return;
    m_sequences.erase(m_sequences.begin() + static_cast<std::ptrdiff_t>(index));
    const auto removed = static_cast<int32_t>(index);
    if (m_running == removed)
        m_running = -1;
    else if (m_running > removed)
        --m_running;
}

}  // namespace zor2
