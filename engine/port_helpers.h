// Port helpers of the component families: removing a component's own ports
// together with what hangs on them, and the common switch input.
#pragma once

namespace zor2 {

class CNetworkModel;
class CModelInput;
class CModelOutput;

/// Deletes an output of `component` with the connections that leave it and the
/// charts and value windows that show it.
void RemoveComponentOutput(CNetworkModel& component, CModelOutput* output);
/// Deletes an input of `component` with the connection that feeds it.
void RemoveComponentInput(CNetworkModel& component, CModelInput* input);
/// The switch on input 10: on when it is unconnected or its source is non-zero
/// (the input then shows 1 "On", else 0 "Off"); on without an input 10.
bool ReadOnOffInput(CNetworkModel& component);

}  // namespace zor2
