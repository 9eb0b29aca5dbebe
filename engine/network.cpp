// Module behaviour: the factory step, stages and the flat execution order,
// one pass of the components, the connection rules, connect, expose and
// disconnect operations, and reference rebuilding after a load.
#include "engine/network.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <unordered_map>
#include <unordered_set>

#include "engine/catalogue.h"
#include "engine/system.h"

namespace zor2 {

const char* RefusalMessage(int32_t code) {
    switch (code) {
        case kRefuseSenderFull:
            return "Connection Not allowed: Sender model has maximum output count. No connection made. Make the connection from an existing output and retry.";
        case kRefuseReceiverFull:
            return "Connection Not allowed: Receiver has maximum input count. No connection made.";
        case kRefuseCircular:
            return "Connection Not allowed: Circular execution sequence. Cannot send output to model that has an earlier execution sequence. No connection made.";
        case kRefuseFeedbackToFeedback:
            return "Connection Not allowed: Circular execution sequence. Feedback components cannot provide input to other feedback components. No connection made.";
        case kRefuseInputBusy:
            return "Connection Not allowed: Model input already has an active connection. No new connection made.";
        case kRefuseModuleOutputBusy:
            return "Connection Not allowed: This Netowrk Output already has an active connection. Create a new network output to recieve, or remove the active connection, and try again.";
        case kRefuseDuplicateModuleInput:
            return "Connection Not allowed: This model already receives input from this Network Input node. No new connection made.";
        case kRefuseDuplicateOutput:
            return "Connection Not allowed: This model already receives input from this model output node. No new connection made.";
        case kRefuseNeedsArray:
            return "Connection Not allowed: This model input requires an array input (signal). The proposed feed is non-array. No new connection made.";
        case kRefuseNotArray:
            return "Connection Not allowed: This model input is not an array input (signal). The proposed feed is an array (signal). No new connection made.";
        case kRefuseNoId:
            return "Connection Not allowed: No free identifier is left for the new object (31999 in use). No connection made.";
        default:
            return "";
    }
}

CNetwork::CNetwork() = default;

CNetwork::~CNetwork() {
    // Components go first: their destructors must not see dangling module ports.
    m_selectedComponents.Clear();
    m_components.Clear();
}

// --- creation -------------------------------------------------------------

CNetworkModel* CNetwork::CreateComponent(int32_t typeId, int32_t id, const std::string& name, int32_t x,
                                         int32_t y, const CModelTemplate* tmpl) {
    if (!tmpl && typeId >= 1 && m_owner) tmpl = m_owner->m_catalogue.Find(typeId);
    auto component = ConstructComponent(typeId);
    if (!component) return nullptr;
    component->m_owner = this;
    if (id == 0) id = DrawFreeId(component->Random(), m_components);
    if (id == 0) return nullptr;
    component->m_id = id;
    component->m_typeId = typeId;
    component->m_imageIndex = tmpl ? tmpl->m_imageIndex : typeId - 1;
    component->m_name = name;
    component->m_nodeKind = kNodeKindComponent;
    component->m_position = {x, y};
    component->CalcSize();
    component->SetPosition(x, y);
    CNetworkModel* p = m_components.Append(std::move(component));
    m_orderDirty = true;
    return p;
}

CNetworkModel* CNetwork::DropComponent(int32_t typeId, int32_t x, int32_t y) {
    const char* catalogueName = CatalogueName(typeId);
    if (!catalogueName || !FindComponentType(typeId)) return nullptr;
    char name[512];
    std::snprintf(name, sizeof name, "M%d %s", static_cast<int>(m_components.Size()) + 1, catalogueName);
    CNetworkModel* c = CreateComponent(typeId, 0, name, x, y);
    if (!c) return nullptr;
    AddTemplatePorts(*c);
    c->GetInputValues();
    c->Execute();
    ComputeStages();
    if (m_owner) {
        char line[1200];
        std::snprintf(line, sizeof line, "Added component: %s to system module: %s", c->m_name.c_str(),
                      m_name.c_str());
        m_owner->RecordChange(line);
    }
    return c;
}

CNetworkInput* CNetwork::CreateInput(const std::string& name) {
    IRandomSource& random = m_owner ? m_owner->Random() : DefaultRandom();
    const int32_t id = DrawFreeId(random, m_inputs);
    if (id == 0) return nullptr;
    auto in = std::make_unique<CNetworkInput>();
    in->m_id = id;
    in->m_name = name;
    in->m_owner = this;
    return m_inputs.Append(std::move(in));
}

CNetworkOutput* CNetwork::CreateOutput(const std::string& name) {
    IRandomSource& random = m_owner ? m_owner->Random() : DefaultRandom();
    const int32_t id = DrawFreeId(random, m_outputs);
    if (id == 0) return nullptr;
    auto out = std::make_unique<CNetworkOutput>();
    out->m_id = id;
    out->m_name = name;
    out->m_owner = this;
    return m_outputs.Append(std::move(out));
}

void CNetwork::DeleteComponent(CNetworkModel* component) {
    if (!component || m_components.IndexOf(component) < 0) return;
    if (m_owner) m_owner->DeleteOutputViews(nullptr, component, nullptr);
    RemoveInputConnections(*component);
    for (CModelOutput* out : component->m_outputs) RemoveOutputConnections(*out);
    m_selectedComponents.Remove(component);
    m_components.Remove(component);
    m_orderDirty = true;
}

// --- stages and execution -------------------------------------------------

void CNetwork::ComputeStages() {
    // Longest-path layering: a component's stage is 1 + the highest stage of
    // its component sources, Feedback Flow sources and Feedback Flow
    // components excepted. Components on a cycle (only a damaged file can
    // hold one) keep stage 0 and do not run.
    const size_t n = m_components.Size();
    std::unordered_map<const CNetworkModel*, size_t> index;
    index.reserve(n * 2);
    std::vector<CNetworkModel*> comps = m_components.Snapshot();
    for (size_t i = 0; i < n; ++i) index.emplace(comps[i], i);

    std::vector<int32_t> pendingSources(n, 0);
    std::vector<std::vector<size_t>> consumers(n);
    for (size_t i = 0; i < n; ++i) {
        CNetworkModel* c = comps[i];
        c->m_stage = 0;
        if (c->IsFeedback()) continue;
        for (CModelInput* in : c->m_inputs) {
            if (in->m_sourceKind != kSourceComponent || !in->m_sourceConnection) continue;
            const CNetworkModel* src = in->m_sourceConnection->m_srcComponent;
            if (!src || src->IsFeedback()) continue;
            auto it = index.find(src);
            if (it == index.end()) continue;
            ++pendingSources[i];
            consumers[it->second].push_back(i);
        }
    }
    std::vector<size_t> ready;
    ready.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        if (!comps[i]->IsFeedback() && pendingSources[i] == 0) {
            comps[i]->m_stage = 1;
            ready.push_back(i);
        }
    }
    for (size_t k = 0; k < ready.size(); ++k) {
        const size_t i = ready[k];
        for (size_t j : consumers[i]) {
            comps[j]->m_stage = std::max(comps[j]->m_stage, comps[i]->m_stage + 1);
            if (--pendingSources[j] == 0) ready.push_back(j);
        }
    }
    m_orderDirty = true;
}

