// The designer's main window.
#include "designer/gui/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
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
#include <cstring>

#include "designer/commands_align.h"
#include "designer/commands_behaviors.h"
#include "designer/commands_component.h"
#include "designer/commands_module.h"
#include "designer/commands_system.h"
#include "designer/gui/commands_table.h"
#include "designer/gui/dialogs.h"
#include "designer/gui/property_dialogs.h"
#include "realtime/udp_protocol.h"

namespace zor2::gui {
namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
constexpr int kRibbonRows = 3;

/// The numeric value of a command identifier.
int Value(const char* ident) {
    for (const CCommandRow& r : CommandRows())
        if (std::strcmp(r.ident, ident) == 0) return r.value;
    return 0;
}

/// What a selection-driven command needs before it is enabled.
enum class ENeed {
    Module,
    SystemInput,
    SystemOutput,
    InputCategory,
    OutputCategory,
    ModuleInput,
    ModuleOutput,
    Component,
    ComponentInput,
    ComponentOutput,
    Components,
    Behaviors
};

/// Commands that run one document command on the current selection.
struct CSelectionCommand {
    const char* ident;
    ENeed need;
    ECmd (*run)(Czor2Doc&);
};

const CSelectionCommand kSelectionCommands[] = {
    {"ID_BUTTON_DELETEMODULE", ENeed::Module, [](Czor2Doc& d) { return DeleteModule(d); }},
    {"ID_BUTTON_VIEWMODULE", ENeed::Module, [](Czor2Doc& d) { return DesignSelectedModule(d); }},
    {"ID_BUTTON_MODULEEXECUTE", ENeed::Module, [](Czor2Doc& d) { return ExecuteModule(d); }},
    {"ID_BUTTON_MODULE_ADDINPUT", ENeed::Module, [](Czor2Doc& d) { return AddModuleInput(d); }},
    {"ID_BUTTON_MODULE_ADDOUTPUT", ENeed::Module, [](Czor2Doc& d) { return AddModuleOutput(d); }},
    {"ID_BUTTON_MODULE_EXPOSEINPUTS", ENeed::Module, [](Czor2Doc& d) { return ExposeModuleInputs(d); }},
    {"ID_BUTTON_MODULE_EXPOSEOUTPUTS", ENeed::Module, [](Czor2Doc& d) { return ExposeModuleOutputs(d); }},
    {"ID_BUTTON_NETWORK_REMOVE_INCONNECTIONS", ENeed::ModuleInput,
     [](Czor2Doc& d) { return RemoveIncomingConnections(d); }},
    {"ID_BUTTON_NETWORK_DELETE_OUTCONNECTIONS", ENeed::ModuleOutput,
     [](Czor2Doc& d) { return RemoveOutgoingConnections(d); }},
    {"ID_BUTTON_MODULE_DELETEINPUT", ENeed::ModuleInput, [](Czor2Doc& d) { return DeleteModuleInput(d); }},
    {"ID_BUTTON_MODULE_DELETEOUTPUT", ENeed::ModuleOutput, [](Czor2Doc& d) { return DeleteModuleOutput(d); }},
    {"ID_BUTTON_MODULE_DELETESELECTEDINPUTCONNS", ENeed::ModuleInput,
     [](Czor2Doc& d) { return RemoveInternalInputConnections(d); }},
    {"ID_BTN_NETWORK_DELETE_INTERNALINPUTCONNS", ENeed::ModuleInput,
     [](Czor2Doc& d) { return RemoveIncomingConnections(d); }},
    {"ID_BUTTON_MODULE_DELSECTEDOUTPUTCONNS", ENeed::ModuleOutput,
     [](Czor2Doc& d) { return RemoveInternalOutputConnection(d); }},
    {"ID_BTN_NETWORK_DELETE_INTERNALOUTPUTCONNS", ENeed::ModuleOutput,
     [](Czor2Doc& d) { return RemoveOutgoingConnections(d); }},
    {"ID_BUTTON_DELETE_SYSTEMINPUT", ENeed::SystemInput, [](Czor2Doc& d) { return DeleteSystemInput(d); }},
    {"ID_BUTTON_DELETE_SYSTEMOUTPUT", ENeed::SystemOutput, [](Czor2Doc& d) { return DeleteSystemOutput(d); }},
    {"ID_BUTTON_DELETEBEHAVIORS", ENeed::SystemInput, [](Czor2Doc& d) { return DeleteInputBehaviors(d); }},
    {"ID_BUTTON_DELETEALLBEHAVIORS", ENeed::Behaviors, [](Czor2Doc& d) { return DeleteAllBehaviors(d); }},
    {"ID_BUTTON_MODEL_DELETE", ENeed::Component, [](Czor2Doc& d) { return DeleteComponent(d); }},
    {"ID_BUTTON_REMOVE_ALLCONNECTIONS", ENeed::Component,
     [](Czor2Doc& d) { return RemoveAllConnections(d); }},
    {"ID_BUTTON_MODEL_DELETEALLINPUTS", ENeed::Component, [](Czor2Doc& d) { return DeleteAllInputs(d); }},
    {"ID_BUTTON_MODEL_DELETEALLOUTPUTS", ENeed::Component, [](Czor2Doc& d) { return DeleteAllOutputs(d); }},
    {"ID_BUTTON_ADDMODELINPUT", ENeed::Component, [](Czor2Doc& d) { return AddComponentInput(d); }},
    {"ID_BUTTON_ADDMODELOUTPUT", ENeed::Component, [](Czor2Doc& d) { return AddComponentOutput(d); }},
    {"ID_BUTTON_EXPOSEALLINPUTS", ENeed::Component, [](Czor2Doc& d) { return ExposeAllComponentInputs(d); }},
    {"ID_BUTTON_EXPOSEALLMODELOUTPUTS", ENeed::Component,
     [](Czor2Doc& d) { return ExposeAllComponentOutputs(d); }},
    {"ID_BUTTON_REMOVEMODEL_INPUTCONNECTION", ENeed::ComponentInput,
     [](Czor2Doc& d) { return DisconnectComponentInput(d); }},
    {"ID_BUTTON_DELETE_MODELINPUT", ENeed::ComponentInput,
     [](Czor2Doc& d) { return DeleteComponentInput(d); }},
    {"ID_BUTTON_EXPOSEINPUT", ENeed::ComponentInput, [](Czor2Doc& d) { return ExposeComponentInput(d); }},
    {"ID_BUTTON_REMOVEMODEL_OUTPUTCONNECTION", ENeed::ComponentOutput,
     [](Czor2Doc& d) { return DisconnectComponentOutput(d); }},
    {"ID_BUTTON_DELETE_MODELOUTPUT", ENeed::ComponentOutput,
     [](Czor2Doc& d) { return DeleteComponentOutput(d); }},
    {"ID_BUTTON_EXPOSEMODELOUTPUT", ENeed::ComponentOutput,
     [](Czor2Doc& d) { return ExposeComponentOutput(d); }},
    {"ID_BUTTON_SHOWGRAPH", ENeed::ComponentOutput, [](Czor2Doc& d) { return ShowChart(d); }},
    {"ID_BUTTON_SHOWVALUE", ENeed::ComponentOutput, [](Czor2Doc& d) { return ShowValueWindow(d); }},
    {"ID_BUTTON_ALIGNLEFT", ENeed::Components, [](Czor2Doc& d) { return Align(d, EAlign::Left); }},
    {"ID_BUTTON_ALIGNRIGHT", ENeed::Components, [](Czor2Doc& d) { return Align(d, EAlign::Right); }},
    {"ID_BUTTON_ALIGNTOP", ENeed::Components, [](Czor2Doc& d) { return Align(d, EAlign::Top); }},
    {"ID_BUTTON_ALIGNBOTTOM", ENeed::Components, [](Czor2Doc& d) { return Align(d, EAlign::Bottom); }},
    {"ID_BUTTON_ALIGNVERTICAL", ENeed::Components, [](Czor2Doc& d) { return Align(d, EAlign::Vertical); }},
    {"ID_BUTTON_ALIGNHORZ", ENeed::Components, [](Czor2Doc& d) { return Align(d, EAlign::Horizontal); }},
    {"ID_BUTTON_DISTRIBUTEVERT", ENeed::Components, [](Czor2Doc& d) { return DistributeVertically(d); }},
    {"ID_BUTTON_DISTRIBUTEHORZ", ENeed::Components, [](Czor2Doc& d) { return DistributeHorizontally(d); }},
};

}  // namespace

