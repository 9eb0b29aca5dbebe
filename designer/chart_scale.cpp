// Plot area, range, gridlines and value mapping of the charts.
#include "designer/chart_scale.h"

#include <algorithm>
#include <cmath>

#include "designer/view_layout.h"
#include "engine/ports.h"

namespace zor2 {
namespace {

constexpr double kTextLine = 14;    // the current value line, the range line
constexpr double kAxisMargin = 40;  // room for the axis labels
constexpr double kMaxGridlines = 20;
constexpr double kReach = 100;  // plot heights a value may lie beyond the plot

/// Whether the chart plots its output's array rather than its history.
bool PlotsArray(const CChart& c) {
    return c.m_arrayMode && c.m_output && c.m_output->m_arrayData;
}

}  // namespace

CRectD ChartPlotRect(const CChart& c) {
    const double bottomText = c.m_showRange ? kTextLine : 0;
    return CRectD::Of(c.m_rect).Adjusted(c.m_showAxis ? kAxisMargin : 4, kChartTitle + kTextLine, -4,
                                         -4 - bottomText);
}

std::vector<double> ChartValues(const CChart& c) {
    if (PlotsArray(c)) {
        const int n = std::max(0, c.m_output->m_arrayCount);
        return std::vector<double>(c.m_output->m_arrayData, c.m_output->m_arrayData + n);
    }
    std::vector<double> values(c.Count());
    for (int i = 0; i < c.Count(); ++i) values[i] = c.Value(i);
    return values;
}

CChartRange ChartRange(const CChart& c, const std::vector<double>& values) {
    const bool usable = std::isfinite(c.m_min) && std::isfinite(c.m_max) && c.m_max > c.m_min;
    if (!c.m_autoScale && usable) return {c.m_min, c.m_max};
    bool any = false;
    double lo = 0, hi = 0;
    for (double v : values) {
        if (!std::isfinite(v)) continue;
        lo = any ? std::min(lo, v) : v;
        hi = any ? std::max(hi, v) : v;
        any = true;
    }
    if (hi - lo < 1e-9) {
        lo -= 1;
        hi += 1;
    }
    return {lo, hi};
}

std::vector<double> ChartGridFractions(const CChart& c, const CChartRange& r) {
    std::vector<double> fractions;
    const double span = r.hi - r.lo;
    const bool major = c.m_majorIncrement > 0;
    // Counted in doubles: a tiny increment must not overflow an integer count.
    const double lines = major ? std::min(kMaxGridlines, std::floor(span / c.m_majorIncrement)) : 3;
    for (int i = 1; i <= lines; ++i) {
        const double frac = major ? c.m_majorIncrement * i / span : i / 4.0;
        if (!(frac < 1)) break;
        if (frac > 0) fractions.push_back(frac);
    }
    return fractions;
}

double ChartValueY(const CRectD& plot, const CChartRange& r, double value) {
    const double reach = kReach * std::max(std::abs(plot.Height()), 1.0);
    // Halves cannot overflow where the span of a huge range would; the fraction
    // comes first for the same reason.
    const double y = plot.bottom - plot.Height() * ((value / 2 - r.lo / 2) / (r.hi / 2 - r.lo / 2));
    if (std::isnan(y)) return plot.bottom;
    return std::clamp(y, std::min(plot.top, plot.bottom) - reach, std::max(plot.top, plot.bottom) + reach);
}

std::vector<std::vector<CPointD>> ChartLine(const CChart& c, const CRectD& plot, const CChartRange& r,
                                            const std::vector<double>& values) {
    std::vector<std::vector<CPointD>> runs;
    const int n = static_cast<int>(values.size());
    if (c.m_style != 1 || n < 2) return runs;
    // An array spans the plot; the history fills it once it holds all its places.
    const double places = PlotsArray(c) ? n - 1 : CChart::kHistorySize - 1;
    std::vector<CPointD>* run = nullptr;
    for (int i = 0; i < n; ++i) {
        if (std::isnan(values[i])) {
            run = nullptr;
            continue;
        }
        if (!run) run = &runs.emplace_back();
        run->push_back({plot.left + plot.Width() * i / places, ChartValueY(plot, r, values[i])});
    }
    return runs;
}

}  // namespace zor2
