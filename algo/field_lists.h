// Helpers for field lists that run through the project archive (either
// direction) and the runtime file's byte writer and reader: the direction, the
// failure state and counted lists checked against the bytes that remain.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

namespace zor2 {

/// Whether `ar` reads: the project archive by its mode, a byte reader always,
/// a byte writer never.
template <class Ar>
bool FieldsLoading(const Ar& ar) {
    if constexpr (requires { ar.IsLoading(); })
        return ar.IsLoading();
    else
        return requires {
            ar.Remaining();
        };
}

/// Whether a read through `ar` has failed (a writer never fails).
template <class Ar>
bool FieldsFailed(const Ar& ar) {
    if constexpr (requires { ar.Failed(); })
        return ar.Failed();
    else
        return false;
}

/// Whether the archive carries strings: the project file does, the runtime file does not.
template <class Ar>
inline constexpr bool kFieldsHaveText = requires(Ar& ar, std::string& s) {
    ar.Str(s);
};

/// Reading: checks a count moved earlier and resizes the list to it. Writing: true.
/// A const list (written from a const component) and a byte writer only ever write.
template <class Ar, class List>
bool SizeList(Ar& ar, int32_t count, size_t minBytes, const char* what, List& list) {
    if constexpr (std::is_const_v<List> || !requires { ar.CheckCount(count, minBytes, what); }) {
        return true;
    } else {
        if (!FieldsLoading(ar)) return true;
        if (FieldsFailed(ar) || !ar.CheckCount(count, minBytes, what)) return false;
        list.assign(static_cast<size_t>(count), typename List::value_type{});
        return true;
    }
}

/// Moves a list's count. Reading, the count is checked against the bytes that
/// remain (each element at least `minBytes`) before the list is resized to it,
/// so a damaged count allocates nothing; false when the archive has failed.
template <class Ar, class List>
bool ListCount(Ar& ar, List& list, size_t minBytes, const char* what) {
    int32_t count = static_cast<int32_t>(list.size());
    ar.I32(count);
    return SizeList(ar, count, minBytes, what, list);
}

}  // namespace zor2
