// The platform's entry points answer an allocation that fails inside them the way their interface
// fails, never with an exception: every allocation in turn is made to throw (this program replaces
// the global operator new, so it runs alone: failing_new.h) and each call must return.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <memory>

#include "platform/drax.h"
#include "platform/errl_entry.h"
#include "platform/errl_watch.h"
#include "platform/rmgr.h"
#include "platform/trace.h"
#include "platform/util_reg.h"
#include "tests/support/failing_new.h"
#include "tests/support/platform_fixture.h"

namespace {

// How many allocations the call made once armed, or -1 when the one numbered `failAt` was reached.
template <typename Call>
long allocationsOf(long failAt, Call&& call) {
    cimptest::failAllocation(failAt);
    call();
    const long made = cimptest::allocationsMade();
    cimptest::failAllocation(0);
    return made < failAt ? made : -1;
}

constexpr uint32_t kRcOutOfMemory = 0x51A00007;

class OutOfMemory : public cimptest::PlatformFixture {
  protected:
    // Fails each allocation of `call` in turn; `call` answers whether it failed the documented way
    // (or, for an allocation it survives, succeeded).
    template <typename Call>
    void failEachAllocation(const char* what, Call&& call) {
        long failAt = 1;
        for (; failAt < 10000; ++failAt) {
            bool answered = false;
            if (allocationsOf(failAt, [&] { answered = call(); }) >= 0) {
                break;
            }
            EXPECT_TRUE(answered) << what << ": allocation " << failAt;
        }
        EXPECT_GT(failAt, 1) << what << " allocates nothing: the test proves nothing";
    }
};

// A null entry, or one whose code is out of memory, and the entry deleted like a provider would.
bool answered(ErrlEntry* raw) {
    std::unique_ptr<ErrlEntry> entry(raw);
    return entry == nullptr || entry->getRC() == kRcOutOfMemory;
}

// A failed registry read, to commit.
std::unique_ptr<ErrlEntry> failedRead() {
    char value[4] = {};
    unsigned int size = sizeof value;
    return std::unique_ptr<ErrlEntry>(UtilReg::read("no/such", value, size, false, nullptr));
}

TEST_F(OutOfMemory, PlatformCallsAnswerWithAnEntryOrALostLogLine) {
    writeExampleMachine();
    failEachAllocation("UtilReg::read", [] {
        char serial[12] = {};
        unsigned int size = sizeof serial;
        return answered(UtilReg::read("svpd/Raw_MachineSerialNumber", serial, size, false, nullptr));
    });
    failEachAllocation("UtilReg::read of a missing key", [] { return failedRead() != nullptr; });
    failEachAllocation("draxQueryDraManagedInfo", [] {
        DraxManagedInfo info = {};
        return answered(draxQueryDraManagedInfo(info, true));
    });
    failEachAllocation("rmgrIsRedPolicyEnabled", [] {
        bool enabled = true;
        return answered(rmgrIsRedPolicyEnabled(enabled));
    });
    const std::unique_ptr<ErrlEntry> failed = failedRead();
    failEachAllocation("ErrlEntry::commit", [&failed] {
        failed->commit(0xd400, 0x2000);
        return true;
    });
    failEachAllocation("trace_adal_init_buffer", [] {
        trace_desc_t td = 0;
        const int rc = trace_adal_init_buffer(&td, "OOM", 4096);
        return rc == 0 || (rc == -1 && td == TRACE_DESC_INVALID);
    });
    // Each entry is told once, however many reads ran out of memory on the way.
    ErrlWatch watch;
    failed->commit(0xd400, 0x2000);
    size_t told = 0;
    failEachAllocation("ErrlWatch::next", [&watch, &told] {
        std::vector<ErrlCommittedEntry> entries;
        watch.next(entries, 0);
        told += entries.size();
        return true;
    });
    EXPECT_EQ(told, 1u);
    // No failed attempt left the ring's file locked (a leaked mapping would hold its lock).
    const int ring = open(traceFile("OOM").c_str(), O_RDONLY);
    EXPECT_EQ(flock(ring, LOCK_EX | LOCK_NB), 0);
    close(ring);
}

}  // namespace
