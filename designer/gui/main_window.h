// CMainWindow: the designer's window — the ribbon of command categories, the
// main view, the docking panes, the simulation timer and the file commands.
#pragma once

#include <QMainWindow>
#include <QMap>
#include <QSocketNotifier>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "designer/commands_module.h"
#include "designer/document.h"
#include "designer/gui/design_view.h"
#include "designer/gui/gui_actions.h"
#include "designer/gui/miniview.h"
#include "designer/gui/panes.h"
#include "designer/gui/prompter.h"
#include "designer/gui/settings.h"
#include "realtime/udp_protocol.h"
#include "simulation/sim_controller.h"

class QAction;
class QComboBox;
class QSpinBox;
class QTabBar;
class QStackedWidget;
class QDockWidget;
class QPrinter;

namespace zor2::gui {

/// The simulation timer on the window's event loop.
class CQtSimTimer final : public QObject, public ISimTimer {
  public:
    explicit CQtSimTimer(CSimController*& controller);
    void Start(int32_t periodMs) override;
    void Stop() override { m_timer.stop(); }
    bool IsActive() const { return m_timer.isActive(); }
    int Interval() const { return m_timer.interval(); }

  private:
    QTimer m_timer;
};

class CMainWindow : public QMainWindow, private ISimView, private IDocumentObserver {
    Q_OBJECT
  public:
    /// `link` is where the real-time link binds and sends; by default "udp.conf"
    /// in the current folder decides.
    explicit CMainWindow(QWidget* parent = nullptr, std::optional<CUdpConfig> link = std::nullopt);
    ~CMainWindow() override;

    // Entry points of the commands (file dialogs call these with the chosen path).
    /// Opens a project; `fromFramework` is the recent-file list, the command
    /// line or a dropped file (a missing file does nothing).
    bool OpenProject(const QString& path, bool fromFramework = false);
    bool SaveProjectTo(const QString& path);
    bool ExportRuntimeTo(const QString& path, bool showDialog = true);
    /// Runs the command of a numeric command value as the ribbon does.
    void RunCommand(int value);
    /// Enables, disables and checks every command by the state.
    void UpdateCommandStates();

    // Access for tests and scripted runs.
    Czor2Doc& Document() { return m_doc; }
    CUdpLink& Link() { return *m_link; }
    CDesignView& View() { return *m_view; }
    CSimController& Simulation() { return *m_sim; }
    CQtSimTimer& SimTimer() { return *m_timer; }
    CSimPane& SimPane() { return *m_simPane; }
    CFeedbackPane& FeedbackPane() { return *m_feedback; }
    CMessageBoxPrompter& Prompter() { return m_prompter; }
    QAction* CommandAction(int value) const;
    QList<QAction*> CommandActions(int value) const { return m_actionsByValue.values(value); }
    QSpinBox* RateSpin() const { return m_rateSpin; }
    CMiniview& Miniview() { return *m_miniview; }
    QDockWidget* MiniviewDock() const { return m_miniDock; }
    /// The printer of Print, Quick Print and Print Preview (made on first use).
    QPrinter& Printer();
    /// Whether the first action of a command is enabled.
    bool CommandEnabled(int value) const;
    /// Answers in place of the colour dialog, the text editor and the "New
    /// Input Connection" dialog (tests and scripted runs); empty means the dialogs.
    std::function<std::optional<int32_t>(int32_t current)> m_colourHook;
    std::function<std::optional<QString>(const QString& title, const QString& current)> m_textHook;
    std::function<bool(CDataConnectionRequest&)> m_connectionHook;
    QStringList RibbonTabs() const;
    void SetRate(int rate);
    /// Refreshes the panes and the title after any change.
    void Refresh();

  protected:
    void closeEvent(QCloseEvent*) override;
    void dragEnterEvent(QDragEnterEvent*) override;
    void dropEvent(QDropEvent*) override;
    void showEvent(QShowEvent*) override;

  private:
    // ISimView.
    void RedrawViews() override;
    void RedrawPane() override;
    void MarkModified() override;
    void RateChanged(int32_t cyclesPerSecond) override;
    // IDocumentObserver.
    void OnChangeRecorded(const std::string& feedbackLine) override;
    void OnDocumentReloaded() override;
    void WatchLink();

    void BuildRibbon();
    void BuildMenus();
    void BuildDocks();
    void ApplySettings();
    bool MaySave();
    void NewProject();
    void Open();
    bool Save();
    bool SaveAs();
    void ExportRuntime();
    void ShowProjectInfo();
    void ShowOptions();
    void EditObject(const CHit& hit);
    void MenuCommand(const CHit& hit, const QString& item);
    bool MenuItemAvailable(const CHit& hit, const QString& item) const;
    void UpdateTitle();
    QString ChooseSavePath(const QString& title);
    QString DocumentTitle() const;
    void UpdateRecentMenu();
    // The commands that first ask for a value, and the value widgets of the ribbon.
    bool RunValueCommand(int value);
    void ApplySpin(int value, int number);
    void ApplyFont(int value, const QString& family);
    void FillValueWidgets();
    QString ValueText(const char* ident) const;
    std::optional<int32_t> ChooseColour(int32_t current);
    std::optional<QString> AskText(const QString& title, const QString& current);
    bool AskDataConnection(CDataConnectionRequest& request);
    void Print(int value);
    void ShowWelcome();

    Czor2Doc m_doc;
    CMessageBoxPrompter m_prompter;
    CGuiActions m_actions;
    std::unique_ptr<CUdpLink> m_link;
    std::unique_ptr<CUdpLinkNotifier> m_linkNotifier;
    std::unique_ptr<QSocketNotifier> m_linkWatch;
    CDesignerSettings m_settings;
    CSimController* m_sim = nullptr;
    std::unique_ptr<CSimController> m_simOwner;
    std::unique_ptr<CQtSimTimer> m_timer;
    CDesignView* m_view = nullptr;
    QTabBar* m_ribbonTabs = nullptr;
    QStackedWidget* m_ribbonPages = nullptr;
    QStringList m_categories;
    QMultiMap<int, QAction*> m_actionsByValue;
    QSpinBox* m_rateSpin = nullptr;
    QSpinBox* m_gridSpin = nullptr;
    QComboBox* m_connectorCombo = nullptr;
    CStructureTree* m_tree = nullptr;
    CFeedbackPane* m_feedback = nullptr;
    CSimPane* m_simPane = nullptr;
    QDockWidget* m_treeDock = nullptr;
    QDockWidget* m_simDock = nullptr;
    QDockWidget* m_feedbackDock = nullptr;
    QDockWidget* m_paletteDocks[5] = {};
    QMenu* m_recentMenu = nullptr;
    CMiniview* m_miniview = nullptr;
    QDockWidget* m_miniDock = nullptr;
    std::unique_ptr<QPrinter> m_printer;
    QMultiMap<int, QWidget*> m_valueWidgets;  // spins, font boxes and edits by command value
    std::array<int32_t, 3> m_filledFor{};     // the graphic, chart and value window they show
    bool m_refillValues = true;
    bool m_filling = false;
    bool m_settingsApplied = false;
};

}  // namespace zor2::gui
