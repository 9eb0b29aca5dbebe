// System-level editing commands.
#include "designer/commands_system.h"

#include <cstdlib>

#include "designer/document.h"
#include "engine/catalogue.h"
#include "persistence/csv_file.h"
#include "persistence/csv_import.h"
#include "persistence/module_file.h"

namespace zor2 {

// --- default names ----------------------------------------------------------------

std::string DefaultModuleName(const CSystem& system) {
    return Fmt("Network %d", static_cast<int>(system.m_modules.Size()) + 1);
}

std::string DefaultModuleInputName(const CNetwork& module) {
    return Fmt("input%d", static_cast<int>(module.m_inputs.Size()) + 1);
}

std::string DefaultModuleOutputName(const CNetwork& module) {
    return Fmt("output%d", static_cast<int>(module.m_outputs.Size()) + 1);
}

std::string DefaultComponentName(const CNetwork& module, int32_t typeId) {
    const char* name = CatalogueName(typeId);
    return Fmt("M%d %s", static_cast<int>(module.m_components.Size()) + 1, name ? name : "");
}

// --- modules ----------------------------------------------------------------------

namespace {

ECmd AddNamedModule(Czor2Doc& doc, const std::string& name, int32_t x, int32_t y, const char* linePrefix) {
    CSystem& system = doc.System();
    CNetwork* module = system.CreateModule(name, x, y);
    if (!module) {
        doc.Prompter().Tell("No free identifier is left for a new module.");
        return ECmd::Refused;
    }
    doc.Editor().SelectModules({module->m_id});
    doc.RecordChange(linePrefix + module->m_name);
    return ECmd::Done;
}

/// Connections that leave or enter a module at system level.
int32_t CountModuleConnections(const CSystem& system, const CNetwork& module) {
    int32_t n = 0;
    for (const CNetworkInput* in : module.m_inputs)
        if (in->HasSource()) ++n;
    for (const CNetworkConnection* c : system.m_moduleConnections)
        if (c->m_srcModule == &module) ++n;
    for (const CExternalOutput* q : system.m_outputs)
        if (q->m_connection && q->m_connection->m_module == &module) ++n;
    return n;
}

bool Confirm(Czor2Doc& doc, const std::string& question) {
    return doc.Prompter().Ask(question, EButtons::YesNo) == EAnswer::Yes;
}

}  // namespace

ECmd AddModule(Czor2Doc& doc) {
    const CRect& v = doc.Editor().m_visible;
    return AddNamedModule(doc, DefaultModuleName(doc.System()), v.left + (v.right - v.left) / 2,
                          v.top + (v.bottom - v.top) / 2, "Added new system module: ");
}

ECmd AddModuleAt(Czor2Doc& doc, int32_t x, int32_t y) {
    return AddNamedModule(doc, Fmt("Module %d", static_cast<int>(doc.System().m_modules.Size()) + 1), x, y,
                          "Added System Module: ");
}

ECmd DeleteModule(Czor2Doc& doc) {
    CSystem& system = doc.System();
    CNetwork* module = doc.Editor().CurrentModule(system);
    if (!module) return ECmd::Unavailable;
    const int32_t connections = CountModuleConnections(system, *module);
    const std::string question =
        connections > 0
            ? Fmt("The %s module has %d existing connection(s). If you delete this module, these connections will also be deleted. Continue?",
                  module->m_name.c_str(), connections)
            : Fmt("Are you sure you want to delete the %s system module?", module->m_name.c_str());
    if (!Confirm(doc, question)) return ECmd::Cancelled;
    const std::string name = module->m_name;
    if (doc.Editor().m_designedModuleId == module->m_id) doc.Editor().ShowSystem();
    system.DeleteModule(module);
    doc.Editor().Prune(system);
    doc.RecordChange("Deleted " + name + " system module.");
    doc.NotifyCountIO();
    return ECmd::Done;
}

// --- system inputs and outputs ------------------------------------------------

CSystemInputData SystemInputData(const CExternalInput& input) {
    CSystemInputData d;
    d.name = input.m_name;
    d.categoryId = input.m_categoryId;
    d.initialValue = input.m_initialValue;
    d.decimals = input.m_decimals;
    d.description = input.m_description;
    d.fromDataFile = input.m_kind == 2;
    d.dataFilePath = input.m_dataFilePath;
    d.dataColumn = input.m_dataColumn;
    return d;
}

namespace {

/// Reads one column (1-based) of every line after the header into the input's
/// array: one value per line, 0 where the line has no such field or it is
/// empty. A malformed line, or a field that is not a number, stops the reading
/// with its line in the feedback; the array then stays as it was.
void ReadDataColumn(CSystem& system, CExternalInput& input) {
    CCSVFile file;
    if (input.m_dataFilePath.empty() || !file.Open(input.m_dataFilePath, ECsvMode::Read)) return;
    std::vector<std::string> fields;
    std::vector<double> values;
    const size_t column = input.m_dataColumn >= 1 ? static_cast<size_t>(input.m_dataColumn - 1) : 0;
    std::string error;
    if (file.ReadLine(fields)) {
        while (file.ReadLine(fields)) {
            double v = 0.0;
            if (column < fields.size() && !fields[column].empty() && !ParseCsvNumber(fields[column], v)) {
                error =
                    Fmt("%s line %d, field %d: \"%s\" is not a finite decimal number", file.Path().c_str(),
                        file.LinesRead(), static_cast<int>(column + 1), fields[column].c_str());
                break;
            }
            values.push_back(v);
        }
    }
    if (file.Failed()) error = file.Error();
    if (!error.empty()) {
        system.BuildFeedback("Datafile not read: " + error + "\n");
        return;
    }
    input.m_array = std::move(values);
    system.BuildFeedback(Fmt("Read %d values from column %d in datafile %s\n", input.ArrayCount(),
                             input.m_dataColumn, input.m_dataFilePath.c_str()));
}

void ApplyInputData(CSystem& system, CExternalInput& input, const CSystemInputData& d) {
    input.m_name = d.name;
    input.m_description = d.description;
    input.m_decimals = d.decimals;
    input.m_kind = d.fromDataFile ? 2 : 1;
    input.m_dataFilePath = d.fromDataFile ? d.dataFilePath : std::string();
    input.m_dataColumn = d.fromDataFile ? d.dataColumn : 0;
    input.m_initialValue = d.initialValue;
    input.SetValue(d.initialValue);
    CExternalInputCategory* category = system.m_inputCategories.Find(d.categoryId);
    if (!category) category = system.m_inputCategories.Find(kDefaultCategoryId);
    if (category) system.AssignCategory(input, *category);
    if (d.fromDataFile)
        ReadDataColumn(system, input);
    else
        input.m_array.clear();
}

std::string InputCategoryName(const CSystem& system, int32_t id) {
    const CExternalInputCategory* c = system.m_inputCategories.Find(id);
    return c ? c->m_name : std::string();
}

std::string OutputCategoryName(const CSystem& system, int32_t id) {
    const CExternalOutputCategory* c = system.m_outputCategories.Find(id);
    return c ? c->m_name : std::string();
}

}  // namespace

ECmd AddSystemInput(Czor2Doc& doc, const CSystemInputData& data) {
    CSystem& system = doc.System();
    CExternalInput* input = system.CreateSystemInput(data.name, data.fromDataFile ? 2 : 1);
    if (!input) {
        doc.Prompter().Tell("No free identifier is left for a new system input.");
        return ECmd::Refused;
    }
    ApplyInputData(system, *input, data);
    doc.Editor().SelectSystemInput(input->m_id);
    doc.RecordChange("Added System Input: " + input->m_name +
                     " to category: " + InputCategoryName(system, input->m_categoryId));
    doc.NotifyCountIO();
    return ECmd::Done;
}

ECmd EditSystemInput(Czor2Doc& doc, const CSystemInputData& data) {
    CSystem& system = doc.System();
    CExternalInput* input = doc.Editor().SelectedSystemInput(system);
    if (!input) return ECmd::Unavailable;
    ApplyInputData(system, *input, data);
    system.ComputeLevels();
    doc.RecordChange("Modified System Input: " + input->m_name);
    doc.NotifyCountIO();
    return ECmd::Done;
}

ECmd DeleteSystemInput(Czor2Doc& doc) {
    CSystem& system = doc.System();
    CExternalInput* input = doc.Editor().SelectedSystemInput(system);
    if (!input) return ECmd::Unavailable;
    const std::string question =
        input->m_connections.Empty()
            ? "Are you sure you want to delete this system input?"
            : "This System Input has existing connections to system modules. These connections will also be deleted. Do you want to continue?";
    if (!Confirm(doc, question)) return ECmd::Cancelled;
    const std::string name = input->m_name;
    system.DeleteSystemInput(input);
    doc.Editor().Prune(system);
    doc.RecordChange("Deleted system input: " + name);
    doc.NotifyCountIO();
    return ECmd::Done;
}

ECmd AddSystemInputFromBar(Czor2Doc& doc) {
    CSystem& system = doc.System();
    CExternalInput* input =
        system.CreateSystemInput(Fmt("Input: %d", static_cast<int>(system.m_inputs.Size()) + 1), 1);
    if (!input) return ECmd::Refused;
    doc.Editor().SelectSystemInput(input->m_id);
    doc.RecordChange("Added System " + input->m_name);
    doc.NotifyCountIO();
    return ECmd::Done;
}

ECmd AddSystemOutputFromBar(Czor2Doc& doc) {
    CSystem& system = doc.System();
    CExternalOutput* output =
        system.CreateSystemOutput(Fmt("Output: %d", static_cast<int>(system.m_outputs.Size()) + 1), 1);
    if (!output) return ECmd::Refused;
    doc.Editor().SelectSystemOutput(output->m_id);
    doc.RecordChange("Added System Output: " + output->m_name);
    doc.NotifyCountIO();
    return ECmd::Done;
}

ECmd RemoveSystemOutputConnection(Czor2Doc& doc) {
    CSystem& system = doc.System();
    CExternalOutput* output = doc.Editor().SelectedSystemOutput(system);
    if (!output || !output->m_connection) return ECmd::Unavailable;
    system.DisconnectSystemOutput(*output);
    system.ComputeLevels();
    doc.RecordChange("");
    doc.NotifyCountIO();
    return ECmd::Done;
}

CSystemOutputData SystemOutputData(const CExternalOutput& output) {
    CSystemOutputData d;
    d.name = output.m_name;
    d.categoryId = output.m_categoryId;
    d.description = output.m_description;
    return d;
}

namespace {
void ApplyOutputData(CSystem& system, CExternalOutput& output, const CSystemOutputData& d) {
    output.m_name = d.name;
    output.m_description = d.description;
    CExternalOutputCategory* category = system.m_outputCategories.Find(d.categoryId);
    if (!category) category = system.m_outputCategories.Find(kDefaultCategoryId);
    if (category) system.AssignCategory(output, *category);
}
}  // namespace

ECmd AddSystemOutput(Czor2Doc& doc, const CSystemOutputData& data) {
    CSystem& system = doc.System();
    CExternalOutput* output = system.CreateSystemOutput(data.name, 1);
    if (!output) {
        doc.Prompter().Tell("No free identifier is left for a new system output.");
        return ECmd::Refused;
    }
    ApplyOutputData(system, *output, data);
    doc.Editor().SelectSystemOutput(output->m_id);
    doc.RecordChange("Added System Output: " + output->m_name +
                     " to category: " + OutputCategoryName(system, output->m_categoryId));
    doc.NotifyCountIO();
    return ECmd::Done;
}

ECmd EditSystemOutput(Czor2Doc& doc, const CSystemOutputData& data) {
    CSystem& system = doc.System();
    CExternalOutput* output = doc.Editor().SelectedSystemOutput(system);
    if (!output) return ECmd::Unavailable;
    ApplyOutputData(system, *output, data);
    doc.RecordChange("");
    doc.NotifyCountIO();
    return ECmd::Done;
}

ECmd DeleteSystemOutput(Czor2Doc& doc) {
    CSystem& system = doc.System();
    CExternalOutput* output = doc.Editor().SelectedSystemOutput(system);
    if (!output) return ECmd::Unavailable;
    const std::string question =
        output->m_connection
            ? "This System Output has an existing connection to a system module. This connection will also be deleted. Do you want to continue?"
            : "Are you sure you want to delete this System Output?";
    if (!Confirm(doc, question)) return ECmd::Cancelled;
    system.DeleteSystemOutput(output);
    system.ComputeLevels();
    doc.Editor().Prune(system);
    doc.RecordChange("");
    doc.NotifyCountIO();
    return ECmd::Done;
}

// --- categories ---------------------------------------------------------------

ECmd AddInputCategory(Czor2Doc& doc, const std::string& name) {
    CExternalInputCategory* c = doc.System().CreateInputCategory(name);
    if (!c) return ECmd::Refused;
    doc.Editor().SelectInputCategory(c->m_id);
    doc.RecordChange("Added input category: " + name);
    return ECmd::Done;
}

ECmd AddOutputCategory(Czor2Doc& doc, const std::string& name) {
    CExternalOutputCategory* c = doc.System().CreateOutputCategory(name);
    if (!c) return ECmd::Refused;
    doc.Editor().SelectOutputCategory(c->m_id);
    doc.RecordChange("Added output category: " + name);
    return ECmd::Done;
}

ECmd EditInputCategory(Czor2Doc& doc, const std::string& name) {
    const CEditorState& e = doc.Editor();
    if (e.m_kind != ESelectionKind::InputCategory) return ECmd::Unavailable;
    CExternalInputCategory* c = doc.System().m_inputCategories.Find(e.m_objectId);
    if (!c) return ECmd::Unavailable;
    c->m_name = name;
    doc.RecordChange("Modified inputs category: " + name);
    return ECmd::Done;
}

ECmd EditOutputCategory(Czor2Doc& doc, const std::string& name) {
    const CEditorState& e = doc.Editor();
    if (e.m_kind != ESelectionKind::OutputCategory) return ECmd::Unavailable;
    CExternalOutputCategory* c = doc.System().m_outputCategories.Find(e.m_objectId);
    if (!c) return ECmd::Unavailable;
    c->m_name = name;
    doc.RecordChange("");
    return ECmd::Done;
}

// --- CSV import and module files ----------------------------------------------

namespace {
ECmd FinishImport(Czor2Doc& doc, const CCsvImportResult& r) {
    if (!r.message.empty()) doc.Prompter().Tell(r.message);
    if (r.created > 0) doc.NotifyCountIO();
    if (r.created > 0) return ECmd::Done;
    return r.Ok() ? ECmd::Unavailable : ECmd::Refused;
}
}  // namespace

ECmd ImportSystemInputs(Czor2Doc& doc, const std::string& path) {
    if (path.empty()) return ECmd::Cancelled;
    return FinishImport(doc, ImportSystemInputsCsv(doc.System(), path));
}

ECmd ImportSystemOutputs(Czor2Doc& doc, const std::string& path) {
    if (path.empty()) return ECmd::Cancelled;
    return FinishImport(doc, ImportSystemOutputsCsv(doc.System(), path));
}

ECmd ImportModule(Czor2Doc& doc, const std::string& path) {
    if (path.empty()) return ECmd::Cancelled;
    CNetwork* imported = nullptr;
    CFileResult r = ImportModuleFile(doc.System(), path, &imported);
    if (!r) {
        doc.Prompter().Tell(r.message);
        return ECmd::Refused;
    }
    if (imported) doc.Editor().SelectModules({imported->m_id});
    return ECmd::Done;
}

ECmd ExportModule(Czor2Doc& doc, const std::string& path) {
    CNetwork* module = doc.Editor().CurrentModule(doc.System());
    if (!module) return ECmd::Unavailable;
    if (path.empty()) return ECmd::Cancelled;
    CFileResult r = ExportModuleFile(*module, path);
    if (!r) {
        doc.Prompter().Tell(r.message);
        return ECmd::Refused;
    }
    return ECmd::Done;
}

// --- project information ------------------------------------------------------

CProjectInformation ProjectInformation(const CSystem& system) {
    CProjectInformation info;
    info.systemId = system.m_systemId;
    info.moduleCount = static_cast<int32_t>(system.m_modules.Size());
    int number = 0;
    for (const CNetwork* m : system.m_modules)
        info.modules.push_back(Fmt("[ %d ] %s", ++number, m->m_name.c_str()));
    info.systemInputCount = static_cast<int32_t>(system.m_inputs.Size());
    info.systemOutputCount = static_cast<int32_t>(system.m_outputs.Size());
    for (const CNetwork* m : system.m_modules) {
        for (const CNetworkModel* c : m->m_components) {
            std::string line = Fmt("(Type: %d) ID: %d, Module: %s, Name: %s", c->m_typeId, c->m_id,
                                   m->m_name.c_str(), c->m_name.c_str());
            if (!c->HasConnectionsOut()) line += " (No output connect)";
            if (c->m_graphic) line += " (hidden)";
            info.components.push_back(std::move(line));
        }
    }
    info.description = system.m_description;
    return info;
}

ECmd SetProjectDescription(Czor2Doc& doc, const std::string& description) {
    if (doc.System().m_description == description) return ECmd::Unavailable;
    doc.System().m_description = description;
    doc.RecordChange("");
    return ECmd::Done;
}

// --- connecting many ports at once ------------------------------------------

ECmd ConnectCategoryToModule(Czor2Doc& doc, int32_t inputCategoryId, int32_t moduleId) {
    CSystem& system = doc.System();
    CExternalInputCategory* category = system.m_inputCategories.Find(inputCategoryId);
    CNetwork* module = system.FindModule(moduleId);
    if (!category || !module) return ECmd::Unavailable;
    if (category->m_members.Empty()) {
        doc.Prompter().Tell(Fmt(
            "No connections added to system module: %s. There are no system inputs yet in this category. Double click on the category to add a new system input first.",
            module->m_name.c_str()));
        return ECmd::Refused;
    }
    auto receives = [module](const CExternalInput* p) {
        for (const CNetworkInput* in : module->m_inputs)
            if (in->m_sourceKind == kSourceSystemInput && in->m_sourceExtConnection &&
                in->m_sourceExtConnection->m_systemInput == p)
                return true;
        return false;
    };
    int32_t added = 0;
    {
        CChangeBatch batch(doc);
        for (CExternalInput* p : category->m_members.Items())
            if (!receives(p) && system.ConnectSystemInput(*p, *module)) ++added;
    }
    if (added == 0) return ECmd::Unavailable;
    doc.RecordChange(
        Fmt("Added %d connections from system inputs to system module: %s", added, module->m_name.c_str()));
    return ECmd::Done;
}

ECmd ConnectModuleToSystemOutputs(Czor2Doc& doc, int32_t moduleId) {
    CSystem& system = doc.System();
    CNetwork* module = system.FindModule(moduleId);
    if (!module || module->m_outputs.Empty()) return ECmd::Unavailable;
    int32_t added = 0;
    {
        CChangeBatch batch(doc);
        for (CNetworkOutput* out : module->m_outputs.Snapshot()) {
            CExternalOutput* q = system.CreateSystemOutput(out->m_name, 1);
            if (!q) break;
            if (system.ConnectSystemOutput(*module, *q, out))
                ++added;
            else
                system.DeleteSystemOutput(q);
        }
    }
    if (added == 0) return ECmd::Unavailable;
    doc.RecordChange(
        Fmt("Added %d connections from system module %s to system outputs.", added, module->m_name.c_str()));
    doc.NotifyCountIO();
    return ECmd::Done;
}

}  // namespace zor2
