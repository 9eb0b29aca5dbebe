// The Pattern Sequencer (type 85): plays the timed actions of the sequence
// whose trigger value arrives on "Pattern Number" on its outputs.
#pragma once

#include <string>
#include <vector>

#include "components/decision/action_sequence_kernel.h"
#include "engine/component.h"

namespace zor2 {

class CModelActionSequence : public CNetworkModel {
  public:
    const char* ClassName() const override { return "CModelActionSequence"; }
    /// Loading drops the actions whose output does not exist and says so.
    void Serialize(CArchive& ar) override;
    void GetInputValues() override;
    void Execute() override;
    /// No sequence runs, every output 0, every sequence back to its start.
    void ResetValues() override;
    void ExportRuntime(CByteWriter& w) const override;
    std::string RuntimeExportNote() const override;
    /// The actions that targeted a removed output go, in every sequence.
    void OnOutputRemoved(int32_t outputId) override;

    CActionSequencer& Sequencer() { return m_sequencer; }
    const CActionSequencer& Sequencer() const { return m_sequencer; }
    bool Enabled() const { return m_enabled; }
    /// The milliseconds of one cycle at the system's rate, as a whole number
    /// (the timeline's column width in time).
    double TimelineCycleMs() const;

    // Edits, as the sequence pane makes them.
    /// A sequence with the smallest trigger above the sequence count that no
    /// sequence uses, named "Seq %d" after its fresh id. "Pattern Number" shows
    /// the trigger and the new sequence becomes the running one.
    CActionSequence& NewSequence();
    /// A new output "Output %d" (the count after the add), Double, 2 decimals.
    CModelOutput* NewOutput();
    /// An "On" action of value 1 with a fresh id; the length follows.
    CAction& AddAction(CActionSequence& sequence, int32_t outputId, double start, double duration);
    /// Deletes the actions on `outputId` in every sequence; returns how many.
    int32_t ClearOutputEvents(int32_t outputId);
    /// The actions of `sequence` that target `outputId`.
    static int32_t EventCount(const CActionSequence& sequence, int32_t outputId);

  private:
    CActionSequencer m_sequencer;
    bool m_enabled = false;
};

}  // namespace zor2
