// Runtime component base (CRNetworkModel), its ports and the connections inside
// a module, plus the row type of the runtime component registry.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "algo/bytes.h"
#include "algo/runtime_records.h"

namespace zor2 {

class CRNetwork;
class CRNetworkModel;
class IClock;
class IRandomSource;
class CRPlan;
struct CRModelInput;
struct CRModelOutput;
struct CRNetworkInput;
struct CRNetworkOutput;

/// Source kinds of component inputs and module ports.
enum ERSourceKind : int32_t {
    kSourceNone = 0,
    kSourceModuleOutput = 1,  // module input fed by another module's output
    kSourceSystemInput = 2,   // module input fed by a system input
    kSourceComponent = 3,     // component input fed by a component output
    kSourceModulePort = 4,    // module input -> component input, or component output -> module output
};

inline constexpr int32_t kDataTypeArray = 1;

/// A connection inside a module: component output to component input (kind 3),
/// module input to component input or component output to module output (kind 4).
struct CRModelConnection {
    int32_t m_id = 0;
    int32_t m_kind = 0;
    int32_t m_sourceComponentId = 0;
    int32_t m_destComponentId = 0;
    int32_t m_sourceOutputId = 0;
    int32_t m_destInputId = 0;
    int32_t m_modulePortId = 0;
    // Rebuilt from the ids after loading; null when an id names nothing.
    CRNetworkModel* m_sourceComponent = nullptr;
    CRNetworkModel* m_destComponent = nullptr;
    CRModelOutput* m_sourceOutput = nullptr;
    CRModelInput* m_destInput = nullptr;
    CRNetworkInput* m_moduleInput = nullptr;
    CRNetworkOutput* m_moduleOutput = nullptr;
};

/// Takes the ids of a connection record of either form.
template <class Record>
void TakeConnectionIds(CRModelConnection& c, const Record& r) {
    c.m_id = r.m_id;
    c.m_kind = r.m_kind;
    c.m_sourceComponentId = r.m_sourceComponentId;
    c.m_destComponentId = r.m_destComponentId;
    c.m_sourceOutputId = r.m_sourceOutputId;
    c.m_destInputId = r.m_destInputId;
    c.m_modulePortId = r.m_modulePortId;
}

/// Component input.
struct CRModelInput {
    int32_t m_id = 0;
    int32_t m_sourceConnectionId = 0;
    int32_t m_sourceKind = kSourceNone;
    CRModelConnection* m_sourceConnection = nullptr;
    double m_value = 0.0;
    // The value this input pulls, resolved once at load (a component output's
    // value or a module input's value); null when the input has no live source.
    const double* m_source = nullptr;

    bool HasSource() const { return m_source != nullptr; }
    /// The common pull: copies the source value; without a source the value stays.
    void Pull() {
        if (m_source) m_value = *m_source;
    }
    /// Follows the feed to array data: a component output's array, or through a
    /// module input to a system input's or module output's array. False when none.
    bool SourceArray(const double*& data, int32_t& count) const;
};

/// Component output; it owns the connections that leave it.
struct CRModelOutput {
    int32_t m_id = 0;
    int32_t m_dataType = 0;
    double m_value = 0.0;
    std::vector<CRModelConnection> m_connections;
    double* m_arrayData = nullptr;  // owned by the producing component
    int32_t m_arrayCount = 0;
    double m_spareValue = 0.0;  // an array output keeps its smallest element here
    double m_heldValue = 0.0;   // an array output keeps its largest element here
};

/// Runtime component: identity, type, base fields and ports. Subclasses add
/// their state and override the cycle operations.
class CRNetworkModel {
  public:
    explicit CRNetworkModel(int32_t typeId) : m_type(typeId) {}
    virtual ~CRNetworkModel() = default;
    CRNetworkModel(const CRNetworkModel&) = delete;
    CRNetworkModel& operator=(const CRNetworkModel&) = delete;

    /// Deletes all inputs and outputs (and the connections the outputs hold).
    virtual void DeletePorts();
    /// Input phase of one cycle. The base does nothing.
    virtual int32_t GetInputValues() { return 0; }
    /// Reads the record body written by the designer's ExportRuntime and returns
    /// `offset` advanced by the bytes read. A failed read leaves `in` failed.
    virtual size_t ReadRuntime(CByteReader& in, size_t offset);
    /// Output phase of one cycle. The base does nothing.
    virtual int32_t Execute() { return 0; }
    /// Adds this component's work to its module's plan, once after loading. The
    /// base adds a step that calls GetInputValues and Execute.
    virtual void Compile(CRPlan& plan);

    CRModelInput* FirstInput() { return m_inputs.empty() ? nullptr : &m_inputs.front(); }
    CRModelOutput* FirstOutput() { return m_outputs.empty() ? nullptr : &m_outputs.front(); }
    /// First input with this id (ids below 1 never match); for use at load time.
    CRModelInput* FindInput(int32_t id);
    /// The random source and clock of the system this component belongs to.
    IRandomSource& Random() const;
    IClock& Clock() const;

    int32_t m_id = 0;
    int32_t m_nodeKind = 4;
    int32_t m_type;
    double m_value = 0.0;
    double m_tolerance = 0.00001;
    int32_t m_stage = 0;
    std::vector<CRModelInput> m_inputs;
    std::vector<CRModelOutput> m_outputs;
    CRNetwork* m_owner = nullptr;

  protected:
    /// Reads the component base record (value, tolerance, stage, ports).
    bool ReadBase(CByteReader& in);
};

/// One row of the runtime registry: a type id and how to create its class.
struct CRuntimeType {
    int32_t typeId;
    /// Null for a type that runs only in the designer: the loader refuses it by name.
    std::unique_ptr<CRNetworkModel> (*create)(int32_t typeId);
};

/// The constructor of a runtime row whose class is T.
template <class T>
std::unique_ptr<CRNetworkModel> CreateRuntimeAs(int32_t typeId) {
    return std::make_unique<T>(typeId);
}

}  // namespace zor2
