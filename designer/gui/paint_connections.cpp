// Connections of both modes, drawn in viewport coordinates between the anchors
// the layout gives: straight, right-angled or curved as the options say.
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "designer/gui/view_paint.h"

namespace zor2::gui {
namespace {

void PaintConnection(QPainter& p, const CPaintScene& scene, QPointF a, QPointF b, const QColor& colour) {
    // Every form stays within the ends widened by the curve's pull and the end dot.
    const double pull = std::max(40.0, std::abs(b.x() - a.x()) / 2);
    if (!scene.ShowsViewport(QRectF(a, b).normalized().adjusted(-pull - 3, -3, pull + 3, 3))) return;
    p.setPen(QPen(colour, 1.5));
    p.setBrush(Qt::NoBrush);
    QPainterPath path(a);
    switch (scene.Options().connectorType) {
        case 0:
            path.lineTo(b);
            break;
        case 1: {
            const double mx = (a.x() + b.x()) / 2;
            path.lineTo(mx, a.y());
            path.lineTo(mx, b.y());
            path.lineTo(b);
            break;
        }
        default: {
            path.cubicTo(a + QPointF(pull, 0), b - QPointF(pull, 0), b);
            break;
        }
    }
    p.drawPath(path);
    p.setBrush(colour);
    p.drawEllipse(b, 2.5, 2.5);
}

/// The anchor of a module or component port, which the layout always has.
QPointF PortAt(const CViewLayout& layout, const CHit& port) {
    return ToQ(layout.PortAnchor(port).value_or(CPointD{}));
}

void PaintSystemConnections(QPainter& p, const CPaintScene& scene) {
    const CViewLayout& layout = scene.layout;
    CSystem& s = layout.System();
    for (CNetworkConnection* c : s.m_moduleConnections) {
        if (!c->m_srcModule || !c->m_dstModule || !c->m_srcOutput || !c->m_dstInput) continue;
        PaintConnection(
            p, scene,
            PortAt(layout,
                   {.kind = EHit::ModuleOutput, .module = c->m_srcModule, .moduleOutput = c->m_srcOutput}),
            PortAt(layout,
                   {.kind = EHit::ModuleInput, .module = c->m_dstModule, .moduleInput = c->m_dstInput}),
            kWire);
    }
    for (CExternalInput* in : s.m_inputs) {
        // A port of a contracted category has no row and shows no connections.
        const auto a = layout.PortAnchor({.kind = EHit::SystemInput, .systemInput = in});
        if (!a) continue;
        for (CExternalConnection* c : in->m_connections) {
            if (!c->m_module || !c->m_moduleInput) continue;
            PaintConnection(
                p, scene, ToQ(*a),
                PortAt(layout,
                       {.kind = EHit::ModuleInput, .module = c->m_module, .moduleInput = c->m_moduleInput}),
                kIncoming);
        }
    }
    for (CExternalOutput* out : s.m_outputs) {
        const CExternalConnection* c = out->m_connection.get();
        if (!c || !c->m_module || !c->m_moduleOutput) continue;
        const auto b = layout.PortAnchor({.kind = EHit::SystemOutput, .systemOutput = out});
        if (!b) continue;
        PaintConnection(
            p, scene,
            PortAt(layout,
                   {.kind = EHit::ModuleOutput, .module = c->m_module, .moduleOutput = c->m_moduleOutput}),
            ToQ(*b), kOutgoing);
    }
}

void PaintModuleConnections(QPainter& p, const CPaintScene& scene) {
    const CViewLayout& layout = scene.layout;
    CNetwork& m = *layout.Module();
    for (CNetworkModel* c : m.m_components) {
        for (CModelOutput* out : c->m_outputs) {
            const QPointF a =
                PortAt(layout, {.kind = EHit::ComponentOutput, .module = &m, .component = c, .output = out});
            for (CModelConnection* k : out->m_connections) {
                if (k->m_kind == kSourceComponent && k->m_dstComponent && k->m_dstInput) {
                    PaintConnection(p, scene, a,
                                    PortAt(layout, {.kind = EHit::ComponentInput,
                                                    .module = &m,
                                                    .component = k->m_dstComponent,
                                                    .input = k->m_dstInput}),
                                    kWire);
                } else if (k->m_moduleOutput) {
                    const auto b = layout.PortAnchor(
                        {.kind = EHit::ModOutput, .module = &m, .moduleOutput = k->m_moduleOutput});
                    if (b) PaintConnection(p, scene, a, ToQ(*b), kOutgoing);
                }
            }
        }
    }
    for (CNetworkInput* mi : m.m_inputs) {
        const auto a = layout.PortAnchor({.kind = EHit::ModInput, .module = &m, .moduleInput = mi});
        if (!a) continue;
        for (CModelConnection* k : mi->m_connections)
            if (k->m_dstComponent && k->m_dstInput)
                PaintConnection(p, scene, ToQ(*a),
                                PortAt(layout, {.kind = EHit::ComponentInput,
                                                .module = &m,
                                                .component = k->m_dstComponent,
                                                .input = k->m_dstInput}),
                                kIncoming);
    }
}

}  // namespace

void PaintConnections(QPainter& p, const CPaintScene& scene) {
    if (!scene.Options().connections) return;
    if (scene.layout.Module())
        PaintModuleConnections(p, scene);
    else
        PaintSystemConnections(p, scene);
}

}  // namespace zor2::gui
