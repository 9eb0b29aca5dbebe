// System-level editing commands of the system view: modules, system inputs
// and outputs, categories, CSV import, module files, project information and
// the two gestures that connect many ports at once.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "designer/commands_common.h"
#include "engine/system.h"

namespace zor2 {

class Czor2Doc;

// --- default names ------------------------------------------------------------
/// "Network %d" with the number of modules + 1 (the ribbon's "Add New Module").
std::string DefaultModuleName(const CSystem& system);
/// "input%d" / "output%d" with the module's number of inputs / outputs + 1.
std::string DefaultModuleInputName(const CNetwork& module);
std::string DefaultModuleOutputName(const CNetwork& module);
/// "M%d %s": the module's number of components + 1 and the catalogue name.
std::string DefaultComponentName(const CNetwork& module, int32_t typeId);

// --- modules --------------------------------------------------------------------
/// "Add New Module": a module "Network %d" at the centre of the visible part of
/// the view. Feedback "Added new system module: %s". The new module becomes
/// the selection.
ECmd AddModule(Czor2Doc& doc);
/// A double click on empty space of the system view: "Module %d" at (x, y).
/// Feedback "Added System Module: %s".
ECmd AddModuleAt(Czor2Doc& doc, int32_t x, int32_t y);
/// "Delete Module...": the first selected module (or the designed one), after
/// confirmation. Feedback "Deleted %s system module.".
ECmd DeleteModule(Czor2Doc& doc);

// --- system inputs and outputs ------------------------------------------------
/// The fields of the system input dialog.
struct CSystemInputData {
    std::string name = "input name";
    int32_t categoryId = kDefaultCategoryId;
    double initialValue = 0.0;
    int32_t decimals = 2;
    std::string description;
    /// An array input whose values come from one column of a CSV file.
    bool fromDataFile = false;
    std::string dataFilePath;
    int32_t dataColumn = 1;  // 1-based
};
/// The dialog's fields for an existing input.
CSystemInputData SystemInputData(const CExternalInput& input);
/// "Add System Input" on OK of its dialog. Feedback "Added System Input: %s to
/// category: %s". A data file column is read into the input's array and
/// reported with "Read %d values from column %d in datafile %s\n".
ECmd AddSystemInput(Czor2Doc& doc, const CSystemInputData& data);
/// "Edit Input..." on OK: the selected system input. Feedback "Modified System Input: %s".
ECmd EditSystemInput(Czor2Doc& doc, const CSystemInputData& data);
/// "Delete Input": the selected system input, after confirmation (its
/// behaviours go with it). Feedback "Deleted system input: %s".
ECmd DeleteSystemInput(Czor2Doc& doc);

/// A double click on the system inputs bar: "Input: %d" in the default
/// category. Feedback "Added System " followed by the name.
ECmd AddSystemInputFromBar(Czor2Doc& doc);

/// The fields of the system output dialog.
struct CSystemOutputData {
    std::string name = "output name";
    int32_t categoryId = kDefaultCategoryId;
    std::string description;
};
CSystemOutputData SystemOutputData(const CExternalOutput& output);
/// "Add System Output". Feedback "Added System Output: %s to category: %s".
ECmd AddSystemOutput(Czor2Doc& doc, const CSystemOutputData& data);
/// A double click on the system outputs bar: "Output: %d" in the default
/// category. Feedback "Added System Output: " followed by the name.
ECmd AddSystemOutputFromBar(Czor2Doc& doc);
/// The system output's "Remove Connection": the connection from its module
/// output; the module output stays (no feedback line).
ECmd RemoveSystemOutputConnection(Czor2Doc& doc);
/// "Edit Output...": the selected system output (no feedback line).
ECmd EditSystemOutput(Czor2Doc& doc, const CSystemOutputData& data);
/// "Delete Output": the selected system output, after confirmation (no feedback line).
ECmd DeleteSystemOutput(Czor2Doc& doc);

// --- categories -------------------------------------------------------------
/// The category dialog starts with this name.
inline constexpr const char* kDefaultCategoryName = "category name";
/// Feedback "Added input category: %s" / "Added output category: %s".
ECmd AddInputCategory(Czor2Doc& doc, const std::string& name);
ECmd AddOutputCategory(Czor2Doc& doc, const std::string& name);
/// Renames the selected category. Feedback "Modified inputs category: %s"
/// (the output category has no line of its own).
ECmd EditInputCategory(Czor2Doc& doc, const std::string& name);
ECmd EditOutputCategory(Czor2Doc& doc, const std::string& name);

// --- CSV import and module files ------------------------------------------
/// "Import Inputs..." / "Import Outputs..." after the file dialog. A file that
/// cannot be opened or a line without a category is reported with a clear
/// message; the ports made before such a line stay and are recorded.
ECmd ImportSystemInputs(Czor2Doc& doc, const std::string& path);
ECmd ImportSystemOutputs(Czor2Doc& doc, const std::string& path);
/// "Import Module..." after the file dialog. Feedback "Imported system module: %s".
ECmd ImportModule(Czor2Doc& doc, const std::string& path);
/// "Export Module..." after the file dialog: writes the selected module. No
/// model change, so no undo level; Done when the file was written.
ECmd ExportModule(Czor2Doc& doc, const std::string& path);

// --- project information ------------------------------------------------------
/// What the "System Properties" dialog shows.
struct CProjectInformation {
    int32_t systemId = 0;
    int32_t moduleCount = 0;
    std::vector<std::string> modules;  // "[ %d ] %s"
    int32_t systemInputCount = 0;
    int32_t systemOutputCount = 0;
    std::vector<std::string>
        components;  // "(Type: %d) ID: %d, Module: %s, Name: %s" [+ " (No output connect)"] [+ " (hidden)"]
    std::string description;
};
CProjectInformation ProjectInformation(const CSystem& system);
/// OK of "System Properties": stores the edit box's text as the system
/// description. Unavailable (no undo level) when the text is unchanged.
ECmd SetProjectDescription(Czor2Doc& doc, const std::string& description);

// --- connecting many ports at once ------------------------------------------
/// A category of system inputs dropped on a module: every input of the
/// category the module does not yet receive is connected through a new module
/// input. Feedback "Added %d connections from system inputs to system module: %s".
/// An empty category is refused with an information message.
ECmd ConnectCategoryToModule(Czor2Doc& doc, int32_t inputCategoryId, int32_t moduleId);
/// A module dropped on the system outputs bar: each module output gets a new
/// system output. Feedback "Added %d connections from system module %s to system outputs.".
ECmd ConnectModuleToSystemOutputs(Czor2Doc& doc, int32_t moduleId);

}  // namespace zor2
