// The designer's window frame: the view between the ribbon and the docking
// panes, the simulation and real-time link services, the settings and the title.
#include "designer/gui/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileInfo>
#include <QLayout>
#include <QMessageBox>
#include <QMimeData>
#include <QPrinter>
#include <QStatusBar>
#include <QToolBar>

#include "components/decision/neural_network.h"
#include "designer/commands_neural.h"
#include "designer/commands_window.h"
#include "engine/catalogue.h"

namespace zor2::gui {

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
    m_doc.SetSavePathChooser([this] { return ChooseSavePath(EPathKind::Project, DocumentName(m_doc)); });
    m_simOwner = std::make_unique<CSimController>(m_doc.System());
    m_sim = m_simOwner.get();
    m_timer = std::make_unique<CQtSimTimer>(m_sim);
    m_sim->SetTimer(m_timer.get());
    m_sim->SetView(this);
    m_sounds = std::make_unique<CQtSoundPlayer>();
    m_sim->SetSounds(m_sounds.get());
    // Nothing simulates while a neural network learns, whoever asks (the peer too).
    m_sim->m_hold = [this] { return m_doc.Learning().Running(); };
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
    m_autosave = std::make_unique<CAutosave>(m_doc, m_clock, m_userFolder);
    connect(&m_autosaveTimer, &QTimer::timeout, this, [this] { m_autosave->Tick(); });
    m_autosaveTimer.start(30 * 1000);

    CViewHost host;
    host.modeChanged = [this] { Refresh(); };
    host.selectionChanged = [this] {
        UpdateCommandStates();
        // The sequence pane edits the selected Pattern Sequencer.
        if (m_sequencePane) m_sequencePane->Refresh();
    };
    host.modelChanged = [this] { Refresh(); };
    host.editObject = [this](const CHit& h) { EditHit(h); };
    host.runMenuAction = [this](const CHit& h, const CMenuAction& a) { RunMenuAction(h, a); };
    host.menuActionAvailable = [this](const CMenuAction& a) { return MenuActionAvailable(a, Context()); };
    host.simulationActive = [this] { return m_sim->IsActive(); };
    m_view = new CDesignView(m_actions, host, this);

    setCentralWidget(m_view);
    // The ribbon sits in the top tool bar area, which spans the window above the side panes.
    m_ribbon = new CRibbon(this);
    auto* ribbonBar = new QToolBar(tr("Ribbon"), this);
    ribbonBar->setObjectName("Ribbon");
    ribbonBar->setMovable(false);
    ribbonBar->setFloatable(false);
    ribbonBar->toggleViewAction()->setVisible(false);
    ribbonBar->layout()->setContentsMargins(0, 0, 0, 0);
    ribbonBar->addWidget(m_ribbon);
    addToolBar(Qt::TopToolBarArea, ribbonBar);
    BuildRibbon();
    BuildMenus();
    BuildDocks();
    BuildNeuralPane();
    statusBar()->showMessage(tr("Ready"));
    setAcceptDrops(true);
    // Paste follows what any program, another designer too, puts on the clipboard.
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this, [this] { UpdateCommandStates(); });
    resize(1400, 900);
    ApplySettings();
    Refresh();
}

CMainWindow::~CMainWindow() {
    m_learningTimer.stop();
    m_doc.Learning().Stop();
    // Docks report their hiding while the base class tears the window down.
    for (QDockWidget* d : findChildren<QDockWidget*>()) disconnect(d, nullptr, this, nullptr);
    m_linkWatch.reset();
    m_link->Shutdown();
    m_doc.SetLink(nullptr);
    m_doc.SetObserver(nullptr);
    m_sim->SetView(nullptr);
    m_timer->Stop();
    // Every sound stops with the window; the player goes before the document.
    m_sounds->CloseAll();
    m_sim->SetSounds(nullptr);
}

