// The main view's widget: mode, zoom and scrolling, the mouse and keyboard
// gestures and the context menus. Geometry comes from the core layout and
// drawing from the painters.
#include "designer/gui/design_view.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
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
#include "designer/gui/view_paint.h"
#include "engine/catalogue.h"

namespace zor2::gui {
namespace {

/// Items of the context menus; "-" separates, ">Name" opens and "<" closes a submenu.
const QStringList kModuleMenu = {"Module Properties...",
                                 "Export Module...",
                                 "-",
                                 ">Inputs",
                                 "Add New Input...",
                                 "Group All Inputs",
                                 "Expose All Externally...",
                                 "-",
                                 "Add Connection...",
                                 "Remove Connections",
                                 "<",
                                 ">Outputs",
                                 "Add New Output...",
                                 "Group All Outputs",
                                 "Expose All Externally...",
                                 "-",
                                 "Remove Connections...",
                                 "<",
                                 "-",
                                 "Execute",
                                 "View Components...",
                                 "-",
                                 "Delete"};
const QStringList kModuleInputMenu = {"Properties...",
                                      "-",
                                      "Expose as External Input",
                                      "Remove Input Connection",
                                      "Remove All Internal Connections",
                                      "-",
                                      "Delete Module Input"};
const QStringList kModuleOutputMenu = {"Properties...",
                                       "-",
                                       "Remove Outgoing Connections from Output",
                                       "Remove Internal Connection to Output",
                                       "-",
                                       "Delete Output"};
const QStringList kInputsBarMenu = {
    "Add Category...", "Add System Input...", "-", "Import System Inputs...", "-",
    "Expand All",      "Contract all"};
const QStringList kOutputsBarMenu = {
    "Add Category...", "Add System Output...", "-", "Import System Outputs...", "-",
    "Expand All",      "Contract All"};
const QStringList kSystemInputMenu = {"Input Properties...", "Reset Value", "-",
                                      "Add SimBehavior...",  "-",           "Delete"};
const QStringList kSystemOutputMenu = {"Output Properties...", "-", "Delete", "Remove Connection"};
const QStringList kInputCategoryMenu = {"Category Properties...", "-", "Contract", "Expand", "-",
                                        "Add New Input..."};
const QStringList kOutputCategoryMenu = {"Category Properties...", "-", "Contract", "Expand", "-",
                                         "Add New Output..."};
const QStringList kComponentMenu = {"Properties...",
                                    "Show Reduced",
                                    "-",
                                    "Execute",
                                    "Delete",
                                    "-",
                                    "Expose All Inputs to Module Inputs Layer",
                                    "Expose All Outputs to Module Outputs Layer",
                                    "-",
                                    "Remove Input Connections",
                                    "Remove Output Connections",
                                    "-",
                                    "Delete All Outputs"};
const QStringList kMfccMenu = {"Properties...",
                               "Show Reduced",
                               "-",
                               "Execute",
                               "Delete",
                               "-",
                               "Expose All Outputs",
                               "-",
                               "Remove Input Connections",
                               "Remove Output Connections",
                               "-",
                               "Delete All Inputs",
                               "Delete All Outputs"};
const QStringList kNeuralMenu = {"Properties...",
                                 "Show Reduced",
                                 "-",
                                 "Execute",
                                 "-",
                                 "Import Patterns...",
                                 "Learn Patterns",
                                 "-",
                                 "Expose All Inputs",
                                 "Expose All Outputs",
                                 "Remove Input Connections",
                                 "Remove Output Connections",
                                 "-",
                                 "Delete All Inputs",
                                 "Delete"};
/// The sequencer's menu: the component menu with the timeline editor after "Show Reduced".
const QStringList kSequencerMenu = [] {
    QStringList items = kComponentMenu;
    items.insert(2, "Show Sequence Timeline Editor");
    items.insert(2, "-");
    return items;
}();
const QStringList kComponentInputMenu = {"Input Properties...", "-", "Remove Connection"};
const QStringList kComponentOutputMenu = {
    "Output Properties...",           "-", "Show Graph of Output",   "Show Value Window", "-",
    "Expose to Module Outputs Layer", "-", "Remove All Connections", "Delete Output"};
const QStringList kGraphicMenu = {"Properties...",
                                  "-",
                                  "Consolidate Enclosed Components",
                                  "Release Consolidated Components",
                                  "-",
                                  "Clear Text",
                                  "Send To Back",
                                  ">Size and Position",
                                  "Make Same Size",
                                  "Make Same Width",
                                  "Make Same Height",
                                  "-",
                                  "Align Top",
                                  "Align Bottom",
                                  "Align Left",
                                  "Align Right",
                                  "-",
                                  "Align Center Vertical",
                                  "Align Center Horizontal",
                                  "-",
                                  "Distribute Horizontally",
                                  "Distribute Vertically",
                                  "<",
                                  "-",
                                  "Copy",
                                  "Paste",
                                  "-",
                                  "Delete"};

/// Items the view carries out itself; the window handles "Properties" items.
const QStringList kViewItems = {"Execute",
                                "Expose as External Input",
                                "View Components...",
                                "Delete",
                                "Expose All Inputs to Module Inputs Layer",
                                "Expose All Inputs",
                                "Module Properties...",
                                "Properties...",
                                "Input Properties...",
                                "Output Properties...",
                                "Category Properties..."};

/// Context-menu items that run one document command on the object under the
/// cursor, which the gesture has made the selection.
struct CObjectMenuItem {
    EHit kind;
    const char* item;
    ECmd (*run)(Czor2Doc&, const CHit&);
};

const CObjectMenuItem kObjectMenuItems[] = {
    {EHit::Module, "Inputs/Group All Inputs",
     [](Czor2Doc& d, const CHit& h) { return GroupModuleInputs(d, !h.module->m_collapsedInputs); }},
    {EHit::Module, "Outputs/Group All Outputs",
     [](Czor2Doc& d, const CHit& h) { return GroupModuleOutputs(d, !h.module->m_collapsedOutputs); }},
    {EHit::InputsBar, "Expand All", [](Czor2Doc& d, const CHit&) { return ExpandAllInputCategories(d); }},
    {EHit::InputsBar, "Contract all", [](Czor2Doc& d, const CHit&) { return ContractAllInputCategories(d); }},
    {EHit::OutputsBar, "Expand All", [](Czor2Doc& d, const CHit&) { return ExpandAllOutputCategories(d); }},
    {EHit::OutputsBar, "Contract All",
     [](Czor2Doc& d, const CHit&) { return ContractAllOutputCategories(d); }},
    {EHit::InputCategory, "Contract",
     [](Czor2Doc& d, const CHit& h) { return ContractInputCategory(d, h.inputCategory->m_id); }},
    {EHit::InputCategory, "Expand",
     [](Czor2Doc& d, const CHit& h) { return ExpandInputCategory(d, h.inputCategory->m_id); }},
    {EHit::OutputCategory, "Contract",
     [](Czor2Doc& d, const CHit& h) { return ContractOutputCategory(d, h.outputCategory->m_id); }},
    {EHit::OutputCategory, "Expand",
     [](Czor2Doc& d, const CHit& h) { return ExpandOutputCategory(d, h.outputCategory->m_id); }},
    {EHit::Component, "Show Reduced", [](Czor2Doc& d, const CHit&) { return ToggleComponentReduced(d); }},
    {EHit::Component, "Remove Input Connections",
     [](Czor2Doc& d, const CHit&) { return RemoveInputConnections(d); }},
    {EHit::Component, "Remove Output Connections",
     [](Czor2Doc& d, const CHit&) { return RemoveOutputConnections(d); }},
    {EHit::SystemOutput, "Remove Connection",
     [](Czor2Doc& d, const CHit&) { return RemoveSystemOutputConnection(d); }},
    {EHit::Module, "Outputs/Remove Connections...",
     [](Czor2Doc& d, const CHit& h) { return RemoveModuleOutgoingConnections(d, h.module->m_id); }},
    {EHit::Module, "Inputs/Remove Connections",
     [](Czor2Doc& d, const CHit& h) { return RemoveModuleIncomingConnections(d, h.module->m_id); }},
    {EHit::Graphic, "Consolidate Enclosed Components",
     [](Czor2Doc& d, const CHit& h) { return ConsolidateComponents(d, h.graphic->m_id); }},
    {EHit::Graphic, "Release Consolidated Components",
     [](Czor2Doc& d, const CHit& h) { return ReleaseComponents(d, h.graphic->m_id); }},
    {EHit::Graphic, "Clear Text", [](Czor2Doc& d, const CHit&) { return ClearGraphicText(d); }},
    {EHit::Graphic, "Send To Back", [](Czor2Doc& d, const CHit&) { return SendGraphicsToBack(d); }},
    {EHit::Graphic, "Size and Position/Make Same Size",
     [](Czor2Doc& d, const CHit&) { return MakeGraphicsSameSize(d, ESameSize::Size); }},
    {EHit::Graphic, "Size and Position/Make Same Width",
     [](Czor2Doc& d, const CHit&) { return MakeGraphicsSameSize(d, ESameSize::Width); }},
    {EHit::Graphic, "Size and Position/Make Same Height",
     [](Czor2Doc& d, const CHit&) { return MakeGraphicsSameSize(d, ESameSize::Height); }},
    {EHit::Graphic, "Size and Position/Align Top",
     [](Czor2Doc& d, const CHit&) { return Align(d, EAlign::Top, EAlignTarget::Graphics); }},
    {EHit::Graphic, "Size and Position/Align Bottom",
     [](Czor2Doc& d, const CHit&) { return Align(d, EAlign::Bottom, EAlignTarget::Graphics); }},
    {EHit::Graphic, "Size and Position/Align Left",
     [](Czor2Doc& d, const CHit&) { return Align(d, EAlign::Left, EAlignTarget::Graphics); }},
    {EHit::Graphic, "Size and Position/Align Right",
     [](Czor2Doc& d, const CHit&) { return Align(d, EAlign::Right, EAlignTarget::Graphics); }},
    {EHit::Graphic, "Size and Position/Align Center Vertical",
     [](Czor2Doc& d, const CHit&) { return Align(d, EAlign::Vertical, EAlignTarget::Graphics); }},
    {EHit::Graphic, "Size and Position/Align Center Horizontal",
     [](Czor2Doc& d, const CHit&) { return Align(d, EAlign::Horizontal, EAlignTarget::Graphics); }},
    {EHit::Graphic, "Size and Position/Distribute Horizontally",
     [](Czor2Doc& d, const CHit&) { return DistributeHorizontally(d, EAlignTarget::Graphics); }},
    {EHit::Graphic, "Size and Position/Distribute Vertically",
     [](Czor2Doc& d, const CHit&) { return DistributeVertically(d, EAlignTarget::Graphics); }},
    {EHit::Graphic, "Delete", [](Czor2Doc& d, const CHit& h) { return DeleteGraphic(d, h.graphic->m_id); }},
};

const CObjectMenuItem* FindObjectMenuItem(EHit kind, const QString& item) {
    for (const CObjectMenuItem& c : kObjectMenuItems)
        if (c.kind == kind && item == QLatin1String(c.item)) return &c;
    return nullptr;
}

const QStringList* MenuFor(const CHit& hit) {
    switch (hit.kind) {
        case EHit::Module:
            return &kModuleMenu;
        case EHit::ModuleInput:
        case EHit::ModInput:
            return &kModuleInputMenu;
        case EHit::ModuleOutput:
        case EHit::ModOutput:
            return &kModuleOutputMenu;
        case EHit::InputsBar:
            return &kInputsBarMenu;
        case EHit::OutputsBar:
            return &kOutputsBarMenu;
        case EHit::SystemInput:
            return &kSystemInputMenu;
        case EHit::SystemOutput:
            return &kSystemOutputMenu;
        case EHit::InputCategory:
            return &kInputCategoryMenu;
        case EHit::OutputCategory:
            return &kOutputCategoryMenu;
        case EHit::Component:
            return &CDesignView::ComponentMenuItems(TypeTraits(hit.component->m_typeId).menu);
        case EHit::ComponentInput:
            return &kComponentInputMenu;
        case EHit::ComponentOutput:
            return &kComponentOutputMenu;
        case EHit::Graphic:
            return &kGraphicMenu;
        default:
            return nullptr;
    }
}

}  // namespace

const QStringList& CDesignView::ComponentMenuItems(EComponentMenu menu) {
    switch (menu) {
        case EComponentMenu::Mfcc:
            return kMfccMenu;
        case EComponentMenu::NeuralNetwork:
            return kNeuralMenu;
        case EComponentMenu::Sequencer:
            return kSequencerMenu;
        default:
            return kComponentMenu;
    }
}

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
    viewport()->update();
}

