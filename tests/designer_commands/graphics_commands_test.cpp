// Background graphic commands: settings, text, order, size, alignment, copy and
// paste, and the graphic parts of "Delete selected items" and "Release components".
#include "aids_fixture.h"

namespace zor2::test {
namespace {

class GraphicsCommandsTest : public AidsTest {
  protected:
    GraphicsCommandsTest() {
        m_g1 = NewGraphic(0, 0);
        m_g2 = NewGraphic(400, 300);
        Ed().m_graphics = {m_g1->m_id, m_g2->m_id};
    }
    std::vector<int32_t> ListOrder() {
        std::vector<int32_t> ids;
        for (const CGraphic* g : Sys().m_graphics.m_graphics) ids.push_back(g->m_id);
        return ids;
    }
    CGraphic* m_g1 = nullptr;
    CGraphic* m_g2 = nullptr;
};

TEST_F(GraphicsCommandsTest, EverySettingIsSetSavedUndoneAndRangeChecked) {
    CheckFieldRows<EGraphicField, CGraphic>(
        {
            {EGraphicField::AlignH, "horizontal alignment", 2, 0, 2},
            {EGraphicField::AlignV, "vertical alignment", 1, 0, 2},
            {EGraphicField::Bold, "bold", 1, 0, 1},
            {EGraphicField::FontSize, "font size", 24, 1, 200},
            {EGraphicField::Transparent, "transparent", 0, 0, 1},
            {EGraphicField::Background, "background", 0x123456, 0, 0xFFFFFF},
            {EGraphicField::Edges3d, "3D edges", 1, 0, 1},
            {EGraphicField::Outline, "outline", 0, 0, 1},
            {EGraphicField::LineWidth, "line width", 4, 0, 10},
        },
        {m_g1->m_id, m_g2->m_id}, SetGraphicField, GraphicField,
        [](CSystem& s, int32_t id) { return s.m_graphics.m_graphics.Find(id); });
}

TEST_F(GraphicsCommandsTest, PropertiesDialogAppliesEverythingAsOneChange) {
    m_g1->m_outline = false;  // switched off by hand with a width of 0
    CGraphicSettings s = GraphicSettings(*m_g1);
    const size_t before = Changes();
    EXPECT_EQ(ApplyGraphicSettings(m_doc, m_g1->m_id, s), ECmd::Unavailable);  // OK without an edit
    EXPECT_FALSE(m_g1->m_outline);

    struct Case {
        const char* name;
        void (*edit)(CGraphicSettings&);
        ECmd expected;
    };
    const Case cases[] = {
        {"a font size too large", [](CGraphicSettings& t) { t.Field(EGraphicField::FontSize) = 201; },
         ECmd::Refused},
        {"no font name", [](CGraphicSettings& t) { t.fontName.clear(); }, ECmd::Refused},
        {"a negative colour", [](CGraphicSettings& t) { t.Field(EGraphicField::Background) = -1; },
         ECmd::Refused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CGraphicSettings bad = s;
        bad.text = "changed";
        c.edit(bad);
        EXPECT_EQ(ApplyGraphicSettings(m_doc, m_g1->m_id, bad), c.expected);
        EXPECT_EQ(m_g1->m_text, kGraphicHint);
    }
    EXPECT_EQ(Changes(), before);

    s.Field(EGraphicField::AlignH) = 1;
    s.Field(EGraphicField::Bold) = 1;
    s.Field(EGraphicField::LineWidth) = 2;
    s.fontName = "Courier";
    s.text = "Sensors";
    EXPECT_EQ(ApplyGraphicSettings(m_doc, m_g1->m_id, s), ECmd::Done);
    EXPECT_EQ(Changes() - before, 1u);
    EXPECT_EQ(m_g1->m_alignH, 1);
    EXPECT_TRUE(m_g1->m_bold);
    EXPECT_TRUE(m_g1->m_outline);  // the new width turned it on
    EXPECT_EQ(m_g1->m_text, "Sensors");
    EXPECT_EQ(m_g2->m_text, kGraphicHint);  // only the graphic named
    const auto reloaded = Reloaded();       // the saved project lives while `saved` is read
    const CGraphic* saved = reloaded->m_graphics.m_graphics.Find(m_g1->m_id);
    EXPECT_EQ(saved->m_fontName, "Courier");
    EXPECT_EQ(saved->m_lineWidth, 2);
    EXPECT_EQ(ApplyGraphicSettings(m_doc, 0, s), ECmd::Unavailable);
}

TEST_F(GraphicsCommandsTest, LineWidthSwitchesTheOutline) {
    struct Case {
        const char* name;
        bool outlineBefore;  // switched by hand first
        int32_t width;
        ECmd expected;
        bool outline;
    };
    const Case cases[] = {
        {"width 0 turns a new graphic's outline off", true, 0, ECmd::Done, false},
        {"width 3 turns it on", false, 3, ECmd::Done, true},
        {"width 3 again changes nothing", true, 3, ECmd::Unavailable, true},
        {"the same width turns a hand-switched outline back on", false, 3, ECmd::Done, true},
        {"width 10 is the largest", true, 10, ECmd::Done, true},
        {"width 11 is refused", true, 11, ECmd::Refused, true},
    };
    Ed().m_graphics = {m_g1->m_id};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_g1->m_outline = c.outlineBefore;
        const size_t before = Changes();
        EXPECT_EQ(SetGraphicField(m_doc, EGraphicField::LineWidth, c.width), c.expected);
        EXPECT_EQ(Changes() - before, c.expected == ECmd::Done ? 1u : 0u);
        EXPECT_EQ(m_g1->m_outline, c.outline);
    }
}

TEST_F(GraphicsCommandsTest, FontSizeStepsStopAtTheLimits) {
    struct Case {
        int32_t start, delta;
        ECmd expected;
        int32_t size;
    };
    const Case cases[] = {
        {10, 1, ECmd::Done, 11},          {10, -1, ECmd::Done, 9},        {1, -1, ECmd::Unavailable, 1},
        {200, 1, ECmd::Unavailable, 200}, {10, 0, ECmd::Unavailable, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start << " by " << c.delta);
        m_g1->m_fontSize = m_g2->m_fontSize = c.start;
        EXPECT_EQ(StepGraphicFontSize(m_doc, c.delta), c.expected);
        EXPECT_EQ(m_g1->m_fontSize, c.size);
        EXPECT_EQ(m_g2->m_fontSize, c.size);
    }
}

TEST_F(GraphicsCommandsTest, FontAndTextCommands) {
    const size_t before = Changes();
    EXPECT_EQ(SetGraphicFont(m_doc, ""), ECmd::Refused);
    EXPECT_EQ(SetGraphicFont(m_doc, "Courier"), ECmd::Done);
    EXPECT_EQ(SetGraphicFont(m_doc, "Courier"), ECmd::Unavailable);
    EXPECT_EQ(m_g2->m_fontName, "Courier");
    EXPECT_EQ(ClearGraphicText(m_doc), ECmd::Done);
    EXPECT_EQ(m_g1->m_text, "");
    EXPECT_EQ(ClearGraphicText(m_doc), ECmd::Unavailable);
    EXPECT_EQ(SetGraphicText(m_doc, m_g1->m_id, "Inputs stage"), ECmd::Done);
    EXPECT_EQ(SetGraphicText(m_doc, m_g1->m_id, "Inputs stage"), ECmd::Unavailable);
    EXPECT_EQ(SetGraphicText(m_doc, 0, "x"), ECmd::Unavailable);
    EXPECT_EQ(Changes() - before, 3u);
    auto loaded = Reloaded();
    const CGraphic* g = loaded->m_graphics.m_graphics.Find(m_g1->m_id);
    EXPECT_EQ(g->m_text, "Inputs stage");
    EXPECT_EQ(g->m_fontName, "Courier");
    EXPECT_EQ(loaded->m_graphics.m_graphics.Find(m_g2->m_id)->m_text, "");

    Ed().m_graphics.clear();
    EXPECT_EQ(SetGraphicFont(m_doc, "Arial"), ECmd::Unavailable);
    EXPECT_EQ(SetGraphicField(m_doc, EGraphicField::Bold, 1), ECmd::Unavailable);
}

TEST_F(GraphicsCommandsTest, SendToBackPutsTheSelectionFirstInItsOrder) {
    CGraphic* g3 = NewGraphic(800, 0);
    const int32_t a = m_g1->m_id, b = m_g2->m_id, c = g3->m_id;
    struct Case {
        const char* name;
        std::vector<int32_t> selected;
        ECmd expected;
        std::vector<int32_t> order;
    };
    const Case cases[] = {
        {"the last one", {c}, ECmd::Done, {c, a, b}},
        {"already at the back", {c}, ECmd::Unavailable, {c, a, b}},
        {"two, selected in reverse", {b, a}, ECmd::Done, {a, b, c}},
        {"nothing selected", {}, ECmd::Unavailable, {a, b, c}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Ed().m_graphics = k.selected;
        const size_t before = Changes();
        EXPECT_EQ(SendGraphicsToBack(m_doc), k.expected);
        EXPECT_EQ(Changes() - before, k.expected == ECmd::Done ? 1u : 0u);
        EXPECT_EQ(ListOrder(), k.order);
    }
    EXPECT_EQ(Reloaded()->m_graphics.m_graphics.Head()->m_id, a);
}

TEST_F(GraphicsCommandsTest, SameSizeFollowsTheFirstSelectedGraphic) {
    struct Case {
        ESameSize which;
        const char* name;
        CRect second;  // m_g2 afterwards
    };
    // The pattern is m_g2 (selected first, 50 x 40); m_g1 keeps its top-left corner.
    const Case cases[] = {
        {ESameSize::Width, "width", {0, 0, 50, 100}},
        {ESameSize::Height, "height", {0, 0, 200, 40}},
        {ESameSize::Size, "size", {0, 0, 50, 40}},
    };
    m_g2->m_rect = {400, 300, 450, 340};
    Ed().m_graphics = {m_g2->m_id, m_g1->m_id};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_g1->m_rect = {0, 0, 200, 100};
        EXPECT_EQ(MakeGraphicsSameSize(m_doc, c.which), ECmd::Done);
        EXPECT_EQ(m_g1->m_rect, c.second);
        EXPECT_EQ(m_g2->m_rect, (CRect{400, 300, 450, 340}));
        EXPECT_EQ(MakeGraphicsSameSize(m_doc, c.which), ECmd::Unavailable);
    }
    Ed().m_graphics = {m_g2->m_id};
    EXPECT_EQ(MakeGraphicsSameSize(m_doc, ESameSize::Size), ECmd::Unavailable);
}

TEST_F(GraphicsCommandsTest, AlignAndDistributeMoveOnlyTheGraphics) {
    m_g1->m_rect = {10, 50, 110, 90};     // 100 x 40
    m_g2->m_rect = {300, 400, 360, 430};  // 60 x 30
    CGraphic* g3 = NewGraphic(150, 200);
    g3->m_rect = {150, 200, 250, 260};  // 100 x 60
    Ed().m_graphics = {m_g1->m_id, m_g2->m_id, g3->m_id};
    Ed().SelectComponents({m_a->m_id, m_b->m_id});
    const CRect a = m_a->m_box;

    struct Case {
        EAlign how;
        const char* name;
        int32_t expected;
    };
    const Case cases[] = {{EAlign::Left, "left", 10},
                          {EAlign::Right, "right", 360},
                          {EAlign::Top, "top", 50},
                          {EAlign::Bottom, "bottom", 430}};
    const std::vector<CRect> start = {m_g1->m_rect, m_g2->m_rect, g3->m_rect};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_g1->m_rect = start[0];
        m_g2->m_rect = start[1];
        g3->m_rect = start[2];
        EXPECT_EQ(Align(m_doc, c.how, EAlignTarget::Graphics), ECmd::Done);
        for (const CGraphic* g : {m_g1, m_g2, g3}) EXPECT_EQ(AlignedEdge(c.how, g->m_rect), c.expected);
        EXPECT_EQ(m_a->m_box, a);
    }
    // Vertical distribution over 50..430: heights 40 + 60 + 30, gap (380 - 130) / 2.
    m_g1->m_rect = start[0];
    m_g2->m_rect = start[1];
    g3->m_rect = start[2];
    EXPECT_EQ(DistributeVertically(m_doc, EAlignTarget::Graphics), ECmd::Done);
    EXPECT_EQ(m_g1->m_rect.top, 50);
    EXPECT_EQ(g3->m_rect.top, 90 + 125);
    EXPECT_EQ(m_g2->m_rect.top, 90 + 125 + 60 + 125);
    EXPECT_EQ(m_a->m_box, a);
    Ed().m_graphics = {m_g1->m_id};
    EXPECT_EQ(DistributeHorizontally(m_doc, EAlignTarget::Graphics), ECmd::Unavailable);
}

TEST_F(GraphicsCommandsTest, PasteGivesFreshIdsAndAnOffset) {
    m_g1->m_text = "first";
    m_g1->m_bold = true;
    CGraphicClipboard clip;
    const size_t before = Changes();
    EXPECT_EQ(CopyGraphics(m_doc, clip), ECmd::Done);
    EXPECT_EQ(Changes(), before);  // copying changes nothing
    ASSERT_FALSE(clip.Empty());

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        const size_t count = Sys().m_graphics.m_graphics.Size();
        EXPECT_EQ(PasteGraphics(m_doc, clip), ECmd::Done);
        ASSERT_EQ(Sys().m_graphics.m_graphics.Size(), count + 2);
        ASSERT_EQ(Ed().m_graphics.size(), 2u);
        const CGraphic* p1 = Sys().m_graphics.m_graphics.Find(Ed().m_graphics[0]);
        const CGraphic* p2 = Sys().m_graphics.m_graphics.Find(Ed().m_graphics[1]);
        ASSERT_TRUE(p1 && p2);
        for (const CGraphic* g : Sys().m_graphics.m_graphics.Snapshot()) {
            if (g != p1) {
                EXPECT_NE(g->m_id, p1->m_id);
            }
        }
        EXPECT_NE(p1->m_id, p2->m_id);
        EXPECT_EQ(p1->m_text, "first");
        EXPECT_TRUE(p1->m_bold);
        EXPECT_EQ(p1->m_rect, (CRect{m_g1->m_rect.left + kPasteOffset, m_g1->m_rect.top + kPasteOffset,
                                     m_g1->m_rect.right + kPasteOffset, m_g1->m_rect.bottom + kPasteOffset}));
        EXPECT_EQ(p2->m_rect.left, m_g2->m_rect.left + kPasteOffset);
    }
    EXPECT_EQ(Changes() - before, 2u);
    EXPECT_EQ(Reloaded()->m_graphics.m_graphics.Size(), 6u);
}

