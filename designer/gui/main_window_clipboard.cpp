// The window's side of Copy, Cut, Paste and Duplicate: copied components and
// modules go through the system clipboard as project-file records, so that a
// paste into another running designer reads the same bytes.
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QMimeData>

#include "designer/gui/main_window.h"

namespace zor2::gui {
namespace {

/// The MIME type of copied components and modules.
constexpr char kItemsMime[] = "application/x-zor2-items";

}  // namespace

void CMainWindow::PutOnClipboard(const std::vector<uint8_t>& bytes) {
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kItemsMime), QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                                              static_cast<qsizetype>(bytes.size())));
    QApplication::clipboard()->setMimeData(mime);
}

std::vector<uint8_t> CMainWindow::ClipboardBytes() const {
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    if (!mime) return {};
    const QByteArray data = mime->data(QString::fromLatin1(kItemsMime));
    return {data.begin(), data.end()};
}

bool CMainWindow::ClipboardHoldsItems() const {
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    return mime && mime->hasFormat(QString::fromLatin1(kItemsMime));
}

/// Under the mouse when it is over the view, else the view's centre.
bool CMainWindow::PastePoint(int32_t& x, int32_t& y) const {
    QPoint at = m_view->viewport()->mapFromGlobal(QCursor::pos());
    if (!m_view->viewport()->rect().contains(at)) at = m_view->viewport()->rect().center();
    const QPointF world = m_view->ToWorld(QPointF(at));
    x = static_cast<int32_t>(world.x());
    y = static_cast<int32_t>(world.y());
    return true;
}

}  // namespace zor2::gui
