// The designer's main window.
#include "designer/gui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScrollArea>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "designer/gui/commands_table.h"
#include "designer/gui/dialogs.h"
#include "persistence/runtime_export.h"

namespace zor2::gui {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
constexpr int kRibbonRows = 3;

}  // namespace

CQtSimTimer::CQtSimTimer(CSimController*& controller) {
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, this, [&controller] {
        if (controller) controller->OnTimerTick();
    });
}

void CQtSimTimer::Start(int32_t periodMs) { m_timer.start(periodMs); }

CMainWindow::CMainWindow(QWidget* parent)
    : QMainWindow(parent), m_prompter(this), m_actions(m_doc, m_prompter) {
    m_doc.System().SetPrompter(&m_prompter);
    m_simOwner = std::make_unique<CSimController>(m_doc.System());
    m_sim = m_simOwner.get();
    m_timer = std::make_unique<CQtSimTimer>(m_sim);
    m_sim->SetTimer(m_timer.get());
    m_sim->SetView(this);

    CViewHost host;
    host.modeChanged = [this] { Refresh(); };
    host.selectionChanged = [this] { UpdateCommandStates(); };
    host.modelChanged = [this] { Refresh(); };
    host.editObject = [this](const CHit& h) { EditObject(h); };
    host.menuCommand = [this](const CHit& h, const QString& item) { MenuCommand(h, item); };
    host.menuItemAvailable = [this](const CHit& h, const QString& item) { return MenuItemAvailable(h, item); };
    host.simulationActive = [this] { return m_sim->IsActive(); };
    m_view = new CDesignView(m_actions, host, this);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_ribbonTabs = new QTabBar(central);
    m_ribbonPages = new QStackedWidget(central);
    layout->addWidget(m_ribbonTabs);
    layout->addWidget(m_ribbonPages);
    layout->addWidget(m_view, 1);
    setCentralWidget(central);
    BuildRibbon();
    BuildMenus();
    BuildDocks();
    statusBar()->showMessage(tr("Ready"));
    setAcceptDrops(true);
    resize(1400, 900);
    ApplySettings();
    Refresh();
}

CMainWindow::~CMainWindow() {
    // Docks report their hiding while the base class tears the window down.
    for (QDockWidget* d : findChildren<QDockWidget*>()) disconnect(d, nullptr, this, nullptr);
    m_sim->SetView(nullptr);
    m_timer->Stop();
}

// --- ribbon ----------------------------------------------------------------

