// Subscribing as a client does: creating, reading, changing and deleting filters, listener
// destinations and subscriptions in the interop namespace, with every refusal a client can meet.
#include <gtest/gtest.h>

#include <set>

#include "tests/cimom/indication/indication_fixture.h"

namespace cimhosttest {
namespace {

using cimhost::CimCode;

constexpr const char* kAlerts = "SELECT * FROM CIM_AlertIndication WHERE PerceivedSeverity > 3";

class SubscriptionStoreTest : public IndicationFixture {};

TEST_F(SubscriptionStoreTest, WhatAClientCreatesItReadsBackWithEveryProperty) {
    const ObjectName d = destination("pywbemdestination:m1:d1", "http://127.0.0.1:5990");
    EXPECT_EQ(d.nameSpace, "root/interop");
    Properties got = get(d);
    EXPECT_EQ(got["Destination"], "http://127.0.0.1:5990");
    EXPECT_EQ(got["PersistenceType"], "2");
    EXPECT_EQ(got["Protocol"], "2");
    EXPECT_EQ(got["OtherPersistenceType"], "NULL");  // present, as pywbem reads every property

    const ObjectName f = filter("pywbemfilter:m1:f1", kAlerts);
    got = get(f);
    EXPECT_EQ(got["Query"], kAlerts);
    EXPECT_EQ(got["SourceNamespaces"], "{root/orvcim}");
    EXPECT_EQ(got["IndividualSubscriptionSupported"], "TRUE");  // the class's default

    ObjectName withHost = d;  // a client sends back the path it was given, host and all
    withHost.host = "localhost:5988";
    const ObjectName s = subscription(f, withHost);
    got = get(s);
    EXPECT_EQ(got["SubscriptionState"], "2");
    EXPECT_NE(got["SubscriptionStartTime"], "NULL");
    EXPECT_EQ(got["OnFatalErrorPolicy"], "NULL");

    EXPECT_EQ(enumerate("CIM_ListenerDestination").size(), 1u);
    EXPECT_EQ(enumerate("CIM_IndicationFilter").size(), 1u);
    EXPECT_EQ(enumerate("CIM_IndicationSubscription").size(), 1u);
    EXPECT_EQ(enumerate("CIM_Namespace").size(), 2u);  // the server's facts are still there
}

TEST_F(SubscriptionStoreTest, FillsTheKeysAClientLeavesOut) {
    ObjectName first;
    ObjectName second;
    const std::vector<PropertyValue> bare = {text("Query", kAlerts), text("QueryLanguage", "WQL")};
    ASSERT_TRUE(create("CIM_IndicationFilter", bare, &first).isOk());
    ASSERT_TRUE(create("CIM_IndicationFilter", bare, &second).isOk());
    Properties got = get(first);
    EXPECT_EQ(got["SystemCreationClassName"], "CIM_ComputerSystem");
    EXPECT_EQ(got["SystemName"], "testhost");
    EXPECT_EQ(got["CreationClassName"], "CIM_IndicationFilter");
    EXPECT_FALSE(got["Name"].empty());
    EXPECT_NE(got["Name"], get(second)["Name"]);
    // Without SourceNamespaces a filter takes indications from its own namespace.
    EXPECT_EQ(got["SourceNamespaces"], "NULL");

    ObjectName handler;
    ASSERT_TRUE(
        create("CIM_IndicationHandlerCIMXML", {text("Destination", "https://console:1")}, &handler)
            .isOk());
    EXPECT_EQ(get(handler)["CreationClassName"], "CIM_IndicationHandlerCIMXML");
}

TEST_F(SubscriptionStoreTest, RefusesFiltersThatCannotWorkNamingTheFault) {
    struct Case {
        std::vector<PropertyValue> properties;
        CimCode code;
        std::string message;
    };
    const auto filterOf = [](const std::string& query, const std::string& language = "WQL",
                             const std::string& source = "root/orvcim") {
        return std::vector<PropertyValue>{text("Query", query), text("QueryLanguage", language),
                                          text("SourceNamespace", source)};
    };
    std::vector<PropertyValue> otherClass = filterOf(kAlerts);
    otherClass.push_back(text("CreationClassName", "CIM_Other"));
    std::vector<PropertyValue> undeclared = filterOf(kAlerts);
    undeclared.push_back(text("Colour", "red"));
    const Case cases[] = {
        {filterOf(kAlerts, "DMTF:CQL"), CimCode::QueryLanguageNotSupported,
         "query language \"DMTF:CQL\" is not supported; filters take WQL"},
        {filterOf("SELECT * FROM"), CimCode::InvalidQuery,
         "expected a class name, found the end of the query at position 14"},
        {filterOf("SELECT * FROM CIM_Nothing"), CimCode::InvalidQuery,
         "class CIM_Nothing does not exist in root/orvcim at position 15"},
        {filterOf("SELECT * FROM Vesk_CEC"), CimCode::InvalidQuery,
         "class Vesk_CEC is not an indication class in root/orvcim at position 15"},
        {filterOf("SELECT * FROM CIM_InstCreation WHERE Colour = 1"), CimCode::InvalidQuery,
         "class CIM_InstCreation has no property Colour in root/orvcim at position 38"},
        {filterOf("SELECT * FROM CIM_InstCreation WHERE SourceInstance ISA Vesk_Nothing"),
         CimCode::InvalidQuery,
         "class Vesk_Nothing after ISA does not exist in root/orvcim at position 38"},
        {filterOf(kAlerts, "WQL", "root/elsewhere"), CimCode::InvalidParameter,
         "source namespace root/elsewhere is not served here"},
        {otherClass, CimCode::InvalidParameter,
         "CreationClassName is CIM_Other, not the class created, CIM_IndicationFilter"},
        {undeclared, CimCode::InvalidParameter,
         "property Colour of CIM_IndicationFilter is not declared"},
    };
    for (const Case& c : cases) {
        const cimhost::Status status = create("CIM_IndicationFilter", c.properties);
        EXPECT_EQ(status.code(), c.code) << c.message;
        EXPECT_EQ(status.description(), c.message);
    }
    EXPECT_TRUE(enumerate("CIM_IndicationFilter").empty());
}

TEST_F(SubscriptionStoreTest, RefusesDestinationsThatAreNoHttpUrls) {
    for (const char* url : {"ftp://console/", "http://", "http:///x", "127.0.0.1:5990",
                            "http://console:5990/a b", ""}) {
        const cimhost::Status status =
            create("CIM_ListenerDestinationCIMXML", {text("Destination", url)});
        EXPECT_EQ(status.code(), CimCode::InvalidParameter) << url;
        EXPECT_EQ(status.description(), std::string("Destination must be an http:// or https:// "
                                                    "URL, not \"") +
                                            url + "\"");
    }
    const cimhost::Status persistence =
        create("CIM_ListenerDestinationCIMXML",
               {text("Destination", "HTTPS://console"), text("PersistenceType", "4", "uint16")});
    EXPECT_EQ(persistence.description(),
              "PersistenceType must be 1 (Other), 2 (Permanent) or 3 (Transient), not 4");
    EXPECT_TRUE(enumerate("CIM_ListenerDestination").empty());
}

// The codes of the refused references and deletions the end-to-end refusals show; here, what
// they say, and the deletions they do not try.
TEST_F(SubscriptionStoreTest, KeepsEverySubscriptionsFilterAndDestination) {
    const ObjectName f = filter("f", kAlerts);
    const ObjectName d = destination("d", "http://127.0.0.1:5990");
    ObjectName missing = f;
    missing.keys.back().value.text = "gone";  // Name
    EXPECT_NE(create("CIM_IndicationSubscription",
                     {reference("Filter", missing), reference("Handler", d)})
                  .description()
                  .find("Name=\"gone\" does not exist"),
              std::string::npos);
    const ObjectName s = subscription(f, d);
    EXPECT_NE(remove(d).description().find("is used by 1 subscription(s); delete them first"),
              std::string::npos);
    ASSERT_TRUE(remove(s).isOk());
    EXPECT_TRUE(remove(d).isOk());
    EXPECT_EQ(remove(d).code(), CimCode::NotFound);
    EXPECT_EQ(remove(serviceName()).code(), CimCode::NotSupported);
}

TEST_F(SubscriptionStoreTest, ChangesOnlyWhatDsp1054LetsChange) {
    const ObjectName f = filter("f", kAlerts);
    const ObjectName s = subscription(f, destination("d", "http://127.0.0.1:5990"));
    EXPECT_EQ(store_->routes()->size(), 1u);
    ASSERT_TRUE(modify(s, {text("SubscriptionState", "4", "uint16")}).isOk());
    EXPECT_EQ(get(s)["SubscriptionState"], "4");
    EXPECT_TRUE(store_->routes()->empty());
    EXPECT_EQ(modify(s, {}, std::vector<std::string>{"OnFatalErrorPolicy"}).code(),
              CimCode::NotSupported);

    const ObjectName service = serviceName();
    ASSERT_TRUE(modify(service, {text("DeliveryRetryAttempts", "5", "uint16"),
                                 text("DeliveryRetryInterval", "7", "uint32"),
                                 text("ElementName", "ignored without a PropertyList")})
                    .isOk());
    EXPECT_EQ(delivery_.retryPolicy().attempts, 5u);
    EXPECT_EQ(delivery_.retryPolicy().interval, std::chrono::seconds(7));
    Properties got = get(service);
    EXPECT_EQ(got["DeliveryRetryInterval"], "7");
    EXPECT_EQ(got["SubscriptionRemovalAction"], "2");
    EXPECT_EQ(modify(service, {text("DeliveryRetryAttempts", "70000", "uint16")}).code(),
              CimCode::InvalidParameter);
    EXPECT_EQ(modify(service, {text("Name", "x")}, std::vector<std::string>{"Name"}).code(),
              CimCode::NotSupported);
    EXPECT_EQ(delivery_.retryPolicy().attempts, 5u);
}

TEST_F(SubscriptionStoreTest, ClientsFollowAssociationsFromTheServiceToWhatItManages) {
    const ObjectName f = filter("f", kAlerts);
    const ObjectName d = destination("d", "http://127.0.0.1:5990");
    subscription(f, d);
    cimhost::Operation op = operation(OperationKind::AssociatorNames);
    op.objectName = serviceName();
    std::vector<ObjectName> names;
    ASSERT_TRUE(run(op, &names).isOk());
    std::multiset<std::string> classes;
    for (const ObjectName& name : names) {
        classes.insert(name.className);
    }
    EXPECT_EQ(classes, (std::multiset<std::string>{"CIM_ComputerSystem", "CIM_IndicationFilter",
                                                   "CIM_IndicationServiceCapabilities",
                                                   "CIM_ListenerDestinationCIMXML"}));

    op = operation(OperationKind::References);
    op.objectName = f;
    names.clear();
    ASSERT_TRUE(run(op, &names).isOk());
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0].className, "CIM_IndicationSubscription");
    EXPECT_EQ(names[1].className, "CIM_ServiceAffectsElement");

