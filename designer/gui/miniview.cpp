// Drawing and clicks of the miniview.
#include "designer/gui/miniview.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "designer/gui/design_view.h"
#include "designer/gui/view_paint.h"

namespace zor2::gui {
namespace {

constexpr double kMargin = 6;

}  // namespace

CMiniview::CMiniview(CDesignView& view, QWidget* parent) : QWidget(parent), m_view(view) {
    setMinimumSize(120, 90);
    setCursor(Qt::PointingHandCursor);
}

QRectF CMiniview::WorldBounds() const {
    return (m_view.ContentBounds() | ToQ(m_view.Editor().m_visible)).adjusted(-20, -20, 20, 20);
}

double CMiniview::Scale(const QRectF& b) const {
    const double w = std::max(1.0, width() - 2 * kMargin), h = std::max(1.0, height() - 2 * kMargin);
    return std::min(w / std::max(1.0, b.width()), h / std::max(1.0, b.height()));
}

CViewTransform CMiniview::Transform() const {
    // The bounds' top-left corner lands on the margin.
    const QRectF b = WorldBounds();
    const double k = Scale(b);
    return {k, FromQ(b.topLeft()) - CPointD{kMargin, kMargin} / k};
}

QPointF CMiniview::ToLocal(const QPointF& world) const {
    return ToQ(Transform().ToViewport(FromQ(world)));
}

QPointF CMiniview::ToWorld(const QPointF& local) const {
    return ToQ(Transform().ToWorld(FromQ(local)));
}

void CMiniview::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0xF6, 0xF6, 0xF6));
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF b = WorldBounds();
    const CViewTransform t = Transform();
    auto point = [&](QPointF w) { return ToQ(t.ToViewport(FromQ(w))); };
    auto local = [&](const QRectF& r) { return QRectF(point(r.topLeft()), r.size() * t.zoom); };
    const CViewOptions& o = m_view.Options();
    CSystem& s = m_view.System();
    if (CNetwork* m = m_view.Module()) {
        p.setPen(QPen(QColor(0x32, 0x64, 0x96), 1));
        if (o.miniviewModuleLinks) {
            for (CNetworkModel* c : m->m_components)
                for (CModelOutput* out : c->m_outputs)
                    for (CModelConnection* k2 : out->m_connections)
                        if (k2->m_dstComponent && !IsConsolidated(*c) && !IsConsolidated(*k2->m_dstComponent))
                            p.drawLine(point(ToQ(ComponentBox(*c).Center())),
                                       point(ToQ(ComponentBox(*k2->m_dstComponent).Center())));
        }
        // Graphics, charts and value windows as plain frames under the components.
        p.setPen(QPen(QColor(0xA0, 0xA0, 0xA0), 1));
        p.setBrush(Qt::NoBrush);
        for (const CGraphic* g : s.m_graphics.m_graphics) p.drawRect(local(ToQ(g->m_rect)));
        p.setBrush(QColor(0xDC, 0xE6, 0xF5));
        for (const CChart* c : s.m_charts.m_charts)
            if (c->m_module == m) p.drawRect(local(ToQ(c->m_rect)));
        for (const CValueWindow* v : s.m_valueWindows.m_windows)
            if (v->m_module == m) p.drawRect(local(ToQ(v->m_rect)));
        p.setPen(QPen(QColor(0x6E, 0x64, 0x46), 1));
        p.setBrush(QColor(0xFA, 0xF7, 0xEC));
        for (CNetworkModel* c : m->m_components)
            if (!IsConsolidated(*c)) p.drawRect(local(ToQ(ComponentBox(*c))));
    } else {
        // Modules, and the connections the options ask for.
        const QPointF leftEdge(b.left(), 0), rightEdge(b.right(), 0);
        if (o.miniviewModuleLinks) {
            p.setPen(QPen(QColor(0x32, 0x64, 0x96), 1));
            for (CNetworkConnection* c : s.m_moduleConnections)
                if (c->m_srcModule && c->m_dstModule)
                    p.drawLine(point(ToQ(ModuleBox(*c->m_srcModule).Center())),
                               point(ToQ(ModuleBox(*c->m_dstModule).Center())));
        }
        if (o.miniviewIncoming) {
            p.setPen(QPen(QColor(0x28, 0x8C, 0x50), 1));
            for (CExternalInput* in : s.m_inputs)
                for (CExternalConnection* c : in->m_connections)
                    if (c->m_module) {
                        const QPointF to = ToQ(ModuleBox(*c->m_module).Center());
                        p.drawLine(point(QPointF(leftEdge.x(), to.y())), point(to));
                    }
        }
        if (o.miniviewOutgoing) {
            p.setPen(QPen(QColor(0xB4, 0x50, 0x28), 1));
            for (CExternalOutput* out : s.m_outputs)
                if (const CExternalConnection* c = out->m_connection.get(); c && c->m_module) {
                    const QPointF from = ToQ(ModuleBox(*c->m_module).Center());
                    p.drawLine(point(from), point(QPointF(rightEdge.x(), from.y())));
                }
        }
        QFont f = font();
        f.setPointSizeF(std::max(5.0, f.pointSizeF() * 0.7));
        p.setFont(f);
        for (CNetwork* m : s.m_modules) {
            const QRectF r = local(ToQ(ModuleBox(*m)));
            p.setPen(QPen(QColor(0x46, 0x5A, 0x78), 1));
            p.setBrush(m->m_selected ? QColor(0xB4, 0xC8, 0xE6) : QColor(0xEE, 0xF3, 0xFA));
            p.drawRect(r);
            if (o.miniviewNames) {
                p.setPen(Qt::black);
                p.drawText(r.adjusted(-30, 0, 30, 0), Qt::AlignCenter, QString::fromStdString(m->m_name));
            }
        }
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0xE0, 0x30, 0x30), 1.5));
    p.drawRect(local(ToQ(m_view.Editor().m_visible)));
}

void CMiniview::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) m_view.ScrollToCentre(ToWorld(e->position()));
}

void CMiniview::mouseMoveEvent(QMouseEvent* e) {
    if (e->buttons() & Qt::LeftButton) m_view.ScrollToCentre(ToWorld(e->position()));
}

}  // namespace zor2::gui
