// OK of a component property dialog: checks the sheet, lets the type's profile
// write the edited fields back, and records the change as one undo level.
#include "designer/component_properties.h"

#include "designer/commands_component.h"
#include "designer/document.h"
#include "engine/component.h"

namespace zor2 {

ECmd ApplyComponentProperties(Czor2Doc& doc, CNetworkModel& component, const CPropertySheet& sheet) {
    const CPropertyProfile& profile = PropertyProfile(component.m_typeId);
    if (!profile.caption || sheet.TypeId() != component.m_typeId || sheet.ComponentId() != component.m_id) {
        doc.Prompter().Tell("These properties belong to another component; nothing was changed.");
        return ECmd::Refused;
    }
    if (doc.System().m_running) {
        doc.Prompter().Tell(
            "Please stop the simulator before modifying component properties via the dialog interface.");
        return ECmd::Refused;
    }
    if (const std::string error = sheet.Validate(); !error.empty()) {
        doc.Prompter().Tell(error);
        return ECmd::Refused;
    }
    const bool edited = sheet.Edited();
    if (edited && profile.apply) {
        if (const std::string refusal = profile.apply(component, sheet); !refusal.empty()) {
            doc.Prompter().Tell(refusal);
            return ECmd::Refused;
        }
    }
    if (edited && sheet.Changed("name")) component.m_name = sheet.Find("name")->text;
    if (edited && sheet.Changed("description")) component.m_description = sheet.Find("description")->text;
    if (profile.executeOnOk) {
        component.GetInputValues();
        component.Execute();
    }
    if (!edited) return ECmd::Unavailable;
    return RecordComponentProperties(doc, component);
}

}  // namespace zor2
