// The runtime classes of the timing and value source types, on records written
// field by field and on the process clock and random source set by the test:
// they compute as the designer classes do, with the runtime's own definitions.
#include <gtest/gtest.h>

#include <functional>

#include "algo/bytes.h"
#include "algo/platform.h"
#include "components/math/delay_rt.h"
#include "components/utility/counter_rt.h"
#include "components/utility/quantity_diminish_rt.h"
#include "components/utility/rand_gen_rt.h"
#include "components/utility/timer_rt.h"
#include "timing_cases.h"

namespace zor2 {
namespace {

class CListRandom final : public IRandomSource {
  public:
    explicit CListRandom(std::vector<int32_t> values) : m_values(std::move(values)) {}
    int32_t Next15() override { return m_values[m_next++ % m_values.size()]; }

  private:
    std::vector<int32_t> m_values;
    size_t m_next = 0;
};

/// A component body: the base record with unconnected template ports, then `extra`.
std::vector<uint8_t> Record(double value, std::vector<int32_t> inputs, std::vector<int32_t> outputs,
                            const std::function<void(CByteWriter&)>& extra = nullptr) {
    CByteWriter w;
    w.F64(value);
    w.F64(0.00001);
    w.I32(1);
    w.I32(static_cast<int32_t>(inputs.size()));
    w.I32(static_cast<int32_t>(outputs.size()));
    for (int32_t id : inputs) {
        w.I32(id);
        w.I32(0);
        w.I32(0);
    }
    for (int32_t id : outputs) {
        w.I32(id);
        w.I32(0);
        w.I32(0);
    }
    if (extra) extra(w);
    return w.Bytes();
}

class RuntimeClasses : public ::testing::Test {
  protected:
    void SetUp() override { SetDefaultClock(&clock); }
    void TearDown() override {
        SetDefaultClock(nullptr);
        SetDefaultRandom(nullptr);
    }
    /// Reads `bytes` into `c`, expecting every byte consumed.
    void Read(CRNetworkModel& c, const std::vector<uint8_t>& bytes) {
        CByteReader in(bytes);
        EXPECT_EQ(c.ReadRuntime(in, 20), 20 + bytes.size());
        EXPECT_FALSE(in.Failed()) << in.Error();
    }
    static void Cycle(CRNetworkModel& c) {
        c.GetInputValues();
        c.Execute();
    }

