// Decision Matrix: type table, enable and value inputs, the selection of the
// output, the saved table and the edits its dialog makes.
#include "components/decision/decision_matrix.h"

#include <algorithm>
#include <cmath>

#include "algo/bytes.h"
#include "components/logic/truth_check_kernel.h"
#include "engine/catalogue.h"
#include "engine/network.h"
#include "engine/property_sheet.h"
#include "engine/system.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {
constexpr CPortTemplate kInputs[] = {{kDecisionEnableInputId, "Enable"},
                                     {kDecisionInput1PortId, "Input 1"},
                                     {kDecisionInput2PortId, "Input 2"}};
constexpr CPortTemplate kOutputs[] = {{kDecisionDefaultOutputId, "Default", kDataYesNo, 0}};
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelDecisionMatrix>();
}
void Initialise(CNetworkModel& c) {
    if (auto* m = dynamic_cast<CModelDecisionMatrix*>(&c)) m->Initialise();
}
bool SkipBody(CByteReader& in) {
    CDecisionMatrix scratch;
    return CDecisionMatrix::Fields(in, scratch);
}
constexpr CPropertyProfile kSheet{"Component Properties - Decision Matrix"};
// Outputs are added in the matrix dialog, which gives them their colour, so the
// generic "Add Output" stays unavailable.
constexpr CComponentType kTypes[] = {{kTypeDecisionMatrix,
                                      kInputs,
                                      kOutputs,
                                      3,
                                      0,
                                      Create,
                                      &kSheet,
                                      {.editor = EComponentEditor::DecisionMatrix},
                                      Initialise,
                                      SkipBody}};

double InputValue(const CNetworkModel& c, int32_t portId) {
    const CModelInput* in = c.FindInput(portId);
    return in ? in->m_value : 0.0;
}
}  // namespace

std::span<const CComponentType> DecisionMatrixComponentTypes() {
    return kTypes;
}

int32_t CModelDecisionMatrix::NewId() const {
    return IdFromDraw(Random().Next15() & 0x7FFF);
}

void CModelDecisionMatrix::Initialise() {
    m_matrix.m_moduleId = m_owner ? m_owner->m_id : 0;
    m_matrix.m_componentId = m_id;
    m_matrix.Initialise([this] { return NewId(); });
}

void CModelDecisionMatrix::Serialize(CArchive& ar) {
    SerializeBase(ar);
    ar.Bool(m_enabled);
    CDecisionMatrix::Fields(ar, m_matrix);
    if (!ar.IsLoading() || ar.Failed()) return;
    m_matrix.Link();
    // A damaged file may hold thresholds out of order, which the segments'
    // ranges cannot express: they are sorted and the user is told.
    for (int which : m_matrix.SortLoadedInputs()) {
        if (CSystem* s = System())
            s->BuildFeedback("Decision matrix " + m_name + ": the thresholds of Input " +
                             std::to_string(which) + " were stored out of order and have been sorted.");
    }
}

void CModelDecisionMatrix::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    CDecisionMatrix::Fields(w, m_matrix);
}

void CModelDecisionMatrix::GetInputValues() {
    if (CModelInput* enable = FirstInput()) {
        m_enabled = !enable->HasSource() || IsTrue(SourceValue(*enable));
        enable->m_value = m_enabled ? 1.0 : 0.0;
        enable->m_text.SetText(m_enabled ? "On" : "Off");
    }
    for (int32_t portId : {kDecisionInput1PortId, kDecisionInput2PortId}) {
        CModelInput* in = FindInput(portId);
        if (!in) continue;
        if (!PullInput(*in)) in->m_value = 0.0;
        in->m_text.SetNumber("%0.2f", in->m_value);
    }
    m_value = InputValue(*this, kDecisionInput2PortId);
}

void CModelDecisionMatrix::Execute() {
    for (CModelOutput* out : m_outputs) out->SetValue(0.0);
    if (!m_enabled) return;
    const int32_t d =
        m_matrix.Select(InputValue(*this, kDecisionInput1PortId), InputValue(*this, kDecisionInput2PortId));
    if (d < 0) return;
    if (CModelOutput* out = FindOutput(m_matrix.m_decisions[static_cast<size_t>(d)].m_outputId))
        out->SetValue(1.0);
}

