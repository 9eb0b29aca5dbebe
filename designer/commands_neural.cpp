// The neural network's commands, the learning gate and the vectors pane's texts.
#include "designer/commands_neural.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unordered_map>

#include "components/decision/neural_network.h"
#include "designer/command_rows.h"
#include "designer/document.h"
#include "designer/load_data_wizard.h"
#include "simulation/sim_controller.h"

namespace zor2 {

namespace {

/// The commands that may run while a network learns: they neither change nor
/// read the network beyond what the window draws, or they stop the run first.
constexpr int kAllowedWhileLearning[] = {
    // Closing the project or the program stops the run first.
    kCmdFileNew, kCmdFileOpen, kCmdNewProject, kCmdOpen, kCmdAppExit, kCmdExit,
    // Printing, help and the program's options.
    kCmdFilePrint, kCmdFilePrintDirect, kCmdFilePrintPreview, kCmdFilePrintSetup, kCmdAppAbout, kCmdWelcome,
    kCmdAppOptions,
    // The window's panes and the view's display options.
    kCmdPaneSystem, kCmdStatusBar, kCmdPaneSimulation, kCmdPaneFeedback, kCmdPaletteLogic, kCmdPaletteMath,
    kCmdPaletteSignals, kCmdPaletteUtility, kCmdPaletteDecision, kCmdPaneNeuralNetwork, kCmdClearFeedbackAll,
    kCmdClearFeedbackSystem, kCmdClearFeedbackExecute, kCmdGridSpacing, kCmdShowGrid, kCmdRestoreColours,
    kCmdConnectorType, kCmdShowInputsBar, kCmdShowOutputsBar, kCmdCenterView, kCmdShowModuleInputs,
    kCmdShowModuleOutputs, kCmdModuleShowValues, kCmdSelectAll, kCmdDesignModule, 32903, 32992, 32989, 32990,
    32991, 32911, 32913, 33117, 33118, 33115, 33116, 33119,
    // The run itself.
    kCmdStopLearning, kCmdUpdateDisplay, kCmdShowOutputNames};

bool Confirm(Czor2Doc& doc, const std::string& question) {
    return doc.Prompter().Ask(question, EButtons::YesNoCancel) == EAnswer::Yes;
}

/// After a change of the network's ports: sizes, stages and the module box.
void Refresh(CModelNeuralNetwork& nn) {
    nn.CalcSize();
    if (nn.m_owner) {
        nn.m_owner->ComputeStages();
        nn.m_owner->LayoutBox();
    }
}

}  // namespace

CModelNeuralNetwork* SelectedNeuralNetwork(const Czor2Doc& doc) {
    const CSystem& s = doc.System();
    if (!doc.Editor().DesignedModule(s)) return nullptr;
    return dynamic_cast<CModelNeuralNetwork*>(doc.Editor().SelectedComponent(s));
}

CModelNeuralNetwork* PaneNeuralNetwork(const Czor2Doc& doc) {
    if (CModelNeuralNetwork* learning = doc.Learning().Network()) return learning;
    return SelectedNeuralNetwork(doc);
}

// --- while a network learns ---------------------------------------------------------

bool RefusedWhileLearning(Czor2Doc& doc, int id) {
    if (!doc.Learning().Running()) return false;
    if (std::ranges::find(kAllowedWhileLearning, id) != std::end(kAllowedWhileLearning)) return false;
    return RefusedWhileLearning(doc);
}

bool RefusedWhileLearning(Czor2Doc& doc) {
    const CModelNeuralNetwork* nn = doc.Learning().Network();
    if (!nn) return false;
    doc.Prompter().Tell(LearningRefusal(*nn));
    return true;
}

// --- feature vectors ------------------------------------------------------------------

ECmd ImportNewVectors(CCommandContext& ctx) {
    CModelNeuralNetwork* nn = SelectedNeuralNetwork(ctx.doc);
    if (!nn) return ECmd::Unavailable;
    const size_t vectors = nn->Network().m_vectors.size();
    if (vectors > 0 &&
        !Confirm(
            ctx.doc,
            Fmt("This neural network component already has %d vectors. If you continue, these vectors will be replaced and the neural network will be restructured to support the new vectors. Do you want to continue?",
                static_cast<int>(vectors))))
        return ECmd::Cancelled;
    CLoadDataWizard wizard;
    if (!ctx.host.RunLoadDataWizard(wizard)) return ECmd::Cancelled;
    return ImportVectorsFromWizard(ctx.doc, wizard);
}

ECmd ImportVectorsFromWizard(Czor2Doc& doc, CLoadDataWizard& wizard) {
    CModelNeuralNetwork* nn = SelectedNeuralNetwork(doc);
    const CWizardResult& r = wizard.Result();
    if (!nn || !wizard.Finished() || !r.fileChosen || !wizard.DataFile()) return ECmd::Unavailable;
    CNNImportLayout layout;
    layout.headerRow = r.hasHeaderRow;
    // The first column names the vector; a second column of names stands before the features.
    layout.nameColumn = r.noNameColumn ? -1 : 0;
    layout.firstFeature = (r.noNameColumn ? 0 : 1) + (r.secondColumnVectorNames ? 1 : 0);
    wizard.DataFile()->Rewind();
    std::string error;
    if (nn->ImportNew(*wizard.DataFile(), layout, error) < 0) {
        doc.Prompter().Tell(error);
        return ECmd::Refused;
    }
    Refresh(*nn);
    doc.Editor().Prune(doc.System());
    doc.RecordChange("");
    return ECmd::Done;
}

ECmd ImportAdditionalVectors(Czor2Doc& doc, const std::string& path) {
    CModelNeuralNetwork* nn = SelectedNeuralNetwork(doc);
    if (!nn || path.empty()) return ECmd::Unavailable;
    CCSVFile file;
    if (!file.Open(path, ECsvMode::Read)) {
        doc.Prompter().Tell(file.Error());
        return ECmd::Refused;
    }
    int32_t skipped = 0;
    const int32_t added = nn->ImportAdditional(file, skipped);
    if (skipped > 0)
        doc.System().BuildFeedback(Fmt("Skipped %d rows of %s whose target names no output of %s",
                                       static_cast<int>(skipped), path.c_str(), nn->m_name.c_str()));
    doc.RecordChange(Fmt("Imported %d additional vectors to %s from file: %s\n", static_cast<int>(added),
                         nn->m_name.c_str(), path.c_str()));
    return ECmd::Done;
}

ECmd DeleteSelectedVectors(Czor2Doc& doc) {
    CModelNeuralNetwork* nn = SelectedNeuralNetwork(doc);
    if (!nn || nn->m_selectedVectors.empty()) return ECmd::Unavailable;
    nn->DeleteSelectedVectors();
    doc.RecordChange("");
    return ECmd::Done;
}

ECmd DeleteAllVectors(Czor2Doc& doc) {
    CModelNeuralNetwork* nn = SelectedNeuralNetwork(doc);
    if (!nn || nn->Network().m_vectors.empty()) return ECmd::Unavailable;
    if (!Confirm(
            doc,
            "Are you sure you want to delete all feature vectors for this neural network? No change to the structure of the neural network will be made if so. Continue?"))
        return ECmd::Cancelled;
    nn->DeleteAllVectors();
    Refresh(*nn);
    doc.RecordChange("");
    return ECmd::Done;
}

void SelectVectors(Czor2Doc& doc, std::vector<size_t> rows) {
    CModelNeuralNetwork* nn = PaneNeuralNetwork(doc);
    if (!nn) return;
    const size_t count = nn->Network().m_vectors.size();
    std::erase_if(rows, [count](size_t i) { return i >= count; });
    nn->m_selectedVectors = std::move(rows);
}

// --- structure --------------------------------------------------------------------------

namespace {

/// "Add Input" and "Add Output": a beep when the ports are full; with vectors, the question first.
template <bool kInput>
ECmd AddNetworkPort(Czor2Doc& doc) {
    CModelNeuralNetwork* nn = SelectedNeuralNetwork(doc);
    if (!nn) return ECmd::Unavailable;
    if (kInput ? nn->InputsFull() : nn->OutputsFull()) {
        doc.Prompter().Beep();
        return ECmd::Refused;
    }
    const int vectors = static_cast<int>(nn->Network().m_vectors.size());
    const std::string question =
        kInput
            ? Fmt("This Neural Network has %d existing feature vectors. If you add an input, these feature vectors will be modified to support the new feature. Any vectors learned will likely need to be re-learned. Continue?",
                  vectors)
            : Fmt("This Neural Network has %d existing feature vectors. If you add a new output, these feature vectors will be modified to support the new output decision. Any vectors learned will likely need to be re-learned. Continue?",
                  vectors);
    if (vectors > 0 && !Confirm(doc, question)) return ECmd::Cancelled;
    const bool added = kInput ? nn->AddNetworkInput() != nullptr : nn->AddNetworkOutput() != nullptr;
    if (!added) return ECmd::Refused;
    Refresh(*nn);
    doc.RecordChange("");
    return ECmd::Done;
}

}  // namespace

ECmd AddNetworkInput(Czor2Doc& doc) {
    return AddNetworkPort<true>(doc);
}

ECmd AddNetworkOutput(Czor2Doc& doc) {
    return AddNetworkPort<false>(doc);
}

ECmd AddNetworkProcessor(Czor2Doc& doc) {
    CModelNeuralNetwork* nn = SelectedNeuralNetwork(doc);
    if (!nn) return ECmd::Unavailable;
    if (!nn->AddProcessor()) return ECmd::Refused;
    Refresh(*nn);
    doc.RecordChange("");
    return ECmd::Done;
}

// --- learning -------------------------------------------------------------------------------

ECmd StartLearning(CCommandContext& ctx) {
    CModelNeuralNetwork* nn = SelectedNeuralNetwork(ctx.doc);
    if (!nn || nn->Network().m_vectors.empty() || ctx.doc.Learning().Running()) return ECmd::Unavailable;
    if (ctx.sim && ctx.sim->IsActive()) {
        ctx.doc.Prompter().Tell("Please stop the simulator before the neural network learns.");
        return ECmd::Refused;
    }
    return ctx.doc.Learning().Start(*nn) ? ECmd::Done : ECmd::Unavailable;
}

ECmd StopLearning(Czor2Doc& doc) {
    return doc.StopLearning() ? ECmd::Done : ECmd::Unavailable;
}

ECmd EraseKnowledge(Czor2Doc& doc, bool ask) {
    CModelNeuralNetwork* nn = SelectedNeuralNetwork(doc);
    if (!nn) return ECmd::Unavailable;
    const int32_t learned = nn->Trainer().m_progress.learned.load();
    if (ask && learned != 0 &&
        !Confirm(
            doc,
            Fmt("This neural network has %d learned feature vectors. Are you sure you want to erase this knowledge?",
                static_cast<int>(learned))))
        return ECmd::Cancelled;
    nn->EraseKnowledge();
    doc.RecordChange("");
    return ECmd::Done;
}

ECmd SetNNParameter(Czor2Doc& doc, ENNParameter which, const std::string& text) {
    CModelNeuralNetwork* nn = SelectedNeuralNetwork(doc);
    if (!nn) return ECmd::Unavailable;
    // Text that is no number reads as 0, which every range refuses.
    const double v = std::strtod(text.c_str(), nullptr);
    bool accepted = false;
    switch (which) {
        case ENNParameter::LearnRate:
            accepted = nn->SetLearnRate(v);
            break;
        case ENNParameter::TargetLoser:
            accepted = nn->SetTargetLoser(v);
            break;
        case ENNParameter::TargetWinner:
            accepted = nn->SetTargetWinner(v);
            break;
        case ENNParameter::Tolerance:
            accepted = nn->SetTolerance(v);
            break;
    }
    if (!accepted) return ECmd::Refused;
    doc.RecordChange("");
    return ECmd::Done;
}

std::string NNParameterText(const CModelNeuralNetwork& nn, ENNParameter which) {
    const CNNLearnParams& p = nn.Trainer().m_params;
    const double values[] = {p.learnRate, p.targetLoser, p.targetWinner, p.tolerance};
    return Fmt("%0.2f", values[static_cast<size_t>(which)]);
}

ECmd ToggleMaxSeparation(Czor2Doc& doc) {
    CModelNeuralNetwork* nn = SelectedNeuralNetwork(doc);
    if (!nn) return ECmd::Unavailable;
    nn->Trainer().m_params.maxSeparation = !nn->Trainer().m_params.maxSeparation;
    doc.RecordChange("");
    return ECmd::Done;
}

ECmd ToggleShowOutputNames(Czor2Doc& doc) {
    CModelNeuralNetwork* nn = SelectedNeuralNetwork(doc);
    if (!nn) return ECmd::Unavailable;
    // Only the box's layout changes.
    nn->SetShowOutputNames(!nn->ShowsOutputNames());
    return ECmd::Done;
}

// --- the vectors pane ---------------------------------------------------------------------

CNNPaneFields NNPaneFields(const CModelNeuralNetwork& nn) {
    // The counters are the run's atomics, and a run never changes the number of vectors.
    const CNNProgress& p = nn.Trainer().m_progress;
    return {std::to_string(p.iterations.load()), std::to_string(nn.Network().m_vectors.size()),
            std::to_string(p.learned.load()), nn.ElapsedText()};
}

std::vector<std::string> NNVectorColumns(const CModelNeuralNetwork& nn) {
    std::unordered_map<int32_t, const std::string*> names;
    for (const CModelInput* in : nn.m_inputs) names.emplace(in->m_id, &in->m_name);
    std::vector<std::string> columns = {"Name", "Target Output", "Actual Output"};
    for (const CNNSensoryNeuron& s : nn.Network().m_sensory) {
        const auto it = names.find(s.id);
        columns.push_back(it != names.end() ? *it->second : Fmt("ID: %d", static_cast<int>(s.id)));
    }
    return columns;
}

std::vector<std::string> NNVectorRow(const CModelNeuralNetwork& nn, size_t index) {
    const CNN& net = nn.Network();
    if (index >= net.m_vectors.size()) return {};
    const CNNFeatureVector& v = net.m_vectors[index];
    const CModelOutput* target = nn.FindOutput(v.targetId);
    std::vector<std::string> row = {
        v.learned ? v.name + " (L)" : v.name,
        target ? target->m_name : Fmt("ID: %d", static_cast<int>(v.targetId)),
        Fmt(v.learned ? "[%0.3f]" : "%0.3f", v.lastTargetActivation),
    };
    // One cell per sensory neuron, in the order of the columns.
    std::vector<std::string> cells(net.m_sensory.size());
    for (const CNNFeature& f : v.features)
        if (f.sensory >= 0 && static_cast<size_t>(f.sensory) < cells.size())
            cells[static_cast<size_t>(f.sensory)] = Fmt("%0.3f", f.value);
    row.insert(row.end(), cells.begin(), cells.end());
    return row;
}

}  // namespace zor2