void CMainWindow::WatchLink() {
    if (m_linkWatch) m_linkWatch->setEnabled(m_link->WantsRead());
}

void CMainWindow::OnChangeRecorded(const std::string&) {
    Refresh();
}

void CMainWindow::OnDocumentReloaded() {
    m_refillFields = true;  // the same ids may now carry other values
    m_view->DocumentReplaced();
    Refresh();
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

    m_palette = new CPalette(this);
    m_palette->Fill(m_doc.System());
    m_paletteDock = new QDockWidget(tr("Components"), this);
    m_paletteDock->setObjectName("Palette");
    m_paletteDock->setWidget(m_palette);
    m_paletteDock->setMinimumWidth(190);
    addDockWidget(Qt::RightDockWidgetArea, m_paletteDock);

    m_miniview = new CMiniview(*m_view, this);
    m_miniDock = new QDockWidget(tr("Miniview"), this);
    m_miniDock->setObjectName("Miniview");
    m_miniDock->setWidget(m_miniview);
    addDockWidget(Qt::LeftDockWidgetArea, m_miniDock);
    connect(m_view, &CDesignView::viewChanged, m_miniview, qOverload<>(&QWidget::update));
    // Closing the dock is the same as switching the miniview off.
    connect(m_miniDock, &QDockWidget::visibilityChanged, this, [this](bool shown) {
        if (!shown && isVisible() && !m_miniDock->isFloating() && m_miniDock->isHidden())
            m_view->Options().showMiniview = false;
    });

    // "Action Sequence Timeline": hidden until asked for.
    m_sequencePane = new CPaneActionSequencer(
        m_doc, m_sim, [this](int command) { RunCommand(command); }, this);
    m_sequenceDock = new QDockWidget(tr("Action Sequencer"), this);
    m_sequenceDock->setObjectName("ActionSequencer");
    m_sequenceDock->setWidget(m_sequencePane);
    addDockWidget(Qt::BottomDockWidgetArea, m_sequenceDock);
    m_sequenceDock->hide();

    m_feedback = new CFeedbackPane(this);
    m_feedbackDock = new QDockWidget(tr("Feedback Windows"), this);
    m_feedbackDock->setObjectName("Feedback");
    m_feedbackDock->setWidget(m_feedback);
    addDockWidget(Qt::BottomDockWidgetArea, m_feedbackDock);
    resizeDocks({m_feedbackDock}, {150}, Qt::Vertical);
    resizeDocks({m_treeDock, m_paletteDock}, {230, 210}, Qt::Horizontal);
    for (QDockWidget* d : findChildren<QDockWidget*>())
        connect(d, &QDockWidget::visibilityChanged, this, [this] { UpdateCommandStates(); });
}

QWidget* CMainWindow::PaneWidget(EPane pane) const {
    switch (pane) {
        case EPane::SystemStructure:
            return m_treeDock;
        case EPane::SimulationControls:
            return m_simDock;
        case EPane::Feedback:
            return m_feedbackDock;
        case EPane::StatusBar:
            return statusBar();
        case EPane::NeuralNetwork:
            return m_neuralDock;
        case EPane::SequenceTimeline:
            return m_sequenceDock;
        default:
            return m_paletteDock;
    }
}

namespace {

/// The palette group each palette pane command shows.
constexpr std::pair<EPane, int> kPaletteGroups[] = {{EPane::PaletteLogic, kGroupLogic},
                                                    {EPane::PaletteMath, kGroupMath},
                                                    {EPane::PaletteSignals, kGroupSignals},
                                                    {EPane::PaletteUtility, kGroupUtility},
                                                    {EPane::PaletteDecision, kGroupDecision}};

}  // namespace

std::optional<int> CMainWindow::PaletteGroup(EPane pane) {
    for (const auto& [p, group] : kPaletteGroups)
        if (p == pane) return group;
    return std::nullopt;
}

