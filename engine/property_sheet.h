// The component property dialogs as data: a sheet of typed fields read from a
// component and edited under its type's rules, the profile each family states for
// its types, and the field helpers the families build their sheets with.
#pragma once

#include <any>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zor2 {

class CNetworkModel;
class CPropertySheet;
class IPrompter;

/// What a field of a property sheet is and how it is edited.
enum class EPropKind {
    Text,      // one-line text (the name)
    LongText,  // several lines (the description)
    Number,    // text parsed as a finite floating-point number on OK
    Check,     // check box
    Radio,     // one of `options`, or none (-1) until the user picks one
    Spin,      // whole number with an up-down control in [minimum, maximum]
    Stepper,   // read-only number text with up and down buttons
    Note,      // static text
    List,      // `options` as lines, `choice` the selected one (-1 none); with `values` (the ids the
               // lines stand for) the choice is an edit, without them a selection to act on is not
    Colour,    // `number` as 0xBBGGRR (red in the lowest byte), chosen with a colour dialog
    Path,      // `text` with a browse button: `options` title, filter, default extension; a save
               // dialog when `checked`
    Button,    // a push button: runs the profile's `action` (or `press`)
    Picks,     // a list of `options`, each picked or not (`picks`)
    Grid,      // `cells` in rows of `columns`, each a code in [minimum, maximum] (`options` names the codes)
};

struct CPropField {
    EPropKind kind = EPropKind::Text;
    std::string key;                                  // stable name the rules and the window use
    std::string label;                                // the text shown beside or on the control
    std::string group;                                // title of the group box that holds it; empty for none
    std::string text;                                 // Text, LongText, Number, Stepper, Path
    bool checked = false;                             // Check
    int32_t choice = 0;                               // Radio, List: index into `options`
    std::vector<std::string> options;                 // Radio, List, Picks; Path: dialog title, filter, extension
    std::vector<int32_t> values;                      // List: the id each option stands for
    std::vector<uint8_t> picks;                       // Picks: one flag per option
    uint32_t disabledOptions = 0;                     // Radio: bit i greys out option i
    int32_t number = 0;                               // Spin, Colour
    int32_t minimum = 0;                              // Spin
    int32_t maximum = 0;                              // Spin
    double value = 0.0;                               // Stepper: the number behind `text`
    double (*step)(double value, bool up) = nullptr;  // Stepper: the value one click up or down
    int32_t maxLength = 0;                            // Text: 0 means no limit
    bool enabled = true;
    bool visible = true;  // a rule may hide a field that does not apply
    std::vector<double> cells;            // Grid
    int32_t columns = 0;                  // Grid: cells a row
    std::vector<std::string> cellLabels;  // Grid: what each cell stands for (may be empty)
};

/// What a button of a property dialog may ask for: questions and messages, and
/// the data files it reads.
class IPropertyHost {
  public:
    virtual ~IPropertyHost() = default;
    virtual IPrompter& Prompter() = 0;
    /// A CSV file to read, chosen with an open dialog titled `title` (filter
    /// "CSV Files(*.csv)"), or through the "Load Data Wizard" when `wizard` is
    /// set. Empty when cancelled.
    virtual std::string ChooseDataFile(const std::string& title, bool wizard) = 0;
};

/// A question the designer asks before a type's dialog opens, when the
/// component has output connections that the dialog may delete.
enum class EOpenCheck : uint8_t {
    None,
    SegmentOutputs,  // the number of segment outputs may change
    DataSource,      // the data source and its outputs may change
};

/// One dialog, as a family states it for its types: the caption and the
/// functions that fill, constrain and apply the typed fields that follow name
/// and description. A null caption means the type has no dialog.
struct CPropertyProfile {
    const char* caption;
    void (*read)(const CNetworkModel&, CPropertySheet&) = nullptr;
    /// Runs after every edit (`changedKey`) so that dependent fields stay consistent.
    void (*rule)(CPropertySheet&, std::string_view changedKey) = nullptr;
    /// Writes the edited typed fields; returns a refusal message (nothing
    /// changed) or an empty string.
    std::string (*apply)(CNetworkModel&, const CPropertySheet&) = nullptr;
    /// The component executes once on every OK so that its output shows the value at once.
    bool executeOnOk = false;
    /// A button (`key`) was pressed: edits the sheet's data and fields, asking
    /// through `host`; returns true when the data changed.
    bool (*action)(CPropertySheet&, std::string_view key, IPropertyHost& host) = nullptr;
    EOpenCheck openCheck = EOpenCheck::None;
    /// A Button field was pressed, for a type without `action`; the component is the one the sheet was read from.
    void (*press)(const CNetworkModel&, const CPropertySheet&, std::string_view key) = nullptr;
};

