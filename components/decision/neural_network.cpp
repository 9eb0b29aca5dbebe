// Neural Network: type table, property sheet, ports with their neurons, cycle,
// records, structure edits, feature-vector import and the learning hooks.
#include "components/decision/neural_network.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <unordered_map>

#include "algo/bytes.h"
#include "engine/catalogue.h"
#include "engine/network.h"
#include "engine/property_sheet.h"
#include "engine/system.h"
#include "persistence/archive.h"
#include "persistence/csv_file.h"

namespace zor2 {

namespace {

std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelNeuralNetwork>();
}

void ReadSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* nn = dynamic_cast<const CModelNeuralNetwork*>(&c);
    if (!nn) return;
    sheet.Add(prop::Check("showZeroOne", "Show 0's and 1", nn->ShowZeroOne()));
    sheet.Add(prop::Note(
        "explain",
        "Check the box to set outputs to zero for all but the highest output. Leave unchecked to reveal actual computed values."));
}

std::string ApplySheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* nn = dynamic_cast<CModelNeuralNetwork*>(&c);
    if (nn && sheet.Changed("showZeroOne")) nn->SetShowZeroOne(sheet.Find("showZeroOne")->checked);
    return {};
}

constexpr CPropertyProfile kSheet{"Neural Network Properties", ReadSheet, nullptr, ApplySheet};

/// Reads past a runtime body (the file summary walks records it does not show).
bool SkipRuntimeBody(CByteReader& in) {
    CNN scratch;
    CNNRuntimeReader ar(in);
    NetworkRecord<false>(ar, scratch);
    return !in.Failed();
}

constexpr CComponentType kTypes[] = {
    {kTypeNeuralNetwork,
     {},
     {},
     -1,
     -1,
     Create,
     &kSheet,
     CTypeTraits{.menu = EComponentMenu::NeuralNetwork},
     nullptr,
     SkipRuntimeBody},
};

std::string Lower(std::string text) {
    for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}

double Decimal(const std::string& cell) {
    return std::strtod(cell.c_str(), nullptr);
}

std::string Format(const char* format, auto... args) {
    char text[1024];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

/// CArchive moves the strings of the project record; the network record reads
/// them through this name.
struct CProjectArchive {
    CArchive& ar;
    bool IsLoading() const { return ar.IsLoading(); }
    void I32(int32_t& v) { ar.I32(v); }
    void F64(double& v) { ar.F64(v); }
    void Bool(bool& v) { ar.Bool(v); }
    void Str(std::string& v) { ar.Str(v); }
    bool CheckCount(int32_t n, size_t minBytes, const char* what) { return ar.CheckCount(n, minBytes, what); }
    bool Failed() const { return ar.Failed(); }
};

}  // namespace

std::span<const CComponentType> NeuralNetworkComponentTypes() {
    return kTypes;
}

// --- ports and neurons --------------------------------------------------------------

void CModelNeuralNetwork::MapPorts() {
    std::unordered_map<int32_t, CModelInput*> inputs;
    std::unordered_map<int32_t, CModelOutput*> outputs;
    for (CModelInput* in : m_inputs) inputs.emplace(in->m_id, in);
    for (CModelOutput* out : m_outputs) outputs.emplace(out->m_id, out);
    m_inputOf.assign(m_nn.m_sensory.size(), nullptr);
    m_outputOf.assign(m_nn.m_outputs.size(), nullptr);
    for (size_t i = 0; i < m_nn.m_sensory.size(); ++i)
        if (auto it = inputs.find(m_nn.m_sensory[i].id); it != inputs.end()) m_inputOf[i] = it->second;
    for (size_t i = 0; i < m_nn.m_outputs.size(); ++i)
        if (auto it = outputs.find(m_nn.m_outputs[i].id); it != outputs.end()) m_outputOf[i] = it->second;
}

