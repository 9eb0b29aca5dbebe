// Drawing, hit-testing and gestures of the main view.
#include "designer/gui/design_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "designer/commands_align.h"
#include "designer/commands_charts.h"
#include "designer/commands_component.h"
#include "designer/commands_graphics.h"
#include "designer/commands_module.h"
#include "designer/commands_system.h"
#include "designer/commands_view.h"
#include "engine/catalogue.h"

namespace zor2::gui {
namespace {

constexpr double kBarWidth = 170;
constexpr double kBarTitle = 24;
constexpr double kCategoryRow = 22;
constexpr double kPortRow = 20;
constexpr double kModuleTitle = 22;
constexpr double kModulePortTop = 34;
constexpr double kModulePortSize = 10;
constexpr double kHandle = 8;       // side of a graphic's corner clasp
constexpr double kChartTitle = 16;  // title bar of a chart, with its size buttons
constexpr double kSizeButton = 13;
constexpr double kMinZoom = 0.25;
constexpr double kMaxZoom = 4.0;

const QColor kModuleFill(0xEE, 0xF3, 0xFA);
const QColor kModuleBorder(0x46, 0x5A, 0x78);
const QColor kSelected(0x1E, 0x78, 0xE6);
const QColor kComponentFill(0xFA, 0xF7, 0xEC);
const QColor kComponentBorder(0x6E, 0x64, 0x46);
const QColor kBarFill(0xF2, 0xF2, 0xF2);
const QColor kCategoryFill(0xDC, 0xE4, 0xEE);
const QColor kWire(0x32, 0x64, 0x96);
const QColor kPortFill(0xFF, 0xFF, 0xFF);
const QColor kActive(0x3C, 0xDC, 0x3C);

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QRectF ToQ(const CRect& r) {
    return QRectF(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

/// Colours are stored 0xBBGGRR.
QColor ColourOf(int32_t c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

}  // namespace

CDesignView::CDesignView(CGuiActions& actions, CViewHost host, QWidget* parent)
    : QAbstractScrollArea(parent), m_actions(actions), m_host(std::move(host)) {
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    viewport()->setMouseTracking(false);
    setFocusPolicy(Qt::StrongFocus);
    horizontalScrollBar()->setSingleStep(16);
    verticalScrollBar()->setSingleStep(16);
    m_scroll = QPointF(-kBarWidth - 20, -20);
    UpdateScrollRange();
}

// --- mode ------------------------------------------------------------------

void CDesignView::ShowSystem() {
    m_actions.Editor().ShowSystem();
    m_actions.Editor().ApplyToModel(m_actions.System());
    m_scroll = QPointF(-kBarWidth - 20, -20);
    UpdateScrollRange();
    viewport()->update();
    if (m_host.modeChanged) m_host.modeChanged();
}

void CDesignView::ShowModule(CNetwork* module) {
    if (!module) return;
    m_actions.Editor().DesignModule(module->m_id);
    m_actions.Editor().ApplyToModel(m_actions.System());
    CenterView();
    if (m_host.modeChanged) m_host.modeChanged();
}

CNetwork* CDesignView::Module() const {
    return m_actions.Editor().DesignedModule(m_actions.System());
}

void CDesignView::DocumentReplaced() {
    // The editor state names the designed module and the selection by id, so
    // both survive the replaced system; the model's flags follow it.
    m_actions.Editor().ApplyToModel(m_actions.System());
    m_pressHit = m_rightSource = CHit{};
    m_dragging = m_rubberBand = false;
    UpdateVisible();
    UpdateScrollRange();
    viewport()->update();
    if (m_host.modeChanged) m_host.modeChanged();
}

void CDesignView::UpdateVisible() {
    const QPointF a = ToWorld(QPointF(0, 0));
    const QPointF b = ToWorld(QPointF(viewport()->width(), viewport()->height()));
    m_actions.Editor().m_visible = {static_cast<int32_t>(a.x()), static_cast<int32_t>(a.y()),
                                    static_cast<int32_t>(b.x()), static_cast<int32_t>(b.y())};
    emit viewChanged();
}

void CDesignView::ScrollToCentre(const QPointF& world) {
    const QSizeF vp = QSizeF(viewport()->size()) / m_zoom;
    m_scroll = world - QPointF(vp.width() / 2, vp.height() / 2);
    UpdateScrollRange();
    viewport()->update();
}

void CDesignView::SetZoom(double zoom) {
    m_zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    UpdateScrollRange();
    viewport()->update();
}

void CDesignView::CenterView() {
    const QSizeF vp = QSizeF(viewport()->size()) / m_zoom;
    const bool empty = Module() ? Module()->m_components.Empty() : m_actions.System().m_modules.Empty();
    const CRect r = zor2::CenterView(m_actions.Doc(), static_cast<int32_t>(vp.width()),
                                     static_cast<int32_t>(vp.height()));
    // An empty view keeps its origin clear of the inputs bar.
    m_scroll = empty ? QPointF(-kBarWidth / m_zoom - 20, -20) : QPointF(r.left, r.top);
    UpdateScrollRange();
    viewport()->update();
}

QRectF CDesignView::ContentBounds() const {
    QRectF bounds;
    CSystem& s = m_actions.System();
    if (CNetwork* m = Module()) {
        for (CNetworkModel* c : m->m_components)
            if (!IsHidden(*c)) bounds |= BoxOf(*c);
        for (const CChart* c : s.m_charts.m_charts)
            if (c->m_module == m) bounds |= ToQ(c->m_rect);
        for (const CValueWindow* v : s.m_valueWindows.m_windows)
            if (v->m_module == m) bounds |= ToQ(v->m_rect);
        for (const CGraphic* g : s.m_graphics.m_graphics) bounds |= ToQ(g->m_rect);
    } else {
        for (CNetwork* m : s.m_modules) bounds |= ModuleBox(*m);
    }
    return bounds;
}

void CDesignView::FitContent(bool anyZoom) {
    const QRectF bounds = ContentBounds().adjusted(-30, -30, 30, 30);
    if (bounds.isEmpty()) return;
    // The bars cover both sides of the viewport; the content goes between them.
    const double inner = std::max(50.0, viewport()->width() - LeftBarRect().width() - RightBarRect().width());
    const double zoom = std::min(inner / bounds.width(), viewport()->height() / bounds.height());
    m_zoom = anyZoom ? std::min(zoom, kMaxZoom) : std::clamp(zoom, kMinZoom, kMaxZoom);
    const double left = LeftBarRect().width() / m_zoom;
    m_scroll = QPointF(bounds.left() - left - (inner / m_zoom - bounds.width()) / 2,
                       bounds.top() - (viewport()->height() / m_zoom - bounds.height()) / 2);
    UpdateScrollRange();
    viewport()->update();
}

void CDesignView::SetPlace(double zoom, QPointF scroll) {
    m_zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    m_scroll = scroll;
    UpdateScrollRange();
    viewport()->update();
}

std::vector<CNetwork*> CDesignView::ModulesInDrawOrder() const {
    CSystem& s = m_actions.System();
    std::vector<CNetwork*> order;
    for (CNetwork* m : s.m_modulesByCreation)
        if (s.m_modules.IndexOf(m) >= 0) order.push_back(m);
    if (order.size() != s.m_modules.Size()) order = s.m_modules.Snapshot();
    return order;
}

// --- geometry --------------------------------------------------------------

QPointF CDesignView::ToWorld(const QPointF& v) const {
    return v / m_zoom + m_scroll;
}
QPointF CDesignView::ToViewport(const QPointF& w) const {
    return (w - m_scroll) * m_zoom;
}

QRectF CDesignView::LeftBarRect() const {
    const bool shown = Module() ? Options().showModuleInputsBar : Options().showSystemInputsBar;
    return shown ? QRectF(0, 0, kBarWidth, viewport()->height()) : QRectF();
}

QRectF CDesignView::RightBarRect() const {
    const bool shown = Module() ? Options().showModuleOutputsBar : Options().showSystemOutputsBar;
    return shown ? QRectF(viewport()->width() - kBarWidth, 0, kBarWidth, viewport()->height()) : QRectF();
}

std::vector<CDesignView::CBarRow> CDesignView::LeftBarRows() const {
    return BarRows(true);
}

std::vector<CDesignView::CBarRow> CDesignView::RightBarRows() const {
    return BarRows(false);
}

std::vector<CDesignView::CBarRow> CDesignView::BarRows(bool inputs) const {
    std::vector<CBarRow> rows;
    const QRectF bar = inputs ? LeftBarRect() : RightBarRect();
    if (bar.isNull()) return rows;
    double y = kBarTitle;
    auto row = [&](double height, double advance, const CHit& hit) {
        rows.push_back({QRectF(bar.left(), y, kBarWidth, height), hit});
        y += advance;
    };
    if (CNetwork* m = Module()) {
        if (inputs)
            for (CNetworkInput* in : m->m_inputs)
                row(kPortRow + 2, kPortRow + 4, {.kind = EHit::ModInput, .module = m, .moduleInput = in});
        else
            for (CNetworkOutput* out : m->m_outputs)
                row(kPortRow + 2, kPortRow + 4, {.kind = EHit::ModOutput, .module = m, .moduleOutput = out});
        return rows;
    }
    // A category row, then its members unless it is contracted.
    auto category = [&](const CHit& hit, bool contracted, const auto& members, auto memberHit) {
        row(kCategoryRow, kCategoryRow, hit);
        if (!contracted)
            for (auto* p : members) row(kPortRow, kPortRow, memberHit(p));
        y += 4;
    };
    CSystem& s = m_actions.System();
    if (inputs) {
        for (CExternalInputCategory* cat : s.m_inputCategories)
            category({.kind = EHit::InputCategory, .inputCategory = cat},
                     IsInputCategoryContracted(m_actions.Doc(), cat->m_id), cat->m_members.Items(),
                     [](CExternalInput* p) { return CHit{.kind = EHit::SystemInput, .systemInput = p}; });
    } else {
        for (CExternalOutputCategory* cat : s.m_outputCategories)
            category({.kind = EHit::OutputCategory, .outputCategory = cat},
                     IsOutputCategoryContracted(m_actions.Doc(), cat->m_id), cat->m_members.Items(),
                     [](CExternalOutput* p) { return CHit{.kind = EHit::SystemOutput, .systemOutput = p}; });
    }
    return rows;
}

QRectF CDesignView::ModuleBox(const CNetwork& m) const {
    const int ports = static_cast<int>(std::max(m.m_inputs.Size(), m.m_outputs.Size()));
    const int rows = std::max(m.m_collapsedInputs ? 1 : ports, 1);
    const double height = std::max<double>(m.m_minBoxHeight, rows * kPortRow + m.m_minPortColumnHeight);
    const double width = m.m_boxWidth > 0 ? m.m_boxWidth : 170;
    return QRectF(m.m_position.x - width / 2, m.m_position.y - height / 2, width, height);
}

QRectF CDesignView::ModulePortRect(const CNetwork& m, int index, bool output) const {
    const QRectF box = ModuleBox(m);
    const double x = output ? box.right() - kModulePortSize / 2 : box.left() - kModulePortSize / 2;
    return QRectF(x, box.top() + kModulePortTop + index * kPortRow, kModulePortSize, kModulePortSize);
}

QRectF CDesignView::BoxOf(const CNetworkModel& c) const {
    return ToQ(ShownBox(c));
}

QRectF CDesignView::ChartSizeButton(const CChart& chart, int code) const {
    const QRectF r = ToQ(chart.m_rect);
    return QRectF(r.right() - (4 - code) * (kSizeButton + 2) - 2, r.top() + 2, kSizeButton, kChartTitle - 4);
}

QRectF CDesignView::GraphicHandle(const CGraphic& g, int corner) const {
    const QRectF r = ToQ(g.m_rect);
    const QPointF corners[4] = {r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()};
    const QPointF c = corners[corner & 3];
    return QRectF(c.x() - kHandle / 2, c.y() - kHandle / 2, kHandle, kHandle);
}

QRectF CDesignView::ComponentPortRect(const CNetworkModel& c, int index, bool output) const {
    const QRectF box = ToQ(c.m_box);
    const double h = c.m_portHeight, step = c.m_portHeight + c.m_portSpacing;
    double y = box.top() + c.m_portOffset + index * step;
    if (!output && c.m_singleInputSlot) y = box.center().y() - h / 2;
    const double x = output ? box.right() : box.left() - c.m_portWidth;
    return QRectF(x, y, c.m_portWidth, h);
}

bool CDesignView::IsHidden(const CNetworkModel& c) const {
    return c.m_graphicId != 0;
}

QRectF CDesignView::PortRectOf(const CHit& port) const {
    switch (port.kind) {
        case EHit::ComponentInput:
            return ComponentPortRect(*port.component, port.component->m_inputs.IndexOf(port.input), false);
        case EHit::ComponentOutput:
            return ComponentPortRect(*port.component, port.component->m_outputs.IndexOf(port.output), true);
        case EHit::ModuleInput:
            return ModulePortRect(*port.module, port.module->m_inputs.IndexOf(port.moduleInput), false);
        case EHit::ModuleOutput:
            return ModulePortRect(*port.module, port.module->m_outputs.IndexOf(port.moduleOutput), true);
        default:
            return QRectF();
    }
}

QPointF CDesignView::PortAnchor(const CHit& port) const {
    const bool output = port.kind == EHit::ComponentOutput || port.kind == EHit::ModuleOutput;
    switch (port.kind) {
        case EHit::ComponentInput:
        case EHit::ComponentOutput:
        case EHit::ModuleInput:
        case EHit::ModuleOutput: {
            // A reduced component's wires meet the sides of its small box.
            const bool reduced = (port.kind == EHit::ComponentInput || port.kind == EHit::ComponentOutput) &&
                                 IsReduced(*port.component);
            const QRectF r = reduced ? BoxOf(*port.component) : PortRectOf(port);
            return ToViewport(QPointF(output ? r.right() : r.left(), r.center().y()));
        }
        default:
            break;
    }
    for (const CBarRow& row : LeftBarRows())
        if (row.hit == port) return QPointF(row.rect.right(), row.rect.center().y());
    for (const CBarRow& row : RightBarRows())
        if (row.hit == port) return QPointF(row.rect.left(), row.rect.center().y());
    return QPointF();
}

CHit CDesignView::HitTest(const QPoint& vp) const {
    const QPointF v(vp);
    for (const CBarRow& row : LeftBarRows())
        if (row.rect.contains(v)) return row.hit;
    if (LeftBarRect().contains(v))
        return CHit{.kind = Module() ? EHit::ModInputsBar : EHit::InputsBar, .module = Module()};
    for (const CBarRow& row : RightBarRows())
        if (row.rect.contains(v)) return row.hit;
    if (RightBarRect().contains(v))
        return CHit{.kind = Module() ? EHit::ModOutputsBar : EHit::OutputsBar, .module = Module()};
    const QPointF w = ToWorld(v);
    const double slack = 3 / m_zoom;
    if (!Module()) {
        const auto order = ModulesInDrawOrder();
        for (auto it = order.rbegin(); it != order.rend(); ++it) {
            CNetwork* m = *it;
            int i = 0;
            for (CNetworkInput* in : m->m_inputs) {
                if (ModulePortRect(*m, i++, false).adjusted(-slack, -slack, slack, slack).contains(w))
                    return CHit{.kind = EHit::ModuleInput, .module = m, .moduleInput = in};
            }
            i = 0;
            for (CNetworkOutput* out : m->m_outputs) {
                if (ModulePortRect(*m, i++, true).adjusted(-slack, -slack, slack, slack).contains(w))
                    return CHit{.kind = EHit::ModuleOutput, .module = m, .moduleOutput = out};
            }
            if (ModuleBox(*m).contains(w)) return CHit{.kind = EHit::Module, .module = m};
        }
        return CHit{};
    }
    CSystem& s = m_actions.System();
    // Value windows and charts lie above everything else.
    const auto windows = s.m_valueWindows.m_windows.Snapshot();
    for (auto it = windows.rbegin(); it != windows.rend(); ++it)
        if ((*it)->Resolved() && (*it)->m_module == Module() && ToQ((*it)->m_rect).contains(w))
            return CHit{.kind = EHit::ValueWindow, .module = Module(), .valueWindow = *it};
    const auto charts = s.m_charts.m_charts.Snapshot();
    for (auto it = charts.rbegin(); it != charts.rend(); ++it) {
        CChart* c = *it;
        if (!c->Resolved() || c->m_module != Module() || !ToQ(c->m_rect).contains(w)) continue;
        for (int code = kChartSmall; code <= kChartLarge; ++code)
            if (ChartSizeButton(*c, code).contains(w))
                return CHit{.kind = EHit::ChartSizeButton, .module = Module(), .chart = c, .part = code};
        return CHit{.kind = EHit::Chart, .module = Module(), .chart = c};
    }
    for (CGraphic* g : s.m_graphics.m_graphics) {
        if (!IsSelected({.kind = EHit::Graphic, .graphic = g})) continue;
        for (int corner = 0; corner < 4; ++corner)
            if (GraphicHandle(*g, corner).adjusted(-slack, -slack, slack, slack).contains(w))
                return CHit{.kind = EHit::GraphicHandle, .module = Module(), .graphic = g, .part = corner};
    }
    const auto comps = Module()->m_components.Snapshot();
    for (auto it = comps.rbegin(); it != comps.rend(); ++it) {
        CNetworkModel* c = *it;
        if (IsHidden(*c)) continue;
        if (IsReduced(*c)) {
            if (BoxOf(*c).contains(w))
                return CHit{.kind = EHit::Component, .module = Module(), .component = c};
            continue;
        }
        int i = 0;
        for (CModelInput* in : c->m_inputs) {
            if (ComponentPortRect(*c, i++, false).contains(w))
                return CHit{.kind = EHit::ComponentInput, .module = Module(), .component = c, .input = in};
        }
        i = 0;
        for (CModelOutput* out : c->m_outputs) {
            if (ComponentPortRect(*c, i++, true).contains(w))
                return CHit{.kind = EHit::ComponentOutput, .module = Module(), .component = c, .output = out};
        }
        if (ToQ(c->m_box).contains(w))
            return CHit{.kind = EHit::Component, .module = Module(), .component = c};
    }
    const auto graphics = s.m_graphics.m_graphics.Snapshot();
    for (auto it = graphics.rbegin(); it != graphics.rend(); ++it)
        if (ToQ((*it)->m_rect).contains(w))
            return CHit{.kind = EHit::Graphic, .module = Module(), .graphic = *it};
    return CHit{};
}

QPoint CDesignView::CentreOf(const CHit& hit) const {
    switch (hit.kind) {
        case EHit::Module:
            return ToViewport(ModuleBox(*hit.module).center()).toPoint();
        case EHit::Component:
            return ToViewport(BoxOf(*hit.component).center()).toPoint();
        case EHit::Chart:
            return ToViewport(ToQ(hit.chart->m_rect).center() + QPointF(0, kChartTitle / 2)).toPoint();
        case EHit::ChartSizeButton:
            return ToViewport(ChartSizeButton(*hit.chart, hit.part).center()).toPoint();
        case EHit::ValueWindow:
            return ToViewport(ToQ(hit.valueWindow->m_rect).center()).toPoint();
        case EHit::GraphicHandle:
            return ToViewport(GraphicHandle(*hit.graphic, hit.part).center()).toPoint();
        case EHit::ComponentInput:
        case EHit::ComponentOutput:
        case EHit::ModuleInput:
        case EHit::ModuleOutput:
            return ToViewport(PortRectOf(hit).center()).toPoint();
        case EHit::Graphic:
            return ToViewport(ToQ(hit.graphic->m_rect).center()).toPoint();
        case EHit::InputsBar:
        case EHit::ModInputsBar:
            return QPoint(static_cast<int>(kBarWidth / 2), viewport()->height() - 10);
        case EHit::OutputsBar:
        case EHit::ModOutputsBar:
            return QPoint(viewport()->width() - static_cast<int>(kBarWidth / 2), viewport()->height() - 10);
        default:
            break;
    }
    for (const CBarRow& row : LeftBarRows())
        if (row.hit == hit) return row.rect.center().toPoint();
    for (const CBarRow& row : RightBarRows())
        if (row.hit == hit) return row.rect.center().toPoint();
    return QPoint();
}

void CDesignView::UpdateScrollRange() {
    QRectF bounds(-kBarWidth - 200, -200, 400, 400);
    if (Module()) {
        for (CNetworkModel* c : Module()->m_components) bounds |= BoxOf(*c);
    } else {
        for (CNetwork* m : m_actions.System().m_modules) bounds |= ModuleBox(*m);
    }
    bounds.adjust(-400, -400, 400, 400);
    bounds |= QRectF(m_scroll, QSizeF(1, 1));
    QScrollBar* h = horizontalScrollBar();
    QScrollBar* v = verticalScrollBar();
    const QSignalBlocker bh(h), bv(v);
    h->setRange(static_cast<int>(bounds.left() * m_zoom), static_cast<int>(bounds.right() * m_zoom));
    v->setRange(static_cast<int>(bounds.top() * m_zoom), static_cast<int>(bounds.bottom() * m_zoom));
    h->setPageStep(viewport()->width());
    v->setPageStep(viewport()->height());
    h->setValue(static_cast<int>(m_scroll.x() * m_zoom));
    v->setValue(static_cast<int>(m_scroll.y() * m_zoom));
    UpdateVisible();
}

void CDesignView::scrollContentsBy(int, int) {
    m_scroll = QPointF(horizontalScrollBar()->value() / m_zoom, verticalScrollBar()->value() / m_zoom);
    UpdateVisible();
    viewport()->update();
}

void CDesignView::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    UpdateScrollRange();
}

// --- painting --------------------------------------------------------------

void CDesignView::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(viewport()->rect(), ColourOf(Options().backgroundColour));
    PaintGrid(p);
    if (Module())
        PaintModule(p);
    else
        PaintSystem(p);
    if (m_rubberBand) {
        p.setPen(QPen(kSelected, 1, Qt::DashLine));
        p.setBrush(QColor(0x1E, 0x78, 0xE6, 30));
        p.drawRect(m_rubberRect.normalized());
    }
}

void CDesignView::PaintGrid(QPainter& p) {
    if (!Options().showGrid || Options().gridSpacing < 2) return;
    const double step = Options().gridSpacing * m_zoom;
    if (step < 4) return;
    p.setPen(QPen(ColourOf(Options().gridColour), 1));
    const double x0 = std::fmod(-m_scroll.x() * m_zoom, step);
    const double y0 = std::fmod(-m_scroll.y() * m_zoom, step);
    for (double x = x0; x < viewport()->width(); x += step)
        p.drawLine(QPointF(x, 0), QPointF(x, viewport()->height()));
    for (double y = y0; y < viewport()->height(); y += step)
        p.drawLine(QPointF(0, y), QPointF(viewport()->width(), y));
}

void CDesignView::PaintConnection(QPainter& p, QPointF a, QPointF b, const QColor& colour) {
    p.setPen(QPen(colour, 1.5));
    p.setBrush(Qt::NoBrush);
    QPainterPath path(a);
    switch (Options().connectorType) {
        case 0:
            path.lineTo(b);
            break;
        case 1: {
            const double mx = (a.x() + b.x()) / 2;
            path.lineTo(mx, a.y());
            path.lineTo(mx, b.y());
            path.lineTo(b);
            break;
        }
        default: {
            const double dx = std::max(40.0, std::abs(b.x() - a.x()) / 2);
            path.cubicTo(a + QPointF(dx, 0), b - QPointF(dx, 0), b);
            break;
        }
    }
    p.drawPath(path);
    p.setBrush(colour);
    p.drawEllipse(b, 2.5, 2.5);
}

QString CDesignView::RowText(const CHit& h) const {
    switch (h.kind) {
        case EHit::SystemInput:
            return Q(h.systemInput->m_name);
        case EHit::SystemOutput:
            return Q(h.systemOutput->m_name);
        case EHit::InputCategory:
            return Q(h.inputCategory->m_name);
        case EHit::OutputCategory:
            return Q(h.outputCategory->m_name);
        case EHit::ModInput:
            return Q(h.moduleInput->m_name);
        case EHit::ModOutput:
            return Q(h.moduleOutput->m_name);
        default:
            return QString();
    }
}

void CDesignView::PaintBar(QPainter& p, const QRectF& bar, const std::vector<CBarRow>& rows, bool left,
                           const QString& title) {
    if (bar.isNull()) return;
    p.setPen(QPen(QColor(0xB4, 0xB4, 0xB4)));
    p.setBrush(kBarFill);
    p.drawRect(bar);
    QFont f = font();
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRectF(bar.left() + 6, 0, bar.width() - 12, kBarTitle), Qt::AlignVCenter | Qt::AlignLeft,
               title);
    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.9);
    // Without detail the system bars show names only.
    const bool detail = Module() || (left ? Options().inputCategoryDetail : Options().outputCategoryDetail);
    for (const CBarRow& row : rows) {
        const CHit& h = row.hit;
        const bool category = h.kind == EHit::InputCategory || h.kind == EHit::OutputCategory;
        bool selected = false;
        QString value;
        switch (h.kind) {
            case EHit::SystemInput:
                selected = IsSelected(h);
                value = Q(h.systemInput->ValueString());
                if (value.isEmpty()) value = QString::number(h.systemInput->m_value, 'f', 2);
                break;
            case EHit::SystemOutput:
                selected = IsSelected(h);
                value = QString::number(h.systemOutput->m_value, 'f', 2);
                break;
            case EHit::ModInput:
                selected = IsSelected(h);
                value = Q(h.moduleInput->ValueString());
                break;
            case EHit::ModOutput:
                selected = IsSelected(h);
                value = Q(h.moduleOutput->ValueString());
                break;
            default:
                break;
        }
        const QRectF r = row.rect.adjusted(3, 1, -3, -1);
        p.setPen(selected ? QPen(kSelected, 2) : QPen(QColor(0xC8, 0xC8, 0xC8)));
        p.setBrush(category ? kCategoryFill : QColor(Qt::white));
        p.drawRoundedRect(r, 3, 3);
        p.setFont(category ? f : small);
        p.setPen(Qt::black);
        const QRectF text = r.adjusted(6, 0, -14, 0);
        p.drawText(text, Qt::AlignVCenter | Qt::AlignLeft,
                   p.fontMetrics().elidedText(RowText(h), Qt::ElideRight, 100));
        if (category) {
            const bool contracted = h.kind == EHit::InputCategory
                                        ? IsInputCategoryContracted(m_actions.Doc(), h.inputCategory->m_id)
                                        : IsOutputCategoryContracted(m_actions.Doc(), h.outputCategory->m_id);
            p.drawText(text, Qt::AlignVCenter | Qt::AlignRight,
                       contracted ? QStringLiteral("+") : QStringLiteral("-"));
        } else {
            p.setPen(QColor(0x1E, 0x50, 0x1E));
            if (detail) p.drawText(text, Qt::AlignVCenter | Qt::AlignRight, value);
            // The connection point on the inner edge.
            const QPointF dot = left ? QPointF(r.right(), r.center().y()) : QPointF(r.left(), r.center().y());
            p.setPen(kModuleBorder);
            p.setBrush(kPortFill);
            p.drawEllipse(dot, 4, 4);
        }
    }
    p.setFont(font());
}

