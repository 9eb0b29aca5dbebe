// View commands and the model-changing gestures of the views.
#include "designer/commands_view.h"

#include <algorithm>
#include <climits>

#include "designer/document.h"

namespace zor2 {

namespace {

/// Sets the reduced flag of each component; one undo level when any changed.
ECmd SetReduced(Czor2Doc& doc, const std::vector<CNetworkModel*>& components, bool reduced) {
    bool changed = false;
    for (CNetworkModel* c : components) {
        if (c->m_displayB == reduced) continue;
        c->m_displayB = reduced;
        changed = true;
    }
    if (!changed) return ECmd::Unavailable;
    doc.RecordChange("");
    return ECmd::Done;
}

std::vector<CNetworkModel*> ModuleComponents(Czor2Doc& doc) {
    CNetwork* module = doc.Editor().DesignedModule(doc.System());
    return module ? module->m_components.Snapshot() : std::vector<CNetworkModel*>{};
}

/// Adds or removes the current module in one of the editor's grouped lists.
ECmd GroupPorts(Czor2Doc& doc, std::vector<int32_t>& grouped, bool group) {
    CNetwork* module = doc.Editor().CurrentModule(doc.System());
    if (!module) return ECmd::Unavailable;
    auto it = std::find(grouped.begin(), grouped.end(), module->m_id);
    if ((it != grouped.end()) == group) return ECmd::Unavailable;
    if (group)
        grouped.push_back(module->m_id);
    else
        grouped.erase(it);
    doc.Editor().ApplyGroupedPorts(doc.System());
    return ECmd::Done;
}

bool Contains(const std::vector<int32_t>& ids, int32_t id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

template <class Category>
ECmd SetContracted(const CObList<Category>& categories, std::vector<int32_t>& contracted, int32_t id,
                   bool contract) {
    if (!categories.Find(id) || Contains(contracted, id) == contract) return ECmd::Unavailable;
    if (contract)
        contracted.push_back(id);
    else
        contracted.erase(std::find(contracted.begin(), contracted.end(), id));
    return ECmd::Done;
}

template <class Category>
ECmd SetAllContracted(const CObList<Category>& categories, std::vector<int32_t>& contracted, bool contract) {
    if (!contract) {
        if (contracted.empty()) return ECmd::Unavailable;
        contracted.clear();
        return ECmd::Done;
    }
    const size_t before = contracted.size();
    for (const Category* c : categories)
        if (!Contains(contracted, c->m_id)) contracted.push_back(c->m_id);
    return contracted.size() == before ? ECmd::Unavailable : ECmd::Done;
}

/// The display switches as members of the view options, in EViewSwitch order.
constexpr bool CViewOptions::*kSwitches[] = {
    &CViewOptions::inputCategoryDetail,    &CViewOptions::outputCategoryDetail,
    &CViewOptions::highlightActiveOutputs, &CViewOptions::chartConnectors,
    &CViewOptions::valueWindowConnectors,  &CViewOptions::graphicCount,
};

/// Grows `bounds` (empty while `any` is false) by `r`.
void Unite(CRect& bounds, bool& any, const CRect& r) {
    if (!any) {
        bounds = r;
        any = true;
        return;
    }
    bounds.left = std::min(bounds.left, r.left);
    bounds.top = std::min(bounds.top, r.top);
    bounds.right = std::max(bounds.right, r.right);
    bounds.bottom = std::max(bounds.bottom, r.bottom);
}

CRect Shifted(const CRect& r, int32_t dx, int32_t dy) {
    return {ClampCoordinate(int64_t{r.left} + dx), ClampCoordinate(int64_t{r.top} + dy),
            ClampCoordinate(int64_t{r.right} + dx), ClampCoordinate(int64_t{r.bottom} + dy)};
}

/// The same rectangle with left <= right and top <= bottom.
CRect Normalized(const CRect& r) {
    return {std::min(r.left, r.right), std::min(r.top, r.bottom), std::max(r.left, r.right),
            std::max(r.top, r.bottom)};
}

/// Moves the selected objects of `kind`; false when there was nothing to move.
bool MoveSelected(Czor2Doc& doc, EDragKind kind, int32_t dx, int32_t dy) {
    CSystem& system = doc.System();
    CEditorState& editor = doc.Editor();
    bool moved = false;
    switch (kind) {
        case EDragKind::Components:
            for (CNetworkModel* c : editor.SelectedComponents(system)) {
                c->SetPosition(ClampCoordinate(int64_t{c->m_position.x} + dx),
                               ClampCoordinate(int64_t{c->m_position.y} + dy));
                moved = true;
            }
            break;
        case EDragKind::Graphics:
            for (int32_t id : editor.m_graphics) {
                CGraphic* g = system.m_graphics.m_graphics.Find(id);
                if (!g) continue;
                g->m_rect = Shifted(g->m_rect, dx, dy);
                for (CRect& h : g->m_handles) h = Shifted(h, dx, dy);
                moved = true;
            }
            break;
        case EDragKind::Charts:
            for (int32_t id : editor.m_charts) {
                CChart* c = system.m_charts.m_charts.Find(id);
                if (c && !c->m_lockLocation) {
                    c->m_rect = Shifted(c->m_rect, dx, dy);
                    moved = true;
                }
            }
            break;
        case EDragKind::ValueWindows:
            for (int32_t id : editor.m_valueWindows) {
                CValueWindow* w = system.m_valueWindows.m_windows.Find(id);
                if (!w) continue;
                w->m_rect = Shifted(w->m_rect, dx, dy);
                for (CRect& r : w->m_layout) r = Shifted(r, dx, dy);
                moved = true;
            }
            break;
        case EDragKind::Modules:
            for (CNetwork* m : editor.SelectedModules(system)) {
                m->m_position = {ClampCoordinate(int64_t{m->m_position.x} + dx),
                                 ClampCoordinate(int64_t{m->m_position.y} + dy)};
                m->LayoutBox();
                moved = true;
            }
            break;
    }
    return moved;
}

}  // namespace

// --- reduced components -------------------------------------------------------

ECmd ReduceSelectedComponents(Czor2Doc& doc) {
    return SetReduced(doc, doc.Editor().SelectedComponents(doc.System()), true);
}

ECmd ExpandSelectedComponents(Czor2Doc& doc) {
    return SetReduced(doc, doc.Editor().SelectedComponents(doc.System()), false);
}

ECmd ToggleComponentReduced(Czor2Doc& doc) {
    CNetworkModel* c = doc.Editor().SelectedComponent(doc.System());
    if (!c) return ECmd::Unavailable;
    return SetReduced(doc, {c}, !c->m_displayB);
}

ECmd ReduceAllComponents(Czor2Doc& doc) {
    return SetReduced(doc, ModuleComponents(doc), true);
}

ECmd ExpandAllComponents(Czor2Doc& doc) {
    return SetReduced(doc, ModuleComponents(doc), false);
}

bool IsReduced(const CNetworkModel& component) {
    return component.m_displayB;
}

CRect ShownBox(const CNetworkModel& c) {
    if (!c.m_displayB) return c.m_box;
    // Room for the two count lines ("S: %d", "O: %d/%d") the reduced view draws.
    constexpr int32_t kHalfWidth = 32, kHalfHeight = 18;
    return {c.m_position.x - kHalfWidth, c.m_position.y - kHalfHeight, c.m_position.x + kHalfWidth,
            c.m_position.y + kHalfHeight};
}

// --- grouped module ports (editor state) ----------------------------------------

ECmd GroupModuleInputs(Czor2Doc& doc, bool grouped) {
    return GroupPorts(doc, doc.Editor().m_groupedInputModules, grouped);
}

ECmd GroupModuleOutputs(Czor2Doc& doc, bool grouped) {
    return GroupPorts(doc, doc.Editor().m_groupedOutputModules, grouped);
}

// --- categories -----------------------------------------------------------------

ECmd ContractInputCategory(Czor2Doc& doc, int32_t id) {
    return SetContracted(doc.System().m_inputCategories, doc.Editor().m_contractedInputCategories, id, true);
}
ECmd ExpandInputCategory(Czor2Doc& doc, int32_t id) {
    return SetContracted(doc.System().m_inputCategories, doc.Editor().m_contractedInputCategories, id, false);
}
ECmd ContractOutputCategory(Czor2Doc& doc, int32_t id) {
    return SetContracted(doc.System().m_outputCategories, doc.Editor().m_contractedOutputCategories, id,
                         true);
}
ECmd ExpandOutputCategory(Czor2Doc& doc, int32_t id) {
    return SetContracted(doc.System().m_outputCategories, doc.Editor().m_contractedOutputCategories, id,
                         false);
}
ECmd ContractAllInputCategories(Czor2Doc& doc) {
    return SetAllContracted(doc.System().m_inputCategories, doc.Editor().m_contractedInputCategories, true);
}
ECmd ExpandAllInputCategories(Czor2Doc& doc) {
    return SetAllContracted(doc.System().m_inputCategories, doc.Editor().m_contractedInputCategories, false);
}
ECmd ContractAllOutputCategories(Czor2Doc& doc) {
    return SetAllContracted(doc.System().m_outputCategories, doc.Editor().m_contractedOutputCategories, true);
}
ECmd ExpandAllOutputCategories(Czor2Doc& doc) {
    return SetAllContracted(doc.System().m_outputCategories, doc.Editor().m_contractedOutputCategories,
                            false);
}
bool IsInputCategoryContracted(const Czor2Doc& doc, int32_t id) {
    return Contains(doc.Editor().m_contractedInputCategories, id);
}
bool IsOutputCategoryContracted(const Czor2Doc& doc, int32_t id) {
    return Contains(doc.Editor().m_contractedOutputCategories, id);
}

// --- display switches ---------------------------------------------------------

ECmd SetViewSwitch(Czor2Doc& doc, EViewSwitch which, bool on) {
    const size_t i = static_cast<size_t>(which);
    if (i >= std::size(kSwitches)) return ECmd::Unavailable;
    bool& value = doc.Editor().m_options.*kSwitches[i];
    if (value == on) return ECmd::Unavailable;
    value = on;
    return ECmd::Done;
}

bool ViewSwitch(const Czor2Doc& doc, EViewSwitch which) {
    const size_t i = static_cast<size_t>(which);
    return i < std::size(kSwitches) && doc.Editor().m_options.*kSwitches[i];
}

// --- Center View --------------------------------------------------------------

CRect CenterView(Czor2Doc& doc, int32_t width, int32_t height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    const CSystem& system = doc.System();
    CEditorState& editor = doc.Editor();
    CRect bounds;
    bool any = false;
    if (const CNetwork* module = editor.DesignedModule(system)) {
        for (const CNetworkModel* c : module->m_components)
            if (!c->m_graphic) Unite(bounds, any, ShownBox(*c));  // consolidated ones are hidden
        for (const CChart* c : system.m_charts.m_charts)
            if (c->m_moduleId == module->m_id) Unite(bounds, any, c->m_rect);
        for (const CValueWindow* w : system.m_valueWindows.m_windows)
            if (w->m_moduleId == module->m_id) Unite(bounds, any, w->m_rect);
    } else if (editor.m_mode == EViewMode::System) {
        for (const CNetwork* m : system.m_modules) Unite(bounds, any, m->m_boxRect);
    }
    CRect view{0, 0, width, height};
    if (any) {
        // 64-bit sums: boxes from a damaged file may sit near the int32 limits.
        const int64_t cx = (static_cast<int64_t>(bounds.left) + bounds.right) / 2;
        const int64_t cy = (static_cast<int64_t>(bounds.top) + bounds.bottom) / 2;
        const int64_t left = std::clamp<int64_t>(cx - width / 2, INT32_MIN, INT32_MAX - width);
        const int64_t top = std::clamp<int64_t>(cy - height / 2, INT32_MIN, INT32_MAX - height);
        view = {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(left + width),
                static_cast<int32_t>(top + height)};
    }
    editor.m_visible = view;
    return view;
}

// --- gestures -----------------------------------------------------------------

void DragSelection(Czor2Doc& doc, EDragKind kind, int32_t dx, int32_t dy) {
    if (!MoveSelected(doc, kind, dx, dy)) return;
    CDragState& drag = doc.Editor().m_drag;
    drag.active = true;
    drag.dx += dx;
    drag.dy += dy;
}

void DragGraphicCorner(Czor2Doc& doc, int32_t graphicId, int corner, int32_t dx, int32_t dy) {
    constexpr int32_t kMinSide = 16;
    CGraphic* g = doc.System().m_graphics.m_graphics.Find(graphicId);
    if (!g || corner < 0 || corner > 3) return;
    CDragState& drag = doc.Editor().m_drag;
    if (drag.resizedGraphicId != graphicId) {
        drag = {};
        drag.resizedGraphicId = graphicId;
        drag.resizeStart = g->m_rect;
    }
    drag.active = true;
    CRect& r = g->m_rect;
    if (corner == 0 || corner == 3) r.left = std::min(r.left + dx, r.right - kMinSide);
    if (corner == 1 || corner == 2) r.right = std::max(r.right + dx, r.left + kMinSide);
    if (corner == 0 || corner == 1) r.top = std::min(r.top + dy, r.bottom - kMinSide);
    if (corner == 2 || corner == 3) r.bottom = std::max(r.bottom + dy, r.top + kMinSide);
}

ECmd FinishDrag(Czor2Doc& doc) {
    const CDragState drag = doc.Editor().m_drag;
    doc.Editor().m_drag = {};
    if (drag.resizedGraphicId) {
        // The live steps are undone so that the release is one recorded resize.
        CGraphic* g = doc.System().m_graphics.m_graphics.Find(drag.resizedGraphicId);
        if (!g) return ECmd::Unavailable;
        const CRect released = g->m_rect;
        g->m_rect = drag.resizeStart;
        return ResizeGraphic(doc, g->m_id, released);
    }
    if (!drag.active || (drag.dx == 0 && drag.dy == 0)) return ECmd::Unavailable;
    doc.RecordChange("");
    return ECmd::Done;
}

ECmd ResizeGraphic(Czor2Doc& doc, int32_t graphicId, const CRect& rect) {
    CGraphic* g = doc.System().m_graphics.m_graphics.Find(graphicId);
    const CRect r = Normalized(rect);
    if (!g || r.right == r.left || r.bottom == r.top || r == g->m_rect) return ECmd::Unavailable;
    g->m_rect = r;
    doc.RecordChange("");
    return ECmd::Done;
}

ECmd AddGraphicFromRect(Czor2Doc& doc, const CRect& rect) {
    CSystem& system = doc.System();
    if (!doc.Editor().DesignedModule(system)) return ECmd::Unavailable;
    const CRect r = Normalized(rect);
    if (r.right == r.left || r.bottom == r.top) return ECmd::Unavailable;
    CGraphic* g = system.m_graphics.AddGraphic(system.Random());
    if (!g) {
        doc.Prompter().Beep();
        return ECmd::Refused;
    }
    g->m_text = "Text here";
    g->m_rect = r;
    doc.Editor().ClearSelection();
    doc.Editor().m_graphics = {g->m_id};
    doc.RecordChange("");
    return ECmd::Done;
}

}  // namespace zor2
