// The ribbon's command table: every command with its identifier, numeric
// value, label, kind and place (category and panel), and the tip texts.
#pragma once

#include <span>

namespace zor2::gui {

enum class ECommandKind { Button, Check, Spin, Combo, Edit };

struct CCommandRow {
    const char* category;
    const char* panel;
    const char* ident;
    int value;
    const char* label;
    ECommandKind kind;
};

/// Every place of every command; a command in several panels has several rows
/// with one value.
std::span<const CCommandRow> CommandRows();
/// The ribbon categories in tab order; the context categories come last.
std::span<const char* const> RibbonCategories();
/// True for the categories that appear only with a matching selection.
bool IsContextCategory(const char* category);
/// The tip text of a command (status-bar prompt), or null when it has none.
const char* CommandTip(int value);
/// The tip title of a command, or null.
const char* CommandTipTitle(int value);

/// Command values the window handles by name.
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
    kCmdDeleteInputBehaviors = 33039,
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
    kCmdModuleExecute = 32948,
    kCmdAddSystemOutput = 32792,
    kCmdEditSystemOutput = 32932,
    kCmdDeleteSystemOutput = 32933,
    kCmdImportOutputs = 32794,
    kCmdAddOutputCategory = 32796,
    kCmdEditOutputCategory = 32945,
    kCmdModuleEditInput = 32967,
    kCmdModuleDeleteInput = 32962,
    kCmdModuleEditOutput = 32936,
    kCmdModuleDeleteOutput = 32965,
    kCmdSelectAll = 33089,
    kCmdCenterView = 33120,
    kCmdShowModuleInputs = 33090,
    kCmdShowModuleOutputs = 33091,
    kCmdComponentProperties = 32896,
    kCmdDeleteComponent = 32973,
    kCmdExposeAllInputs = 33009,
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
};

}  // namespace zor2::gui
