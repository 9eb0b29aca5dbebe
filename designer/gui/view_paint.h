// The painters of the main view, one set per kind of object, drawing from the
// core layout, with the colours they share and the conversions between the
// layout's geometry and Qt's at the edge of the GUI.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <functional>
#include <string>

#include "designer/label_layout.h"
#include "designer/view_layout.h"

namespace zor2::gui {

inline QRectF ToQ(const CRectD& r) {
    return QRectF(r.left, r.top, r.Width(), r.Height());
}
inline QRectF ToQ(const CRect& r) {
    return ToQ(CRectD::Of(r));
}
inline QPointF ToQ(CPointD p) {
    return QPointF(p.x, p.y);
}
inline CPointD FromQ(const QPointF& p) {
    return {p.x(), p.y()};
}
inline QString Q(const std::string& s) {
    return QString::fromStdString(s);
}
/// Colours are stored 0xBBGGRR.
inline QColor ColourOf(int32_t c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

/// The colour an 8x8 LED cell code stands for (0 and unknown codes: off).
QColor LedCodeColour(double code);

inline const QColor kModuleFill(0xEE, 0xF3, 0xFA);
inline const QColor kModuleBorder(0x46, 0x5A, 0x78);
inline const QColor kSelected(0x1E, 0x78, 0xE6);
inline const QColor kComponentFill(0xFA, 0xF7, 0xEC);
inline const QColor kComponentBorder(0x6E, 0x64, 0x46);
inline const QColor kPortFill(0xFF, 0xFF, 0xFF);
inline const QColor kActive(0x3C, 0xDC, 0x3C);
inline const QColor kWire(0x32, 0x64, 0x96);      // between modules or components
inline const QColor kIncoming(0x28, 0x8C, 0x50);  // from the inputs side
inline const QColor kOutgoing(0xB4, 0x50, 0x28);  // to the outputs side

/// What every painter draws from: the layout of the mode, with its system and
/// editor state, and the view's font, from which the painters take their faces.
struct CPaintScene {
    const CViewLayout& layout;
    QFont font;
    // What the viewport shows, in model and in viewport coordinates; the painters
    // skip what lies wholly outside. Null rectangles show everything.
    QRectF visibleModel{};
    QRectF visibleViewport{};
    // The places of the module's names when the view keeps them between paints;
    // null: the painter places them.
    const CModuleLabels* labels = nullptr;
    // How much larger than on screen the device shows the view (a printed page).
    double textScale = 1;

    const CViewOptions& Options() const { return layout.Editor().m_options; }
    bool IsSelected(const CHit& hit) const { return IsHitSelected(layout.Editor(), hit); }
    bool ShowsModel(const QRectF& r) const { return visibleModel.isNull() || visibleModel.intersects(r); }
    bool ShowsViewport(const QRectF& r) const {
        return visibleViewport.isNull() || visibleViewport.intersects(r);
    }
    /// Whether text in `face` is tall enough on screen to read at the view's zoom.
    bool Readable(const QFont& face) const;
    /// The view's font scaled by `k`, or in bold.
    QFont Scaled(double k) const;
    QFont Bold() const;
};

// Viewport coordinates: the grid, the bars and the connections.
void PaintGrid(QPainter& p, const CPaintScene& scene);
/// Both bars of the mode with their rows.
void PaintBars(QPainter& p, const CPaintScene& scene);
/// Connections between modules and system ports, or inside the designed module.
void PaintConnections(QPainter& p, const CPaintScene& scene);

// Model coordinates: the painter is scaled and translated by the view's transform.
void PaintModules(QPainter& p, const CPaintScene& scene);
/// Which of the designed module's components a painter draws.
enum class EComponents {
    All,
    Still,  // those whose drawing no cycle changes at this zoom
    Live    // the others, with the names and values
};
void PaintComponents(QPainter& p, const CPaintScene& scene, EComponents which = EComponents::All);
/// Whether the still components can go under the others unseen: zoomed out so
/// far that no text is drawn, active outputs not marked, and no live component
/// (a display, a light, a user control) touching another.
bool ComponentsSplit(const CPaintScene& scene);
/// How wide a component's name is in `font` (model units), and its line's height.
std::function<double(const std::string&)> TitleWidth(const QFont& font);
/// The places of the designed module's names, measured in bold, the wider
/// face, so the plain port names always fit their places.
CModuleLabels PlaceLabels(const CPaintScene& scene);
double TitleLine(const QFont& font);
/// The background graphics, under the components.
void PaintGraphics(QPainter& p, const CPaintScene& scene);
/// Charts and value windows of the designed module, above the components.
void PaintCharts(QPainter& p, const CPaintScene& scene);

}  // namespace zor2::gui
