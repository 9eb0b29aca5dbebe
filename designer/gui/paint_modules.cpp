// Module boxes of the system view: title with the level, a port slot per
// module input and output with its value (once a cycle ran) or its name, and
// the component count.
#include <QFontMetrics>

#include "designer/gui/view_paint.h"
#include "designer/label_layout.h"

namespace zor2::gui {

void PaintModules(QPainter& p, const CPaintScene& scene) {
    const CViewOptions& o = scene.Options();
    const QFont bold = scene.Bold();
    const bool values = ModulePortsShowValues(scene.layout.System(), o);
    for (CNetwork* m : ModulesInDrawOrder(scene.layout.System())) {
        const QRectF box = ToQ(ModuleBox(*m));
        p.setPen(m->m_selected ? QPen(kSelected, 2.5) : QPen(kModuleBorder, 1.2));
        p.setBrush(kModuleFill);
        p.drawRoundedRect(box, 6, 6);
        p.setBrush(kModuleBorder);
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(box.left(), box.top(), box.width(), kModuleTitle), 6, 6);
        p.setPen(Qt::white);
        p.setFont(bold);
        const QRectF title(box.left() + 6, box.top(), box.width() - 12, kModuleTitle);
        p.drawText(
            title, Qt::AlignVCenter | Qt::AlignLeft,
            p.fontMetrics().elidedText(Q(m->m_name), Qt::ElideRight, static_cast<int>(box.width() - 40)));
        p.drawText(title, Qt::AlignVCenter | Qt::AlignRight, QStringLiteral("L%1").arg(m->m_level));
        // Port texts in the view's own size, so names read at 100%.
        p.setFont(scene.font);
        // Port texts take half the box each, inputs from the left, outputs from the right.
        const double half = box.width() / 2 - 10;
        int i = 0;
        for (CNetworkInput* in : m->m_inputs) {
            const QRectF r = ToQ(ModulePortRect(*m, i++, false));
            p.setPen(scene.IsSelected({.kind = EHit::ModuleInput, .module = m, .moduleInput = in})
                         ? QPen(kSelected, 2)
                         : QPen(kModuleBorder));
            p.setBrush(in->HasSource() ? kIncoming : kPortFill);
            p.drawRect(r);
            p.setPen(Qt::black);
            const QString t = values ? Q(in->ValueString()) : Q(in->m_name);
            p.drawText(QRectF(r.right() + 3, r.top() - 3, half, r.height() + 6),
                       Qt::AlignVCenter | Qt::AlignLeft,
                       p.fontMetrics().elidedText(t, Qt::ElideRight, static_cast<int>(half)));
        }
        i = 0;
        for (CNetworkOutput* out : m->m_outputs) {
            const QRectF r = ToQ(ModulePortRect(*m, i++, true));
            p.setPen(scene.IsSelected({.kind = EHit::ModuleOutput, .module = m, .moduleOutput = out})
                         ? QPen(kSelected, 2)
                         : QPen(kModuleBorder));
            p.setBrush(o.highlightActiveOutputs && out->m_value != 0.0 ? kActive
                       : out->HasSource()                              ? kOutgoing
                                                                       : kPortFill);
            p.drawRect(r);
            p.setPen(Qt::black);
            const QString t = values ? Q(out->ValueString()) : Q(out->m_name);
            p.drawText(QRectF(r.left() - 3 - half, r.top() - 3, half, r.height() + 6),
                       Qt::AlignVCenter | Qt::AlignRight,
                       p.fontMetrics().elidedText(t, Qt::ElideRight, static_cast<int>(half)));
        }
        p.setPen(QColor(0x50, 0x50, 0x50));
        p.drawText(QRectF(box.left() + 6, box.bottom() - 18, box.width() - 12, 16), Qt::AlignCenter,
                   QStringLiteral("Components: %1").arg(m->m_components.Size()));
    }
}

}  // namespace zor2::gui