CQtSimTimer::CQtSimTimer(CSimController*& controller) {
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, this, [&controller] {
        if (controller) controller->OnTimerTick();
    });
}

void CQtSimTimer::Start(int32_t periodMs) {
    m_timer.start(periodMs);
}

CMainWindow::CMainWindow(QWidget* parent, std::optional<CUdpConfig> link)
    : QMainWindow(parent), m_prompter(this), m_actions(m_doc) {
    m_doc.SetPrompter(&m_prompter);
    m_doc.SetObserver(this);
    m_doc.SetSavePathChooser(
        [this] { return ChooseSavePath(tr("Save Corvel Project (ZR2)")).toStdString(); });
    m_simOwner = std::make_unique<CSimController>(m_doc.System());
    m_sim = m_simOwner.get();
    m_timer = std::make_unique<CQtSimTimer>(m_sim);
    m_sim->SetTimer(m_timer.get());
    m_sim->SetView(this);
    // The real-time link binds its socket at start; datagrams arrive through
    // the window's event loop.
    m_link = std::make_unique<CUdpLink>(m_doc.System(), link ? *link : ReadUdpConfig("udp.conf"));
    m_link->Attach(m_sim);
    m_linkNotifier = std::make_unique<CUdpLinkNotifier>(*m_link);
    m_doc.SetLink(m_linkNotifier.get());
    if (m_link->Start()) {
        m_linkWatch = std::make_unique<QSocketNotifier>(m_link->ReadFd(), QSocketNotifier::Read);
        connect(m_linkWatch.get(), &QSocketNotifier::activated, this, [this] {
            m_link->OnReadReady();
            Refresh();
        });
    }
    WatchLink();

    CViewHost host;
    host.modeChanged = [this] { Refresh(); };
    host.selectionChanged = [this] { UpdateCommandStates(); };
    host.modelChanged = [this] { Refresh(); };
    host.editObject = [this](const CHit& h) { EditObject(h); };
    host.menuCommand = [this](const CHit& h, const QString& item) { MenuCommand(h, item); };
    host.menuItemAvailable = [this](const CHit& h, const QString& item) {
        return MenuItemAvailable(h, item);
    };
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
    m_linkWatch.reset();
    m_link->Shutdown();
    m_doc.SetLink(nullptr);
    m_doc.SetObserver(nullptr);
    m_sim->SetView(nullptr);
    m_timer->Stop();
}