TEST_F(GraphicsCommandsTest, PastedGraphicHoldsNoComponents) {
    m_g1->m_rect = {0, 0, 500, 500};
    ASSERT_EQ(ConsolidateComponents(m_doc, m_g1->m_id), ECmd::Done);
    Ed().m_graphics = {m_g1->m_id};
    CGraphicClipboard clip;
    ASSERT_EQ(CopyGraphics(m_doc, clip), ECmd::Done);
    ASSERT_EQ(PasteGraphics(m_doc, clip), ECmd::Done);
    const CGraphic* pasted = Sys().m_graphics.m_graphics.Find(Ed().m_graphics[0]);
    EXPECT_EQ(pasted->CountHeld(*m_module), 0);
    EXPECT_EQ(m_g1->CountHeld(*m_module), 2);
}

TEST_F(GraphicsCommandsTest, UnreadableClipboardChangesNothing) {
    CGraphicClipboard good;
    ASSERT_EQ(CopyGraphics(m_doc, good), ECmd::Done);
    auto with = [&good](auto edit) {
        CGraphicClipboard c = good;
        edit(c.bytes);
        return c;
    };
    struct Case {
        const char* name;
        CGraphicClipboard clip;
        ECmd expected;
    };
    const Case cases[] = {
        {"empty", {}, ECmd::Unavailable},
        {"cut short", with([](std::vector<uint8_t>& b) { b.resize(b.size() - 3); }), ECmd::Refused},
        {"a trailing byte", with([](std::vector<uint8_t>& b) { b.push_back(0); }), ECmd::Refused},
        {"a huge count", with([](std::vector<uint8_t>& b) { b[0] = b[1] = b[2] = 0xFF, b[3] = 0x7F; }),
         ECmd::Refused},
        {"a negative count", with([](std::vector<uint8_t>& b) { b[3] = 0x80; }), ECmd::Refused},
        {"a zero count", {{0, 0, 0, 0}}, ECmd::Refused},
        {"a string longer than the bytes", with([](std::vector<uint8_t>& b) {
             b.resize(12);
             b[8] = 0xFF;
         }),
         ECmd::Refused},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t before = Changes(), count = Sys().m_graphics.m_graphics.Size();
        const size_t messages = m_prompter.m_messages.size();
        EXPECT_EQ(PasteGraphics(m_doc, c.clip), c.expected);
        EXPECT_EQ(Changes(), before);
        EXPECT_EQ(Sys().m_graphics.m_graphics.Size(), count);
        if (c.expected == ECmd::Refused) {
            ASSERT_EQ(m_prompter.m_messages.size(), messages + 1);
            EXPECT_EQ(LastMessage(), "The clipboard does not hold graphics that can be pasted.");
        }
    }
    EXPECT_EQ(Ed().m_graphics, (std::vector<int32_t>{m_g1->m_id, m_g2->m_id}));
}

