// Boxes, bar rows, anchors and the hit test of the main view.
#include "designer/view_layout.h"

#include <algorithm>
#include <unordered_set>

#include "designer/commands_view.h"

namespace zor2 {
namespace {

bool Has(const std::vector<int32_t>& ids, int32_t id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

/// The object a bar row stands for; every row has its own.
const void* RowObject(const CHit& h) {
    switch (h.kind) {
        case EHit::ModInput:
            return h.moduleInput;
        case EHit::ModOutput:
            return h.moduleOutput;
        case EHit::SystemInput:
            return h.systemInput;
        case EHit::SystemOutput:
            return h.systemOutput;
        case EHit::InputCategory:
            return h.inputCategory;
        case EHit::OutputCategory:
            return h.outputCategory;
        default:
            return nullptr;
    }
}

bool IsComponentPort(EHit kind) {
    return kind == EHit::ComponentInput || kind == EHit::ComponentOutput;
}

bool IsModulePort(EHit kind) {
    return kind == EHit::ModuleInput || kind == EHit::ModuleOutput;
}

}  // namespace

CRectD ModuleBox(const CNetwork& m) {
    const int ports = static_cast<int>(std::max(m.m_inputs.Size(), m.m_outputs.Size()));
    const int rows = std::max(m.m_collapsedInputs ? 1 : ports, 1);
    const double height = std::max<double>(m.m_minBoxHeight, rows * kPortRow + m.m_minPortColumnHeight);
    const double width = m.m_boxWidth > 0 ? m.m_boxWidth : 170;
    return CRectD::Sized(m.m_position.x - width / 2, m.m_position.y - height / 2, width, height);
}

CRectD ModulePortRect(const CNetwork& m, int index, bool output) {
    const CRectD box = ModuleBox(m);
    const double x = (output ? box.right : box.left) - kModulePortSize / 2;
    return CRectD::Sized(x, box.top + kModulePortTop + index * kPortRow, kModulePortSize, kModulePortSize);
}

CRectD ComponentBox(const CNetworkModel& c) {
    return CRectD::Of(ShownBox(c));
}

CRectD ComponentPortRect(const CNetworkModel& c, int index, bool output) {
    const CRectD box = CRectD::Of(c.m_box);
    const double h = c.m_portHeight, step = double(c.m_portHeight) + c.m_portSpacing;
    double y = box.top + c.m_portOffset + index * step;
    // A component with one input slot shows it halfway down its box.
    if (!output && c.m_singleInputSlot) y = box.Center().y - h / 2;
    const double x = output ? box.right : box.left - c.m_portWidth;
    return CRectD::Sized(x, y, c.m_portWidth, h);
}

CRectD ChartSizeButton(const CChart& chart, int code) {
    const CRectD r = CRectD::Of(chart.m_rect);
    return CRectD::Sized(r.right - (4 - code) * (kSizeButton + 2) - 2, r.top + 2, kSizeButton,
                         kChartTitle - 4);
}

CRectD GraphicClasp(const CGraphic& g, int corner) {
    const CRectD r = CRectD::Of(g.m_rect);
    const CPointD corners[4] = {{r.left, r.top}, {r.right, r.top}, {r.right, r.bottom}, {r.left, r.bottom}};
    const CPointD c = corners[corner & 3];
    return CRectD::Sized(c.x - kGraphicClasp / 2, c.y - kGraphicClasp / 2, kGraphicClasp, kGraphicClasp);
}

bool IsHitSelected(const CEditorState& e, const CHit& h) {
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
            return Has(e.m_moduleInputs, h.moduleInput->m_id) && e.m_ownerId == h.module->m_id;
        case EHit::ModOutput:
        case EHit::ModuleOutput:
            return Has(e.m_moduleOutputs, h.moduleOutput->m_id) && e.m_ownerId == h.module->m_id;
        case EHit::Graphic:
        case EHit::GraphicHandle:
            return Has(e.m_graphics, h.graphic->m_id);
        case EHit::Chart:
        case EHit::ChartSizeButton:
            return Has(e.m_charts, h.chart->m_id);
        case EHit::ValueWindow:
            return Has(e.m_valueWindows, h.valueWindow->m_id);
        case EHit::Module:
            return Has(e.m_modules, h.module->m_id);
        case EHit::Component:
            return Has(e.m_components, h.component->m_id);
        default:
            return false;
    }
}

std::vector<CNetwork*> ModulesInDrawOrder(const CSystem& s) {
    std::unordered_set<const CNetwork*> present;
    present.reserve(s.m_modules.Size());
    for (const CNetwork* m : s.m_modules) present.insert(m);
    std::vector<CNetwork*> order;
    order.reserve(s.m_modules.Size());
    for (CNetwork* m : s.m_modulesByCreation)
        if (present.count(m)) order.push_back(m);
    if (order.size() != s.m_modules.Size()) order = s.m_modules.Snapshot();
    return order;
}

std::optional<CViewTransform> FitTransform(const CRectD& bounds, double width, double height, double leftBar,
                                           double rightBar, bool anyZoom) {
    if (bounds.Width() <= 0 || bounds.Height() <= 0) return std::nullopt;
    // The bars cover both sides of the viewport; the content goes between them.
    const double inner = std::max(50.0, width - leftBar - rightBar);
    double zoom = std::min(inner / bounds.Width(), height / bounds.Height());
    zoom = anyZoom ? std::min(zoom, kMaxZoom) : std::clamp(zoom, kMinZoom, kMaxZoom);
    // A viewport without height fits nothing (and would divide by a zero zoom).
    if (!(zoom > 0)) return std::nullopt;
    CViewTransform t;
    t.zoom = zoom;
    t.scroll = {bounds.left - leftBar / zoom - (inner / zoom - bounds.Width()) / 2,
                bounds.top - (height / zoom - bounds.Height()) / 2};
    return t;
}

// --- the layout -------------------------------------------------------------

CViewLayout::CViewLayout(CSystem& system, const CEditorState& editor, const CViewTransform& transform,
                         double width, double height)
    : m_system(system),
      m_editor(editor),
      m_transform(transform),
      m_width(width),
      m_height(height),
      m_module(editor.DesignedModule(system)) {
    BuildBarRows(true);
    BuildBarRows(false);
}

CRectD CViewLayout::BarRect(bool inputs) const {
    const CViewOptions& o = m_editor.m_options;
    if (inputs) {
        const bool shown = m_module ? o.showModuleInputsBar : o.showSystemInputsBar;
        return shown ? CRectD::Sized(0, 0, kBarWidth, m_height) : CRectD();
    }
    const bool shown = m_module ? o.showModuleOutputsBar : o.showSystemOutputsBar;
    return shown ? CRectD::Sized(m_width - kBarWidth, 0, kBarWidth, m_height) : CRectD();
}

void CViewLayout::BuildBarRows(bool inputs) {
    std::vector<CBarRow>& rows = m_rows[inputs ? 0 : 1];
    const CRectD bar = BarRect(inputs);
    if (bar.IsNull()) return;
    double y = kBarTitle;
    auto row = [&](double height, double advance, const CHit& hit) {
        rows.push_back({CRectD::Sized(bar.left, y, kBarWidth, height), hit});
        y += advance;
    };
    if (CNetwork* m = m_module) {
        if (inputs)
            for (CNetworkInput* in : m->m_inputs)
                row(kPortRow + 2, kPortRow + 4, {.kind = EHit::ModInput, .module = m, .moduleInput = in});
        else
            for (CNetworkOutput* out : m->m_outputs)
                row(kPortRow + 2, kPortRow + 4, {.kind = EHit::ModOutput, .module = m, .moduleOutput = out});
    } else {
        // A category row, then its members unless it is contracted.
        auto category = [&](const CHit& hit, bool contracted, const auto& members, auto memberHit) {
            row(kCategoryRow, kCategoryRow, hit);
            if (!contracted)
                for (auto* p : members) row(kPortRow, kPortRow, memberHit(p));
            y += 4;
        };
        if (inputs) {
            for (CExternalInputCategory* cat : m_system.m_inputCategories)
                category({.kind = EHit::InputCategory, .inputCategory = cat},
                         Has(m_editor.m_contractedInputCategories, cat->m_id), cat->m_members.Items(),
                         [](CExternalInput* p) { return CHit{.kind = EHit::SystemInput, .systemInput = p}; });
        } else {
            for (CExternalOutputCategory* cat : m_system.m_outputCategories)
                category(
                    {.kind = EHit::OutputCategory, .outputCategory = cat},
                    Has(m_editor.m_contractedOutputCategories, cat->m_id), cat->m_members.Items(),
                    [](CExternalOutput* p) { return CHit{.kind = EHit::SystemOutput, .systemOutput = p}; });
        }
    }
    auto& index = m_rowOf[inputs ? 0 : 1];
    index.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) index.emplace(RowObject(rows[i].hit), i);
}

