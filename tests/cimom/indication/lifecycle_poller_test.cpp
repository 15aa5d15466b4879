// The lifecycle poller against a real router and an in-process provider whose instances the
// tests change: what a subscriber would be sent, and when nothing is sent.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "broker/cmpi_read.h"
#include "cimom/indication/lifecycle_poller.h"
#include "tests/cimom/cim/host_test_schema.h"

namespace cimhost {
namespace {

using cimhosttest::kNamespace;

// An indication as a listener would read it.
struct Received {
    std::string nameSpace;
    std::string className;
    std::string identifier;
    std::string time;
    std::string modelPath;
    std::string source;    // "<Id>:<Level>", "" when absent
    std::string previous;  // likewise
};

// What the provider serves (per class: Id -> Level), what the poller was told to watch and
// what it sent.
// Shared with the poller's thread, so everything goes under the mutex.
struct World {
    std::mutex mutex;
    std::condition_variable changed;
    const CMPIBroker* broker = nullptr;
    std::map<std::string, std::map<std::string, unsigned>> instances;
    std::map<std::string, int> enumerations;  // by class
    CMPIrc answer = CMPI_RC_OK;
    std::vector<WatchedClass> watched;
    std::vector<Received> received;
};
World* world = nullptr;

CMPIStatus enumInstances(CMPIInstanceMI*, const CMPIContext*, const CMPIResult* result,
                         const CMPIObjectPath* op, const char**) {
    const std::string cls = cimbroker::classNameOf(op);
    std::lock_guard<std::mutex> lock(world->mutex);
    ++world->enumerations[cls];
    world->changed.notify_all();
    if (world->answer != CMPI_RC_OK) {
        return {world->answer, nullptr};
    }
    const CMPIBroker* broker = world->broker;
    for (const auto& entry : world->instances[cls]) {
        CMPIObjectPath* path = broker->eft->newObjectPath(broker, kNamespace, cls.c_str(), nullptr);
        const CMPIValue* id = reinterpret_cast<const CMPIValue*>(entry.first.c_str());
        path->ft->addKey(path, "Id", id, CMPI_chars);
        CMPIInstance* instance = broker->eft->newInstance(broker, path, nullptr);
        instance->ft->setProperty(instance, "Id", id, CMPI_chars);
        CMPIValue level{};
        level.uint16 = static_cast<CMPIUint16>(entry.second);
        instance->ft->setProperty(instance, "Level", &level, CMPI_uint16);
        result->ft->returnInstance(result, instance);
    }
    result->ft->returnDone(result);
    return {CMPI_RC_OK, nullptr};
}

// The poll only ever enumerates instances.
CMPIInstanceMIFT fakeTable = {100,     100,     "fake",  nullptr, nullptr, enumInstances,
                              nullptr, nullptr, nullptr, nullptr, nullptr};
char fakeName[] = "fake";
CMPIInstanceMI fakeMI = {fakeName, &fakeTable};

std::string text(const CMPIInstance* instance, const char* name) {
    return cimbroker::dataToString(instance->ft->getProperty(instance, name, nullptr));
}

std::string embedded(const CMPIInstance* indication, const char* name) {
    const CMPIData data = indication->ft->getProperty(indication, name, nullptr);
    if (data.type != CMPI_instance || cimbroker::holdsNoValue(data)) {
        return "";
    }
    return text(data.value.inst, "Id") + ":" + text(data.value.inst, "Level");
}

class RecordingSink : public cimbroker::IndicationSink {
  public:
    CMPIStatus deliver(const char* nameSpace, const CMPIInstance* indication) override {
        Received r{nameSpace,
                   cimbroker::classNameOf(indication->ft->getObjectPath(indication, nullptr)),
                   text(indication, "IndicationIdentifier"),
                   text(indication, "IndicationTime"),
                   text(indication, "SourceInstanceModelPath"),
                   embedded(indication, "SourceInstance"),
                   embedded(indication, "PreviousInstance")};
        std::lock_guard<std::mutex> lock(world->mutex);
        world->received.push_back(r);
        world->changed.notify_all();
        return {CMPI_RC_OK, nullptr};
    }
};

class LifecyclePollerTest : public ::testing::Test {
  protected:
    LifecyclePollerTest() : schema_(cimhosttest::testSchema()), router_(runtime_, schema_, bind()) {
        world_.broker = runtime_.broker();
        world = &world_;
    }
    ~LifecyclePollerTest() override {
        poller_.reset();
        world = nullptr;
    }

