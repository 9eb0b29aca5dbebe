// Printing of the main view: the current view mode drawn onto the pages of a
// printer (or a PDF file), scaled to fit the page.
#pragma once

class QPainter;
class QPrinter;

namespace zor2::gui {

class CDesignView;

/// Draws everything the view's current mode shows onto the printer's first
/// page, scaled to fit and centred; the view keeps its zoom and scroll position.
/// False when the printer could not be opened (nothing is printed).
bool PrintView(CDesignView& view, QPrinter& printer);

}  // namespace zor2::gui
