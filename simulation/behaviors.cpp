// Behaviour rules per cycle, the behaviour and event managers, their records
// and the target lookup after a load.
#include "simulation/behaviors.h"

#include <algorithm>
#include <cstdlib>
#include <unordered_map>

#include "engine/system.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {
constexpr size_t kBehaviorRecordMin = 4 + kMinStringBytes + 4 + 4 + 5 * 8 + 1;
constexpr size_t kEventRecordMin = 4 + 2 * kMinStringBytes;
}  // namespace

void CSimBehavior::Apply(double step, IRandomSource& random) const {
    if (!m_target) return;
    const double v = m_target->m_value;
    switch (m_type) {
        // The rate keeps its sign for every type; the type only picks the bound test.
        case kBehaviorAscending:
        case kBehaviorDescending:
            m_target->SetValue(v + step);
            break;
        case kBehaviorToCeiling:
            if (v + step <= m_ceiling) m_target->SetValue(v + step);
            break;
        case kBehaviorToFloor:
            if (v + step >= m_floor) m_target->SetValue(v + step);
            break;
        case kBehaviorRandom: {
            // An inverted range is taken the right way round instead of dividing
            // by zero or a negative span; 64 bits keep extreme ends from overflowing.
            int64_t low = TruncToInt32(m_randomLow);
            int64_t high = TruncToInt32(m_randomHigh);
            if (high < low) std::swap(low, high);
            const int64_t span = high - low + 1;
            const int64_t r = random.Next15();
            m_target->SetValue(static_cast<double>(low + r % span));
            break;
        }
        default:
            break;
    }
}

CSimBehavior* CSimBehaviorMgr::AddBehavior(int32_t id, const std::string& name, IRandomSource& random) {
    if (id == 0) id = DrawFreeId(random, m_behaviors);
    if (id == 0) return nullptr;
    auto b = std::make_unique<CSimBehavior>();
    b->m_id = id;
    b->m_name = name;
    return m_behaviors.Append(std::move(b));
}

void CSimBehaviorMgr::DriveBehaviors(double cyclesPerSecond, IRandomSource& random) {
    // A rate per second needs a positive speed; without one the rate types hold still.
    const bool timed = cyclesPerSecond > 0.0;
    for (const CSimBehavior* b : m_behaviors) {
        if (!b->m_enabled) continue;
        if (!timed && b->m_type != kBehaviorRandom) continue;
        b->Apply(timed ? b->m_rate / cyclesPerSecond : 0.0, random);
    }
}

int32_t CSimBehaviorMgr::DeleteInputBehaviors(int32_t inputId) {
    int32_t deleted = 0;
    for (CSimBehavior* b : m_behaviors.Snapshot()) {
        if (b->m_targetInputId != inputId) continue;
        m_behaviors.Remove(b);
        ++deleted;
    }
    return deleted;
}

int32_t CSimBehaviorMgr::CountForInput(int32_t inputId) const {
    return static_cast<int32_t>(
        std::count_if(m_behaviors.begin(), m_behaviors.end(),
                      [inputId](const CSimBehavior* b) { return b->m_targetInputId == inputId; }));
}

std::string CSimBehaviorMgr::DefaultName(int32_t inputId) const {
    return "behavior" + std::to_string(CountForInput(inputId) + 1);
}

const char* CSimBehaviorMgr::BehaviorTypeName(int32_t type) {
    switch (type) {
        case kBehaviorAscending:
            return "Ascending Infinite";
        case kBehaviorDescending:
            return "Descending Infinite";
        case kBehaviorToCeiling:
            return "Ascending to Ceiling";
        case kBehaviorToFloor:
            return "Descending to Floor";
        case kBehaviorRandom:
            return "Random Change";
        default:
            return "";
    }
}

void CSimBehaviorMgr::Serialize(CArchive& ar, IRandomSource& random) {
    // The floor stands before the ceiling in the record.
    auto rest = [&ar](CSimBehavior& b) {
        ar.I32(b.m_targetInputId);
        ar.I32(b.m_type);
        ar.F64(b.m_rate);
        ar.F64(b.m_floor);
        ar.F64(b.m_ceiling);
        ar.F64(b.m_randomLow);
        ar.F64(b.m_randomHigh);
        ar.Bool(b.m_enabled);
    };
    int32_t count = static_cast<int32_t>(m_behaviors.Size());
    ar.I32(count);
    if (ar.IsStoring()) {
        for (CSimBehavior* b : m_behaviors) {
            ar.I32(b->m_id);
            ar.Str(b->m_name);
            rest(*b);
        }
        return;
    }
    if (!ar.CheckCount(count, kBehaviorRecordMin, "behaviour")) return;
    for (int32_t i = 0; i < count && !ar.Failed(); ++i) {
        int32_t id = 0;
        std::string name;
        ar.I32(id);
        ar.Str(name);
        if (ar.Failed()) return;
        CSimBehavior* b = AddBehavior(id, name, random);
        if (!b) {
            ar.Fail("no free behaviour id left");
            return;
        }
        rest(*b);
    }
}

void CSimBehaviorMgr::RebuildReferences(const CSystem& system) {
    std::unordered_map<int32_t, CExternalInput*> inputs;
    inputs.reserve(system.m_inputs.Size() * 2);
    for (CExternalInput* p : system.m_inputs)
        if (p->m_id >= 1) inputs.emplace(p->m_id, p);
    for (CSimBehavior* b : m_behaviors) {
        auto it = inputs.find(b->m_targetInputId);
        b->m_target = it == inputs.end() ? nullptr : it->second;
    }
}

CSimEvent* CSimEventMgr::AddEvent(int32_t id, IRandomSource& random) {
    if (id == 0) id = DrawFreeId(random, m_events);
    if (id == 0) return nullptr;
    auto e = std::make_unique<CSimEvent>();
    e->m_id = id;
    return m_events.Append(std::move(e));
}

void CSimEventMgr::Serialize(CArchive& ar, IRandomSource& random) {
    int32_t count = static_cast<int32_t>(m_events.Size());
    ar.I32(count);
    if (ar.IsStoring()) {
        for (CSimEvent* e : m_events) {
            ar.I32(e->m_id);
            ar.Str(e->m_name);
            ar.Str(e->m_text);
        }
        return;
    }
    if (!ar.CheckCount(count, kEventRecordMin, "event")) return;
    for (int32_t i = 0; i < count && !ar.Failed(); ++i) {
        int32_t id = 0;
        std::string name, text;
        ar.I32(id);
        ar.Str(name);
        ar.Str(text);
        if (ar.Failed()) return;
        CSimEvent* e = AddEvent(id, random);
        if (!e) {
            ar.Fail("no free event id left");
            return;
        }
        e->m_name = std::move(name);
        e->m_text = std::move(text);
    }
}

}  // namespace zor2
