// CNetwork, the module: a container of components with its own inputs and
// outputs; it orders its components by stage, runs them and publishes its
// outputs, and owns every wiring rule inside it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/component.h"
#include "engine/object.h"
#include "engine/ports.h"

namespace zor2 {

class CSystem;
class CModelTemplate;

/// Refusal codes of connect requests inside a module.
enum EConnectRefusal : int32_t {
    kConnectOk = 0,
    kRefuseSenderFull = 100,
    kRefuseReceiverFull = 200,
    kRefuseCircular = 300,
    kRefuseFeedbackToFeedback = 350,
    kRefuseInputBusy = 400,
    kRefuseModuleOutputBusy = 500,
    kRefuseDuplicateModuleInput = 600,
    kRefuseDuplicateOutput = 800,
    kRefuseNeedsArray = 900,
    kRefuseNotArray = 1000,
    kRefuseNoId = 1100,  // no free id left in a list of 31999 members
};

/// The exact message of a refusal code.
const char* RefusalMessage(int32_t code);

/// An editor annotation point of a module.
struct CTiePoint {
    int32_t id = 0;
    int32_t value = 0;
    CRect rect;
    std::string text;
};

/// Tie points of a module, saved with it.
struct CTiePointManager {
    bool flag = false;
    int32_t settings[4] = {0, 0, 0, 0};
    std::vector<CTiePoint> points;
};

class CNetwork : public CObject {
  public:
    CNetwork();
    ~CNetwork() override;
    CNetwork(const CNetwork&) = delete;
    CNetwork& operator=(const CNetwork&) = delete;

    // Creation.
    /// The factory: constructs the type's class with its defaults, gives it
    /// `id` (0 draws one), name, position, owner. Null when the type is not
    /// known (nothing is added) or no id is left.
    CNetworkModel* CreateComponent(int32_t typeId, int32_t id, const std::string& name, int32_t x, int32_t y,
                                   const CModelTemplate* tmpl = nullptr);
    /// The palette drop: "M%d %s", template ports, one input/execute pass,
    /// stages, and the change recorded. Null when the type is not known.
    CNetworkModel* DropComponent(int32_t typeId, int32_t x, int32_t y);
    CNetworkInput* CreateInput(const std::string& name);
    CNetworkOutput* CreateOutput(const std::string& name);
    /// Removes every connection touching the component, then destroys it.
    void DeleteComponent(CNetworkModel* component);

    // Execution.
    void ComputeStages();
    void PullModuleInputs();
    void ExecuteModule();
    void UpdateModuleOutputs();
    void ResetModule();
    /// True when `target` feeds `component` through component connections
    /// that do not pass a Feedback Flow component (bounded search).
    bool IsUpstream(const CNetworkModel* target, const CNetworkModel* component) const;

    // Connect checks: 0 or the refusal code. A null port means "a new one".
    int32_t CheckOutputToInput(const CNetworkModel& src, const CModelOutput* out, const CNetworkModel& dst,
                               const CModelInput* in) const;
    int32_t CheckModuleInputToInput(const CNetworkInput& moduleInput, const CNetworkModel& dst,
                                    const CModelInput* in) const;
    int32_t CheckOutputToModuleOutput(const CNetworkModel& src, const CModelOutput* out,
                                      const CNetworkOutput& moduleOutput) const;

    // Connect requests as the editor makes them: checks; on refusal the
    // message goes on top of "System Build Feedback" with a beep and nothing
    // changes; on success the connection is made and the module refreshed.
    // Return 0 or the refusal code; `made` receives the new connection.
    int32_t RequestConnect(CNetworkModel& src, CModelOutput* out, CNetworkModel& dst, CModelInput* in,
                           CModelConnection** made = nullptr);
    int32_t RequestConnectModuleInput(CNetworkInput& moduleInput, CNetworkModel& dst, CModelInput* in,
                                      CModelConnection** made = nullptr);
    int32_t RequestConnectToModuleOutput(CNetworkModel& src, CModelOutput* out, CNetworkOutput& moduleOutput,
                                         CModelConnection** made = nullptr);

