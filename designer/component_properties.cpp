// Property sheets of the component types: one profile per dialog (caption, the
// typed fields it reads, the rules between them, how it writes them back) and
// a table from type id to profile.
#include "designer/component_properties.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "components/math/compare.h"
#include "components/math/delay.h"
#include "components/utility/constant.h"
#include "components/utility/quantity_diminish.h"
#include "components/utility/rand_gen.h"
#include "components/utility/timer.h"
#include "designer/commands_component.h"
#include "designer/document.h"

namespace zor2 {

/// One dialog: its caption and the functions that fill, constrain and apply
/// the typed fields that follow name and description. A null caption means the
/// type has no dialog.
struct CPropertyProfile {
    const char* caption;
    void (*read)(const CNetworkModel&, CPropertySheet&) = nullptr;
    void (*rule)(CPropertySheet&, std::string_view changedKey) = nullptr;
    /// Writes the edited typed fields; returns a refusal message (nothing
    /// changed) or an empty string.
    std::string (*apply)(CNetworkModel&, const CPropertySheet&) = nullptr;
    bool executeOnOk = false;
};

namespace {

std::string Format(const char* format, double v) {
    char text[64];
    std::snprintf(text, sizeof text, format, v);
    return text;
}

std::string FormatInt(double v) {
    // "%d" of the bound as the integer mode draws it; out-of-range values saturate.
    using Limits = std::numeric_limits<int32_t>;
    const double t =
        std::isnan(v) ? 0.0 : std::clamp(std::trunc(v), double(Limits::min()), double(Limits::max()));
    return std::to_string(static_cast<int32_t>(t));
}

CPropField Field(EPropKind kind, const char* key, std::string label, std::string text = {},
                 const char* group = "") {
    CPropField f;
    f.kind = kind;
    f.key = key;
    f.label = std::move(label);
    f.text = std::move(text);
    f.group = group;
    return f;
}

CPropField Number(const char* key, const char* label, std::string text, const char* group = "") {
    return Field(EPropKind::Number, key, label, std::move(text), group);
}

CPropField Note(const char* key, const char* text, const char* group = "") {
    return Field(EPropKind::Note, key, text, {}, group);
}

CPropField Check(const char* key, const char* label, bool on, const char* group = "") {
    CPropField f = Field(EPropKind::Check, key, label, {}, group);
    f.checked = on;
    return f;
}

CPropField Radio(const char* key, int32_t choice, std::vector<std::string> options) {
    CPropField f = Field(EPropKind::Radio, key, "");
    f.choice = choice;
    f.options = std::move(options);
    return f;
}

/// The parsed value of a number field (validated before any apply).
double Num(const CPropertySheet& sheet, std::string_view key) {
    double v = 0.0;
    if (const CPropField* f = sheet.Find(key)) ParsePropertyNumber(f->text, v);
    return v;
}

// --- Compare to Constant ------------------------------------------------------

void ReadCompare(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* m = dynamic_cast<const CModelCompare*>(&c);
    if (!m) return;
    sheet.Add(Number("compare", "Enter the constant to compare the input to here:", m->CompareValueText()));
}

std::string ApplyCompare(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* m = dynamic_cast<CModelCompare*>(&c);
    if (m && sheet.Changed("compare")) m->SetCompareValue(Num(sheet, "compare"));
    return {};
}

// --- Timer --------------------------------------------------------------------

bool DelayHasSource(const CNetworkModel& c) {
    const CModelInput* delay = c.m_inputs.Size() >= 2 ? c.LastInput() : nullptr;
    return delay && delay->HasSource();
}

void ReadTimer(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* m = dynamic_cast<const CModelTimer*>(&c);
    if (!m) return;
    sheet.Add(Number("delay", "Delay in Milliseconds:", Format("%0.0f", m->Delay()))).enabled =
        !DelayHasSource(c);
    sheet.Add(Note("delayNote", "(editing the delay here is disabled if there is an active delay input)"));
}

std::string ApplyTimer(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* m = dynamic_cast<CModelTimer*>(&c);
    if (!m || !sheet.Changed("delay")) return {};
    if (!m->SetDelay(Num(sheet, "delay")))
        return "The delay cannot be edited here while the \"Delay ms\" input has an active connection.";
    return {};
}

// --- Delay --------------------------------------------------------------------

void ReadDelay(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* m = dynamic_cast<const CModelDelay*>(&c);
    if (!m) return;
    sheet
        .Add(Field(EPropKind::Stepper, "factor",
                   "Feedback Percentage (0.0 to .99):", Format("%0.2f", m->FeedbackFactor())))
        .value = m->FeedbackFactor();
}

void DelayRule(CPropertySheet& sheet, std::string_view key) {
    if (key != "factor") return;
    CPropField* f = sheet.Edit("factor");
    f->text = Format("%0.2f", f->value);
}

std::string ApplyDelay(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* m = dynamic_cast<CModelDelay*>(&c);
    if (!m || !sheet.Changed("factor")) return {};
    if (!m->SetFeedbackFactor(sheet.Find("factor")->value))
        return "The feedback percentage must lie between 0.0 and .99.";
    return {};
}

// --- Constant -------------------------------------------------------------------

void ReadConstant(const CNetworkModel& c, CPropertySheet& sheet) {
    sheet.Add(Number("value", "Constant Value:", Format("%1.2f", c.m_value)));
}

std::string ApplyConstant(CNetworkModel& c, const CPropertySheet& sheet) {
    if (sheet.Changed("value")) c.m_value = Num(sheet, "value");
    return {};
}

// --- Quantity Diminishing -------------------------------------------------------

constexpr const char* kAutoGroup = "Auto Diminish";
constexpr const char* kContainerGroup = "Container Parameters";

void ReadQuantity(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* m = dynamic_cast<const CModelQuantityDiminish*>(&c);
    if (!m) return;
    sheet.Add(Check("autoMode", "Enable", m->AutoMode(), kAutoGroup));
    sheet.Add(Number("autoRate", "Decrement:", Format("%g", m->AutoRate()), kAutoGroup));
    sheet.Add(Note("autoNote",
                   "Enter amt to be subtracted from the current quantity each cycle of execution.",
                   kAutoGroup));
    sheet.Add(Note(
        "autoOffNote",
        "NOTE: Auto-diminsh will automatically turn off when a connection is made to the decrement input.",
        kAutoGroup));
    sheet.Add(Number("minimum", "Minimum:", Format("%g", m->Minimum()), kContainerGroup));
    sheet.Add(Number("maximum", "Maximum:", Format("%g", m->Maximum()), kContainerGroup));
}

std::string ApplyQuantity(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* m = dynamic_cast<CModelQuantityDiminish*>(&c);
    if (!m) return {};
    if (sheet.Changed("autoMode") || sheet.Changed("autoRate")) {
        const double rate = sheet.Changed("autoRate") ? Num(sheet, "autoRate") : m->AutoRate();
        m->SetAuto(sheet.Find("autoMode")->checked, rate);
    }
    if (sheet.Changed("minimum") || sheet.Changed("maximum")) {
        m->SetContainer(sheet.Changed("minimum") ? Num(sheet, "minimum") : m->Minimum(),
                        sheet.Changed("maximum") ? Num(sheet, "maximum") : m->Maximum());
    }
    return {};
}

// --- the two random dialogs ----------------------------------------------------------

void AddDrawFields(const CRandomDraw& d, CPropertySheet& sheet) {
    sheet.Add(Radio("mode", d.mode - 1,
                    {"Floating Point Range  (0.0 to 1.0)", "Floating Point Range  (-1.0  to 1.0)",
                     "Integer Range (min to max set below)"}));
    sheet.Kept("low") = FormatInt(d.low);
    sheet.Kept("high") = FormatInt(d.high);
    sheet.Add(Number("low", "Min:", FormatInt(d.low)));
    sheet.Add(Number("high", "Max:", FormatInt(d.high)));
    CPropField& interval = sheet.Add(Field(EPropKind::Spin, "interval", "One time every:"));
    interval.number = d.interval;
    interval.minimum = kRandIntervalMin;
    interval.maximum = kRandIntervalMax;
    sheet.Add(Radio("timing", d.timing, {"Cycle(s)", "Second(s)"}));
}

/// Floating modes show their fixed range with "%0.3f" and lock it; the integer
/// mode shows its bounds with "%d" and unlocks them.
void ShowModeRange(CPropertySheet& sheet) {
    CPropField* low = sheet.Edit("low");
    CPropField* high = sheet.Edit("high");
    const int32_t choice = sheet.Find("mode")->choice;
    if (choice == 0 || choice == 1) {
        low->text = Format("%0.3f", choice == 0 ? 0.0 : -1.0);
        high->text = Format("%0.3f", 1.0);
        low->enabled = high->enabled = false;
    } else {
        low->text = sheet.Kept("low");
        high->text = sheet.Kept("high");
        low->enabled = high->enabled = true;
    }
}

void RandomRule(CPropertySheet& sheet, std::string_view key) {
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
        if (sheet.Changed("low")) d.low = Num(sheet, "low");
        if (sheet.Changed("high")) d.high = Num(sheet, "high");
    }
    if (sheet.Changed("interval")) d.interval = sheet.Find("interval")->number;
    if (sheet.Changed("timing")) d.timing = sheet.Find("timing")->choice;
    if (const CPropField* zero = sheet.Find("zero"); zero && sheet.Changed("zero"))
        d.zeroWhileWaiting = zero->checked;
    return d;
}

constexpr const char* kBadDraw =
    "The increment type or frequency is not valid: choose a range and a count of 1 to 3600.";

void ReadRandGen(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* m = dynamic_cast<const CModelRandGen*>(&c);
    if (!m) return;
    AddDrawFields(m->Draw(), sheet);
    sheet.Add(Check("zero", "Output is 0 (zero) while waiting for next number", m->Draw().zeroWhileWaiting));
    ShowModeRange(sheet);
}

std::string ApplyRandGen(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* m = dynamic_cast<CModelRandGen*>(&c);
    if (!m || !DrawEdited(sheet)) return {};
    // SetDraw also sets the output's decimals: 3 in the floating modes, 0 in the integer mode.
    return m->SetDraw(EditedDraw(m->Draw(), sheet)) ? std::string() : kBadDraw;
}

void ReadDynamic(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* m = dynamic_cast<const CModelDynamicNumber*>(&c);
    if (!m) return;
    const CDynamicFields& f = m->Fields();
    sheet.Add(Number("start", "Start Value:", Format("%g", f.start)));
    sheet.Add(Check("useFloor", "Min Allowed Value", f.useFloor));
    sheet.Add(Number("floor", "", Format("%g", f.floor))).enabled = f.useFloor;
    sheet.Add(Check("useCeiling", "Max Allowed Value", f.useCeiling));
    sheet.Add(Number("ceiling", "", Format("%g", f.ceiling))).enabled = f.useCeiling;
    AddDrawFields(f.draw, sheet);
    ShowModeRange(sheet);
}

std::string ApplyDynamic(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* m = dynamic_cast<CModelDynamicNumber*>(&c);
    if (!m) return {};
    CDynamicFields f = m->Fields();
    bool edited = DrawEdited(sheet);
    f.draw = EditedDraw(f.draw, sheet);
    for (const char* key : {"start", "useFloor", "floor", "useCeiling", "ceiling"})
        edited |= sheet.Changed(key);
    if (!edited) return {};
    if (sheet.Changed("start")) f.start = Num(sheet, "start");
    f.useFloor = sheet.Find("useFloor")->checked;
    f.useCeiling = sheet.Find("useCeiling")->checked;
    // A bound's value is taken only while its box is checked.
    if (f.useFloor && sheet.Changed("floor")) f.floor = Num(sheet, "floor");
    if (f.useCeiling && sheet.Changed("ceiling")) f.ceiling = Num(sheet, "ceiling");
    return m->SetFields(f) ? std::string() : kBadDraw;
}

// --- the table -------------------------------------------------------------------------

const CPropertyProfile kGeneric{"Component Properties"};
const CPropertyProfile kNoDialog{nullptr};
const CPropertyProfile kLogicGate{"Component Properties - Logic Gate"};
const CPropertyProfile kValve{"Component Properties - Valve"};
const CPropertyProfile kToggle{"Component Properties - Toggle"};
const CPropertyProfile kBitExtraction{"Component Properties - Bit Extraction"};
const CPropertyProfile kCompareConstant{"Compare to Constant Component", ReadCompare, nullptr, ApplyCompare};
const CPropertyProfile kCompareVariable{"Compare to Variable "};
const CPropertyProfile kTimer{"Timer Component Properties", ReadTimer, nullptr, ApplyTimer};
const CPropertyProfile kDelay{"Delay Component Properties", ReadDelay, DelayRule, ApplyDelay};
const CPropertyProfile kCounter{"Component Properties - Counter"};
const CPropertyProfile kConstant{"Component Properties", ReadConstant, nullptr, ApplyConstant, true};
const CPropertyProfile kQuantity{"Component Properties - Diminishing Quantity", ReadQuantity, nullptr,
                                 ApplyQuantity};
const CPropertyProfile kRandGen{"Component Properties - Random Number Generator", ReadRandGen, RandomRule,
                                ApplyRandGen};
const CPropertyProfile kDynamic{"Component Properties - Dynamic Number", ReadDynamic, RandomRule,
                                ApplyDynamic};

struct CTypeProfile {
    int32_t typeId;
    const CPropertyProfile* profile;
};

const CTypeProfile kTypeProfiles[] = {
    {3, &kLogicGate},
    {4, &kLogicGate},
    {5, &kLogicGate},
    {6, &kLogicGate},
    {7, &kLogicGate},
    {8, &kLogicGate},
    {9, &kValve},
    {10, &kToggle},
    {11, &kToggle},
    {28, &kBitExtraction},
    {29, &kBitExtraction},
    {30, &kBitExtraction},
    {15, &kCompareVariable},
    {16, &kCompareVariable},
    {17, &kCompareVariable},
    {18, &kCompareConstant},
    {19, &kCompareConstant},
    {20, &kCompareConstant},
    {86, &kNoDialog},
    {87, &kNoDialog},
    {88, &kNoDialog},
    {89, &kNoDialog},
    {14, &kTimer},
    {2, &kDelay},
    {25, &kCounter},
    {26, &kCounter},
    {41, &kConstant},
    {68, &kQuantity},
    {43, &kRandGen},
    {81, &kDynamic},
};

const CPropertyProfile& ProfileFor(int32_t typeId) {
    for (const CTypeProfile& row : kTypeProfiles)
        if (row.typeId == typeId) return *row.profile;
    return kGeneric;
}

bool SameValue(const CPropField& a, const CPropField& b) {
    switch (a.kind) {
        case EPropKind::Check:
            return a.checked == b.checked;
        case EPropKind::Radio:
            return a.choice == b.choice;
        case EPropKind::Spin:
            return a.number == b.number;
        case EPropKind::Stepper:
            return a.value == b.value;
        case EPropKind::Note:
            return true;
        default:
            return a.text == b.text;
    }
}

std::string FieldName(const CPropField& f) {
    std::string name = f.label;
    while (!name.empty() && (name.back() == ':' || name.back() == ' ')) name.pop_back();
    if (name.empty()) {
        if (f.key == "floor") return "Min Allowed Value";
        if (f.key == "ceiling") return "Max Allowed Value";
        return f.key;
    }
    return name;
}

}  // namespace

