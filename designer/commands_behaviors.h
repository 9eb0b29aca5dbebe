// Simulation behaviour commands: add and edit through the "Sim Behavior
// Properties" dialog data, delete all, the behaviours switch and "Reset Value".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "designer/commands_common.h"
#include "simulation/behaviors.h"

namespace zor2 {

class Czor2Doc;
class CSystem;

/// The fields of the "Sim Behavior Properties" dialog.
struct CBehaviorData {
    std::string name;
    int32_t type = kBehaviorAscending;
    bool enabled = true;
    double rate = 0.0;
    double floor = 0.0;
    double ceiling = 0.0;
    double randomLow = 0.0;
    double randomHigh = 0.0;
};
/// The dialog's start values for a new behaviour on the input: the name
/// "behavior%d" with 1 + the number of behaviours already on that input.
CBehaviorData NewBehaviorData(const CSystem& system, int32_t inputId);
CBehaviorData BehaviorData(const CSimBehavior& behavior);

/// "Add New Behavior" / "Add Behavior" on OK: a behaviour on the first selected
/// system input. Unavailable when no system input is selected.
ECmd AddBehavior(Czor2Doc& doc, const CBehaviorData& data);
/// The System Input dialog's "Add...": a behaviour on the given input.
ECmd AddBehaviorTo(Czor2Doc& doc, int32_t inputId, const CBehaviorData& data);
/// The dialog's "Edit..." on OK: copies the fields into the behaviour.
ECmd EditBehavior(Czor2Doc& doc, int32_t behaviorId, const CBehaviorData& data);
/// "Delete All Behaviors": asks "Currently there are %d behaviors. Are you
/// sure you want to delete all?" (Yes, No, Cancel); only Yes deletes.
ECmd DeleteAllBehaviors(Czor2Doc& doc);
/// "Delete Behaviors" of the "System Inputs" group: every behaviour of the
/// first selected system input, after confirmation.
ECmd DeleteInputBehaviors(Czor2Doc& doc);

/// The "Manage Behavaiors" dialog's "Delete": removes one behaviour.
ECmd DeleteBehavior(Czor2Doc& doc, int32_t behaviorId);

/// The "Selected Behavior" box of the "Manage Behavaiors" dialog.
struct CBehaviorSummary {
    int32_t id = 0;
    std::string name;
    std::string targetInput = {};  // the name of the system input it drives, empty when none
    std::string type;         // the type's list name
    bool enabled = false;
};
/// The summary of the behaviour on line `index` of the list; nothing for a line that is not there.
std::optional<CBehaviorSummary> BehaviorSummary(const CSystem& system, int index);

/// The System Input dialog's list: "%s (enabled)" / "%s (disabled)".
std::vector<std::string> InputBehaviorLines(const CSystem& system, int32_t inputId);
/// The "Manage Behavaiors" list: "(ON) %s (%s)" / "(OFF) %s (%s)".
std::vector<std::string> ManageBehaviorLines(const CSystem& system);

/// "Allow Enabled Behaviors": toggles the system's flag; returns the new state.
bool ToggleBehaviors(Czor2Doc& doc);
/// "Reset Value" is available when the first selected system input holds no
/// array data and its value differs from its initial value.
bool CanResetInputValue(const Czor2Doc& doc);
/// "Reset Value": the input takes its initial value and one full cycle runs
/// with the behaviours held off. Values only: no undo level.
ECmd ResetInputValue(Czor2Doc& doc);

}  // namespace zor2