void CMainWindow::WatchLink() {
    if (m_linkWatch) m_linkWatch->setEnabled(m_link->WantsRead());
}

void CMainWindow::OnChangeRecorded(const std::string&) {
    Refresh();
}

void CMainWindow::OnDocumentReloaded() {
    m_view->DocumentReplaced();
    Refresh();
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
        // A category wider than the window scrolls sideways instead of widening it.
        auto* scroller = new QScrollArea;
        scroller->setWidget(page);
        scroller->setWidgetResizable(true);
        scroller->setFrameShape(QFrame::NoFrame);
        scroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_ribbonPages->addWidget(scroller);
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
                connect(action, &QAction::changed, spin,
                        [spin, action] { spin->setEnabled(action->isEnabled()); });
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
                connect(action, &QAction::changed, combo,
                        [combo, action] { combo->setEnabled(action->isEnabled()); });
                widget = combo;
                break;
            }
            case ECommandKind::Edit: {
                auto* edit = new QLineEdit(panel);
                edit->setPlaceholderText(action->text());
                edit->setMaximumWidth(90);
                connect(action, &QAction::changed, edit,
                        [edit, action] { edit->setEnabled(action->isEnabled()); });
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
    m_ribbonTabs->setExpanding(false);
    m_ribbonTabs->setDrawBase(false);
    m_ribbonPages->setFixedHeight(118);
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
        {kCmdFileNew, "New", QKeySequence::New},
        {kCmdFileOpen, "Open...", QKeySequence::Open},
        {kCmdFileSave, "Save", QKeySequence::Save},
        {kCmdFileSaveAs, "Save As...", QKeySequence::SaveAs},
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
    exit->setData(kCmdAppExit);
    exit->setShortcut(QKeySequence::Quit);
    connect(exit, &QAction::triggered, this, &QWidget::close);
    m_actionsByValue.insert(kCmdAppExit, exit);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    QAction* undo = edit->addAction(tr("Undo"));
    undo->setData(kCmdUndo);
    undo->setShortcut(QKeySequence::Undo);
    connect(undo, &QAction::triggered, this, [this] { RunCommand(kCmdUndo); });
    m_actionsByValue.insert(kCmdUndo, undo);
    QAction* redo = edit->addAction(tr("Redo"));
    redo->setData(kCmdRedo);
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
    } palettes[] = {{kGroupLogic, "Logic"},
                    {kGroupMath, "Math"},
                    {kGroupSignals, "Signals"},
                    {kGroupUtility, "Utility"},
                    {kGroupDecision, "Decision"}};
    for (int i = 0; i < 5; ++i) {
        auto* list = new CPaletteList(palettes[i].group, this);
        list->Fill(m_doc.System());
        auto* dock = new QDockWidget(tr(palettes[i].title), this);
        dock->setObjectName(QStringLiteral("Palette%1").arg(palettes[i].title));
        dock->setWidget(list);
        dock->setMinimumWidth(190);
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
    CViewLook& o = m_view->Options();
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
    auto* box =
        new QMessageBox(QMessageBox::Information, tr("Welcome"),
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
    connect(box, &QMessageBox::finished, this,
            [this, again] { m_settings.WriteInt(kShowWelcome, again->isChecked()); });
    box->open();
}

// --- commands --------------------------------------------------------------

void CMainWindow::RunCommand(int value) {
    CSystem& s = m_doc.System();
    CEditorState& e = m_doc.Editor();
    CNetwork* module = m_view->Module();
    CNetwork* selectedModule = e.CurrentModule(s);
    CNetworkModel* component = module ? e.SelectedComponent(s) : nullptr;
    QAction* action = CommandAction(value);
    const bool checked = action && action->isChecked();
    for (const CSelectionCommand& c : kSelectionCommands) {
        if (Value(c.ident) != value) continue;
        e.ApplyToModel(s);
        c.run(m_doc);
        if (value == Value("ID_BUTTON_VIEWMODULE")) m_view->DocumentReplaced();
        Refresh();
        return;
    }
    switch (value) {
        case kCmdFileNew:
        case kCmdNewProject:
            NewProject();
            break;
        case kCmdFileOpen:
        case kCmdOpen:
            Open();
            break;
        case kCmdFileSave:
        case kCmdSave:
            Save();
            break;
        case kCmdFileSaveAs:
        case kCmdSaveAs:
            SaveAs();
            break;
        case kCmdExit:
        case kCmdAppExit:
            close();
            return;
        case kCmdAppAbout:
            QMessageBox::about(this, tr("About Mindlatch"),
                               tr("ZOR2 designer %1").arg(QApplication::applicationVersion()));
            break;
        case kCmdProjectInfo:
            ShowProjectInfo();
            break;
        case kCmdAppOptions:
            ShowOptions();
            break;
        case kCmdExportRuntime:
            ExportRuntime();
            break;
        case kCmdWelcome:
            ShowWelcome();
            break;
        case kCmdUndo:
            m_doc.UndoChange();
            break;
        case kCmdRedo:
            m_doc.RedoChange();
            break;
        case kCmdAddModule:
            AddModule(m_doc);
            break;
        case kCmdEnableRealtime:
            m_link->ToggleEnabled();
            WatchLink();
            break;
        case kCmdAddInputCategory:
        case kCmdAddOutputCategory: {
            std::string name = kDefaultCategoryName, description;
            if (!EditNameDescription(this, tr("Category"), name, description)) return;
            if (value == kCmdAddInputCategory)
                AddInputCategory(m_doc, name);
            else
                AddOutputCategory(m_doc, name);
            break;
        }
        case kCmdImportInputs:
        case kCmdImportOutputs: {
            const QString path = QFileDialog::getOpenFileName(this, tr("Open CSV file for Import (CSV)"),
                                                              QString(), tr("CSV Files(*.csv)"));
            if (path.isEmpty()) return;
            if (value == kCmdImportInputs)
                ImportSystemInputs(m_doc, path.toStdString());
            else
                ImportSystemOutputs(m_doc, path.toStdString());
            break;
        }
        case kCmdImportModule: {
            const QString path = QFileDialog::getOpenFileName(this, tr("Load Corvel System Module (ZRM)"),
                                                              m_settings.Folder(EFolder::Modules),
                                                              tr("System Module Files(*.zrm)"));
            if (!path.isEmpty()) ImportModule(m_doc, path.toStdString());
            break;
        }
        case kCmdExportModule: {
            if (!selectedModule) return;
            const QString start = m_settings.Folder(EFolder::Modules);
            QDir().mkpath(start);
            QString path = QFileDialog::getSaveFileName(
                this, tr("Save Corvel System Module (ZRM)"),
                QDir(start).filePath(Q(selectedModule->m_name) + ".zrm"), tr("System Module Files(*.zrm)"));
            if (path.isEmpty()) return;
            if (QFileInfo(path).suffix().isEmpty()) path += ".zrm";
            ExportModule(m_doc, path.toStdString());
            break;
        }
        case kCmdEditSystemInput:
            if (CExternalInput* p = e.SelectedSystemInput(s))
                EditObject(CHit{.kind = EHit::SystemInput, .systemInput = p});
            break;
        case kCmdEditSystemOutput:
            if (CExternalOutput* q = e.SelectedSystemOutput(s))
                EditObject(CHit{.kind = EHit::SystemOutput, .systemOutput = q});
            break;
        case kCmdModuleEditInput:
            if (CNetworkInput* in = e.SelectedModuleInput(s))
                EditObject(CHit{.kind = EHit::ModInput, .module = in->m_owner, .moduleInput = in});
            break;
        case kCmdModuleEditOutput:
            if (CNetworkOutput* out = e.SelectedModuleOutput(s))
                EditObject(CHit{.kind = EHit::ModOutput, .module = out->m_owner, .moduleOutput = out});
            break;
        case 32960:  // Edit Input of a component
            if (CModelInput* in = e.SelectedComponentInput(s))
                EditObject(CHit{
                    .kind = EHit::ComponentInput, .module = module, .component = in->m_owner, .input = in});
            break;
        case 32943:  // Edit Output of a component
            if (CModelOutput* out = e.SelectedComponentOutput(s))
                EditObject(CHit{.kind = EHit::ComponentOutput,
                                .module = module,
                                .component = out->m_owner,
                                .output = out});
            break;
        case kCmdModuleProperties:
            if (selectedModule) EditObject(CHit{.kind = EHit::Module, .module = selectedModule});
            break;
        case kCmdModuleShowValues:
            m_view->Options().showModuleValues = checked;
            m_settings.WriteInt(kShowModuleValues, checked ? 1 : 0);
            break;
        case kCmdAddSystemInput: {
            CSystemInputData data;
            if (!EditSystemInputDialog(this, tr("Add System Input"), s, data, {}, {})) return;
            AddSystemInput(m_doc, data);
            break;
        }
        case kCmdAddSystemOutput: {
            CSystemOutputData data;
            if (!EditSystemOutputDialog(this, tr("Add System Output"), s, data)) return;
            AddSystemOutput(m_doc, data);
            break;
        }
        case kCmdSelectAll:
            m_view->SelectAllComponents();
            break;
        case kCmdCenterView:
            m_view->CenterView();
            break;
        case kCmdComponentProperties:
            if (component)
                EditObject(CHit{.kind = EHit::Component, .module = module, .component = component});
            break;
        case kCmdRun:
            m_sim->Run();
            break;
        case kCmdStop:
            m_sim->Stop();
            break;
        case kCmdPause:
            m_sim->Pause();
            break;
        case kCmdRunOnce:
            m_sim->RunOnce();
            break;
        case kCmdRunStep:
            m_sim->RunStep();
            break;
        case kCmdReset:
            m_sim->Reset();
            break;
        case kCmdPreventRender:
            m_sim->m_preventRender = checked;
            break;
        case kCmdEnableBehaviors:
            ToggleBehaviors(m_doc);
            break;
        case kCmdAddBehavior: {
            CExternalInput* input = e.SelectedSystemInput(s);
            if (!input) return;
            CBehaviorData data = NewBehaviorData(s, input->m_id);
            if (!EditBehaviorDialog(this, Q(input->m_name), data)) return;
            AddBehavior(m_doc, data);
            break;
        }
        case kCmdViewBehaviors:
            ShowBehaviors(this, s);
            break;
        case kCmdResetInput:
            ResetInputValue(m_doc);
            break;
        case kCmdPaneSystem:
            m_treeDock->setVisible(checked);
            break;
        case kCmdPaneSimulation:
            m_simDock->setVisible(checked);
            break;
        case kCmdPaneFeedback:
            m_feedbackDock->setVisible(checked);
            break;
        case kCmdStatusBar:
            statusBar()->setVisible(checked);
            break;
        case kCmdPaletteLogic:
            m_paletteDocks[0]->setVisible(checked);
            break;
        case kCmdPaletteMath:
            m_paletteDocks[1]->setVisible(checked);
            break;
        case kCmdPaletteSignals:
            m_paletteDocks[2]->setVisible(checked);
            break;
        case kCmdPaletteUtility:
            m_paletteDocks[3]->setVisible(checked);
            break;
        case kCmdPaletteDecision:
            m_paletteDocks[4]->setVisible(checked);
            break;
        case kCmdClearFeedbackAll:
            s.Feedback().build.Clear();
            s.Feedback().execution.Clear();
            s.Feedback().results.Clear();
            break;
        case kCmdClearFeedbackSystem:
            s.Feedback().build.Clear();
            break;
        case kCmdClearFeedbackExecute:
            s.Feedback().execution.Clear();
            break;
        case kCmdShowGrid:
            m_view->Options().showGrid = !m_view->Options().showGrid;
            m_settings.WriteInt(kShowGrid, m_view->Options().showGrid ? 1 : 0);
            break;
        case kCmdRestoreColours:
            m_view->Options().background = CViewLook{}.background;
            m_view->Options().grid = CViewLook{}.grid;
            break;
        case kCmdShowInputsBar:
        case kCmdShowModuleInputs:
            m_view->Options().showInputsBar = !m_view->Options().showInputsBar;
            break;
        case kCmdShowOutputsBar:
        case kCmdShowModuleOutputs:
            m_view->Options().showOutputsBar = !m_view->Options().showOutputsBar;
            break;
        default:
            return;
    }
    Refresh();
}

void CMainWindow::UpdateCommandStates() {
    CSystem& s = m_doc.System();
    const CEditorState& e = m_doc.Editor();
    CNetwork* module = m_view->Module();
    const bool systemView = module == nullptr;
    CNetworkModel* component = module ? e.SelectedComponent(s) : nullptr;
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
    for (int v : {kCmdFileNew,
                  kCmdFileOpen,
                  kCmdFileSave,
                  kCmdFileSaveAs,
                  kCmdAppExit,
                  kCmdAppAbout,
                  kCmdExit,
                  kCmdNewProject,
                  kCmdOpen,
                  kCmdSave,
                  kCmdSaveAs,
                  kCmdProjectInfo,
                  kCmdAppOptions,
                  kCmdExportRuntime,
                  kCmdWelcome,
                  kCmdRunOnce,
                  kCmdRunStep,
                  kCmdReset,
                  kCmdRate,
                  kCmdPreventRender,
                  kCmdEnableBehaviors,
                  kCmdPaneSystem,
                  kCmdStatusBar,
                  kCmdPaneSimulation,
                  kCmdPaneFeedback,
                  kCmdPaletteLogic,
                  kCmdPaletteMath,
                  kCmdPaletteSignals,
                  kCmdPaletteUtility,
                  kCmdPaletteDecision,
                  kCmdClearFeedbackAll,
                  kCmdClearFeedbackSystem,
                  kCmdClearFeedbackExecute,
                  kCmdGridSpacing,
                  kCmdShowGrid,
                  kCmdRestoreColours,
                  kCmdConnectorType,
                  kCmdShowInputsBar,
                  kCmdShowOutputsBar,
                  kCmdModuleShowValues,
                  kCmdCenterView,
                  kCmdImportModule})
        set(v, true);
    set(kCmdEnableRealtime, m_link->Bound());
    set(kCmdUndo, m_doc.CanUndo() && !active);
    set(kCmdRedo, m_doc.CanRedo() && !active);
    for (int v : {kCmdAddModule, kCmdAddSystemInput, kCmdAddSystemOutput, kCmdAddInputCategory,
                  kCmdAddOutputCategory, kCmdImportInputs, kCmdImportOutputs})
        set(v, systemView);
    CNetwork* current = e.CurrentModule(s);
    set(kCmdModuleProperties, current != nullptr);
    set(kCmdExportModule, current != nullptr);
    set(kCmdEditSystemInput, e.SelectedSystemInput(s) != nullptr);
    set(kCmdEditSystemOutput, e.SelectedSystemOutput(s) != nullptr);
    set(kCmdModuleEditInput, e.SelectedModuleInput(s) != nullptr);
    set(kCmdModuleEditOutput, e.SelectedModuleOutput(s) != nullptr);
    set(Value("ID_BUTTON_EDITMODELINPUT"), module && e.SelectedComponentInput(s));
    set(Value("ID_BUTTON_EDITMODELOUTPUT"), module && e.SelectedComponentOutput(s));
    set(kCmdSelectAll, module != nullptr);
    set(kCmdShowModuleInputs, module != nullptr);
    set(kCmdShowModuleOutputs, module != nullptr);
    set(kCmdComponentProperties, component != nullptr && !active);
    for (const CSelectionCommand& c : kSelectionCommands) {
        bool ok = false;
        switch (c.need) {
            case ENeed::Module:
                ok = current != nullptr;
                break;
            case ENeed::SystemInput:
                ok = e.SelectedSystemInput(s) != nullptr;
                break;
            case ENeed::SystemOutput:
                ok = e.SelectedSystemOutput(s) != nullptr;
                break;
            case ENeed::InputCategory:
                ok = e.m_kind == ESelectionKind::InputCategory;
                break;
            case ENeed::OutputCategory:
                ok = e.m_kind == ESelectionKind::OutputCategory;
                break;
            case ENeed::ModuleInput:
                ok = !e.SelectedModuleInputs(s).empty();
                break;
            case ENeed::ModuleOutput:
                ok = !e.SelectedModuleOutputs(s).empty();
                break;
            case ENeed::Component:
                ok = component != nullptr;
                break;
            case ENeed::ComponentInput:
                ok = module && e.SelectedComponentInput(s);
                break;
            case ENeed::ComponentOutput:
                ok = module && e.SelectedComponentOutput(s);
                break;
            case ENeed::Components:
                ok = systemView ? !e.m_modules.empty() : !e.m_components.empty();
                break;
            case ENeed::Behaviors:
                ok = !s.m_behaviors.m_behaviors.Empty();
                break;
        }
        set(Value(c.ident), ok);
    }
    set(Value("ID_BUTTON_VIEWMODULE"), systemView && current != nullptr);
    set(kCmdRun, m_sim->CanRun());
    set(kCmdStop, m_sim->CanStop());
    set(kCmdPause, m_sim->CanPause());
    set(kCmdResetInput, CanResetInputValue(m_doc));
    set(kCmdAddBehavior, e.SelectedSystemInput(s) != nullptr);
    set(kCmdViewBehaviors, !s.m_behaviors.m_behaviors.Empty());
    check(kCmdEnableRealtime, m_link->Enabled());
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
        static const int values[] = {kCmdPaletteLogic, kCmdPaletteMath, kCmdPaletteSignals,
                                     kCmdPaletteUtility, kCmdPaletteDecision};
        check(values[i], m_paletteDocks[i]->isVisible());
    }
    // Context categories follow the selection.
    for (int i = 0; i < m_ribbonTabs->count(); ++i) {
        const QString& c = m_categories[i];
        if (c == "Modify Selected Component") m_ribbonTabs->setTabVisible(i, component != nullptr);
        if (c == "Modify Neural Network")
            m_ribbonTabs->setTabVisible(i, component && component->m_typeId == 1);
    }
}

