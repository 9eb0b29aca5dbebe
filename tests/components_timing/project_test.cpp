// A project holding every timing, counting and value source type with
// non-default parameters and wiring: save, load, save again gives the same bytes.
#include <gtest/gtest.h>

#include "components/math/delay.h"
#include "components/utility/quantity_diminish.h"
#include "components/utility/rand_gen.h"
#include "components/utility/timer.h"
#include "harness.h"
#include "persistence/project_file.h"

namespace zor2 {
namespace {

using test::Bench;
using test::Drop;

template <class T>
T* Find(CSystem& s, const std::string& name) {
    for (CNetwork* m : s.m_modules) {
        for (CNetworkModel* c : m->m_components) {
            if (c->m_name == name) return dynamic_cast<T*>(c);
        }
    }
    return nullptr;
}

using ProjectFile = Bench;

TEST_F(ProjectFile, EveryTimingTypeSurvivesSaveLoadSave) {
    auto name = [](CNetworkModel* c, const char* n) {
        c->m_name = n;
        return c;
    };
    auto* timer = static_cast<CModelTimer*>(name(Drop(*module, 14), "timer"));
    ASSERT_TRUE(timer->SetDelay(250));
    auto* fedTimer = name(Drop(*module, 14), "fed timer");
    Feed(*fedTimer, 20, 40.0);
    auto* delay = static_cast<CModelDelay*>(name(Drop(*module, 2), "delay"));
    ASSERT_TRUE(delay->SetFeedbackFactor(0.5));
    Feed(*delay, 10, 3.0);
    for (int32_t type : {25, 26}) {
        CNetworkModel* counter = name(Drop(*module, type), type == 25 ? "on value" : "on event");
        Feed(*counter, 10, 1.0);
        Feed(*counter, 20, 4.0);
    }
    auto* q = static_cast<CModelQuantityDiminish*>(name(Drop(*module, 68), "tank"));
    ASSERT_TRUE(q->SetContainer(5, 60));
    ASSERT_TRUE(q->SetAuto(false, 2.0));
    Feed(*q, 40, 0.5);
    auto* k = name(test::DropConstant(*module, -7.25), "k");
    auto* g = static_cast<CModelRandGen*>(name(Drop(*module, 43), "dice"));
    ASSERT_TRUE(g->SetDraw({2, 12, kRandInteger, kTimingSeconds, 5, true}));
    Feed(*g, 10, 1.0);
    auto* d = static_cast<CModelDynamicNumber*>(name(Drop(*module, 81), "walk"));
    CDynamicFields f;
    f.start = 40;
    f.draw = {-1, 1, kRandFloatSigned, kTimingCycles, 4, false};
    f.useFloor = true;
    f.floor = 30;
    ASSERT_TRUE(d->SetFields(f));
    for (int i = 0; i < 5; ++i) {
        clock.Advance(300);
        system.RunCycle();
    }
    (void)k;

    const std::vector<uint8_t> saved = SaveProjectBytes(system);
    CSystem loaded;
    loaded.SetClock(&clock);
    const CFileResult r = LoadProjectBytes(loaded, saved);
    ASSERT_TRUE(r.ok) << r.message << " at " << r.offset;
    EXPECT_EQ(SaveProjectBytes(loaded), saved);

    // What the record carries comes back; what it does not takes its default.
    ASSERT_NE(Find<CModelTimer>(loaded, "timer"), nullptr);
    EXPECT_EQ(Find<CModelTimer>(loaded, "timer")->Delay(), 250.0);
    EXPECT_EQ(Find<CModelDelay>(loaded, "delay")->FeedbackFactor(), 0.75);
    const auto* tank = Find<CModelQuantityDiminish>(loaded, "tank");
    ASSERT_NE(tank, nullptr);
    EXPECT_EQ(tank->Minimum(), 5.0);
    EXPECT_EQ(tank->Maximum(), 60.0);
    EXPECT_EQ(tank->Amount(), q->Amount());
    EXPECT_TRUE(tank->AutoMode());
    EXPECT_EQ(Find<CNetworkModel>(loaded, "k")->m_value, -7.25);
    EXPECT_EQ(Find<CModelRandGen>(loaded, "dice")->Draw().interval, 5);
    const auto* walk = Find<CModelDynamicNumber>(loaded, "walk");
    ASSERT_NE(walk, nullptr);
    EXPECT_EQ(walk->Fields().start, 40.0);
    EXPECT_EQ(walk->Fields().draw.mode, kRandFloatSigned);
    EXPECT_TRUE(walk->Fields().useFloor);
    EXPECT_EQ(walk->Number(), d->Number());
}

}  // namespace
}  // namespace zor2
