// Runtime Feedback Flow: its registry row (the cycle is in the header).
#include "components/decision/feedback_rt.h"

namespace zor2 {

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
