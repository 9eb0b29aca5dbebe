// Gestures mapped onto the document's commands.
#include "designer/gui/gui_actions.h"

#include <cstdio>

#include "designer/commands_component.h"
#include "designer/commands_connect.h"
#include "designer/commands_controls.h"
#include "designer/commands_module.h"
#include "designer/commands_neural.h"
#include "designer/commands_system.h"
#include "designer/commands_view.h"

namespace zor2::gui {
namespace {

bool Ok(ECmd r) {
    return r == ECmd::Done;
}
int32_t IdOf(const CObject* o) {
    return o ? o->m_id : 0;
}

}  // namespace

bool CGuiActions::AddModuleAt(int x, int y) {
    if (Refused()) return false;
    return Ok(zor2::AddModuleAt(m_doc, x, y));
}

bool CGuiActions::AddSystemInputFromBar() {
    if (Refused()) return false;
    const ECmd r = zor2::AddSystemInputFromBar(m_doc);
    if (r == ECmd::Refused) Prompter().Beep();
    return Ok(r);
}

bool CGuiActions::AddSystemOutputFromBar() {
    if (Refused()) return false;
    const ECmd r = zor2::AddSystemOutputFromBar(m_doc);
    if (r == ECmd::Refused) Prompter().Beep();
    return Ok(r);
}

bool CGuiActions::ConnectSystemInput(CExternalInput& input, CNetwork& dst, CNetworkInput* in) {
    if (Refused()) return false;
    return Ok(ConnectSystemInputToModule(m_doc, input.m_id, dst.m_id, IdOf(in)));
}

bool CGuiActions::ConnectCategory(CExternalInputCategory& category, CNetwork& dst) {
    if (Refused()) return false;
    return Ok(ConnectCategoryToModule(m_doc, category.m_id, dst.m_id));
}

bool CGuiActions::ConnectModules(CNetwork& src, CNetworkOutput* out, CNetwork& dst, CNetworkInput* in) {
    if (Refused()) return false;
    return Ok(ConnectModuleToModule(m_doc, src.m_id, IdOf(out), dst.m_id, IdOf(in)));
}

bool CGuiActions::ConnectToSystemOutput(CNetwork& src, CNetworkOutput* out, CExternalOutput& output) {
    if (Refused()) return false;
    return Ok(ConnectModuleToSystemOutput(m_doc, src.m_id, IdOf(out), output.m_id));
}

bool CGuiActions::ConnectModuleToOutputsBar(CNetwork& src) {
    if (Refused()) return false;
    return Ok(ConnectModuleToSystemOutputs(m_doc, src.m_id));
}

bool CGuiActions::DropNewSystemInput(CNetwork& dst) {
    if (Refused()) return false;
    return Ok(ConnectNewSystemInputToModule(m_doc, dst.m_id));
}

bool CGuiActions::DeleteModule(CNetwork& module) {
    if (Refused()) return false;
    Editor().ClearSelection();
    Editor().SelectModules({module.m_id});
    return Ok(zor2::DeleteModule(m_doc));
}

bool CGuiActions::DropComponent(int typeId, int x, int y) {
    if (Refused()) return false;
    return Ok(AddComponent(m_doc, typeId, x, y));
}

bool CGuiActions::ConnectComponents(CNetworkModel& src, CModelOutput* out, CNetworkModel& dst,
                                    CModelInput* in) {
    if (Refused()) return false;
    return Ok(zor2::ConnectComponents(m_doc, src.m_id, IdOf(out), dst.m_id, IdOf(in)));
}

bool CGuiActions::ConnectModuleInput(CNetworkInput& mi, CNetworkModel& dst, CModelInput* in) {
    if (Refused()) return false;
    return Ok(ConnectModuleInputToComponent(m_doc, mi.m_id, dst.m_id, IdOf(in)));
}

bool CGuiActions::ConnectToModuleOutput(CNetworkModel& src, CModelOutput* out, CNetworkOutput* mo) {
    if (Refused()) return false;
    if (mo) return Ok(ConnectComponentToModuleOutput(m_doc, src.m_id, IdOf(out), mo->m_id));
    // Dropped on the outputs bar: the output (or every output) is exposed as a new module output.
    Editor().ClearSelection();
    Editor().SelectComponents({src.m_id});
    if (!out) return Ok(ExposeAllComponentOutputs(m_doc));
    Editor().SelectComponentOutput(src.m_id, out->m_id);
    return Ok(ExposeComponentOutput(m_doc));
}

bool CGuiActions::DeleteSelected() {
    if (Refused()) return false;
    return Ok(DeleteSelectedItems(m_doc));
}

bool CGuiActions::ExposeAllInputs(CNetworkModel& c) {
    if (Refused()) return false;
    Editor().ClearSelection();
    Editor().SelectComponents({c.m_id});
    return Ok(ExposeAllComponentInputs(m_doc));
}

void CGuiActions::Drag(EDragKind kind, int dx, int dy) {
    // While a network learns nothing moves; the release says why, once.
    if (m_doc.Learning().Running()) {
        m_dragRefused = true;
        return;
    }
    DragSelection(m_doc, kind, dx, dy);
}

void CGuiActions::DragGraphicCorner(CGraphic& graphic, int corner, int dx, int dy) {
    if (m_doc.Learning().Running()) {
        m_dragRefused = true;
        return;
    }
    zor2::DragGraphicCorner(m_doc, graphic.m_id, corner, dx, dy);
}

bool CGuiActions::FinishDrag() {
    if (m_dragRefused) {
        m_dragRefused = false;
        Refused();
        return false;
    }
    return Ok(zor2::FinishDrag(m_doc));
}

bool CGuiActions::Refused() {
    return RefusedWhileLearning(m_doc);
}

bool CGuiActions::AddGraphicRect(const CRect& rect) {
    if (Refused()) return false;
    return Ok(AddGraphicFromRect(m_doc, rect));
}

bool CGuiActions::OperatesControl(const CNetworkModel& component) {
    return zor2::OperatesControl(m_doc, component);
}

bool CGuiActions::PressControl(CNetworkModel& component, int x, int y) {
    return Ok(zor2::PressControl(m_doc, component.m_id, CPoint{x, y}));
}

bool CGuiActions::ReleaseControl() {
    return Ok(zor2::ReleaseControl(m_doc));
}

bool CGuiActions::TargetGraphic(CNetworkModel& action, CGraphic& graphic) {
    return Ok(zor2::TargetGraphic(m_doc, action.m_id, graphic.m_id));
}

bool CGuiActions::TargetValueWindow(CNetworkModel& action, CValueWindow& window) {
    return Ok(zor2::TargetValueWindow(m_doc, action.m_id, window.m_id));
}

}  // namespace zor2::gui
