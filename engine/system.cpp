// System behaviour: project life, creation of modules and system ports,
// levels and the cycle, module and system-port connections, removal, and
// reference rebuilding after a load.
#include "engine/system.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <unordered_map>

namespace zor2 {

namespace {
std::string Format(const char* format, const std::string& a, const std::string& b = {},
                   const std::string& c = {}) {
    std::string out(format);
    const std::string* args[] = {&a, &b, &c};
    size_t next = 0, pos = 0;
    while ((pos = out.find("%s", pos)) != std::string::npos && next < 3) {
        out.replace(pos, 2, *args[next]);
        pos += args[next]->size();
        ++next;
    }
    return out;
}
}  // namespace

CSystem::CSystem() {
    NewProject();
}

CSystem::~CSystem() {
    // Modules go before the system ports whose connections point into them.
    m_modules.Clear();
}

IPrompter& CSystem::Prompter() const {
    static CSilentPrompter silent;
    return m_prompter ? *m_prompter : silent;
}

void CSystem::RecordChange(const std::string& line) {
    if (m_recorder)
        m_recorder->RecordChange(line);
    else
        m_feedback.build.Add(line);
}

// --- project life ---------------------------------------------------------

void CSystem::Clear() {
    m_selectedModules.Clear();
    m_modulesByCreation.Clear();
    m_moduleConnections.Clear();
    m_modules.Clear();
    m_selectedInputs.Clear();
    m_selectedOutputs.Clear();
    m_inputCategories.Clear();
    m_outputCategories.Clear();
    m_inputs.Clear();
    m_outputs.Clear();
    m_catalogue.Clear();
    m_events.Clear();
    m_charts.Clear();
    m_behaviors.Clear();
    m_graphics.Clear();
    m_valueWindows.Clear();
    m_levelOrder.clear();
    m_levelOrderDirty = true;
}

void CSystem::BuildCatalogue() {
    zor2::BuildCatalogue(m_catalogue);
}

void CSystem::NewProject() {
    Clear();
    BuildCatalogue();
    auto in = std::make_unique<CExternalInputCategory>();
    in->m_id = kDefaultCategoryId;
    in->m_name = "Default Category";
    in->m_default = true;
    m_inputCategories.Append(std::move(in));
    auto out = std::make_unique<CExternalOutputCategory>();
    out->m_id = kDefaultCategoryId;
    out->m_name = "Default Category";
    out->m_default = true;
    m_outputCategories.Append(std::move(out));
    m_systemId = 0;
    m_name = "Untitled";
    m_thirdText.clear();
    m_description.clear();
    m_saved1 = 100;
    m_saved2 = 60;
    m_scroll = {};
    m_chartBackground = 0xFFF8F8;
    m_chartGrid = 0xEAEAEA;
    m_chartData = 0xC80000;
    m_behaviorsEnabled = true;
    m_currentLevel = 1;
    m_highestLevel = 0;
    m_paused = false;
    ZeroCounters();
}

// --- creation -------------------------------------------------------------

CNetwork* CSystem::CreateModule(const std::string& name, int32_t x, int32_t y) {
    const int32_t id = DrawFreeId(Random(), m_modules);
    if (id == 0) return nullptr;
    auto module = std::make_unique<CNetwork>();
    module->m_id = id;
    module->m_name = name;
    module->m_owner = this;
    module->m_position = {x, y};
    module->LayoutBox();
    CNetwork* p = m_modules.Append(std::move(module));
    m_modulesByCreation.Append(p);
    ComputeLevels();
    return p;
}

namespace {

// A new system port with the id given, placed in `category`.
template <class Port, class Category>
Port* NewSystemPort(CObList<Port>& ports, Category& category, const std::string& name, int32_t kind,
                    int32_t id) {
    auto port = std::make_unique<Port>();
    port->m_id = id;
    port->m_name = name;
    port->m_kind = kind;
    port->m_categoryId = category.m_id;
    Port* p = ports.Append(std::move(port));
    // A new port is in no category yet, so no member list needs searching.
    category.m_members.Append(p);
    return p;
}

// A new system input or output, placed in the default category (or the first
// one when a damaged file left no default).
template <class Port, class Category>
Port* CreateSystemPort(CSystem& system, CObList<Port>& ports, CObList<Category>& categories,
                       const std::string& name, int32_t kind) {
    const int32_t id = DrawFreeId(system.Random(), ports);
    if (id == 0) return nullptr;
    Category* category = categories.Find(kDefaultCategoryId);
    if (!category) category = categories.Head();
    Port* p = nullptr;
    if (category) {
        p = NewSystemPort(ports, *category, name, kind, id);
    } else {
        auto port = std::make_unique<Port>();
        port->m_id = id;
        port->m_name = name;
        port->m_kind = kind;
        port->m_categoryId = kDefaultCategoryId;
        p = ports.Append(std::move(port));
    }
    system.ComputeLevels();
    return p;
}

template <class Category>
Category* NewCategory(CObList<Category>& categories, const std::string& name, int32_t id) {
    if (id == 0) return nullptr;
    auto category = std::make_unique<Category>();
    category->m_id = id;
    category->m_name = name;
    return categories.Append(std::move(category));
}

}  // namespace

CExternalInput* CSystem::CreateSystemInput(const std::string& name, int32_t kind) {
    return CreateSystemPort(*this, m_inputs, m_inputCategories, name, kind);
}

CExternalOutput* CSystem::CreateSystemOutput(const std::string& name, int32_t kind) {
    return CreateSystemPort(*this, m_outputs, m_outputCategories, name, kind);
}

CExternalInputCategory* CSystem::CreateInputCategory(const std::string& name) {
    return NewCategory(m_inputCategories, name, DrawFreeId(Random(), m_inputCategories));
}

CExternalOutputCategory* CSystem::CreateOutputCategory(const std::string& name) {
    return NewCategory(m_outputCategories, name, DrawFreeId(Random(), m_outputCategories));
}

CExternalInput* CSystem::AddSystemInput(const std::string& name, int32_t kind, CFreeIds& ids,
                                        CExternalInputCategory& category) {
    const int32_t id = ids.Draw(Random());
    return id ? NewSystemPort(m_inputs, category, name, kind, id) : nullptr;
}

CExternalOutput* CSystem::AddSystemOutput(const std::string& name, int32_t kind, CFreeIds& ids,
                                          CExternalOutputCategory& category) {
    const int32_t id = ids.Draw(Random());
    return id ? NewSystemPort(m_outputs, category, name, kind, id) : nullptr;
}

CExternalInputCategory* CSystem::AddInputCategory(const std::string& name, CFreeIds& ids) {
    return NewCategory(m_inputCategories, name, ids.Draw(Random()));
}

CExternalOutputCategory* CSystem::AddOutputCategory(const std::string& name, CFreeIds& ids) {
    return NewCategory(m_outputCategories, name, ids.Draw(Random()));
}

CExternalInputCategory* CSystem::FindInputCategory(const std::string& name) const {
    for (CExternalInputCategory* c : m_inputCategories)
        if (strcasecmp(c->m_name.c_str(), name.c_str()) == 0) return c;
    return nullptr;
}

CExternalOutputCategory* CSystem::FindOutputCategory(const std::string& name) const {
    for (CExternalOutputCategory* c : m_outputCategories)
        if (strcasecmp(c->m_name.c_str(), name.c_str()) == 0) return c;
    return nullptr;
}

void CSystem::AssignCategory(CExternalInput& input, CExternalInputCategory& category) {
    for (CExternalInputCategory* c : m_inputCategories) c->m_members.Remove(&input);
    category.m_members.Append(&input);
    input.m_categoryId = category.m_id;
}

void CSystem::AssignCategory(CExternalOutput& output, CExternalOutputCategory& category) {
    for (CExternalOutputCategory* c : m_outputCategories) c->m_members.Remove(&output);
    category.m_members.Append(&output);
    output.m_categoryId = category.m_id;
}

// --- levels and the cycle -------------------------------------------------

void CSystem::ComputeLevels() {
    // Longest-path layering over module connections; modules on a cycle (only
    // a damaged file can hold one) keep level 0 and do not run.
    std::vector<CNetwork*> modules = m_modules.Snapshot();
    const size_t n = modules.size();
    std::unordered_map<const CNetwork*, size_t> index;
    index.reserve(n * 2);
    for (size_t i = 0; i < n; ++i) index.emplace(modules[i], i);
    std::vector<int32_t> pendingSources(n, 0);
    std::vector<std::vector<size_t>> consumers(n);
    for (size_t i = 0; i < n; ++i) {
        modules[i]->m_level = 0;
        for (CNetworkInput* in : modules[i]->m_inputs) {
            if (in->m_sourceKind != kSourceModuleOutput || !in->m_sourceNetConnection) continue;
            const CNetwork* src = in->m_sourceNetConnection->m_srcModule;
            auto it = src ? index.find(src) : index.end();
            if (it == index.end()) continue;
            ++pendingSources[i];
            consumers[it->second].push_back(i);
        }
    }
    std::vector<size_t> ready;
    ready.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        if (pendingSources[i] == 0) {
            modules[i]->m_level = 1;
            ready.push_back(i);
        }
    }
    for (size_t k = 0; k < ready.size(); ++k) {
        const size_t i = ready[k];
        for (size_t j : consumers[i]) {
            modules[j]->m_level = std::max(modules[j]->m_level, modules[i]->m_level + 1);
            if (--pendingSources[j] == 0) ready.push_back(j);
        }
    }
    m_highestLevel = 0;
    for (CNetwork* m : modules) m_highestLevel = std::max(m_highestLevel, m->m_level);
    for (CExternalOutput* q : m_outputs) {
        const CNetworkOutput* mo = q->SourceOutput();
        const CModelOutput* src = mo ? mo->SourceOutput() : nullptr;
        if (src && src->m_dataType == kDataArray) q->m_kind = 2;
    }
    m_levelOrderDirty = true;
}

