// Formatting and question helpers of the commands.
#include "designer/commands_common.h"

#include <cstdio>
#include <vector>

#include "engine/report.h"

namespace zor2 {

bool AskYesNoCancel(IPrompter& prompter, const std::string& question) {
    return prompter.Ask(question, EButtons::YesNoCancel) == EAnswer::Yes;
}

std::string Fmt(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (n > 0) {
        std::vector<char> buffer(static_cast<size_t>(n) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        out.assign(buffer.data(), static_cast<size_t>(n));
    }
    va_end(args);
    return out;
}

}  // namespace zor2