CModelInput* CModelNeuralNetwork::AddInput(int32_t id) {
    CModelInput* in = CNetworkModel::AddInput(id);
    if (!in) return nullptr;
    CNNSensoryNeuron& s = m_nn.AddSensory(in->m_id);
    const int32_t index = static_cast<int32_t>(m_nn.m_sensory.size() - 1);
    for (CNNFeatureVector& v : m_nn.m_vectors) {
        v.features.push_back({in->m_id, {}, in->m_value, index});
        s.Widen(in->m_value);
    }
    m_inputOf.push_back(in);
    return in;
}

CModelOutput* CModelNeuralNetwork::AddOutput(int32_t id) {
    CModelOutput* out = CNetworkModel::AddOutput(id);
    if (!out) return nullptr;
    out->m_dataType = kDataNeuralNode;
    out->m_decimals = 3;
    m_nn.AddOutput(out->m_id);
    m_outputOf.push_back(out);
    return out;
}

void CModelNeuralNetwork::PortsRemoved() {
    std::vector<int32_t> inputs, outputs;
    for (const CModelInput* in : m_inputs) inputs.push_back(in->m_id);
    for (const CModelOutput* out : m_outputs) outputs.push_back(out->m_id);
    m_nn.Retain(inputs, outputs);
    m_selectedVectors.clear();
    MapPorts();
    if (!m_nn.m_vectors.empty()) EvaluateVectors();
}

// --- the cycle ------------------------------------------------------------------------

void CModelNeuralNetwork::GetInputValues() {
    if (m_inputOf.size() != m_nn.m_sensory.size()) MapPorts();
    for (size_t i = 0; i < m_inputOf.size(); ++i) {
        CModelInput* in = m_inputOf[i];
        if (!in) continue;
        PullInput(*in);
        in->m_text.SetNumber("%g", in->m_value);
        m_nn.m_sensory[i].raw = in->m_value;
    }
}

void CModelNeuralNetwork::Execute() {
    m_nn.RunNetwork();
    WriteOutputs();
}

void CModelNeuralNetwork::WriteOutputs() {
    if (m_outputOf.size() != m_nn.m_outputs.size()) MapPorts();
    for (size_t i = 0; i < m_outputOf.size(); ++i) {
        CModelOutput* out = m_outputOf[i];
        if (!out) continue;
        const CNNOutputNeuron& n = m_nn.m_outputs[i];
        if (m_showZeroOne) {
            out->m_value = n.winner ? 1.0 : 0.0;
            out->m_text.SetText(n.winner ? "1" : "0");
        } else {
            out->m_value = n.activation;
            out->m_text.SetNumber(n.winner ? "[%.2f]" : "%.3f", n.activation);
        }
    }
}

// --- records ----------------------------------------------------------------------------

void CModelNeuralNetwork::Serialize(CArchive& ar) {
    SerializeBase(ar);
    ar.F64(m_trainer.m_params.learnRate);
    CProjectArchive project{ar};
    NetworkRecord<true>(project, m_nn);
    if (!ar.IsLoading() || ar.Failed()) return;
    std::string error;
    if (!m_nn.ResolveReferences(error)) {
        ar.Fail("neural network component \"" + m_name + "\" is damaged: " + error);
        return;
    }
    m_selectedVectors.clear();
    MapPorts();
}

void CModelNeuralNetwork::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    CNNRuntimeWriter ar(w);
    // The writer only reads the network.
    NetworkRecord<false>(ar, const_cast<CNN&>(m_nn));
}

bool CModelNeuralNetwork::UnsavedSettings(CArchive& ar) {
    CNNLearnParams p = m_trainer.m_params;
    bool showZeroOne = m_showZeroOne, showNames = m_showOutputNames;
    ar.F64(p.targetWinner);
    ar.F64(p.targetLoser);
    ar.F64(p.tolerance);
    ar.Bool(p.maxSeparation);
    ar.Bool(showZeroOne);
    ar.Bool(showNames);
    if (ar.IsLoading() && !ar.Failed()) {
        m_trainer.m_params = p;
        m_showZeroOne = showZeroOne;
        m_showOutputNames = showNames;
    }
    return true;
}

