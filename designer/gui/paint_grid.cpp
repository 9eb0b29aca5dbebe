// The grid under everything, and the faces the painters take from the view's font
// with whether they can be read at the view's zoom.
#include <QFontMetricsF>
#include <cmath>

#include "designer/gui/view_paint.h"

namespace zor2::gui {

QFont CPaintScene::Scaled(double k) const {
    QFont f = font;
    f.setPointSizeF(font.pointSizeF() * k);
    return f;
}

bool CPaintScene::Readable(const QFont& face) const {
    // Below this many pixels a line of text is a smudge: zoomed out that far it is left out.
    constexpr double kReadablePixels = 5;
    return QFontMetricsF(face).height() * layout.Transform().zoom * textScale >= kReadablePixels;
}

QFont CPaintScene::Bold() const {
    QFont f = font;
    f.setBold(true);
    return f;
}

void PaintGrid(QPainter& p, const CPaintScene& scene) {
    const CViewOptions& o = scene.Options();
    if (!o.showGrid || o.gridSpacing < 2) return;
    const CViewTransform& t = scene.layout.Transform();
    const double step = o.gridSpacing * t.zoom;
    // Lines closer than this would fill the view.
    if (step < 4) return;
    p.setPen(QPen(ColourOf(o.gridColour), 1));
    const double width = scene.layout.Width(), height = scene.layout.Height();
    const double x0 = std::fmod(-t.scroll.x * t.zoom, step);
    const double y0 = std::fmod(-t.scroll.y * t.zoom, step);
    for (double x = x0; x < width; x += step) p.drawLine(QPointF(x, 0), QPointF(x, height));
    for (double y = y0; y < height; y += step) p.drawLine(QPointF(0, y), QPointF(width, y));
}

}  // namespace zor2::gui
