// Timer, Delay, Counters and Quantity Diminishing in the designer: firing on the
// tick count, feedback decay, counting and resets, draining and filling.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "components/math/delay.h"
#include "components/utility/counter.h"
#include "components/utility/quantity_diminish.h"
#include "components/utility/timer.h"
#include "harness.h"
#include "timing_cases.h"

namespace zor2 {
namespace {

using test::Bench;
using test::Drop;

// --- Timer --------------------------------------------------------------------

using TimerTest = Bench;

TEST_F(TimerTest, FiresOnTheTickCountNotOnCycles) {
    struct Case {
        const char* name;
        uint32_t start;  // clock when dropped
        uint32_t step;   // ms between cycles
        int cycles;
        std::optional<double> delayInput;  // "Delay ms" fed with this value
        std::optional<double> onInput;     // "On Off" fed with this value
        std::optional<double> setDelay;    // the dialog's delay
        std::vector<int> firing;           // 1-based cycles that output 1
    };
    const Case cases[] = {
        {"palette default at 20 cycles per second", 10000, 50, 20, {}, {}, {}, {10, 20}},
        {"delay input 0 fires in every enabled cycle", 10000, 50, 4, 0.0, {}, {}, {1, 2, 3, 4}},
        {"negative delay input fires in every cycle", 10000, 50, 3, -5.0, {}, {}, {1, 2, 3}},
        {"switched off never fires", 10000, 50, 20, 0.0, 0.0, {}, {}},
        {"switched on by a true source", 10000, 50, 2, 0.0, -2.0, {}, {1, 2}},
        {"dialog delay 250", 10000, 50, 10, {}, {}, 250.0, {5, 10}},
        {"delay input overrides the dialog delay", 10000, 100, 6, 300.0, {}, 1000.0, {3, 6}},
        {"a tick count that wraps keeps the timer firing", 4294967000u, 100, 8, {}, {}, {}, {5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CNetwork* m = system.CreateModule(c.name, 0, 0);
        clock.Set(c.start);
        auto* timer = static_cast<CModelTimer*>(Drop(*m, 14));
        ASSERT_NE(timer, nullptr);
        if (c.setDelay) {
            ASSERT_TRUE(timer->SetDelay(*c.setDelay));
        }
        for (auto [id, v] : {std::pair{20, c.delayInput}, std::pair{10, c.onInput}}) {
            if (!v) continue;
            CNetworkModel* k = test::DropConstant(*m, *v);
            ASSERT_EQ(m->RequestConnect(*k, k->FirstOutput(), *timer, timer->FindInput(id)), 0);
        }
        std::vector<int> fired;
        for (int cycle = 1; cycle <= c.cycles; ++cycle) {
            clock.Advance(c.step);
            m->ExecuteModule();
            if (timer->FirstOutput()->m_value == 1.0) fired.push_back(cycle);
        }
        EXPECT_EQ(fired, c.firing);
    }
}

TEST_F(TimerTest, ValueTextsAndDelayParameter) {
    clock.Set(5000);
    auto* timer = static_cast<CModelTimer*>(Drop(*module, 14));
    EXPECT_EQ(timer->Delay(), 500.0);
    EXPECT_EQ(timer->m_paramDouble, 500.0);
    EXPECT_EQ(timer->FindInput(10)->ValueString(), "On");
    EXPECT_EQ(timer->FindInput(20)->ValueString(), "500 ms");
    EXPECT_EQ(timer->FirstOutput()->ValueString(), "0");
    clock.Advance(500);
    Cycle();
    // The fired text is "1", not the On/Off rule's "ON".
    EXPECT_EQ(timer->FirstOutput()->ValueString(), "1");

    EXPECT_FALSE(timer->SetDelay(std::nan("")));
    EXPECT_TRUE(timer->SetDelay(1500));
    EXPECT_EQ(timer->m_paramDouble, 1500.0);
    CNetworkModel* k = Feed(*timer, 20, 40);
    EXPECT_EQ(timer->Delay(), 40.0);
    EXPECT_EQ(timer->FindInput(20)->ValueString(), "40 ms");
    // While "Delay ms" has a source the dialog's delay cannot be set.
    EXPECT_FALSE(timer->SetDelay(900));
    EXPECT_EQ(timer->m_paramDouble, 1500.0);
    k->m_value = 0.0;
    Feed(*timer, 10, 0.0);
    EXPECT_EQ(timer->FindInput(10)->ValueString(), "Off");
    EXPECT_FALSE(timer->Enabled());
}

// --- Delay --------------------------------------------------------------------

using DelayTest = Bench;

TEST_F(DelayTest, FeedbackWithDefaultFactor) {
    for (const test::DelayCase& c : test::DelayCases()) {
        SCOPED_TRACE(c.name);
        CNetwork* m = system.CreateModule(c.name, 0, 0);
        CNetworkModel* delay = Drop(*m, 2);
        CNetworkModel* k = test::DropConstant(*m, 0.0);
        ASSERT_EQ(m->RequestConnect(*k, k->FirstOutput(), *delay, delay->FindInput(10)), 0);
        m->ResetModule();
        for (size_t i = 0; i < c.inputs.size(); ++i) {
            k->m_value = c.inputs[i];
            m->ExecuteModule();
            EXPECT_DOUBLE_EQ(delay->FirstOutput()->m_value, c.expected[i]) << "cycle " << i + 1;
            if (c.expected[i] == 0.0) {
                EXPECT_EQ(delay->FirstOutput()->m_value, 0.0);
            }
        }
    }
}

TEST_F(DelayTest, PortsTextsAndFactor) {
    auto* delay = static_cast<CModelDelay*>(Drop(*module, 2));
    CModelInput* feedback = delay->FindInput(20);
    EXPECT_EQ(feedback->m_sourceKind, kSourceSelf);
    EXPECT_FALSE(feedback->HasSource());
    EXPECT_EQ(delay->FindInput(10)->ValueString(), "-");
    EXPECT_EQ(feedback->ValueString(), "0.00");

    ASSERT_TRUE(delay->SetFeedbackFactor(0.5));
    CNetworkModel* k = Feed(*delay, 10, 2.0);
    module->ResetModule();
    Cycle();
    Cycle();
    EXPECT_EQ(delay->FirstOutput()->m_value, 3.0);
    EXPECT_EQ(delay->FindInput(10)->ValueString(), "2.00");
    EXPECT_EQ(feedback->ValueString(), "1.00");
    k->m_value = 0.0;

    struct Step {
        double from;
        bool up;
        double to;
    };
    const Step steps[] = {
        {0.5, true, 0.5 + static_cast<double>(0.01f)},
        {0.975, true, 0.975 + static_cast<double>(0.01f)},
        {0.98, true, 0.98},
        {0.03, false, 0.03 - static_cast<double>(0.01f)},
        {0.02, false, 0.02},
    };
    for (const Step& s : steps) {
        ASSERT_TRUE(delay->SetFeedbackFactor(s.from));
        delay->StepFeedbackFactor(s.up);
        EXPECT_EQ(delay->FeedbackFactor(), s.to) << s.from << (s.up ? " up" : " down");
    }
    for (double bad : {-0.01, 1.0, std::nan("")}) {
        ASSERT_TRUE(delay->SetFeedbackFactor(0.3));
        EXPECT_FALSE(delay->SetFeedbackFactor(bad));
        EXPECT_EQ(delay->FeedbackFactor(), 0.3);
    }
}

// --- Counters -----------------------------------------------------------------

using CounterTest = Bench;

TEST_F(CounterTest, CountsAndResets) {
    for (const test::CounterCase& c : test::CounterCases()) {
        SCOPED_TRACE(c.name);
        CNetwork* m = system.CreateModule(c.name, 0, 0);
        CNetworkModel* counter = Drop(*m, c.type);
        CNetworkModel* event = test::DropConstant(*m, 0.0);
        ASSERT_EQ(m->RequestConnect(*event, event->FirstOutput(), *counter, counter->FindInput(10)), 0);
        CNetworkModel* reset = nullptr;
        if (c.resetConnected) {
            reset = test::DropConstant(*m, 0.0);
            ASSERT_EQ(m->RequestConnect(*reset, reset->FirstOutput(), *counter, counter->FindInput(20)), 0);
        }
        m->ResetModule();
        for (size_t i = 0; i < c.events.size(); ++i) {
            event->m_value = c.events[i];
            if (reset) reset->m_value = c.resets[i];
            m->ExecuteModule();
            EXPECT_EQ(counter->FirstOutput()->m_value, c.expected[i]) << "cycle " << i + 1;
        }
    }
}

TEST_F(CounterTest, TextsResetAndWrap) {
    CNetworkModel* counter = Drop(*module, 25);
    CModelInput* resetIn = counter->FindInput(20);
    EXPECT_EQ(resetIn->ValueString(), "--");
    EXPECT_EQ(counter->FindInput(10)->ValueString(), "0");
    Feed(*counter, 10, 1.0);
    CNetworkModel* reset = Feed(*counter, 20, 100.0);
    module->ResetModule();
    Cycle();
    Cycle();
    EXPECT_EQ(counter->FirstOutput()->ValueString(), "2");
    EXPECT_EQ(resetIn->ValueString(), "--");
    reset->m_value = 1.0;
    Cycle();
    EXPECT_EQ(counter->FirstOutput()->ValueString(), "0");
    EXPECT_EQ(resetIn->ValueString(), "RESET");
    reset->m_value = 100.0;
    Cycle();
    Cycle();
    // A system reset restarts the count, which lives in the output value.
    module->ResetModule();
    EXPECT_EQ(counter->FirstOutput()->m_value, 0.0);
    Cycle();
    EXPECT_EQ(counter->FirstOutput()->m_value, 1.0);

    // The count wraps as an unsigned 32-bit number.
    reset->m_value = 1e12;
    counter->FirstOutput()->m_value = 4294967295.0;
    Cycle();
    EXPECT_EQ(counter->FirstOutput()->m_value, 0.0);
}

// --- Quantity Diminishing -----------------------------------------------------

using QuantityTest = Bench;

TEST_F(QuantityTest, AutoModeDrainsToEmpty) {
    auto* q = static_cast<CModelQuantityDiminish*>(Drop(*module, 68));
    module->ResetModule();
    EXPECT_EQ(q->Amount(), 100.0);
    EXPECT_EQ(q->AutoRate(), 0.10000000149011612);
    Cycle();
    EXPECT_EQ(q->Amount(), 100.0 - 0.10000000149011612);
    EXPECT_EQ(q->FindInput(30)->ValueString(), "0.10");
    int cycles = 1;
    while (q->FindOutput(40)->m_value == 0.0 && cycles < 2000) {
        Cycle();
        ++cycles;
    }
    EXPECT_EQ(cycles, 1000);
    EXPECT_EQ(q->Amount(), 0.0);
    EXPECT_EQ(q->FindOutput(40)->ValueString(), "YES");
    EXPECT_EQ(q->FindOutput(10)->ValueString(), "0.00");
    EXPECT_EQ(q->FindOutput(20)->ValueString(), "100.00");
    Cycle();
    EXPECT_EQ(q->Amount(), 0.0);
}

TEST_F(QuantityTest, ConnectingDecrementEndsAutoModeForGood) {
    auto* q = static_cast<CModelQuantityDiminish*>(Drop(*module, 68));
    CNetworkModel* consume = Feed(*q, 30, 2.0);
    EXPECT_FALSE(q->AutoMode());
    module->ResetModule();
    Cycle();
    EXPECT_EQ(q->Amount(), 98.0);
    module->RemoveInputConnection(*q->FindInput(30));
    Cycle();
    EXPECT_FALSE(q->AutoMode());
    EXPECT_EQ(q->FindInput(30)->m_value, 0.0);
    EXPECT_EQ(q->Amount(), 98.0);
    (void)consume;
    ASSERT_TRUE(q->SetAuto(true, 0.5));
    Cycle();
    EXPECT_EQ(q->Amount(), 97.5);
}

TEST_F(QuantityTest, DrivenCases) {
    for (const test::QuantityCase& c : test::QuantityCases()) {
        SCOPED_TRACE(c.name);
        CNetwork* m = system.CreateModule(c.name, 0, 0);
        auto* q = static_cast<CModelQuantityDiminish*>(Drop(*m, 68));
        ASSERT_TRUE(q->SetContainer(c.minimum, c.maximum));
        CNetworkModel* ks[3] = {};
        const int ids[3] = {30, 40, 20};
        for (int k = 0; k < 3; ++k) {
            ks[k] = test::DropConstant(*m, 0.0);
            ASSERT_EQ(m->RequestConnect(*ks[k], ks[k]->FirstOutput(), *q, q->FindInput(ids[k])), 0);
        }
        q->m_value = c.start;
        for (size_t i = 0; i < c.expected.size(); ++i) {
            ks[0]->m_value = c.consume[i];
            ks[1]->m_value = c.fill[i];
            ks[2]->m_value = c.reset[i];
            m->ExecuteModule();
            EXPECT_EQ(q->Amount(), c.expected[i]) << "cycle " << i + 1;
        }
        EXPECT_EQ(q->FindOutput(40)->m_value, c.lastEmpty);
        EXPECT_EQ(q->FindOutput(10)->m_value, q->Amount());
        EXPECT_EQ(q->FindOutput(30)->m_value, c.minimum);
    }
}

TEST_F(QuantityTest, EnableResetTextsAndBadParameters) {
    auto* q = static_cast<CModelQuantityDiminish*>(Drop(*module, 68));
    CNetworkModel* enable = Feed(*q, 10, 0.0);
    CNetworkModel* reset = Feed(*q, 20, 0.0);
    q->m_value = 50.0;
    Cycle();
    EXPECT_EQ(q->Amount(), 50.0);
    EXPECT_EQ(q->FindInput(10)->ValueString(), "Off");
    EXPECT_EQ(q->FindInput(20)->ValueString(), "-");
    reset->m_value = 1.0;
    Cycle();
    EXPECT_EQ(q->Amount(), 100.0);
    EXPECT_EQ(q->FindInput(20)->ValueString(), "RESET");
    reset->m_value = 0.0;
    enable->m_value = 1.0;
    Cycle();
    EXPECT_EQ(q->FindInput(10)->ValueString(), "On");
    EXPECT_LT(q->Amount(), 100.0);

    // ResetValues refills and leaves the other ports alone.
    q->FindOutput(20)->m_value = 7.0;
    q->ResetValues();
    EXPECT_EQ(q->Amount(), 100.0);
    EXPECT_EQ(q->FindOutput(10)->m_value, 100.0);
    EXPECT_EQ(q->FindOutput(20)->m_value, 7.0);

    EXPECT_FALSE(q->SetContainer(std::nan(""), 5));
    EXPECT_FALSE(q->SetAuto(true, std::numeric_limits<double>::infinity()));
    EXPECT_EQ(q->Minimum(), 0.0);
    EXPECT_EQ(q->Maximum(), 100.0);
    EXPECT_EQ(q->HelperText(), (std::vector<std::string>{"Diminish Type:", "Auto (0.10/cycle)"}));
}

}  // namespace
}  // namespace zor2
