// Component property sheets: captions, values read from each type, edits under
// the dialogs' rules, what OK writes back, and the undo level it records.
#include "designer/component_properties.h"

#include <functional>

#include "components/math/compare.h"
#include "components/math/delay.h"
#include "components/utility/quantity_diminish.h"
#include "components/utility/rand_gen.h"
#include "components/utility/timer.h"
#include "designer/commands_window.h"
#include "doc_fixture.h"
#include "scripted_host.h"

namespace zor2::test {
namespace {

constexpr int32_t kTimer = 14, kDelay = 2, kQuantity = 68, kRandGen = 43, kDynamic = 81, kCompareConst = 18;

class PropertiesTest : public DocTest {
  protected:
    CNetworkModel* Fresh(int32_t typeId) {
        if (!Ed().DesignedModule(Sys())) DesignNewModule();
        return Add(typeId);
    }
    /// The component after an undo or redo replaced the system.
    CNetworkModel* Again(int32_t id) {
        CNetwork* m = Ed().DesignedModule(Sys());
        return m ? m->m_components.Find(id) : nullptr;
    }
    static std::string Text(const CPropertySheet& s, const char* key) {
        const CPropField* f = s.Find(key);
        return f ? f->text : "<missing>";
    }
};

TEST_F(PropertiesTest, CaptionsFollowTheType) {
    struct Case {
        int32_t typeId;
        const char* caption;  // empty: no dialog
    } cases[] = {
        {3, "Component Properties - Logic Gate"},
        {8, "Component Properties - Logic Gate"},
        {9, "Component Properties - Valve"},
        {11, "Component Properties - Toggle"},
        {29, "Component Properties - Bit Extraction"},
        {90, "Component Properties"},
        {56, "Component Properties"},
        {15, "Compare to Variable "},
        {19, "Compare to Constant Component"},
        {21, "Component Properties"},
        {80, "Component Properties"},
        {86, ""},
        {89, ""},
        {kTimer, "Timer Component Properties"},
        {kDelay, "Delay Component Properties"},
        {25, "Component Properties - Counter"},
        {26, "Component Properties - Counter"},
        {kConstant, "Component Properties"},
        {kQuantity, "Component Properties - Diminishing Quantity"},
        {kRandGen, "Component Properties - Random Number Generator"},
        {kDynamic, "Component Properties - Dynamic Number"},
        {12, "Segmenter Single - Thresholds"},
        {13, "Segmenter Multiple - Thresholds"},
        {46, "Component Properties - Match Count"},
        {70, "Pattern Generator Properties"},
        {71, "Pattern Analyzer Properties"},
        {72, "Component Properties - Pattern Recorder"},
        {45, "CSV Data Input Properties"},
        {67, "Component Properties - Data Value Storage"},
        {74, "7-Segment LED Properties"},
        {75, "Integrated Column Chart Properties"},
        {76, "8x8 LED Controller Properties"},
        {77, "8x8 LED Display Properties"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typeId);
        CNetworkModel* comp = Fresh(c.typeId);
        ASSERT_NE(comp, nullptr);
        EXPECT_EQ(HasPropertyDialog(*comp), *c.caption != '\0');
        EXPECT_EQ(ReadComponentProperties(*comp).Caption(), c.caption);
    }
}

TEST_F(PropertiesTest, SheetsShowTheComponentsValuesInTheirFormats) {
    struct Case {
        int32_t typeId;
        const char* key;
        const char* text;
        bool enabled;
    } cases[] = {
        {kTimer, "delay", "500", true},       {kDelay, "factor", "0.75", true},
        {kConstant, "value", "10.00", true},  {kCompareConst, "compare", "0.00", true},
        {kQuantity, "autoRate", "0.1", true}, {kQuantity, "minimum", "0", true},
        {kQuantity, "maximum", "100", true},  {kRandGen, "low", "1", true},
        {kRandGen, "high", "6", true},        {kDynamic, "start", "100", true},
        {kDynamic, "low", "-2", true},        {kDynamic, "high", "2", true},
        {kDynamic, "floor", "0", false},      {kDynamic, "ceiling", "200", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.typeId) + " " + c.key);
        CNetworkModel* comp = Fresh(c.typeId);
        const CPropertySheet s = ReadComponentProperties(*comp);
        EXPECT_EQ(Text(s, "name"), comp->m_name);
        ASSERT_NE(s.Find(c.key), nullptr);
        EXPECT_EQ(s.Find(c.key)->text, c.text);
        EXPECT_EQ(s.Find(c.key)->enabled, c.enabled);
        EXPECT_FALSE(s.Edited());
    }
    const CPropertySheet quantity = ReadComponentProperties(*Fresh(kQuantity));
    EXPECT_TRUE(quantity.Find("autoMode")->checked);
    EXPECT_EQ(quantity.Find("autoMode")->group, "Auto Diminish");
    EXPECT_EQ(quantity.Find("maximum")->group, "Container Parameters");
    const CPropertySheet rand = ReadComponentProperties(*Fresh(kRandGen));
    EXPECT_EQ(rand.Find("mode")->choice, 2);
    EXPECT_EQ(rand.Find("timing")->choice, 0);
    EXPECT_EQ(rand.Find("interval")->number, 1);
    EXPECT_EQ(rand.Find("interval")->maximum, 3600);
    EXPECT_FALSE(rand.Find("zero")->checked);