    CManualClock clock;
};

TEST_F(RuntimeClasses, CountersCountAsTheDesigner) {
    for (const test::CounterCase& c : test::CounterCases()) {
        SCOPED_TRACE(c.name);
        CRModelCounter counter(c.type);
        Read(counter, Record(0, {10, 20}, {10}));
        double event = 0, reset = 0;
        counter.m_inputs[0].m_source = &event;
        if (c.resetConnected) counter.m_inputs[1].m_source = &reset;
        for (size_t i = 0; i < c.events.size(); ++i) {
            event = c.events[i];
            if (c.resetConnected) reset = c.resets[i];
            Cycle(counter);
            EXPECT_EQ(counter.m_outputs[0].m_value, c.expected[i]) << "cycle " << i + 1;
        }
    }
}

TEST_F(RuntimeClasses, DelayUsesTheDefaultFactor) {
    for (const test::DelayCase& c : test::DelayCases()) {
        SCOPED_TRACE(c.name);
        CRModelDelay delay(2);
        Read(delay, Record(0, {10, 20}, {10}));
        double raw = 0;
        delay.m_inputs[0].m_source = &raw;
        for (size_t i = 0; i < c.inputs.size(); ++i) {
            raw = c.inputs[i];
            Cycle(delay);
            EXPECT_DOUBLE_EQ(delay.m_outputs[0].m_value, c.expected[i]) << "cycle " << i + 1;
        }
    }
    // Without a source the raw input counts as 0.
    CRModelDelay open(2);
    Read(open, Record(0, {10, 20}, {10}));
    open.m_outputs[0].m_value = 2.0;
    Cycle(open);
    EXPECT_EQ(open.m_outputs[0].m_value, 1.5);
}

TEST_F(RuntimeClasses, TimerFiresOnTheClock) {
    struct Case {
        const char* name;
        const double* delayInput;
        const double* onInput;
        std::vector<uint32_t> ticks;
        std::vector<int> firing;
    };
    static const double zero = 0.0, quarter = 250.0;
    const Case cases[] = {
        {"no delay input: the designer's default 500 ms",
         nullptr,
         nullptr,
         {10000, 10250, 10499, 10500, 10900, 11000},
         {4, 6}},
        {"delay input 0 fires in every cycle", &zero, nullptr, {1, 2, 3}, {1, 2, 3}},
        {"delay input 250", &quarter, nullptr, {10000, 10250, 10400, 10500}, {2, 4}},
        {"switched off", &zero, &zero, {1, 2, 3}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CRModelTimer timer(14);
        Read(timer, Record(0, {10, 20}, {10}));
        timer.m_inputs[1].m_source = c.delayInput;
        timer.m_inputs[0].m_source = c.onInput;
        std::vector<int> fired;
        for (size_t i = 0; i < c.ticks.size(); ++i) {
            clock.Set(c.ticks[i]);
            Cycle(timer);
            if (timer.m_outputs[0].m_value == 1.0) fired.push_back(static_cast<int>(i + 1));
        }
        EXPECT_EQ(fired, c.firing);
    }
}

TEST_F(RuntimeClasses, QuantityDiminishing) {
    const auto fields = [](double mn, double mx) {
        return [mn, mx](CByteWriter& w) {
            w.F64(mn);
            w.F64(mx);
            w.Bool(true);
        };
    };
    for (const test::QuantityCase& c : test::QuantityCases()) {
        SCOPED_TRACE(c.name);
        CRModelQuantityDiminish q(68);
        // The amount starts from the value the designer held at export.
        Read(q, Record(c.start, {10, 20, 30, 40}, {10, 20, 30, 40}, fields(c.minimum, c.maximum)));
        double consume = 0, fill = 0, reset = 0;
        q.m_inputs[1].m_source = &reset;
        q.m_inputs[2].m_source = &consume;
        q.m_inputs[3].m_source = &fill;
        for (size_t i = 0; i < c.expected.size(); ++i) {
            consume = c.consume[i];
            fill = c.fill[i];
            reset = c.reset[i];
            Cycle(q);
            EXPECT_EQ(q.m_value, c.expected[i]) << "cycle " << i + 1;
            EXPECT_EQ(q.m_outputs[0].m_value, c.expected[i]);
        }
        EXPECT_EQ(q.m_outputs[3].m_value, c.lastEmpty);
        EXPECT_EQ(q.m_outputs[1].m_value, c.maximum);
        EXPECT_EQ(q.m_outputs[2].m_value, c.minimum);
    }

    // Auto mode from the construction defaults, starting at the exported amount.
    CRModelQuantityDiminish q(68);
    Read(q, Record(0.25, {10, 20, 30, 40}, {10, 20, 30, 40}, fields(0, 100)));
    Cycle(q);
    EXPECT_EQ(q.m_value, 0.25 - 0.10000000149011612);
    Cycle(q);
    Cycle(q);
    EXPECT_EQ(q.m_value, 0.0);
    EXPECT_EQ(q.m_outputs[3].m_value, 1.0);
    double off = 0.0;
    q.m_inputs[0].m_source = &off;
    q.Reset();
    Cycle(q);
    EXPECT_EQ(q.m_value, 100.0);
}

TEST_F(RuntimeClasses, RandNumGeneratorSchedules) {
    CListRandom random({0, 1, 2, 3, 4, 5, 6, 7, 8});
    SetDefaultRandom(&random);
    CRModelRandGen g(43);
    const auto fields = [](int32_t timing, int32_t interval, bool zero) {
        return [=](CByteWriter& w) {
            w.F64(1);
            w.F64(6);
            w.I32(kRandInteger);
            w.I32(timing);
            w.I32(interval);
            w.Bool(zero);
            w.Bool(false);
        };
    };
    Read(g, Record(0, {10}, {10}, fields(kTimingCycles, 3, true)));
    const double expected[] = {0, 0, 3, 0, 0, 6, 0, 0, 3};
    for (double e : expected) {
        Cycle(g);
        EXPECT_EQ(g.m_outputs[0].m_value, e);
    }

    // Second timing in single precision: 999 999 999 ms is second 1 000 000 at
    // the runtime, one second after 999 999 000 ms; the designer sees the same second.
    CListRandom twoDraws({0, 1});
    SetDefaultRandom(&twoDraws);
    CRModelRandGen s(43);
    Read(s, Record(0, {10}, {10}, fields(kTimingSeconds, 1, true)));
    ASSERT_EQ(RuntimeSeconds(999999000u), 999999u);
    ASSERT_EQ(DesignerSeconds(999999999u), 999999u);
    clock.Set(999999000u);
    Cycle(s);
    EXPECT_EQ(s.m_outputs[0].m_value, 1.0);
    clock.Set(999999999u);
    Cycle(s);
    EXPECT_EQ(s.m_outputs[0].m_value, 2.0);

    // Switched off by its input: the last number stays.
    double on = 0.0;
    s.m_inputs[0].m_source = &on;
    Cycle(s);
    EXPECT_EQ(s.m_outputs[0].m_value, 2.0);
}

TEST_F(RuntimeClasses, DynamicSimValueStartsFromTheExportedNumber) {
    CListRandom random({4, 4, 4, 4, 1});
    SetDefaultRandom(&random);
    CRModelDynamicNumber d(81);
    CDynamicFields f;
    f.useCeiling = true;
    f.ceiling = 61;
    Read(d, Record(57, {10}, {10}, [&f](CByteWriter& w) { DynamicFieldList(w, f); }));
    const double expected[] = {57, 59, 61, 61, 60};
    for (double e : expected) {
        Cycle(d);
        EXPECT_EQ(d.m_outputs[0].m_value, e);
    }
    d.Reset();
    EXPECT_EQ(d.m_value, 100.0);
}

TEST_F(RuntimeClasses, ComponentsWithoutTheirTemplatePortsRunSafely) {
    CListRandom random({1});
    SetDefaultRandom(&random);
    const std::pair<int32_t, int32_t> types[] = {{14, 0},
                                                 {2, 0},
                                                 {25, 0},
                                                 {26, 0},
                                                 {68, kQuantityRecordBytes},
                                                 {43, kRandGenRecordBytes},
                                                 {81, kDynamicRecordBytes}};
    for (auto [type, extra] : types) {
        SCOPED_TRACE(type);
        std::unique_ptr<CRNetworkModel> c;
        switch (type) {
            case 14:
                c = std::make_unique<CRModelTimer>(type);
                break;
            case 2:
                c = std::make_unique<CRModelDelay>(type);
                break;
            case 68:
                c = std::make_unique<CRModelQuantityDiminish>(type);
                break;
            case 43:
                c = std::make_unique<CRModelRandGen>(type);
                break;
            case 81:
                c = std::make_unique<CRModelDynamicNumber>(type);
                break;
            default:
                c = std::make_unique<CRModelCounter>(type);
                break;
        }
        const int32_t n = extra;
        Read(*c, Record(1, {}, {}, [n](CByteWriter& w) {
            for (int32_t i = 0; i < n; ++i) w.Byte(0);
        }));
        for (int cycle = 0; cycle < 3; ++cycle) Cycle(*c);
    }
}

TEST_F(RuntimeClasses, ShortRecordsFailTheReader) {
    struct Case {
        const char* name;
        std::function<std::unique_ptr<CRNetworkModel>()> make;
        int32_t extra;
    };
    const Case cases[] = {
        {"Quantity Diminishing", [] { return std::make_unique<CRModelQuantityDiminish>(68); },
         kQuantityRecordBytes},
        {"RandNum Generator", [] { return std::make_unique<CRModelRandGen>(43); }, kRandGenRecordBytes},
        {"Dynamic Sim Value", [] { return std::make_unique<CRModelDynamicNumber>(81); }, kDynamicRecordBytes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> whole = Record(1, {10}, {10}, [&c](CByteWriter& w) {
            for (int32_t i = 0; i < c.extra; ++i) w.Byte(0);
        });
        auto full = c.make();
        Read(*full, whole);
        auto cut = c.make();
        CByteReader in(whole.data(), whole.size() - 1);
        cut->ReadRuntime(in, 0);
        EXPECT_TRUE(in.Failed());
    }
}

}  // namespace
}  // namespace zor2
