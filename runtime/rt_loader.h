// Reader of the runtime file (.z2r): builds a CRSystem from the file's bytes,
// checking every read and every count against the bytes that remain.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/rt_system.h"

namespace zor2 {

/// Outcome of reading a runtime file.
struct CRReadResult {
    /// 0 read; -2 module section, -3 system inputs, -4 system outputs, -5 module
    /// connections (the section whose records could not all be created);
    /// kReadUnsupportedType for a component type the runtime has no class for.
    int32_t code = 0;
    int32_t componentType = 0;  // the type id, for kReadUnsupportedType
    int32_t inputId = 0;        // the id, for kReadBadInputId
    size_t trailing = 0;        // the bytes after the last record, for kReadTrailingBytes
    size_t offset = 0;          // byte offset of the fault (of the component or input record)
    std::string detail;         // what the reader found, for the trace
};

inline constexpr int32_t kReadUnsupportedType = -6;
/// Bytes follow the last module connection record: the file is not what the
/// designer writes, so nothing says what they were meant to be.
inline constexpr int32_t kReadTrailingBytes = -7;
/// A system input with an id below 1, which no call by id could reach.
inline constexpr int32_t kReadBadInputId = -8;

/// Reads the whole file image into `system` (which must be empty). On a fault
/// the records read completely before it stay in `system`. `systemId` is only traced.
CRReadResult ReadRuntimeSystem(CRSystem& system, const uint8_t* data, size_t size, int32_t systemId);

}  // namespace zor2