    // Integer bounds beyond 32 bits show saturated, and stay as they are unless edited.
    CNetworkModel* wide = Fresh(kRandGen);
    auto& gen = dynamic_cast<CModelRandGen&>(*wide);
    CRandomDraw draw = gen.Draw();
    draw.low = -1e12;
    draw.high = 1e12;
    ASSERT_TRUE(gen.SetDraw(draw));
    CPropertySheet s = ReadComponentProperties(*wide);
    EXPECT_EQ(Text(s, "low"), "-2147483648");
    EXPECT_EQ(Text(s, "high"), "2147483647");
    ASSERT_TRUE(s.SetSpin("interval", 2));
    ASSERT_EQ(ApplyComponentProperties(m_doc, *wide, s), ECmd::Done);
    EXPECT_EQ(gen.Draw().high, 1e12);
}

TEST_F(PropertiesTest, OkWritesTheEditsBackAsOneUndoLevel) {
    using Edit = std::function<void(CPropertySheet&)>;
    using Check = std::function<void(CNetworkModel&)>;
    struct Case {
        const char* name;
        int32_t typeId;
        Edit edit;
        Check check;
    } cases[] = {
        {"name and description", 3,
         [](CPropertySheet& s) {
             EXPECT_TRUE(s.SetText("name", "Gate A"));
             EXPECT_TRUE(s.SetText("description", "two\nlines"));
         },
         [](CNetworkModel& c) {
             EXPECT_EQ(c.m_name, "Gate A");
             EXPECT_EQ(c.m_description, "two\nlines");
         }},
        {"timer delay", kTimer, [](CPropertySheet& s) { EXPECT_TRUE(s.SetText("delay", " 250 ")); },
         [](CNetworkModel& c) {
             EXPECT_EQ(dynamic_cast<CModelTimer&>(c).Delay(), 250.0);
             EXPECT_EQ(c.m_paramDouble, 250.0);
         }},
        {"constant value", kConstant, [](CPropertySheet& s) { EXPECT_TRUE(s.SetText("value", "-3.25")); },
         [](CNetworkModel& c) {
             EXPECT_EQ(c.m_value, -3.25);
             EXPECT_EQ(c.FirstOutput()->m_value, -3.25);  // executed on OK
         }},
        {"compare value", kCompareConst, [](CPropertySheet& s) { EXPECT_TRUE(s.SetText("compare", "7.5")); },
         [](CNetworkModel& c) { EXPECT_EQ(dynamic_cast<CModelCompare&>(c).CompareValue(), 7.5); }},
        {"quantity container and auto", kQuantity,
         [](CPropertySheet& s) {
             EXPECT_TRUE(s.SetChecked("autoMode", false));
             EXPECT_TRUE(s.SetText("autoRate", "0.5"));
             EXPECT_TRUE(s.SetText("minimum", "10"));
             EXPECT_TRUE(s.SetText("maximum", "50"));
         },
         [](CNetworkModel& c) {
             auto& q = dynamic_cast<CModelQuantityDiminish&>(c);
             EXPECT_FALSE(q.AutoMode());
             EXPECT_EQ(q.AutoRate(), 0.5);
             EXPECT_EQ(q.Minimum(), 10.0);
             EXPECT_EQ(q.Maximum(), 50.0);
         }},
        {"random float mode and seconds", kRandGen,
         [](CPropertySheet& s) {
             EXPECT_TRUE(s.Choose("mode", 1));
             EXPECT_TRUE(s.Choose("timing", 1));
             EXPECT_TRUE(s.SetSpin("interval", 5));
             EXPECT_TRUE(s.SetChecked("zero", true));
         },
         [](CNetworkModel& c) {
             const CRandomDraw& d = dynamic_cast<CModelRandGen&>(c).Draw();
             EXPECT_EQ(d.mode, 2);
             EXPECT_EQ(d.low, -1.0);
             EXPECT_EQ(d.high, 1.0);
             EXPECT_EQ(d.timing, 1);
             EXPECT_EQ(d.interval, 5);
             EXPECT_TRUE(d.zeroWhileWaiting);
             EXPECT_EQ(c.FirstOutput()->m_decimals, 3);
         }},
        {"random integer bounds", kRandGen,
         [](CPropertySheet& s) {
             EXPECT_TRUE(s.SetText("low", "2"));
             EXPECT_TRUE(s.SetText("high", "12"));
         },
         [](CNetworkModel& c) {
             const CRandomDraw& d = dynamic_cast<CModelRandGen&>(c).Draw();
             EXPECT_EQ(d.low, 2.0);
             EXPECT_EQ(d.high, 12.0);
             EXPECT_EQ(c.FirstOutput()->m_decimals, 0);
         }},
        {"dynamic bounds", kDynamic,
         [](CPropertySheet& s) {
             EXPECT_TRUE(s.SetText("start", "50"));
             EXPECT_TRUE(s.SetChecked("useCeiling", true));
             EXPECT_TRUE(s.SetText("ceiling", "60"));
         },
         [](CNetworkModel& c) {
             const CDynamicFields& f = dynamic_cast<CModelDynamicNumber&>(c).Fields();
             EXPECT_EQ(f.start, 50.0);
             EXPECT_TRUE(f.useCeiling);
             EXPECT_EQ(f.ceiling, 60.0);
             EXPECT_FALSE(f.useFloor);
             EXPECT_TRUE(f.draw.zeroWhileWaiting);  // no control changes it
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CNetworkModel* comp = Fresh(c.typeId);
        const int32_t id = comp->m_id;
        const CPropertySheet before = ReadComponentProperties(*comp);
        CPropertySheet s = before;
        c.edit(s);
        EXPECT_TRUE(s.Edited());
        const size_t levels = Levels();
        ASSERT_EQ(ApplyComponentProperties(m_doc, *comp, s), ECmd::Done);
        EXPECT_EQ(Levels(), levels + 1);
        EXPECT_TRUE(m_doc.IsModified());
        c.check(*comp);
        // Undo brings back what the dialog showed before.
        ASSERT_TRUE(m_doc.UndoChange());
        CNetworkModel* undone = Again(id);
        ASSERT_NE(undone, nullptr);
        const CPropertySheet after = ReadComponentProperties(*undone);
        for (const CPropField& f : before.Fields()) {
            SCOPED_TRACE(f.key);
            EXPECT_EQ(after.Find(f.key)->text, f.text);
            EXPECT_EQ(after.Find(f.key)->checked, f.checked);
            EXPECT_EQ(after.Find(f.key)->choice, f.choice);
        }
        ASSERT_TRUE(m_doc.RedoChange());
    }
}

TEST_F(PropertiesTest, TextThatIsNotANumberIsRefusedAndChangesNothing) {
    struct Case {
        int32_t typeId;
        const char* key;
        const char* text;
        const char* field;         // as the message names it
        const char* enabler = "";  // a check box that unlocks the field first
    } cases[] = {
        {kTimer, "delay", "abc", "Delay in Milliseconds"},
        {kTimer, "delay", "", "Delay in Milliseconds"},
        {kConstant, "value", "12x", "Constant Value"},
        {kConstant, "value", "1e999", "Constant Value"},
        {kConstant, "value", "nan", "Constant Value"},
        {kCompareConst, "compare", "--1", "Enter the constant to compare the input to here"},
        {kQuantity, "maximum", "1,5", "Maximum"},
        {kRandGen, "high", "six", "Max"},
        {kDynamic, "start", "inf", "Start Value"},
        // Unlabelled bounds are named by the check box beside them.
        {kDynamic, "floor", "low", "Min Allowed Value", "useFloor"},
        {kDynamic, "ceiling", "high", "Max Allowed Value", "useCeiling"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " = '" + c.text + "'");
        CNetworkModel* comp = Fresh(c.typeId);
        CPropertySheet s = ReadComponentProperties(*comp);
        ASSERT_TRUE(s.SetText("name", "renamed"));
        if (*c.enabler) {
            ASSERT_TRUE(s.SetChecked(c.enabler, true));
        }
        ASSERT_TRUE(s.SetText(c.key, c.text));
        EXPECT_FALSE(s.Validate().empty());
        const CPropertySheet shown = ReadComponentProperties(*comp);
        const size_t levels = Levels();
        m_prompter.m_messages.clear();
        EXPECT_EQ(ApplyComponentProperties(m_doc, *comp, s), ECmd::Refused);
        EXPECT_EQ(Levels(), levels);
        ASSERT_EQ(m_prompter.m_messages.size(), 1u);
        EXPECT_EQ(LastMessage(), std::string("Please enter a number for \"") + c.field + "\" (\"" + c.text +
                                     "\" is not a number).");
        // Nothing at all was written, the name included.
        const CPropertySheet now = ReadComponentProperties(*comp);
        for (const CPropField& f : shown.Fields()) EXPECT_EQ(now.Find(f.key)->text, f.text) << f.key;
    }
}

TEST_F(PropertiesTest, AnUnchangedOkRecordsNothingAndKeepsExactValues) {
    CNetworkModel* k = Fresh(kConstant);
    k->m_value = 1.23456;  // shown as "1.23"
    const size_t levels = Levels();
    EXPECT_EQ(ApplyComponentProperties(m_doc, *k, ReadComponentProperties(*k)), ECmd::Unavailable);
    EXPECT_EQ(Levels(), levels);
    EXPECT_EQ(k->m_value, 1.23456);
    EXPECT_EQ(k->FirstOutput()->m_value, 1.23456);  // the Constant still executes on OK

    // Editing one field leaves the others as exact as they were.
    CNetworkModel* q = Fresh(kQuantity);
    auto& quantity = dynamic_cast<CModelQuantityDiminish&>(*q);
    ASSERT_TRUE(quantity.SetContainer(0.123456789, 100.0));
    CPropertySheet s = ReadComponentProperties(*q);
    ASSERT_TRUE(s.SetText("maximum", "80"));
    EXPECT_EQ(ApplyComponentProperties(m_doc, *q, s), ECmd::Done);
    EXPECT_EQ(quantity.Minimum(), 0.123456789);
    EXPECT_EQ(quantity.AutoRate(), static_cast<double>(0.1f));
}

TEST_F(PropertiesTest, SheetOfAnotherComponentOrWhileRunningIsRefused) {
    CNetworkModel* a = Fresh(kConstant);
    CNetworkModel* b = Fresh(kConstant);
    CPropertySheet s = ReadComponentProperties(*a);
    ASSERT_TRUE(s.SetText("value", "5"));
    const size_t levels = Levels();
    EXPECT_EQ(ApplyComponentProperties(m_doc, *b, s), ECmd::Refused);
    EXPECT_EQ(b->m_value, 10.0);
    Sys().m_running = true;
    EXPECT_EQ(ApplyComponentProperties(m_doc, *a, s), ECmd::Refused);
    EXPECT_EQ(LastMessage(),
              "Please stop the simulator before modifying component properties via the dialog interface.");
    Sys().m_running = false;
    EXPECT_EQ(a->m_value, 10.0);
    EXPECT_EQ(Levels(), levels);
}

TEST_F(PropertiesTest, EditsTheControlsCannotMakeAreRefused) {
    CNetworkModel* r = Fresh(kRandGen);
    CPropertySheet s = ReadComponentProperties(*r);
    struct Case {
        const char* what;
        bool done;
    } cases[] = {
        {"interval 0", s.SetSpin("interval", 0)},
        {"interval 3601", s.SetSpin("interval", 3601)},
        {"mode 3", s.Choose("mode", 3)},
        {"mode -1", s.Choose("mode", -1)},
        {"unknown key", s.SetText("nothing", "1")},
        {"text on a check box", s.SetText("zero", "1")},
        {"name of 100 characters", s.SetText("name", std::string(100, 'n'))},
    };
    for (const Case& c : cases) EXPECT_FALSE(c.done) << c.what;
    EXPECT_FALSE(s.Edited());
    EXPECT_TRUE(s.SetSpin("interval", 3600));
    EXPECT_TRUE(s.SetText("name", std::string(99, 'n')));
}

TEST_F(PropertiesTest, TimerDelayIsLockedWhileDelayMsHasASource) {
    CNetworkModel* k = Fresh(kConstant);
    CNetworkModel* t = Fresh(kTimer);
    CModelConnection* made = nullptr;
    ASSERT_EQ(t->m_owner->RequestConnect(*k, k->FirstOutput(), *t, t->LastInput(), &made), 0);
    auto& timer = dynamic_cast<CModelTimer&>(*t);
    const double delay = timer.Delay();
    CPropertySheet s = ReadComponentProperties(*t);
    EXPECT_FALSE(s.Find("delay")->enabled);
    EXPECT_EQ(s.Find("delayNote")->label,
              "(editing the delay here is disabled if there is an active delay input)");
    EXPECT_FALSE(s.SetText("delay", "100"));
    EXPECT_FALSE(s.Edited());
    EXPECT_EQ(ApplyComponentProperties(m_doc, *t, s), ECmd::Unavailable);
    EXPECT_EQ(timer.Delay(), delay);
}

TEST_F(PropertiesTest, DelayFactorStepsByOneHundredthWithinItsBounds) {
    CNetworkModel* d = Fresh(kDelay);
    CPropertySheet s = ReadComponentProperties(*d);
    struct Case {
        bool up;
        int presses;
        const char* text;
    } cases[] = {
        {true, 1, "0.76"},
        {true, 50, "0.99"},  // the last step starts just below 0.98
        {false, 3, "0.96"},
        {false, 200, "0.01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        for (int i = 0; i < c.presses; ++i) s.Step("factor", c.up);
        EXPECT_EQ(s.Find("factor")->text, c.text);
        EXPECT_GT(s.Find("factor")->value, 0.0);
        EXPECT_LT(s.Find("factor")->value, 0.99);
    }
    EXPECT_FALSE(s.SetText("factor", "0.5"));  // read-only: only the buttons change it
    ASSERT_EQ(ApplyComponentProperties(m_doc, *d, s), ECmd::Done);
    EXPECT_EQ(dynamic_cast<CModelDelay&>(*d).FeedbackFactor(), s.Find("factor")->value);
}

TEST_F(PropertiesTest, RandomModeSetsTheRangeItShows) {
    for (int32_t type : {kRandGen, kDynamic}) {
        SCOPED_TRACE(type);
        CNetworkModel* r = Fresh(type);
        CPropertySheet s = ReadComponentProperties(*r);
        ASSERT_TRUE(s.SetText("low", "3"));
        struct Case {
            int32_t mode;
            const char* low;
            const char* high;
            bool enabled;
        } cases[] = {
            {0, "0.000", "1.000", false},
            {1, "-1.000", "1.000", false},
            {2, "3", type == kRandGen ? "6" : "2", true},  // the typed bound survives
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.mode);
            ASSERT_TRUE(s.Choose("mode", c.mode));
            EXPECT_EQ(Text(s, "low"), c.low);
            EXPECT_EQ(Text(s, "high"), c.high);
            EXPECT_EQ(s.Find("low")->enabled, c.enabled);
            EXPECT_EQ(s.Find("high")->enabled, c.enabled);
        }
        // A reversed integer range is accepted; the component copes with it.
        ASSERT_TRUE(s.SetText("high", "-4"));
        EXPECT_EQ(ApplyComponentProperties(m_doc, *r, s), ECmd::Done);
    }
}

TEST_F(PropertiesTest, RandNumDecimalsFollowTheModeOnOk) {
    CNetworkModel* r = Fresh(kRandGen);
    struct Case {
        int32_t mode;
        int32_t decimals;
    } cases[] = {{0, 3}, {2, 0}, {1, 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        CPropertySheet s = ReadComponentProperties(*r);
        ASSERT_TRUE(s.Choose("mode", c.mode));
        ASSERT_EQ(ApplyComponentProperties(m_doc, *r, s), ECmd::Done);
        EXPECT_EQ(r->FirstOutput()->m_decimals, c.decimals);
        EXPECT_EQ(dynamic_cast<CModelRandGen&>(*r).Draw().mode, c.mode + 1);
    }
}

TEST_F(PropertiesTest, DynamicBoundIsReadOnlyWhileItsBoxIsChecked) {
    CNetworkModel* d = Fresh(kDynamic);
    CPropertySheet s = ReadComponentProperties(*d);
    EXPECT_FALSE(s.SetText("floor", "5"));
    ASSERT_TRUE(s.SetChecked("useFloor", true));
    EXPECT_TRUE(s.Find("floor")->enabled);
    ASSERT_TRUE(s.SetText("floor", "junk"));
    EXPECT_FALSE(s.Validate().empty());
    // Unchecked again: the bound is neither parsed nor taken.
    ASSERT_TRUE(s.SetChecked("useFloor", false));
    EXPECT_FALSE(s.Find("floor")->enabled);
    EXPECT_TRUE(s.Validate().empty());
    ASSERT_TRUE(s.SetText("start", "7"));
    ASSERT_EQ(ApplyComponentProperties(m_doc, *d, s), ECmd::Done);
    const CDynamicFields& f = dynamic_cast<CModelDynamicNumber&>(*d).Fields();
    EXPECT_FALSE(f.useFloor);
    EXPECT_EQ(f.floor, 0.0);
    EXPECT_EQ(f.start, 7.0);
}

TEST_F(PropertiesTest, SegmentAndDataSourceDialogsAskFirstWhenOutputsAreConnected) {
    struct Case {
        int32_t typeId;
        bool connected;
        std::deque<EAnswer> answers;
        bool opened;
    };
    const Case cases[] = {
        {13, false, {}, true},
        {13, true, {EAnswer::No}, false},
        {13, true, {EAnswer::Yes}, true},
        {45, true, {EAnswer::Cancel}, false},
        {45, true, {EAnswer::Yes}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typeId * 10 + static_cast<int>(c.answers.size()));
        CNetworkModel* comp = Fresh(c.typeId);
        if (c.connected) Wire(*comp, *Fresh(21));
        Select(comp);
        CScriptedHost host;
        host.m_confirm = false;
        CCommandContext ctx{m_doc, host};
        Answer(c.answers);
        EXPECT_EQ(EditComponentProperties(ctx, *comp), ECmd::Cancelled);
        EXPECT_EQ(host.m_asked.size(), c.opened ? 1u : 0u);
        if (c.connected) {
            EXPECT_NE(LastQuestion().find("This component has 1 existing output connections."),
                      std::string::npos);
        }
    }
}

TEST(PropertyNumbers, ParseOneFiniteNumber) {
    struct Case {
        const char* text;
        bool ok;
        double value;
    } cases[] = {
        {"1", true, 1},    {" 2.5 ", true, 2.5}, {"-0.01", true, -0.01}, {"1e3", true, 1000},
        {"", false, 0},    {" ", false, 0},      {"1 2", false, 0},      {"0x", false, 0},
        {"inf", false, 0}, {"1e400", false, 0},  {"abc", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        double v = -99;
        EXPECT_EQ(ParsePropertyNumber(c.text, v), c.ok);
        EXPECT_EQ(v, c.ok ? c.value : -99);
    }
}

}  // namespace
}  // namespace zor2::test
