// A global operator new that fails on request, for the programs that link it (it replaces the
// program's allocator, so such a program holds nothing else). Per thread.
#ifndef CIMP_TESTS_SUPPORT_FAILING_NEW_H
#define CIMP_TESTS_SUPPORT_FAILING_NEW_H

namespace cimptest {

// From now on the allocation numbered `failAt` (from 1) throws std::bad_alloc, and with
// `andEveryLater` each one after it too; 0 fails none.
void failAllocation(long failAt, bool andEveryLater = false);

// Allocations made since the last failAllocation.
long allocationsMade();

}  // namespace cimptest

#endif
