// A project holding every logic and arithmetic type with non-default
// parameters and live wiring saves, loads and saves again to the same bytes.
#include <gtest/gtest.h>

#include "components/math/compare.h"
#include "components/math/math_exp.h"
#include "logic_bench.h"
#include "persistence/project_file.h"

namespace zor2 {
namespace {

using test::CLogicBench;

TEST(LogicProject, SaveLoadSaveIsByteIdentical) {
    CLogicBench b;
    const int32_t types[] = {3,  4,  5,  6,  7,  8,  9,  10, 11, 28, 29, 30, 90, 47,
                             48, 49, 82, 83, 84, 34, 15, 16, 17, 18, 19, 20, 80};
    CNetworkModel* source = b.module->DropComponent(41, 0, 0);
    source->m_value = 3.25;
    int n = 0;
    for (int32_t type : types) {
        SCOPED_TRACE(type);
        CNetworkModel* c = b.Add(type);
        c->m_value = 0.5 * ++n;
        c->m_tolerance = 0.001 * n;
        c->m_description = "logic " + std::to_string(n);
        if (auto* cmp = dynamic_cast<CModelCompare*>(c)) {
            cmp->SetCompareValue(-1.5 * n);
            cmp->SetReservedFlag(n % 2 == 0);
        }
        if (auto* exp = dynamic_cast<CModelMathExp*>(c)) exp->SetEnabled(false);
        // The first template input (or a new one) fed by the Constant.
        EXPECT_EQ(b.module->RequestConnect(*source, source->FirstOutput(), *c, c->FirstInput()), 0);
    }
    b.system.RunCycle();
    const std::vector<uint8_t> first = SaveProjectBytes(b.system);
    CSystem loaded;
    const CFileResult r = LoadProjectBytes(loaded, first);
    ASSERT_TRUE(r.ok) << r.message << " at " << r.offset;
    EXPECT_EQ(SaveProjectBytes(loaded), first);

    // The parameters came back on the right components.
    CNetwork* m = loaded.m_modules.Head();
    ASSERT_NE(m, nullptr);
    int compares = 0, exps = 0;
    for (CNetworkModel* c : m->m_components) {
        if (auto* cmp = dynamic_cast<CModelCompare*>(c)) {
            ++compares;
            CNetworkModel* original = b.module->m_components.Find(c->m_id);
            ASSERT_NE(original, nullptr);
            EXPECT_EQ(cmp->CompareValue(), static_cast<CModelCompare*>(original)->CompareValue());
            EXPECT_EQ(cmp->ReservedFlag(), static_cast<CModelCompare*>(original)->ReservedFlag());
        }
        if (auto* exp = dynamic_cast<CModelMathExp*>(c)) {
            ++exps;
            EXPECT_FALSE(exp->Enabled());
        }
    }
    EXPECT_EQ(compares, 6);
    EXPECT_EQ(exps, 3);
}

}  // namespace
}  // namespace zor2
