// Compare: type table, property sheets, inputs, the count of satisfied inputs,
// saved fields.
#include "components/math/compare.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "algo/bytes.h"
#include "engine/catalogue.h"
#include "engine/property_sheet.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {
constexpr CPortTemplate kInputs[] = {{kCompareValueInputId, "CompareVal"}};
constexpr CPortTemplate kOutputs[] = {
    {10, "All Satisfy?", kDataYesNo, 0},
    {20, "Count Items", kDataInteger, 0},
    {30, "Items Satisfied", kDataInteger, 0},
};
constexpr int32_t kCountOutputId = 20;
constexpr int32_t kSatisfiedOutputId = 30;
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelCompare>();
}

void ReadConstantSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* m = dynamic_cast<const CModelCompare*>(&c);
    if (!m) return;
    sheet.Add(
        prop::Number("compare", "Enter the constant to compare the input to here:", m->CompareValueText()));
}

std::string ApplyConstantSheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* m = dynamic_cast<CModelCompare*>(&c);
    if (m && sheet.Changed("compare")) m->SetCompareValue(prop::Num(sheet, "compare"));
    return {};
}

constexpr CPropertyProfile kVariableSheet{"Compare to Variable "};
constexpr CPropertyProfile kConstantSheet{"Compare to Constant Component", ReadConstantSheet, nullptr,
                                          ApplyConstantSheet};

constexpr CComponentType kTypes[] = {
    {kCompareInputEqual, kInputs, kOutputs, -1, 3, Create, &kVariableSheet},
    {kCompareInputGreater, kInputs, kOutputs, -1, 3, Create, &kVariableSheet},
    {kCompareInputLess, kInputs, kOutputs, -1, 3, Create, &kVariableSheet},
    {kCompareConstantEqual, {}, kOutputs, -1, 3, Create, &kConstantSheet},
    {kCompareConstantGreater, {}, kOutputs, -1, 3, Create, &kConstantSheet},
    {kCompareConstantLess, {}, kOutputs, -1, 3, Create, &kConstantSheet},
};
}  // namespace

std::span<const CComponentType> CompareComponentTypes() {
    return kTypes;
}

void CModelCompare::Serialize(CArchive& ar) {
    SerializeBase(ar);
    CCompareParams::Fields(ar, m_params);
}

void CModelCompare::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    CCompareParams::Fields(w, m_params);
}

std::string CModelCompare::CompareValueText() const {
    char text[64];
    std::snprintf(text, sizeof text, "%0.2f", m_params.compareValue);
    return text;
}

bool CModelCompare::SetCompareValueText(const std::string& text) {
    const char* begin = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(begin, &end);
    if (end == begin || errno == ERANGE || !std::isfinite(v)) return false;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end != '\0') return false;
    m_params.compareValue = v;
    return true;
}

void CModelCompare::GetInputValues() {
    m_connected = 0;
    const bool toInput = CompareToInput(m_typeId);
    if (!toInput) m_value = m_params.compareValue;
    for (CModelInput* in : m_inputs) {
        if (toInput && in->m_id == kCompareValueInputId) {
            if (PullInput(*in)) m_value = in->m_value;
            // An unconnected "CompareVal" keeps the last compare value.
            m_params.compareValue = m_value;
            in->m_text.SetNumber("[%.2f]", in->m_value);
            continue;
        }
        if (PullInput(*in)) ++m_connected;
        in->m_text.SetNumber("%.2f", in->m_value);
    }
}

void CModelCompare::Execute() {
    const bool toInput = CompareToInput(m_typeId);
    int32_t satisfied = 0;
    if (m_connected > 0) {
        // Unconnected inputs are visited too and count by their kept value.
        for (const CModelInput* in : m_inputs) {
            if (toInput && in->m_id == kCompareValueInputId) continue;
            if (CompareTest(m_typeId, in->m_value, m_params.compareValue, m_tolerance)) ++satisfied;
        }
    }
    if (CModelOutput* out = FirstOutput()) out->SetValue(CompareAllSatisfy(m_connected, satisfied));
    if (CModelOutput* out = FindOutput(kCountOutputId)) out->SetValue(m_connected);
    if (CModelOutput* out = FindOutput(kSatisfiedOutputId)) out->SetValue(satisfied);
}

bool CModelCompare::CompileStep(CCycleStep& step) {
    // Compare to Input finds its compare value among the inputs by id.
    if (CompareToInput(m_typeId) || !BindStepPorts(step, *this)) return false;
    step.run = [](const CCycleStep& s) {
        auto& c = static_cast<CModelCompare&>(*s.component);
        c.m_connected = 0;
        c.m_value = c.m_params.compareValue;
        for (int k = 0; k < s.inputs; ++k) {
            CModelInput& in = *s.in[k];
            in.m_value = s.Read(k);
            c.m_connected += s.Connected(k) ? 1 : 0;
            in.m_text.SetNumber("%.2f", in.m_value);
        }
        c.CModelCompare::Execute();
    };
    return true;
}

}  // namespace zor2
