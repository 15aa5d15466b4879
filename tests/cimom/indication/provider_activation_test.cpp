// The indication providers' filters as subscriptions come and go: which filters reach which
// provider and with what, the first and last activation, failures, stop; and the alert provider
// itself, whose thread runs only while a subscription needs it and whose alerts reach a listener.
#include "cimom/indication/provider_activation.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "alert_provider/alert_mi.h"
#include "broker/cmpi_read.h"
#include "cimom/indication/indication_matcher.h"
#include "platform/sim/sim_errl_entry.h"
#include "tests/cimom/indication/indication_fixture.h"
#include "tests/support/indication_listener_process.h"
#include "tests/support/platform_fixture.h"

namespace cimhosttest {
namespace activation_test {
namespace {

using Calls = std::vector<std::string>;

// An indication MI that records each call as one line, and answers as told.
class RecordingMI {
  public:
    RecordingMI() : mi_{this, &table_} {}

    CMPIIndicationMI* mi() { return &mi_; }
    Calls calls() const { return calls_; }
    void clear() { calls_.clear(); }

    CMPIrc authorizeAnswer = CMPI_RC_OK;
    CMPIrc activateAnswer = CMPI_RC_OK;

  private:
    static RecordingMI& of(CMPIIndicationMI* mi) { return *static_cast<RecordingMI*>(mi->hdl); }

    // "<call> <class> <class path's namespace> [<flag>] <query>"
    static CMPIStatus record(CMPIIndicationMI* mi, std::string call, const CMPISelectExp* filter,
                             const char* className, const CMPIObjectPath* path, CMPIrc answer) {
        call += std::string(" ") + className + " " +
                cimbroker::toStdString(path->ft->getNameSpace(path, nullptr)) + " " +
                cimbroker::toStdString(filter->ft->getString(filter, nullptr));
        of(mi).calls_.push_back(call);
        return {answer, nullptr};
    }
    static CMPIStatus cleanup(CMPIIndicationMI*, const CMPIContext*, CMPIBoolean) {
        return {CMPI_RC_OK, nullptr};
    }
    static CMPIStatus authorize(CMPIIndicationMI* mi, const CMPIContext*,
                                const CMPISelectExp* filter, const char* className,
                                const CMPIObjectPath* path, const char*) {
        return record(mi, "authorize", filter, className, path, of(mi).authorizeAnswer);
    }
    static CMPIStatus mustPoll(CMPIIndicationMI*, const CMPIContext*, const CMPISelectExp*,
                               const char*, const CMPIObjectPath*) {
        return {CMPI_RC_ERR_NOT_SUPPORTED, nullptr};
    }
    static CMPIStatus activate(CMPIIndicationMI* mi, const CMPIContext*,
                               const CMPISelectExp* filter, const char* className,
                               const CMPIObjectPath* path, CMPIBoolean first) {
        return record(mi, first ? "activate first" : "activate", filter, className, path,
                      of(mi).activateAnswer);
    }
    static CMPIStatus deactivate(CMPIIndicationMI* mi, const CMPIContext*,
                                 const CMPISelectExp* filter, const char* className,
                                 const CMPIObjectPath* path, CMPIBoolean last) {
        return record(mi, last ? "deactivate last" : "deactivate", filter, className, path,
                      CMPI_RC_OK);
    }
    static CMPIStatus enable(CMPIIndicationMI* mi, const CMPIContext*) {
        of(mi).calls_.push_back("enable");
        return {CMPI_RC_OK, nullptr};
    }
    static CMPIStatus disable(CMPIIndicationMI* mi, const CMPIContext*) {
        of(mi).calls_.push_back("disable");
        return {CMPI_RC_OK, nullptr};
    }

    CMPIIndicationMIFT table_{100,      100,      "recording", cleanup, authorize,
                              mustPoll, activate, deactivate,  enable,  disable};
    CMPIIndicationMI mi_;
    Calls calls_;
};

const std::string kAlerts = "SELECT * FROM CIM_AlertIndication";
const std::string kVeskAlerts = "SELECT * FROM Vesk_AlertIndication WHERE PerceivedSeverity > 2";

// The line RecordingMI writes for `call` of `query` on the provider's class.
std::string onAlerts(const std::string& call, const std::string& query) {
    return call + " Vesk_AlertIndication root/orvcim " + query;
}

class ProviderActivationTest : public IndicationFixture {
  protected:
    ProviderActivationTest() {
        cimhost::Provider& provider = registry_.addProvider("Recorder");
        provider.indicationMI = recorder_.mi();
        registry_.bind({"root/orvcim", "Vesk_AlertIndication", &provider, false, false, true});
    }

