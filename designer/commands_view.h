// View commands: reduced and expanded components, grouped module ports,
// contracted categories, the category detail and highlight switches, Center
// View, and the gestures of the views that change the model (bar double
// clicks live in commands_system.h; drags and the Shift rectangle live here).
#pragma once

#include <cstdint>

#include "designer/commands_common.h"
#include "engine/object.h"

namespace zor2 {

class Czor2Doc;
class CNetworkModel;

// --- reduced components (saved with the project) ------------------------------
/// ID_BUTTON_MODELREDUCE / ID_BUTTON_MODELEXPAND: the selected components are
/// shown reduced (stage and port counts only) or in full. One undo level, no
/// feedback line; Unavailable when no selected component changes.
ECmd ReduceSelectedComponents(Czor2Doc& doc);
ECmd ExpandSelectedComponents(Czor2Doc& doc);
/// The component context menu's "Show Reduced": toggles the selected component
/// (the one under the cursor, selected by the caller). One undo level.
ECmd ToggleComponentReduced(Czor2Doc& doc);
/// ID_BUTTON_REDUCEALL / ID_BUTTON_EXPANDALL: every component of the designed
/// module. One undo level; Unavailable when nothing changes.
ECmd ReduceAllComponents(Czor2Doc& doc);
ECmd ExpandAllComponents(Czor2Doc& doc);
/// Whether a component is shown reduced.
bool IsReduced(const CNetworkModel& component);
/// The box a component occupies in the view: its full box, or the reduced box
/// (64 x 36 centred on its position) when it is shown reduced.
CRect ShownBox(const CNetworkModel& component);

// --- grouped module ports (editor state only: no undo level) ------------------
/// The module context menu's "Group All Inputs" / "Group All Outputs": the
/// current module's box draws its inputs (outputs) in one slot when `grouped`,
/// else one slot per port, and is laid out again. The module record does not
/// carry this, so it lives in the editor state (kept across undo and redo) and
/// is not saved. Unavailable when the module already is in that state.
ECmd GroupModuleInputs(Czor2Doc& doc, bool grouped);
ECmd GroupModuleOutputs(Czor2Doc& doc, bool grouped);

// --- categories (editor state only: no undo level) ---------------------------
/// An input category's context menu "Contract" / "Expand": the category's
/// system inputs are hidden in (shown again under) its bar entry.
/// Unavailable when the category does not exist or already is in that state.
ECmd ContractInputCategory(Czor2Doc& doc, int32_t categoryId);
ECmd ExpandInputCategory(Czor2Doc& doc, int32_t categoryId);
ECmd ContractOutputCategory(Czor2Doc& doc, int32_t categoryId);
ECmd ExpandOutputCategory(Czor2Doc& doc, int32_t categoryId);
/// The bars' "Expand All" / "Contract all": every category of the bar.
ECmd ContractAllInputCategories(Czor2Doc& doc);
ECmd ExpandAllInputCategories(Czor2Doc& doc);
ECmd ContractAllOutputCategories(Czor2Doc& doc);
ECmd ExpandAllOutputCategories(Czor2Doc& doc);
bool IsInputCategoryContracted(const Czor2Doc& doc, int32_t categoryId);
bool IsOutputCategoryContracted(const Czor2Doc& doc, int32_t categoryId);

// --- display switches (editor state only: no undo level) ---------------------
enum class EViewSwitch {
    InputCategoryDetail,     // ID_CHECK_INPUTCAT_DETAIL "Show Detail"
    OutputCategoryDetail,    // ID_CHECK_OUTPUTCAT_DETAIL "Show Detail"
    HighlightActiveOutputs,  // ID_CHECK_SHOWACTIVEOUTPUTS "Highlight Active Outputs"
    ChartConnectors,         // ID_CHECK_GRAPHCONNECTORS "Show Connectors" of the charts
    ValueWindowConnectors,   // ID_CHECK_VALUEWINCONNECTORS "Show Connectors" of the value windows
    GraphicCount,            // ID_CHECK_SHOWCOMPCOUNT "Show Count" of the graphics
};
/// Sets a display switch of the view options. Done (no undo level) when it
/// changed, Unavailable when it already had that value.
ECmd SetViewSwitch(Czor2Doc& doc, EViewSwitch which, bool on);
bool ViewSwitch(const Czor2Doc& doc, EViewSwitch which);

// --- Center View (editor state only) ------------------------------------------
/// ID_BUTTON_CENTERVIEW: the model-space rectangle of `width` x `height` the
/// view scrolls to. In the module design view it is centred on the shown boxes
/// of the designed module's components with its charts and value windows; in
/// the system view on the module boxes. With nothing to show its top-left
/// corner is (0, 0). The result also becomes the editor's visible rectangle.
CRect CenterView(Czor2Doc& doc, int32_t width, int32_t height);

// --- gestures -----------------------------------------------------------------
enum class EDragKind {
    Components,    // the selected components of the designed module
    Graphics,      // the selected background graphics
    Modules,       // the selected modules of the system view
    Charts,        // the selected charts
    ValueWindows,  // the selected value windows
};
/// One step of a drag in progress: the selected objects of `kind` move by
/// (dx, dy) at once so the view can follow the mouse. The step is not recorded;
/// the offsets add up until FinishDrag.
void DragSelection(Czor2Doc& doc, EDragKind kind, int32_t dx, int32_t dy);
/// One step of a graphic's corner drag: corner 0..3 (top left, top right,
/// bottom right, bottom left) moves by (dx, dy) at once, never closer than 16
/// to the opposite side. The step is not recorded; FinishDrag records the
/// resize. A missing graphic or a corner outside 0..3 does nothing.
void DragGraphicCorner(Czor2Doc& doc, int32_t graphicId, int corner, int32_t dx, int32_t dy);
/// The button was released: a drag that moved its objects away from where they
/// started (or left a resized graphic with another rectangle) is one undo level
/// (no feedback line); a drag that ends where it began records nothing
/// (Unavailable). Charts whose location is locked stay where they are.
ECmd FinishDrag(Czor2Doc& doc);
/// A graphic's corner clasp or edge was released after a resize: the graphic
/// takes `rect` (any two opposite corners; an empty rectangle is refused with
/// Unavailable). One undo level, no feedback line.
ECmd ResizeGraphic(Czor2Doc& doc, int32_t graphicId, const CRect& rect);
/// A Shift selection rectangle on empty space of the designed module: a new
/// background graphic holding "Text here" fills the rectangle (given by any two
/// opposite corners) and becomes the selection. One undo level, no feedback
/// line. An empty rectangle makes nothing (Unavailable); with every graphic id
/// taken the command beeps (Refused).
ECmd AddGraphicFromRect(Czor2Doc& doc, const CRect& rect);

}  // namespace zor2
