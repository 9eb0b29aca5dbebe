// Double-precision points and rectangles of the view's layout, and the zoom and
// scroll transform between model and viewport coordinates.
#pragma once

#include <algorithm>

#include "engine/object.h"

namespace zor2 {

struct CPointD {
    double x = 0;
    double y = 0;
    bool operator==(const CPointD&) const = default;
    CPointD operator+(CPointD o) const { return {x + o.x, y + o.y}; }
    CPointD operator-(CPointD o) const { return {x - o.x, y - o.y}; }
    CPointD operator*(double k) const { return {x * k, y * k}; }
    CPointD operator/(double k) const { return {x / k, y / k}; }
};

/// A rectangle by its edges. The all-zero rectangle is the null one: it holds
/// no point and adds nothing to a union.
struct CRectD {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    bool operator==(const CRectD&) const = default;

    static CRectD Sized(double x, double y, double width, double height) {
        return {x, y, x + width, y + height};
    }
    static CRectD Of(const CRect& r) {
        return {double(r.left), double(r.top), double(r.right), double(r.bottom)};
    }

    double Width() const { return right - left; }
    double Height() const { return bottom - top; }
    CPointD TopLeft() const { return {left, top}; }
    CPointD Center() const { return {(left + right) / 2, (top + bottom) / 2}; }
    bool IsNull() const { return Width() == 0 && Height() == 0; }
    CRectD Adjusted(double dl, double dt, double dr, double db) const {
        return {left + dl, top + dt, right + dr, bottom + db};
    }
    /// Grown by `d` on every side.
    CRectD Grown(double d) const { return Adjusted(-d, -d, d, d); }
    CRectD Normalized() const {
        return {std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
    }
    /// Edges included; a rectangle without width or without height holds no point.
    bool Contains(CPointD p) const {
        const CRectD n = Normalized();
        if (n.left == n.right || n.top == n.bottom) return false;
        return p.x >= n.left && p.x <= n.right && p.y >= n.top && p.y <= n.bottom;
    }
    /// Whether the two share an area; touching edges do not count.
    bool Intersects(const CRectD& o) const {
        const CRectD a = Normalized(), b = o.Normalized();
        if (a.left == a.right || a.top == a.bottom || b.left == b.right || b.top == b.bottom) return false;
        return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
    }
    /// The bounding rectangle of both.
    CRectD United(const CRectD& o) const {
        if (IsNull()) return o;
        if (o.IsNull()) return *this;
        const CRectD a = Normalized(), b = o.Normalized();
        return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
    }
};

/// Zoom and scroll of a view: `scroll` is the model point at the viewport's
/// top-left corner and one model unit spans `zoom` viewport pixels.
struct CViewTransform {
    double zoom = 1.0;
    CPointD scroll;

    CPointD ToWorld(CPointD viewport) const { return viewport / zoom + scroll; }
    CPointD ToViewport(CPointD world) const { return (world - scroll) * zoom; }
};

}  // namespace zor2
