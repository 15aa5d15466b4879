// Broker functions that run out of memory answer a status; no exception reaches their C caller.
// This program replaces the global operator new so that one chosen allocation fails: each call is
// repeated with its 1st, 2nd, ... allocation failing until it runs through untouched.
#include <atomic>
#include <cstdlib>
#include <functional>
#include <new>

#include "broker_test_fixture.h"

namespace {

// Allocations left before the one that fails; 0 when none is to fail.
std::atomic<int> gAllocationsBeforeFailure{0};
// Every allocation fails while set.
std::atomic<bool> gNoMemory{false};

void* allocate(std::size_t size) {
    if (gNoMemory.load(std::memory_order_relaxed)) {
        throw std::bad_alloc();
    }
    const int left = gAllocationsBeforeFailure.load(std::memory_order_relaxed);
    if (left > 0 && gAllocationsBeforeFailure.fetch_sub(1) == 1) {
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace cimbroker {
namespace {

class OutOfMemory : public BrokerTest {
  protected:
    // Runs `call` with its Nth allocation failing, for N from 1 until none fails, and checks every
    // answer: OK, or CMPI_RC_ERR_FAILED saying `service` ran out of memory. Answers how many
    // allocations failed.
    int sweep(const char* service, const std::function<CMPIStatus()>& call) {
        int failures = 0;
        for (int n = 1; n < 500; ++n) {
            gAllocationsBeforeFailure.store(n);
            const CMPIStatus status = call();
            const bool failed = gAllocationsBeforeFailure.exchange(0) == 0;
            if (!failed) {
                EXPECT_EQ(status.rc, CMPI_RC_OK) << service;
                return failures;
            }
            ++failures;
            EXPECT_TRUE(status.rc == CMPI_RC_OK || status.rc == CMPI_RC_ERR_FAILED)
                << service << " allocation " << n << ": rc " << status.rc;
            if (status.rc == CMPI_RC_ERR_FAILED) {
                EXPECT_EQ(toStdString(status.msg), std::string(service) + ": out of memory");
            }
        }
        ADD_FAILURE() << service << " never ran through";
        return failures;
    }
};

TEST_F(OutOfMemory, ObjectCreationPropertiesPathTextEnumerationAndResultsAnswerAStatus) {
    CMPIObjectPath* op = path("Vesk_CEC");
    addChars(op, "Name", "n");
    CMPIInstance* inst = instance(op);
    Result result(runtime);
    CMPIArray* paths = CMNewArray(mb, 1, CMPI_ref, nullptr);
    CMSetArrayElementAt(paths, 0, &op, CMPI_ref);
    CMPIEnumeration* en = runtime.newEnumeration(paths, nullptr);
    const std::pair<const char*, std::function<CMPIStatus()>> calls[] = {
        {"newInstance",
         [&] {
             CMPIStatus rc{};
             CMNewInstance(mb, op, &rc);
             return rc;
         }},
        {"newObjectPath",
         [&] {
             CMPIStatus rc{};
             CMNewObjectPath(mb, "root/x", "C", &rc);
             return rc;
         }},
        {"setProperty", [&] { return CMSetProperty(inst, "Caption", "a caption", CMPI_chars); }},
        {"addKey", [&] { return CMAddKey(op, "CreationClassName", "Vesk_CEC", CMPI_chars); }},
        {"toString",
         [&] {
             CMPIStatus rc{};
             mb->eft->toString(mb, op, &rc);
             return rc;
         }},
        {"getObjectPath",
         [&] {
             CMPIStatus rc{};
             CMGetObjectPath(inst, &rc);
             return rc;
         }},
        {"toArray",
         [&] {
             CMPIStatus rc{};
             CMToArray(en, &rc);
             return rc;
         }},
        {"returnInstance", [&] { return CMReturnInstance(result.cmpi(), inst); }},
        {"returnObjectPath", [&] { return CMReturnObjectPath(result.cmpi(), op); }},
    };
    for (const auto& [service, call] : calls) {
        EXPECT_GT(sweep(service, call), 0) << service << " allocates nothing to fail";
    }
}

TEST_F(OutOfMemory, WithNoMemoryEvenForAMessageTheStatusStillSaysFailed) {
    CMPIObjectPath* op = path("Vesk_CEC");
    CMPIStatus rc{};
    CMPIInstance* inst = instance(op);
    gNoMemory.store(true);
    CMPIInstance* made = CMNewInstance(mb, op, &rc);
    const CMPIStatus set = CMSetProperty(inst, "Caption", "c", CMPI_chars);
    gNoMemory.store(false);
    EXPECT_EQ(made, nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_FAILED);
    EXPECT_EQ(rc.msg, nullptr);
    EXPECT_EQ(set.rc, CMPI_RC_ERR_FAILED);
}

}  // namespace
}  // namespace cimbroker
