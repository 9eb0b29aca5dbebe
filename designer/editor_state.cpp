// Selection bookkeeping of the editor: selecting, resolving ids against the
// system, pruning after the model was replaced.
#include "designer/editor_state.h"

#include <algorithm>
#include <unordered_map>

#include "engine/system.h"

namespace zor2 {

void CEditorState::ShowSystem() {
    m_mode = EViewMode::System;
    m_designedModuleId = 0;
    ClearSelection();
}

void CEditorState::DesignModule(int32_t moduleId) {
    m_mode = EViewMode::ModuleDesign;
    m_designedModuleId = moduleId;
    ClearSelection();
}

void CEditorState::ClearSelection() {
    m_kind = ESelectionKind::None;
    m_ownerId = 0;
    m_objectId = 0;
    m_moduleInputs.clear();
    m_moduleOutputs.clear();
    m_modules.clear();
    m_components.clear();
    m_charts.clear();
    m_valueWindows.clear();
    m_graphics.clear();
}

namespace {
void SetSingle(CEditorState& s, ESelectionKind kind, int32_t owner, int32_t object) {
    s.m_kind = kind;
    s.m_ownerId = owner;
    s.m_objectId = object;
    s.m_moduleInputs.clear();
    s.m_moduleOutputs.clear();
}
}  // namespace

void CEditorState::SelectSystemInput(int32_t id) {
    SetSingle(*this, ESelectionKind::SystemInput, 0, id);
}
void CEditorState::SelectSystemOutput(int32_t id) {
    SetSingle(*this, ESelectionKind::SystemOutput, 0, id);
}
void CEditorState::SelectInputCategory(int32_t id) {
    SetSingle(*this, ESelectionKind::InputCategory, 0, id);
}
void CEditorState::SelectOutputCategory(int32_t id) {
    SetSingle(*this, ESelectionKind::OutputCategory, 0, id);
}

void CEditorState::SelectModuleInput(int32_t moduleId, int32_t inputId) {
    SetSingle(*this, ESelectionKind::ModuleInput, moduleId, inputId);
    m_moduleInputs = {inputId};
}

void CEditorState::SelectModuleOutput(int32_t moduleId, int32_t outputId) {
    SetSingle(*this, ESelectionKind::ModuleOutput, moduleId, outputId);
    m_moduleOutputs = {outputId};
}

void CEditorState::SelectComponentInput(int32_t componentId, int32_t inputId) {
    SetSingle(*this, ESelectionKind::ComponentInput, componentId, inputId);
}

void CEditorState::SelectComponentOutput(int32_t componentId, int32_t outputId) {
    SetSingle(*this, ESelectionKind::ComponentOutput, componentId, outputId);
}

void CEditorState::SelectModules(std::vector<int32_t> ids) {
    m_modules = std::move(ids);
}
void CEditorState::SelectComponents(std::vector<int32_t> ids) {
    m_components = std::move(ids);
}

// --- resolving ------------------------------------------------------------

CNetwork* CEditorState::DesignedModule(const CSystem& system) const {
    return m_mode == EViewMode::ModuleDesign ? system.FindModule(m_designedModuleId) : nullptr;
}

CNetwork* CEditorState::CurrentModule(const CSystem& system) const {
    if (CNetwork* m = DesignedModule(system)) return m;
    if (m_kind == ESelectionKind::ModuleInput || m_kind == ESelectionKind::ModuleOutput)
        if (CNetwork* m = system.FindModule(m_ownerId)) return m;
    for (int32_t id : m_modules)
        if (CNetwork* m = system.FindModule(id)) return m;
    return nullptr;
}

CExternalInput* CEditorState::SelectedSystemInput(const CSystem& system) const {
    return m_kind == ESelectionKind::SystemInput ? system.FindSystemInput(m_objectId) : nullptr;
}

CExternalOutput* CEditorState::SelectedSystemOutput(const CSystem& system) const {
    return m_kind == ESelectionKind::SystemOutput ? system.FindSystemOutput(m_objectId) : nullptr;
}

CNetworkInput* CEditorState::SelectedModuleInput(const CSystem& system) const {
    if (m_kind != ESelectionKind::ModuleInput) return nullptr;
    CNetwork* m = system.FindModule(m_ownerId);
    return m ? m->m_inputs.Find(m_objectId) : nullptr;
}

CNetworkOutput* CEditorState::SelectedModuleOutput(const CSystem& system) const {
    if (m_kind != ESelectionKind::ModuleOutput) return nullptr;
    CNetwork* m = system.FindModule(m_ownerId);
    return m ? m->m_outputs.Find(m_objectId) : nullptr;
}

CNetworkModel* CEditorState::SelectedComponent(const CSystem& system) const {
    CNetwork* m = DesignedModule(system);
    if (!m) return nullptr;
    if (m_kind == ESelectionKind::ComponentInput || m_kind == ESelectionKind::ComponentOutput)
        return m->FindComponent(m_ownerId);
    for (int32_t id : m_components)
        if (CNetworkModel* c = m->FindComponent(id)) return c;
    return nullptr;
}

CModelInput* CEditorState::SelectedComponentInput(const CSystem& system) const {
    if (m_kind != ESelectionKind::ComponentInput) return nullptr;
    CNetworkModel* c = SelectedComponent(system);
    return c ? c->FindInput(m_objectId) : nullptr;
}

CModelOutput* CEditorState::SelectedComponentOutput(const CSystem& system) const {
    if (m_kind != ESelectionKind::ComponentOutput) return nullptr;
    CNetworkModel* c = SelectedComponent(system);
    return c ? c->FindOutput(m_objectId) : nullptr;
}

std::vector<CNetwork*> CEditorState::SelectedModules(const CSystem& system) const {
    std::vector<CNetwork*> out;
    for (int32_t id : m_modules)
        if (CNetwork* m = system.FindModule(id)) out.push_back(m);
    return out;
}

std::vector<CNetworkModel*> CEditorState::SelectedComponents(const CSystem& system) const {
    std::vector<CNetworkModel*> out;
    CNetwork* m = DesignedModule(system);
    if (!m || m_components.empty()) return out;
    // One walk over the module with an id map, so that selecting all of a
    // large module stays linear; the result keeps the selection order.
    std::unordered_map<int32_t, CNetworkModel*> byId;
    byId.reserve(m->m_components.Size() * 2);
    for (CNetworkModel* c : m->m_components) byId.emplace(c->m_id, c);
    out.reserve(m_components.size());
    for (int32_t id : m_components)
        if (auto it = byId.find(id); it != byId.end()) out.push_back(it->second);
    return out;
}

std::vector<CNetworkInput*> CEditorState::SelectedModuleInputs(const CSystem& system) const {
    std::vector<CNetworkInput*> out;
    CNetwork* m =
        m_kind == ESelectionKind::ModuleInput ? system.FindModule(m_ownerId) : CurrentModule(system);
    if (!m) return out;
    for (int32_t id : m_moduleInputs)
        if (CNetworkInput* in = m->m_inputs.Find(id)) out.push_back(in);
    return out;
}

std::vector<CNetworkOutput*> CEditorState::SelectedModuleOutputs(const CSystem& system) const {
    std::vector<CNetworkOutput*> out;
    CNetwork* m =
        m_kind == ESelectionKind::ModuleOutput ? system.FindModule(m_ownerId) : CurrentModule(system);
    if (!m) return out;
    for (int32_t id : m_moduleOutputs)
        if (CNetworkOutput* o = m->m_outputs.Find(id)) out.push_back(o);
    return out;
}

// --- after the model changed underneath -----------------------------------

void CEditorState::Prune(const CSystem& system) {
    auto prune = [](std::vector<int32_t>& ids, auto exists) {
        ids.erase(std::remove_if(ids.begin(), ids.end(), [&](int32_t id) { return !exists(id); }), ids.end());
    };
    prune(m_contractedInputCategories,
          [&](int32_t id) { return system.m_inputCategories.Find(id) != nullptr; });
    prune(m_contractedOutputCategories,
          [&](int32_t id) { return system.m_outputCategories.Find(id) != nullptr; });
    // The objects of an unfinished drag may be gone; what moved was replaced anyway.
    m_drag = {};
    prune(m_groupedInputModules, [&](int32_t id) { return system.FindModule(id) != nullptr; });
    prune(m_groupedOutputModules, [&](int32_t id) { return system.FindModule(id) != nullptr; });
    ApplyGroupedPorts(system);
    if (m_mode == EViewMode::ModuleDesign && !system.FindModule(m_designedModuleId)) {
        ShowSystem();
        return;
    }
    bool keep = true;
    switch (m_kind) {
        case ESelectionKind::None:
            break;
        case ESelectionKind::SystemInput:
            keep = SelectedSystemInput(system) != nullptr;
            break;
        case ESelectionKind::SystemOutput:
            keep = SelectedSystemOutput(system) != nullptr;
            break;
        case ESelectionKind::InputCategory:
            keep = system.m_inputCategories.Find(m_objectId) != nullptr;
            break;
        case ESelectionKind::OutputCategory:
            keep = system.m_outputCategories.Find(m_objectId) != nullptr;
            break;
        case ESelectionKind::ModuleInput:
            keep = SelectedModuleInput(system) != nullptr;
            break;
        case ESelectionKind::ModuleOutput:
            keep = SelectedModuleOutput(system) != nullptr;
            break;
        case ESelectionKind::ComponentInput:
            keep = SelectedComponentInput(system) != nullptr;
            break;
        case ESelectionKind::ComponentOutput:
            keep = SelectedComponentOutput(system) != nullptr;
            break;
    }
    if (!keep) SetSingle(*this, ESelectionKind::None, 0, 0);
    prune(m_modules, [&](int32_t id) { return system.FindModule(id) != nullptr; });
    std::vector<int32_t> kept;
    for (const CNetworkModel* c : SelectedComponents(system)) kept.push_back(c->m_id);
    m_components = std::move(kept);
    CNetwork* portModule = CurrentModule(system);
    prune(m_moduleInputs, [&](int32_t id) { return portModule && portModule->m_inputs.Find(id); });
    prune(m_moduleOutputs, [&](int32_t id) { return portModule && portModule->m_outputs.Find(id); });
    prune(m_charts, [&](int32_t id) { return system.m_charts.m_charts.Find(id) != nullptr; });
    prune(m_valueWindows, [&](int32_t id) { return system.m_valueWindows.m_windows.Find(id) != nullptr; });
    prune(m_graphics, [&](int32_t id) { return system.m_graphics.m_graphics.Find(id) != nullptr; });
}

void CEditorState::ApplyGroupedPorts(const CSystem& system) const {
    // Sorted copies keep the walk over the modules O(n log n) however many are grouped.
    auto sorted = [](std::vector<int32_t> ids) {
        std::sort(ids.begin(), ids.end());
        return ids;
    };
    const std::vector<int32_t> groupedInputs = sorted(m_groupedInputModules),
                               groupedOutputs = sorted(m_groupedOutputModules);
    for (CNetwork* m : system.m_modules) {
        const bool inputs = std::binary_search(groupedInputs.begin(), groupedInputs.end(), m->m_id),
                   outputs = std::binary_search(groupedOutputs.begin(), groupedOutputs.end(), m->m_id);
        if (m->m_collapsedInputs == inputs && m->m_collapsedOutputs == outputs) continue;
        m->m_collapsedInputs = inputs;
        m->m_collapsedOutputs = outputs;
        m->LayoutBox();
    }
}

void CEditorState::ApplyToModel(CSystem& system) const {
    for (CNetwork* m : system.m_modules) {
        m->m_selected = false;
        m->m_selectedComponents.Clear();
        m->m_selectedInputs.Clear();
        m->m_selectedOutputs.Clear();
        for (CNetworkModel* c : m->m_components) {
            c->m_selected = false;
            c->m_selectedInputs.Clear();
            c->m_selectedOutputs.Clear();
        }
    }
    system.m_selectedModules.Clear();
    system.m_selectedInputs.Clear();
    system.m_selectedOutputs.Clear();
    for (CNetwork* m : SelectedModules(system)) {
        m->m_selected = true;
        system.m_selectedModules.Append(m);
    }
    for (CNetworkModel* c : SelectedComponents(system)) {
        c->m_selected = true;
        if (c->m_owner) c->m_owner->m_selectedComponents.Append(c);
    }
    if (CExternalInput* p = SelectedSystemInput(system)) system.m_selectedInputs.Append(p);
    if (CExternalOutput* q = SelectedSystemOutput(system)) system.m_selectedOutputs.Append(q);
    for (CNetworkInput* in : SelectedModuleInputs(system))
        if (in->m_owner) in->m_owner->m_selectedInputs.Append(in);
    for (CNetworkOutput* out : SelectedModuleOutputs(system))
        if (out->m_owner) out->m_owner->m_selectedOutputs.Append(out);
    if (CModelInput* in = SelectedComponentInput(system))
        if (in->m_owner) in->m_owner->m_selectedInputs.Append(in);
    if (CModelOutput* out = SelectedComponentOutput(system))
        if (out->m_owner) out->m_owner->m_selectedOutputs.Append(out);
}

}  // namespace zor2
