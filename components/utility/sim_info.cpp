// Sim Info: type table, the values read from the simulation controller's
// counters and the local clock, reset and records.
#include "components/utility/sim_info.h"

#include "algo/platform.h"
#include "engine/catalogue.h"
#include "engine/property_sheet.h"
#include "engine/system.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {

constexpr CPortTemplate kSimTime[] = {{10, "Cum time (secs)", kDataDouble, 2}};
constexpr CPortTemplate kCount[] = {{10, "Cum cycles", kDataInteger, 0}};
constexpr CPortTemplate kLocalTime[] = {
    {10, "time (secs)", kDataDouble, 1},  {20, "Date: secs", kDataInteger, 0},
    {30, "Date: mins", kDataInteger, 0},  {40, "Date: hour", kDataInteger, 0},
    {50, "Date: wday", kDataInteger, 0},  {60, "Date: mday", kDataInteger, 0},
    {70, "Date: month", kDataInteger, 0}, {80, "Date: yr", kDataInteger, 0},
};

std::unique_ptr<CNetworkModel> CreateInfo(int32_t) {
    return std::make_unique<CModelSimInfo>();
}
std::unique_ptr<CNetworkModel> CreateSysTime(int32_t) {
    return std::make_unique<CModelSimInfoSysTime>();
}

void ReadSheet(const CNetworkModel&, CPropertySheet& sheet) {
    sheet.Add(prop::Note(
        "about",
        "The sim info components provide data on the number of sim cycles, the local time or cumulative sim time. Use this to enhance calculations with other components."));
}

constexpr CPropertyProfile kSheet{"Component Properties - Sim Info", ReadSheet};
constexpr CComponentType kTypes[] = {
    {kTypeSimInfoSimTime, {}, kSimTime, 0, 1, CreateInfo, &kSheet},
    {kTypeSimInfoCount, {}, kCount, 0, 1, CreateInfo, &kSheet},
    {kTypeSimInfoLocalTime,
     {},
     kLocalTime,
     0,
     8,
     CreateSysTime,
     &kSheet,
     {.designerOnly = true,
      .runtimeNote = "the runtime has no class for it and refuses a file that holds it"}},
};

}  // namespace

std::span<const CComponentType> SimInfoComponentTypes() {
    return kTypes;
}

// --- SimTime and Count ---------------------------------------------------------

void CModelSimInfo::Serialize(CArchive& ar) {
    SerializeBase(ar);
    SimInfoFieldList(ar, m_enabled);
}

void CModelSimInfo::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    SimInfoFieldList(w, m_enabled);
}

void CModelSimInfo::Execute() {
    if (!m_enabled) return;
    const CSystem* s = System();
    const double v = m_typeId == kTypeSimInfoSimTime ? SimTimeSeconds(s ? s->m_simulatedTime : 0.0)
                                                     : CycleNumber(s ? s->m_cycleCount : 0);
    if (CModelOutput* out = FirstOutput()) out->SetValue(v);
}

void CModelSimInfo::ResetValues() {
    CNetworkModel::ResetValues();
    if (CModelOutput* out = FirstOutput()) out->m_value = 0.0;
}

// --- LocalTime -----------------------------------------------------------------------

void CModelSimInfoSysTime::Serialize(CArchive& ar) {
    SerializeBase(ar);
    SimInfoFieldList(ar, m_enabled);
}

void CModelSimInfoSysTime::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    SimInfoFieldList(w, m_enabled);
}

void CModelSimInfoSysTime::Execute() {
    if (!m_enabled) return;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    const bool ok = now != static_cast<std::time_t>(-1) && localtime_r(&now, &local) != nullptr;
    if (!ok) Trace("_localtime64_s failed due to an invalid argument.\n");
    Publish(Clock().TickMs(), ok ? &local : nullptr);
}

void CModelSimInfoSysTime::Publish(uint32_t tickMs, const std::tm* local) {
    if (CModelOutput* seconds = FindOutput(10)) seconds->SetValue(static_cast<double>(tickMs) / 1000.0);
    if (!local) return;
    const CLocalTimeFields f = LocalTimeFields(*local);
    for (int32_t i = 0; i < 7; ++i) {
        if (CModelOutput* out = FindOutput(20 + 10 * i)) {
            out->m_value = f.values[i];
            out->m_text.SetInt("%d", f.values[i]);
        }
    }
}

}  // namespace zor2