void CNetwork::BuildOrder() {
    m_order.clear();
    m_feedback.clear();
    for (CNetworkModel* c : m_components) {
        if (c->IsFeedback())
            m_feedback.push_back(c);
        else if (c->m_stage >= 1)
            m_order.push_back(c);
    }
    std::stable_sort(m_order.begin(), m_order.end(),
                     [](const CNetworkModel* a, const CNetworkModel* b) { return a->m_stage < b->m_stage; });
    m_orderDirty = false;
    m_stepsGeneration = 0;
}

namespace {
bool g_useCompiledSteps = true;
}  // namespace

void CNetwork::UseCompiledSteps(bool on) {
    g_useCompiledSteps = on;
}

void CNetwork::CompileSteps() {
    m_stepsGeneration = WiringGeneration();
    m_stepsCompiled = g_useCompiledSteps;
    const auto compile = [](const std::vector<CNetworkModel*>& order, std::vector<CCycleStep>& steps) {
        steps.assign(order.size(), CCycleStep{});
        for (size_t i = 0; i < order.size(); ++i) {
            CCycleStep& step = steps[i];
            step.component = order[i];
            if (!g_useCompiledSteps || !step.component->CompileStep(step))
                step = CCycleStep{.component = order[i]};
        }
    };
    compile(m_order, m_steps);
    compile(m_feedback, m_feedbackSteps);
    m_pushes.clear();
    for (CNetworkModel* f : m_feedback) {
        CModelOutput* out = f->FirstOutput();
        if (!out) continue;
        for (CModelConnection* c : out->m_connections)
            if (c->m_kind == kSourceComponent && c->m_dstInput)
                m_pushes.push_back({&f->m_unprimed, &out->m_heldValue, &c->m_dstInput->m_value});
    }
}

