// Random value sources: type table, property sheets, input phase, schedule,
// reset and records.
#include "components/utility/rand_gen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "algo/bytes.h"
#include "engine/catalogue.h"
#include "engine/property_sheet.h"
#include "engine/value_text.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {

constexpr CPortTemplate kRandInputs[] = {{10, "On Off"}};
constexpr CPortTemplate kRandOutputs[] = {{10, "Rand Number", kDataDouble, 0}};
constexpr CPortTemplate kDynamicInputs[] = {{10, "Enable"}};
constexpr CPortTemplate kDynamicOutputs[] = {{10, "Cumulative Number", kDataDouble, 2}};
std::unique_ptr<CNetworkModel> CreateRandGen(int32_t) {
    return std::make_unique<CModelRandGen>();
}
std::unique_ptr<CNetworkModel> CreateDynamic(int32_t) {
    return std::make_unique<CModelDynamicNumber>();
}

// --- the two property sheets ------------------------------------------------------

std::string FormatInt(double v) {
    // "%d" of the bound as the integer mode draws it; out-of-range values saturate.
    using Limits = std::numeric_limits<int32_t>;
    const double t =
        std::isnan(v) ? 0.0 : std::clamp(std::trunc(v), double(Limits::min()), double(Limits::max()));
    return std::to_string(static_cast<int32_t>(t));
}

void AddDrawFields(const CRandomDraw& d, CPropertySheet& sheet) {
    sheet.Add(prop::Radio("mode", d.mode - 1,
                          {"Floating Point Range  (0.0 to 1.0)", "Floating Point Range  (-1.0  to 1.0)",
                           "Integer Range (min to max set below)"}));
    sheet.Kept("low") = FormatInt(d.low);
    sheet.Kept("high") = FormatInt(d.high);
    sheet.Add(prop::Number("low", "Min:", FormatInt(d.low)));
    sheet.Add(prop::Number("high", "Max:", FormatInt(d.high)));
    CPropField& interval = sheet.Add(prop::Field(EPropKind::Spin, "interval", "One time every:"));
    interval.number = d.interval;
    interval.minimum = kRandIntervalMin;
    interval.maximum = kRandIntervalMax;
    sheet.Add(prop::Radio("timing", d.timing, {"Cycle(s)", "Second(s)"}));
}

/// Floating modes show their fixed range with "%0.3f" and lock it; the integer
/// mode shows its bounds with "%d" and unlocks them.
void ShowModeRange(CPropertySheet& sheet) {
    CPropField* low = sheet.Edit("low");
    CPropField* high = sheet.Edit("high");
    const int32_t choice = sheet.Find("mode")->choice;
    if (choice == 0 || choice == 1) {
        low->text = prop::Format("%0.3f", choice == 0 ? 0.0 : -1.0);
        high->text = prop::Format("%0.3f", 1.0);
        low->enabled = high->enabled = false;
    } else {
        low->text = sheet.Kept("low");
        high->text = sheet.Kept("high");
        low->enabled = high->enabled = true;
    }
}

void SheetRule(CPropertySheet& sheet, std::string_view key) {
    const CPropField* mode = sheet.Find("mode");
    // The integer bounds typed so far survive a visit to a floating mode.
    if ((key == "low" || key == "high") && mode->choice == 2) sheet.Kept(key) = sheet.Find(key)->text;
    if (key == "mode" || key.empty()) ShowModeRange(sheet);
    if (const CPropField* useFloor = sheet.Find("useFloor")) sheet.Edit("floor")->enabled = useFloor->checked;
    if (const CPropField* useCeiling = sheet.Find("useCeiling"))
        sheet.Edit("ceiling")->enabled = useCeiling->checked;
}

bool DrawEdited(const CPropertySheet& sheet) {
    for (const char* key : {"mode", "low", "high", "interval", "timing", "zero"})
        if (sheet.Changed(key)) return true;
    return false;
}

CRandomDraw EditedDraw(CRandomDraw d, const CPropertySheet& sheet) {
    if (sheet.Changed("mode")) d.mode = sheet.Find("mode")->choice + 1;
    if (d.mode == kRandInteger) {
        if (sheet.Changed("low")) d.low = prop::Num(sheet, "low");
        if (sheet.Changed("high")) d.high = prop::Num(sheet, "high");
    }
    if (sheet.Changed("interval")) d.interval = sheet.Find("interval")->number;
    if (sheet.Changed("timing")) d.timing = sheet.Find("timing")->choice;
    if (const CPropField* zero = sheet.Find("zero"); zero && sheet.Changed("zero"))
        d.zeroWhileWaiting = zero->checked;
    return d;
}

