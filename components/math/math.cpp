// Arithmetic family: type table and the designer's input and execute phases.
#include "components/math/math.h"

#include "components/math/math_kernel.h"
#include "engine/catalogue.h"
#include "engine/property_sheet.h"

namespace zor2 {

namespace {

constexpr CPortTemplate kResult[] = {{10, "Result", kDataDouble, 2}};
constexpr CPortTemplate kQuotient[] = {{10, "Quotient", kDataDouble, 2}};
constexpr CPortTemplate kMin[] = {{10, "Result (min)", kDataDouble, 2}};
constexpr CPortTemplate kMax[] = {{10, "Result (max)", kDataDouble, 2}};
constexpr CPortTemplate kRevSign[] = {{10, "Result (revsign)", kDataDouble, 2}};
constexpr CPortTemplate kInRange[] = {{10, "Result (in range?)", kDataYesNo, 0}};
constexpr CPortTemplate kDivideInputs[] = {{10, "Dividend"}, {20, "Divisor"}};
constexpr CPortTemplate kValueInput[] = {{10, "Input Value"}};
constexpr CPortTemplate kRangeInputs[] = {{10, "Input Value"}, {20, "Min"}, {30, "Max"}};

std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelMath>();
}

constexpr CComponentType kTypes[] = {
    {kMathAdd, {}, kResult, -1, 1, Create},
    {kMathSubtract, {}, kResult, -1, 1, Create},
    {kMathMultiply, {}, kResult, -1, 1, Create},
    {kMathDivide, kDivideInputs, kQuotient, 2, 1, Create},
    // The four later operations have no property dialog.
    {kMathGetMin, {}, kMin, -1, 1, Create, &kNoPropertyDialog},
    {kMathGetMax, {}, kMax, -1, 1, Create, &kNoPropertyDialog},
    {kMathReverseSign, kValueInput, kRevSign, 1, 1, Create, &kNoPropertyDialog},
    {kMathRangeCheck, kRangeInputs, kInRange, 3, 1, Create, &kNoPropertyDialog},
};

/// Add, Get Min and Get Max leave array-fed inputs as they were.
bool SkipsArrayInputs(int32_t type) {
    return type == kMathAdd || type == kMathGetMin || type == kMathGetMax;
}

const char* InputFormat(int32_t type) {
    return (type == kMathGetMin || type == kMathGetMax) ? "%.3f" : "%.2f";
}

void ShowReverseSignInput(CModelInput& in) {
    if (in.m_value == 0.0)
        in.m_text.SetStatic("-");
    else
        in.m_text.SetNumber("%.3f", in.m_value);
}

// Compiled steps: the input and execute phases over the step's ports, one
// function per operation so that the fold's switch is decided at compile time.
template <int32_t Type>
void RunFoldStep(const CCycleStep& s) {
    CMathAccumulator acc(Type);
    for (int k = 0; k < s.inputs; ++k) {
        const double v = s.Read(k);
        CModelInput& in = *s.in[k];
        in.m_value = v;
        acc.Add(v);
        in.m_text.SetNumber(InputFormat(Type), v);
    }
    s.component->m_value = acc.Result();
    if (s.out) s.out->SetValue(s.component->m_value);
}

void RunReverseSignStep(const CCycleStep& s) {
    double r = 0.0;
    if (s.inputs > 0) {
        CModelInput& in = *s.in[0];
        in.m_value = s.Connected(0) ? s.Read(0) : 0.0;
        if (s.Connected(0)) r = -in.m_value;
        ShowReverseSignInput(in);
    }
    s.component->m_value = r;
    if (s.out) s.out->SetValue(r);
}

CCycleStep::FRun StepOf(int32_t type) {
    switch (type) {
        case kMathAdd:
            return RunFoldStep<kMathAdd>;
        case kMathSubtract:
            return RunFoldStep<kMathSubtract>;
        case kMathMultiply:
            return RunFoldStep<kMathMultiply>;
        case kMathDivide:
            return RunFoldStep<kMathDivide>;
        case kMathGetMin:
            return RunFoldStep<kMathGetMin>;
        case kMathGetMax:
            return RunFoldStep<kMathGetMax>;
        case kMathReverseSign:
            return RunReverseSignStep;
        default:
            return nullptr;  // Range Check reads its inputs by id, with defaults
    }
}

}  // namespace

std::span<const CComponentType> MathComponentTypes() {
    return kTypes;
}

void CModelMath::GetInputValues() {
    m_value = 0.0;
    switch (m_typeId) {
        case kMathReverseSign: {
            CModelInput* in = FirstInput();
            if (!in) break;
            if (PullInput(*in)) {
                m_value = -in->m_value;
            } else {
                in->m_value = 0.0;
            }
            ShowReverseSignInput(*in);
            break;
        }
        case kMathRangeCheck: {
            double v[3];
            for (int k = 0; k < 3; ++k) {
                v[k] = kRangeCheckDefaults[k];
                CModelInput* in = FindInput(10 * (k + 1));
                if (!in) continue;
                // An array-fed or unconnected input reads as its default.
                const CNetworkInput* m = in->SourceModuleInput();
                if (in->HasSource() && !(m && m->HasArraySource())) {
                    PullInput(*in);
                    v[k] = in->m_value;
                } else {
                    in->m_value = v[k];
                }
                in->m_text.SetNumber("%.3f", in->m_value);
            }
            m_value = MathRangeCheck(v[0], v[1], v[2]);
            break;
        }
        default: {
            const bool skipArrays = SkipsArrayInputs(m_typeId);
            const char* format = InputFormat(m_typeId);
            CMathAccumulator acc(m_typeId);
            for (CModelInput* in : m_inputs) {
                PullInput(*in, skipArrays);
                acc.Add(in->m_value);
                in->m_text.SetNumber(format, in->m_value);
            }
            m_value = acc.Result();
            break;
        }
    }
}

void CModelMath::Execute() {
    if (CModelOutput* out = FirstOutput()) out->SetValue(m_value);
}

bool CModelMath::CompileStep(CCycleStep& step) {
    if (!BindStepPorts(step, *this, kStepInputs,
                       SkipsArrayInputs(m_typeId) ? EModuleInputs::Refused : EModuleInputs::Allowed))
        return false;
    step.run = StepOf(m_typeId);
    return step.run != nullptr;
}

}  // namespace zor2
