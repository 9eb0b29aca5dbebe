// Chart and value-window commands: deleting, the shared chart colours, chart
// settings and scale, "Apply to All", value-window settings and texts.
#include <cmath>

#include "aids_fixture.h"

namespace zor2::test {
namespace {

class ChartsCommandsTest : public AidsTest {
  protected:
    ChartsCommandsTest() {
        m_c1 = NewChart(m_a);
        m_c2 = NewChart(m_b);
        m_w1 = NewValueWindow(m_a);
        m_w2 = NewValueWindow(m_b);
        Ed().ClearSelection();
        Ed().m_charts = {m_c1->m_id, m_c2->m_id};
        Ed().m_valueWindows = {m_w1->m_id, m_w2->m_id};
    }
    CChart* m_c1 = nullptr;
    CChart* m_c2 = nullptr;
    CValueWindow* m_w1 = nullptr;
    CValueWindow* m_w2 = nullptr;
};

TEST_F(ChartsCommandsTest, ChartSettingsAreSetSavedUndoneAndRangeChecked) {
    CheckFieldRows<EChartField, CChart>(
        {
            {EChartField::AutoScale, "auto scale", 0, 0, 1},
            {EChartField::ShowRange, "show range", 1, 0, 1},
            {EChartField::ShowAxis, "show axis", 0, 0, 1},
            {EChartField::ShowGridlines, "show gridlines", 0, 0, 1},
            {EChartField::LockLocation, "lock location", 1, 0, 1},
            {EChartField::SizeCode, "size", 3, 1, 3},
        },
        {m_c1->m_id, m_c2->m_id}, SetChartField, ChartField,
        [](CSystem& s, int32_t id) { return s.m_charts.m_charts.Find(id); });
}

TEST_F(ChartsCommandsTest, SizeCodeKeepsTheTopLeftCorner) {
    const CRect r = m_c1->m_rect;
    ASSERT_EQ(SetChartField(m_doc, EChartField::SizeCode, 2), ECmd::Done);
    EXPECT_EQ(m_c1->m_rect, (CRect{r.left, r.top, r.left + 360, r.top + 216}));
    auto loaded = Reloaded();
    EXPECT_EQ(loaded->m_charts.m_charts.Find(m_c1->m_id)->m_rect, m_c1->m_rect);
}

TEST_F(ChartsCommandsTest, ScaleIsAppliedOrRefusedWithAMessage) {
    struct Case {
        const char* name;
        CChartScale scale;
        ECmd expected;
        const char* message;  // for a refusal
    };
    const double nan = std::nan("");
    const Case cases[] = {
        {"a fixed scale", {-5.0, 5.0, 1.0, 0.5}, ECmd::Done, nullptr},
        {"the same again", {-5.0, 5.0, 1.0, 0.5}, ECmd::Unavailable, nullptr},
        {"maximum equal to minimum",
         {2.0, 2.0, 1.0, 0.5},
         ECmd::Refused,
         "The maximum value must be greater than the minimum value."},
        {"maximum below minimum",
         {3.0, -3.0, 1.0, 0.5},
         ECmd::Refused,
         "The maximum value must be greater than the minimum value."},
        {"a negative increment", {0.0, 10.0, -1.0, 0.5}, ECmd::Refused, "The increments cannot be negative."},
        {"not a number",
         {nan, 10.0, 1.0, 0.5},
         ECmd::Refused,
         "Please enter a number in each box of the scale."},
        {"infinite",
         {0.0, HUGE_VAL, 1.0, 0.5},
         ECmd::Refused,
         "Please enter a number in each box of the scale."},
        {"another fixed scale", {0.0, 1000.0, 100.0, 0.0}, ECmd::Done, nullptr},
    };
    CChartScale last;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t before = Changes();
        const size_t messages = m_prompter.m_messages.size();
        EXPECT_EQ(ApplyChartScale(m_doc, c.scale), c.expected);
        EXPECT_EQ(Changes() - before, c.expected == ECmd::Done ? 1u : 0u);
        if (c.message) {
            ASSERT_EQ(m_prompter.m_messages.size(), messages + 1);
            EXPECT_EQ(LastMessage(), c.message);
        }
        if (c.expected == ECmd::Done) last = c.scale;
        for (const CChart* chart : {m_c1, m_c2}) {
            const CChartScale s = ChartScale(*chart);
            EXPECT_EQ(s.minimum, last.minimum);
            EXPECT_EQ(s.maximum, last.maximum);
            EXPECT_EQ(s.majorIncrement, last.majorIncrement);
            EXPECT_EQ(s.minorIncrement, last.minorIncrement);
            EXPECT_FALSE(chart->m_autoScale);
        }
    }
    const auto reloaded = Reloaded();  // the saved project lives while `saved` is read
    const CChart* saved = reloaded->m_charts.m_charts.Find(m_c2->m_id);
    EXPECT_EQ(saved->m_max, 1000.0);
    EXPECT_EQ(saved->m_majorIncrement, 100.0);
    EXPECT_FALSE(saved->m_autoScale);

