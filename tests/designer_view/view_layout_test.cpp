// The view's layout without a window: hits in both modes under zoom and
// scroll, box and port rectangles, reduced and consolidated components,
// contracted categories, anchors, selection rectangles and fitting.
#include "designer/view_layout.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "support/system_builder.h"
#include "view_print.h"

namespace zor2 {
namespace {

constexpr double kWidth = 3000, kHeight = 2000;  // room for every transform below between the bars

const CViewTransform kTransforms[] = {{1, {0, 0}}, {2, {100, 0}}, {0.5, {-400, -100}}};

/// The object a hit names most closely.
const void* ObjectOf(const CHit& h) {
    for (const void* p :
         {(const void*)h.input, (const void*)h.output, (const void*)h.moduleInput,
          (const void*)h.moduleOutput, (const void*)h.systemInput, (const void*)h.systemOutput,
          (const void*)h.inputCategory, (const void*)h.outputCategory, (const void*)h.chart,
          (const void*)h.valueWindow, (const void*)h.graphic, (const void*)h.component})
        if (p) return p;
    return h.module;
}

/// A component with at least `inputs` inputs at a known box, with the usual port measures.
CNetworkModel* Place(CNetwork& m, int32_t type, CRect box, size_t inputs = 0) {
    CNetworkModel* c = test::Drop(m, type);
    while (c->m_inputs.Size() < inputs) c->AddInput(0);
    c->m_box = box;
    c->m_position = {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    c->m_portOffset = 24;
    c->m_portHeight = 12;
    c->m_portSpacing = 14;
    c->m_portWidth = 48;
    c->m_singleInputSlot = false;
    return c;
}

/// A module with two overlapping modules, categorised system ports (one
/// category contracted), and in the second module components, a reduced and a
/// consolidated one, a chart under a value window and two graphics.
class ViewLayoutTest : public ::testing::Test {
  public:
    ViewLayoutTest() {
        m1 = s.CreateModule("M1", 400, 200);  // box 315,140 - 485,260
        m2 = s.CreateModule("M2", 450, 260);  // box 365,200 - 535,320, drawn above M1
        m1->CreateInput("a");
        m1->CreateInput("b");
        m1->CreateOutput("x");
        i1 = s.CreateSystemInput("i1", 1);
        i2 = s.CreateSystemInput("i2", 1);
        hidden = s.CreateInputCategory("Hidden");
        h1 = s.CreateSystemInput("h1", 1);
        s.AssignCategory(*h1, *hidden);
        o1 = s.CreateSystemOutput("o1", 1);
        e.m_contractedInputCategories = {hidden->m_id};

        d = s.CreateModule("D", 0, 0);
        d->CreateInput("in");
        a = Place(*d, 21, {300, 100, 380, 180}, 2);
        r = Place(*d, 41, {300, 300, 380, 380});
        r->m_displayB = true;  // shown reduced: 308,322 - 372,358
        h = Place(*d, 41, {600, 100, 660, 160});
        g = s.m_graphics.AddGraphic(s.Random());
        g->m_rect = {580, 80, 700, 200};
        h->m_graphicId = g->m_id;
        g2 = s.m_graphics.AddGraphic(s.Random());
        g2->m_rect = {200, 450, 400, 550};
        chart = s.m_charts.AddChart(s.Random());
        chart->Attach(d, a, a->FirstOutput());
        chart->m_rect = {450, 300, 650, 420};
        window = s.m_valueWindows.AddValueWindow(s.Random());
        window->Attach(d, a, a->FirstOutput());
        window->m_rect = {500, 380, 600, 428};
    }

    /// The module design view of `d` with the graphic `g2` selected.
    void Design() {
        e.DesignModule(d->m_id);
        e.m_graphics = {g2->m_id};
    }
    void Show(bool design) { design ? Design() : e.ShowSystem(); }
    CViewLayout Layout(const CViewTransform& t = {}) { return CViewLayout(s, e, t, kWidth, kHeight); }

    CSystem s;
    CEditorState e;
    CNetwork *m1, *m2, *d;
    CExternalInput *i1, *i2, *h1;
    CExternalOutput* o1;
    CExternalInputCategory* hidden;
    CNetworkModel *a, *r, *h;
    CGraphic *g, *g2;
    CChart* chart;
    CValueWindow* window;
};

struct HitCase {
    const char* name;
    CPointD at;  // model point, or a viewport point with `viewport`
    EHit kind;
    const void* object;
    int part = 0;
    bool viewport = false;
    double dxPixels = 0;  // added to the model point in viewport pixels
};

/// Every case under every transform of kTransforms.
void ExpectHits(ViewLayoutTest& scene, const std::vector<HitCase>& cases) {
    for (const CViewTransform& t : kTransforms) {
        const CViewLayout l = scene.Layout(t);
        for (const HitCase& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.name << " at zoom " << t.zoom);
            const CPointD v = c.viewport ? c.at : l.ToViewport(c.at + CPointD{c.dxPixels / t.zoom, 0});
            const CHit hit = l.HitTest(v);
            EXPECT_EQ(hit.kind, c.kind);
            EXPECT_EQ(ObjectOf(hit), c.object);
            EXPECT_EQ(hit.part, c.part);
        }
    }
}

TEST_F(ViewLayoutTest, SystemViewHits) {
    CExternalInputCategory* byDefault = s.m_inputCategories.Head();
    const std::vector<HitCase> cases = {
        {"default category row", {85, 35}, EHit::InputCategory, byDefault, 0, true},
        {"first input row", {85, 56}, EHit::SystemInput, i1, 0, true},
        {"second input row", {85, 76}, EHit::SystemInput, i2, 0, true},
        {"gap after a category", {85, 88}, EHit::InputsBar, nullptr, 0, true},
        {"contracted category row", {85, 100}, EHit::InputCategory, hidden, 0, true},
        {"where its member would be", {85, 125}, EHit::InputsBar, nullptr, 0, true},
        {"output row", {kWidth - 85, 56}, EHit::SystemOutput, o1, 0, true},
        {"outputs bar", {kWidth - 85, 900}, EHit::OutputsBar, nullptr, 0, true},
        {"module title", {400, 150}, EHit::Module, m1},
        {"overlap: the module drawn last", {420, 230}, EHit::Module, m2},
        {"module input", {315, 179}, EHit::ModuleInput, m1->m_inputs.Head()},
        {"second module input", {315, 199}, EHit::ModuleInput, m1->m_inputs.Tail()},
        {"module output", {485, 179}, EHit::ModuleOutput, m1->m_outputs.Head()},
        {"2 pixels beside a port", {310, 179}, EHit::ModuleInput, m1->m_inputs.Head(), 0, false, -2},
        {"4 pixels beside a port", {310, 179}, EHit::None, nullptr, 0, false, -4},
        {"empty space", {900, 900}, EHit::None, nullptr},
    };
    ExpectHits(*this, cases);
}

TEST_F(ViewLayoutTest, ModuleViewHits) {
    Design();
    const std::vector<HitCase> cases = {
        {"module input row", {85, 35}, EHit::ModInput, d->m_inputs.Head(), 0, true},
        {"inputs bar", {85, 300}, EHit::ModInputsBar, d, 0, true},
        {"outputs bar", {kWidth - 85, 300}, EHit::ModOutputsBar, d, 0, true},
        {"component body", {340, 140}, EHit::Component, a},
        {"component input", {260, 130}, EHit::ComponentInput, a->m_inputs.Head()},
        {"second input", {260, 156}, EHit::ComponentInput, a->m_inputs.At(1)},
        {"component output", {420, 130}, EHit::ComponentOutput, a->FirstOutput()},
        {"reduced box", {340, 340}, EHit::Component, r},
        {"reduced box edge", {309, 340}, EHit::Component, r},
        {"full box of a reduced one", {302, 378}, EHit::None, nullptr},
        {"port place of a reduced one", {390, 330}, EHit::None, nullptr},
        {"consolidated: its graphic", {630, 130}, EHit::Graphic, g},
        {"chart", {470, 350}, EHit::Chart, chart},
        {"chart size button", {624.5, 308}, EHit::ChartSizeButton, chart, 2},
        {"value window above the chart", {550, 410}, EHit::ValueWindow, window},
        {"clasp of the selected graphic", {400, 550}, EHit::GraphicHandle, g2, 2},
        {"2 pixels beside the clasp", {404, 550}, EHit::GraphicHandle, g2, 2, false, 2},
        {"graphic body", {300, 500}, EHit::Graphic, g2},
        {"corner of an unselected graphic", {580, 80}, EHit::Graphic, g},
        {"empty space", {750, 500}, EHit::None, nullptr},
    };
    ExpectHits(*this, cases);
}

TEST_F(ViewLayoutTest, HiddenBarsLeaveTheirPlaceToTheModel) {
    Design();
    e.m_options.showModuleInputsBar = false;
    d->m_position = {0, 0};
    a->m_box = {0, 20, 100, 60};
    const CViewLayout l = Layout();
    EXPECT_TRUE(l.BarRect(true).IsNull());
    EXPECT_TRUE(l.BarRows(true).empty());
    EXPECT_EQ(l.HitTest({50, 40}).component, a);
    EXPECT_EQ(l.HitTest({85, 300}).kind, EHit::None);
    EXPECT_FALSE(l.PortAnchor({.kind = EHit::ModInput, .module = d, .moduleInput = d->m_inputs.Head()}));
}

TEST_F(ViewLayoutTest, CentresFollowZoomAndScroll) {
    struct Case {
        const char* name;
        bool design;
        CHit hit;
        CPointD model;
    };
    const Case cases[] = {
        {"component", true, {.kind = EHit::Component, .module = d, .component = a}, {340, 140}},
        {"second input",
         true,
         {.kind = EHit::ComponentInput, .module = d, .component = a, .input = a->m_inputs.At(1)},
         {276, 156}},
        {"output",
         true,
         {.kind = EHit::ComponentOutput, .module = d, .component = a, .output = a->FirstOutput()},
         {404, 130}},
        {"reduced", true, {.kind = EHit::Component, .module = d, .component = r}, {340, 340}},
        {"chart, below its title", true, {.kind = EHit::Chart, .module = d, .chart = chart}, {550, 368}},
        {"size button 1",
         true,
         {.kind = EHit::ChartSizeButton, .module = d, .chart = chart, .part = 1},
         {609.5, 308}},
        {"clasp 0", true, {.kind = EHit::GraphicHandle, .module = d, .graphic = g2, .part = 0}, {200, 450}},
        {"value window", true, {.kind = EHit::ValueWindow, .module = d, .valueWindow = window}, {550, 404}},
        {"module", false, {.kind = EHit::Module, .module = m2}, {450, 260}},
        {"module input",
         false,
         {.kind = EHit::ModuleInput, .module = m1, .moduleInput = m1->m_inputs.Tail()},
         {315, 199}},
        {"module output",
         false,
         {.kind = EHit::ModuleOutput, .module = m1, .moduleOutput = m1->m_outputs.Head()},
         {485, 179}},
    };
    for (const CViewTransform& t : kTransforms) {
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.name << " at zoom " << t.zoom);
            Show(c.design);
            const CViewLayout l = Layout(t);
            EXPECT_EQ(l.CentreOf(c.hit), l.ToViewport(c.model));
            EXPECT_EQ(l.HitTest(l.CentreOf(c.hit)), c.hit);
        }
        // Bars and their rows stay where the viewport has them.
        Design();
        const CViewLayout l = Layout(t);
        EXPECT_EQ(l.CentreOf({.kind = EHit::ModInputsBar, .module = d}), (CPointD{85, kHeight - 10}));
        EXPECT_EQ(l.CentreOf({.kind = EHit::ModOutputsBar, .module = d}),
                  (CPointD{kWidth - 85, kHeight - 10}));
        EXPECT_EQ(l.CentreOf({.kind = EHit::ModInput, .module = d, .moduleInput = d->m_inputs.Head()}),
                  (CPointD{85, 35}));
    }
    // A component with one input slot shows it halfway down.
    a->m_singleInputSlot = true;
    EXPECT_EQ(ComponentPortRect(*a, 0, false), (CRectD{252, 134, 300, 146}));
}

