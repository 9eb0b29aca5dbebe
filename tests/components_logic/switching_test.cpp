// Truth checks, valve, toggles, bit extractors and Do Once as the designer
// computes them, cycle by cycle.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "components/logic/bit_extractor_kernel.h"
#include "components/logic/valve.h"
#include "components/utility/do_once.h"
#include "logic_bench.h"

namespace zor2 {
namespace {

using test::CLogicBench;

TEST(TruthCheck, GatesOverTheirInputs) {
    struct Case {
        const char* name;
        int32_t type;
        std::vector<double> inputs;  // fed to new inputs, or to the template inputs in order
        double result;
    } cases[] = {
        {"AND without inputs", 3, {}, 1},
        {"OR without inputs", 4, {}, 0},
        {"NOR without inputs", 5, {}, 1},
        {"NAND without inputs", 6, {}, 0},
        {"AND all true", 3, {1, 0.0001, -2}, 1},
        {"AND one -0.0", 3, {1, -0.0}, 0},
        {"OR tiny value", 4, {0, 0.0001}, 1},
        {"OR only zeros", 4, {0, -0.0}, 0},
        {"NOR one true", 5, {0, 3}, 0},
        {"NOR all false", 5, {0, -0.0}, 1},
        {"NAND one false", 6, {1, 0}, 1},
        {"NAND all true", 6, {1, 1}, 0},
        {"EXOR one true", 7, {0.0001, 0}, 1},
        {"EXOR second true", 7, {0, -5}, 1},
        {"EXOR both true", 7, {1, 1}, 0},
        {"EXOR both false", 7, {-0.0, 0}, 0},
        {"Invert zero", 8, {0}, 1},
        {"Invert -0.0", 8, {-0.0}, 1},
        {"Invert tiny", 8, {0.0001}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLogicBench b;
        CNetworkModel* gate = b.Add(c.type);
        const bool fixedInputs = c.type >= 7;
        for (size_t i = 0; i < c.inputs.size(); ++i)
            b.Feed(*gate, fixedInputs ? static_cast<int32_t>(10 * (i + 1)) : 0, c.inputs[i]);
        b.Reset();
        b.Cycle();
        EXPECT_EQ(gate->FirstOutput()->m_value, c.result);
        // The gates show "1"/"0", not the ON/OFF of their output type.
        EXPECT_EQ(gate->FirstOutput()->ValueString(), c.result != 0 ? "1" : "0");
        size_t i = 0;
        for (CModelInput* in : gate->m_inputs) {
            EXPECT_EQ(in->ValueString(), c.inputs[i++] != 0.0 ? "1" : "0");
        }
    }
}

TEST(TruthCheck, ExclusiveOrReadsFirstAndLastInputAfterAConstantChanges) {
    CLogicBench b;
    CNetworkModel* gate = b.Add(7);
    CNetworkModel* x = b.Feed(*gate, 10, 1);
    b.Feed(*gate, 20, 0);
    b.Reset();
    b.Cycle();
    EXPECT_EQ(gate->FirstOutput()->m_value, 1.0);
    x->m_value = 0.0;
    b.Cycle();
    EXPECT_EQ(gate->FirstOutput()->m_value, 0.0);
}

TEST(Valve, PassesOnlyWhileOpenAndFed) {
    struct Case {
        const char* name;
        bool enablerConnected;
        double enabler;
        bool valueConnected;
        double value;
        double out;
        const char* outText;
        const char* enablerText;
        const char* valueText;
    } cases[] = {
        {"open", true, 1, true, 3.7, 3.7, "3.70", "Open", " 4"},
        {"open by tiny enabler", true, 0.0001, true, -12.25, -12.25, "-12.25", "Open", "-12"},
        {"closed by zero", true, 0, true, 3.7, 0, "0", "Closed", " 4"},
        {"closed by -0.0", true, -0.0, true, 3.7, 0, "0", "Closed", " 4"},
        {"enabler unconnected", false, 0, true, 5, 0, "0", "Closed", " 5"},
        {"closed without ValueIN", true, 1, false, 0, 0, "0", "Open", "--"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLogicBench b;
        CNetworkModel* valve = b.Add(9);
        if (c.enablerConnected) b.Feed(*valve, 10, c.enabler);
        if (c.valueConnected) b.Feed(*valve, 20, c.value);
        b.Reset();
        b.Cycle();
        EXPECT_EQ(valve->FirstOutput()->m_value, c.out);
        EXPECT_EQ(valve->FirstOutput()->ValueString(), c.outText);
        EXPECT_EQ(CLogicBench::InText(*valve, 10), c.enablerText);
        EXPECT_EQ(CLogicBench::InText(*valve, 20), c.valueText);
        // Without ValueIN the valve counts as closed even with a true enabler.
        EXPECT_EQ(static_cast<CModelValve*>(valve)->IsOpen(), c.out != 0.0);
    }
}

TEST(Toggle, FlipsInEveryCycleItsInputIsTrue) {
    struct Case {
        const char* name;
        int32_t type;
        bool connected;
        std::vector<double> inputs;  // per cycle
        std::vector<double> states;  // first output after each cycle
    } cases[] = {
        {"single pole held true", 10, true, {1, 1, 1, 1}, {1, 0, 1, 0}},
        {"single pole pulses", 10, true, {1, 0, 0, 1, 0}, {1, 1, 1, 0, 0}},
        {"single pole -0.0", 10, true, {-0.0, -0.0}, {0, 0}},
        {"unconnected never flips", 10, false, {0, 0}, {0, 0}},
        {"dual pole held true", 11, true, {1, 1, 1}, {1, 0, 1}},
        {"dual pole idle", 11, true, {0, 0}, {0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLogicBench b;
        CNetworkModel* toggle = b.Add(c.type);
        CNetworkModel* k = c.connected ? b.Feed(*toggle, 10, 0) : nullptr;
        b.Reset();
        for (size_t i = 0; i < c.inputs.size(); ++i) {
            SCOPED_TRACE(i);
            if (k) k->m_value = c.inputs[i];
            b.Cycle();
            const double s = c.states[i];
            EXPECT_EQ(toggle->FirstOutput()->m_value, s);
            EXPECT_EQ(toggle->FirstOutput()->ValueString(), s != 0 ? "On" : "Off");
            EXPECT_EQ(CLogicBench::InText(*toggle, 10), c.inputs[i] != 0 ? "1" : "-");
            if (c.type == 11) {
                EXPECT_EQ(CLogicBench::Out(*toggle, 20), 1.0 - s);
                EXPECT_EQ(CLogicBench::OutText(*toggle, 20), s != 0 ? "Off" : "On");
            }
        }
    }
}

TEST(Toggle, ResetRestartsOff) {
    CLogicBench b;
    CNetworkModel* toggle = b.Add(10);
    b.Feed(*toggle, 10, 1);
    b.Reset();
    b.Cycle();
    ASSERT_EQ(toggle->FirstOutput()->m_value, 1.0);
    b.Reset();
    EXPECT_EQ(toggle->FirstOutput()->m_value, 0.0);
    b.Cycle();
    EXPECT_EQ(toggle->FirstOutput()->m_value, 1.0);
}

uint32_t BitsOf(const CNetworkModel& c) {
    uint32_t word = 0;
    int k = 0;
    for (const CModelOutput* out : c.m_outputs) {
        if (out->m_value != 0.0) word |= 1u << k;
        EXPECT_EQ(out->ValueString(), out->m_value != 0.0 ? "1" : "0");
        ++k;
    }
    return word;
}

TEST(BitExtractor, ShowsTheTruncatedNumber) {
    const double nan = std::nan("");
    struct Case {
        const char* name;
        int32_t type;
        double number;
        uint32_t bits;
        const char* inputText;
    } cases[] = {
        {"16 bits of 65535.7", 29, 65535.7, 0xFFFF, "65535"},
        {"16 bits of -1", 29, -1, 0xFFFF, "-1"},
        {"16 bits of 65536", 29, 65536, 0, "65536"},
        {"fraction cut off", 28, 3.9, 0x3, "3"},
        {"negative fraction toward zero", 28, -3.9, 0xFD, "-3"},
        {"8 bits of 261", 28, 261, 0x05, "261"},
        {"32 bits of -1", 30, -1, 0xFFFFFFFF, "-1"},
        {"beyond int32 keeps low 32 bits", 30, 4294967298.0, 0x2, "-2147483648"},
        {"2^31 sets bit 31", 30, 2147483648.0, 0x80000000, "-2147483648"},
        {"NaN shows no bit", 30, nan, 0, "-2147483648"},
        {"huge shows no bit", 30, 1e30, 0, "-2147483648"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLogicBench b;
        CNetworkModel* ex = b.Add(c.type);
        b.Feed(*ex, 10, c.number);
        b.Reset();
        b.Cycle();
        EXPECT_EQ(BitsOf(*ex), c.bits);
        EXPECT_EQ(CLogicBench::InText(*ex, 10), c.inputText);
    }
}

TEST(BitExtractor, OutputsCountedOverExistingOutputs) {
    // Bits follow the list position, not the output id.
    CLogicBench b;
    CNetworkModel* ex = b.Add(28);
    b.Feed(*ex, 10, 2);
    ex->m_outputs.RemoveId(10);  // the old bit 0
    b.Reset();
    b.Cycle();
    EXPECT_EQ(CLogicBench::Out(*ex, 11), 0.0);
    EXPECT_EQ(CLogicBench::Out(*ex, 12), 1.0);
    EXPECT_EQ(BitExtractorWord(-0.5), 0u);
    EXPECT_TRUE(BitExtractorBit(1u, 32));  // bit numbers wrap at 32
}

TEST(DoOnce, FiresOncePerReset) {
    struct Step {
        double event, reset, trigger;
    };
    struct Case {
        const char* name;
        bool eventConnected;
        std::vector<Step> steps;
    } cases[] = {
        {"event held, reset in cycle 6",
         true,
         {{1, 0, 1}, {1, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 0, 0}, {1, 1, 0}, {1, 0, 1}, {1, 0, 0}}},
        {"event late", true, {{0, 0, 0}, {0, 0, 0}, {2, 0, 1}, {0, 0, 0}, {3, 0, 0}}},
        {"reset held blocks", true, {{1, 1, 0}, {1, 1, 0}, {1, 0, 1}}},
        {"unconnected event never fires", false, {{0, 0, 0}, {0, 1, 0}, {0, 0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLogicBench b;
        CNetworkModel* once = b.Add(90);
        CNetworkModel* event = c.eventConnected ? b.Feed(*once, 10, 0) : nullptr;
        CNetworkModel* reset = b.Feed(*once, 20, 0);
        b.Reset();
        int cycle = 0;
        for (const Step& s : c.steps) {
            SCOPED_TRACE(++cycle);
            if (event) event->m_value = s.event;
            reset->m_value = s.reset;
            b.Cycle();
            EXPECT_EQ(once->FirstOutput()->m_value, s.trigger);
            EXPECT_EQ(once->FirstOutput()->ValueString(), s.trigger != 0 ? "1" : "0");
            EXPECT_EQ(CLogicBench::InText(*once, 20), s.reset != 0 ? "Reset!" : "-");
        }
    }
}

TEST(DoOnce, SystemResetRearmsAndEventKeepsStateWithoutSource) {
    CLogicBench b;
    CNetworkModel* once = b.Add(90);
    CNetworkModel* event = b.Feed(*once, 10, 1);
    b.Reset();
    b.Cycle();
    EXPECT_EQ(once->FirstOutput()->m_value, 1.0);
    b.Cycle();
    EXPECT_EQ(once->FirstOutput()->m_value, 0.0);
    b.Reset();
    EXPECT_FALSE(static_cast<CModelDoOnce*>(once)->Done());
    b.Cycle();
    EXPECT_EQ(once->FirstOutput()->m_value, 1.0);
    EXPECT_EQ(CLogicBench::InText(*once, 10), "Event!");
    // Removing the source keeps the last event state.
    b.module->RemoveOutputConnections(*event->FirstOutput());
    EXPECT_TRUE(static_cast<CModelDoOnce*>(once)->Event());
    b.Cycle();
    EXPECT_TRUE(static_cast<CModelDoOnce*>(once)->Event());
}

}  // namespace
}  // namespace zor2
