// The designer's commands as rows: what each needs selected, how it runs, when
// it is enabled and checked, the fields that carry a value, and the places of
// the commands in the ribbon and the menu bar with their tips.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "designer/command_host.h"
#include "designer/commands_common.h"

namespace zor2 {

class CGraphic;
class CChart;
class CValueWindow;

/// Command values referred to by name (the rows hold every value).
enum ECommand : int {
    kCmdFileNew = 57600,
    kCmdFileOpen = 57601,
    kCmdFileSave = 57603,
    kCmdFileSaveAs = 57604,
    kCmdFilePrint = 57607,
    kCmdFilePrintDirect = 57608,
    kCmdFilePrintPreview = 57609,
    kCmdFilePrintSetup = 57606,
    kCmdAppExit = 57665,
    kCmdAppAbout = 57664,
    kCmdExit = 32771,
    kCmdNewProject = 32873,
    kCmdOpen = 32773,
    kCmdSave = 32772,
    kCmdSaveAs = 32860,
    kCmdProjectInfo = 32905,
    kCmdAppOptions = 32982,
    kCmdExportRuntime = 32864,
    kCmdVerifyRuntime = 33190,
    kCmdCopy = 33191,
    kCmdCut = 33192,
    kCmdPaste = 33193,
    kCmdDuplicate = 33194,
    kCmdEnableRealtime = 33183,
    kCmdWelcome = 32859,
    kCmdUndo = 32997,
    kCmdRedo = 32998,
    kCmdAddSystemInput = 32793,
    kCmdEditSystemInput = 32931,
    kCmdDeleteSystemInput = 32907,
    kCmdImportInputs = 32797,
    kCmdAddInputCategory = 32795,
    kCmdEditInputCategory = 32944,
    kCmdAddBehavior = 33035,
    kCmdResetInput = 33041,
    kCmdAddModule = 32791,
    kCmdImportModule = 32845,
    kCmdExportModule = 32875,
    kCmdModuleProperties = 32939,
    kCmdDeleteModule = 32935,
    kCmdDesignModule = 32934,
    kCmdModuleAddInput = 32949,
    kCmdModuleAddOutput = 32963,
    kCmdModuleShowValues = 32957,
    kCmdModuleExposeInputs = 32941,
    kCmdModuleExposeOutputs = 32940,
    kCmdAddDataConnection = 32984,
    kCmdRemoveIncoming = 32985,
    kCmdRemoveOutgoing = 32986,
    kCmdModuleExecute = 32948,
    kCmdAddSystemOutput = 32792,
    kCmdEditSystemOutput = 32932,
    kCmdDeleteSystemOutput = 32933,
    kCmdImportOutputs = 32794,
    kCmdAddOutputCategory = 32796,
    kCmdEditOutputCategory = 32945,
    kCmdModuleEditInput = 32967,
    kCmdModuleDeleteInput = 32962,
    kCmdDisconnectModuleInputsInside = 32969,
    kCmdModuleEditOutput = 32936,
    kCmdModuleDeleteOutput = 32965,
    kCmdDisconnectModuleOutputInside = 32970,
    kCmdSelectAll = 33089,
    kCmdCenterView = 33120,
    kCmdShowModuleInputs = 33090,
    kCmdShowModuleOutputs = 33091,
    kCmdDisconnectComponentInput = 32974,
    kCmdComponentProperties = 32896,
    kCmdDeleteAllInputs = 32976,
    kCmdDeleteAllOutputs = 32912,
    kCmdDeleteComponent = 32973,
    kCmdShowValueWindow = 33112,
    kCmdShowChart = 33044,
    kCmdDisconnectComponentOutput = 32975,
    kCmdDeleteComponentOutput = 32947,
    kCmdExposeComponentOutput = 33010,
    kCmdExposeAllInputs = 33009,
    kCmdExposeAllOutputs = 33011,
    kCmdRun = 32825,
    kCmdStop = 32826,
    kCmdPause = 33095,
    kCmdRunOnce = 32837,
    kCmdRunStep = 32790,
    kCmdReset = 32840,
    kCmdRate = 32841,
    kCmdPreventRender = 33099,
    kCmdEnableBehaviors = 33034,
    kCmdViewBehaviors = 32886,
    kCmdDeleteAllBehaviors = 32979,
    kCmdChartMax = 32660,
    kCmdChartMin = 32662,
    kCmdChartMajor = 32664,
    kCmdChartMinor = 32666,
    kCmdValueSuffix = 33105,
    kCmdValueCaption = 33109,
    kCmdPaneSystem = 32846,
    kCmdStatusBar = 59393,
    kCmdPaneSimulation = 32848,
    kCmdPaneFeedback = 32849,
    kCmdPaletteLogic = 32871,
    kCmdPaletteMath = 33161,
    kCmdPaletteSignals = 33159,
    kCmdPaletteUtility = 33160,
    kCmdPaletteDecision = 33162,
    kCmdClearFeedbackAll = 32868,
    kCmdClearFeedbackSystem = 32865,
    kCmdClearFeedbackExecute = 32866,
    kCmdGridSpacing = 33154,
    kCmdShowGrid = 32910,
    kCmdRestoreColours = 32914,
    kCmdConnectorType = 32900,
    kCmdShowInputsBar = 32861,
    kCmdShowOutputsBar = 32863,
    kCmdPaneNeuralNetwork = 32850,
    kCmdImportVectors = 33000,
    kCmdDeleteSelectedVectors = 33167,
    kCmdDeleteAllVectors = 33003,
    kCmdNetworkAddInput = 33007,
    kCmdNetworkAddProcessor = 33168,
    kCmdNetworkAddOutput = 33013,
    kCmdStartLearning = 32980,
    kCmdStopLearning = 33180,
    kCmdEraseKnowledge = 33166,
    kCmdLearnRate = 33171,
    kCmdTargetLoser = 33174,
    kCmdTargetWinner = 33175,
    kCmdTolerance = 33179,
    kCmdMaxSeparation = 33177,
    kCmdShowOutputNames = 32884,
    kCmdUpdateDisplay = 33170,
};

/// What must be selected (or shown) before a command is enabled.
enum class ENeed {
    None,            // always
    Unavailable,     // a command this designer does not carry out: always disabled
    SystemView,      // the system view is shown
    ModuleView,      // a module is being designed
    Module,          // the designed module, else a selected module
    SystemInput,     // a selected system input
    SystemOutput,    // a selected system output
    InputCategory,   // a selected input category
    OutputCategory,  // a selected output category
    ModuleInput,     // one selected module input
    ModuleInputs,    // one or more selected module inputs
    ModuleOutput,    // one selected module output
    ModuleOutputs,   // one or more selected module outputs
    Component,       // a selected component (or the owner of a selected port) in the module view
    ComponentInput,  // a selected component input in the module view
    ComponentOutput,
    Selection,      // selected modules in the system view, selected components in the module view
    Components,     // selected components in the module view
    Graphics,       // one or more selected graphics in the module view
    TwoGraphics,    // at least two
    Charts,         // a selected chart
    ChartsShown,    // a chart in the designed module (in the system view: any chart)
    ValueWindows,   // a selected value window
    Behaviors,      // the system has behaviours
    NeuralNetwork,  // a selected Neural Network component in the module view
};
inline constexpr size_t kNeedCount = static_cast<size_t>(ENeed::NeuralNetwork) + 1;

/// Which needs a context meets, worked out once for a refresh of every command.
struct CNeeds {
    std::array<bool, kNeedCount> met{};
    bool operator[](ENeed need) const { return met[static_cast<size_t>(need)]; }
};

using CommandRun = ECmd (*)(CCommandContext&);
using CommandRule = bool (*)(const CCommandContext&);

/// One designer command. A toggle's run switches the state its `checked` rule reads.
struct CCommand {
    int id;             // the numeric command value
    const char* ident;  // "ID_BUTTON_..."
    ENeed need;
    CommandRun run;       // null for a field whose value another command reads
    CommandRule enabled;  // a condition besides the need; null: none
    CommandRule checked;  // the state a toggle shows; null for plain commands
};

/// The value a spin box, combo box or edit field hands to its command.
struct CCommandValue {
    int32_t number = 0;
    std::string text;
};

/// A command whose ribbon place is a field: what the field shows and what
/// changing it does.
struct CFieldCommand {
    int id;
    int32_t minimum, maximum;                               // range of a spin box
    std::span<const char* const> items;                     // entries of a combo box; none: a font box
    ECmd (*apply)(CCommandContext&, const CCommandValue&);  // null: read by another command
    /// What the field shows; false leaves it as it is.
    bool (*shown)(const CCommandContext&, CCommandValue&);
};

std::span<const CCommand> Commands();
std::span<const CFieldCommand> FieldCommands();
/// The row of a command value or identifier; null when there is none.
const CCommand* FindCommand(int id);
const CCommand* FindCommand(std::string_view ident);
const CFieldCommand* FindFieldCommand(int id);
/// The command value of an identifier, 0 when there is none.
int CommandId(std::string_view ident);

bool NeedMet(ENeed need, const CCommandContext& ctx);
CNeeds EvaluateNeeds(const CCommandContext& ctx);
bool IsEnabled(const CCommand& command, const CCommandContext& ctx);
bool IsEnabled(const CCommand& command, const CCommandContext& ctx, const CNeeds& needs);
/// Whether a command shows checked (false for plain commands).
bool IsChecked(const CCommand& command, const CCommandContext& ctx);
/// The first selected object of each kind of visual aid (the one the ribbon's
/// fields and checks show), or null.
CGraphic* FirstSelectedGraphic(const Czor2Doc& doc);
CChart* FirstSelectedChart(const Czor2Doc& doc);
CValueWindow* FirstSelectedValueWindow(const Czor2Doc& doc);
/// Runs a command as its ribbon button does; a command that is not enabled
/// does nothing and returns Unavailable.
ECmd RunCommand(CCommandContext& ctx, int id);
/// Hands a field's new value to its command (Unavailable when disabled).
ECmd ApplyField(CCommandContext& ctx, int id, const CCommandValue& value);

// --- places: the ribbon, the menu bar, the tips ----------------------------------

enum class ECommandKind { Button, Check, Spin, Combo, Edit };

/// One place of a command in the ribbon; a command in several panels has
/// several rows with one id. The category "File" is the menu bar's.
struct CRibbonRow {
    const char* category;
    const char* panel;
    const char* ident;
    int id;
    const char* label;
    ECommandKind kind;
};

/// A ribbon category: its tab text and, for the context categories, the
/// rule under which it shows.
struct CRibbonCategory {
    const char* name;
    const char* tab;
    CommandRule shown;  // null: always shown
};

std::span<const CRibbonRow> RibbonRows();
/// The ribbon categories in tab order; the context categories come last.
std::span<const CRibbonCategory> RibbonCategories();
/// The label of a command's first place, or null.
const char* CommandLabel(int id);
/// The tip text of a command (status-bar prompt), or null when it has none.
const char* CommandTip(int id);
/// The tip title of a command, or null.
const char* CommandTipTitle(int id);

enum class EShortcut { None, New, Open, Save, SaveAs, Print, Quit, Undo, Redo, Cut, Copy, Paste, Duplicate };
/// An entry of the menu bar: a command, a separator (id 0) or the recent-file list.
struct CMenuBarItem {
    const char* menu;  // "File", "Edit", "Help"
    int id;
    EShortcut key = EShortcut::None;
};
inline constexpr int kMenuRecentFiles = -1;
std::span<const CMenuBarItem> MenuBarItems();

}  // namespace zor2
