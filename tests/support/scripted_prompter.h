// Test double for the prompter: answers questions from a script and records
// every question and message. A question beyond the script, or a script left
// unused when the test ends, fails the test.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "engine/report.h"

namespace zor2::test {

class CScriptedPrompter final : public IPrompter {
  public:
    /// Answers in order; every question must have its answer in the script.
    explicit CScriptedPrompter(std::deque<EAnswer> answers = {}) : m_answers(std::move(answers)) {}
    CScriptedPrompter(const CScriptedPrompter&) = delete;
    CScriptedPrompter& operator=(const CScriptedPrompter&) = delete;
    ~CScriptedPrompter() override { ExpectScriptUsed(); }

    /// A prompter for code that asks any number of questions (random systems,
    /// bulk set-ups) and gets `answer` to each: the choice is the test's, stated.
    static CScriptedPrompter AnsweringEvery(EAnswer answer) {
        CScriptedPrompter p;
        p.m_every = answer;
        return p;
    }
    CScriptedPrompter(CScriptedPrompter&& other) noexcept
        : m_questions(std::move(other.m_questions)),
          m_messages(std::move(other.m_messages)),
          m_beeps(other.m_beeps),
          m_answers(std::move(other.m_answers)),
          m_every(other.m_every) {
        other.m_answers.clear();
    }

    /// Starts afresh with a new script and an empty record; the previous
    /// script must have been used up.
    void Script(std::deque<EAnswer> answers) {
        ExpectScriptUsed();
        m_answers = std::move(answers);
        m_questions.clear();
        m_messages.clear();
        m_beeps = 0;
    }

    EAnswer Ask(std::string_view question, EButtons) override {
        m_questions.emplace_back(question);
        if (m_every) return *m_every;
        if (m_answers.empty()) {
            ADD_FAILURE() << "question without a scripted answer: " << question;
            return EAnswer::Cancel;
        }
        EAnswer a = m_answers.front();
        m_answers.pop_front();
        return a;
    }
    void Tell(std::string_view message) override { m_messages.emplace_back(message); }
    void Beep() override { ++m_beeps; }

    std::vector<std::string> m_questions;
    std::vector<std::string> m_messages;
    int m_beeps = 0;

  private:
    void ExpectScriptUsed() {
        if (!m_answers.empty())
            ADD_FAILURE() << m_answers.size() << " scripted answer(s) left unused; last question: "
                          << (m_questions.empty() ? std::string("(none)") : m_questions.back());
        m_answers.clear();
    }

    std::deque<EAnswer> m_answers;
    std::optional<EAnswer> m_every;
};

}  // namespace zor2::test
