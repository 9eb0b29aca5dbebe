// Commands on the selected background graphics: text and frame settings, text
// editing, drawing order, same size, copy and paste. Alignment and distribution
// of graphics are Align / DistributeVertically / DistributeHorizontally of
// commands_align.h with EAlignTarget::Graphics.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "designer/commands_common.h"

namespace zor2 {

class Czor2Doc;
class CGraphic;

/// The plain settings of a graphic that the ribbon changes.
enum class EGraphicField {
    AlignH,       // ID_BUTTON_GRAPHIC_TEXT_LEFT/HCENTER/RIGHT: 0 left, 1 centre, 2 right
    AlignV,       // ID_BUTTON_GRAPHIC_TEXT_TOP/VCENTER/BOTTOM: 0 top, 1 centre, 2 bottom
    Bold,         // ID_CHECK_BOLDTEXT: 0 or 1
    FontSize,     // font size in points, 1..200
    Transparent,  // ID_BUTTON_GRAPHIC_TRANS: 0 or 1
    Background,   // ID_BUTTON_CLR_GRAPHIC_BACK: colour 0x000000..0xFFFFFF
    Edges3d,      // ID_CHECK_GRAPHIC3D "3D Edges": 0 or 1
    Outline,      // ID_CHECK_OUTLINE: 0 or 1
    LineWidth,    // ID_SPIN_LINEWIDTH_GRAPHICS: 0..10; the outline follows (on above 0)
};
/// Sets one setting of every selected graphic. One undo level, no feedback
/// line. A value outside the field's range is refused with a beep and changes
/// nothing; Unavailable when nothing is selected or nothing would change.
ECmd SetGraphicField(Czor2Doc& doc, EGraphicField field, int32_t value);
/// The setting's current value (for check boxes and spin controls).
int32_t GraphicField(const CGraphic& graphic, EGraphicField field);
inline constexpr size_t kGraphicFieldCount = 9;
/// Everything the graphic's "Properties..." dialog edits.
struct CGraphicSettings {
    std::array<int32_t, kGraphicFieldCount> fields{};  // indexed by EGraphicField
    std::string fontName;
    std::string text;
    int32_t& Field(EGraphicField f) { return fields[static_cast<size_t>(f)]; }
};
/// The settings of one graphic, for filling the dialog.
CGraphicSettings GraphicSettings(const CGraphic& graphic);
/// OK of the graphic's "Properties..." dialog: every setting at once, one undo
/// level (no feedback line). A changed line width decides the outline as it
/// does on the ribbon. A value outside its range or an empty font name beeps (Refused)
/// and changes nothing; Unavailable when the graphic does not exist or nothing changed.
ECmd ApplyGraphicSettings(Czor2Doc& doc, int32_t graphicId, const CGraphicSettings& settings);
/// ID_BUTTON_GRAPHICFONT_INC / _DEC: the font size of every selected graphic
/// by `delta` points (+1 or -1), kept within 1..200. One undo level.
ECmd StepGraphicFontSize(Czor2Doc& doc, int32_t delta);
/// ID_COMBO_FONT: the font name of every selected graphic; an empty name is refused.
ECmd SetGraphicFont(Czor2Doc& doc, const std::string& fontName);
/// "Delete Text" / "Clear Text": the selected graphics' text becomes empty.
ECmd ClearGraphicText(Czor2Doc& doc);
/// A double click on a graphic, after its text editor closed with `text`.
ECmd SetGraphicText(Czor2Doc& doc, int32_t graphicId, const std::string& text);
/// "Send To Back": the selected graphics move to the front of the graphics
/// list (drawn first, so under every other graphic), keeping their order.
ECmd SendGraphicsToBack(Czor2Doc& doc);

enum class ESameSize { Size, Width, Height };
/// "Make Same Size" / "Make Same Width" / "Make Same Height": the first
/// selected graphic is the pattern; every other selected graphic keeps its
/// top-left corner and takes the pattern's width and/or height. Needs two
/// selected graphics.
ECmd MakeGraphicsSameSize(Czor2Doc& doc, ESameSize which);

/// What "Copy" puts on the clipboard: the records of the copied graphics in the
/// project-file layout (a count, then one graphic record each).
struct CGraphicClipboard {
    std::vector<uint8_t> bytes;
    bool Empty() const { return bytes.empty(); }
};
/// "Copy": the selected graphics (Unavailable when none is selected). Copying
/// changes nothing in the document.
ECmd CopyGraphics(Czor2Doc& doc, CGraphicClipboard& clipboard);
/// The offset of a pasted graphic from the one copied, in both directions.
inline constexpr int32_t kPasteOffset = 20;
/// "Paste": one new graphic per copied record with a fresh id, moved by
/// kPasteOffset; the pasted graphics become the selection and hold no
/// components. Clipboard bytes that do not read as graphics are refused with
/// a message and change nothing. One undo level, no feedback line.
ECmd PasteGraphics(Czor2Doc& doc, const CGraphicClipboard& clipboard);

}  // namespace zor2