bool CNetwork::RunSteps(const std::vector<CCycleStep>& steps, bool compiled, bool staged) {
    const uint64_t compiledFor = m_stepsGeneration;
    for (const CCycleStep& step : steps) {
        if (step.run && compiled) {
            step.run(step);
            continue;
        }
        if (staged) m_currentStage = step.component->m_stage;
        step.component->GetInputValues();
        step.component->Execute();
        // A component that changed the wiring while it ran leaves the rest of
        // this cycle to the components' own operations; the next one compiles again.
        if (WiringGeneration() != compiledFor) {
            m_stepsGeneration = 0;
            compiled = false;
        }
    }
    return compiled;
}

void CNetwork::PullModuleInputs() {
    for (CNetworkInput* in : m_inputs) in->Pull();
}

void CNetwork::ExecuteModule() {
    if (m_orderDirty) BuildOrder();
    if (m_stepsGeneration != WiringGeneration() || m_stepsCompiled != g_useCompiledSteps) CompileSteps();
    // A primed Feedback Flow pushes its first output's held value into the
    // inputs it feeds before anything runs.
    for (const CFeedbackPush& push : m_pushes)
        if (!*push.unprimed) *push.input = *push.held;
    const bool compiled = RunSteps(m_steps, true, true);
    m_currentStage = 1;
    for (CNetworkOutput* mo : m_outputs) {
        const CModelOutput* src = mo->SourceOutput();
        if (!src) {
            mo->m_text.SetStatic("-");
            continue;
        }
        if (src->m_dataType == kDataArray) {
            mo->m_arrayData = src->m_arrayData;
            mo->m_arrayCount = src->m_arrayCount;
            continue;
        }
        mo->m_value = src->ConsumerValue();
        switch (src->m_decimals) {
            case 0:
                mo->m_text.SetInt("%d", TruncToInt32(mo->m_value));
                break;
            case 1:
                mo->m_text.SetNumber("%.1f", mo->m_value);
                break;
            case 2:
                mo->m_text.SetNumber("%.2f", mo->m_value);
                break;
            case -1:
                break;
            default:
                mo->m_text.SetNumber("%.4f", mo->m_value);
                break;
        }
    }
    RunSteps(m_feedbackSteps, compiled, false);
}

void CNetwork::UpdateModuleOutputs() {
    for (CNetworkOutput* mo : m_outputs) {
        const CModelOutput* src = mo->SourceOutput();
        if (!src) continue;
        mo->m_value = src->ConsumerValue();
        mo->m_text.SetNumber("%0.2f", mo->m_value);
    }
}

void CNetwork::ResetModule() {
    PullModuleInputs();
    for (CNetworkModel* c : m_components) c->ResetValues();
    for (CNetworkOutput* mo : m_outputs) {
        mo->m_value = 0.0;
        mo->m_text.Clear();
    }
}

bool CNetwork::IsUpstream(const CNetworkModel* target, const CNetworkModel* component) const {
    // Each call counts the sources it looks at; 100 in one call counts as
    // upstream. The answer for a component does not depend on how it was
    // reached, so components already cleared are not searched twice.
    std::unordered_set<const CNetworkModel*> cleared;
    auto search = [&](auto&& self, const CNetworkModel* c) -> bool {
        int count = 0;
        for (const CModelInput* in : c->m_inputs) {
            if (in->m_sourceKind != kSourceComponent || !in->m_sourceConnection) continue;
            const CNetworkModel* src = in->m_sourceConnection->m_srcComponent;
            if (!src) continue;
            if (src == target) return true;
            if (src->IsFeedback()) continue;
            if (++count >= 100) return true;
            if (cleared.count(src)) continue;
            if (self(self, src)) return true;
            cleared.insert(src);
        }
        return false;
    };
    return target && component && search(search, component);
}

