// Running Stats, Moving Average and Running Total: type table, the Moving
// Average's sheet, input phases with their value texts, reset and records.
#include "components/math/stats.h"

#include <algorithm>
#include <cstdio>

#include "algo/bytes.h"
#include "algo/platform.h"
#include "engine/catalogue.h"
#include "engine/property_sheet.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {

constexpr CPortTemplate kStatsInputs[] = {{10, "On Off"}, {20, "Value"}, {30, "Reset"}};
constexpr CPortTemplate kStatsOutputs[] = {
    {10, "Min"},      {20, "Max"},           {30, "Mean"}, {40, "Count (N)", kDataInteger, 0},
    {60, "Variance"}, {70, "Std Deviation"}, {80, "Chg"},
};
constexpr CPortTemplate kNewValue[] = {{10, "New Value"}};
constexpr CPortTemplate kAverageOut[] = {{10, "Moving Avg"}};
constexpr CPortTemplate kTotalOut[] = {{10, "Running Total"}};

void ReadAverageSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* m = dynamic_cast<const CModelStatsMovingAvg*>(&c);
    if (!m) return;
    const int32_t length = m->Average().Length();
    CPropField& f = sheet.Add(prop::Field(EPropKind::Spin, "length", "Moving average length:"));
    f.minimum = std::min(kMovingAverageMin, length);
    f.maximum = std::max(kMovingAverageMax, length);
    f.number = length;
}

std::string ApplyAverageSheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* m = dynamic_cast<CModelStatsMovingAvg*>(&c);
    if (m && sheet.Changed("length")) m->SetLength(sheet.Find("length")->number);
    return {};
}

constexpr CPropertyProfile kAverageSheet{"Component Properties - Moving Average", ReadAverageSheet, nullptr,
                                         ApplyAverageSheet};

constexpr CComponentType kTypes[] = {
    {kTypeRunningStats, kStatsInputs, kStatsOutputs, 3, 7, CreateAs<CModelRunningStats>},
    {kTypeRunningTotal, kNewValue, kTotalOut, 1, 1, CreateAs<CModelStatsRunTotal>},
    {kTypeMovingAverage, kNewValue, kAverageOut, 1, 1, CreateAs<CModelStatsMovingAvg>, &kAverageSheet},
};

/// The new value of the first input: its source's value, or 0 and "-" without one.
double NewValue(CNetworkModel& c) {
    CModelInput* in = c.FirstInput();
    if (!in) return 0.0;
    if (!CNetworkModel::PullInput(*in)) {
        in->m_value = 0.0;
        in->m_text.SetText("-");
        return 0.0;
    }
    in->m_text.SetNumber("%0.2f", in->m_value);
    return in->m_value;
}

}  // namespace

std::span<const CComponentType> StatsComponentTypes() {
    return kTypes;
}

// --- Running Stats ------------------------------------------------------------------------

void CModelRunningStats::GetInputValues() {
    CModelInput* on = FindInput(10);
    CModelInput* reset = FindInput(30);
    CModelInput* value = FindInput(20);
    m_enabled = !(on && on->HasSource() && SourceValue(*on) == 0.0);
    if (on) on->m_value = m_enabled ? 1.0 : 0.0;
    const bool resetting = reset && reset->HasSource() && SourceValue(*reset) != 0.0;
    if (reset) reset->m_value = resetting ? 1.0 : 0.0;
    const bool taken = value && value->HasSource();
    double v = 0.0;
    if (m_enabled && taken) {
        PullInput(*value);
        v = value->m_value;
    }
    // A restarted series zeroes the ports as a system reset does; the texts
    // still say what the inputs hold.
    if (!m_stats.Take(m_enabled, resetting, taken, v, m_value)) CNetworkModel::ResetValues();
    if (on) on->m_text.SetText(m_enabled ? "On" : "Off");
    if (reset) reset->m_text.SetText(resetting ? "RESET" : "--");
    if (m_enabled && value) {
        if (taken)
            value->m_text.SetNumber("%0.2f", v);
        else
            value->m_text.SetText("-");
    }
}

void CModelRunningStats::Execute() {
    if (!m_enabled) return;
    const CModelInput* value = FindInput(20);
    const double current = value ? value->m_value : 0.0;
    if (m_stats.count > 0) Trace("\nNew val: %0.0f, Previous val: %0.0f\n", current, m_stats.previous);
    double out[7];
    m_stats.Outputs(current, out);
    int i = 0;
    for (CModelOutput* o : m_outputs) {
        if (i == 7) break;
        o->SetValue(out[i++]);
    }
}

void CModelRunningStats::ResetValues() {
    CNetworkModel::ResetValues();
    m_stats.Reset();
    m_value = 0.0;
}

// --- Moving Average ------------------------------------------------------------------------

void CModelStatsMovingAvg::Serialize(CArchive& ar) {
    SerializeBase(ar);
    MovingAverageFields(ar, m_average);
}

void CModelStatsMovingAvg::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    MovingAverageFields(w, m_average);
}

void CModelStatsMovingAvg::GetInputValues() {
    if (!FirstInput() || !FirstInput()->HasSource()) {
        NewValue(*this);
        return;
    }
    m_average.Take(NewValue(*this), m_value);
}

void CModelStatsMovingAvg::Execute() {
    if (CModelOutput* out = FirstOutput()) out->SetValue(m_average.Output(m_value));
}

void CModelStatsMovingAvg::ResetValues() {
    CNetworkModel::ResetValues();
    // The sum stays; it is recomputed once the new window is full.
    m_average.Restart();
}

std::vector<std::string> CModelStatsMovingAvg::HelperText() const {
    char line[48];
    std::snprintf(line, sizeof line, "Moving Avg Length: %d", m_average.Length());
    return {line};
}

// --- Running Total ----------------------------------------------------------------------------

void CModelStatsRunTotal::Serialize(CArchive& ar) {
    SerializeBase(ar);
    ar.Bool(m_enabled);
}

void CModelStatsRunTotal::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    w.Bool(m_enabled);
}

void CModelStatsRunTotal::GetInputValues() {
    m_value = m_value + NewValue(*this);
}

void CModelStatsRunTotal::Execute() {
    if (CModelOutput* out = FirstOutput()) out->SetValue(RunningTotalOutput(m_enabled, m_value));
}

void CModelStatsRunTotal::ResetValues() {
    CNetworkModel::ResetValues();
    m_value = 0.0;
}

}  // namespace zor2
