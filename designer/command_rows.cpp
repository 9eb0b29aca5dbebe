// The command table: one row per designer command with its need, run,
// enabled and checked rules, and the rows of the commands shown as fields.
#include "designer/command_rows.h"

#include <cmath>
#include <cstdio>

#include "components/decision/neural_network.h"
#include "designer/commands_align.h"
#include "designer/commands_behaviors.h"
#include "designer/commands_charts.h"
#include "designer/commands_clipboard.h"
#include "designer/commands_component.h"
#include "designer/commands_graphics.h"
#include "designer/commands_module.h"
#include "designer/commands_neural.h"
#include "designer/commands_system.h"
#include "designer/commands_view.h"
#include "designer/commands_window.h"
#include "designer/document.h"
#include "realtime/udp_link.h"
#include "simulation/sim_controller.h"

namespace zor2 {
namespace {

ECmd Outcome(bool done) {
    return done ? ECmd::Done : ECmd::Unavailable;
}
bool SimActive(const CCommandContext& ctx) {
    return ctx.sim && ctx.sim->IsActive();
}
CNetwork* Designed(const CCommandContext& ctx) {
    return ctx.doc.Editor().DesignedModule(ctx.doc.System());
}
CNetwork* Current(const CCommandContext& ctx) {
    return ctx.doc.Editor().CurrentModule(ctx.doc.System());
}
size_t SelectedGraphicCount(const CCommandContext& ctx) {
    size_t n = 0;
    for (int32_t id : ctx.doc.Editor().m_graphics)
        n += ctx.doc.System().m_graphics.m_graphics.Find(id) != nullptr;
    return n;
}

// --- the rules -------------------------------------------------------------------

bool CanUndo(const CCommandContext& ctx) {
    return ctx.doc.CanUndo() && !SimActive(ctx);
}
bool CanRedo(const CCommandContext& ctx) {
    return ctx.doc.CanRedo() && !SimActive(ctx);
}
bool HasSimulator(const CCommandContext& ctx) {
    return ctx.sim != nullptr;
}
bool CanRun(const CCommandContext& ctx) {
    return ctx.sim && ctx.sim->CanRun();
}
bool CanStop(const CCommandContext& ctx) {
    return ctx.sim && ctx.sim->CanStop();
}
bool CanPause(const CCommandContext& ctx) {
    return ctx.sim && ctx.sim->CanPause();
}
bool SimIdle(const CCommandContext& ctx) {
    return !SimActive(ctx);
}
bool InSystemView(const CCommandContext& ctx) {
    return Designed(ctx) == nullptr;
}
bool LinkBound(const CCommandContext& ctx) {
    return ctx.link && ctx.link->Bound();
}
bool LinkEnabled(const CCommandContext& ctx) {
    return ctx.link && ctx.link->Enabled();
}
bool CanReset(const CCommandContext& ctx) {
    return CanResetInputValue(ctx.doc);
}
bool PreventRender(const CCommandContext& ctx) {
    return ctx.sim && ctx.sim->m_preventRender;
}
bool BehaviorsEnabled(const CCommandContext& ctx) {
    return ctx.doc.System().m_behaviorsEnabled;
}

// The neural network's rules read the selected network.
bool Learning(const CCommandContext& ctx) {
    return ctx.doc.Learning().Running();
}
bool HasVectors(const CCommandContext& ctx) {
    const CModelNeuralNetwork* nn = SelectedNeuralNetwork(ctx.doc);
    return nn && !nn->Network().m_vectors.empty();
}
bool VectorsSelected(const CCommandContext& ctx) {
    const CModelNeuralNetwork* nn = SelectedNeuralNetwork(ctx.doc);
    return nn && !nn->m_selectedVectors.empty();
}
bool CanStartLearning(const CCommandContext& ctx) {
    return HasVectors(ctx) && !Learning(ctx);
}
bool NetworkInputsFree(const CCommandContext& ctx) {
    const CModelNeuralNetwork* nn = SelectedNeuralNetwork(ctx.doc);
    return nn && !nn->InputsFull();
}
bool NetworkOutputsFree(const CCommandContext& ctx) {
    const CModelNeuralNetwork* nn = SelectedNeuralNetwork(ctx.doc);
    return nn && !nn->OutputsFull();
}
bool MaxSeparationOn(const CCommandContext& ctx) {
    const CModelNeuralNetwork* nn = SelectedNeuralNetwork(ctx.doc);
    return nn && nn->Trainer().m_params.maxSeparation;
}
bool OutputNamesShown(const CCommandContext& ctx) {
    const CModelNeuralNetwork* nn = SelectedNeuralNetwork(ctx.doc);
    return nn && nn->ShowsOutputNames();
}

// --- the runs, one template per kind of setting ---------------------------------------

template <EGraphicField F, int32_t V>
ECmd SetGraphic(CCommandContext& ctx) {
    return SetGraphicField(ctx.doc, F, V);
}
template <EGraphicField F>
bool GraphicOn(const CCommandContext& ctx) {
    const CGraphic* g = FirstSelectedGraphic(ctx.doc);
    return g && GraphicField(*g, F) != 0;
}
template <EGraphicField F>
ECmd ToggleGraphic(CCommandContext& ctx) {
    return SetGraphicField(ctx.doc, F, GraphicOn<F>(ctx) ? 0 : 1);
}
template <EChartField F>
bool ChartOn(const CCommandContext& ctx) {
    const CChart* c = FirstSelectedChart(ctx.doc);
    return c && ChartField(*c, F) != 0;
}
template <EChartField F>
ECmd ToggleChart(CCommandContext& ctx) {
    return SetChartField(ctx.doc, F, ChartOn<F>(ctx) ? 0 : 1);
}
template <EValueWindowField F>
bool WindowOn(const CCommandContext& ctx) {
    const CValueWindow* v = FirstSelectedValueWindow(ctx.doc);
    return v && ValueWindowField(*v, F) != 0;
}
template <EValueWindowField F>
ECmd ToggleWindow(CCommandContext& ctx) {
    return SetValueWindowField(ctx.doc, F, WindowOn<F>(ctx) ? 0 : 1);
}
template <EViewSwitch S>
bool SwitchOn(const CCommandContext& ctx) {
    return ViewSwitch(ctx.doc, S);
}
template <EViewSwitch S>
ECmd ToggleSwitch(CCommandContext& ctx) {
    return SetViewSwitch(ctx.doc, S, !ViewSwitch(ctx.doc, S));
}
/// Display options of the view only: no edit of the project, no undo level.
template <bool CViewOptions::*M>
bool OptionOn(const CCommandContext& ctx) {
    return ctx.doc.Editor().m_options.*M;
}
template <bool CViewOptions::*M>
ECmd ToggleOption(CCommandContext& ctx) {
    bool& option = ctx.doc.Editor().m_options.*M;
    option = !option;
    return ECmd::Done;
}
template <EPane P>
bool PaneShown(const CCommandContext& ctx) {
    return ctx.host.PaneVisible(P);
}
template <EPane P>
ECmd TogglePane(CCommandContext& ctx) {
    ctx.host.SetPaneVisible(P, !ctx.host.PaneVisible(P));
    return ECmd::Done;
}
template <EPrintJob J>
ECmd Print(CCommandContext& ctx) {
    ctx.host.Print(J);
    return ECmd::Done;
}
template <ECmd (*F)(Czor2Doc&)>
ECmd OnDoc(CCommandContext& ctx) {
    return F(ctx.doc);
}
template <EAlign A, EAlignTarget T>
ECmd AlignTo(CCommandContext& ctx) {
    return Align(ctx.doc, A, T);
}
template <EAlignTarget T>
ECmd DistributeDown(CCommandContext& ctx) {
    return DistributeVertically(ctx.doc, T);
}
template <EAlignTarget T>
ECmd DistributeAcross(CCommandContext& ctx) {
    return DistributeHorizontally(ctx.doc, T);
}
template <ESameSize S>
ECmd SameSize(CCommandContext& ctx) {
    return MakeGraphicsSameSize(ctx.doc, S);
}
template <int32_t Step>
ECmd StepFont(CCommandContext& ctx) {
    return StepGraphicFontSize(ctx.doc, Step);
}
template <ECmd (*F)(Czor2Doc&, int32_t)>
ECmd OnFirstGraphic(CCommandContext& ctx) {
    const CGraphic* g = FirstSelectedGraphic(ctx.doc);
    return g ? F(ctx.doc, g->m_id) : ECmd::Unavailable;
}
/// Deletes every selected graphic, each with its own confirmation.
ECmd DeleteSelectedGraphics(CCommandContext& ctx) {
    ECmd last = ECmd::Unavailable;
    for (int32_t id : std::vector<int32_t>(ctx.doc.Editor().m_graphics)) last = DeleteGraphic(ctx.doc, id);
    return last;
}

// Colours through the host's chooser.
template <EChartColour W>
ECmd PickChartColour(CCommandContext& ctx) {
    const auto c = ctx.host.ChooseColour(ChartColour(ctx.doc, W));
    return c ? SetChartColour(ctx.doc, W, *c) : ECmd::Cancelled;
}
ECmd PickGraphicBackground(CCommandContext& ctx) {
    const CGraphic* g = FirstSelectedGraphic(ctx.doc);
    if (!g) return ECmd::Unavailable;
    const auto c = ctx.host.ChooseColour(g->m_background);
    return c ? SetGraphicField(ctx.doc, EGraphicField::Background, *c) : ECmd::Cancelled;
}
ECmd PickValueWindowBackground(CCommandContext& ctx) {
    const CValueWindow* v = FirstSelectedValueWindow(ctx.doc);
    if (!v) return ECmd::Unavailable;
    const auto c = ctx.host.ChooseColour(v->m_background);
    return c ? SetValueWindowField(ctx.doc, EValueWindowField::Background, *c) : ECmd::Cancelled;
}
template <int32_t CViewOptions::*M>
ECmd PickViewColour(CCommandContext& ctx) {
    int32_t& colour = ctx.doc.Editor().m_options.*M;
    const auto c = ctx.host.ChooseColour(colour);
    if (!c) return ECmd::Cancelled;
    colour = *c;
    return ECmd::Done;
}

// The simulator.
template <bool (CSimController::*F)()>
ECmd Simulate(CCommandContext& ctx) {
    return Outcome(ctx.sim && (ctx.sim->*F)());
}
template <void (CSimController::*F)()>
ECmd Step(CCommandContext& ctx) {
    if (!ctx.sim) return ECmd::Unavailable;
    (ctx.sim->*F)();
    return ECmd::Done;
}
ECmd TogglePreventRender(CCommandContext& ctx) {
    if (!ctx.sim) return ECmd::Unavailable;
    ctx.sim->m_preventRender = !ctx.sim->m_preventRender;
    return ECmd::Done;
}
ECmd ToggleBehaviorsRun(CCommandContext& ctx) {
    ToggleBehaviors(ctx.doc);
    return ECmd::Done;
}
ECmd ToggleLink(CCommandContext& ctx) {
    if (!ctx.link) return ECmd::Unavailable;
    ctx.link->ToggleEnabled();
    return ECmd::Done;
}

// The window: requests without an answer.
template <void (ICommandHost::*F)()>
ECmd AskHost(CCommandContext& ctx) {
    (ctx.host.*F)();
    return ECmd::Done;
}
bool CanPaste(const CCommandContext& ctx) {
    return !SimActive(ctx) && ctx.host.ClipboardHoldsItems();
}
template <ECmd (*F)(Czor2Doc&, CProjectClipboard&)>
ECmd CopyOut(CCommandContext& ctx) {
    CProjectClipboard clipboard;
    const ECmd r = F(ctx.doc, clipboard);
    if (r == ECmd::Done) ctx.host.PutOnClipboard(clipboard.bytes);
    return r;
}
/// Pasted at the mouse when the host knows where it is, else just inside the view's origin.
ECmd Paste(CCommandContext& ctx) {
    CProjectClipboard clipboard{ctx.host.ClipboardBytes()};
    int32_t x = kDuplicateOffset, y = kDuplicateOffset;
    ctx.host.PastePoint(x, y);
    return PasteClipboard(ctx.doc, clipboard, x, y);
}

ECmd Undo(CCommandContext& ctx) {
    return Outcome(ctx.doc.UndoChange());
}
ECmd Redo(CCommandContext& ctx) {
    return Outcome(ctx.doc.RedoChange());
}
ECmd DesignModule(CCommandContext& ctx) {
    CNetwork* m = Current(ctx);
    if (!m || DesignSelectedModule(ctx.doc) != ECmd::Done) return ECmd::Unavailable;
    ctx.host.ShowModule(*m);
    return ECmd::Done;
}
/// "Select All": every component of the designed module a graphic does not hide.
ECmd SelectAllShown(CCommandContext& ctx) {
    CNetwork* m = Designed(ctx);
    if (!m) return ECmd::Unavailable;
    std::vector<int32_t> ids;
    for (const CNetworkModel* c : m->m_components)
        if (c->m_graphicId == 0) ids.push_back(c->m_id);
    ctx.doc.Editor().ClearSelection();
    ctx.doc.Editor().SelectComponents(std::move(ids));
    return ECmd::Done;
}
/// A new graphic centred in the visible part of the view.
ECmd AddGraphicInView(CCommandContext& ctx) {
    const CRect& v = ctx.doc.Editor().m_visible;
    return AddGraphic(ctx.doc, (v.left + v.right) / 2 - 100, (v.top + v.bottom) / 2 - 50);
}
ECmd RestoreColours(CCommandContext& ctx) {
    CViewOptions& o = ctx.doc.Editor().m_options;
    o.backgroundColour = CViewOptions{}.backgroundColour;
    o.gridColour = CViewOptions{}.gridColour;
    return ECmd::Done;
}
template <bool Build, bool Execution, bool Results>
ECmd ClearFeedback(CCommandContext& ctx) {
    CFeedback& f = ctx.doc.System().Feedback();
    if (Build) f.build.Clear();
    if (Execution) f.execution.Clear();
    if (Results) f.results.Clear();
    return ECmd::Done;
}

// Chart scale and value window texts from the ribbon's fields.
ECmd ApplyScaleFields(CCommandContext& ctx) {
    // A field that does not read as a number reaches the command as NaN, which it refuses.
    auto number = [&ctx](int field) {
        const std::string text = ctx.host.FieldText(field);
        char* end = nullptr;
        const double v = std::strtod(text.c_str(), &end);
        while (end && (*end == ' ' || *end == '\t')) ++end;
        return end != text.c_str() && end && *end == '\0' ? v : std::nan("");
    };
    return ApplyChartScale(ctx.doc, CChartScale{number(kCmdChartMin), number(kCmdChartMax),
                                                number(kCmdChartMajor), number(kCmdChartMinor)});
}
ECmd UpdateSuffix(CCommandContext& ctx) {
    return SetValueWindowText(ctx.doc, EValueWindowText::Suffix, ctx.host.FieldText(kCmdValueSuffix));
}

// Commands that open a dialog first.
ECmd AddSystemInputDialog(CCommandContext& ctx) {
    CSystemInputData data;
    if (!ctx.host.EditSystemInput("Add System Input", data, 0)) return ECmd::Cancelled;
    return AddSystemInput(ctx.doc, data);
}
ECmd AddSystemOutputDialog(CCommandContext& ctx) {
    CSystemOutputData data;
    if (!ctx.host.EditSystemOutput("Add System Output", data)) return ECmd::Cancelled;
    return AddSystemOutput(ctx.doc, data);
}
template <ECmd (*Add)(Czor2Doc&, const std::string&)>
ECmd AddCategoryDialog(CCommandContext& ctx) {
    std::string name = kDefaultCategoryName, description;
    if (!ctx.host.EditNameDescription("Category", name, description)) return ECmd::Cancelled;
    return Add(ctx.doc, name);
}
template <bool Inputs>
ECmd EditCategoryDialog(CCommandContext& ctx) {
    const CSystem& s = ctx.doc.System();
    const int32_t id = ctx.doc.Editor().m_objectId;
    std::string name;
    if constexpr (Inputs) {
        if (const CExternalInputCategory* c = s.m_inputCategories.Find(id)) name = c->m_name;
    } else if (const CExternalOutputCategory* c = s.m_outputCategories.Find(id)) {
        name = c->m_name;
    }
    if (!ctx.host.EditCategory(name)) return ECmd::Cancelled;
    return Inputs ? EditInputCategory(ctx.doc, name) : EditOutputCategory(ctx.doc, name);
}
template <ECmd (*Import)(Czor2Doc&, const std::string&), EPathKind K>
ECmd ImportDialog(CCommandContext& ctx) {
    const std::string path = ctx.host.ChooseOpenPath(K);
    return path.empty() ? ECmd::Cancelled : Import(ctx.doc, path);
}
ECmd ExportModuleDialog(CCommandContext& ctx) {
    const CNetwork* m = Current(ctx);
    if (!m) return ECmd::Unavailable;
    const std::string path = ctx.host.ChooseSavePath(EPathKind::Module, m->m_name);
    return path.empty() ? ECmd::Cancelled : ExportModule(ctx.doc, path);
}
ECmd AddBehaviorDialog(CCommandContext& ctx) {
    const CExternalInput* input = ctx.doc.Editor().SelectedSystemInput(ctx.doc.System());
    if (!input) return ECmd::Unavailable;
    CBehaviorData data = NewBehaviorData(ctx.doc.System(), input->m_id);
    if (!ctx.host.EditBehavior(input->m_name, data)) return ECmd::Cancelled;
    return AddBehavior(ctx.doc, data);
}
ECmd AddDataConnectionDialog(CCommandContext& ctx) {
    const CNetwork* m = Current(ctx);
    if (!m) return ECmd::Unavailable;
    CDataConnectionRequest request;
    if (!ctx.host.AskDataConnection(*m, request)) return ECmd::Cancelled;
    return AddDataConnection(ctx.doc, request);
}
ECmd EraseAsking(CCommandContext& ctx) {
    return EraseKnowledge(ctx.doc, true);
}
ECmd ProjectInfo(CCommandContext& ctx) {
    std::string description = ctx.doc.System().m_description;
    if (!ctx.host.EditProjectInfo(description)) return ECmd::Cancelled;
    return SetProjectDescription(ctx.doc, description);
}

// The object dialogs of the selection.
ECmd EditSelectedSystemInput(CCommandContext& ctx) {
    CExternalInput* p = ctx.doc.Editor().SelectedSystemInput(ctx.doc.System());
    return p ? EditObject(ctx, {.kind = EHit::SystemInput, .systemInput = p}) : ECmd::Unavailable;
}
ECmd EditSelectedSystemOutput(CCommandContext& ctx) {
    CExternalOutput* q = ctx.doc.Editor().SelectedSystemOutput(ctx.doc.System());
    return q ? EditObject(ctx, {.kind = EHit::SystemOutput, .systemOutput = q}) : ECmd::Unavailable;
}
ECmd EditSelectedModuleInput(CCommandContext& ctx) {
    CNetworkInput* in = ctx.doc.Editor().SelectedModuleInput(ctx.doc.System());
    return in ? EditObject(ctx, {.kind = EHit::ModInput, .module = in->m_owner, .moduleInput = in})
              : ECmd::Unavailable;
}
ECmd EditSelectedModuleOutput(CCommandContext& ctx) {
    CNetworkOutput* out = ctx.doc.Editor().SelectedModuleOutput(ctx.doc.System());
    return out ? EditObject(ctx, {.kind = EHit::ModOutput, .module = out->m_owner, .moduleOutput = out})
               : ECmd::Unavailable;
}
ECmd EditSelectedComponentInput(CCommandContext& ctx) {
    CModelInput* in = ctx.doc.Editor().SelectedComponentInput(ctx.doc.System());
    return in ? EditObject(ctx, {.kind = EHit::ComponentInput,
                                 .module = Designed(ctx),
                                 .component = in->m_owner,
                                 .input = in})
              : ECmd::Unavailable;
}
ECmd EditSelectedComponentOutput(CCommandContext& ctx) {
    CModelOutput* out = ctx.doc.Editor().SelectedComponentOutput(ctx.doc.System());
    return out ? EditObject(ctx, {.kind = EHit::ComponentOutput,
                                  .module = Designed(ctx),
                                  .component = out->m_owner,
                                  .output = out})
               : ECmd::Unavailable;
}
ECmd EditCurrentModule(CCommandContext& ctx) {
    CNetwork* m = Current(ctx);
    return m ? EditObject(ctx, {.kind = EHit::Module, .module = m}) : ECmd::Unavailable;
}
ECmd EditSelectedComponent(CCommandContext& ctx) {
    CNetworkModel* c = ctx.doc.Editor().SelectedComponent(ctx.doc.System());
    return c ? EditObject(ctx, {.kind = EHit::Component, .module = Designed(ctx), .component = c})
             : ECmd::Unavailable;
}

using enum ENeed;
constexpr CommandRun kNone = nullptr;
constexpr CommandRule kAlways = nullptr;

constexpr CCommand kCommands[] = {
    // Files and the application.
    {kCmdFileNew, "ID_FILE_NEW", None, NewProject, kAlways, nullptr},
    {kCmdFileOpen, "ID_FILE_OPEN", None, OpenProject, kAlways, nullptr},
    {kCmdFileSave, "ID_FILE_SAVE", None, SaveProject, kAlways, nullptr},
    {kCmdFileSaveAs, "ID_FILE_SAVE_AS", None, SaveProjectAs, kAlways, nullptr},
    {kCmdFilePrint, "ID_FILE_PRINT", None, Print<EPrintJob::Print>, kAlways, nullptr},
    {kCmdFilePrintDirect, "ID_FILE_PRINT_DIRECT", None, Print<EPrintJob::QuickPrint>, kAlways, nullptr},
    {kCmdFilePrintPreview, "ID_FILE_PRINT_PREVIEW", None, Print<EPrintJob::Preview>, kAlways, nullptr},
    {kCmdFilePrintSetup, "ID_FILE_PRINT_SETUP", None, Print<EPrintJob::Setup>, kAlways, nullptr},
    {kCmdAppExit, "ID_APP_EXIT", None, AskHost<&ICommandHost::Close>, kAlways, nullptr},
    {kCmdAppAbout, "ID_APP_ABOUT", None, AskHost<&ICommandHost::About>, kAlways, nullptr},
    {kCmdExit, "ID_BUTTON_EXIT", None, AskHost<&ICommandHost::Close>, kAlways, nullptr},
    {kCmdNewProject, "ID_BUTTON_NEWPROJECT", None, NewProject, kAlways, nullptr},
    {kCmdOpen, "ID_BUTTON_OPEN", None, OpenProject, kAlways, nullptr},
    {kCmdSave, "ID_BUTTON_SAVE", None, SaveProject, kAlways, nullptr},
    {kCmdSaveAs, "ID_BUTTON_SAVEAS", None, SaveProjectAs, kAlways, nullptr},
    {kCmdProjectInfo, "ID_BUTTON_PROJECTSETTINGS", None, ProjectInfo, kAlways, nullptr},
    {kCmdAppOptions, "ID_BUTTON_APPLICATION_OPTIONS", None, AskHost<&ICommandHost::EditOptions>, kAlways,
     nullptr},
    {kCmdExportRuntime, "ID_BUTTON_EXPORTRUNTIME", None, ExportRuntimeSystem, kAlways, nullptr},
    {kCmdVerifyRuntime, "ID_BUTTON_VERIFYRUNTIME", None, VerifyRuntimeEquivalence, kAlways, nullptr},
    {kCmdEnableRealtime, "ID_BUTTON_ENABLE_REALTIMEDATAFLOW", None, ToggleLink, LinkBound, LinkEnabled},
    {kCmdWelcome, "ID_BUTTON_WELCOMESCREEN", None, AskHost<&ICommandHost::ShowWelcome>, kAlways, nullptr},
    {kCmdUndo, "ID_BUTTON_UNDO", None, Undo, CanUndo, nullptr},
    {kCmdRedo, "ID_BUTTON_REDO", None, Redo, CanRedo, nullptr},
    {kCmdCopy, "ID_BUTTON_COPY", Selection, CopyOut<CopySelection>, kAlways, nullptr},
    {kCmdCut, "ID_BUTTON_CUT", Selection, CopyOut<CutSelection>, SimIdle, nullptr},
    {kCmdPaste, "ID_BUTTON_PASTE", None, Paste, CanPaste, nullptr},
    {kCmdDuplicate, "ID_BUTTON_DUPLICATE", Selection, OnDoc<DuplicateSelection>, SimIdle, nullptr},
    // System inputs and outputs.
    {kCmdAddSystemInput, "ID_BUTTON_ADDEXTERNALINPUT", SystemView, AddSystemInputDialog, kAlways, nullptr},
    {kCmdEditSystemInput, "ID_BUTTON_EDIT_SYSTEMINPUT", SystemInput, EditSelectedSystemInput, kAlways,
     nullptr},
    {kCmdDeleteSystemInput, "ID_BUTTON_DELETE_SYSTEMINPUT", SystemInput, OnDoc<DeleteSystemInput>, kAlways,
     nullptr},
    {kCmdImportInputs, "ID_BUTTON_IMPORT_EXTINPUTS", SystemView,
     ImportDialog<ImportSystemInputs, EPathKind::Csv>, kAlways, nullptr},
    {kCmdAddInputCategory, "ID_BUTTON_ADDINPUTCATEGORY", SystemView, AddCategoryDialog<AddInputCategory>,
     kAlways, nullptr},
    {kCmdEditInputCategory, "ID_BUTTON_INPUTCATEGORY_EDIT", InputCategory, EditCategoryDialog<true>, kAlways,
     nullptr},
    {32959, "ID_CHECK_INPUTCAT_DETAIL", SystemView, ToggleSwitch<EViewSwitch::InputCategoryDetail>, kAlways,
     SwitchOn<EViewSwitch::InputCategoryDetail>},
    {kCmdAddBehavior, "ID_BUTTON_ADDBEHAVIOR", SystemInput, AddBehaviorDialog, kAlways, nullptr},
    {33039, "ID_BUTTON_DELETEBEHAVIORS", SystemInput, OnDoc<DeleteInputBehaviors>, kAlways, nullptr},
    {kCmdResetInput, "ID_BUTTON_RESETINPUT", None, OnDoc<ResetInputValue>, CanReset, nullptr},
    {kCmdAddSystemOutput, "ID_BUTTON_ADDEXTERNALOUTPUT", SystemView, AddSystemOutputDialog, kAlways, nullptr},
    {kCmdEditSystemOutput, "ID_BUTTON_EDIT_SYSTEMOUTPUT", SystemOutput, EditSelectedSystemOutput, kAlways,
     nullptr},
    {kCmdDeleteSystemOutput, "ID_BUTTON_DELETE_SYSTEMOUTPUT", SystemOutput, OnDoc<DeleteSystemOutput>,
     kAlways, nullptr},
    {kCmdImportOutputs, "ID_BUTTON_IMPORT_EXTOUTPUTS", SystemView,
     ImportDialog<ImportSystemOutputs, EPathKind::Csv>, kAlways, nullptr},
    {kCmdAddOutputCategory, "ID_BUTTON_ADDOUTPUTCATEGORY", SystemView, AddCategoryDialog<AddOutputCategory>,
     kAlways, nullptr},
    {kCmdEditOutputCategory, "ID_BUTTON_OUTPUTCATEGORY_EDIT", OutputCategory, EditCategoryDialog<false>,
     kAlways, nullptr},
    {32885, "ID_CHECK_OUTPUTCAT_DETAIL", SystemView, ToggleSwitch<EViewSwitch::OutputCategoryDetail>, kAlways,
     SwitchOn<EViewSwitch::OutputCategoryDetail>},
    // Modules.
    {kCmdAddModule, "ID_BUTTON_ADDMODULE", SystemView, OnDoc<AddModule>, kAlways, nullptr},
    {kCmdImportModule, "ID_BUTTON_IMPORTNETWORK", None, ImportDialog<ImportModule, EPathKind::Module>,
     kAlways, nullptr},
    {kCmdExportModule, "ID_BUTTON_SAVEMODULE", Module, ExportModuleDialog, kAlways, nullptr},
    {kCmdModuleProperties, "ID_BUTTON_MODULEPROPERTIES", Module, EditCurrentModule, kAlways, nullptr},
    {kCmdDeleteModule, "ID_BUTTON_DELETEMODULE", Module, OnDoc<DeleteModule>, kAlways, nullptr},
    {kCmdDesignModule, "ID_BUTTON_VIEWMODULE", Module, DesignModule, InSystemView, nullptr},
    {kCmdModuleAddInput, "ID_BUTTON_MODULE_ADDINPUT", Module,
     [](CCommandContext& ctx) { return AddModuleInput(ctx.doc); }, kAlways, nullptr},
    {kCmdModuleAddOutput, "ID_BUTTON_MODULE_ADDOUTPUT", Module,
     [](CCommandContext& ctx) { return AddModuleOutput(ctx.doc); }, kAlways, nullptr},
    {kCmdModuleShowValues, "ID_CHECK_MODULE_SHOWVALUES", None, ToggleOption<&CViewOptions::showModuleValues>,
     kAlways, OptionOn<&CViewOptions::showModuleValues>},
    {kCmdModuleExposeInputs, "ID_BUTTON_MODULE_EXPOSEINPUTS", Module,
     [](CCommandContext& ctx) { return ExposeModuleInputs(ctx.doc); }, kAlways, nullptr},
    {kCmdModuleExposeOutputs, "ID_BUTTON_MODULE_EXPOSEOUTPUTS", Module,
     [](CCommandContext& ctx) { return ExposeModuleOutputs(ctx.doc); }, kAlways, nullptr},
    {kCmdAddDataConnection, "ID_BUTTON_ADD_CONNECTION_IN", Module, AddDataConnectionDialog, kAlways, nullptr},
    {kCmdRemoveIncoming, "ID_BUTTON_NETWORK_REMOVE_INCONNECTIONS", ModuleInputs,
     OnDoc<RemoveIncomingConnections>, kAlways, nullptr},
    {kCmdRemoveOutgoing, "ID_BUTTON_NETWORK_DELETE_OUTCONNECTIONS", ModuleOutputs,
     OnDoc<RemoveOutgoingConnections>, kAlways, nullptr},
    {kCmdModuleExecute, "ID_BUTTON_MODULEEXECUTE", Module, OnDoc<ExecuteModule>, kAlways, nullptr},
    {kCmdModuleEditInput, "ID_BUTTON_MODULE_EDITINPUT", ModuleInput, EditSelectedModuleInput, kAlways,
     nullptr},
    {kCmdModuleDeleteInput, "ID_BUTTON_MODULE_DELETEINPUT", ModuleInputs, OnDoc<DeleteModuleInput>, kAlways,
     nullptr},
    {kCmdDisconnectModuleInputsInside, "ID_BUTTON_MODULE_DELETESELECTEDINPUTCONNS", ModuleInputs,
     OnDoc<RemoveInternalInputConnections>, kAlways, nullptr},
    {32966, "ID_BTN_NETWORK_DELETE_INTERNALINPUTCONNS", ModuleInputs, OnDoc<RemoveIncomingConnections>,
     kAlways, nullptr},
    {kCmdModuleEditOutput, "ID_BUTTON_MODULE_EDITOUTPUT", ModuleOutput, EditSelectedModuleOutput, kAlways,
     nullptr},
    {kCmdModuleDeleteOutput, "ID_BUTTON_MODULE_DELETEOUTPUT", ModuleOutputs, OnDoc<DeleteModuleOutput>,
     kAlways, nullptr},
    {kCmdDisconnectModuleOutputInside, "ID_BUTTON_MODULE_DELSECTEDOUTPUTCONNS", ModuleOutputs,
     OnDoc<RemoveInternalOutputConnection>, kAlways, nullptr},
    {32968, "ID_BTN_NETWORK_DELETE_INTERNALOUTPUTCONNS", ModuleOutputs, OnDoc<RemoveOutgoingConnections>,
     kAlways, nullptr},
    {32888, "ID_BUTTON_ADDGRAPHIC", ModuleView, AddGraphicInView, kAlways, nullptr},
    {kCmdSelectAll, "ID_BUTTON_SELECTALLCOMPONENTS", ModuleView, SelectAllShown, kAlways, nullptr},
    {kCmdCenterView, "ID_BUTTON_CENTERVIEW", None, AskHost<&ICommandHost::CenterView>, kAlways, nullptr},
    {33151, "ID_BUTTON_REDUCEALL", ModuleView, OnDoc<ReduceAllComponents>, kAlways, nullptr},
    {33152, "ID_BUTTON_EXPANDALL", ModuleView, OnDoc<ExpandAllComponents>, kAlways, nullptr},
    {kCmdShowModuleInputs, "ID_CHECK_SHOWMODULEINPUTS", ModuleView,
     ToggleOption<&CViewOptions::showModuleInputsBar>, kAlways, OptionOn<&CViewOptions::showModuleInputsBar>},
    {kCmdShowModuleOutputs, "ID_CHECK_SHOWMODULEOUTPUTS", ModuleView,
     ToggleOption<&CViewOptions::showModuleOutputsBar>, kAlways,
     OptionOn<&CViewOptions::showModuleOutputsBar>},
    // Components.
    {32908, "ID_BUTTON_ADDMODELINPUT", Component, OnDoc<AddComponentInput>, kAlways, nullptr},
    {32960, "ID_BUTTON_EDITMODELINPUT", ComponentInput, EditSelectedComponentInput, kAlways, nullptr},
    {kCmdDisconnectComponentInput, "ID_BUTTON_REMOVEMODEL_INPUTCONNECTION", ComponentInput,
     OnDoc<DisconnectComponentInput>, kAlways, nullptr},
    {32946, "ID_BUTTON_DELETE_MODELINPUT", ComponentInput, OnDoc<DeleteComponentInput>, kAlways, nullptr},
    {33008, "ID_BUTTON_EXPOSEINPUT", ComponentInput, OnDoc<ExposeComponentInput>, kAlways, nullptr},
    {kCmdExposeAllInputs, "ID_BUTTON_EXPOSEALLINPUTS", Component, OnDoc<ExposeAllComponentInputs>, kAlways,
     nullptr},
    {kCmdComponentProperties, "ID_BUTTON_MODELPROPERTIES", Component, EditSelectedComponent, SimIdle,
     nullptr},
    {32894, "ID_BUTTON_REMOVE_ALLCONNECTIONS", Component, OnDoc<RemoveAllConnections>, kAlways, nullptr},
    {kCmdDeleteAllInputs, "ID_BUTTON_MODEL_DELETEALLINPUTS", Component, OnDoc<DeleteAllInputs>, kAlways,
     nullptr},
    {kCmdDeleteAllOutputs, "ID_BUTTON_MODEL_DELETEALLOUTPUTS", Component, OnDoc<DeleteAllOutputs>, kAlways,
     nullptr},
    {kCmdDeleteComponent, "ID_BUTTON_MODEL_DELETE", Component, OnDoc<DeleteComponent>, kAlways, nullptr},
    {32909, "ID_BUTTON_ADDMODELOUTPUT", Component, OnDoc<AddComponentOutput>, kAlways, nullptr},
    {32943, "ID_BUTTON_EDITMODELOUTPUT", ComponentOutput, EditSelectedComponentOutput, kAlways, nullptr},
    {kCmdShowValueWindow, "ID_BUTTON_SHOWVALUE", ComponentOutput, OnDoc<ShowValueWindow>, kAlways, nullptr},
    {kCmdShowChart, "ID_BUTTON_SHOWGRAPH", ComponentOutput, OnDoc<ShowChart>, kAlways, nullptr},
    {kCmdDisconnectComponentOutput, "ID_BUTTON_REMOVEMODEL_OUTPUTCONNECTION", ComponentOutput,
     OnDoc<DisconnectComponentOutput>, kAlways, nullptr},
    {kCmdDeleteComponentOutput, "ID_BUTTON_DELETE_MODELOUTPUT", ComponentOutput, OnDoc<DeleteComponentOutput>,
     kAlways, nullptr},
    {kCmdExposeComponentOutput, "ID_BUTTON_EXPOSEMODELOUTPUT", ComponentOutput, OnDoc<ExposeComponentOutput>,
     kAlways, nullptr},
    {kCmdExposeAllOutputs, "ID_BUTTON_EXPOSEALLMODELOUTPUTS", Component, OnDoc<ExposeAllComponentOutputs>,
     kAlways, nullptr},
    {33149, "ID_BUTTON_MODELREDUCE", Components, OnDoc<ReduceSelectedComponents>, kAlways, nullptr},
    {33150, "ID_BUTTON_MODELEXPAND", Components, OnDoc<ExpandSelectedComponents>, kAlways, nullptr},
    {32876, "ID_BUTTON_ALIGNLEFT", Selection, AlignTo<EAlign::Left, EAlignTarget::Selection>, kAlways,
     nullptr},
    {32877, "ID_BUTTON_ALIGNRIGHT", Selection, AlignTo<EAlign::Right, EAlignTarget::Selection>, kAlways,
     nullptr},
    {32878, "ID_BUTTON_ALIGNTOP", Selection, AlignTo<EAlign::Top, EAlignTarget::Selection>, kAlways, nullptr},
    {32879, "ID_BUTTON_ALIGNBOTTOM", Selection, AlignTo<EAlign::Bottom, EAlignTarget::Selection>, kAlways,
     nullptr},
    {32880, "ID_BUTTON_ALIGNVERTICAL", Selection, AlignTo<EAlign::Vertical, EAlignTarget::Selection>, kAlways,
     nullptr},
    {32881, "ID_BUTTON_ALIGNHORZ", Selection, AlignTo<EAlign::Horizontal, EAlignTarget::Selection>, kAlways,
     nullptr},
    {32882, "ID_BUTTON_DISTRIBUTEVERT", Selection, DistributeDown<EAlignTarget::Selection>, kAlways, nullptr},
    {32883, "ID_BUTTON_DISTRIBUTEHORZ", Selection, DistributeAcross<EAlignTarget::Selection>, kAlways,
     nullptr},
    // Simulation.
    {kCmdRun, "ID_BUTTON_RUN", None, Simulate<&CSimController::Run>, CanRun, nullptr},
    {kCmdStop, "ID_BUTTON_STOP", None, Simulate<&CSimController::Stop>, CanStop, nullptr},
    {kCmdPause, "ID_BUTTON_SIMPAUSE", None, Simulate<&CSimController::Pause>, CanPause, nullptr},
    {kCmdRunOnce, "ID_BUTTON_RUNONCE", None, Step<&CSimController::RunOnce>, HasSimulator, nullptr},
    {kCmdRunStep, "ID_BUTTON_RUNSTEP", None, Step<&CSimController::RunStep>, HasSimulator, nullptr},
    {kCmdReset, "ID_BUTTON_RESET", None, Step<&CSimController::Reset>, HasSimulator, nullptr},
    {kCmdRate, "ID_SPIN_FRAMESPERSECOND", None, kNone, HasSimulator, nullptr},
    {kCmdPreventRender, "ID_CHECK_SIMRENDER", None, TogglePreventRender, HasSimulator, PreventRender},
    {33189, "ID_CHECK_SHOWACTIVEOUTPUTS", None, ToggleSwitch<EViewSwitch::HighlightActiveOutputs>, kAlways,
     SwitchOn<EViewSwitch::HighlightActiveOutputs>},
    {kCmdEnableBehaviors, "ID_CHECK_ENABLESIMBEHAVIORS", None, ToggleBehaviorsRun, kAlways, BehaviorsEnabled},
    {kCmdViewBehaviors, "ID_BUTTON_VIEWBEHAVIORS", Behaviors, AskHost<&ICommandHost::ShowBehaviors>, kAlways,
     nullptr},
    {kCmdDeleteAllBehaviors, "ID_BUTTON_DELETEALLBEHAVIORS", Behaviors, OnDoc<DeleteAllBehaviors>, kAlways,
     nullptr},
    // Background graphics.
    {33051, "ID_BUTTON_GRAPHIC_TEXT_LEFT", Graphics, SetGraphic<EGraphicField::AlignH, 0>, kAlways, nullptr},
    {33052, "ID_BUTTON_GRAPHIC_TEXT_HCENTER", Graphics, SetGraphic<EGraphicField::AlignH, 1>, kAlways,
     nullptr},
    {33053, "ID_BUTTON_GRAPHIC_TEXT_RIGHT", Graphics, SetGraphic<EGraphicField::AlignH, 2>, kAlways, nullptr},
    {33054, "ID_BUTTON_GRAPHIC_TEXT_TOP", Graphics, SetGraphic<EGraphicField::AlignV, 0>, kAlways, nullptr},
    {33055, "ID_BUTTON_GRAPHIC_TEXT_VCENTER", Graphics, SetGraphic<EGraphicField::AlignV, 1>, kAlways,
     nullptr},
    {33056, "ID_BUTTON_GRAPHIC_TEXT_BOTTOM", Graphics, SetGraphic<EGraphicField::AlignV, 2>, kAlways,
     nullptr},
    {33057, "ID_COMBO_FONT", Graphics, kNone, kAlways, nullptr},
    {33068, "ID_CHECK_BOLDTEXT", Graphics, ToggleGraphic<EGraphicField::Bold>, kAlways,
     GraphicOn<EGraphicField::Bold>},
    {33059, "ID_BUTTON_GRAPHICFONT_INC", Graphics, StepFont<1>, kAlways, nullptr},
    {33058, "ID_BUTTON_GRAPHICFONT_DEC", Graphics, StepFont<-1>, kAlways, nullptr},
    {33097, "ID_BUTTON_GRAPHICDELETETEXT", Graphics, OnDoc<ClearGraphicText>, kAlways, nullptr},
    {33049, "ID_BTN_GRAPHIC_DELETE", Graphics, DeleteSelectedGraphics, kAlways, nullptr},
    {33063, "ID_BUTTON_GRAPHIC_TRANS", Graphics, ToggleGraphic<EGraphicField::Transparent>, kAlways,
     GraphicOn<EGraphicField::Transparent>},
    {32938, "ID_BUTTON_CLR_GRAPHIC_BACK", Graphics, PickGraphicBackground, kAlways, nullptr},
    {33080, "ID_CHECK_GRAPHIC3D", Graphics, ToggleGraphic<EGraphicField::Edges3d>, kAlways,
     GraphicOn<EGraphicField::Edges3d>},
    {33067, "ID_CHECK_OUTLINE", Graphics, ToggleGraphic<EGraphicField::Outline>, kAlways,
     GraphicOn<EGraphicField::Outline>},
    {33096, "ID_SPIN_LINEWIDTH_GRAPHICS", Graphics, kNone, kAlways, nullptr},
    {33079, "ID_BUTTON_GRAPHICCONSOLIDATE", Graphics, OnFirstGraphic<ConsolidateComponents>, kAlways,
     nullptr},
    {33072, "ID_BUTTON_GRAPHICSHOWCOMPS", Graphics, OnFirstGraphic<ReleaseComponents>, kAlways, nullptr},
    {33146, "ID_CHECK_SHOWCOMPCOUNT", ModuleView, ToggleSwitch<EViewSwitch::GraphicCount>, kAlways,
     SwitchOn<EViewSwitch::GraphicCount>},
    {33145, "ID_BUTTON_GRAPHIC_ALIGNLEFT", Graphics, AlignTo<EAlign::Left, EAlignTarget::Graphics>, kAlways,
     nullptr},
    {33137, "ID_BUTTON_GRAPHIC_ALIGNRIGHT", Graphics, AlignTo<EAlign::Right, EAlignTarget::Graphics>, kAlways,
     nullptr},
    {33138, "ID_BUTTON_GRAPHIC_ALIGNTOP", Graphics, AlignTo<EAlign::Top, EAlignTarget::Graphics>, kAlways,
     nullptr},
    {33139, "ID_BUTTON_GRAPHIC_ALIGNBOTTOM", Graphics, AlignTo<EAlign::Bottom, EAlignTarget::Graphics>,
     kAlways, nullptr},
    {33065, "ID_BUTTON_GRAPHIC_ALIGNCENTERV", Graphics, AlignTo<EAlign::Vertical, EAlignTarget::Graphics>,
     kAlways, nullptr},
    {33066, "ID_BUTTON_GRAPHIC_ALIGNCENTERH", Graphics, AlignTo<EAlign::Horizontal, EAlignTarget::Graphics>,
     kAlways, nullptr},
    {33140, "ID_BUTTON_GRAPHIC_DISTVERT", TwoGraphics, DistributeDown<EAlignTarget::Graphics>, kAlways,
     nullptr},
    {33141, "ID_BUTTON_GRAPHIC_DISTHORZ", TwoGraphics, DistributeAcross<EAlignTarget::Graphics>, kAlways,
     nullptr},
    {33142, "ID_BUTTON_GRAPHIC_SAMEWIDTH", TwoGraphics, SameSize<ESameSize::Width>, kAlways, nullptr},
    {33143, "ID_BUTTON_GRAPHIC_SAMEHEIGHT", TwoGraphics, SameSize<ESameSize::Height>, kAlways, nullptr},
    {33144, "ID_BUTTON_GRAPHIC_SAMESIZE", TwoGraphics, SameSize<ESameSize::Size>, kAlways, nullptr},
    // Charts.
    {33042, "ID_BUTTON_CHARTDELETE", Charts, OnDoc<DeleteSelectedCharts>, kAlways, nullptr},
    {33046, "ID_BUTTON_CHARTSDELETEALL", ChartsShown, OnDoc<DeleteAllCharts>, kAlways, nullptr},
    {33081, "ID_CHECK_GRAPHCONNECTORS", None, ToggleSwitch<EViewSwitch::ChartConnectors>, kAlways,
     SwitchOn<EViewSwitch::ChartConnectors>},
    {33030, "ID_BUTTON_COLORCHART_BACK", None, PickChartColour<EChartColour::Background>, kAlways, nullptr},
    {33031, "ID_BUTTON_COLORCHART_DATA", None, PickChartColour<EChartColour::Data>, kAlways, nullptr},
    {33032, "ID_BUTTON_COLORCHART_GRID", None, PickChartColour<EChartColour::Grid>, kAlways, nullptr},
    {33020, "ID_CHECK_CHART_AUTOSCALE", Charts, ToggleChart<EChartField::AutoScale>, kAlways,
     ChartOn<EChartField::AutoScale>},
    {kCmdChartMax, "ID_EDIT_CHARTMAX", Charts, kNone, kAlways, nullptr},
    {kCmdChartMin, "ID_EDIT_CHARTMIN", Charts, kNone, kAlways, nullptr},
    {kCmdChartMajor, "ID_EDIT_MAJORINC", Charts, kNone, kAlways, nullptr},
    {kCmdChartMinor, "ID_EDIT_MINORINC", Charts, kNone, kAlways, nullptr},
    {33025, "ID_BUTTON_APPLYCHARTSCALE", Charts, ApplyScaleFields, kAlways, nullptr},
    {33021, "ID_CHECK_CHART_SHOWRANGE", Charts, ToggleChart<EChartField::ShowRange>, kAlways,
     ChartOn<EChartField::ShowRange>},
    {33022, "ID_CHECK_CHART_SHOWLABELS", Charts, ToggleChart<EChartField::ShowAxis>, kAlways,
     ChartOn<EChartField::ShowAxis>},
    {33023, "ID_CHECK_CHART_SHOWGRID", Charts, ToggleChart<EChartField::ShowGridlines>, kAlways,
     ChartOn<EChartField::ShowGridlines>},
    {33029, "ID_CHECK_CHARTLOCK", Charts, ToggleChart<EChartField::LockLocation>, kAlways,
     ChartOn<EChartField::LockLocation>},
    {33043, "ID_BTN_CHARTS_APPLYOPTIONSTOALL", Charts, OnDoc<ApplyChartOptionsToAll>, kAlways, nullptr},
    {33106, "ID_BUTTON_UPDATESUFFIX", ValueWindows, UpdateSuffix, kAlways, nullptr},
    // Value windows.
    {33102, "ID_CHECK_TRANSPARENT", ValueWindows, ToggleWindow<EValueWindowField::Transparent>, kAlways,
     WindowOn<EValueWindowField::Transparent>},
    {33103, "ID_BUTTON_CLR_VALUE_BACK", ValueWindows, PickValueWindowBackground, kAlways, nullptr},
    {33107, "ID_COMBO_FONTVALUES", ValueWindows, kNone, kAlways, nullptr},
    {33108, "ID_SPIN_FONTSIZE", ValueWindows, kNone, kAlways, nullptr},
    {33111, "ID_SPIN_PRECISION", ValueWindows, kNone, kAlways, nullptr},
    {kCmdValueSuffix, "ID_EDIT_SUFFIX", ValueWindows, kNone, kAlways, nullptr},
    {33101, "ID_CHECK_USESUFFIX", ValueWindows, ToggleWindow<EValueWindowField::ShowSuffix>, kAlways,
     WindowOn<EValueWindowField::ShowSuffix>},
    {kCmdValueCaption, "ID_EDIT_VALUECAPTION", ValueWindows, kNone, kAlways, nullptr},
    {33100, "ID_CHECK_SHOWTITLE", ValueWindows, ToggleWindow<EValueWindowField::ShowTitle>, kAlways,
     WindowOn<EValueWindowField::ShowTitle>},
    {33082, "ID_CHECK_VALUEWINCONNECTORS", None, ToggleSwitch<EViewSwitch::ValueWindowConnectors>, kAlways,
     SwitchOn<EViewSwitch::ValueWindowConnectors>},
    {33104, "ID_CHECK_SHOWOUTLINE", ValueWindows, ToggleWindow<EValueWindowField::ShowOutline>, kAlways,
     WindowOn<EValueWindowField::ShowOutline>},
    {33110, "ID_CHECK_SHOWCOMPNAME", ValueWindows, ToggleWindow<EValueWindowField::ShowComponentName>,
     kAlways, WindowOn<EValueWindowField::ShowComponentName>},
    {33121, "ID_BUTTON_REMOVEVALUE", ValueWindows, OnDoc<RemoveSelectedValueWindows>, kAlways, nullptr},
    // The window's panes and the view's display options.
    {kCmdPaneSystem, "ID_CHECK_PANE_SYSTEM", None, TogglePane<EPane::SystemStructure>, kAlways,
     PaneShown<EPane::SystemStructure>},
    {kCmdStatusBar, "ID_VIEW_STATUS_BAR", None, TogglePane<EPane::StatusBar>, kAlways,
     PaneShown<EPane::StatusBar>},
    {kCmdPaneSimulation, "ID_CHECK_PANE_SYSTEMOUTPUTS", None, TogglePane<EPane::SimulationControls>, kAlways,
     PaneShown<EPane::SimulationControls>},
    {kCmdPaneFeedback, "ID_CHECK_PANE_FEEDBACK", None, TogglePane<EPane::Feedback>, kAlways,
     PaneShown<EPane::Feedback>},
    {32903, "ID_CHECK_SHOWMINIVIEW", None, ToggleOption<&CViewOptions::showMiniview>, kAlways,
     OptionOn<&CViewOptions::showMiniview>},
    {32992, "ID_BUTTON_MVOPTIONS_INCONNS", None, ToggleOption<&CViewOptions::miniviewIncoming>, kAlways,
     OptionOn<&CViewOptions::miniviewIncoming>},
    {32989, "ID_BUTTON_MVOPTIONS_OUTCONNS", None, ToggleOption<&CViewOptions::miniviewOutgoing>, kAlways,
     OptionOn<&CViewOptions::miniviewOutgoing>},
    {32990, "ID_BUTTON_MVOPTIONS_NTONCONNS", None, ToggleOption<&CViewOptions::miniviewModuleLinks>, kAlways,
     OptionOn<&CViewOptions::miniviewModuleLinks>},
    {32991, "ID_BUTTON_MVOPTIONS_NETNAMES", None, ToggleOption<&CViewOptions::miniviewNames>, kAlways,
     OptionOn<&CViewOptions::miniviewNames>},
    {kCmdPaletteLogic, "ID_CHECK_SHOWMODELTEMPLATES", None, TogglePane<EPane::PaletteLogic>, kAlways,
     PaneShown<EPane::PaletteLogic>},
    {kCmdPaletteMath, "ID_CHECK_SHOWMATHTEMPLATES", None, TogglePane<EPane::PaletteMath>, kAlways,
     PaneShown<EPane::PaletteMath>},
    {kCmdPaletteSignals, "ID_CHECK_SHOWSIGNALTEMPLATES", None, TogglePane<EPane::PaletteSignals>, kAlways,
     PaneShown<EPane::PaletteSignals>},
    {kCmdPaletteUtility, "ID_CHECK_SHOWUTILITYTEMPLATES", None, TogglePane<EPane::PaletteUtility>, kAlways,
     PaneShown<EPane::PaletteUtility>},
    {kCmdPaletteDecision, "ID_CHECK_SHOWDECISIONTEMPLATES", None, TogglePane<EPane::PaletteDecision>, kAlways,
     PaneShown<EPane::PaletteDecision>},
    {kCmdPaneNeuralNetwork, "ID_CHECK_PANE_NEURALNETWORK", None, TogglePane<EPane::NeuralNetwork>, kAlways,
     PaneShown<EPane::NeuralNetwork>},
    {33165, "ID_CHECK_SHOWDEQUENCETIMELINE", None, TogglePane<EPane::SequenceTimeline>, kAlways,
     PaneShown<EPane::SequenceTimeline>},
    {kCmdClearFeedbackAll, "ID_BUTTON_CLEARFEEDBACKALL", None, ClearFeedback<true, true, true>, kAlways,
     nullptr},
    {kCmdClearFeedbackSystem, "ID_BUTTON_CLEARFEEDBACKSYSTEM", None, ClearFeedback<true, false, false>,
     kAlways, nullptr},
    {kCmdClearFeedbackExecute, "ID_BUTTON_CLEARFEEDBACKEXECUTE", None, ClearFeedback<false, true, false>,
     kAlways, nullptr},
    {32911, "ID_BUTTON_COLORBACKGROUND", None, PickViewColour<&CViewOptions::backgroundColour>, kAlways,
     nullptr},
    {32913, "ID_BUTTON_COLORGRID", None, PickViewColour<&CViewOptions::gridColour>, kAlways, nullptr},
    {kCmdGridSpacing, "ID_SPIN_GRIDWIDTH", None, kNone, kAlways, nullptr},
    {kCmdShowGrid, "ID_BUTTON_SHOWGRID", None, ToggleOption<&CViewOptions::showGrid>, kAlways,
     OptionOn<&CViewOptions::showGrid>},
    {kCmdRestoreColours, "ID_BUTTON_RESTOREDEFAULTCLR", None, RestoreColours, kAlways, nullptr},
    {kCmdConnectorType, "ID_COMBO_CONNECTORTYPE", None, kNone, kAlways, nullptr},
    {kCmdShowInputsBar, "ID_BUTTON_SHOWEXTERNALINPUTS", None,
     ToggleOption<&CViewOptions::showSystemInputsBar>, kAlways, OptionOn<&CViewOptions::showSystemInputsBar>},
    {kCmdShowOutputsBar, "ID_CHECK_SHOWEXTERNALOUTPUTSBAR", None,
     ToggleOption<&CViewOptions::showSystemOutputsBar>, kAlways,
     OptionOn<&CViewOptions::showSystemOutputsBar>},
    {33117, "ID_CHECK_COMP_NAMES", None, ToggleOption<&CViewOptions::componentNames>, kAlways,
     OptionOn<&CViewOptions::componentNames>},
    {33118, "ID_CHECK_COMP_HELPERTEXT", None, ToggleOption<&CViewOptions::helperText>, kAlways,
     OptionOn<&CViewOptions::helperText>},
    {33115, "ID_CHECK_COMPINPUT_NAMES", None, ToggleOption<&CViewOptions::inputNames>, kAlways,
     OptionOn<&CViewOptions::inputNames>},
    {33116, "ID_CHECK_COMP_OUTPUTNAMES", None, ToggleOption<&CViewOptions::outputNames>, kAlways,
     OptionOn<&CViewOptions::outputNames>},
    {33119, "ID_CHECK_COMP_CONNECTIONS", None, ToggleOption<&CViewOptions::connections>, kAlways,
     OptionOn<&CViewOptions::connections>},
    // The neural network's context category.
    {kCmdImportVectors, "ID_BUTTON_IMPORTVECTORS", NeuralNetwork, ImportNewVectors, kAlways, nullptr},
    {kCmdDeleteSelectedVectors, "ID_BUTTON_DELETESCENARIO", NeuralNetwork, OnDoc<DeleteSelectedVectors>,
     VectorsSelected, nullptr},
    {kCmdDeleteAllVectors, "ID_BUTTON_DELETEALLSCENARIOS", NeuralNetwork, OnDoc<DeleteAllVectors>, HasVectors,
     nullptr},
    {kCmdNetworkAddInput, "ID_BUTTON_NN_ADDINPUT", NeuralNetwork, OnDoc<AddNetworkInput>, NetworkInputsFree,
     nullptr},
    {kCmdNetworkAddProcessor, "ID_BUTTON_ADDPROCESSOR", NeuralNetwork, OnDoc<AddNetworkProcessor>, kAlways,
     nullptr},
    {kCmdNetworkAddOutput, "ID_BUTTON_NN_ADDOUTPUT", NeuralNetwork, OnDoc<AddNetworkOutput>,
     NetworkOutputsFree, nullptr},
    {kCmdStartLearning, "ID_BUTTON_LEARNSCENARIOS", NeuralNetwork, StartLearning, CanStartLearning, nullptr},
    {kCmdStopLearning, "ID_BUTTON_STOPLEARNING", None, OnDoc<StopLearning>, Learning, nullptr},
    {kCmdEraseKnowledge, "ID_BUTTON_ERASEKNOWLEDGE", NeuralNetwork, EraseAsking, kAlways, nullptr},
    {kCmdLearnRate, "ID_SPIN_LEARNRATE", NeuralNetwork, kNone, kAlways, nullptr},
    {kCmdTargetLoser, "ID_EDIT_NN_LOSEROUTPUT", NeuralNetwork, kNone, kAlways, nullptr},
    {kCmdTargetWinner, "ID_EDIT_NN_WINNEROUTPUT", NeuralNetwork, kNone, kAlways, nullptr},
    {kCmdTolerance, "ID_EDIT_TOLERANCE", NeuralNetwork, kNone, kAlways, nullptr},
    {kCmdMaxSeparation, "ID_CHECK_MAXSEPERATION", NeuralNetwork, OnDoc<ToggleMaxSeparation>, kAlways,
     MaxSeparationOn},
    {kCmdShowOutputNames, "ID_CHECK_SHOWINPUTNAMES", NeuralNetwork, OnDoc<ToggleShowOutputNames>, kAlways,
     OutputNamesShown},
    {kCmdUpdateDisplay, "ID_CHECK_UPDATEDISPLAY", None, ToggleOption<&CViewOptions::updateWhileLearning>,
     kAlways, OptionOn<&CViewOptions::updateWhileLearning>},
};

// --- the fields ------------------------------------------------------------------

std::string Number(double x) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.10g", x);
    return buffer;
}

template <EGraphicField F>
ECmd ApplyGraphicNumber(CCommandContext& ctx, const CCommandValue& v) {
    return SetGraphicField(ctx.doc, F, v.number);
}
template <EGraphicField F>
bool ShowGraphicNumber(const CCommandContext& ctx, CCommandValue& v) {
    const CGraphic* g = FirstSelectedGraphic(ctx.doc);
    if (g) v.number = GraphicField(*g, F);
    return g != nullptr;
}
template <EValueWindowField F>
ECmd ApplyWindowNumber(CCommandContext& ctx, const CCommandValue& v) {
    return SetValueWindowField(ctx.doc, F, v.number);
}
template <EValueWindowField F>
bool ShowWindowNumber(const CCommandContext& ctx, CCommandValue& v) {
    const CValueWindow* w = FirstSelectedValueWindow(ctx.doc);
    if (w) v.number = ValueWindowField(*w, F);
    return w != nullptr;
}
template <EValueWindowText T>
ECmd ApplyWindowText(CCommandContext& ctx, const CCommandValue& v) {
    return SetValueWindowText(ctx.doc, T, v.text);
}
/// Edit fields show the first selected window's text, or nothing.
template <EValueWindowText T>
bool ShowWindowText(const CCommandContext& ctx, CCommandValue& v) {
    const CValueWindow* w = FirstSelectedValueWindow(ctx.doc);
    v.text = w ? ValueWindowText(*w, T) : std::string();
    return true;
}
/// The font box shows the window's font only while one is selected.
bool ShowWindowFont(const CCommandContext& ctx, CCommandValue& v) {
    const CValueWindow* w = FirstSelectedValueWindow(ctx.doc);
    if (w) v.text = w->m_fontName;
    return w != nullptr;
}
ECmd ApplyGraphicFont(CCommandContext& ctx, const CCommandValue& v) {
    return v.text.empty() ? ECmd::Unavailable : SetGraphicFont(ctx.doc, v.text);
}
bool ShowGraphicFont(const CCommandContext& ctx, CCommandValue& v) {
    const CGraphic* g = FirstSelectedGraphic(ctx.doc);
    if (g) v.text = g->m_fontName;
    return g != nullptr;
}
template <double CChartScale::*M>
bool ShowScale(const CCommandContext& ctx, CCommandValue& v) {
    const CChart* c = FirstSelectedChart(ctx.doc);
    v.text = c ? Number(ChartScale(*c).*M) : std::string();
    return true;
}
ECmd ApplyRate(CCommandContext& ctx, const CCommandValue& v) {
    if (!ctx.sim) return ECmd::Unavailable;
    if (ctx.sim->Rate() != v.number) ctx.sim->SetRateText(std::to_string(v.number));
    return ECmd::Done;
}
bool ShowRate(const CCommandContext& ctx, CCommandValue& v) {
    if (ctx.sim) v.number = ctx.sim->Rate();
    return ctx.sim != nullptr;
}
template <int32_t CViewOptions::*M>
ECmd ApplyOption(CCommandContext& ctx, const CCommandValue& v) {
    if (v.number < 0) return ECmd::Unavailable;  // a combo box without a current entry
    ctx.doc.Editor().m_options.*M = v.number;
    return ECmd::Done;
}
template <int32_t CViewOptions::*M>
bool ShowOption(const CCommandContext& ctx, CCommandValue& v) {
    v.number = ctx.doc.Editor().m_options.*M;
    return true;
}

template <ENNParameter P>
ECmd ApplyNNParameter(CCommandContext& ctx, const CCommandValue& v) {
    return SetNNParameter(ctx.doc, P, v.text);
}
/// The boxes show the selected network's value, or nothing.
template <ENNParameter P>
bool ShowNNParameter(const CCommandContext& ctx, CCommandValue& v) {
    const CModelNeuralNetwork* nn = SelectedNeuralNetwork(ctx.doc);
    v.text = nn ? NNParameterText(*nn, P) : std::string();
    return true;
}

constexpr const char* kConnectorTypes[] = {"Straight Lines", "Right Angles", "Curved Lines"};

constexpr CFieldCommand kFields[] = {
    {kCmdRate, kMinCyclesPerSecond, kMaxCyclesPerSecond, {}, ApplyRate, ShowRate},
    {33096,
     0,
     10,
     {},
     ApplyGraphicNumber<EGraphicField::LineWidth>,
     ShowGraphicNumber<EGraphicField::LineWidth>},
    {33057, 0, 0, {}, ApplyGraphicFont, ShowGraphicFont},
    {33107, 0, 0, {}, ApplyWindowText<EValueWindowText::FontName>, ShowWindowFont},
    {33108,
     1,
     200,
     {},
     ApplyWindowNumber<EValueWindowField::FontSize>,
     ShowWindowNumber<EValueWindowField::FontSize>},
    {33111,
     0,
     15,
     {},
     ApplyWindowNumber<EValueWindowField::Precision>,
     ShowWindowNumber<EValueWindowField::Precision>},
    // The suffix and the caption apply on Return; the scale by its Apply button.
    {kCmdValueSuffix,
     0,
     0,
     {},
     ApplyWindowText<EValueWindowText::Suffix>,
     ShowWindowText<EValueWindowText::Suffix>},
    {kCmdValueCaption,
     0,
     0,
     {},
     ApplyWindowText<EValueWindowText::Title>,
     ShowWindowText<EValueWindowText::Title>},
    {kCmdChartMax, 0, 0, {}, nullptr, ShowScale<&CChartScale::maximum>},
    {kCmdChartMin, 0, 0, {}, nullptr, ShowScale<&CChartScale::minimum>},
    {kCmdChartMajor, 0, 0, {}, nullptr, ShowScale<&CChartScale::majorIncrement>},
    {kCmdChartMinor, 0, 0, {}, nullptr, ShowScale<&CChartScale::minorIncrement>},
    {kCmdGridSpacing,
     4,
     128,
     {},
     ApplyOption<&CViewOptions::gridSpacing>,
     ShowOption<&CViewOptions::gridSpacing>},
    {kCmdConnectorType, 0, 2, kConnectorTypes, ApplyOption<&CViewOptions::connectorType>,
     ShowOption<&CViewOptions::connectorType>},
    {kCmdLearnRate,
     0,
     0,
     {},
     ApplyNNParameter<ENNParameter::LearnRate>,
     ShowNNParameter<ENNParameter::LearnRate>},
    {kCmdTargetLoser,
     0,
     0,
     {},
     ApplyNNParameter<ENNParameter::TargetLoser>,
     ShowNNParameter<ENNParameter::TargetLoser>},
    {kCmdTargetWinner,
     0,
     0,
     {},
     ApplyNNParameter<ENNParameter::TargetWinner>,
     ShowNNParameter<ENNParameter::TargetWinner>},
    {kCmdTolerance,
     0,
     0,
     {},
     ApplyNNParameter<ENNParameter::Tolerance>,
     ShowNNParameter<ENNParameter::Tolerance>},
};

template <class T>
T* FirstOf(const CObList<T>& list, const std::vector<int32_t>& ids) {
    for (int32_t id : ids)
        if (T* t = list.Find(id)) return t;
    return nullptr;
}

}  // namespace

