// Vector components: type table, property sheet, input phase, execution and records.
#include "components/math/vector.h"

#include "algo/bytes.h"
#include "engine/catalogue.h"
#include "engine/connections.h"
#include "engine/property_sheet.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {

constexpr CPortTemplate k2DInputs[] = {{10, "Enable"}, {20, "x"}, {30, "y"}};
constexpr CPortTemplate k3DInputs[] = {{10, "Enable"}, {20, "x"}, {30, "y"}, {40, "z"}};
constexpr CPortTemplate k2DPairInputs[] = {{10, "Enable"}, {20, "x1"}, {30, "y1"}, {40, "x2"}, {50, "y2"}};
constexpr CPortTemplate k3DPairInputs[] = {{10, "Enable"}, {20, "x1"}, {30, "y1"}, {40, "z1"},
                                           {50, "x2"},     {60, "y2"}, {70, "z2"}};
constexpr CPortTemplate kMagnitude[] = {{10, "Magnitude (m)", kDataDouble, 2}};
// A component from the palette has operation 3, so the arithmetic types get the vector outputs.
constexpr CPortTemplate k2DOutputs[] = {{10, "x'", kDataDouble, 2}, {20, "y'", kDataDouble, 2}};
constexpr CPortTemplate k3DOutputs[] = {
    {10, "x'", kDataDouble, 2}, {20, "y'", kDataDouble, 2}, {30, "z'", kDataDouble, 2}};

std::unique_ptr<CNetworkModel> Create(int32_t typeId) {
    return std::make_unique<CModelVector2>(typeId);
}

constexpr const char* kOperations[] = {"[ + ] Addition", "[ - ] Subtraction", "[ ^ ] Cross-Product",
                                       "[ * ] Dot-Product"};

void ReadSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* v = dynamic_cast<const CModelVector2*>(&c);
    if (!v) return;
    sheet.Add(prop::Note("operationNote",
                         "Select the operation to perform given the xyz components of two vectors:"));
    // Magnitude and normalise preselect no button.
    const int32_t op = v->Operation();
    CPropField& radio = sheet.Add(prop::Radio("operation", IsVectorArithmetic(op) ? op - kVectorAdd : -1,
                                              {std::begin(kOperations), std::end(kOperations)}));
    if (v->Dimension() == 0) {
        radio.disabledOptions = 1u << (kVectorCross - kVectorAdd);
        sheet.Add(prop::Note(
            "crossNote",
            "For 2D vectors, cross returns z-magnitude, and therefore is disabled here, and provided in different component."));
    }
}

std::string ApplySheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* v = dynamic_cast<CModelVector2*>(&c);
    if (v && sheet.Changed("operation")) v->SetOperation(sheet.Find("operation")->choice + kVectorAdd);
    return {};
}

constexpr CPropertyProfile k2DSheet{"Component Properties - 2D Vector", ReadSheet, nullptr, ApplySheet};
constexpr CPropertyProfile k3DSheet{"Component Properties - 3D Vector", ReadSheet, nullptr, ApplySheet};

constexpr CComponentType kTypes[] = {
    {kTypeVector2DMagnitude, k2DInputs, kMagnitude, 3, 1, Create, &k2DSheet},
    {kTypeVector3DMagnitude, k3DInputs, kMagnitude, 4, 1, Create, &k3DSheet},
    {kTypeVector2DNormalize, k2DInputs, k2DOutputs, 3, 2, Create, &k2DSheet},
    {kTypeVector3DNormalize, k3DInputs, k3DOutputs, 4, 3, Create, &k3DSheet},
    {kTypeVector2DArithmetic, k2DPairInputs, k2DOutputs, 5, 2, Create, &k2DSheet},
    {kTypeVector3DArithmetic, k3DPairInputs, k3DOutputs, 7, 3, Create, &k3DSheet},
};

}  // namespace

std::span<const CComponentType> VectorComponentTypes() {
    return kTypes;
}

CModelVector2::CModelVector2(int32_t typeId) {
    m_fields.dimension = VectorDimension(typeId);
    m_fields.operation = VectorInitialOperation(typeId);
}

void CModelVector2::Serialize(CArchive& ar) {
    SerializeBase(ar);
    VectorFieldList(ar, m_fields);
}

void CModelVector2::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    VectorFieldList(w, m_fields);
}

void CModelVector2::GetInputValues() {
    if (CModelInput* enable = FirstInput()) {
        m_fields.enabled = !enable->HasSource() || SourceValue(*enable) != 0.0;
        // Fed through a module input, the input keeps showing the module input's value.
        if (!enable->HasSource() || enable->m_sourceKind != kSourceModuleInput) {
            enable->m_value = m_fields.enabled ? 1.0 : 0.0;
            enable->m_text.SetText(m_fields.enabled ? "On" : "Off");
        }
    }
    m_ready = false;
    if (!VectorReadsOperands(m_typeId, m_fields.enabled, m_fields.operation)) return;
    bool found = true;
    for (const CVectorOperand& operand : VectorOperands(m_typeId)) {
        CModelInput* in = FindInput(operand.inputId);
        if (!in) {
            found = false;
            continue;
        }
        in->m_value = in->HasSource() ? SourceValue(*in) : 0.0;
        in->m_text.SetNumber("%0.2f", in->m_value);
        StoreVectorOperand(m_operands, m_typeId, operand, in->m_value);
    }
    m_ready = found;
}

void CModelVector2::Execute() {
    if (!m_fields.enabled || !m_ready) return;
    const CVectorResult r = VectorExecute(m_operands, m_typeId, m_fields.operation);
    for (int32_t i = 0; i < r.count; ++i)
        if (CModelOutput* out = FindOutput(r.ids[i])) out->SetValue(r.values[i]);
}

bool CModelVector2::SetOperation(int32_t operation) {
    if (!IsVectorArithmetic(operation)) return false;
    m_fields.operation = operation;
    return true;
}

std::vector<std::string> CModelVector2::HelperText() const {
    const char* process = "";
    switch (m_typeId) {
        case kTypeVector2DMagnitude:
            process = "(2d magnitude)";
            break;
        case kTypeVector3DMagnitude:
            process = "3d magnitude)";
            break;
        case kTypeVector2DNormalize:
            process = "(2d normalized)";
            break;
        case kTypeVector3DNormalize:
            process = "3d normalized)";
            break;
        case kTypeVector2DArithmetic: {
            constexpr const char* k2D[] = {"(2d addition)", "(2d subtraction)", "(2d-cross = imag z mag)",
                                           "(2d dot product)"};
            if (IsVectorArithmetic(m_fields.operation)) process = k2D[m_fields.operation - kVectorAdd];
            break;
        }
        case kTypeVector3DArithmetic: {
            constexpr const char* k3D[] = {"(3d addition)", "(3d subtraction)", "(3d cross product)",
                                           "(3d dot product)"};
            if (IsVectorArithmetic(m_fields.operation)) process = k3D[m_fields.operation - kVectorAdd];
            break;
        }
    }
    return {"Process:", process};
}

}  // namespace zor2
