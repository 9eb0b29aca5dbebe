// The runtime system: modules (CRNetwork) with their ports, system inputs and
// outputs, the connections between them, and the flat execution order of a cycle.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "algo/platform.h"
#include "runtime/rt_model.h"
#include "runtime/rt_plan.h"

namespace zor2 {

class CRSystem;
class CRModelFeedback;
struct CRNetworkConnection;
struct CRExternalConnection;
struct CRSystemInput;

/// Module input; it owns the connections from it to component inputs.
struct CRNetworkInput {
    int32_t m_id = 0;
    std::u16string m_name;
    int32_t m_sourceConnectionId = 0;
    int32_t m_sourceKind = kSourceNone;  // 1 another module's output, 2 a system input
    CRNetworkConnection* m_networkConnection = nullptr;
    CRExternalConnection* m_externalConnection = nullptr;
    double m_value = 0.0;
    std::vector<CRModelConnection> m_connections;
    // Resolved at load: the value pulled before the module runs, and where an
    // array feed comes from (one of the two, or neither).
    const double* m_source = nullptr;
    const CRNetworkOutput* m_sourceModuleOutput = nullptr;
    const CRSystemInput* m_sourceSystemInput = nullptr;
};

/// Module output.
struct CRNetworkOutput {
    int32_t m_id = 0;
    std::u16string m_name;
    int32_t m_sourceKind = kSourceNone;
    int32_t m_sourceConnectionId = 0;
    CRModelConnection* m_sourceConnection = nullptr;
    double m_value = 0.0;
    int32_t m_arrayCount = 0;
    double* m_arrayData = nullptr;                  // borrowed from the source component output
    const CRModelOutput* m_sourceOutput = nullptr;  // resolved at load

    bool CarriesArray() const { return m_arrayData != nullptr; }
};

/// Connection from one module's output to another module's input (held by the system).
struct CRNetworkConnection {
    int32_t m_id = 0;
    int32_t m_sourceModuleId = 0;
    int32_t m_destModuleId = 0;
    int32_t m_sourceOutputId = 0;
    int32_t m_destInputId = 0;
    CRNetwork* m_sourceModule = nullptr;
    CRNetwork* m_destModule = nullptr;
    CRNetworkOutput* m_sourceOutput = nullptr;
    CRNetworkInput* m_destInput = nullptr;
};

/// Connection between a system port and a module port.
struct CRExternalConnection {
    int32_t m_id = 0;
    int32_t m_systemPortId = 0;
    int32_t m_moduleId = 0;
    int32_t m_modulePortId = 0;
    CRSystemInput* m_systemInput = nullptr;
    struct CRSystemOutput* m_systemOutput = nullptr;
    CRNetwork* m_module = nullptr;
    CRNetworkInput* m_moduleInput = nullptr;
    CRNetworkOutput* m_moduleOutput = nullptr;
};

/// System input: a value (and optionally a host-owned array) set by the host.
struct CRSystemInput {
    int32_t m_id = 0;
    int32_t m_kind = 0;  // 1 plain, 2 array, 0 never set
    std::u16string m_name;
    double m_value = 0.0;
    std::vector<CRExternalConnection> m_connections;
    double* m_arrayData = nullptr;  // the host's block
    int32_t m_arrayCount = 0;
};

/// System output: copies its module output's value after every cycle.
struct CRSystemOutput {
    int32_t m_id = 0;
    int32_t m_kind = 0;
    std::u16string m_name;
    double m_value = 0.0;
    int32_t m_connectionId = 0;
    bool m_connected = false;
    CRExternalConnection m_connection;

    /// The module output it reads, or null.
    const CRNetworkOutput* Source() const { return m_connected ? m_connection.m_moduleOutput : nullptr; }
    bool ReadsArray() const { return Source() != nullptr && Source()->CarriesArray(); }
};

/// One value copied in every cycle.
struct CRCopy {
    const double* m_from;
    double* m_to;
};

/// Runtime module.
class CRNetwork {
  public:
    int32_t m_id = 0;
    std::u16string m_name;
    int32_t m_level = 0;
    std::vector<CRNetworkInput> m_inputs;
    std::vector<CRNetworkOutput> m_outputs;
    std::vector<std::unique_ptr<CRNetworkModel>> m_components;
    CRSystem* m_owner = nullptr;

    /// Builds the flat execution lists: the plan of the non-feedback components
    /// by stage (list order among equals), then the Feedback Flow components in
    /// list order. Without `compile` every plan step calls through to its component.
    void BuildOrder(bool compile = true);
    /// Pulls the module inputs, runs the components and publishes the module
    /// outputs; `now` is the cycle's tick in milliseconds for its Timers.
    void Execute(uint32_t now = 0);

    const CRPlan& Plan() const { return m_plan; }
    /// The value of one of this module's component outputs as the last cycle left
    /// it: a value the plan publishes lives in the plan's array, not in `out`.
    double OutputValue(const CRModelOutput& out) const { return *m_plan.Resolve(&out.m_value); }

  private:
    /// A primed Feedback Flow's push of its first output's held value into an input it feeds.
    struct CRFeedbackPush {
        const CRModelFeedback* m_feedback;
        const double* m_from;
        double* m_to;
    };

    CRPlan m_plan;
    std::vector<CRModelFeedback*> m_feedback;
    // Resolved once after loading, so a cycle touches no port records.
    std::vector<CRCopy> m_pulls;                   // module inputs from their sources
    std::vector<CRFeedbackPush> m_pushes;          // in Feedback Flow and connection order
    std::vector<CRNetworkOutput*> m_arrayOutputs;  // module outputs fed by array outputs
    std::vector<CRCopy> m_outputValues;            // every fed module output, after the Feedback Flows
};

/// A loaded runtime system, owned by the C interface (the default instance or a handle).
class CRSystem {
  public:
    std::vector<std::unique_ptr<CRNetwork>> m_modules;
    std::vector<CRSystemInput> m_inputs;
    std::vector<CRSystemOutput> m_outputs;
    std::vector<CRNetworkConnection> m_connections;
    double m_simTime = 0.0;    // milliseconds; the library never advances it
    int32_t m_cycleCount = 0;  // read by the Sim Info Count component
    int32_t m_cycleCount2 = 0;
    int32_t m_systemId = 0;
    int32_t m_currentLevel = 1;
    // Where random draws and ticks come from; null means the process-wide defaults,
    // which the default instance keeps using. A handle points them at its own.
    IRandomSource* m_random = nullptr;
    IClock* m_clock = nullptr;

    IRandomSource& Random() const { return m_random ? *m_random : DefaultRandom(); }
    IClock& Clock() const { return m_clock ? *m_clock : DefaultClock(); }

    /// Builds the module order (by level, list order among equals), every
    /// module's plan and the id maps of the system ports. Called once after
    /// loading; `compile` as for CRNetwork::BuildOrder.
    void BuildOrder(bool compile = true);
    /// One cycle over the execution order built at load: no allocation, no lookups.
    void Execute();

    /// First system input or output with this id; null for ids below 1 or unknown ids.
    CRSystemInput* FindInput(int32_t id);
    CRSystemOutput* FindOutput(int32_t id);

  private:
    std::vector<CRNetwork*> m_order;
    bool m_needsTick = false;         // some module's plan holds a Timer
    std::vector<CRCopy> m_published;  // connected system outputs from their module outputs
    std::unordered_map<int32_t, size_t> m_inputIndex;
    std::unordered_map<int32_t, size_t> m_outputIndex;
};

}  // namespace zor2