void CSystem::BuildLevelOrder() {
    m_levelOrder.clear();
    for (CNetwork* m : m_modules)
        if (m->m_level >= 1) m_levelOrder.push_back(m);
    std::stable_sort(m_levelOrder.begin(), m_levelOrder.end(),
                     [](const CNetwork* a, const CNetwork* b) { return a->m_level < b->m_level; });
    m_levelOrderDirty = false;
}

void CSystem::PublishOutputs() {
    for (CExternalOutput* q : m_outputs)
        if (const CNetworkOutput* mo = q->SourceOutput()) q->m_value = mo->m_value;
}

void CSystem::RunCycle() {
    if (m_behaviorsEnabled) DriveBehaviors();
    if (m_levelOrderDirty || m_levelOrder.size() > m_modules.Size()) BuildLevelOrder();
    for (CNetwork* m : m_levelOrder) {
        m_currentLevel = m->m_level;
        m->PullModuleInputs();
        m->ExecuteModule();
        m->UpdateModuleOutputs();
    }
    PublishOutputs();
    m_charts.RefreshAll();
    m_currentLevel = 1;
    ++m_cycleCount;
    if (m_cycleObserver) m_cycleObserver->OnCycle(*this);
}

void CSystem::RunStep() {
    if (m_highestLevel < m_currentLevel) {
        PublishOutputs();
        m_currentLevel = 1;
    }
    for (CNetwork* m : m_selectedModules) m->m_selected = false;
    m_selectedModules.Clear();
    for (CNetwork* m : m_modules) {
        if (m->m_level != m_currentLevel) continue;
        m->m_selected = true;
        m_selectedModules.Append(m);
        m->PullModuleInputs();
        m->ExecuteModule();
        m->UpdateModuleOutputs();
    }
    ++m_currentLevel;
}

