// Ribbon panel fitting, the current category around context categories and
// the choice of command glyphs.
#include "designer/ribbon_fit.h"

namespace zor2 {
namespace {

int Width(const CPanelWidths& w, EPanelSize size) {
    switch (size) {
        case EPanelSize::Large:
            return w.large;
        case EPanelSize::Small:
            return w.small;
        case EPanelSize::Collapsed:
            return w.collapsed;
    }
    return w.large;
}

struct CGlyphWord {
    std::string_view word;
    EGlyph glyph;
};

// First match wins: the more telling word comes first ("DELETE_MODELINPUT" deletes).
constexpr CGlyphWord kGlyphWords[] = {
    {"UNDO", EGlyph::Undo},
    {"REDO", EGlyph::Redo},
    {"EXIT", EGlyph::Exit},
    {"DISCONNECT", EGlyph::Disconnect},
    {"REMOVE", EGlyph::Disconnect},
    {"DELETE", EGlyph::Delete},
    {"DELS", EGlyph::Delete},
    {"CLEAR", EGlyph::Delete},
    {"ERASE", EGlyph::Delete},
    {"IMPORT", EGlyph::Import},
    {"EXPORT", EGlyph::Export},
    {"SAVEMODULE", EGlyph::Export},
    {"PRINT", EGlyph::Print},
    {"SAVE", EGlyph::Save},
    {"OPEN", EGlyph::Open},
    {"NEW", EGlyph::New},
    {"COLOR", EGlyph::Colour},
    {"CLR_", EGlyph::Colour},
    {"PAUSE", EGlyph::Pause},
    {"STOP", EGlyph::Stop},
    {"STEP", EGlyph::Step},
    {"RESET", EGlyph::Reset},
    {"RESTORE", EGlyph::Reset},
    {"RUN", EGlyph::Run},
    {"EXECUTE", EGlyph::Run},
    {"START", EGlyph::Run},
    {"CONNECTION", EGlyph::Connect},
    {"CONNECTOR", EGlyph::Connect},
    {"REALTIME", EGlyph::Connect},
    {"EXPOSE", EGlyph::Connect},
    {"CHART", EGlyph::Chart},
    {"GRAPHCON", EGlyph::Chart},
    {"VALUE", EGlyph::Value},
    {"PRECISION", EGlyph::Value},
    {"SUFFIX", EGlyph::Value},
    {"GRID", EGlyph::Grid},
    {"ALIGN", EGlyph::Align},
    {"DIST", EGlyph::Align},
    {"SAME", EGlyph::Align},
    {"TEXT", EGlyph::Text},
    {"FONT", EGlyph::Text},
    {"BOLD", EGlyph::Text},
    {"ADD", EGlyph::Add},
    {"EDIT", EGlyph::Edit},
    {"PROPERT", EGlyph::Edit},
    {"SETTINGS", EGlyph::Edit},
    {"OPTIONS", EGlyph::Edit},
    {"WELCOME", EGlyph::Help},
    {"ABOUT", EGlyph::Help},
    {"HELP", EGlyph::Help},
    {"MODULE", EGlyph::Module},
    {"NETWORK", EGlyph::Module},
    {"SHOW", EGlyph::Show},
    {"VIEW", EGlyph::Show},
    {"NAMES", EGlyph::Show},
    {"DETAIL", EGlyph::Show},
};

}  // namespace

std::vector<EPanelSize> FitRibbonPanels(std::span<const CPanelWidths> panels, int available, int gap) {
    std::vector<EPanelSize> sizes(panels.size(), EPanelSize::Large);
    const int gaps = panels.empty() ? 0 : gap * static_cast<int>(panels.size() - 1);
    auto total = [&] {
        int sum = gaps;
        for (size_t i = 0; i < panels.size(); ++i) sum += Width(panels[i], sizes[i]);
        return sum;
    };
    for (EPanelSize step : {EPanelSize::Small, EPanelSize::Collapsed}) {
        for (size_t i = panels.size(); i-- > 0;) {
            if (total() <= available) return sizes;
            sizes[i] = step;
        }
    }
    return sizes;
}

int CategoryAfterChange(int current, int lastRegular, const std::vector<bool>& shown) {
    auto isShown = [&](int i) { return i >= 0 && i < static_cast<int>(shown.size()) && shown[i]; };
    if (isShown(current)) return current;
    if (isShown(lastRegular)) return lastRegular;
    for (int i = 0; i < static_cast<int>(shown.size()); ++i)
        if (shown[i]) return i;
    return -1;
}

EGlyph CommandGlyph(std::string_view ident) {
    // The identifier's kind ("ID_BUTTON_", "ID_CHECK_") says nothing of what it does.
    for (std::string_view prefix : {"ID_BUTTON_", "ID_CHECK_", "ID_BTN_", "ID_SPIN_", "ID_COMBO_", "ID_EDIT_",
                                    "ID_FILE_", "ID_APP_", "ID_"}) {
        if (ident.starts_with(prefix)) {
            ident.remove_prefix(prefix.size());
            break;
        }
    }
    for (const CGlyphWord& w : kGlyphWords)
        if (ident.find(w.word) != std::string_view::npos) return w.glyph;
    return EGlyph::Letter;
}

}  // namespace zor2
