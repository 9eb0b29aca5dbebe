// The ribbon and the menu bar built from the command rows (one widget factory
// per kind of place), the dispatch of commands by id and the refresh of their
// enabled and checked states and of the ribbon's fields.
#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QFontComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QSpinBox>
#include <QStatusBar>
#include <QToolButton>
#include <algorithm>
#include <functional>

#include "designer/commands_window.h"
#include "designer/gui/main_window.h"

namespace zor2::gui {
namespace {

QList<QKeySequence> Keys(EShortcut key) {
    switch (key) {
        case EShortcut::New:
            return {QKeySequence::New};
        case EShortcut::Open:
            return {QKeySequence::Open};
        case EShortcut::Save:
            return {QKeySequence::Save};
        case EShortcut::SaveAs:
            return {QKeySequence::SaveAs};
        case EShortcut::Print:
            return {QKeySequence::Print};
        case EShortcut::Quit:
            return {QKeySequence::Quit};
        case EShortcut::Undo:
            return {QKeySequence::Undo};
        case EShortcut::Redo:
            return {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence::Redo};
        case EShortcut::Cut:
            return {QKeySequence::Cut};
        case EShortcut::Copy:
            return {QKeySequence::Copy};
        case EShortcut::Paste:
            return {QKeySequence::Paste};
        case EShortcut::Duplicate:
            return {QKeySequence(Qt::CTRL | Qt::Key_D)};
        case EShortcut::None:
            break;
    }
    return {};
}

/// Shows a field's value in one of its widgets.
void ShowValue(QWidget* w, const CCommandValue& v) {
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(QString::fromStdString(v.text));
    } else if (auto* fonts = qobject_cast<QFontComboBox*>(w)) {
        fonts->setCurrentFont(QFont(QString::fromStdString(v.text)));
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        combo->setCurrentIndex(v.number);
    } else if (auto* spin = w->findChild<QSpinBox*>()) {
        spin->setValue(v.number);
    }
}

/// A spin box that takes a number typed beyond its range and sets it to the
/// nearest end (a plain one would drop the digit that goes too far: 25 read as 2).
class CClampingSpin : public QSpinBox {
  public:
    CClampingSpin(QWidget* parent, std::function<void(int typed, int set)> clamped)
        : QSpinBox(parent), m_clamped(std::move(clamped)) {
        setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    }

  protected:
    QValidator::State validate(QString& text, int& pos) const override {
        bool ok = false;
        const int v = text.trimmed().toInt(&ok);
        if (ok && (v < minimum() || v > maximum())) return QValidator::Intermediate;
        return QSpinBox::validate(text, pos);
    }
    void fixup(QString& text) const override {
        bool ok = false;
        const int v = text.trimmed().toInt(&ok);
        if (!ok || (v >= minimum() && v <= maximum())) return QSpinBox::fixup(text);
        const int set = std::clamp(v, minimum(), maximum());
        text = QString::number(set);
        if (m_clamped) m_clamped(v, set);
    }

  private:
    std::function<void(int, int)> m_clamped;
};

}  // namespace

// --- dispatch ------------------------------------------------------------------

CCommandContext CMainWindow::Context() {
    return {m_doc, *this, m_sim, m_link.get(), &m_view->GraphicClipboard()};
}

void CMainWindow::RunCommand(int id) {
    CCommandContext ctx = Context();
    m_doc.Editor().ApplyToModel(m_doc.System());
    zor2::RunCommand(ctx, id);
    AfterCommand();
}

bool CMainWindow::CommandEnabled(int id) {
    const CCommand* c = FindCommand(id);
    return c && IsEnabled(*c, Context());
}

void CMainWindow::ApplyFieldValue(int id, const CCommandValue& value) {
    if (m_filling) return;
    CCommandContext ctx = Context();
    m_doc.Editor().ApplyToModel(m_doc.System());
    ApplyField(ctx, id, value);
    AfterCommand();
}

void CMainWindow::EditHit(const CHit& hit) {
    CCommandContext ctx = Context();
    EditObject(ctx, hit);
    AfterCommand();
}

void CMainWindow::RunMenuAction(const CHit& hit, const CMenuAction& action) {
    CCommandContext ctx = Context();
    m_doc.Editor().ApplyToModel(m_doc.System());
    zor2::RunMenuAction(ctx, hit, action);
    AfterCommand();
}

void CMainWindow::AfterCommand() {
    m_doc.Editor().ApplyToModel(m_doc.System());
    m_refillFields = true;
    WatchLink();
    Refresh();
}

// --- the ribbon ------------------------------------------------------------------