// --- connection rules -----------------------------------------------------

namespace {

bool FedByOutput(const CNetworkModel& dst, const CModelOutput* out) {
    for (const CModelInput* in : dst.m_inputs)
        if (in->m_sourceKind == kSourceComponent && in->SourceOutput() == out) return true;
    return false;
}

bool FedByModuleInput(const CNetworkModel& dst, const CNetworkInput* m) {
    for (const CModelInput* in : dst.m_inputs)
        if (in->m_sourceKind == kSourceModuleInput && in->SourceModuleInput() == m) return true;
    return false;
}

bool HasSourcedInput(const CNetworkModel& c) {
    for (const CModelInput* in : c.m_inputs)
        if (in->HasSource()) return true;
    return false;
}

bool FedDirectlyBy(const CNetworkModel& c, const CNetworkModel* src) {
    for (const CModelInput* in : c.m_inputs)
        if (in->m_sourceKind == kSourceComponent && in->m_sourceConnection &&
            in->m_sourceConnection->m_srcComponent == src)
            return true;
    return false;
}

}  // namespace

int32_t CNetwork::CheckOutputToInput(const CNetworkModel& s, const CModelOutput* out, const CNetworkModel& d,
                                     const CModelInput* in) const {
    // Wiring a component to itself would close a loop no stage can order.
    if (&s == &d) return (s.IsFeedback()) ? kRefuseFeedbackToFeedback : kRefuseCircular;
    if (!out && !in) {
        if (d.m_stage < s.m_stage && d.HasConnectionsOut()) return kRefuseCircular;
        if (s.OutputsFull()) return kRefuseSenderFull;
        if (d.InputsFull()) return kRefuseReceiverFull;
        return kConnectOk;
    }
    if (out && !in) {
        if (IsUpstream(&d, &s)) {
            if (!s.IsFeedback()) return kRefuseCircular;
        } else if (d.m_stage < s.m_stage && d.HasConnectionsOut() &&
                   (HasSourcedInput(d) || FedDirectlyBy(s, &d))) {
            return kRefuseCircular;
        }
        if (d.m_maxInputs == -1) {
            if (FedByOutput(d, out)) return kRefuseDuplicateOutput;
        } else if (d.InputsFull()) {
            return kRefuseReceiverFull;
        }
        return kConnectOk;
    }
    // An existing input; a missing output is a new one of data type 0.
    if (!out) {
        if (in->HasSource()) return kRefuseInputBusy;
        if (s.OutputsFull()) return kRefuseSenderFull;
    }
    if (s.IsFeedback() && d.IsFeedback()) return kRefuseFeedbackToFeedback;
    if (!s.IsFeedback() && IsUpstream(&d, &s)) return kRefuseCircular;
    if (in->HasSource()) return kRefuseInputBusy;
    const bool arrayFeed = out && out->m_dataType == kDataArray;
    if (in->m_arrayInput && !arrayFeed) return kRefuseNeedsArray;
    if (!in->m_arrayInput && arrayFeed) return kRefuseNotArray;
    return kConnectOk;
}

int32_t CNetwork::CheckModuleInputToInput(const CNetworkInput& m, const CNetworkModel& d,
                                          const CModelInput* in) const {
    if (in) {
        if (in->HasSource()) return kRefuseInputBusy;
        if (in->m_arrayInput) return m.IsArrayFeed() ? kConnectOk : kRefuseNeedsArray;
        return m.IsArrayFeed() ? kRefuseNotArray : kConnectOk;
    }
    if (d.InputsFull()) return kRefuseReceiverFull;
    if (FedByModuleInput(d, &m)) return kRefuseDuplicateModuleInput;
    if (m.IsArrayFeed()) return kRefuseNotArray;
    return kConnectOk;
}

int32_t CNetwork::CheckOutputToModuleOutput(const CNetworkModel& s, const CModelOutput* out,
                                            const CNetworkOutput& mo) const {
    if (mo.HasSource()) return kRefuseModuleOutputBusy;
    if (!out && s.OutputsFull()) return kRefuseSenderFull;
    return kConnectOk;
}

