// Component base: geometry, port creation, the common pull, reset, and the
// base parts of the project record and of the runtime record.
#include "engine/component.h"

#include <algorithm>

#include "algo/bytes.h"
#include "engine/catalogue.h"
#include "engine/network.h"
#include "engine/system.h"
#include "persistence/archive.h"
#include "persistence/runtime_export.h"

namespace zor2 {

CNetworkModel::CNetworkModel() {
    m_nodeKind = kNodeKindComponent;
}

CNetworkModel::~CNetworkModel() {
    NoteWiringChange();
    ClearPortSelection();
    m_inputs.Clear();
    m_outputs.Clear();
}

CSystem* CNetworkModel::System() const {
    return m_owner ? m_owner->m_owner : nullptr;
}

IRandomSource& CNetworkModel::Random() const {
    CSystem* s = System();
    return s ? s->Random() : DefaultRandom();
}

IClock& CNetworkModel::Clock() const {
    CSystem* s = System();
    return s ? s->Clock() : DefaultClock();
}

void CNetworkModel::TraceExecution(const char* phase) const {
    CSystem* s = System();
    if (!s) return;
    // Only the name is copied; the list puts the line together when it is read.
    s->Feedback().execution.AddTrace(phase, m_typeId, m_name);
}

void CNetworkModel::SetPosition(int32_t x, int32_t y) {
    m_position = {x, y};
    const int64_t w = std::clamp<int64_t>(int64_t{m_box.right} - m_box.left, 0, INT32_MAX / 2);
    const int64_t h = std::clamp<int64_t>(int64_t{m_box.bottom} - m_box.top, 0, INT32_MAX / 2);
    // The box keeps its size: at the ends of the coordinate range it is moved
    // inwards rather than cut, and so are its port columns.
    const int64_t left = std::clamp<int64_t>(x - w / 2, int64_t{INT32_MIN} + m_portWidth,
                                             int64_t{INT32_MAX} - w - m_portWidth);
    const int64_t top = std::clamp<int64_t>(y - h / 2, INT32_MIN, int64_t{INT32_MAX} - h);
    m_box.left = ClampCoordinate(left);
    m_box.top = ClampCoordinate(top);
    m_box.right = ClampCoordinate(left + w);
    m_box.bottom = ClampCoordinate(top + h);
    m_inputsRect = {m_box.left - m_portWidth, m_box.top, m_box.left, m_box.bottom};
    m_outputsRect = {m_box.right, m_box.top, m_box.right + m_portWidth, m_box.bottom};
    // Ports are stacked down each column.
    int64_t yIn = top + m_portOffset;
    for (CModelInput* in : m_inputs) {
        const int64_t portTop = m_singleInputSlot ? top + h / 2 - m_portHeight / 2 : yIn;
        in->m_rect = {m_box.left - m_portWidth, ClampCoordinate(portTop), m_box.left,
                      ClampCoordinate(portTop + m_portHeight)};
        yIn += m_portHeight + m_portSpacing;
    }
}

void CNetworkModel::CalcSize() {
    const int64_t s = m_portSpacing, h = m_portHeight;
    const int64_t outs = static_cast<int64_t>(m_outputs.Size());
    const int64_t ins = static_cast<int64_t>(m_inputs.Size());
    const int64_t outNeed = s * (outs - 1) + h * outs + 44;
    const int64_t inNeed = m_singleInputSlot ? 64 : s * (ins - 1) + h * ins + 32;
    // A box higher than half the coordinate range has no place to stand.
    const int64_t height = std::min<int64_t>(std::max({int64_t{64}, outNeed, inNeed}), INT32_MAX / 2);
    m_box = {0, 0, 64, static_cast<int32_t>(height)};
    m_connectionsOut = CountConnectionsOut();
    SetPosition(m_position.x, m_position.y);
}

int32_t CNetworkModel::CountConnectionsOut() const {
    int32_t n = 0;
    for (CModelOutput* out : m_outputs) n += static_cast<int32_t>(out->m_connections.Size());
    return n;
}

void CNetworkModel::GetInputValues() {
    TraceExecution("GetInputValues");
}

void CNetworkModel::Execute() {
    TraceExecution("Execute");
}

CModelInput* CNetworkModel::AddInput(int32_t id) {
    if (id == 0) id = DrawFreeId(Random(), m_inputs);
    if (id == 0) return nullptr;
    auto in = std::make_unique<CModelInput>();
    in->m_id = id;
    in->m_owner = this;
    CModelInput* p = m_inputs.Append(std::move(in));
    CalcSize();
    SetPosition(m_position.x, m_position.y);
    return p;
}

CModelOutput* CNetworkModel::AddOutput(int32_t id) {
    if (id == 0) id = DrawFreeId(Random(), m_outputs);
    if (id == 0) return nullptr;
    auto out = std::make_unique<CModelOutput>();
    out->m_id = id;
    out->m_owner = this;
    CModelOutput* p = m_outputs.Append(std::move(out));
    CalcSize();
    SetPosition(m_position.x, m_position.y);
    return p;
}

void CNetworkModel::ClearPortSelection() {
    m_selectedInputs.Clear();
    m_selectedOutputs.Clear();
}

void CNetworkModel::ResetValues() {
    for (CModelInput* in : m_inputs) {
        in->m_value = 0.0;
        in->m_text.Clear();
    }
    for (CModelOutput* out : m_outputs) {
        out->m_value = 0.0;
        out->m_text.Clear();
    }
}

namespace {

/// Caches in the input where its source's value lives, when that stays good
/// until the wiring changes: a component output (with its owner's unprimed
/// flag if the owner is a Feedback Flow) or a module input.
void CacheSource(const CModelInput& in) {
    const CModelConnection* c = in.m_sourceConnection;
    in.m_cachedGeneration = 0;
    in.m_cachedUnprimed = nullptr;
    if (in.m_sourceKind == kSourceModuleInput) {
        if (!c->m_moduleInput) return;
        in.m_cachedSource = &c->m_moduleInput->m_value;
    } else {
        const CModelOutput* out = c->m_srcOutput;
        if (!out) return;
        in.m_cachedSource = &out->m_value;
        if (out->m_owner && out->m_owner->IsFeedback()) in.m_cachedUnprimed = &out->m_owner->m_unprimed;
    }
    in.m_cachedGeneration = WiringGeneration();
}

}  // namespace

bool BindStepPorts(CCycleStep& step, const CNetworkModel& component, int maxInputs,
                   EModuleInputs moduleInputs) {
    if (component.m_inputs.Size() > static_cast<size_t>(std::min(maxInputs, kStepInputs))) return false;
    step.inputs = 0;
    step.flags = 0;
    for (CModelInput* in : component.m_inputs) {
        const int k = step.inputs++;
        step.in[k] = in;
        step.source[k] = &in->m_value;
        const CModelConnection* c = in->m_sourceConnection;
        if (!c) continue;
        step.flags |= CCycleStep::kConnected << k;
        if (in->m_sourceKind == kSourceModuleInput && moduleInputs == EModuleInputs::Refused) return false;
        // The same places the common pull reads, by the same rule; a Feedback
        // Flow source's flag stays in the input's cache.
        // A connection that leads nowhere (a damaged file) is left to the
        // component's own operations, whose pull and source reads differ there.
        CacheSource(*in);
        if (in->m_cachedGeneration == 0) return false;
        step.source[k] = in->m_cachedSource;
        if (in->m_cachedUnprimed) step.flags |= CCycleStep::kFedBack << k;
    }
    step.out = component.FirstOutput();
    return true;
}

double CNetworkModel::SourceValueWalk(const CModelInput& in) {
    const CModelConnection* c = in.m_sourceConnection;
    if (!c) return 0.0;
    CacheSource(in);
    if (in.m_sourceKind == kSourceModuleInput) return c->m_moduleInput ? c->m_moduleInput->m_value : 0.0;
    return c->m_srcOutput ? c->m_srcOutput->ConsumerValue() : 0.0;
}

bool CNetworkModel::PullInputWalk(CModelInput& in, bool skipArraySources) {
    const CModelConnection* c = in.m_sourceConnection;
    if (!c) return false;
    CacheSource(in);
    if (in.m_sourceKind == kSourceModuleInput) {
        const CNetworkInput* m = c->m_moduleInput;
        if (!m) return true;
        if (skipArraySources && m->HasArraySource()) return true;
        in.m_value = m->m_value;
        return true;
    }
    if (c->m_srcOutput) in.m_value = c->m_srcOutput->ConsumerValue();
    return true;
}

// --- project record -------------------------------------------------------

namespace {

template <class Ar>
void ConnectionFields(Ar& ar, CModelConnection& c) {
    ar.I32(c.m_id);
    ar.I32(c.m_srcComponentId);
    ar.I32(c.m_dstComponentId);
    ar.I32(c.m_srcOutputId);
    ar.I32(c.m_dstInputId);
    ar.I32(c.m_modulePortId);
    ar.I32(c.m_kind);
}

constexpr size_t kConnectionRecordBytes = 28;
constexpr size_t kInputRecordMin = 4 + kMinStringBytes + 4 + 4 + 1 + 1 + 4;
constexpr size_t kOutputRecordMin = 4 + kMinStringBytes + 4 + 4 + 1 + 4 + 4;

}  // namespace

void SerializeConnection(CArchive& ar, CModelConnection& c) {
    ConnectionFields(ar, c);
}

void SerializeConnectionList(CArchive& ar, CObList<CModelConnection>& list) {
    int32_t count = static_cast<int32_t>(list.Size());
    ar.I32(count);
    if (ar.IsStoring()) {
        for (CModelConnection* c : list) ConnectionFields(ar, *c);
        return;
    }
    if (!ar.CheckCount(count, kConnectionRecordBytes, "connection")) return;
    for (int32_t i = 0; i < count && !ar.Failed(); ++i) {
        auto c = std::make_unique<CModelConnection>();
        ConnectionFields(ar, *c);
        list.Append(std::move(c));
    }
}

void CNetworkModel::Serialize(CArchive& ar) {
    SerializeBase(ar);
}

void CNetworkModel::SerializeBase(CArchive& ar) {
    ar.I32(m_id);
    ar.Str(m_name);
    ar.Str(m_description);
    ar.Str(m_thirdText);
    ar.Rect(m_box);
    ar.I32(m_typeId);
    ar.Point(m_position);
    ar.F64(m_value);
    ar.F64(m_tolerance);
    ar.I32(m_graphicId);
    ar.Bool(m_displayB);
    ar.Bool(m_displayC);
    ar.Bool(m_displayA);
    ar.I32(m_paramInt);
    ar.F64(m_paramDouble);
    ar.I32(m_maxInputs);
    ar.I32(m_maxOutputs);
    int32_t inputCount = static_cast<int32_t>(m_inputs.Size());
    int32_t outputCount = static_cast<int32_t>(m_outputs.Size());
    ar.I32(inputCount);
    ar.I32(outputCount);
    if (ar.IsLoading()) {
        // A record read over a freshly made component replaces its ports.
        m_inputs.Clear();
        m_outputs.Clear();
        if (!ar.CheckCount(inputCount, kInputRecordMin, "component input")) return;
    }
    auto inputFields = [&ar](CModelInput& in) {
        ar.I32(in.m_id);
        ar.Str(in.m_name);
        ar.I32(in.m_sourceConnectionId);
        ar.I32(in.m_sourceKind);
        ar.Bool(in.m_arrayInput);
        ar.Bool(in.m_template);
        ar.I32(in.m_spare);
    };
    auto outputFields = [&ar](CModelOutput& out) {
        ar.I32(out.m_id);
        ar.Str(out.m_name);
        ar.I32(out.m_dataType);
        ar.I32(out.m_decimals);
        ar.Bool(out.m_template);
        ar.I32(out.m_colour);
        SerializeConnectionList(ar, out.m_connections);
    };
    if (ar.IsStoring()) {
        for (CModelInput* in : m_inputs) inputFields(*in);
        for (CModelOutput* out : m_outputs) outputFields(*out);
        return;
    }
    m_inputs.Reserve(inputCount);
    for (int32_t i = 0; i < inputCount && !ar.Failed(); ++i) {
        auto in = std::make_unique<CModelInput>();
        in->m_owner = this;
        inputFields(*in);
        m_inputs.Append(std::move(in));
    }
    if (!ar.CheckCount(outputCount, kOutputRecordMin, "component output")) return;
    m_outputs.Reserve(outputCount);
    for (int32_t i = 0; i < outputCount && !ar.Failed(); ++i) {
        auto out = std::make_unique<CModelOutput>();
        out->m_owner = this;
        outputFields(*out);
        m_outputs.Append(std::move(out));
    }
}

// --- runtime record -------------------------------------------------------

void CNetworkModel::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
}

void CNetworkModel::ExportRuntimeBase(CByteWriter& w) const {
    WriteRecord(w,
                rtfile::CComponentBase{m_value, m_tolerance, m_stage, static_cast<int32_t>(m_inputs.Size()),
                                       static_cast<int32_t>(m_outputs.Size())});
    for (const CModelInput* in : m_inputs)
        WriteRecord(w, rtfile::CInputEntry{in->m_id, in->m_sourceConnectionId, in->m_sourceKind});
    for (const CModelOutput* out : m_outputs) {
        WriteRecord(w, rtfile::COutputEntry{out->m_id, out->m_dataType,
                                            static_cast<int32_t>(out->m_connections.Size())});
        for (const CModelConnection* c : out->m_connections)
            WriteRecord(w, RuntimeConnectionRecord<rtfile::COutputConnection>(*c));
    }
}

bool CNetworkModel::PlaysSound() const {
    return TypeTraits(m_typeId).playsSound;
}

}  // namespace zor2
