// Component boxes of the module design view: name, type, stage, connection
// counts, a port rectangle per input and output with its value and name, and the
// notes a type writes below its box; a reduced component shows its counts only.
// The user controls, the Indicator Light and the sim actions add their faces and
// helper lines; the display components draw their pictures inside their boxes.
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainterPath>
#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "components/math/vector.h"
#include "components/utility/display.h"
#include "components/utility/led_matrix.h"
#include "components/utility/sim_action.h"
#include "components/utility/sim_light.h"
#include "components/utility/user_control.h"
#include "designer/commands_view.h"
#include "designer/gui/view_paint.h"
#include "designer/label_layout.h"
#include "engine/catalogue.h"

namespace zor2::gui {
namespace {

// Port names beside the ports, in the view's own font size and a dark grey
// that reads on the background; cut names show whole on hover.
constexpr double kPortNameWidth = 90;
const QColor kPortName(0x30, 0x30, 0x30);

/// The port rectangles with their values in `small`; without the values where `values` is false.
void PaintPorts(QPainter& p, const CPaintScene& scene, const CNetworkModel& c, const QFont& small,
                bool values) {
    const CViewOptions& o = scene.Options();
    int i = 0;
    for (CModelInput* in : c.m_inputs) {
        const QRectF r = ToQ(ComponentPortRect(c, i++, false));
        p.setPen(c.m_selectedInputs.Contains(in) ? QPen(kSelected, 2) : QPen(kComponentBorder));
        p.setBrush(in->HasSource() ? QColor(0xE6, 0xF5, 0xE6) : kPortFill);
        p.drawRect(r);
        if (!values) continue;
        p.setFont(small);
        p.setPen(Qt::black);
        p.drawText(r.adjusted(2, 0, -2, 0), Qt::AlignVCenter | Qt::AlignRight, Q(in->ValueString()));
    }
    i = 0;
    for (CModelOutput* out : c.m_outputs) {
        const QRectF r = ToQ(ComponentPortRect(c, i++, true));
        p.setPen(c.m_selectedOutputs.Contains(out) ? QPen(kSelected, 2) : QPen(kComponentBorder));
        p.setBrush(o.highlightActiveOutputs && out->m_value != 0.0 ? kActive
                   : out->m_connections.Empty()                    ? kPortFill
                                                                   : QColor(0xF5, 0xE6, 0xDC));
        p.drawRect(r);
        if (!values) continue;
        p.setFont(small);
        p.setPen(QColor(0x14, 0x46, 0x14));
        p.drawText(r.adjusted(2, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft, Q(out->ValueString()));
    }
}

QColor LightColour(int32_t index) {
    static const QColor kColours[kLightColourCount] = {QColor(0xFF, 0xFF, 0xFF), QColor(0xFF, 0xE6, 0x00),
                                                       QColor(0xE6, 0x1E, 0x1E), QColor(0x96, 0x96, 0x96),
                                                       QColor(0x1E, 0xC8, 0x3C), QColor(0x1E, 0x50, 0xE6),
                                                       QColor(0x00, 0x00, 0x00)};
    return index >= 0 && index < kLightColourCount ? kColours[index] : kColours[kLightGrey];
}

/// The Indicator Light's lamp in the colour of its state.
void PaintIndicatorLight(QPainter& p, const CModelSimLight& light, const QRectF& box) {
    const double d = std::min(box.width(), box.height()) * 0.45;
    p.setPen(QPen(QColor(0x3C, 0x3C, 0x3C), 1.5));
    p.setBrush(LightColour(light.State()));
    p.drawEllipse(QRectF(box.center().x() - d / 2, box.top() + 6, d, d));
}

/// The user controls' faces: the button lit while on, the up and down arrows
/// filled while the control steps that way.
void PaintUserControl(QPainter& p, const CNetworkModel& c, const QRectF& box) {
    if (const auto* button = dynamic_cast<const CModelUserButton*>(&c)) {
        const QRectF face = box.adjusted(8, 8, -8, -28);
        p.setPen(QPen(kComponentBorder, 1.5));
        p.setBrush(button->m_value > kButtonThreshold ? kActive : QColor(0xDC, 0xDC, 0xDC));
        p.drawRoundedRect(face, 5, 5);
        return;
    }
    const auto* upDown = dynamic_cast<const CModelUserButtonUpDown*>(&c);
    if (!upDown) return;
    const bool up = upDown->Fields().increment >= 0.0;
    for (const bool isUp : {true, false}) {
        const QRectF area = ToQ(isUp ? upDown->UpArea() : upDown->DownArea());
        const double tipY = isUp ? area.top() : area.bottom();
        const double baseY = isUp ? area.bottom() : area.top();
        const QPointF arrow[] = {{area.center().x(), tipY}, {area.left(), baseY}, {area.right(), baseY}};
        p.setPen(QPen(kComponentBorder, 1.2));
        p.setBrush(upDown->Held() && up == isUp ? kActive : QColor(0xDC, 0xDC, 0xDC));
        p.drawPolygon(arrow, 3);
    }
}

/// A Format action's colour: "Clr: " and a swatch, drawn under the box.
void PaintFormatSwatch(QPainter& p, const CModelSimAction& action, const QRectF& box) {
    const QRectF text(box.left(), box.bottom() + 2, 28, 12);
    p.setPen(Qt::black);
    p.drawText(text, Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Clr: "));
    p.setPen(QPen(kComponentBorder));
    p.setBrush(ColourOf(action.Fields().colour));
    p.drawRect(QRectF(text.right(), text.top() + 1, 18, 10));
}

/// What the types of the vector, control and simulation-aid families draw besides
/// the common box; returns where the lines under the box start.
double PaintSimAids(QPainter& p, const CNetworkModel& c, const QRectF& box) {
    double below = box.bottom() + 2;
    if (const auto* light = dynamic_cast<const CModelSimLight*>(&c)) PaintIndicatorLight(p, *light, box);
    PaintUserControl(p, c, box);
    if (const auto* action = dynamic_cast<const CModelSimAction*>(&c);
        action && action->m_typeId == kTypeSimActionFormat) {
        PaintFormatSwatch(p, *action, box);
        below += 14;
    }
    return below;
}

// --- the display components' pictures -------------------------------------------------

/// A segment of a digit: a six-sided bar from `a` to `b` (horizontal or vertical), `t` thick.
QPolygonF SegmentShape(QPointF a, QPointF b, double t) {
    const double h = t / 2;
    if (a.y() == b.y())
        return QPolygonF({a,
                          {a.x() + h, a.y() - h},
                          {b.x() - h, b.y() - h},
                          b,
                          {b.x() - h, b.y() + h},
                          {a.x() + h, a.y() + h}});
    return QPolygonF({a,
                      {a.x() + h, a.y() + h},
                      {b.x() + h, b.y() - h},
                      b,
                      {b.x() - h, b.y() - h},
                      {a.x() - h, a.y() + h}});
}

void PaintLedDigit(QPainter& p, const QRectF& area, const CModelLEDDigit& d) {
    const double w = std::min(area.width(), area.height() / 2);
    const QRectF digit(area.center().x() - w / 2, area.center().y() - w, w, 2 * w);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1E, 0x1E, 0x1E));
    p.drawRoundedRect(digit.adjusted(-4, -4, 4, 4), 3, 3);
    const double t = w * 0.16, g = t * 0.2;
    const double l = digit.left() + t / 2, r = digit.right() - t / 2;
    const double top = digit.top() + t / 2, mid = digit.center().y(), bottom = digit.bottom() - t / 2;
    // seg1 … seg7: top, upper right, lower right, bottom, lower left, upper left, middle.
    const std::array<QPolygonF, 7> shapes = {
        SegmentShape({l + g, top}, {r - g, top}, t),    SegmentShape({r, top + g}, {r, mid - g}, t),
        SegmentShape({r, mid + g}, {r, bottom - g}, t), SegmentShape({l + g, bottom}, {r - g, bottom}, t),
        SegmentShape({l, mid + g}, {l, bottom - g}, t), SegmentShape({l, top + g}, {l, mid - g}, t),
        SegmentShape({l + g, mid}, {r - g, mid}, t)};
    const QColor lit = ColourOf(d.Colour());
    QColor dark = lit;
    dark.setAlpha(45);
    for (size_t k = 0; k < shapes.size(); ++k) {
        p.setBrush(d.Enabled() && d.Lit(k) ? lit : dark);
        p.drawPolygon(shapes[k]);
    }
}

void PaintColumnChart(QPainter& p, const QRectF& area, const CModelChartColumn& c, const QFont& tiny) {
    int bars = 0;
    for (const CModelInput* in : c.m_inputs)
        if (in->m_id != 10) ++bars;
    p.setFont(tiny);
    p.setPen(QColor(0x46, 0x46, 0x46));
    if (bars == 0) {
        p.drawText(area, Qt::AlignCenter, QStringLiteral("Drag to add\ndata input\nitems here"));
        return;
    }
    const QRectF plot = area.adjusted(24, 4, -4, -14);
    p.setBrush(Qt::white);
    p.setPen(QColor(0xA0, 0xA0, 0xA0));
    p.drawRect(plot);
    auto yOf = [&plot](double percent) {
        return plot.bottom() - plot.height() * std::clamp(percent, 0.0, 100.0) / 100;
    };
    p.setPen(QColor(0x46, 0x46, 0x46));
    for (const auto& [percent, label] : {std::pair{0, "0%"}, std::pair{50, "50%"}, std::pair{100, "100%"}})
        p.drawText(QRectF(area.left(), yOf(percent) - 6, 22, 12), Qt::AlignRight | Qt::AlignVCenter, label);
    if (c.ShowBars()) {
        const double slot = plot.width() / bars;
        int i = 0;
        for (const CModelInput* in : c.m_inputs) {
            if (in->m_id == 10) continue;
            const double v = c.Enabled() ? in->m_value : 0.0;
            const QRectF bar(plot.left() + slot * i++ + slot * 0.15, yOf(v), slot * 0.7,
                             plot.bottom() - yOf(v));
            const QColor zone = ColourOf(c.ZoneColour(ChartZone(v, c.Low(), c.High())));
            QLinearGradient fill(bar.topLeft(), bar.topRight());
            fill.setColorAt(0, zone.lighter(150));
            fill.setColorAt(1, zone.darker(120));
            p.setPen(Qt::NoPen);
            p.setBrush(fill);
            p.drawRect(bar);
        }
    }
    for (const auto& [limit, label] : {std::pair{c.Low(), "Low"}, std::pair{c.High(), "Ideal"}}) {
        p.setPen(QPen(QColor(0x50, 0x50, 0x50), 1, Qt::DashLine));
        p.drawLine(QPointF(plot.left(), yOf(limit)), QPointF(plot.right(), yOf(limit)));
        p.setPen(QColor(0x50, 0x50, 0x50));
        p.drawText(QRectF(plot.left() + 2, yOf(limit) - 11, plot.width() - 4, 10), Qt::AlignRight, label);
    }
    p.drawText(QRectF(area.left(), plot.bottom() + 1, area.width(), 12), Qt::AlignCenter,
               QStringLiteral("Current: %1 data inputs").arg(bars));
}

void PaintLedMatrix(QPainter& p, const QRectF& area, const CModel8x8Display& d) {
    const double side = std::min(area.width(), area.height());
    const QRectF square(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
    p.setPen(Qt::NoPen);
    p.setBrush(ColourOf(d.Background()));
    p.drawRect(square);
    const double cell = side / kLedSide;
    for (int i = 0; i < kLedCells; ++i) {
        const QRectF r(square.left() + cell * (i % kLedSide), square.top() + cell * (i / kLedSide), cell,
                       cell);
        p.setBrush(LedCodeColour(d.Enabled() ? d.Cells()[static_cast<size_t>(i)] : 0.0));
        p.drawEllipse(r.adjusted(cell * 0.12, cell * 0.12, -cell * 0.12, -cell * 0.12));
    }
}

/// The picture of a display component inside its box; nothing for other types.
void PaintDisplay(QPainter& p, const QRectF& box, const CNetworkModel& c, const QFont& tiny) {
    const QRectF area = box.adjusted(8, 16, -8, -28);
    if (const auto* digit = dynamic_cast<const CModelLEDDigit*>(&c))
        PaintLedDigit(p, area, *digit);
    else if (const auto* chart = dynamic_cast<const CModelChartColumn*>(&c))
        PaintColumnChart(p, area, *chart, tiny);
    else if (const auto* matrix = dynamic_cast<const CModel8x8Display*>(&c))
        PaintLedMatrix(p, area, *matrix);
}

/// Whether a cycle changes what a component shows besides its values: a display's
/// picture, a light's lamp, a user control's face.
bool IsLive(const CNetworkModel& c) {
    return dynamic_cast<const CModelLEDDigit*>(&c) || dynamic_cast<const CModelChartColumn*>(&c) ||
           dynamic_cast<const CModel8x8Display*>(&c) || dynamic_cast<const CModelSimLight*>(&c) ||
           dynamic_cast<const CModelUserButton*>(&c) || dynamic_cast<const CModelUserButtonUpDown*>(&c);
}

/// A component's box with its ports and the swatch a Format action draws under it.
QRectF Footprint(const CNetworkModel& c) {
    QRectF foot = ToQ(ComponentBox(c)).adjusted(0, 0, 0, 16);
    if (IsReduced(c)) return foot;
    for (const bool output : {false, true}) {
        const int count = static_cast<int>(output ? c.m_outputs.Size() : c.m_inputs.Size());
        for (int i = 0; i < count; ++i) foot |= ToQ(ComponentPortRect(c, i, output));
    }
    return foot;
}

}  // namespace

bool ComponentsSplit(const CPaintScene& scene) {
    if (scene.Options().highlightActiveOutputs || scene.Readable(scene.font) || scene.Readable(scene.Bold()))
        return false;
    struct CFoot {
        QRectF rect;
        bool live;
    };
    std::vector<CFoot> feet;
    bool anyLive = false;
    for (const CNetworkModel* c : scene.layout.Module()->m_components) {
        if (IsConsolidated(*c)) continue;
        // Grown by the widest pen, whose edge lies half outside the rectangle.
        feet.push_back({Footprint(*c).adjusted(-3, -3, 3, 3), IsLive(*c)});
        anyLive = anyLive || feet.back().live;
    }
    if (!anyLive) return true;
    // A sweep from left to right compares only the footprints that share columns.
    std::sort(feet.begin(), feet.end(),
              [](const CFoot& a, const CFoot& b) { return a.rect.left() < b.rect.left(); });
    for (size_t i = 0; i < feet.size(); ++i)
        for (size_t j = i + 1; j < feet.size() && feet[j].rect.left() <= feet[i].rect.right(); ++j)
            if ((feet[i].live || feet[j].live) && feet[i].rect.intersects(feet[j].rect)) return false;
    return true;
}

QColor LedCodeColour(double code) {
    static const QColor kCodes[kLedCodes] = {{0x3A, 0x3A, 0x3A}, {0xE8, 0x24, 0x24}, {0x24, 0xC8, 0x46},
                                             {0x30, 0x64, 0xF0}, {0xF0, 0xD2, 0x1E}, {0xF8, 0xF8, 0xF8}};
    const int i = code >= 0 && code < kLedCodes ? static_cast<int>(code) : 0;
    return kCodes[i];
}

void PaintComponents(QPainter& p, const CPaintScene& scene, EComponents which) {
    const CViewOptions& o = scene.Options();
    const QFont small = scene.Scaled(0.8);
    const QFont tiny = scene.Scaled(0.7);
    const QFont bold = scene.Bold();
    // Zoomed out, text too small to read is left out: it costs most of the drawing.
    const bool tinyText = scene.Readable(tiny), smallText = scene.Readable(small);
    for (CNetworkModel* c : scene.layout.Module()->m_components) {
        if (IsConsolidated(*c)) continue;
        if (which != EComponents::All && (which == EComponents::Live) != IsLive(*c)) continue;
        const QRectF box = ToQ(ComponentBox(*c));
        // With the name above, the ports and their names beside the box and the
        // type's own lines under it.
        const double side = c->m_portWidth + kPortNameWidth;
        if (!scene.ShowsModel(box.adjusted(-side, -40, side, 80))) continue;
        p.setPen(c->m_selected ? QPen(kSelected, 2.5) : QPen(kComponentBorder, 1.2));
        p.setBrush(kComponentFill);
        p.drawRoundedRect(box, 4, 4);
        p.setFont(tiny);
        p.setPen(QColor(0x46, 0x46, 0x46));
        if (IsReduced(*c)) {
            if (tinyText)
                p.drawText(
                    box.adjusted(2, 2, -2, -2), Qt::AlignCenter,
                    QString::asprintf("S: %d\nI: %d  O: %d", c->m_stage, static_cast<int>(c->m_inputs.Size()),
                                      static_cast<int>(c->m_outputs.Size())));
            continue;
        }
        PaintDisplay(p, box, *c, tiny);
        p.setFont(tiny);
        p.setPen(QColor(0x46, 0x46, 0x46));
        if (o.helperText && tinyText) {
            const char* typeName = CatalogueName(c->m_typeId);
            p.drawText(box.adjusted(3, 3, -3, -26), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                       typeName ? QString::fromUtf8(typeName) : QString());
        }
        if (tinyText) {
            p.drawText(QRectF(box.left() + 2, box.bottom() - 24, box.width() - 4, 11), Qt::AlignHCenter,
                       QString::asprintf("S: %d", c->m_stage));
            p.drawText(QRectF(box.left() + 2, box.bottom() - 13, box.width() - 4, 11), Qt::AlignHCenter,
                       QString::asprintf("O: %d/%d", c->CountConnectionsOut(),
                                         static_cast<int>(c->m_outputs.Size())));
        }
        PaintPorts(p, scene, *c, small, smallText);
        p.setFont(tiny);
        const double below = PaintSimAids(p, *c, box);
        if (o.helperText && tinyText) {
            // The type's own lines (its settings) under the box, 12 pixels apart.
            p.setPen(QColor(0x46, 0x46, 0x46));
            double y = below;
            for (const std::string& line : c->HelperText()) {
                p.drawText(QRectF(box.center().x() - 120, y, 240, 12), Qt::AlignHCenter | Qt::AlignTop,
                           Q(line));
                y += 12;
            }
        }
    }
    // The names last, each in a place that covers no other box or name.
    if (which == EComponents::Still) return;
    std::optional<CModuleLabels> placed;
    const CModuleLabels& labels = scene.labels ? *scene.labels : placed.emplace(PlaceLabels(scene));
    p.setFont(scene.font);
    p.setPen(kPortName);
    if (!scene.Readable(scene.font)) return;
    for (const CPortName& n : labels.ports) {
        const QRectF r = ToQ(n.rect);
        if (!scene.ShowsModel(r)) continue;
        const std::string& name =
            n.output ? n.component->m_outputs.At(n.index)->m_name : n.component->m_inputs.At(n.index)->m_name;
        p.drawText(r, Qt::AlignVCenter | (n.output ? Qt::AlignLeft : Qt::AlignRight),
                   n.cut ? p.fontMetrics().elidedText(Q(name), Qt::ElideRight, static_cast<int>(r.width()))
                         : Q(name));
    }
    if (!o.componentNames || !scene.Readable(bold)) return;
    p.setFont(bold);
    p.setPen(Qt::black);
    for (const CComponentTitle& t : labels.titles) {
        const QRectF r = ToQ(t.place.rect);
        if (!scene.ShowsModel(r)) continue;
        const QString name = Q(t.component->m_name);
        p.drawText(r, Qt::AlignCenter,
                   t.place.cut ? p.fontMetrics().elidedText(name, Qt::ElideRight, static_cast<int>(r.width()))
                               : name);
    }
}

CModuleLabels PlaceLabels(const CPaintScene& scene) {
    const CViewOptions& o = scene.Options();
    const QFont bold = scene.Bold();
    return ModuleLabels(*scene.layout.Module(), TitleWidth(bold), TitleLine(bold), o.inputNames,
                        o.outputNames, kPortNameWidth);
}

std::function<double(const std::string&)> TitleWidth(const QFont& font) {
    return [metrics = QFontMetricsF(font)](const std::string& name) {
        return metrics.horizontalAdvance(QString::fromStdString(name)) + 4;
    };
}

double TitleLine(const QFont& font) {
    return QFontMetricsF(font).height();
}

}  // namespace zor2::gui
