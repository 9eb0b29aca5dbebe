// What every editing command shares: its outcome and the text formatting of
// questions and feedback lines.
#pragma once

#include <cstdarg>
#include <string>

namespace zor2 {

/// The outcome of an editing command. Only Done changed the model, wrote its
/// feedback line and added one undo level.
enum class ECmd {
    Done,         // changed and recorded
    Cancelled,    // the user answered a confirmation with No or Cancel
    Refused,      // the command was refused with an information message or a beep
    Unavailable,  // nothing selected or nothing to act on; nothing shown
};

/// printf-style formatting into a string.
std::string Fmt(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace zor2