void CDesignView::PaintSystem(QPainter& p) {
    CSystem& s = m_actions.System();
    // Connections first, under the boxes.
    if (Options().connections) {
        for (CNetworkConnection* c : s.m_moduleConnections) {
            if (!c->m_srcModule || !c->m_dstModule || !c->m_srcOutput || !c->m_dstInput) continue;
            const QPointF a = PortAnchor(
                {.kind = EHit::ModuleOutput, .module = c->m_srcModule, .moduleOutput = c->m_srcOutput});
            const QPointF b = PortAnchor(
                {.kind = EHit::ModuleInput, .module = c->m_dstModule, .moduleInput = c->m_dstInput});
            PaintConnection(p, a, b, kWire);
        }
        for (CExternalInput* in : s.m_inputs) {
            const QPointF a = PortAnchor({.kind = EHit::SystemInput, .systemInput = in});
            if (a.isNull()) continue;
            for (CExternalConnection* c : in->m_connections) {
                if (!c->m_module || !c->m_moduleInput) continue;
                PaintConnection(
                    p, a,
                    PortAnchor(
                        {.kind = EHit::ModuleInput, .module = c->m_module, .moduleInput = c->m_moduleInput}),
                    QColor(0x28, 0x8C, 0x50));
            }
        }
        for (CExternalOutput* out : s.m_outputs) {
            const CExternalConnection* c = out->m_connection.get();
            if (!c || !c->m_module || !c->m_moduleOutput) continue;
            const QPointF b = PortAnchor({.kind = EHit::SystemOutput, .systemOutput = out});
            if (b.isNull()) continue;
            PaintConnection(
                p,
                PortAnchor(
                    {.kind = EHit::ModuleOutput, .module = c->m_module, .moduleOutput = c->m_moduleOutput}),
                b, QColor(0xB4, 0x50, 0x28));
        }
    }
    p.save();
    p.scale(m_zoom, m_zoom);
    p.translate(-m_scroll);
    QFont bold = font();
    bold.setBold(true);
    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.85);
    const bool highlight = ViewSwitch(m_actions.Doc(), EViewSwitch::HighlightActiveOutputs);
    for (CNetwork* m : ModulesInDrawOrder()) {
        const QRectF box = ModuleBox(*m);
        p.setPen(m->m_selected ? QPen(kSelected, 2.5) : QPen(kModuleBorder, 1.2));
        p.setBrush(kModuleFill);
        p.drawRoundedRect(box, 6, 6);
        p.setBrush(kModuleBorder);
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(box.left(), box.top(), box.width(), kModuleTitle), 6, 6);
        p.setPen(Qt::white);
        p.setFont(bold);
        p.drawText(
            QRectF(box.left() + 6, box.top(), box.width() - 12, kModuleTitle),
            Qt::AlignVCenter | Qt::AlignLeft,
            p.fontMetrics().elidedText(Q(m->m_name), Qt::ElideRight, static_cast<int>(box.width() - 40)));
        p.drawText(QRectF(box.left() + 6, box.top(), box.width() - 12, kModuleTitle),
                   Qt::AlignVCenter | Qt::AlignRight, QStringLiteral("L%1").arg(m->m_level));
        p.setFont(small);
        const double half = box.width() / 2 - 10;
        int i = 0;
        for (CNetworkInput* in : m->m_inputs) {
            const QRectF r = ModulePortRect(*m, i++, false);
            p.setPen(IsSelected({.kind = EHit::ModuleInput, .module = m, .moduleInput = in})
                         ? QPen(kSelected, 2)
                         : QPen(kModuleBorder));
            p.setBrush(in->HasSource() ? QColor(0x28, 0x8C, 0x50) : kPortFill);
            p.drawRect(r);
            p.setPen(Qt::black);
            const QString t = Options().showModuleValues ? Q(in->ValueString()) : Q(in->m_name);
            p.drawText(QRectF(r.right() + 3, r.top() - 3, half, r.height() + 6),
                       Qt::AlignVCenter | Qt::AlignLeft,
                       p.fontMetrics().elidedText(t, Qt::ElideRight, static_cast<int>(half)));
        }
        i = 0;
        for (CNetworkOutput* out : m->m_outputs) {
            const QRectF r = ModulePortRect(*m, i++, true);
            p.setPen(IsSelected({.kind = EHit::ModuleOutput, .module = m, .moduleOutput = out})
                         ? QPen(kSelected, 2)
                         : QPen(kModuleBorder));
            p.setBrush(highlight && out->m_value != 0.0 ? kActive
                       : out->HasSource()               ? QColor(0xB4, 0x50, 0x28)
                                                        : kPortFill);
            p.drawRect(r);
            p.setPen(Qt::black);
            const QString t = Options().showModuleValues ? Q(out->ValueString()) : Q(out->m_name);
            p.drawText(QRectF(r.left() - 3 - half, r.top() - 3, half, r.height() + 6),
                       Qt::AlignVCenter | Qt::AlignRight,
                       p.fontMetrics().elidedText(t, Qt::ElideRight, static_cast<int>(half)));
        }
        p.setPen(QColor(0x50, 0x50, 0x50));
        p.drawText(QRectF(box.left() + 6, box.bottom() - 18, box.width() - 12, 16), Qt::AlignCenter,
                   QStringLiteral("Components: %1").arg(m->m_components.Size()));
    }
    p.restore();
    PaintBar(p, LeftBarRect(), LeftBarRows(), true, QStringLiteral("System Inputs"));
    PaintBar(p, RightBarRect(), RightBarRows(), false, QStringLiteral("System Outputs"));
}

