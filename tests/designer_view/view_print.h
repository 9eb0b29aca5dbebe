// Readable failure messages for the layout's points, rectangles and ranges.
#pragma once

#include <ostream>

#include "designer/chart_scale.h"
#include "designer/view_geometry.h"

namespace zor2 {

inline void PrintTo(const CPointD& p, std::ostream* os) {
    *os << "(" << p.x << ", " << p.y << ")";
}
inline void PrintTo(const CRectD& r, std::ostream* os) {
    *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
inline void PrintTo(const CChartRange& r, std::ostream* os) {
    *os << r.lo << " to " << r.hi;
}

}  // namespace zor2
