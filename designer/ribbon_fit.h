// The ribbon's rules that need no window: how far each panel shrinks to fit
// the window's width, which category is current when context categories come
// and go, and the picture a command's icon shows.
#pragma once

#include <span>
#include <string_view>
#include <vector>

namespace zor2 {

/// A panel shows large buttons (icon over text), small buttons (icon beside
/// text, three rows) or one button that drops the panel down.
enum class EPanelSize { Large, Small, Collapsed };

/// The width a panel needs in each of its sizes.
struct CPanelWidths {
    int large = 0;
    int small = 0;
    int collapsed = 0;
};

/// The sizes that fit panels into `available` pixels, `gap` between panels.
/// Panels shrink one step at a time from the last to the first: all to small
/// buttons before any collapses. When not even all collapsed fit, all collapse.
std::vector<EPanelSize> FitRibbonPanels(std::span<const CPanelWidths> panels, int available, int gap);

/// The category to show after context categories appeared or went:
/// the current one while it is shown, else the regular category that was
/// current before, else the first shown. -1 when none is shown.
int CategoryAfterChange(int current, int lastRegular, const std::vector<bool>& shown);

/// The pictures command icons are drawn from.
enum class EGlyph {
    Letter,  // the label's first letter on a tile
    New,
    Open,
    Save,
    Print,
    Exit,
    Undo,
    Redo,
    Add,
    Delete,
    Edit,
    Import,
    Export,
    Run,
    Stop,
    Pause,
    Step,
    Reset,
    Connect,
    Disconnect,
    Chart,
    Value,
    Colour,
    Grid,
    Text,
    Align,
    Show,
    Module,
    Help,
};

/// The glyph of a command by the words of its identifier ("ID_BUTTON_ADDMODULE").
EGlyph CommandGlyph(std::string_view ident);

}  // namespace zor2
