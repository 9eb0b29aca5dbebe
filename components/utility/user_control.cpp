// User controls: type table, property sheets, the press and release gestures,
// the cycle, the up-down control's geometry and the records.
#include "components/utility/user_control.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdio>

#include "algo/bytes.h"
#include "algo/platform.h"
#include "engine/catalogue.h"
#include "engine/property_sheet.h"
#include "engine/system.h"
#include "persistence/archive.h"

namespace zor2 {

namespace {

constexpr CPortTemplate kButtonOutputs[] = {{10, "Enable", kDataOnOff, 0}};
constexpr CPortTemplate kUpDownOutputs[] = {{10, "Data Out", kDataDouble, 2}};

std::unique_ptr<CNetworkModel> CreateButton(int32_t) {
    return std::make_unique<CModelUserButton>();
}
std::unique_ptr<CNetworkModel> CreateUpDown(int32_t) {
    return std::make_unique<CModelUserButtonUpDown>();
}

void ReadButtonSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* b = dynamic_cast<const CModelUserButton*>(&c);
    if (!b) return;
    sheet
        .Add(prop::Radio(
            "mode", b->Mode(),
            {"Once: On for only one cycle of simulator", "Continuous: On for duration of mouse down event",
             "Toggle: On or Off with each mouse click"}))
        .group = "Type of Button Response";
}

std::string ApplyButtonSheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* b = dynamic_cast<CModelUserButton*>(&c);
    if (b && sheet.Changed("mode")) b->SetMode(sheet.Find("mode")->choice);
    return {};
}

void ReadUpDownSheet(const CNetworkModel& c, CPropertySheet& sheet) {
    const auto* u = dynamic_cast<const CModelUserButtonUpDown*>(&c);
    if (!u) return;
    sheet.Add(prop::Number("base", "Starting Value:", prop::Format("%0.2f", u->Fields().baseValue)));
    sheet.Add(prop::Number("increment", "Increment:", prop::Format("%0.2f", u->Fields().increment)));
}

std::string ApplyUpDownSheet(CNetworkModel& c, const CPropertySheet& sheet) {
    auto* u = dynamic_cast<CModelUserButtonUpDown*>(&c);
    if (!u) return {};
    // A field left as shown keeps its exact value rather than its two-decimal text.
    const double base = sheet.Changed("base") ? prop::Num(sheet, "base") : u->Fields().baseValue;
    const double increment =
        sheet.Changed("increment") ? prop::Num(sheet, "increment") : u->Fields().increment;
    u->SetSteps(base, increment);
    return {};
}

constexpr CPropertyProfile kButtonSheet{"Component Properties - User Button", ReadButtonSheet, nullptr,
                                        ApplyButtonSheet};
constexpr CPropertyProfile kUpDownSheet{"Component Properties - User Up Down Control", ReadUpDownSheet,
                                        nullptr, ApplyUpDownSheet};
constexpr CTypeTraits kControlTraits{.clearsDisplayC = true};

constexpr CComponentType kTypes[] = {
    {kTypeUserButton, {}, kButtonOutputs, 0, 1, CreateButton, &kButtonSheet, kControlTraits},
    {kTypeUserButtonUpDown, {}, kUpDownOutputs, 0, 1, CreateUpDown, &kUpDownSheet, kControlTraits},
};

/// The first output shows the control's value (a press shows it before the next cycle).
void ShowValue(CNetworkModel& c) {
    if (CModelOutput* out = c.FirstOutput()) out->SetValue(c.m_value);
}

}  // namespace

std::span<const CComponentType> UserControlComponentTypes() {
    return kTypes;
}

// --- User Control Button -----------------------------------------------------

void CModelUserButton::Serialize(CArchive& ar) {
    SerializeBase(ar);
    UserButtonFieldList(ar, m_fields);
}

void CModelUserButton::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    UserButtonFieldList(w, m_fields);
}

void CModelUserButton::GetInputValues() {
    if (m_wasOn && m_value > kButtonThreshold && m_fields.mode == kButtonOnce) m_value = 0.0;
}

void CModelUserButton::Execute() {
    m_wasOn = m_value > kButtonThreshold;
    ShowValue(*this);
}

void CModelUserButton::Press() {
    m_value = m_fields.mode == kButtonToggle ? ToggledValue(m_value) : 1.0;
    ShowValue(*this);
}

void CModelUserButton::Release() {
    if (m_fields.mode == kButtonToggle) return;
    // A single event released before any cycle published it stays pending, so a
    // click shorter than a cycle still yields its one cycle; the input phase after
    // that cycle turns it off.
    if (m_fields.mode == kButtonOnce && !m_wasOn) return;
    m_value = 0.0;
    ShowValue(*this);
}

