// Visual aids of the module view held as engine data: charts (with their value
// history), value windows and background graphics, each with its manager and
// its project-file record. Nothing here draws.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/object.h"

namespace zor2 {

class CArchive;
class CSystem;
class CNetwork;
class CNetworkModel;
class CModelOutput;

/// Chart size codes and their pixel sizes.
inline constexpr int32_t kChartSmall = 1;
inline constexpr int32_t kChartMedium = 2;
inline constexpr int32_t kChartLarge = 3;

class CChart : public CObject {
  public:
    static constexpr int kHistorySize = 200;

    /// Field list of the chart record, shared by reading and writing.
    void Serialize(CArchive& ar);

    /// Points the chart at an output and clears its history.
    void Attach(CNetwork* module, CNetworkModel* component, CModelOutput* output);
    /// Empties the history; with auto scale the range becomes 0..100.
    void Clear();
    /// Appends the output's current value (the consumer's view of it). A chart
    /// in array mode or without an output appends nothing.
    void Refresh();
    /// Sets the size code 1..3 and resizes, keeping the top-left corner.
    /// Other codes are refused (false).
    bool SetSizeCode(int32_t code);
    bool Resolved() const { return m_output != nullptr; }

    /// Values held, oldest first.
    int Count() const { return m_count; }
    double Value(int i) const { return m_history[(m_start + i) % kHistorySize]; }
    int32_t Processed() const { return m_processed; }

    // Texts the chart shows.
    std::string ProcessedText() const;  // "Pts processed: %d" (array mode: "Pts: %d")
    std::string CurrentText() const;    // "Current: %0.2f", or "ON (1)"/"OFF (0)" for On/Off outputs
    std::string MaxText() const;        // "Max: %0.2f"
    std::string MinText() const;        // "Min: %0.2f"

    int32_t m_moduleId = 0;
    int32_t m_componentId = 0;
    int32_t m_outputId = 0;
    CNetwork* m_module = nullptr;
    CNetworkModel* m_component = nullptr;
    CModelOutput* m_output = nullptr;
    int32_t m_style = 1;
    bool m_lockLocation = false;
    bool m_secondFlag = true;
    bool m_autoScale = true;
    bool m_showGridlines = true;
    bool m_showAxis = true;
    bool m_showRange = false;
    double m_min = 0.0;
    double m_max = 0.0;
    double m_majorIncrement = 0.0;
    double m_minorIncrement = 0.0;
    CRect m_rect{0, 0, 200, 120};
    int32_t m_sizeCode = kChartSmall;
    bool m_arrayMode = false;  // not saved

  private:
    // Ring buffer: the oldest value at m_start; the shift towards the oldest
    // end costs nothing per cycle.
    std::array<double, kHistorySize> m_history{};
    int m_start = 0;
    int m_count = 0;
    int32_t m_processed = 0;
};

class CValueWindow : public CObject {
  public:
    static constexpr int kLayoutRects = 6;

    void Serialize(CArchive& ar);
    void Attach(CNetwork* module, CNetworkModel* component, CModelOutput* output);
    bool Resolved() const { return m_output != nullptr; }
    /// The value formatted "%.*f %s" (precision, suffix) with the suffix shown, else "%.*f".
    std::string ValueText() const;
    /// The same for a given value.
    std::string FormatValue(double value) const;

    int32_t m_moduleId = 0;
    int32_t m_componentId = 0;
    int32_t m_outputId = 0;
    CNetwork* m_module = nullptr;
    CNetworkModel* m_component = nullptr;
    CModelOutput* m_output = nullptr;
    bool m_flag = false;
    std::string m_title;
    bool m_bold = true;
    int32_t m_showOutline = 1;
    bool m_showTitle = true;
    bool m_showSuffix = true;
    bool m_showComponentName = true;
    bool m_transparent = false;
    int32_t m_background = 0xFFF8F8;
    int32_t m_outlineColour = 0x4F4F2F;
    int32_t m_fontSize = 14;
    int32_t m_outlineWidth = 1;
    int32_t m_precision = 2;
    std::string m_suffix;
    CRect m_rect{0, 0, 100, 48};
    std::string m_fontName = "Arial";
    std::array<CRect, kLayoutRects> m_layout{};
};

/// The hint a new graphic carries until the user edits it.
inline constexpr const char* kGraphicHint =
    "Double click on me to change the text. Optionally create and place graphic elements throughout your module structure to help clarify functionality and purpose of various structures. Drag object to place, and drag corner clasps to resize.";

class CGraphic : public CObject {
  public:
    static constexpr int kHandleRects = 6;

    void Serialize(CArchive& ar);
    /// Sets the line width (0..10); the outline is on exactly when it is above 0.
    void SetLineWidth(int32_t width);
    /// Hides every visible component of `module` whose box lies inside the
    /// rectangle; returns how many were taken in.
    int32_t Consolidate(CNetwork& module);
    /// Shows again every component of `module` hidden in this graphic.
    int32_t Release(CNetwork& module);
    /// Number of components of `module` hidden in this graphic.
    int32_t CountHeld(const CNetwork& module) const;

    std::string m_text;
    bool m_bold = false;
    bool m_outline = true;
    bool m_transparent = true;
    bool m_edges3d = false;
    int32_t m_background = 0xFFFFFF;
    int32_t m_lineColour = 0;
    int32_t m_setting = 0;
    int32_t m_fontSize = 10;
    int32_t m_lineWidth = 0;
    int32_t m_alignH = 0;  // 0 left, 1 centre, 2 right
    int32_t m_alignV = 0;  // 0 top, 1 centre, 2 bottom
    CRect m_rect{0, 0, 200, 100};
    std::string m_fontName = "Arial";
    std::array<CRect, kHandleRects> m_handles{};
};

class CChartMgr {
  public:
    void Serialize(CArchive& ar);
    /// A new chart with a fresh id (0 when no id is left), appended.
    CChart* AddChart(IRandomSource& random);
    void Clear() { m_charts.Clear(); }
    /// Empties the history of every chart of `module`.
    void ClearChartsOf(const CNetwork& module);
    /// Appends the current value to every resolved chart (after a cycle).
    void RefreshAll();
    /// Deletes the charts that show anything of `module`, of `component` or of
    /// `output` (the most specific non-null one decides).
    int32_t DeleteFor(const CNetwork* module, const CNetworkModel* component, const CModelOutput* output);
    void RebuildReferences(const CSystem& system);

    int32_t m_setting = 0;
    CObList<CChart> m_charts;
};

class CValueWindowMgr {
  public:
    void Serialize(CArchive& ar);
    CValueWindow* AddValueWindow(IRandomSource& random);
    void Clear() { m_windows.Clear(); }
    int32_t DeleteFor(const CNetwork* module, const CNetworkModel* component, const CModelOutput* output);
    void RebuildReferences(const CSystem& system);

    CObList<CValueWindow> m_windows;
};

/// The fewest bytes a graphic record takes, for checking a count read from bytes.
size_t GraphicRecordMinBytes();

class CGraphicMgr {
  public:
    void Serialize(CArchive& ar);
    /// A new graphic with the hint text and a fresh id.
    CGraphic* AddGraphic(IRandomSource& random);
    /// Releases the graphic's components in every module, then deletes it.
    void DeleteGraphic(CSystem& system, CGraphic* graphic);
    void Clear() { m_graphics.Clear(); }
    /// Gives every component whose graphic id names a graphic that graphic.
    void RebuildReferences(const CSystem& system);

    CObList<CGraphic> m_graphics;
};

}  // namespace zor2