void CMainWindow::BuildRibbon() {
    QMap<QString, QWidget*> pages;
    QMap<QString, QGroupBox*> panels;
    QMap<QGroupBox*, int> panelCounts;
    for (const char* category : RibbonCategories()) {
        const QString name = QString::fromLatin1(category);
        if (name == "File") continue;
        auto* page = new QWidget;
        auto* row = new QHBoxLayout(page);
        row->setContentsMargins(4, 2, 4, 2);
        row->addStretch(1);
        pages[name] = page;
        const int index = m_ribbonTabs->addTab(name == "Charts (context)" ? QStringLiteral("Charts") : name);
        m_categories << name;
        m_ribbonPages->addWidget(page);
        if (IsContextCategory(category)) m_ribbonTabs->setTabVisible(index, false);
    }
    for (const CCommandRow& r : CommandRows()) {
        const QString category = QString::fromLatin1(r.category);
        if (category == "File") continue;
        QWidget* page = pages.value(category);
        if (!page) continue;
        const QString key = category + '/' + QString::fromLatin1(r.panel);
        QGroupBox* panel = panels.value(key);
        if (!panel) {
            panel = new QGroupBox(QString::fromLatin1(r.panel), page);
            auto* grid = new QGridLayout(panel);
            grid->setContentsMargins(4, 2, 4, 2);
            grid->setSpacing(2);
            auto* row = static_cast<QHBoxLayout*>(page->layout());
            row->insertWidget(row->count() - 1, panel);
            panels[key] = panel;
        }
        auto* action = new QAction(QString::fromUtf8(r.label), this);
        action->setObjectName(QString::fromLatin1(r.ident));
        action->setData(r.value);
        const char* tip = CommandTip(r.value);
        const char* title = CommandTipTitle(r.value);
        action->setToolTip(tip ? QString::fromUtf8(tip) : QString::fromUtf8(r.label));
        action->setStatusTip(tip ? QString::fromUtf8(tip) : QString::fromUtf8(r.label));
        if (title) action->setWhatsThis(QString::fromUtf8(title));
        if (r.kind == ECommandKind::Check) action->setCheckable(true);
        m_actionsByValue.insert(r.value, action);
        const int value = r.value;
        auto* grid = static_cast<QGridLayout*>(panel->layout());
        const int n = panelCounts[panel]++;
        QWidget* widget = nullptr;
        switch (r.kind) {
            case ECommandKind::Spin: {
                auto* box = new QWidget(panel);
                auto* h = new QHBoxLayout(box);
                h->setContentsMargins(0, 0, 0, 0);
                h->addWidget(new QLabel(action->text(), box));
                auto* spin = new QSpinBox(box);
                spin->setToolTip(action->toolTip());
                h->addWidget(spin);
                if (value == kCmdRate) {
                    spin->setRange(kMinCyclesPerSecond, kMaxCyclesPerSecond);
                    m_rateSpin = spin;
                    connect(spin, &QSpinBox::valueChanged, this, [this](int v) {
                        if (m_sim->Rate() != v) SetRate(v);
                    });
                } else if (value == kCmdGridSpacing) {
                    spin->setRange(4, 128);
                    m_gridSpin = spin;
                    connect(spin, &QSpinBox::valueChanged, this, [this](int v) {
                        m_view->Options().gridWidth = v;
                        m_settings.WriteInt(kGridWidth, v);
                        m_view->viewport()->update();
                    });
                }
                connect(action, &QAction::changed, spin, [spin, action] { spin->setEnabled(action->isEnabled()); });
                widget = box;
                break;
            }
            case ECommandKind::Combo: {
                auto* combo = new QComboBox(panel);
                combo->setToolTip(action->toolTip());
                if (value == kCmdConnectorType) {
                    combo->addItems({tr("Straight Lines"), tr("Right Angles"), tr("Curved Lines")});
                    m_connectorCombo = combo;
                    connect(combo, &QComboBox::currentIndexChanged, this, [this](int i) {
                        if (i < 0) return;
                        m_view->Options().connectorType = i;
                        m_settings.WriteInt(kConnectorType, i);
                        m_view->viewport()->update();
                    });
                }
                connect(action, &QAction::changed, combo, [combo, action] { combo->setEnabled(action->isEnabled()); });
                widget = combo;
                break;
            }
            case ECommandKind::Edit: {
                auto* edit = new QLineEdit(panel);
                edit->setPlaceholderText(action->text());
                edit->setMaximumWidth(90);
                connect(action, &QAction::changed, edit, [edit, action] { edit->setEnabled(action->isEnabled()); });
                widget = edit;
                break;
            }
            default: {
                auto* button = new QToolButton(panel);
                button->setDefaultAction(action);
                button->setToolButtonStyle(Qt::ToolButtonTextOnly);
                button->setAutoRaise(true);
                widget = button;
                connect(action, &QAction::triggered, this, [this, value] { RunCommand(value); });
                break;
            }
        }
        grid->addWidget(widget, n % kRibbonRows, n / kRibbonRows);
    }
    auto wrap = [this](int i) { m_ribbonPages->setCurrentIndex(i); };
    connect(m_ribbonTabs, &QTabBar::currentChanged, this, wrap);
    m_ribbonPages->setFixedHeight(112);
}

QStringList CMainWindow::RibbonTabs() const {
    QStringList tabs;
    for (int i = 0; i < m_ribbonTabs->count(); ++i)
        if (m_ribbonTabs->isTabVisible(i)) tabs << m_ribbonTabs->tabText(i);
    return tabs;
}

QAction* CMainWindow::CommandAction(int value) const {
    const auto list = m_actionsByValue.values(value);
    return list.isEmpty() ? nullptr : list.back();
}

