// Quantity Diminishing: type table, property sheet, input phase, the container
// step, records.
#include "components/utility/quantity_diminish.h"

#include <cmath>
#include <cstdio>

#include "algo/bytes.h"
#include "engine/catalogue.h"
#include "engine/network.h"
#include "engine/property_sheet.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {
constexpr CPortTemplate kInputs[] = {
    {10, "Enable"}, {20, "Reset to Max"}, {30, "Decrement (consume)"}, {40, "Increment (fill)"}};
constexpr CPortTemplate kOutputs[] = {{10, "Amount Remaining", kDataDouble, 2},
                                      {20, "Container Max", kDataDouble, 2},
                                      {30, "Container Min", kDataDouble, 2},
                                      {40, "Empty?", kDataYesNo, 0}};
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelQuantityDiminish>();
}

constexpr const char* kAutoGroup = "Auto Diminish";
constexpr const char* kContainerGroup = "Container Parameters";

void ReadSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* m = dynamic_cast<const CModelQuantityDiminish*>(&c);
    if (!m) return;
    sheet.Add(prop::Check("autoMode", "Enable", m->AutoMode(), kAutoGroup));
    sheet.Add(prop::Number("autoRate", "Decrement:", prop::Format("%g", m->AutoRate()), kAutoGroup));
    sheet.Add(prop::Note("autoNote",
                         "Enter amt to be subtracted from the current quantity each cycle of execution.",
                         kAutoGroup));
    sheet.Add(prop::Note(
        "autoOffNote",
        "NOTE: Auto-diminsh will automatically turn off when a connection is made to the decrement input.",
        kAutoGroup));
    sheet.Add(prop::Number("minimum", "Minimum:", prop::Format("%g", m->Minimum()), kContainerGroup));
    sheet.Add(prop::Number("maximum", "Maximum:", prop::Format("%g", m->Maximum()), kContainerGroup));
}

std::string ApplySheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* m = dynamic_cast<CModelQuantityDiminish*>(&c);
    if (!m) return {};
    if (sheet.Changed("autoMode") || sheet.Changed("autoRate")) {
        const double rate = sheet.Changed("autoRate") ? prop::Num(sheet, "autoRate") : m->AutoRate();
        m->SetAuto(sheet.Find("autoMode")->checked, rate);
    }
    if (sheet.Changed("minimum") || sheet.Changed("maximum")) {
        m->SetContainer(sheet.Changed("minimum") ? prop::Num(sheet, "minimum") : m->Minimum(),
                        sheet.Changed("maximum") ? prop::Num(sheet, "maximum") : m->Maximum());
    }
    return {};
}

constexpr CPropertyProfile kSheet{"Component Properties - Diminishing Quantity", ReadSheet, nullptr,
                                  ApplySheet};
constexpr CComponentType kTypes[] = {{kTypeQuantityDiminish, kInputs, kOutputs, 4, 4, Create, &kSheet}};
}  // namespace

std::span<const CComponentType> QuantityDiminishComponentTypes() {
    return kTypes;
}

void CModelQuantityDiminish::Serialize(CArchive& ar) {
    SerializeBase(ar);
    QuantityFieldList(ar, m_fields);
    if (ar.IsLoading()) {
        m_autoRate = kQuantityAutoRate;
        m_autoMode = true;
        // The ports were replaced by the record's.
        m_reset = m_consume = m_fill = nullptr;
        for (CModelOutput*& out : m_outs) out = nullptr;
    }
}

void CModelQuantityDiminish::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    QuantityFieldList(w, m_fields);
}

void CModelQuantityDiminish::FindPorts() {
    if (!m_reset) m_reset = FindInput(20);
    if (!m_consume) m_consume = FindInput(30);
    if (!m_fill) m_fill = FindInput(40);
    for (int k = 0; k < 4; ++k) {
        if (!m_outs[k]) m_outs[k] = FindOutput(10 * (k + 1));
    }
}

