// Charts, value windows and graphics: records, chart history, texts,
// consolidation, and reference rebuilding after a load.
#include "engine/editor_data.h"

#include <algorithm>
#include <cstdio>
#include <unordered_map>

#include "engine/system.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {

constexpr size_t kChartRecordMin = 5 * 4 + 6 + 4 * 8 + 16 + 4;
constexpr size_t kValueWindowRecordMin =
    4 * 4 + 1 + kMinStringBytes + 1 + 4 + 4 + 5 * 4 + kMinStringBytes + 16 + kMinStringBytes + 6 * 16;
constexpr size_t kGraphicRecordMin = 4 + kMinStringBytes + 4 + 7 * 4 + 16 + kMinStringBytes + 6 * 16;

std::string Printf2(const char* format, double v) {
    char buf[64];
    const int n = std::snprintf(buf, sizeof buf, format, v);
    if (n < 0) return {};
    if (static_cast<size_t>(n) < sizeof buf) return std::string(buf, n);
    std::string out(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(out.data(), out.size(), format, v);
    out.resize(static_cast<size_t>(n));
    return out;
}

/// Reads or writes a counted list of records whose reader only needs a fresh object.
template <class T, class Fields>
void SerializeList(CArchive& ar, CObList<T>& list, size_t minBytes, const char* what, Fields fields) {
    int32_t count = static_cast<int32_t>(list.Size());
    ar.I32(count);
    if (ar.IsStoring()) {
        for (T* item : list) fields(*item);
        return;
    }
    if (!ar.CheckCount(count, minBytes, what)) return;
    list.Reserve(list.Size() + static_cast<size_t>(count));
    for (int32_t i = 0; i < count && !ar.Failed(); ++i) {
        auto item = std::make_unique<T>();
        fields(*item);
        list.Append(std::move(item));
    }
}

/// The module, component and output named by three ids, or nulls.
struct COutputLookup {
    explicit COutputLookup(const CSystem& system) {
        modules.reserve(system.m_modules.Size() * 2);
        for (CNetwork* m : system.m_modules)
            if (m->m_id >= 1) modules.emplace(m->m_id, m);
    }
    template <class T>
    void Resolve(T& item) const {
        item.m_module = nullptr;
        item.m_component = nullptr;
        item.m_output = nullptr;
        auto it = modules.find(item.m_moduleId);
        if (it == modules.end()) return;
        item.m_module = it->second;
        item.m_component = item.m_module->FindComponent(item.m_componentId);
        if (item.m_component) item.m_output = item.m_component->FindOutput(item.m_outputId);
    }
    std::unordered_map<int32_t, CNetwork*> modules;
};

template <class T>
bool Matches(const T& item, const CNetwork* module, const CNetworkModel* component,
             const CModelOutput* output) {
    if (output) return item.m_output == output;
    if (component) return item.m_component == component;
    return module && item.m_module == module;
}

template <class T>
int32_t DeleteMatching(CObList<T>& list, const CNetwork* module, const CNetworkModel* component,
                       const CModelOutput* output) {
    int32_t deleted = 0;
    for (T* item : list.Snapshot()) {
        if (!Matches(*item, module, component, output)) continue;
        list.Remove(item);
        ++deleted;
    }
    return deleted;
}

bool Inside(const CRect& inner, const CRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

}  // namespace

// --- chart ----------------------------------------------------------------

void CChart::Serialize(CArchive& ar) {
    ar.I32(m_id);
    ar.I32(m_moduleId);
    ar.I32(m_componentId);
    ar.I32(m_outputId);
    ar.I32(m_style);
    ar.Bool(m_lockLocation);
    ar.Bool(m_secondFlag);
    ar.Bool(m_autoScale);
    ar.Bool(m_showGridlines);
    ar.Bool(m_showAxis);
    ar.Bool(m_showRange);
    ar.F64(m_min);
    ar.F64(m_max);
    ar.F64(m_majorIncrement);
    ar.F64(m_minorIncrement);
    ar.Rect(m_rect);
    ar.I32(m_sizeCode);
}

void CChart::Attach(CNetwork* module, CNetworkModel* component, CModelOutput* output) {
    m_module = module;
    m_component = component;
    m_output = output;
    m_moduleId = module ? module->m_id : 0;
    m_componentId = component ? component->m_id : 0;
    m_outputId = output ? output->m_id : 0;
    m_arrayMode = output && output->m_dataType == kDataArray;
    Clear();
}

void CChart::Clear() {
    m_start = 0;
    m_count = 0;
    m_processed = 0;
    if (m_autoScale) {
        m_min = 0.0;
        m_max = 100.0;
    }
}

void CChart::Refresh() {
    if (m_arrayMode || !m_output) return;
    const double v = m_output->ConsumerValue();
    if (m_count < kHistorySize) {
        m_history[(m_start + m_count) % kHistorySize] = v;
        ++m_count;
    } else {
        // Full: the oldest value drops out and the new one takes the last place.
        m_history[m_start] = v;
        m_start = (m_start + 1) % kHistorySize;
    }
    if (m_processed < INT32_MAX) ++m_processed;
}

bool CChart::SetSizeCode(int32_t code) {
    static constexpr int32_t kSizes[][2] = {{200, 120}, {360, 216}, {520, 312}};
    if (code < kChartSmall || code > kChartLarge) return false;
    m_sizeCode = code;
    m_rect.right = m_rect.left + kSizes[code - 1][0];
    m_rect.bottom = m_rect.top + kSizes[code - 1][1];
    return true;
}

std::string CChart::ProcessedText() const {
    if (m_arrayMode) return "Pts: " + std::to_string(m_output ? m_output->m_arrayCount : 0);
    return "Pts processed: " + std::to_string(m_processed);
}

std::string CChart::CurrentText() const {
    const double v = m_output ? m_output->ConsumerValue() : 0.0;
    if (m_output && m_output->m_dataType == kDataOnOff) return v > 0.0 ? "ON (1)" : "OFF (0)";
    return Printf2("Current: %0.2f", v);
}

std::string CChart::MaxText() const {
    return Printf2("Max: %0.2f", m_max);
}

std::string CChart::MinText() const {
    return Printf2("Min: %0.2f", m_min);
}

// --- value window ---------------------------------------------------------

void CValueWindow::Serialize(CArchive& ar) {
    ar.I32(m_id);
    ar.I32(m_moduleId);
    ar.I32(m_componentId);
    ar.I32(m_outputId);
    ar.Bool(m_flag);
    ar.Str(m_title);
    ar.Bool(m_bold);
    ar.I32(m_showOutline);
    ar.Bool(m_showTitle);
    ar.Bool(m_showSuffix);
    ar.Bool(m_showComponentName);
    ar.Bool(m_transparent);
    ar.I32(m_background);
    ar.I32(m_outlineColour);
    ar.I32(m_fontSize);
    ar.I32(m_outlineWidth);
    ar.I32(m_precision);
    ar.Str(m_suffix);
    ar.Rect(m_rect);
    ar.Str(m_fontName);
    for (CRect& r : m_layout) ar.Rect(r);
}

void CValueWindow::Attach(CNetwork* module, CNetworkModel* component, CModelOutput* output) {
    m_module = module;
    m_component = component;
    m_output = output;
    m_moduleId = module ? module->m_id : 0;
    m_componentId = component ? component->m_id : 0;
    m_outputId = output ? output->m_id : 0;
    if (output) m_title = output->m_name;
}

std::string CValueWindow::FormatValue(double value) const {
    // A precision from a damaged file must not ask printf for millions of digits.
    const int precision = std::min<int32_t>(m_precision, 30);
    char buf[128];
    const int n = m_showSuffix ? std::snprintf(buf, sizeof buf, "%.*f %s", precision, value, m_suffix.c_str())
                               : std::snprintf(buf, sizeof buf, "%.*f", precision, value);
    if (n < 0) return {};
    if (static_cast<size_t>(n) < sizeof buf) return std::string(buf, n);
    std::string out(static_cast<size_t>(n) + 1, '\0');
    if (m_showSuffix)
        std::snprintf(out.data(), out.size(), "%.*f %s", precision, value, m_suffix.c_str());
    else
        std::snprintf(out.data(), out.size(), "%.*f", precision, value);
    out.resize(static_cast<size_t>(n));
    return out;
}

std::string CValueWindow::ValueText() const {
    return FormatValue(m_output ? m_output->ConsumerValue() : 0.0);
}

// --- graphic --------------------------------------------------------------

void CGraphic::Serialize(CArchive& ar) {
    ar.I32(m_id);
    ar.Str(m_text);
    ar.Bool(m_bold);
    ar.Bool(m_outline);
    ar.Bool(m_transparent);
    ar.Bool(m_edges3d);
    ar.I32(m_background);
    ar.I32(m_lineColour);
    ar.I32(m_setting);
    ar.I32(m_fontSize);
    ar.I32(m_lineWidth);
    ar.I32(m_alignH);
    ar.I32(m_alignV);
    ar.Rect(m_rect);
    ar.Str(m_fontName);
    for (CRect& r : m_handles) ar.Rect(r);
}

void CGraphic::SetLineWidth(int32_t width) {
    m_lineWidth = std::clamp<int32_t>(width, 0, 10);
    m_outline = m_lineWidth > 0;
}

int32_t CGraphic::Consolidate(CNetwork& module) {
    int32_t taken = 0;
    for (CNetworkModel* c : module.m_components) {
        if (c->m_graphic || !Inside(c->m_box, m_rect)) continue;
        c->m_graphicId = m_id;
        c->m_graphic = this;
        ++taken;
    }
    return taken;
}

int32_t CGraphic::Release(CNetwork& module) {
    int32_t released = 0;
    for (CNetworkModel* c : module.m_components) {
        if (c->m_graphic != this) continue;
        c->m_graphicId = 0;
        c->m_graphic = nullptr;
        ++released;
    }
    return released;
}

int32_t CGraphic::CountHeld(const CNetwork& module) const {
    int32_t n = 0;
    for (const CNetworkModel* c : module.m_components)
        if (c->m_graphic == this) ++n;
    return n;
}

size_t GraphicRecordMinBytes() {
    return kGraphicRecordMin;
}

// --- managers -------------------------------------------------------------

void CChartMgr::Serialize(CArchive& ar) {
    ar.I32(m_setting);
    SerializeList(ar, m_charts, kChartRecordMin, "chart", [&ar](CChart& c) { c.Serialize(ar); });
}

CChart* CChartMgr::AddChart(IRandomSource& random) {
    const int32_t id = DrawFreeId(random, m_charts);
    if (id == 0) return nullptr;
    auto chart = std::make_unique<CChart>();
    chart->m_id = id;
    return m_charts.Append(std::move(chart));
}

void CChartMgr::ClearChartsOf(const CNetwork& module) {
    for (CChart* c : m_charts)
        if (c->m_module == &module) c->Clear();
}

void CChartMgr::RefreshAll() {
    for (CChart* c : m_charts) c->Refresh();
}

int32_t CChartMgr::DeleteFor(const CNetwork* module, const CNetworkModel* component,
                             const CModelOutput* output) {
    return DeleteMatching(m_charts, module, component, output);
}

void CChartMgr::RebuildReferences(const CSystem& system) {
    const COutputLookup lookup(system);
    for (CChart* c : m_charts) {
        lookup.Resolve(*c);
        c->m_arrayMode = c->m_output && c->m_output->m_dataType == kDataArray;
    }
}

void CValueWindowMgr::Serialize(CArchive& ar) {
    SerializeList(ar, m_windows, kValueWindowRecordMin, "value window",
                  [&ar](CValueWindow& w) { w.Serialize(ar); });
}

CValueWindow* CValueWindowMgr::AddValueWindow(IRandomSource& random) {
    const int32_t id = DrawFreeId(random, m_windows);
    if (id == 0) return nullptr;
    auto window = std::make_unique<CValueWindow>();
    window->m_id = id;
    return m_windows.Append(std::move(window));
}

int32_t CValueWindowMgr::DeleteFor(const CNetwork* module, const CNetworkModel* component,
                                   const CModelOutput* output) {
    return DeleteMatching(m_windows, module, component, output);
}

void CValueWindowMgr::RebuildReferences(const CSystem& system) {
    const COutputLookup lookup(system);
    for (CValueWindow* w : m_windows) lookup.Resolve(*w);
}

void CGraphicMgr::Serialize(CArchive& ar) {
    SerializeList(ar, m_graphics, kGraphicRecordMin, "graphic", [&ar](CGraphic& g) { g.Serialize(ar); });
}

CGraphic* CGraphicMgr::AddGraphic(IRandomSource& random) {
    const int32_t id = DrawFreeId(random, m_graphics);
    if (id == 0) return nullptr;
    auto graphic = std::make_unique<CGraphic>();
    graphic->m_id = id;
    graphic->m_text = kGraphicHint;
    return m_graphics.Append(std::move(graphic));
}

void CGraphicMgr::DeleteGraphic(CSystem& system, CGraphic* graphic) {
    if (!graphic || m_graphics.IndexOf(graphic) < 0) return;
    for (CNetwork* m : system.m_modules) graphic->Release(*m);
    m_graphics.Remove(graphic);
}

void CGraphicMgr::RebuildReferences(const CSystem& system) {
    std::unordered_map<int32_t, CGraphic*> byId;
    byId.reserve(m_graphics.Size() * 2);
    for (CGraphic* g : m_graphics)
        if (g->m_id >= 1) byId.emplace(g->m_id, g);
    for (CNetwork* m : system.m_modules) {
        for (CNetworkModel* c : m->m_components) {
            auto it = byId.find(c->m_graphicId);
            c->m_graphic = it == byId.end() ? nullptr : it->second;
        }
    }
}

}  // namespace zor2
