// Runtime Target Input Comparator: the designer's verdicts with its own tolerance.
#include "components/decision/comparator_rt.h"

#include "components/logic/truth_check_kernel.h"

namespace zor2 {

namespace {
double ReadOrZero(CRModelInput& in) {
    if (in.HasSource())
        in.Pull();
    else
        in.m_value = 0.0;
    return in.m_value;
}
}  // namespace

size_t CRModelComparator::ReadRuntime(CByteReader& in, size_t offset) {
    offset = CRNetworkModel::ReadRuntime(in, offset);
    m_targetInput = FindInput(20);
    m_compareInput = FindInput(30);
    for (int k = 0; k < 3; ++k) {
        for (CRModelOutput& out : m_outputs) {
            if (out.m_id == 10 * (k + 1)) {
                m_verdicts[k] = &out;
                break;
            }
        }
    }
    return offset;
}

int32_t CRModelComparator::GetInputValues() {
    m_target = 0.0;
    m_inputValue = 0.0;
    if (CRModelInput* enable = FirstInput()) {
        m_enabled = !enable->HasSource() || IsTrue(*enable->m_source);
        enable->m_value = m_enabled ? 1.0 : 0.0;
    }
    if (!m_enabled) return 0;
    if (m_targetInput) m_target = ReadOrZero(*m_targetInput);
    if (m_compareInput) m_inputValue = ReadOrZero(*m_compareInput);
    return 0;
}

int32_t CRModelComparator::Execute() {
    if (!m_enabled) return 0;
    const CComparatorResult r = ComparatorCompare(m_target, m_inputValue, m_ownTolerance);
    const double values[3] = {r.greater, r.equal, r.less};
    for (int k = 0; k < 3; ++k)
        if (m_verdicts[k]) m_verdicts[k]->m_value = values[k];
    return 0;
}

namespace {
std::unique_ptr<CRNetworkModel> Create(int32_t typeId) {
    return std::make_unique<CRModelComparator>(typeId);
}
constexpr CRuntimeType kTypes[] = {{kTypeComparator, Create}};
}  // namespace

std::span<const CRuntimeType> ComparatorRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
