// The main view's widget: mode, zoom and scrolling, the mouse and keyboard
// gestures and the context menus. Geometry comes from the core layout and
// drawing from the painters.
#include "designer/gui/design_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
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
#include "designer/gui/view_paint.h"
#include "designer/label_layout.h"
#include "engine/catalogue.h"

namespace zor2::gui {

CDesignView::CDesignView(CGuiActions& actions, CViewHost host, QWidget* parent)
    : QAbstractScrollArea(parent), m_actions(actions), m_host(std::move(host)) {
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    viewport()->setMouseTracking(false);
    setFocusPolicy(Qt::StrongFocus);
    horizontalScrollBar()->setSingleStep(16);
    verticalScrollBar()->setSingleStep(16);
    m_scroll = QPointF(-kBarWidth - 20, -20);
    m_hintTimer.setSingleShot(true);
    connect(&m_hintTimer, &QTimer::timeout, this, [this] {
        m_hint.clear();
        viewport()->update();
    });
    UpdateScrollRange();
}

// --- mode ------------------------------------------------------------------

void CDesignView::ShowSystem() {
    m_actions.Editor().ShowSystem();
    m_actions.Editor().ApplyToModel(m_actions.System());
    m_scroll = QPointF(-kBarWidth - 20, -20);
    UpdateScrollRange();
    Redraw();
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
    m_dragging = m_rubberBand = m_wiring = false;
    UpdateVisible();
    UpdateScrollRange();
    Redraw();
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
    Redraw();
}

void CDesignView::SetZoom(double zoom) {
    m_zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    UpdateScrollRange();
    Redraw();
}

void CDesignView::CenterView() {
    const QSizeF vp = QSizeF(viewport()->size()) / m_zoom;
    const bool empty = Module() ? Module()->m_components.Empty() : m_actions.System().m_modules.Empty();
    const CRect r = zor2::CenterView(m_actions.Doc(), static_cast<int32_t>(vp.width()),
                                     static_cast<int32_t>(vp.height()));
    // An empty view keeps its origin clear of the inputs bar.
    m_scroll = empty ? QPointF(-kBarWidth / m_zoom - 20, -20) : QPointF(r.left, r.top);
    UpdateScrollRange();
    Redraw();
}

QRectF CDesignView::ContentBounds() const {
    return ToQ(Layout().ContentBounds());
}

void CDesignView::FitContent(bool anyZoom) {
    const CViewLayout layout = Layout();
    const auto fit = FitTransform(layout.ContentBounds().Grown(30), viewport()->width(), viewport()->height(),
                                  layout.BarRect(true).Width(), layout.BarRect(false).Width(), anyZoom);
    if (!fit) return;
    m_zoom = fit->zoom;
    m_scroll = ToQ(fit->scroll);
    UpdateScrollRange();
    Redraw();
}

void CDesignView::SetPlace(double zoom, QPointF scroll) {
    m_zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    m_scroll = scroll;
    UpdateScrollRange();
    Redraw();
}

std::vector<CNetwork*> CDesignView::ModulesInDrawOrder() const {
    return zor2::ModulesInDrawOrder(m_actions.System());
}

// --- geometry --------------------------------------------------------------

CViewLayout CDesignView::Layout() const {
    return CViewLayout(m_actions.System(), m_actions.Editor(), CViewTransform{m_zoom, FromQ(m_scroll)},
                       viewport()->width(), viewport()->height());
}

QPointF CDesignView::ToWorld(const QPointF& v) const {
    return v / m_zoom + m_scroll;
}
QPointF CDesignView::ToViewport(const QPointF& w) const {
    return (w - m_scroll) * m_zoom;
}

QRectF CDesignView::ModuleBox(const CNetwork& m) const {
    return ToQ(zor2::ModuleBox(m));
}

CHit CDesignView::HitTest(const QPoint& vp) const {
    return Layout().HitTest(FromQ(QPointF(vp)));
}

QPoint CDesignView::CentreOf(const CHit& hit) const {
    return ToQ(Layout().CentreOf(hit)).toPoint();
}

void CDesignView::UpdateScrollRange() {
    const QRectF bounds = ToQ(Layout().ScrollExtent());
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
    Redraw();
}

void CDesignView::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    UpdateScrollRange();
}

// --- painting --------------------------------------------------------------

void CDesignView::Redraw() {
    ++m_revision;
    viewport()->update();
}

void CDesignView::SetStillLayerKept(bool kept) {
    m_stillKept = kept;
    m_still.Clear();
    m_labels.Clear();
    viewport()->update();
}

