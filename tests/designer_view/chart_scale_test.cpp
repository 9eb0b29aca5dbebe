// Chart scaling without a window: the range shown, gridlines and the mapping of
// values to the plot, including flat, negative and non-finite values.
#include "designer/chart_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/ports.h"
#include "view_print.h"

namespace zor2 {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ChartScale, RangeShown) {
    struct Case {
        const char* name;
        bool autoScale;
        double min, max;
        std::vector<double> values;
        CChartRange range;
    };
    const Case cases[] = {
        {"its own range", false, 0, 200, {5, 500}, {0, 200}},
        {"auto scale: the values' span", true, 0, 200, {3, -2, 7}, {-2, 7}},
        {"own range empty: the values'", false, 5, 5, {1, 2}, {1, 2}},
        {"own range upside down: the values'", false, 10, 0, {1, 2}, {1, 2}},
        {"own range not a number: the values'", false, kNaN, 10, {1, 3}, {1, 3}},
        {"own range infinite: the values'", false, -kInf, 10, {1, 3}, {1, 3}},
        {"flat values: widened by 1", true, 0, 0, {4, 4, 4}, {3, 5}},
        {"no values", true, 0, 0, {}, {-1, 1}},
        {"negative values", true, 0, 0, {-10, -30, -20}, {-30, -10}},
        {"non-finite values are passed over", true, 0, 0, {kNaN, 2, kInf, -kInf, 6}, {2, 6}},
        {"nothing finite", true, 0, 0, {kNaN, kInf}, {-1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CChart chart;
        chart.m_autoScale = c.autoScale;
        chart.m_min = c.min;
        chart.m_max = c.max;
        EXPECT_EQ(ChartRange(chart, c.values), c.range);
    }
}

TEST(ChartScale, Gridlines) {
    struct Case {
        const char* name;
        double increment;
        CChartRange range;
        std::vector<double> fractions;
    };
    const Case cases[] = {
        {"no increment: quarters", 0, {0, 100}, {0.25, 0.5, 0.75}},
        {"every major increment, not the top", 20, {0, 100}, {0.2, 0.4, 0.6, 0.8}},
        {"an uneven increment", 30, {-50, 50}, {0.3, 0.6, 0.9}},
        {"increment beyond the range", 150, {0, 100}, {}},
        {"negative increment: quarters", -5, {0, 100}, {0.25, 0.5, 0.75}},
        {"increment not a number: quarters", kNaN, {0, 100}, {0.25, 0.5, 0.75}},
        {"span too wide to divide", 1e307, {-1.5e308, 1.5e308}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CChart chart;
        chart.m_majorIncrement = c.increment;
        const std::vector<double> got = ChartGridFractions(chart, c.range);
        ASSERT_EQ(got.size(), c.fractions.size());
        for (size_t i = 0; i < got.size(); ++i) EXPECT_DOUBLE_EQ(got[i], c.fractions[i]);
    }
    // A tiny increment is held to 20 lines rather than counted into an overflow.
    CChart tiny;
    tiny.m_majorIncrement = 1e-300;
    EXPECT_EQ(ChartGridFractions(tiny, {0, 100}).size(), 20u);
}

TEST(ChartScale, ValuesToPlotHeights) {
    const CRectD plot{40, 30, 240, 130};  // 100 high
    struct Case {
        const char* name;
        CChartRange range;
        double value, y;
    };
    const Case cases[] = {
        {"bottom", {0, 100}, 0, 130},
        {"top", {0, 100}, 100, 30},
        {"middle of a negative range", {-30, -10}, -20, 80},
        {"below the range", {0, 100}, -50, 180},
        {"far above: held 100 plot heights out", {0, 100}, 1e300, -9970},
        {"infinity", {0, 100}, kInf, -9970},
        {"minus infinity", {0, 100}, -kInf, 10130},
        {"not a number: the bottom", {0, 100}, kNaN, 130},
        {"a range wider than a double spans", {-1.5e308, 1.5e308}, 0, 80},
        {"its top", {-1.5e308, 1.5e308}, 1.5e308, 30},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_DOUBLE_EQ(ChartValueY(plot, c.range, c.value), c.y);
    }
}

TEST(ChartScale, PlotLeavesRoomForTitleAxisAndRange) {
    CChart chart;
    chart.m_rect = {0, 0, 200, 120};
    EXPECT_EQ(ChartPlotRect(chart), (CRectD{40, 30, 196, 116}));
    chart.m_showAxis = false;
    chart.m_showRange = true;
    EXPECT_EQ(ChartPlotRect(chart), (CRectD{4, 30, 196, 102}));
}

TEST(ChartScale, LineThroughTheHistory) {
    CChart chart;
    CModelOutput out;
    chart.m_output = &out;
    for (double v : {1.0, kNaN, 2.0, 3.0, kInf}) {
        out.m_value = v;
        chart.Refresh();
    }
    const CRectD plot{0, 0, 199, 100};  // one unit per history place
    const std::vector<double> values = ChartValues(chart);
    const CChartRange range = ChartRange(chart, values);
    ASSERT_EQ(range, (CChartRange{1, 3}));
    // A value that is not a number breaks the line; infinity stays finite.
    const auto runs = ChartLine(chart, plot, range, values);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], (std::vector<CPointD>{{0, 100}}));
    EXPECT_EQ(runs[1], (std::vector<CPointD>{{2, 50}, {3, 0}, {4, -10000}}));
    chart.m_style = 0;  // draws no curve
    EXPECT_TRUE(ChartLine(chart, plot, range, values).empty());
}

TEST(ChartScale, ArraysSpanThePlotAndScaleItWhenAutomatic) {
    double data[] = {-40, 10, 60};
    CModelOutput out;
    out.m_arrayData = data;
    out.m_arrayCount = 3;
    CChart chart;
    chart.m_output = &out;
    chart.m_arrayMode = true;
    const std::vector<double> values = ChartValues(chart);
    EXPECT_EQ(values, (std::vector<double>{-40, 10, 60}));
    const CChartRange range = ChartRange(chart, values);
    EXPECT_EQ(range, (CChartRange{-40, 60}));
    const auto runs = ChartLine(chart, {0, 0, 100, 100}, range, values);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0], (std::vector<CPointD>{{0, 100}, {50, 50}, {100, 0}}));
    // A negative count from a damaged output plots nothing.
    out.m_arrayCount = -5;
    EXPECT_TRUE(ChartValues(chart).empty());
}

}  // namespace
}  // namespace zor2