const CBarRow* CViewLayout::FindRow(const CHit& hit, bool inputs) const {
    const auto& index = m_rowOf[inputs ? 0 : 1];
    const auto it = index.find(RowObject(hit));
    if (it == index.end()) return nullptr;
    const CBarRow& row = m_rows[inputs ? 0 : 1][it->second];
    return row.hit == hit ? &row : nullptr;
}

int CViewLayout::PortIndex(const CHit& port) const {
    if (m_portIndex.empty()) {
        // Every port the mode shows, once per layout: connections ask for many.
        auto add = [&](const auto& ports) {
            int i = 0;
            for (const auto* p : ports) m_portIndex.emplace(p, i++);
        };
        if (m_module) {
            for (const CNetworkModel* c : m_module->m_components) {
                add(c->m_inputs);
                add(c->m_outputs);
            }
        } else {
            for (const CNetwork* m : m_system.m_modules) {
                add(m->m_inputs);
                add(m->m_outputs);
            }
        }
    }
    const void* p = port.kind == EHit::ComponentInput    ? static_cast<const void*>(port.input)
                    : port.kind == EHit::ComponentOutput ? static_cast<const void*>(port.output)
                    : port.kind == EHit::ModuleInput     ? static_cast<const void*>(port.moduleInput)
                                                         : static_cast<const void*>(port.moduleOutput);
    if (const auto it = m_portIndex.find(p); it != m_portIndex.end()) return it->second;
    // A port of another module than the mode shows.
    switch (port.kind) {
        case EHit::ComponentInput:
            return port.component->m_inputs.IndexOf(port.input);
        case EHit::ComponentOutput:
            return port.component->m_outputs.IndexOf(port.output);
        case EHit::ModuleInput:
            return port.module->m_inputs.IndexOf(port.moduleInput);
        default:
            return port.module->m_outputs.IndexOf(port.moduleOutput);
    }
}

