// How the engine reports: the three feedback lists (newest line on top), the
// prompter that the GUI answers with message boxes and tests script, and the
// single change-recording hook the document supplies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zor2 {

/// A list of text lines with the newest at the top. Keeps at most `Limit()`
/// lines; the oldest fall off the bottom. A ring once full, so a line added
/// every cycle (execution traces) reuses the storage of the one it replaces.
class CFeedbackList {
  public:
    explicit CFeedbackList(std::string title) : m_title(std::move(title)) {}
    /// Inserts `line` at the top; at the limit the oldest line goes, and its
    /// storage takes the new text.
    void Add(std::string_view line);
    /// Inserts the trace line "CNetworkModel::<phase> (Type: <typeId>, <name>)\n",
    /// cut at 511 bytes, at the top. Only the name is copied now; the line is
    /// put together when read, since a tracing component adds one every cycle.
    /// `phase` must be a string literal.
    void AddTrace(const char* phase, int32_t typeId, std::string_view name);
    void Clear() {
        m_ring.clear();
        m_traces.clear();
        m_oldest = 0;
    }
    const std::string& Title() const { return m_title; }
    size_t Size() const { return m_ring.size(); }
    bool Empty() const { return m_ring.empty(); }
    /// Line 0 is the newest.
    const std::string& Line(size_t i) const;
    const std::string& Top() const;
    /// A copy of the lines, newest first.
    std::vector<std::string> Lines() const;
    static constexpr size_t Limit() { return 5000; }

  private:
    /// A slot whose line is still to be put together from the name it holds.
    struct CTrace {
        const char* phase = nullptr;  // null: the slot holds its finished line
        int32_t typeId = 0;
    };
    /// The slot the next line takes (the ring grows until full); its trace mark is cleared.
    std::string& NextSlot();

    std::string m_title;
    // In the order added, from m_oldest round; mutable since a trace slot's
    // line is put together on its first reading.
    mutable std::vector<std::string> m_ring;
    mutable std::vector<CTrace> m_traces;  // one per slot of m_ring
    size_t m_oldest = 0;                   // the slot the next line takes once full
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
