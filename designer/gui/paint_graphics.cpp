// Background graphics: a rectangle with its fill, outline, raised edges and
// text, the count of components it holds, and the clasps while it is selected.
#include <algorithm>

#include "designer/gui/view_paint.h"

namespace zor2::gui {
namespace {

void PaintGraphic(QPainter& p, const CPaintScene& scene, const CGraphic& g) {
    const QRectF r = ToQ(g.m_rect);
    p.setBrush(g.m_transparent ? QBrush(Qt::NoBrush) : QBrush(ColourOf(g.m_background)));
    p.setPen(g.m_outline && g.m_lineWidth > 0 ? QPen(ColourOf(g.m_lineColour), g.m_lineWidth)
                                              : QPen(Qt::NoPen));
    p.drawRect(r);
    if (g.m_edges3d) {
        // Raised edges: light on the top and left, dark on the bottom and right.
        p.setPen(QPen(QColor(0xFF, 0xFF, 0xFF), 2));
        p.drawLine(r.bottomLeft(), r.topLeft());
        p.drawLine(r.topLeft(), r.topRight());
        p.setPen(QPen(QColor(0x70, 0x70, 0x70), 2));
        p.drawLine(r.topRight(), r.bottomRight());
        p.drawLine(r.bottomRight(), r.bottomLeft());
    }
    QFont f(Q(g.m_fontName));
    f.setPointSize(std::clamp(g.m_fontSize, 4, 96));
    f.setBold(g.m_bold);
    p.setFont(f);
    p.setPen(Qt::black);
    const int h = g.m_alignH == 1 ? Qt::AlignHCenter : g.m_alignH == 2 ? Qt::AlignRight : Qt::AlignLeft;
    const int v = g.m_alignV == 1 ? Qt::AlignVCenter : g.m_alignV == 2 ? Qt::AlignBottom : Qt::AlignTop;
    // Top alignment wraps the text; centre and bottom draw one line.
    p.drawText(r.adjusted(4, 4, -4, -4), h | v | (g.m_alignV == 0 ? Qt::TextWordWrap : Qt::TextSingleLine),
               Q(g.m_text));
    if (scene.Options().graphicCount) {
        p.setFont(scene.Scaled(0.8));
        p.setPen(QColor(0x50, 0x50, 0x50));
        p.drawText(r.adjusted(4, 4, -4, -4), Qt::AlignRight | Qt::AlignBottom,
                   QString::number(g.CountHeld(*scene.layout.Module())));
    }
    if (scene.IsSelected({.kind = EHit::Graphic, .graphic = const_cast<CGraphic*>(&g)})) {
        p.setPen(QPen(kSelected, 1.5, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r);
        p.setPen(QPen(kSelected, 1));
        p.setBrush(Qt::white);
        for (int corner = 0; corner < 4; ++corner) p.drawRect(ToQ(GraphicClasp(g, corner)));
    }
}

}  // namespace

void PaintGraphics(QPainter& p, const CPaintScene& scene) {
    for (const CGraphic* g : scene.layout.System().m_graphics.m_graphics) PaintGraphic(p, scene, *g);
}

}  // namespace zor2::gui
