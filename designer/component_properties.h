// The type-specific component property dialogs as data: a sheet of typed fields
// read from a component, edited under the type's rules, checked and applied back
// as one recorded change. The Qt window only renders a sheet.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "designer/commands_common.h"

namespace zor2 {

class Czor2Doc;
class CNetworkModel;
struct CPropertyProfile;

/// What a field of a property sheet is and how it is edited.
enum class EPropKind {
    Text,      // one-line text (the name)
    LongText,  // several lines (the description)
    Number,    // text parsed as a finite floating-point number on OK
    Check,     // check box
    Radio,     // one of `options`
    Spin,      // whole number with an up-down control in [minimum, maximum]
    Stepper,   // read-only number text with up and down buttons
    Note,      // static text
};

struct CPropField {
    EPropKind kind = EPropKind::Text;
    std::string key;                   // stable name the rules and the window use
    std::string label;                 // the text shown beside or on the control
    std::string group;                 // title of the group box that holds it; empty for none
    std::string text;                  // Text, LongText, Number, Stepper
    bool checked = false;              // Check
    int32_t choice = 0;                // Radio: index into `options`
    std::vector<std::string> options;  // Radio
    int32_t number = 0;                // Spin
    int32_t minimum = 0;               // Spin
    int32_t maximum = 0;               // Spin
    double value = 0.0;                // Stepper: the number behind `text`
    int32_t maxLength = 0;             // Text: 0 means no limit
    bool enabled = true;
};

/// One component's dialog: caption and fields in display order (name and
/// description first). Edits run the type's rules, so fields that depend on
/// each other stay consistent; the sheet remembers what it was read as, and
/// applying changes only what was edited.
class CPropertySheet {
  public:
    const std::string& Caption() const { return m_caption; }
    const std::vector<CPropField>& Fields() const { return m_fields; }
    const CPropField* Find(std::string_view key) const;
    int32_t TypeId() const { return m_typeId; }
    int32_t ComponentId() const { return m_componentId; }

    // Edits as the dialog's controls make them. False (nothing changed) for an
    // unknown key, a field of another kind or a disabled field.
    bool SetText(std::string_view key, const std::string& text);
    bool SetChecked(std::string_view key, bool checked);
    bool Choose(std::string_view key, int32_t index);
    bool SetSpin(std::string_view key, int32_t number);
    bool Step(std::string_view key, bool up);

    /// Empty when every field holds an acceptable value; otherwise the message
    /// for the first one that does not.
    std::string Validate() const;
    /// Whether any field differs from what was read.
    bool Edited() const;
    /// The field as read from the component (null for an unknown key).
    const CPropField* Original(std::string_view key) const;
    /// Whether the field's value differs from what was read.
    bool Changed(std::string_view key) const;

    /// Building a sheet (used by the type tables).
    CPropField& Add(CPropField field);
    CPropField* Edit(std::string_view key);
    /// Text a rule keeps aside while its field shows something else (the
    /// integer bounds while a floating random mode shows its fixed range).
    std::string& Kept(std::string_view name);

  private:
    friend CPropertySheet ReadComponentProperties(const CNetworkModel& component);
    const CPropertyProfile* m_profile = nullptr;
    std::string m_caption;
    int32_t m_typeId = 0;
    int32_t m_componentId = 0;
    std::vector<CPropField> m_fields;
    std::vector<CPropField> m_original;
    std::vector<std::pair<std::string, std::string>> m_kept;
};

/// Whether the component's type has a property dialog (the arithmetic family
/// Get Min, Get Max, Reverse Sign and Range Check has none).
bool HasPropertyDialog(const CNetworkModel& component);
/// The dialog's caption for a type id.
std::string PropertyCaption(int32_t typeId);
/// The sheet for the component, filled with its current values.
CPropertySheet ReadComponentProperties(const CNetworkModel& component);
/// Parses a number field's text: one finite number, blanks around it allowed.
bool ParsePropertyNumber(const std::string& text, double& value);

/// OK of a property dialog. A sheet with a field that does not validate is
/// refused with its message and changes nothing; a sheet read from another
/// component is refused too. Only edited fields are written back, then the
/// change is recorded as one undo level. Nothing edited: Unavailable, no undo
/// level. The Constant executes once on every OK so that its output shows the
/// value at once.
ECmd ApplyComponentProperties(Czor2Doc& doc, CNetworkModel& component, const CPropertySheet& sheet);

}  // namespace zor2