QAction* CMainWindow::MakeAction(int id, const QString& label, const QString& ident, bool check) {
    auto* action = new QAction(label, this);
    action->setObjectName(ident);
    action->setData(id);
    const char* tip = CommandTip(id);
    const char* title = CommandTipTitle(id);
    // The tip names the command first, then says what it does (the status bar's prompt).
    const QString heading = title ? QString::fromUtf8(title) : label;
    action->setToolTip(tip ? heading + '\n' + QString::fromUtf8(tip) : heading);
    action->setStatusTip(tip ? QString::fromUtf8(tip) : label);
    if (title) action->setWhatsThis(QString::fromUtf8(title));
    action->setIcon(CommandIcon(ident.toLatin1().constData(), label));
    const CCommand* command = FindCommand(id);
    if (!command) action->setEnabled(false);
    if (check || (command && command->checked)) action->setCheckable(true);
    m_actionsById.insert(id, action);
    return action;
}

QToolButton* CMainWindow::MakeButton(QAction* action, QWidget* panel) {
    auto* button = new QToolButton(panel);
    button->setDefaultAction(action);
    button->setAutoRaise(true);
    const int id = action->data().toInt();
    connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    return button;
}

QWidget* CMainWindow::MakeSpin(const CFieldCommand* field, QAction* action, QWidget* panel) {
    auto* box = new QWidget(panel);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(action->text(), box));
    QString name = action->text();
    if (name.endsWith(':')) name.chop(1);
    const int low = field ? field->minimum : 0, high = field ? field->maximum : 99;
    // Said where the eye is: the status bar, for a while.
    auto* spin = new CClampingSpin(box, [this, name, low, high](int typed, int set) {
        statusBar()->showMessage(tr("%1 takes %2 to %3: %4 was set to %5")
                                     .arg(name.trimmed())
                                     .arg(low)
                                     .arg(high)
                                     .arg(typed)
                                     .arg(set),
                                 8000);
    });
    spin->setToolTip(action->toolTip());
    row->addWidget(spin);
    if (field) {
        spin->setRange(field->minimum, field->maximum);
        const int id = field->id;
        connect(spin, &QSpinBox::valueChanged, this,
                [this, id](int v) { ApplyFieldValue(id, {.number = v, .text = {}}); });
    }
    if (field && field->id == kCmdRate) m_rateSpin = spin;
    return box;
}

QWidget* CMainWindow::MakeCombo(const CFieldCommand* field, QAction* action, QWidget* panel) {
    const int id = action->data().toInt();
    QComboBox* combo = nullptr;
    if (field && field->items.empty()) {
        // A font box: the family chosen is the value.
        auto* fonts = new QFontComboBox(panel);
        fonts->setMaximumWidth(150);
        connect(fonts, &QComboBox::textActivated, this, [this, id](const QString& family) {
            if (!family.isEmpty()) ApplyFieldValue(id, {.text = family.toStdString()});
        });
        combo = fonts;
    } else {
        combo = new QComboBox(panel);
        if (field)
            for (const char* item : field->items) combo->addItem(tr(item));
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this, id](int i) { ApplyFieldValue(id, {.number = i, .text = {}}); });
    }
    combo->setToolTip(action->toolTip());
    return combo;
}

QWidget* CMainWindow::MakeEdit(const CFieldCommand* field, QAction* action, QWidget* panel) {
    auto* edit = new QLineEdit(panel);
    edit->setPlaceholderText(action->text());
    edit->setMaximumWidth(90);
    edit->setToolTip(action->toolTip());
    const int id = action->data().toInt();
    // The same field in another panel shows the same text.
    connect(edit, &QLineEdit::textEdited, this, [this, id, edit](const QString& text) {
        for (QWidget* w : m_fields.values(id))
            if (auto* other = qobject_cast<QLineEdit*>(w); other && other != edit) other->setText(text);
    });
    if (field && field->apply)
        connect(edit, &QLineEdit::returnPressed, this,
                [this, id, edit] { ApplyFieldValue(id, {.text = edit->text().toStdString()}); });
    return edit;
}

void CMainWindow::BuildRibbon() {
    QMap<QString, int> pages;
    for (const CRibbonCategory& category : RibbonCategories()) {
        pages[QString::fromLatin1(category.name)] =
            m_ribbon->AddCategory(QString::fromLatin1(category.tab), category.shown != nullptr);
        m_categories.push_back(&category);
    }
    for (const CRibbonRow& r : RibbonRows()) {
        const auto page = pages.find(QString::fromLatin1(r.category));
        if (page == pages.end()) continue;  // the menu bar's
        CRibbonPanel* panel = m_ribbon->Panel(*page, QString::fromLatin1(r.panel));
        QAction* action = MakeAction(r.id, QString::fromUtf8(r.label), QString::fromLatin1(r.ident),
                                     r.kind == ECommandKind::Check);
        const CFieldCommand* field = FindFieldCommand(r.id);
        QWidget* widget = nullptr;
        switch (r.kind) {
            case ECommandKind::Button:
            case ECommandKind::Check:
                widget = MakeButton(action, panel);
                break;
            case ECommandKind::Spin:
                widget = MakeSpin(field, action, panel);
                break;
            case ECommandKind::Combo:
                widget = MakeCombo(field, action, panel);
                break;
            case ECommandKind::Edit:
                widget = MakeEdit(field, action, panel);
                break;
        }
        const bool button = r.kind == ECommandKind::Button || r.kind == ECommandKind::Check;
        if (!button) {
            // A field is usable exactly when its command is enabled.
            m_fields.insert(r.id, widget);
            connect(action, &QAction::changed, widget,
                    [widget, action] { widget->setEnabled(action->isEnabled()); });
        }
        widget->setObjectName(QString::fromLatin1(r.ident));
        panel->AddItem(widget, button);
    }
}

