// Module-level editing commands.
#include "designer/commands_module.h"

#include "designer/commands_system.h"
#include "designer/document.h"

namespace zor2 {

namespace {

bool Confirm(Czor2Doc& doc, const std::string& question) {
    return doc.Prompter().Ask(question, EButtons::YesNo) == EAnswer::Yes;
}

CNetworkInput* SelectedInput(Czor2Doc& doc) {
    if (CNetworkInput* in = doc.Editor().SelectedModuleInput(doc.System())) return in;
    auto all = doc.Editor().SelectedModuleInputs(doc.System());
    return all.empty() ? nullptr : all.front();
}

CNetworkOutput* SelectedOutput(Czor2Doc& doc) {
    if (CNetworkOutput* out = doc.Editor().SelectedModuleOutput(doc.System())) return out;
    auto all = doc.Editor().SelectedModuleOutputs(doc.System());
    return all.empty() ? nullptr : all.front();
}

/// Connections that leave a module output towards other modules and system outputs.
int32_t CountOutgoing(const CSystem& system, const CNetworkOutput& out) {
    int32_t n = 0;
    for (const CNetworkConnection* c : system.m_moduleConnections)
        if (c->m_srcOutput == &out) ++n;
    for (const CExternalOutput* q : system.m_outputs)
        if (q->SourceOutput() == &out) ++n;
    return n;
}

}  // namespace

// --- module ports -----------------------------------------------------------------

ECmd AddModuleInput(Czor2Doc& doc, const std::string& name) {
    CNetwork* module = doc.Editor().CurrentModule(doc.System());
    if (!module) return ECmd::Unavailable;
    CNetworkInput* in = module->CreateInput(name.empty() ? DefaultModuleInputName(*module) : name);
    if (!in) return ECmd::Refused;
    module->LayoutBox();
    doc.RecordChange("Added new input: " + in->m_name + " for system module: " + module->m_name);
    return ECmd::Done;
}

ECmd AddModuleOutput(Czor2Doc& doc, const std::string& name) {
    CNetwork* module = doc.Editor().CurrentModule(doc.System());
    if (!module) return ECmd::Unavailable;
    CNetworkOutput* out = module->CreateOutput(name.empty() ? DefaultModuleOutputName(*module) : name);
    if (!out) return ECmd::Refused;
    module->LayoutBox();
    doc.RecordChange("Added new output: " + out->m_name + " for system module: " + module->m_name);
    return ECmd::Done;
}

ECmd EditModuleInput(Czor2Doc& doc, const std::string& name, const std::string& description) {
    CNetworkInput* in = SelectedInput(doc);
    if (!in) return ECmd::Unavailable;
    in->m_name = name;
    in->m_description = description;
    doc.RecordChange("");
    return ECmd::Done;
}

ECmd EditModuleOutput(Czor2Doc& doc, const std::string& name, const std::string& description) {
    CNetworkOutput* out = SelectedOutput(doc);
    if (!out) return ECmd::Unavailable;
    out->m_name = name;
    out->m_description = description;
    doc.RecordChange("");
    return ECmd::Done;
}

ECmd DeleteModuleInput(Czor2Doc& doc) {
    CNetworkInput* in = SelectedInput(doc);
    if (!in) return ECmd::Unavailable;
    const bool external = in->HasSource();
    const bool internal = !in->m_connections.Empty();
    const char* question =
        external && internal
            ? "This Module Input is currently connected to another network or system input, as well as connected to one or more internal components. If you delete the input, these connections will also be removed. Are you sure you want to delete this input?"
        : external
            ? "This Module Input is currently connected to another network or system input. If you delete the input, this connection will also be removed. Are you sure you want to delete this input?"
        : internal
            ? "This Module Input is currently connected to one or more internal components. If you delete the input, these connections will also be removed. Are you sure you want to delete this input?"
            : "Are you sure you want to delete this module input?";
    if (!Confirm(doc, question)) return ECmd::Cancelled;
    const std::string name = in->m_name;
    CNetwork* module = in->m_owner;
    doc.System().DeleteModuleInput(in);
    if (module) module->LayoutBox();
    doc.Editor().Prune(doc.System());
    doc.RecordChange("Deleted module input: " + name);
    doc.NotifyCountIO();
    return ECmd::Done;
}

ECmd DeleteModuleOutput(Czor2Doc& doc) {
    CNetworkOutput* out = SelectedOutput(doc);
    if (!out) return ECmd::Unavailable;
    if (!Confirm(doc, "Are you sure you want to delete the " + out->m_name + " output?"))
        return ECmd::Cancelled;
    const bool connected = out->HasSource() || CountOutgoing(doc.System(), *out) > 0;
    if (connected &&
        !Confirm(
            doc,
            "This output has one or more existing connections. These connections will be deleted. Do you want to continue?"))
        return ECmd::Cancelled;
    CNetwork* module = out->m_owner;
    doc.System().DeleteModuleOutput(out);
    if (module) {
        module->ComputeStages();
        module->LayoutBox();
    }
    doc.Editor().Prune(doc.System());
    doc.RecordChange("");
    doc.NotifyCountIO();
    return ECmd::Done;
}

// --- exposing module ports --------------------------------------------------------

ECmd ExposeModuleInputs(Czor2Doc& doc, const std::string& newCategoryName) {
    CSystem& system = doc.System();
    CNetwork* module = doc.Editor().CurrentModule(system);
    if (!module) return ECmd::Unavailable;
    std::vector<CNetworkInput*> open;
    for (CNetworkInput* in : module->m_inputs)
        if (!in->HasSource()) open.push_back(in);
    if (open.empty()) {
        doc.Prompter().Tell(
            "All current inputs to this module have existing connections to a data source. Delete these connections prior to exposing the input. Exposing the input automatically connects it to its new external source.");
        return ECmd::Refused;
    }
    const EAnswer answer = doc.Prompter().Ask(
        "Would you like to create a new category for the new external inputs?", EButtons::YesNoCancel);
    if (answer != EAnswer::Yes && answer != EAnswer::No) return ECmd::Cancelled;
    if (answer == EAnswer::Yes && newCategoryName.empty()) return ECmd::Cancelled;
    int32_t exposed = 0;
    {
        CChangeBatch batch(doc);
        CExternalInputCategory* category = answer == EAnswer::Yes
                                               ? system.CreateInputCategory(newCategoryName)
                                               : system.m_inputCategories.Find(kDefaultCategoryId);
        for (CNetworkInput* in : open) {
            CExternalInput* p = system.CreateSystemInput(in->m_name, 1);
            if (!p) break;
            if (category) system.AssignCategory(*p, *category);
            if (system.ConnectSystemInput(*p, *module, in)) ++exposed;
        }
    }
    module->LayoutBox();
    doc.RecordChange("Exposed inputs for system module: " + module->m_name);
    doc.NotifyCountIO();
    return ECmd::Done;
}

ECmd ExposeModuleInput(Czor2Doc& doc, int32_t moduleId, int32_t inputId) {
    CSystem& system = doc.System();
    CNetwork* module = system.FindModule(moduleId);
    CNetworkInput* in = module ? module->m_inputs.Find(inputId) : nullptr;
    if (!in) return ECmd::Unavailable;
    if (in->HasSource()) {
        doc.Prompter().Tell(
            "Cannot expose externally, as this input is already connected to a given data source.");
        return ECmd::Refused;
    }
    bool connected = false;
    {
        // The new system input and its connection are one change; a refused
        // connection takes the system input back before anything is recorded.
        CChangeBatch batch(doc);
        CSystemInputData data;
        data.name = in->m_name;
        if (AddSystemInput(doc, data) != ECmd::Done) return ECmd::Refused;
        CExternalInput* made = system.m_inputs.Tail();
        connected = made && system.ConnectSystemInput(*made, *module, in) != nullptr;
        if (made && !connected) {
            doc.Editor().ClearSelection();
            system.DeleteSystemInput(made);
        }
    }
    if (!connected) {
        doc.NotifyCountIO();  // the system has told why
        return ECmd::Refused;
    }
    module->LayoutBox();
    doc.RecordChange("Exposed inputs for system module: " + module->m_name);
    doc.NotifyCountIO();
    return ECmd::Done;
}

ECmd ExposeModuleOutputs(Czor2Doc& doc, const std::string& newCategoryName) {
    CSystem& system = doc.System();
    CNetwork* module = doc.Editor().CurrentModule(system);
    if (!module) return ECmd::Unavailable;
    std::vector<CNetworkOutput*> open;
    for (CNetworkOutput* out : module->m_outputs) {
        bool feeds = false;
        for (const CExternalOutput* q : system.m_outputs)
            if (q->SourceOutput() == out) feeds = true;
        if (!feeds) open.push_back(out);
    }
    if (open.empty()) {
        doc.Prompter().Tell("All module outputs exposed");
        return ECmd::Refused;
    }
    const EAnswer answer = doc.Prompter().Ask(
        "Would you like to create a new category for the new system outputs?", EButtons::YesNoCancel);
    if (answer != EAnswer::Yes && answer != EAnswer::No) return ECmd::Cancelled;
    if (answer == EAnswer::Yes && newCategoryName.empty()) return ECmd::Cancelled;
    {
        CChangeBatch batch(doc);
        CExternalOutputCategory* category = answer == EAnswer::Yes
                                                ? system.CreateOutputCategory(newCategoryName)
                                                : system.m_outputCategories.Find(kDefaultCategoryId);
        for (CNetworkOutput* out : open) {
            CExternalOutput* q = system.CreateSystemOutput(out->m_name, 1);
            if (!q) break;
            if (category) system.AssignCategory(*q, *category);
            if (!system.ConnectSystemOutput(*module, *q, out)) system.DeleteSystemOutput(q);
        }
    }
    doc.RecordChange("");
    doc.NotifyCountIO();
    return ECmd::Done;
}

// --- removing module connections ------------------------------------------------

ECmd RemoveIncomingConnections(Czor2Doc& doc) {
    CSystem& system = doc.System();
    std::vector<CNetworkInput*> inputs;
    for (CNetworkInput* in : doc.Editor().SelectedModuleInputs(system))
        if (in->HasSource()) inputs.push_back(in);
    if (inputs.empty()) return ECmd::Unavailable;
    if (!Confirm(doc, "Are you sure you want to remove the incoming connection to the selected input(s)?"))
        return ECmd::Cancelled;
    CNetwork* module = inputs.front()->m_owner;
    for (CNetworkInput* in : inputs) system.RemoveModuleInputSource(*in);
    system.ComputeLevels();
    doc.RecordChange("Disconnected and deleted incoming connections to selected inputs to Module: " +
                     (module ? module->m_name : std::string()));
    doc.NotifyCountIO();
    return ECmd::Done;
}

ECmd RemoveInternalInputConnections(Czor2Doc& doc) {
    CSystem& system = doc.System();
    std::vector<CNetworkInput*> inputs;
    for (CNetworkInput* in : doc.Editor().SelectedModuleInputs(system))
        if (!in->m_connections.Empty()) inputs.push_back(in);
    if (inputs.empty()) return ECmd::Unavailable;
    if (!Confirm(doc, "Are you sure you want to remove internal connections from the selected input(s)?"))
        return ECmd::Cancelled;
    CNetwork* module = inputs.front()->m_owner;
    for (CNetworkInput* in : inputs) {
        std::vector<CNetworkModel*> touched;
        for (const CModelConnection* c : in->m_connections)
            if (c->m_dstComponent) touched.push_back(c->m_dstComponent);
        if (module) module->RemoveModuleInputConnections(*in);
        for (CNetworkModel* c : touched) c->CalcSize();
    }
    if (module) module->ComputeStages();
    doc.RecordChange("Disconnected and deleted internal connections to selected inputs to Module: " +
                     (module ? module->m_name : std::string()));
    doc.NotifyCountIO();
    return ECmd::Done;
}

ECmd RemoveOutgoingConnections(Czor2Doc& doc) {
    CSystem& system = doc.System();
    CNetworkOutput* out = SelectedOutput(doc);
    if (!out || !out->m_owner) return ECmd::Unavailable;
    CNetwork* module = out->m_owner;
    const int32_t n = CountOutgoing(system, *out);
    if (n == 0) {
        doc.Prompter().Tell("No outgoing connections to delete...");
        return ECmd::Refused;
    }
    if (!Confirm(
            doc,
            Fmt("You are about to remove %d active connection(s) from the %s output of the %s module. Do you wish to continue?",
                n, out->m_name.c_str(), module->m_name.c_str())))
        return ECmd::Cancelled;
    for (CNetworkConnection* c : system.m_moduleConnections.Snapshot()) {
        if (c->m_srcOutput != out) continue;
        if (CNetworkInput* in = c->m_dstInput; in && in->m_sourceNetConnection == c) {
            in->ClearSource();
            in->m_name = "open";
        }
        system.m_moduleConnections.Remove(c);
    }
    for (CExternalOutput* q : system.m_outputs)
        if (q->SourceOutput() == out) system.DisconnectSystemOutput(*q);
    system.ComputeLevels();
    doc.RecordChange(Fmt("Removed %d connection(s) from the %s output of the %s module", n,
                         out->m_name.c_str(), module->m_name.c_str()));
    doc.NotifyCountIO();
    return ECmd::Done;
}

ECmd RemoveModuleOutgoingConnections(Czor2Doc& doc, int32_t moduleId) {
    CSystem& system = doc.System();
    CNetwork* module = system.FindModule(moduleId);
    if (!module) return ECmd::Unavailable;
    ECmd last = ECmd::Unavailable;
    for (CNetworkOutput* out : module->m_outputs.Snapshot()) {
        if (CountOutgoing(system, *out) == 0) continue;
        doc.Editor().SelectModuleOutput(moduleId, out->m_id);
        last = RemoveOutgoingConnections(doc);
        if (last == ECmd::Cancelled) break;
    }
    if (last == ECmd::Unavailable) doc.Prompter().Tell("No outgoing connections to delete...");
    return last;
}

ECmd RemoveModuleIncomingConnections(Czor2Doc& doc, int32_t moduleId) {
    CNetwork* module = doc.System().FindModule(moduleId);
    if (!module || module->m_inputs.Empty()) return ECmd::Unavailable;
    CEditorState& editor = doc.Editor();
    editor.SelectModuleInput(moduleId, module->m_inputs.Head()->m_id);
    editor.m_moduleInputs.clear();
    for (const CNetworkInput* in : module->m_inputs) editor.m_moduleInputs.push_back(in->m_id);
    return RemoveIncomingConnections(doc);
}

ECmd RemoveInternalOutputConnection(Czor2Doc& doc) {
    CNetworkOutput* out = SelectedOutput(doc);
    if (!out || !out->m_owner) return ECmd::Unavailable;
    CNetwork* module = out->m_owner;
    if (!out->HasSource()) {
        doc.Prompter().Tell("No internal connection to delete...");
        return ECmd::Refused;
    }
    if (!Confirm(
            doc,
            Fmt("You are about to remove the active internal connection to the %s output of the %s module. Do you wish to continue?",
                out->m_name.c_str(), module->m_name.c_str())))
        return ECmd::Cancelled;
    module->RemoveModuleOutputSource(*out);
    module->ComputeStages();
    doc.RecordChange(Fmt("Removed internal connection to the %s output of the %s module", out->m_name.c_str(),
                         module->m_name.c_str()));
    doc.NotifyCountIO();
    return ECmd::Done;
}

// --- "New Input Connection" ---------------------------------------------------------

ECmd AddDataConnection(Czor2Doc& doc, const CDataConnectionRequest& r) {
    CSystem& system = doc.System();
    CNetwork* module = doc.Editor().CurrentModule(system);
    if (!module) return ECmd::Unavailable;
    CExternalInput* systemInput = r.systemInputId ? system.FindSystemInput(r.systemInputId) : nullptr;
    CNetwork* source = systemInput ? nullptr : system.FindModule(r.sourceModuleId);
    if (!systemInput && !source) return ECmd::Unavailable;
    CNetworkInput* in = r.inputId ? module->m_inputs.Find(r.inputId) : nullptr;
    if (r.inputId && !in) return ECmd::Unavailable;
    CNetworkOutput* out = source && r.sourceOutputId ? source->m_outputs.Find(r.sourceOutputId) : nullptr;
    if (source && r.sourceOutputId && !out) return ECmd::Unavailable;

    // Ports made for the request are taken back when the connection is refused.
    CNetworkInput* newIn = nullptr;
    CNetworkOutput* newOut = nullptr;
    if (!in)
        in = newIn =
            module->CreateInput(r.newInputName.empty() ? DefaultModuleInputName(*module) : r.newInputName);
    if (source && !out)
        out = newOut = source->CreateOutput(r.newOutputName.empty() ? DefaultModuleOutputName(*source)
                                                                    : r.newOutputName);
    bool made = false;
    if (in && (systemInput || out)) {
        made = systemInput ? system.ConnectSystemInput(*systemInput, *module, in) != nullptr
                           : system.ConnectModules(*source, *module, out, in) != nullptr;
    }
    if (!made) {
        if (newIn) module->m_inputs.Remove(newIn);
        if (newOut) source->m_outputs.Remove(newOut);
        module->LayoutBox();
        if (source) source->LayoutBox();
        doc.Prompter().Beep();
        return ECmd::Refused;
    }
    doc.NotifyCountIO();
    return ECmd::Done;
}

ECmd EditModuleProperties(Czor2Doc& doc, const std::string& name, const std::string& description) {
    CNetwork* module = doc.Editor().CurrentModule(doc.System());
    if (!module) return ECmd::Unavailable;
    module->m_name = name;
    module->m_description = description;
    doc.RecordChange("");
    return ECmd::Done;
}

ECmd DesignSelectedModule(Czor2Doc& doc) {
    CNetwork* module = doc.Editor().CurrentModule(doc.System());
    if (!module) return ECmd::Unavailable;
    doc.Editor().DesignModule(module->m_id);
    return ECmd::Done;
}

ECmd SelectAllComponents(Czor2Doc& doc) {
    CNetwork* module = doc.Editor().DesignedModule(doc.System());
    if (!module) return ECmd::Unavailable;
    std::vector<int32_t> ids;
    for (const CNetworkModel* c : module->m_components) ids.push_back(c->m_id);
    doc.Editor().SelectComponents(std::move(ids));
    return ECmd::Done;
}

ECmd ExecuteModule(Czor2Doc& doc) {
    CNetwork* module = doc.Editor().CurrentModule(doc.System());
    if (!module) return ECmd::Unavailable;
    module->ExecuteModule();
    return ECmd::Done;
}

ECmd ExecuteModuleWithInputs(Czor2Doc& doc) {
    CNetwork* module = doc.Editor().CurrentModule(doc.System());
    if (!module) return ECmd::Unavailable;
    module->PullModuleInputs();
    module->ExecuteModule();
    module->UpdateModuleOutputs();
    return ECmd::Done;
}

}  // namespace zor2