// --- simulation ------------------------------------------------------------

void CMainWindow::RedrawViews() {
    m_view->viewport()->update();
}

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

void CMainWindow::SetRate(int rate) {
    m_sim->SetRateText(std::to_string(rate));
}

// --- files -----------------------------------------------------------------

bool CMainWindow::MaySave() {
    return m_doc.SaveModified();
}

QString CMainWindow::ChooseSavePath(const QString& title) {
    const QString start = m_settings.Folder(EFolder::Projects);
    QDir().mkpath(start);
    QString path = QFileDialog::getSaveFileName(this, title, QDir(start).filePath(DocumentTitle() + ".zr2"),
                                                tr("ZR2 Files(*.zr2)"));
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += ".zr2";
    return path;
}

QString CMainWindow::DocumentTitle() const {
    if (!m_doc.Path().empty()) return QFileInfo(Q(m_doc.Path())).completeBaseName();
    return Q(m_doc.System().m_name);
}

void CMainWindow::NewProject() {
    if (m_sim->IsActive()) m_sim->Stop();
    if (!m_doc.NewProject()) return;
    m_view->ShowSystem();
    Refresh();
}

void CMainWindow::Open() {
    if (!MaySave()) return;
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Load Corvel Project (ZR2)"), m_settings.Folder(EFolder::Projects), tr("ZR2 Files(*.zr2)"));
    if (path.isEmpty()) return;
    OpenProject(path);
}

