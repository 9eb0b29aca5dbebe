// The Decision Matrix in the designer: range lookup on every cell of a 3x4
// table, values on thresholds, the enable rule, threshold and output edits, and
// its record saved, loaded and repaired.
#include "components/decision/decision_matrix.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "algo/bytes.h"
#include "components_timing/harness.h"
#include "persistence/project_file.h"

namespace zor2::test {
namespace {

class DecisionMatrix : public Bench {
  protected:
    void SetUp() override {
        Bench::SetUp();
        matrix = dynamic_cast<CModelDecisionMatrix*>(Drop(*module, kTypeDecisionMatrix));
        ASSERT_NE(matrix, nullptr);
        x1 = Feed(*matrix, kDecisionInput1PortId, 0.0);
        x2 = Feed(*matrix, kDecisionInput2PortId, 0.0);
    }
    /// Thresholds 0 and 10 on input 1 (3 ranges), -5, 0 and 5 on input 2 (4 ranges);
    /// cell (i, j) raises output i * 4 + j, Default being output 0.
    void Build3x4() {
        for (double t : {10.0, 0.0}) matrix->AddThreshold(1, t);  // 0 is there already
        for (double t : {5.0, -5.0}) matrix->AddThreshold(2, t);
        outputs = {kDecisionDefaultOutputId};
        for (int k = 1; k < 12; ++k)
            outputs.push_back(matrix->AddDecisionOutput(matrix->NextOutputName(), k)->m_id);
        for (int32_t k = 1; k < 12; ++k) ASSERT_EQ(matrix->AssignDecisions({{k / 4, k % 4}}, outputs[k]), 1);
    }
    /// The ids of the outputs at 1 after one cycle with these values.
    std::vector<int32_t> Raised(double a, double b) {
        x1->m_value = a;
        x2->m_value = b;
        Cycle();
        std::vector<int32_t> raised;
        for (const CModelOutput* out : matrix->m_outputs)
            if (out->m_value != 0.0) raised.push_back(out->m_id);
        return raised;
    }