CRectD CViewLayout::PortRect(const CHit& port) const {
    switch (port.kind) {
        case EHit::ComponentInput:
        case EHit::ComponentOutput:
            return ComponentPortRect(*port.component, PortIndex(port), port.kind == EHit::ComponentOutput);
        case EHit::ModuleInput:
        case EHit::ModuleOutput:
            return ModulePortRect(*port.module, PortIndex(port), port.kind == EHit::ModuleOutput);
        default:
            return CRectD();
    }
}

std::optional<CPointD> CViewLayout::PortAnchor(const CHit& port) const {
    if (IsComponentPort(port.kind) || IsModulePort(port.kind)) {
        const bool output = port.kind == EHit::ComponentOutput || port.kind == EHit::ModuleOutput;
        // A reduced component's wires meet the sides of its small box.
        const bool reduced = IsComponentPort(port.kind) && IsReduced(*port.component);
        const CRectD r = reduced ? ComponentBox(*port.component) : PortRect(port);
        return ToViewport({output ? r.right : r.left, r.Center().y});
    }
    if (const CBarRow* row = FindRow(port, true)) return CPointD{row->rect.right, row->rect.Center().y};
    if (const CBarRow* row = FindRow(port, false)) return CPointD{row->rect.left, row->rect.Center().y};
    return std::nullopt;
}

