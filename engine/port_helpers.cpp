// Removing component ports with their connections and views; the switch input.
#include "engine/port_helpers.h"

#include "engine/component.h"
#include "engine/network.h"
#include "engine/system.h"

namespace zor2 {

void RemoveComponentOutput(CNetworkModel& component, CModelOutput* output) {
    if (!output) return;
    if (CNetwork* module = component.m_owner) {
        if (CSystem* system = module->System()) system->DeleteOutputViews(nullptr, nullptr, output);
        module->RemoveOutputConnections(*output);
        module->InvalidateOrder();
    }
    component.m_selectedOutputs.Remove(output);
    component.m_outputs.Remove(output);
}

void RemoveComponentInput(CNetworkModel& component, CModelInput* input) {
    if (!input) return;
    if (CNetwork* module = component.m_owner) {
        module->RemoveInputConnection(*input);
        module->InvalidateOrder();
    }
    component.m_selectedInputs.Remove(input);
    component.m_inputs.Remove(input);
}

bool ReadOnOffInput(CNetworkModel& component) {
    CModelInput* in = component.FindInput(10);
    if (!in) return true;
    const bool on = !in->HasSource() || CNetworkModel::SourceValue(*in) != 0.0;
    in->m_value = on ? 1.0 : 0.0;
    in->m_text.SetStatic(on ? "On" : "Off");
    return on;
}

}  // namespace zor2
