// Component boxes of the module design view: name, type, stage and connection
// counts, and a port rectangle per input and output with its value and name;
// a reduced component shows its stage and port counts only.
#include <QFontMetrics>

#include "designer/commands_view.h"
#include "designer/gui/view_paint.h"
#include "engine/catalogue.h"

namespace zor2::gui {
namespace {

void PaintPorts(QPainter& p, const CPaintScene& scene, const CNetworkModel& c, const QFont& small,
                const QFont& tiny) {
    const CViewOptions& o = scene.Options();
    int i = 0;
    for (CModelInput* in : c.m_inputs) {
        const QRectF r = ToQ(ComponentPortRect(c, i++, false));
        p.setPen(c.m_selectedInputs.Contains(in) ? QPen(kSelected, 2) : QPen(kComponentBorder));
        p.setBrush(in->HasSource() ? QColor(0xE6, 0xF5, 0xE6) : kPortFill);
        p.drawRect(r);
        p.setFont(small);
        p.setPen(Qt::black);
        p.drawText(r.adjusted(2, 0, -2, 0), Qt::AlignVCenter | Qt::AlignRight, Q(in->ValueString()));
        if (o.inputNames) {
            p.setFont(tiny);
            p.setPen(QColor(0x64, 0x64, 0x64));
            p.drawText(QRectF(r.left() - 60, r.top(), 58, r.height()), Qt::AlignVCenter | Qt::AlignRight,
                       p.fontMetrics().elidedText(Q(in->m_name), Qt::ElideRight, 58));
        }
    }
    i = 0;
    for (CModelOutput* out : c.m_outputs) {
        const QRectF r = ToQ(ComponentPortRect(c, i++, true));
        p.setPen(c.m_selectedOutputs.Contains(out) ? QPen(kSelected, 2) : QPen(kComponentBorder));
        p.setBrush(o.highlightActiveOutputs && out->m_value != 0.0 ? kActive
                   : out->m_connections.Empty()                    ? kPortFill
                                                                   : QColor(0xF5, 0xE6, 0xDC));
        p.drawRect(r);
        p.setFont(small);
        p.setPen(QColor(0x14, 0x46, 0x14));
        p.drawText(r.adjusted(2, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft, Q(out->ValueString()));
        if (o.outputNames) {
            p.setFont(tiny);
            p.setPen(QColor(0x64, 0x64, 0x64));
            p.drawText(QRectF(r.right() + 2, r.top(), 70, r.height()), Qt::AlignVCenter | Qt::AlignLeft,
                       p.fontMetrics().elidedText(Q(out->m_name), Qt::ElideRight, 70));
        }
    }
}

}  // namespace

void PaintComponents(QPainter& p, const CPaintScene& scene) {
    const CViewOptions& o = scene.Options();
    const QFont small = scene.Scaled(0.8);
    const QFont tiny = scene.Scaled(0.7);
    const QFont bold = scene.Bold();
    for (CNetworkModel* c : scene.layout.Module()->m_components) {
        if (IsConsolidated(*c)) continue;
        const QRectF box = ToQ(ComponentBox(*c));
        p.setPen(c->m_selected ? QPen(kSelected, 2.5) : QPen(kComponentBorder, 1.2));
        p.setBrush(kComponentFill);
        p.drawRoundedRect(box, 4, 4);
        if (o.componentNames) {
            p.setFont(bold);
            p.setPen(Qt::black);
            p.drawText(QRectF(box.center().x() - 100, box.top() - 18, 200, 16),
                       Qt::AlignHCenter | Qt::AlignBottom, Q(c->m_name));
        }
        p.setFont(tiny);
        p.setPen(QColor(0x46, 0x46, 0x46));
        if (IsReduced(*c)) {
            p.drawText(
                box.adjusted(2, 2, -2, -2), Qt::AlignCenter,
                QString::asprintf("S: %d\nI: %d  O: %d", c->m_stage, static_cast<int>(c->m_inputs.Size()),
                                  static_cast<int>(c->m_outputs.Size())));
            continue;
        }
        if (o.helperText) {
            const char* typeName = CatalogueName(c->m_typeId);
            p.drawText(box.adjusted(3, 3, -3, -26), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                       typeName ? QString::fromUtf8(typeName) : QString());
            // A type's own detail: lines 12 pixels apart from 2 pixels under the box.
            double y = box.bottom() + 2;
            for (const std::string& line : c->HelperLines()) {
                p.drawText(QRectF(box.left() - 40, y, box.width() + 80, 12), Qt::AlignHCenter | Qt::AlignTop,
                           Q(line));
                y += 12;
            }
        }
        p.drawText(QRectF(box.left() + 2, box.bottom() - 24, box.width() - 4, 11), Qt::AlignHCenter,
                   QString::asprintf("S: %d", c->m_stage));
        p.drawText(
            QRectF(box.left() + 2, box.bottom() - 13, box.width() - 4, 11), Qt::AlignHCenter,
            QString::asprintf("O: %d/%d", c->CountConnectionsOut(), static_cast<int>(c->m_outputs.Size())));
        PaintPorts(p, scene, *c, small, tiny);
    }
}

}  // namespace zor2::gui