bool CMainWindow::OpenProject(const QString& path, bool fromFramework) {
    if (m_sim->IsActive()) m_sim->Stop();
    const CFileResult r =
        fromFramework ? m_doc.OpenThroughFramework(path.toStdString()) : m_doc.Open(path.toStdString());
    if (!r) {
        // The document has told the user why; nothing else changed.
        Refresh();
        return false;
    }
    m_settings.AddRecentFile(QFileInfo(path).absoluteFilePath());
    UpdateRecentMenu();
    m_view->ShowSystem();
    m_view->CenterView();
    Refresh();
    return true;
}

bool CMainWindow::Save() {
    std::string path;
    if (m_doc.Path().empty()) {
        path = ChooseSavePath(tr("Save Corvel Project (ZR2)")).toStdString();
        if (path.empty()) return false;
    }
    const CFileResult r = m_doc.Save(path);
    if (!r) m_prompter.Tell(tr("Could not save:\n%1").arg(Q(r.message)).toStdString());
    if (r) m_settings.AddRecentFile(QFileInfo(Q(m_doc.Path())).absoluteFilePath());
    UpdateRecentMenu();
    Refresh();
    return static_cast<bool>(r);
}

bool CMainWindow::SaveAs() {
    const QString path = ChooseSavePath(tr("Save Corvel Project (ZR2)"));
    if (path.isEmpty()) return false;
    return SaveProjectTo(path);
}

