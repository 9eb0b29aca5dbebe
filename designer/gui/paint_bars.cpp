// The inputs and outputs bars: a title, then a row per category, system port
// or module port with its name, its value and the point connections meet.
#include <QFontMetrics>
#include <algorithm>

#include "designer/gui/view_paint.h"

namespace zor2::gui {
namespace {

QString RowText(const CHit& h) {
    switch (h.kind) {
        case EHit::SystemInput:
            return Q(h.systemInput->m_name);
        case EHit::SystemOutput:
            return Q(h.systemOutput->m_name);
        case EHit::InputCategory:
            return Q(h.inputCategory->m_name);
        case EHit::OutputCategory:
            return Q(h.outputCategory->m_name);
        case EHit::ModInput:
            return Q(h.moduleInput->m_name);
        case EHit::ModOutput:
            return Q(h.moduleOutput->m_name);
        default:
            return QString();
    }
}

/// The value a port row shows; empty for categories.
QString RowValue(const CHit& h) {
    switch (h.kind) {
        case EHit::SystemInput: {
            const QString text = Q(h.systemInput->ValueString());
            return text.isEmpty() ? QString::number(h.systemInput->m_value, 'f', 2) : text;
        }
        case EHit::SystemOutput:
            return QString::number(h.systemOutput->m_value, 'f', 2);
        case EHit::ModInput:
            return Q(h.moduleInput->ValueString());
        case EHit::ModOutput:
            return Q(h.moduleOutput->ValueString());
        default:
            return QString();
    }
}

bool IsContracted(const CEditorState& e, const CHit& h) {
    const auto& ids =
        h.kind == EHit::InputCategory ? e.m_contractedInputCategories : e.m_contractedOutputCategories;
    const int32_t id = h.kind == EHit::InputCategory ? h.inputCategory->m_id : h.outputCategory->m_id;
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

void PaintBar(QPainter& p, const CPaintScene& scene, bool left, const QString& title) {
    const CViewLayout& layout = scene.layout;
    const QRectF bar = ToQ(layout.BarRect(left));
    if (bar.isNull()) return;
    p.setPen(QPen(QColor(0xB4, 0xB4, 0xB4)));
    p.setBrush(QColor(0xF2, 0xF2, 0xF2));
    p.drawRect(bar);
    const QFont bold = scene.Bold();
    p.setFont(bold);
    p.setPen(Qt::black);
    p.drawText(QRectF(bar.left() + 6, 0, bar.width() - 12, kBarTitle), Qt::AlignVCenter | Qt::AlignLeft,
               title);
    const QFont small = scene.Scaled(0.9);
    // Without detail the system bars show names only.
    const CViewOptions& o = scene.Options();
    const bool detail = layout.Module() || (left ? o.inputCategoryDetail : o.outputCategoryDetail);
    for (const CBarRow& row : layout.BarRows(left)) {
        const CHit& h = row.hit;
        const bool category = h.kind == EHit::InputCategory || h.kind == EHit::OutputCategory;
        const bool selected = !category && scene.IsSelected(h);
        const QRectF r = ToQ(row.rect).adjusted(3, 1, -3, -1);
        p.setPen(selected ? QPen(kSelected, 2) : QPen(QColor(0xC8, 0xC8, 0xC8)));
        p.setBrush(category ? QColor(0xDC, 0xE4, 0xEE) : QColor(Qt::white));
        p.drawRoundedRect(r, 3, 3);
        p.setFont(category ? bold : small);
        p.setPen(Qt::black);
        const QRectF text = r.adjusted(6, 0, -14, 0);
        p.drawText(text, Qt::AlignVCenter | Qt::AlignLeft,
                   p.fontMetrics().elidedText(RowText(h), Qt::ElideRight, 100));
        if (category) {
            p.drawText(text, Qt::AlignVCenter | Qt::AlignRight,
                       IsContracted(layout.Editor(), h) ? QStringLiteral("+") : QStringLiteral("-"));
        } else {
            p.setPen(QColor(0x1E, 0x50, 0x1E));
            if (detail) p.drawText(text, Qt::AlignVCenter | Qt::AlignRight, RowValue(h));
            // The connection point on the inner edge.
            const QPointF dot = left ? QPointF(r.right(), r.center().y()) : QPointF(r.left(), r.center().y());
            p.setPen(kModuleBorder);
            p.setBrush(kPortFill);
            p.drawEllipse(dot, 4, 4);
        }
    }
    p.setFont(scene.font);
}

}  // namespace

void PaintBars(QPainter& p, const CPaintScene& scene) {
    const bool module = scene.layout.Module() != nullptr;
    PaintBar(p, scene, true, module ? QStringLiteral("Module Inputs") : QStringLiteral("System Inputs"));
    PaintBar(p, scene, false, module ? QStringLiteral("Module Outputs") : QStringLiteral("System Outputs"));
}

}  // namespace zor2::gui
