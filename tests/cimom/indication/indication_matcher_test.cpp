// Indications raised in the host, matched against the subscriptions and delivered to the tests'
// listener: which filters select which indications, the sequence numbers each destination sees,
// and what a destination that fails does to its subscriptions.
#include "cimom/indication/indication_matcher.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <thread>

#include "cimom/indication/failure_policy.h"
#include "tests/cimom/indication/indication_fixture.h"
#include "tests/support/indication_listener_process.h"

namespace cimhosttest {
namespace {

using namespace std::chrono_literals;

// Waits (without judging how long it took) until `done`, or fails after a generous bound.
void waitUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 3000 && !done(); ++i) {
        std::this_thread::sleep_for(10ms);
    }
    ASSERT_TRUE(done());
}

class IndicationMatcherTest : public IndicationFixture {
  protected:
    IndicationMatcherTest() {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        folder_ = std::filesystem::temp_directory_path() /
                  ("cimindication-" + name + "-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder_);
    }
    ~IndicationMatcherTest() override { std::filesystem::remove_all(folder_); }

    std::string out(const std::string& name) const { return (folder_ / name).string(); }

    // Raises an indication of `className` in `nameSpace` with string properties `values`, and,
    // when `embedded` names a class, a SourceInstance of it whose Name is `embeddedName`.
    void raise(const char* nameSpace, const char* className,
               const std::vector<std::pair<const char*, std::string>>& values,
               CMPIUint16 severity = 0, const char* embedded = nullptr,
               const char* embeddedName = "") {
        cimbroker::RequestScope scope(runtime_);
        CMPIInstance* indication = newInstance(nameSpace, className);
        for (const auto& value : values) {
            indication->ft->setProperty(indication, value.first,
                                        reinterpret_cast<const CMPIValue*>(value.second.c_str()),
                                        CMPI_chars);
        }
        if (severity != 0) {
            CMPIValue v{};
            v.uint16 = severity;
            indication->ft->setProperty(indication, "PerceivedSeverity", &v, CMPI_uint16);
        }
        if (embedded != nullptr) {
            CMPIValue source{};
            source.inst = newInstance(nameSpace, embedded);
            source.inst->ft->setProperty(
                source.inst, "Name", reinterpret_cast<const CMPIValue*>(embeddedName), CMPI_chars);
            indication->ft->setProperty(indication, "SourceInstance", &source, CMPI_instance);
        }
        EXPECT_EQ(matcher_.deliver(nameSpace, indication).rc, CMPI_RC_OK);
    }

    CMPIInstance* newInstance(const char* nameSpace, const char* className) {
        const CMPIBroker* broker = runtime_.broker();
        return broker->eft->newInstance(
            broker, broker->eft->newObjectPath(broker, nameSpace, className, nullptr), nullptr);
    }

    // One property of each indication a listener received, in order.
    static std::vector<std::string> receivedValues(const std::string& file, const char* name) {
        std::vector<std::string> values;
        for (const std::string& line : receivedLines(file)) {
            values.push_back(receivedProperty(line, name));
        }
        return values;
    }

    std::filesystem::path folder_;
    cimhost::IndicationMatcher matcher_{runtime_, *store_, delivery_};
};

TEST_F(IndicationMatcherTest, EachSubscriptionWhoseFilterSelectsAnIndicationSendsItInSequence) {
    IndicationListenerProcess first(out("first"));
    IndicationListenerProcess second(out("second"));
    const ObjectName a = destination("a", first.url());
    const ObjectName b = destination("b", second.url());
    const ObjectName alerts =
        filter("alerts", "SELECT * FROM CIM_AlertIndication WHERE PerceivedSeverity > 3");
    subscription(alerts, a);
    subscription(alerts, b);
    subscription(filter("everything", "SELECT IndicationIdentifier FROM CIM_Indication"), a);

    raise("root/orvcim", "CIM_AlertIndication", {{"IndicationIdentifier", "major"}}, 5);
    raise("root/orvcim", "CIM_AlertIndication", {{"IndicationIdentifier", "minor"}}, 2);
    raise("root/interop", "CIM_AlertIndication", {{"IndicationIdentifier", "elsewhere"}}, 5);
    raise("root/orvcim", "CIM_AlertIndication", {{"IndicationIdentifier", "last"}}, 6);

    waitUntil([&] { return receivedLines(out("first")).size() == 5; });
    waitUntil([&] { return receivedLines(out("second")).size() == 2; });
    EXPECT_EQ(receivedValues(out("first"), "IndicationIdentifier"),
              (std::vector<std::string>{"major", "major", "minor", "last", "last"}));
    EXPECT_EQ(
        receivedValues(out("first"), "IndicationFilterName"),
        (std::vector<std::string>{"alerts", "everything", "everything", "alerts", "everything"}));
    EXPECT_EQ(receivedValues(out("first"), "SequenceNumber"),
              (std::vector<std::string>{"0", "1", "2", "3", "4"}));
    EXPECT_EQ(receivedValues(out("second"), "IndicationIdentifier"),
              (std::vector<std::string>{"major", "last"}));
    EXPECT_EQ(receivedValues(out("second"), "SequenceNumber"),
              (std::vector<std::string>{"0", "1"}));
    // A select list sends what it names and what the service sets.
    EXPECT_EQ(receivedValues(out("first"), "PerceivedSeverity"),
              (std::vector<std::string>{"5", "", "", "6", ""}));
    const std::vector<std::string> contexts = receivedValues(out("first"), "SequenceContext");
    EXPECT_FALSE(contexts[0].empty());
    EXPECT_EQ(contexts[0], contexts[4]);
    EXPECT_NE(contexts[0], receivedValues(out("second"), "SequenceContext")[0]);
}

TEST_F(IndicationMatcherTest, LifecycleFiltersLookIntoTheSourceInstance) {
    IndicationListenerProcess listener(out("listener"));
    subscription(filter("cec",
                        "SELECT * FROM CIM_InstCreation WHERE SourceInstance ISA "
                        "CIM_ComputerSystem AND SourceInstance.Name = 'cec1'"),
                 destination("d", listener.url()));
    raise("root/orvcim", "CIM_InstCreation", {{"IndicationIdentifier", "first"}}, 0, "Vesk_CEC",
          "cec1");
    raise("root/orvcim", "CIM_InstCreation", {{"IndicationIdentifier", "other name"}}, 0,
          "Vesk_CEC", "cec2");
    raise("root/orvcim", "CIM_InstCreation", {{"IndicationIdentifier", "other class"}}, 0,
          "Vesk_TOvPassthru", "cec1");
    raise("root/orvcim", "CIM_InstDeletion", {{"IndicationIdentifier", "deletion"}}, 0, "Vesk_CEC",
          "cec1");
    raise("root/orvcim", "CIM_InstCreation", {{"IndicationIdentifier", "none"}});
    raise("root/orvcim", "CIM_InstCreation", {{"IndicationIdentifier", "last"}}, 0, "Vesk_CEC",
          "cec1");
    waitUntil([&] { return receivedLines(out("listener")).size() == 2; });
    EXPECT_EQ(receivedValues(out("listener"), "IndicationIdentifier"),
              (std::vector<std::string>{"first", "last"}));
}

TEST_F(IndicationMatcherTest, ADestinationThatFailsAppliesTheSubscriptionsPolicies) {
    const auto policy = [](const char* value) {
        return std::vector<PropertyValue>{text("OnFatalErrorPolicy", value, "uint16")};
    };
    const ObjectName alerts = filter("alerts", "SELECT * FROM CIM_AlertIndication");
    // Nothing listens on port 1; the fixture's service retries nothing.
    const ObjectName disable =
        subscription(alerts, destination("a", "http://127.0.0.1:1/a"), policy("3"));
    const ObjectName removed =
        subscription(alerts, destination("b", "http://127.0.0.1:1/b"), policy("4"));
    const ObjectName ignore =
        subscription(alerts, destination("c", "http://127.0.0.1:1/c"), policy("2"));
    raise("root/orvcim", "CIM_AlertIndication", {}, 5);
    waitUntil([&] { return get(disable)["SubscriptionState"] == "4"; });
    waitUntil([&] { return enumerate("CIM_IndicationSubscription").size() == 2; });
    waitUntil([&] { return get(ignore)["DeliveryFailureTime"] != "NULL"; });
    EXPECT_TRUE(cimhost::sameName(enumerate("CIM_IndicationSubscription").back(), ignore));
    EXPECT_EQ(get(ignore)["SubscriptionState"], "2");
    EXPECT_GT(std::stoull(get(ignore)["DeliveryFailureTime"]), 1600000000ull);  // seconds, UTC

    // Once deliveries have failed for SubscriptionRemovalTimeInterval, the service's
    // SubscriptionRemovalAction applies to the rest.
    ASSERT_TRUE(modify(serviceName(), {text("SubscriptionRemovalAction", "3", "uint16"),
                                       text("SubscriptionRemovalTimeInterval", "0", "uint64")})
                    .isOk());
    raise("root/orvcim", "CIM_AlertIndication", {}, 5);
    waitUntil([&] { return get(ignore)["SubscriptionState"] == "4"; });
    EXPECT_EQ(store_->routes()->size(), 0u);
}

TEST(FailurePolicy, DisablesOrRemovesAsThePoliciesSay) {
    using cimhost::FailureAction;
    using cimhost::FailureRules;
    const std::chrono::seconds day(86400);
    struct Case {
        FailureRules rules;
        std::chrono::seconds failingFor;
        FailureAction action;
    };
    const Case cases[] = {
        {{std::nullopt, std::nullopt, 2, 30 * day}, 0s, FailureAction::None},
        {{2u, std::nullopt, 2, 30 * day}, 29 * day, FailureAction::None},
        {{3u, std::nullopt, 2, 30 * day}, 0s, FailureAction::Disable},
        {{4u, std::nullopt, 3, 30 * day}, 0s, FailureAction::Remove},
        {{3u, 60u, 2, 30 * day}, 59s, FailureAction::None},
        {{3u, 60u, 2, 30 * day}, 60s, FailureAction::Disable},
        {{3u, std::nullopt, 2, 30 * day}, 30 * day, FailureAction::Remove},
        {{std::nullopt, std::nullopt, 3, 30 * day}, 30 * day, FailureAction::Disable},
        {{4u, std::nullopt, 4, 0s}, 0s, FailureAction::Remove},
        {{std::nullopt, std::nullopt, 4, 0s}, day, FailureAction::None},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cimhost::actionOnFailure(c.rules, c.failingFor), c.action)
            << c.rules.onFatalErrorPolicy.value_or(0) << " after " << c.failingFor.count() << "s";
    }
}

}  // namespace
}  // namespace cimhosttest
