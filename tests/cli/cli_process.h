// Runs the command-line tools as child processes in a scratch folder, with
// their standard output and error kept in files there.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace zor2 {

struct CResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadText(const std::string& path);
void WriteText(const std::string& path, const std::string& text);

/// A fresh scratch folder per test.
std::string ScratchDir();

/// Starts the tool (zor21-cli unless another is named) in `cwd`; its output goes to files in `cwd`.
pid_t Spawn(const std::vector<std::string>& args, const std::string& cwd, const char* program = ZOR21_CLI);

/// Waits for the process to end, on a descriptor that becomes readable when it
/// does; a process that overstays `seconds` is killed (a guard against a hang).
CResult Finish(pid_t pid, const std::string& cwd, int seconds = 20);

}  // namespace zor2
