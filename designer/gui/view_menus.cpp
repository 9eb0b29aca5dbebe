// The context menus of the main view: the item lists of each kind of object,
// how an open menu is built and what choosing an item does.
#include <QMenu>

#include "designer/commands_align.h"
#include "designer/commands_charts.h"
#include "designer/commands_component.h"
#include "designer/commands_graphics.h"
#include "designer/commands_module.h"
#include "designer/commands_system.h"
#include "designer/commands_view.h"
#include "designer/gui/design_view.h"
#include "engine/catalogue.h"

namespace zor2::gui {
namespace {

/// Items of the context menus; "-" separates, ">Name" opens and "<" closes a submenu.
const QStringList kModuleMenu = {"Module Properties...",
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
const QStringList kModuleInputMenu = {"Properties...",
                                      "-",
                                      "Expose as External Input",
                                      "Remove Input Connection",
                                      "Remove All Internal Connections",
                                      "-",
                                      "Delete Module Input"};
const QStringList kModuleOutputMenu = {"Properties...",
                                       "-",
                                       "Remove Outgoing Connections from Output",
                                       "Remove Internal Connection to Output",
                                       "-",
                                       "Delete Output"};
const QStringList kInputsBarMenu = {
    "Add Category...", "Add System Input...", "-", "Import System Inputs...", "-",
    "Expand All",      "Contract all"};
const QStringList kOutputsBarMenu = {
    "Add Category...", "Add System Output...", "-", "Import System Outputs...", "-",
    "Expand All",      "Contract All"};
const QStringList kSystemInputMenu = {"Input Properties...", "Reset Value", "-",
                                      "Add SimBehavior...",  "-",           "Delete"};
const QStringList kSystemOutputMenu = {"Output Properties...", "-", "Delete", "Remove Connection"};
const QStringList kInputCategoryMenu = {"Category Properties...", "-", "Contract", "Expand", "-",
                                        "Add New Input..."};
const QStringList kOutputCategoryMenu = {"Category Properties...", "-", "Contract", "Expand", "-",
                                         "Add New Output..."};
const QStringList kComponentMenu = {"Properties...",
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
const QStringList kMfccMenu = {"Properties...",
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
const QStringList kNeuralMenu = {"Properties...",
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
const QStringList kSequencerMenu = [] {
    QStringList items = kComponentMenu;
    items.insert(2, "Show Sequence Timeline Editor");
    items.insert(2, "-");
    return items;
}();
const QStringList kComponentInputMenu = {"Input Properties...", "-", "Remove Connection"};
const QStringList kComponentOutputMenu = {
    "Output Properties...",           "-", "Show Graph of Output",   "Show Value Window", "-",
    "Expose to Module Outputs Layer", "-", "Remove All Connections", "Delete Output"};
const QStringList kGraphicMenu = {"Properties...",
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

/// Items the view carries out itself; the window handles "Properties" items.
const QStringList kViewItems = {"Execute",
                                "Expose as External Input",
                                "View Components...",
                                "Delete",
                                "Expose All Inputs to Module Inputs Layer",
                                "Expose All Inputs",
                                "Module Properties...",
                                "Properties...",
                                "Input Properties...",
                                "Output Properties...",
                                "Category Properties..."};

/// Context-menu items that run one document command on the object under the
/// cursor, which the gesture has made the selection.
struct CObjectMenuItem {
    EHit kind;
    const char* item;
    ECmd (*run)(Czor2Doc&, const CHit&);
};

const CObjectMenuItem kObjectMenuItems[] = {
    {EHit::Module, "Inputs/Group All Inputs",
     [](Czor2Doc& d, const CHit& h) { return GroupModuleInputs(d, !h.module->m_collapsedInputs); }},
    {EHit::Module, "Outputs/Group All Outputs",
     [](Czor2Doc& d, const CHit& h) { return GroupModuleOutputs(d, !h.module->m_collapsedOutputs); }},
    {EHit::InputsBar, "Expand All", [](Czor2Doc& d, const CHit&) { return ExpandAllInputCategories(d); }},
    {EHit::InputsBar, "Contract all", [](Czor2Doc& d, const CHit&) { return ContractAllInputCategories(d); }},
    {EHit::OutputsBar, "Expand All", [](Czor2Doc& d, const CHit&) { return ExpandAllOutputCategories(d); }},
    {EHit::OutputsBar, "Contract All",
     [](Czor2Doc& d, const CHit&) { return ContractAllOutputCategories(d); }},
    {EHit::InputCategory, "Contract",
     [](Czor2Doc& d, const CHit& h) { return ContractInputCategory(d, h.inputCategory->m_id); }},
    {EHit::InputCategory, "Expand",
     [](Czor2Doc& d, const CHit& h) { return ExpandInputCategory(d, h.inputCategory->m_id); }},
    {EHit::OutputCategory, "Contract",
     [](Czor2Doc& d, const CHit& h) { return ContractOutputCategory(d, h.outputCategory->m_id); }},
    {EHit::OutputCategory, "Expand",
     [](Czor2Doc& d, const CHit& h) { return ExpandOutputCategory(d, h.outputCategory->m_id); }},
    {EHit::Component, "Show Reduced", [](Czor2Doc& d, const CHit&) { return ToggleComponentReduced(d); }},
    {EHit::Component, "Remove Input Connections",
     [](Czor2Doc& d, const CHit&) { return RemoveInputConnections(d); }},
    {EHit::Component, "Remove Output Connections",
     [](Czor2Doc& d, const CHit&) { return RemoveOutputConnections(d); }},
    {EHit::SystemOutput, "Remove Connection",
     [](Czor2Doc& d, const CHit&) { return RemoveSystemOutputConnection(d); }},
    {EHit::Module, "Outputs/Remove Connections...",
     [](Czor2Doc& d, const CHit& h) { return RemoveModuleOutgoingConnections(d, h.module->m_id); }},
    {EHit::Module, "Inputs/Remove Connections",
     [](Czor2Doc& d, const CHit& h) { return RemoveModuleIncomingConnections(d, h.module->m_id); }},
    {EHit::Graphic, "Consolidate Enclosed Components",
     [](Czor2Doc& d, const CHit& h) { return ConsolidateComponents(d, h.graphic->m_id); }},
    {EHit::Graphic, "Release Consolidated Components",
     [](Czor2Doc& d, const CHit& h) { return ReleaseComponents(d, h.graphic->m_id); }},
    {EHit::Graphic, "Clear Text", [](Czor2Doc& d, const CHit&) { return ClearGraphicText(d); }},
    {EHit::Graphic, "Send To Back", [](Czor2Doc& d, const CHit&) { return SendGraphicsToBack(d); }},
    {EHit::Graphic, "Size and Position/Make Same Size",
     [](Czor2Doc& d, const CHit&) { return MakeGraphicsSameSize(d, ESameSize::Size); }},
    {EHit::Graphic, "Size and Position/Make Same Width",
     [](Czor2Doc& d, const CHit&) { return MakeGraphicsSameSize(d, ESameSize::Width); }},
    {EHit::Graphic, "Size and Position/Make Same Height",
     [](Czor2Doc& d, const CHit&) { return MakeGraphicsSameSize(d, ESameSize::Height); }},
    {EHit::Graphic, "Size and Position/Align Top",
     [](Czor2Doc& d, const CHit&) { return Align(d, EAlign::Top, EAlignTarget::Graphics); }},
    {EHit::Graphic, "Size and Position/Align Bottom",
     [](Czor2Doc& d, const CHit&) { return Align(d, EAlign::Bottom, EAlignTarget::Graphics); }},
    {EHit::Graphic, "Size and Position/Align Left",
     [](Czor2Doc& d, const CHit&) { return Align(d, EAlign::Left, EAlignTarget::Graphics); }},
    {EHit::Graphic, "Size and Position/Align Right",
     [](Czor2Doc& d, const CHit&) { return Align(d, EAlign::Right, EAlignTarget::Graphics); }},
    {EHit::Graphic, "Size and Position/Align Center Vertical",
     [](Czor2Doc& d, const CHit&) { return Align(d, EAlign::Vertical, EAlignTarget::Graphics); }},
    {EHit::Graphic, "Size and Position/Align Center Horizontal",
     [](Czor2Doc& d, const CHit&) { return Align(d, EAlign::Horizontal, EAlignTarget::Graphics); }},
    {EHit::Graphic, "Size and Position/Distribute Horizontally",
     [](Czor2Doc& d, const CHit&) { return DistributeHorizontally(d, EAlignTarget::Graphics); }},
    {EHit::Graphic, "Size and Position/Distribute Vertically",
     [](Czor2Doc& d, const CHit&) { return DistributeVertically(d, EAlignTarget::Graphics); }},
    {EHit::Graphic, "Delete", [](Czor2Doc& d, const CHit& h) { return DeleteGraphic(d, h.graphic->m_id); }},
};

const CObjectMenuItem* FindObjectMenuItem(EHit kind, const QString& item) {
    for (const CObjectMenuItem& c : kObjectMenuItems)
        if (c.kind == kind && item == QLatin1String(c.item)) return &c;
    return nullptr;
}

const QStringList* MenuFor(const CHit& hit) {
    switch (hit.kind) {
        case EHit::Module:
            return &kModuleMenu;
        case EHit::ModuleInput:
        case EHit::ModInput:
            return &kModuleInputMenu;
        case EHit::ModuleOutput:
        case EHit::ModOutput:
            return &kModuleOutputMenu;
        case EHit::InputsBar:
            return &kInputsBarMenu;
        case EHit::OutputsBar:
            return &kOutputsBarMenu;
        case EHit::SystemInput:
            return &kSystemInputMenu;
        case EHit::SystemOutput:
            return &kSystemOutputMenu;
        case EHit::InputCategory:
            return &kInputCategoryMenu;
        case EHit::OutputCategory:
            return &kOutputCategoryMenu;
        case EHit::Component:
            return &CDesignView::ComponentMenuItems(TypeTraits(hit.component->m_typeId).menu);
        case EHit::ComponentInput:
            return &kComponentInputMenu;
        case EHit::ComponentOutput:
            return &kComponentOutputMenu;
        case EHit::Graphic:
            return &kGraphicMenu;
        default:
            return nullptr;
    }
}

}  // namespace

const QStringList& CDesignView::ComponentMenuItems(EComponentMenu menu) {
    switch (menu) {
        case EComponentMenu::Mfcc:
            return kMfccMenu;
        case EComponentMenu::NeuralNetwork:
            return kNeuralMenu;
        case EComponentMenu::Sequencer:
            return kSequencerMenu;
        default:
            return kComponentMenu;
    }
}

QStringList CDesignView::ContextMenuItems(const CHit& hit) {
    const QStringList* items = MenuFor(hit);
    return items ? *items : QStringList();
}

QMenu* CDesignView::BuildContextMenu(const CHit& hit, QWidget* parent) {
    const QStringList* items = MenuFor(hit);
    if (!items) return nullptr;
    auto* root = new QMenu(parent);
    QMenu* menu = root;
    QString prefix;  // "submenu/" inside a submenu, so equal items stay apart
    for (const QString& item : *items) {
        if (item == "-") {
            menu->addSeparator();
        } else if (item.startsWith('>')) {
            menu = root->addMenu(item.mid(1));
            prefix = item.mid(1) + '/';
        } else if (item == "<") {
            menu = root;
            prefix.clear();
        } else {
            QAction* a = menu->addAction(item);
            const QString key = prefix + item;
            const bool handled =
                kViewItems.contains(key) || FindObjectMenuItem(hit.kind, key) ||
                (hit.kind == EHit::Graphic && (key == "Copy" || (key == "Paste" && !m_clipboard.Empty()))) ||
                (m_host.menuCommand && m_host.menuItemAvailable && m_host.menuItemAvailable(hit, key));
            a->setEnabled(handled);
            connect(a, &QAction::triggered, this, [this, hit, key] { RunMenuItem(hit, key); });
        }
    }
    return root;
}

void CDesignView::RunMenuItem(const CHit& hit, const QString& item) {
    // The item acts on the object under the cursor (a selected group stays selected).
    SelectHit(hit, false);
    if (const CObjectMenuItem* c = FindObjectMenuItem(hit.kind, item)) {
        m_actions.Editor().ApplyToModel(m_actions.System());
        c->run(m_actions.Doc(), hit);
    } else if (hit.kind == EHit::Graphic && item == "Copy") {
        CopyGraphics(m_actions.Doc(), m_clipboard);
    } else if (hit.kind == EHit::Graphic && item == "Paste") {
        PasteGraphics(m_actions.Doc(), m_clipboard);
    } else if (item == "Execute") {
        if (hit.kind == EHit::Module)
            m_actions.ExecuteModuleOnce(*hit.module);
        else if (hit.component)
            m_actions.ExecuteComponent(*hit.component);
    } else if (item == "Expose as External Input" && hit.moduleInput) {
        m_actions.ExposeModuleInput(*hit.module, *hit.moduleInput);
    } else if (item == "View Components...") {
        ShowModule(hit.module);
        return;
    } else if (item == "Delete") {
        if (hit.kind == EHit::Module)
            m_actions.DeleteModule(*hit.module);
        else if (hit.kind == EHit::Component)
            m_actions.DeleteComponent(*hit.component);
        else if (m_host.menuCommand)
            m_host.menuCommand(hit, item);
    } else if (item == "Expose All Inputs to Module Inputs Layer" || item == "Expose All Inputs") {
        m_actions.ExposeAllInputsReconnect(*hit.component);
    } else if (item.endsWith("Properties...")) {
        if (m_host.editObject) m_host.editObject(hit);
    } else if (m_host.menuCommand) {
        m_host.menuCommand(hit, item);
    }
    Changed();
}

}  // namespace zor2::gui
