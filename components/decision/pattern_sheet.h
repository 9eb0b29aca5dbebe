// The pattern list of a property dialog, shared by the Pattern Generator and the
// 8x8 LED Controller: the list, the selected pattern's name and trigger value,
// adding and deleting patterns. Works on the sheet's data `Edit`, whose
// `patterns` hold CPattern or CPattern64Bit; patterns new in the dialog carry
// ids below 1 until OK gives them fresh ones.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "components/decision/pattern_kernel.h"
#include "engine/property_sheet.h"
#include "engine/report.h"

namespace zor2 {

/// What differs between the dialogs that edit a pattern list.
struct CPatternListTexts {
    const char* deleteAllQuestion;
    /// The name of a new pattern, given the number of patterns before it.
    std::string (*newName)(size_t before);
};

namespace pattern_sheet {

template <class Pattern>
std::vector<std::string> Lines(const std::vector<Pattern>& list) {
    std::vector<std::string> lines;
    lines.reserve(list.size());
    for (const Pattern& p : list) lines.push_back(std::to_string(p.m_number) + ": " + p.m_name);
    return lines;
}

/// The selected pattern, or null.
template <class Edit>
auto* Selected(CPropertySheet& sheet) {
    Edit* edit = sheet.Data<Edit>();
    const CPropField* list = sheet.Find("patterns");
    using Pattern = typename decltype(edit->patterns)::value_type;
    if (!edit || !list || list->choice < 0 || static_cast<size_t>(list->choice) >= edit->patterns.size())
        return static_cast<Pattern*>(nullptr);
    return &edit->patterns[static_cast<size_t>(list->choice)];
}

/// The list and the selected pattern's fields as the data holds them.
template <class Edit>
void Show(CPropertySheet& sheet) {
    Edit* edit = sheet.Data<Edit>();
    CPropField* list = sheet.Edit("patterns");
    if (!edit || !list) return;
    list->options = Lines(edit->patterns);
    if (list->choice >= static_cast<int32_t>(list->options.size())) list->choice = -1;
    const auto* p = Selected<Edit>(sheet);
    CPropField* name = sheet.Edit("patternName");
    CPropField* number = sheet.Edit("patternNumber");
    name->text = p ? p->m_name : std::string();
    number->text = p ? std::to_string(p->m_number) : std::string();
    for (const char* key : {"patternName", "patternNumber", "setNumber", "deletePattern"})
        sheet.Edit(key)->enabled = p != nullptr;
}

/// The fields, after what the type shows above them.
template <class Edit>
void AddFields(CPropertySheet& sheet) {
    const char* group = "Patterns";
    sheet.Add(prop::List("patterns", "Patterns:", {}, sheet.Data<Edit>()->patterns.empty() ? -1 : 0));
    sheet.Edit("patterns")->group = group;
    sheet.Add(prop::Field(EPropKind::Text, "patternName", "Pattern name:", {}, group)).maxLength = 99;
    sheet.Add(prop::Number("patternNumber", "Trigger value:", {}, group));
    sheet.Add(prop::Button("setNumber", "Set Trigger Value", group));
    sheet.Add(prop::Button("addPattern", "Add Pattern", group));
    sheet.Add(prop::Button("deletePattern", "Delete Pattern", group));
    sheet.Add(prop::Button("deleteAll", "Delete All Patterns", group));
    Show<Edit>(sheet);
}

/// The rule part: a new selection shows its pattern; a typed name renames it.
/// True when the key was the list's.
template <class Edit>
bool Rule(CPropertySheet& sheet, std::string_view key) {
    if (key == "patterns") {
        Show<Edit>(sheet);
        return true;
    }
    if (key == "patternName") {
        if (auto* p = Selected<Edit>(sheet)) {
            p->m_name = sheet.Find("patternName")->text;
            sheet.Edit("patterns")->options = Lines(sheet.Data<Edit>()->patterns);
            sheet.MarkDataEdited();
        }
        return true;
    }
    return false;
}

/// The buttons; false (nothing changed) for another key.
template <class Edit>
bool Action(CPropertySheet& sheet, std::string_view key, IPropertyHost& host,
            const CPatternListTexts& texts) {
    Edit* edit = sheet.Data<Edit>();
    if (!edit) return false;
    auto& list = edit->patterns;
    CPropField* selection = sheet.Edit("patterns");
    if (key == "addPattern") {
        typename std::remove_reference_t<decltype(list)>::value_type p{};
        int32_t id = 0;
        for (const auto& q : list) id = std::min(id, q.m_id);
        p.m_id = std::min(id, 0) - 1;
        p.m_name = texts.newName(list.size());
        p.m_number = SmallestFreeNumber(list);
        list.push_back(std::move(p));
        selection->choice = static_cast<int32_t>(list.size()) - 1;
    } else if (key == "deletePattern") {
        if (selection->choice < 0 || static_cast<size_t>(selection->choice) >= list.size()) return false;
        list.erase(list.begin() + selection->choice);
        selection->choice =
            list.empty() ? -1 : std::min<int32_t>(selection->choice, static_cast<int32_t>(list.size()) - 1);
    } else if (key == "deleteAll") {
        if (list.empty() || host.Prompter().Ask(texts.deleteAllQuestion, EButtons::YesNo) != EAnswer::Yes)
            return false;
        list.clear();
        selection->choice = -1;
    } else if (key == "setNumber") {
        auto* p = Selected<Edit>(sheet);
        if (!p) return false;
        double v = 0.0;
        const std::string text = sheet.Find("patternNumber")->text;
        if (!ParsePropertyNumber(text, v) || v != std::trunc(v) || v < -2147483648.0 || v > 2147483647.0) {
            host.Prompter().Tell("Please enter a whole number for the trigger value (\"" + text +
                                 "\" is not one).");
            Show<Edit>(sheet);
            return false;
        }
        const int32_t number = static_cast<int32_t>(v);
        for (const auto& q : list) {
            if (&q == p || q.m_number != number) continue;
            char message[512];
            std::snprintf(
                message, sizeof message,
                "The trigger value [%d] is already being used by another pattern [%s]. There can only be one pattern triggered by a single input value. Please try select another value.",
                number, q.m_name.c_str());
            host.Prompter().Tell(message);
            Show<Edit>(sheet);  // the old number again
            return false;
        }
        if (p->m_number == number) return false;
        p->m_number = number;
    } else {
        return false;
    }
    Show<Edit>(sheet);
    return true;
}

/// OK: patterns new in the dialog get fresh ids among the list.
template <class Pattern>
void GiveIds(std::vector<Pattern>& list, IRandomSource& random) {
    for (Pattern& p : list)
        if (p.m_id < 1) p.m_id = FreshListId(random, list);
}

}  // namespace pattern_sheet
}  // namespace zor2