bool CMainWindow::PaneVisible(EPane pane) const {
    const std::optional<int> group = PaletteGroup(pane);
    if (group && !m_palette->GroupShown(*group)) return false;
    return PaneWidget(pane)->isVisible();
}

void CMainWindow::SetPaneVisible(EPane pane, bool shown) {
    // Each palette group is a part of the one palette pane, shown while any group is.
    if (const std::optional<int> group = PaletteGroup(pane)) {
        m_palette->SetGroupShown(*group, shown);
        bool any = false;
        for (const auto& [p, g] : kPaletteGroups) any = any || m_palette->GroupShown(g);
        m_paletteDock->setVisible(any);
        return;
    }
    PaneWidget(pane)->setVisible(shown);
    // The vectors pane shares its place with the feedback lists: it comes to the front.
    if (pane == EPane::NeuralNetwork && shown) m_neuralDock->raise();
}

void CMainWindow::Close() {
    close();
}

void CMainWindow::ShowSystem() {
    m_view->ShowSystem();
}

void CMainWindow::ShowModule(CNetwork& module) {
    m_view->ShowModule(&module);
}

void CMainWindow::CenterView() {
    m_view->CenterView();
}

// --- the neural network's pane and learning run ------------------------------------

void CMainWindow::BuildNeuralPane() {
    m_neuralPane = new CPaneNeuralNetwork(this);
    m_neuralDock = new QDockWidget(tr("Neural Network Feature Vectors"), this);
    m_neuralDock->setObjectName("NeuralNetwork");
    m_neuralDock->setWidget(m_neuralPane);
    addDockWidget(Qt::BottomDockWidgetArea, m_neuralDock);
    tabifyDockWidget(m_feedbackDock, m_neuralDock);
    m_feedbackDock->raise();
    m_neuralDock->hide();
    connect(m_neuralDock, &QDockWidget::visibilityChanged, this, [this](bool shown) {
        if (shown) m_neuralPane->Show(PaneNeuralNetwork(m_doc));
        UpdateCommandStates();
    });
    connect(m_neuralPane, &CPaneNeuralNetwork::learnClicked, this,
            [this] { RunCommand(m_doc.Learning().Running() ? kCmdStopLearning : kCmdStartLearning); });
    connect(m_neuralPane, &CPaneNeuralNetwork::eraseClicked, this, [this] {
        if (!RefusedWhileLearning(m_doc)) EraseKnowledge(m_doc, false);
        AfterCommand();
    });
    connect(m_neuralPane, &CPaneNeuralNetwork::importClicked, this, [this] {
        if (RefusedWhileLearning(m_doc) || !SelectedNeuralNetwork(m_doc)) return;
        ImportAdditionalVectors(m_doc, ChooseOpenPath(EPathKind::Csv));
        AfterCommand();
    });
    connect(m_neuralPane, &CPaneNeuralNetwork::rowsSelected, this, [this](const std::vector<size_t>& rows) {
        SelectVectors(m_doc, rows);
        UpdateCommandStates();
    });
    m_learningTimer.setInterval(50);
    connect(&m_learningTimer, &QTimer::timeout, this, [this] { OnLearningTick(); });
}

void CMainWindow::WatchLearning() {
    if (m_doc.Learning().Running() && !m_learningTimer.isActive()) m_learningTimer.start();
    if (!m_doc.Learning().Running()) m_learningTimer.stop();
}

void CMainWindow::OnLearningTick() {
    if (m_doc.PollLearning()) {
        // The run ended by itself: the document recorded it and refreshed through its observer.
        m_learningTimer.stop();
        return;
    }
    if (const CModelNeuralNetwork* nn = m_doc.Learning().Network()) m_neuralPane->ShowProgress(*nn);
    if (m_view->Options().updateWhileLearning) m_view->Redraw();
}

// --- settings ----------------------------------------------------------------