void CDesignView::PaintModule(QPainter& p) {
    CNetwork& m = *Module();
    p.save();
    p.scale(m_zoom, m_zoom);
    p.translate(-m_scroll);
    const bool showCount = ViewSwitch(m_actions.Doc(), EViewSwitch::GraphicCount);
    for (CGraphic* g : m_actions.System().m_graphics.m_graphics) PaintGraphic(p, *g, m, showCount);
    p.restore();
    if (Options().connections) {
        for (CNetworkModel* c : m.m_components) {
            for (CModelOutput* out : c->m_outputs) {
                const QPointF a =
                    PortAnchor({.kind = EHit::ComponentOutput, .module = &m, .component = c, .output = out});
                for (CModelConnection* k : out->m_connections) {
                    if (k->m_kind == kSourceComponent && k->m_dstComponent && k->m_dstInput)
                        PaintConnection(p, a,
                                        PortAnchor({.kind = EHit::ComponentInput,
                                                    .module = &m,
                                                    .component = k->m_dstComponent,
                                                    .input = k->m_dstInput}),
                                        kWire);
                    else if (k->m_moduleOutput) {
                        const QPointF b = PortAnchor(
                            {.kind = EHit::ModOutput, .module = &m, .moduleOutput = k->m_moduleOutput});
                        if (!b.isNull()) PaintConnection(p, a, b, QColor(0xB4, 0x50, 0x28));
                    }
                }
            }
        }
        for (CNetworkInput* mi : m.m_inputs) {
            const QPointF a = PortAnchor({.kind = EHit::ModInput, .module = &m, .moduleInput = mi});
            if (a.isNull()) continue;
            for (CModelConnection* k : mi->m_connections)
                if (k->m_dstComponent && k->m_dstInput)
                    PaintConnection(p, a,
                                    PortAnchor({.kind = EHit::ComponentInput,
                                                .module = &m,
                                                .component = k->m_dstComponent,
                                                .input = k->m_dstInput}),
                                    QColor(0x28, 0x8C, 0x50));
        }
    }
    p.save();
    p.scale(m_zoom, m_zoom);
    p.translate(-m_scroll);
    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.8);
    QFont tiny = font();
    tiny.setPointSizeF(font().pointSizeF() * 0.7);
    QFont bold = font();
    bold.setBold(true);
    const bool highlight = ViewSwitch(m_actions.Doc(), EViewSwitch::HighlightActiveOutputs);
    for (CNetworkModel* c : m.m_components) {
        if (IsHidden(*c)) continue;
        const QRectF box = BoxOf(*c);
        p.setPen(c->m_selected ? QPen(kSelected, 2.5) : QPen(kComponentBorder, 1.2));
        p.setBrush(kComponentFill);
        p.drawRoundedRect(box, 4, 4);
        if (Options().componentNames) {
            p.setFont(bold);
            p.setPen(Qt::black);
            p.drawText(QRectF(box.center().x() - 100, box.top() - 18, 200, 16),
                       Qt::AlignHCenter | Qt::AlignBottom, Q(c->m_name));
        }
        p.setFont(tiny);
        p.setPen(QColor(0x46, 0x46, 0x46));
        if (IsReduced(*c)) {
            // Reduced: the stage and the port counts only.
            p.drawText(
                box.adjusted(2, 2, -2, -2), Qt::AlignCenter,
                QString::asprintf("S: %d\nI: %d  O: %d", c->m_stage, static_cast<int>(c->m_inputs.Size()),
                                  static_cast<int>(c->m_outputs.Size())));
            continue;
        }
        if (Options().helperText) {
            const char* typeName = CatalogueName(c->m_typeId);
            p.drawText(box.adjusted(3, 3, -3, -26), Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
                       typeName ? QString::fromUtf8(typeName) : QString());
        }
        p.drawText(QRectF(box.left() + 2, box.bottom() - 24, box.width() - 4, 11), Qt::AlignHCenter,
                   QString::asprintf("S: %d", c->m_stage));
        p.drawText(
            QRectF(box.left() + 2, box.bottom() - 13, box.width() - 4, 11), Qt::AlignHCenter,
            QString::asprintf("O: %d/%d", c->CountConnectionsOut(), static_cast<int>(c->m_outputs.Size())));
        int i = 0;
        for (CModelInput* in : c->m_inputs) {
            const QRectF r = ComponentPortRect(*c, i++, false);
            p.setPen(c->m_selectedInputs.Contains(in) ? QPen(kSelected, 2) : QPen(kComponentBorder));
            p.setBrush(in->HasSource() ? QColor(0xE6, 0xF5, 0xE6) : kPortFill);
            p.drawRect(r);
            p.setFont(small);
            p.setPen(Qt::black);
            p.drawText(r.adjusted(2, 0, -2, 0), Qt::AlignVCenter | Qt::AlignRight, Q(in->ValueString()));
            if (Options().inputNames) {
                p.setFont(tiny);
                p.setPen(QColor(0x64, 0x64, 0x64));
                p.drawText(QRectF(r.left() - 60, r.top(), 58, r.height()), Qt::AlignVCenter | Qt::AlignRight,
                           p.fontMetrics().elidedText(Q(in->m_name), Qt::ElideRight, 58));
            }
        }
        i = 0;
        for (CModelOutput* out : c->m_outputs) {
            const QRectF r = ComponentPortRect(*c, i++, true);
            p.setPen(c->m_selectedOutputs.Contains(out) ? QPen(kSelected, 2) : QPen(kComponentBorder));
            p.setBrush(highlight && out->m_value != 0.0 ? kActive
                       : out->m_connections.Empty()     ? kPortFill
                                                        : QColor(0xF5, 0xE6, 0xDC));
            p.drawRect(r);
            p.setFont(small);
            p.setPen(QColor(0x14, 0x46, 0x14));
            p.drawText(r.adjusted(2, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft, Q(out->ValueString()));
            if (Options().outputNames) {
                p.setFont(tiny);
                p.setPen(QColor(0x64, 0x64, 0x64));
                p.drawText(QRectF(r.right() + 2, r.top(), 70, r.height()), Qt::AlignVCenter | Qt::AlignLeft,
                           p.fontMetrics().elidedText(Q(out->m_name), Qt::ElideRight, 70));
            }
        }
    }
    PaintCharts(p, m);
    p.restore();
    PaintBar(p, LeftBarRect(), LeftBarRows(), true, QStringLiteral("Module Inputs"));
    PaintBar(p, RightBarRect(), RightBarRows(), false, QStringLiteral("Module Outputs"));
}