    // Connect operations without checks. Null only when no id is left.
    CModelConnection* ConnectOutputToInput(CModelOutput& out, CModelInput& in);
    CModelConnection* ConnectModuleInputToInput(CNetworkInput& moduleInput, CModelInput& in);
    CModelConnection* ConnectOutputToModuleOutput(CModelOutput& out, CNetworkOutput& moduleOutput);
    /// Stages, the system's levels, one ExecuteModule, time and counters to 0.
    void RefreshAfterConnect();

    // Expose operations; each records its change. Return how many inputs were exposed.
    int32_t ExposeInput(CNetworkModel& component);
    int32_t ExposeAllInputs(CNetworkModel& component);
    int32_t ExposeAllInputsReconnect(CNetworkModel& component);

    // Disconnect operations.
    int32_t RemoveOutputConnections(CModelOutput& out);
    /// Removes the connection feeding one input and clears the input.
    void RemoveInputConnection(CModelInput& in);
    int32_t RemoveInputConnections(CNetworkModel& component);
    int32_t RemoveModuleInputConnections(CNetworkInput& moduleInput);
    /// Removes the connection feeding a module output.
    void RemoveModuleOutputSource(CNetworkOutput& moduleOutput);
    int32_t RemoveAddedInputs(CNetworkModel& component);

    /// Lays out the module box (editor geometry).
    void LayoutBox();
    /// Resolves the connection references of the whole module from their ids
    /// (after loading), with id maps so it stays linear.
    void RebuildReferences();
    /// Whether modules run their components' compiled steps (on by default);
    /// off, every component runs through its own operations. For checks that
    /// both ways give the same.
    static void UseCompiledSteps(bool on);
    /// Drops the cached execution order; the next pass rebuilds it.
    void InvalidateOrder() { m_orderDirty = true; }

    CSystem* System() const { return m_owner; }
    CNetworkModel* FindComponent(int32_t id) const { return m_components.Find(id); }

    std::string m_name;
    CPoint m_position;
    CObList<CNetworkModel> m_components;
    CObList<CNetworkInput> m_inputs;
    CObList<CNetworkOutput> m_outputs;
    CRefList<CNetworkModel> m_selectedComponents;
    CRefList<CNetworkInput> m_selectedInputs;
    CRefList<CNetworkOutput> m_selectedOutputs;
    CTiePointManager m_tiePoints;
    bool m_display1 = true;
    CRect m_boxRect;  // editor
    int32_t m_saved1 = 0;
    int32_t m_saved2 = 0;
    bool m_collapsedInputs = false;
    bool m_collapsedOutputs = false;
    int32_t m_level = 0;
    std::string m_description;
    int32_t m_boxWidth = 170;
    int32_t m_minBoxHeight = 120;
    int32_t m_currentStage = 1;
    CSystem* m_owner = nullptr;
    int32_t m_minPortColumnHeight = 50;
    bool m_display2 = true;
    bool m_display3 = true;
    std::string m_thirdText;

  private:
    void BuildOrder();
    /// Asks every component of the order and every Feedback Flow for its compiled step.
    void CompileSteps();
    /// Runs the steps in order (compiled ones only while `compiled`), noting a
    /// component's stage as current when `staged`; false when a component
    /// changed the wiring on the way (the rest then ran through their own operations).
    bool RunSteps(const std::vector<CCycleStep>& steps, bool compiled, bool staged);
    void Refuse(int32_t code) const;
    void Relabel(CModelInput& in, const CModelOutput& out) const;
    int32_t ExposeOne(CNetworkModel& component, CModelInput& in, bool markArrays);

    std::vector<CNetworkModel*> m_order;     // non-feedback components by stage, module order within a stage
    std::vector<CNetworkModel*> m_feedback;  // Feedback Flow components in module order
    bool m_orderDirty = true;
    std::vector<CCycleStep> m_steps;          // one per member of m_order
    std::vector<CCycleStep> m_feedbackSteps;  // one per member of m_feedback
    /// Where each Feedback Flow's first output pushes its held value at the
    /// start of a pass (while the component is primed); compiled with the steps.
    struct CFeedbackPush {
        const bool* unprimed;
        const double* held;
        double* input;
    };
    std::vector<CFeedbackPush> m_pushes;
    uint64_t m_stepsGeneration = 0;  // the wiring the steps were compiled for; 0: none
    bool m_stepsCompiled = false;    // whether they were compiled or all run through
};

}  // namespace zor2
