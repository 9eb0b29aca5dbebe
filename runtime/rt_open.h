// Opening a runtime file into a system: the one load path behind both C
// interfaces, with the texts and codes the global interface has always given.
#pragma once

#include <cstdint>
#include <string>

#include "runtime/rt_system.h"

namespace zor2 {

/// Outcome of OpenRuntimeFile.
struct CROpenResult {
    /// 1 loaded; 32 the file could not be read; 8 no such file; 2 not enough
    /// memory; 4 permission denied; 64 other open error (the global interface's codes).
    int32_t code = 0;
    int fileError = 0;          // why the file was not read (errno or kNotARegularFile)
    bool designerOnly = false;  // code 32 because of a type that runs only in the designer
    std::string message;        // the text for the host
};

/// Reads the file at `path` into `system` (which must be empty) and builds its order.
/// On a read fault the records read before it stay in `system`. Allocation
/// failures propagate as std::bad_alloc.
CROpenResult OpenRuntimeFile(CRSystem& system, const char* path, int32_t systemId);

}  // namespace zor2
