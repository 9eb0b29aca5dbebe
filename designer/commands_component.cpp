// Component-level editing commands.
#include "designer/commands_component.h"

#include "designer/document.h"
#include "designer/free_spot.h"

namespace zor2 {

namespace {

bool Confirm(Czor2Doc& doc, const std::string& question) {
    return doc.Prompter().Ask(question, EButtons::YesNo) == EAnswer::Yes;
}

CNetworkModel* Selected(Czor2Doc& doc) {
    return doc.Editor().SelectedComponent(doc.System());
}

int32_t CountInputConnections(const CNetworkModel& c) {
    int32_t n = 0;
    for (const CModelInput* in : c.m_inputs)
        if (in->HasSource()) ++n;
    return n;
}

}  // namespace

void Refresh(CNetworkModel& component) {
    component.CalcSize();
    if (component.m_owner) {
        component.m_owner->ComputeStages();
        component.m_owner->LayoutBox();
    }
}

void DeleteOutputPort(CNetwork& module, CNetworkModel& component, CModelOutput* out) {
    component.OnOutputRemoved(out->m_id);
    if (module.System()) module.System()->DeleteOutputViews(nullptr, nullptr, out);
    module.RemoveOutputConnections(*out);
    component.m_selectedOutputs.Remove(out);
    component.m_outputs.Remove(out);
    component.PortsRemoved();
}

// --- components ---------------------------------------------------------------

ECmd AddComponent(Czor2Doc& doc, int32_t typeId, int32_t x, int32_t y) {
    CNetwork* module = doc.Editor().DesignedModule(doc.System());
    if (!module) return ECmd::Unavailable;
    CNetworkModel* c = module->DropComponent(typeId, x, y);
    if (!c) return ECmd::Unavailable;
    doc.Editor().SelectComponents({c->m_id});
    return ECmd::Done;
}

ECmd DeleteComponent(Czor2Doc& doc) {
    CNetworkModel* c = Selected(doc);
    if (!c || !c->m_owner) return ECmd::Unavailable;
    CNetwork* module = c->m_owner;
    const bool connected = CountInputConnections(*c) > 0 || c->HasConnectionsOut();
    const std::string question =
        connected
            ? Fmt("The [%s] component has existing connections to other elements within this module. These connections will be deleted also. Do you want to continue?",
                  c->m_name.c_str())
            : Fmt("Are you sure you want to delete the [%s] component?", c->m_name.c_str());
    if (!Confirm(doc, question)) return ECmd::Cancelled;
    const std::string name = c->m_name;
    module->DeleteComponent(c);
    module->ComputeStages();
    doc.Editor().Prune(doc.System());
    doc.RecordChange(
        Fmt("Deleted [%s] component in system module [%s].", name.c_str(), module->m_name.c_str()));
    doc.NotifyCountIO();
    return ECmd::Done;
}

ECmd DeleteSelectedItems(Czor2Doc& doc) {
    CSystem& system = doc.System();
    CEditorState& editor = doc.Editor();
    CNetwork* module = editor.DesignedModule(system);
    if (!module) return ECmd::Unavailable;
    std::vector<CNetworkModel*> components = editor.SelectedComponents(system);
    std::vector<CChart*> charts;
    for (int32_t id : editor.m_charts)
        if (CChart* c = system.m_charts.m_charts.Find(id)) charts.push_back(c);
    std::vector<CGraphic*> graphics;
    for (int32_t id : editor.m_graphics)
        if (CGraphic* g = system.m_graphics.m_graphics.Find(id)) graphics.push_back(g);
    if (components.empty() && charts.empty() && graphics.empty()) return ECmd::Unavailable;
    if (!Confirm(doc, "Are you sure you want to delete the currently selected items?"))
        return ECmd::Cancelled;

    std::vector<std::string> lines;
    for (CChart* c : charts) system.m_charts.m_charts.Remove(c);
    if (!charts.empty()) lines.push_back("Deleted chart from system module");
    for (CGraphic* g : graphics) system.m_graphics.DeleteGraphic(system, g);
    if (!graphics.empty()) lines.push_back("Deleted graphics from system module");
    for (CNetworkModel* c : components) module->DeleteComponent(c);
    if (!components.empty()) {
        module->ComputeStages();
        lines.push_back(Fmt("Deleted %d components from %s system module",
                            static_cast<int>(components.size()), module->m_name.c_str()));
    }
    editor.m_components.clear();
    editor.m_charts.clear();
    editor.m_graphics.clear();
    editor.Prune(system);
    // One undo level: the earlier lines go straight to the list, the last one
    // through the recording routine.
    for (size_t i = 0; i + 1 < lines.size(); ++i) system.BuildFeedback(lines[i]);
    doc.RecordChange(lines.back());
    doc.NotifyCountIO();
    return ECmd::Done;
}

namespace {
/// The three "Remove ... Connections" commands of a component share their
/// question: the counts of what will go, in the full or the one-sided form.
ECmd RemoveConnections(Czor2Doc& doc, bool inputs, bool outputs) {
    CNetworkModel* c = Selected(doc);
    if (!c || !c->m_owner) return ECmd::Unavailable;
    const int32_t ins = inputs ? CountInputConnections(*c) : 0;
    const int32_t outs = outputs ? c->CountConnectionsOut() : 0;
    if (ins == 0 && outs == 0) return ECmd::Unavailable;
    const std::string question =
        ins > 0 && outs > 0
            ? Fmt("Are you sure you want to remove the %d input and %d output connections of the '%s' component?",
                  ins, outs, c->m_name.c_str())
        : ins > 0 ? Fmt("Are you sure you want to remove the %d input connections of the '%s' component?",
                        ins, c->m_name.c_str())
                  : Fmt("Are you sure you want to remove the %d output connections of the '%s' component?",
                        outs, c->m_name.c_str());
    if (!Confirm(doc, question)) return ECmd::Cancelled;
    CNetwork* module = c->m_owner;
    if (inputs) module->RemoveInputConnections(*c);
    if (outputs)
        for (CModelOutput* out : c->m_outputs) module->RemoveOutputConnections(*out);
    Refresh(*c);
    doc.RecordChange("");
    doc.NotifyCountIO();
    return ECmd::Done;
}
}  // namespace

ECmd RemoveAllConnections(Czor2Doc& doc) {
    return RemoveConnections(doc, true, true);
}
ECmd RemoveInputConnections(Czor2Doc& doc) {
    return RemoveConnections(doc, true, false);
}
ECmd RemoveOutputConnections(Czor2Doc& doc) {
    return RemoveConnections(doc, false, true);
}

ECmd ExecuteComponent(Czor2Doc& doc) {
    CNetworkModel* c = Selected(doc);
    if (!c) return ECmd::Unavailable;
    c->GetInputValues();
    c->Execute();
    return ECmd::Done;
}

ECmd ExposeAllInputsToModuleLayer(Czor2Doc& doc) {
    CNetworkModel* c = Selected(doc);
    if (!c || !c->m_owner) return ECmd::Unavailable;
    // The module operation records its own feedback line through the document.
    c->m_owner->ExposeAllInputsReconnect(*c);
    return ECmd::Done;
}

ECmd DeleteAllInputs(Czor2Doc& doc) {
    CNetworkModel* c = Selected(doc);
    if (!c || !c->m_owner) return ECmd::Unavailable;
    int32_t removable = 0;
    for (const CModelInput* in : c->m_inputs)
        if (!in->m_template) ++removable;
    if (removable == 0) {
        doc.Prompter().Tell(
            Fmt("Component: %s does not curently have any removeable inputs.", c->m_name.c_str()));
        return ECmd::Refused;
    }
    if (!Confirm(
            doc,
            Fmt("Are you sure you want to delete %d inputs from component: %s? (template based inputs will be retained)",
                removable, c->m_name.c_str())))
        return ECmd::Cancelled;
    c->m_owner->RemoveAddedInputs(*c);
    Refresh(*c);
    doc.Editor().Prune(doc.System());
    doc.RecordChange("Disconnected and deleted all inputs to component: " + c->m_name);
    doc.NotifyCountIO();
    return ECmd::Done;
}

ECmd DeleteAllOutputs(Czor2Doc& doc) {
    CNetworkModel* c = Selected(doc);
    if (!c || !c->m_owner) return ECmd::Unavailable;
    std::vector<CModelOutput*> removable;
    for (CModelOutput* out : c->m_outputs)
        if (!out->m_template) removable.push_back(out);
    if (removable.empty()) return ECmd::Unavailable;
    if (!Confirm(
            doc,
            Fmt("Are you sure you want to delete %d outputs from component: %s? (template based outputs will be retained)",
                static_cast<int>(removable.size()), c->m_name.c_str())))
        return ECmd::Cancelled;
    for (CModelOutput* out : removable) DeleteOutputPort(*c->m_owner, *c, out);
    Refresh(*c);
    doc.Editor().Prune(doc.System());
    doc.RecordChange("");
    doc.NotifyCountIO();
    return ECmd::Done;
}

// --- component ports ----------------------------------------------------------

ECmd AddComponentInput(Czor2Doc& doc) {
    CNetworkModel* c = Selected(doc);
    if (!c) return ECmd::Unavailable;
    if (c->InputsFull() || !c->AddInput(0)) {
        doc.Prompter().Beep();
        return ECmd::Refused;
    }
    Refresh(*c);
    doc.RecordChange("");
    return ECmd::Done;
}

ECmd AddComponentOutput(Czor2Doc& doc) {
    CNetworkModel* c = Selected(doc);
    if (!c) return ECmd::Unavailable;
    if (c->OutputsFull() || !c->AddOutput(0)) {
        doc.Prompter().Beep();
        return ECmd::Refused;
    }
    Refresh(*c);
    doc.RecordChange("");
    return ECmd::Done;
}

ECmd EditComponentInput(Czor2Doc& doc, const std::string& name) {
    CModelInput* in = doc.Editor().SelectedComponentInput(doc.System());
    if (!in) return ECmd::Unavailable;
    in->m_name = name;
    doc.RecordChange("");
    return ECmd::Done;
}

ECmd EditComponentOutput(Czor2Doc& doc, const std::string& name) {
    CModelOutput* out = doc.Editor().SelectedComponentOutput(doc.System());
    if (!out) return ECmd::Unavailable;
    out->m_name = name;
    doc.RecordChange("");
    return ECmd::Done;
}

ECmd DisconnectComponentInput(Czor2Doc& doc) {
    CModelInput* in = doc.Editor().SelectedComponentInput(doc.System());
    if (!in || !in->m_owner || !in->m_owner->m_owner) return ECmd::Unavailable;
    CNetworkModel& c = *in->m_owner;
    if (!in->HasSource()) {
        doc.Prompter().Tell(
            Fmt("Component: %s does not curently have any removeable input connections.", c.m_name.c_str()));
        return ECmd::Refused;
    }
    const std::string inputName = in->m_name;
    if (!Confirm(doc, Fmt("Are you sure you want to remove the %s input connection from component: %s?",
                          inputName.c_str(), c.m_name.c_str())))
        return ECmd::Cancelled;
    c.m_owner->RemoveInputConnection(*in);
    Refresh(c);
    doc.RecordChange(Fmt("Removed %d connections to the %s input on component: %s", 1, inputName.c_str(),
                         c.m_name.c_str()));
    doc.NotifyCountIO();
    return ECmd::Done;
}

ECmd DisconnectComponentOutput(Czor2Doc& doc) {
    CModelOutput* out = doc.Editor().SelectedComponentOutput(doc.System());
    if (!out || !out->m_owner || !out->m_owner->m_owner) return ECmd::Unavailable;
    CNetworkModel& c = *out->m_owner;
    const int n = static_cast<int>(out->m_connections.Size());
    if (n == 0) {
        doc.Prompter().Beep();
        return ECmd::Refused;
    }
    if (!Confirm(
            doc,
            Fmt("Are you sure you want to remove the %d connections of the %s output from component: %s?", n,
                out->m_name.c_str(), c.m_name.c_str())))
        return ECmd::Cancelled;
    c.m_owner->RemoveOutputConnections(*out);
    Refresh(c);
    doc.RecordChange("");
    doc.NotifyCountIO();
    return ECmd::Done;
}

ECmd DeleteComponentInput(Czor2Doc& doc) {
    CModelInput* in = doc.Editor().SelectedComponentInput(doc.System());
    if (!in || !in->m_owner || !in->m_owner->m_owner) return ECmd::Unavailable;
    CNetworkModel& c = *in->m_owner;
    if (in->m_template) {
        doc.Prompter().Beep();
        return ECmd::Refused;
    }
    std::string question = "Are you sure you want to delete this component input?";
    if (CNetworkInput* m = in->SourceModuleInput())
        question =
            Fmt("This component input currently receives data from the %s module input. This connection will be also be removed.",
                m->m_name.c_str()) +
            " " + question;
    else if (CModelOutput* src = in->SourceOutput())
        question =
            Fmt("This component input currently receives data from the %s component. This connection will be also be removed.",
                src->m_owner ? src->m_owner->m_name.c_str() : "") +
            " " + question;
    if (!Confirm(doc, question)) return ECmd::Cancelled;
    c.m_owner->RemoveInputConnection(*in);
    c.m_selectedInputs.Remove(in);
    c.m_inputs.Remove(in);
    c.PortsRemoved();
    Refresh(c);
    doc.Editor().Prune(doc.System());
    doc.RecordChange("");
    doc.NotifyCountIO();
    return ECmd::Done;
}

ECmd DeleteComponentOutput(Czor2Doc& doc) {
    CModelOutput* out = doc.Editor().SelectedComponentOutput(doc.System());
    if (!out || !out->m_owner || !out->m_owner->m_owner) return ECmd::Unavailable;
    CNetworkModel& c = *out->m_owner;
    if (out->m_template) {
        doc.Prompter().Beep();
        return ECmd::Refused;
    }
    const int n = static_cast<int>(out->m_connections.Size());
    const std::string name = out->m_name;
    const std::string question =
        n > 0
            ? Fmt("The [%s] component output has %d existing connections. These connections will be deleted also. Do you want to continue?",
                  name.c_str(), n)
            : Fmt("About to delete the [%s] component output. Do you want to continue?", name.c_str());
    if (!Confirm(doc, question)) return ECmd::Cancelled;
    DeleteOutputPort(*c.m_owner, c, out);
    Refresh(c);
    doc.Editor().Prune(doc.System());
    doc.RecordChange(n == 0 ? Fmt("Deleted the %s component output which had (0) connections.", name.c_str())
                            : std::string());
    doc.NotifyCountIO();
    return ECmd::Done;
}

// --- exposing component ports -------------------------------------------------

ECmd ExposeComponentInput(Czor2Doc& doc) {
    CModelInput* in = doc.Editor().SelectedComponentInput(doc.System());
    if (!in || !in->m_owner || !in->m_owner->m_owner) return ECmd::Unavailable;
    CNetworkModel& c = *in->m_owner;
    if (in->HasSource()) {
        doc.Prompter().Tell(
            "Cannot expose externally, as this input is already connected to a given data source.");
        return ECmd::Refused;
    }
    c.m_selectedInputs.Clear();
    c.m_selectedInputs.Append(in);
    int32_t exposed = 0;
    {
        // The engine records even an exposure it refused; only a real one counts here.
        CChangeBatch batch(doc);
        exposed = c.m_owner->ExposeInput(c);
    }
    if (exposed == 0) return ECmd::Refused;
    doc.RecordChange(Fmt("Exposed %d input for component: %s", exposed, c.m_name.c_str()));
    return ECmd::Done;
}

ECmd ExposeAllComponentInputs(Czor2Doc& doc) {
    CNetworkModel* c = Selected(doc);
    if (!c || !c->m_owner) return ECmd::Unavailable;
    bool open = false;
    for (const CModelInput* in : c->m_inputs)
        if (!in->HasSource()) open = true;
    if (!open) return ECmd::Unavailable;
    int32_t exposed = 0;
    {
        CChangeBatch batch(doc);
        exposed = c->m_owner->ExposeAllInputs(*c);
    }
    if (exposed == 0) return ECmd::Refused;
    doc.RecordChange(Fmt("Exposed %d input(s) for component: %s", exposed, c->m_name.c_str()));
    return ECmd::Done;
}

namespace {
bool ExposeOutput(CNetwork& module, CNetworkModel& c, CModelOutput& out) {
    CNetworkOutput* mo = module.CreateOutput(out.m_name);
    if (!mo) return false;
    if (module.RequestConnectToModuleOutput(c, &out, *mo) != kConnectOk) {
        module.m_outputs.Remove(mo);
        return false;
    }
    return true;
}
}  // namespace

ECmd ExposeComponentOutput(Czor2Doc& doc) {
    CModelOutput* out = doc.Editor().SelectedComponentOutput(doc.System());
    if (!out || !out->m_owner || !out->m_owner->m_owner) return ECmd::Unavailable;
    CNetworkModel& c = *out->m_owner;
    if (!ExposeOutput(*c.m_owner, c, *out)) return ECmd::Refused;
    c.m_owner->LayoutBox();
    doc.RecordChange(
        Fmt("Exposed %s output connection for component: %s", out->m_name.c_str(), c.m_name.c_str()));
    return ECmd::Done;
}

ECmd ExposeAllComponentOutputs(Czor2Doc& doc) {
    CNetworkModel* c = Selected(doc);
    if (!c || !c->m_owner || c->m_outputs.Empty()) return ECmd::Unavailable;
    int32_t exposed = 0;
    for (CModelOutput* out : c->m_outputs.Snapshot())
        if (ExposeOutput(*c->m_owner, *c, *out)) ++exposed;
    if (exposed == 0) return ECmd::Refused;
    c->m_owner->LayoutBox();
    doc.RecordChange(Fmt("Exposed %d output connections for component: %s", exposed, c->m_name.c_str()));
    return ECmd::Done;
}

// --- charts and value windows --------------------------------------------------

ECmd ShowChart(Czor2Doc& doc) {
    CModelOutput* out = doc.Editor().SelectedComponentOutput(doc.System());
    if (!out || !out->m_owner || !out->m_owner->m_owner) return ECmd::Unavailable;
    CSystem& system = doc.System();
    CNetworkModel& c = *out->m_owner;
    const std::vector<CRect> taken = TakenInModule(system, *c.m_owner);
    CChart* chart = system.m_charts.AddChart(system.Random());
    if (!chart) return ECmd::Refused;
    chart->Attach(c.m_owner, &c, out);
    const int32_t w = chart->m_rect.right - chart->m_rect.left, h = chart->m_rect.bottom - chart->m_rect.top;
    // Beside the component, or the nearest spot from there that covers nothing.
    chart->m_rect = FreeSpotNear({c.m_box.right + 60, c.m_box.top, c.m_box.right + 60 + w, c.m_box.top + h},
                                 c.m_box, taken);
    doc.RecordChange(Fmt("Added chart visibility to the [%s] output from component [%s].",
                         out->m_name.c_str(), c.m_name.c_str()));
    return ECmd::Done;
}

ECmd ShowValueWindow(Czor2Doc& doc) {
    CModelOutput* out = doc.Editor().SelectedComponentOutput(doc.System());
    if (!out || !out->m_owner || !out->m_owner->m_owner) return ECmd::Unavailable;
    CSystem& system = doc.System();
    CNetworkModel& c = *out->m_owner;
    const std::vector<CRect> taken = TakenInModule(system, *c.m_owner);
    CValueWindow* window = system.m_valueWindows.AddValueWindow(system.Random());
    if (!window) return ECmd::Refused;
    window->Attach(c.m_owner, &c, out);
    window->m_title = out->m_name;
    const int32_t w = window->m_rect.right - window->m_rect.left,
                  h = window->m_rect.bottom - window->m_rect.top;
    window->m_rect = FreeSpotNear(
        {c.m_box.right + 60, c.m_box.bottom + 10, c.m_box.right + 60 + w, c.m_box.bottom + 10 + h}, c.m_box,
        taken);
    doc.RecordChange(Fmt("Added data value visibility to the [%s] output from component [%s].",
                         out->m_name.c_str(), c.m_name.c_str()));
    return ECmd::Done;
}

// --- background graphics ---------------------------------------------------------

ECmd AddGraphic(Czor2Doc& doc, int32_t x, int32_t y) {
    CSystem& system = doc.System();
    if (!doc.Editor().DesignedModule(system)) return ECmd::Unavailable;
    CGraphic* g = system.m_graphics.AddGraphic(system.Random());
    if (!g) return ECmd::Refused;
    const int32_t w = g->m_rect.right - g->m_rect.left, h = g->m_rect.bottom - g->m_rect.top;
    g->m_rect = {x, y, x + w, y + h};
    doc.Editor().m_graphics = {g->m_id};
    doc.RecordChange("");
    return ECmd::Done;
}

ECmd ConsolidateComponents(Czor2Doc& doc, int32_t graphicId) {
    CSystem& system = doc.System();
    CNetwork* module = doc.Editor().DesignedModule(system);
    CGraphic* g = system.m_graphics.m_graphics.Find(graphicId);
    if (!module || !g) return ECmd::Unavailable;
    const int32_t n = g->Consolidate(*module);
    if (n == 0) return ECmd::Unavailable;
    doc.RecordChange(Fmt("Consolidated %d component(s) in graphic element in system module [%s].", n,
                         module->m_name.c_str()));
    return ECmd::Done;
}

ECmd ReleaseComponents(Czor2Doc& doc, int32_t graphicId) {
    CSystem& system = doc.System();
    CNetwork* module = doc.Editor().DesignedModule(system);
    CGraphic* g = system.m_graphics.m_graphics.Find(graphicId);
    if (!module || !g) return ECmd::Unavailable;
    const int32_t held = g->CountHeld(*module);
    if (held == 0) return ECmd::Unavailable;
    if (!Confirm(
            doc,
            Fmt("This graphic has %d consolidated component inside. Internal component(s) will be released and remain with all connections unaffected in their original positions. Do you want to continue?",
                held)))
        return ECmd::Cancelled;
    const int32_t n = g->Release(*module);
    doc.RecordChange(Fmt("Released %d consolidated component(s) from graphic element in system module [%s] .",
                         n, module->m_name.c_str()));
    return ECmd::Done;
}

ECmd DeleteGraphic(Czor2Doc& doc, int32_t graphicId) {
    CSystem& system = doc.System();
    CNetwork* module = doc.Editor().DesignedModule(system);
    CGraphic* g = system.m_graphics.m_graphics.Find(graphicId);
    if (!g) return ECmd::Unavailable;
    int32_t held = 0;
    for (const CNetwork* m : system.m_modules) held += g->CountHeld(*m);
    const std::string question =
        held > 0
            ? Fmt("This graphic has %d consolidated component(s) inside. If you delete the graphic, the components will be released and remain with all connections unaffected in their original positions. Do you want to continue?",
                  held)
            : std::string("Are you sure you want to delete the selected graphic?");
    if (!Confirm(doc, question)) return ECmd::Cancelled;
    system.m_graphics.DeleteGraphic(system, g);
    doc.Editor().Prune(system);
    doc.RecordChange(
        Fmt("Deleted graphic element in system module [%s] and released %d consolidated component(s).",
            module ? module->m_name.c_str() : "", held));
    return ECmd::Done;
}

// --- component properties --------------------------------------------------------

bool CanEditComponentProperties(Czor2Doc& doc) {
    if (!Selected(doc)) return false;
    if (doc.System().m_running) {
        doc.Prompter().Tell(
            "Please stop the simulator before modifying component properties via the dialog interface.");
        return false;
    }
    return true;
}

namespace {
bool ConfirmWithOutputs(Czor2Doc& doc, const CNetworkModel& c, const char* format) {
    const int32_t n = c.CountConnectionsOut();
    if (n == 0) return true;
    return doc.Prompter().Ask(Fmt(format, n), EButtons::YesNoCancel) == EAnswer::Yes;
}
}  // namespace

bool ConfirmSegmentOutputsChange(Czor2Doc& doc, const CNetworkModel& component) {
    return ConfirmWithOutputs(
        doc, component,
        "This component has %d existing output connections. If you modify the number of segment outputs, these connections will be deleted. You will need to manually reconnect them after the new segmentation is made. Do you wish to continue?");
}

bool ConfirmDataSourceChange(Czor2Doc& doc, const CNetworkModel& component) {
    return ConfirmWithOutputs(
        doc, component,
        "This component has %d existing output connections. If you change the data source, these connections and outputs will be deleted. You will need to manually reconnect them after the new segmentation is made. Do you wish to continue?");
}

ECmd RecordComponentProperties(Czor2Doc& doc, CNetworkModel& component) {
    Refresh(component);
    // A dialog may have rebuilt ports that a selection or a drag still names.
    doc.Editor().Prune(doc.System());
    doc.RecordChange("");
    return ECmd::Done;
}

}  // namespace zor2