CHit CViewLayout::HitTest(CPointD v) const {
    for (bool inputs : {true, false}) {
        for (const CBarRow& row : BarRows(inputs))
            if (row.rect.Contains(v)) return row.hit;
        if (BarRect(inputs).Contains(v)) {
            const EHit kind = inputs ? (m_module ? EHit::ModInputsBar : EHit::InputsBar)
                                     : (m_module ? EHit::ModOutputsBar : EHit::OutputsBar);
            return CHit{.kind = kind, .module = m_module};
        }
    }
    const CPointD w = ToWorld(v);
    // Ports and clasps are small: they take a few pixels around them too.
    const double slack = 3 / m_transform.zoom;
    if (!m_module) {
        const auto order = ModulesInDrawOrder(m_system);
        for (auto it = order.rbegin(); it != order.rend(); ++it) {
            CNetwork* m = *it;
            int i = 0;
            for (CNetworkInput* in : m->m_inputs)
                if (ModulePortRect(*m, i++, false).Grown(slack).Contains(w))
                    return CHit{.kind = EHit::ModuleInput, .module = m, .moduleInput = in};
            i = 0;
            for (CNetworkOutput* out : m->m_outputs)
                if (ModulePortRect(*m, i++, true).Grown(slack).Contains(w))
                    return CHit{.kind = EHit::ModuleOutput, .module = m, .moduleOutput = out};
            if (ModuleBox(*m).Contains(w)) return CHit{.kind = EHit::Module, .module = m};
        }
        return CHit{};
    }
    CNetwork* const m = m_module;
    // Value windows and charts lie above everything else.
    const auto& windows = m_system.m_valueWindows.m_windows;
    for (size_t i = windows.Size(); i-- > 0;) {
        CValueWindow* vw = windows.At(i);
        if (vw->Resolved() && vw->m_module == m && CRectD::Of(vw->m_rect).Contains(w))
            return CHit{.kind = EHit::ValueWindow, .module = m, .valueWindow = vw};
    }
    const auto& charts = m_system.m_charts.m_charts;
    for (size_t i = charts.Size(); i-- > 0;) {
        CChart* c = charts.At(i);
        if (!c->Resolved() || c->m_module != m || !CRectD::Of(c->m_rect).Contains(w)) continue;
        for (int code = kChartSmall; code <= kChartLarge; ++code)
            if (ChartSizeButton(*c, code).Contains(w))
                return CHit{.kind = EHit::ChartSizeButton, .module = m, .chart = c, .part = code};
        return CHit{.kind = EHit::Chart, .module = m, .chart = c};
    }
    for (CGraphic* g : m_system.m_graphics.m_graphics) {
        if (!Has(m_editor.m_graphics, g->m_id)) continue;
        for (int corner = 0; corner < 4; ++corner)
            if (GraphicClasp(*g, corner).Grown(slack).Contains(w))
                return CHit{.kind = EHit::GraphicHandle, .module = m, .graphic = g, .part = corner};
    }
    const auto& comps = m->m_components;
    for (size_t k = comps.Size(); k-- > 0;) {
        CNetworkModel* c = comps.At(k);
        if (IsConsolidated(*c)) continue;
        // A reduced box has no ports of its own: all of it is the component.
        if (IsReduced(*c)) {
            if (ComponentBox(*c).Contains(w))
                return CHit{.kind = EHit::Component, .module = m, .component = c};
            continue;
        }
        int i = 0;
        for (CModelInput* in : c->m_inputs)
            if (ComponentPortRect(*c, i++, false).Contains(w))
                return CHit{.kind = EHit::ComponentInput, .module = m, .component = c, .input = in};
        i = 0;
        for (CModelOutput* out : c->m_outputs)
            if (ComponentPortRect(*c, i++, true).Contains(w))
                return CHit{.kind = EHit::ComponentOutput, .module = m, .component = c, .output = out};
        if (CRectD::Of(c->m_box).Contains(w))
            return CHit{.kind = EHit::Component, .module = m, .component = c};
    }
    const auto& graphics = m_system.m_graphics.m_graphics;
    for (size_t i = graphics.Size(); i-- > 0;) {
        CGraphic* g = graphics.At(i);
        if (CRectD::Of(g->m_rect).Contains(w)) return CHit{.kind = EHit::Graphic, .module = m, .graphic = g};
    }
    return CHit{};
}

