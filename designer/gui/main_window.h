// CMainWindow: the designer's window — the ribbon and the menus built from the
// command rows, the main view, the docking panes and the simulation timer — and
// the host the commands ask for paths, dialog answers, panes and printing.
#pragma once

#include <QMainWindow>
#include <QMap>
#include <QSocketNotifier>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "designer/autosave.h"
#include "designer/command_rows.h"
#include "designer/commands_module.h"
#include "designer/context_menus.h"
#include "designer/document.h"
#include "designer/gui/design_view.h"
#include "designer/gui/gui_actions.h"
#include "designer/gui/miniview.h"
#include "designer/gui/neural_pane.h"
#include "designer/gui/panes.h"
#include "designer/gui/prompter.h"
#include "designer/gui/ribbon.h"
#include "designer/gui/sequence_pane.h"
#include "designer/gui/settings.h"
#include "designer/gui/sound_player.h"
#include "realtime/udp_protocol.h"
#include "simulation/sim_controller.h"

class QAction;
class QGroupBox;
class QSpinBox;
class QToolButton;
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

class CMainWindow : public QMainWindow, private ISimView, private IDocumentObserver, private ICommandHost {
    Q_OBJECT
  public:
    /// `link` is where the real-time link binds and sends; by default "udp.conf"
    /// in the current folder decides.
    explicit CMainWindow(QWidget* parent = nullptr, std::optional<CUdpConfig> link = std::nullopt);
    ~CMainWindow() override;

    // Entry points of the file commands (tests and scripted runs pass the path).
    /// Opens a project; `fromFramework` is the recent-file list, the command
    /// line or a dropped file (a missing file does nothing).
    bool OpenProject(const QString& path, bool fromFramework = false);
    /// The project named on the command line: a file that is not there is
    /// said so, instead of the designer starting empty without a word.
    bool OpenFromCommandLine(const QString& path);
    /// At start: offers the work an earlier designer left in its autosave; true when it was opened.
    bool OfferRecovery();
    bool SaveProjectTo(const QString& path);
    bool ExportRuntimeTo(const QString& path, bool showDialog = true);
    /// Runs a command as its ribbon button does; nothing while it is disabled.
    void RunCommand(int id);
    /// Enables, disables and checks every command by its row's rules.
    void UpdateCommandStates();

    // Access for tests and scripted runs.
    Czor2Doc& Document() { return m_doc; }
    CUdpLink& Link() { return *m_link; }
    CDesignView& View() { return *m_view; }
    CSimController& Simulation() { return *m_sim; }
    CQtSimTimer& SimTimer() { return *m_timer; }
    CQtSoundPlayer& Sounds() { return *m_sounds; }
    CSimPane& SimPane() { return *m_simPane; }
    CFeedbackPane& FeedbackPane() { return *m_feedback; }
    CMessageBoxPrompter& Prompter() { return m_prompter; }
    QAction* CommandAction(int id) const;
    QList<QAction*> CommandActions(int id) const { return m_actionsById.values(id); }
    QSpinBox* RateSpin() const { return m_rateSpin; }
    CMiniview& Miniview() { return *m_miniview; }
    CPalette& Palette() { return *m_palette; }
    CPaneActionSequencer& SequencePane() { return *m_sequencePane; }
    QDockWidget* MiniviewDock() const { return m_miniDock; }
    /// The printer of Print, Quick Print and Print Preview (made on first use).
    QPrinter& Printer();
    /// Whether the command's rules enable it now.
    bool CommandEnabled(int id);
    /// Answers in place of the colour dialog, the text editor and the "New
    /// Input Connection" dialog (tests and scripted runs); empty means the dialogs.
    std::function<std::optional<int32_t>(int32_t current)> m_colourHook;
    std::function<std::optional<QString>(const QString& title, const QString& current)> m_textHook;
    std::function<bool(CDataConnectionRequest&)> m_connectionHook;
    /// Answers in place of the "Load Data Wizard" window (tests and scripted runs).
    std::function<bool(CLoadDataWizard&)> m_wizardHook;
    CPaneNeuralNetwork& NeuralPane() { return *m_neuralPane; }
    /// The 50 ms timer that watches a learning run.
    QTimer& LearningTimer() { return m_learningTimer; }
    QStringList RibbonTabs() const;
    CRibbon& Ribbon() { return *m_ribbon; }
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

