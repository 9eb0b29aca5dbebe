// The view drawn onto a printer page.
#include "designer/gui/printing.h"

#include <QPainter>
#include <QPrinter>
#include <algorithm>

#include "designer/gui/design_view.h"

namespace zor2::gui {

bool PrintView(CDesignView& view, QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    // The whole content of the mode, fitted to the viewport for the page, then the view as it was.
    const double zoom = view.Zoom();
    const QPointF scroll = view.Scroll();
    view.FitContent(true);
    QWidget* vp = view.viewport();
    const QRectF page =
        printer.pageLayout()
            .paintRectPixels(printer.resolution())
            .translated(-printer.pageLayout().paintRectPixels(printer.resolution()).topLeft());
    const QSizeF size(std::max(1, vp->width()), std::max(1, vp->height()));
    const double k = std::min(page.width() / size.width(), page.height() / size.height());
    painter.translate((page.width() - size.width() * k) / 2, (page.height() - size.height() * k) / 2);
    painter.scale(k, k);
    // The viewport paints itself, so the page shows the current mode with its options.
    vp->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
    view.SetPlace(zoom, scroll);
    return painter.end();
}

}  // namespace zor2::gui