CPointD CViewLayout::CentreOf(const CHit& hit) const {
    switch (hit.kind) {
        case EHit::Module:
            return ToViewport(ModuleBox(*hit.module).Center());
        case EHit::Component:
            return ToViewport(ComponentBox(*hit.component).Center());
        case EHit::Chart:
            // Below the title bar and its size buttons.
            return ToViewport(CRectD::Of(hit.chart->m_rect).Center() + CPointD{0, kChartTitle / 2});
        case EHit::ChartSizeButton:
            return ToViewport(ChartSizeButton(*hit.chart, hit.part).Center());
        case EHit::ValueWindow:
            return ToViewport(CRectD::Of(hit.valueWindow->m_rect).Center());
        case EHit::GraphicHandle:
            return ToViewport(GraphicClasp(*hit.graphic, hit.part).Center());
        case EHit::ComponentInput:
        case EHit::ComponentOutput:
        case EHit::ModuleInput:
        case EHit::ModuleOutput:
            return ToViewport(PortRect(hit).Center());
        case EHit::Graphic:
            return ToViewport(CRectD::Of(hit.graphic->m_rect).Center());
        // The bars: near their bottom, below any row.
        case EHit::InputsBar:
        case EHit::ModInputsBar:
            return {static_cast<int>(kBarWidth / 2), m_height - 10};
        case EHit::OutputsBar:
        case EHit::ModOutputsBar:
            return {m_width - static_cast<int>(kBarWidth / 2), m_height - 10};
        default:
            break;
    }
    for (bool inputs : {true, false})
        if (const CBarRow* row = FindRow(hit, inputs)) return row->rect.Center();
    return {};
}

std::vector<CHit> CViewLayout::Touching(const CRectD& world, bool graphics) const {
    std::vector<CHit> hits;
    if (!m_module) {
        for (CNetwork* m : m_system.m_modules)
            if (ModuleBox(*m).Intersects(world)) hits.push_back({.kind = EHit::Module, .module = m});
    } else if (graphics) {
        for (CGraphic* g : m_system.m_graphics.m_graphics)
            if (CRectD::Of(g->m_rect).Intersects(world))
                hits.push_back({.kind = EHit::Graphic, .module = m_module, .graphic = g});
    } else {
        for (CNetworkModel* c : m_module->m_components)
            if (!IsConsolidated(*c) && ComponentBox(*c).Intersects(world))
                hits.push_back({.kind = EHit::Component, .module = m_module, .component = c});
    }
    return hits;
}

CRectD CViewLayout::ContentBounds() const {
    CRectD bounds;
    if (CNetwork* m = m_module) {
        for (const CNetworkModel* c : m->m_components)
            if (!IsConsolidated(*c)) bounds = bounds.United(ComponentBox(*c));
        for (const CChart* c : m_system.m_charts.m_charts)
            if (c->m_module == m) bounds = bounds.United(CRectD::Of(c->m_rect));
        for (const CValueWindow* v : m_system.m_valueWindows.m_windows)
            if (v->m_module == m) bounds = bounds.United(CRectD::Of(v->m_rect));
        for (const CGraphic* g : m_system.m_graphics.m_graphics)
            bounds = bounds.United(CRectD::Of(g->m_rect));
    } else {
        for (const CNetwork* m : m_system.m_modules) bounds = bounds.United(ModuleBox(*m));
    }
    return bounds;
}

CRectD CViewLayout::ScrollExtent() const {
    CRectD bounds = CRectD::Sized(-kBarWidth - 200, -200, 400, 400);
    if (m_module) {
        for (const CNetworkModel* c : m_module->m_components) bounds = bounds.United(ComponentBox(*c));
    } else {
        for (const CNetwork* m : m_system.m_modules) bounds = bounds.United(ModuleBox(*m));
    }
    bounds = bounds.Grown(400);
    return bounds.United(CRectD::Sized(m_transform.scroll.x, m_transform.scroll.y, 1, 1));
}

}  // namespace zor2