std::vector<std::string> CModelNeuralNetwork::HelperText() const {
    const int inputs = static_cast<int>(m_inputs.Size()), outputs = static_cast<int>(m_outputs.Size());
    const int processors = static_cast<int>(m_nn.m_processors.size());
    std::vector<std::string> lines;
    lines.push_back(inputs ? Format("%d inputs", inputs) : "No inputs yet...");
    lines.push_back(outputs ? Format("%d outputs", outputs) : "No outputs yet... (rt clk to import vectors)");
    if (processors > 0)
        lines.push_back(
            Format(m_trainer.m_separationPhase ? "%d processors (+)" : "%d processors (-)", processors));
    if (m_learning) lines.push_back(m_elapsedText);
    return lines;
}

// --- structure --------------------------------------------------------------------------

CModelInput* CModelNeuralNetwork::AddNetworkInput() {
    if (InputsFull()) return nullptr;
    CModelInput* in = AddInput(0);
    if (!in) return nullptr;
    in->m_name = Format("Input %d", static_cast<int>(m_inputs.Size()));
    CalcSize();
    if (!m_nn.m_vectors.empty()) EvaluateVectors();
    return in;
}

CModelOutput* CModelNeuralNetwork::AddNetworkOutput() {
    if (OutputsFull()) return nullptr;
    CModelOutput* out = AddOutput(0);
    if (!out) return nullptr;
    out->m_name = Format("Output %d", static_cast<int>(m_outputs.Size()));
    CalcSize();
    return out;
}

bool CModelNeuralNetwork::AddProcessor() {
    if (!m_nn.AddProcessor(Random())) return false;
    CalcSize();
    EvaluateVectors();
    return true;
}

// --- feature vectors ----------------------------------------------------------------------

void CModelNeuralNetwork::DiscardPorts() {
    CSystem* system = System();
    for (CModelInput* in : m_inputs)
        if (m_owner && in->HasSource()) m_owner->RemoveInputConnection(*in);
    for (CModelOutput* out : m_outputs) {
        if (system) system->DeleteOutputViews(nullptr, nullptr, out);
        if (m_owner) m_owner->RemoveOutputConnections(*out);
    }
    ClearPortSelection();
    m_inputs.Clear();
    m_outputs.Clear();
    m_inputOf.clear();
    m_outputOf.clear();
    m_nn.Clear();
    m_selectedVectors.clear();
}

CModelOutput* CModelNeuralNetwork::OutputNamed(const std::string& name) const {
    const std::string wanted = Lower(name);
    for (CModelOutput* out : m_outputs)
        if (Lower(out->m_name) == wanted) return out;
    return nullptr;
}

