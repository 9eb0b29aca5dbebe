// Runtime component base: the base record reader and the array feed lookup.
#include "runtime/rt_model.h"

#include "runtime/rt_plan.h"
#include "runtime/rt_system.h"

namespace zor2 {

namespace {
// Smallest on-disk sizes, used to check counts against the bytes that remain
// before anything is allocated.
constexpr size_t kInputEntryBytes = 12;
constexpr size_t kOutputEntryMinBytes = 12;
constexpr size_t kConnectionEntryBytes = 28;
}  // namespace

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

bool CRNetworkModel::ReadBase(CByteReader& in) {
    int32_t inCount = 0, outCount = 0;
    if (!in.F64(m_value) || !in.F64(m_tolerance) || !in.I32(m_stage) || !in.I32(inCount) || !in.I32(outCount))
        return false;
    if (!in.CanHold(inCount, kInputEntryBytes)) {
        in.Fail("component input count exceeds the file");
        return false;
    }
    m_inputs.resize(static_cast<size_t>(inCount));
    for (CRModelInput& port : m_inputs) {
        if (!in.I32(port.m_id) || !in.I32(port.m_sourceConnectionId) || !in.I32(port.m_sourceKind))
            return false;
    }
    if (!in.CanHold(outCount, kOutputEntryMinBytes)) {
        in.Fail("component output count exceeds the file");
        return false;
    }
    m_outputs.resize(static_cast<size_t>(outCount));
    for (CRModelOutput& port : m_outputs) {
        int32_t connCount = 0;
        if (!in.I32(port.m_id) || !in.I32(port.m_dataType) || !in.I32(connCount)) return false;
        if (!in.CanHold(connCount, kConnectionEntryBytes)) {
            in.Fail("connection count exceeds the file");
            return false;
        }
        port.m_connections.resize(static_cast<size_t>(connCount));
        for (CRModelConnection& c : port.m_connections) {
            // Output form: the kind stands second.
            if (!in.I32(c.m_id) || !in.I32(c.m_kind) || !in.I32(c.m_sourceComponentId) ||
                !in.I32(c.m_destComponentId) || !in.I32(c.m_sourceOutputId) || !in.I32(c.m_destInputId) ||
                !in.I32(c.m_modulePortId))
                return false;
        }
    }
    return true;
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
