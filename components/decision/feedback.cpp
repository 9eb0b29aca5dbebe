// Feedback Flow: type table, one-cycle lag and reset.
#include "components/decision/feedback.h"

#include "engine/catalogue.h"

namespace zor2 {

namespace {
constexpr CPortTemplate kInputs[] = {{10, "Input (x)"}};
constexpr CPortTemplate kOutputs[] = {{10, "Feedback (x')", kDataDouble, 2}};
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelFeedback>();
}
constexpr CComponentType kTypes[] = {{kTypeFeedbackFlow, kInputs, kOutputs, 1, 1, Create}};
}  // namespace

std::span<const CComponentType> FeedbackComponentTypes() {
    return kTypes;
}

void CModelFeedback::GetInputValues() {
    if (CModelInput* in = FirstInput()) TakeInput(*in, PullInput(*in));
}

void CModelFeedback::Execute() {
    Publish(FirstOutput());
}

void CModelFeedback::TakeInput(CModelInput& in, bool pulled) {
    if (pulled) {
        m_state.Take(in.m_value);
        in.m_text.SetNumber("%0.2f", in.m_value);
    } else {
        in.m_value = 0.0;
        in.m_text.SetStatic("-");
    }
}

void CModelFeedback::Publish(CModelOutput* out) {
    // The text shows the value before this cycle's: it lags by one cycle.
    if (out) out->RebuildText();
    const double v = m_state.Publish(m_value);
    if (out) out->m_value = v;
    m_unprimed = false;
}

bool CModelFeedback::CompileStep(CCycleStep& step) {
    if (!BindStepPorts(step, *this)) return false;
    step.run = [](const CCycleStep& s) {
        auto& c = static_cast<CModelFeedback&>(*s.component);
        if (s.inputs >= 1) {
            if (s.Connected(0)) s.in[0]->m_value = s.Read(0);
            c.TakeInput(*s.in[0], s.Connected(0));
        }
        c.Publish(s.out);
    };
    return true;
}

void CModelFeedback::ResetValues() {
    m_state.Reset();
    m_unprimed = true;
    m_value = 0.0;
    if (CModelInput* in = FirstInput()) {
        in->m_value = 0.0;
        in->m_text.SetStatic("-");
    }
    if (CModelOutput* out = FirstOutput()) out->SetValue(m_state.pending);
}

}  // namespace zor2
