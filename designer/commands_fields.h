// Table-driven setters behind the graphics, chart and value-window commands: one
// row per plain setting (range, read, write), applied to every selected object
// with the outcome rules every editing command follows.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "designer/commands_common.h"
#include "designer/document.h"
#include "engine/object.h"

namespace zor2::fields {

/// One integer (or flag, or colour) setting of objects of type T.
template <class T>
struct CIntField {
    int32_t low;
    int32_t high;
    int32_t (*get)(const T&);
    void (*set)(T&, int32_t);
    /// Whether setting `value` would leave the object as it is; null compares get() with the value.
    bool (*same)(const T&, int32_t) = nullptr;
};

/// The objects of `list` named by `ids`, in the order of `ids`.
template <class T>
std::vector<T*> Resolve(const CObList<T>& list, const std::vector<int32_t>& ids) {
    std::vector<T*> out;
    out.reserve(ids.size());
    for (int32_t id : ids)
        if (T* item = list.Find(id)) out.push_back(item);
    return out;
}

/// Runs `change` (returning whether it changed the object) on every item and
/// records one change when any did. Unavailable when there is nothing to act
/// on or nothing changed.
template <class T, class Change>
ECmd ChangeEach(Czor2Doc& doc, const std::vector<T*>& items, Change change) {
    bool changed = false;
    for (T* item : items) changed = change(*item) || changed;
    if (!changed) return ECmd::Unavailable;
    doc.RecordChange("");
    return ECmd::Done;
}

/// Row `index` of `table` read from `item`; 0 for an index past the table.
template <class T>
int32_t GetIntField(std::span<const CIntField<T>> table, size_t index, const T& item) {
    return index < table.size() ? table[index].get(item) : 0;
}

/// Sets row `index` of `table` to `value` on every item: a value outside the
/// row's range beeps and changes nothing.
template <class T>
ECmd SetIntField(Czor2Doc& doc, std::span<const CIntField<T>> table, size_t index,
                 const std::vector<T*>& items, int32_t value) {
    if (items.empty() || index >= table.size()) return ECmd::Unavailable;
    const CIntField<T>& row = table[index];
    if (value < row.low || value > row.high) {
        doc.Prompter().Beep();
        return ECmd::Refused;
    }
    return ChangeEach(doc, items, [&row, value](T& item) {
        const bool same = row.same ? row.same(item, value) : row.get(item) == value;
        if (same) return false;
        row.set(item, value);
        return true;
    });
}

/// Sets every row of `table` on one object from `values` (indexed like the
/// table) in one change. A value outside its row's range beeps and changes
/// nothing; Unavailable when every value is already set. `extra` applies
/// further settings and returns whether they differed; it runs only when all
/// values are in range.
template <class T, class Extra>
ECmd SetAllFields(Czor2Doc& doc, std::span<const CIntField<T>> table, T& item,
                  std::span<const int32_t> values, Extra extra) {
    if (values.size() != table.size()) return ECmd::Unavailable;
    for (size_t i = 0; i < table.size(); ++i) {
        if (values[i] < table[i].low || values[i] > table[i].high) {
            doc.Prompter().Beep();
            return ECmd::Refused;
        }
    }
    bool changed = false;
    for (size_t i = 0; i < table.size(); ++i) {
        const CIntField<T>& row = table[i];
        // A dialog sets what differs from what it showed, so `same` does not apply here.
        if (row.get(item) == values[i]) continue;
        row.set(item, values[i]);
        changed = true;
    }
    changed = extra(item) || changed;
    if (!changed) return ECmd::Unavailable;
    doc.RecordChange("");
    return ECmd::Done;
}

}  // namespace zor2::fields
