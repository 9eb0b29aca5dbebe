// How a chart maps its values onto its plot: the plot area, the range shown,
// the gridlines and the line through the values, in model coordinates. Values
// that are not finite never reach a coordinate.
#pragma once

#include <vector>

#include "designer/view_geometry.h"
#include "engine/editor_data.h"

namespace zor2 {

/// The values a chart plots from `lo` (the plot's bottom) to `hi` (its top); hi > lo.
struct CChartRange {
    double lo = -1;
    double hi = 1;
    bool operator==(const CChartRange&) const = default;
};

/// The plot inside a chart's rectangle: below the title bar and the current
/// value line, right of the axis labels when the axis is shown, above the range
/// line when the range is shown.
CRectD ChartPlotRect(const CChart& chart);
/// The values plotted, oldest first: the output's array in array mode, else the history.
std::vector<double> ChartValues(const CChart& chart);
/// The range shown: the chart's minimum and maximum, or the span of the finite
/// values with auto scale or when that range is empty or not finite. A span
/// flatter than 1e-9 is widened by 1 each way (no values: -1 to 1).
CChartRange ChartRange(const CChart& chart, const std::vector<double>& values);
/// The gridlines as fractions of the plot's height above its bottom: every
/// major increment when one is set (at most 20 lines), else the quarters. Only
/// lines strictly inside the plot.
std::vector<double> ChartGridFractions(const CChart& chart, const CChartRange& range);
/// The model y of a value in the plot. Values beyond the range lie outside the
/// plot but no further than 100 plot heights; infinities lie at that limit.
double ChartValueY(const CRectD& plot, const CChartRange& range, double value);
/// The line through the values across the plot's width (array mode: the whole
/// array; else the history's 200 places), as runs of points: a value that is
/// not a number breaks the line. Empty unless the chart's style plots a line.
std::vector<std::vector<CPointD>> ChartLine(const CChart& chart, const CRectD& plot, const CChartRange& range,
                                            const std::vector<double>& values);

}  // namespace zor2
