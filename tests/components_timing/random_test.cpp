// RandNum Generator and Dynamic Sim Value in the designer: the draw per mode,
// publishing in cycle and second timing, the random walk and its bounds.
#include <gtest/gtest.h>

#include <cmath>

#include "components/utility/rand_gen.h"
#include "harness.h"
#include "timing_cases.h"

namespace zor2 {
namespace {

using test::Bench;
using test::CScriptedRandom;
using test::Drop;

TEST(RandomDraw, ModesAndRanges) {
    for (const test::DrawCase& c : test::DrawCases()) {
        SCOPED_TRACE(c.name);
        CScriptedRandom random({c.r});
        CRandomDraw draw;
        draw.mode = c.mode;
        draw.low = c.low;
        draw.high = c.high;
        EXPECT_EQ(DrawRandom(draw, random), c.expected);
        EXPECT_EQ(random.Draws(), c.mode >= 1 && c.mode <= 3 ? 1u : 0u);
    }
}

TEST(RandomDraw, EveryDrawStaysInRange) {
    struct Case {
        int32_t mode;
        double low, high;
        double min, max, step;
    };
    const Case cases[] = {{1, 0, 1, 0, 1, 0.01},
                          {2, -1, 1, -1, 1, 0.01},
                          {3, 1, 6, 1, 6, 1},
                          {3, -40000, 40000, -40000, 40000, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        CRandomDraw draw{c.low, c.high, c.mode};
        CLcgRandom random(3);
        for (int i = 0; i < 2000; ++i) {
            const double v = DrawRandom(draw, random);
            ASSERT_GE(v, c.min);
            ASSERT_LE(v, c.max);
            const double steps = (v - c.min) / c.step;
            ASSERT_NEAR(steps, std::round(steps), 1e-9);
        }
    }
}

TEST(RandomDraw, SecondsOnBothSides) {
    struct Case {
        uint32_t tick;
        uint32_t designer, runtime;
    };
    const Case cases[] = {
        {0, 0, 0},
        {999, 0, 0},
        {1000, 1, 1},
        {16777000, 16777, 16777},
        // Single precision rounds 999 999 999 to 1e9: the runtime is a second ahead.
        {999999999u, 999999, 1000000},
        {4294967295u, 4294967, 4294967},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.tick);
        EXPECT_EQ(DesignerSeconds(c.tick), c.designer);
        EXPECT_EQ(RuntimeSeconds(c.tick), c.runtime);
    }
}

// --- RandNum Generator --------------------------------------------------------

class RandGenTest : public Bench {
  protected:
    CModelRandGen* Make(const CRandomDraw& draw) {
        auto* g = static_cast<CModelRandGen*>(Drop(*module, 43));
        EXPECT_TRUE(g->SetDraw(draw));
        return g;
    }
};

TEST_F(RandGenTest, CycleTimingPublishesEveryNthCycle) {
    struct Case {
        const char* name;
        int32_t interval;
        bool zeroWhileWaiting;
        std::vector<double> expected;
    };
    // Draws 0, 1, 2, ... give the die 1, 2, 3, 4, 5, 6, 1, ...; a draw happens in
    // every enabled cycle, published or not.
    const Case cases[] = {
        {"every cycle", 1, false, {1, 2, 3, 4, 5, 6, 1}},
        {"every third cycle keeps the last", 3, false, {0, 0, 3, 3, 3, 6, 6, 6, 3}},
        {"every third cycle zero while waiting", 3, true, {0, 0, 3, 0, 0, 6, 0, 0, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CModelRandGen* g = Make({1, 6, kRandInteger, kTimingCycles, c.interval, c.zeroWhileWaiting});
        module->ResetModule();
        CScriptedRandom draws({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
        system.SetRandom(&draws);
        for (size_t i = 0; i < c.expected.size(); ++i) {
            g->GetInputValues();
            g->Execute();
            EXPECT_EQ(g->FirstOutput()->m_value, c.expected[i]) << "cycle " << i + 1;
        }
        EXPECT_EQ(draws.Draws(), c.expected.size());
        system.SetRandom(&ids);
    }
}

TEST_F(RandGenTest, DisabledKeepsTheLastNumberEvenWhenZeroWhileWaiting) {
    CModelRandGen* g = Make({1, 6, kRandInteger, kTimingCycles, 1, true});
    CNetworkModel* on = Feed(*g, 10, 1.0);
    module->ResetModule();
    CScriptedRandom draws({3});
    system.SetRandom(&draws);
    Cycle();
    EXPECT_EQ(g->FirstOutput()->m_value, 4.0);
    on->m_value = 0.0;
    Cycle();
    Cycle();
    EXPECT_EQ(g->FirstOutput()->m_value, 4.0);
    EXPECT_EQ(g->FindInput(10)->ValueString(), "Off");
    EXPECT_EQ(draws.Draws(), 1u);
}

TEST_F(RandGenTest, SecondTiming) {
    struct Case {
        const char* name;
        uint32_t start;
        int32_t interval;
        std::vector<uint32_t> ticks;
        std::vector<bool> published;
    };
    const Case cases[] = {
        {"first enabled cycle after a reset publishes",
         5000,
         2,
         {5000, 5999, 6000, 7000, 7500, 9100},
         {true, false, false, true, false, true}},
        {"a clock still below the interval waits", 0, 3, {0, 1000, 2999, 3000}, {false, false, false, true}},
        {"a wrapped tick count keeps publishing",
         4294966000u,
         2,
         {4294966000u, 4294967000u, 500, 1000, 2000},
         {true, false, true, false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CModelRandGen* g = Make({1, 6, kRandInteger, kTimingSeconds, c.interval, true});
        module->ResetModule();
        CScriptedRandom draws({2});  // every draw gives 3
        system.SetRandom(&draws);
        for (size_t i = 0; i < c.ticks.size(); ++i) {
            clock.Set(c.ticks[i]);
            g->GetInputValues();
            g->Execute();
            EXPECT_EQ(g->FirstOutput()->m_value, c.published[i] ? 3.0 : 0.0) << "tick " << c.ticks[i];
        }
        system.SetRandom(&ids);
    }
}

TEST_F(RandGenTest, DialogParametersAndReset) {
    auto* g = static_cast<CModelRandGen*>(Drop(*module, 43));
    EXPECT_EQ(g->Draw().low, 1.0);
    EXPECT_EQ(g->Draw().high, 6.0);
    EXPECT_EQ(g->Draw().mode, 3);
    EXPECT_EQ(g->FirstOutput()->m_decimals, 0);

    struct Case {
        CRandomDraw draw;
        bool accepted;
        double low, high;
        int32_t decimals;
    };
    const Case cases[] = {
        {{5, 9, kRandFloatUnit, 0, 1, false}, true, 0, 1, 3},
        {{5, 9, kRandFloatSigned, 1, 3600, false}, true, -1, 1, 3},
        {{-3, 3, kRandInteger, 0, 2, true}, true, -3, 3, 0},
        {{1, 6, 4, 0, 1, false}, false, -3, 3, 0},
        {{1, 6, 3, 2, 1, false}, false, -3, 3, 0},
        {{1, 6, 3, 0, 0, false}, false, -3, 3, 0},
        {{1, 6, 3, 0, 3601, false}, false, -3, 3, 0},
        {{std::nan(""), 6, 3, 0, 1, false}, false, -3, 3, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(g->SetDraw(c.draw), c.accepted);
        EXPECT_EQ(g->Draw().low, c.low);
        EXPECT_EQ(g->Draw().high, c.high);
        EXPECT_EQ(g->FirstOutput()->m_decimals, c.decimals);
    }
    EXPECT_EQ(g->HelperText(),
              (std::vector<std::string>{"Each 2 cycle(s):", "Int -3 to 3", "(Reset to zero)"}));

    Cycle();
    Cycle();
    g->m_value = 5.0;
    module->ResetModule();
    EXPECT_EQ(g->m_value, 0.0);
    EXPECT_EQ(g->State().counter, 0);
    EXPECT_EQ(g->State().lastTime, 0);
    EXPECT_EQ(g->State().lastNumber, 0.0);
    EXPECT_EQ(g->FirstOutput()->ValueString(), "");
}

// --- Dynamic Sim Value --------------------------------------------------------

class DynamicTest : public Bench {};

TEST_F(DynamicTest, RandomWalk) {
    struct Case {
        const char* name;
        CDynamicFields fields;
        std::vector<int32_t> draws;  // with -2..2: value = -2 + r % 5
        std::vector<double> expected;
    };
    CDynamicFields ceiling;
    ceiling.useCeiling = true;
    ceiling.ceiling = 102;
    CDynamicFields floor;
    floor.useFloor = true;
    floor.floor = 97;
    CDynamicFields slow;
    slow.draw.interval = 3;
    CDynamicFields keep;
    keep.draw.zeroWhileWaiting = false;
    keep.draw.interval = 2;
    const Case cases[] = {
        {"defaults: no step in the first cycle",
         CDynamicFields{},
         {4, 4, 0, 3, 2},
         {100, 102, 100, 101, 101}},
        {"ceiling skips a step, no clamping", ceiling, {4, 4, 4, 4, 1, 4}, {100, 102, 102, 102, 101, 101}},
        {"floor skips a step", floor, {0, 0, 0, 4, 0}, {100, 98, 98, 100, 98}},
        {"interval 3: first step in cycle 4, then every third",
         slow,
         {4, 4, 4, 4, 4, 4, 4},
         {100, 100, 100, 102, 102, 102, 104}},
        {"interval 2 without zero while waiting repeats the last step",
         keep,
         {4, 4, 4, 0, 0, 0},
         {100, 100, 102, 104, 102, 100}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* d = static_cast<CModelDynamicNumber*>(Drop(*module, 81));
        ASSERT_TRUE(d->SetFields(c.fields));
        module->ResetModule();
        CScriptedRandom draws(c.draws);
        system.SetRandom(&draws);
        for (size_t i = 0; i < c.expected.size(); ++i) {
            d->GetInputValues();
            d->Execute();
            EXPECT_EQ(d->FirstOutput()->m_value, c.expected[i]) << "cycle " << i + 1;
        }
        EXPECT_EQ(d->Number(), c.expected.back());
        system.SetRandom(&ids);
    }
}

TEST_F(DynamicTest, SecondTimingDisableAndReset) {
    auto* d = static_cast<CModelDynamicNumber*>(Drop(*module, 81));
    CDynamicFields f;
    f.start = 10;
    f.draw = {1, 1, kRandInteger, kTimingSeconds, 2, true};  // every step is +1
    ASSERT_TRUE(d->SetFields(f));
    CNetworkModel* on = Feed(*d, 10, 1.0);
    module->ResetModule();
    EXPECT_EQ(d->Number(), 10.0);
    const std::pair<uint32_t, double> ticks[] = {{1000, 10}, {2000, 11}, {3000, 11}, {4500, 12}, {5000, 12}};
    for (auto [tick, expected] : ticks) {
        clock.Set(tick);
        Cycle();
        EXPECT_EQ(d->Number(), expected) << "tick " << tick;
    }
    on->m_value = 0.0;
    clock.Set(20000);
    Cycle();
    EXPECT_EQ(d->Number(), 12.0);
    EXPECT_EQ(d->FirstOutput()->ValueString(), "12.00");
    d->m_value = 55.0;
    module->ResetModule();
    EXPECT_EQ(d->Number(), 10.0);
    EXPECT_EQ(d->State().counter, 0);

    CDynamicFields bad = f;
    bad.useFloor = true;
    bad.floor = std::nan("");
    EXPECT_FALSE(d->SetFields(bad));
    bad = f;
    bad.start = std::numeric_limits<double>::infinity();
    EXPECT_FALSE(d->SetFields(bad));
    EXPECT_EQ(d->Fields().start, 10.0);
    f.useCeiling = true;
    f.ceiling = 12.5;
    ASSERT_TRUE(d->SetFields(f));
    EXPECT_EQ(d->HelperText(),
              (std::vector<std::string>{"Each 2 sec(s):", "Int 1 to 1", "Using Ceiling: 12.50"}));
}

}  // namespace
}  // namespace zor2