CGraphic* FirstSelectedGraphic(const Czor2Doc& doc) {
    return FirstOf(doc.System().m_graphics.m_graphics, doc.Editor().m_graphics);
}
CChart* FirstSelectedChart(const Czor2Doc& doc) {
    return FirstOf(doc.System().m_charts.m_charts, doc.Editor().m_charts);
}
CValueWindow* FirstSelectedValueWindow(const Czor2Doc& doc) {
    return FirstOf(doc.System().m_valueWindows.m_windows, doc.Editor().m_valueWindows);
}

std::span<const CCommand> Commands() {
    return kCommands;
}
std::span<const CFieldCommand> FieldCommands() {
    return kFields;
}

const CCommand* FindCommand(int id) {
    for (const CCommand& c : kCommands)
        if (c.id == id) return &c;
    return nullptr;
}
const CCommand* FindCommand(std::string_view ident) {
    for (const CCommand& c : kCommands)
        if (ident == c.ident) return &c;
    return nullptr;
}
const CFieldCommand* FindFieldCommand(int id) {
    for (const CFieldCommand& f : kFields)
        if (f.id == id) return &f;
    return nullptr;
}
int CommandId(std::string_view ident) {
    const CCommand* c = FindCommand(ident);
    return c ? c->id : 0;
}

