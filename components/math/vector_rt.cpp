// Runtime vector components: the record fields, the input phase and the results.
#include "components/math/vector_rt.h"

namespace zor2 {

CRModelVector2::CRModelVector2(int32_t typeId) : CRNetworkModel(typeId) {
    // The record overwrites both; the factory sets them from the type as the designer's does.
    m_fields.dimension = VectorDimension(typeId);
    m_fields.operation = VectorInitialOperation(typeId);
}

size_t CRModelVector2::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    ReadBase(in);
    VectorFieldList(in, m_fields);
    const auto operands = VectorOperands(m_type);
    m_operandCount = operands.size();
    m_allOperands = true;
    for (size_t i = 0; i < m_operandCount; ++i) {
        m_operandInputs[i] = FindInput(operands[i].inputId);
        m_allOperands = m_allOperands && m_operandInputs[i];
    }
    for (CRModelOutput& out : m_outputs) {
        // The first output of each id, as the designer's lookup finds it.
        const int32_t slot = out.m_id / 10 - 1;
        if (out.m_id % 10 == 0 && slot >= 0 && slot < 3 && !m_out[slot]) m_out[slot] = &out;
    }
    return offset + (in.Position() - start);
}

int32_t CRModelVector2::GetInputValues() {
    if (CRModelInput* enable = FirstInput())
        m_fields.enabled = !enable->HasSource() || *enable->m_source != 0.0;
    m_ready = false;
    if (!VectorReadsOperands(m_type, m_fields.enabled, m_fields.operation)) return 0;
    const auto operands = VectorOperands(m_type);
    for (size_t i = 0; i < m_operandCount; ++i) {
        CRModelInput* in = m_operandInputs[i];
        if (!in) continue;
        in->m_value = in->HasSource() ? *in->m_source : 0.0;
        StoreVectorOperand(m_operands, m_type, operands[i], in->m_value);
    }
    m_ready = m_allOperands;
    return 0;
}

int32_t CRModelVector2::Execute() {
    if (!m_fields.enabled || !m_ready) return 0;
    const CVectorResult r = VectorExecute(m_operands, m_type, m_fields.operation);
    for (int32_t i = 0; i < r.count; ++i)
        if (CRModelOutput* out = m_out[r.ids[i] / 10 - 1]) out->m_value = r.values[i];
    return 0;
}

namespace {
std::unique_ptr<CRNetworkModel> Create(int32_t typeId) {
    return std::make_unique<CRModelVector2>(typeId);
}
constexpr CRuntimeType kTypes[] = {
    {kTypeVector2DMagnitude, Create}, {kTypeVector3DMagnitude, Create},  {kTypeVector2DNormalize, Create},
    {kTypeVector3DNormalize, Create}, {kTypeVector2DArithmetic, Create}, {kTypeVector3DArithmetic, Create},
};
}  // namespace

std::span<const CRuntimeType> VectorRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