bool CMainWindow::SaveProjectTo(const QString& path) {
    const CFileResult r = m_doc.SaveAs(path.toStdString());
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
    const QString start = m_settings.Folder(EFolder::Runtime);
    QDir().mkpath(start);
    QString path =
        QFileDialog::getSaveFileName(this, tr("Create Corvel Mindlatch2 Runtime (ZR2R)"),
                                     QDir(start).filePath(DocumentTitle() + ".z2r"), tr("ZR2R Files(*.z2r)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += ".z2r";
    ExportRuntimeTo(path);
}

bool CMainWindow::ExportRuntimeTo(const QString& path, bool showDialog) {
    CRuntimeExportInfo info;
    const CFileResult r = m_doc.ExportRuntime(path.toStdString(), &info);
    if (!r) {
        m_prompter.Tell(
            tr("The runtime file %1 could not be written:\n%2").arg(path, Q(r.message)).toStdString());
        Refresh();
        return false;
    }
    if (showDialog) {
        const QString manifest = QFileInfo(path).dir().filePath(Q(info.manifestFileName));
        CdlgExportSuccess dlg(this, path, manifest, Q(info.projectName));
        dlg.exec();
    }
    Refresh();
    return true;
}

void CMainWindow::ShowProjectInfo() {
    std::string description = m_doc.System().m_description;
    if (ShowSystemProperties(this, m_doc.System(), description)) SetProjectDescription(m_doc, description);
}

void CMainWindow::ShowOptions() {
    EditFolders(this, m_settings);
}

void CMainWindow::UpdateRecentMenu() {
    if (!m_recentMenu) return;
    m_recentMenu->clear();
    int n = 1;
    for (const QString& path : m_settings.RecentFiles()) {
        QAction* a =
            m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(n++).arg(QDir::toNativeSeparators(path)));
        connect(a, &QAction::triggered, this, [this, path] { OpenProject(path, true); });
    }
    m_recentMenu->setEnabled(!m_recentMenu->isEmpty());
}

// --- dialogs from the view -------------------------------------------------

void CMainWindow::EditObject(const CHit& h) {
    CEditorState& e = m_doc.Editor();
    CSystem& s = m_doc.System();
    std::string name, description;
    switch (h.kind) {
        case EHit::Component:
            e.SelectComponents({h.component->m_id});
            EditComponentProperties(this, m_doc, *h.component);
            break;
        case EHit::Module:
            e.ClearSelection();
            e.SelectModules({h.module->m_id});
            name = h.module->m_name;
            description = h.module->m_description;
            if (EditNameDescription(this, tr("Module Properties"), name, description))
                EditModuleProperties(m_doc, name, description);
            break;
        case EHit::ModuleInput:
        case EHit::ModInput:
            e.SelectModuleInput(h.module->m_id, h.moduleInput->m_id);
            name = h.moduleInput->m_name;
            description = h.moduleInput->m_description;
            if (EditNameDescription(this, tr("Module Input"), name, description))
                EditModuleInput(m_doc, name, description);
            break;
        case EHit::ModuleOutput:
        case EHit::ModOutput:
            e.SelectModuleOutput(h.module->m_id, h.moduleOutput->m_id);
            name = h.moduleOutput->m_name;
            description = h.moduleOutput->m_description;
            if (EditNameDescription(this, tr("Module Output"), name, description))
                EditModuleOutput(m_doc, name, description);
            break;
        case EHit::SystemInput: {
            e.SelectSystemInput(h.systemInput->m_id);
            CSystemInputData data = SystemInputData(*h.systemInput);
            const int32_t id = h.systemInput->m_id;
            const QString inputName = Q(h.systemInput->m_name);
            auto addBehavior = [this, id, inputName]() {
                CBehaviorData b = NewBehaviorData(m_doc.System(), id);
                if (EditBehaviorDialog(this, inputName, b)) AddBehaviorTo(m_doc, id, b);
                return InputBehaviorLines(m_doc.System(), id);
            };
            if (EditSystemInputDialog(this, tr("Edit Input"), s, data, InputBehaviorLines(s, id),
                                      addBehavior) &&
                s.FindSystemInput(id)) {
                e.SelectSystemInput(id);
                EditSystemInput(m_doc, data);
            }
            break;
        }
        case EHit::SystemOutput: {
            e.SelectSystemOutput(h.systemOutput->m_id);
            CSystemOutputData data = SystemOutputData(*h.systemOutput);
            if (EditSystemOutputDialog(this, tr("Edit Output"), s, data)) EditSystemOutput(m_doc, data);
            break;
        }
        case EHit::InputCategory: {
            // A double click on a category: a new system input in that category.
            CSystemInputData data;
            data.categoryId = h.inputCategory->m_id;
            if (EditSystemInputDialog(this, tr("Add System Input"), s, data, {}, {}))
                AddSystemInput(m_doc, data);
            break;
        }
        case EHit::OutputCategory: {
            CSystemOutputData data;
            data.categoryId = h.outputCategory->m_id;
            if (EditSystemOutputDialog(this, tr("Add System Output"), s, data)) AddSystemOutput(m_doc, data);
            break;
        }
        case EHit::ComponentInput:
            e.SelectComponentInput(h.component->m_id, h.input->m_id);
            name = h.input->m_name;
            if (EditNameDescription(this, tr("Edit Input"), name, description))
                EditComponentInput(m_doc, name);
            break;
        case EHit::ComponentOutput:
            e.SelectComponentOutput(h.component->m_id, h.output->m_id);
            name = h.output->m_name;
            if (EditNameDescription(this, tr("Edit Output"), name, description))
                EditComponentOutput(m_doc, name);
            break;
        default:
            return;
    }
    e.ApplyToModel(s);
    Refresh();
}

namespace {

/// Context-menu items that run a document command on the object under the
/// cursor (the view has made it the selection). Items inside a submenu are
/// named "submenu/item".
struct CMenuCommand {
    EHit kind;
    const char* item;
    int command;  // a ribbon command run as the ribbon runs it
};

const CMenuCommand kMenuCommands[] = {
    {EHit::Module, "Export Module...", kCmdExportModule},
    {EHit::Module, "Inputs/Add New Input...", kCmdModuleAddInput},
    {EHit::Module, "Inputs/Expose All Externally...", kCmdModuleExposeInputs},
    {EHit::Module, "Outputs/Add New Output...", kCmdModuleAddOutput},
    {EHit::Module, "Outputs/Expose All Externally...", kCmdModuleExposeOutputs},
    {EHit::ModuleInput, "Remove Input Connection", 32985},
    {EHit::ModuleInput, "Remove All Internal Connections", 32969},
    {EHit::ModuleInput, "Delete Module Input", kCmdModuleDeleteInput},
    {EHit::ModInput, "Remove Input Connection", 32985},
    {EHit::ModInput, "Remove All Internal Connections", 32969},
    {EHit::ModInput, "Delete Module Input", kCmdModuleDeleteInput},
    {EHit::ModuleOutput, "Remove Outgoing Connections from Output", 32986},
    {EHit::ModuleOutput, "Remove Internal Connection to Output", 32970},
    {EHit::ModuleOutput, "Delete Output", kCmdModuleDeleteOutput},
    {EHit::ModOutput, "Remove Outgoing Connections from Output", 32986},
    {EHit::ModOutput, "Remove Internal Connection to Output", 32970},
    {EHit::ModOutput, "Delete Output", kCmdModuleDeleteOutput},
    {EHit::InputsBar, "Add Category...", kCmdAddInputCategory},
    {EHit::InputsBar, "Add System Input...", kCmdAddSystemInput},
    {EHit::InputsBar, "Import System Inputs...", kCmdImportInputs},
    {EHit::OutputsBar, "Add Category...", kCmdAddOutputCategory},
    {EHit::OutputsBar, "Add System Output...", kCmdAddSystemOutput},
    {EHit::OutputsBar, "Import System Outputs...", kCmdImportOutputs},
    {EHit::SystemInput, "Add SimBehavior...", kCmdAddBehavior},
    {EHit::SystemInput, "Delete", kCmdDeleteSystemInput},
    {EHit::SystemOutput, "Delete", kCmdDeleteSystemOutput},
    {EHit::Component, "Expose All Outputs to Module Outputs Layer", 33011},
    {EHit::Component, "Expose All Outputs", 33011},
    {EHit::Component, "Delete All Outputs", 32912},
    {EHit::Component, "Delete All Inputs", 32976},
    {EHit::ComponentInput, "Remove Connection", 32974},
    {EHit::ComponentOutput, "Show Graph of Output", 33044},
    {EHit::ComponentOutput, "Show Value Window", 33112},
    {EHit::ComponentOutput, "Expose to Module Outputs Layer", 33010},
    {EHit::ComponentOutput, "Remove All Connections", 32975},
    {EHit::ComponentOutput, "Delete Output", 32947},
};

const CMenuCommand* FindMenuCommand(EHit kind, const QString& item) {
    for (const CMenuCommand& c : kMenuCommands)
        if (c.kind == kind && item == QLatin1String(c.item)) return &c;
    return nullptr;
}

}  // namespace

bool CMainWindow::MenuItemAvailable(const CHit& h, const QString& item) const {
    if (item == "Reset Value") return h.kind == EHit::SystemInput;
    if (item == "Add New Input...") return h.kind == EHit::InputCategory;
    if (item == "Add New Output...") return h.kind == EHit::OutputCategory;
    return FindMenuCommand(h.kind, item) != nullptr;
}

void CMainWindow::MenuCommand(const CHit& h, const QString& item) {
    if (item == "Reset Value" && h.systemInput) {
        m_doc.Editor().SelectSystemInput(h.systemInput->m_id);
        m_doc.Editor().ApplyToModel(m_doc.System());
        m_sim->ResetValueOnly();
    } else if (item == "Add New Input..." || item == "Add New Output...") {
        EditObject(h);  // the category's add dialog
    } else if (const CMenuCommand* c = FindMenuCommand(h.kind, item)) {
        RunCommand(c->command);
        return;
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
    setWindowTitle(QStringLiteral("%1[*]%2 - zor21").arg(DocumentTitle(), where));
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
    OpenProject(urls.front().toLocalFile(), true);
}

}  // namespace zor2::gui
