// Connections made by dragging from a source to a receiver. Inside a module the
// connect requests check the wiring rules (a refusal is written on top of
// "System Build Feedback" with a beep and changes nothing); between modules and
// system ports the system's connect operations apply with their own texts.
// Port ids of 0 mean "a new port".
#pragma once

#include <cstdint>

#include "designer/commands_common.h"

namespace zor2 {

class Czor2Doc;

/// Component output -> component input in the designed module.
ECmd ConnectComponents(Czor2Doc& doc, int32_t srcComponentId, int32_t outputId, int32_t dstComponentId,
                       int32_t inputId);
/// Module input (from the inputs bar) -> component input in the designed module.
ECmd ConnectModuleInputToComponent(Czor2Doc& doc, int32_t moduleInputId, int32_t dstComponentId,
                                   int32_t inputId);
/// Component output -> module output (the outputs bar) in the designed module.
ECmd ConnectComponentToModuleOutput(Czor2Doc& doc, int32_t srcComponentId, int32_t outputId,
                                    int32_t moduleOutputId);
/// Module -> module (system view). Feedback "Added connection from system module %s to system module: %s".
ECmd ConnectModuleToModule(Czor2Doc& doc, int32_t srcModuleId, int32_t srcOutputId, int32_t dstModuleId,
                           int32_t dstInputId);
/// The system inputs bar dragged onto a module: a new system input "New input"
/// feeding it. Unavailable without the module; Refused when no id is left.
ECmd ConnectNewSystemInputToModule(Czor2Doc& doc, int32_t dstModuleId);
/// System input -> module. Feedback "Added connection from system input %s to system module: %s".
ECmd ConnectSystemInputToModule(Czor2Doc& doc, int32_t systemInputId, int32_t dstModuleId,
                                int32_t dstInputId);
/// Module -> system output. Feedback "Added connection from system module: %s to system output %s".
ECmd ConnectModuleToSystemOutput(Czor2Doc& doc, int32_t srcModuleId, int32_t srcOutputId,
                                 int32_t systemOutputId);

}  // namespace zor2
