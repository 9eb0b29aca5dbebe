// The neural network's commands ("Modify Neural Network", its context menu and
// its vectors pane): structure, feature vectors, learning and its parameters,
// the texts of the vectors pane, and the refusal of edits while a network learns.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "designer/command_host.h"
#include "designer/commands_common.h"

namespace zor2 {

class Czor2Doc;
class CLoadDataWizard;
class CModelNeuralNetwork;

/// The Neural Network selected in the module view, or null.
CModelNeuralNetwork* SelectedNeuralNetwork(const Czor2Doc& doc);
/// The network the vectors pane shows: the learning one, else the selected one.
CModelNeuralNetwork* PaneNeuralNetwork(const Czor2Doc& doc);

// --- while a network learns -------------------------------------------------------
/// Whether command `id` may not run while a network learns; when so the user is
/// told why. Only the view's own options, the panes, printing, "Stop Learning"
/// and the commands that close the project (they stop the run first) may run.
bool RefusedWhileLearning(Czor2Doc& doc, int id);
/// The same for an edit that no command row carries (a gesture, a dialog).
bool RefusedWhileLearning(Czor2Doc& doc);

// --- feature vectors ----------------------------------------------------------------
/// "Import New": asks before replacing existing vectors, runs the "Load Data
/// Wizard" through the host, then imports the file it chose.
ECmd ImportNewVectors(CCommandContext& ctx);
/// The import of a finished wizard: the network is rebuilt from its file.
ECmd ImportVectorsFromWizard(Czor2Doc& doc, CLoadDataWizard& wizard);
/// "Import Additional Vectors" of the pane, after its file dialog.
ECmd ImportAdditionalVectors(Czor2Doc& doc, const std::string& path);
/// "Delete Selected": the vectors selected in the pane's list.
ECmd DeleteSelectedVectors(Czor2Doc& doc);
/// "Delete All Scenarios", after its question.
ECmd DeleteAllVectors(Czor2Doc& doc);
/// Rows of the pane's list selected by the user (no edit, no undo level).
void SelectVectors(Czor2Doc& doc, std::vector<size_t> rows);

// --- structure ------------------------------------------------------------------------
/// "Add Input" and "Add Output" ask first when vectors exist; "Add Processor" does not.
ECmd AddNetworkInput(Czor2Doc& doc);
ECmd AddNetworkOutput(Czor2Doc& doc);
ECmd AddNetworkProcessor(Czor2Doc& doc);

// --- learning ---------------------------------------------------------------------------
/// "Start Learning" (and "Learn Patterns", the pane's "Learn"): a run on the
/// worker thread; refused without vectors or while the simulator runs.
ECmd StartLearning(CCommandContext& ctx);
/// "Stop Learning": ends the run; the learned weights are one undo level.
ECmd StopLearning(Czor2Doc& doc);
/// "Erase Knowledge": with `ask`, a network holding learned vectors asks first.
ECmd EraseKnowledge(Czor2Doc& doc, bool ask);

/// The learning parameters edited in the ribbon ("%0.2f" boxes).
enum class ENNParameter { LearnRate, TargetLoser, TargetWinner, Tolerance };
/// Text that is out of range or not a number is refused without a word.
ECmd SetNNParameter(Czor2Doc& doc, ENNParameter which, const std::string& text);
std::string NNParameterText(const CModelNeuralNetwork& network, ENNParameter which);
ECmd ToggleMaxSeparation(Czor2Doc& doc);
ECmd ToggleShowOutputNames(Czor2Doc& doc);

// --- the vectors pane -------------------------------------------------------------------
/// The values beside "Iterations:", "Total Vectors:", "Learned:" and "Learn Time:";
/// safe to read while the network learns.
struct CNNPaneFields {
    std::string iterations, totalVectors, learned, learnTime;
};
CNNPaneFields NNPaneFields(const CModelNeuralNetwork& network);
/// The list's column titles and one row per vector (not while the network learns).
std::vector<std::string> NNVectorColumns(const CModelNeuralNetwork& network);
std::vector<std::string> NNVectorRow(const CModelNeuralNetwork& network, size_t vector);

}  // namespace zor2