void CDesignView::PaintGraphic(QPainter& p, const CGraphic& g, const CNetwork& m, bool showCount) {
    const QRectF r = ToQ(g.m_rect);
    p.setBrush(g.m_transparent ? QBrush(Qt::NoBrush) : QBrush(ColourOf(g.m_background)));
    p.setPen(g.m_outline && g.m_lineWidth > 0 ? QPen(ColourOf(g.m_lineColour), g.m_lineWidth)
                                              : QPen(Qt::NoPen));
    p.drawRect(r);
    if (g.m_edges3d) {
        // Raised edges: light on the top and left, dark on the bottom and right.
        p.setPen(QPen(QColor(0xFF, 0xFF, 0xFF), 2));
        p.drawLine(r.bottomLeft(), r.topLeft());
        p.drawLine(r.topLeft(), r.topRight());
        p.setPen(QPen(QColor(0x70, 0x70, 0x70), 2));
        p.drawLine(r.topRight(), r.bottomRight());
        p.drawLine(r.bottomRight(), r.bottomLeft());
    }
    QFont f(Q(g.m_fontName));
    f.setPointSize(std::clamp(g.m_fontSize, 4, 96));
    f.setBold(g.m_bold);
    p.setFont(f);
    p.setPen(Qt::black);
    const int h = g.m_alignH == 1 ? Qt::AlignHCenter : g.m_alignH == 2 ? Qt::AlignRight : Qt::AlignLeft;
    const int v = g.m_alignV == 1 ? Qt::AlignVCenter : g.m_alignV == 2 ? Qt::AlignBottom : Qt::AlignTop;
    // Top alignment wraps the text; centre and bottom draw one line.
    p.drawText(r.adjusted(4, 4, -4, -4), h | v | (g.m_alignV == 0 ? Qt::TextWordWrap : Qt::TextSingleLine),
               Q(g.m_text));
    if (showCount) {
        QFont small = font();
        small.setPointSizeF(font().pointSizeF() * 0.8);
        p.setFont(small);
        p.setPen(QColor(0x50, 0x50, 0x50));
        p.drawText(r.adjusted(4, 4, -4, -4), Qt::AlignRight | Qt::AlignBottom,
                   QString::number(g.CountHeld(m)));
    }
    if (IsSelected({.kind = EHit::Graphic, .graphic = const_cast<CGraphic*>(&g)})) {
        p.setPen(QPen(kSelected, 1.5, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(r);
        p.setPen(QPen(kSelected, 1));
        p.setBrush(Qt::white);
        for (int corner = 0; corner < 4; ++corner) p.drawRect(GraphicHandle(g, corner));
    }
}

void CDesignView::PaintCharts(QPainter& p, const CNetwork& m) {
    const CSystem& s = m_actions.System();
    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.8);
    p.setFont(small);
    const bool chartLinks = ViewSwitch(m_actions.Doc(), EViewSwitch::ChartConnectors);
    const bool windowLinks = ViewSwitch(m_actions.Doc(), EViewSwitch::ValueWindowConnectors);
    auto connector = [&](const QRectF& r, CNetworkModel* c, CModelOutput* out) {
        if (!c || !out || IsHidden(*c)) return;
        const QPointF a = ToWorld(PortAnchor({.kind = EHit::ComponentOutput,
                                              .module = const_cast<CNetwork*>(&m),
                                              .component = c,
                                              .output = out}));
        p.setPen(QPen(QColor(0x96, 0x96, 0x96), 1, Qt::DotLine));
        p.drawLine(a, QPointF(r.left(), r.center().y()));
    };
    for (const CChart* c : s.m_charts.m_charts) {
        if (!c->Resolved() || c->m_module != &m) continue;
        const QRectF r = ToQ(c->m_rect);
        if (chartLinks) connector(r, c->m_component, c->m_output);
        const bool selected = IsSelected({.kind = EHit::Chart, .chart = const_cast<CChart*>(c)});
        p.setPen(selected ? QPen(kSelected, 2) : QPen(QColor(0x80, 0x80, 0x80)));
        p.setBrush(ColourOf(s.m_chartBackground));
        p.drawRect(r);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xDC, 0xDC, 0xDC));
        p.drawRect(QRectF(r.left(), r.top(), r.width(), kChartTitle));
        for (int code = kChartSmall; code <= kChartLarge; ++code) {
            const QRectF b = ChartSizeButton(*c, code);
            p.setPen(QPen(QColor(0x60, 0x60, 0x60)));
            p.setBrush(code == c->m_sizeCode ? QColor(0xB4, 0xC8, 0xE6) : QColor(Qt::white));
            p.drawRect(b);
            p.setPen(Qt::black);
            p.drawText(b, Qt::AlignCenter, QString::number(code));
        }
        const double bottomText = c->m_showRange ? 14 : 0;
        const QRectF plot = r.adjusted(c->m_showAxis ? 40 : 4, kChartTitle + 14, -4, -4 - bottomText);
        double lo = c->m_min, hi = c->m_max;
        if (c->m_autoScale || hi <= lo) {
            lo = hi = c->Count() ? c->Value(0) : 0.0;
            for (int i = 1; i < c->Count(); ++i) {
                lo = std::min(lo, c->Value(i));
                hi = std::max(hi, c->Value(i));
            }
            if (hi - lo < 1e-9) {
                lo -= 1;
                hi += 1;
            }
        }
        if (c->m_showGridlines && plot.height() > 4) {
            p.setPen(QPen(ColourOf(s.m_chartGrid), 1));
            // Grid lines at the major increment when one is set (at most 20), else quarters.
            const int lines =
                c->m_majorIncrement > 0 ? std::min(20, static_cast<int>((hi - lo) / c->m_majorIncrement)) : 3;
            for (int i = 1; i <= lines; ++i) {
                const double frac = c->m_majorIncrement > 0 ? c->m_majorIncrement * i / (hi - lo) : i / 4.0;
                if (frac >= 1) break;
                const double y = plot.bottom() - plot.height() * frac;
                p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
            }
        }
        if (c->m_showAxis) {
            p.setPen(Qt::black);
            p.drawLine(plot.topLeft(), plot.bottomLeft());
            p.drawText(QRectF(r.left() + 2, plot.top() - 6, 36, 12), Qt::AlignRight,
                       QString::number(hi, 'g', 4));
            p.drawText(QRectF(r.left() + 2, plot.bottom() - 6, 36, 12), Qt::AlignRight,
                       QString::number(lo, 'g', 4));
        }
        p.save();
        p.setClipRect(plot.adjusted(-1, -1, 1, 1));
        p.setPen(QPen(ColourOf(s.m_chartData), 1.2));
        if (c->m_style == 1 && c->m_arrayMode && c->m_output && c->m_output->m_arrayData &&
            c->m_output->m_arrayCount > 1) {
            const int n = c->m_output->m_arrayCount;
            QPolygonF line;
            for (int i = 0; i < n; ++i)
                line << QPointF(
                    plot.left() + plot.width() * i / (n - 1),
                    plot.bottom() - plot.height() * (c->m_output->m_arrayData[i] - lo) / (hi - lo));
            p.drawPolyline(line);
        } else if (c->m_style == 1 && c->Count() > 1) {
            QPolygonF line;
            for (int i = 0; i < c->Count(); ++i)
                line << QPointF(plot.left() + plot.width() * i / (CChart::kHistorySize - 1),
                                plot.bottom() - plot.height() * (c->Value(i) - lo) / (hi - lo));
            p.drawPolyline(line);
        }
        p.restore();
        p.setPen(Qt::black);
        p.drawText(QRectF(r.left() + 4, r.top() + 1, r.width() - 60, kChartTitle - 2),
                   Qt::AlignLeft | Qt::AlignVCenter, Q(c->ProcessedText()));
        p.drawText(QRectF(r.left() + 4, r.top() + kChartTitle, r.width() - 8, 14),
                   Qt::AlignRight | Qt::AlignVCenter, Q(c->CurrentText()));
        if (c->m_showRange) {
            p.drawText(QRectF(r.left() + 4, r.bottom() - 16, r.width() / 2 - 4, 14),
                       Qt::AlignLeft | Qt::AlignVCenter, Q(c->MinText()));
            p.drawText(QRectF(r.center().x(), r.bottom() - 16, r.width() / 2 - 4, 14),
                       Qt::AlignRight | Qt::AlignVCenter, Q(c->MaxText()));
        }
    }
    for (const CValueWindow* v : s.m_valueWindows.m_windows) {
        if (!v->Resolved() || v->m_module != &m) continue;
        const QRectF r = ToQ(v->m_rect);
        if (windowLinks) connector(r, v->m_component, v->m_output);
        const bool selected =
            IsSelected({.kind = EHit::ValueWindow, .valueWindow = const_cast<CValueWindow*>(v)});
        p.setPen(selected ? QPen(kSelected, 2)
                 : v->m_showOutline && v->m_outlineWidth > 0
                     ? QPen(ColourOf(v->m_outlineColour), v->m_outlineWidth)
                     : QPen(Qt::NoPen));
        p.setBrush(v->m_transparent ? QBrush(Qt::NoBrush) : QBrush(ColourOf(v->m_background)));
        p.drawRect(r);
        p.setFont(small);
        p.setPen(Qt::black);
        double top = 2, bottom = 0;
        if (v->m_showTitle) {
            p.drawText(r.adjusted(4, 2, -4, 0), Qt::AlignHCenter | Qt::AlignTop, Q(v->m_title));
            top = 14;
        }
        if (v->m_showComponentName && v->m_component) {
            p.setPen(QColor(0x50, 0x50, 0x50));
            p.drawText(r.adjusted(4, 0, -4, -2), Qt::AlignHCenter | Qt::AlignBottom,
                       p.fontMetrics().elidedText(Q(v->m_component->m_name), Qt::ElideRight,
                                                  static_cast<int>(r.width() - 8)));
            bottom = 12;
        }
        QFont big(Q(v->m_fontName));
        big.setPointSize(std::clamp(v->m_fontSize, 4, 96));
        big.setBold(v->m_bold);
        p.setFont(big);
        p.setPen(Qt::black);
        p.drawText(r.adjusted(4, top, -4, -bottom), Qt::AlignCenter, Q(v->ValueText()));
        p.setFont(small);
    }
}

