// The Pattern Sequencer in the designer: windows, steps and ramps of actions,
// overlapping actions, repeat, the Pattern Number, pausing, reset, and its record.
#include "components/decision/action_sequence.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "algo/bytes.h"
#include "components_timing/harness.h"
#include "persistence/project_file.h"

namespace zor2::test {
namespace {

struct CActionRow {
    double start, duration;
    int32_t type;
    double a = 0.0, b = 0.0;  // constant value, or start and end of a ramp
};

class Sequencer : public Bench {
  protected:
    void SetUp() override {
        Bench::SetUp();
        seq = dynamic_cast<CModelActionSequence*>(Drop(*module, kTypeActionSequence));
        ASSERT_NE(seq, nullptr);
        out = seq->NewOutput();
        ASSERT_NE(out, nullptr);
        pattern = Feed(*seq, kSequencerPatternInputId, 1.0);
    }
    /// A sequence with `trigger` holding the rows, all on the first output.
    CActionSequence& Add(int32_t trigger, const std::vector<CActionRow>& rows, bool repeat = false) {
        CActionSequence& s = seq->NewSequence();
        s.m_trigger = trigger;
        s.m_repeat = repeat;
        for (const CActionRow& r : rows) {
            CAction& a = seq->AddAction(s, out->m_id, r.start, r.duration);
            a.m_type = r.type;
            a.m_constantValue = r.a;
            a.m_startValue = r.a;
            a.m_endValue = r.b;
        }
        seq->ResetValues();  // a new sequence runs at once; these tests start it by trigger
        return s;
    }
    std::vector<double> Run(int cycles) {
        std::vector<double> values;
        for (int i = 0; i < cycles; ++i) {
            Cycle();
            values.push_back(out->m_value);
        }
        return values;
    }

