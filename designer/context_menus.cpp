// The context menus' items and the rows of the items that act.
#include "designer/context_menus.h"

#include "designer/commands_align.h"
#include "designer/commands_component.h"
#include "designer/commands_graphics.h"
#include "designer/commands_module.h"
#include "designer/commands_neural.h"
#include "designer/commands_system.h"
#include "designer/commands_view.h"
#include "designer/commands_window.h"
#include "designer/document.h"
#include "simulation/sim_controller.h"

namespace zor2 {
namespace {

using CItems = std::vector<std::string>;

const CItems kModuleMenu = {"Module Properties...",
                            "Export Module...",
                            "-",
                            ">Inputs",
                            "Add New Input...",
                            "Group All Inputs",
                            "Expose All Externally...",
                            "-",
                            "Add Connection...",
                            "Remove Connections",
                            "<",
                            ">Outputs",
                            "Add New Output...",
                            "Group All Outputs",
                            "Expose All Externally...",
                            "-",
                            "Remove Connections...",
                            "<",
                            "-",
                            "Execute",
                            "View Components...",
                            "-",
                            "Delete"};
const CItems kModuleInputMenu = {"Properties...",
                                 "-",
                                 "Expose as External Input",
                                 "Remove Input Connection",
                                 "Remove All Internal Connections",
                                 "-",
                                 "Delete Module Input"};
const CItems kModuleOutputMenu = {"Properties...",
                                  "-",
                                  "Remove Outgoing Connections from Output",
                                  "Remove Internal Connection to Output",
                                  "-",
                                  "Delete Output"};
const CItems kInputsBarMenu = {"Add Category...", "Add System Input...", "-", "Import System Inputs...", "-",
                               "Expand All",      "Contract all"};
const CItems kOutputsBarMenu = {
    "Add Category...", "Add System Output...", "-", "Import System Outputs...", "-",
    "Expand All",      "Contract All"};
const CItems kSystemInputMenu = {"Input Properties...", "Reset Value", "-",
                                 "Add SimBehavior...",  "-",           "Delete"};
const CItems kSystemOutputMenu = {"Output Properties...", "-", "Delete", "Remove Connection"};
const CItems kInputCategoryMenu = {"Category Properties...", "-", "Contract", "Expand", "-",
                                   "Add New Input..."};
const CItems kOutputCategoryMenu = {"Category Properties...", "-", "Contract", "Expand", "-",
                                    "Add New Output..."};
const CItems kComponentMenu = {"Properties...",
                               "Show Reduced",
                               "-",
                               "Execute",
                               "Delete",
                               "-",
                               "Expose All Inputs to Module Inputs Layer",
                               "Expose All Outputs to Module Outputs Layer",
                               "-",
                               "Remove Input Connections",
                               "Remove Output Connections",
                               "-",
                               "Delete All Outputs"};
const CItems kMfccMenu = {"Properties...",
                          "Show Reduced",
                          "-",
                          "Execute",
                          "Delete",
                          "-",
                          "Expose All Outputs",
                          "-",
                          "Remove Input Connections",
                          "Remove Output Connections",
                          "-",
                          "Delete All Inputs",
                          "Delete All Outputs"};
const CItems kNeuralMenu = {"Properties...",
                            "Show Reduced",
                            "-",
                            "Execute",
                            "-",
                            "Import Patterns...",
                            "Learn Patterns",
                            "-",
                            "Expose All Inputs",
                            "Expose All Outputs",
                            "Remove Input Connections",
                            "Remove Output Connections",
                            "-",
                            "Delete All Inputs",
                            "Delete"};
/// The sequencer's menu: the component menu with the timeline editor after "Show Reduced".
const CItems kSequencerMenu = [] {
    CItems items = kComponentMenu;
    items.insert(items.begin() + 2, {"-", "Show Sequence Timeline Editor"});
    return items;
}();
const CItems kComponentInputMenu = {"Input Properties...", "-", "Remove Connection"};
const CItems kComponentOutputMenu = {
    "Output Properties...",           "-", "Show Graph of Output",   "Show Value Window", "-",
    "Expose to Module Outputs Layer", "-", "Remove All Connections", "Delete Output"};
const CItems kGraphicMenu = {"Properties...",
                             "-",
                             "Consolidate Enclosed Components",
                             "Release Consolidated Components",
                             "-",
                             "Clear Text",
                             "Send To Back",
                             ">Size and Position",
                             "Make Same Size",
                             "Make Same Width",
                             "Make Same Height",
                             "-",
                             "Align Top",
                             "Align Bottom",
                             "Align Left",
                             "Align Right",
                             "-",
                             "Align Center Vertical",
                             "Align Center Horizontal",
                             "-",
                             "Distribute Horizontally",
                             "Distribute Vertically",
                             "<",
                             "-",
                             "Copy",
                             "Paste",
                             "-",
                             "Delete"};

// --- actions on the object under the cursor ---------------------------------------

ECmd Edit(CCommandContext& ctx, const CHit& h) {
    return EditObject(ctx, h);
}
/// Runs a document command on the object, which the gesture has made the selection.
template <ECmd (*F)(Czor2Doc&)>
ECmd OnSelection(CCommandContext& ctx, const CHit&) {
    ctx.doc.Editor().ApplyToModel(ctx.doc.System());
    return F(ctx.doc);
}
/// Selects the module alone and runs a module command on it.
template <ECmd (*F)(Czor2Doc&)>
ECmd OnModule(CCommandContext& ctx, const CHit& h) {
    if (!h.module) return ECmd::Unavailable;
    ctx.doc.Editor().ClearSelection();
    ctx.doc.Editor().SelectModules({h.module->m_id});
    return F(ctx.doc);
}
template <ECmd (*F)(Czor2Doc&)>
ECmd OnComponent(CCommandContext& ctx, const CHit& h) {
    if (!h.component) return ECmd::Unavailable;
    ctx.doc.Editor().ClearSelection();
    ctx.doc.Editor().SelectComponents({h.component->m_id});
    return F(ctx.doc);
}
template <ECmd (*F)(Czor2Doc&, int32_t)>
ECmd OnModuleId(CCommandContext& ctx, const CHit& h) {
    return h.module ? F(ctx.doc, h.module->m_id) : ECmd::Unavailable;
}
template <ECmd (*F)(Czor2Doc&, int32_t)>
ECmd OnGraphicId(CCommandContext& ctx, const CHit& h) {
    return h.graphic ? F(ctx.doc, h.graphic->m_id) : ECmd::Unavailable;
}
template <ECmd (*F)(Czor2Doc&, int32_t)>
ECmd OnInputCategory(CCommandContext& ctx, const CHit& h) {
    return h.inputCategory ? F(ctx.doc, h.inputCategory->m_id) : ECmd::Unavailable;
}
template <ECmd (*F)(Czor2Doc&, int32_t)>
ECmd OnOutputCategory(CCommandContext& ctx, const CHit& h) {
    return h.outputCategory ? F(ctx.doc, h.outputCategory->m_id) : ECmd::Unavailable;
}
/// "Group All Inputs" / "Group All Outputs" switch the module's grouping.
template <bool Inputs>
ECmd ToggleGrouped(CCommandContext& ctx, const CHit& h) {
    if (!h.module) return ECmd::Unavailable;
    return Inputs ? GroupModuleInputs(ctx.doc, !h.module->m_collapsedInputs)
                  : GroupModuleOutputs(ctx.doc, !h.module->m_collapsedOutputs);
}
ECmd ViewComponents(CCommandContext& ctx, const CHit& h) {
    if (!h.module) return ECmd::Unavailable;
    ctx.host.ShowModule(*h.module);
    return ECmd::Done;
}
ECmd ExposeAsExternal(CCommandContext& ctx, const CHit& h) {
    if (!h.module || !h.moduleInput) return ECmd::Unavailable;
    return ExposeModuleInput(ctx.doc, h.module->m_id, h.moduleInput->m_id);
}
ECmd ResetValue(CCommandContext& ctx, const CHit& h) {
    if (!h.systemInput || !ctx.sim) return ECmd::Unavailable;
    ctx.doc.Editor().SelectSystemInput(h.systemInput->m_id);
    ctx.doc.Editor().ApplyToModel(ctx.doc.System());
    return ctx.sim->ResetValueOnly() ? ECmd::Done : ECmd::Unavailable;
}
template <EAlign A>
ECmd AlignGraphics(CCommandContext& ctx, const CHit&) {
    return Align(ctx.doc, A, EAlignTarget::Graphics);
}
template <ESameSize S>
ECmd SameSize(CCommandContext& ctx, const CHit&) {
    return MakeGraphicsSameSize(ctx.doc, S);
}
ECmd DistributeAcross(CCommandContext& ctx, const CHit&) {
    return DistributeHorizontally(ctx.doc, EAlignTarget::Graphics);
}
ECmd DistributeDown(CCommandContext& ctx, const CHit&) {
    return DistributeVertically(ctx.doc, EAlignTarget::Graphics);
}
ECmd Copy(CCommandContext& ctx, const CHit&) {
    return ctx.clipboard ? CopyGraphics(ctx.doc, *ctx.clipboard) : ECmd::Unavailable;
}
ECmd Paste(CCommandContext& ctx, const CHit&) {
    return ctx.clipboard ? PasteGraphics(ctx.doc, *ctx.clipboard) : ECmd::Unavailable;
}
/// "Show Sequence Timeline Editor": the sequencer becomes the selection the pane edits.
ECmd ShowTimeline(CCommandContext& ctx, const CHit& h) {
    if (!h.component) return ECmd::Unavailable;
    ctx.doc.Editor().ClearSelection();
    ctx.doc.Editor().SelectComponents({h.component->m_id});
    ctx.host.SetPaneVisible(EPane::SequenceTimeline, true);
    return ECmd::Done;
}
bool ClipboardHolds(const CCommandContext& ctx) {
    return ctx.clipboard && !ctx.clipboard->Empty();
}

constexpr auto kNoAct = nullptr;

const CMenuAction kActions[] = {
    {EHit::Module, "Module Properties...", 0, Edit, nullptr},
    {EHit::Module, "Export Module...", kCmdExportModule, kNoAct, nullptr},
    {EHit::Module, "Inputs/Add New Input...", kCmdModuleAddInput, kNoAct, nullptr},
    {EHit::Module, "Inputs/Group All Inputs", 0, ToggleGrouped<true>, nullptr},
    {EHit::Module, "Inputs/Expose All Externally...", kCmdModuleExposeInputs, kNoAct, nullptr},
    {EHit::Module, "Inputs/Add Connection...", kCmdAddDataConnection, kNoAct, nullptr},
    {EHit::Module, "Inputs/Remove Connections", 0, OnModuleId<RemoveModuleIncomingConnections>, nullptr},
    {EHit::Module, "Outputs/Add New Output...", kCmdModuleAddOutput, kNoAct, nullptr},
    {EHit::Module, "Outputs/Group All Outputs", 0, ToggleGrouped<false>, nullptr},
    {EHit::Module, "Outputs/Expose All Externally...", kCmdModuleExposeOutputs, kNoAct, nullptr},
    {EHit::Module, "Outputs/Remove Connections...", 0, OnModuleId<RemoveModuleOutgoingConnections>, nullptr},
    {EHit::Module, "Execute", 0, OnModule<ExecuteModuleWithInputs>, nullptr},
    {EHit::Module, "View Components...", 0, ViewComponents, nullptr},
    {EHit::Module, "Delete", 0, OnModule<DeleteModule>, nullptr},
    {EHit::ModuleInput, "Properties...", 0, Edit, nullptr},
    {EHit::ModuleInput, "Expose as External Input", 0, ExposeAsExternal, nullptr},
    {EHit::ModuleInput, "Remove Input Connection", kCmdRemoveIncoming, kNoAct, nullptr},
    {EHit::ModuleInput, "Remove All Internal Connections", kCmdDisconnectModuleInputsInside, kNoAct, nullptr},
    {EHit::ModuleInput, "Delete Module Input", kCmdModuleDeleteInput, kNoAct, nullptr},
    {EHit::ModuleOutput, "Properties...", 0, Edit, nullptr},
    {EHit::ModuleOutput, "Remove Outgoing Connections from Output", kCmdRemoveOutgoing, kNoAct, nullptr},
    {EHit::ModuleOutput, "Remove Internal Connection to Output", kCmdDisconnectModuleOutputInside, kNoAct,
     nullptr},
    {EHit::ModuleOutput, "Delete Output", kCmdModuleDeleteOutput, kNoAct, nullptr},
    {EHit::InputsBar, "Add Category...", kCmdAddInputCategory, kNoAct, nullptr},
    {EHit::InputsBar, "Add System Input...", kCmdAddSystemInput, kNoAct, nullptr},
    {EHit::InputsBar, "Import System Inputs...", kCmdImportInputs, kNoAct, nullptr},
    {EHit::InputsBar, "Expand All", 0, OnSelection<ExpandAllInputCategories>, nullptr},
    {EHit::InputsBar, "Contract all", 0, OnSelection<ContractAllInputCategories>, nullptr},
    {EHit::OutputsBar, "Add Category...", kCmdAddOutputCategory, kNoAct, nullptr},
    {EHit::OutputsBar, "Add System Output...", kCmdAddSystemOutput, kNoAct, nullptr},
    {EHit::OutputsBar, "Import System Outputs...", kCmdImportOutputs, kNoAct, nullptr},
    {EHit::OutputsBar, "Expand All", 0, OnSelection<ExpandAllOutputCategories>, nullptr},
    {EHit::OutputsBar, "Contract All", 0, OnSelection<ContractAllOutputCategories>, nullptr},
    {EHit::SystemInput, "Input Properties...", 0, Edit, nullptr},
    {EHit::SystemInput, "Reset Value", 0, ResetValue, nullptr},
    {EHit::SystemInput, "Add SimBehavior...", kCmdAddBehavior, kNoAct, nullptr},
    {EHit::SystemInput, "Delete", kCmdDeleteSystemInput, kNoAct, nullptr},
    {EHit::SystemOutput, "Output Properties...", 0, Edit, nullptr},
    {EHit::SystemOutput, "Delete", kCmdDeleteSystemOutput, kNoAct, nullptr},
    {EHit::SystemOutput, "Remove Connection", 0, OnSelection<RemoveSystemOutputConnection>, nullptr},
    // A category's properties are its name: the category edit command.
    {EHit::InputCategory, "Category Properties...", kCmdEditInputCategory, kNoAct, nullptr},
    {EHit::InputCategory, "Contract", 0, OnInputCategory<ContractInputCategory>, nullptr},
    {EHit::InputCategory, "Expand", 0, OnInputCategory<ExpandInputCategory>, nullptr},
    {EHit::InputCategory, "Add New Input...", 0, Edit, nullptr},
    {EHit::OutputCategory, "Category Properties...", kCmdEditOutputCategory, kNoAct, nullptr},
    {EHit::OutputCategory, "Contract", 0, OnOutputCategory<ContractOutputCategory>, nullptr},
    {EHit::OutputCategory, "Expand", 0, OnOutputCategory<ExpandOutputCategory>, nullptr},
    {EHit::OutputCategory, "Add New Output...", 0, Edit, nullptr},
    {EHit::Component, "Properties...", 0, Edit, nullptr},
    {EHit::Component, "Show Reduced", 0, OnSelection<ToggleComponentReduced>, nullptr},
    {EHit::Component, "Show Sequence Timeline Editor", 0, ShowTimeline, nullptr},
    {EHit::Component, "Execute", 0, OnComponent<ExecuteComponent>, nullptr},
    {EHit::Component, "Delete", 0, OnComponent<DeleteComponent>, nullptr},
    {EHit::Component, "Expose All Inputs to Module Inputs Layer", 0,
     OnComponent<ExposeAllInputsToModuleLayer>, nullptr},
    {EHit::Component, "Expose All Inputs", 0, OnComponent<ExposeAllInputsToModuleLayer>, nullptr},
    {EHit::Component, "Expose All Outputs to Module Outputs Layer", kCmdExposeAllOutputs, kNoAct, nullptr},
    {EHit::Component, "Expose All Outputs", kCmdExposeAllOutputs, kNoAct, nullptr},
    {EHit::Component, "Remove Input Connections", 0, OnSelection<RemoveInputConnections>, nullptr},
    {EHit::Component, "Remove Output Connections", 0, OnSelection<RemoveOutputConnections>, nullptr},
    {EHit::Component, "Delete All Inputs", kCmdDeleteAllInputs, kNoAct, nullptr},
    {EHit::Component, "Delete All Outputs", kCmdDeleteAllOutputs, kNoAct, nullptr},
    {EHit::Component, "Import Patterns...", kCmdImportVectors, kNoAct, nullptr},
    {EHit::Component, "Learn Patterns", kCmdStartLearning, kNoAct, nullptr},
    {EHit::ComponentInput, "Input Properties...", 0, Edit, nullptr},
    {EHit::ComponentInput, "Remove Connection", kCmdDisconnectComponentInput, kNoAct, nullptr},
    {EHit::ComponentOutput, "Output Properties...", 0, Edit, nullptr},
    {EHit::ComponentOutput, "Show Graph of Output", kCmdShowChart, kNoAct, nullptr},
    {EHit::ComponentOutput, "Show Value Window", kCmdShowValueWindow, kNoAct, nullptr},
    {EHit::ComponentOutput, "Expose to Module Outputs Layer", kCmdExposeComponentOutput, kNoAct, nullptr},
    {EHit::ComponentOutput, "Remove All Connections", kCmdDisconnectComponentOutput, kNoAct, nullptr},
    {EHit::ComponentOutput, "Delete Output", kCmdDeleteComponentOutput, kNoAct, nullptr},
    {EHit::Graphic, "Properties...", 0, Edit, nullptr},
    {EHit::Graphic, "Consolidate Enclosed Components", 0, OnGraphicId<ConsolidateComponents>, nullptr},
    {EHit::Graphic, "Release Consolidated Components", 0, OnGraphicId<ReleaseComponents>, nullptr},
    {EHit::Graphic, "Clear Text", 0, OnSelection<ClearGraphicText>, nullptr},
    {EHit::Graphic, "Send To Back", 0, OnSelection<SendGraphicsToBack>, nullptr},
    {EHit::Graphic, "Size and Position/Make Same Size", 0, SameSize<ESameSize::Size>, nullptr},
    {EHit::Graphic, "Size and Position/Make Same Width", 0, SameSize<ESameSize::Width>, nullptr},
    {EHit::Graphic, "Size and Position/Make Same Height", 0, SameSize<ESameSize::Height>, nullptr},
    {EHit::Graphic, "Size and Position/Align Top", 0, AlignGraphics<EAlign::Top>, nullptr},
    {EHit::Graphic, "Size and Position/Align Bottom", 0, AlignGraphics<EAlign::Bottom>, nullptr},
    {EHit::Graphic, "Size and Position/Align Left", 0, AlignGraphics<EAlign::Left>, nullptr},
    {EHit::Graphic, "Size and Position/Align Right", 0, AlignGraphics<EAlign::Right>, nullptr},
    {EHit::Graphic, "Size and Position/Align Center Vertical", 0, AlignGraphics<EAlign::Vertical>, nullptr},
    {EHit::Graphic, "Size and Position/Align Center Horizontal", 0, AlignGraphics<EAlign::Horizontal>,
     nullptr},
    {EHit::Graphic, "Size and Position/Distribute Horizontally", 0, DistributeAcross, nullptr},
    {EHit::Graphic, "Size and Position/Distribute Vertically", 0, DistributeDown, nullptr},
    {EHit::Graphic, "Copy", 0, Copy, nullptr},
    {EHit::Graphic, "Paste", 0, Paste, ClipboardHolds},
    {EHit::Graphic, "Delete", 0, OnGraphicId<DeleteGraphic>, nullptr},
};

/// The module ports in the module view's bars open the menus of the module ports.
EHit MenuKind(EHit kind) {
    if (kind == EHit::ModInput) return EHit::ModuleInput;
    if (kind == EHit::ModOutput) return EHit::ModuleOutput;
    return kind;
}

}  // namespace

EContextMenu ComponentContextMenu(EComponentMenu kind) {
    switch (kind) {
        case EComponentMenu::Mfcc:
            return EContextMenu::Mfcc;
        case EComponentMenu::NeuralNetwork:
            return EContextMenu::NeuralNetwork;
        case EComponentMenu::Sequencer:
            return EContextMenu::Sequencer;
        default:
            return EContextMenu::Component;
    }
}

EContextMenu ContextMenuOf(const CHit& hit) {
    switch (MenuKind(hit.kind)) {
        case EHit::Module:
            return EContextMenu::Module;
        case EHit::ModuleInput:
            return EContextMenu::ModuleInput;
        case EHit::ModuleOutput:
            return EContextMenu::ModuleOutput;
        case EHit::InputsBar:
            return EContextMenu::InputsBar;
        case EHit::OutputsBar:
            return EContextMenu::OutputsBar;
        case EHit::SystemInput:
            return EContextMenu::SystemInput;
        case EHit::SystemOutput:
            return EContextMenu::SystemOutput;
        case EHit::InputCategory:
            return EContextMenu::InputCategory;
        case EHit::OutputCategory:
            return EContextMenu::OutputCategory;
        case EHit::Component:
            return hit.component ? ComponentContextMenu(TypeTraits(hit.component->m_typeId).menu)
                                 : EContextMenu::Component;
        case EHit::ComponentInput:
            return EContextMenu::ComponentInput;
        case EHit::ComponentOutput:
            return EContextMenu::ComponentOutput;
        case EHit::Graphic:
            return EContextMenu::Graphic;
        default:
            return EContextMenu::None;
    }
}

const std::vector<std::string>& ContextMenuItems(EContextMenu menu) {
    static const CItems kNone;
    switch (menu) {
        case EContextMenu::Module:
            return kModuleMenu;
        case EContextMenu::ModuleInput:
            return kModuleInputMenu;
        case EContextMenu::ModuleOutput:
            return kModuleOutputMenu;
        case EContextMenu::InputsBar:
            return kInputsBarMenu;
        case EContextMenu::OutputsBar:
            return kOutputsBarMenu;
        case EContextMenu::SystemInput:
            return kSystemInputMenu;
        case EContextMenu::SystemOutput:
            return kSystemOutputMenu;
        case EContextMenu::InputCategory:
            return kInputCategoryMenu;
        case EContextMenu::OutputCategory:
            return kOutputCategoryMenu;
        case EContextMenu::Component:
            return kComponentMenu;
        case EContextMenu::Mfcc:
            return kMfccMenu;
        case EContextMenu::NeuralNetwork:
            return kNeuralMenu;
        case EContextMenu::Sequencer:
            return kSequencerMenu;
        case EContextMenu::ComponentInput:
            return kComponentInputMenu;
        case EContextMenu::ComponentOutput:
            return kComponentOutputMenu;
        case EContextMenu::Graphic:
            return kGraphicMenu;
        case EContextMenu::None:
            break;
    }
    return kNone;
}

std::span<const CMenuAction> MenuActions() {
    return kActions;
}

const CMenuAction* FindMenuAction(EHit kind, std::string_view item) {
    kind = MenuKind(kind);
    for (const CMenuAction& a : kActions)
        if (a.kind == kind && item == a.item) return &a;
    return nullptr;
}

bool MenuActionAvailable(const CMenuAction& action, const CCommandContext& ctx) {
    return !action.available || action.available(ctx);
}

ECmd RunMenuAction(CCommandContext& ctx, const CHit& hit, const CMenuAction& action) {
    if (!MenuActionAvailable(action, ctx)) return ECmd::Unavailable;
    // Acting on an object edits it, except for opening a module's view.
    if (action.act && action.act != ViewComponents && RefusedWhileLearning(ctx.doc)) return ECmd::Refused;
    if (action.act) return action.act(ctx, hit);
    return RunCommand(ctx, action.command);
}

}  // namespace zor2