    CModelDecisionMatrix* matrix = nullptr;
    CNetworkModel* x1 = nullptr;
    CNetworkModel* x2 = nullptr;
    std::vector<int32_t> outputs;
};

TEST_F(DecisionMatrix, NewComponentHasTwoRangesPerInputAllOnDefault) {
    EXPECT_EQ(matrix->Matrix().m_decisions.size(), 4u);
    for (const CDecision& d : matrix->Matrix().m_decisions) EXPECT_EQ(d.m_outputId, kDecisionDefaultOutputId);
    EXPECT_EQ(matrix->Matrix().m_componentId, matrix->m_id);
    EXPECT_EQ(matrix->Matrix().m_moduleId, module->m_id);
    EXPECT_EQ(matrix->HelperText(),
              (std::vector<std::string>{"Input1 Segments: 2", "Input2 Segments: 2", "Output decisions: 1"}));
    // Both inputs at 0 fall in the first ranges, whose cell selects Default.
    EXPECT_EQ(matrix->FirstOutput()->ValueString(), "YES");
}

TEST_F(DecisionMatrix, EveryRangeCombinationOfA3x4TableRaisesItsOutput) {
    Build3x4();
    const double inside1[] = {-3.0, 4.0, 11.0};
    const double inside2[] = {-9.0, -2.0, 2.0, 8.0};
    // On a threshold a value belongs to the range below it.
    const double on1[] = {0.0, 10.0};
    const double on2[] = {-5.0, 0.0, 5.0};
    for (int32_t i = 0; i < 3; ++i) {
        for (int32_t j = 0; j < 4; ++j) {
            SCOPED_TRACE(testing::Message() << "cell " << i << "," << j);
            const std::vector<int32_t> expected{outputs[i * 4 + j]};
            EXPECT_EQ(Raised(inside1[i], inside2[j]), expected);
            if (i < 2 && j < 3) {
                EXPECT_EQ(Raised(on1[i], on2[j]), expected);
            }
        }
    }
    EXPECT_EQ(Raised(0.0001, -5.0), std::vector<int32_t>{outputs[4]});
    EXPECT_TRUE(Raised(std::nan(""), 1.0).empty());
    EXPECT_TRUE(Raised(1.0, std::nan("")).empty());
}

TEST_F(DecisionMatrix, DisabledEmptyOrEditedTablesRaiseNothingOrDefault) {
    struct Case {
        const char* name;
        void (*edit)(CModelDecisionMatrix&, CNetwork&);
        std::vector<int32_t> raised;  // at (5, 5)
    };
    const Case cases[] = {
        {"enable fed 0",
         [](CModelDecisionMatrix& m, CNetwork& mod) {
             CNetworkModel* zero = DropConstant(mod, 0.0);
             ASSERT_EQ(mod.RequestConnect(*zero, zero->FirstOutput(), m, m.FirstInput()), 0);
         },
         {}},
        {"input 1 without thresholds",
         [](CModelDecisionMatrix& m, CNetwork&) { m.DeleteAllThresholds(1); },
         {}},
        {"threshold added resets cells",
         [](CModelDecisionMatrix& m, CNetwork&) { m.AddThreshold(2, 7.0); },
         {kDecisionDefaultOutputId}},
        {"threshold edited resets cells",
         [](CModelDecisionMatrix& m, CNetwork&) {
             m.SetThreshold(1, m.Matrix().m_input1.m_thresholds.front().m_id, 1.0);
         },
         {kDecisionDefaultOutputId}},
        {"threshold deleted resets cells",
         [](CModelDecisionMatrix& m, CNetwork&) {
             m.DeleteThreshold(2, m.Matrix().m_input2.m_thresholds.back().m_id);
         },
         {kDecisionDefaultOutputId}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        Build3x4();
        c.edit(*matrix, *module);
        module->ComputeStages();
        EXPECT_EQ(Raised(5.0, 5.0), c.raised);
    }
}

TEST_F(DecisionMatrix, ThresholdEditsRefuseCrowdedAndNonFiniteValues) {
    const int32_t first = matrix->Matrix().m_input1.m_thresholds.front().m_id;
    EXPECT_FALSE(matrix->AddThreshold(1, 0.00005));
    EXPECT_FALSE(matrix->AddThreshold(1, INFINITY));
    EXPECT_FALSE(matrix->SetThreshold(1, first, 0.00009));  // the edited one counts too
    EXPECT_FALSE(matrix->DeleteAllThresholds(2) && matrix->DeleteAllThresholds(2));
    EXPECT_TRUE(matrix->AddThreshold(1, -2.0));
    // Kept in ascending order whatever the order of entry.
    EXPECT_EQ(matrix->Matrix().m_input1.m_thresholds.front().m_value, -2.0);
    EXPECT_TRUE(matrix->Matrix().m_decisions.empty()) << "input 2 lost its ranges";
}

TEST_F(DecisionMatrix, RemovedOutputHandsItsCellsToDefault) {
    Build3x4();
    matrix->OnOutputRemoved(outputs[5]);
    EXPECT_EQ(matrix->Matrix().m_decisions[5].m_outputId, kDecisionDefaultOutputId);
    EXPECT_EQ(matrix->Matrix().m_decisions[6].m_outputId, outputs[6]);
}

TEST_F(DecisionMatrix, SavedAndLoadedTableSelectsAsBeforeAndSavesTheSameBytes) {
    Build3x4();
    const std::vector<uint8_t> bytes = SaveProjectBytes(system);
    CSystem loaded;
    ASSERT_TRUE(LoadProjectBytes(loaded, bytes));
    EXPECT_EQ(SaveProjectBytes(loaded), bytes);
    auto* copy =
        dynamic_cast<CModelDecisionMatrix*>(loaded.FindModule(module->m_id)->m_components.Find(matrix->m_id));
    ASSERT_NE(copy, nullptr);
    for (double a : {-3.0, 4.0, 11.0})
        for (double b : {-9.0, -2.0, 2.0, 8.0})
            EXPECT_EQ(copy->Matrix().Select(a, b), matrix->Matrix().Select(a, b));
}

/// The offsets of the 8 bytes of `v` in `bytes`.
std::vector<size_t> Find(const std::vector<uint8_t>& bytes, double v) {
    std::vector<size_t> at;
    for (size_t i = 0; i + 8 <= bytes.size(); ++i)
        if (std::memcmp(&bytes[i], &v, 8) == 0) at.push_back(i);
    return at;
}

TEST_F(DecisionMatrix, ThresholdsStoredOutOfOrderAreSortedAtLoadAndReported) {
    Build3x4();
    // A damaged file: input 2's thresholds -5 and 5 trade places.
    std::vector<uint8_t> damaged = SaveProjectBytes(system);
    const std::vector<size_t> low = Find(damaged, -5.0), high = Find(damaged, 5.0);
    ASSERT_EQ(low.size(), 1u);
    ASSERT_EQ(high.size(), 1u);
    std::swap_ranges(damaged.begin() + low[0], damaged.begin() + low[0] + 8, damaged.begin() + high[0]);
    CSystem loaded;
    ASSERT_TRUE(LoadProjectBytes(loaded, damaged));
    EXPECT_EQ(loaded.Feedback().build.Top(),
              "Decision matrix " + matrix->m_name +
                  ": the thresholds of Input 2 were stored out of order and have been sorted.");
    auto* copy =
        dynamic_cast<CModelDecisionMatrix*>(loaded.FindModule(module->m_id)->m_components.Find(matrix->m_id));
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->Matrix().m_input2.Sorted());
    EXPECT_EQ(copy->Matrix().Select(4.0, 8.0), 7) << "the cells keep their outputs";
}

TEST(DecisionMatrixRecord, DamagedCountsFailTheReadWithoutAllocating) {
    CDecisionMatrix table;
    int32_t next = 0;
    table.Initialise([&next] { return ++next; });
    CByteWriter w;
    CDecisionMatrix::Fields(w, table);
    struct Case {
        size_t offset;  // of the count in the runtime record
        const char* error;
    };
    // Module id, component id, decision count; then port id, two reserved, the two counts.
    const Case cases[] = {{8, "decision count exceeds the file"},
                          {24, "threshold count exceeds the file"},
                          {28, "threshold segment count exceeds the file"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.error);
        std::vector<uint8_t> bytes = w.Bytes();
        const int32_t huge = 0x7FFFFFFF;
        std::memcpy(&bytes[c.offset], &huge, 4);
        CByteReader in(bytes);
        CDecisionMatrix read;
        EXPECT_FALSE(CDecisionMatrix::Fields(in, read));
        EXPECT_EQ(in.Error(), c.error);
    }
    CByteReader whole(w.Bytes());
    CDecisionMatrix read;
    EXPECT_TRUE(CDecisionMatrix::Fields(whole, read));
    EXPECT_EQ(whole.Remaining(), 0u);
}

}  // namespace
}  // namespace zor2::test
