// Component-level editing commands of the module design view: components and
// their ports, connections, exposing ports as module ports, charts and value
// windows, and background graphics that hold components.
#pragma once

#include <cstdint>
#include <string>

#include "designer/commands_common.h"

namespace zor2 {

class Czor2Doc;
class CNetwork;
class CNetworkModel;
class CModelOutput;

// --- components ---------------------------------------------------------------
/// A palette entry dropped on the designed module at (x, y): the component is
/// named "M%d %s". Feedback "Added component: %s to system module: %s".
ECmd AddComponent(Czor2Doc& doc, int32_t typeId, int32_t x, int32_t y);
/// "Delete Component": the selected component with its connections, charts
/// and value windows, after confirmation. Feedback "Deleted [%s] component in
/// system module [%s].".
ECmd DeleteComponent(Czor2Doc& doc);
/// The Delete key: the selected components, charts and graphics, after
/// "Are you sure you want to delete the currently selected items?".
ECmd DeleteSelectedItems(Czor2Doc& doc);
/// "Remove All Connections": every connection of the selected component; its
/// ports remain (no feedback line).
ECmd RemoveAllConnections(Czor2Doc& doc);
/// The context menu's "Remove Input Connections" / "Remove Output Connections":
/// one side only, with the one-sided question (no feedback line).
ECmd RemoveInputConnections(Czor2Doc& doc);
ECmd RemoveOutputConnections(Czor2Doc& doc);
/// The context menu's "Execute" on a component: GetInputValues and Execute
/// once. Values only: no undo level.
ECmd ExecuteComponent(Czor2Doc& doc);
/// "Delete All Inputs": the user-added inputs of the selected component and
/// their connections; template inputs remain. Feedback "Disconnected and
/// deleted all inputs to component: %s".
ECmd DeleteAllInputs(Czor2Doc& doc);
/// "Delete All Outputs": the user-added outputs of the selected component and
/// their connections; template outputs remain (no feedback line).
ECmd DeleteAllOutputs(Czor2Doc& doc);

/// After a structural change inside a module: sizes, stages and the module box.
void Refresh(CNetworkModel& component);
/// Deletes one output of a component with its connections, charts and value
/// windows, after the component has let go of what refers to it.
void DeleteOutputPort(CNetwork& module, CNetworkModel& component, CModelOutput* out);

// --- component ports ----------------------------------------------------------
/// "Add Input" / "Add Output": one more user port on the selected component,
/// refused with a beep at the type's maximum (no feedback line).
ECmd AddComponentInput(Czor2Doc& doc);
ECmd AddComponentOutput(Czor2Doc& doc);
/// "Edit Input" / "Edit Output": renames the selected component port.
ECmd EditComponentInput(Czor2Doc& doc, const std::string& name);
ECmd EditComponentOutput(Czor2Doc& doc, const std::string& name);
/// "Disconnect Input": the connection feeding the selected component input.
/// Feedback "Removed %d connections to the %s input on component: %s".
ECmd DisconnectComponentInput(Czor2Doc& doc);
/// "Disconnect Output": every connection leaving the selected component output (no feedback line).
ECmd DisconnectComponentOutput(Czor2Doc& doc);
/// "Delete Input": the selected user-added input with its connection (no feedback line).
ECmd DeleteComponentInput(Czor2Doc& doc);
/// "Delete Output": the selected user-added output with its connections, charts
/// and value windows. Feedback "Deleted the %s component output which had (0)
/// connections." when it had none.
ECmd DeleteComponentOutput(Czor2Doc& doc);

// --- exposing component ports -------------------------------------------------
/// "Expose Input": a module input connected to the selected component input.
/// Feedback "Exposed %d input for component: %s".
ECmd ExposeComponentInput(Czor2Doc& doc);
/// "Expose All Inputs": the same for every unconnected input of the selected
/// component. Feedback "Exposed %d input(s) for component: %s".
ECmd ExposeAllComponentInputs(Czor2Doc& doc);
/// "Expose All Inputs to Module Inputs Layer": the selected component's input
/// connections go, then each input is fed by the module input of its name
/// (made when missing). Feedback "Exposed %d input connections for component:
/// %s"; Unavailable without a selected component in a module.
ECmd ExposeAllInputsToModuleLayer(Czor2Doc& doc);
/// "Expose Output": a module output fed by the selected component output.
/// Feedback "Exposed %s output connection for component: %s".
ECmd ExposeComponentOutput(Czor2Doc& doc);
/// "Expose All Outputs": the same for every output of the selected component.
/// Feedback "Exposed %d output connections for component: %s".
ECmd ExposeAllComponentOutputs(Czor2Doc& doc);

// --- charts and value windows --------------------------------------------------
/// "Show Value Chart" / "Show Value Window" on the selected component output.
ECmd ShowChart(Czor2Doc& doc);
ECmd ShowValueWindow(Czor2Doc& doc);

// --- background graphics ---------------------------------------------------------
/// "Add Background Graphic": a graphic at (x, y) in the designed module (no feedback line).
ECmd AddGraphic(Czor2Doc& doc, int32_t x, int32_t y);
/// "Consolidate Components": every visible component of the designed module
/// inside the graphic's rectangle is hidden in it.
ECmd ConsolidateComponents(Czor2Doc& doc, int32_t graphicId);
/// "Release Components": shows the graphic's components again, after confirmation.
ECmd ReleaseComponents(Czor2Doc& doc, int32_t graphicId);
/// "Delete Selected Graphic": releases its components and deletes it, after confirmation.
ECmd DeleteGraphic(Czor2Doc& doc, int32_t graphicId);

// --- component properties --------------------------------------------------------
/// Whether "Component Properties" may open: refused while the simulator runs
/// with "Please stop the simulator before modifying component properties via
/// the dialog interface.".
bool CanEditComponentProperties(Czor2Doc& doc);
/// Before a property change that alters the number of a segmenting
/// component's outputs: asks when the component has output connections.
bool ConfirmSegmentOutputsChange(Czor2Doc& doc, const CNetworkModel& component);
/// Before a change of a component's data source: asks when it has output connections.
bool ConfirmDataSourceChange(Czor2Doc& doc, const CNetworkModel& component);
/// Records a change made by a property dialog on OK (one undo level, no line).
ECmd RecordComponentProperties(Czor2Doc& doc, CNetworkModel& component);

}  // namespace zor2