// --- CPropertySheet ----------------------------------------------------------------------

const CPropField* CPropertySheet::Find(std::string_view key) const {
    for (const CPropField& f : m_fields)
        if (f.key == key) return &f;
    return nullptr;
}

CPropField* CPropertySheet::Edit(std::string_view key) {
    for (CPropField& f : m_fields)
        if (f.key == key) return &f;
    return nullptr;
}

CPropField& CPropertySheet::Add(CPropField field) {
    m_fields.push_back(std::move(field));
    return m_fields.back();
}

std::string& CPropertySheet::Kept(std::string_view name) {
    for (auto& [key, text] : m_kept)
        if (key == name) return text;
    return m_kept.emplace_back(std::string(name), std::string()).second;
}

const CPropField* CPropertySheet::Original(std::string_view key) const {
    for (const CPropField& f : m_original)
        if (f.key == key) return &f;
    return nullptr;
}

bool CPropertySheet::Changed(std::string_view key) const {
    const CPropField* now = Find(key);
    const CPropField* then = Original(key);
    return now && then && !SameValue(*now, *then);
}

bool CPropertySheet::Edited() const {
    for (const CPropField& f : m_fields)
        if (Changed(f.key)) return true;
    return false;
}

bool CPropertySheet::SetText(std::string_view key, const std::string& text) {
    CPropField* f = Edit(key);
    if (!f || !f->enabled) return false;
    if (f->kind != EPropKind::Text && f->kind != EPropKind::LongText && f->kind != EPropKind::Number)
        return false;
    if (f->kind == EPropKind::Text && f->maxLength > 0 && static_cast<int32_t>(text.size()) > f->maxLength)
        return false;
    f->text = text;
    if (m_profile && m_profile->rule) m_profile->rule(*this, key);
    return true;
}

