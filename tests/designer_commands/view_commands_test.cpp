// View commands: reduced components, grouped module ports, contracted
// categories, display switches, Center View, drags and the Shift rectangle.
#include "aids_fixture.h"

namespace zor2::test {
namespace {

using ViewCommandsTest = AidsTest;

TEST_F(ViewCommandsTest, ReduceAndExpandRecordOneLevelPerChange) {
    struct Case {
        const char* name;
        bool selectA;  // else both are selected
        ECmd (*command)(Czor2Doc&);
        ECmd expected;
        bool reducedA, reducedB;
    };
    // One sequence: each case starts where the previous one left off.
    const Case cases[] = {
        {"reduce the selected one", true, ReduceSelectedComponents, ECmd::Done, true, false},
        {"reduce it again", true, ReduceSelectedComponents, ECmd::Unavailable, true, false},
        {"reduce all", true, ReduceAllComponents, ECmd::Done, true, true},
        {"toggle the selected one", true, ToggleComponentReduced, ECmd::Done, false, true},
        {"expand both selected", false, ExpandSelectedComponents, ECmd::Done, false, false},
        {"expand all with nothing reduced", false, ExpandAllComponents, ECmd::Unavailable, false, false},
        {"toggle the first selected", false, ToggleComponentReduced, ECmd::Done, true, false},
        {"expand all", false, ExpandAllComponents, ECmd::Done, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.selectA)
            Ed().SelectComponents({m_a->m_id});
        else
            Ed().SelectComponents({m_a->m_id, m_b->m_id});
        const size_t before = Changes();
        EXPECT_EQ(c.command(m_doc), c.expected);
        EXPECT_EQ(Changes() - before, c.expected == ECmd::Done ? 1u : 0u);
        EXPECT_EQ(IsReduced(*m_a), c.reducedA);
        EXPECT_EQ(IsReduced(*m_b), c.reducedB);
    }
}

TEST_F(ViewCommandsTest, ReducedViewIsSavedAndUndone) {
    Ed().SelectComponents({m_b->m_id});
    ASSERT_EQ(ReduceSelectedComponents(m_doc), ECmd::Done);
    auto loaded = Reloaded();
    const CNetwork* module = loaded->FindModule(m_module->m_id);
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(module->FindComponent(m_b->m_id)->m_displayB);
    EXPECT_FALSE(module->FindComponent(m_a->m_id)->m_displayB);
    const int32_t moduleId = m_module->m_id, componentId = m_b->m_id;
    ASSERT_TRUE(m_doc.UndoChange());
    EXPECT_FALSE(Sys().FindModule(moduleId)->FindComponent(componentId)->m_displayB);
}

TEST_F(ViewCommandsTest, ShownBoxOfReducedComponentIsSmallAndCentred) {
    EXPECT_EQ(ShownBox(*m_a), m_a->m_box);
    m_a->m_displayB = true;
    EXPECT_EQ(ShownBox(*m_a), (CRect{100 - 32, 100 - 18, 100 + 32, 100 + 18}));
}

TEST_F(ViewCommandsTest, GroupingModulePortsKeepsRoomForTheOtherSide) {
    Ed().ShowSystem();
    Ed().SelectModules({m_module->m_id});
    for (int i = 0; i < 6; ++i) ASSERT_EQ(AddModuleOutput(m_doc), ECmd::Done);
    const int32_t fullHeight = m_module->m_boxRect.bottom - m_module->m_boxRect.top;
    const size_t before = Changes();
    const bool modified = m_doc.IsModified();

    struct Case {
        const char* name;
        ECmd (*command)(Czor2Doc&, bool);
        bool grouped;
        ECmd expected;
        bool inputs, outputs;  // grouped afterwards
        int32_t height;        // of the module box afterwards
    };
    const Case cases[] = {
        // Six outputs still need six rows when the inputs are grouped.
        {"group inputs", GroupModuleInputs, true, ECmd::Done, true, false, fullHeight},
        {"group inputs again", GroupModuleInputs, true, ECmd::Unavailable, true, false, fullHeight},
        {"group outputs", GroupModuleOutputs, true, ECmd::Done, true, true, m_module->m_minBoxHeight},
        {"ungroup outputs", GroupModuleOutputs, false, ECmd::Done, true, false, fullHeight},
        {"ungroup inputs", GroupModuleInputs, false, ECmd::Done, false, false, fullHeight},
        {"ungroup inputs again", GroupModuleInputs, false, ECmd::Unavailable, false, false, fullHeight},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.command(m_doc, c.grouped), c.expected);
        EXPECT_EQ(m_module->m_collapsedInputs, c.inputs);
        EXPECT_EQ(m_module->m_collapsedOutputs, c.outputs);
        EXPECT_EQ(m_module->m_boxRect.bottom - m_module->m_boxRect.top, c.height);
    }
    EXPECT_EQ(Changes(), before);
    EXPECT_EQ(m_doc.IsModified(), modified);