void CMainWindow::ApplySettings() {
    CViewOptions& o = m_view->Options();
    m_stored.connectorType = m_settings.ReadInt(kConnectorType);
    m_stored.gridSpacing = m_settings.ReadInt(kGridWidth);
    m_stored.showGrid = m_settings.ReadInt(kShowGrid) != 0;
    m_stored.showModuleValues = m_settings.ReadInt(kShowModuleValues) != 0;
    // A stored value out of range falls back into it (and is stored so).
    o.connectorType = std::clamp(m_stored.connectorType, 0, 2);
    o.gridSpacing = std::clamp(m_stored.gridSpacing, 4, 128);
    o.showGrid = m_stored.showGrid;
    o.showModuleValues = m_stored.showModuleValues;
    m_sim->SetRate(m_settings.ReadInt(kCyclesPerSecond));
    m_refillFields = true;
}

void CMainWindow::StoreSettings() {
    const CViewOptions& o = m_view->Options();
    const struct {
        int32_t shown, stored;
        const CIntSetting& setting;
    } values[] = {{o.connectorType, m_stored.connectorType, kConnectorType},
                  {o.gridSpacing, m_stored.gridSpacing, kGridWidth},
                  {o.showGrid, m_stored.showGrid, kShowGrid},
                  {o.showModuleValues, m_stored.showModuleValues, kShowModuleValues}};
    for (const auto& v : values)
        if (v.shown != v.stored) m_settings.WriteInt(v.setting, v.shown);
    m_stored.connectorType = o.connectorType;
    m_stored.gridSpacing = o.gridSpacing;
    m_stored.showGrid = o.showGrid;
    m_stored.showModuleValues = o.showModuleValues;
}

void CMainWindow::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (m_settingsApplied) return;
    m_settingsApplied = true;
    if (m_settings.ReadInt(kShowWelcome) != 0 && !qEnvironmentVariableIsSet("ZOR2_NO_WELCOME"))
        QTimer::singleShot(0, this, [this] { ShowWelcome(); });
}

// --- simulation ----------------------------------------------------------------

void CMainWindow::RedrawViews() {
    m_view->viewport()->update();
    if (m_sequenceDock && m_sequenceDock->isVisible()) m_sequencePane->FollowSimulation();
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
    m_refillFields = true;
    FillFields();
}

void CMainWindow::SetRate(int rate) {
    m_sim->SetRateText(std::to_string(rate));
}

// --- window ----------------------------------------------------------------------

void CMainWindow::Refresh() {
    WatchLearning();
    if (m_neuralDock && m_neuralDock->isVisible()) m_neuralPane->Show(PaneNeuralNetwork(m_doc));
    m_tree->Rebuild(m_doc.System());
    m_simPane->Refresh(m_doc.System());
    m_feedback->Refresh(m_doc.System().Feedback());
    m_sequencePane->Refresh();
    m_view->Redraw();
    // The miniview shows no values, so only edits and view changes redraw it.
    m_miniview->update();
    StoreSettings();
    UpdateTitle();
    UpdateCommandStates();
}

QString CMainWindow::DocumentTitle() const {
    return QString::fromStdString(DocumentName(m_doc));
}

void CMainWindow::UpdateTitle() {
    QString where;
    if (CNetwork* m = m_view->Module()) where = QStringLiteral(" — ") + QString::fromStdString(m->m_name);
    setWindowTitle(QStringLiteral("%1[*]%2 - zor21").arg(DocumentTitle(), where));
    setWindowModified(m_doc.IsModified());
}

void CMainWindow::closeEvent(QCloseEvent* e) {
    // Closing ends a learning run; what it learned may still be saved.
    m_doc.StopLearning();
    if (!m_doc.SaveModified()) {
        e->ignore();
        return;
    }
    m_sim->Stop();
    m_autosave->OnCleanExit();
    e->accept();
}

bool CMainWindow::OfferRecovery() {
    const bool recovered = m_autosave->OfferRecovery();
    if (recovered) Refresh();
    return recovered;
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