constexpr const char* kBadDraw =
    "The increment type or frequency is not valid: choose a range and a count of 1 to 3600.";

void ReadRandGenSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* m = dynamic_cast<const CModelRandGen*>(&c);
    if (!m) return;
    AddDrawFields(m->Draw(), sheet);
    sheet.Add(
        prop::Check("zero", "Output is 0 (zero) while waiting for next number", m->Draw().zeroWhileWaiting));
    ShowModeRange(sheet);
}

std::string ApplyRandGenSheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* m = dynamic_cast<CModelRandGen*>(&c);
    if (!m || !DrawEdited(sheet)) return {};
    // SetDraw also sets the output's decimals: 3 in the floating modes, 0 in the integer mode.
    return m->SetDraw(EditedDraw(m->Draw(), sheet)) ? std::string() : kBadDraw;
}

void ReadDynamicSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* m = dynamic_cast<const CModelDynamicNumber*>(&c);
    if (!m) return;
    const CDynamicFields& f = m->Fields();
    sheet.Add(prop::Number("start", "Start Value:", prop::Format("%g", f.start)));
    sheet.Add(prop::Check("useFloor", "Min Allowed Value", f.useFloor));
    sheet.Add(prop::Number("floor", "", prop::Format("%g", f.floor))).enabled = f.useFloor;
    sheet.Add(prop::Check("useCeiling", "Max Allowed Value", f.useCeiling));
    sheet.Add(prop::Number("ceiling", "", prop::Format("%g", f.ceiling))).enabled = f.useCeiling;
    AddDrawFields(f.draw, sheet);
    ShowModeRange(sheet);
}

std::string ApplyDynamicSheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* m = dynamic_cast<CModelDynamicNumber*>(&c);
    if (!m) return {};
    CDynamicFields f = m->Fields();
    bool edited = DrawEdited(sheet);
    f.draw = EditedDraw(f.draw, sheet);
    for (const char* key : {"start", "useFloor", "floor", "useCeiling", "ceiling"})
        edited |= sheet.Changed(key);
    if (!edited) return {};
    if (sheet.Changed("start")) f.start = prop::Num(sheet, "start");
    f.useFloor = sheet.Find("useFloor")->checked;
    f.useCeiling = sheet.Find("useCeiling")->checked;
    // A bound's value is taken only while its box is checked.
    if (f.useFloor && sheet.Changed("floor")) f.floor = prop::Num(sheet, "floor");
    if (f.useCeiling && sheet.Changed("ceiling")) f.ceiling = prop::Num(sheet, "ceiling");
    return m->SetFields(f) ? std::string() : kBadDraw;
}

constexpr CPropertyProfile kRandGenSheet{"Component Properties - Random Number Generator", ReadRandGenSheet,
                                         SheetRule, ApplyRandGenSheet};
constexpr CPropertyProfile kDynamicSheet{"Component Properties - Dynamic Number", ReadDynamicSheet, SheetRule,
                                         ApplyDynamicSheet};

constexpr CComponentType kTypes[] = {
    {kTypeRandGen, kRandInputs, kRandOutputs, 1, 1, CreateRandGen, &kRandGenSheet, {.followsClock = true}},
    {kTypeDynamicNumber,
     kDynamicInputs,
     kDynamicOutputs,
     1,
     1,
     CreateDynamic,
     &kDynamicSheet,
     {.followsClock = true}},
};

/// The shared input phase: input 10 switches the component (on without a source).
bool ReadEnable(CNetworkModel& c) {
    CModelInput* in = c.FindInput(10);
    if (!in) return true;
    const bool on = in->HasSource() ? CNetworkModel::SourceValue(*in) != 0.0 : true;
    in->m_value = on ? 1.0 : 0.0;
    in->m_text.SetText(on ? "On" : "Off");
    return on;
}

/// The draw and the seconds of one enabled Execute.
double DrawNow(const CNetworkModel& c, const CRandomDraw& draw, bool enabled, uint32_t& seconds) {
    seconds = 0;
    if (!enabled) return 0.0;
    const double v = DrawRandom(draw, c.Random());
    if (draw.timing == kTimingSeconds) seconds = DesignerSeconds(c.Clock().TickMs());
    return v;
}

