// Charts, value windows and graphics: history and its clearing, texts,
// consolidation, removal with their output, and their records.
#include <gtest/gtest.h>

#include "engine/system.h"
#include "persistence/archive.h"
#include "persistence/project_file.h"
#include "support/system_builder.h"

namespace zor2 {
namespace {

struct Fixture {
    Fixture() {
        module = system.CreateModule("M", 0, 0);
        constant = test::DropConstant(*module, 1.0);
        chart = system.m_charts.AddChart(system.Random());
        chart->Attach(module, constant, constant->FirstOutput());
    }
    CSystem system;
    CNetwork* module = nullptr;
    CNetworkModel* constant = nullptr;
    CChart* chart = nullptr;
};

TEST(Charts, HistoryKeepsTheLastTwoHundredValues) {
    Fixture f;
    for (int i = 1; i <= 250; ++i) {
        f.constant->m_value = i;
        f.system.RunCycle();
    }
    EXPECT_EQ(f.chart->Count(), CChart::kHistorySize);
    EXPECT_EQ(f.chart->Value(0), 51.0);
    EXPECT_EQ(f.chart->Value(199), 250.0);
    EXPECT_EQ(f.chart->ProcessedText(), "Pts processed: 250");
    EXPECT_EQ(f.chart->CurrentText(), "Current: 250.00");
}

TEST(Charts, ClearingOnAttachAndResetFollowsAutoScale) {
    struct Case {
        const char* name;
        bool autoScale;
        bool attachAgain;  // else: system reset
        double min, max;
    };
    const Case cases[] = {
        {"reset, auto scale", true, false, 0.0, 100.0},
        {"reset, fixed range", false, false, -3.0, 3.0},
        {"attach, auto scale", true, true, 0.0, 100.0},
        {"attach, fixed range", false, true, -3.0, 3.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fixture f;
        f.chart->m_autoScale = c.autoScale;
        f.chart->m_min = -3.0;
        f.chart->m_max = 3.0;
        for (int i = 0; i < 5; ++i) f.system.RunCycle();
        ASSERT_EQ(f.chart->Count(), 5);
        if (c.attachAgain)
            f.chart->Attach(f.module, f.constant, f.constant->FirstOutput());
        else
            f.system.ResetSystem();
        EXPECT_EQ(f.chart->Count(), 0);
        EXPECT_EQ(f.chart->Processed(), 0);
        EXPECT_EQ(f.chart->m_min, c.min);
        EXPECT_EQ(f.chart->m_max, c.max);
    }
}

TEST(Charts, FeedbackOutputsPlotZeroUntilPrimedAndOnOffTexts) {
    Fixture f;
    CNetworkModel* fb = test::Drop(*f.module, 56, 300, 100);
    ASSERT_EQ(f.module->RequestConnect(*f.constant, f.constant->FirstOutput(), *fb, fb->FirstInput()), 0);
    fb->ResetValues();
    fb->FirstOutput()->m_value = 9.0;
    CChart* chart = f.system.m_charts.AddChart(f.system.Random());
    chart->Attach(f.module, fb, fb->FirstOutput());
    chart->Refresh();
    EXPECT_EQ(chart->Value(0), 0.0);

    CModelOutput* out = f.constant->FirstOutput();
    out->m_dataType = kDataOnOff;
    struct Case {
        double value;
        const char* text;
    };
    for (const Case& c :
         {Case{1.0, "ON (1)"}, Case{0.0, "OFF (0)"}, Case{-2.0, "OFF (0)"}, Case{0.5, "ON (1)"}}) {
        out->m_value = c.value;
        EXPECT_EQ(f.chart->CurrentText(), c.text) << c.value;
    }
}

TEST(Charts, SizeCodesResizeFromTheTopLeftCorner) {
    struct Case {
        int32_t code;
        bool ok;
        CRect rect;
    };
    const Case cases[] = {{1, true, {10, 20, 210, 140}},
                          {2, true, {10, 20, 370, 236}},
                          {3, true, {10, 20, 530, 332}},
                          {4, false, {10, 20, 99, 99}},
                          {0, false, {10, 20, 99, 99}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        CChart chart;
        chart.m_rect = {10, 20, 99, 99};
        EXPECT_EQ(chart.SetSizeCode(c.code), c.ok);
        EXPECT_EQ(chart.m_rect, c.rect);
    }
}

TEST(ValueWindows, ValueTextFollowsPrecisionAndSuffix) {
    struct Case {
        int32_t precision;
        const char* suffix;
        bool showSuffix;
        double value;
        std::string expected;
    };
    const Case cases[] = {
        {3, "Hz", true, 1.5, "1.500 Hz"},
        {3, "Hz", false, 1.5, "1.500"},
        {0, "", true, 2.7, "3 "},
        {2, "V", true, -0.125, "-0.12 V"},
        {1000000, "", false, 1.0, "1." + std::string(30, '0')},  // a damaged precision stays bounded
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        CValueWindow w;
        w.m_precision = c.precision;
        w.m_suffix = c.suffix;
        w.m_showSuffix = c.showSuffix;
        EXPECT_EQ(w.FormatValue(c.value), c.expected);
    }
    Fixture f;
    CValueWindow* w = f.system.m_valueWindows.AddValueWindow(f.system.Random());
    f.constant->FirstOutput()->m_name = "Level";
    w->Attach(f.module, f.constant, f.constant->FirstOutput());
    EXPECT_EQ(w->m_title, "Level");
    f.system.RunCycle();
    EXPECT_EQ(w->ValueText(), "1.00 ");
}

TEST(Graphics, LineWidthSetsTheOutlineAndConsolidationHidesComponents) {
    CGraphic g;
    const std::pair<int32_t, bool> widths[] = {{0, false}, {3, true}, {0, false}, {12, true}};
    for (const auto& [width, outline] : widths) {
        g.SetLineWidth(width);
        EXPECT_EQ(g.m_outline, outline) << width;
    }
    EXPECT_EQ(g.m_lineWidth, 10);

    Fixture f;
    CNetworkModel* far = test::Drop(*f.module, 41, 900, 900);
    CGraphic* graphic = f.system.m_graphics.AddGraphic(f.system.Random());
    EXPECT_EQ(graphic->m_text, kGraphicHint);
    graphic->m_rect = {0, 0, 400, 400};
    EXPECT_EQ(graphic->Consolidate(*f.module), 1);
    EXPECT_EQ(f.constant->m_graphicId, graphic->m_id);
    EXPECT_EQ(far->m_graphicId, 0);
    EXPECT_EQ(graphic->Consolidate(*f.module), 0);  // already inside
    EXPECT_EQ(graphic->CountHeld(*f.module), 1);
    f.system.m_graphics.DeleteGraphic(f.system, graphic);
    EXPECT_EQ(f.constant->m_graphicId, 0);
    EXPECT_EQ(f.constant->m_graphic, nullptr);
    EXPECT_TRUE(f.system.m_graphics.m_graphics.Empty());
}

TEST(EditorData, ChartsAndValueWindowsGoWithTheirComponentOrModule) {
    Fixture f;
    CNetworkModel* other = test::DropConstant(*f.module, 2.0);
    f.system.m_valueWindows.AddValueWindow(f.system.Random())
        ->Attach(f.module, f.constant, f.constant->FirstOutput());
    f.system.m_charts.AddChart(f.system.Random())->Attach(f.module, other, other->FirstOutput());
    f.module->DeleteComponent(f.constant);
    EXPECT_EQ(f.system.m_charts.m_charts.Size(), 1u);
    EXPECT_TRUE(f.system.m_valueWindows.m_windows.Empty());
    f.system.RunCycle();
    f.system.DeleteModule(f.module);
    EXPECT_TRUE(f.system.m_charts.m_charts.Empty());
    f.system.RunCycle();
}

TEST(EditorRecords, EmptyManagersStoreTheirCountsAndEveryFieldRoundTrips) {
    CSystem s;
    const std::vector<uint8_t> empty = SaveProjectBytes(s);
    // charts: setting + count; behaviours; graphics; value windows.
    const std::vector<uint8_t> tail(empty.end() - 16, empty.end());
    EXPECT_EQ(tail, std::vector<uint8_t>(16, 0));

    CGraphic* g = s.m_graphics.AddGraphic(s.Random());
    g->m_fontName = "Mono";
    g->m_handles[0] = {1, 2, 3, 4};
    g->m_handles[5] = {5, 6, 7, 8};
    g->m_setting = -9;
    CValueWindow* w = s.m_valueWindows.AddValueWindow(s.Random());
    w->m_layout[0] = {1, 1, 1, 1};
    w->m_layout[5] = {6, 6, 6, 6};
    w->m_showOutline = 0;
    w->m_flag = true;
    CChart* c = s.m_charts.AddChart(s.Random());
    c->m_style = 2;
    c->m_secondFlag = false;
    auto strBytes = [](const std::string& t) { return (t.size() < 255 ? 4 : 6) + 2 * t.size(); };
    auto recordSize = [](auto& item) {
        CArchive ar;
        item.Serialize(ar);
        return ar.Bytes().size();
    };
    EXPECT_EQ(recordSize(*c), 78u);
    EXPECT_EQ(recordSize(*g), 4 + strBytes(g->m_text) + 4 + 7 * 4 + 16 + strBytes("Mono") + 6 * 16);
    EXPECT_EQ(recordSize(*w), 16 + 1 + strBytes(w->m_title) + 1 + 4 + 4 + 5 * 4 + strBytes(w->m_suffix) + 16 +
                                  strBytes(w->m_fontName) + 6 * 16);
    const std::vector<uint8_t> bytes = SaveProjectBytes(s);
    CSystem loaded;
    ASSERT_TRUE(LoadProjectBytes(loaded, bytes));
    EXPECT_EQ(SaveProjectBytes(loaded), bytes);
    EXPECT_EQ(loaded.m_graphics.m_graphics.Head()->m_handles[5], (CRect{5, 6, 7, 8}));
    EXPECT_EQ(loaded.m_valueWindows.m_windows.Head()->m_layout[5], (CRect{6, 6, 6, 6}));
    EXPECT_EQ(loaded.m_charts.m_charts.Head()->m_style, 2);
}

}  // namespace
}  // namespace zor2