    // Switching auto scale back on starts again from 0..100.
    ASSERT_EQ(SetChartField(m_doc, EChartField::AutoScale, 1), ECmd::Done);
    EXPECT_EQ(m_c1->m_min, 0.0);
    EXPECT_EQ(m_c1->m_max, 100.0);
}

TEST_F(ChartsCommandsTest, ApplyToAllCopiesOptionsWithinTheModule) {
    // A third chart in another module must stay as it is.
    Ed().ShowSystem();
    CNetwork* other = DesignNewModule();
    CChart* foreign = NewChart(Add(kConstant, 50, 50));
    Ed().DesignModule(m_module->m_id);
    const CRect c2Rect = m_c2->m_rect;

    m_c1->m_showAxis = false;
    m_c1->m_showRange = true;
    m_c1->m_autoScale = false;
    m_c1->m_min = -1.0;
    m_c1->m_max = 1.0;
    m_c1->m_lockLocation = true;
    m_c1->SetSizeCode(3);
    Ed().m_charts = {m_c1->m_id};
    const size_t before = Changes();
    EXPECT_EQ(ApplyChartOptionsToAll(m_doc), ECmd::Done);
    EXPECT_EQ(ApplyChartOptionsToAll(m_doc), ECmd::Unavailable);
    EXPECT_EQ(Changes() - before, 1u);

    EXPECT_FALSE(m_c2->m_showAxis);
    EXPECT_TRUE(m_c2->m_showRange);
    EXPECT_FALSE(m_c2->m_autoScale);
    EXPECT_EQ(m_c2->m_min, -1.0);
    EXPECT_EQ(m_c2->m_max, 1.0);
    // Place, size and lock stay each chart's own.
    EXPECT_EQ(m_c2->m_rect, c2Rect);
    EXPECT_EQ(m_c2->m_sizeCode, 1);
    EXPECT_FALSE(m_c2->m_lockLocation);
    EXPECT_TRUE(foreign->m_showAxis);
    EXPECT_TRUE(foreign->m_autoScale);
    EXPECT_NE(other->m_id, m_module->m_id);

    Ed().m_charts.clear();
    EXPECT_EQ(ApplyChartOptionsToAll(m_doc), ECmd::Unavailable);
}

TEST_F(ChartsCommandsTest, ChartColoursBelongToTheSystem) {
    struct Case {
        EChartColour which;
        const char* name;
        int32_t value;
        int32_t CSystem::*field;
    };
    const Case cases[] = {
        {EChartColour::Background, "background", 0x102030, &CSystem::m_chartBackground},
        {EChartColour::Data, "data", 0x00FF00, &CSystem::m_chartData},
        {EChartColour::Grid, "grid", 0x000000, &CSystem::m_chartGrid},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int32_t old = Sys().*c.field;
        const size_t before = Changes();
        EXPECT_EQ(SetChartColour(m_doc, c.which, -1), ECmd::Refused);
        EXPECT_EQ(SetChartColour(m_doc, c.which, 0x1000000), ECmd::Refused);
        EXPECT_EQ(SetChartColour(m_doc, c.which, old), ECmd::Unavailable);
        EXPECT_EQ(SetChartColour(m_doc, c.which, c.value), ECmd::Done);
        EXPECT_EQ(Changes() - before, 1u);
        EXPECT_EQ(ChartColour(m_doc, c.which), c.value);
        EXPECT_EQ(Reloaded().get()->*c.field, c.value);
    }
    // Each button set its own colour.
    EXPECT_EQ(Sys().m_chartBackground, 0x102030);
    EXPECT_EQ(Sys().m_chartData, 0x00FF00);
    EXPECT_EQ(Sys().m_chartGrid, 0x000000);
}

TEST_F(ChartsCommandsTest, DeletingChartsAndValueWindows) {
    struct Case {
        const char* name;
        std::vector<int32_t> charts, windows;  // selected
        ECmd (*command)(Czor2Doc&);
        ECmd expected;
        size_t chartsLeft, windowsLeft;
    };
    const int32_t c1 = m_c1->m_id, w2 = m_w2->m_id;
    const Case cases[] = {
        {"delete the selected chart", {c1}, {}, DeleteSelectedCharts, ECmd::Done, 1, 2},
        {"delete it again", {c1}, {}, DeleteSelectedCharts, ECmd::Unavailable, 1, 2},
        {"remove the selected window", {}, {w2}, RemoveSelectedValueWindows, ECmd::Done, 1, 1},
        {"remove with none selected", {}, {}, RemoveSelectedValueWindows, ECmd::Unavailable, 1, 1},
        {"delete all charts", {}, {}, DeleteAllCharts, ECmd::Done, 0, 1},
        {"delete all with none left", {}, {}, DeleteAllCharts, ECmd::Unavailable, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ed().m_charts = c.charts;
        Ed().m_valueWindows = c.windows;
        const size_t before = Changes();
        EXPECT_EQ(c.command(m_doc), c.expected);
        EXPECT_EQ(Changes() - before, c.expected == ECmd::Done ? 1u : 0u);
        EXPECT_EQ(Sys().m_charts.m_charts.Size(), c.chartsLeft);
        EXPECT_EQ(Sys().m_valueWindows.m_windows.Size(), c.windowsLeft);
        if (c.expected == ECmd::Done) {
            EXPECT_TRUE(Ed().m_charts.empty());
            EXPECT_TRUE(Ed().m_valueWindows.empty());
        }
    }
    EXPECT_EQ(Reloaded()->m_valueWindows.m_windows.Size(), 1u);
}

TEST_F(ChartsCommandsTest, DeleteAllChartsKeepsOtherModulesCharts) {
    Ed().ShowSystem();
    DesignNewModule();
    NewChart(Add(kConstant, 50, 50));
    ASSERT_EQ(Sys().m_charts.m_charts.Size(), 3u);
    EXPECT_EQ(DeleteAllCharts(m_doc), ECmd::Done);  // the new module's one chart
    EXPECT_EQ(Sys().m_charts.m_charts.Size(), 2u);
    Ed().ShowSystem();
    EXPECT_EQ(DeleteAllCharts(m_doc), ECmd::Done);  // the system view: every chart
    EXPECT_EQ(Sys().m_charts.m_charts.Size(), 0u);
}

TEST_F(ChartsCommandsTest, ValueWindowSettingsAreSetSavedAndRangeChecked) {
    CheckFieldRows<EValueWindowField, CValueWindow>(
        {
            {EValueWindowField::Transparent, "transparent", 1, 0, 1},
            {EValueWindowField::Background, "background", 0xABCDEF, 0, 0xFFFFFF},
            {EValueWindowField::FontSize, "font size", 30, 1, 200},
            {EValueWindowField::Precision, "precision", 3, 0, 15},
            {EValueWindowField::ShowSuffix, "show suffix", 0, 0, 1},
            {EValueWindowField::ShowTitle, "show title", 0, 0, 1},
            {EValueWindowField::ShowOutline, "show outline", 0, 0, 1},
            {EValueWindowField::ShowComponentName, "show component name", 0, 0, 1},
        },
        {m_w1->m_id, m_w2->m_id}, SetValueWindowField, ValueWindowField,
        [](CSystem& s, int32_t id) { return s.m_valueWindows.m_windows.Find(id); });
}

TEST_F(ChartsCommandsTest, SettingsDialogAppliesEverythingAsOneChange) {
    CValueWindowSettings s = ValueWindowSettings(*m_w1);
    EXPECT_EQ(s.Text(EValueWindowText::Title), m_w1->m_title);
    const size_t before = Changes();
    EXPECT_EQ(ApplyValueWindowSettings(m_doc, m_w1->m_id, s), ECmd::Unavailable);

    CValueWindowSettings bad = s;
    bad.Field(EValueWindowField::Precision) = 16;
    bad.Text(EValueWindowText::Suffix) = "Hz";
    EXPECT_EQ(ApplyValueWindowSettings(m_doc, m_w1->m_id, bad), ECmd::Refused);
    bad = s;
    bad.Text(EValueWindowText::FontName).clear();
    EXPECT_EQ(ApplyValueWindowSettings(m_doc, m_w1->m_id, bad), ECmd::Refused);
    EXPECT_EQ(m_w1->m_suffix, "");
    EXPECT_EQ(Changes(), before);

    s.Field(EValueWindowField::Precision) = 1;
    s.Field(EValueWindowField::Transparent) = 1;
    s.Text(EValueWindowText::Suffix) = "rpm";
    s.Text(EValueWindowText::Title) = "Rotor";
    EXPECT_EQ(ApplyValueWindowSettings(m_doc, m_w1->m_id, s), ECmd::Done);
    EXPECT_EQ(Changes() - before, 1u);
    EXPECT_EQ(m_w1->FormatValue(2.25), "2.2 rpm");
    EXPECT_EQ(m_w2->m_suffix, "");  // only the window named
    const auto reloaded = Reloaded();
    const CValueWindow* saved = reloaded->m_valueWindows.m_windows.Find(m_w1->m_id);
    EXPECT_EQ(saved->m_title, "Rotor");
    EXPECT_TRUE(saved->m_transparent);
    EXPECT_EQ(ApplyValueWindowSettings(m_doc, 0, s), ECmd::Unavailable);
}

TEST_F(ChartsCommandsTest, ValueWindowTextsAndTheirDisplay) {
    struct Case {
        EValueWindowText which;
        const char* name;
        const char* text;
    };
    const Case cases[] = {
        {EValueWindowText::FontName, "font", "Courier"},
        {EValueWindowText::Suffix, "suffix", "Hz"},
        {EValueWindowText::Title, "caption", "Rotor speed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const size_t before = Changes();
        EXPECT_EQ(SetValueWindowText(m_doc, c.which, c.text), ECmd::Done);
        EXPECT_EQ(SetValueWindowText(m_doc, c.which, c.text), ECmd::Unavailable);
        EXPECT_EQ(Changes() - before, 1u);
        EXPECT_EQ(ValueWindowText(*m_w2, c.which), c.text);
        EXPECT_EQ(ValueWindowText(*Reloaded()->m_valueWindows.m_windows.Find(m_w1->m_id), c.which), c.text);
    }
    EXPECT_EQ(SetValueWindowText(m_doc, EValueWindowText::FontName, ""), ECmd::Refused);
    EXPECT_EQ(SetValueWindowText(m_doc, EValueWindowText::Suffix, ""), ECmd::Done);  // no suffix is fine
    ASSERT_EQ(SetValueWindowText(m_doc, EValueWindowText::Suffix, "Hz"), ECmd::Done);

    ASSERT_EQ(SetValueWindowField(m_doc, EValueWindowField::Precision, 3), ECmd::Done);
    EXPECT_EQ(m_w1->FormatValue(1.5), "1.500 Hz");
    ASSERT_EQ(SetValueWindowField(m_doc, EValueWindowField::ShowSuffix, 0), ECmd::Done);
    EXPECT_EQ(m_w1->FormatValue(1.5), "1.500");

    Ed().m_valueWindows.clear();
    EXPECT_EQ(SetValueWindowText(m_doc, EValueWindowText::Title, "x"), ECmd::Unavailable);
    EXPECT_EQ(SetValueWindowField(m_doc, EValueWindowField::Precision, 4), ECmd::Unavailable);
}

}  // namespace
}  // namespace zor2::test