bool CPropertySheet::SetChecked(std::string_view key, bool checked) {
    CPropField* f = Edit(key);
    if (!f || !f->enabled || f->kind != EPropKind::Check) return false;
    f->checked = checked;
    if (m_profile && m_profile->rule) m_profile->rule(*this, key);
    return true;
}

bool CPropertySheet::Choose(std::string_view key, int32_t index) {
    CPropField* f = Edit(key);
    if (!f || !f->enabled || f->kind != EPropKind::Radio) return false;
    if (index < 0 || index >= static_cast<int32_t>(f->options.size())) return false;
    f->choice = index;
    if (m_profile && m_profile->rule) m_profile->rule(*this, key);
    return true;
}

bool CPropertySheet::SetSpin(std::string_view key, int32_t number) {
    CPropField* f = Edit(key);
    if (!f || !f->enabled || f->kind != EPropKind::Spin) return false;
    if (number < f->minimum || number > f->maximum) return false;
    f->number = number;
    if (m_profile && m_profile->rule) m_profile->rule(*this, key);
    return true;
}

bool CPropertySheet::Step(std::string_view key, bool up) {
    CPropField* f = Edit(key);
    if (!f || !f->enabled || f->kind != EPropKind::Stepper) return false;
    // The feedback factor moves by 0.01 (single precision) and stays within 0.01 to 0.99.
    if (up && f->value < 0.98) f->value += kDelayFactorStep;
    if (!up && f->value > 0.02) f->value -= kDelayFactorStep;
    if (m_profile && m_profile->rule) m_profile->rule(*this, key);
    return true;
}

