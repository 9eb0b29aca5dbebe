// Commands on the selected charts and value windows: deleting them, the chart
// colours shared by every chart, the charts' display settings and scale, and
// the value windows' settings and texts. All of them are saved with the project.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "designer/commands_common.h"

namespace zor2 {

class Czor2Doc;
class CChart;
class CValueWindow;

// --- charts -----------------------------------------------------------------------
/// ID_BUTTON_CHARTDELETE "Delete Chart": the selected charts. No feedback line.
ECmd DeleteSelectedCharts(Czor2Doc& doc);
/// ID_BUTTON_CHARTSDELETEALL "Delete All Charts": every chart of the designed
/// module (in the system view every chart of the system). No feedback line.
ECmd DeleteAllCharts(Czor2Doc& doc);

enum class EChartColour {
    Background,  // ID_BUTTON_COLORCHART_BACK
    Data,        // ID_BUTTON_COLORCHART_DATA "Data Color"
    Grid,        // ID_BUTTON_COLORCHART_GRID "Grid Color"
};
/// One of the three chart colours of the system (0x000000..0xFFFFFF; others are
/// refused with a beep). One undo level, no feedback line.
ECmd SetChartColour(Czor2Doc& doc, EChartColour which, int32_t colour);
int32_t ChartColour(const Czor2Doc& doc, EChartColour which);

enum class EChartField {
    AutoScale,      // ID_CHECK_CHART_AUTOSCALE: 0 or 1; switching it on sets the range 0..100
    ShowRange,      // ID_CHECK_CHART_SHOWRANGE: 0 or 1
    ShowAxis,       // ID_CHECK_CHART_SHOWLABELS "Show Axis": 0 or 1
    ShowGridlines,  // ID_CHECK_CHART_SHOWGRID: 0 or 1
    LockLocation,   // ID_CHECK_CHARTLOCK: 0 or 1
    SizeCode,       // the size buttons of the title bar: 1, 2 or 3 (keeps the top-left corner)
};
/// Sets one setting of every selected chart. One undo level, no feedback line;
/// out-of-range values beep (Refused); Unavailable when nothing would change.
ECmd SetChartField(Czor2Doc& doc, EChartField field, int32_t value);
int32_t ChartField(const CChart& chart, EChartField field);

/// The four edit boxes of the scale.
struct CChartScale {
    double minimum = 0.0;         // ID_EDIT_CHARTMIN "Min Value:"
    double maximum = 100.0;       // ID_EDIT_CHARTMAX "Max Value:"
    double majorIncrement = 0.0;  // ID_EDIT_MAJORINC "Major Increment:"
    double minorIncrement = 0.0;  // ID_EDIT_MINORINC "Minor Increment:"
};
/// The scale the edit boxes show for a chart.
CChartScale ChartScale(const CChart& chart);
/// ID_BUTTON_APPLYCHARTSCALE "Apply": the scale goes to every selected chart
/// and their auto scale is switched off (a fixed scale is what was asked for).
/// A maximum not above the minimum, a negative increment or a value that is
/// not a number is refused with a message and changes nothing.
ECmd ApplyChartScale(Czor2Doc& doc, const CChartScale& scale);
/// ID_BTN_CHARTS_APPLYOPTIONSTOALL "Apply to All": the settings and scale of
/// the first selected chart go to every other chart of its module (position
/// and size stay). Unavailable when there is no other chart or nothing changes.
ECmd ApplyChartOptionsToAll(Czor2Doc& doc);

// --- value windows ---------------------------------------------------------------
/// ID_BUTTON_REMOVEVALUE "Remove Window": the selected value windows. No feedback line.
ECmd RemoveSelectedValueWindows(Czor2Doc& doc);

enum class EValueWindowField {
    Transparent,        // ID_CHECK_TRANSPARENT: 0 or 1
    Background,         // ID_BUTTON_CLR_VALUE_BACK: colour 0x000000..0xFFFFFF
    FontSize,           // ID_SPIN_FONTSIZE: 1..200
    Precision,          // ID_SPIN_PRECISION: digits after the point, 0..15
    ShowSuffix,         // ID_CHECK_USESUFFIX: 0 or 1
    ShowTitle,          // ID_CHECK_SHOWTITLE: 0 or 1
    ShowOutline,        // ID_CHECK_SHOWOUTLINE: 0 or 1
    ShowComponentName,  // ID_CHECK_SHOWCOMPNAME: 0 or 1
};
/// Sets one setting of every selected value window; the same outcomes as SetChartField.
ECmd SetValueWindowField(Czor2Doc& doc, EValueWindowField field, int32_t value);
int32_t ValueWindowField(const CValueWindow& window, EValueWindowField field);

enum class EValueWindowText {
    FontName,  // ID_COMBO_FONTVALUES "Font" (an empty name is refused)
    Suffix,    // ID_EDIT_SUFFIX, applied by ID_BUTTON_UPDATESUFFIX "Update Suffix"
    Title,     // ID_EDIT_VALUECAPTION, the caption shown with "Show Title"
};
inline constexpr size_t kValueWindowFieldCount = 8;
inline constexpr size_t kValueWindowTextCount = 3;
/// Everything the value window's settings dialog edits.
struct CValueWindowSettings {
    std::array<int32_t, kValueWindowFieldCount> fields{};  // indexed by EValueWindowField
    std::array<std::string, kValueWindowTextCount> texts;  // indexed by EValueWindowText
    int32_t& Field(EValueWindowField f) { return fields[static_cast<size_t>(f)]; }
    std::string& Text(EValueWindowText t) { return texts[static_cast<size_t>(t)]; }
};
/// The settings of one value window, for filling the dialog.
CValueWindowSettings ValueWindowSettings(const CValueWindow& window);
/// OK of the settings dialog a double click on a value window opens: every
/// setting at once, one undo level (no feedback line). A value outside its
/// range or an empty font name beeps (Refused) and changes nothing;
/// Unavailable when the window does not exist or nothing changed.
ECmd ApplyValueWindowSettings(Czor2Doc& doc, int32_t windowId, const CValueWindowSettings& settings);

/// Sets one text of every selected value window. One undo level, no feedback line.
ECmd SetValueWindowText(Czor2Doc& doc, EValueWindowText which, const std::string& text);
const std::string& ValueWindowText(const CValueWindow& window, EValueWindowText which);

}  // namespace zor2