void CMainWindow::BuildMenus() {
    QMap<QString, QMenu*> menus;
    for (const char* name : {"File", "Edit", "View", "Help"})
        menus[name] = menuBar()->addMenu(tr("&%1").arg(QString::fromLatin1(name)));
    for (const CMenuBarItem& item : MenuBarItems()) {
        QMenu* menu = menus.value(QString::fromLatin1(item.menu));
        if (item.id == 0) {
            menu->addSeparator();
        } else if (item.id == kMenuRecentFiles) {
            m_recentMenu = menu->addMenu(tr("Recent Files"));
        } else {
            const CCommand* command = FindCommand(item.id);
            QAction* a =
                MakeAction(item.id, tr(CommandLabel(item.id)), QString::fromLatin1(command->ident), false);
            a->setShortcuts(Keys(item.key));
            menu->addAction(a);
            const int id = item.id;
            connect(a, &QAction::triggered, this, [this, id] { RunCommand(id); });
        }
    }
    // The view's own actions, which are no designer commands.
    QAction* system = menus["Edit"]->addAction(tr("System View"));
    system->setShortcut(Qt::Key_Escape);
    connect(system, &QAction::triggered, this, [this] { m_view->ShowSystem(); });
    QMenu* view = menus["View"];
    QAction* zoomIn = view->addAction(tr("Zoom In"));
    zoomIn->setShortcut(QKeySequence::ZoomIn);
    connect(zoomIn, &QAction::triggered, this, [this] { m_view->SetZoom(m_view->Zoom() * 1.25); });
    QAction* zoomOut = view->addAction(tr("Zoom Out"));
    zoomOut->setShortcut(QKeySequence::ZoomOut);
    connect(zoomOut, &QAction::triggered, this, [this] { m_view->SetZoom(m_view->Zoom() / 1.25); });
    QAction* zoomReset = view->addAction(tr("Actual Size"));
    zoomReset->setShortcut(Qt::CTRL | Qt::Key_0);
    connect(zoomReset, &QAction::triggered, this, [this] { m_view->SetZoom(1.0); });
    UpdateRecentMenu();
}

QStringList CMainWindow::RibbonTabs() const {
    return m_ribbon->ShownTabs();
}

QAction* CMainWindow::CommandAction(int id) const {
    const auto list = m_actionsById.values(id);
    return list.isEmpty() ? nullptr : list.back();
}

// --- states ------------------------------------------------------------------------

void CMainWindow::UpdateCommandStates() {
    const CCommandContext ctx = Context();
    const CNeeds needs = EvaluateNeeds(ctx);
    for (const CCommand& c : Commands()) {
        const auto actions = m_actionsById.values(c.id);
        if (actions.isEmpty()) continue;
        const bool enabled = IsEnabled(c, ctx, needs);
        const bool checked = IsChecked(c, ctx);
        for (QAction* a : actions) {
            a->setEnabled(enabled);
            const QSignalBlocker block(a);
            a->setChecked(checked);
        }
    }
    if (m_miniDock && m_miniDock->isVisible() != m_view->Options().showMiniview && isVisible())
        m_miniDock->setVisible(m_view->Options().showMiniview);
    FillFields();
    // Context categories follow the selection.
    std::vector<bool> shown(m_categories.size());
    for (size_t i = 0; i < m_categories.size(); ++i)
        shown[i] = !m_categories[i]->shown || m_categories[i]->shown(ctx);
    m_ribbon->SetShown(shown);
}

void CMainWindow::FillFields() {
    // The fields keep what is typed into them until the selection or the model changes.
    const CGraphic* g = FirstSelectedGraphic(m_doc);
    const CChart* c = FirstSelectedChart(m_doc);
    const CValueWindow* v = FirstSelectedValueWindow(m_doc);
    const std::array<int32_t, 3> key{g ? g->m_id : 0, c ? c->m_id : 0, v ? v->m_id : 0};
    if (!m_refillFields && key == m_filledFor) return;
    m_refillFields = false;
    m_filledFor = key;
    m_filling = true;
    const CCommandContext ctx = Context();
    for (const CFieldCommand& f : FieldCommands()) {
        CCommandValue value;
        if (!f.shown || !f.shown(ctx, value)) continue;
        for (QWidget* w : m_fields.values(f.id)) ShowValue(w, value);
    }
    m_filling = false;
}

}  // namespace zor2::gui