std::string CPropertySheet::Validate() const {
    for (const CPropField& f : m_fields) {
        if (f.kind != EPropKind::Number || !f.enabled || !Changed(f.key)) continue;
        double v = 0.0;
        if (!ParsePropertyNumber(f.text, v))
            return "Please enter a number for \"" + FieldName(f) + "\" (\"" + f.text + "\" is not a number).";
    }
    return {};
}

// --- reading and applying ------------------------------------------------------------------

bool ParsePropertyNumber(const std::string& text, double& value) {
    const char* begin = text.c_str();
    char* end = nullptr;
    const double v = std::strtod(begin, &end);
    if (end == begin) return false;
    while (*end == ' ' || *end == '\t') ++end;
    if (*end != '\0' || !std::isfinite(v)) return false;
    value = v;
    return true;
}

bool HasPropertyDialog(const CNetworkModel& component) {
    return ProfileFor(component.m_typeId).caption != nullptr;
}

std::string PropertyCaption(int32_t typeId) {
    const char* caption = ProfileFor(typeId).caption;
    return caption ? caption : "";
}

CPropertySheet ReadComponentProperties(const CNetworkModel& component) {
    CPropertySheet sheet;
    const CPropertyProfile& profile = ProfileFor(component.m_typeId);
    sheet.m_profile = &profile;
    sheet.m_caption = profile.caption ? profile.caption : "";
    sheet.m_typeId = component.m_typeId;
    sheet.m_componentId = component.m_id;
    sheet.Add(Field(EPropKind::Text, "name", "Name:", component.m_name)).maxLength = 99;
    sheet.Add(Field(EPropKind::LongText, "description", "Description:", component.m_description));
    if (profile.caption && profile.read) profile.read(component, sheet);
    sheet.m_original = sheet.m_fields;
    return sheet;
}