/// The dialog of a type whose family states none: name and description only.
inline constexpr CPropertyProfile kGenericPropertyDialog{"Component Properties"};
/// A type without a property dialog.
inline constexpr CPropertyProfile kNoPropertyDialog{nullptr};

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
    bool SetColour(std::string_view key, int32_t colour);
    /// Selects line `index` of a list (-1 selects none).
    bool Select(std::string_view key, int32_t index);
    /// Sets cell `index` of a grid to `code`.
    bool SetCell(std::string_view key, size_t index, double code);
    bool SetPicked(std::string_view key, int32_t index, bool picked);
    /// Presses a Button field whose profile acts on the component itself
    /// (`press`); false when there is nothing to run.
    bool Press(std::string_view key) const;
    /// Presses a Button field: runs the profile's `action` (true when it changed
    /// the sheet's data), or else its `press` (false).
    bool Press(std::string_view key, IPropertyHost& host);

    /// Empty when every field holds an acceptable value; otherwise the message
    /// for the first one that does not.
    std::string Validate() const;
    /// Whether any field differs from what was read, or an action changed the data.
    bool Edited() const;
    /// The field as read from the component (null for an unknown key).
    const CPropField* Original(std::string_view key) const;
    /// Whether the field's value differs from what was read.
    bool Changed(std::string_view key) const;

    /// Building a sheet (used by the families' read functions).
    CPropField& Add(CPropField field);
    CPropField* Edit(std::string_view key);
    /// Text a rule keeps aside while its field shows something else (the
    /// integer bounds while a floating random mode shows its fixed range).
    std::string& Kept(std::string_view name);
    /// The working data of a type whose dialog edits more than fields (a list
    /// of patterns or thresholds): set by its read function, changed by its
    /// actions and rules, written back by its apply function.
    template <class T>
    T* Data() {
        return std::any_cast<T>(&m_data);
    }
    template <class T>
    const T* Data() const {
        return std::any_cast<T>(&m_data);
    }
    void SetData(std::any data) { m_data = std::move(data); }
    /// Marks the working data changed (rules that edit it call this).
    void MarkDataEdited() { m_dataEdited = true; }
    bool DataEdited() const { return m_dataEdited; }

  private:
    friend CPropertySheet ReadComponentProperties(const CNetworkModel& component);
    /// Lets `change` edit the enabled field of `key` when it is of one of
    /// `kinds`, then runs the type's rule; false when nothing was changed.
    template <class Change>
    bool EditField(std::string_view key, std::initializer_list<EPropKind> kinds, Change change);

    const CPropertyProfile* m_profile = nullptr;
    const CNetworkModel* m_component = nullptr;  // read from; a dialog's sheet lives while it does
    std::string m_caption;
    int32_t m_typeId = 0;
    int32_t m_componentId = 0;
    std::vector<CPropField> m_fields;
    std::vector<CPropField> m_original;
    std::vector<std::pair<std::string, std::string>> m_kept;
    std::any m_data;
    bool m_dataEdited = false;
};

/// The profile of a type: the one its family states, the generic dialog for a
/// type whose family states none or that has no class.
const CPropertyProfile& PropertyProfile(int32_t typeId);
/// Whether the component's type has a property dialog (the arithmetic family
/// Get Min, Get Max, Reverse Sign and Range Check has none).
bool HasPropertyDialog(const CNetworkModel& component);
/// The dialog's caption for a type id.
std::string PropertyCaption(int32_t typeId);
/// The sheet for the component, filled with its current values.
CPropertySheet ReadComponentProperties(const CNetworkModel& component);
/// Parses a number field's text: one finite number, blanks around it allowed.
bool ParsePropertyNumber(const std::string& text, double& value);

/// Field helpers for the families' read functions.
namespace prop {

CPropField Field(EPropKind kind, const char* key, std::string label, std::string text = {},
                 const char* group = "");
CPropField Number(const char* key, const char* label, std::string text, const char* group = "");
CPropField Note(const char* key, const char* text, const char* group = "");
CPropField Check(const char* key, const char* label, bool on, const char* group = "");
CPropField Radio(const char* key, int32_t choice, std::vector<std::string> options);
CPropField List(const char* key, const char* label, std::vector<std::string> lines, int32_t selected = -1);
CPropField Button(const char* key, const char* label, const char* group = "");
CPropField Colour(const char* key, const char* label, int32_t colour, const char* group = "");
CPropField Spin(const char* key, const char* label, int32_t number, int32_t minimum, int32_t maximum,
                const char* group = "");
/// `format` applied to one double ("%0.2f", "%g", ...).
std::string Format(const char* format, double v);
/// The parsed value of a number field (validated before any apply; 0 when absent).
double Num(const CPropertySheet& sheet, std::string_view key);

}  // namespace prop

}  // namespace zor2
