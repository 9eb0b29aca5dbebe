// The catalogue's 89 entries, the factory and template ports, box geometry.
#include <gtest/gtest.h>

#include <set>

#include "engine/system.h"

namespace zor2 {
namespace {

TEST(Catalogue, EightyNineEntriesInPaletteOrder) {
    CSystem system;
    ASSERT_EQ(system.m_catalogue.Size(), 89u);
    std::set<int32_t> ids;
    for (CModelTemplate* t : system.m_catalogue) {
        EXPECT_TRUE(ids.insert(t->m_id).second);
        EXPECT_EQ(t->m_imageIndex, t->m_id - 1);
        EXPECT_GE(t->m_group, 1);
        EXPECT_LE(t->m_group, 5);
    }
    for (int32_t id = 1; id <= 90; ++id) EXPECT_EQ(ids.count(id), id == 60 ? 0u : 1u) << id;
    EXPECT_EQ(system.m_catalogue.Head()->m_name, "All True [AND]");
    EXPECT_EQ(system.m_catalogue.Tail()->m_name, "Do Once");
    struct Case {
        int32_t id;
        const char* name;
        int32_t group;
    } cases[] = {
        {65, "Vector 2D \n[+ - * ^]", 1}, {66, "Vector 3D \n[+ - * ^]", 1},
        {16, "Compare to Input(>)", 1},   {56, "Feedback Flow", 3},
        {1, "Neural Network", 3},         {85, "Pattern Sequencer", 3},
        {41, "Constant (k)", 5},          {32, "Signal FFT", 4},
        {55, "Sim Info LocalTime", 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        CModelTemplate* t = system.m_catalogue.Find(c.id);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->m_name, c.name);
        EXPECT_EQ(t->m_group, c.group);
    }
    EXPECT_STREQ(PaletteGroupName(4), "Signals");
}

TEST(Catalogue, FactoryKnowsOnlyBuiltTypes) {
    CSystem system;
    CNetwork* m = system.CreateModule("m", 0, 0);
    for (int32_t id : {0, -1, 60, 91, 1000}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(m->CreateComponent(id, 0, "x", 0, 0), nullptr);
    }
    EXPECT_EQ(m->m_components.Size(), 0u);
    for (const CComponentType* t : RegisteredComponentTypes()) {
        SCOPED_TRACE(t->typeId);
        EXPECT_NE(CatalogueName(t->typeId), nullptr);
        CNetworkModel* c = m->CreateComponent(t->typeId, 0, "x", 0, 0);
        ASSERT_NE(c, nullptr);
        AddTemplatePorts(*c);
        EXPECT_EQ(c->m_inputs.Size(), t->inputs.size());
        int32_t expectedId = 10;
        for (CModelInput* in : c->m_inputs) {
            EXPECT_TRUE(in->m_template);
            EXPECT_EQ(in->m_id, expectedId);
            expectedId += 10;
        }
        EXPECT_EQ(c->m_maxInputs, t->maxInputs);
        // A type that derives ports from its own state (a segmenter's range
        // outputs) adds them after the rows and sets its own output limit.
        if (t->afterTemplatePorts) continue;
        EXPECT_EQ(c->m_outputs.Size(), t->outputs.size());
        EXPECT_EQ(c->m_maxOutputs, t->maxOutputs);
    }
}

TEST(Catalogue, TemplatePortsOfBuiltTypes) {
    CSystem system;
    CNetwork* m = system.CreateModule("m", 0, 0);
    struct Case {
        int32_t type;
        std::vector<std::string> inputs;
        std::string output;
        int32_t dataType, decimals, maxIn, maxOut;
    } cases[] = {
        {21, {}, "Result", 0, 2, -1, 1},
        {24, {"Dividend", "Divisor"}, "Quotient", 0, 2, 2, 1},
        {86, {}, "Result (min)", 0, 2, -1, 1},
        {88, {"Input Value"}, "Result (revsign)", 0, 2, 1, 1},
        {89, {"Input Value", "Min", "Max"}, "Result (in range?)", 5, 0, 3, 1},
        {41, {}, "Constant", 0, 1, 0, 1},
        {56, {"Input (x)"}, "Feedback (x')", 0, 2, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        CNetworkModel* comp = m->DropComponent(c.type, 0, 0);
        ASSERT_NE(comp, nullptr);
        std::vector<std::string> names;
        for (CModelInput* in : comp->m_inputs) names.push_back(in->m_name);
        EXPECT_EQ(names, c.inputs);
        ASSERT_EQ(comp->m_outputs.Size(), 1u);
        EXPECT_EQ(comp->FirstOutput()->m_id, 10);
        EXPECT_EQ(comp->FirstOutput()->m_name, c.output);
        EXPECT_EQ(comp->FirstOutput()->m_dataType, c.dataType);
        EXPECT_EQ(comp->FirstOutput()->m_decimals, c.decimals);
        EXPECT_EQ(comp->m_maxInputs, c.maxIn);
        EXPECT_EQ(comp->m_maxOutputs, c.maxOut);
    }
}

TEST(Catalogue, BoxHeightFollowsPortCounts) {
    CNetworkModel c;
    c.m_position = {100, 100};
    struct Case {
        int inputs, outputs;
        bool singleSlot;
        int32_t height;
    } cases[] = {{0, 0, false, 64},
                 {1, 1, false, 64},
                 {3, 1, false, 14 * 2 + 12 * 3 + 32},
                 {1, 4, false, 14 * 3 + 12 * 4 + 44},
                 {9, 1, true, 64}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.inputs * 100 + k.outputs);
        c.m_inputs.Clear();
        c.m_outputs.Clear();
        c.m_singleInputSlot = k.singleSlot;
        for (int i = 0; i < k.inputs; ++i) c.AddInput(i + 1);
        for (int i = 0; i < k.outputs; ++i) c.AddOutput(i + 1);
        c.CalcSize();
        EXPECT_EQ(c.m_box.bottom - c.m_box.top, k.height);
        EXPECT_EQ(c.m_box.right - c.m_box.left, 64);
        EXPECT_EQ((c.m_box.left + c.m_box.right) / 2, 100);
    }
}

TEST(Catalogue, ResetValuesClearsPortsAndToleratesNone) {
    CNetworkModel empty;
    empty.ResetValues();
    CNetworkModel c;
    CModelInput* in = c.AddInput(1);
    CModelOutput* out = c.AddOutput(1);
    in->m_value = 3;
    in->m_text.SetText("3");
    out->SetValue(4);
    c.ResetValues();
    EXPECT_EQ(in->m_value, 0.0);
    EXPECT_EQ(in->ValueString(), "");
    EXPECT_EQ(out->m_value, 0.0);
    EXPECT_EQ(out->ValueString(), "");
}

}  // namespace
}  // namespace zor2
