// Pressing and releasing running user controls, and sim action targets set by a dropped connection.
#include "designer/commands_controls.h"

#include "components/utility/sim_action.h"
#include "components/utility/user_control.h"
#include "designer/document.h"

namespace zor2 {

namespace {

CNetworkModel* DesignedComponent(Czor2Doc& doc, int32_t componentId) {
    CNetwork* m = doc.Editor().DesignedModule(doc.System());
    return m ? m->m_components.Find(componentId) : nullptr;
}

template <class Retarget>
ECmd Target(Czor2Doc& doc, int32_t componentId, Retarget retarget) {
    auto* action = dynamic_cast<CModelSimAction*>(DesignedComponent(doc, componentId));
    if (!action || !retarget(*action)) return ECmd::Refused;
    doc.RecordChange("");
    return ECmd::Done;
}

}  // namespace

bool OperatesControl(const Czor2Doc& doc, const CNetworkModel& component) {
    return doc.System().m_running && IsUserControl(component);
}

ECmd PressControl(Czor2Doc& doc, int32_t componentId, CPoint at) {
    CNetworkModel* c = DesignedComponent(doc, componentId);
    if (!c || !OperatesControl(doc, *c) || !PressUserControl(*c, at)) return ECmd::Unavailable;
    doc.Editor().m_pressedControlId = componentId;
    return ECmd::Done;
}

ECmd ReleaseControl(Czor2Doc& doc) {
    const int32_t pressed = doc.Editor().m_pressedControlId;
    if (pressed == 0) return ECmd::Unavailable;
    doc.Editor().m_pressedControlId = 0;
    // The control may have gone (a reload) while the button was down.
    if (CNetworkModel* c = DesignedComponent(doc, pressed)) ReleaseUserControl(*c);
    doc.Editor().ClearSelection();
    doc.Editor().ApplyToModel(doc.System());
    return ECmd::Done;
}

ECmd TargetGraphic(Czor2Doc& doc, int32_t componentId, int32_t graphicId) {
    if (!doc.System().m_graphics.m_graphics.Find(graphicId)) return ECmd::Refused;
    return Target(doc, componentId, [&](CModelSimAction& a) { return a.TargetGraphic(graphicId); });
}

ECmd TargetValueWindow(Czor2Doc& doc, int32_t componentId, int32_t windowId) {
    if (!doc.System().m_valueWindows.m_windows.Find(windowId)) return ECmd::Refused;
    return Target(doc, componentId, [&](CModelSimAction& a) { return a.TargetValueWindow(windowId); });
}

}  // namespace zor2