ECmd ApplyComponentProperties(Czor2Doc& doc, CNetworkModel& component, const CPropertySheet& sheet) {
    const CPropertyProfile& profile = ProfileFor(component.m_typeId);
    if (!profile.caption || sheet.TypeId() != component.m_typeId || sheet.ComponentId() != component.m_id) {
        doc.Prompter().Tell("These properties belong to another component; nothing was changed.");
        return ECmd::Refused;
    }
    if (doc.System().m_running) {
        doc.Prompter().Tell(
            "Please stop the simulator before modifying component properties via the dialog interface.");
        return ECmd::Refused;
    }
    if (const std::string error = sheet.Validate(); !error.empty()) {
        doc.Prompter().Tell(error);
        return ECmd::Refused;
    }
    const bool edited = sheet.Edited();
    if (edited && profile.apply) {
        if (const std::string refusal = profile.apply(component, sheet); !refusal.empty()) {
            doc.Prompter().Tell(refusal);
            return ECmd::Refused;
        }
    }
    if (edited && sheet.Changed("name")) component.m_name = sheet.Find("name")->text;
    if (edited && sheet.Changed("description")) component.m_description = sheet.Find("description")->text;
    if (profile.executeOnOk) {
        component.GetInputValues();
        component.Execute();
    }
    if (!edited) return ECmd::Unavailable;
    return RecordComponentProperties(doc, component);
}

}  // namespace zor2
