// The mouse on running user controls and on the targets of sim actions: a press
// and release operate a User Control Button or User Button Up Down while the
// simulation runs, and a connection dropped on a graphic or value window makes
// it the target of a Sim Action Message or Format.
#pragma once

#include <cstdint>

#include "designer/commands_common.h"
#include "engine/object.h"

namespace zor2 {

class Czor2Doc;
class CNetworkModel;

/// Whether a left press or double click on the component operates it instead of
/// selecting it: a user control while the simulation runs.
bool OperatesControl(const Czor2Doc& doc, const CNetworkModel& component);
/// Presses a user control of the designed module at model point `at`: its value
/// changes and shows at once. Values only, no undo level; Unavailable unless
/// OperatesControl holds.
ECmd PressControl(Czor2Doc& doc, int32_t componentId, CPoint at);
/// The button-up after a press: releases the control that was pressed and
/// clears the module's selection. Unavailable when no control was pressed.
ECmd ReleaseControl(Czor2Doc& doc);
/// A connection from a Sim Action Message or Format dropped on a graphic, or from
/// a Format on a value window, of the designed module: the object becomes the
/// action's target (one undo level). Refused for any other pairing.
ECmd TargetGraphic(Czor2Doc& doc, int32_t componentId, int32_t graphicId);
ECmd TargetValueWindow(Czor2Doc& doc, int32_t componentId, int32_t windowId);

}  // namespace zor2
