// Copy, cut, paste and duplicate of components (in the module view) and of
// modules (in the system view) with the wires among them. The clipboard holds
// project-file records, so a paste into another designer reads the same bytes.
#pragma once

#include <cstdint>
#include <vector>

#include "designer/commands_common.h"

namespace zor2 {

class Czor2Doc;

/// What "Copy" puts on the clipboard: a tag, the kind, the module records (the
/// designed module cut down to the copied components, or the copied modules)
/// and the module connections among copied modules.
struct CProjectClipboard {
    std::vector<uint8_t> bytes;
    bool Empty() const { return bytes.empty(); }
};

/// "Copy": the selected components of the designed module with the connections
/// among them, or the selected modules of the system view with the module
/// connections among them. Changes nothing; Unavailable when nothing is selected.
ECmd CopySelection(Czor2Doc& doc, CProjectClipboard& clipboard);
/// "Cut": Copy, then the copied components or modules are deleted (one undo level).
ECmd CutSelection(Czor2Doc& doc, CProjectClipboard& clipboard);
/// "Paste": the clipboard's components into the designed module, or its modules
/// into the system, with fresh ids and the wires among them, the group's top-left
/// corner at (x, y). The pasted items become the selection; one undo level.
/// Bytes that do not read as copied components or modules change nothing.
ECmd PasteClipboard(Czor2Doc& doc, const CProjectClipboard& clipboard, int32_t x, int32_t y);
/// "Duplicate": Copy and Paste next to the originals (kDuplicateOffset down and right).
ECmd DuplicateSelection(Czor2Doc& doc);
inline constexpr int32_t kDuplicateOffset = 20;

}  // namespace zor2