    void start() {
        activation_ =
            std::make_unique<cimhost::ProviderActivation>(runtime_, registry_, *store_, log_);
    }
    // The calls since the last look.
    Calls newCalls() {
        const Calls calls = recorder_.calls();
        recorder_.clear();
        return calls;
    }
    cimhost::Status setState(const ObjectName& subscription, const char* state) {
        return modify(subscription, {text("SubscriptionState", state, "uint16")});
    }

    RecordingMI recorder_;
    cimhost::ProviderRegistry registry_;
    std::unique_ptr<cimhost::ProviderActivation> activation_;
};

TEST_F(ProviderActivationTest, EachFilterSelectingTheProvidersClassIsActivatedWhileNeeded) {
    start();
    EXPECT_EQ(newCalls(), Calls{"enable"});
    const ObjectName d = destination("d", "http://127.0.0.1:1/d");
    const ObjectName e = destination("e", "http://127.0.0.1:1/e");
    const ObjectName alerts = filter("alerts", kAlerts);
    const ObjectName first = subscription(alerts, d);
    EXPECT_EQ(newCalls(),
              (Calls{onAlerts("authorize", kAlerts), onAlerts("activate first", kAlerts)}));
    const ObjectName second = subscription(alerts, e);
    const ObjectName vesk = subscription(filter("vesk", kVeskAlerts), d);
    EXPECT_EQ(newCalls(),
              (Calls{onAlerts("authorize", kVeskAlerts), onAlerts("activate", kVeskAlerts)}));

    // Filters on other classes, or on other namespaces, are none of the provider's business.
    subscription(filter("created", "SELECT * FROM CIM_InstCreation"), d);
    subscription(filter("interop", kAlerts, "root/interop"), d);
    EXPECT_EQ(newCalls(), Calls{});

    // A filter goes when its last enabled subscription does; the provider's last one says so.
    ASSERT_TRUE(remove(first).isOk());
    EXPECT_EQ(newCalls(), Calls{});
    ASSERT_TRUE(setState(second, "4").isOk());
    EXPECT_EQ(newCalls(), Calls{onAlerts("deactivate", kAlerts)});
    ASSERT_TRUE(remove(vesk).isOk());
    EXPECT_EQ(newCalls(), Calls{onAlerts("deactivate last", kVeskAlerts)});
    ASSERT_TRUE(setState(second, "2").isOk());
    EXPECT_EQ(newCalls(),
              (Calls{onAlerts("authorize", kAlerts), onAlerts("activate first", kAlerts)}));

    // Stopped, the provider hears nothing more.
    activation_->stop();
    EXPECT_EQ(newCalls(), Calls{"disable"});
    ASSERT_TRUE(remove(second).isOk());
    activation_.reset();
    EXPECT_EQ(newCalls(), Calls{});
}

TEST_F(ProviderActivationTest, SubscriptionsKeptFromBeforeAreActivatedOnceEnabled) {
    const ObjectName d = destination("d", "http://127.0.0.1:1/d");
    subscription(filter("processes", "SELECT * FROM CIM_ProcessIndication"), d);
    subscription(filter("all", "SELECT * FROM CIM_Indication"), d);
    start();
    EXPECT_EQ(newCalls(),
              (Calls{"enable", onAlerts("authorize", "SELECT * FROM CIM_ProcessIndication"),
                     onAlerts("activate first", "SELECT * FROM CIM_ProcessIndication"),
                     onAlerts("authorize", "SELECT * FROM CIM_Indication"),
                     onAlerts("activate", "SELECT * FROM CIM_Indication")}));
}

TEST_F(ProviderActivationTest, ARefusedOrFailedActivationIsLoggedAndTheSubscriptionStays) {
    start();
    newCalls();
    const ObjectName d = destination("d", "http://127.0.0.1:1/d");
    recorder_.authorizeAnswer = CMPI_RC_ERR_ACCESS_DENIED;
    const ObjectName refused = subscription(filter("refused", kAlerts), d);
    recorder_.authorizeAnswer = CMPI_RC_OK;
    recorder_.activateAnswer = CMPI_RC_ERR_FAILED;
    const ObjectName failed = subscription(filter("failed", kVeskAlerts), d);
    EXPECT_EQ(newCalls(), (Calls{onAlerts("authorize", kAlerts), onAlerts("authorize", kVeskAlerts),
                                 onAlerts("activate first", kVeskAlerts)}));
    EXPECT_EQ(enumerate("CIM_IndicationSubscription").size(), 2u);
    EXPECT_NE(log_.str().find("authorizeFilter of filter refused on Vesk_AlertIndication failed: "
                              "CIM_ERR_ACCESS_DENIED"),
              std::string::npos)
        << log_.str();
    EXPECT_NE(log_.str().find("activateFilter of filter failed on Vesk_AlertIndication failed: "
                              "CIM_ERR_FAILED"),
              std::string::npos)
        << log_.str();

    // Not tried again while needed; nothing to undo when no longer needed; the next activation
    // is still the provider's first.
    destination("e", "http://127.0.0.1:1/e");
    recorder_.activateAnswer = CMPI_RC_OK;
    ASSERT_TRUE(remove(refused).isOk());
    ASSERT_TRUE(remove(failed).isOk());
    EXPECT_EQ(newCalls(), Calls{});
    subscription(filter("works", kAlerts), d);
    EXPECT_EQ(newCalls(),
              (Calls{onAlerts("authorize", kAlerts), onAlerts("activate first", kAlerts)}));
}

// Subscriptions made and removed from several threads at once: every activation is undone once,
// and the provider's first and last activations pair up.
TEST_F(ProviderActivationTest, ChangesFromSeveralThreadsKeepActivationsBalanced) {
    start();
    const ObjectName d = destination("d", "http://127.0.0.1:1/d");
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        const ObjectName own = filter("f" + std::to_string(t), kAlerts);
        threads.emplace_back([this, own, d] {
            for (int i = 0; i < 20; ++i) {
                const ObjectName made = subscription(own, d);
                EXPECT_TRUE(remove(made).isOk());
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    int active = 0;
    for (const std::string& call : newCalls()) {
        const bool first = call.rfind("activate first", 0) == 0;
        const bool last = call.rfind("deactivate last", 0) == 0;
        EXPECT_EQ(first, active == 0 && call.rfind("activate", 0) == 0) << call;
        active += call.rfind("activate", 0) == 0 ? 1 : 0;
        active -= call.rfind("deactivate", 0) == 0 ? 1 : 0;
        EXPECT_EQ(last, active == 0 && call.rfind("deactivate", 0) == 0) << call;
        ASSERT_GE(active, 0);
    }
    EXPECT_EQ(active, 0);
}

size_t threadCount() {
    size_t count = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        count += task.is_directory() ? 1 : 0;
    }
    return count;
}

// Waits (without judging how long it took) until `done`, or fails after a generous bound.
void waitUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 3000 && !done(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(done());
}

// The alert provider on the simulated example machine, its alerts matched and delivered.
class AlertProviderActivationTest : public IndicationFixture {
  protected:
    AlertProviderActivationTest() {
        platform_.writeExampleMachine();
        cimbroker::RequestScope scope(runtime_);
        cimhost::Provider& provider = registry_.addProvider("Vesk_AlertIndicationProvider");
        provider.indicationMI =
            Vesk_AlertIndicationProvider_Create_IndicationMI(runtime_.broker(), scope.context());
        registry_.bind({"root/orvcim", "Vesk_AlertIndication", &provider, false, false, true});
        runtime_.setIndicationSink(&matcher_);
    }
    // The daemon's stop order: indications disabled, providers cleaned up, the sink cleared.
    ~AlertProviderActivationTest() override {
        activation_.reset();
        {
            cimbroker::RequestScope scope(runtime_);
            registry_.cleanup(scope.context(), log_);
        }
        runtime_.setIndicationSink(nullptr);
        std::filesystem::remove(received_);
    }

    cimptest::PlatformRoot platform_;
    cimhost::ProviderRegistry registry_;
    cimhost::IndicationMatcher matcher_{runtime_, *store_, delivery_};
    std::unique_ptr<cimhost::ProviderActivation> activation_;
    const std::string received_ = platform_.root() + "/received";
};

TEST_F(AlertProviderActivationTest, TheProvidersThreadRunsWhileASubscriptionNeedsIt) {
    IndicationListenerProcess listener(received_);
    const size_t idle = threadCount();
    activation_ = std::make_unique<cimhost::ProviderActivation>(runtime_, registry_, *store_, log_);
    EXPECT_EQ(threadCount(), idle);
    const ObjectName alerts = subscription(filter("alerts", "SELECT * FROM Vesk_AlertIndication"),
                                           destination("d", listener.url()));
    EXPECT_EQ(threadCount(), idle + 1);

    std::unique_ptr<ErrlEntry>(new cimpsim::SimErrlEntry(0x2222, "UtilReg::read", "svpd/key"))
        ->commit(0xd400, 0x2000);
    waitUntil([&] { return receivedLines(received_).size() == 1; });
    const std::string line = receivedLines(received_).at(0);
    EXPECT_EQ(receivedProperty(line, "ErrlKey"), "svpd/key");
    EXPECT_EQ(receivedProperty(line, "IndicationFilterName"), "alerts");

    ASSERT_TRUE(remove(alerts).isOk());
    EXPECT_EQ(threadCount(), idle);
    EXPECT_EQ(log_.str(), "");
}

}  // namespace
}  // namespace activation_test
}  // namespace cimhosttest
