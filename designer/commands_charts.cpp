// Commands on the selected charts and value windows, with one settings table
// per kind of object.
#include "designer/commands_charts.h"

#include <cmath>

#include "designer/commands_fields.h"

namespace zor2 {

namespace {

constexpr int32_t kMaxColour = 0xFFFFFF;

using CChartField = fields::CIntField<CChart>;
using CWindowField = fields::CIntField<CValueWindow>;

/// One row per EChartField, in its order.
constexpr CChartField kChartFields[] = {
    {0, 1, [](const CChart& c) { return int32_t{c.m_autoScale}; },
     [](CChart& c, int32_t v) {
         c.m_autoScale = v;
         // An automatic scale starts again from the range a cleared chart has.
         if (c.m_autoScale) {
             c.m_min = 0.0;
             c.m_max = 100.0;
         }
     }},
    {0, 1, [](const CChart& c) { return int32_t{c.m_showRange}; },
     [](CChart& c, int32_t v) { c.m_showRange = v; }},
    {0, 1, [](const CChart& c) { return int32_t{c.m_showAxis}; },
     [](CChart& c, int32_t v) { c.m_showAxis = v; }},
    {0, 1, [](const CChart& c) { return int32_t{c.m_showGridlines}; },
     [](CChart& c, int32_t v) { c.m_showGridlines = v; }},
    {0, 1, [](const CChart& c) { return int32_t{c.m_lockLocation}; },
     [](CChart& c, int32_t v) { c.m_lockLocation = v; }},
    {kChartSmall, kChartLarge, [](const CChart& c) { return c.m_sizeCode; },
     [](CChart& c, int32_t v) { c.SetSizeCode(v); }},
};

/// One row per EValueWindowField, in its order.
constexpr CWindowField kWindowFields[] = {
    {0, 1, [](const CValueWindow& w) { return int32_t{w.m_transparent}; },
     [](CValueWindow& w, int32_t v) { w.m_transparent = v; }},
    {0, kMaxColour, [](const CValueWindow& w) { return w.m_background; },
     [](CValueWindow& w, int32_t v) { w.m_background = v; }},
    {1, 200, [](const CValueWindow& w) { return w.m_fontSize; },
     [](CValueWindow& w, int32_t v) { w.m_fontSize = v; }},
    {0, 15, [](const CValueWindow& w) { return w.m_precision; },
     [](CValueWindow& w, int32_t v) { w.m_precision = v; }},
    {0, 1, [](const CValueWindow& w) { return int32_t{w.m_showSuffix}; },
     [](CValueWindow& w, int32_t v) { w.m_showSuffix = v; }},
    {0, 1, [](const CValueWindow& w) { return int32_t{w.m_showTitle}; },
     [](CValueWindow& w, int32_t v) { w.m_showTitle = v; }},
    {0, 1, [](const CValueWindow& w) { return w.m_showOutline; },
     [](CValueWindow& w, int32_t v) { w.m_showOutline = v; }},
    {0, 1, [](const CValueWindow& w) { return int32_t{w.m_showComponentName}; },
     [](CValueWindow& w, int32_t v) { w.m_showComponentName = v; }},
};

/// The texts of a value window, in EValueWindowText order.
constexpr std::string CValueWindow::*kWindowTexts[] = {
    &CValueWindow::m_fontName,
    &CValueWindow::m_suffix,
    &CValueWindow::m_title,
};

static_assert(std::size(kWindowFields) == kValueWindowFieldCount);
static_assert(std::size(kWindowTexts) == kValueWindowTextCount);

/// The chart colours of the system, in EChartColour order.
constexpr int32_t CSystem::*kChartColours[] = {
    &CSystem::m_chartBackground,
    &CSystem::m_chartData,
    &CSystem::m_chartGrid,
};

std::vector<CChart*> SelectedCharts(Czor2Doc& doc) {
    return fields::Resolve(doc.System().m_charts.m_charts, doc.Editor().m_charts);
}

std::vector<CValueWindow*> SelectedWindows(Czor2Doc& doc) {
    return fields::Resolve(doc.System().m_valueWindows.m_windows, doc.Editor().m_valueWindows);
}

/// Removes `items` from `list`; one undo level when there were any.
template <class T>
ECmd RemoveAll(Czor2Doc& doc, CObList<T>& list, const std::vector<T*>& items) {
    if (items.empty()) return ECmd::Unavailable;
    for (T* item : items) list.Remove(item);
    doc.Editor().Prune(doc.System());
    doc.RecordChange("");
    return ECmd::Done;
}

/// Copies the settings and scale (not place, size or lock) of `from` to `to`.
bool CopyOptions(const CChart& from, CChart& to) {
    const bool same = to.m_autoScale == from.m_autoScale && to.m_showRange == from.m_showRange &&
                      to.m_showAxis == from.m_showAxis && to.m_showGridlines == from.m_showGridlines &&
                      to.m_min == from.m_min && to.m_max == from.m_max &&
                      to.m_majorIncrement == from.m_majorIncrement &&
                      to.m_minorIncrement == from.m_minorIncrement;
    if (same) return false;
    to.m_autoScale = from.m_autoScale;
    to.m_showRange = from.m_showRange;
    to.m_showAxis = from.m_showAxis;
    to.m_showGridlines = from.m_showGridlines;
    to.m_min = from.m_min;
    to.m_max = from.m_max;
    to.m_majorIncrement = from.m_majorIncrement;
    to.m_minorIncrement = from.m_minorIncrement;
    return true;
}

}  // namespace

// --- charts -----------------------------------------------------------------------

ECmd DeleteSelectedCharts(Czor2Doc& doc) {
    return RemoveAll(doc, doc.System().m_charts.m_charts, SelectedCharts(doc));
}

ECmd DeleteAllCharts(Czor2Doc& doc) {
    CSystem& system = doc.System();
    const CNetwork* module = doc.Editor().DesignedModule(system);
    std::vector<CChart*> charts;
    for (CChart* c : system.m_charts.m_charts)
        if (!module || c->m_moduleId == module->m_id) charts.push_back(c);
    return RemoveAll(doc, system.m_charts.m_charts, charts);
}

ECmd SetChartColour(Czor2Doc& doc, EChartColour which, int32_t colour) {
    const size_t i = static_cast<size_t>(which);
    if (i >= std::size(kChartColours)) return ECmd::Unavailable;
    if (colour < 0 || colour > kMaxColour) {
        doc.Prompter().Beep();
        return ECmd::Refused;
    }
    int32_t& current = doc.System().*kChartColours[i];
    if (current == colour) return ECmd::Unavailable;
    current = colour;
    doc.RecordChange("");
    return ECmd::Done;
}

int32_t ChartColour(const Czor2Doc& doc, EChartColour which) {
    const size_t i = static_cast<size_t>(which);
    return i < std::size(kChartColours) ? doc.System().*kChartColours[i] : 0;
}

ECmd SetChartField(Czor2Doc& doc, EChartField field, int32_t value) {
    return fields::SetIntField<CChart>(doc, kChartFields, static_cast<size_t>(field), SelectedCharts(doc),
                                       value);
}

int32_t ChartField(const CChart& chart, EChartField field) {
    return fields::GetIntField<CChart>(kChartFields, static_cast<size_t>(field), chart);
}

CChartScale ChartScale(const CChart& chart) {
    return {chart.m_min, chart.m_max, chart.m_majorIncrement, chart.m_minorIncrement};
}

ECmd ApplyChartScale(Czor2Doc& doc, const CChartScale& s) {
    std::vector<CChart*> charts = SelectedCharts(doc);
    if (charts.empty()) return ECmd::Unavailable;
    const char* refusal = nullptr;
    if (!std::isfinite(s.minimum) || !std::isfinite(s.maximum) || !std::isfinite(s.majorIncrement) ||
        !std::isfinite(s.minorIncrement))
        refusal = "Please enter a number in each box of the scale.";
    else if (s.maximum <= s.minimum)
        refusal = "The maximum value must be greater than the minimum value.";
    else if (s.majorIncrement < 0.0 || s.minorIncrement < 0.0)
        refusal = "The increments cannot be negative.";
    if (refusal) {
        doc.Prompter().Tell(refusal);
        return ECmd::Refused;
    }
    return fields::ChangeEach(doc, charts, [&s](CChart& c) {
        if (!c.m_autoScale && c.m_min == s.minimum && c.m_max == s.maximum &&
            c.m_majorIncrement == s.majorIncrement && c.m_minorIncrement == s.minorIncrement)
            return false;
        c.m_autoScale = false;
        c.m_min = s.minimum;
        c.m_max = s.maximum;
        c.m_majorIncrement = s.majorIncrement;
        c.m_minorIncrement = s.minorIncrement;
        return true;
    });
}

ECmd ApplyChartOptionsToAll(Czor2Doc& doc) {
    std::vector<CChart*> selected = SelectedCharts(doc);
    if (selected.empty()) return ECmd::Unavailable;
    const CChart& pattern = *selected.front();
    std::vector<CChart*> others;
    for (CChart* c : doc.System().m_charts.m_charts)
        if (c != &pattern && c->m_moduleId == pattern.m_moduleId) others.push_back(c);
    return fields::ChangeEach(doc, others, [&pattern](CChart& c) { return CopyOptions(pattern, c); });
}

// --- value windows ---------------------------------------------------------------

ECmd RemoveSelectedValueWindows(Czor2Doc& doc) {
    return RemoveAll(doc, doc.System().m_valueWindows.m_windows, SelectedWindows(doc));
}

ECmd SetValueWindowField(Czor2Doc& doc, EValueWindowField field, int32_t value) {
    return fields::SetIntField<CValueWindow>(doc, kWindowFields, static_cast<size_t>(field),
                                             SelectedWindows(doc), value);
}

int32_t ValueWindowField(const CValueWindow& window, EValueWindowField field) {
    return fields::GetIntField<CValueWindow>(kWindowFields, static_cast<size_t>(field), window);
}

ECmd SetValueWindowText(Czor2Doc& doc, EValueWindowText which, const std::string& text) {
    const size_t i = static_cast<size_t>(which);
    std::vector<CValueWindow*> windows = SelectedWindows(doc);
    if (windows.empty() || i >= std::size(kWindowTexts)) return ECmd::Unavailable;
    if (which == EValueWindowText::FontName && text.empty()) {
        doc.Prompter().Beep();
        return ECmd::Refused;
    }
    std::string CValueWindow::*member = kWindowTexts[i];
    return fields::ChangeEach(doc, windows, [member, &text](CValueWindow& w) {
        if (w.*member == text) return false;
        w.*member = text;
        return true;
    });
}

const std::string& ValueWindowText(const CValueWindow& window, EValueWindowText which) {
    const size_t i = static_cast<size_t>(which);
    return window.*kWindowTexts[i < std::size(kWindowTexts) ? i : 0];
}

CValueWindowSettings ValueWindowSettings(const CValueWindow& window) {
    CValueWindowSettings out;
    for (size_t i = 0; i < kValueWindowFieldCount; ++i) out.fields[i] = kWindowFields[i].get(window);
    for (size_t i = 0; i < kValueWindowTextCount; ++i) out.texts[i] = window.*kWindowTexts[i];
    return out;
}

ECmd ApplyValueWindowSettings(Czor2Doc& doc, int32_t windowId, const CValueWindowSettings& settings) {
    CValueWindow* window = doc.System().m_valueWindows.m_windows.Find(windowId);
    if (!window) return ECmd::Unavailable;
    if (settings.texts[static_cast<size_t>(EValueWindowText::FontName)].empty()) {
        doc.Prompter().Beep();
        return ECmd::Refused;
    }
    return fields::SetAllFields<CValueWindow>(doc, kWindowFields, *window, settings.fields,
                                              [&settings](CValueWindow& w) {
                                                  bool changed = false;
                                                  for (size_t i = 0; i < kValueWindowTextCount; ++i) {
                                                      if (w.*kWindowTexts[i] == settings.texts[i]) continue;
                                                      w.*kWindowTexts[i] = settings.texts[i];
                                                      changed = true;
                                                  }
                                                  return changed;
                                              });
}

}  // namespace zor2
