// Several threads serving requests at once, each in its own scope, while the shared state (class
// hierarchy, the names the runtime keeps) changes under them.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "broker/broker_runtime.h"
#include "broker/cmpi_read.h"
#include "cmpimacs.h"
#include "tests/support/call_probe.h"

namespace cimbroker {
namespace {

constexpr int kThreads = 6;
constexpr int kRequestsPerThread = 200;

ClassHierarchy serviceHierarchy() {
    ClassHierarchy hierarchy;
    hierarchy.add("CIM_Service", "");
    hierarchy.add("Vesk_TOvPassthru", "CIM_Service");
    return hierarchy;
}

// One request as a provider serves it; false if any answer was wrong.
bool serveOne(Runtime& runtime, int thread, int request) {
    RequestScope scope(runtime);
    const CMPIBroker* mb = runtime.broker();
    Result result(runtime);
    const std::string name = std::to_string(thread) + "-" + std::to_string(request);
    CMPIObjectPath* op = CMNewObjectPath(mb, "root/orvcim", "Vesk_TOvPassthru", nullptr);
    CMAddKey(op, "Name", name.c_str(), CMPI_chars);
    CMPIInstance* inst = CMNewInstance(mb, op, nullptr);
    CMSetProperty(inst, "Name", name.c_str(), CMPI_chars);
    const bool isService = CMClassPathIsA(mb, op, "cim_service", nullptr) == 1;
    CMReturnInstance(result.cmpi(), inst);
    CMReturnDone(result.cmpi());
    return isService && result.doneCount() == 1 && result.instances().size() == 1 &&
           dataToString(CMGetProperty(result.instances()[0], "Name", nullptr)) == name;
}

TEST(Concurrency, ThreadsServeRequestsInTheirOwnScopes) {
    Runtime runtime;
    runtime.setClassHierarchy(serviceHierarchy());
    cimptest::CallProbe probe(runtime);
    std::atomic<int> wrong{0};
    std::atomic<bool> running{true};

    std::thread changer([&] {
        while (running.load()) {
            runtime.setClassHierarchy(serviceHierarchy());
            std::this_thread::yield();
        }
    });
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t) {
        workers.emplace_back([&, t] {
            for (int r = 0; r < kRequestsPerThread; ++r) {
                if (!serveOne(runtime, t, r)) {
                    ++wrong;
                }
            }
        });
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    running.store(false);
    changer.join();

    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(probe.count("returnDone"), static_cast<size_t>(kThreads * kRequestsPerThread));
    EXPECT_EQ(runtime.liveObjects(), 0u);
}

// Key names are made once for the whole runtime: threads that add the same names at once must
// each read back their own values, also once more names arrive than the runtime keeps.
bool addAndReadKeys(Runtime& runtime, int thread) {
    RequestScope scope(runtime);
    CMPIObjectPath* op = CMNewObjectPath(runtime.broker(), "root", "Many", nullptr);
    constexpr int kNames = 400;  // per thread; the threads together pass the runtime's limit
    auto nameOf = [thread](int i) {
        return (i % 2 == 0 ? "Shared" : "Own" + std::to_string(thread) + "_") + std::to_string(i);
    };
    for (int i = 0; i < kNames; ++i) {
        CMAddKey(op, nameOf(i).c_str(), std::to_string(thread * kNames + i).c_str(), CMPI_chars);
    }
    for (int i = 0; i < kNames; ++i) {
        if (dataToString(CMGetKey(op, nameOf(i).c_str(), nullptr)) !=
            std::to_string(thread * kNames + i)) {
            return false;
        }
    }
    return CMGetKeyCount(op, nullptr) == static_cast<CMPICount>(kNames);
}

TEST(Concurrency, ThreadsAddingTheSameKeyNamesKeepTheirOwnValues) {
    Runtime runtime;
    std::atomic<int> wrong{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < 4; ++t) {
        workers.emplace_back([&, t] { wrong += addAndReadKeys(runtime, t) ? 0 : 1; });
    }
    for (std::thread& worker : workers) {
        worker.join();
    }
    EXPECT_EQ(wrong.load(), 0);
    EXPECT_EQ(runtime.liveObjects(), 0u);
}

}  // namespace
}  // namespace cimbroker
