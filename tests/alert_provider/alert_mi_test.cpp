// The alert provider driven through its indication MI as a CIMOM drives it, over the broker
// runtime with a recording indication sink, on the simulated example machine.
#include <dirent.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "alert_provider/alert_mi.h"
#include "broker/broker_runtime.h"
#include "broker/cmpi_read.h"
#include "cmpimacs.h"
#include "platform/errl_entry.h"
#include "platform/sim/sim_errl_entry.h"
#include "tests/support/platform_fixture.h"

namespace {

using Alert = std::map<std::string, std::string>;

// The class, namespace and every property (as text) of each alert delivered, in order.
class AlertSink : public cimbroker::IndicationSink {
  public:
    CMPIStatus deliver(const char* nameSpace, const CMPIInstance* indication) override {
        Alert alert;
        alert["(namespace)"] = nameSpace;
        alert["(class)"] =
            cimbroker::classNameOf(CMGetObjectPath(indication, nullptr));
        for (const auto& [name, value] : cimbroker::propertiesOf(indication)) {
            alert[name] = cimbroker::dataToString(value);
        }
        std::lock_guard<std::mutex> lock(mutex_);
        alerts_.push_back(std::move(alert));
        arrived_.notify_all();
        return {CMPI_RC_OK, nullptr};
    }

    // The alerts once there are `count` of them (a guard of a minute against a hang).
    std::vector<Alert> waitFor(size_t count) {
        std::unique_lock<std::mutex> lock(mutex_);
        arrived_.wait_for(lock, std::chrono::minutes(1), [&] { return alerts_.size() >= count; });
        return alerts_;
    }
    std::vector<Alert> alerts() {
        std::lock_guard<std::mutex> lock(mutex_);
        return alerts_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<Alert> alerts_;
};

size_t threadCount() {
    size_t count = 0;
    DIR* tasks = opendir("/proc/self/task");
    while (tasks != nullptr) {
        const dirent* entry = readdir(tasks);
        if (entry == nullptr) {
            break;
        }
        count += entry->d_name[0] != '.' ? 1 : 0;
    }
    if (tasks != nullptr) {
        closedir(tasks);
    }
    return count;
}

void commitEntry(uint32_t rc, const char* call, const char* key) {
    std::unique_ptr<ErrlEntry>(new cimpsim::SimErrlEntry(rc, call, key))->commit(0xd400, 0x2000);
}

class AlertProvider : public cimptest::PlatformFixture {
  protected:
    AlertProvider() {
        writeExampleMachine();
        runtime_.setIndicationSink(&sink_);
        mi_ = Vesk_AlertIndicationProvider_Create_IndicationMI(runtime_.broker(), ctx());
    }
    ~AlertProvider() override { cleanup(); }

    const CMPIContext* ctx() { return scope_.context(); }
    CMPIrc activate() {
        return mi_->ft->activateFilter(mi_, ctx(), filter_.cmpi(), "Vesk_AlertIndication",
                                       classPath_, 1).rc;
    }
    CMPIrc deactivate() {
        return mi_->ft->deActivateFilter(mi_, ctx(), filter_.cmpi(), "Vesk_AlertIndication",
                                         classPath_, 1).rc;
    }
    CMPIrc enable() { return mi_->ft->enableIndications(mi_, ctx()).rc; }
    CMPIrc disable() { return mi_->ft->disableIndications(mi_, ctx()).rc; }
    CMPIrc cleanup() { return mi_->ft->cleanup(mi_, ctx(), 1).rc; }