void CSystem::RecordAction(const CNetworkModel& component) {
    m_lastActionModuleId = component.m_owner ? component.m_owner->m_id : 0;
    m_lastActionComponentId = component.m_id;
}

void CSystem::ZeroCounters() {
    m_simulatedTime = 0.0;
    m_cycleCount = 0;
    m_diagnostic1 = 0;
    m_diagnostic2 = 0;
}

void CSystem::ResetSystem() {
    m_paused = false;
    ZeroCounters();
    for (CExternalInput* p : m_inputs) p->SetValue(p->m_initialValue);
    for (CNetwork* m : m_modules) {
        ClearChartsOf(*m);
        m->ResetModule();
    }
    for (CExternalOutput* q : m_outputs) q->m_value = 0.0;
}

void CSystem::DriveBehaviors() {
    m_behaviors.DriveBehaviors(static_cast<double>(m_cyclesPerSecond), Random());
}

void CSystem::ClearChartsOf(CNetwork& module) {
    m_charts.ClearChartsOf(module);
}

void CSystem::DeleteOutputViews(const CNetwork* module, const CNetworkModel* component,
                                const CModelOutput* output) {
    m_charts.DeleteFor(module, component, output);
    m_valueWindows.DeleteFor(module, component, output);
}

// --- connections ----------------------------------------------------------