    const ProviderRegistry& bind() {
        Provider& fake = registry_.addProvider("fake");
        fake.instanceMI = &fakeMI;
        registry_.bind({kNamespace, "T_Sub1", &fake, true, false});
        registry_.bind({kNamespace, "T_Sub2", &fake, true, false});
        return registry_;
    }

    void start(std::chrono::milliseconds interval, std::size_t cap = 1000) {
        LifecycleSettings settings;
        settings.pollInterval = interval;
        settings.maxInstancesPerClass = cap;
        poller_ = std::make_unique<LifecyclePoller>(
            runtime_, std::vector<const Router*>{&router_},
            [] {
                std::lock_guard<std::mutex> lock(world->mutex);
                return world->watched;
            },
            sink_, settings, log_);
    }

    void watch(std::vector<WatchedClass> classes) {
        {
            std::lock_guard<std::mutex> lock(world_.mutex);
            world_.watched = std::move(classes);
        }
        poller_->watchChanged();
    }

    void serve(const std::string& cls, std::map<std::string, unsigned> instances,
               CMPIrc answer = CMPI_RC_OK) {
        std::lock_guard<std::mutex> lock(world_.mutex);
        world_.instances[cls] = std::move(instances);
        world_.answer = answer;
    }

    int enumerations(const std::string& cls) {
        std::lock_guard<std::mutex> lock(world_.mutex);
        return world_.enumerations[cls];
    }

    // Waits (ten seconds at most) until `cls` has been enumerated `more` times after now.
    void awaitPolls(const std::string& cls, int more) {
        awaitEnumerations(cls, enumerations(cls) + more);
    }

    // Waits (ten seconds at most) until `cls` has been enumerated `target` times in all.
    void awaitEnumerations(const std::string& cls, int target) {
        std::unique_lock<std::mutex> lock(world_.mutex);
        world_.changed.wait_for(lock, std::chrono::seconds(10),
                                [&] { return world_.enumerations[cls] >= target; });
        ASSERT_GE(world_.enumerations[cls], target) << cls << " not polled";
    }

    // Waits (ten seconds at most) until `count` indications have arrived.
    std::vector<Received> awaitReceived(std::size_t count) {
        std::unique_lock<std::mutex> lock(world_.mutex);
        world_.changed.wait_for(lock, std::chrono::seconds(10),
                                [&] { return world_.received.size() >= count; });
        return world_.received;
    }

    cimbroker::Runtime runtime_;
    NamespaceSchema schema_;
    ProviderRegistry registry_;
    Router router_;
    World world_;
    RecordingSink sink_;
    std::ostringstream log_;  // read only once the poller has stopped
    std::unique_ptr<LifecyclePoller> poller_;
};

const WatchedClass kSub1{kNamespace, "T_Sub1"};
const WatchedClass kSub2{kNamespace, "T_Sub2"};

TEST_F(LifecyclePollerTest, NothingIsPolledUntilAClassIsWatchedThenItsBaselineIsTakenAtOnce) {
    serve("T_Sub1", {{"a", 1}});
    start(std::chrono::hours(1));  // only a change of the watch list can bring a poll
    watch({});
    EXPECT_EQ(enumerations("T_Sub1"), 0);
    watch({kSub1});
    awaitEnumerations("T_Sub1", 1);  // the baseline may be taken before this looks
    poller_->stop();
    EXPECT_TRUE(world_.received.empty()) << "a baseline reports nothing";
}

TEST_F(LifecyclePollerTest, ReportsWhatAppearedVanishedAndChanged) {
    serve("T_Sub1", {{"a", 1}, {"b", 1}});
    start(std::chrono::milliseconds(10));
    watch({kSub1});
    awaitPolls("T_Sub1", 1);
    serve("T_Sub1", {{"b", 2}, {"c", 3}});
    const std::vector<Received> got = awaitReceived(3);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].className, "CIM_InstModification");
    EXPECT_EQ(got[0].source, "b:2");
    EXPECT_EQ(got[0].previous, "b:1");
    EXPECT_EQ(got[1].className, "CIM_InstCreation");
    EXPECT_EQ(got[1].source, "c:3");
    EXPECT_EQ(got[1].previous, "");
    EXPECT_EQ(got[2].className, "CIM_InstDeletion");
    EXPECT_EQ(got[2].source, "a:1") << "the instance as last seen";
    EXPECT_NE(got[2].modelPath.find("Id=\"a\""), std::string::npos) << got[2].modelPath;
    std::set<std::string> identifiers;
    for (const Received& r : got) {
        EXPECT_EQ(r.nameSpace, kNamespace);
        EXPECT_EQ(r.time.size(), 25u) << "a CIM date-time: " << r.time;
        identifiers.insert(r.identifier);
    }
    EXPECT_EQ(identifiers.size(), 3u);

