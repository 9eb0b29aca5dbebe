// Truth checks: type table, input pull and the gate.
#include "components/logic/truth_check.h"

#include "algo/platform.h"
#include "components/logic/truth_check_kernel.h"
#include "engine/catalogue.h"
#include "engine/property_sheet.h"

namespace zor2 {

namespace {

constexpr CPortTemplate kResult[] = {{10, "Result", kDataOnOff, 0}};
constexpr CPortTemplate kInverted[] = {{10, "Inverted Val", kDataOnOff, 0}};
constexpr CPortTemplate kExorInputs[] = {{10, "Input1"}, {20, "Input2"}};
constexpr CPortTemplate kInvertInput[] = {{10, "Input to Invert"}};

std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelTruthCheck>();
}

constexpr CPropertyProfile kSheet{"Component Properties - Logic Gate"};

constexpr CComponentType kTypes[] = {
    {kTruthAllTrue, {}, kResult, -1, 1, Create, &kSheet},
    {kTruthAnyTrue, {}, kResult, -1, 1, Create, &kSheet},
    {kTruthAllFalse, {}, kResult, -1, 1, Create, &kSheet},
    {kTruthAnyFalse, {}, kResult, -1, 1, Create, &kSheet},
    {kTruthExclusiveOr, kExorInputs, kResult, 2, 1, Create, &kSheet},
    {kTruthInvert, kInvertInput, kInverted, 1, 1, Create, &kSheet},
};

}  // namespace

std::span<const CComponentType> TruthCheckComponentTypes() {
    return kTypes;
}

void CModelTruthCheck::GetInputValues() {
    for (CModelInput* in : m_inputs) {
        PullInput(*in);
        in->m_text.SetText(IsTrue(in->m_value) ? "1" : "0");
    }
}

void CModelTruthCheck::Execute() {
    CTruthAccumulator gate(m_typeId);
    for (const CModelInput* in : m_inputs) gate.Add(in->m_value);
    const bool r = gate.Result();
    if (CModelOutput* out = FirstOutput()) {
        out->m_value = r ? 1.0 : 0.0;
        out->m_text.SetText(r ? "1" : "0");
    }
    if (const char* line = TruthTraceLine(m_typeId)) Trace("%s", line);
}

}  // namespace zor2