void CMainWindow::BuildMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    struct CItem {
        int value;
        const char* label;
        QKeySequence key;
    } items[] = {
        {kCmdFileNew, "New", QKeySequence::New},     {kCmdFileOpen, "Open...", QKeySequence::Open},
        {kCmdFileSave, "Save", QKeySequence::Save}, {kCmdFileSaveAs, "Save As...", QKeySequence::SaveAs},
    };
    for (const CItem& item : items) {
        QAction* a = file->addAction(tr(item.label));
        a->setShortcut(item.key);
        a->setData(item.value);
        const int value = item.value;
        connect(a, &QAction::triggered, this, [this, value] { RunCommand(value); });
        m_actionsByValue.insert(value, a);
    }
    m_recentMenu = file->addMenu(tr("Recent Files"));
    file->addSeparator();
    QAction* exit = file->addAction(tr("Exit"));
    exit->setShortcut(QKeySequence::Quit);
    connect(exit, &QAction::triggered, this, &QWidget::close);
    m_actionsByValue.insert(kCmdAppExit, exit);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    QAction* undo = edit->addAction(tr("Undo"));
    undo->setShortcut(QKeySequence::Undo);
    connect(undo, &QAction::triggered, this, [this] { RunCommand(kCmdUndo); });
    m_actionsByValue.insert(kCmdUndo, undo);
    QAction* redo = edit->addAction(tr("Redo"));
    redo->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence::Redo});
    connect(redo, &QAction::triggered, this, [this] { RunCommand(kCmdRedo); });
    m_actionsByValue.insert(kCmdRedo, redo);
    QAction* system = edit->addAction(tr("System View"));
    system->setShortcut(Qt::Key_Escape);
    connect(system, &QAction::triggered, this, [this] { m_view->ShowSystem(); });
    QMenu* view = menuBar()->addMenu(tr("&View"));
    QAction* zoomIn = view->addAction(tr("Zoom In"));
    zoomIn->setShortcut(QKeySequence::ZoomIn);
    connect(zoomIn, &QAction::triggered, this, [this] { m_view->SetZoom(m_view->Zoom() * 1.25); });
    QAction* zoomOut = view->addAction(tr("Zoom Out"));
    zoomOut->setShortcut(QKeySequence::ZoomOut);
    connect(zoomOut, &QAction::triggered, this, [this] { m_view->SetZoom(m_view->Zoom() / 1.25); });
    QAction* zoomReset = view->addAction(tr("Actual Size"));
    zoomReset->setShortcut(Qt::CTRL | Qt::Key_0);
    connect(zoomReset, &QAction::triggered, this, [this] { m_view->SetZoom(1.0); });
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    QAction* about = help->addAction(tr("About Mindlatch"));
    connect(about, &QAction::triggered, this, [this] { RunCommand(kCmdAppAbout); });
    UpdateRecentMenu();
}

void CMainWindow::BuildDocks() {
    m_tree = new CStructureTree(this);
    connect(m_tree, &CStructureTree::openModule, this, [this](int id) {
        if (CNetwork* m = m_doc.System().FindModule(id)) m_view->ShowModule(m);
    });
    m_treeDock = new QDockWidget(tr("System Structure"), this);
    m_treeDock->setObjectName("SystemStructure");
    m_treeDock->setWidget(m_tree);
    addDockWidget(Qt::LeftDockWidgetArea, m_treeDock);

    m_simPane = new CSimPane(this);
    m_simDock = new QDockWidget(tr("Simulation Controls"), this);
    m_simDock->setObjectName("SimulationControls");
    m_simDock->setWidget(m_simPane);
    addDockWidget(Qt::LeftDockWidgetArea, m_simDock);

    const struct {
        int group;
        const char* title;
    } palettes[] = {{kGroupLogic, "Logic"}, {kGroupMath, "Math"}, {kGroupSignals, "Signals"},
                    {kGroupUtility, "Utility"}, {kGroupDecision, "Decision"}};
    for (int i = 0; i < 5; ++i) {
        auto* list = new CPaletteList(palettes[i].group, this);
        list->Fill(m_doc.System());
        auto* dock = new QDockWidget(tr(palettes[i].title), this);
        dock->setObjectName(QStringLiteral("Palette%1").arg(palettes[i].title));
        dock->setWidget(list);
        addDockWidget(Qt::RightDockWidgetArea, dock);
        if (i > 0) tabifyDockWidget(m_paletteDocks[0], dock);
        m_paletteDocks[i] = dock;
    }
    m_paletteDocks[0]->raise();

    m_feedback = new CFeedbackPane(this);
    m_feedbackDock = new QDockWidget(tr("Feedback Windows"), this);
    m_feedbackDock->setObjectName("Feedback");
    m_feedbackDock->setWidget(m_feedback);
    addDockWidget(Qt::BottomDockWidgetArea, m_feedbackDock);
    resizeDocks({m_feedbackDock}, {150}, Qt::Vertical);
    resizeDocks({m_treeDock, m_paletteDocks[0]}, {230, 200}, Qt::Horizontal);
    for (QDockWidget* d : findChildren<QDockWidget*>())
        connect(d, &QDockWidget::visibilityChanged, this, [this] { UpdateCommandStates(); });
}

