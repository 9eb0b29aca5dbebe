// Vector components: the shared vector classes, every type's results through a
// module, what a disabled or hand-made component leaves alone, and the dialog.
#include "algo/vector.h"

#include <cmath>

#include "aids_bench.h"
#include "components/math/vector.h"
#include "engine/property_sheet.h"

namespace zor2::test {
namespace {

TEST(VectorClasses, NormaliseKeepsShortVectorsUnscaled) {
    struct Case {
        const char* name;
        CVector3 in;  // z unused for the 2D rows
        bool twoD;
        CVector3 expected;
    } cases[] = {
        {"2D 3-4-5", {3, 4, 0}, true, {0.6, 0.8, 0}},
        {"2D zero", {0, 0, 0}, true, {0, 0, 0}},
        {"2D below tolerance", {0.000001, 0, 0}, true, {0, 0, 0}},
        {"2D small part zeroed", {1, 0.000001, 0}, true, {1, 0, 0}},
        {"2D negative", {0, -2, 0}, true, {0, -1, 0}},
        {"3D axis", {0, 0, 5}, false, {0, 0, 1}},
        {"3D zero", {0, 0, 0}, false, {0, 0, 0}},
        {"3D below tolerance", {0.0000001, 0, 0}, false, {0, 0, 0}},
        {"3D 1-2-2", {1, 2, 2}, false, {1.0 / 3, 2.0 / 3, 2.0 / 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.twoD) {
            CVector2 v(c.in.m_x, c.in.m_y);
            v.Normalize();
            EXPECT_NEAR(v.m_x, c.expected.m_x, 1e-12);
            EXPECT_NEAR(v.m_y, c.expected.m_y, 1e-12);
        } else {
            CVector3 v = c.in;
            v.Normalize();
            EXPECT_NEAR(v.m_x, c.expected.m_x, 1e-12);
            EXPECT_NEAR(v.m_y, c.expected.m_y, 1e-12);
            EXPECT_NEAR(v.m_z, c.expected.m_z, 1e-12);
        }
    }
    EXPECT_EQ(CVector2().m_tolerance, 9.999999747378752e-06);
    EXPECT_EQ(CVector3().m_tolerance, 9.999999974752427e-07);
}

TEST(VectorClasses, ArithmeticOperators) {
    const CVector2 a(1, 2), b(3, 4);
    EXPECT_DOUBLE_EQ(a.Magnitude(), std::sqrt(5.0));
    EXPECT_DOUBLE_EQ(CVector2(3, 4).Magnitude(), 5.0);
    EXPECT_DOUBLE_EQ((a + b).m_x, 4.0);
    EXPECT_DOUBLE_EQ((a + b).m_y, 6.0);
    EXPECT_DOUBLE_EQ((a - b).m_x, -2.0);
    EXPECT_DOUBLE_EQ((a - b).m_y, -2.0);
    EXPECT_DOUBLE_EQ(a.Cross(b), 1 * 4 - 3 * 2);
    EXPECT_DOUBLE_EQ(a.Dot(b), 11.0);

    const CVector3 x(1, 0, 0), y(0, 1, 0), p(1, 2, 3), q(4, 5, 6);
    const CVector3 z = x.Cross(y);
    EXPECT_DOUBLE_EQ(z.m_x, 0.0);
    EXPECT_DOUBLE_EQ(z.m_y, 0.0);
    EXPECT_DOUBLE_EQ(z.m_z, 1.0);
    const CVector3 pq = p.Cross(q);  // (2*6-3*5, 3*4-1*6, 1*5-2*4)
    EXPECT_DOUBLE_EQ(pq.m_x, -3.0);
    EXPECT_DOUBLE_EQ(pq.m_y, 6.0);
    EXPECT_DOUBLE_EQ(pq.m_z, -3.0);
    EXPECT_DOUBLE_EQ(p.Dot(q), 32.0);
    EXPECT_DOUBLE_EQ((p + q).m_z, 9.0);
    EXPECT_DOUBLE_EQ((p - q).m_y, -3.0);
    EXPECT_DOUBLE_EQ(CVector3(1, 2, 2).Magnitude(), 3.0);
}

using VectorComponents = AidsBench;

TEST_F(VectorComponents, EveryTypeAndOperation) {
    struct Case {
        int32_t type;
        int32_t operation;  // 0: as dropped
        std::vector<std::pair<int32_t, double>> inputs;
        std::vector<double> outputs;  // outputs 10, 20, 30 in order
    } cases[] = {
        {61, 0, {{20, 3}, {30, 4}}, {5}},
        {62, 0, {{20, 1}, {30, 2}, {40, 2}}, {3}},
        {63, 0, {{20, 3}, {30, 4}}, {0.6, 0.8}},
        {63, 0, {{20, 0.000001}}, {0, 0}},
        {64, 0, {{40, 5}}, {0, 0, 1}},
        {65, 0, {{20, 1}, {30, 2}, {40, 3}, {50, 4}}, {4, 6}},
        {65, 4, {{20, 1}, {30, 2}, {40, 3}, {50, 4}}, {-2, -2}},
        {65, 5, {{20, 1}, {30, 2}, {40, 3}, {50, 4}}, {-2, 0}},
        {65, 6, {{20, 1}, {30, 2}, {40, 3}, {50, 4}}, {11, 0}},
        {66, 0, {{20, 1}, {30, 2}, {40, 3}, {50, 4}, {60, 5}, {70, 6}}, {5, 7, 9}},
        {66, 4, {{20, 1}, {30, 2}, {40, 3}, {50, 4}, {60, 5}, {70, 6}}, {-3, -3, -3}},
        {66, 5, {{20, 1}, {50, 0}, {60, 1}}, {0, 0, 1}},
        {66, 6, {{20, 1}, {30, 2}, {40, 3}, {50, 4}, {60, 5}, {70, 6}}, {32, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.type << " op " << c.operation);
        auto* v = static_cast<CModelVector2*>(Drop(*module, c.type));
        if (c.operation) {
            ASSERT_TRUE(v->SetOperation(c.operation));
        }
        for (auto [id, value] : c.inputs) Feed(*v, id, value);
        module->ComputeStages();
        Cycle();
        EXPECT_TRUE(v->Ready());
        for (size_t i = 0; i < c.outputs.size(); ++i)
            EXPECT_NEAR(Out(*v, 10 * static_cast<int32_t>(i + 1)), c.outputs[i], 1e-12) << "output " << i;
        EXPECT_EQ(v->m_outputs.Size(), c.type == 61 || c.type == 62 ? 1u : c.type % 2 ? 2u : 3u);
    }
}

TEST_F(VectorComponents, WhatADisabledOrSwitchedComponentKeeps) {
    auto* v = static_cast<CModelVector2*>(Drop(*module, 66));
    CNetworkModel* enable = Feed(*v, 10, 1);
    CNetworkModel* x1 = Feed(*v, 20, 1);
    Feed(*v, 50, 2);
    module->ComputeStages();
    Cycle();
    EXPECT_EQ(Out(*v, 10), 3.0);
    // Disabled: every output keeps its value whatever the operands do.
    enable->m_value = 0;
    x1->m_value = 100;
    Cycle();
    EXPECT_FALSE(v->Enabled());
    EXPECT_EQ(Out(*v, 10), 3.0);
    EXPECT_EQ(v->FindInput(10)->ValueString(), "Off");
    // Switched to the dot product: the labels stay, only output 10 changes.
    enable->m_value = 1;
    v->FindOutput(20)->SetValue(7);
    ASSERT_TRUE(v->SetOperation(kVectorDot));
    Cycle();
    EXPECT_EQ(Out(*v, 10), 200.0);
    EXPECT_EQ(Out(*v, 20), 7.0);
    EXPECT_EQ(v->FindOutput(30)->m_name, "z'");
    EXPECT_FALSE(v->SetOperation(kVectorNormalize));
    EXPECT_EQ(v->Operation(), kVectorDot);
}

TEST_F(VectorComponents, MissingOperandOrForeignOperationComputesNothing) {
    auto* missing = static_cast<CModelVector2*>(Drop(*module, 62));
    missing->m_inputs.RemoveId(40);  // as only a hand-made file can have it
    auto* mag = static_cast<CModelVector2*>(Drop(*module, 61));
    Feed(*mag, 20, 3);
    module->ComputeStages();
    missing->FindOutput(10)->SetValue(9);
    Cycle();
    EXPECT_FALSE(missing->Ready());
    EXPECT_EQ(Out(*missing, 10), 9.0);
    EXPECT_TRUE(mag->Ready());
    EXPECT_EQ(Out(*mag, 10), 3.0);
    EXPECT_EQ(mag->FindInput(20)->ValueString(), "3.00");
    EXPECT_EQ(mag->FindInput(30)->ValueString(), "0.00");
}

TEST_F(VectorComponents, ArithmeticDialog) {
    struct Case {
        int32_t type;
        const char* caption;
        int32_t preselected;
        bool crossAllowed;
    } cases[] = {
        {61, "Component Properties - 2D Vector", -1, false},
        {64, "Component Properties - 3D Vector", -1, true},
        {65, "Component Properties - 2D Vector", 0, false},
        {66, "Component Properties - 3D Vector", 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        auto* v = static_cast<CModelVector2*>(Drop(*module, c.type));
        CPropertySheet sheet = ReadComponentProperties(*v);
        EXPECT_EQ(sheet.Caption(), c.caption);
        EXPECT_EQ(sheet.Find("operation")->choice, c.preselected);
        EXPECT_EQ(sheet.Find("operation")->options[2], "[ ^ ] Cross-Product");
        EXPECT_EQ(sheet.Choose("operation", 2), c.crossAllowed);
        EXPECT_EQ(sheet.Find("crossNote") != nullptr, !c.crossAllowed);
        ASSERT_TRUE(sheet.Choose("operation", 3));
        EXPECT_EQ(PropertyProfile(c.type).apply(*v, sheet), "");
        EXPECT_EQ(v->Operation(), kVectorDot);
    }
}

TEST(VectorHelperText, ProcessLines) {
    struct Case {
        int32_t type, operation;
        const char* line;
    } cases[] = {{61, 0, "(2d magnitude)"},   {62, 0, "3d magnitude)"},
                 {63, 0, "(2d normalized)"},  {64, 0, "3d normalized)"},
                 {65, 3, "(2d addition)"},    {65, 5, "(2d-cross = imag z mag)"},
                 {66, 4, "(3d subtraction)"}, {66, 5, "(3d cross product)"},
                 {66, 6, "(3d dot product)"}, {65, 6, "(2d dot product)"}};
    for (const Case& c : cases) {
        CModelVector2 v(c.type);
        v.m_typeId = c.type;
        if (c.operation) v.SetOperation(c.operation);
        EXPECT_EQ(v.HelperText(), (std::vector<std::string>{"Process:", c.line})) << c.type;
    }
}

}  // namespace
}  // namespace zor2::test