    cimbroker::Runtime runtime_;
    cimbroker::RequestScope scope_{runtime_};
    CMPIObjectPath* classPath_ =
        CMNewObjectPath(runtime_.broker(), "root/orvcim", "Vesk_AlertIndication", nullptr);
    cimbroker::SelectExpression filter_{runtime_, "SELECT * FROM Vesk_AlertIndication", "WQL"};
    AlertSink sink_;
    CMPIIndicationMI* mi_ = nullptr;
};

TEST_F(AlertProvider, AnEntryCommittedAfterActivationBecomesOneAlert) {
    commitEntry(0x1111, "UtilReg::read", "before/activation");
    ASSERT_EQ(enable(), CMPI_RC_OK);
    ASSERT_EQ(activate(), CMPI_RC_OK);
    commitEntry(0x51A00001, "UtilReg::read", "svpd/Raw_MachineSerialNumber");

    const Alert alert = sink_.waitFor(1).at(0);
    ASSERT_EQ(deactivate(), CMPI_RC_OK);
    EXPECT_EQ(sink_.alerts().size(), 1u);
    EXPECT_EQ(alert.at("(namespace)"), "root/orvcim");
    EXPECT_EQ(alert.at("(class)"), "Vesk_AlertIndication");
    EXPECT_EQ(alert.at("AlertType"), "4");
    EXPECT_EQ(alert.at("PerceivedSeverity"), "5");
    EXPECT_EQ(alert.at("ProbableCause"), "57");
    EXPECT_EQ(alert.at("SystemCreationClassName"), "Vesk_CEC");
    EXPECT_EQ(alert.at("SystemName"), "9119-MHE*10ABCDE");
    EXPECT_EQ(alert.at("AlertingManagedElement"),
              "root/orvcim:Vesk_CEC.Name=\"9119-MHE*10ABCDE\",CreationClassName=\"Vesk_CEC\","
              "UUID=\"0\",MTMS=\"9119.MHE.10ABCDE\"");
    EXPECT_EQ(alert.at("AlertingElementFormat"), "2");
    EXPECT_EQ(alert.at("OwningEntity"), "Vesk");
    EXPECT_EQ(alert.at("MessageID"), "VESK0001");
    EXPECT_EQ(alert.at("Message"),
              "Error-log entry 2: UtilReg::read of svpd/Raw_MachineSerialNumber failed with "
              "return code 0x51A00001; committed with 0xD400,0x2000 by process " +
                  std::to_string(getpid()) + ".");
    EXPECT_EQ(alert.at("ErrlEntryNumber"), "2");
    EXPECT_EQ(alert.at("ErrlReturnCode"), std::to_string(0x51A00001u));
    EXPECT_EQ(alert.at("ErrlSeverity"), std::to_string(0xd400));
    EXPECT_EQ(alert.at("ErrlActions"), std::to_string(0x2000));
    EXPECT_EQ(alert.at("ErrlCall"), "UtilReg::read");
    EXPECT_EQ(alert.at("ErrlKey"), "svpd/Raw_MachineSerialNumber");
    EXPECT_EQ(alert.at("ErrlProcessID"), std::to_string(getpid()));
    EXPECT_EQ(alert.at("IndicationIdentifier").rfind("Vesk:errl:2:", 0), 0u);
    EXPECT_EQ(alert.at("IndicationTime").size(), 25u);
    EXPECT_EQ(errlLines().size(), 2u);  // the provider committed nothing
}

TEST_F(AlertProvider, AnEntryOfUnknownOriginAndAnInformationalOneAreClassifiedSo) {
    ASSERT_EQ(enable(), CMPI_RC_OK);
    ASSERT_EQ(activate(), CMPI_RC_OK);
    // An out-of-memory entry has no origin: the log knows no call or key for it.
    std::unique_ptr<ErrlEntry>(cimpsim::SimErrlEntry::outOfMemory())->commit(0, 0x2000);
    const Alert alert = sink_.waitFor(1).at(0);
    EXPECT_EQ(alert.at("AlertType"), "1");
    EXPECT_EQ(alert.at("OtherAlertType"), "Error-log entry of unknown origin");
    EXPECT_EQ(alert.at("PerceivedSeverity"), "2");
    EXPECT_EQ(alert.at("ProbableCause"), "0");
    EXPECT_EQ(alert.count("ErrlCall"), 0u);
}

// The thread runs only while a filter is active and indications are enabled; an entry committed
// while indications are disabled is told once they are enabled again.
TEST_F(AlertProvider, AThreadRunsOnlyWhileAFilterIsActiveAndIndicationsAreEnabled) {
    const size_t idle = threadCount();
    ASSERT_EQ(activate(), CMPI_RC_OK);
    EXPECT_EQ(threadCount(), idle);
    ASSERT_EQ(enable(), CMPI_RC_OK);
    EXPECT_EQ(threadCount(), idle + 1);
    ASSERT_EQ(disable(), CMPI_RC_OK);
    EXPECT_EQ(threadCount(), idle);

    commitEntry(0x2222, "UtilReg::read", "while/disabled");
    ASSERT_EQ(enable(), CMPI_RC_OK);
    EXPECT_EQ(sink_.waitFor(1).at(0).at("ErrlKey"), "while/disabled");

    ASSERT_EQ(deactivate(), CMPI_RC_OK);
    EXPECT_EQ(threadCount(), idle);
    commitEntry(0x3333, "UtilReg::read", "after/deactivation");
    ASSERT_EQ(activate(), CMPI_RC_OK);  // a new activation tells only what comes after it
    commitEntry(0x4444, "UtilReg::read", "after/reactivation");
    const std::vector<Alert> alerts = sink_.waitFor(2);
    ASSERT_EQ(deactivate(), CMPI_RC_OK);
    ASSERT_EQ(sink_.alerts().size(), 2u);
    EXPECT_EQ(alerts.at(1).at("ErrlKey"), "after/reactivation");
}

TEST_F(AlertProvider, ABurstArrivesWholeInOrderAndLeavesNoObjectBehind) {
    const size_t objects = runtime_.liveObjects();
    ASSERT_EQ(enable(), CMPI_RC_OK);
    ASSERT_EQ(activate(), CMPI_RC_OK);
    for (int i = 0; i < 300; ++i) {
        commitEntry(0x5555, "UtilReg::read", "burst/key");
    }
    const std::vector<Alert> alerts = sink_.waitFor(300);
    ASSERT_EQ(deactivate(), CMPI_RC_OK);
    ASSERT_EQ(sink_.alerts().size(), 300u);
    for (size_t i = 0; i < alerts.size(); ++i) {
        EXPECT_EQ(alerts[i].at("ErrlEntryNumber"), std::to_string(i + 1));
    }
    EXPECT_EQ(runtime_.liveObjects(), objects);
}

// A failing identity read is never committed: the alert names the system by the identity read
// last (at activation), or not at all when none was ever read.
TEST_F(AlertProvider, AnUnreadableIdentityIsNeverCommittedAndTheLastOneStandsIn) {
    ASSERT_EQ(enable(), CMPI_RC_OK);
    ASSERT_EQ(activate(), CMPI_RC_OK);
    failRegistry("svpd/Raw_MachineSerialNumber", 0x51A0BAD0);
    commitEntry(0x6666, "UtilReg::read", "first/entry");
    const Alert stale = sink_.waitFor(1).at(0);
    ASSERT_EQ(deactivate(), CMPI_RC_OK);
    EXPECT_EQ(stale.at("SystemName"), "9119-MHE*10ABCDE");
    EXPECT_EQ(stale.at("MessageID"), "VESK0002");
    EXPECT_NE(stale.at("Message").find("identity read last"), std::string::npos);
    EXPECT_EQ(errlLines().size(), 1u);
}

TEST_F(AlertProvider, AnIdentityNeverReadLeavesTheSystemOut) {
    failRegistry("svpd/Raw_MachineTypeModel", 0x51A0BAD0);
    ASSERT_EQ(enable(), CMPI_RC_OK);
    ASSERT_EQ(activate(), CMPI_RC_OK);
    commitEntry(0x7777, "UtilReg::read", "first/entry");
    const Alert alert = sink_.waitFor(1).at(0);
    ASSERT_EQ(deactivate(), CMPI_RC_OK);
    EXPECT_EQ(alert.count("AlertingManagedElement"), 0u);
    EXPECT_EQ(alert.count("AlertingElementFormat"), 0u);
    EXPECT_EQ(alert.count("SystemName"), 0u);
    EXPECT_EQ(alert.at("MessageID"), "VESK0003");
    EXPECT_EQ(errlLines().size(), 1u);
}

TEST_F(AlertProvider, ConcurrentActivationsAndDeactivationsEndWithNoThread) {
    const size_t idle = threadCount();
    ASSERT_EQ(enable(), CMPI_RC_OK);
    std::vector<std::thread> cimomThreads;
    for (int t = 0; t < 4; ++t) {
        cimomThreads.emplace_back([this] {
            cimbroker::RequestScope scope(runtime_);
            for (int round = 0; round < 50; ++round) {
                EXPECT_EQ(mi_->ft->activateFilter(mi_, scope.context(), filter_.cmpi(),
                                                  "Vesk_AlertIndication", nullptr, 1).rc,
                          CMPI_RC_OK);
                EXPECT_EQ(mi_->ft->deActivateFilter(mi_, scope.context(), filter_.cmpi(),
                                                    "Vesk_AlertIndication", nullptr, 1).rc,
                          CMPI_RC_OK);
            }
        });
    }
    for (std::thread& thread : cimomThreads) {
        thread.join();
    }
    EXPECT_EQ(threadCount(), idle);
    // Every activation was matched: one more starts the thread, and its end stops it.
    ASSERT_EQ(activate(), CMPI_RC_OK);
    EXPECT_EQ(threadCount(), idle + 1);
    ASSERT_EQ(deactivate(), CMPI_RC_OK);
    EXPECT_EQ(threadCount(), idle);
}

TEST_F(AlertProvider, CleanupJoinsTheThreadAndStartsAfresh) {
    const size_t idle = threadCount();
    ASSERT_EQ(enable(), CMPI_RC_OK);
    ASSERT_EQ(activate(), CMPI_RC_OK);
    ASSERT_EQ(activate(), CMPI_RC_OK);
    ASSERT_EQ(cleanup(), CMPI_RC_OK);
    EXPECT_EQ(threadCount(), idle);
    commitEntry(0x8888, "UtilReg::read", "after/cleanup");
    // After cleanup nothing is active or enabled: an activation alone starts no thread.
    ASSERT_EQ(activate(), CMPI_RC_OK);
    EXPECT_EQ(threadCount(), idle);
    ASSERT_EQ(deactivate(), CMPI_RC_OK);
    EXPECT_TRUE(sink_.alerts().empty());
}

TEST_F(AlertProvider, FiltersOnTheAlertClassesAreAuthorizedAndNothingIsPolled) {
    for (const char* cls : {"Vesk_AlertIndication", "cim_alertindication", "CIM_Indication"}) {
        EXPECT_EQ(mi_->ft->authorizeFilter(mi_, ctx(), filter_.cmpi(), cls, classPath_, "u").rc,
                  CMPI_RC_OK)
            << cls;
    }
    EXPECT_EQ(mi_->ft->authorizeFilter(mi_, ctx(), filter_.cmpi(), "Vesk_CEC", classPath_, "u").rc,
              CMPI_RC_ERR_INVALID_CLASS);
    EXPECT_EQ(mi_->ft->mustPoll(mi_, ctx(), filter_.cmpi(), "Vesk_AlertIndication", classPath_).rc,
              CMPI_RC_ERR_NOT_SUPPORTED);
    EXPECT_EQ(Vesk_AlertIndicationProvider_Create_IndicationMI(runtime_.broker(), ctx()), mi_);
}

}  // namespace