    op = operation(OperationKind::Associators);
    op.objectName = d;
    op.assocClass = "CIM_IndicationSubscription";
    names.clear();
    ASSERT_TRUE(run(op, &names).isOk());
    ASSERT_EQ(names.size(), 1u);
    EXPECT_TRUE(cimhost::sameName(names[0], f));
}

class LimitedStoreTest : public IndicationFixture {
  protected:
    LimitedStoreTest() : IndicationFixture(cimhost::SubscriptionLimits{2, 1, 1}) {}
};

// The filter and destination limits' codes the end-to-end refusals show; here, what the refusals
// say, and the limit of subscriptions.
TEST_F(LimitedStoreTest, RefusesWhatGoesBeyondTheLimits) {
    const ObjectName d = destination("d", "http://127.0.0.1:5990");
    subscription(filter("f", kAlerts), d);
    const ObjectName second = filter("g", kAlerts);
    cimhost::Status status =
        create("CIM_IndicationFilter", {text("Query", kAlerts), text("QueryLanguage", "WQL")});
    EXPECT_EQ(status.description(), "the indication service keeps at most 2 filters");
    status = create("CIM_IndicationSubscription",
                    {reference("Filter", second), reference("Handler", d)});
    EXPECT_EQ(status.code(), CimCode::ServerLimitsExceeded);
    EXPECT_EQ(status.description(), "the indication service keeps at most 1 subscriptions");
}

