// Simulation behaviours per cycle, their deletion with the input, and the
// behaviour and event records.
#include <gtest/gtest.h>

#include <set>

#include "engine/system.h"
#include "persistence/archive.h"
#include "persistence/project_file.h"
#include "support/system_builder.h"

namespace zor2 {
namespace {

struct Fixture {
    Fixture() {
        system.SetRandom(&random);
        input = system.CreateSystemInput("In", 1);
        input->m_initialValue = 0.0;
        input->SetValue(0.0);
    }
    CSimBehavior* Add(int32_t type, double rate) {
        CSimBehavior* b = system.m_behaviors.AddBehavior(0, "b", system.Random());
        b->m_targetInputId = input->m_id;
        b->m_target = input;
        b->m_type = type;
        b->m_rate = rate;
        return b;
    }
    CLcgRandom random{7};
    CSystem system;
    CExternalInput* input = nullptr;
};

TEST(Behaviors, EachTypeMovesTheInputPerCycle) {
    struct Case {
        const char* name;
        int32_t type;
        double rate, ceiling, floor;
        int32_t cyclesPerSecond;
        std::vector<double> values;  // after each cycle
    };
    const Case cases[] = {
        {"ascending, rate 1 at 10/s", kBehaviorAscending, 1.0, 0, 0, 10, {0.1, 0.2, 0.3}},
        {"descending with a positive rate rises", kBehaviorDescending, 2.0, 0, 0, 1, {2.0, 4.0}},
        {"descending with a negative rate falls", kBehaviorDescending, -2.0, 0, 0, 1, {-2.0, -4.0}},
        {"to ceiling stops short of it", kBehaviorToCeiling, 0.3, 1.0, 0, 1, {0.3, 0.6, 0.9, 0.9, 0.9}},
        {"to floor accepts the floor itself", kBehaviorToFloor, -0.5, 0, -1.0, 1, {-0.5, -1.0, -1.0}},
        {"type 3 does nothing", kBehaviorNone, 5.0, 0, 0, 1, {0.0, 0.0}},
        {"unknown type does nothing", 17, 5.0, 0, 0, 1, {0.0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.system.m_cyclesPerSecond = c.cyclesPerSecond;
        CSimBehavior* b = f.Add(c.type, c.rate);
        b->m_ceiling = c.ceiling;
        b->m_floor = c.floor;
        for (double expected : c.values) {
            f.system.RunCycle();
            EXPECT_NEAR(f.input->m_value, expected, 1e-12);
        }
        EXPECT_EQ(f.input->m_initialValue, 0.0);
    }
}

TEST(Behaviors, RandomChangeStaysInTheTruncatedRange) {
    struct Case {
        double low, high;
        std::set<double> allowed;
    };
    const Case cases[] = {
        {1.9, 4.2, {1, 2, 3, 4}},
        {5, 5, {5}},
        {-2.7, 1.0, {-2, -1, 0, 1}},
        {4.2, 1.9, {1, 2, 3, 4}},  // ends given the wrong way round
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.low);
        Fixture f;
        CSimBehavior* b = f.Add(kBehaviorRandom, 0.0);
        b->m_randomLow = c.low;
        b->m_randomHigh = c.high;
        std::set<double> seen;
        for (int i = 0; i < 400; ++i) {
            f.system.RunCycle();
            seen.insert(f.input->m_value);
        }
        EXPECT_EQ(seen, c.allowed);
    }
}

TEST(Behaviors, OnlyEnabledBehavioursActAndOnlyInFullCycles) {
    Fixture f;
    f.system.m_cyclesPerSecond = 1;
    CSimBehavior* first = f.Add(kBehaviorAscending, 1.0);
    CSimBehavior* second = f.Add(kBehaviorToCeiling, 1.0);
    second->m_ceiling = 1.5;
    // Both act in one cycle, the earlier first: 0 -> 1 -> (2 > 1.5, refused).
    f.system.RunCycle();
    EXPECT_EQ(f.input->m_value, 1.0);
    first->m_enabled = false;
    f.system.RunCycle();
    EXPECT_EQ(f.input->m_value, 1.0);  // 2 would pass the ceiling
    first->m_enabled = true;
    f.system.m_behaviorsEnabled = false;
    f.system.RunCycle();
    f.system.RunStep();
    EXPECT_EQ(f.input->m_value, 1.0);
    // A behaviour whose input is gone is left alone.
    f.system.m_behaviorsEnabled = true;
    first->m_target = nullptr;
    second->m_target = nullptr;
    f.system.RunCycle();
    EXPECT_EQ(f.input->m_value, 1.0);
}

TEST(Behaviors, NamesAndTypeTexts) {
    Fixture f;
    CExternalInput* other = f.system.CreateSystemInput("Other", 1);
    f.Add(kBehaviorAscending, 0);
    f.Add(kBehaviorAscending, 0);
    f.system.m_behaviors.AddBehavior(0, "x", f.system.Random())->m_targetInputId = other->m_id;
    EXPECT_EQ(f.system.m_behaviors.DefaultName(f.input->m_id), "behavior3");
    EXPECT_EQ(f.system.m_behaviors.DefaultName(other->m_id), "behavior2");
    const std::pair<int32_t, const char*> names[] = {
        {1, "Ascending Infinite"},  {2, "Descending Infinite"}, {3, ""}, {4, "Ascending to Ceiling"},
        {5, "Descending to Floor"}, {6, "Random Change"},       {0, ""}};
    for (const auto& [type, name] : names)
        EXPECT_STREQ(CSimBehaviorMgr::BehaviorTypeName(type), name) << type;
    // Ids are drawn among all behaviours; a given id is kept.
    EXPECT_EQ(f.system.m_behaviors.AddBehavior(77, "y", f.system.Random())->m_id, 77);
    std::set<int32_t> ids;
    for (const CSimBehavior* b : f.system.m_behaviors.m_behaviors) ids.insert(b->m_id);
    EXPECT_EQ(ids.size(), f.system.m_behaviors.m_behaviors.Size());
}

TEST(Behaviors, DeletingTheInputDeletesItsBehaviours) {
    Fixture f;
    CExternalInput* other = f.system.CreateSystemInput("Other", 1);
    f.Add(kBehaviorAscending, 1.0);
    f.Add(kBehaviorRandom, 0.0);
    CSimBehavior* kept = f.system.m_behaviors.AddBehavior(0, "kept", f.system.Random());
    kept->m_targetInputId = other->m_id;
    f.system.DeleteSystemInput(f.input);
    ASSERT_EQ(f.system.m_behaviors.m_behaviors.Size(), 1u);
    EXPECT_EQ(f.system.m_behaviors.m_behaviors.Head(), kept);
    f.system.RunCycle();

    CSystem loaded;
    ASSERT_TRUE(LoadProjectBytes(loaded, SaveProjectBytes(f.system)));
    ASSERT_EQ(loaded.m_behaviors.m_behaviors.Size(), 1u);
    EXPECT_EQ(loaded.m_behaviors.m_behaviors.Head()->m_target, loaded.m_inputs.Head());
}

TEST(BehaviorRecords, FieldsStandInRecordOrder) {
    CLcgRandom random;
    CSimBehaviorMgr mgr;
    CSimBehavior* b = mgr.AddBehavior(12, "ab", random);
    b->m_targetInputId = 34;
    b->m_type = 5;
    b->m_rate = 1.0;
    b->m_floor = 2.0;
    b->m_ceiling = 3.0;
    b->m_randomLow = 4.0;
    b->m_randomHigh = 5.0;
    b->m_enabled = false;
    CArchive out;
    mgr.Serialize(out, random);
    CByteWriter w;
    w.I32(1);
    w.I32(12);
    for (int x : std::initializer_list<int>{0xFF, 0xFE, 0xFF, 2, 'a', 0, 'b', 0})
        w.Byte(static_cast<uint8_t>(x));
    w.I32(34);
    w.I32(5);
    for (double d : {1.0, 2.0, 3.0, 4.0, 5.0}) w.F64(d);  // the floor before the ceiling
    w.Byte(0);
    EXPECT_EQ(out.Bytes(), w.Bytes());

    CSimBehaviorMgr back;
    CArchive in(out.Bytes().data(), out.Bytes().size());
    back.Serialize(in, random);
    ASSERT_FALSE(in.Failed());
    const CSimBehavior* r = back.m_behaviors.Head();
    EXPECT_EQ(r->m_floor, 2.0);
    EXPECT_EQ(r->m_ceiling, 3.0);
    EXPECT_FALSE(r->m_enabled);
    EXPECT_EQ(r->m_nodeKind, kNodeKindBehavior);
}

TEST(EventRecords, EventsAreWrittenBackUnchangedAndIdZeroIsRedrawn) {
    CByteWriter w;
    w.I32(2);
    w.I32(5);
    for (int x : std::initializer_list<int>{0xFF, 0xFE, 0xFF, 1, 'n', 0, 0xFF, 0xFE, 0xFF, 1, 't', 0})
        w.Byte(static_cast<uint8_t>(x));
    w.I32(0);
    for (int x : std::initializer_list<int>{0x01, 'e', 0x00})
        w.Byte(static_cast<uint8_t>(x));  // 8-bit strings from an older writer
    CLcgRandom random;
    CSimEventMgr mgr;
    CArchive in(w.Bytes().data(), w.Bytes().size());
    mgr.Serialize(in, random);
    ASSERT_FALSE(in.Failed()) << in.Error();
    ASSERT_EQ(mgr.m_events.Size(), 2u);
    EXPECT_EQ(mgr.m_events.At(0)->m_id, 5);
    EXPECT_EQ(mgr.m_events.At(0)->m_text, "t");
    EXPECT_GE(mgr.m_events.At(1)->m_id, 1);
    EXPECT_EQ(mgr.m_events.At(1)->m_name, "e");

    CArchive out;
    mgr.Serialize(out, random);
    CArchive again(out.Bytes().data(), out.Bytes().size());
    CSimEventMgr copy;
    copy.Serialize(again, random);
    CArchive out2;
    copy.Serialize(out2, random);
    EXPECT_EQ(out2.Bytes(), out.Bytes());
}

}  // namespace
}  // namespace zor2