void CMainWindow::ApplySettings() {
    CViewOptions& o = m_view->Options();
    o.connectorType = std::clamp(m_settings.ReadInt(kConnectorType), 0, 2);
    o.gridWidth = std::clamp(m_settings.ReadInt(kGridWidth), 4, 128);
    o.showGrid = m_settings.ReadInt(kShowGrid) != 0;
    o.showModuleValues = m_settings.ReadInt(kShowModuleValues) != 0;
    m_sim->SetRate(m_settings.ReadInt(kCyclesPerSecond));
    if (m_connectorCombo) m_connectorCombo->setCurrentIndex(o.connectorType);
    if (m_gridSpin) m_gridSpin->setValue(o.gridWidth);
    if (m_rateSpin) {
        const QSignalBlocker b(m_rateSpin);
        m_rateSpin->setValue(m_sim->Rate());
    }
}

void CMainWindow::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (m_settingsApplied) return;
    m_settingsApplied = true;
    if (m_settings.ReadInt(kShowWelcome) != 0 && !qEnvironmentVariableIsSet("ZOR2_NO_WELCOME"))
        QTimer::singleShot(0, this, [this] { ShowWelcome(); });
}

void CMainWindow::ShowWelcome() {
    auto* box = new QMessageBox(QMessageBox::Information, tr("Welcome"),
                                tr("Welcome to the ZOR2 designer.\n\n"
                                   "Double click empty space of the system view to add a module, double click a "
                                   "module to design it, drag components from the palettes onto it and connect "
                                   "outputs to inputs by dragging with the right mouse button. Run the system from "
                                   "the Simulation tab."),
                                QMessageBox::Ok, this);
    QCheckBox* again = new QCheckBox(tr("Show this screen at start"), box);
    again->setChecked(m_settings.ReadInt(kShowWelcome) != 0);
    box->setCheckBox(again);
    box->setAttribute(Qt::WA_DeleteOnClose);
    connect(box, &QMessageBox::finished, this, [this, again] { m_settings.WriteInt(kShowWelcome, again->isChecked()); });
    box->open();
}

// --- commands --------------------------------------------------------------

