// Gestures mapped onto the document's commands.
#include "designer/gui/gui_actions.h"

#include <cstdio>

#include "designer/commands_component.h"
#include "designer/commands_connect.h"
#include "designer/commands_module.h"
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
    return Ok(zor2::AddModuleAt(m_doc, x, y));
}

bool CGuiActions::AddSystemInputFromBar() {
    const ECmd r = zor2::AddSystemInputFromBar(m_doc);
    if (r == ECmd::Refused) Prompter().Beep();
    return Ok(r);
}

bool CGuiActions::AddSystemOutputFromBar() {
    const ECmd r = zor2::AddSystemOutputFromBar(m_doc);
    if (r == ECmd::Refused) Prompter().Beep();
    return Ok(r);
}

bool CGuiActions::ConnectSystemInput(CExternalInput& input, CNetwork& dst, CNetworkInput* in) {
    return Ok(ConnectSystemInputToModule(m_doc, input.m_id, dst.m_id, IdOf(in)));
}

bool CGuiActions::ConnectCategory(CExternalInputCategory& category, CNetwork& dst) {
    return Ok(ConnectCategoryToModule(m_doc, category.m_id, dst.m_id));
}

bool CGuiActions::ConnectModules(CNetwork& src, CNetworkOutput* out, CNetwork& dst, CNetworkInput* in) {
    return Ok(ConnectModuleToModule(m_doc, src.m_id, IdOf(out), dst.m_id, IdOf(in)));
}

bool CGuiActions::ConnectToSystemOutput(CNetwork& src, CNetworkOutput* out, CExternalOutput& output) {
    return Ok(ConnectModuleToSystemOutput(m_doc, src.m_id, IdOf(out), output.m_id));
}

bool CGuiActions::ConnectModuleToOutputsBar(CNetwork& src) {
    return Ok(ConnectModuleToSystemOutputs(m_doc, src.m_id));
}

bool CGuiActions::DropNewSystemInput(CNetwork& dst) {
    // The system's drop records its own line through the document.
    const bool made = System().DropNewSystemInput(dst) != nullptr;
    if (made) m_doc.NotifyCountIO();
    return made;
}

void CGuiActions::ExecuteModuleOnce(CNetwork& module) {
    module.PullModuleInputs();
    module.ExecuteModule();
    module.UpdateModuleOutputs();
}

bool CGuiActions::DeleteModule(CNetwork& module) {
    Editor().ClearSelection();
    Editor().SelectModules({module.m_id});
    return Ok(zor2::DeleteModule(m_doc));
}

bool CGuiActions::DropComponent(int typeId, int x, int y) {
    return Ok(AddComponent(m_doc, typeId, x, y));
}

bool CGuiActions::ConnectComponents(CNetworkModel& src, CModelOutput* out, CNetworkModel& dst,
                                    CModelInput* in) {
    return Ok(zor2::ConnectComponents(m_doc, src.m_id, IdOf(out), dst.m_id, IdOf(in)));
}

bool CGuiActions::ConnectModuleInput(CNetworkInput& mi, CNetworkModel& dst, CModelInput* in) {
    return Ok(ConnectModuleInputToComponent(m_doc, mi.m_id, dst.m_id, IdOf(in)));
}

bool CGuiActions::ConnectToModuleOutput(CNetworkModel& src, CModelOutput* out, CNetworkOutput* mo) {
    if (mo) return Ok(ConnectComponentToModuleOutput(m_doc, src.m_id, IdOf(out), mo->m_id));
    // Dropped on the outputs bar: the output (or every output) is exposed as a new module output.
    Editor().ClearSelection();
    Editor().SelectComponents({src.m_id});
    if (!out) return Ok(ExposeAllComponentOutputs(m_doc));
    Editor().SelectComponentOutput(src.m_id, out->m_id);
    return Ok(ExposeComponentOutput(m_doc));
}

bool CGuiActions::DeleteComponent(CNetworkModel& c) {
    Editor().ClearSelection();
    Editor().SelectComponents({c.m_id});
    return Ok(zor2::DeleteComponent(m_doc));
}

bool CGuiActions::DeleteSelected() {
    return Ok(DeleteSelectedItems(m_doc));
}

void CGuiActions::ExecuteComponent(CNetworkModel& c) {
    c.GetInputValues();
    c.Execute();
}

bool CGuiActions::ExposeAllInputs(CNetworkModel& c) {
    Editor().ClearSelection();
    Editor().SelectComponents({c.m_id});
    return Ok(ExposeAllComponentInputs(m_doc));
}

bool CGuiActions::ExposeAllInputsReconnect(CNetworkModel& c) {
    if (!c.m_owner) return false;
    // The module operation records its own feedback line through the document.
    const int n = c.m_owner->ExposeAllInputsReconnect(c);
    c.m_owner->LayoutBox();
    return n > 0;
}

void CGuiActions::DragComponents(int dx, int dy) {
    DragSelection(m_doc, EDragKind::Components, dx, dy);
    m_dragged = true;
}

void CGuiActions::DragModules(int dx, int dy) {
    DragSelection(m_doc, EDragKind::Modules, dx, dy);
    m_dragged = true;
}

void CGuiActions::DragGraphics(int dx, int dy) {
    DragSelection(m_doc, EDragKind::Graphics, dx, dy);
    m_dragged = true;
}

void CGuiActions::FinishDrag() {
    if (!m_dragged) return;
    m_dragged = false;
    zor2::FinishDrag(m_doc);
}

bool CGuiActions::AddGraphicRect(const CRect& rect) {
    return Ok(AddGraphicFromRect(m_doc, rect));
}

bool CGuiActions::ExposeModuleInput(CNetwork& module, CNetworkInput& input) {
    if (input.HasSource()) {
        Prompter().Tell(
            "Cannot expose externally, as this input is already connected to a given data source.");
        return false;
    }
    const int32_t moduleId = module.m_id, inputId = input.m_id;
    bool connected = false;
    {
        // The new system input and its connection are one change.
        CChangeBatch batch(m_doc);
        CSystemInputData data;
        data.name = input.m_name;
        if (!Ok(AddSystemInput(m_doc, data)) || !System().m_inputs.Tail()) return false;
        connected = Ok(ConnectSystemInputToModule(m_doc, System().m_inputs.Tail()->m_id, moduleId, inputId));
    }
    if (!connected) {
        // The connection was refused: the new system input goes again, unrecorded.
        CChangeBatch batch(m_doc);
        System().DeleteSystemInput(System().m_inputs.Tail());
        return false;
    }
    m_doc.RecordChange(Fmt("Exposed inputs for system module: %s", module.m_name.c_str()));
    return true;
}

}  // namespace zor2::gui
