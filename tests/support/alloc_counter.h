// Counts every operator new of the process, for tests that check that a cycle
// allocates nothing and that a reader's memory follows the size of its input.
// Linking a program against the counter replaces every form of the global
// operator new and delete as soon as the program calls one of these functions.
#pragma once

#include <cstddef>

namespace zor2::test {

/// The number of operator new calls in the process so far.
long AllocationCount();
/// Bytes that operator new holds out now (as the allocator counts them).
size_t LiveBytes();
/// The highest LiveBytes() since the last ResetPeakBytes().
size_t PeakBytes();
/// Starts a new peak at the bytes live now.
void ResetPeakBytes();

/// The peak of live bytes above those live before, while `work` runs.
template <class Work>
size_t PeakBytesDuring(Work&& work) {
    const size_t before = LiveBytes();
    ResetPeakBytes();
    work();
    const size_t peak = PeakBytes();
    return peak > before ? peak - before : 0;
}

}  // namespace zor2::test