int32_t CModelNeuralNetwork::ImportNew(CCSVFile& file, const CNNImportLayout& layout, std::string& error) {
    std::vector<std::string> row;
    // Empty lines give no fields and hold nothing.
    auto next = [&file, &row] {
        while (file.ReadLine(row))
            if (!row.empty()) return true;
        return false;
    };
    if (!next()) row.clear();
    const int32_t fc = std::max(0, layout.firstFeature);
    const int32_t last = static_cast<int32_t>(row.size()) - 1;  // the target column
    if (last <= fc) {
        error = Format(
            "Cannot import the file %s: its first row has %d columns, but a feature vector needs %d leading columns, at least one feature and the target output.",
            file.Path().c_str(), static_cast<int>(row.size()), static_cast<int>(fc));
        return -1;
    }
    CSystem* system = System();
    auto feedback = [system](const std::string& line) {
        if (system) system->BuildFeedback(line);
    };
    feedback(Format("About to import data from file: %s\n", file.Path().c_str()));
    DiscardPorts();
    m_maxInputs = -1;
    m_maxOutputs = -1;
    // Input ids are the column indexes, so that more vectors of the same layout find their inputs.
    for (int32_t c = fc; c < last; ++c) {
        CModelInput* in = AddInput(c);
        if (!in) continue;
        in->m_name = layout.headerRow ? row[static_cast<size_t>(c)]
                                      : Format("Input %d", static_cast<int>(m_inputs.Size()));
        feedback(Format("Created NN input: %s from column: %d", in->m_name.c_str(), static_cast<int>(c)));
    }
    m_maxInputs = static_cast<int32_t>(m_inputs.Size());
    feedback(Format("Set max number of NN inputs: %d", static_cast<int>(m_maxInputs)));

    std::unordered_map<std::string, CModelOutput*> outputs;
    int32_t skipped = 0;
    bool pending = !layout.headerRow;  // without a header the first row is a vector
    while (pending || next()) {
        pending = false;
        if (static_cast<int32_t>(row.size()) <= last) {
            ++skipped;
            continue;
        }
        CNNFeatureVector v;
        const std::string& targetName = row[static_cast<size_t>(last)];
        v.name = layout.nameColumn >= 0 && layout.nameColumn < fc
                     ? row[static_cast<size_t>(layout.nameColumn)]
                     : targetName;
        v.features.reserve(static_cast<size_t>(last - fc));
        for (int32_t c = fc; c < last; ++c) {
            const int32_t index = c - fc;  // the inputs were made in column order
            const double value = Decimal(row[static_cast<size_t>(c)]);
            v.features.push_back({c, {}, value, index});
            m_nn.m_sensory[static_cast<size_t>(index)].Widen(value);
        }
        CModelOutput*& out = outputs[Lower(targetName)];
        if (!out) {
            out = AddOutput(0);
            if (!out) {
                ++skipped;
                continue;
            }
            out->m_name = targetName;
        }
        v.targetId = out->m_id;
        v.target = m_nn.FindOutput(out->m_id);
        v.lastWinnerId = 0;
        m_nn.m_vectors.push_back(std::move(v));
        feedback(Format("Added NN vector %d: %s, with target output: %s",
                        static_cast<int>(m_nn.m_vectors.size()), m_nn.m_vectors.back().name.c_str(),
                        out->m_name.c_str()));
    }
    if (skipped > 0)
        feedback(Format("Skipped %d rows of %s that hold fewer than %d columns", static_cast<int>(skipped),
                        file.Path().c_str(), static_cast<int>(last + 1)));
    m_maxOutputs = static_cast<int32_t>(m_outputs.Size());
    m_nn.Restructure(Random());
    CalcSize();
    CNNTrainer::FixZeroRanges(m_nn);
    EvaluateVectors();
    feedback(Format("Done configuring NN: %s", m_name.c_str()));
    return static_cast<int32_t>(m_nn.m_vectors.size());
}

int32_t CModelNeuralNetwork::ImportAdditional(CCSVFile& file, int32_t& skipped) {
    skipped = 0;
    std::vector<std::string> header, row;
    while (file.ReadLine(header) && header.empty()) {
    }
    const size_t width = header.size();
    int32_t added = 0;
    if (width >= 2) {
        // Columns 1 .. width-2 feed the inputs whose ids are their indexes.
        std::vector<std::pair<size_t, int32_t>> columns;
        for (size_t c = 1; c + 1 < width; ++c) {
            const int32_t index = m_nn.FindSensory(static_cast<int32_t>(c));
            if (index >= 0) columns.emplace_back(c, index);
        }
        while (file.ReadLine(row)) {
            if (row.empty()) continue;
            const CModelOutput* target = row.size() >= width ? OutputNamed(row[width - 1]) : nullptr;
            if (!target) {
                ++skipped;
                continue;
            }
            CNNFeatureVector v;
            v.name = row[0];
            for (const auto& [c, index] : columns)
                v.features.push_back({static_cast<int32_t>(c), {}, Decimal(row[c]), index});
            v.targetId = target->m_id;
            v.target = m_nn.FindOutput(target->m_id);
            m_nn.m_vectors.push_back(std::move(v));
            ++added;
        }
    }
    m_selectedVectors.clear();
    EvaluateVectors();
    return added;
}