void CModelQuantityDiminish::GetInputValues() {
    FindPorts();
    if (CModelInput* enable = FirstInput()) {
        if (!enable->HasSource()) {
            m_fields.enabled = true;
            enable->m_value = 1.0;
            enable->m_text.SetText("On");
        } else {
            m_fields.enabled = SourceValue(*enable) != 0.0;
            // Fed by a module input, only the flag follows the source.
            if (enable->m_sourceKind != kSourceModuleInput) {
                enable->m_value = m_fields.enabled ? 1.0 : 0.0;
                enable->m_text.SetText(m_fields.enabled ? "On" : "Off");
            }
        }
    }
    if (m_fill) {
        if (!PullInput(*m_fill)) m_fill->m_value = 0.0;
        m_fill->m_text.SetNumber("%0.2f", m_fill->m_value);
    }
    if (m_consume) {
        if (PullInput(*m_consume)) {
            m_autoMode = false;  // for good: only the dialog or a reload turns it back on
        } else {
            m_consume->m_value = m_autoMode ? m_autoRate : 0.0;
        }
        m_consume->m_text.SetNumber("%0.2f", m_consume->m_value);
    }
    if (m_reset) {
        const bool on = m_reset->HasSource() && SourceValue(*m_reset) != 0.0;
        m_reset->m_value = on ? 1.0 : 0.0;
        m_reset->m_text.SetText(on ? "RESET" : "-");
    }
}

void CModelQuantityDiminish::Execute() {
    FindPorts();
    if (m_reset && m_reset->m_value > kQuantityResetThreshold) {
        ResetValues();
    } else {
        m_value = QuantityCycle(m_value, m_fields, m_autoMode, m_autoRate,
                                m_consume ? m_consume->m_value : 0.0, m_fill ? m_fill->m_value : 0.0);
    }
    double values[4];
    QuantityOutputs(m_value, m_fields, values);
    for (int k = 0; k < 4; ++k) {
        if (m_outs[k]) m_outs[k]->SetValue(values[k]);
    }
}

void CModelQuantityDiminish::ResetValues() {
    FindPorts();
    m_value = m_fields.maximum;
    if (m_outs[0]) m_outs[0]->SetValue(m_value);
}

bool CModelQuantityDiminish::SetContainer(double minimum, double maximum) {
    if (!std::isfinite(minimum) || !std::isfinite(maximum)) return false;
    m_fields.minimum = minimum;
    m_fields.maximum = maximum;
    return true;
}

bool CModelQuantityDiminish::SetAuto(bool on, double rate) {
    if (!std::isfinite(rate)) return false;
    m_autoMode = on;
    m_autoRate = rate;
    return true;
}

bool CModelQuantityDiminish::UnsavedSettings(CArchive& ar) {
    double rate = m_autoRate;
    bool on = m_autoMode;
    ar.F64(rate);
    ar.Bool(on);
    if (ar.IsLoading() && !ar.Failed()) SetAuto(on, rate);
    return true;
}

std::string CModelQuantityDiminish::RuntimeExportNote() const {
    const CModelInput* consume = FindInput(30);
    if ((consume && consume->HasSource()) || (m_autoMode && m_autoRate == kQuantityAutoRate)) return {};
    char here[64] = "nothing without a decrement input";
    if (m_autoMode) std::snprintf(here, sizeof here, "%g per cycle", m_autoRate);
    char line[1024];
    std::snprintf(
        line, sizeof line,
        "Runtime export: Quantity Diminishing \"%s\" in module \"%s\" consumes %g per cycle there, not %s (the runtime file cannot carry the auto-diminish setting; connect its \"Decrement (consume)\" input to set it).",
        m_name.c_str(), m_owner ? m_owner->m_name.c_str() : "", kQuantityAutoRate, here);
    return line;
}

std::vector<std::string> CModelQuantityDiminish::HelperText() const {
    char line[64] = "Variable via Input";
    if (m_autoMode) std::snprintf(line, sizeof line, "Auto (%0.2f/cycle)", m_autoRate);
    return {"Diminish Type:", line};
}

}  // namespace zor2