void CDesignView::SetPlace(double zoom, QPointF scroll) {
    m_zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    m_scroll = scroll;
    UpdateScrollRange();
    viewport()->update();
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
    const CViewLayout layout = Layout();
    const CPaintScene scene{layout, font()};
    // Connections and bars in viewport coordinates, boxes in model coordinates.
    auto inModel = [&](auto&& paint) {
        p.save();
        p.scale(m_zoom, m_zoom);
        p.translate(-m_scroll);
        paint();
        p.restore();
    };
    PaintGrid(p, scene);
    if (layout.Module()) {
        inModel([&] { PaintGraphics(p, scene); });
        PaintConnections(p, scene);
        inModel([&] {
            PaintComponents(p, scene);
            PaintCharts(p, scene);
        });
    } else {
        PaintConnections(p, scene);
        inModel([&] { PaintModules(p, scene); });
    }
    PaintBars(p, scene);
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

// --- context menus ---------------------------------------------------------

QStringList CDesignView::ContextMenuItems(const CHit& hit) {
    const QStringList* items = MenuFor(hit);
    return items ? *items : QStringList();
}

QMenu* CDesignView::BuildContextMenu(const CHit& hit, QWidget* parent) {
    const QStringList* items = MenuFor(hit);
    if (!items) return nullptr;
    auto* root = new QMenu(parent);
    QMenu* menu = root;
    QString prefix;  // "submenu/" inside a submenu, so equal items stay apart
    for (const QString& item : *items) {
        if (item == "-") {
            menu->addSeparator();
        } else if (item.startsWith('>')) {
            menu = root->addMenu(item.mid(1));
            prefix = item.mid(1) + '/';
        } else if (item == "<") {
            menu = root;
            prefix.clear();
        } else {
            QAction* a = menu->addAction(item);
            const QString key = prefix + item;
            const bool handled =
                kViewItems.contains(key) || FindObjectMenuItem(hit.kind, key) ||
                (hit.kind == EHit::Graphic && (key == "Copy" || (key == "Paste" && !m_clipboard.Empty()))) ||
                (m_host.menuCommand && m_host.menuItemAvailable && m_host.menuItemAvailable(hit, key));
            a->setEnabled(handled);
            connect(a, &QAction::triggered, this, [this, hit, key] { RunMenuItem(hit, key); });
        }
    }
    return root;
}

void CDesignView::RunMenuItem(const CHit& hit, const QString& item) {
    // The item acts on the object under the cursor (a selected group stays selected).
    SelectHit(hit, false);
    if (const CObjectMenuItem* c = FindObjectMenuItem(hit.kind, item)) {
        m_actions.Editor().ApplyToModel(m_actions.System());
        c->run(m_actions.Doc(), hit);
    } else if (hit.kind == EHit::Graphic && item == "Copy") {
        CopyGraphics(m_actions.Doc(), m_clipboard);
    } else if (hit.kind == EHit::Graphic && item == "Paste") {
        PasteGraphics(m_actions.Doc(), m_clipboard);
    } else if (item == "Execute") {
        if (hit.kind == EHit::Module)
            m_actions.ExecuteModuleOnce(*hit.module);
        else if (hit.component)
            m_actions.ExecuteComponent(*hit.component);
    } else if (item == "Expose as External Input" && hit.moduleInput) {
        m_actions.ExposeModuleInput(*hit.module, *hit.moduleInput);
    } else if (item == "View Components...") {
        ShowModule(hit.module);
        return;
    } else if (item == "Delete") {
        if (hit.kind == EHit::Module)
            m_actions.DeleteModule(*hit.module);
        else if (hit.kind == EHit::Component)
            m_actions.DeleteComponent(*hit.component);
        else if (m_host.menuCommand)
            m_host.menuCommand(hit, item);
    } else if (item == "Expose All Inputs to Module Inputs Layer" || item == "Expose All Inputs") {
        m_actions.ExposeAllInputsReconnect(*hit.component);
    } else if (item.endsWith("Properties...")) {
        if (m_host.editObject) m_host.editObject(hit);
    } else if (m_host.menuCommand) {
        m_host.menuCommand(hit, item);
    }
    Changed();
}

void CDesignView::Changed() {
    UpdateScrollRange();
    viewport()->update();
    if (m_host.modelChanged) m_host.modelChanged();
}

}  // namespace zor2::gui