    // ICommandHost: files (main_window_files.cpp).
    std::string ChooseOpenPath(EPathKind kind) override;
    std::string ChooseSavePath(EPathKind kind, const std::string& name) override;
    void FileUsed(const std::string& path) override;
    void ShowExportSuccess(const std::string& runtimePath, const CRuntimeExportInfo& info) override;
    std::optional<std::string> VerifyRuntimeEquivalence(CSystem& system) override;
    void ShowReport(const std::string& title, const std::string& text) override;
    // ICommandHost: dialogs (main_window_dialogs.cpp).
    std::optional<int32_t> ChooseColour(int32_t current) override;
    std::string FieldText(int id) const override;
    bool EditNameDescription(const std::string& title, std::string& name, std::string& description) override;
    bool EditSystemInput(const std::string& title, CSystemInputData& data, int32_t inputId) override;
    bool EditSystemOutput(const std::string& title, CSystemOutputData& data) override;
    bool EditBehavior(const std::string& inputName, CBehaviorData& data) override;
    bool EditCategory(std::string& name) override;
    bool EditGraphicText(std::string& text) override;
    bool EditValueWindow(CValueWindowSettings& settings) override;
    bool EditProperties(CPropertySheet& sheet) override;
    bool EditDecisionMatrix(CDecisionMatrixEditor& editor, CPropertySheet& sheet) override;
    bool AskDataConnection(const CNetwork& module, CDataConnectionRequest& request) override;
    bool EditProjectInfo(std::string& description) override;
    bool RunLoadDataWizard(CLoadDataWizard& wizard) override;
    void ShowBehaviors() override;
    void EditOptions() override;
    void ShowWelcome() override;
    void About() override;
    void Print(EPrintJob job) override;
    // ICommandHost: the window and the view (main_window.cpp).
    bool PaneVisible(EPane pane) const override;
    void SetPaneVisible(EPane pane, bool shown) override;
    void Close() override;
    void ShowSystem() override;
    void ShowModule(CNetwork& module) override;
    void CenterView() override;
    // ICommandHost: the clipboard (main_window_clipboard.cpp).
    void PutOnClipboard(const std::vector<uint8_t>& bytes) override;
    std::vector<uint8_t> ClipboardBytes() const override;
    bool ClipboardHoldsItems() const override;
    bool PastePoint(int32_t& x, int32_t& y) const override;

    // The commands (main_window_ribbon.cpp).
    CCommandContext Context();
    /// After any command: the model's selection flags, the fields, the link's
    /// socket watch and every pane.
    void AfterCommand();
    void ApplyFieldValue(int id, const CCommandValue& value);
    void EditHit(const CHit& hit);
    void RunMenuAction(const CHit& hit, const CMenuAction& action);
    void BuildRibbon();
    QAction* MakeAction(int id, const QString& label, const QString& ident, bool check);
    QToolButton* MakeButton(QAction* action, QWidget* panel);
    QWidget* MakeSpin(const CFieldCommand* field, QAction* action, QWidget* panel);
    QWidget* MakeCombo(const CFieldCommand* field, QAction* action, QWidget* panel);
    QWidget* MakeEdit(const CFieldCommand* field, QAction* action, QWidget* panel);
    void BuildMenus();
    void FillFields();

    // The frame (main_window.cpp).
    void BuildDocks();
    void ApplySettings();
    /// Writes the display options kept in the settings when they changed.
    void StoreSettings();
    QWidget* PaneWidget(EPane pane) const;
    /// The palette group a palette pane command shows, if it is one.
    static std::optional<int> PaletteGroup(EPane pane);
    void WatchLink();
    void UpdateTitle();
    QString DocumentTitle() const;
    void UpdateRecentMenu();
    // The neural network's pane and learning run (main_window.cpp).
    void BuildNeuralPane();
    void WatchLearning();
    void OnLearningTick();

    Czor2Doc m_doc;
    CMessageBoxPrompter m_prompter;
    CGuiActions m_actions;
    std::unique_ptr<CUdpLink> m_link;
    std::unique_ptr<CUdpLinkNotifier> m_linkNotifier;
    std::unique_ptr<QSocketNotifier> m_linkWatch;
    CDesignerSettings m_settings;
    /// The autosave beside the settings, written from a timer on the window's loop.
    class CSettingsFolder final : public IUserFolder {
      public:
        std::string Path() const override { return CDesignerSettings::UserFolder().toStdString(); }
    } m_userFolder;
    CSteadyClock m_clock;
    std::unique_ptr<CAutosave> m_autosave;
    QTimer m_autosaveTimer;
    CSimController* m_sim = nullptr;
    std::unique_ptr<CSimController> m_simOwner;
    std::unique_ptr<CQtSimTimer> m_timer;
    std::unique_ptr<CQtSoundPlayer> m_sounds;
    CDesignView* m_view = nullptr;
    CRibbon* m_ribbon = nullptr;
    std::vector<const CRibbonCategory*> m_categories;  // by tab index
    QMultiMap<int, QAction*> m_actionsById;
    QMultiMap<int, QWidget*> m_fields;  // spin boxes, combo boxes and edits by command id
    QSpinBox* m_rateSpin = nullptr;
    CStructureTree* m_tree = nullptr;
    CFeedbackPane* m_feedback = nullptr;
    CSimPane* m_simPane = nullptr;
    QDockWidget* m_treeDock = nullptr;
    QDockWidget* m_simDock = nullptr;
    QDockWidget* m_feedbackDock = nullptr;
    CPalette* m_palette = nullptr;
    QDockWidget* m_paletteDock = nullptr;
    QMenu* m_recentMenu = nullptr;
    CPaneNeuralNetwork* m_neuralPane = nullptr;
    QDockWidget* m_neuralDock = nullptr;
    QTimer m_learningTimer;
    CMiniview* m_miniview = nullptr;
    QDockWidget* m_miniDock = nullptr;
    CPaneActionSequencer* m_sequencePane = nullptr;
    QDockWidget* m_sequenceDock = nullptr;
    std::unique_ptr<QPrinter> m_printer;
    std::array<int32_t, 3> m_filledFor{};  // the graphic, chart and value window the fields show
    bool m_refillFields = true;
    bool m_filling = false;
    bool m_settingsApplied = false;
    CViewOptions m_stored;  // the display options as last written to the settings
};

}  // namespace zor2::gui
