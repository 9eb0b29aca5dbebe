// The project's text form: every field of the project file in file order, one
// JSON object per record, moved through the same field lists as the file itself.
#pragma once

#include <string>
#include <string_view>

#include "persistence/project_file.h"

namespace zor2 {

/// The text form of `system`: {"format", "version", "records": [{"<record>": [values]}, ...]}
/// with one record per line. Whole numbers are written as such, other numbers in their
/// shortest exact form ("inf", "-inf" or "nan:<bits>" as strings), text as UTF-8 strings.
std::string ProjectToText(CSystem& system);

/// Loads the text form into `system` (unchanged on failure). A malformed or
/// incomplete text is refused with the line and the record key at fault.
CFileResult ProjectFromText(CSystem& system, std::string_view text);

}  // namespace zor2