/// Mode 1 and 2 fix the range as the dialog shows it.
void FixRange(CRandomDraw& draw) {
    if (draw.mode == kRandFloatUnit) draw.low = 0.0, draw.high = 1.0;
    if (draw.mode == kRandFloatSigned) draw.low = -1.0, draw.high = 1.0;
}

std::vector<std::string> DrawHelperText(const CRandomDraw& draw) {
    std::vector<std::string> lines;
    char line[96];
    std::snprintf(line, sizeof line,
                  draw.timing == kTimingSeconds ? "Each %d sec(s):" : "Each %d cycle(s):", draw.interval);
    lines.emplace_back(line);
    if (draw.mode == kRandFloatUnit) {
        lines.emplace_back("Float 0.0 to 1.0");
    } else if (draw.mode == kRandFloatSigned) {
        lines.emplace_back("Float -1.0 to 1.0");
    } else {
        std::snprintf(line, sizeof line, "Int %d to %d", TruncToInt32(draw.low), TruncToInt32(draw.high));
        lines.emplace_back(line);
    }
    return lines;
}

}  // namespace

std::span<const CComponentType> RandomComponentTypes() {
    return kTypes;
}

// --- RandNum Generator -------------------------------------------------------

void CModelRandGen::Serialize(CArchive& ar) {
    SerializeBase(ar);
    RandGenFieldList(ar, m_fields);
}

void CModelRandGen::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    RandGenFieldList(w, m_fields);
}

void CModelRandGen::GetInputValues() {
    m_fields.enabled = ReadEnable(*this);
}

void CModelRandGen::Execute() {
    uint32_t seconds = 0;
    const double v = DrawNow(*this, m_fields.draw, m_fields.enabled, seconds);
    const double out = RandGenStep(m_fields.draw, m_state, m_fields.enabled, v, seconds);
    if (CModelOutput* o = FirstOutput()) o->SetValue(out);
}

void CModelRandGen::ResetValues() {
    CNetworkModel::ResetValues();
    m_value = 0.0;
    m_state.Reset();
}

bool CModelRandGen::SetDraw(CRandomDraw draw) {
    FixRange(draw);
    if (!ValidRandomDraw(draw)) return false;
    m_fields.draw = draw;
    if (CModelOutput* o = FirstOutput()) o->m_decimals = draw.mode == kRandInteger ? 0 : 3;
    return true;
}

std::vector<std::string> CModelRandGen::HelperText() const {
    std::vector<std::string> lines = DrawHelperText(m_fields.draw);
    lines.emplace_back(m_fields.draw.zeroWhileWaiting ? "(Reset to zero)" : "(Leave last)");
    return lines;
}

// --- Dynamic Sim Value -------------------------------------------------------

void CModelDynamicNumber::Serialize(CArchive& ar) {
    SerializeBase(ar);
    DynamicFieldList(ar, m_fields);
}

void CModelDynamicNumber::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    DynamicFieldList(w, m_fields);
}

void CModelDynamicNumber::GetInputValues() {
    m_fields.enabled = ReadEnable(*this);
}

void CModelDynamicNumber::Execute() {
    uint32_t seconds = 0;
    const double v = DrawNow(*this, m_fields.draw, m_fields.enabled, seconds);
    m_value = DynamicStep(m_fields, m_state, v, seconds, m_value);
    if (CModelOutput* o = FirstOutput()) o->SetValue(m_value);
}

void CModelDynamicNumber::ResetValues() {
    CNetworkModel::ResetValues();
    m_value = m_fields.start;
    m_state.Reset();
}

bool CModelDynamicNumber::SetFields(const CDynamicFields& fields) {
    CDynamicFields f = fields;
    FixRange(f.draw);
    f.enabled = m_fields.enabled;
    if (!ValidRandomDraw(f.draw) || !std::isfinite(f.start)) return false;
    if ((f.useFloor && !std::isfinite(f.floor)) || (f.useCeiling && !std::isfinite(f.ceiling))) return false;
    m_fields = f;
    return true;
}

std::vector<std::string> CModelDynamicNumber::HelperText() const {
    std::vector<std::string> lines = DrawHelperText(m_fields.draw);
    char line[96];
    if (m_fields.useFloor) {
        std::snprintf(line, sizeof line, "Using Floor: %0.2f", m_fields.floor);
        lines.emplace_back(line);
    }
    if (m_fields.useCeiling) {
        std::snprintf(line, sizeof line, "Using Ceiling: %0.2f", m_fields.ceiling);
        lines.emplace_back(line);
    }
    return lines;
}

}  // namespace zor2
