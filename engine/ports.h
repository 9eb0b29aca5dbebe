// Ports: component inputs and outputs, module inputs and outputs, system
// inputs and outputs with their categories, and the rules by which a port
// takes its value from its source.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/connections.h"
#include "engine/object.h"
#include "engine/value_text.h"

namespace zor2 {

/// Output data types.
inline constexpr int32_t kDataDouble = 0;
inline constexpr int32_t kDataArray = 1;
inline constexpr int32_t kDataInteger = 2;
inline constexpr int32_t kDataOnOff = 3;
inline constexpr int32_t kDataNeuralNode = 4;
inline constexpr int32_t kDataYesNo = 5;

/// The label shown for an output data type.
const char* DataTypeLabel(int32_t dataType);

class alignas(64) CModelInput : public CObject {
  public:
    ~CModelInput() override { NoteWiringChange(); }

    // What the cycle writes comes first: with the object on a cache line of its
    // own, the value and its text share the first line.
    double m_value = 0.0;
    CValueText m_text;
    CModelConnection* m_sourceConnection = nullptr;
    int32_t m_sourceKind = kSourceNone;
    /// The source's value as the last pull found it (a component output or a
    /// module input), valid while the wiring generation is m_cachedGeneration;
    /// saves the walk along the connection. m_cachedUnprimed is the source
    /// component's flag when it is a Feedback Flow (read as 0 while set).
    mutable const double* m_cachedSource = nullptr;
    mutable const bool* m_cachedUnprimed = nullptr;
    mutable uint64_t m_cachedGeneration = 0;
    CNetworkModel* m_owner = nullptr;
    int32_t m_sourceConnectionId = 0;
    CRect m_rect;  // editor
    std::string m_name;
    bool m_template = false;
    void* m_sensoryNeuron = nullptr;  // neural network input neuron
    bool m_arrayInput = false;
    int32_t m_spare = 0;

    bool HasSource() const { return m_sourceConnection != nullptr; }
    std::string ValueString() const { return m_text.Str(); }
    /// Clears the source; a non-template input is named "open".
    void ClearSource();
    /// The component output feeding this input (kind 3), or null.
    CModelOutput* SourceOutput() const;
    /// The module input feeding this input (kind 4), or null.
    CNetworkInput* SourceModuleInput() const;
};

class alignas(64) CModelOutput : public CObject {
  public:
    ~CModelOutput() override { NoteWiringChange(); }

    // The value and its text come first, on the object's first cache line.
    double m_value = 0.0;
    CValueText m_text;
    CNetworkModel* m_owner = nullptr;
    CObList<CModelConnection> m_connections;
    std::string m_name;
    int32_t m_decimals = 2;
    bool m_template = false;
    int32_t m_dataType = kDataDouble;
    double* m_arrayData = nullptr;
    int32_t m_arrayCount = 0;
    double m_spareValue = 0.0;  // array outputs: smallest element
    double m_heldValue = 0.0;   // array outputs: largest element
    int32_t m_colour = 0xFFFFFF;
    int32_t m_spare = 0;

    /// Sets the value and rebuilds the value text by the output rule.
    void SetValue(double v) {
        m_value = v;
        m_text.SetRule(v);
    }
    void RebuildText() { m_text.SetRule(m_value); }
    std::string ValueString() const { return m_text.Str(m_decimals, m_dataType); }
    /// The value a consumer reads: 0 while the output's component is an
    /// unprimed Feedback Flow, else the value.
    double ConsumerValue() const;
    bool IsArray() const { return m_dataType == kDataArray; }
};

class CNetworkInput : public CObject {
  public:
    ~CNetworkInput() override { NoteWiringChange(); }

    CRect m_rect;  // editor
    CNetwork* m_owner = nullptr;
    std::string m_name;
    CObList<CModelConnection> m_connections;  // to component inputs, owned here
    int32_t m_sourceConnectionId = 0;
    CNetworkConnection* m_sourceNetConnection = nullptr;   // source kind 1
    CExternalConnection* m_sourceExtConnection = nullptr;  // source kind 2
    int32_t m_sourceKind = kSourceNone;
    CPoint m_connectionPoint;  // editor
    double m_value = 0.0;
    CValueText m_text;
    std::string m_description;
    bool m_arrayCarrier = false;  // not saved

    bool HasSource() const { return m_sourceNetConnection || m_sourceExtConnection; }
    std::string ValueString() const { return m_text.Str(); }
    /// True when the module input delivers an array: its source is an array
    /// system input or a module output carrying array data, or it is marked.
    bool IsArrayFeed() const;
    /// True when its source is an array (not counting the carrier mark).
    bool HasArraySource() const;
    /// Takes the value from the source ("%.3f").
    void Pull();
    void ClearSource();
};

class CNetworkOutput : public CObject {
  public:
    double m_value = 0.0;
    std::string m_name;
    CRect m_rect;              // editor
    CPoint m_connectionPoint;  // editor
    CNetwork* m_owner = nullptr;
    int32_t m_sourceConnectionId = 0;
    CModelConnection* m_sourceConnection = nullptr;
    int32_t m_sourceKind = kSourceNone;
    std::string m_description;
    CValueText m_text;
    int32_t m_arrayCount = 0;
    double* m_arrayData = nullptr;

    CNetworkOutput() { m_text.SetText("-"); }
    bool HasSource() const { return m_sourceConnection != nullptr; }
    CModelOutput* SourceOutput() const;
    bool CarriesArray() const { return m_arrayData != nullptr; }
    std::string ValueString() const { return m_text.Str(); }
    void ClearSource();
};

class CExternalInput : public CObject {
  public:
    CObList<CExternalConnection> m_connections;
    double m_value = 0.0;
    int32_t m_categoryId = 0;
    int32_t m_decimals = 2;
    int32_t m_kind = 0;  // 1 plain, 2 array, 0 before a kind is given
    std::string m_name;
    std::string m_description;
    CRect m_rect;  // editor
    std::vector<double> m_array;
    std::string m_dataFilePath;
    int32_t m_dataColumn = 0;
    double m_initialValue = 0.0;
    CValueText m_text;

    /// Sets the value; the text follows the decimals 0..4, other decimals leave it.
    void SetValue(double v);
    std::string ValueString() const { return m_text.Str(); }
    double* ArrayData() { return m_array.empty() ? nullptr : m_array.data(); }
    int32_t ArrayCount() const { return static_cast<int32_t>(m_array.size()); }
};

class CExternalOutput : public CObject {
  public:
    std::string m_name;
    std::unique_ptr<CExternalConnection> m_connection;  // at most one
    int32_t m_connectionId = 0;
    int32_t m_categoryId = 0;
    double m_value = 0.0;
    int32_t m_kind = 1;
    std::string m_description;
    CRect m_rect;  // editor

    CNetworkOutput* SourceOutput() const { return m_connection ? m_connection->m_moduleOutput : nullptr; }
};

class CExternalInputCategory : public CObject {
  public:
    std::string m_name;
    CRefList<CExternalInput> m_members;
    std::string m_secondText;
    int32_t m_colour = 0xEAEAEA;
    bool m_flag = false;
    bool m_default = false;
};

class CExternalOutputCategory : public CObject {
  public:
    std::string m_name;
    CRefList<CExternalOutput> m_members;
    int32_t m_colour = 0xEAEAEA;
    std::string m_secondText;
    bool m_flag = false;
    bool m_default = false;
};

}  // namespace zor2