void CMainWindow::RunCommand(int value) {
    CSystem& s = m_doc.System();
    CNetwork* module = m_view->Module();
    CNetwork* selectedModule = module ? module : s.m_selectedModules.Head();
    CNetworkModel* component = module ? module->m_selectedComponents.Head() : nullptr;
    QAction* action = CommandAction(value);
    const bool checked = action && action->isChecked();
    switch (value) {
        case kCmdFileNew:
        case kCmdNewProject: NewProject(); break;
        case kCmdFileOpen:
        case kCmdOpen: Open(); break;
        case kCmdFileSave:
        case kCmdSave: Save(); break;
        case kCmdFileSaveAs:
        case kCmdSaveAs: SaveAs(); break;
        case kCmdExit:
        case kCmdAppExit: close(); return;
        case kCmdAppAbout:
            QMessageBox::about(this, tr("About Mindlatch"),
                               tr("ZOR2 designer %1").arg(QApplication::applicationVersion()));
            break;
        case kCmdProjectInfo: ShowProjectInfo(); break;
        case kCmdAppOptions: ShowOptions(); break;
        case kCmdExportRuntime: ExportRuntime(); break;
        case kCmdWelcome: ShowWelcome(); break;
        case kCmdUndo:
            if (m_doc.Undo()) m_view->DocumentReplaced();
            break;
        case kCmdRedo:
            if (m_doc.Redo()) m_view->DocumentReplaced();
            break;
        case kCmdAddModule: {
            const QPointF c = m_view->ToWorld(QPointF(m_view->viewport()->rect().center()));
            m_actions.AddModule("Network %d", static_cast<int>(c.x()), static_cast<int>(c.y()));
            break;
        }
        case kCmdDesignModule:
            if (selectedModule) m_view->ShowModule(selectedModule);
            break;
        case kCmdDeleteModule:
            if (!module && selectedModule) m_actions.DeleteModule(*selectedModule);
            break;
        case kCmdModuleExecute:
            if (selectedModule) selectedModule->ExecuteModule();
            break;
        case kCmdModuleProperties:
            if (selectedModule) EditObject(CHit{.kind = EHit::Module, .module = selectedModule});
            break;
        case kCmdModuleShowValues:
            m_view->Options().showModuleValues = checked;
            m_settings.WriteInt(kShowModuleValues, checked ? 1 : 0);
            break;
        case kCmdAddSystemInput: m_actions.AddSystemInputFromBar(); break;
        case kCmdAddSystemOutput: m_actions.AddSystemOutputFromBar(); break;
        case kCmdSelectAll: m_view->SelectAllComponents(); break;
        case kCmdCenterView: m_view->CenterView(); break;
        case kCmdComponentProperties:
            if (component) EditObject(CHit{.kind = EHit::Component, .module = module, .component = component});
            break;
        case kCmdDeleteComponent:
            if (component) m_actions.DeleteComponent(*module, *component);
            break;
        case kCmdExposeAllInputs:
            if (component) m_actions.ExposeAllInputs(*component);
            break;
        case kCmdRun: m_sim->Run(); break;
        case kCmdStop: m_sim->Stop(); break;
        case kCmdPause: m_sim->Pause(); break;
        case kCmdRunOnce: m_sim->RunOnce(); break;
        case kCmdRunStep: m_sim->RunStep(); break;
        case kCmdReset: m_sim->Reset(); break;
        case kCmdPreventRender: m_sim->m_preventRender = checked; break;
        case kCmdEnableBehaviors: m_sim->ToggleBehaviors(); break;
        case kCmdResetInput: m_sim->ResetValue(); break;
        case kCmdPaneSystem: m_treeDock->setVisible(checked); break;
        case kCmdPaneSimulation: m_simDock->setVisible(checked); break;
        case kCmdPaneFeedback: m_feedbackDock->setVisible(checked); break;
        case kCmdStatusBar: statusBar()->setVisible(checked); break;
        case kCmdPaletteLogic: m_paletteDocks[0]->setVisible(checked); break;
        case kCmdPaletteMath: m_paletteDocks[1]->setVisible(checked); break;
        case kCmdPaletteSignals: m_paletteDocks[2]->setVisible(checked); break;
        case kCmdPaletteUtility: m_paletteDocks[3]->setVisible(checked); break;
        case kCmdPaletteDecision: m_paletteDocks[4]->setVisible(checked); break;
        case kCmdClearFeedbackAll:
            s.Feedback().build.Clear();
            s.Feedback().execution.Clear();
            s.Feedback().results.Clear();
            break;
        case kCmdClearFeedbackSystem: s.Feedback().build.Clear(); break;
        case kCmdClearFeedbackExecute: s.Feedback().execution.Clear(); break;
        case kCmdShowGrid:
            m_view->Options().showGrid = !m_view->Options().showGrid;
            m_settings.WriteInt(kShowGrid, m_view->Options().showGrid ? 1 : 0);
            break;
        case kCmdRestoreColours:
            m_view->Options().background = CViewOptions{}.background;
            m_view->Options().grid = CViewOptions{}.grid;
            break;
        case kCmdShowInputsBar:
        case kCmdShowModuleInputs: m_view->Options().showInputsBar = !m_view->Options().showInputsBar; break;
        case kCmdShowOutputsBar:
        case kCmdShowModuleOutputs: m_view->Options().showOutputsBar = !m_view->Options().showOutputsBar; break;
        default: return;
    }
    Refresh();
}