std::vector<std::string> CModelDecisionMatrix::HelperText() const {
    return {"Input1 Segments: " + std::to_string(m_matrix.m_input1.m_segments.size()),
            "Input2 Segments: " + std::to_string(m_matrix.m_input2.m_segments.size()),
            "Output decisions: " + std::to_string(m_outputs.Size())};
}

void CModelDecisionMatrix::OnOutputRemoved(int32_t outputId) {
    for (CDecision& d : m_matrix.m_decisions)
        if (d.m_outputId == outputId) d.m_outputId = kDecisionDefaultOutputId;
}

// --- edits ----------------------------------------------------------------------

void CModelDecisionMatrix::RebuildAfterThresholdChange(int which) {
    m_matrix.Input(which).RebuildSegments();
    m_matrix.RebuildDecisions([this] { return NewId(); });
}

bool CModelDecisionMatrix::AddThreshold(int which, double value) {
    CDecisionInput& in = m_matrix.Input(which);
    if (!std::isfinite(value) || in.Crowded(value)) return false;
    in.m_thresholds.push_back({.m_id = DrawFreeRecordId(Random(), in.m_thresholds), .m_value = value});
    RebuildAfterThresholdChange(which);
    return true;
}

bool CModelDecisionMatrix::SetThreshold(int which, int32_t thresholdId, double value) {
    CDecisionInput& in = m_matrix.Input(which);
    auto it = std::find_if(in.m_thresholds.begin(), in.m_thresholds.end(),
                           [thresholdId](const auto& t) { return t.m_id == thresholdId; });
    // The closeness test includes the edited threshold, as the dialog's does.
    if (it == in.m_thresholds.end() || !std::isfinite(value) || in.Crowded(value)) return false;
    it->m_value = value;
    RebuildAfterThresholdChange(which);
    return true;
}

bool CModelDecisionMatrix::DeleteThreshold(int which, int32_t thresholdId) {
    CDecisionInput& in = m_matrix.Input(which);
    if (std::erase_if(in.m_thresholds, [thresholdId](const auto& t) { return t.m_id == thresholdId; }) == 0)
        return false;
    RebuildAfterThresholdChange(which);
    return true;
}

bool CModelDecisionMatrix::DeleteAllThresholds(int which) {
    CDecisionInput& in = m_matrix.Input(which);
    if (in.m_thresholds.empty()) return false;
    in.m_thresholds.clear();
    RebuildAfterThresholdChange(which);
    return true;
}

int32_t CModelDecisionMatrix::AssignDecisions(const std::vector<CDecisionCell>& cells, int32_t outputId) {
    if (!FindOutput(outputId)) return 0;
    int32_t changed = 0;
    for (const CDecisionCell& cell : cells) {
        const int32_t d = m_matrix.DecisionAt(cell.first, cell.second);
        if (d < 0) continue;
        int32_t& target = m_matrix.m_decisions[static_cast<size_t>(d)].m_outputId;
        if (target == outputId) continue;
        target = outputId;
        ++changed;
    }
    return changed;
}

bool CModelDecisionMatrix::ResetDecisions() {
    bool changed = false;
    for (CDecision& d : m_matrix.m_decisions) {
        changed = changed || d.m_outputId != kDecisionDefaultOutputId;
        d.m_outputId = kDecisionDefaultOutputId;
    }
    return changed;
}

std::string CModelDecisionMatrix::NextOutputName() const {
    return "Output " + std::to_string(m_outputs.Size());
}

CModelOutput* CModelDecisionMatrix::AddDecisionOutput(const std::string& name, int32_t colour) {
    CModelOutput* out = AddOutput(0);
    if (!out) return nullptr;
    out->m_name = name;
    out->m_dataType = kDataYesNo;
    out->m_decimals = 0;
    out->m_colour = colour;
    out->SetValue(0.0);
    return out;
}

}  // namespace zor2
