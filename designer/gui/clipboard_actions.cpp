// The view's clipboard actions: the commands of the designer core, with the
// system clipboard and the mouse position handed in as values.
#include "designer/gui/clipboard_actions.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QMimeData>
#include <functional>

#include "designer/commands_clipboard.h"
#include "designer/gui/main_window.h"

namespace zor2::gui {

namespace {

void Publish(const CProjectClipboard& clip) {
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(kItemsMime),
                  QByteArray(reinterpret_cast<const char*>(clip.bytes.data()),
                             static_cast<qsizetype>(clip.bytes.size())));
    QApplication::clipboard()->setMimeData(mime);
}

CProjectClipboard Fetch() {
    CProjectClipboard clip;
    if (const QMimeData* mime = QApplication::clipboard()->mimeData()) {
        const QByteArray data = mime->data(QString::fromLatin1(kItemsMime));
        clip.bytes.assign(data.begin(), data.end());
    }
    return clip;
}

/// Where a paste goes: under the mouse when it is over the view, else the view's centre.
CPoint PastePoint(CDesignView& view) {
    QPoint at = view.viewport()->mapFromGlobal(QCursor::pos());
    if (!view.viewport()->rect().contains(at)) at = view.viewport()->rect().center();
    const QPointF world = view.ToWorld(QPointF(at));
    return {static_cast<int32_t>(world.x()), static_cast<int32_t>(world.y())};
}

}  // namespace

void InstallClipboardActions(CMainWindow& window) {
    CDesignView& view = window.View();
    auto add = [&view, &window](const char* text, const QKeySequence& key, std::function<ECmd()> run) {
        auto* action = new QAction(QObject::tr(text), &view);
        action->setShortcut(key);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        QObject::connect(action, &QAction::triggered, &view, [&window, &view, run] {
            if (run() == ECmd::Done) {
                window.UpdateCommandStates();
                view.Redraw();
            }
        });
        view.addAction(action);
    };
    Czor2Doc& doc = window.Document();
    add("Copy", QKeySequence::Copy, [&doc] {
        CProjectClipboard clip;
        const ECmd r = CopySelection(doc, clip);
        if (r == ECmd::Done) Publish(clip);
        return r;
    });
    add("Cut", QKeySequence::Cut, [&doc] {
        CProjectClipboard clip;
        const ECmd r = CutSelection(doc, clip);
        if (r == ECmd::Done) Publish(clip);
        return r;
    });
    add("Paste", QKeySequence::Paste, [&doc, &view] {
        const CPoint at = PastePoint(view);
        return PasteClipboard(doc, Fetch(), at.x, at.y);
    });
    add("Duplicate", QKeySequence(Qt::CTRL | Qt::Key_D), [&doc] { return DuplicateSelection(doc); });
}

}  // namespace zor2::gui
