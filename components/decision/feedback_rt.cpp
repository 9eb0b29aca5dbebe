// Runtime Feedback Flow: its compiled step and its registry row (the phases are
// in the header).
#include "components/decision/feedback_rt.h"

#include "runtime/rt_plan.h"

namespace zor2 {

void CRModelFeedback::Compile(CRPlan& plan) {
    const CRModelInput* in = FirstInput();
    CRModelOutput* out = FirstOutput();
    plan.AddFeedback(m_state, in ? in->m_source : nullptr, m_value, out ? &out->m_value : nullptr);
}

namespace {
std::unique_ptr<CRNetworkModel> CreateFeedback(int32_t typeId) {
    return std::make_unique<CRModelFeedback>(typeId);
}
constexpr CRuntimeType kFeedbackTypes[] = {{kTypeFeedbackFlow, CreateFeedback}};
}  // namespace

std::span<const CRuntimeType> FeedbackRuntimeTypes() {
    return kFeedbackTypes;
}

}  // namespace zor2