void CNetwork::Refuse(int32_t code) const {
    if (!m_owner) return;
    m_owner->BuildFeedback(RefusalMessage(code));
    m_owner->Prompter().Beep();
}

// --- connect --------------------------------------------------------------

void CNetwork::Relabel(CModelInput& in, const CModelOutput& out) const {
    if (in.m_template) return;
    const CNetworkModel* dst = in.m_owner;
    if (dst && TypeTraits(dst->m_typeId).inputsNamedBySource)
        in.m_name = out.m_name;
    else if (out.m_owner)
        in.m_name = out.m_owner->m_name;
}

CModelConnection* CNetwork::ConnectOutputToInput(CModelOutput& out, CModelInput& in) {
    CNetworkModel* s = out.m_owner;
    CNetworkModel* d = in.m_owner;
    const int32_t id = DrawFreeId(m_owner ? m_owner->Random() : DefaultRandom(), out.m_connections);
    if (id == 0 || !s || !d) return nullptr;
    auto c = std::make_unique<CModelConnection>();
    c->m_id = id;
    c->m_kind = kSourceComponent;
    c->m_srcComponentId = s->m_id;
    c->m_dstComponentId = d->m_id;
    c->m_srcOutputId = out.m_id;
    c->m_dstInputId = in.m_id;
    c->m_srcComponent = s;
    c->m_dstComponent = d;
    c->m_srcOutput = &out;
    c->m_dstInput = &in;
    CModelConnection* p = out.m_connections.Append(std::move(c));
    in.m_sourceConnectionId = id;
    in.m_sourceConnection = p;
    in.m_sourceKind = kSourceComponent;
    Relabel(in, out);
    d->CalcSize();
    s->CalcSize();
    return p;
}

CModelConnection* CNetwork::ConnectModuleInputToInput(CNetworkInput& m, CModelInput& in) {
    CNetworkModel* d = in.m_owner;
    const int32_t id = DrawFreeId(m_owner ? m_owner->Random() : DefaultRandom(), m.m_connections);
    if (id == 0 || !d) return nullptr;
    auto c = std::make_unique<CModelConnection>();
    c->m_id = id;
    c->m_kind = kSourceModuleInput;
    c->m_dstComponentId = d->m_id;
    c->m_dstInputId = in.m_id;
    c->m_modulePortId = m.m_id;
    c->m_dstComponent = d;
    c->m_dstInput = &in;
    c->m_moduleInput = &m;
    CModelConnection* p = m.m_connections.Append(std::move(c));
    in.m_sourceConnectionId = id;
    in.m_sourceConnection = p;
    in.m_sourceKind = kSourceModuleInput;
    d->CalcSize();
    return p;
}

CModelConnection* CNetwork::ConnectOutputToModuleOutput(CModelOutput& out, CNetworkOutput& mo) {
    CNetworkModel* s = out.m_owner;
    const int32_t id = DrawFreeId(m_owner ? m_owner->Random() : DefaultRandom(), out.m_connections);
    if (id == 0 || !s) return nullptr;
    auto c = std::make_unique<CModelConnection>();
    c->m_id = id;
    c->m_kind = kSourceModuleInput;
    c->m_srcComponentId = s->m_id;
    c->m_srcOutputId = out.m_id;
    c->m_modulePortId = mo.m_id;
    c->m_srcComponent = s;
    c->m_srcOutput = &out;
    c->m_moduleOutput = &mo;
    CModelConnection* p = out.m_connections.Append(std::move(c));
    mo.m_sourceConnectionId = id;
    mo.m_sourceConnection = p;
    mo.m_sourceKind = kSourceModuleInput;
    s->CalcSize();
    return p;
}

void CNetwork::RefreshAfterConnect() {
    ComputeStages();
    if (m_owner) m_owner->ComputeLevels();
    ExecuteModule();
    if (m_owner) m_owner->ZeroCounters();
}

