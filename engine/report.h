// How the engine reports: the three feedback lists (newest line on top), the
// prompter that the GUI answers with message boxes and tests script, and the
// single change-recording hook the document supplies.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

namespace zor2 {

/// A list of text lines with the newest at the top. Keeps at most `Limit()`
/// lines; the oldest fall off the bottom.
class CFeedbackList {
  public:
    explicit CFeedbackList(std::string title) : m_title(std::move(title)) {}
    /// Inserts `line` at the top; at the limit the oldest line goes, and its
    /// storage takes the new text.
    void Add(std::string_view line);
    void Clear() { m_lines.clear(); }
    const std::string& Title() const { return m_title; }
    size_t Size() const { return m_lines.size(); }
    bool Empty() const { return m_lines.empty(); }
    /// Line 0 is the newest.
    const std::string& Line(size_t i) const { return m_lines[i]; }
    const std::string& Top() const;
    const std::deque<std::string>& Lines() const { return m_lines; }
    static constexpr size_t Limit() { return 5000; }

  private:
    std::string m_title;
    std::deque<std::string> m_lines;
};

/// The three lists the designer shows.
struct CFeedback {
    CFeedbackList build{"System Build Feedback"};
    CFeedbackList execution{"System Execution Feedback"};
    CFeedbackList results{"Output Results"};
};

enum class EAnswer { Yes, No, Cancel, Ok };
enum class EButtons { Ok, YesNo, YesNoCancel, OkCancel };

/// Questions and notices for the user. The GUI shows message boxes, the CLI
/// applies a fixed policy, tests script the answers and record the texts.
class IPrompter {
  public:
    virtual ~IPrompter() = default;
    virtual EAnswer Ask(std::string_view question, EButtons buttons) = 0;
    virtual void Tell(std::string_view message) = 0;
    /// A failure (a file that cannot be read or written), told as a warning.
    virtual void Warn(std::string_view message) { Tell(message); }
    virtual void Beep() = 0;
};

/// Prompter that answers every question with a fixed answer and shows nothing.
class CSilentPrompter final : public IPrompter {
  public:
    explicit CSilentPrompter(EAnswer answer = EAnswer::Yes) : m_answer(answer) {}
    EAnswer Ask(std::string_view, EButtons) override { return m_answer; }
    void Tell(std::string_view) override {}
    void Beep() override {}

  private:
    EAnswer m_answer;
};

/// Records a successful edit: the document marks itself modified, puts the
/// feedback line on top of "System Build Feedback" and takes an undo checkpoint.
class IChangeRecorder {
  public:
    virtual ~IChangeRecorder() = default;
    virtual void RecordChange(const std::string& feedbackLine) = 0;
};

}  // namespace zor2
