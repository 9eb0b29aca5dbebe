// Gestures mapped onto the document's commands.
#include "designer/gui/gui_actions.h"

#include <cstdio>

#include "designer/commands_component.h"
#include "designer/commands_connect.h"
#include "designer/commands_module.h"
#include "designer/commands_system.h"

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
    CSystem& s = System();
    const std::string name = Fmt("Input: %d", static_cast<int>(s.m_inputs.Size()) + 1);
    CExternalInput* p = s.CreateSystemInput(name, 1);
    if (!p) {
        Prompter().Beep();
        return false;
    }
    m_doc.RecordChange("Added System " + name);
    m_doc.NotifyCountIO();
    return true;
}

bool CGuiActions::AddSystemOutputFromBar() {
    CSystem& s = System();
    const std::string name = Fmt("Output: %d", static_cast<int>(s.m_outputs.Size()) + 1);
    CExternalOutput* q = s.CreateSystemOutput(name, 1);
    if (!q) {
        Prompter().Beep();
        return false;
    }
    m_doc.RecordChange("Added System Output: " + name);
    m_doc.NotifyCountIO();
    return true;
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
    for (CNetworkModel* c : Editor().SelectedComponents(System()))
        c->SetPosition(c->m_position.x + dx, c->m_position.y + dy);
    m_dragged = true;
}

void CGuiActions::DragModules(int dx, int dy) {
    for (CNetwork* m : Editor().SelectedModules(System())) {
        m->m_position = {m->m_position.x + dx, m->m_position.y + dy};
        m->LayoutBox();
    }
    m_dragged = true;
}

void CGuiActions::DragGraphics(int dx, int dy) {
    for (int32_t id : Editor().m_graphics) {
        if (CGraphic* g = System().m_graphics.m_graphics.Find(id))
            g->m_rect = {g->m_rect.left + dx, g->m_rect.top + dy, g->m_rect.right + dx,
                         g->m_rect.bottom + dy};
    }
    m_dragged = true;
}

void CGuiActions::FinishDrag() {
    if (!m_dragged) return;
    m_dragged = false;
    // A move has no feedback line; it is one undo level.
    m_doc.RecordChange("");
}

bool CGuiActions::AddGraphicRect(const CRect& rect) {
    CSystem& s = System();
    if (!Editor().DesignedModule(s)) return false;
    CGraphic* g = s.m_graphics.AddGraphic(s.Random());
    if (!g) {
        Prompter().Beep();
        return false;
    }
    g->m_text = "Text here";
    g->m_rect = rect;
    Editor().ClearSelection();
    Editor().m_graphics = {g->m_id};
    m_doc.RecordChange("");
    return true;
}

}  // namespace zor2::gui
