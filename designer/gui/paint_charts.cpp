// Charts and value windows of the designed module: the chart's title bar with
// its size buttons, gridlines, axis labels and line (scaled by the core), the
// value window's title, value and component name, and the dotted connectors
// to the outputs they show.
#include <QFontMetrics>
#include <QPolygonF>
#include <algorithm>

#include "designer/chart_scale.h"
#include "designer/gui/view_paint.h"

namespace zor2::gui {
namespace {

/// A dotted line from the output a chart or value window shows to its left edge.
void PaintConnector(QPainter& p, const CPaintScene& scene, const QRectF& r, CNetworkModel* c,
                    CModelOutput* out) {
    if (!c || !out || IsConsolidated(*c)) return;
    const CViewLayout& layout = scene.layout;
    const auto anchor = layout.PortAnchor(
        {.kind = EHit::ComponentOutput, .module = layout.Module(), .component = c, .output = out});
    if (!anchor) return;
    p.setPen(QPen(QColor(0x96, 0x96, 0x96), 1, Qt::DotLine));
    p.drawLine(ToQ(layout.ToWorld(*anchor)), QPointF(r.left(), r.center().y()));
}

void PaintChart(QPainter& p, const CPaintScene& scene, const CChart& c) {
    const CSystem& s = scene.layout.System();
    const QRectF r = ToQ(c.m_rect);
    if (scene.Options().chartConnectors) PaintConnector(p, scene, r, c.m_component, c.m_output);
    const bool selected = scene.IsSelected({.kind = EHit::Chart, .chart = const_cast<CChart*>(&c)});
    p.setPen(selected ? QPen(kSelected, 2) : QPen(QColor(0x80, 0x80, 0x80)));
    p.setBrush(ColourOf(s.m_chartBackground));
    p.drawRect(r);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xDC, 0xDC, 0xDC));
    p.drawRect(QRectF(r.left(), r.top(), r.width(), kChartTitle));
    for (int code = kChartSmall; code <= kChartLarge; ++code) {
        const QRectF b = ToQ(ChartSizeButton(c, code));
        p.setPen(QPen(QColor(0x60, 0x60, 0x60)));
        p.setBrush(code == c.m_sizeCode ? QColor(0xB4, 0xC8, 0xE6) : QColor(Qt::white));
        p.drawRect(b);
        p.setPen(Qt::black);
        p.drawText(b, Qt::AlignCenter, QString::number(code));
    }
    const CRectD plotRect = ChartPlotRect(c);
    const QRectF plot = ToQ(plotRect);
    const std::vector<double> values = ChartValues(c);
    const CChartRange range = ChartRange(c, values);
    if (c.m_showGridlines && plot.height() > 4) {
        p.setPen(QPen(ColourOf(s.m_chartGrid), 1));
        for (double frac : ChartGridFractions(c, range)) {
            const double y = plot.bottom() - plot.height() * frac;
            p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        }
    }
    if (c.m_showAxis) {
        p.setPen(Qt::black);
        p.drawLine(plot.topLeft(), plot.bottomLeft());
        p.drawText(QRectF(r.left() + 2, plot.top() - 6, 36, 12), Qt::AlignRight,
                   QString::number(range.hi, 'g', 4));
        p.drawText(QRectF(r.left() + 2, plot.bottom() - 6, 36, 12), Qt::AlignRight,
                   QString::number(range.lo, 'g', 4));
    }
    p.save();
    p.setClipRect(plot.adjusted(-1, -1, 1, 1));
    p.setPen(QPen(ColourOf(s.m_chartData), 1.2));
    for (const std::vector<CPointD>& run : ChartLine(c, plotRect, range, values)) {
        QPolygonF line;
        line.reserve(static_cast<int>(run.size()));
        for (CPointD point : run) line << ToQ(point);
        p.drawPolyline(line);
    }
    p.restore();
    p.setPen(Qt::black);
    p.drawText(QRectF(r.left() + 4, r.top() + 1, r.width() - 60, kChartTitle - 2),
               Qt::AlignLeft | Qt::AlignVCenter, Q(c.ProcessedText()));
    p.drawText(QRectF(r.left() + 4, r.top() + kChartTitle, r.width() - 8, 14),
               Qt::AlignRight | Qt::AlignVCenter, Q(c.CurrentText()));
    if (c.m_showRange) {
        p.drawText(QRectF(r.left() + 4, r.bottom() - 16, r.width() / 2 - 4, 14),
                   Qt::AlignLeft | Qt::AlignVCenter, Q(c.MinText()));
        p.drawText(QRectF(r.center().x(), r.bottom() - 16, r.width() / 2 - 4, 14),
                   Qt::AlignRight | Qt::AlignVCenter, Q(c.MaxText()));
    }
}

void PaintValueWindow(QPainter& p, const CPaintScene& scene, const CValueWindow& v, const QFont& small) {
    const QRectF r = ToQ(v.m_rect);
    if (scene.Options().valueWindowConnectors) PaintConnector(p, scene, r, v.m_component, v.m_output);
    const bool selected =
        scene.IsSelected({.kind = EHit::ValueWindow, .valueWindow = const_cast<CValueWindow*>(&v)});
    p.setPen(selected                                  ? QPen(kSelected, 2)
             : v.m_showOutline && v.m_outlineWidth > 0 ? QPen(ColourOf(v.m_outlineColour), v.m_outlineWidth)
                                                       : QPen(Qt::NoPen));
    p.setBrush(v.m_transparent ? QBrush(Qt::NoBrush) : QBrush(ColourOf(v.m_background)));
    p.drawRect(r);
    p.setFont(small);
    p.setPen(Qt::black);
    double top = 2, bottom = 0;
    if (v.m_showTitle) {
        p.drawText(r.adjusted(4, 2, -4, 0), Qt::AlignHCenter | Qt::AlignTop, Q(v.m_title));
        top = 14;
    }
    if (v.m_showComponentName && v.m_component) {
        p.setPen(QColor(0x50, 0x50, 0x50));
        p.drawText(r.adjusted(4, 0, -4, -2), Qt::AlignHCenter | Qt::AlignBottom,
                   p.fontMetrics().elidedText(Q(v.m_component->m_name), Qt::ElideRight,
                                              static_cast<int>(r.width() - 8)));
        bottom = 12;
    }
    QFont big(Q(v.m_fontName));
    big.setPointSize(std::clamp(v.m_fontSize, 4, 96));
    big.setBold(v.m_bold);
    p.setFont(big);
    p.setPen(Qt::black);
    p.drawText(r.adjusted(4, top, -4, -bottom), Qt::AlignCenter, Q(v.ValueText()));
    p.setFont(small);
}

}  // namespace

void PaintCharts(QPainter& p, const CPaintScene& scene) {
    const CSystem& s = scene.layout.System();
    const CNetwork* m = scene.layout.Module();
    const QFont small = scene.Scaled(0.8);
    p.setFont(small);
    for (const CChart* c : s.m_charts.m_charts)
        if (c->Resolved() && c->m_module == m) PaintChart(p, scene, *c);
    for (const CValueWindow* v : s.m_valueWindows.m_windows)
        if (v->Resolved() && v->m_module == m) PaintValueWindow(p, scene, *v, small);
}

}  // namespace zor2::gui
