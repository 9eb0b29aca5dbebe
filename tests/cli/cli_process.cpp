// Child processes of the command-line tests (see cli_process.h).
#include "cli_process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <sstream>

namespace zor2 {

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string ScratchDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string dir = ::testing::TempDir() + "zor21_cli_" + info->test_suite_name() + "_" + info->name() +
                      "_" + std::to_string(::getpid());
    ::mkdir(dir.c_str(), 0755);
    return dir;
}

pid_t Spawn(const std::vector<std::string>& args, const std::string& cwd, const char* program) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::chdir(cwd.c_str()) != 0) ::_exit(127);
        const int out = ::open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, 1);
        ::dup2(err, 2);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(program));
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(program, argv.data());
        ::_exit(127);
    }
    return pid;
}

CResult Finish(pid_t pid, const std::string& cwd, int seconds) {
    CResult r;
    const int fd = static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
    pollfd p{fd, POLLIN, 0};
    if (fd < 0 || ::poll(&p, 1, seconds * 1000) <= 0) {
        ::kill(pid, SIGKILL);
        ADD_FAILURE() << "zor21-cli did not finish within " << seconds << " s";
    }
    if (fd >= 0) ::close(fd);
    int status = 0;
    ::waitpid(pid, &status, 0);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = ReadText(cwd + "/stdout.txt");
    r.err = ReadText(cwd + "/stderr.txt");
    return r;
}

}  // namespace zor2
