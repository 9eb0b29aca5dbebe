// Palette entries and the palette search.
#include "designer/palette_filter.h"

#include <algorithm>
#include <cctype>

#include "engine/catalogue.h"
#include "engine/system.h"

namespace zor2 {
namespace {

std::string Lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
    return out;
}

}  // namespace

bool PaletteNameMatches(std::string_view name, std::string_view filter) {
    const std::string haystack = Lower(name);
    const std::string words = Lower(filter);
    size_t pos = 0;
    while (pos < words.size()) {
        const size_t start = words.find_first_not_of(" \t", pos);
        if (start == std::string::npos) break;
        const size_t end = std::min(words.find_first_of(" \t", start), words.size());
        if (haystack.find(words.substr(start, end - start)) == std::string::npos) return false;
        pos = end;
    }
    return true;
}

std::vector<CPaletteEntry> PaletteEntries(const CSystem& system, int group, std::string_view filter) {
    std::vector<CPaletteEntry> out;
    for (const CModelTemplate* t : system.m_catalogue) {
        if (t->m_group != group) continue;
        CPaletteEntry e{.typeId = t->m_id, .group = group, .name = t->m_name};
        std::replace(e.name.begin(), e.name.end(), '\n', ' ');
        std::erase(e.name, '\r');
        if (!PaletteNameMatches(e.name, filter)) continue;
        e.available = FindComponentType(t->m_id) != nullptr;
        e.tip = e.available ? "Drag onto a module's design view to add (type " + std::to_string(t->m_id) + ")"
                            : "Not available yet: this designer has no component class for type " +
                                  std::to_string(t->m_id) + ", so it cannot be added to a module";
        out.push_back(std::move(e));
    }
    return out;
}

}  // namespace zor2