TEST_F(GraphicsCommandsTest, PastedSettingsOutOfRangeAreKeptInRange) {
    m_g1->m_fontSize = 5000;
    m_g1->m_alignH = -3;
    m_g1->m_lineWidth = 99;
    Ed().m_graphics = {m_g1->m_id};
    CGraphicClipboard clip;
    ASSERT_EQ(CopyGraphics(m_doc, clip), ECmd::Done);
    ASSERT_EQ(PasteGraphics(m_doc, clip), ECmd::Done);
    const CGraphic* p = Sys().m_graphics.m_graphics.Find(Ed().m_graphics[0]);
    EXPECT_EQ(p->m_fontSize, 200);
    EXPECT_EQ(p->m_alignH, 0);
    EXPECT_EQ(p->m_lineWidth, 10);
}

TEST_F(GraphicsCommandsTest, DeleteSelectedItemsReportsTheGraphics) {
    struct Case {
        const char* name;
        bool withChart;
        const char* top;
        const char* second;  // the line below it, or null
    };
    const Case cases[] = {
        {"graphics only", false, "Deleted graphics from system module", nullptr},
        {"a chart and graphics", true, "Deleted graphics from system module",
         "Deleted chart from system module"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CGraphic* g = NewGraphic(10, 10);
        const int32_t id = g->m_id;
        Ed().ClearSelection();
        Ed().m_graphics = {id};
        if (c.withChart) Ed().m_charts = {NewChart(m_a)->m_id};
        Answer({EAnswer::Yes});
        const size_t before = Changes();
        EXPECT_EQ(DeleteSelectedItems(m_doc), ECmd::Done);
        EXPECT_EQ(Changes() - before, 1u);
        EXPECT_EQ(LastQuestion(), "Are you sure you want to delete the currently selected items?");
        EXPECT_EQ(Sys().m_graphics.m_graphics.Find(id), nullptr);
        EXPECT_EQ(TopLine(), c.top);
        if (c.second) {
            EXPECT_EQ(Sys().Feedback().build.Line(1), c.second);
        }
        EXPECT_TRUE(Ed().m_graphics.empty());
    }
}

TEST_F(GraphicsCommandsTest, ReleaseComponentsAsksFirst) {
    m_g1->m_rect = {0, 0, 200, 200};  // holds m_a only
    ASSERT_EQ(ConsolidateComponents(m_doc, m_g1->m_id), ECmd::Done);
    ASSERT_EQ(m_g1->CountHeld(*m_module), 1);
    struct Case {
        EAnswer answer;
        ECmd expected;
        int32_t held;
    };
    const Case cases[] = {{EAnswer::No, ECmd::Cancelled, 1}, {EAnswer::Yes, ECmd::Done, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        Answer({c.answer});
        const size_t before = Changes();
        EXPECT_EQ(ReleaseComponents(m_doc, m_g1->m_id), c.expected);
        EXPECT_EQ(
            LastQuestion(),
            "This graphic has 1 consolidated component inside. Internal component(s) will be released and remain with all connections unaffected in their original positions. Do you want to continue?");
        EXPECT_EQ(Changes() - before, c.expected == ECmd::Done ? 1u : 0u);
        EXPECT_EQ(m_g1->CountHeld(*m_module), c.held);
    }
    EXPECT_EQ(TopLine(), "Released 1 consolidated component(s) from graphic element in system module [" +
                             m_module->m_name + "] .");
    EXPECT_EQ(m_a->m_graphicId, 0);
    // Nothing left to release: no question.
    const size_t questions = m_prompter.m_questions.size();
    EXPECT_EQ(ReleaseComponents(m_doc, m_g1->m_id), ECmd::Unavailable);
    EXPECT_EQ(m_prompter.m_questions.size(), questions);
}

}  // namespace
}  // namespace zor2::test