    CModelActionSequence* seq = nullptr;
    CModelOutput* out = nullptr;
    CNetworkModel* pattern = nullptr;
};

TEST_F(Sequencer, ActionsPlayTheirWindowsStepsAndRamps) {
    const double third = 10.0 / 3.0;
    struct Case {
        const char* name;
        std::vector<CActionRow> rows;
        bool repeat;
        std::vector<double> expected;  // the output in cycles 1, 2, ... (t = 0, 100, ...)
    };
    const Case cases[] = {
        {"on from 200 for 300: cycles 3 to 5", {{200, 300, kActionOn}}, false, {0, 0, 1, 1, 1, 0, 0, 0}},
        {"ramp 0 to 10 over four cycles",
         {{100, 400, kActionDynamic, 0, 10}},
         false,
         {0, 0, third, 2 * third, 10, 0}},
        {"ramp from the start of the sequence", {{0, 300, kActionDynamic, 0, 6}}, false, {0, 3, 6, 0}},
        {"ramp of one cycle holds its start", {{100, 100, kActionDynamic, 4, 9}}, false, {0, 4, 0, 0}},
        {"constant step", {{0, 200, kActionConstant, -2.5}}, false, {-2.5, -2.5, 0}},
        {"overlap: the later action wins",
         {{0, 500, kActionConstant, 2}, {100, 300, kActionConstant, 5}},
         false,
         {2, 5, 5, 5, 2, 0}},
        {"overlap: the earlier action under a later one",
         {{100, 300, kActionConstant, 5}, {0, 500, kActionConstant, 2}},
         false,
         {2, 2, 2, 2, 2, 0}},
        {"no repeat: 0 after the end", {{0, 100, kActionOn}}, false, {1, 0, 0, 0, 0}},
        {"repeat: starts over once past its length", {{0, 100, kActionOn}}, true, {1, 0, 1, 0, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        Add(1, c.rows, c.repeat);
        const std::vector<double> got = Run(static_cast<int>(c.expected.size()));
        for (size_t i = 0; i < got.size(); ++i)
            EXPECT_NEAR(got[i], c.expected[i], 1e-12) << "cycle " << i + 1;
    }
}

TEST_F(Sequencer, PatternNumberStartsTheSequenceOfItsTruncatedValue) {
    Add(0, {{0, 1000, kActionConstant, 10}});
    Add(2, {{0, 1000, kActionConstant, 30}});
    struct Case {
        double pattern;
        double expected;  // after one cycle from idle
    };
    const Case cases[] = {{2.9, 30}, {-0.5, 10}, {2.0, 30}, {1.0, 0}, {std::nan(""), 0}, {1e12, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        seq->ResetValues();
        pattern->m_value = c.pattern;
        EXPECT_EQ(Run(1), std::vector<double>{c.expected});
    }
}

TEST_F(Sequencer, RetriggerPauseAndResetFollowTheRunningSequence) {
    Add(1, {{0, 1000, kActionConstant, 1}});
    Add(2, {{0, 1000, kActionDynamic, 0, 9}});
    pattern->m_value = 2;
    EXPECT_EQ(Run(2), (std::vector<double>{0, 1}));
    // A new Pattern Number while a sequence plays changes nothing.
    pattern->m_value = 1;
    EXPECT_EQ(Run(1), std::vector<double>{2});
    // Disabled: time stands still and the outputs keep their values.
    CNetworkModel* enable = Feed(*seq, kSequencerEnableInputId, 0.0);
    module->ComputeStages();
    EXPECT_EQ(Run(2), (std::vector<double>{2, 2}));
    enable->m_value = 1;
    EXPECT_EQ(Run(1), std::vector<double>{3});
    // After a reset the Pattern Number picks again.
    seq->ResetValues();
    EXPECT_EQ(out->m_value, 0.0);
    EXPECT_EQ(Run(1), std::vector<double>{1});
}

TEST_F(Sequencer, NewSequencesTakeTheNextFreeTriggerAndRun) {
    CActionSequence& a = seq->NewSequence();
    EXPECT_EQ(a.m_trigger, 1);
    EXPECT_EQ(a.m_name, "Seq " + std::to_string(a.m_id));
    a.m_trigger = 2;
    const CActionSequence& b = seq->NewSequence();
    EXPECT_EQ(b.m_trigger, 3) << "2 is taken";
    EXPECT_EQ(seq->Sequencer().Running(), &seq->Sequencer().m_sequences.back());
    EXPECT_EQ(seq->FindInput(kSequencerPatternInputId)->ValueString(), "3");
    EXPECT_EQ(seq->NewOutput()->m_name, "Output 2");
}

TEST_F(Sequencer, RemovedOutputTakesItsActionsFromEverySequence) {
    CModelOutput* other = seq->NewOutput();
    for (int trigger : {1, 2}) {
        CActionSequence& s = Add(trigger, {{0, 100, kActionOn}});
        seq->AddAction(s, other->m_id, 100, 100);
    }
    seq->OnOutputRemoved(out->m_id);
    for (const CActionSequence& s : seq->Sequencer().m_sequences) {
        ASSERT_EQ(s.m_actions.size(), 1u);
        EXPECT_EQ(s.m_actions[0].m_outputId, other->m_id);
        EXPECT_EQ(s.m_length, 200.0);
    }
}

TEST_F(Sequencer, SavedSequencesLoadAsTheyWereAndOrphanActionsAreDropped) {
    CActionSequence& s = Add(4, {{0, 300, kActionDynamic, 1, 2}, {100, 100, kActionConstant, 7}}, true);
    s.m_description = "two events";
    const std::vector<uint8_t> bytes = SaveProjectBytes(system);
    CSystem loaded;
    ASSERT_TRUE(LoadProjectBytes(loaded, bytes));
    EXPECT_EQ(SaveProjectBytes(loaded), bytes);
    EXPECT_TRUE(loaded.Feedback().build.Empty());

    // A damaged file: an action on an output the component does not have.
    s.m_actions[1].m_outputId = 9999;
    CSystem repaired;
    ASSERT_TRUE(LoadProjectBytes(repaired, SaveProjectBytes(system)));
    auto* copy =
        dynamic_cast<CModelActionSequence*>(repaired.FindModule(module->m_id)->m_components.Find(seq->m_id));
    ASSERT_NE(copy, nullptr);
    const CActionSequence& read = copy->Sequencer().m_sequences.at(0);
    EXPECT_EQ(read.m_actions.size(), 1u);
    EXPECT_EQ(read.m_length, 300.0);
    EXPECT_EQ(read.m_description, "two events");
    EXPECT_TRUE(read.m_repeat);
    EXPECT_EQ(repaired.Feedback().build.Top(),
              "Pattern Sequencer " + seq->m_name +
                  ": 1 event(s) for an output the component does not have were dropped while loading.");
}

TEST_F(Sequencer, ExportNotesARateTheRuntimeDoesNotStepAt) {
    EXPECT_EQ(seq->RuntimeExportNote(), "") << "no actions";
    Add(1, {{0, 100, kActionOn}});
    EXPECT_EQ(seq->RuntimeExportNote(), "") << "the runtime's own rate";
    system.m_cyclesPerSecond = 20;
    EXPECT_EQ(
        seq->RuntimeExportNote(),
        "Runtime export: Pattern Sequencer \"" + seq->m_name +
            "\" in module \"Plant\" steps its sequences by 10 cycles per second there, not by the 20 of this simulation (the runtime file does not carry the rate).");
}

TEST(SequencerRecord, DamagedCountsFailTheReadWithoutAllocating) {
    CActionSequencer q;
    q.m_sequences.resize(1);
    q.m_sequences[0].m_actions.resize(2);
    CByteWriter w;
    CActionSequencer::Fields(w, q);
    EXPECT_EQ(w.Size(), 4 + 25 + 2 * kActionRecordBytes);
    // The sequence count, then id, module, component, trigger, reserved, the flag and the action count.
    const std::pair<size_t, const char*> cases[] = {{0, "action sequence count exceeds the file"},
                                                    {25, "action count exceeds the file"}};
    for (const auto& [offset, error] : cases) {
        SCOPED_TRACE(error);
        std::vector<uint8_t> bytes = w.Bytes();
        const int32_t huge = 0x7FFFFFFF;
        std::memcpy(&bytes[offset], &huge, 4);
        CByteReader in(bytes);
        CActionSequencer read;
        EXPECT_FALSE(CActionSequencer::Fields(in, read));
        EXPECT_EQ(in.Error(), error);
    }
}

}  // namespace
}  // namespace zor2::test