void CModelNeuralNetwork::DeleteSelectedVectors() {
    std::vector<bool> drop(m_nn.m_vectors.size(), false);
    for (size_t i : m_selectedVectors)
        if (i < drop.size()) drop[i] = true;
    size_t i = 0;
    std::erase_if(m_nn.m_vectors, [&](const CNNFeatureVector&) { return drop[i++]; });
    m_selectedVectors.clear();
    EvaluateVectors();
}

void CModelNeuralNetwork::DeleteAllVectors() {
    m_selectedVectors.clear();
    m_nn.m_vectors.clear();
    CalcSize();
    EvaluateVectors();
}

void CModelNeuralNetwork::EraseKnowledge() {
    m_nn.RandomizeWeights(Random());
    EvaluateVectors();
    m_trainer.Restart(Clock().TickMs());
}

// --- learning -------------------------------------------------------------------------------

void CModelNeuralNetwork::TakeInputs() {
    if (m_inputOf.size() != m_nn.m_sensory.size()) MapPorts();
    for (size_t i = 0; i < m_inputOf.size(); ++i) {
        CNNSensoryNeuron& s = m_nn.m_sensory[i];
        CModelInput* in = m_inputOf[i];
        s.held = in && PullInput(*in);
        if (in) s.raw = in->m_value;
    }
}

void CModelNeuralNetwork::PublishInputs() {
    for (size_t i = 0; i < m_inputOf.size() && i < m_nn.m_sensory.size(); ++i) {
        CModelInput* in = m_inputOf[i];
        const CNNSensoryNeuron& s = m_nn.m_sensory[i];
        if (!in || s.held) continue;
        in->m_value = s.raw;
        in->m_text.SetNumber("%g", s.raw);
    }
}

int32_t CModelNeuralNetwork::EvaluateVectors() {
    TakeInputs();
    const int32_t r = m_trainer.EvaluateVectors(m_nn);
    PublishInputs();
    return r;
}

void CModelNeuralNetwork::BeginLearning() {
    TakeInputs();
    m_trainer.m_separationPhase = true;
    m_trainer.Restart(Clock().TickMs());
    m_elapsedText = ElapsedText();
}

int32_t CModelNeuralNetwork::LearnPass() {
    return m_trainer.LearnPass(m_nn, Clock(), Random());
}

void CModelNeuralNetwork::EndLearning() {
    PublishInputs();
    m_elapsedText = ElapsedText();
}

std::string CModelNeuralNetwork::ElapsedText() const {
    const uint32_t seconds = m_trainer.m_progress.elapsedMs.load(std::memory_order_relaxed) / 1000u;
    return Format("%um : %us", seconds / 60u, seconds % 60u);
}

// --- settings ------------------------------------------------------------------------------

bool CModelNeuralNetwork::SetLearnRate(double v) {
    if (!(v >= kLearnRateMinimum && v <= kLearnRateMaximum)) return false;
    m_trainer.m_params.learnRate = v;
    return true;
}

bool CModelNeuralNetwork::SetTargetLoser(double v) {
    if (!(v >= kTargetLoserMinimum && v < m_trainer.m_params.targetWinner)) return false;
    m_trainer.m_params.targetLoser = v;
    return true;
}

bool CModelNeuralNetwork::SetTargetWinner(double v) {
    if (!(v > m_trainer.m_params.targetLoser && v <= 1.0)) return false;
    m_trainer.m_params.targetWinner = v;
    return true;
}

bool CModelNeuralNetwork::SetTolerance(double v) {
    if (!(v > kToleranceMinimum && v <= kToleranceMaximum)) return false;
    m_trainer.m_params.tolerance = v;
    return true;
}

void CModelNeuralNetwork::SetShowZeroOne(bool on) {
    m_showZeroOne = on;
    WriteOutputs();
}

void CModelNeuralNetwork::SetShowOutputNames(bool on) {
    m_showOutputNames = on;
    CalcSize();
}

}  // namespace zor2
