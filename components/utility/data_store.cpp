// Data Value Storage: type table, input phase, time stamps, reset and records.
#include "components/utility/data_store.h"

#include "algo/bytes.h"
#include "engine/catalogue.h"
#include "engine/property_sheet.h"
#include "engine/system.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {
constexpr CPortTemplate kInputs[] = {{10, "Enable (record)"}, {20, "Value"}, {30, "Reset"}};
constexpr CPortTemplate kOutputs[] = {{10, "Value", kDataDouble, 2},
                                      {20, "Timestamp (ticks)", kDataInteger, 0},
                                      {30, "Timestamp (simtime)", kDataDouble, 2},
                                      {40, "Timestamp (localtime)", kDataDouble, 2},
                                      {50, "Value stored flag", kDataYesNo, 0}};
std::unique_ptr<CNetworkModel> Create(int32_t) {
    return std::make_unique<CModelDataStore>();
}
constexpr CPropertyProfile kSheet{"Component Properties - Data Value Storage"};
constexpr CComponentType kTypes[] = {
    {kTypeDataStore, kInputs, kOutputs, 2, 5, Create, &kSheet, {.followsClock = true}}};
}  // namespace

std::span<const CComponentType> DataStoreComponentTypes() {
    return kTypes;
}

void CModelDataStore::Serialize(CArchive& ar) {
    SerializeBase(ar);
    DataStoreFieldList(ar, m_fields);
}

void CModelDataStore::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    DataStoreFieldList(w, m_fields);
}

void CModelDataStore::GetInputValues() {
    CModelInput* enable = FindInput(10);
    CModelInput* value = FindInput(20);
    CModelInput* reset = FindInput(30);
    const bool valueConnected = value && value->HasSource();
    const double v = valueConnected ? SourceValue(*value) : 0.0;
    const bool resetAsked =
        DataStoreInputs(m_fields, enable && enable->HasSource(), enable ? SourceValue(*enable) : 0.0,
                        valueConnected, v, reset && reset->HasSource() ? SourceValue(*reset) : 0.0);
    if (enable) {
        const bool shown = m_fields.enabled && valueConnected;
        enable->m_value = shown ? 1.0 : 0.0;
        enable->m_text.SetText(shown ? "On" : "Off");
    }
    if (value && valueConnected && m_fields.enabled) {
        value->m_value = v;
        value->m_text.SetNumber("%0.2f", v);
    }
    if (reset) {
        reset->m_value = resetAsked ? 1.0 : 0.0;
        reset->m_text.SetText(resetAsked ? "Reset!" : "Off");
    }
    if (resetAsked) Clear();
}

void CModelDataStore::Execute() {
    if (!m_fields.enabled) {
        if (!m_fields.flag) Clear();
        return;
    }
    const CSystem* s = System();
    auto set = [this](int32_t id, double v) {
        if (CModelOutput* out = FindOutput(id)) out->SetValue(v);
    };
    set(10, m_fields.stored);
    set(20, s ? s->m_cycleCount : 0);
    set(30, s ? s->m_simulatedTime / 1000.0 : 0.0);
    set(40, Clock().TickMs() / 1000.0);
    set(50, m_fields.flag ? 1.0 : 0.0);
}

void CModelDataStore::Clear() {
    m_value = 0.0;
    ResetDataStore(m_fields);
    for (int32_t id : {10, 20, 30, 40})
        if (CModelOutput* out = FindOutput(id)) out->m_text.SetText("-");
    if (CModelOutput* flag = FindOutput(50)) flag->SetValue(0.0);
}

void CModelDataStore::ResetValues() {
    CNetworkModel::ResetValues();
    Clear();
}

}  // namespace zor2
