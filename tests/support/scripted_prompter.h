// Test double for the prompter: answers from a script and records every text.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "engine/report.h"

namespace zor2::test {

class CScriptedPrompter final : public IPrompter {
  public:
    /// Answers in order; when the script runs out every question gets `fallback`.
    explicit CScriptedPrompter(std::deque<EAnswer> answers = {}, EAnswer fallback = EAnswer::Yes)
        : m_answers(std::move(answers)), m_fallback(fallback) {}

    EAnswer Ask(std::string_view question, EButtons) override {
        m_questions.emplace_back(question);
        if (m_answers.empty()) return m_fallback;
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
    std::deque<EAnswer> m_answers;
    EAnswer m_fallback;
};

}  // namespace zor2::test
