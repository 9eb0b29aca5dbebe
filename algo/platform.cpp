// Default random source, steady clock and the environment-gated trace sink.
#include "algo/platform.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zor2 {

uint32_t CSteadyClock::TickMs() {
    using namespace std::chrono;
    auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(ms);
}

namespace {
IRandomSource* g_randomOverride = nullptr;
IClock* g_clockOverride = nullptr;
}  // namespace

IRandomSource& DefaultRandom() {
    static CLcgRandom random(1);
    return g_randomOverride ? *g_randomOverride : random;
}

IClock& DefaultClock() {
    static CSteadyClock clock;
    return g_clockOverride ? *g_clockOverride : clock;
}

void SetDefaultRandom(IRandomSource* random) {
    g_randomOverride = random;
}
void SetDefaultClock(IClock* clock) {
    g_clockOverride = clock;
}

namespace {
FILE* TraceFile() {
    static FILE* file = []() -> FILE* {
        const char* target = std::getenv("ZOR2_TRACE");
        if (!target || !*target || std::strcmp(target, "0") == 0) return nullptr;
        if (std::strcmp(target, "1") == 0) return stderr;
        FILE* f = std::fopen(target, "a");
        return f ? f : stderr;
    }();
    return file;
}
}  // namespace

bool TraceEnabled() {
    return TraceFile() != nullptr;
}

void Trace(const char* format, ...) {
    FILE* f = TraceFile();
    if (!f) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(f, format, args);
    va_end(args);
    std::fflush(f);
}

std::FILE* OpenInputFile(const std::string& path, int& error) {
    // Without O_NONBLOCK opening a FIFO would wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = errno ? errno : EIO;
        return nullptr;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = kNotARegularFile;
        ::close(fd);
        return nullptr;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    std::FILE* f = ::fdopen(fd, "rb");
    if (!f) {
        error = errno ? errno : EIO;
        ::close(fd);
        return nullptr;
    }
    error = 0;
    return f;
}

int ReadInputFile(const std::string& path, std::vector<uint8_t>& bytes, uint64_t limit) {
    bytes.clear();
    int error = 0;
    std::FILE* f = OpenInputFile(path, error);
    if (!f) return error;
    struct stat st {};
    if (::fstat(::fileno(f), &st) != 0) error = errno ? errno : EIO;
    const uint64_t size = error ? 0 : static_cast<uint64_t>(st.st_size);
    if (!error && size > limit) error = kFileTooLarge;
    if (!error) {
        // The size the file had when it was opened: one that grows meanwhile is not followed.
        bytes.resize(static_cast<size_t>(size));
        const size_t got = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), f);
        if (std::ferror(f)) error = EIO;
        bytes.resize(got);
    }
    std::fclose(f);
    if (error) bytes.clear();
    return error;
}

std::string InputFileErrorText(int error) {
    if (error == kNotARegularFile) return "not a regular file";
    if (error == kFileTooLarge) return "the file is too large";
    return std::strerror(error);
}

}  // namespace zor2
