// The context menus of the view's objects: the items of each menu in order,
// and one row per item that acts, naming a command or an action on the object.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "designer/command_rows.h"
#include "designer/view_hit.h"
#include "engine/catalogue.h"

namespace zor2 {

enum class EContextMenu {
    None,
    Module,
    ModuleInput,
    ModuleOutput,
    InputsBar,
    OutputsBar,
    SystemInput,
    SystemOutput,
    InputCategory,
    OutputCategory,
    Component,  // the component menus, one per EComponentMenu
    Mfcc,
    NeuralNetwork,
    Sequencer,
    ComponentInput,
    ComponentOutput,
    Graphic,
};

/// The menu an object opens; a component's by its type's menu kind.
EContextMenu ContextMenuOf(const CHit& hit);
EContextMenu ComponentContextMenu(EComponentMenu kind);
/// The items of a menu: "-" separates, ">Name" opens and "<" closes a submenu.
const std::vector<std::string>& ContextMenuItems(EContextMenu menu);

/// What an item does: `command` runs as the ribbon runs it, else `act` acts
/// on the object under the cursor. Either way the object is the selection
/// when it runs. Items inside a submenu are named "submenu/item".
struct CMenuAction {
    EHit kind;  // module ports in the module view (ModInput, ModOutput) share the rows of their kind
    const char* item;
    int command;
    ECmd (*act)(CCommandContext&, const CHit&);
    CommandRule available;  // null: always
};

std::span<const CMenuAction> MenuActions();
/// The row of an item of an object's menu, or null for an item that does nothing yet.
const CMenuAction* FindMenuAction(EHit kind, std::string_view item);
bool MenuActionAvailable(const CMenuAction& action, const CCommandContext& ctx);
ECmd RunMenuAction(CCommandContext& ctx, const CHit& hit, const CMenuAction& action);

}  // namespace zor2