bool CSystem::IsModuleUpstream(const CNetwork& dst, const CNetwork& src, int depth) const {
    for (const CNetworkInput* in : src.m_inputs) {
        if (in->m_sourceKind != kSourceModuleOutput || !in->m_sourceNetConnection) continue;
        const CNetwork* up = in->m_sourceNetConnection->m_srcModule;
        if (!up) continue;
        if (up == &dst) return true;
        if (depth >= 99) return true;
        if (IsModuleUpstream(dst, *up, depth + 1)) return true;
    }
    return false;
}

CNetworkConnection* CSystem::ConnectModules(CNetwork& s, CNetwork& d, CNetworkOutput* out,
                                            CNetworkInput* in) {
    if (&s == &d) {
        Prompter().Beep();
        return nullptr;
    }
    bool dFeeds = false;
    for (const CNetworkConnection* c : m_moduleConnections)
        if (c->m_srcModule == &d) dFeeds = true;
    auto hasSourcedInput = [](const CNetwork& m) {
        for (const CNetworkInput* i : m.m_inputs)
            if (i->HasSource()) return true;
        return false;
    };
    const bool allowed = !dFeeds || !hasSourcedInput(s) || s.m_level <= d.m_level ||
                         (!hasSourcedInput(d) && !IsModuleUpstream(d, s));
    if (!allowed) {
        Prompter().Tell(
            "Circular dependency: Cannot connect module output to input of module upstream in execution sequencing.");
        return nullptr;
    }
    if (in && in->HasSource()) {
        BuildFeedback(
            "Connection Not allowed: This module input already receives input from another node. No new connection made.");
        return nullptr;
    }
    if (out) {
        for (const CNetworkConnection* c : m_moduleConnections) {
            if (c->m_srcOutput == out && c->m_dstModule == &d) {
                BuildFeedback(Format(
                    "The (%s) module already receives input from the (%s) output of the (%s) module. A duplicate connection from this output will not be not made. You can add a new connection by dragging directly from the module object itself. ",
                    d.m_name, out->m_name, s.m_name));
                return nullptr;
            }
        }
    }
    const int32_t id = DrawFreeId(Random(), m_moduleConnections);
    if (id == 0) return nullptr;
    CNetworkOutput* newOut = nullptr;
    if (!out) out = newOut = s.CreateOutput("out");
    if (!out) return nullptr;
    if (!in) in = d.CreateInput(Format("%s out: %s", s.m_name, out->m_name));
    if (!in) {
        if (newOut) s.m_outputs.Remove(newOut);
        return nullptr;
    }
    auto c = std::make_unique<CNetworkConnection>();
    c->m_id = id;
    c->m_srcModuleId = s.m_id;
    c->m_dstModuleId = d.m_id;
    c->m_srcModule = &s;
    c->m_dstModule = &d;
    c->m_srcOutput = out;
    c->m_srcOutputId = out->m_id;
    c->m_dstInput = in;
    c->m_dstInputId = in->m_id;
    in->m_sourceConnectionId = id;
    in->m_sourceNetConnection = c.get();
    in->m_sourceExtConnection = nullptr;
    in->m_sourceKind = kSourceModuleOutput;
    s.LayoutBox();
    d.LayoutBox();
    CNetworkConnection* p = m_moduleConnections.Append(std::move(c));
    ComputeLevels();
    RecordChange(Format("Added connection from system module %s to system module: %s", s.m_name, d.m_name));
    return p;
}