// --- selection -------------------------------------------------------------

bool CDesignView::IsSelected(const CHit& h) const {
    const CEditorState& e = m_actions.Editor();
    auto has = [](const std::vector<int32_t>& ids, int32_t id) {
        return std::find(ids.begin(), ids.end(), id) != ids.end();
    };
    switch (h.kind) {
        case EHit::SystemInput:
            return e.m_kind == ESelectionKind::SystemInput && e.m_objectId == h.systemInput->m_id;
        case EHit::SystemOutput:
            return e.m_kind == ESelectionKind::SystemOutput && e.m_objectId == h.systemOutput->m_id;
        case EHit::InputCategory:
            return e.m_kind == ESelectionKind::InputCategory && e.m_objectId == h.inputCategory->m_id;
        case EHit::OutputCategory:
            return e.m_kind == ESelectionKind::OutputCategory && e.m_objectId == h.outputCategory->m_id;
        case EHit::ModInput:
        case EHit::ModuleInput:
            return has(e.m_moduleInputs, h.moduleInput->m_id) && e.m_ownerId == h.module->m_id;
        case EHit::ModOutput:
        case EHit::ModuleOutput:
            return has(e.m_moduleOutputs, h.moduleOutput->m_id) && e.m_ownerId == h.module->m_id;
        case EHit::Graphic:
        case EHit::GraphicHandle:
            return has(e.m_graphics, h.graphic->m_id);
        case EHit::Chart:
        case EHit::ChartSizeButton:
            return has(e.m_charts, h.chart->m_id);
        case EHit::ValueWindow:
            return has(e.m_valueWindows, h.valueWindow->m_id);
        case EHit::Module:
            return has(e.m_modules, h.module->m_id);
        case EHit::Component:
            return has(e.m_components, h.component->m_id);
        default:
            return false;
    }
}