int32_t CNetwork::RequestConnect(CNetworkModel& s, CModelOutput* out, CNetworkModel& d, CModelInput* in,
                                 CModelConnection** made) {
    if (made) *made = nullptr;
    int32_t code = CheckOutputToInput(s, out, d, in);
    if (code != kConnectOk) {
        Refuse(code);
        return code;
    }
    // Ports made for this request are taken back if the connection fails.
    CModelInput* newIn = nullptr;
    CModelOutput* newOut = nullptr;
    if (!in) {
        in = newIn = d.AddInput(0);
        if (in && !out) in->m_name = s.m_name;
    }
    if (in && !out) {
        out = newOut = s.AddOutput(0);
        if (out && !newIn) out->m_name = in->m_name;
    }
    CModelConnection* c = (in && out) ? ConnectOutputToInput(*out, *in) : nullptr;
    if (!c) {
        if (newIn) d.m_inputs.Remove(newIn);
        if (newOut) s.m_outputs.Remove(newOut);
        d.PortsRemoved();
        s.PortsRemoved();
        d.CalcSize();
        s.CalcSize();
        Refuse(kRefuseNoId);
        return kRefuseNoId;
    }
    RefreshAfterConnect();
    if (made) *made = c;
    return kConnectOk;
}

int32_t CNetwork::RequestConnectModuleInput(CNetworkInput& m, CNetworkModel& d, CModelInput* in,
                                            CModelConnection** made) {
    if (made) *made = nullptr;
    int32_t code = CheckModuleInputToInput(m, d, in);
    if (code != kConnectOk) {
        Refuse(code);
        return code;
    }
    CModelInput* newIn = nullptr;
    if (!in) {
        in = newIn = d.AddInput(0);
        if (in) in->m_name = m.m_name;
    }
    CModelConnection* c = in ? ConnectModuleInputToInput(m, *in) : nullptr;
    if (!c) {
        if (newIn) d.m_inputs.Remove(newIn);
        d.PortsRemoved();
        d.CalcSize();
        Refuse(kRefuseNoId);
        return kRefuseNoId;
    }
    RefreshAfterConnect();
    if (made) *made = c;
    return kConnectOk;
}

int32_t CNetwork::RequestConnectToModuleOutput(CNetworkModel& s, CModelOutput* out, CNetworkOutput& mo,
                                               CModelConnection** made) {
    if (made) *made = nullptr;
    int32_t code = CheckOutputToModuleOutput(s, out, mo);
    if (code != kConnectOk) {
        Refuse(code);
        return code;
    }
    CModelOutput* newOut = nullptr;
    if (!out) out = newOut = s.AddOutput(0);
    CModelConnection* c = out ? ConnectOutputToModuleOutput(*out, mo) : nullptr;
    if (!c) {
        if (newOut) s.m_outputs.Remove(newOut);
        s.PortsRemoved();
        s.CalcSize();
        Refuse(kRefuseNoId);
        return kRefuseNoId;
    }
    if (newOut && newOut->m_dataType == kDataArray) {
        mo.m_arrayData = newOut->m_arrayData;
        mo.m_arrayCount = newOut->m_arrayCount;
    }
    RefreshAfterConnect();
    if (made) *made = c;
    return kConnectOk;
}

// --- expose ---------------------------------------------------------------

int32_t CNetwork::ExposeOne(CNetworkModel& component, CModelInput& in, bool markArrays) {
    CNetworkInput* m = CreateInput(in.m_name);
    if (!m) return 0;
    if (markArrays && in.m_arrayInput) {
        m->m_arrayCarrier = true;
    } else {
        m->m_value = in.m_value;
        m->m_text.SetNumber("%.3f", m->m_value);
    }
    const int32_t code = CheckModuleInputToInput(*m, component, &in);
    if (code != kConnectOk || !ConnectModuleInputToInput(*m, in)) {
        // A refused exposure leaves no stray module input behind.
        m_inputs.Remove(m);
        if (code != kConnectOk) Refuse(code);
        return 0;
    }
    return 1;
}

int32_t CNetwork::ExposeInput(CNetworkModel& component) {
    int32_t exposed = 0;
    CModelInput* in = component.m_selectedInputs.Head();
    if (in && !in->HasSource()) {
        exposed = ExposeOne(component, *in, false);
        ComputeStages();
        LayoutBox();
    }
    if (m_owner) {
        char line[1200];
        std::snprintf(line, sizeof line, "Exposed %d input for component: %s", exposed,
                      component.m_name.c_str());
        m_owner->RecordChange(line);
    }
    return exposed;
}

