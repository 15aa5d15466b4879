// A global operator new that fails on request, for the program that links it (it replaces the
// program's allocator, so such a program holds nothing else). Per thread.
#ifndef CIMP_TESTS_PLATFORM_FAILING_NEW_H
#define CIMP_TESTS_PLATFORM_FAILING_NEW_H

namespace cimptest {

// From now on the allocation numbered `failAt` (from 1) throws std::bad_alloc; 0 fails none.
void failAllocation(long failAt);

// Allocations made since the last failAllocation.
long allocationsMade();

}  // namespace cimptest

#endif
