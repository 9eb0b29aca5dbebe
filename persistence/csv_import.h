// Import of system inputs or system outputs from a CSV file: one port per data
// line, named by the first field and filed under the category the second names.
#pragma once

#include <cstdint>
#include <string>

namespace zor2 {

class CSystem;

/// What an import did. `created` ports stay even when the import stopped.
struct CCsvImportResult {
    bool opened = false;   // the file could be opened
    int32_t created = 0;   // ports created
    bool stopped = false;  // a short line ended the import early
    int32_t stopLine = 0;  // 1-based line number of that line
    std::string message;   // a clear description of a failure, empty on success
    bool Ok() const { return opened && !stopped; }
};

/// Imports system inputs from `path`: writes "About to import CSV file: %s\n" on
/// top of "System Build Feedback", skips the header line, then for every data
/// line finds the input category named by field 2 (case-insensitively) or
/// creates it, and creates a plain system input named by field 1 in it. A line
/// with fewer than two fields stops the import; the inputs already made stay.
/// When at least one input was made the change is recorded as
/// "Imported: %d system inputs".
CCsvImportResult ImportSystemInputsCsv(CSystem& system, const std::string& path);
/// The same for system outputs and output categories ("Imported: %d system outputs").
CCsvImportResult ImportSystemOutputsCsv(CSystem& system, const std::string& path);

}  // namespace zor2