CExternalConnection* CSystem::ConnectSystemInput(CExternalInput& p, CNetwork& d, CNetworkInput* in) {
    for (const CNetworkInput* i : d.m_inputs) {
        if (i->m_sourceKind == kSourceSystemInput && i->m_sourceExtConnection &&
            i->m_sourceExtConnection->m_systemInput == &p) {
            Prompter().Tell(
                Format("%s Module already receives input from system input: %s.", d.m_name, p.m_name));
            return nullptr;
        }
    }
    if (in && in->HasSource()) {
        BuildFeedback(
            "Connection Not allowed: This module input already receives input from another node. No new connection made.");
        return nullptr;
    }
    const int32_t id = DrawFreeId(Random(), p.m_connections);
    if (id == 0) return nullptr;
    if (!in) in = d.CreateInput(Format("Ext: %s", p.m_name));
    if (!in) return nullptr;
    auto c = std::make_unique<CExternalConnection>();
    c->m_id = id;
    c->m_systemPortId = p.m_id;
    c->m_systemInput = &p;
    c->m_moduleId = d.m_id;
    c->m_module = &d;
    c->m_modulePortId = in->m_id;
    c->m_moduleInput = in;
    CExternalConnection* conn = p.m_connections.Append(std::move(c));
    in->m_sourceConnectionId = id;
    in->m_sourceExtConnection = conn;
    in->m_sourceNetConnection = nullptr;
    in->m_sourceKind = kSourceSystemInput;
    d.LayoutBox();
    ComputeLevels();
    d.PullModuleInputs();
    RecordChange(Format("Added connection from system input %s to system module: %s", p.m_name, d.m_name));
    return conn;
}

namespace {
constexpr const char* kOutputConnectedLine = "Added connection from system module: %s to system output %s";
constexpr const char* kOutputDroppedLine = "Added connection from system module %s to system output: %s";
}  // namespace

CExternalConnection* CSystem::ConnectSystemOutput(CNetwork& d, CExternalOutput& q, CNetworkOutput* out) {
    if (q.m_connection) {
        Prompter().Tell(
            "This External Output is already connected to a System Module. You must remove this connection first before making this connection.");
        return nullptr;
    }
    if (!out) out = d.CreateOutput(Format("Ext: %s", q.m_name));
    if (!out) return nullptr;
    auto c = std::make_unique<CExternalConnection>();
    c->m_id = q.m_id;
    c->m_systemPortId = q.m_id;
    c->m_systemOutput = &q;
    c->m_moduleId = d.m_id;
    c->m_module = &d;
    c->m_modulePortId = out->m_id;
    c->m_moduleOutput = out;
    q.m_connection = std::move(c);
    q.m_connectionId = q.m_id;
    if (out->CarriesArray()) q.m_kind = 2;
    d.LayoutBox();
    ComputeLevels();
    RecordChange(Format(kOutputConnectedLine, d.m_name, q.m_name));
    return q.m_connection.get();
}

