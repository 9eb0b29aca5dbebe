// The Neural Network component (type 1): a CNN whose sensory neurons serve the
// component's inputs and whose output neurons drive its outputs, with the
// feature vectors it learns from and the designer's structure and vector edits.
#pragma once

#include <string>
#include <vector>

#include "components/decision/neural_network_kernel.h"
#include "engine/component.h"

namespace zor2 {

class CCSVFile;

/// Where the columns of a feature-vector file stand.
struct CNNImportLayout {
    bool headerRow = true;     // the first row names the features
    int32_t nameColumn = 0;    // the column of the vector names; -1: the target cell names the vector
    int32_t firstFeature = 1;  // the first feature column; the last column holds the target output
};

class CModelNeuralNetwork : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelNeuralNetwork"; }
    /// Base part, learn rate, network record with the vectors. A network whose
    /// connections name missing neurons fails the load, naming the component.
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    /// Every input and output comes with its neuron; a new input also gives
    /// every vector a feature holding the input's value.
    CModelInput* AddInput(int32_t id) override;
    CModelOutput* AddOutput(int32_t id) override;
    void ExportRuntime(CByteWriter& w) const override;
    /// Target values, tolerance, max separation and the two display flags.
    bool UnsavedSettings(CArchive& ar) override;
    /// The network keeps the neurons of the remaining ports only.
    void PortsRemoved() override;
    std::vector<std::string> HelperText() const override;
    bool ShowsOutputNames() const override { return m_showOutputNames; }

    CNN& Network() { return m_nn; }
    const CNN& Network() const { return m_nn; }
    CNNTrainer& Trainer() { return m_trainer; }
    const CNNTrainer& Trainer() const { return m_trainer; }

    // --- structure (ribbon "Structure") -----------------------------------------
    /// "Add Input": an input named "Input %d" with its sensory neuron, one
    /// feature per vector, then the vectors are evaluated. Null when full.
    CModelInput* AddNetworkInput();
    /// "Add Output": an output named "Output %d" with its output neuron.
    CModelOutput* AddNetworkOutput();
    /// "Add Processor": a processor connected from every sensory neuron; the
    /// vectors are evaluated. False when no id is left.
    bool AddProcessor();

    // --- feature vectors ---------------------------------------------------------
    /// Import New from `file` at its start: the ports and the network are
    /// replaced by the file's features and targets. Returns the vectors made;
    /// -1 (nothing changed) with `error` set when the file has no feature column.
    int32_t ImportNew(CCSVFile& file, const CNNImportLayout& layout, std::string& error);
    /// "Import Additional Vectors": rows appended as vectors of the existing
    /// inputs and outputs; returns the number added. Columns naming no input are
    /// ignored and rows whose target names no output are skipped (`skipped`).
    int32_t ImportAdditional(CCSVFile& file, int32_t& skipped);
    /// Removes the vectors at the selected rows (or all), clears the selection
    /// and evaluates again.
    void DeleteSelectedVectors();
    void DeleteAllVectors();
    /// New random weights, the vectors evaluated, the counters restarted.
    void EraseKnowledge();

    // --- learning ----------------------------------------------------------------
    /// The vectors evaluated with the inputs' current sources, the unconnected
    /// inputs left holding the last vector's values.
    int32_t EvaluateVectors();
    /// Before a run: the sources' values are taken once, the separation phase
    /// set and the counters restarted. The run then calls LearnPass only.
    void BeginLearning();
    /// One learning pass; runs on the worker thread and touches the network,
    /// its vectors and its counters, nothing else of the component.
    int32_t LearnPass();
    /// After a run: the unconnected inputs show the last vector's values.
    void EndLearning();
    /// "%dm : %ds" of the elapsed learning time.
    std::string ElapsedText() const;

    // --- settings ----------------------------------------------------------------
    /// "Learn Rate", "Target Loser Output", "Target Winner Output", "Tolerance":
    /// false (nothing changed) for a value out of range.
    bool SetLearnRate(double v);
    bool SetTargetLoser(double v);
    bool SetTargetWinner(double v);
    bool SetTolerance(double v);
    /// "Show 0's and 1": the outputs are rewritten at once in the chosen form.
    void SetShowZeroOne(bool on);
    bool ShowZeroOne() const { return m_showZeroOne; }
    void SetShowOutputNames(bool on);

    /// Rows of the vector list selected by the user (not saved).
    std::vector<size_t> m_selectedVectors;
    /// Set by the designer while a learning run owns the network; the box then
    /// shows `m_elapsedText`, which the window's timer keeps up to date.
    bool m_learning = false;
    std::string m_elapsedText = "00:00";

  private:
    /// Rebuilds the input and output of every neuron (after any change of ports).
    void MapPorts();
    /// The sources' values into the sensory neurons; connected inputs are held.
    void TakeInputs();
    /// The raw values of the unheld sensory neurons back into their inputs.
    void PublishInputs();
    void WriteOutputs();
    /// Removes every port with its connections, charts and value windows.
    void DiscardPorts();
    /// The output named `name` (without regard to case), or null.
    CModelOutput* OutputNamed(const std::string& name) const;

    CNN m_nn;
    CNNTrainer m_trainer;
    bool m_showZeroOne = false;
    bool m_showOutputNames = false;
    std::vector<CModelInput*> m_inputOf;    // per sensory neuron
    std::vector<CModelOutput*> m_outputOf;  // per output neuron
};

}  // namespace zor2