bool NeedMet(ENeed need, const CCommandContext& ctx) {
    const CSystem& s = ctx.doc.System();
    const CEditorState& e = ctx.doc.Editor();
    const CNetwork* designed = e.DesignedModule(s);
    switch (need) {
        case None:
            return true;
        case Unavailable:
            return false;
        case SystemView:
            return designed == nullptr;
        case ModuleView:
            return designed != nullptr;
        case Module:
            return e.CurrentModule(s) != nullptr;
        case SystemInput:
            return e.SelectedSystemInput(s) != nullptr;
        case SystemOutput:
            return e.SelectedSystemOutput(s) != nullptr;
        case InputCategory:
            return e.m_kind == ESelectionKind::InputCategory;
        case OutputCategory:
            return e.m_kind == ESelectionKind::OutputCategory;
        case ModuleInput:
            return e.SelectedModuleInput(s) != nullptr;
        case ModuleInputs:
            return !e.SelectedModuleInputs(s).empty();
        case ModuleOutput:
            return e.SelectedModuleOutput(s) != nullptr;
        case ModuleOutputs:
            return !e.SelectedModuleOutputs(s).empty();
        case Component:
            return designed && e.SelectedComponent(s);
        case ComponentInput:
            return designed && e.SelectedComponentInput(s);
        case ComponentOutput:
            return designed && e.SelectedComponentOutput(s);
        case Selection:
            return designed ? !e.m_components.empty() : !e.m_modules.empty();
        case Components:
            return designed && !e.SelectedComponents(s).empty();
        case Graphics:
            return designed && SelectedGraphicCount(ctx) > 0;
        case TwoGraphics:
            return designed && SelectedGraphicCount(ctx) > 1;
        case Charts:
            return FirstSelectedChart(ctx.doc) != nullptr;
        case ChartsShown:
            for (const CChart* c : s.m_charts.m_charts)
                if (!designed || c->m_module == designed) return true;
            return false;
        case ValueWindows:
            return FirstSelectedValueWindow(ctx.doc) != nullptr;
        case Behaviors:
            return !s.m_behaviors.m_behaviors.Empty();
        case NeuralNetwork:
            return SelectedNeuralNetwork(ctx.doc) != nullptr;
    }
    return false;
}