CExternalInput* CSystem::DropNewSystemInput(CNetwork& d) {
    CExternalInput* p = CreateSystemInput("New input", 1);
    if (!p) return nullptr;
    // A refused connect (no module input id left) takes the new input back.
    if (!ConnectSystemInput(*p, d)) {
        DeleteSystemInput(p);
        return nullptr;
    }
    return p;
}

CExternalOutput* CSystem::DropNewSystemOutput(CNetwork& d) {
    CExternalOutput* q = CreateSystemOutput("New output", 1);
    if (!q) return nullptr;
    // The drop records its own line in place of the plain connect's.
    IChangeRecorder* recorder = m_recorder;
    struct CSwallow final : IChangeRecorder {
        void RecordChange(const std::string&) override {}
    } swallow;
    m_recorder = &swallow;
    CExternalConnection* c = ConnectSystemOutput(d, *q);
    m_recorder = recorder;
    // A refused connect (no module output id left) takes the new output back.
    if (!c) {
        DeleteSystemOutput(q);
        return nullptr;
    }
    RecordChange(Format(kOutputDroppedLine, d.m_name, q->m_name));
    return q;
}

// --- removal --------------------------------------------------------------

void CSystem::RemoveModuleInputSource(CNetworkInput& in) {
    if (in.m_sourceKind == kSourceModuleOutput && in.m_sourceNetConnection) {
        m_moduleConnections.Remove(in.m_sourceNetConnection);
    } else if (in.m_sourceKind == kSourceSystemInput && in.m_sourceExtConnection) {
        if (CExternalInput* p = in.m_sourceExtConnection->m_systemInput)
            p->m_connections.Remove(in.m_sourceExtConnection);
    }
    in.ClearSource();
    in.m_name = "open";
}

void CSystem::RemoveModuleInputSources(CNetwork& module) {
    for (CNetworkInput* in : module.m_inputs)
        if (in->HasSource()) RemoveModuleInputSource(*in);
    ComputeLevels();
}

void CSystem::DisconnectSystemOutput(CExternalOutput& q) {
    q.m_connection.reset();
    q.m_connectionId = 0;
}

void CSystem::RemoveModuleOutputTargets(CNetwork& module) {
    for (CNetworkOutput* mo : module.m_outputs) {
        module.RemoveModuleOutputSource(*mo);
        for (CNetworkConnection* c : m_moduleConnections.Snapshot()) {
            if (c->m_srcOutput != mo) continue;
            if (CNetworkInput* in = c->m_dstInput; in && in->m_sourceNetConnection == c) {
                in->ClearSource();
                in->m_name = "open";
            }
            m_moduleConnections.Remove(c);
        }
        for (CExternalOutput* q : m_outputs)
            if (q->SourceOutput() == mo) DisconnectSystemOutput(*q);
    }
    ComputeLevels();
}

void CSystem::DeleteModuleInput(CNetworkInput* in) {
    if (!in || !in->m_owner) return;
    CNetwork& module = *in->m_owner;
    if (in->HasSource()) RemoveModuleInputSource(*in);
    module.RemoveModuleInputConnections(*in);
    module.m_selectedInputs.Remove(in);
    module.m_inputs.Remove(in);
    module.ComputeStages();
    ComputeLevels();
}

void CSystem::DeleteModuleOutput(CNetworkOutput* mo) {
    if (!mo || !mo->m_owner) return;
    CNetwork& module = *mo->m_owner;
    module.RemoveModuleOutputSource(*mo);
    for (CNetworkConnection* c : m_moduleConnections.Snapshot()) {
        if (c->m_srcOutput != mo) continue;
        if (CNetworkInput* in = c->m_dstInput; in && in->m_sourceNetConnection == c) {
            in->ClearSource();
            in->m_name = "open";
        }
        m_moduleConnections.Remove(c);
    }
    for (CExternalOutput* q : m_outputs)
        if (q->SourceOutput() == mo) DisconnectSystemOutput(*q);
    module.m_selectedOutputs.Remove(mo);
    module.m_outputs.Remove(mo);
    ComputeLevels();
}

