// The context menus of the main view, built from the core's item lists; each
// item runs its row (a command or an action on the object) through the window.
#include <QMenu>
#include <array>

#include "designer/gui/design_view.h"

namespace zor2::gui {
namespace {

QStringList ToQ(const std::vector<std::string>& items) {
    QStringList out;
    out.reserve(static_cast<qsizetype>(items.size()));
    for (const std::string& item : items) out << QString::fromStdString(item);
    return out;
}

}  // namespace

QStringList CDesignView::ContextMenuItems(const CHit& hit) {
    return ToQ(zor2::ContextMenuItems(ContextMenuOf(hit)));
}

const QStringList& CDesignView::ComponentMenuItems(EComponentMenu menu) {
    static const std::array<QStringList, 4> lists = [] {
        std::array<QStringList, 4> out;
        for (size_t i = 0; i < out.size(); ++i)
            out[i] = ToQ(zor2::ContextMenuItems(ComponentContextMenu(static_cast<EComponentMenu>(i))));
        return out;
    }();
    return lists.at(static_cast<size_t>(menu));
}

QMenu* CDesignView::BuildContextMenu(const CHit& hit, QWidget* parent) {
    const EContextMenu kind = ContextMenuOf(hit);
    if (kind == EContextMenu::None) return nullptr;
    auto* root = new QMenu(parent);
    QMenu* menu = root;
    QString prefix;  // "submenu/" inside a submenu, so equal items stay apart
    for (const std::string& entry : zor2::ContextMenuItems(kind)) {
        const QString item = QString::fromStdString(entry);
        if (item == "-") {
            menu->addSeparator();
        } else if (item.startsWith('>')) {
            menu = root->addMenu(item.mid(1));
            prefix = item.mid(1) + '/';
        } else if (item == "<") {
            menu = root;
            prefix.clear();
        } else {
            QAction* a = menu->addAction(item);
            // An item without a row does nothing yet and shows disabled.
            const CMenuAction* row = FindMenuAction(hit.kind, (prefix + item).toStdString());
            a->setEnabled(row && (!m_host.menuActionAvailable || m_host.menuActionAvailable(*row)));
            if (row) connect(a, &QAction::triggered, this, [this, hit, row] { RunMenuAction(hit, *row); });
        }
    }
    return root;
}

void CDesignView::RunMenuItem(const CHit& hit, const QString& item) {
    if (const CMenuAction* row = FindMenuAction(hit.kind, item.toStdString())) RunMenuAction(hit, *row);
}

void CDesignView::RunMenuAction(const CHit& hit, const CMenuAction& action) {
    // The item acts on the object under the cursor (a selected group stays selected).
    SelectHit(hit, false);
    if (m_host.runMenuAction) m_host.runMenuAction(hit, action);
    Changed();
}

}  // namespace zor2::gui