    // The grouping outlives an undo, which reloads every module.
    const int32_t id = m_module->m_id;
    ASSERT_EQ(GroupModuleOutputs(m_doc, true), ECmd::Done);
    ASSERT_TRUE(m_doc.UndoChange());  // takes back the last module output
    const CNetwork* module = Sys().FindModule(id);
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(module->m_collapsedOutputs);
    EXPECT_EQ(module->m_boxRect.bottom - module->m_boxRect.top, module->m_minBoxHeight);
}

TEST_F(ViewCommandsTest, CategoriesContractInTheEditorOnly) {
    ASSERT_EQ(AddInputCategory(m_doc, "Sensors"), ECmd::Done);
    ASSERT_EQ(AddOutputCategory(m_doc, "Motors"), ECmd::Done);
    const int32_t sensors = Sys().m_inputCategories.Tail()->m_id;
    const int32_t motors = Sys().m_outputCategories.Tail()->m_id;
    const size_t before = Changes();
    const bool modified = m_doc.IsModified();

    // One sequence: each step starts where the previous one left off.
    struct Step {
        const char* name;
        ECmd (*run)(Czor2Doc&, int32_t, int32_t);
        ECmd expected;
        bool defaultIn, sensorsIn, defaultOut, motorsOut;
    };
    const Step steps[] = {
        {"contract one input category",
         [](Czor2Doc& d, int32_t s, int32_t) { return ContractInputCategory(d, s); }, ECmd::Done, false, true,
         false, false},
        {"contract it again", [](Czor2Doc& d, int32_t s, int32_t) { return ContractInputCategory(d, s); },
         ECmd::Unavailable, false, true, false, false},
        {"unknown category", [](Czor2Doc& d, int32_t, int32_t) { return ContractInputCategory(d, 31999); },
         ECmd::Unavailable, false, true, false, false},
        {"contract all inputs", [](Czor2Doc& d, int32_t, int32_t) { return ContractAllInputCategories(d); },
         ECmd::Done, true, true, false, false},
        {"contract all inputs again",
         [](Czor2Doc& d, int32_t, int32_t) { return ContractAllInputCategories(d); }, ECmd::Unavailable, true,
         true, false, false},
        {"expand one",
         [](Czor2Doc& d, int32_t, int32_t) { return ExpandInputCategory(d, kDefaultCategoryId); }, ECmd::Done,
         false, true, false, false},
        {"contract an output category",
         [](Czor2Doc& d, int32_t, int32_t m) { return ContractOutputCategory(d, m); }, ECmd::Done, false,
         true, false, true},
        {"expand all inputs", [](Czor2Doc& d, int32_t, int32_t) { return ExpandAllInputCategories(d); },
         ECmd::Done, false, false, false, true},
        {"contract all outputs", [](Czor2Doc& d, int32_t, int32_t) { return ContractAllOutputCategories(d); },
         ECmd::Done, false, false, true, true},
        {"expand one output", [](Czor2Doc& d, int32_t, int32_t m) { return ExpandOutputCategory(d, m); },
         ECmd::Done, false, false, true, false},
        {"expand all outputs", [](Czor2Doc& d, int32_t, int32_t) { return ExpandAllOutputCategories(d); },
         ECmd::Done, false, false, false, false},
        {"expand all outputs again",
         [](Czor2Doc& d, int32_t, int32_t) { return ExpandAllOutputCategories(d); }, ECmd::Unavailable, false,
         false, false, false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(s.run(m_doc, sensors, motors), s.expected);
        EXPECT_EQ(IsInputCategoryContracted(m_doc, kDefaultCategoryId), s.defaultIn);
        EXPECT_EQ(IsInputCategoryContracted(m_doc, sensors), s.sensorsIn);
        EXPECT_EQ(IsOutputCategoryContracted(m_doc, kDefaultCategoryId), s.defaultOut);
        EXPECT_EQ(IsOutputCategoryContracted(m_doc, motors), s.motorsOut);
    }
    EXPECT_EQ(Changes(), before);
    EXPECT_EQ(m_doc.IsModified(), modified);
}

TEST_F(ViewCommandsTest, ContractedCategoryIsForgottenWhenItDisappears) {
    ASSERT_EQ(AddInputCategory(m_doc, "Sensors"), ECmd::Done);
    const int32_t sensors = Sys().m_inputCategories.Tail()->m_id;
    ASSERT_EQ(ContractInputCategory(m_doc, sensors), ECmd::Done);
    ASSERT_TRUE(m_doc.UndoChange());  // the category is gone again
    EXPECT_FALSE(IsInputCategoryContracted(m_doc, sensors));
    EXPECT_TRUE(Ed().m_contractedInputCategories.empty());
}

TEST_F(ViewCommandsTest, DisplaySwitchesChangeOnlyTheEditor) {
    const EViewSwitch all[] = {EViewSwitch::InputCategoryDetail,    EViewSwitch::OutputCategoryDetail,
                               EViewSwitch::HighlightActiveOutputs, EViewSwitch::ChartConnectors,
                               EViewSwitch::ValueWindowConnectors,  EViewSwitch::GraphicCount};
    const size_t before = Changes();
    for (EViewSwitch s : all) {
        SCOPED_TRACE(static_cast<int>(s));
        const bool was = ViewSwitch(m_doc, s);
        EXPECT_EQ(SetViewSwitch(m_doc, s, was), ECmd::Unavailable);
        EXPECT_EQ(SetViewSwitch(m_doc, s, !was), ECmd::Done);
        EXPECT_EQ(ViewSwitch(m_doc, s), !was);
        // Each switch is its own option: the others keep their values.
        for (EViewSwitch other : all) {
            if (other != s) {
                EXPECT_EQ(SetViewSwitch(m_doc, other, ViewSwitch(m_doc, other)), ECmd::Unavailable);
            }
        }
        EXPECT_EQ(SetViewSwitch(m_doc, s, was), ECmd::Done);
    }
    EXPECT_EQ(Changes(), before);
    EXPECT_TRUE(ViewSwitch(m_doc, EViewSwitch::InputCategoryDetail));
    EXPECT_FALSE(ViewSwitch(m_doc, EViewSwitch::HighlightActiveOutputs));
}

TEST_F(ViewCommandsTest, CenterViewCentresOnWhatTheModuleShows) {
    CChart* chart = NewChart(m_a);
    CValueWindow* window = NewValueWindow(m_b);
    struct Case {
        const char* name;
        void (*arrange)(ViewCommandsTest&, CChart*, CValueWindow*);
        CRect expected;  // for a 200 x 100 view
    };
    // Component boxes: [68..132]x[68..132] and [268..332]x[228..292].
    const Case cases[] = {
        {"components only",
         [](ViewCommandsTest& t, CChart* c, CValueWindow* w) {
             c->m_moduleId = 0;
             w->m_moduleId = 0;
         },
         {100, 130, 300, 230}},
        {"with a chart and a value window",
         [](ViewCommandsTest& t, CChart* c, CValueWindow* w) {
             c->m_moduleId = t.m_module->m_id;
             c->m_rect = {400, 0, 600, 120};
             w->m_moduleId = t.m_module->m_id;
             w->m_rect = {0, 500, 100, 548};
         },
         {200, 224, 400, 324}},
        {"a reduced component counts with its small box",
         [](ViewCommandsTest& t, CChart* c, CValueWindow* w) {
             c->m_moduleId = 0;
             w->m_moduleId = 0;
             t.m_b->m_displayB = true;  // [268..332]x[242..278]
         },
         {100, 123, 300, 223}},
        {"a consolidated component is hidden",
         [](ViewCommandsTest& t, CChart*, CValueWindow*) {
             t.m_b->m_displayB = false;
             t.m_b->m_graphic = t.m_b;  // any non-null holder
         },
         {0, 50, 200, 150}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.arrange(*this, chart, window);
        EXPECT_EQ(CenterView(m_doc, 200, 100), c.expected);
        EXPECT_EQ(Ed().m_visible, c.expected);
    }
    m_b->m_graphic = nullptr;
}

TEST_F(ViewCommandsTest, CenterViewOfTheSystemAndOfNothing) {
    EXPECT_EQ(Changes(), 0u);
    Ed().ShowSystem();
    const CRect box = m_module->m_boxRect;
    const CRect view = CenterView(m_doc, 400, 300);
    EXPECT_EQ(view.right - view.left, 400);
    EXPECT_EQ(view.left + 200, (box.left + box.right) / 2);
    EXPECT_EQ(view.top + 150, (box.top + box.bottom) / 2);

    // An empty module shows from the origin.
    ASSERT_EQ(AddModule(m_doc), ECmd::Done);
    Ed().DesignModule(Sys().m_modules.Tail()->m_id);
    EXPECT_EQ(CenterView(m_doc, 400, 300), (CRect{0, 0, 400, 300}));
    EXPECT_EQ(CenterView(m_doc, -5, 300), (CRect{0, 0, 0, 300}));
}

TEST_F(ViewCommandsTest, FinishedDragIsOneUndoLevel) {
    CGraphic* g = NewGraphic(10, 10);
    const CRect graphicStart = g->m_rect;
    struct Case {
        const char* name;
        EDragKind kind;
        std::vector<CPoint> steps;
        ECmd expected;
    };
    const Case cases[] = {
        {"components over three steps", EDragKind::Components, {{5, 0}, {5, 5}, {0, 5}}, ECmd::Done},
        {"components there and back", EDragKind::Components, {{7, 3}, {-7, -3}}, ECmd::Unavailable},
        {"graphics", EDragKind::Graphics, {{-4, 6}}, ECmd::Done},
        {"no steps", EDragKind::Graphics, {}, ECmd::Unavailable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ed().ClearSelection();
        Ed().SelectComponents({m_a->m_id, m_b->m_id});
        Ed().m_graphics = {g->m_id};
        const CPoint a = m_a->m_position, b = m_b->m_position;
        const CRect r = g->m_rect;
        int32_t dx = 0, dy = 0;
        for (CPoint p : c.steps) {
            DragSelection(m_doc, c.kind, p.x, p.y);
            dx += p.x;
            dy += p.y;
        }
        const size_t before = Changes();
        EXPECT_EQ(FinishDrag(m_doc), c.expected);
        EXPECT_EQ(Changes() - before, c.expected == ECmd::Done ? 1u : 0u);
        const bool components = c.kind == EDragKind::Components;
        EXPECT_EQ(m_a->m_position, (components ? CPoint{a.x + dx, a.y + dy} : a));
        EXPECT_EQ(m_b->m_position, (components ? CPoint{b.x + dx, b.y + dy} : b));
        EXPECT_EQ(m_a->m_box.left, m_a->m_position.x - 32);
        EXPECT_EQ(g->m_rect, components ? r : (CRect{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}));
        // A second release without a drag records nothing.
        EXPECT_EQ(FinishDrag(m_doc), ECmd::Unavailable);
    }
    // Undo takes back the graphic's drag in one step.
    const int32_t id = g->m_id;
    ASSERT_TRUE(m_doc.UndoChange());
    ASSERT_NE(Sys().m_graphics.m_graphics.Find(id), nullptr);
    EXPECT_EQ(Sys().m_graphics.m_graphics.Find(id)->m_rect, graphicStart);
}

TEST_F(ViewCommandsTest, DragOfModulesChartsAndValueWindows) {
    CChart* chart = NewChart(m_a);
    CValueWindow* window = NewValueWindow(m_a);
    const CRect chartRect = chart->m_rect, windowRect = window->m_rect;
    Ed().m_charts = {chart->m_id};
    Ed().m_valueWindows = {window->m_id};
    DragSelection(m_doc, EDragKind::Charts, 10, 20);
    DragSelection(m_doc, EDragKind::ValueWindows, -3, 0);
    EXPECT_EQ(FinishDrag(m_doc), ECmd::Done);
    EXPECT_EQ(chart->m_rect,
              (CRect{chartRect.left + 10, chartRect.top + 20, chartRect.right + 10, chartRect.bottom + 20}));
    EXPECT_EQ(window->m_rect.left, windowRect.left - 3);

    Ed().ShowSystem();
    Ed().SelectModules({m_module->m_id});
    const CPoint start = m_module->m_position;
    DragSelection(m_doc, EDragKind::Modules, 30, -10);
    const size_t before = Changes();
    EXPECT_EQ(FinishDrag(m_doc), ECmd::Done);
    EXPECT_EQ(Changes() - before, 1u);
    EXPECT_EQ(m_module->m_position, (CPoint{start.x + 30, start.y - 10}));
    EXPECT_EQ(m_module->m_boxRect.left, start.x + 30 - m_module->m_boxWidth / 2);

    // Nothing selected: nothing moves and nothing is recorded.
    Ed().ClearSelection();
    DragSelection(m_doc, EDragKind::Modules, 30, -10);
    EXPECT_EQ(FinishDrag(m_doc), ECmd::Unavailable);
}

TEST_F(ViewCommandsTest, ShiftRectangleMakesOneGraphic) {
    struct Case {
        const char* name;
        CRect drawn;
        ECmd expected;
        CRect rect;
    };
    const Case cases[] = {
        {"drawn down and right", {10, 20, 110, 70}, ECmd::Done, {10, 20, 110, 70}},
        {"drawn up and left", {110, 70, 10, 20}, ECmd::Done, {10, 20, 110, 70}},
        {"a click without a drag", {50, 50, 50, 50}, ECmd::Unavailable, {}},
        {"a flat line", {10, 50, 200, 50}, ECmd::Unavailable, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Ed().SelectComponents({m_a->m_id});
        const size_t graphics = Sys().m_graphics.m_graphics.Size();
        const size_t before = Changes();
        EXPECT_EQ(AddGraphicFromRect(m_doc, c.drawn), c.expected);
        if (c.expected != ECmd::Done) {
            EXPECT_EQ(Sys().m_graphics.m_graphics.Size(), graphics);
            EXPECT_EQ(Changes(), before);
            continue;
        }
        EXPECT_EQ(Changes() - before, 1u);
        ASSERT_EQ(Sys().m_graphics.m_graphics.Size(), graphics + 1);
        const CGraphic* g = Sys().m_graphics.m_graphics.Tail();
        EXPECT_EQ(g->m_text, "Text here");
        EXPECT_EQ(g->m_rect, c.rect);
        EXPECT_EQ(Ed().m_graphics, std::vector<int32_t>{g->m_id});
        EXPECT_TRUE(Ed().m_components.empty());
    }
    Ed().ShowSystem();
    EXPECT_EQ(AddGraphicFromRect(m_doc, {10, 20, 110, 70}), ECmd::Unavailable);
}

TEST_F(ViewCommandsTest, ResizeGraphicTakesTheReleasedRectangle) {
    CGraphic* g = NewGraphic(0, 0);
    const size_t before = Changes();
    EXPECT_EQ(ResizeGraphic(m_doc, g->m_id, {300, 200, 20, 40}), ECmd::Done);
    EXPECT_EQ(g->m_rect, (CRect{20, 40, 300, 200}));
    EXPECT_EQ(ResizeGraphic(m_doc, g->m_id, {20, 40, 300, 200}), ECmd::Unavailable);
    EXPECT_EQ(ResizeGraphic(m_doc, g->m_id, {20, 40, 20, 200}), ECmd::Unavailable);
    EXPECT_EQ(ResizeGraphic(m_doc, 0, {0, 0, 10, 10}), ECmd::Unavailable);
    EXPECT_EQ(Changes() - before, 1u);
}

TEST_F(ViewCommandsTest, CornerDragIsOneResizeAtRelease) {
    struct Step {
        int corner;
        int32_t dx, dy;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        ECmd expected;
        CRect rect;  // from {0, 0, 100, 50}
    };
    const Case cases[] = {
        {"bottom right out", {{2, 30, 20}}, ECmd::Done, {0, 0, 130, 70}},
        {"top left in over two steps", {{0, 10, 5}, {0, 10, 5}}, ECmd::Done, {20, 10, 100, 50}},
        {"top right", {{1, -10, -10}}, ECmd::Done, {0, -10, 90, 50}},
        {"bottom left", {{3, -10, 10}}, ECmd::Done, {-10, 0, 100, 60}},
        {"there and back", {{2, 30, 20}, {2, -30, -20}}, ECmd::Unavailable, {0, 0, 100, 50}},
        {"past the opposite corner", {{0, 500, 500}}, ECmd::Done, {84, 34, 100, 50}},
        // Clamped on the way out, so coming back leaves another rectangle.
        {"clamped, then back", {{2, -500, 0}, {2, 500, 0}}, ECmd::Done, {0, 0, 516, 50}},
        {"corner outside 0..3", {{4, 30, 30}, {-1, 30, 30}}, ECmd::Unavailable, {0, 0, 100, 50}},
    };
    CGraphic* g = NewGraphic(0, 0);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g->m_rect = {0, 0, 100, 50};
        const size_t before = Changes();
        for (const Step& s : c.steps) DragGraphicCorner(m_doc, g->m_id, s.corner, s.dx, s.dy);
        EXPECT_EQ(FinishDrag(m_doc), c.expected);
        EXPECT_EQ(Changes() - before, c.expected == ECmd::Done ? 1u : 0u);
        EXPECT_EQ(g->m_rect, c.rect);
        EXPECT_EQ(FinishDrag(m_doc), ECmd::Unavailable);
    }
    // Undo puts back the rectangle the last resize started from.
    g->m_rect = {0, 0, 100, 50};
    ASSERT_EQ(ResizeGraphic(m_doc, g->m_id, {0, 0, 40, 40}), ECmd::Done);
    DragGraphicCorner(m_doc, g->m_id, 2, 60, 60);
    ASSERT_EQ(FinishDrag(m_doc), ECmd::Done);
    const int32_t id = g->m_id;
    ASSERT_TRUE(m_doc.UndoChange());
    ASSERT_NE(Sys().m_graphics.m_graphics.Find(id), nullptr);
    EXPECT_EQ(Sys().m_graphics.m_graphics.Find(id)->m_rect, (CRect{0, 0, 40, 40}));
    // A graphic that is gone does nothing.
    DragGraphicCorner(m_doc, 0, 2, 60, 60);
    EXPECT_EQ(FinishDrag(m_doc), ECmd::Unavailable);
}

TEST_F(ViewCommandsTest, LockedChartStaysWhileOthersMove) {
    CChart* locked = NewChart(m_a);
    CChart* free = NewChart(m_b);
    locked->m_lockLocation = true;
    const CRect lockedRect = locked->m_rect, freeRect = free->m_rect;
    Ed().m_charts = {locked->m_id};
    DragSelection(m_doc, EDragKind::Charts, 40, 30);
    EXPECT_EQ(FinishDrag(m_doc), ECmd::Unavailable);
    EXPECT_EQ(locked->m_rect, lockedRect);
    Ed().m_charts = {locked->m_id, free->m_id};
    DragSelection(m_doc, EDragKind::Charts, 40, 30);
    EXPECT_EQ(FinishDrag(m_doc), ECmd::Done);
    EXPECT_EQ(locked->m_rect, lockedRect);
    EXPECT_EQ(free->m_rect.left, freeRect.left + 40);
}

TEST_F(ViewCommandsTest, BarDoubleClicksNameAndRecordThePorts) {
    struct Case {
        ECmd (*command)(Czor2Doc&);
        const char* line;
    };
    const Case cases[] = {
        {AddSystemInputFromBar, "Added System Input: 1"},
        {AddSystemInputFromBar, "Added System Input: 2"},
        {AddSystemOutputFromBar, "Added System Output: Output: 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const size_t before = Changes();
        EXPECT_EQ(c.command(m_doc), ECmd::Done);
        EXPECT_EQ(Changes() - before, 1u);
        EXPECT_EQ(TopLine(), c.line);
    }
    EXPECT_EQ(m_link.m_sent.back(), (std::pair<int32_t, int32_t>{2, 1}));
}

}  // namespace
}  // namespace zor2::test
