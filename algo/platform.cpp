// Default random source, steady clock and the environment-gated trace sink.
#include "algo/platform.h"

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

}  // namespace zor2
