// Unary functions, trigonometric functions, Delta, Compare and the Target
// Input Comparator as the designer computes them.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <vector>

#include "components/math/compare.h"
#include "components/math/delta.h"
#include "components/math/math_exp.h"
#include "logic_bench.h"

namespace zor2 {
namespace {

using test::CLogicBench;

TEST(MathExp, Functions) {
    constexpr double kNone = 1e300;  // marks an unconnected input
    struct Case {
        const char* name;
        int32_t type;
        double x;
        double y;
        bool enabled;
        double result;
        const char* text;
    } cases[] = {
        {"abs", 47, -2.5, kNone, true, 2.5, "2.50"},
        {"abs of -0.0", 47, -0.0, kNone, true, 0.0, "0.00"},
        {"abs unconnected", 47, kNone, kNone, true, 0.0, "0.00"},
        {"power truncated", 48, 2, 10.9, true, 1024, "1024"},
        {"negative power raises to 1", 48, 2, -2, true, 2, "2"},
        {"zero power raises to 1", 48, 7, 0.99, true, 7, "7"},
        {"power unconnected raises to 1", 48, 5, kNone, true, 5, "5"},
        {"odd power of negative", 48, -2, 3, true, -8, "-8"},
        {"exact large power", 48, 3, 20, true, 3486784401.0, "-2147483648"},
        {"power beyond int range raises to 1", 48, 6, 1e10, true, 6, "6"},
        {"fractional base", 48, 0.5, 4, true, 0.0625, "0"},
        {"sqrt", 49, 9, kNone, true, 3, "3.00"},
        {"sqrt of negative", 49, -4, kNone, true, 0, "0.00"},
        {"sqrt of zero", 49, 0, kNone, true, 0, "0.00"},
        {"disabled abs", 47, -2.5, kNone, false, 0, "0.00"},
        {"disabled power", 48, 2, 3, false, 0, "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLogicBench b;
        auto* f = static_cast<CModelMathExp*>(b.Add(c.type));
        f->SetEnabled(c.enabled);
        if (c.x != kNone) b.Feed(*f, 10, c.x);
        if (c.y != kNone) b.Feed(*f, 20, c.y);
        b.Reset();
        b.Cycle();
        EXPECT_EQ(f->FirstOutput()->m_value, c.result);
        EXPECT_EQ(f->FirstOutput()->ValueString(), c.text);
        if (c.x == kNone) {
            EXPECT_EQ(CLogicBench::InText(*f, 10), "-");
        }
        if (c.type == 48 && c.y == kNone) {
            EXPECT_EQ(CLogicBench::InText(*f, 20), "1");
        }
    }
}

TEST(MathExp, InputTexts) {
    CLogicBench b;
    CNetworkModel* f = b.Add(48);
    b.Feed(*f, 10, 2.25);
    b.Feed(*f, 20, -2.7);
    b.Reset();
    b.Cycle();
    EXPECT_EQ(CLogicBench::InText(*f, 10), "2.25");
    EXPECT_EQ(CLogicBench::InText(*f, 20), "-2");
    EXPECT_EQ(static_cast<CModelMathExp*>(f)->Power(), 1);
}

TEST(MathExp, KernelTruncation) {
    struct Case {
        double exponent;
        int32_t power;
    } cases[] = {{10.9, 10},        {1.0, 1},          {0.999, 1},
                 {-0.5, 1},         {-3, 1},           {2147483647.5, INT_MAX},
                 {2147483648.0, 1}, {std::nan(""), 1}, {-INFINITY, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.exponent);
        EXPECT_EQ(MathExpPower(c.exponent), c.power);
    }
    // Repeated squaring reaches large exponents in a few steps and overflows to inf.
    EXPECT_EQ(MathExpIntegerPower(2.0, INT_MAX), INFINITY);
    EXPECT_EQ(MathExpIntegerPower(-1.0, INT_MAX), -1.0);
}

TEST(Angle, Functions) {
    constexpr double kNone = 1e300;
    constexpr double kPiF = 3.1415927410125732;
    struct Case {
        const char* name;
        int32_t type;
        double enable;   // kNone: unconnected (counts as on)
        double radians;  // kNone: unconnected (counts as radians)
        double value;
        double result;
        const char* enableText;
        const char* radiansText;
    } cases[] = {
        {"sine of 90 as radians", 82, kNone, kNone, 90, std::sin(90.0), "On", "Yes"},
        {"sine of 90 degrees", 82, kNone, 0, 90, std::sin(90 * kPiF / 180), "On", "No"},
        {"cosine of 0", 83, 1, 1, 0, 1, "On", "Yes"},
        {"cosine of 180 degrees", 83, kNone, 0, 180, std::cos(kPiF), "On", "No"},
        {"tangent of 45 degrees", 84, kNone, -0.0, 45, std::tan(45 * kPiF / 180), "On", "No"},
        {"tangent of 1 rad", 84, 0.5, 2, 1, std::tan(1.0), "On", "Yes"},
        {"disabled", 82, 0, kNone, 1, 0, "Off", "Yes"},
        {"value unconnected", 83, kNone, kNone, kNone, 1, "On", "Yes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLogicBench b;
        CNetworkModel* f = b.Add(c.type);
        if (c.enable != kNone) b.Feed(*f, 10, c.enable);
        if (c.radians != kNone) b.Feed(*f, 20, c.radians);
        if (c.value != kNone) b.Feed(*f, 30, c.value);
        b.Reset();
        b.Cycle();
        EXPECT_EQ(f->FirstOutput()->m_value, c.result);
        EXPECT_EQ(CLogicBench::InText(*f, 10), c.enableText);
        EXPECT_EQ(CLogicBench::InText(*f, 20), c.radiansText);
        if (c.value == kNone) {
            EXPECT_EQ(CLogicBench::InText(*f, 30), "-");
        }
    }
    // Degrees go through single-precision pi: sin(90 degrees) is not exactly 1.
    EXPECT_NE(std::sin(90 * kPiF / 180), 1.0);
}

TEST(Delta, FirstAndSecondDifferences) {
    struct Step {
        double raw, enable, reset;
        double delta, deltaDelta;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
    } cases[] = {
        {"squares", {{1, 1, 0, 0, 0}, {4, 1, 0, 3, 0}, {9, 1, 0, 5, 2}, {16, 1, 0, 7, 2}}},
        {"disabled repeats and skips samples",
         {{1, 1, 0, 0, 0}, {4, 1, 0, 3, 0}, {100, 0, 0, 3, 0}, {200, 0, 0, 3, 0}, {6, 1, 0, 2, -1}}},
        {"reset restarts counting",
         {{1, 1, 0, 0, 0}, {4, 1, 0, 3, 0}, {9, 1, 1, 0, 0}, {10, 1, 0, 1, 0}, {12, 1, 0, 2, 1}}},
        {"reset while disabled clears outputs", {{1, 1, 0, 0, 0}, {5, 1, 0, 4, 0}, {7, 0, 1, 0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLogicBench b;
        CNetworkModel* d = b.Add(34);
        CNetworkModel* enable = b.Feed(*d, 10, 1);
        CNetworkModel* raw = b.Feed(*d, 20, 0);
        CNetworkModel* reset = b.Feed(*d, 30, 0);
        b.Reset();
        int cycle = 0;
        for (const Step& s : c.steps) {
            SCOPED_TRACE(++cycle);
            raw->m_value = s.raw;
            enable->m_value = s.enable;
            reset->m_value = s.reset;
            b.Cycle();
            EXPECT_EQ(CLogicBench::Out(*d, 10), s.delta);
            EXPECT_EQ(CLogicBench::Out(*d, 20), s.deltaDelta);
            EXPECT_EQ(CLogicBench::InText(*d, 10), s.enable != 0 ? "On" : "Off");
            EXPECT_EQ(CLogicBench::InText(*d, 30), s.reset != 0 ? "Reset!" : "--");
        }
    }
}

TEST(Delta, UnconnectedAndModuleFedInputs) {
    CLogicBench b;
    CNetworkModel* d = b.Add(34);
    b.Reset();
    b.Cycle();
    // Unconnected: enabled, no reset, raw value 0.
    EXPECT_EQ(CLogicBench::InText(*d, 10), "On");
    EXPECT_EQ(CLogicBench::InText(*d, 20), "-");
    EXPECT_EQ(CLogicBench::InText(*d, 30), "--");
    // A module input feeding "Enable" sets only the flag; the input keeps its own value.
    CNetworkInput* mi = b.FeedFromModuleInput(*d, 10, 0.0);
    b.Reset();
    d->FindInput(10)->m_value = 7.0;
    b.Cycle();
    EXPECT_FALSE(static_cast<CModelDelta*>(d)->Enabled());
    EXPECT_EQ(d->FindInput(10)->m_value, 7.0);
    mi->m_value = 1.0;
    b.Cycle();
    EXPECT_TRUE(static_cast<CModelDelta*>(d)->Enabled());
    EXPECT_EQ(d->FindInput(10)->m_value, 7.0);
}

TEST(Delta, CountSaturatesAtTwo) {
    CDeltaState s;
    s.count = 2000000000;
    s.previous = 1;
    s.delta = 1;
    s.Step(3);
    EXPECT_EQ(s.count, 2);
    EXPECT_EQ(s.delta, 2);
    EXPECT_EQ(s.deltaDelta, 1);
    s.count = 1999999999;
    s.Step(3);
    EXPECT_EQ(s.count, 2000000000);
}

TEST(Compare, CountsSatisfiedInputs) {
    struct Case {
        const char* name;
        int32_t type;
        double k;                    // the constant, or what feeds "CompareVal"
        std::vector<double> inputs;  // connected added inputs
        int unconnected;             // added inputs without a source (value 0)
        double all, count, satisfied;
    } cases[] = {
        {"constant > all satisfy", 19, 5, {6, 7}, 0, 1, 2, 2},
        {"constant > none connected", 19, 5, {}, 0, 0, 0, 0},
        {"constant > one fails", 19, 5, {6, 5}, 0, 0, 2, 1},
        {"constant = within 1e-6", 18, 1, {1.0000005, 0.9999995}, 0, 1, 2, 2},
        {"constant = beyond 1e-6", 18, 1, {1.000002}, 0, 0, 1, 0},
        {"constant < counts loose inputs", 20, 5, {3}, 1, 1, 1, 2},
        {"input = within 1e-6", 15, 3, {3.0000009, 3.1}, 0, 0, 2, 1},
        {"input > ", 16, -1, {0, 2}, 0, 1, 2, 2},
        {"input < ", 17, 10, {9.99, 10}, 0, 0, 2, 1},
        {"input, no compared inputs", 15, 3, {}, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLogicBench b;
        auto* cmp = static_cast<CModelCompare*>(b.Add(c.type));
        if (c.type >= 18)
            cmp->SetCompareValue(c.k);
        else
            b.Feed(*cmp, 10, c.k);
        for (double v : c.inputs) b.Feed(*cmp, 0, v);
        for (int i = 0; i < c.unconnected; ++i) cmp->AddInput(0);
        b.Reset();
        b.Cycle();
        EXPECT_EQ(CLogicBench::Out(*cmp, 10), c.all);
        EXPECT_EQ(CLogicBench::Out(*cmp, 20), c.count);
        EXPECT_EQ(CLogicBench::Out(*cmp, 30), c.satisfied);
        EXPECT_EQ(CLogicBench::OutText(*cmp, 10), c.all != 0 ? "YES" : "NO");
        EXPECT_EQ(cmp->CompareValue(), c.k);
        if (c.type < 18) {
            char text[32];
            std::snprintf(text, sizeof text, "[%.2f]", c.k);
            EXPECT_EQ(CLogicBench::InText(*cmp, 10), text);
        }
    }
}

TEST(Compare, UnconnectedCompareValKeepsTheLastValueAndToleranceIsTheBaseField) {
    CLogicBench b;
    auto* cmp = static_cast<CModelCompare*>(b.Add(15));
    EXPECT_EQ(cmp->m_tolerance, 1e-6);
    CNetworkModel* kv = b.Feed(*cmp, 10, 4);
    b.Feed(*cmp, 0, 4.05);
    b.Reset();
    b.Cycle();
    EXPECT_EQ(CLogicBench::Out(*cmp, 30), 0.0);
    cmp->m_tolerance = 0.1;
    b.Cycle();
    EXPECT_EQ(CLogicBench::Out(*cmp, 30), 1.0);
    b.module->RemoveOutputConnections(*kv->FirstOutput());
    kv->m_value = 100;
    b.Cycle();
    EXPECT_EQ(cmp->CompareValue(), 4.0);
    EXPECT_EQ(CLogicBench::Out(*cmp, 10), 1.0);
}

TEST(Compare, ConstantFromDialogText) {
    struct Case {
        const char* text;
        bool accepted;
        double value;  // the compare value afterwards (it starts at 2.5)
    } cases[] = {
        {"7.25", true, 7.25},  {" -3 ", true, -3},  {"1e3", true, 1000}, {"", false, 2.5},
        {"abc", false, 2.5},   {"4x", false, 2.5},  {"nan", false, 2.5}, {"inf", false, 2.5},
        {"1e999", false, 2.5}, {"5 6", false, 2.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CModelCompare cmp;
        cmp.SetCompareValue(2.5);
        EXPECT_EQ(cmp.SetCompareValueText(c.text), c.accepted);
        EXPECT_EQ(cmp.CompareValue(), c.value);
    }
    CModelCompare cmp;
    cmp.SetCompareValue(-1.005);
    EXPECT_EQ(cmp.CompareValueText(), "-1.00");
}

TEST(Comparator, TargetVersusInput) {
    constexpr double kNone = 1e300;
    struct Case {
        const char* name;
        double target, input;
        double greater, equal, less;
    } cases[] = {
        {"equal within 1e-7", 5, 5.00000001, 0, 1, 0},
        {"input below target", 5, 4, 0, 0, 1},
        {"input above target", 5, 6, 1, 0, 0},
        {"tolerance is strict", 0, 1.0000000116860974e-07, 1, 0, 0},
        {"just inside the single-precision tolerance", 0, 1e-7, 0, 1, 0},
        {"both unconnected", kNone, kNone, 0, 1, 0},
        {"target unconnected", kNone, -2, 0, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLogicBench b;
        CNetworkModel* cmp = b.Add(80);
        if (c.target != kNone) b.Feed(*cmp, 20, c.target);
        if (c.input != kNone) b.Feed(*cmp, 30, c.input);
        b.Reset();
        b.Cycle();
        EXPECT_EQ(CLogicBench::Out(*cmp, 10), c.greater);
        EXPECT_EQ(CLogicBench::Out(*cmp, 20), c.equal);
        EXPECT_EQ(CLogicBench::Out(*cmp, 30), c.less);
        EXPECT_EQ(CLogicBench::OutText(*cmp, 20), c.equal != 0 ? "YES" : "NO");
        EXPECT_EQ(CLogicBench::InText(*cmp, 10), "On");
    }
}

TEST(Comparator, UsesItsOwnToleranceNotTheBaseField) {
    CLogicBench b;
    CNetworkModel* cmp = b.Add(80);
    cmp->m_tolerance = 10.0;  // saved with the component but not read here
    b.Feed(*cmp, 20, 5);
    b.Feed(*cmp, 30, 4);
    b.Reset();
    b.Cycle();
    EXPECT_EQ(CLogicBench::Out(*cmp, 20), 0.0);
    EXPECT_EQ(CLogicBench::Out(*cmp, 30), 1.0);
}

TEST(Comparator, DisabledKeepsItsVerdict) {
    CLogicBench b;
    CNetworkModel* cmp = b.Add(80);
    CNetworkModel* enable = b.Feed(*cmp, 10, 1);
    b.Feed(*cmp, 20, 5);
    CNetworkModel* input = b.Feed(*cmp, 30, 4);
    b.Reset();
    b.Cycle();
    EXPECT_EQ(CLogicBench::Out(*cmp, 30), 1.0);
    enable->m_value = 0;
    input->m_value = 9;
    b.Cycle();
    EXPECT_EQ(CLogicBench::Out(*cmp, 10), 0.0);
    EXPECT_EQ(CLogicBench::Out(*cmp, 30), 1.0);
    EXPECT_EQ(CLogicBench::OutText(*cmp, 30), "YES");
    EXPECT_EQ(CLogicBench::InText(*cmp, 10), "Off");
    enable->m_value = 1;
    b.Cycle();
    EXPECT_EQ(CLogicBench::Out(*cmp, 10), 1.0);
}

}  // namespace
}  // namespace zor2
