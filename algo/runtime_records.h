// The records of the runtime file (.z2r), each stated once as a field list that
// the designer's export, the runtime loader and the file summary all run.
#pragma once

#include <cstdint>
#include <string>

#include "algo/record_archive.h"

namespace zor2::rtfile {

// The file: the header, every module (each with its components, module inputs
// and module outputs), every system input, every system output, every module
// connection. Little-endian, no padding, no lengths: a record's size is known
// only by reading it, so counts are followed directly by their entries.

/// The file's first 20 bytes.
struct CHeader {
    int32_t m_systemId = 0;
    int32_t m_moduleCount = 0;
    int32_t m_systemInputCount = 0;
    int32_t m_systemOutputCount = 0;
    int32_t m_moduleConnectionCount = 0;

    template <class Ar>
    constexpr void Fields(Ar& ar) {
        ar.I32(m_systemId);
        ar.I32(m_moduleCount);
        ar.I32(m_systemInputCount);
        ar.I32(m_systemOutputCount);
        ar.I32(m_moduleConnectionCount);
    }
};

/// A module; followed by its components, then its module inputs, then its
/// module outputs, each as many as the counts say.
struct CModule {
    int32_t m_id = 0;
    std::u16string m_name;
    int32_t m_level = 0;
    int32_t m_inputCount = 0;
    int32_t m_outputCount = 0;
    int32_t m_componentCount = 0;

    template <class Ar>
    constexpr void Fields(Ar& ar) {
        ar.I32(m_id);
        ar.Name(m_name);
        ar.I32(m_level);
        ar.I32(m_inputCount);
        ar.I32(m_outputCount);
        ar.I32(m_componentCount);
    }
};

/// What every component record starts with; the body its type writes follows,
/// and every body starts with CComponentBase.
struct CComponent {
    int32_t m_id = 0;
    int32_t m_typeId = 0;

    template <class Ar>
    constexpr void Fields(Ar& ar) {
        ar.I32(m_id);
        ar.I32(m_typeId);
    }
};

/// The base part of every component body; followed by the input entries, then
/// the output entries (each with its connections).
struct CComponentBase {
    double m_value = 0.0;
    double m_tolerance = 0.0;
    int32_t m_stage = 0;
    int32_t m_inputCount = 0;
    int32_t m_outputCount = 0;

    template <class Ar>
    constexpr void Fields(Ar& ar) {
        ar.F64(m_value);
        ar.F64(m_tolerance);
        ar.I32(m_stage);
        ar.I32(m_inputCount);
        ar.I32(m_outputCount);
    }
};

/// What a component record takes at least: its start and a base part without ports.
inline const size_t kComponentMinBytes = RecordBytes<CComponent>() + RecordBytes<CComponentBase>();

/// A component input.
struct CInputEntry {
    int32_t m_id = 0;
    int32_t m_sourceConnectionId = 0;
    int32_t m_sourceKind = 0;

    template <class Ar>
    constexpr void Fields(Ar& ar) {
        ar.I32(m_id);
        ar.I32(m_sourceConnectionId);
        ar.I32(m_sourceKind);
    }
};

/// A component output; followed by its connections in output form.
struct COutputEntry {
    int32_t m_id = 0;
    int32_t m_dataType = 0;
    int32_t m_connectionCount = 0;

    template <class Ar>
    constexpr void Fields(Ar& ar) {
        ar.I32(m_id);
        ar.I32(m_dataType);
        ar.I32(m_connectionCount);
    }
};

/// Where a connection inside a module is stored, which decides where its kind stands.
enum class EConnectionForm {
    Output,  // held by a component output: the kind second
    Input,   // held by a module input: the kind last
};

/// A connection inside a module: component output to component input, module
/// input to component input, or component output to module output.
template <EConnectionForm Form>
struct CConnection {
    int32_t m_id = 0;
    int32_t m_kind = 0;
    int32_t m_sourceComponentId = 0;
    int32_t m_destComponentId = 0;
    int32_t m_sourceOutputId = 0;
    int32_t m_destInputId = 0;
    int32_t m_modulePortId = 0;

