// Geometry of the main view without any GUI toolkit: the bars and their rows,
// module and component boxes with their port rectangles, chart size buttons,
// graphic clasps, connection anchors and the hit test of both view modes.
#pragma once

#include <optional>
#include <unordered_map>
#include <vector>

#include "designer/editor_state.h"
#include "designer/view_geometry.h"
#include "designer/view_hit.h"

namespace zor2 {

// Measures of the view: the bars in viewport pixels, everything else in model units.
inline constexpr double kBarWidth = 170;
inline constexpr double kBarTitle = 24;  // the bar's title line, above its rows
inline constexpr double kCategoryRow = 22;
inline constexpr double kPortRow = 20;
inline constexpr double kModuleTitle = 22;
inline constexpr double kModulePortTop = 34;  // first port slot below a module box's top
inline constexpr double kModulePortSize = 10;
inline constexpr double kGraphicClasp = 8;  // side of a graphic's corner clasp
inline constexpr double kChartTitle = 16;   // title bar of a chart, with its size buttons
inline constexpr double kSizeButton = 13;
inline constexpr double kMinZoom = 0.25;
inline constexpr double kMaxZoom = 4.0;

/// One row of a bar: a category, a system port or a module port, in viewport coordinates.
struct CBarRow {
    CRectD rect;
    CHit hit;
};

// Boxes and port rectangles in model coordinates.
CRectD ModuleBox(const CNetwork& module);
/// Port slot `index` on the left edge (inputs) or the right edge (outputs) of a module box.
CRectD ModulePortRect(const CNetwork& module, int index, bool output);
/// The box a component shows: its full box or, shown reduced, the small one.
CRectD ComponentBox(const CNetworkModel& component);
/// Port `index` outside the left (inputs) or right (outputs) edge of the full box.
CRectD ComponentPortRect(const CNetworkModel& component, int index, bool output);
/// Size button `code` (1 to 3) in a chart's title bar.
CRectD ChartSizeButton(const CChart& chart, int code);
/// Corner clasp of a graphic: 0 top-left, 1 top-right, 2 bottom-right, 3 bottom-left.
CRectD GraphicClasp(const CGraphic& graphic, int corner);
/// A component consolidated in a graphic is neither drawn nor hit.
inline bool IsConsolidated(const CNetworkModel& component) {
    return component.m_graphicId != 0;
}

/// Whether the editor state has the object of a hit selected.
bool IsHitSelected(const CEditorState& editor, const CHit& hit);
/// The modules in drawing order, the last on top: the system's drawing-order
/// list when it holds every module once, else the module list.
std::vector<CNetwork*> ModulesInDrawOrder(const CSystem& system);

/// The zoom and scroll that show `content` (model) whole in a viewport of
/// `width` x `height` pixels, between bars of `leftBar` and `rightBar` pixels.
/// The zoom stays within kMinZoom..kMaxZoom; `anyZoom` lifts the lower limit.
/// Nothing for an empty content or a viewport that shows nothing.
std::optional<CViewTransform> FitTransform(const CRectD& content, double width, double height, double leftBar,
                                           double rightBar, bool anyZoom);

/// The layout of one view mode at one zoom and scroll position, for a viewport
/// of a given size. It reads the system and the editor state as they are when
/// it is made, so make a new one after either changed.
class CViewLayout {
  public:
    CViewLayout(CSystem& system, const CEditorState& editor, const CViewTransform& transform, double width,
                double height);

    /// The module being designed, or null in the system view.
    CNetwork* Module() const { return m_module; }
    CSystem& System() const { return m_system; }
    const CEditorState& Editor() const { return m_editor; }
    const CViewTransform& Transform() const { return m_transform; }
    double Width() const { return m_width; }
    double Height() const { return m_height; }
    CPointD ToViewport(CPointD world) const { return m_transform.ToViewport(world); }
    CPointD ToWorld(CPointD viewport) const { return m_transform.ToWorld(viewport); }

    /// The inputs bar (`inputs`) or the outputs bar, in viewport coordinates;
    /// null when the options hide it.
    CRectD BarRect(bool inputs) const;
    /// Its rows from the top: module ports in the module design view; in the
    /// system view each category followed by its ports unless it is contracted.
    const std::vector<CBarRow>& BarRows(bool inputs) const { return m_rows[inputs ? 0 : 1]; }

    /// The rectangle of a component or module port hit (model); null for other hits.
    CRectD PortRect(const CHit& port) const;
    /// Where connections meet a port (viewport): the outer edge of a port
    /// rectangle, the side of a reduced component's box, the inner edge of a bar
    /// row. Nothing for a row that is not shown.
    std::optional<CPointD> PortAnchor(const CHit& port) const;
    /// The object under a viewport point: the bars, then what is drawn last.
    CHit HitTest(CPointD viewport) const;
    /// Viewport point of the centre of an object; (0, 0) for an object not shown.
    CPointD CentreOf(const CHit& hit) const;
    /// What a selection rectangle (model) touches, in drawing order: the modules
    /// in the system view; in the module design view the components shown (by
    /// the box they show), or with `graphics` the background graphics.
    std::vector<CHit> Touching(const CRectD& world, bool graphics) const;
    /// The model rectangle of everything the mode shows; null when it shows nothing.
    CRectD ContentBounds() const;
    /// The model rectangle the scroll bars span: the boxes of the mode with a
    /// margin, and the scroll position.
    CRectD ScrollExtent() const;

  private:
    void BuildBarRows(bool inputs);
    const CBarRow* FindRow(const CHit& hit, bool inputs) const;
    int PortIndex(const CHit& port) const;

    CSystem& m_system;
    const CEditorState& m_editor;
    CViewTransform m_transform;
    double m_width;
    double m_height;
    CNetwork* m_module;
    std::vector<CBarRow> m_rows[2];
    // The row of each object a bar shows, so anchors are found without a walk.
    std::unordered_map<const void*, size_t> m_rowOf[2];
    // Port indexes by port, filled at the first port lookup.
    mutable std::unordered_map<const void*, int> m_portIndex;
};

}  // namespace zor2
