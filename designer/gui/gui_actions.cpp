// The editing operations the window invokes, over the model operations.
#include "designer/gui/gui_actions.h"

#include <cstdio>

namespace zor2::gui {
namespace {

template <class... A>
std::string Format(const char* fmt, A... args) {
    char buf[1024];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}

int CountConnections(const CNetworkModel& c) {
    int n = c.CountConnectionsOut();
    for (CModelInput* in : c.m_inputs)
        if (in->HasSource()) ++n;
    return n;
}

}  // namespace

CNetwork* CGuiActions::AddModule(const char* pattern, int x, int y) {
    CSystem& s = System();
    const std::string name = Format(pattern, static_cast<int>(s.m_modules.Size()) + 1);
    CNetwork* m = s.CreateModule(name, x, y);
    if (!m) {
        m_prompter.Beep();
        return nullptr;
    }
    m->LayoutBox();
    Changed((pattern[0] == 'M' ? "Added System Module: " : "Added new system module: ") + name);
    return m;
}

CExternalInput* CGuiActions::AddSystemInputFromBar() {
    CSystem& s = System();
    const std::string name = Format("Input: %d", static_cast<int>(s.m_inputs.Size()) + 1);
    CExternalInput* p = s.CreateSystemInput(name, 1);
    if (p) Changed("Added System " + name);
    return p;
}

CExternalOutput* CGuiActions::AddSystemOutputFromBar() {
    CSystem& s = System();
    const std::string name = Format("Output: %d", static_cast<int>(s.m_outputs.Size()) + 1);
    CExternalOutput* q = s.CreateSystemOutput(name, 1);
    if (q) Changed("Added System Output: " + name);
    return q;
}

bool CGuiActions::ConnectSystemInput(CExternalInput& input, CNetwork& dst, CNetworkInput* in) {
    return System().ConnectSystemInput(input, dst, in) != nullptr;
}

bool CGuiActions::ConnectCategory(CExternalInputCategory& category, CNetwork& dst) {
    int added = 0;
    for (CExternalInput* p : category.m_members.Items()) {
        bool already = false;
        for (CExternalConnection* c : p->m_connections)
            if (c->m_module == &dst) already = true;
        if (already) continue;
        // The single lines of the connections give way to the one summary line.
        CGuiDocument* doc = &m_doc;
        struct CQuiet final : IChangeRecorder {
            void RecordChange(const std::string&) override {}
        } quiet;
        System().SetRecorder(&quiet);
        if (System().ConnectSystemInput(*p, dst)) ++added;
        System().SetRecorder(doc);
    }
    if (category.m_members.Empty()) {
        m_prompter.Tell(Format("No connections added to system module: %s. There are no system inputs yet in this "
                               "category. Double click on the category to add a new system input first.",
                               dst.m_name.c_str()));
        return false;
    }
    if (added == 0) return false;
    Changed(Format("Added %d connections from system inputs to system module: %s", added, dst.m_name.c_str()));
    return true;
}

bool CGuiActions::ConnectModules(CNetwork& src, CNetworkOutput* out, CNetwork& dst, CNetworkInput* in) {
    return System().ConnectModules(src, dst, out, in) != nullptr;
}

bool CGuiActions::ConnectToSystemOutput(CNetwork& src, CNetworkOutput* out, CExternalOutput& output) {
    return System().ConnectSystemOutput(src, output, out) != nullptr;
}

bool CGuiActions::ConnectModuleToOutputsBar(CNetwork& src, CNetworkOutput* only) {
    CSystem& s = System();
    int added = 0;
    struct CQuiet final : IChangeRecorder {
        void RecordChange(const std::string&) override {}
    } quiet;
    for (CNetworkOutput* mo : src.m_outputs.Snapshot()) {
        if (only && mo != only) continue;
        bool connected = false;
        for (CExternalOutput* q : s.m_outputs)
            if (q->SourceOutput() == mo) connected = true;
        if (connected) continue;
        s.SetRecorder(&quiet);
        CExternalOutput* q = s.CreateSystemOutput(mo->m_name, 1);
        if (q && !s.ConnectSystemOutput(src, *q, mo)) s.DeleteSystemOutput(q), q = nullptr;
        s.SetRecorder(&m_doc);
        if (q) ++added;
    }
    if (added == 0) {
        m_prompter.Beep();
        return false;
    }
    Changed(Format("Added %d connections from system module %s to system outputs.", added, src.m_name.c_str()));
    return true;
}

bool CGuiActions::DropNewSystemInput(CNetwork& dst) { return System().DropNewSystemInput(dst) != nullptr; }

void CGuiActions::ExecuteModule(CNetwork& module) {
    module.PullModuleInputs();
    module.ExecuteModule();
    module.UpdateModuleOutputs();
}

bool CGuiActions::DeleteModule(CNetwork& module) {
    int connections = 0;
    for (CNetworkInput* in : module.m_inputs)
        if (in->HasSource()) ++connections;
    for (CNetworkConnection* c : System().m_moduleConnections)
        if (c->m_srcModule == &module) ++connections;
    for (CExternalOutput* q : System().m_outputs)
        if (q->SourceOutput() && q->SourceOutput()->m_owner == &module) ++connections;
    const std::string q =
        connections ? Format("The %s module has %d existing connection(s). If you delete this module, these "
                             "connections will also be deleted. Continue?",
                             module.m_name.c_str(), connections)
                    : Format("Are you sure you want to delete the %s system module?", module.m_name.c_str());
    if (m_prompter.Ask(q, EButtons::YesNo) != EAnswer::Yes) return false;
    const std::string name = module.m_name;
    System().DeleteModule(&module);
    Changed(Format("Deleted %s system module.", name.c_str()));
    return true;
}

CNetworkModel* CGuiActions::DropComponent(CNetwork& module, int typeId, int x, int y) {
    CNetworkModel* c = module.DropComponent(typeId, x, y);
    if (!c) m_prompter.Beep();
    return c;
}

bool CGuiActions::ConnectComponents(CNetwork& module, CNetworkModel& src, CModelOutput* out, CNetworkModel& dst,
                                    CModelInput* in) {
    CModelConnection* made = nullptr;
    if (module.RequestConnect(src, out, dst, in, &made) != kConnectOk) return false;
    Changed(Format("Connected %s to %s in system module: %s", src.m_name.c_str(), dst.m_name.c_str(),
                   module.m_name.c_str()));
    return true;
}

bool CGuiActions::ConnectModuleInput(CNetwork& module, CNetworkInput& mi, CNetworkModel& dst, CModelInput* in) {
    if (module.RequestConnectModuleInput(mi, dst, in) != kConnectOk) return false;
    Changed(Format("Connected module input %s to %s in system module: %s", mi.m_name.c_str(), dst.m_name.c_str(),
                   module.m_name.c_str()));
    return true;
}

bool CGuiActions::ConnectToModuleOutput(CNetwork& module, CNetworkModel& src, CModelOutput* out,
                                        CNetworkOutput* mo) {
    CNetworkOutput* made = nullptr;
    if (!mo) {
        mo = made = module.CreateOutput(Format("output%d", static_cast<int>(module.m_outputs.Size()) + 1));
        if (!mo) {
            m_prompter.Beep();
            return false;
        }
    }
    if (module.RequestConnectToModuleOutput(src, out, *mo) != kConnectOk) {
        if (made) module.m_outputs.Remove(made);
        return false;
    }
    module.LayoutBox();
    Changed(Format("Connected %s to module output %s in system module: %s", src.m_name.c_str(), mo->m_name.c_str(),
                   module.m_name.c_str()));
    return true;
}

bool CGuiActions::DeleteComponent(CNetwork& module, CNetworkModel& c) {
    const std::string q =
        CountConnections(c) ? Format("The [%s] component has existing connections to other elements within this "
                                     "module. These connections will be deleted also. Do you want to continue?",
                                     c.m_name.c_str())
                            : Format("Are you sure you want to delete the [%s] component?", c.m_name.c_str());
    if (m_prompter.Ask(q, EButtons::YesNo) != EAnswer::Yes) return false;
    const std::string name = c.m_name;
    module.m_selectedComponents.Remove(&c);
    System().DeleteOutputViews(nullptr, &c, nullptr);
    module.DeleteComponent(&c);
    module.ComputeStages();
    Changed(Format("Deleted [%s] component in system module [%s].", name.c_str(), module.m_name.c_str()));
    return true;
}

bool CGuiActions::DeleteSelected(CNetwork& module) {
    if (module.m_selectedComponents.Empty()) return false;
    if (m_prompter.Ask("Are you sure you want to delete the currently selected items?", EButtons::YesNo) !=
        EAnswer::Yes)
        return false;
    const std::vector<CNetworkModel*> doomed = module.m_selectedComponents.Items();
    module.m_selectedComponents.Clear();
    for (CNetworkModel* c : doomed) {
        System().DeleteOutputViews(nullptr, c, nullptr);
        module.DeleteComponent(c);
    }
    module.ComputeStages();
    Changed(Format("Deleted %d components from %s system module", static_cast<int>(doomed.size()),
                   module.m_name.c_str()));
    return true;
}

void CGuiActions::ExecuteComponent(CNetworkModel& c) {
    c.GetInputValues();
    c.Execute();
}

int CGuiActions::ExposeAllInputs(CNetworkModel& c) {
    if (!c.m_owner) return 0;
    const int n = c.m_owner->ExposeAllInputs(c);
    c.m_owner->LayoutBox();
    return n;
}

int CGuiActions::ExposeAllInputsReconnect(CNetworkModel& c) {
    if (!c.m_owner) return 0;
    const int n = c.m_owner->ExposeAllInputsReconnect(c);
    c.m_owner->LayoutBox();
    return n;
}

void CGuiActions::MoveGraphics(int dx, int dy) {
    for (CGraphic* g : System().m_graphics.m_graphics) {
        if (!g->m_selected) continue;
        g->m_rect = {g->m_rect.left + dx, g->m_rect.top + dy, g->m_rect.right + dx, g->m_rect.bottom + dy};
    }
    m_doc.SetModified(true);
}

void CGuiActions::MoveComponents(CNetwork& module, int dx, int dy) {
    for (CNetworkModel* c : module.m_selectedComponents) c->SetPosition(c->m_position.x + dx, c->m_position.y + dy);
    m_doc.SetModified(true);
}

void CGuiActions::MoveModules(int dx, int dy) {
    for (CNetwork* m : System().m_selectedModules) {
        m->m_position = {m->m_position.x + dx, m->m_position.y + dy};
        m->LayoutBox();
    }
    m_doc.SetModified(true);
}

CGraphic* CGuiActions::AddGraphic(CNetwork& module, const CRect& rect) {
    CGraphic* g = System().m_graphics.AddGraphic(System().Random());
    if (!g) return nullptr;
    g->m_text = "Text here";
    g->m_rect = rect;
    Changed(Format("Added graphic element in system module [%s].", module.m_name.c_str()));
    return g;
}

void CGuiActions::RenameComponent(CNetworkModel& c, const std::string& name, const std::string& description) {
    if (c.m_name == name && c.m_description == description) return;
    c.m_name = name;
    c.m_description = description;
    Changed(Format("Modified component: %s", name.c_str()));
}

void CGuiActions::SetProjectDescription(const std::string& description) {
    if (System().m_description == description) return;
    System().m_description = description;
    m_doc.SetModified(true);
}

namespace {

/// Sets name and description; true when anything changed.
template <class T>
bool Assign(T& object, const std::string& name, const std::string& description) {
    if (object.m_name == name && object.m_description == description) return false;
    object.m_name = name;
    object.m_description = description;
    return true;
}

}  // namespace

void CGuiActions::RenameModule(CNetwork& m, const std::string& name, const std::string& description) {
    if (Assign(m, name, description)) Changed("Modified system module: " + name);
}

void CGuiActions::RenameModuleInput(CNetworkInput& p, const std::string& name, const std::string& description) {
    if (Assign(p, name, description)) Changed("Modified module input: " + name);
}

void CGuiActions::RenameModuleOutput(CNetworkOutput& p, const std::string& name, const std::string& description) {
    if (Assign(p, name, description)) Changed("Modified module output: " + name);
}

void CGuiActions::RenameSystemInput(CExternalInput& p, const std::string& name, const std::string& description) {
    if (Assign(p, name, description)) Changed("Modified System Input: " + name);
}

void CGuiActions::RenameSystemOutput(CExternalOutput& p, const std::string& name, const std::string& description) {
    if (Assign(p, name, description)) Changed("Modified System Output: " + name);
}

void CGuiActions::RenameComponentInput(CModelInput& p, const std::string& name) {
    if (p.m_name == name) return;
    p.m_name = name;
    Changed("Modified component input: " + name);
}

void CGuiActions::RenameComponentOutput(CModelOutput& p, const std::string& name) {
    if (p.m_name == name) return;
    p.m_name = name;
    Changed("Modified component output: " + name);
}

}  // namespace zor2::gui