CNeeds EvaluateNeeds(const CCommandContext& ctx) {
    CNeeds needs;
    for (size_t i = 0; i < needs.met.size(); ++i) needs.met[i] = NeedMet(static_cast<ENeed>(i), ctx);
    return needs;
}

bool IsEnabled(const CCommand& command, const CCommandContext& ctx, const CNeeds& needs) {
    return needs[command.need] && (!command.enabled || command.enabled(ctx));
}

bool IsEnabled(const CCommand& command, const CCommandContext& ctx) {
    return NeedMet(command.need, ctx) && (!command.enabled || command.enabled(ctx));
}

bool IsChecked(const CCommand& command, const CCommandContext& ctx) {
    return command.checked && command.checked(ctx);
}

ECmd RunCommand(CCommandContext& ctx, int id) {
    const CCommand* c = FindCommand(id);
    if (!c || !c->run || !IsEnabled(*c, ctx)) return ECmd::Unavailable;
    if (RefusedWhileLearning(ctx.doc, id)) return ECmd::Refused;
    return c->run(ctx);
}

ECmd ApplyField(CCommandContext& ctx, int id, const CCommandValue& value) {
    const CCommand* c = FindCommand(id);
    const CFieldCommand* f = FindFieldCommand(id);
    if (!c || !f || !f->apply || !IsEnabled(*c, ctx)) return ECmd::Unavailable;
    if (RefusedWhileLearning(ctx.doc, id)) return ECmd::Refused;
    return f->apply(ctx, value);
}

}  // namespace zor2
