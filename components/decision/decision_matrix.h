// The Decision Matrix (type 79): raises the output chosen by the range pair
// that holds the values of "Input 1" and "Input 2", every other output 0.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "components/decision/decision_matrix_kernel.h"
#include "engine/component.h"

namespace zor2 {

/// A cell of the table: the segment positions on input 1 and on input 2.
using CDecisionCell = std::pair<int32_t, int32_t>;

class CModelDecisionMatrix : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelDecisionMatrix"; }
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    void ExportRuntime(CByteWriter& w) const override;
    std::vector<std::string> HelperText() const override;
    /// Decisions that selected a removed output select Default.
    void OnOutputRemoved(int32_t outputId) override;

    /// A new component's table: its module and component ids, one threshold
    /// at 0.0 on each input, four decisions selecting Default.
    void Initialise();

    const CDecisionMatrix& Matrix() const { return m_matrix; }
    bool Enabled() const { return m_enabled; }

    // Edits of the table, as the dialog makes them. Each returns false and
    // changes nothing when refused. Every threshold change sets every decision
    // back to Default.
    /// Refused for a value that is not finite or lies within 0.0001 of a threshold of that input.
    bool AddThreshold(int which, double value);
    /// The same closeness test, the edited threshold included.
    bool SetThreshold(int which, int32_t thresholdId, double value);
    bool DeleteThreshold(int which, int32_t thresholdId);
    /// Refused when the input has no threshold.
    bool DeleteAllThresholds(int which);
    /// Points the cells at `outputId`; returns how many changed (0: refused or nothing to do).
    int32_t AssignDecisions(const std::vector<CDecisionCell>& cells, int32_t outputId);
    /// Every decision to Default; false when every one already selected it.
    bool ResetDecisions();
    /// A new output "Output %d" (the count before the add), Yes/No with 0 decimals.
    CModelOutput* AddDecisionOutput(const std::string& name, int32_t colour);
    /// The name a new output gets.
    std::string NextOutputName() const;

  private:
    /// A random id in 1..31999 (the table keeps its own lists free of repeats).
    int32_t NewId() const;
    void RebuildAfterThresholdChange(int which);

    CDecisionMatrix m_matrix;
    bool m_enabled = true;
};

}  // namespace zor2