void CMainWindow::UpdateCommandStates() {
    CSystem& s = m_doc.System();
    CNetwork* module = m_view->Module();
    const bool systemView = module == nullptr;
    const bool moduleSelected = systemView && !s.m_selectedModules.Empty();
    CNetworkModel* component = module ? module->m_selectedComponents.Head() : nullptr;
    const bool active = m_sim->IsActive();
    auto set = [this](int value, bool enabled) {
        for (QAction* a : m_actionsByValue.values(value)) a->setEnabled(enabled);
    };
    auto check = [this](int value, bool on) {
        for (QAction* a : m_actionsByValue.values(value)) {
            const QSignalBlocker b(a);
            a->setChecked(on);
        }
    };
    // Everything starts disabled; the commands this window carries out are enabled by their conditions.
    for (QAction* a : m_actionsByValue) a->setEnabled(false);
    for (int v : {kCmdFileNew, kCmdFileOpen, kCmdFileSave, kCmdFileSaveAs, kCmdAppExit, kCmdAppAbout, kCmdExit,
                  kCmdNewProject, kCmdOpen, kCmdSave, kCmdSaveAs, kCmdProjectInfo, kCmdAppOptions, kCmdExportRuntime,
                  kCmdWelcome, kCmdRunOnce, kCmdRunStep, kCmdReset, kCmdRate, kCmdPreventRender, kCmdEnableBehaviors,
                  kCmdPaneSystem, kCmdStatusBar, kCmdPaneSimulation, kCmdPaneFeedback, kCmdPaletteLogic,
                  kCmdPaletteMath, kCmdPaletteSignals, kCmdPaletteUtility, kCmdPaletteDecision, kCmdClearFeedbackAll,
                  kCmdClearFeedbackSystem, kCmdClearFeedbackExecute, kCmdGridSpacing, kCmdShowGrid,
                  kCmdRestoreColours, kCmdConnectorType, kCmdShowInputsBar, kCmdShowOutputsBar, kCmdModuleShowValues})
        set(v, true);
    set(kCmdUndo, m_doc.CanUndo() && !active);
    set(kCmdRedo, m_doc.CanRedo() && !active);
    set(kCmdAddModule, systemView);
    set(kCmdAddSystemInput, systemView);
    set(kCmdAddSystemOutput, systemView);
    set(kCmdDesignModule, moduleSelected);
    set(kCmdDeleteModule, moduleSelected);
    set(kCmdModuleExecute, moduleSelected || module);
    set(kCmdModuleProperties, moduleSelected || module);
    set(kCmdSelectAll, module != nullptr);
    set(kCmdCenterView, true);
    set(kCmdShowModuleInputs, module != nullptr);
    set(kCmdShowModuleOutputs, module != nullptr);
    set(kCmdComponentProperties, component != nullptr);
    set(kCmdDeleteComponent, component != nullptr);
    set(kCmdExposeAllInputs, component != nullptr);
    set(kCmdRun, m_sim->CanRun());
    set(kCmdStop, m_sim->CanStop());
    set(kCmdPause, m_sim->CanPause());
    set(kCmdResetInput, m_sim->CanResetValue());
    check(kCmdPreventRender, m_sim->m_preventRender);
    check(kCmdEnableBehaviors, s.m_behaviorsEnabled);
    check(kCmdModuleShowValues, m_view->Options().showModuleValues);
    check(kCmdShowGrid, m_view->Options().showGrid);
    check(kCmdShowInputsBar, m_view->Options().showInputsBar);
    check(kCmdShowOutputsBar, m_view->Options().showOutputsBar);
    check(kCmdShowModuleInputs, m_view->Options().showInputsBar);
    check(kCmdShowModuleOutputs, m_view->Options().showOutputsBar);
    check(kCmdPaneSystem, m_treeDock->isVisible());
    check(kCmdPaneSimulation, m_simDock->isVisible());
    check(kCmdPaneFeedback, m_feedbackDock->isVisible());
    check(kCmdStatusBar, statusBar()->isVisible());
    for (int i = 0; i < 5; ++i) {
        static const int values[] = {kCmdPaletteLogic, kCmdPaletteMath, kCmdPaletteSignals, kCmdPaletteUtility,
                                     kCmdPaletteDecision};
        check(values[i], m_paletteDocks[i]->isVisible());
    }
    // Context categories follow the selection.
    for (int i = 0; i < m_ribbonTabs->count(); ++i) {
        const QString& c = m_categories[i];
        if (c == "Modify Selected Component") m_ribbonTabs->setTabVisible(i, component != nullptr);
        if (c == "Modify Neural Network") m_ribbonTabs->setTabVisible(i, component && component->m_typeId == 1);
    }
}

// --- simulation ------------------------------------------------------------

void CMainWindow::RedrawViews() { m_view->viewport()->update(); }

void CMainWindow::RedrawPane() {
    m_simPane->Refresh(m_doc.System());
    m_feedback->Refresh(m_doc.System().Feedback());
    UpdateCommandStates();
}

void CMainWindow::MarkModified() {
    m_doc.SetModified(true);
    UpdateTitle();
}

void CMainWindow::RateChanged(int32_t rate) {
    m_settings.WriteInt(kCyclesPerSecond, rate);
    if (m_rateSpin && m_rateSpin->value() != rate) {
        const QSignalBlocker b(m_rateSpin);
        m_rateSpin->setValue(rate);
    }
}

void CMainWindow::SetRate(int rate) { m_sim->SetRateText(std::to_string(rate)); }

// --- files -----------------------------------------------------------------

bool CMainWindow::MaySave() {
    if (!m_doc.IsModified()) return true;
    if (m_prompter.m_answerHook) return true;
    const auto answer = QMessageBox::question(
        this, QApplication::applicationName(), tr("Save changes to %1?").arg(m_doc.Title()),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::Save) return Save();
    return true;
}

void CMainWindow::NewProject() {
    if (!MaySave()) return;
    m_sim->Stop();
    m_doc.NewProject();
    m_view->ShowSystem();
    m_view->DocumentReplaced();
}