int32_t CNetwork::ExposeAllInputs(CNetworkModel& component) {
    int32_t exposed = 0;
    for (CModelInput* in : component.m_inputs.Snapshot()) {
        if (in->HasSource()) continue;
        if (ExposeOne(component, *in, true)) {
            ++exposed;
            RefreshAfterConnect();
        }
    }
    LayoutBox();
    if (m_owner) {
        char line[1200];
        std::snprintf(line, sizeof line, "Exposed %d input(s) for component: %s", exposed,
                      component.m_name.c_str());
        m_owner->RecordChange(line);
    }
    return exposed;
}

int32_t CNetwork::ExposeAllInputsReconnect(CNetworkModel& component) {
    RemoveInputConnections(component);
    int32_t exposed = 0;
    for (CModelInput* in : component.m_inputs.Snapshot()) {
        CNetworkInput* match = nullptr;
        for (CNetworkInput* m : m_inputs) {
            if (strcasecmp(m->m_name.c_str(), in->m_name.c_str()) == 0) {
                match = m;
                break;
            }
        }
        if (match) {
            const int32_t code = CheckModuleInputToInput(*match, component, in);
            if (code != kConnectOk) {
                Refuse(code);
                continue;
            }
            if (ConnectModuleInputToInput(*match, *in)) ++exposed;
        } else {
            exposed += ExposeOne(component, *in, false);
        }
    }
    ComputeStages();
    if (m_owner) m_owner->ComputeLevels();
    LayoutBox();
    if (m_owner) {
        char line[1200];
        std::snprintf(line, sizeof line, "Exposed %d input connections for component: %s", exposed,
                      component.m_name.c_str());
        m_owner->RecordChange(line);
    }
    return exposed;
}

// --- disconnect -----------------------------------------------------------

int32_t CNetwork::RemoveOutputConnections(CModelOutput& out) {
    int32_t removed = 0;
    for (CModelConnection* c : out.m_connections.Snapshot()) {
        if (c->m_kind == kSourceComponent) {
            if (CModelInput* in = c->m_dstInput; in && in->m_sourceConnection == c) {
                in->ClearSource();
                if (in->m_owner) in->m_owner->CalcSize();
            }
        } else if (CNetworkOutput* mo = c->m_moduleOutput; mo && mo->m_sourceConnection == c) {
            mo->ClearSource();
        }
        out.m_connections.Remove(c);
        ++removed;
    }
    if (out.m_owner) out.m_owner->CalcSize();
    return removed;
}

void CNetwork::RemoveInputConnection(CModelInput& in) {
    CModelConnection* c = in.m_sourceConnection;
    if (c) {
        if (in.m_sourceKind == kSourceModuleInput) {
            if (c->m_moduleInput) c->m_moduleInput->m_connections.Remove(c);
        } else if (c->m_srcOutput) {
            CModelOutput* out = c->m_srcOutput;
            out->m_connections.Remove(c);
            if (out->m_owner) out->m_owner->CalcSize();
        }
    }
    in.ClearSource();
}

int32_t CNetwork::RemoveInputConnections(CNetworkModel& component) {
    int32_t removed = 0;
    for (CModelInput* in : component.m_inputs) {
        if (!in->HasSource()) continue;
        RemoveInputConnection(*in);
        ++removed;
    }
    component.CalcSize();
    return removed;
}

int32_t CNetwork::RemoveModuleInputConnections(CNetworkInput& m) {
    int32_t removed = 0;
    for (CModelConnection* c : m.m_connections) {
        // The destination keeps its name here.
        if (CModelInput* in = c->m_dstInput; in && in->m_sourceConnection == c) {
            in->m_sourceConnectionId = 0;
            in->m_sourceConnection = nullptr;
            in->m_sourceKind = kSourceNone;
        }
        ++removed;
    }
    m.m_connections.Clear();
    return removed;
}

void CNetwork::RemoveModuleOutputSource(CNetworkOutput& mo) {
    CModelConnection* c = mo.m_sourceConnection;
    if (c && c->m_srcOutput) {
        CModelOutput* out = c->m_srcOutput;
        out->m_connections.Remove(c);
        if (out->m_owner) out->m_owner->CalcSize();
    }
    mo.ClearSource();
}

