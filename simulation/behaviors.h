// Simulation behaviours (rules that move a system input's value every cycle)
// and simulation events (records carried through the project file unchanged),
// with their managers and records.
#pragma once

#include <cstdint>
#include <string>

#include "engine/object.h"

namespace zor2 {

class CArchive;
class CExternalInput;
class CSystem;

/// Node kind of a behaviour.
inline constexpr int32_t kNodeKindBehavior = 37;

/// Behaviour types.
inline constexpr int32_t kBehaviorAscending = 1;
inline constexpr int32_t kBehaviorDescending = 2;
inline constexpr int32_t kBehaviorNone = 3;
inline constexpr int32_t kBehaviorToCeiling = 4;
inline constexpr int32_t kBehaviorToFloor = 5;
inline constexpr int32_t kBehaviorRandom = 6;

class CSimBehavior : public CObject {
  public:
    CSimBehavior() { m_nodeKind = kNodeKindBehavior; }

    /// Applies the behaviour once to its target input. `step` is rate / cycles per second.
    void Apply(double step, IRandomSource& random) const;

    double m_rate = 0.0;
    std::string m_name;
    int32_t m_targetInputId = 0;
    CExternalInput* m_target = nullptr;
    bool m_enabled = true;
    double m_ceiling = 0.0;
    double m_floor = 0.0;
    double m_randomLow = 0.0;
    double m_randomHigh = 0.0;
    int32_t m_type = kBehaviorAscending;
};

class CSimBehaviorMgr {
  public:
    /// A behaviour with the defaults, the given name and id (0 draws a fresh
    /// one among all behaviours), appended. Null only when no id is left.
    CSimBehavior* AddBehavior(int32_t id, const std::string& name, IRandomSource& random);
    /// Applies every enabled behaviour once, in list order.
    void DriveBehaviors(double cyclesPerSecond, IRandomSource& random);
    /// Deletes every behaviour targeting `inputId`; returns how many.
    int32_t DeleteInputBehaviors(int32_t inputId);
    /// Number of behaviours targeting `inputId`.
    int32_t CountForInput(int32_t inputId) const;
    /// "behavior%d" with 1 + the number of behaviours already on the input.
    std::string DefaultName(int32_t inputId) const;
    /// The list name of a type ("" for type 3 and unknown codes).
    static const char* BehaviorTypeName(int32_t type);
    /// Reads or writes the behaviours record (reading appends).
    void Serialize(CArchive& ar, IRandomSource& random);
    /// Each behaviour's target becomes the first system input with its id.
    void RebuildReferences(const CSystem& system);
    void Clear() { m_behaviors.Clear(); }

    CObList<CSimBehavior> m_behaviors;
};

class CSimEvent : public CObject {
  public:
    std::string m_name;
    std::string m_text;
};

class CSimEventMgr {
  public:
    /// An event with the given id (0 draws a fresh one), appended.
    CSimEvent* AddEvent(int32_t id, IRandomSource& random);
    /// Reads or writes the events record (reading appends).
    void Serialize(CArchive& ar, IRandomSource& random);
    void Clear() { m_events.Clear(); }

    CObList<CSimEvent> m_events;
};

}  // namespace zor2