void CMainWindow::Open() {
    if (!MaySave()) return;
    const QString path = QFileDialog::getOpenFileName(this, tr("Load Corvel Project (ZR2)"),
                                                      m_settings.Folder(EFolder::Projects), tr("ZR2 Files(*.zr2)"));
    if (path.isEmpty()) return;
    OpenProject(path);
}

bool CMainWindow::OpenProject(const QString& path) {
    m_sim->Stop();
    const CFileResult r = m_doc.Open(path);
    if (!r) {
        const QString text = tr("Could not open %1:\n%2").arg(path, Q(r.message));
        m_prompter.Tell(text.toStdString());
        return false;
    }
    m_doc.System().Feedback().build.Add("About to open Corvel Mindlatch2 file: " + path.toStdString() + "\n");
    m_settings.AddRecentFile(QFileInfo(path).absoluteFilePath());
    UpdateRecentMenu();
    m_view->ShowSystem();
    m_view->DocumentReplaced();
    m_view->CenterView();
    Refresh();
    return true;
}

bool CMainWindow::Save() {
    if (m_doc.Path().isEmpty()) return SaveAs();
    return SaveProjectTo(m_doc.Path());
}

bool CMainWindow::SaveAs() {
    QString start = m_settings.Folder(EFolder::Projects);
    QDir().mkpath(start);
    const QString path = QFileDialog::getSaveFileName(this, tr("Save Corvel Project (ZR2)"),
                                                      QDir(start).filePath(m_doc.Title() + ".zr2"),
                                                      tr("ZR2 Files(*.zr2)"));
    if (path.isEmpty()) return false;
    return SaveProjectTo(QFileInfo(path).suffix().isEmpty() ? path + ".zr2" : path);
}

bool CMainWindow::SaveProjectTo(const QString& path) {
    const CFileResult r = m_doc.Save(path);
    if (!r) {
        m_prompter.Tell(tr("Could not save %1:\n%2").arg(path, Q(r.message)).toStdString());
        return false;
    }
    m_settings.AddRecentFile(QFileInfo(path).absoluteFilePath());
    UpdateRecentMenu();
    Refresh();
    return true;
}

