// Module-level editing commands: module inputs and outputs, exposing them as
// system ports, removing their connections, the "New Input Connection" dialog
// and "Execute Module". They act on the current module (the designed one, or
// the first selected module) and its selected module ports.
#pragma once

#include <cstdint>
#include <string>

#include "designer/commands_common.h"

namespace zor2 {

class Czor2Doc;

/// "Add Input" / "Add New Input" on OK of its dialog: a module input named
/// `name` ("input%d" when empty). Feedback "Added new input: %s for system module: %s".
ECmd AddModuleInput(Czor2Doc& doc, const std::string& name = {});
/// "Add Output": "output%d" by default. Feedback "Added new output: %s for system module: %s".
ECmd AddModuleOutput(Czor2Doc& doc, const std::string& name = {});
/// "Edit Input" / "Edit Output" on OK: name and description of the selected
/// module port (no feedback line).
ECmd EditModuleInput(Czor2Doc& doc, const std::string& name, const std::string& description);
ECmd EditModuleOutput(Czor2Doc& doc, const std::string& name, const std::string& description);
/// "Delete Input": the selected module input with its external and internal
/// connections, after one of four confirmations. Feedback "Deleted module input: %s".
ECmd DeleteModuleInput(Czor2Doc& doc);
/// "Delete Output": asks "Are you sure you want to delete the %s output?" and,
/// with connections, a second question (no feedback line).
ECmd DeleteModuleOutput(Czor2Doc& doc);

/// "Expose Inputs": a system input for every module input without a source.
/// Asks whether to make a new category: Yes files them under a new category
/// named `newCategoryName` (the category dialog's result; empty means that
/// dialog was cancelled), No under the default category, Cancel stops.
/// Feedback "Exposed inputs for system module: %s".
ECmd ExposeModuleInputs(Czor2Doc& doc, const std::string& newCategoryName = "category name");
/// A module input's context menu "Expose as External Input": a system input of
/// the input's name in the default category, connected to it, as one undo
/// level. Feedback "Exposed inputs for system module: %s". An input that
/// already has a source is refused with a message; a refused connection takes
/// the new system input back. Either refusal changes nothing.
ECmd ExposeModuleInput(Czor2Doc& doc, int32_t moduleId, int32_t inputId);
/// "Expose Outputs": a system output for every module output not yet feeding
/// one; the same category question (no feedback line).
ECmd ExposeModuleOutputs(Czor2Doc& doc, const std::string& newCategoryName = "category name");

/// "Disconnect External" of the inputs bar / "Remove Incoming": the sources of
/// the selected module inputs; the inputs remain. Feedback "Disconnected and
/// deleted incoming connections to selected inputs to Module: %s".
ECmd RemoveIncomingConnections(Czor2Doc& doc);
/// "Disconnect Internal" of the inputs bar: the connections from the selected
/// module inputs to components. Feedback "Disconnected and deleted internal
/// connections to selected inputs to Module: %s".
ECmd RemoveInternalInputConnections(Czor2Doc& doc);
/// "Disconnect External" of the outputs bar / "Remove Outgoing": every
/// connection leaving the selected module output. Feedback "Removed %d
/// connection(s) from the %s output of the %s module".
ECmd RemoveOutgoingConnections(Czor2Doc& doc);
/// The module context menu's "Outputs/Remove Connections...": RemoveOutgoingConnections
/// for each output of module `moduleId` that has connections, each with its own
/// question and line; a cancelled question stops the walk (Cancelled). With no
/// connected output it tells "No outgoing connections to delete..." (Unavailable).
ECmd RemoveModuleOutgoingConnections(Czor2Doc& doc, int32_t moduleId);
/// The module context menu's "Inputs/Remove Connections": RemoveIncomingConnections
/// on every input of module `moduleId`. Unavailable when it has no inputs.
ECmd RemoveModuleIncomingConnections(Czor2Doc& doc, int32_t moduleId);
/// "Disconnect Internal" of the outputs bar: the component connection feeding
/// the selected module output. Feedback "Removed internal connection to the %s
/// output of the %s module".
ECmd RemoveInternalOutputConnection(Czor2Doc& doc);

/// The "New Input Connection" dialog's answer for the current module.
struct CDataConnectionRequest {
    /// The receiving module input: an existing one (id) or, with id 0, a new
    /// one named `newInputName`.
    int32_t inputId = 0;
    std::string newInputName;
    /// The source: a system input (id), or with 0 the module `sourceModuleId`
    /// with its output `sourceOutputId`, or a new output named `newOutputName`.
    int32_t systemInputId = 0;
    int32_t sourceModuleId = 0;
    int32_t sourceOutputId = 0;
    std::string newOutputName;
};
/// "Add Data Connection": creates the requested new ports, then connects
/// (system input or module output to the module input). A refused connection
/// takes the new ports back and changes nothing.
ECmd AddDataConnection(Czor2Doc& doc, const CDataConnectionRequest& request);

/// "Properties..." of a module on OK: its name and description (no feedback line).
ECmd EditModuleProperties(Czor2Doc& doc, const std::string& name, const std::string& description);
/// "Design Module": opens the first selected module in the module design view.
ECmd DesignSelectedModule(Czor2Doc& doc);
/// "Select All" of the module design view: every component of the designed module.
ECmd SelectAllComponents(Czor2Doc& doc);

/// "Execute Module": one pass of the current module's components without
/// pulling its module inputs first. Values only: no undo level.
ECmd ExecuteModule(Czor2Doc& doc);
/// The module's context menu "Execute": pulls its module inputs, runs one pass
/// and publishes its module outputs. Values only: no undo level.
ECmd ExecuteModuleWithInputs(Czor2Doc& doc);

}  // namespace zor2
