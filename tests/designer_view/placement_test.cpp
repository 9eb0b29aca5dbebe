// Placement rules of the view without a window: component names that cover no
// other box or name (also in the shipped examples), free spots for new charts
// and value windows, the palette search and the verdict on a connection drag.
#include <gtest/gtest.h>

#include <filesystem>

#include "designer/connect_preview.h"
#include "designer/free_spot.h"
#include "designer/label_layout.h"
#include "designer/palette_filter.h"
#include "engine/catalogue.h"
#include "persistence/project_file.h"
#include "support/system_builder.h"
#include "view_print.h"

namespace zor2 {
namespace {

TEST(Placement, TitlesTakeTheFirstFreePlace) {
    struct Case {
        const char* name;
        std::vector<CRectD> boxes;
        double width;  // of every name
        std::vector<CRectD> expected;
        std::vector<bool> cut;
    };
    const Case cases[] = {
        {"alone: centred above", {{0, 100, 100, 200}}, 60, {{20, 82, 80, 98}}, {false}},
        {"wide name beside a box: shortened to its own box",
         {{0, 100, 100, 200}, {110, 60, 210, 200}},
         160,
         {{0, 82, 100, 98}, {80, 42, 240, 58}},
         {true, false}},
        {"boxes closer than a line: inside the own box",
         {{0, 100, 100, 200}, {0, 0, 100, 95}},
         60,
         {{0, 100, 100, 116}, {20, -18, 80, -2}},
         {false, false}},
        {"a placed name blocks the next, whole and shortened",
         {{0, 100, 100, 200}, {105, 100, 205, 200}},
         150,
         {{-25, 82, 125, 98}, {105, 100, 205, 116}},
         {false, true}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<double> widths(c.boxes.size(), c.width);
        const std::vector<CTitlePlace> places = PlaceTitles(c.boxes, c.boxes, widths, 16);
        ASSERT_EQ(places.size(), c.expected.size());
        for (size_t i = 0; i < places.size(); ++i) {
            EXPECT_EQ(places[i].rect, c.expected[i]) << i;
            EXPECT_EQ(places[i].cut, c.cut[i]) << i;
        }
    }
}

TEST(Placement, NoNameCoversAnotherInTheShippedExamples) {
    size_t modules = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ZOR2_SOURCE_DIR "/examples")) {
        if (entry.path().extension() != ".zr2") continue;
        SCOPED_TRACE(entry.path().filename().string());
        CSystem s;
        ASSERT_TRUE(LoadProjectFile(s, entry.path().string()));
        for (const CNetwork* m : s.m_modules) {
            ++modules;
            // A bold face of about 8 units a letter.
            const CModuleLabels labels = ModuleLabels(
                *m, [](const std::string& n) { return 8.0 * n.size() + 4; }, 17, true, true, 90);
            const auto& titles = labels.titles;
            // No port name covers another box, a title or another port name.
            for (const CPortName& n : labels.ports) {
                for (const CComponentTitle& t : titles) {
                    if (t.component != n.component) {
                        EXPECT_FALSE(Overlap(n.rect, ComponentBox(*t.component)));
                    }
                    EXPECT_FALSE(Overlap(n.rect, t.place.rect)) << n.component->m_name << " port " << n.index;
                }
                for (const CPortName& other : labels.ports)
                    if (&other != &n) {
                        EXPECT_FALSE(Overlap(n.rect, other.rect)) << n.component->m_name;
                    }
            }
            for (size_t i = 0; i < titles.size(); ++i) {
                for (size_t j = i + 1; j < titles.size(); ++j)
                    EXPECT_FALSE(Overlap(titles[i].place.rect, titles[j].place.rect))
                        << titles[i].component->m_name << " / " << titles[j].component->m_name;
                for (const CComponentTitle& other : titles)
                    if (other.component != titles[i].component) {
                        EXPECT_FALSE(Overlap(titles[i].place.rect, ComponentBox(*other.component)))
                            << titles[i].component->m_name << " over " << other.component->m_name;
                    }
            }
        }
    }
    EXPECT_GE(modules, 4u);
}

TEST(Placement, FreeSpotNearTheComponent) {
    const CRect anchor{0, 0, 100, 100};
    const CRect preferred{160, 0, 360, 120};
    struct Case {
        const char* name;
        std::vector<CRect> taken;
        CRect expected;
    };
    const Case cases[] = {
        {"free: where it was asked", {}, preferred},
        {"far things do not matter", {{1000, 1000, 1100, 1100}}, preferred},
        {"a box in the way: the nearest step clear of it", {{150, -50, 250, 40}}, {160, 60, 360, 180}},
        {"a chart exactly there: moved past it and its margin", {{160, 0, 360, 120}}, {160, 140, 360, 260}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CRect spot = FreeSpotNear(preferred, anchor, c.taken);
        EXPECT_EQ(spot, c.expected) << spot.left << "," << spot.top << "," << spot.right << ","
                                    << spot.bottom;
        for (const CRect& r : c.taken) EXPECT_FALSE(Overlap(CRectD::Of(spot), CRectD::Of(r)));
    }
}

TEST(Placement, PaletteSearch) {
    struct Case {
        const char* name;
        std::string_view text, filter;
        bool matches;
    };
    const Case cases[] = {
        {"empty filter", "Constant", "", true},
        {"part of the name, any case", "Constant", "STAN", true},
        {"every word", "Compare to Constant", "comp const", true},
        {"a word missing", "Compare to Constant", "comp timer", false},
        {"spaces only", "Timer", "   ", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(PaletteNameMatches(c.text, c.filter), c.matches);
    }
    CSystem s;
    s.NewProject();
    // Across the groups, with line breaks of catalogue names read as spaces.
    size_t all = 0, found = 0;
    for (int group : {kGroupLogic, kGroupMath, kGroupSignals, kGroupUtility, kGroupDecision}) {
        all += PaletteEntries(s, group, "").size();
        for (const CPaletteEntry& e : PaletteEntries(s, group, "const")) {
            ++found;
            EXPECT_NE(e.name.find_first_of("Cc"), std::string::npos);
            EXPECT_EQ(e.name.find('\n'), std::string::npos);
            EXPECT_FALSE(e.tip.empty());
        }
    }
    EXPECT_EQ(all, s.m_catalogue.Size());
    EXPECT_GE(found, 2u);
    EXPECT_LT(found, all);
}

TEST(Placement, ModulePortsShowNamesUntilValuesExist) {
    struct Case {
        bool option;
        int32_t cycles;
        bool values;
    };
    for (const Case& c : {Case{true, 0, false}, Case{true, 1, true}, Case{false, 5, false}}) {
        CSystem s;
        s.m_cycleCount = c.cycles;
        CViewOptions o;
        o.showModuleValues = c.option;
        EXPECT_EQ(ModulePortsShowValues(s, o), c.values) << c.option << " " << c.cycles;
    }
}

TEST(Placement, ConnectionVerdictBeforeRelease) {
    CSystem s;
    s.NewProject();
    CNetwork* m = s.CreateModule("M", 100, 100);
    CNetworkModel* a = test::DropConstant(*m, 1);
    CNetworkModel* b = test::DropConstant(*m, 2);
    CNetworkModel* sum = test::Drop(*m, 21, 300, 100);
    test::Wire(*m, *a, *sum);
    CEditorState editor;
    editor.DesignModule(m->m_id);
    const CViewLayout layout(s, editor, {1, {0, 0}}, 1000, 800);
    const CHit fromA{.kind = EHit::Component, .component = a};
    const CHit fromB{.kind = EHit::ComponentOutput, .component = b, .output = b->FirstOutput()};
    const CHit busyInput{.kind = EHit::ComponentInput, .component = sum, .input = sum->m_inputs.Head()};
    struct Case {
        const char* name;
        CHit source, target;
        EConnectVerdict verdict;
        std::string reason;
    };
    const Case cases[] = {
        {"from a full sender's box: refused",
         fromA,
         {.kind = EHit::Component, .component = sum},
         EConnectVerdict::Refused,
         RefusalMessage(kRefuseSenderFull)},
        {"onto a component: a new input",
         fromB,
         {.kind = EHit::Component, .component = sum},
         EConnectVerdict::Accepted,
         ""},
        {"onto a connected input", fromB, busyInput, EConnectVerdict::Refused,
         RefusalMessage(kRefuseInputBusy)},
        {"onto itself: its menu, no verdict", fromA, fromA, EConnectVerdict::None, ""},
        {"onto nothing", fromA, {}, EConnectVerdict::None, ""},
        {"from what starts no connection", {.kind = EHit::ModOutputsBar}, fromA, EConnectVerdict::None, ""},
        {"an input onto a component", busyInput, fromA, EConnectVerdict::None, ""},
        {"onto the outputs bar: exposed",
         fromB,
         {.kind = EHit::ModOutputsBar},
         EConnectVerdict::Accepted,
         ""},
    };
    const size_t connections = sum->m_inputs.Size();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CConnectPreview p = PreviewConnect(layout, c.source, c.target);
        EXPECT_EQ(p.verdict, c.verdict);
        EXPECT_EQ(p.reason, c.reason);
    }
    // Judging changes nothing.
    EXPECT_EQ(sum->m_inputs.Size(), connections);
}

}  // namespace
}  // namespace zor2