void CMainWindow::ExportRuntime() {
    CSystem& s = m_doc.System();
    for (CNetwork* m : s.m_modules) {
        bool csv = false;
        for (CNetworkModel* c : m->m_components) csv = csv || c->m_typeId == 44 || c->m_typeId == 45;
        if (csv) {
            m_prompter.Tell("Your AI System currently utilizes one or more CSV Log Models. NOTE: These models will "
                            "not be exported as they are for in-IDE use only, and not supported in the runtime "
                            "module.");
            break;
        }
    }
    const QString start = m_settings.Folder(EFolder::Runtime);
    QDir().mkpath(start);
    QString path = QFileDialog::getSaveFileName(this, tr("Create Corvel Mindlatch2 Runtime (ZR2R)"),
                                                QDir(start).filePath(m_doc.Title() + ".z2r"), tr("ZR2R Files(*.z2r)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += ".z2r";
    ExportRuntimeTo(path);
}

bool CMainWindow::ExportRuntimeTo(const QString& path, bool showDialog) {
    CSystem& s = m_doc.System();
    const int err = ExportRuntimeFile(s, path.toStdString());
    if (err != 0) {
        m_prompter.Tell(tr("The runtime file %1 could not be written (e: %2).").arg(path).arg(err).toStdString());
        return false;
    }
    const int merr = WriteManifest(s, path.toStdString());
    if (merr != 0) {
        m_prompter.Tell(QString::asprintf("There was an error (e: %d) in trying to create the manifest file.", merr)
                            .toStdString());
    }
    const QString manifest = QFileInfo(path).dir().filePath(Q(ManifestFileName(path.toStdString())));
    if (showDialog) {
        CdlgExportSuccess dlg(this, path, manifest, Q(s.m_name));
        dlg.exec();
    }
    m_doc.SetModified(true);
    Refresh();
    return true;
}

void CMainWindow::ShowProjectInfo() {
    std::string description = m_doc.System().m_description;
    if (ShowSystemProperties(this, m_doc.System(), description)) m_actions.SetProjectDescription(description);
}

void CMainWindow::ShowOptions() { EditFolders(this, m_settings); }

void CMainWindow::UpdateRecentMenu() {
    if (!m_recentMenu) return;
    m_recentMenu->clear();
    int n = 1;
    for (const QString& path : m_settings.RecentFiles()) {
        QAction* a = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(n++).arg(QDir::toNativeSeparators(path)));
        connect(a, &QAction::triggered, this, [this, path] {
            if (MaySave()) OpenProject(path);
        });
    }
    m_recentMenu->setEnabled(!m_recentMenu->isEmpty());
}

// --- dialogs from the view -------------------------------------------------

void CMainWindow::EditObject(const CHit& h) {
    std::string name, description;
    switch (h.kind) {
        case EHit::Component:
            if (m_sim->IsActive()) {
                m_prompter.Tell("Please stop the simulator before modifying component properties via the dialog "
                                "interface.");
                return;
            }
            name = h.component->m_name;
            description = h.component->m_description;
            if (EditNameDescription(this, tr("Component Properties"), name, description))
                m_actions.RenameComponent(*h.component, name, description);
            break;
        case EHit::Module:
            name = h.module->m_name;
            description = h.module->m_description;
            if (EditNameDescription(this, tr("Module Properties"), name, description))
                m_actions.RenameModule(*h.module, name, description);
            break;
        case EHit::ModuleInput:
        case EHit::ModInput:
            name = h.moduleInput->m_name;
            description = h.moduleInput->m_description;
            if (EditNameDescription(this, tr("Module Input"), name, description))
                m_actions.RenameModuleInput(*h.moduleInput, name, description);
            break;
        case EHit::ModuleOutput:
        case EHit::ModOutput:
            name = h.moduleOutput->m_name;
            description = h.moduleOutput->m_description;
            if (EditNameDescription(this, tr("Module Output"), name, description))
                m_actions.RenameModuleOutput(*h.moduleOutput, name, description);
            break;
        case EHit::SystemInput:
            name = h.systemInput->m_name;
            description = h.systemInput->m_description;
            if (EditNameDescription(this, tr("System Input"), name, description))
                m_actions.RenameSystemInput(*h.systemInput, name, description);
            break;
        case EHit::SystemOutput:
            name = h.systemOutput->m_name;
            description = h.systemOutput->m_description;
            if (EditNameDescription(this, tr("System Output"), name, description))
                m_actions.RenameSystemOutput(*h.systemOutput, name, description);
            break;
        case EHit::ComponentInput:
            name = h.input->m_name;
            if (EditNameDescription(this, tr("Edit Input"), name, description))
                m_actions.RenameComponentInput(*h.input, name);
            break;
        case EHit::ComponentOutput:
            name = h.output->m_name;
            if (EditNameDescription(this, tr("Edit Output"), name, description))
                m_actions.RenameComponentOutput(*h.output, name);
            break;
        default: return;
    }
    Refresh();
}

bool CMainWindow::MenuItemAvailable(const CHit& h, const QString& item) const {
    if (item == "Reset Value") return h.kind == EHit::SystemInput;
    if (item == "Add System Input..." || item == "Add New Input...") return h.kind != EHit::Module;
    if (item == "Add System Output..." || item == "Add New Output...") return h.kind != EHit::Module;
    if (item == "Export Module...") return false;
    return false;
}

void CMainWindow::MenuCommand(const CHit& h, const QString& item) {
    if (item == "Reset Value" && h.systemInput) {
        m_doc.System().m_selectedInputs.Clear();
        m_doc.System().m_selectedInputs.Append(h.systemInput);
        m_sim->ResetValueOnly();
    } else if (item == "Add System Input..." || item == "Add New Input...") {
        m_actions.AddSystemInputFromBar();
    } else if (item == "Add System Output..." || item == "Add New Output...") {
        m_actions.AddSystemOutputFromBar();
    }
    Refresh();
}

// --- window ----------------------------------------------------------------

void CMainWindow::Refresh() {
    m_tree->Rebuild(m_doc.System());
    m_simPane->Refresh(m_doc.System());
    m_feedback->Refresh(m_doc.System().Feedback());
    m_view->viewport()->update();
    UpdateTitle();
    UpdateCommandStates();
}

void CMainWindow::UpdateTitle() {
    QString where;
    if (CNetwork* m = m_view->Module()) where = QStringLiteral(" — ") + Q(m->m_name);
    setWindowTitle(QStringLiteral("%1[*]%2 - zor21").arg(m_doc.Title(), where));
    setWindowModified(m_doc.IsModified());
}

void CMainWindow::closeEvent(QCloseEvent* e) {
    if (!MaySave()) {
        e->ignore();
        return;
    }
    m_sim->Stop();
    e->accept();
}

void CMainWindow::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void CMainWindow::dropEvent(QDropEvent* e) {
    const auto urls = e->mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile()) return;
    if (MaySave()) OpenProject(urls.front().toLocalFile());
}

}  // namespace zor2::gui
