// What the editor holds besides the model: the view mode, the current
// selection of each kind (by id, so it survives undo and reload) and the
// view's display options. Plain data; the commands read and update it.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/object.h"

namespace zor2 {

class CSystem;
class CNetwork;
class CNetworkModel;
class CExternalInput;
class CExternalOutput;
class CNetworkInput;
class CNetworkOutput;
class CModelInput;
class CModelOutput;

enum class EViewMode {
    System,        // modules between the system input and output bars
    ModuleDesign,  // the components of one module
};

/// The single-object selection kinds; modules, components, charts, value
/// windows and graphics are selected as sets instead.
enum class ESelectionKind {
    None,
    SystemInput,
    SystemOutput,
    InputCategory,
    OutputCategory,
    ModuleInput,
    ModuleOutput,
    ComponentInput,
    ComponentOutput,
};

/// The view's display options (the "View" ribbon category and the grid). The
/// stored settings start as: grid shown, 16 pixels, connector type 2, module
/// values shown.
struct CViewOptions {
    bool showGrid = true;
    int32_t gridSpacing = 16;
    int32_t backgroundColour = 0xFFFFFF;
    int32_t gridColour = 0xEAEAEA;
    int32_t connectorType = 2;
    bool showSystemInputsBar = true;
    bool showSystemOutputsBar = true;
    bool showModuleInputsBar = true;
    bool showModuleOutputsBar = true;
    bool inputCategoryDetail = true;
    bool outputCategoryDetail = true;
    bool showModuleValues = true;  // module ports show values rather than names
    bool componentNames = true;
    bool helperText = true;
    bool inputNames = true;
    bool outputNames = true;
    bool connections = true;
    bool showMiniview = true;
    // What the miniview draws besides the module boxes.
    bool miniviewIncoming = true;         // system inputs to modules
    bool miniviewOutgoing = true;         // modules to system outputs
    bool miniviewModuleLinks = true;      // module to module
    bool miniviewNames = true;            // module names
    bool highlightActiveOutputs = false;  // the simulation marks outputs that are not 0
    bool chartConnectors = true;          // lines from each chart to its output
    bool valueWindowConnectors = true;    // lines from each value window to its output
    bool graphicCount = false;            // graphics show how many components they hold
    bool updateWhileLearning = false;     // the module view is redrawn on every tick of a learning run
};

/// A drag of selected objects in progress: the offsets moved so far. A
/// graphic's corner drag keeps the graphic and the rectangle it started from.
struct CDragState {
    bool active = false;
    int32_t dx = 0;
    int32_t dy = 0;
    int32_t resizedGraphicId = 0;
    CRect resizeStart{};
};

class CEditorState {
  public:
    EViewMode m_mode = EViewMode::System;
    /// The module shown in the module design view.
    int32_t m_designedModuleId = 0;

    /// The single selection. `m_ownerId` is the module of a module port or the
    /// component of a component port; `m_objectId` the selected object itself.
    ESelectionKind m_kind = ESelectionKind::None;
    int32_t m_ownerId = 0;
    int32_t m_objectId = 0;
    /// Further module ports selected together (module-level disconnect commands).
    std::vector<int32_t> m_moduleInputs;
    std::vector<int32_t> m_moduleOutputs;

    /// Set selections, in the order the user selected them.
    std::vector<int32_t> m_modules;     // system view
    std::vector<int32_t> m_components;  // module design view
    std::vector<int32_t> m_charts;
    std::vector<int32_t> m_valueWindows;
    std::vector<int32_t> m_graphics;

    /// The visible part of the view in model coordinates (a new module goes to its centre).
    CRect m_visible{0, 0, 800, 600};
    CViewOptions m_options;
    /// Categories whose ports are hidden under their bar entry ("Contract").
    std::vector<int32_t> m_contractedInputCategories;
    std::vector<int32_t> m_contractedOutputCategories;
    CDragState m_drag;
    /// The user control of the designed module that the left button pressed
    /// while the simulation ran; the next button-up releases it (0 for none).
    int32_t m_pressedControlId = 0;
    /// Modules whose box draws every input (output) in one slot ("Group All
    /// Inputs"). The module record does not carry this, so the editor keeps it
    /// and Prune puts it back on the modules after the system was reloaded.
    std::vector<int32_t> m_groupedInputModules;
    std::vector<int32_t> m_groupedOutputModules;

    // Switching views and selecting.
    void ShowSystem();
    void DesignModule(int32_t moduleId);
    void ClearSelection();
    void SelectSystemInput(int32_t inputId);
    void SelectSystemOutput(int32_t outputId);
    void SelectInputCategory(int32_t categoryId);
    void SelectOutputCategory(int32_t categoryId);
    /// Selects one module input (and only it among the module's inputs).
    void SelectModuleInput(int32_t moduleId, int32_t inputId);
    void SelectModuleOutput(int32_t moduleId, int32_t outputId);
    void SelectComponentInput(int32_t componentId, int32_t inputId);
    void SelectComponentOutput(int32_t componentId, int32_t outputId);
    void SelectModules(std::vector<int32_t> moduleIds);
    void SelectComponents(std::vector<int32_t> componentIds);

    // Resolving the selection against the system (null when it names nothing).
    CNetwork* DesignedModule(const CSystem& system) const;
    /// The module a module-level command acts on: the designed module in the
    /// module design view, else the first selected module.
    CNetwork* CurrentModule(const CSystem& system) const;
    CExternalInput* SelectedSystemInput(const CSystem& system) const;
    CExternalOutput* SelectedSystemOutput(const CSystem& system) const;
    CNetworkInput* SelectedModuleInput(const CSystem& system) const;
    CNetworkOutput* SelectedModuleOutput(const CSystem& system) const;
    /// The component owning the selected component port, or the first selected component.
    CNetworkModel* SelectedComponent(const CSystem& system) const;
    CModelInput* SelectedComponentInput(const CSystem& system) const;
    CModelOutput* SelectedComponentOutput(const CSystem& system) const;
    std::vector<CNetwork*> SelectedModules(const CSystem& system) const;
    std::vector<CNetworkModel*> SelectedComponents(const CSystem& system) const;
    /// Every selected module input of the current module (the single one included).
    std::vector<CNetworkInput*> SelectedModuleInputs(const CSystem& system) const;
    std::vector<CNetworkOutput*> SelectedModuleOutputs(const CSystem& system) const;

    /// Drops every id that no longer names an object (after undo, redo, open);
    /// goes back to the system view when the designed module is gone. Puts the
    /// grouped-port state back on the modules.
    void Prune(const CSystem& system);
    /// Sets every module's grouped inputs and outputs from the two id lists
    /// and lays out the boxes that changed.
    void ApplyGroupedPorts(const CSystem& system) const;
    /// Copies the selection into the model's own selection lists and flags,
    /// which some engine operations read.
    void ApplyToModel(CSystem& system) const;
};

}  // namespace zor2
