// The execution cycle: module passes, Feedback Flow lag, level order across
// modules, steps, reset, and a two-module system end to end.
#include <gtest/gtest.h>

#include "engine/port_helpers.h"
#include "support/scripted_prompter.h"
#include "support/system_builder.h"

namespace zor2 {
namespace {

using test::Drop;
using test::DropConstant;
using test::ExposeOutput;

class Cycle : public ::testing::Test {
  protected:
    void SetUp() override {
        system.SetRandom(&random);
        system.SetPrompter(&prompter);
    }
    CLcgRandom random{21};
    test::CScriptedPrompter prompter;
    CSystem system;
};

TEST_F(Cycle, TwoModulesEndToEnd) {
    // Constant -> Add -> module output -> second module -> system output.
    CNetwork* first = system.CreateModule("Network 1", 100, 100);
    CNetwork* second = system.CreateModule("Network 2", 400, 100);
    CNetworkModel* k = DropConstant(*first, 2.5);
    CNetworkModel* add = Drop(*first, 21);
    ASSERT_EQ(first->RequestConnect(*k, k->FirstOutput(), *add, nullptr), 0);
    CNetworkOutput* sum = ExposeOutput(*first, *add, "sum");
    CNetworkConnection* link = system.ConnectModules(*first, *second, sum);
    ASSERT_NE(link, nullptr);
    CNetworkInput* in = link->m_dstInput;
    EXPECT_EQ(in->m_name, "Network 1 out: sum");
    CNetworkModel* neg = Drop(*second, 88);
    ASSERT_EQ(second->RequestConnectModuleInput(*in, *neg, neg->FirstInput()), 0);
    CNetworkOutput* result = ExposeOutput(*second, *neg, "result");
    CExternalOutput* q = system.CreateSystemOutput("Result", 1);
    ASSERT_NE(system.ConnectSystemOutput(*second, *q, result), nullptr);
    EXPECT_EQ(first->m_level, 1);
    EXPECT_EQ(second->m_level, 2);

    system.ResetSystem();
    system.RunCycle();
    EXPECT_EQ(q->m_value, -2.5);
    EXPECT_EQ(system.m_cycleCount, 1);
    EXPECT_EQ(system.m_currentLevel, 1);
}

TEST_F(Cycle, FeedbackFlowLagsOneCycle) {
    CNetwork* m = system.CreateModule("Network 1", 0, 0);
    CNetworkModel* k = DropConstant(*m, 5);
    CNetworkModel* fb = Drop(*m, 56);
    CNetworkModel* consumer = Drop(*m, 21);
    ASSERT_EQ(m->RequestConnect(*k, k->FirstOutput(), *fb, fb->FirstInput()), 0);
    ASSERT_EQ(m->RequestConnect(*fb, fb->FirstOutput(), *consumer, nullptr), 0);
    system.ResetSystem();
    const double expected[] = {0, 5, 5};
    for (double e : expected) {
        m->ExecuteModule();
        EXPECT_EQ(consumer->FirstOutput()->m_value, e);
    }
    EXPECT_EQ(fb->FirstOutput()->ValueString(), "5.00");
}

TEST_F(Cycle, UnprimedFeedbackReadsZeroAndPrimedPushesHeldValue) {
    CNetwork* m = system.CreateModule("Network 1", 0, 0);
    CNetworkModel* fb = Drop(*m, 56);
    CNetworkModel* consumer = Drop(*m, 21);
    ASSERT_EQ(m->RequestConnect(*fb, fb->FirstOutput(), *consumer, nullptr), 0);
    system.ResetSystem();
    fb->FirstOutput()->m_value = 9.0;  // its own value, not what an unprimed output delivers
    EXPECT_EQ(fb->FirstOutput()->ConsumerValue(), 0.0);
    m->ExecuteModule();
    EXPECT_EQ(consumer->FirstOutput()->m_value, 0.0);
    // Once primed, the held value is pushed into the inputs it feeds, then pulled over.
    fb->FirstOutput()->m_heldValue = 3.0;
    fb->FirstOutput()->m_value = 4.0;
    m->ExecuteModule();
    EXPECT_EQ(consumer->FirstOutput()->m_value, 4.0);
}

TEST_F(Cycle, ModulesRunByLevelWhateverTheirListOrder) {
    // The consumer module is created first; it must still run after its source.
    CNetwork* consumer = system.CreateModule("Consumer", 0, 0);
    CNetwork* source = system.CreateModule("Source", 0, 0);
    CNetworkModel* k = DropConstant(*source, 7);
    CNetworkOutput* out = ExposeOutput(*source, *k, "k");
    CNetworkConnection* link = system.ConnectModules(*source, *consumer, out);
    ASSERT_NE(link, nullptr);
    CNetworkModel* add = Drop(*consumer, 21);
    ASSERT_EQ(consumer->RequestConnectModuleInput(*link->m_dstInput, *add, nullptr), 0);
    CNetworkOutput* r = ExposeOutput(*consumer, *add, "r");
    CExternalOutput* q = system.CreateSystemOutput("q", 1);
    ASSERT_NE(system.ConnectSystemOutput(*consumer, *q, r), nullptr);
    system.ResetSystem();
    system.RunCycle();
    EXPECT_EQ(q->m_value, 7.0);
}

TEST_F(Cycle, StepsPublishAfterTheLastLevel) {
    CNetwork* a = system.CreateModule("A", 0, 0);
    CNetwork* b = system.CreateModule("B", 0, 0);
    CNetworkModel* k = DropConstant(*a, 3);
    CNetworkOutput* out = ExposeOutput(*a, *k, "k");
    CNetworkConnection* link = system.ConnectModules(*a, *b, out);
    CNetworkModel* neg = Drop(*b, 88);
    ASSERT_EQ(b->RequestConnectModuleInput(*link->m_dstInput, *neg, neg->FirstInput()), 0);
    CExternalOutput* q = system.CreateSystemOutput("q", 1);
    ASSERT_NE(system.ConnectSystemOutput(*b, *q, ExposeOutput(*b, *neg, "n")), nullptr);
    system.ResetSystem();
    system.m_currentLevel = 1;

    system.RunStep();
    EXPECT_TRUE(a->m_selected);
    EXPECT_FALSE(b->m_selected);
    EXPECT_EQ(system.m_currentLevel, 2);
    system.RunStep();
    EXPECT_TRUE(b->m_selected);
    EXPECT_FALSE(a->m_selected);
    EXPECT_EQ(q->m_value, 0.0);  // not published yet
    EXPECT_EQ(system.m_currentLevel, 3);
    system.RunStep();  // past the last level: publish, restart at 1, run level 1
    EXPECT_EQ(q->m_value, -3.0);
    EXPECT_EQ(system.m_currentLevel, 2);
    EXPECT_EQ(system.m_cycleCount, 0);
}

TEST_F(Cycle, ResetRestoresInitialInputValuesAndZeroesOutputs) {
    CNetwork* a = system.CreateModule("A", 0, 0);
    CExternalInput* p = system.CreateSystemInput("p", 1);
    p->m_initialValue = 1.5;
    p->SetValue(8.0);
    ASSERT_NE(system.ConnectSystemInput(*p, *a), nullptr);
    CNetworkModel* add = Drop(*a, 21);
    ASSERT_EQ(a->RequestConnectModuleInput(*a->m_inputs.Head(), *add, nullptr), 0);
    CExternalOutput* q = system.CreateSystemOutput("q", 1);
    ASSERT_NE(system.ConnectSystemOutput(*a, *q, ExposeOutput(*a, *add, "o")), nullptr);
    system.RunCycle();
    system.RunCycle();
    EXPECT_EQ(q->m_value, 8.0);
    system.m_paused = true;
    system.ResetSystem();
    EXPECT_EQ(p->m_value, 1.5);
    EXPECT_EQ(p->ValueString(), "1.50");
    EXPECT_EQ(q->m_value, 0.0);
    EXPECT_EQ(system.m_cycleCount, 0);
    EXPECT_FALSE(system.m_paused);
    EXPECT_EQ(add->FirstOutput()->m_value, 0.0);
    EXPECT_EQ(add->FirstOutput()->ValueString(), "");
    EXPECT_EQ(a->m_inputs.Head()->m_value, 1.5);  // module inputs pulled before the components reset
}

TEST_F(Cycle, EmptySystemOnlyCounts) {
    system.RunCycle();
    system.RunCycle();
    EXPECT_EQ(system.m_cycleCount, 2);
    EXPECT_EQ(system.m_currentLevel, 1);
}

TEST_F(Cycle, ModuleOutputTextsFollowSourceDecimalsThenTwoDecimals) {
    CNetwork* m = system.CreateModule("M", 0, 0);
    CNetworkModel* k = DropConstant(*m, 1.23456);
    CNetworkOutput* mo = ExposeOutput(*m, *k, "o");
    struct Case {
        int32_t decimals;
        const char* afterModule;
    } cases[] = {{0, "1"}, {1, "1.2"}, {2, "1.23"}, {3, "1.2346"}, {5, "1.2346"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.decimals);
        k->FirstOutput()->m_decimals = c.decimals;
        m->ExecuteModule();
        EXPECT_EQ(mo->ValueString(), c.afterModule);
        m->UpdateModuleOutputs();
        EXPECT_EQ(mo->ValueString(), "1.23");
    }
    k->FirstOutput()->m_decimals = -1;
    mo->m_text.SetText("kept");
    m->ExecuteModule();
    EXPECT_EQ(mo->ValueString(), "kept");
    CNetworkOutput* loose = m->CreateOutput("loose");
    m->ExecuteModule();
    EXPECT_EQ(loose->ValueString(), "-");
}

TEST_F(Cycle, ArrayOutputFeedsModuleOutputByReference) {
    CNetwork* m = system.CreateModule("M", 0, 0);
    CNetworkModel* k = DropConstant(*m, 2);
    CNetworkOutput* mo = ExposeOutput(*m, *k, "o");
    double samples[3] = {1, 2, 3};
    k->FirstOutput()->m_dataType = kDataArray;
    k->FirstOutput()->m_arrayData = samples;
    k->FirstOutput()->m_arrayCount = 3;
    mo->m_value = 42;
    m->ExecuteModule();
    EXPECT_EQ(mo->m_arrayData, samples);
    EXPECT_EQ(mo->m_arrayCount, 3);
    EXPECT_EQ(mo->m_value, 42.0);
}

TEST_F(Cycle, MathSkipsArrayFedModuleInputs) {
    CNetwork* m = system.CreateModule("M", 0, 0);
    CExternalInput* signal = system.CreateSystemInput("signal", 2);
    signal->SetValue(99);
    ASSERT_NE(system.ConnectSystemInput(*signal, *m), nullptr);
    CNetworkInput* in = m->m_inputs.Head();
    CNetworkModel* add = Drop(*m, 21);
    CModelInput* target = add->AddInput(0);
    ASSERT_NE(m->ConnectModuleInputToInput(*in, *target), nullptr);
    target->m_value = 1.25;
    m->PullModuleInputs();
    m->ExecuteModule();
    EXPECT_EQ(target->m_value, 1.25);
    EXPECT_EQ(add->FirstOutput()->m_value, 1.25);
    signal->m_kind = 1;  // a plain input is read
    m->PullModuleInputs();
    m->ExecuteModule();
    EXPECT_EQ(add->FirstOutput()->m_value, 99.0);
}

TEST_F(Cycle, PaletteDropNamesPortsAndRecordsTheChange) {
    CNetwork* m = system.CreateModule("Network 1", 0, 0);
    CNetworkModel* first = m->DropComponent(41, 10, 20);
    // A type without a class (one of the catalogue while any is left, else an id
    // without a catalogue row): nothing happens.
    int32_t classless = 60;
    for (const CCatalogueRow& row : CatalogueRows()) {
        if (!FindComponentType(row.typeId)) {
            classless = row.typeId;
            break;
        }
    }
    CNetworkModel* second = m->DropComponent(classless, 10, 20);
    CNetworkModel* third = m->DropComponent(89, 10, 20);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(second, nullptr);
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(first->m_name, "M1 Constant (k)");
    EXPECT_EQ(third->m_name, "M2 Range Check");
    EXPECT_EQ(system.Feedback().build.Top(), "Added component: M2 Range Check to system module: Network 1");
    EXPECT_EQ(first->FirstOutput()->ValueString(), "10.0");  // one input/execute pass ran
    EXPECT_EQ(third->FirstOutput()->ValueString(), "YES");
    EXPECT_EQ(third->m_maxInputs, 3);
    EXPECT_EQ(third->m_stage, 1);
    EXPECT_EQ(third->m_imageIndex, 88);
    EXPECT_EQ(third->m_nodeKind, 4);
    EXPECT_EQ(first->m_position, (CPoint{10, 20}));
    EXPECT_EQ(first->m_box.right - first->m_box.left, 64);
}

TEST_F(Cycle, DefaultOperationsTraceToExecutionFeedback) {
    CNetwork* m = system.CreateModule("Network 1", 0, 0);
    CNetworkModel* c = m->CreateComponent(41, 0, "plain", 0, 0);
    c->CNetworkModel::GetInputValues();
    c->CNetworkModel::Execute();
    EXPECT_EQ(system.Feedback().execution.Line(0), "CNetworkModel::Execute (Type: 41, plain)\n");
    EXPECT_EQ(system.Feedback().execution.Line(1), "CNetworkModel::GetInputValues (Type: 41, plain)\n");
}

TEST_F(Cycle, TraceLinesKeepTheirTextAndTheListItsLimit) {
    CNetwork* m = system.CreateModule("Network 1", 0, 0);
    CNetworkModel* c = m->CreateComponent(2, 0, "d", 0, 0);
    const std::string head = "CNetworkModel::Execute (Type: 2, ";
    struct Case {
        std::string name;
        std::string expected;
    };
    const Case cases[] = {
        {"%s %d", head + "%s %d)\n"},
        {std::string("cut") + '\0' + "off", head + "cut)\n"},
        // The line stops at 511 bytes, as it always did.
        {std::string(600, 'x'), (head + std::string(600, 'x')).substr(0, 511)},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name.substr(0, 8));
        c->m_name = k.name;
        c->CNetworkModel::Execute();
        EXPECT_EQ(system.Feedback().execution.Top(), k.expected);
    }
    // Past the limit the oldest lines go and the newest stays on top.
    const CFeedbackList& list = system.Feedback().execution;
    c->m_name = "d";
    for (size_t i = 0; i < CFeedbackList::Limit() + 5; ++i) c->CNetworkModel::GetInputValues();
    EXPECT_EQ(list.Size(), CFeedbackList::Limit());
    EXPECT_EQ(list.Top(), "CNetworkModel::GetInputValues (Type: 2, d)\n");
    EXPECT_EQ(list.Line(list.Size() - 1), "CNetworkModel::GetInputValues (Type: 2, d)\n");
}

/// A Reverse Sign fed by a Constant of 1, beside a Constant of 2.
struct CRewired {
    CNetwork* m = nullptr;
    CNetworkModel* one = nullptr;
    CNetworkModel* two = nullptr;
    CNetworkModel* neg = nullptr;
    CModelInput* in = nullptr;
};

void FeedFromTwo(CRewired& p) {
    ASSERT_EQ(p.m->RequestConnect(*p.two, p.two->FirstOutput(), *p.neg, p.in), 0);
}

TEST_F(Cycle, InputsFollowEveryRewiringBetweenCycles) {
    // After each edit the input reads its new source, never what the first
    // source left behind.
    struct Case {
        const char* name;
        void (*edit)(CSystem&, CRewired&);
        double expected;
    };
    const Case cases[] = {
        {"disconnected, then fed by another component",
         [](CSystem&, CRewired& p) {
             p.m->RemoveInputConnection(*p.in);
             FeedFromTwo(p);
         },
         -2.0},
        {"source component deleted, then fed by another",
         [](CSystem&, CRewired& p) {
             p.m->DeleteComponent(p.one);
             FeedFromTwo(p);
         },
         -2.0},
        {"source output deleted, then fed by another",
         [](CSystem&, CRewired& p) {
             RemoveComponentOutput(*p.one, p.one->FirstOutput());
             FeedFromTwo(p);
         },
         -2.0},
        {"fed by a module input",
         [](CSystem& s, CRewired& p) {
             CExternalInput* x = s.CreateSystemInput("x", 1);
             x->m_initialValue = 5.0;
             ASSERT_NE(s.ConnectSystemInput(*x, *p.m), nullptr);
             p.m->RemoveInputConnection(*p.in);
             ASSERT_EQ(p.m->RequestConnectModuleInput(*p.m->m_inputs.Head(), *p.neg, p.in), 0);
         },
         -5.0},
        {"fed by a Feedback Flow not yet run (reads 0)",
         [](CSystem&, CRewired& p) {
             CNetworkModel* fb = Drop(*p.m, 56);
             ASSERT_EQ(p.m->RequestConnect(*p.two, p.two->FirstOutput(), *fb, fb->FirstInput()), 0);
             p.m->RemoveInputConnection(*p.in);
             ASSERT_EQ(p.m->RequestConnect(*fb, fb->FirstOutput(), *p.neg, p.in), 0);
         },
         0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSystem s;
        s.SetRandom(&random);
        s.SetPrompter(&prompter);
        s.m_behaviorsEnabled = false;
        CRewired p;
        p.m = s.CreateModule("M", 0, 0);
        p.one = DropConstant(*p.m, 1.0);
        p.two = DropConstant(*p.m, 2.0);
        p.neg = Drop(*p.m, 88);
        p.in = p.neg->FirstInput();
        ASSERT_EQ(p.m->RequestConnect(*p.one, p.one->FirstOutput(), *p.neg, p.in), 0);
        s.ResetSystem();
        s.RunCycle();
        ASSERT_EQ(p.neg->FirstOutput()->m_value, -1.0);
        c.edit(s, p);
        s.ResetSystem();
        s.RunCycle();
        EXPECT_EQ(p.neg->FirstOutput()->m_value, c.expected);
        EXPECT_EQ(p.in->m_value, -c.expected);
    }
}

TEST(FeedbackList, NewestFirstAcrossTheWrap) {
    CFeedbackList list("t");
    list.Add("a");
    list.Add(list.Line(0));  // a line of its own, while the list grows
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"a", "a"}));
    const size_t limit = CFeedbackList::Limit();
    const size_t total = limit + 7;
    for (size_t i = 2; i < total; ++i) list.Add(std::to_string(i));
    ASSERT_EQ(list.Size(), limit);
    for (size_t i : {size_t{0}, size_t{6}, size_t{7}, limit - 1})
        EXPECT_EQ(list.Line(i), std::to_string(total - 1 - i));
    const std::vector<std::string> lines = list.Lines();
    EXPECT_EQ(lines.front(), list.Top());
    EXPECT_EQ(lines.back(), std::to_string(total - limit));
    list.Add(list.Line(3));  // a line of its own, once full
    EXPECT_EQ(list.Top(), std::to_string(total - 4));
    EXPECT_EQ(list.Line(limit - 1), std::to_string(total - limit + 1));
    list.Clear();
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(list.Top(), "");
    list.Add("b");
    EXPECT_EQ(list.Top(), "b");
}

}  // namespace
}  // namespace zor2
