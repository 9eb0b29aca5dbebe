// The scripted prompter fails a test that asks a question it has no answer
// for, or that leaves scripted answers unused.
#include "support/scripted_prompter.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace zor2::test {
namespace {

TEST(ScriptedPrompter, UnscriptedQuestionsAndUnusedAnswersFail) {
    EXPECT_NONFATAL_FAILURE(
        {
            CScriptedPrompter p;
            EXPECT_EQ(p.Ask("Delete?", EButtons::YesNo), EAnswer::Cancel);
        },
        "question without a scripted answer: Delete?");
    EXPECT_NONFATAL_FAILURE({ CScriptedPrompter p({EAnswer::Yes, EAnswer::No}); }, "2 scripted answer(s)");
    EXPECT_NONFATAL_FAILURE(
        {
            CScriptedPrompter p({EAnswer::Yes});
            p.Script({EAnswer::No});
            p.Ask("q", EButtons::YesNo);
        },
        "1 scripted answer(s) left unused");
}

TEST(ScriptedPrompter, AnswersInOrderAndRecordsWhatWasAsked) {
    CScriptedPrompter p({EAnswer::No, EAnswer::Yes});
    EXPECT_EQ(p.Ask("a", EButtons::YesNo), EAnswer::No);
    EXPECT_EQ(p.Ask("b", EButtons::YesNo), EAnswer::Yes);
    p.Tell("done");
    EXPECT_EQ(p.m_questions, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(p.m_messages, (std::vector<std::string>{"done"}));
    CScriptedPrompter every = CScriptedPrompter::AnsweringEvery(EAnswer::No);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(every.Ask("again", EButtons::YesNo), EAnswer::No);
}

}  // namespace
}  // namespace zor2::test