void CDesignView::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    const CViewLayout layout = Layout();
    const QSizeF shown(viewport()->width() / m_zoom, viewport()->height() / m_zoom);
    CPaintScene scene{layout, font(), QRectF(m_scroll, shown), QRectF(viewport()->rect())};
    // Painted onto a page (printing) the painter is scaled: text the page makes
    // readable is drawn, and nothing is copied from the screen's kept layer.
    scene.textScale = p.deviceTransform().m11() / devicePixelRatioF();
    const bool keep = m_stillKept && std::abs(scene.textScale - 1) < 1e-9;
    const uint64_t fingerprint = StillFingerprint(scene);
    if (keep && layout.Module()) scene.labels = &m_labels.For(scene, m_revision, fingerprint);
    // Connections and bars in viewport coordinates, boxes in model coordinates.
    auto inModel = [&](QPainter& q, auto&& paint) {
        q.save();
        q.scale(m_zoom, m_zoom);
        q.translate(-m_scroll);
        paint();
        q.restore();
    };
    // What lies under the boxes changes with edits only: a simulation cycle copies it.
    const CLayerKey key{m_zoom, m_scroll, viewport()->size(), devicePixelRatioF(), m_revision, fingerprint};
    if (keep && m_splitKey != key) {
        m_split = layout.Module() && ComponentsSplit(scene);
        m_splitKey = key;
    }
    const bool split = keep && m_split;
    auto still = [&](QPainter& q) {
        q.setRenderHint(QPainter::Antialiasing);
        q.setFont(font());
        q.fillRect(viewport()->rect(), ColourOf(Options().backgroundColour));
        PaintGrid(q, scene);
        if (layout.Module()) inModel(q, [&] { PaintGraphics(q, scene); });
        PaintConnections(q, scene);
        if (split) inModel(q, [&] { PaintComponents(q, scene, EComponents::Still); });
    };
    if (keep)
        m_still.Paint(p, key, still);
    else
        still(p);
    p.setRenderHint(QPainter::Antialiasing);
    if (layout.Module())
        inModel(p, [&] {
            PaintComponents(p, scene, split ? EComponents::Live : EComponents::All);
            PaintCharts(p, scene);
        });
    else
        inModel(p, [&] { PaintModules(p, scene); });
    PaintBars(p, scene);
    PaintWire(p, layout);
    if (m_rubberBand) {
        p.setPen(QPen(kSelected, 1, Qt::DashLine));
        p.setBrush(QColor(0x1E, 0x78, 0xE6, 30));
        p.drawRect(m_rubberRect.normalized());
    }
}

// --- selection -------------------------------------------------------------

bool CDesignView::IsSelected(const CHit& h) const {
    return IsHitSelected(m_actions.Editor(), h);
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
        if (!IsConsolidated(*c)) ids.push_back(c->m_id);
    m_actions.Editor().ClearSelection();
    m_actions.Editor().SelectComponents(std::move(ids));
    m_actions.Editor().ApplyToModel(m_actions.System());
    Redraw();
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
        m_wiring = StartsConnection(hit.kind);
        m_wireEnd = e->position();
    }
}

bool CDesignView::viewportEvent(QEvent* e) {
    if (e->type() != QEvent::ToolTip) return QAbstractScrollArea::viewportEvent(e);
    // Hovering shows an object's whole name, however its drawing cut it.
    const auto* help = static_cast<QHelpEvent*>(e);
    const QString text = Q(HoverText(HitTest(help->pos())));
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), text, viewport());
    return true;
}

std::optional<CConnectPreview> CDesignView::WirePreview() const {
    if (!m_wiring) return std::nullopt;
    const CViewLayout layout = Layout();
    return PreviewConnect(layout, m_rightSource, layout.HitTest(FromQ(m_wireEnd)));
}