int32_t CNetwork::RemoveAddedInputs(CNetworkModel& component) {
    int32_t removed = 0;
    for (CModelInput* in : component.m_inputs.Snapshot()) {
        if (in->m_template) continue;
        RemoveInputConnection(*in);
        component.m_selectedInputs.Remove(in);
        component.m_inputs.Remove(in);
        ++removed;
    }
    // A neural network is rebuilt for the inputs that remain.
    if (removed > 0) component.PortsRemoved();
    component.CalcSize();
    return removed;
}

// --- layout and references ------------------------------------------------

void CNetwork::LayoutBox() {
    // A grouped side needs one slot; the other side still needs one row per port.
    const int32_t inputRows = m_collapsedInputs ? 1 : static_cast<int32_t>(m_inputs.Size());
    const int32_t outputRows = m_collapsedOutputs ? 1 : static_cast<int32_t>(m_outputs.Size());
    const int32_t rows = std::max({inputRows, outputRows, 1});
    const int64_t height = std::max<int64_t>(m_minBoxHeight, int64_t{rows} * 20 + m_minPortColumnHeight);
    const int64_t x = m_position.x, y = m_position.y;
    m_boxRect = {ClampCoordinate(x - m_boxWidth / 2), ClampCoordinate(y - height / 2),
                 ClampCoordinate(x + m_boxWidth / 2), ClampCoordinate(y + height / 2)};
}

void CNetwork::RebuildReferences() {
    NoteWiringChange();
    std::unordered_map<int32_t, CNetworkModel*> byId;
    byId.reserve(m_components.Size() * 2);
    for (CNetworkModel* c : m_components)
        if (c->m_id >= 1) byId.emplace(c->m_id, c);
    auto component = [&byId](int32_t id) -> CNetworkModel* {
        auto it = byId.find(id);
        return it == byId.end() ? nullptr : it->second;
    };
    for (CNetworkInput* m : m_inputs) {
        for (CModelConnection* c : m->m_connections) {
            c->m_moduleInput = m;
            c->m_dstComponent = component(c->m_dstComponentId);
            c->m_dstInput = c->m_dstComponent ? c->m_dstComponent->FindInput(c->m_dstInputId) : nullptr;
            if (c->m_dstInput) {
                c->m_dstInput->m_sourceConnectionId = c->m_id;
                c->m_dstInput->m_sourceConnection = c;
                c->m_dstInput->m_sourceKind = c->m_kind;
            }
        }
    }
    for (CNetworkModel* s : m_components) {
        for (CModelOutput* out : s->m_outputs) {
            for (CModelConnection* c : out->m_connections) {
                c->m_srcComponent = s;
                c->m_srcOutput = out;
                if (c->m_kind == kSourceComponent) {
                    c->m_dstComponent = component(c->m_dstComponentId);
                    c->m_dstInput =
                        c->m_dstComponent ? c->m_dstComponent->FindInput(c->m_dstInputId) : nullptr;
                    if (c->m_dstInput) {
                        c->m_dstInput->m_sourceConnectionId = c->m_id;
                        c->m_dstInput->m_sourceConnection = c;
                        c->m_dstInput->m_sourceKind = kSourceComponent;
                    }
                } else {
                    c->m_moduleOutput = m_outputs.Find(c->m_modulePortId);
                    if (c->m_moduleOutput) {
                        c->m_moduleOutput->m_sourceConnectionId = c->m_id;
                        c->m_moduleOutput->m_sourceConnection = c;
                        c->m_moduleOutput->m_sourceKind = kSourceModuleInput;
                    }
                }
            }
        }
    }
    // A port that a damaged file feeds twice keeps the last connection; the
    // others keep empty references, so removing them never touches the port.
    auto keepOnlyTheSource = [](CModelConnection* c) {
        if (c->m_dstInput && c->m_dstInput->m_sourceConnection != c) {
            c->m_dstInput = nullptr;
            c->m_dstComponent = nullptr;
        }
        if (c->m_moduleOutput && c->m_moduleOutput->m_sourceConnection != c) c->m_moduleOutput = nullptr;
    };
    for (CNetworkInput* m : m_inputs)
        for (CModelConnection* c : m->m_connections) keepOnlyTheSource(c);
    for (CNetworkModel* s : m_components)
        for (CModelOutput* out : s->m_outputs)
            for (CModelConnection* c : out->m_connections) keepOnlyTheSource(c);
    m_orderDirty = true;
}

}  // namespace zor2