void CDesignView::ClearSelection() {
    m_actions.Editor().ClearSelection();
    m_actions.Editor().ApplyToModel(m_actions.System());
}

void CDesignView::SelectAllComponents() {
    CNetwork* m = Module();
    if (!m) return;
    std::vector<int32_t> ids;
    for (CNetworkModel* c : m->m_components)
        if (!IsHidden(*c)) ids.push_back(c->m_id);
    m_actions.Editor().ClearSelection();
    m_actions.Editor().SelectComponents(std::move(ids));
    m_actions.Editor().ApplyToModel(m_actions.System());
    viewport()->update();
    if (m_host.selectionChanged) m_host.selectionChanged();
}

void CDesignView::SelectHit(const CHit& h, bool add) {
    CEditorState& e = m_actions.Editor();
    CSystem& s = m_actions.System();
    // A set member pressed without Shift keeps the set (so the group can be
    // dragged); anything else starts a new selection, or joins it with Shift.
    auto pick = [&](std::vector<int32_t> CEditorState::*set, int32_t id) {
        const std::vector<int32_t>& ids = e.*set;
        if (std::find(ids.begin(), ids.end(), id) != ids.end()) return;
        if (!add) e.ClearSelection();
        (e.*set).push_back(id);
    };
    auto single = [&] {
        if (!add) e.ClearSelection();
    };
    switch (h.kind) {
        case EHit::Component:
            pick(&CEditorState::m_components, h.component->m_id);
            break;
        case EHit::ComponentInput:
        case EHit::ComponentOutput: {
            pick(&CEditorState::m_components, h.component->m_id);
            if (h.input)
                e.SelectComponentInput(h.component->m_id, h.input->m_id);
            else
                e.SelectComponentOutput(h.component->m_id, h.output->m_id);
            break;
        }
        case EHit::Module: {
            pick(&CEditorState::m_modules, h.module->m_id);
            s.m_modulesByCreation.Remove(h.module);
            s.m_modulesByCreation.Append(h.module);
            break;
        }
        case EHit::ModuleInput:
        case EHit::ModInput:
            single();
            e.SelectModuleInput(h.module->m_id, h.moduleInput->m_id);
            if (h.kind == EHit::ModuleInput) e.m_modules = {h.module->m_id};
            break;
        case EHit::ModuleOutput:
        case EHit::ModOutput:
            single();
            e.SelectModuleOutput(h.module->m_id, h.moduleOutput->m_id);
            if (h.kind == EHit::ModuleOutput) e.m_modules = {h.module->m_id};
            break;
        case EHit::SystemInput:
            single();
            e.SelectSystemInput(h.systemInput->m_id);
            break;
        case EHit::SystemOutput:
            single();
            e.SelectSystemOutput(h.systemOutput->m_id);
            break;
        case EHit::InputCategory:
            single();
            e.SelectInputCategory(h.inputCategory->m_id);
            break;
        case EHit::OutputCategory:
            single();
            e.SelectOutputCategory(h.outputCategory->m_id);
            break;
        case EHit::Chart:
        case EHit::ChartSizeButton:
            // A chart or value window press always starts from that one object.
            if (!add) e.ClearSelection();
            pick(&CEditorState::m_charts, h.chart->m_id);
            break;
        case EHit::ValueWindow:
            if (!add) e.ClearSelection();
            pick(&CEditorState::m_valueWindows, h.valueWindow->m_id);
            break;
        case EHit::GraphicHandle:
            break;  // the graphic stays selected while it is resized
        case EHit::Graphic:
            pick(&CEditorState::m_graphics, h.graphic->m_id);
            break;
        default:
            e.ClearSelection();
            break;
    }
    e.ApplyToModel(s);
}