TEST_F(ViewLayoutTest, ModuleBoxesGrowWithTheirPorts) {
    struct Case {
        const char* name;
        int inputs, outputs;
        bool grouped;
        int32_t width;
        CRectD box;  // around position (0, 0)
    };
    const Case cases[] = {
        {"no ports: the least height", 0, 0, false, 170, {-85, -60, 85, 60}},
        {"five inputs", 5, 0, false, 170, {-85, -75, 85, 75}},
        {"more outputs than inputs", 1, 6, false, 170, {-85, -85, 85, 85}},
        {"grouped inputs: one slot", 5, 0, true, 170, {-85, -60, 85, 60}},
        {"a width of its own", 0, 0, false, 250, {-125, -60, 125, 60}},
        {"no width: the usual one", 0, 0, false, 0, {-85, -60, 85, 60}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CNetwork* m = s.CreateModule("box", 0, 0);
        for (int i = 0; i < c.inputs; ++i) m->CreateInput("in");
        for (int i = 0; i < c.outputs; ++i) m->CreateOutput("out");
        m->m_collapsedInputs = c.grouped;
        m->m_boxWidth = c.width;
        EXPECT_EQ(ModuleBox(*m), c.box);
        // The second port slot lies one row below the first, half outside the edge.
        EXPECT_EQ(ModulePortRect(*m, 1, true), CRectD::Sized(c.box.right - 5, c.box.top + 54, 10, 10));
    }
}

TEST_F(ViewLayoutTest, AnchorsMeetTheEdges) {
    struct Case {
        const char* name;
        bool design;
        CHit port;
        std::optional<CPointD> anchor;  // model point, or viewport for bar rows
        bool viewport;
    };
    const Case cases[] = {
        {"component output: outer edge",
         true,
         {.kind = EHit::ComponentOutput, .module = d, .component = a, .output = a->FirstOutput()},
         CPointD{428, 130},
         false},
        {"component input",
         true,
         {.kind = EHit::ComponentInput, .module = d, .component = a, .input = a->m_inputs.At(1)},
         CPointD{252, 156},
         false},
        {"reduced: side of the small box",
         true,
         {.kind = EHit::ComponentOutput, .module = d, .component = r, .output = r->FirstOutput()},
         CPointD{372, 340},
         false},
        {"module input row: inner edge",
         true,
         {.kind = EHit::ModInput, .module = d, .moduleInput = d->m_inputs.Head()},
         CPointD{170, 35},
         true},
        {"module input",
         false,
         {.kind = EHit::ModuleInput, .module = m1, .moduleInput = m1->m_inputs.Head()},
         CPointD{310, 179},
         false},
        {"system input row", false, {.kind = EHit::SystemInput, .systemInput = i2}, CPointD{170, 76}, true},
        {"system output row",
         false,
         {.kind = EHit::SystemOutput, .systemOutput = o1},
         CPointD{kWidth - 170, 56},
         true},
        {"member of a contracted category",
         false,
         {.kind = EHit::SystemInput, .systemInput = h1},
         std::nullopt,
         true},
    };
    for (const CViewTransform& t : kTransforms) {
        for (const Case& c : cases) {
            SCOPED_TRACE(::testing::Message() << c.name << " at zoom " << t.zoom);
            Show(c.design);
            const CViewLayout l = Layout(t);
            const auto expected = c.anchor && !c.viewport ? l.ToViewport(*c.anchor) : c.anchor;
            EXPECT_EQ(l.PortAnchor(c.port), expected);
        }
    }
}

TEST_F(ViewLayoutTest, SelectionRectanglesTouch) {
    struct Case {
        const char* name;
        bool design, graphics;
        CRectD rect;
        std::vector<const void*> touched;
    };
    const Case cases[] = {
        {"part of one module", false, false, {300, 130, 330, 150}, {m1}},
        {"an edge alone is not enough", false, false, {485, 140, 500, 150}, {}},
        {"both modules", false, false, {400, 150, 500, 300}, {m1, m2}},
        {"the full box of a reduced component", true, false, {290, 290, 305, 305}, {}},
        {"its reduced box", true, false, {360, 350, 400, 400}, {r}},
        {"a consolidated component", true, false, {610, 110, 620, 120}, {}},
        {"graphics with Ctrl", true, true, {610, 110, 620, 120}, {g}},
        {"upside down", true, false, {380, 400, 360, 350}, {r}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Show(c.design);
        std::vector<const void*> touched;
        for (const CHit& hit : Layout().Touching(c.rect, c.graphics)) touched.push_back(ObjectOf(hit));
        EXPECT_EQ(touched, c.touched);
    }
}

TEST_F(ViewLayoutTest, ContentBoundsOfEachMode) {
    EXPECT_EQ(Layout().ContentBounds(), (CRectD{-85, -60, 535, 320}));  // the module boxes
    Design();
    // Components as shown (the consolidated one lies in its graphic), charts, windows, graphics.
    EXPECT_EQ(Layout().ContentBounds(), (CRectD{200, 80, 700, 550}));
    e.DesignModule(m1->m_id);
    s.m_graphics.Clear();
    EXPECT_TRUE(Layout().ContentBounds().IsNull());
    // The scroll bars span the mode's boxes with a margin, and the scroll position.
    const CRectD extent = Layout({1, {5000, 0}}).ScrollExtent();
    EXPECT_EQ(extent, (CRectD{-770, -600, 5001, 600}));
}

TEST_F(ViewLayoutTest, DrawingOrderFollowsTheSystemList) {
    struct Case {
        const char* name;
        std::function<void()> arrange;
        CNetwork* top;
    };
    const Case cases[] = {
        {"creation order", [] {}, m2},
        {"a pressed module goes last",
         [&] {
             s.m_modulesByCreation.Remove(m1);
             s.m_modulesByCreation.Append(m1);
         },
         m1},
        {"a list that lost a module: the module list", [&] { s.m_modulesByCreation.Remove(m2); }, m2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.arrange();
        EXPECT_EQ(Layout().HitTest({420, 230}).module, c.top);
        EXPECT_EQ(ModulesInDrawOrder(s).size(), s.m_modules.Size());
    }
}

TEST(FitTransform, ContentFitsBetweenTheBars) {
    struct Case {
        const char* name;
        CRectD content;
        double width, height;
        bool anyZoom;
        std::optional<CViewTransform> fit;
    };
    const Case cases[] = {
        {"exact fit", {0, 0, 660, 400}, 1000, 400, false, CViewTransform{1, {-170, 0}}},
        {"twice as large", {0, 0, 1320, 800}, 1000, 400, false, CViewTransform{0.5, {-340, 0}}},
        {"height decides, centred across", {0, 0, 330, 400}, 1000, 400, false, CViewTransform{1, {-335, 0}}},
        {"tiny: no closer than the largest zoom",
         {0, 0, 10, 10},
         1000,
         400,
         false,
         CViewTransform{4, {-120, -45}}},
        {"huge: no further than the smallest zoom",
         {0, 0, 66000, 100},
         1000,
         400,
         false,
         CViewTransform{0.25, {31000, -750}}},
        {"huge, for printing: any zoom",
         {0, 0, 66000, 100},
         1000,
         400,
         true,
         CViewTransform{0.01, {-17000, -19950}}},
        {"nothing to fit", {}, 1000, 400, false, std::nullopt},
        {"a viewport without height, for printing", {0, 0, 100, 100}, 1000, 0, true, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto fit = FitTransform(c.content, c.width, c.height, 170, 170, c.anyZoom);
        ASSERT_EQ(fit.has_value(), c.fit.has_value());
        if (!fit) continue;
        EXPECT_DOUBLE_EQ(fit->zoom, c.fit->zoom);
        EXPECT_NEAR(fit->scroll.x, c.fit->scroll.x, 1e-6);
        EXPECT_NEAR(fit->scroll.y, c.fit->scroll.y, 1e-6);
    }
}

}  // namespace
}  // namespace zor2
