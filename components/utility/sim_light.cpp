// Indicator Light: type table, property sheet, input phase, state and record.
#include "components/utility/sim_light.h"

#include "engine/catalogue.h"
#include "engine/property_sheet.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {

constexpr CPortTemplate kInputs[] = {{10, "Enable"}, {20, "Turn On"}};
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelSimLight>();
}

void ReadSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* light = dynamic_cast<const CModelSimLight*>(&c);
    if (!light) return;
    const std::vector<std::string> colours(std::begin(kLightColourNames), std::end(kLightColourNames));
    sheet.Add(prop::Radio("onColour", light->Colours().on, colours)).group = "Select color of light when ON:";
    sheet.Add(prop::Radio("offColour", light->Colours().off, colours)).group =
        "Select color of light when OFF:";
    sheet.Add(prop::Note(
        "states",
        "The Indicator light has 3 states: \n  - Disabled (always Grey), \n  - Enabled and ON,\n  - Enabled and OFF"));
}

std::string ApplySheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* light = dynamic_cast<CModelSimLight*>(&c);
    if (light) light->SetColours({sheet.Find("onColour")->choice, sheet.Find("offColour")->choice});
    return {};
}

constexpr CPropertyProfile kSheet{"Component Properties - Indicator Light", ReadSheet, nullptr, ApplySheet};
constexpr CComponentType kTypes[] = {{kTypeIndicatorLight, kInputs, {}, 2, 0, Create, &kSheet}};

bool ValidColour(int32_t index) {
    return index >= 0 && index < kLightColourCount;
}

}  // namespace

std::span<const CComponentType> SimLightComponentTypes() {
    return kTypes;
}

void CModelSimLight::Serialize(CArchive& ar) {
    SerializeBase(ar);
    ar.I32(m_colours.on);
    ar.I32(m_colours.off);
    ar.Bool(m_enabled);
}

void CModelSimLight::GetInputValues() {
    if (CModelInput* enable = FirstInput()) {
        m_enabled = !enable->HasSource() || SourceValue(*enable) != 0.0;
        enable->m_value = m_enabled ? 1.0 : 0.0;
        enable->m_text.SetText(m_enabled ? "On" : "Off");
    }
    if (CModelInput* turnOn = LastInput()) {
        m_on = LightTurnedOn(turnOn->HasSource(), SourceValue(*turnOn));
        turnOn->m_value = m_on ? 1.0 : 0.0;
        turnOn->m_text.SetText(m_on ? "On" : "Off");
    }
}

void CModelSimLight::Execute() {
    m_state = LightState(m_enabled, m_on, m_colours);
}

bool CModelSimLight::SetColours(CLightColours colours) {
    if (!ValidColour(colours.on) || !ValidColour(colours.off)) return false;
    m_colours = colours;
    return true;
}

}  // namespace zor2