// --- mouse -----------------------------------------------------------------

void CDesignView::mousePressEvent(QMouseEvent* e) {
    const CHit hit = HitTest(e->position().toPoint());
    m_pressViewport = e->position().toPoint();
    m_pressWorld = ToWorld(e->position());
    m_lastMoveWorld = m_pressWorld;
    if (e->button() == Qt::LeftButton) {
        PressLeft(e, hit);
    } else if (e->button() == Qt::RightButton) {
        m_rightSource = hit;
    }
}

void CDesignView::PressLeft(QMouseEvent* e, const CHit& hit) {
    m_pressHit = hit;
    const bool shift = e->modifiers() & Qt::ShiftModifier;
    if (hit.kind == EHit::None) {
        ClearSelection();
        m_rubberBand = true;
        m_rubberRect = QRectF(e->position(), QSizeF(0, 0));
    } else {
        SelectHit(hit, shift);
        m_dragging = hit.kind == EHit::Component || hit.kind == EHit::Module || hit.kind == EHit::Graphic ||
                     hit.kind == EHit::GraphicHandle || hit.kind == EHit::Chart ||
                     hit.kind == EHit::ValueWindow;
        if (hit.kind == EHit::ChartSizeButton) {
            SetChartField(m_actions.Doc(), EChartField::SizeCode, hit.part);
            Changed();
        }
    }
    viewport()->update();
    if (m_host.selectionChanged) m_host.selectionChanged();
}

void CDesignView::mouseMoveEvent(QMouseEvent* e) {
    if (m_rubberBand) {
        m_rubberRect.setBottomRight(e->position());
        viewport()->update();
        return;
    }
    if (!m_dragging || !(e->buttons() & Qt::LeftButton)) return;
    const QPointF w = ToWorld(e->position());
    const int dx = static_cast<int>(std::lround(w.x() - m_lastMoveWorld.x()));
    const int dy = static_cast<int>(std::lround(w.y() - m_lastMoveWorld.y()));
    if (dx == 0 && dy == 0) return;
    m_lastMoveWorld += QPointF(dx, dy);
    switch (m_pressHit.kind) {
        case EHit::Component:
            if (Module()) m_actions.Drag(EDragKind::Components, dx, dy);
            break;
        case EHit::Module:
            m_actions.Drag(EDragKind::Modules, dx, dy);
            break;
        case EHit::Graphic:
            m_actions.Drag(EDragKind::Graphics, dx, dy);
            break;
        case EHit::Chart:
            m_actions.Drag(EDragKind::Charts, dx, dy);
            break;
        case EHit::ValueWindow:
            m_actions.Drag(EDragKind::ValueWindows, dx, dy);
            break;
        case EHit::GraphicHandle:
            m_actions.DragGraphicCorner(*m_pressHit.graphic, m_pressHit.part, dx, dy);
            break;
        default:
            return;
    }
    viewport()->update();
}

void CDesignView::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) {
        if (m_rubberBand) {
            m_rubberRect.setBottomRight(e->position());
            FinishRectangle(e->modifiers());
            m_rubberBand = false;
        }
        if (m_dragging) {
            m_actions.FinishDrag();
            UpdateScrollRange();
            if (m_host.modelChanged) m_host.modelChanged();
        }
        m_dragging = false;
        viewport()->update();
        if (m_host.selectionChanged) m_host.selectionChanged();
    } else if (e->button() == Qt::RightButton) {
        const CHit target = HitTest(e->position().toPoint());
        RightGesture(m_rightSource, target, e->position().toPoint());
        m_rightSource = CHit{};
    }
}

