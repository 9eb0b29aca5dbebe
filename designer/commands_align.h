// Alignment, distribution and keyboard moves of the selected components (module
// design view) or the selected modules (system view), and the same alignment and
// distribution of the selected background graphics.
#pragma once

#include <cstdint>

#include "designer/commands_common.h"

namespace zor2 {

class Czor2Doc;

enum class EAlign {
    Left,        // ID_BUTTON_ALIGNLEFT: left edges to the smallest left edge L
    Right,       // ID_BUTTON_ALIGNRIGHT: right edges to the largest right edge R
    Top,         // ID_BUTTON_ALIGNTOP: top edges to the smallest top edge T
    Bottom,      // ID_BUTTON_ALIGNBOTTOM: bottom edges to the largest bottom edge B
    Vertical,    // ID_BUTTON_ALIGNVERTICAL: horizontal centres to L + (R - L) / 2
    Horizontal,  // ID_BUTTON_ALIGNHORZ: vertical centres to T + (B - T) / 2
};

/// What the alignment commands act on.
enum class EAlignTarget {
    Selection,  // the selected components (module design view) or modules (system view)
    Graphics,   // the selected background graphics (the "Size and Position" panel)
};

/// Aligns the selection; Unavailable when nothing is selected. One undo level.
ECmd Align(Czor2Doc& doc, EAlign how, EAlignTarget target = EAlignTarget::Selection);
/// ID_BUTTON_DISTRIBUTEVERT / ID_BUTTON_DISTRIBUTEHORZ: stacks the selection
/// top to bottom (or left to right) from T (or L) with equal whole-pixel gaps:
/// free space = span - sum of sizes, at least the number n of objects; gap =
/// free space / (n - 1). Needs at least two selected objects.
ECmd DistributeVertically(Czor2Doc& doc, EAlignTarget target = EAlignTarget::Selection);
ECmd DistributeHorizontally(Czor2Doc& doc, EAlignTarget target = EAlignTarget::Selection);

enum class EArrowKey { Left, Right, Up, Down };
/// One arrow key press: the selection moves by 2 pixels (left and up -2,
/// right and down +2). One undo level per press.
ECmd MoveSelection(Czor2Doc& doc, EArrowKey key);

}  // namespace zor2
