// The component palette without a window: the entries of each group, the
// search that filters them by name across groups, and why an entry is not offered.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zor2 {

class CSystem;

struct CPaletteEntry {
    int typeId = 0;
    int group = 0;
    std::string name;  // one line: a line break in the catalogue name reads as a space
    bool available = true;
    std::string tip = {};  // how to use it, or why it cannot be used
};

/// Whether a palette name matches what was typed: every word of `filter`
/// occurs in `name`, letter case aside. An empty filter matches all.
bool PaletteNameMatches(std::string_view name, std::string_view filter);

/// The entries of palette group `group` in catalogue order that match `filter`.
std::vector<CPaletteEntry> PaletteEntries(const CSystem& system, int group, std::string_view filter);

}  // namespace zor2
