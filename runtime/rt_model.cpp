// Runtime component base: the base record reader and the array feed lookup.
#include "runtime/rt_model.h"

#include "runtime/rt_plan.h"
#include "runtime/rt_system.h"

namespace zor2 {

void CRNetworkModel::DeletePorts() {
    m_inputs.clear();
    m_outputs.clear();
}

CRModelInput* CRNetworkModel::FindInput(int32_t id) {
    if (id < 1) return nullptr;
    for (CRModelInput& in : m_inputs) {
        if (in.m_id == id) return &in;
    }
    return nullptr;
}

IRandomSource& CRNetworkModel::Random() const {
    return m_owner && m_owner->m_owner ? m_owner->m_owner->Random() : DefaultRandom();
}

IClock& CRNetworkModel::Clock() const {
    return m_owner && m_owner->m_owner ? m_owner->m_owner->Clock() : DefaultClock();
}

bool CRNetworkModel::ReadBase(CByteReader& in) {
    rtfile::CComponentBase base;
    if (!ReadRecord(in, base)) return false;
    m_value = base.m_value;
    m_tolerance = base.m_tolerance;
    m_stage = base.m_stage;
    auto takeInput = [](CRModelInput& port, const rtfile::CInputEntry& r) {
        port.m_id = r.m_id;
        port.m_sourceConnectionId = r.m_sourceConnectionId;
        port.m_sourceKind = r.m_sourceKind;
    };
    auto takeOutput = [&in](CRModelOutput& port, const rtfile::COutputEntry& r) {
        port.m_id = r.m_id;
        port.m_dataType = r.m_dataType;
        ReadRecords<rtfile::COutputConnection>(in, r.m_connectionCount, "connection", port.m_connections,
                                               TakeConnectionIds<rtfile::COutputConnection>);
    };
    return ReadRecords<rtfile::CInputEntry>(in, base.m_inputCount, "component input", m_inputs, takeInput) &&
           ReadRecords<rtfile::COutputEntry>(in, base.m_outputCount, "component output", m_outputs,
                                             takeOutput);
}

void CRNetworkModel::Compile(CRPlan& plan) {
    plan.AddCallThrough(*this);
}

size_t CRNetworkModel::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    ReadBase(in);
    return offset + (in.Position() - start);
}

bool CRModelInput::SourceArray(const double*& data, int32_t& count) const {
    const CRModelConnection* c = m_sourceConnection;
    if (!c || !m_source) return false;
    if (c->m_sourceOutput) {
        if (!c->m_sourceOutput->m_arrayData) return false;
        data = c->m_sourceOutput->m_arrayData;
        count = c->m_sourceOutput->m_arrayCount;
        return true;
    }
    const CRNetworkInput* mi = c->m_moduleInput;
    if (!mi) return false;
    if (mi->m_sourceSystemInput && mi->m_sourceSystemInput->m_arrayData) {
        data = mi->m_sourceSystemInput->m_arrayData;
        count = mi->m_sourceSystemInput->m_arrayCount;
        return true;
    }
    if (mi->m_sourceModuleOutput && mi->m_sourceModuleOutput->m_arrayData) {
        data = mi->m_sourceModuleOutput->m_arrayData;
        count = mi->m_sourceModuleOutput->m_arrayCount;
        return true;
    }
    return false;
}

}  // namespace zor2
