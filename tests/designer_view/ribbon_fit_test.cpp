// The ribbon's rules without a window: panels shrinking to a width, the
// category shown as context categories come and go, and command glyphs.
#include "designer/ribbon_fit.h"

#include <gtest/gtest.h>

#include "designer/command_rows.h"

namespace zor2 {
namespace {

using enum EPanelSize;

TEST(RibbonFit, PanelsShrinkFromTheLastOneStepAtATime) {
    const std::vector<CPanelWidths> panels = {{300, 200, 60}, {200, 150, 60}, {100, 80, 60}};
    struct Case {
        const char* name;
        int available;
        std::vector<EPanelSize> sizes;
    };
    // Gaps of 10 between three panels: 20 beyond the widths.
    const Case cases[] = {
        {"everything large", 620, {Large, Large, Large}},
        {"last panel small", 600, {Large, Large, Small}},
        {"last two small", 550, {Large, Small, Small}},
        {"all small", 450, {Small, Small, Small}},
        {"last collapses once all are small", 440, {Small, Small, Collapsed}},
        {"two collapse", 400, {Small, Collapsed, Collapsed}},
        {"all collapse", 200, {Collapsed, Collapsed, Collapsed}},
        {"too narrow for anything: all collapse", 10, {Collapsed, Collapsed, Collapsed}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FitRibbonPanels(panels, c.available, 10), c.sizes);
    }
    EXPECT_TRUE(FitRibbonPanels({}, 0, 10).empty());
}

TEST(RibbonFit, CategoryAfterContextCategoriesChange) {
    struct Case {
        const char* name;
        int current, lastRegular;
        std::vector<bool> shown;
        int expected;
    };
    const Case cases[] = {
        {"current stays while shown", 1, 1, {true, true, true}, 1},
        {"a context category appears: the current stays", 0, 0, {true, true, true}, 0},
        {"current context category hidden: back to the one before", 2, 1, {true, true, false}, 1},
        {"the one before hidden as well: the first shown", 2, 1, {false, false, false, true}, 3},
        {"nothing shown", 0, 0, {false, false}, -1},
        {"no current yet", -1, 0, {true}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CategoryAfterChange(c.current, c.lastRegular, c.shown), c.expected);
    }
}

TEST(RibbonFit, GlyphsByTheWordsOfTheIdentifier) {
    struct Case {
        const char* ident;
        EGlyph glyph;
    };
    const Case cases[] = {
        {"ID_BUTTON_UNDO", EGlyph::Undo},
        {"ID_BUTTON_DELETE_MODELINPUT", EGlyph::Delete},
        {"ID_BUTTON_MODULE_ADDINPUT", EGlyph::Add},
        {"ID_BUTTON_REMOVEMODEL_INPUTCONNECTION", EGlyph::Disconnect},
        {"ID_BUTTON_EDIT_SYSTEMINPUT", EGlyph::Edit},
        {"ID_EDIT_CHARTMAX", EGlyph::Chart},
        {"ID_BUTTON_SAVEMODULE", EGlyph::Export},
        {"ID_FILE_SAVE_AS", EGlyph::Save},
        {"ID_CHECK_MODULE_SHOWVALUES", EGlyph::Value},
        {"ID_BUTTON_CLR_GRAPHIC_BACK", EGlyph::Colour},
        {"ID_SOMETHING", EGlyph::Letter},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ident);
        EXPECT_EQ(CommandGlyph(c.ident), c.glyph);
    }
    // Most commands get a picture of what they do, not only a letter.
    size_t letters = 0;
    for (const CRibbonRow& r : RibbonRows()) letters += CommandGlyph(r.ident) == EGlyph::Letter;
    EXPECT_LT(letters * 4, RibbonRows().size()) << letters << " of " << RibbonRows().size();
}

}  // namespace
}  // namespace zor2