    // Polls that find nothing new report nothing.
    awaitPolls("T_Sub1", 3);
    EXPECT_EQ(awaitReceived(0).size(), 3u);
}

TEST_F(LifecyclePollerTest, AFailedPollReportsNothingAndKeepsTheBaseline) {
    serve("T_Sub1", {{"a", 1}});
    start(std::chrono::milliseconds(10));
    watch({kSub1});
    awaitPolls("T_Sub1", 1);
    serve("T_Sub1", {}, CMPI_RC_ERR_FAILED);
    awaitPolls("T_Sub1", 3);
    EXPECT_TRUE(awaitReceived(0).empty()) << "a failure is no deletion";
    serve("T_Sub1", {});
    const std::vector<Received> got = awaitReceived(1);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].className, "CIM_InstDeletion");
    EXPECT_EQ(got[0].source, "a:1");
    poller_->stop();
    const std::string log = log_.str();
    const std::string failed = "lifecycle poll of root/test:T_Sub1 failed";
    EXPECT_NE(log.find(failed), std::string::npos) << log;
    EXPECT_EQ(log.find(failed), log.rfind(failed)) << "one line per failure, not per poll: " << log;
    EXPECT_NE(log.find("root/test:T_Sub1 works again"), std::string::npos) << log;
}

TEST_F(LifecyclePollerTest, AClassWatchedAgainStartsFromANewBaseline) {
    serve("T_Sub1", {{"a", 1}});
    start(std::chrono::milliseconds(10));
    watch({kSub1});
    awaitPolls("T_Sub1", 1);
    watch({kSub2});
    awaitPolls("T_Sub2", 2);  // the new list is in force
    serve("T_Sub1", {{"b", 1}});
    watch({kSub2, kSub1});
    awaitPolls("T_Sub1", 2);
    EXPECT_TRUE(awaitReceived(0).empty()) << "what changed while unwatched is no event";
    serve("T_Sub1", {});
    const std::vector<Received> got = awaitReceived(1);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].source, "b:1");
}

TEST_F(LifecyclePollerTest, AClassOverTheCapIsNotReportedOnUntilItIsUnderItAgain) {
    serve("T_Sub1", {{"a", 1}});
    start(std::chrono::milliseconds(10), 2);
    watch({kSub1});
    awaitPolls("T_Sub1", 1);
    serve("T_Sub1", {{"a", 1}, {"b", 1}, {"c", 1}});
    awaitPolls("T_Sub1", 2);
    serve("T_Sub1", {{"c", 1}});
    awaitPolls("T_Sub1", 2);
    EXPECT_TRUE(awaitReceived(0).empty()) << "over the cap, then a new baseline";
    serve("T_Sub1", {});
    const std::vector<Received> got = awaitReceived(1);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].className, "CIM_InstDeletion");
    EXPECT_EQ(got[0].source, "c:1");
    poller_->stop();
    EXPECT_NE(log_.str().find("more than 2 instances"), std::string::npos) << log_.str();
}

}  // namespace
}  // namespace cimhost