void CDesignView::PaintWire(QPainter& p, const CViewLayout& layout) {
    static const QColor accepted(0x2E, 0x9A, 0x46), refused(0xC8, 0x3C, 0x32);
    if (m_wiring && m_wireEnd != QPointF(m_pressViewport)) {
        const CHit target = layout.HitTest(FromQ(m_wireEnd));
        const CConnectPreview preview = PreviewConnect(layout, m_rightSource, target);
        const QColor c = preview.verdict == EConnectVerdict::Accepted  ? accepted
                         : preview.verdict == EConnectVerdict::Refused ? refused
                                                                       : kWire;
        p.setPen(QPen(c, 2, Qt::DashLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawLine(ToQ(WireStart(layout, m_rightSource)), m_wireEnd);
        if (preview.verdict != EConnectVerdict::None) {
            // The object under the cursor, marked as taking the wire or not.
            p.setPen(QPen(c, 2));
            p.setBrush(QColor(c.red(), c.green(), c.blue(), 40));
            p.drawRect(ToQ(TargetRect(layout, target)).adjusted(-2, -2, 2, 2));
        }
    }
    if (m_hint.isEmpty()) return;
    const QFontMetrics fm(font());
    QRectF box(m_hintAt + QPointF(14, 14), QSizeF(fm.horizontalAdvance(m_hint) + 12, fm.height() + 8));
    // Kept inside the viewport so the reason can be read in full.
    box.moveRight(std::min(box.right(), viewport()->width() - 2.0));
    box.moveBottom(std::min(box.bottom(), viewport()->height() - 2.0));
    p.setPen(QPen(refused, 1));
    p.setBrush(QColor(0xFF, 0xF4, 0xD6));
    p.drawRoundedRect(box, 3, 3);
    p.setPen(Qt::black);
    p.drawText(box, Qt::AlignCenter, m_hint);
}

bool CDesignView::OperateControl(const CHit& hit, const QPointF& world) {
    // While the simulation runs the mouse operates a user control instead of selecting it.
    if (hit.kind != EHit::Component || !m_actions.OperatesControl(*hit.component)) return false;
    m_actions.PressControl(*hit.component, static_cast<int>(std::floor(world.x())),
                           static_cast<int>(std::floor(world.y())));
    Redraw();
    return true;
}

void CDesignView::PressLeft(QMouseEvent* e, const CHit& hit) {
    if (OperateControl(hit, ToWorld(e->position()))) return;
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
        if (hit.kind == EHit::ChartSizeButton && !m_actions.Refused()) {
            SetChartField(m_actions.Doc(), EChartField::SizeCode, hit.part);
            Changed();
        }
    }
    Redraw();
    if (m_host.selectionChanged) m_host.selectionChanged();
}

void CDesignView::mouseMoveEvent(QMouseEvent* e) {
    if (m_wiring && (e->buttons() & Qt::RightButton)) {
        m_wireEnd = e->position();
        viewport()->update();
        return;
    }
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
    Redraw();
}

void CDesignView::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && m_actions.ReleaseControl()) {
        Redraw();
        if (m_host.selectionChanged) m_host.selectionChanged();
        return;
    }
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
        Redraw();
        if (m_host.selectionChanged) m_host.selectionChanged();
    } else if (e->button() == Qt::RightButton) {
        const CHit target = HitTest(e->position().toPoint());
        // Judged before the request: a refused one leaves the model as it was, a made one changes it.
        const CViewLayout layout = Layout();
        const CConnectPreview preview = PreviewConnect(layout, m_rightSource, target);
        m_wiring = false;
        RightGesture(m_rightSource, target, e->position().toPoint());
        m_rightSource = CHit{};
        if (preview.verdict == EConnectVerdict::Refused) {
            m_hint = QString::fromStdString(preview.reason);
            m_hintAt = e->position();
            m_hintTimer.start(4000);
        }
        Redraw();
    }
}

void CDesignView::FinishRectangle(Qt::KeyboardModifiers mods) {
    const QRectF vr = m_rubberRect.normalized();
    const QPointF a = ToWorld(vr.topLeft()), b = ToWorld(vr.bottomRight());
    const CRectD w{a.x(), a.y(), b.x(), b.y()};
    CSystem& s = m_actions.System();
    CEditorState& e = m_actions.Editor();
    if (Module() && (mods & Qt::ShiftModifier)) {
        if (vr.width() < 4 || vr.height() < 4) return;
        CRect r{static_cast<int32_t>(w.left), static_cast<int32_t>(w.top), static_cast<int32_t>(w.right),
                static_cast<int32_t>(w.bottom)};
        m_actions.AddGraphicRect(r);
        Changed();
        return;
    }
    // With Ctrl the rectangle picks graphics afresh; else it adds modules or components.
    const bool graphics = Module() && (mods & Qt::ControlModifier);
    if (graphics) e.m_graphics.clear();
    for (const CHit& h : Layout().Touching(w, graphics)) {
        if (graphics)
            e.m_graphics.push_back(h.graphic->m_id);
        else if (h.kind == EHit::Component && !IsSelected(h))
            e.m_components.push_back(h.component->m_id);
        else if (h.kind == EHit::Module && !IsSelected(h))
            e.m_modules.push_back(h.module->m_id);
    }
    e.ApplyToModel(s);
}

void CDesignView::RightGesture(const CHit& source, const CHit& target, const QPoint& at) {
    if (source.kind == EHit::None && target.kind == EHit::None) return;
    if (source == target) {
        SelectHit(source, false);
        Redraw();
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
        // A sim action's connection dropped on its target graphic or value window.
        // Refused (a beep) for a component that cannot target the object.
        if (s.kind == EHit::Component && t.kind == EHit::Graphic)
            return m_actions.TargetGraphic(*s.component, *t.graphic);
        if (s.kind == EHit::Component && t.kind == EHit::ValueWindow)
            return m_actions.TargetValueWindow(*s.component, *t.valueWindow);
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
    if (OperateControl(hit, w)) return;
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
    if (m_actions.Refused()) return;
    MoveSelection(m_actions.Doc(), dx < 0   ? EArrowKey::Left
                                   : dx > 0 ? EArrowKey::Right
                                   : dy < 0 ? EArrowKey::Up
                                            : EArrowKey::Down);
    Redraw();
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
    Redraw();
    if (m_host.modelChanged) m_host.modelChanged();
}

}  // namespace zor2::gui