void CSystem::DeleteModule(CNetwork* module) {
    if (!module || m_modules.IndexOf(module) < 0) return;
    RemoveModuleInputSources(*module);
    RemoveModuleOutputTargets(*module);
    // System outputs may still name the module through a dangling link.
    for (CExternalOutput* q : m_outputs)
        if (q->m_connection && q->m_connection->m_module == module) DisconnectSystemOutput(*q);
    DeleteOutputViews(module, nullptr, nullptr);
    m_selectedModules.Remove(module);
    m_modulesByCreation.Remove(module);
    m_modules.Remove(module);
    ComputeLevels();
}

void CSystem::DeleteSystemInput(CExternalInput* p) {
    if (!p || m_inputs.IndexOf(p) < 0) return;
    m_behaviors.DeleteInputBehaviors(p->m_id);
    for (CExternalConnection* c : p->m_connections) {
        if (CNetworkInput* in = c->m_moduleInput; in && in->m_sourceExtConnection == c) {
            in->ClearSource();
            in->m_name = "open";
        }
    }
    for (CExternalInputCategory* c : m_inputCategories) c->m_members.Remove(p);
    m_selectedInputs.Remove(p);
    m_inputs.Remove(p);
    ComputeLevels();
}

void CSystem::DeleteSystemOutput(CExternalOutput* q) {
    if (!q || m_outputs.IndexOf(q) < 0) return;
    for (CExternalOutputCategory* c : m_outputCategories) c->m_members.Remove(q);
    m_selectedOutputs.Remove(q);
    m_outputs.Remove(q);
}

// --- references after a load ----------------------------------------------

void CSystem::RebuildReferences() {
    NoteWiringChange();
    std::unordered_map<int32_t, CNetwork*> modules;
    modules.reserve(m_modules.Size() * 2);
    for (CNetwork* m : m_modules)
        if (m->m_id >= 1) modules.emplace(m->m_id, m);
    auto module = [&modules](int32_t id) -> CNetwork* {
        auto it = modules.find(id);
        return it == modules.end() ? nullptr : it->second;
    };
    for (CNetworkConnection* c : m_moduleConnections) {
        c->m_srcModule = module(c->m_srcModuleId);
        c->m_srcOutput = c->m_srcModule ? c->m_srcModule->m_outputs.Find(c->m_srcOutputId) : nullptr;
        c->m_dstModule = module(c->m_dstModuleId);
        c->m_dstInput = c->m_dstModule ? c->m_dstModule->m_inputs.Find(c->m_dstInputId) : nullptr;
        if (c->m_dstInput) {
            c->m_dstInput->m_sourceConnectionId = c->m_id;
            c->m_dstInput->m_sourceNetConnection = c;
            c->m_dstInput->m_sourceExtConnection = nullptr;
            c->m_dstInput->m_sourceKind = kSourceModuleOutput;
        }
    }
    for (CExternalInputCategory* c : m_inputCategories) c->m_members.Clear();
    for (CExternalOutputCategory* c : m_outputCategories) c->m_members.Clear();
    for (CExternalInput* p : m_inputs) {
        if (CExternalInputCategory* cat = m_inputCategories.Find(p->m_categoryId)) cat->m_members.Append(p);
        for (CExternalConnection* c : p->m_connections) {
            c->m_systemInput = p;
            c->m_module = module(c->m_moduleId);
            c->m_moduleInput = c->m_module ? c->m_module->m_inputs.Find(c->m_modulePortId) : nullptr;
            if (c->m_moduleInput) {
                c->m_moduleInput->m_sourceConnectionId = c->m_id;
                c->m_moduleInput->m_sourceExtConnection = c;
                c->m_moduleInput->m_sourceNetConnection = nullptr;
                c->m_moduleInput->m_sourceKind = kSourceSystemInput;
            }
        }
    }
    for (CExternalOutput* q : m_outputs) {
        if (CExternalOutputCategory* cat = m_outputCategories.Find(q->m_categoryId)) cat->m_members.Append(q);
        if (CExternalConnection* c = q->m_connection.get()) {
            c->m_systemOutput = q;
            c->m_module = module(c->m_moduleId);
            c->m_moduleOutput = c->m_module ? c->m_module->m_outputs.Find(c->m_modulePortId) : nullptr;
        }
    }
    // A module input that a damaged file feeds twice keeps the last source; the
    // other connections keep empty references, so removing them never touches it.
    for (CNetworkConnection* c : m_moduleConnections) {
        if (c->m_dstInput && c->m_dstInput->m_sourceNetConnection != c) {
            c->m_dstInput = nullptr;
            c->m_dstModule = nullptr;
        }
    }
    for (CExternalInput* p : m_inputs) {
        for (CExternalConnection* c : p->m_connections) {
            if (c->m_moduleInput && c->m_moduleInput->m_sourceExtConnection != c) {
                c->m_moduleInput = nullptr;
                c->m_module = nullptr;
            }
        }
    }
    m_charts.RebuildReferences(*this);
    m_behaviors.RebuildReferences(*this);
    m_graphics.RebuildReferences(*this);
    m_valueWindows.RebuildReferences(*this);
    m_levelOrderDirty = true;
}

