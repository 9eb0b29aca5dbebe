// Runtime Decision Matrix: the base record, then the table without names.
#include "components/decision/decision_matrix_rt.h"

#include "components/logic/truth_check_kernel.h"

namespace zor2 {

size_t CRModelDecisionMatrix::ReadRuntime(CByteReader& in, size_t offset) {
    const size_t start = in.Position();
    if (ReadBase(in) && CDecisionMatrix::Fields(in, m_matrix)) {
        m_matrix.Link();
        m_matrix.SortLoadedInputs();
    }
    m_value1 = FindInput(kDecisionInput1PortId);
    m_value2 = FindInput(kDecisionInput2PortId);
    m_decisionOutputs.assign(m_matrix.m_decisions.size(), nullptr);
    for (size_t i = 0; i < m_decisionOutputs.size(); ++i) {
        const int32_t id = m_matrix.m_decisions[i].m_outputId;
        for (CRModelOutput& out : m_outputs)
            if (id > 0 && out.m_id == id) {
                m_decisionOutputs[i] = &out;
                break;
            }
    }
    return offset + (in.Position() - start);
}

int32_t CRModelDecisionMatrix::GetInputValues() {
    if (CRModelInput* enable = FirstInput()) m_enabled = !enable->HasSource() || IsTrue(*enable->m_source);
    for (CRModelInput* in : {m_value1, m_value2}) {
        if (!in) continue;
        if (in->HasSource())
            in->Pull();
        else
            in->m_value = 0.0;
    }
    m_value = m_value2 ? m_value2->m_value : 0.0;
    return 0;
}

int32_t CRModelDecisionMatrix::Execute() {
    for (CRModelOutput& out : m_outputs) out.m_value = 0.0;
    if (!m_enabled) return 0;
    const int32_t d = m_matrix.Select(m_value1 ? m_value1->m_value : 0.0, m_value2 ? m_value2->m_value : 0.0);
    if (d >= 0 && m_decisionOutputs[static_cast<size_t>(d)])
        m_decisionOutputs[static_cast<size_t>(d)]->m_value = 1.0;
    return 0;
}

namespace {
std::unique_ptr<CRNetworkModel> Create(int32_t typeId) {
    return std::make_unique<CRModelDecisionMatrix>(typeId);
}
constexpr CRuntimeType kTypes[] = {{kTypeDecisionMatrix, Create}};
}  // namespace

std::span<const CRuntimeType> DecisionMatrixRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
