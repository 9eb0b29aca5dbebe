// CNetworkModel: the base of every component, with its fields, its virtual
// operations in slot order and the common input pull.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "components/decision/feedback_kernel.h"
#include "engine/cycle_step.h"
#include "engine/object.h"
#include "engine/ports.h"

namespace zor2 {

class CArchive;
class CByteWriter;
class CNetwork;
class CSystem;
struct CFeedback;

class CNetworkModel : public CObject {
  public:
    CNetworkModel();
    ~CNetworkModel() override;
    CNetworkModel(const CNetworkModel&) = delete;
    CNetworkModel& operator=(const CNetworkModel&) = delete;

    // Virtual operations, in slot order.
    virtual const char* ClassName() const { return "CNetworkModel"; }
    virtual void Serialize(CArchive& ar);
    virtual void SetPosition(int32_t x, int32_t y);
    virtual void CalcSize();
    virtual void GetInputValues();
    virtual void Execute();
    virtual CModelInput* AddInput(int32_t id);
    virtual CModelOutput* AddOutput(int32_t id);
    virtual void ClearPortSelection();
    virtual void ResetValues();
    virtual void ExportRuntime(CByteWriter& w) const;
    /// A line for "System Build Feedback" when the runtime file cannot carry one
    /// of this component's settings; empty when it can. Asked by the export.
    virtual std::string RuntimeExportNote() const { return {}; }
    /// Why the runtime file cannot hold this component as it stands (a setting
    /// longer than its fixed field), naming it; empty when it can. The export
    /// is refused rather than writing a cut value.
    virtual std::string RuntimeExportRefusal() const { return {}; }
    /// Settings of this type that its project record cannot carry. Undo
    /// snapshots keep them so that stepping back through unrelated edits does
    /// not reset them; false (nothing moved) for a type without such settings.
    virtual bool UnsavedSettings(CArchive& ar) {
        (void)ar;
        return false;
    }
    /// Lines drawn under the component's box while the view option "Helper
    /// Text" is on; none by default.
    virtual std::vector<std::string> HelperText() const { return {}; }
    /// Whether this component plays a sound that the simulation silences when a
    /// run stops or pauses; by default what its type's traits say.
    virtual bool PlaysSound() const;
    /// Called after inputs or outputs were removed from the component (an edit,
    /// or a connect request taking back the port it made).
    virtual void PortsRemoved() {}
    /// Whether the box names its outputs even while the view's option is off.
    virtual bool ShowsOutputNames() const { return false; }
    /// Called before one of its outputs is deleted, so that what the type keeps
    /// about that output (decisions, timed actions) goes with it.
    virtual void OnOutputRemoved(int32_t outputId) { (void)outputId; }
    /// Fills `step` with a compiled form of this component's GetInputValues and
    /// Execute for the wiring as it stands (the module compiles again after any
    /// wiring change), or returns false to run through those operations.
    virtual bool CompileStep(CCycleStep& step) {
        (void)step;
        return false;
    }

    /// Reads or writes the base part of the component record.
    void SerializeBase(CArchive& ar);
    /// Writes the component base record of the runtime file.
    void ExportRuntimeBase(CByteWriter& w) const;

    bool IsFeedback() const { return m_typeId == kTypeFeedbackFlow; }
    CModelInput* FindInput(int32_t id) const { return m_inputs.Find(id); }
    CModelOutput* FindOutput(int32_t id) const { return m_outputs.Find(id); }
    CModelInput* FirstInput() const { return m_inputs.Head(); }
    CModelInput* LastInput() const { return m_inputs.Tail(); }
    CModelOutput* FirstOutput() const { return m_outputs.Head(); }
    CModelOutput* LastOutput() const { return m_outputs.Tail(); }
    bool InputsFull() const {
        return m_maxInputs >= 0 && static_cast<int32_t>(m_inputs.Size()) >= m_maxInputs;
    }
    bool OutputsFull() const {
        return m_maxOutputs >= 0 && static_cast<int32_t>(m_outputs.Size()) >= m_maxOutputs;
    }
    /// Number of connections leaving all outputs.
    int32_t CountConnectionsOut() const;
    bool HasConnectionsOut() const { return CountConnectionsOut() > 0; }