TEST_F(SubscriptionStoreTest, TellsThePollerWhichClassesLifecycleFiltersWatch) {
    int changes = 0;
    store_->onChange([&changes] { ++changes; });
    const ObjectName d = destination("d", "http://127.0.0.1:5990");
    subscription(filter("alerts", kAlerts), d);
    const ObjectName s = subscription(
        filter(
            "gate",
            "SELECT * FROM CIM_InstIndication WHERE SourceInstance ISA Vesk_AssociatedTOvPassthru "
            "OR SourceInstance ISA CIM_ComputerSystem"),
        d);
    subscription(filter("modified",
                        "SELECT * FROM CIM_InstModification WHERE SourceInstance ISA "
                        "CIM_ComputerSystem AND SourceInstance.Name = 'x'"),
                 d);
    EXPECT_EQ(store_->watchedClasses(),
              (std::vector<cimhost::WatchedClass>{{"root/orvcim", "Vesk_AssociatedTOvPassthru"},
                                                  {"root/orvcim", "CIM_ComputerSystem"}}));
    ASSERT_TRUE(modify(s, {text("SubscriptionState", "4", "uint16")}).isOk());
    EXPECT_EQ(store_->watchedClasses(),
              (std::vector<cimhost::WatchedClass>{{"root/orvcim", "CIM_ComputerSystem"}}));
    EXPECT_EQ(changes, 8);  // seven creations and the change of state
}

}  // namespace
}  // namespace cimhosttest
