// Delay: type table, property sheet, feedback input and the factor parameter.
#include "components/math/delay.h"

#include <cmath>
#include <cstdio>

#include "engine/catalogue.h"
#include "engine/network.h"
#include "engine/property_sheet.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {
// The "Feedback" input is never connected: the component fills it itself.
constexpr CPortTemplate kInputs[] = {{10, "RawInput"}, {20, "Feedback", kDataDouble, 2, false, kSourceSelf}};
constexpr CPortTemplate kOutputs[] = {{10, "Result", kDataDouble, 2}};
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelDelay>();
}

void ReadSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* m = dynamic_cast<const CModelDelay*>(&c);
    if (!m) return;
    CPropField& factor = sheet.Add(
        prop::Field(EPropKind::Stepper, "factor",
                    "Feedback Percentage (0.0 to .99):", prop::Format("%0.2f", m->FeedbackFactor())));
    factor.value = m->FeedbackFactor();
    factor.step = StepDelayFactor;
}

void SheetRule(CPropertySheet& sheet, std::string_view key) {
    if (key != "factor") return;
    CPropField* f = sheet.Edit("factor");
    f->text = prop::Format("%0.2f", f->value);
}

std::string ApplySheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* m = dynamic_cast<CModelDelay*>(&c);
    if (!m || !sheet.Changed("factor")) return {};
    if (!m->SetFeedbackFactor(sheet.Find("factor")->value))
        return "The feedback percentage must lie between 0.0 and .99.";
    return {};
}

constexpr CPropertyProfile kSheet{"Delay Component Properties", ReadSheet, SheetRule, ApplySheet};
constexpr CComponentType kTypes[] = {{kTypeDelay, kInputs, kOutputs, 2, 1, Create, &kSheet}};
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
    TakeInputs(raw, raw && PullInput(*raw), m_inputs.Size() >= 2 ? LastInput() : nullptr, FirstOutput());
}

void CModelDelay::Execute() {
    const CModelInput* feedback = m_inputs.Size() >= 2 ? LastInput() : nullptr;
    if (CModelOutput* out = FirstOutput()) out->SetValue(Sum(FirstInput(), feedback));
}

void CModelDelay::TakeInputs(CModelInput* raw, bool pulled, CModelInput* feedback,
                             const CModelOutput* out) const {
    if (feedback) {
        feedback->m_value = DelayFeedback(out ? out->ConsumerValue() : 0.0, m_factor);
        feedback->m_text.SetNumber("%.2f", feedback->m_value);
    }
    if (!raw) return;
    if (pulled) {
        raw->m_text.SetNumber("%.2f", raw->m_value);
    } else {
        raw->m_value = 0.0;
        raw->m_text.SetStatic("-");
    }
}

double CModelDelay::Sum(const CModelInput* raw, const CModelInput* feedback) {
    return (raw ? raw->m_value : 0.0) + (feedback ? feedback->m_value : 0.0);
}

bool CModelDelay::CompileStep(CCycleStep& step) {
    if (!BindStepPorts(step, *this)) return false;
    step.run = [](const CCycleStep& s) {
        const auto& c = static_cast<const CModelDelay&>(*s.component);
        c.TraceExecution("GetInputValues");
        CModelInput* raw = s.inputs >= 1 ? s.in[0] : nullptr;
        CModelInput* feedback = s.inputs >= 2 ? s.in[1] : nullptr;
        if (raw && s.Connected(0)) raw->m_value = s.Read(0);
        c.TakeInputs(raw, raw && s.Connected(0), feedback, s.out);
        if (s.out) s.out->SetValue(Sum(raw, feedback));
    };
    return true;
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
    m_factor = StepDelayFactor(m_factor, up);
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
