// Property sheets: edits under the type's rules, validation, reading a
// component's sheet through the profile its family registered, and field helpers.
#include "engine/property_sheet.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/catalogue.h"
#include "engine/component.h"

namespace zor2 {

namespace {

bool SameValue(const CPropField& a, const CPropField& b) {
    switch (a.kind) {
        case EPropKind::Check:
            return a.checked == b.checked;
        case EPropKind::Radio:
            return a.choice == b.choice;
        case EPropKind::List:  // choosing what a list stands for is an edit; selecting a line to act on is not
            return a.values.empty() || a.choice == b.choice;
        case EPropKind::Spin:
        case EPropKind::Colour:
            return a.number == b.number;
        case EPropKind::Stepper:
            return a.value == b.value;
        case EPropKind::Note:
        case EPropKind::Button:
            return true;
        case EPropKind::Picks:
            return a.options == b.options && a.picks == b.picks;
        case EPropKind::Grid:
            return a.cells == b.cells;
        default:
            return a.text == b.text;
    }
}

std::string WithoutColon(std::string label) {
    while (!label.empty() && (label.back() == ':' || label.back() == ' ')) label.pop_back();
    return label;
}

/// The name a message gives a field: its label without the colon; an
/// unlabelled field is named by the check box before it, which enables it.
std::string FieldName(const std::vector<CPropField>& fields, size_t index) {
    std::string name = WithoutColon(fields[index].label);
    if (name.empty() && index > 0 && fields[index - 1].kind == EPropKind::Check)
        name = WithoutColon(fields[index - 1].label);
    return name.empty() ? fields[index].key : name;
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
    if (m_dataEdited) return true;
    for (const CPropField& f : m_fields)
        if (Changed(f.key)) return true;
    return false;
}

template <class Change>
bool CPropertySheet::EditField(std::string_view key, std::initializer_list<EPropKind> kinds, Change change) {
    CPropField* f = Edit(key);
    if (!f || !f->enabled || std::find(kinds.begin(), kinds.end(), f->kind) == kinds.end()) return false;
    if (!change(*f)) return false;
    if (m_profile && m_profile->rule) m_profile->rule(*this, key);
    return true;
}

bool CPropertySheet::SetText(std::string_view key, const std::string& text) {
    return EditField(key, {EPropKind::Text, EPropKind::LongText, EPropKind::Number, EPropKind::Path},
                     [&](CPropField& f) {
                         if (f.kind == EPropKind::Text && f.maxLength > 0 &&
                             static_cast<int32_t>(text.size()) > f.maxLength)
                             return false;
                         f.text = text;
                         return true;
                     });
}

bool CPropertySheet::SetChecked(std::string_view key, bool checked) {
    return EditField(key, {EPropKind::Check}, [&](CPropField& f) {
        f.checked = checked;
        return true;
    });
}

bool CPropertySheet::Choose(std::string_view key, int32_t index) {
    return EditField(key, {EPropKind::Radio, EPropKind::List}, [&](CPropField& f) {
        if (index < 0 || index >= static_cast<int32_t>(f.options.size())) return false;
        if (index < 32 && (f.disabledOptions >> index) & 1u) return false;
        f.choice = index;
        return true;
    });
}

bool CPropertySheet::SetSpin(std::string_view key, int32_t number) {
    return EditField(key, {EPropKind::Spin}, [&](CPropField& f) {
        if (number < f.minimum || number > f.maximum) return false;
        f.number = number;
        return true;
    });
}

bool CPropertySheet::Step(std::string_view key, bool up) {
    return EditField(key, {EPropKind::Stepper}, [&](CPropField& f) {
        if (!f.step) return false;
        f.value = f.step(f.value, up);
        return true;
    });
}

bool CPropertySheet::Select(std::string_view key, int32_t index) {
    return EditField(key, {EPropKind::List}, [&](CPropField& f) {
        if (index < -1 || index >= static_cast<int32_t>(f.options.size())) return false;
        f.choice = index;
        return true;
    });
}

bool CPropertySheet::SetCell(std::string_view key, size_t index, double code) {
    return EditField(key, {EPropKind::Grid}, [&](CPropField& f) {
        if (index >= f.cells.size() || !(code >= f.minimum && code <= f.maximum)) return false;
        f.cells[index] = code;
        return true;
    });
}

bool CPropertySheet::SetColour(std::string_view key, int32_t colour) {
    return EditField(key, {EPropKind::Colour}, [&](CPropField& f) {
        if (colour < 0 || colour > 0xFFFFFF) return false;
        f.number = colour;
        return true;
    });
}

bool CPropertySheet::SetPicked(std::string_view key, int32_t index, bool picked) {
    return EditField(key, {EPropKind::Picks}, [&](CPropField& f) {
        if (index < 0 || index >= static_cast<int32_t>(f.picks.size())) return false;
        f.picks[static_cast<size_t>(index)] = picked ? 1 : 0;
        return true;
    });
}

bool CPropertySheet::Press(std::string_view key) const {
    const CPropField* f = Find(key);
    if (!f || f->kind != EPropKind::Button || !f->enabled || !m_component || !m_profile || !m_profile->press)
        return false;
    m_profile->press(*m_component, *this, key);
    return true;
}

bool CPropertySheet::Press(std::string_view key, IPropertyHost& host) {
    const CPropField* f = Find(key);
    if (!f || !f->enabled || f->kind != EPropKind::Button || !m_profile) return false;
    if (!m_profile->action) {
        Press(key);
        return false;
    }
    const bool changed = m_profile->action(*this, key, host);
    if (changed) m_dataEdited = true;
    if (m_profile->rule) m_profile->rule(*this, key);
    return changed;
}

std::string CPropertySheet::Validate() const {
    for (size_t i = 0; i < m_fields.size(); ++i) {
        const CPropField& f = m_fields[i];
        if (f.kind != EPropKind::Number || !f.enabled || !Changed(f.key)) continue;
        double v = 0.0;
        if (!ParsePropertyNumber(f.text, v))
            return "Please enter a number for \"" + FieldName(m_fields, i) + "\" (\"" + f.text +
                   "\" is not a number).";
    }
    return {};
}

// --- reading ---------------------------------------------------------------------------------

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

const CPropertyProfile& PropertyProfile(int32_t typeId) {
    const CComponentType* type = FindComponentType(typeId);
    return type && type->properties ? *type->properties : kGenericPropertyDialog;
}

bool HasPropertyDialog(const CNetworkModel& component) {
    return PropertyProfile(component.m_typeId).caption != nullptr;
}

std::string PropertyCaption(int32_t typeId) {
    const char* caption = PropertyProfile(typeId).caption;
    return caption ? caption : "";
}

CPropertySheet ReadComponentProperties(const CNetworkModel& component) {
    CPropertySheet sheet;
    const CPropertyProfile& profile = PropertyProfile(component.m_typeId);
    sheet.m_profile = &profile;
    sheet.m_component = &component;
    sheet.m_caption = profile.caption ? profile.caption : "";
    sheet.m_typeId = component.m_typeId;
    sheet.m_componentId = component.m_id;
    sheet.Add(prop::Field(EPropKind::Text, "name", "Name:", component.m_name)).maxLength = 99;
    sheet.Add(prop::Field(EPropKind::LongText, "description", "Description:", component.m_description));
    if (profile.caption && profile.read) profile.read(component, sheet);
    sheet.m_original = sheet.m_fields;
    return sheet;
}

// --- field helpers -----------------------------------------------------------------------------

namespace prop {

CPropField Field(EPropKind kind, const char* key, std::string label, std::string text, const char* group) {
    CPropField f;
    f.kind = kind;
    f.key = key;
    f.label = std::move(label);
    f.text = std::move(text);
    f.group = group;
    return f;
}

CPropField Number(const char* key, const char* label, std::string text, const char* group) {
    return Field(EPropKind::Number, key, label, std::move(text), group);
}

CPropField Note(const char* key, const char* text, const char* group) {
    return Field(EPropKind::Note, key, text, {}, group);
}

CPropField Check(const char* key, const char* label, bool on, const char* group) {
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

CPropField List(const char* key, const char* label, std::vector<std::string> lines, int32_t selected) {
    CPropField f = Field(EPropKind::List, key, label);
    f.options = std::move(lines);
    f.choice = selected;
    return f;
}

CPropField Button(const char* key, const char* label, const char* group) {
    return Field(EPropKind::Button, key, label, {}, group);
}

CPropField Colour(const char* key, const char* label, int32_t colour, const char* group) {
    CPropField f = Field(EPropKind::Colour, key, label, {}, group);
    f.number = colour;
    return f;
}

CPropField Spin(const char* key, const char* label, int32_t number, int32_t minimum, int32_t maximum,
                const char* group) {
    CPropField f = Field(EPropKind::Spin, key, label, {}, group);
    f.number = number;
    f.minimum = minimum;
    f.maximum = maximum;
    return f;
}

std::string Format(const char* format, double v) {
    char text[64];
    std::snprintf(text, sizeof text, format, v);
    return text;
}

double Num(const CPropertySheet& sheet, std::string_view key) {
    double v = 0.0;
    if (const CPropField* f = sheet.Find(key)) ParsePropertyNumber(f->text, v);
    return v;
}

}  // namespace prop

}  // namespace zor2