bool CModelUserButton::SetMode(int32_t mode) {
    if (mode < kButtonOnce || mode > kButtonToggle) return false;
    m_fields.mode = mode;
    return true;
}

std::vector<std::string> CModelUserButton::HelperText() const {
    const char* event = "Event: Continuous event";
    if (m_fields.mode == kButtonOnce) event = "Event: Single event";
    if (m_fields.mode == kButtonToggle) event = m_value > 0.1 ? "Event: Toggle ON" : "Event: Toggle OFF";
    return {"Press Me", event};
}

// --- User Button Up Down -----------------------------------------------------

void CModelUserButtonUpDown::Serialize(CArchive& ar) {
    SerializeBase(ar);
    UpDownProjectFields(ar, m_fields);
}

void CModelUserButtonUpDown::ExportRuntime(CByteWriter& w) const {
    ExportRuntimeBase(w);
    UpDownRuntimeFields(w, m_fields);
}

void CModelUserButtonUpDown::CalcSize() {
    int32_t w = 194, h = 194;
    switch (m_fields.sizeStyle) {
        case 0:
            w = h = 178;
            break;
        case 1:
            w = h = 130;
            break;
        case 2:
            w = 42;
            h = 94;
            break;
    }
    m_box = {0, 0, w, h};
    m_connectionsOut = CountConnectionsOut();
    SetPosition(m_position.x, m_position.y);
}

void CModelUserButtonUpDown::SetPosition(int32_t x, int32_t y) {
    CNetworkModel::SetPosition(x, y);
    constexpr int64_t kInset = 4;  // the inner rectangle inside the box's frame
    // In 64 bits: a stored position may put the box at the edge of the coordinate range.
    const auto at = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    const int64_t left = int64_t{m_box.left} + kInset, top = int64_t{m_box.top} + kInset;
    const int64_t right = int64_t{m_box.right} - kInset, bottom = int64_t{m_box.bottom} - kInset;
    const int64_t middle = (top + bottom) / 2;
    m_upArea = {at(left), at(top), at(right), at(middle - 8)};
    m_downArea = {at(left), at(middle + 8), at(right), at(bottom)};
}

void CModelUserButtonUpDown::Press(CPoint at) {
    const int32_t cx = (m_box.left + m_box.right) / 2;
    const int32_t cy = (m_box.top + m_box.bottom) / 2;
    if (at.y < cy) {
        m_fields.increment = std::fabs(m_fields.increment);
        Trace("HandleMouseDown: point: %d,%d and object center: %d,%d, and offset:  %d,%d\n", at.x, at.y, cx,
              cy, at.x - cx, at.y - cy);
    } else {
        m_fields.increment = -std::fabs(m_fields.increment);
    }
    switch (m_fields.mode) {
        case kButtonOnce:
            m_value += m_fields.increment;
            break;
        case kButtonContinuous:
            m_held = true;
            break;
        case kButtonToggle:
            m_value = ToggledValue(m_value);
            break;
    }
    ShowValue(*this);
}

void CModelUserButtonUpDown::Execute() {
    const CSystem* s = System();
    if (m_fields.mode == kButtonContinuous && m_held && s && s->m_running) m_value += m_fields.increment;
    ShowValue(*this);
}

void CModelUserButtonUpDown::ResetValues() {
    CNetworkModel::ResetValues();
    m_held = false;
    m_value = m_fields.baseValue;
    ShowValue(*this);
}

bool CModelUserButtonUpDown::SetSteps(double baseValue, double increment) {
    if (!std::isfinite(baseValue) || !std::isfinite(increment)) return false;
    m_fields.baseValue = baseValue;
    m_fields.increment = increment;
    return true;
}

std::vector<std::string> CModelUserButtonUpDown::HelperText() const {
    char base[64], step[64];
    std::snprintf(base, sizeof base, "Base Value: %0.2f", m_fields.baseValue);
    std::snprintf(step, sizeof step, "Increment: %0.2f", m_fields.increment);
    return {base, step};
}

// --- gestures ------------------------------------------------------------------

bool IsUserControl(const CNetworkModel& c) {
    return c.m_typeId == kTypeUserButton || c.m_typeId == kTypeUserButtonUpDown;
}

bool PressUserControl(CNetworkModel& c, CPoint at) {
    if (auto* b = dynamic_cast<CModelUserButton*>(&c)) {
        b->Press();
        return true;
    }
    if (auto* u = dynamic_cast<CModelUserButtonUpDown*>(&c)) {
        u->Press(at);
        return true;
    }
    return false;
}

bool ReleaseUserControl(CNetworkModel& c) {
    if (auto* b = dynamic_cast<CModelUserButton*>(&c)) {
        b->Release();
        return true;
    }
    if (auto* u = dynamic_cast<CModelUserButtonUpDown*>(&c)) {
        u->Release();
        return true;
    }
    return false;
}

}  // namespace zor2