    template <class Ar>
    constexpr void Fields(Ar& ar) {
        ar.I32(m_id);
        if constexpr (Form == EConnectionForm::Output) ar.I32(m_kind);
        ar.I32(m_sourceComponentId);
        ar.I32(m_destComponentId);
        ar.I32(m_sourceOutputId);
        ar.I32(m_destInputId);
        ar.I32(m_modulePortId);
        if constexpr (Form == EConnectionForm::Input) ar.I32(m_kind);
    }
};
using COutputConnection = CConnection<EConnectionForm::Output>;
using CInputConnection = CConnection<EConnectionForm::Input>;

/// A module input; followed by its connections in input form.
struct CModuleInput {
    int32_t m_id = 0;
    std::u16string m_name;
    int32_t m_sourceConnectionId = 0;
    int32_t m_sourceKind = 0;
    int32_t m_connectionCount = 0;

    template <class Ar>
    constexpr void Fields(Ar& ar) {
        ar.I32(m_id);
        ar.Name(m_name);
        ar.I32(m_sourceConnectionId);
        ar.I32(m_sourceKind);
        ar.I32(m_connectionCount);
    }
};

/// A module output.
struct CModuleOutput {
    int32_t m_id = 0;
    std::u16string m_name;
    int32_t m_sourceKind = 0;
    int32_t m_sourceConnectionId = 0;

    template <class Ar>
    constexpr void Fields(Ar& ar) {
        ar.I32(m_id);
        ar.Name(m_name);
        ar.I32(m_sourceKind);
        ar.I32(m_sourceConnectionId);
    }
};

/// A system input; followed by its connections.
struct CSystemInput {
    int32_t m_id = 0;
    int32_t m_kind = 0;
    std::u16string m_name;
    int32_t m_connectionCount = 0;

    template <class Ar>
    constexpr void Fields(Ar& ar) {
        ar.I32(m_id);
        ar.I32(m_kind);
        ar.Name(m_name);
        ar.I32(m_connectionCount);
    }
};

/// A connection from a system input to a module input.
struct CSystemInputConnection {
    int32_t m_id = 0;
    int32_t m_systemInputId = 0;
    int32_t m_moduleId = 0;
    int32_t m_moduleInputId = 0;

    template <class Ar>
    constexpr void Fields(Ar& ar) {
        ar.I32(m_id);
        ar.I32(m_systemInputId);
        ar.I32(m_moduleId);
        ar.I32(m_moduleInputId);
    }
};

/// A system output with its connection to a module output, when it has one.
struct CSystemOutput {
    int32_t m_id = 0;
    int32_t m_kind = 0;
    std::u16string m_name;
    int32_t m_connectionId = 0;  // 0 when unconnected
    int32_t m_systemOutputId = 0;
    int32_t m_moduleId = 0;
    int32_t m_moduleOutputId = 0;

    template <class Ar>
    constexpr void Fields(Ar& ar) {
        ar.I32(m_id);
        ar.I32(m_kind);
        ar.Name(m_name);
        ar.I32(m_connectionId);
        if (ar.Present(m_connectionId > 0)) {
            ar.I32(m_systemOutputId);
            ar.I32(m_moduleId);
            ar.I32(m_moduleOutputId);
        }
    }
};

/// A connection from one module's output to another module's input.
struct CModuleConnection {
    int32_t m_id = 0;
    int32_t m_sourceModuleId = 0;
    int32_t m_destModuleId = 0;
    int32_t m_sourceOutputId = 0;
    int32_t m_destInputId = 0;

    template <class Ar>
    constexpr void Fields(Ar& ar) {
        ar.I32(m_id);
        ar.I32(m_sourceModuleId);
        ar.I32(m_destModuleId);
        ar.I32(m_sourceOutputId);
        ar.I32(m_destInputId);
    }
};

}  // namespace zor2::rtfile
