// Delay: type table, feedback input and the factor parameter.
#include "components/math/delay.h"

#include <cmath>
#include <cstdio>

#include "engine/catalogue.h"
#include "engine/network.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {
// The "Feedback" input is never connected: the component fills it itself.
constexpr CPortTemplate kInputs[] = {{10, "RawInput"}, {20, "Feedback", kDataDouble, 2, false, kSourceSelf}};
constexpr CPortTemplate kOutputs[] = {{10, "Result", kDataDouble, 2}};
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelDelay>();
}
constexpr CComponentType kTypes[] = {{kTypeDelay, kInputs, kOutputs, 2, 1, Create}};
}  // namespace

std::span<const CComponentType> DelayComponentTypes() {
    return kTypes;
}

void CModelDelay::Serialize(CArchive& ar) {
    SerializeBase(ar);
    if (ar.IsLoading()) m_factor = kDelayDefaultFactor;
}

void CModelDelay::GetInputValues() {
    CNetworkModel::GetInputValues();
    CModelInput* raw = FirstInput();
    CModelInput* feedback = m_inputs.Size() >= 2 ? LastInput() : nullptr;
    if (feedback) {
        const CModelOutput* out = FirstOutput();
        feedback->m_value = DelayFeedback(out ? out->ConsumerValue() : 0.0, m_factor);
        feedback->m_text.SetNumber("%.2f", feedback->m_value);
    }
    if (raw) {
        if (PullInput(*raw)) {
            raw->m_text.SetNumber("%.2f", raw->m_value);
        } else {
            raw->m_value = 0.0;
            raw->m_text.SetText("-");
        }
    }
}

void CModelDelay::Execute() {
    const CModelInput* raw = FirstInput();
    const CModelInput* feedback = m_inputs.Size() >= 2 ? LastInput() : nullptr;
    const double y = (raw ? raw->m_value : 0.0) + (feedback ? feedback->m_value : 0.0);
    if (CModelOutput* out = FirstOutput()) out->SetValue(y);
}

bool CModelDelay::SetFeedbackFactor(double factor) {
    if (!(factor >= kDelayFactorMin && factor <= kDelayFactorMax)) return false;
    m_factor = factor;
    return true;
}

bool CModelDelay::UnsavedSettings(CArchive& ar) {
    double factor = m_factor;
    ar.F64(factor);
    if (ar.IsLoading() && !ar.Failed() && std::isfinite(factor)) m_factor = factor;
    return true;
}

void CModelDelay::StepFeedbackFactor(bool up) {
    if (up && m_factor < 0.98) m_factor += kDelayFactorStep;
    if (!up && m_factor > 0.02) m_factor -= kDelayFactorStep;
}

std::string CModelDelay::RuntimeExportNote() const {
    if (m_factor == kDelayDefaultFactor) return {};
    char line[1024];
    std::snprintf(
        line, sizeof line,
        "Runtime export: Delay \"%s\" in module \"%s\" runs with the feedback factor %.2f there, not %g (the runtime file cannot carry the factor).",
        m_name.c_str(), m_owner ? m_owner->m_name.c_str() : "", kDelayDefaultFactor, m_factor);
    return line;
}

}  // namespace zor2