    /// The common pull of one input: with a source, copy the module input's
    /// value (kind 4) or the source output's consumer value (kind 3). Returns
    /// true when the input has a source. With `skipArraySources`, an input fed
    /// through a module input whose source is an array keeps its value.
    static bool PullInput(CModelInput& input, bool skipArraySources = false);
    /// The value a connected input's source delivers now (0 without a source).
    static double SourceValue(const CModelInput& input);
    /// Whether the input's cached source pointer holds (an array-skipping pull
    /// of a module input always walks, since that test follows the running system).
    static bool CachedSourceHolds(const CModelInput& input, bool skipArraySources = false) {
        return input.m_cachedGeneration == WiringGeneration() &&
               !(skipArraySources && input.m_sourceKind == kSourceModuleInput);
    }

    // Services reached through the owning module and system (process defaults
    // when the component is not in a system).
    CSystem* System() const;
    IRandomSource& Random() const;
    IClock& Clock() const;
    /// PullInput and SourceValue along the connection, caching the source.
    static bool PullInputWalk(CModelInput& input, bool skipArraySources);
    static double SourceValueWalk(const CModelInput& input);
    /// What a cached source delivers (ConsumerValue's rule).
    static double CachedSourceValue(const CModelInput& input);

    /// Appends the base trace line of `phase` ("GetInputValues" or "Execute",
    /// a string literal) at the top of "System Execution Feedback".
    void TraceExecution(const char* phase) const;

    // What every cycle reads and writes comes first, on the first cache line
    // (the flag fills the identity block's padding).
    /// Set while a Feedback Flow component has not executed since its last
    /// reset: its consumers then read 0 from it.
    bool m_unprimed = false;
    double m_value = 0.0;
    int32_t m_typeId = 0;
    int32_t m_stage = 0;
    CNetwork* m_owner = nullptr;
    CObList<CModelInput> m_inputs;
    CObList<CModelOutput> m_outputs;

    std::string m_name;
    CRect m_box;
    CRect m_inputsRect;   // editor: input column
    CRect m_outputsRect;  // editor: output column
    CRefList<CModelInput> m_selectedInputs;
    CRefList<CModelOutput> m_selectedOutputs;
    CPoint m_position;
    bool m_singleInputSlot = false;
    int32_t m_maxInputs = -1;
    int32_t m_maxOutputs = -1;
    int32_t m_connectionsOut = 0;
    int32_t m_portSpacing = 14;
    int32_t m_portHeight = 12;
    int32_t m_portWidth = 48;
    int32_t m_portOffset = 24;
    std::string m_description;
    int32_t m_imageIndex = 0;
    double m_tolerance = 0.00001;
    int32_t m_graphicId = 0;
    void* m_graphic = nullptr;  // editor graphic resolved from the graphic id
    int32_t m_paramInt = 0;
    double m_paramDouble = 0.0;
    std::string m_thirdText;
    bool m_displayA = false;
    bool m_displayB = false;
    bool m_displayC = true;
};

/// Component connection records (seven int32), alone or as a counted list.
void SerializeConnection(CArchive& ar, CModelConnection& c);
void SerializeConnectionList(CArchive& ar, CObList<CModelConnection>& list);

inline double CModelOutput::ConsumerValue() const {
    return (m_owner && m_owner->m_unprimed) ? 0.0 : m_value;
}

inline bool CCycleStep::FedBackUnprimed(int k) const {
    return *in[k]->m_cachedUnprimed;
}

inline double CNetworkModel::CachedSourceValue(const CModelInput& in) {
    return (in.m_cachedUnprimed && *in.m_cachedUnprimed) ? 0.0 : *in.m_cachedSource;
}

inline bool CNetworkModel::PullInput(CModelInput& in, bool skipArraySources) {
    if (CachedSourceHolds(in, skipArraySources)) {
        in.m_value = CachedSourceValue(in);
        return true;
    }
    return PullInputWalk(in, skipArraySources);
}

inline double CNetworkModel::SourceValue(const CModelInput& in) {
    return CachedSourceHolds(in) ? CachedSourceValue(in) : SourceValueWalk(in);
}

}  // namespace zor2
