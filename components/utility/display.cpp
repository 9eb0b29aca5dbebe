// 7-Segment LED and Integrated Column Chart: type tables, property sheets,
// input phase and records. The view draws them; the runtime computes nothing.
#include "components/utility/display.h"

#include <algorithm>

#include "engine/catalogue.h"
#include "engine/port_helpers.h"
#include "engine/property_sheet.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {

constexpr CPortTemplate kDigitInputs[] = {{10, "Enable"}, {20, "seg1"}, {30, "seg2"}, {40, "seg3"},
                                          {50, "seg4"},   {60, "seg5"}, {70, "seg6"}, {80, "seg7"}};
constexpr CPortTemplate kChartInputs[] = {{10, "Enable"}};
constexpr int32_t kDisplayWidth = 140;
constexpr int32_t kChartHeight = 170;

/// The base box, widened and at least `height` high so the picture has room.
void WideBox(CNetworkModel& c, int32_t height) {
    c.CNetworkModel::CalcSize();
    c.m_box.right = c.m_box.left + kDisplayWidth;
    c.m_box.bottom = c.m_box.top + std::max(height, c.m_box.bottom - c.m_box.top);
    c.SetPosition(c.m_position.x, c.m_position.y);
}

void ReadDigitSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    if (const auto* d = dynamic_cast<const CModelLEDDigit*>(&c))
        sheet.Add(prop::Colour("colour", "Segment colour:", d->Colour()));
}

std::string ApplyDigitSheet(CNetworkModel& c, const CPropertySheet& sheet) {
    if (auto* d = dynamic_cast<CModelLEDDigit*>(&c)) d->SetColour(sheet.Find("colour")->number);
    return {};
}

void ReadChartSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* d = dynamic_cast<const CModelChartColumn*>(&c);
    if (!d) return;
    sheet.Add(prop::Spin("low", "Low limit (%):", d->Low(), -1000, 1000, "Limits"));
    sheet.Add(prop::Spin("high", "High limit (%):", d->High(), -1000, 1000, "Limits"));
    sheet.Add(prop::Colour("below", "Below the low limit:", d->ZoneColour(0), "Colours"));
    sheet.Add(prop::Colour("between", "Between the limits:", d->ZoneColour(1), "Colours"));
    sheet.Add(prop::Colour("above", "At or above the high limit:", d->ZoneColour(2), "Colours"));
}

std::string ApplyChartSheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* d = dynamic_cast<CModelChartColumn*>(&c);
    if (!d) return {};
    return d->SetLimits(
        sheet.Find("low")->number, sheet.Find("high")->number,
        {sheet.Find("below")->number, sheet.Find("between")->number, sheet.Find("above")->number});
}

constexpr CPropertyProfile kDigitSheet{"7-Segment LED Properties", ReadDigitSheet, nullptr, ApplyDigitSheet};
constexpr CPropertyProfile kChartSheet{"Integrated Column Chart Properties", ReadChartSheet, nullptr,
                                       ApplyChartSheet};

template <class T>
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<T>();
}

constexpr CComponentType kTypes[] = {
    {kTypeLedDigit, kDigitInputs, {}, 8, 0, Create<CModelLEDDigit>, &kDigitSheet},
    {kTypeChartColumn, kChartInputs, {}, 9, 0, Create<CModelChartColumn>, &kChartSheet},
};

}  // namespace

std::span<const CComponentType> DisplayComponentTypes() {
    return kTypes;
}

// --- 7-Segment LED ----------------------------------------------------------------------

void CModelLEDDigit::Serialize(CArchive& ar) {
    SerializeBase(ar);
    ar.I32(m_colour);
    ar.Bool(m_display);
}

void CModelLEDDigit::CalcSize() {
    WideBox(*this, 0);
}

void CModelLEDDigit::GetInputValues() {
    m_enabled = ReadOnOffInput(*this);
    size_t k = 0;
    for (CModelInput* in : m_inputs) {
        if (in->m_id == 10) continue;
        const bool on = in->HasSource() && SourceValue(*in) != 0.0;
        in->m_value = on ? 1.0 : 0.0;
        in->m_text.SetText(on ? "On" : "Off");
        if (k < m_segments.size()) m_segments[k++] = on;
    }
}

void CModelLEDDigit::ResetValues() {
    CNetworkModel::ResetValues();
    for (CModelInput* in : m_inputs) {
        if (in->m_id == 10) continue;
        in->m_value = 0.0;
        in->m_text.SetText("Off");
    }
    m_segments.fill(false);
}

// --- Integrated Column Chart ------------------------------------------------------------

void CModelChartColumn::Serialize(CArchive& ar) {
    SerializeBase(ar);
    ar.Bool(m_showBars);
    ar.I32(m_low);
    ar.I32(m_high);
    for (int32_t& colour : m_colours) ar.I32(colour);
}

void CModelChartColumn::CalcSize() {
    WideBox(*this, kChartHeight);
}

void CModelChartColumn::GetInputValues() {
    m_enabled = ReadOnOffInput(*this);
    for (CModelInput* in : m_inputs)
        if (in->m_id != 10 && PullInput(*in)) in->m_text.SetNumber("%0.2f", in->m_value);
}

std::string CModelChartColumn::SetLimits(int32_t low, int32_t high, const std::array<int32_t, 3>& colours) {
    if (high < low)
        return "Invalid threshold values. The high must be greater than the low. Please correct this or choose Cancel.";
    if (low < 0)
        return "Invalid threshold values. The low must be equal to or greater than 0 (zero). Please correct this or choose Cancel.";
    if (high > 100)
        return "Invalid threshold values. The high must be equal to or less than 100. Please correct this or choose Cancel.";
    m_low = low;
    m_high = high;
    m_colours = colours;
    return {};
}

}  // namespace zor2