void CSystem::SwapContents(CSystem& o) {
    NoteWiringChange();
    using std::swap;
    swap(m_systemId, o.m_systemId);
    swap(m_name, o.m_name);
    swap(m_thirdText, o.m_thirdText);
    swap(m_description, o.m_description);
    swap(m_catalogue, o.m_catalogue);
    swap(m_modules, o.m_modules);
    swap(m_selectedModules, o.m_selectedModules);
    swap(m_modulesByCreation, o.m_modulesByCreation);
    swap(m_moduleConnections, o.m_moduleConnections);
    swap(m_inputs, o.m_inputs);
    swap(m_outputs, o.m_outputs);
    swap(m_inputCategories, o.m_inputCategories);
    swap(m_selectedInputs, o.m_selectedInputs);
    swap(m_outputCategories, o.m_outputCategories);
    swap(m_selectedOutputs, o.m_selectedOutputs);
    swap(m_saved1, o.m_saved1);
    swap(m_saved2, o.m_saved2);
    swap(m_scroll, o.m_scroll);
    swap(m_currentLevel, o.m_currentLevel);
    swap(m_highestLevel, o.m_highestLevel);
    swap(m_chartBackground, o.m_chartBackground);
    swap(m_chartGrid, o.m_chartGrid);
    swap(m_chartData, o.m_chartData);
    swap(m_behaviorsEnabled, o.m_behaviorsEnabled);
    swap(m_startTime, o.m_startTime);
    swap(m_simulatedTime, o.m_simulatedTime);
    swap(m_lastCycleTime, o.m_lastCycleTime);
    swap(m_cycleCount, o.m_cycleCount);
    swap(m_diagnostic1, o.m_diagnostic1);
    swap(m_diagnostic2, o.m_diagnostic2);
    swap(m_paused, o.m_paused);
    swap(m_events, o.m_events);
    swap(m_charts, o.m_charts);
    swap(m_behaviors, o.m_behaviors);
    swap(m_graphics, o.m_graphics);
    swap(m_valueWindows, o.m_valueWindows);
    swap(m_levelOrder, o.m_levelOrder);
    for (CNetwork* m : m_modules) m->m_owner = this;
    for (CNetwork* m : o.m_modules) m->m_owner = &o;
    m_levelOrderDirty = true;
    o.m_levelOrderDirty = true;
}

}  // namespace zor2
