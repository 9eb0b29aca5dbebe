// Small platform services shared by the designer engine and the runtime library:
// the 15-bit random source, the millisecond tick clock, the diagnostic trace and
// the opening of input files.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace zor2 {

/// Source of uniform random integers in 0..32767 (15 bits).
class IRandomSource {
  public:
    virtual ~IRandomSource() = default;
    virtual int32_t Next15() = 0;
};

/// Highest id the random rule draws; a list can hold at most this many distinct ids.
inline constexpr int32_t kMaxDrawnId = 31999;

/// Maps a 15-bit draw onto 1..31999 exactly as the stored files expect.
inline int32_t IdFromDraw(int32_t r) {
    return static_cast<int32_t>(static_cast<double>(r) * 0.000030517578125 * 31999.0 + 1.0);
}

/// Seedable linear congruential generator with 15-bit results (the classic
/// 214013/2531011 sequence), used wherever the system needs a random draw.
class CLcgRandom final : public IRandomSource {
  public:
    explicit CLcgRandom(uint32_t seed = 1) : m_state(seed) {}
    void Seed(uint32_t seed) { m_state = seed; }
    int32_t Next15() override {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int32_t>((m_state >> 16) & 0x7FFF);
    }

  private:
    uint32_t m_state;
};

/// Millisecond tick count since some fixed start, wrapping after 2^32 ms.
class IClock {
  public:
    virtual ~IClock() = default;
    virtual uint32_t TickMs() = 0;
};

/// The process's steady clock.
class CSteadyClock final : public IClock {
  public:
    uint32_t TickMs() override;
};

/// A clock that tests set by hand.
class CManualClock final : public IClock {
  public:
    uint32_t TickMs() override { return m_now; }
    void Set(uint32_t ms) { m_now = ms; }
    void Advance(uint32_t ms) { m_now += ms; }

  private:
    uint32_t m_now = 0;
};

/// Process-wide defaults used by objects that are not (yet) owned by a system,
/// and by the runtime library's components.
IRandomSource& DefaultRandom();
IClock& DefaultClock();
/// Replaces the process-wide default (null restores the built-in one); the
/// caller keeps ownership. Tests use it to make runtime draws and ticks exact.
void SetDefaultRandom(IRandomSource* random);
void SetDefaultClock(IClock* clock);

/// Why an input file was not read: 0 when it was, an errno value from the
/// system, or one of these two.
inline constexpr int kNotARegularFile = -1;
inline constexpr int kFileTooLarge = -2;

/// Opens `path` for reading in binary mode only when it names a regular file:
/// a device, a FIFO or a folder is refused (kNotARegularFile) without waiting
/// for a writer or reading any of it. Null with `error` set when it fails.
std::FILE* OpenInputFile(const std::string& path, int& error);
/// Reads the whole regular file at `path` into `bytes` (at most `limit` bytes,
/// else kFileTooLarge); returns 0 or why it failed, with `bytes` empty.
int ReadInputFile(const std::string& path, std::vector<uint8_t>& bytes, uint64_t limit = UINT64_MAX);
/// The reason text of such an error ("not a regular file", or the system's text).
std::string InputFileErrorText(int error);

/// Diagnostic trace: silent unless the environment variable ZOR2_TRACE is set
/// (to "1" for standard error, or to a file path to append to).
bool TraceEnabled();
void Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace zor2
