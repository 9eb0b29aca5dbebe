// Template ports and limits of every logic and arithmetic type, their classes,
// and their project and runtime records.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "algo/bytes.h"
#include "components/math/compare.h"
#include "components/math/math_exp.h"
#include "components/utility/do_once.h"
#include "engine/catalogue.h"
#include "logic_bench.h"
#include "persistence/archive.h"

namespace zor2 {
namespace {

using test::CLogicBench;

struct CPortRow {
    int32_t id;
    std::string label;
    int32_t dataType = 0;
    int32_t decimals = 2;
};

TEST(LogicTypes, TemplatePortsLimitsAndClasses) {
    const std::vector<CPortRow> compareOuts = {
        {10, "All Satisfy?", 5, 0}, {20, "Count Items", 2, 0}, {30, "Items Satisfied", 2, 0}};
    const std::vector<CPortRow> angleIns = {{10, "Enable"}, {20, "Radians?"}, {30, "Value"}};
    struct Case {
        int32_t type;
        const char* className;
        std::vector<CPortRow> inputs;
        std::vector<CPortRow> outputs;
        int32_t maxIn, maxOut;
    } cases[] = {
        {3, "CModelTruthCheck", {}, {{10, "Result", 3, 0}}, -1, 1},
        {4, "CModelTruthCheck", {}, {{10, "Result", 3, 0}}, -1, 1},
        {5, "CModelTruthCheck", {}, {{10, "Result", 3, 0}}, -1, 1},
        {6, "CModelTruthCheck", {}, {{10, "Result", 3, 0}}, -1, 1},
        {7, "CModelTruthCheck", {{10, "Input1"}, {20, "Input2"}}, {{10, "Result", 3, 0}}, 2, 1},
        {8, "CModelTruthCheck", {{10, "Input to Invert"}}, {{10, "Inverted Val", 3, 0}}, 1, 1},
        {9, "CModelValve", {{10, "Enabler"}, {20, "ValueIN"}}, {{10, "ValueOUT", 0, 2}}, 2, 1},
        {10, "CModelToggle", {{10, "On Off"}}, {{10, "Current Status", 3, 0}}, 1, 1},
        {11, "CModelToggle", {{10, "On Off"}}, {{10, "Left Status", 3, 0}, {20, "Right Status", 3, 0}}, 1, 2},
        {90, "CModelDoOnce", {{10, "Event"}, {20, "Reset"}}, {{10, "Trigger", 0, 2}}, 2, 1},
        {47, "CModelMathExp", {{10, "Input (x)"}}, {{10, "Output (x')", 0, 2}}, 1, 1},
        {48, "CModelMathExp", {{10, "Input (x)"}, {20, "Power (y)"}}, {{10, "Output (x')", 2, 0}}, 2, 1},
        {49, "CModelMathExp", {{10, "Input (x)"}}, {{10, "Output (x')", 0, 2}}, 1, 1},
        {82, "CModelAngle", angleIns, {{10, "Result", 0, 2}}, 3, 1},
        {83, "CModelAngle", angleIns, {{10, "Result", 0, 2}}, 3, 1},
        {84, "CModelAngle", angleIns, {{10, "Result", 0, 2}}, 3, 1},
        {34,
         "CModelDelta",
         {{10, "Enable"}, {20, "Raw Value"}, {30, "Reset"}},
         {{10, "Delta", 0, 2}, {20, "DeltaDelta", 0, 2}},
         3,
         2},
        {15, "CModelCompare", {{10, "CompareVal"}}, compareOuts, -1, 3},
        {16, "CModelCompare", {{10, "CompareVal"}}, compareOuts, -1, 3},
        {17, "CModelCompare", {{10, "CompareVal"}}, compareOuts, -1, 3},
        {18, "CModelCompare", {}, compareOuts, -1, 3},
        {19, "CModelCompare", {}, compareOuts, -1, 3},
        {20, "CModelCompare", {}, compareOuts, -1, 3},
        {80,
         "CModelComparator",
         {{10, "Enable"}, {20, "Target Value"}, {30, "Input for Compare"}},
         {{10, "Greater than Target", 5, 0}, {20, "Equal to Target", 5, 0}, {30, "Less than Target", 5, 0}},
         3,
         3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        CLogicBench b;
        CNetworkModel* comp = b.Add(c.type);
        ASSERT_NE(comp, nullptr);
        EXPECT_STREQ(comp->ClassName(), c.className);
        std::vector<CPortRow> ins, outs;
        for (const CModelInput* in : comp->m_inputs) {
            EXPECT_TRUE(in->m_template);
            ins.push_back({in->m_id, in->m_name});
        }
        for (const CModelOutput* out : comp->m_outputs)
            outs.push_back({out->m_id, out->m_name, out->m_dataType, out->m_decimals});
        ASSERT_EQ(ins.size(), c.inputs.size());
        for (size_t i = 0; i < ins.size(); ++i) {
            EXPECT_EQ(ins[i].id, c.inputs[i].id);
            EXPECT_EQ(ins[i].label, c.inputs[i].label);
        }
        ASSERT_EQ(outs.size(), c.outputs.size());
        for (size_t i = 0; i < outs.size(); ++i) {
            EXPECT_EQ(outs[i].id, c.outputs[i].id);
            EXPECT_EQ(outs[i].label, c.outputs[i].label);
            EXPECT_EQ(outs[i].dataType, c.outputs[i].dataType);
            EXPECT_EQ(outs[i].decimals, c.outputs[i].decimals);
        }
        EXPECT_EQ(comp->m_maxInputs, c.maxIn);
        EXPECT_EQ(comp->m_maxOutputs, c.maxOut);
    }
}

TEST(LogicTypes, BitExtractorOutputs) {
    for (int32_t type : {28, 29, 30}) {
        SCOPED_TRACE(type);
        CLogicBench b;
        CNetworkModel* ex = b.Add(type);
        const int32_t width = type == 28 ? 8 : type == 29 ? 16 : 32;
        ASSERT_EQ(static_cast<int32_t>(ex->m_outputs.Size()), width);
        int32_t bit = 0;
        for (const CModelOutput* out : ex->m_outputs) {
            EXPECT_EQ(out->m_id, 10 + bit);
            EXPECT_EQ(out->m_name, "Bit " + std::to_string(bit));
            EXPECT_EQ(out->m_dataType, kDataOnOff);
            EXPECT_EQ(out->m_decimals, 0);
            ++bit;
        }
        EXPECT_EQ(ex->FirstInput()->m_name, "Number");
        EXPECT_EQ(ex->m_maxInputs, 1);
        EXPECT_EQ(ex->m_maxOutputs, width);
        EXPECT_STREQ(ex->ClassName(), "CModelBitExtractor");
    }
}

// The bytes of a component's project record.
std::vector<uint8_t> Record(CNetworkModel& c) {
    CArchive ar;
    c.Serialize(ar);
    return ar.TakeBytes();
}

// The project record of `c` read into a fresh component of its type.
std::unique_ptr<CNetworkModel> Reload(CNetworkModel& c, const std::vector<uint8_t>& bytes,
                                      CArchive** failed = nullptr) {
    auto fresh = ConstructComponent(c.m_typeId);
    CArchive in(bytes.data(), bytes.size());
    fresh->Serialize(in);
    EXPECT_FALSE(in.Failed()) << in.Error();
    EXPECT_EQ(in.Remaining(), 0u);
    return fresh;
}

const int32_t kAllTypes[] = {3,  4,  5,  6,  7,  8,  9,  10, 11, 28, 29, 30, 90, 47,
                             48, 49, 82, 83, 84, 34, 15, 16, 17, 18, 19, 20, 80};

TEST(LogicRecords, SaveLoadSaveIsByteIdenticalWithNonDefaultParameters) {
    CLogicBench b;
    for (int32_t type : kAllTypes) {
        SCOPED_TRACE(type);
        CNetworkModel* c = b.Add(type);
        c->m_value = 2.5 + type;
        c->m_tolerance = 0.125;
        c->m_description = "note";
        if (auto* cmp = dynamic_cast<CModelCompare*>(c)) {
            cmp->SetCompareValue(-7.75);
            cmp->SetReservedFlag(false);
        }
        if (auto* exp = dynamic_cast<CModelMathExp*>(c)) exp->SetEnabled(false);
        const std::vector<uint8_t> first = Record(*c);
        auto loaded = Reload(*c, first);
        EXPECT_EQ(Record(*loaded), first);
        EXPECT_EQ(loaded->m_value, c->m_value);
        if (auto* cmp = dynamic_cast<CModelCompare*>(loaded.get())) {
            EXPECT_EQ(cmp->CompareValue(), -7.75);
            EXPECT_FALSE(cmp->ReservedFlag());
        }
        if (auto* exp = dynamic_cast<CModelMathExp*>(loaded.get())) {
            EXPECT_FALSE(exp->Enabled());
        }
    }
}

// Bytes each type appends to the base part, in both records.
size_t OwnFieldBytes(int32_t type) {
    if (type >= 15 && type <= 20) return 9;  // reserved flag, compare value
    if (type >= 47 && type <= 49) return 1;  // enabled
    return 0;
}

TEST(LogicRecords, OwnFieldsFollowTheBasePartInBothRecords) {
    CLogicBench b;
    for (int32_t type : kAllTypes) {
        SCOPED_TRACE(type);
        CNetworkModel* c = b.Add(type);
        CArchive base;
        c->SerializeBase(base);
        const std::vector<uint8_t> full = Record(*c);
        ASSERT_EQ(full.size(), base.Bytes().size() + OwnFieldBytes(type));
        CByteWriter rtBase, rtFull;
        c->ExportRuntimeBase(rtBase);
        c->ExportRuntime(rtFull);
        ASSERT_EQ(rtFull.Size(), rtBase.Size() + OwnFieldBytes(type));
        // The same field list: the tails of both records agree byte for byte.
        const size_t n = OwnFieldBytes(type);
        EXPECT_TRUE(std::equal(full.end() - n, full.end(), rtFull.Bytes().end() - n));
    }
}

TEST(LogicRecords, CompareTailIsFlagThenValue) {
    CLogicBench b;
    auto* cmp = static_cast<CModelCompare*>(b.Add(19));
    cmp->SetCompareValue(1.5);
    CByteWriter w;
    cmp->ExportRuntime(w);
    const auto& bytes = w.Bytes();
    double k = 0;
    std::memcpy(&k, bytes.data() + bytes.size() - 8, 8);
    EXPECT_EQ(k, 1.5);
    EXPECT_EQ(bytes[bytes.size() - 9], 1);  // the reserved flag, set at construction
}

TEST(LogicRecords, TruncatedRecordFailsWithoutReadingPastTheEnd) {
    CLogicBench b;
    for (int32_t type : {19, 48}) {
        SCOPED_TRACE(type);
        CNetworkModel* c = b.Add(type);
        std::vector<uint8_t> bytes = Record(*c);
        bytes.pop_back();
        auto fresh = ConstructComponent(type);
        CArchive in(bytes.data(), bytes.size());
        fresh->Serialize(in);
        EXPECT_TRUE(in.Failed());
    }
}

TEST(LogicRecords, LoadedStateStartsAfresh) {
    // No runtime state is saved: a loaded Do Once is armed, a loaded Delta starts counting.
    CLogicBench b;
    CNetworkModel* once = b.Add(90);
    b.Feed(*once, 10, 1);
    b.Reset();
    b.Cycle();
    ASSERT_EQ(once->FirstOutput()->m_value, 1.0);
    auto loaded = Reload(*once, Record(*once));
    EXPECT_FALSE(static_cast<CModelDoOnce*>(loaded.get())->Done());
}

TEST(LogicRecords, ComponentsWithoutPortsRunWithoutFault) {
    // Only a hand-made file holds these; every phase must still be safe.
    CLogicBench b;
    for (int32_t type : kAllTypes) {
        SCOPED_TRACE(type);
        CNetworkModel* c = b.module->CreateComponent(type, 0, "bare", 0, 0);
        ASSERT_NE(c, nullptr);
        ASSERT_EQ(c->m_inputs.Size() + c->m_outputs.Size(), 0u);
        c->GetInputValues();
        c->Execute();
        c->ResetValues();
        c->GetInputValues();
        c->Execute();
        // Outputs without the template inputs: gates read missing inputs as false.
        c->AddOutput(10);
        c->GetInputValues();
        c->Execute();
    }
}

}  // namespace
}  // namespace zor2
