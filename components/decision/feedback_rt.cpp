// Runtime Feedback Flow: consumers read its output whether primed or not.
#include "components/decision/feedback_rt.h"

namespace zor2 {

int32_t CRModelFeedback::GetInputValues() {
    CRModelInput* in = FirstInput();
    if (!in) return 0;
    if (in->HasSource()) {
        in->Pull();
        m_state.Take(in->m_value);
    } else {
        in->m_value = 0.0;  // pending keeps the last value taken
    }
    return 0;
}

int32_t CRModelFeedback::Execute() {
    const double published = m_state.Publish(m_value);
    if (CRModelOutput* out = FirstOutput()) out->m_value = published;
    return 0;
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
