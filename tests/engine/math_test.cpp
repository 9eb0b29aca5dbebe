// The arithmetic family, Constant and Feedback Flow as the designer computes them.
#include <gtest/gtest.h>

#include "support/system_builder.h"

namespace zor2 {
namespace {

/// A component of `type` fed by one Constant per value (in order), plus
/// `unconnected` added inputs without a source.
struct CFixture {
    CSystem system;
    CNetwork* module = system.CreateModule("m", 0, 0);
    CNetworkModel* Build(int32_t type, const std::vector<double>& values, int unconnected = 0) {
        CNetworkModel* c = module->DropComponent(type, 0, 0);
        auto inputs = c->m_inputs.Snapshot();
        for (size_t i = 0; i < values.size(); ++i) {
            CNetworkModel* k = module->DropComponent(41, 0, 0);
            k->m_value = values[i];
            CModelInput* target = i < inputs.size() ? inputs[i] : nullptr;
            EXPECT_EQ(module->RequestConnect(*k, k->FirstOutput(), *c, target), 0);
        }
        for (int i = 0; i < unconnected; ++i) c->AddInput(0);
        system.ResetSystem();
        module->ExecuteModule();
        return c;
    }
};

TEST(MathFamily, Results) {
    struct Case {
        const char* name;
        int32_t type;
        std::vector<double> values;
        int unconnected;
        double result;
        const char* text;
    } cases[] = {
        {"add with a loose input", 21, {1.5, 2.25}, 1, 3.75, "3.75"},
        {"subtract", 22, {10, 3, 2}, 0, 5, "5.00"},
        {"subtract one", 22, {7}, 0, 7, "7.00"},
        {"multiply one gives 0", 23, {4}, 0, 0, "0.00"},
        {"multiply zero factor", 23, {2, 0, 3}, 0, 0, "0.00"},
        {"multiply", 23, {2, 1.5, 3}, 0, 9, "9.00"},
        {"divide by zero skipped", 24, {8, 0}, 0, 8, "8.00"},
        {"divide", 24, {8, 2}, 0, 4, "4.00"},
        {"min", 86, {-1, 5, -3}, 0, -3, "-3.00"},
        {"max", 87, {-1, 5, -3}, 0, 5, "5.00"},
        {"min without inputs", 86, {}, 0, 0, "0.00"},
        {"reverse", 88, {2.5}, 0, -2.5, "-2.50"},
        {"reverse unconnected", 88, {}, 0, 0, "0.00"},
        {"range all defaults", 89, {}, 0, 1, "YES"},
        {"range inclusive max", 89, {1.0, -1.0, 1.0}, 0, 1, "YES"},
        {"range below", 89, {-2.0, -1.0, 1.0}, 0, 0, "NO"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFixture f;
        CNetworkModel* comp = f.Build(c.type, c.values, c.unconnected);
        EXPECT_EQ(comp->FirstOutput()->m_value, c.result);
        EXPECT_EQ(comp->FirstOutput()->ValueString(), c.text);
    }
}

TEST(MathFamily, InputTexts) {
    CFixture f;
    CNetworkModel* add = f.Build(21, {1.5});
    EXPECT_EQ(add->FirstInput()->ValueString(), "1.50");
    CNetworkModel* max = f.Build(87, {1.5});
    EXPECT_EQ(max->FirstInput()->ValueString(), "1.500");
    CNetworkModel* rev = f.Build(88, {});
    EXPECT_EQ(rev->FirstInput()->ValueString(), "-");
    CNetworkModel* range = f.Build(89, {});
    EXPECT_EQ(range->FindInput(20)->ValueString(), "-1.000");
}

TEST(MathFamily, ConstantAndFeedbackReset) {
    CFixture f;
    CNetworkModel* k = f.module->DropComponent(41, 0, 0);
    EXPECT_EQ(k->m_value, 10.0);
    EXPECT_EQ(k->FirstOutput()->ValueString(), "10.0");
    CNetworkModel* fb = f.module->DropComponent(56, 0, 0);
    fb->ResetValues();
    EXPECT_TRUE(fb->m_unprimed);
    EXPECT_EQ(fb->FirstInput()->ValueString(), "-");
    EXPECT_EQ(fb->FirstOutput()->ValueString(), "0.00");
}

}  // namespace
}  // namespace zor2
