// Runtime truth checks: every input by the common pull, then the gate.
#include "components/logic/truth_check_rt.h"

#include "algo/platform.h"
#include "components/logic/truth_check_kernel.h"
#include "runtime/rt_plan.h"

namespace zor2 {

int32_t CRModelTruthCheck::GetInputValues() {
    for (CRModelInput& in : m_inputs) in.Pull();
    return 0;
}

int32_t CRModelTruthCheck::Execute() {
    CTruthAccumulator gate(m_type);
    for (const CRModelInput& in : m_inputs) gate.Add(in.m_value);
    if (CRModelOutput* out = FirstOutput()) out->m_value = gate.Result() ? 1.0 : 0.0;
    if (const char* line = TruthTraceLine(m_type)) Trace("%s", line);
    return 0;
}

void CRModelTruthCheck::Compile(CRPlan& plan) {
    if (CRModelOutput* out = FirstOutput()) {
        plan.AddTruthCheck(m_type, m_inputs, out->m_value);
    } else {
        plan.AddCallThrough(*this);  // still writes its diagnostic line
    }
}

namespace {
std::unique_ptr<CRNetworkModel> Create(int32_t typeId) {
    return std::make_unique<CRModelTruthCheck>(typeId);
}
constexpr CRuntimeType kTypes[] = {
    {kTruthAllTrue, Create},  {kTruthAnyTrue, Create},     {kTruthAllFalse, Create},
    {kTruthAnyFalse, Create}, {kTruthExclusiveOr, Create}, {kTruthInvert, Create},
};
}  // namespace

std::span<const CRuntimeType> TruthCheckRuntimeTypes() {
    return kTypes;
}

}  // namespace zor2
