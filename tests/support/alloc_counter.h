// Counts every operator new of the process, for tests that check that a cycle
// allocates nothing. Linking a program against the counter replaces the global
// operator new as soon as the program calls AllocationCount().
#pragma once

namespace zor2::test {

/// The number of operator new calls in the process so far.
long AllocationCount();

}  // namespace zor2::test