void CDesignView::FinishRectangle(Qt::KeyboardModifiers mods) {
    const QRectF vr = m_rubberRect.normalized();
    const QRectF w(ToWorld(vr.topLeft()), ToWorld(vr.bottomRight()));
    CSystem& s = m_actions.System();
    CEditorState& e = m_actions.Editor();
    if (!Module()) {
        for (CNetwork* m : s.m_modules) {
            if (!ModuleBox(*m).intersects(w) || IsSelected({.kind = EHit::Module, .module = m})) continue;
            e.m_modules.push_back(m->m_id);
        }
        e.ApplyToModel(s);
        return;
    }
    if (mods & Qt::ShiftModifier) {
        if (vr.width() < 4 || vr.height() < 4) return;
        CRect r{static_cast<int32_t>(w.left()), static_cast<int32_t>(w.top()),
                static_cast<int32_t>(w.right()), static_cast<int32_t>(w.bottom())};
        m_actions.AddGraphicRect(r);
        Changed();
        return;
    }
    if (mods & Qt::ControlModifier) {
        e.m_graphics.clear();
        for (CGraphic* g : s.m_graphics.m_graphics)
            if (ToQ(g->m_rect).intersects(w)) e.m_graphics.push_back(g->m_id);
        e.ApplyToModel(s);
        return;
    }
    for (CNetworkModel* c : Module()->m_components) {
        if (IsHidden(*c) || IsSelected({.kind = EHit::Component, .component = c}) || !BoxOf(*c).intersects(w))
            continue;
        e.m_components.push_back(c->m_id);
    }
    e.ApplyToModel(s);
}

void CDesignView::RightGesture(const CHit& source, const CHit& target, const QPoint& at) {
    if (source.kind == EHit::None && target.kind == EHit::None) return;
    if (source == target) {
        SelectHit(source, false);
        viewport()->update();
        if (m_host.selectionChanged) m_host.selectionChanged();
        QMenu* menu = BuildContextMenu(source, this);
        if (!menu) return;
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(viewport()->mapToGlobal(at));
        return;
    }
    if (!Connect(source, target)) {
        m_actions.Prompter().Beep();
    }
    Changed();
}

bool CDesignView::Connect(const CHit& s, const CHit& t) {
    // Returns false only for pairs that name no connect request; a request the
    // model refuses has already reported and beeped.
    if (Module()) {
        const bool srcComponent = s.kind == EHit::Component || s.kind == EHit::ComponentOutput;
        if (srcComponent && (t.kind == EHit::Component || t.kind == EHit::ComponentInput)) {
            m_actions.ConnectComponents(*s.component, s.output, *t.component, t.input);
            return true;
        }
        if (s.kind == EHit::ModInput && (t.kind == EHit::Component || t.kind == EHit::ComponentInput)) {
            m_actions.ConnectModuleInput(*s.moduleInput, *t.component, t.input);
            return true;
        }
        if (srcComponent && (t.kind == EHit::ModOutput || t.kind == EHit::ModOutputsBar)) {
            m_actions.ConnectToModuleOutput(*s.component, s.output, t.moduleOutput);
            return true;
        }
        if (s.kind == EHit::ModInputsBar && t.kind == EHit::Component) {
            m_actions.ExposeAllInputs(*t.component);
            return true;
        }
        return false;
    }
    if (s.kind == EHit::SystemInput && (t.kind == EHit::Module || t.kind == EHit::ModuleInput)) {
        m_actions.ConnectSystemInput(*s.systemInput, *t.module, t.moduleInput);
        return true;
    }
    if (s.kind == EHit::InputCategory && t.kind == EHit::Module) {
        m_actions.ConnectCategory(*s.inputCategory, *t.module);
        return true;
    }
    if (s.kind == EHit::InputsBar && t.kind == EHit::Module) {
        m_actions.DropNewSystemInput(*t.module);
        return true;
    }
    const bool srcModule = s.kind == EHit::Module || s.kind == EHit::ModuleOutput;
    if (srcModule && (t.kind == EHit::Module || t.kind == EHit::ModuleInput) && t.module != s.module) {
        m_actions.ConnectModules(*s.module, s.moduleOutput, *t.module, t.moduleInput);
        return true;
    }
    if (srcModule && t.kind == EHit::SystemOutput) {
        m_actions.ConnectToSystemOutput(*s.module, s.moduleOutput, *t.systemOutput);
        return true;
    }
    if (srcModule && t.kind == EHit::OutputsBar) {
        m_actions.ConnectModuleToOutputsBar(*s.module);
        return true;
    }
    return false;
}

void CDesignView::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const CHit hit = HitTest(e->position().toPoint());
    DoubleClick(hit, ToWorld(e->position()));
}

void CDesignView::DoubleClick(const CHit& hit, const QPointF& w) {
    switch (hit.kind) {
        case EHit::Module:
            ShowModule(hit.module);
            return;
        case EHit::InputsBar:
            m_actions.AddSystemInputFromBar();
            break;
        case EHit::OutputsBar:
            m_actions.AddSystemOutputFromBar();
            break;
        case EHit::None:
            if (Module()) return;
            m_actions.AddModuleAt(static_cast<int>(w.x()), static_cast<int>(w.y()));
            break;
        case EHit::ModInputsBar:
        case EHit::ModOutputsBar:
            return;
        default:
            if (m_host.editObject) m_host.editObject(hit);
            break;
    }
    Changed();
}

void CDesignView::keyPressEvent(QKeyEvent* e) {
    int dx = 0, dy = 0;
    switch (e->key()) {
        case Qt::Key_Left:
            dx = -2;
            break;
        case Qt::Key_Right:
            dx = 2;
            break;
        case Qt::Key_Up:
            dy = -2;
            break;
        case Qt::Key_Down:
            dy = 2;
            break;
        case Qt::Key_Delete:
            if (Module())
                m_actions.DeleteSelected();
            else if (CNetwork* m = m_actions.Editor().CurrentModule(m_actions.System()))
                m_actions.DeleteModule(*m);
            Changed();
            return;
        default:
            QAbstractScrollArea::keyPressEvent(e);
            return;
    }
    MoveSelection(m_actions.Doc(), dx < 0   ? EArrowKey::Left
                                   : dx > 0 ? EArrowKey::Right
                                   : dy < 0 ? EArrowKey::Up
                                            : EArrowKey::Down);
    viewport()->update();
}

void CDesignView::wheelEvent(QWheelEvent* e) {
    if (e->modifiers() & Qt::ControlModifier) {
        const QPointF anchor = ToWorld(e->position());
        SetZoom(m_zoom * (e->angleDelta().y() > 0 ? 1.15 : 1 / 1.15));
        m_scroll = anchor - e->position() / m_zoom;
        UpdateScrollRange();
        return;
    }
    QAbstractScrollArea::wheelEvent(e);
}

// --- palette drop ----------------------------------------------------------

void CDesignView::dragEnterEvent(QDragEnterEvent* e) {
    if (Module() && e->mimeData()->hasFormat(kComponentMime)) e->acceptProposedAction();
}

void CDesignView::dragMoveEvent(QDragMoveEvent* e) {
    if (Module() && e->mimeData()->hasFormat(kComponentMime)) e->acceptProposedAction();
}

void CDesignView::dropEvent(QDropEvent* e) {
    if (DropMime(e->mimeData(), e->position().toPoint())) e->acceptProposedAction();
}

bool CDesignView::DropMime(const QMimeData* mime, const QPoint& at) {
    if (!Module() || !mime || !mime->hasFormat(kComponentMime)) return false;
    bool ok = false;
    const int type = QString::fromLatin1(mime->data(kComponentMime)).toInt(&ok);
    if (!ok) return false;
    const QPointF w = ToWorld(QPointF(at));
    const bool made = m_actions.DropComponent(type, static_cast<int>(w.x()), static_cast<int>(w.y()));
    Changed();
    return made;
}

void CDesignView::Changed() {
    UpdateScrollRange();
    viewport()->update();
    if (m_host.modelChanged) m_host.modelChanged();
}

}  // namespace zor2::gui
