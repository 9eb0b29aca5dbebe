// What every editing command shares: its outcome and the text formatting of
// questions and feedback lines.
#pragma once

#include <cstdarg>
#include <string>

namespace zor2 {

/// The outcome of an editing command. A Done edit changed the model, wrote its
/// feedback line (when it has one) and added exactly one undo level; the few
/// commands documented as view-only or values-only (selection, "Execute
/// Module", "Reset Value", module export) add none. Every other outcome
/// changed nothing and added no undo level.
enum class ECmd {
    Done,         // done (and recorded when it is an edit)
    Cancelled,    // the user answered a confirmation with No or Cancel
    Refused,      // the command was refused with an information message or a beep
    Unavailable,  // nothing selected or nothing to act on; nothing shown
};

class IPrompter;

/// Asks with Yes, No and Cancel; true only for Yes.
bool AskYesNoCancel(IPrompter& prompter, const std::string& question);

/// printf-style formatting into a string.
std::string Fmt(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace zor2
