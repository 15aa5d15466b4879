// The indication service as a client meets it: the shipped schemas of the interop and served
// namespaces, the interop namespace's router over the host's server facts and the subscription
// store, and a real delivery service. Operations go through the router as decoded requests, so
// the tests see what a client would.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "broker/broker_runtime.h"
#include "broker/cmpi_read.h"
#include "cimom/delivery/delivery_service.h"
#include "cimom/dispatch/interop_provider.h"
#include "cimom/dispatch/router.h"
#include "cimom/indication/host_record.h"
#include "cimom/indication/subscription_store.h"

namespace cimhosttest {

using cimhost::InstanceValue;
using cimhost::KeyBinding;
using cimhost::KeyValue;
using cimhost::ObjectName;
using cimhost::OperationKind;
using cimhost::PropertyValue;

inline cimhost::NamespaceSchema shippedSchema(const char* file, const char* nameSpace) {
    cimhost::NamespaceSchema schema;
    const cimp::Outcome loaded = cimhost::NamespaceSchema::load(
        std::string(CIMP_SCHEMA_DIR) + "/" + file, nameSpace, &schema);
    EXPECT_TRUE(loaded.ok()) << loaded.message();
    return schema;
}

inline PropertyValue text(const std::string& name, const std::string& value,
                          const std::string& type = "string") {
    return PropertyValue{name, type, false, false, {value}, nullptr};
}

inline PropertyValue strings(const std::string& name, std::vector<std::string> values) {
    return PropertyValue{name, "string", true, false, std::move(values), nullptr};
}

inline PropertyValue reference(const std::string& name, const ObjectName& target) {
    return PropertyValue{name,  "reference", false,
                         false, {},          std::make_shared<const ObjectName>(target)};
}

// The name a path gives, as a client would send it back.
inline ObjectName nameOf(const CMPIObjectPath* path) {
    ObjectName name;
    name.nameSpace = cimbroker::toStdString(path->ft->getNameSpace(path, nullptr));
    name.className = cimbroker::classNameOf(path);
    for (const auto& key : cimbroker::keysOf(path)) {
        KeyValue value;
        if (key.second.type == CMPI_ref) {
            value.type = KeyValue::Type::Reference;
            value.reference = std::make_shared<const ObjectName>(nameOf(key.second.value.ref));
        } else {
            value.type = (key.second.type == CMPI_string || key.second.type == CMPI_chars)
                             ? KeyValue::Type::String
                             : KeyValue::Type::Numeric;
            value.text = cimbroker::dataToString(key.second);
        }
        name.keys.push_back(KeyBinding{key.first, value});
    }
    return name;
}

class IndicationFixture : public ::testing::Test {
  protected:
    using Properties = std::map<std::string, std::string>;  // NULL values as "NULL"

    explicit IndicationFixture(cimhost::SubscriptionLimits limits = {},
                               const std::string& stateDir = "")
        : delivery_(deliverySettings()), folder_(stateDir) {
        makeStore(limits);
    }

    static cimhost::DeliverySettings deliverySettings() {
        cimhost::DeliverySettings settings;
        settings.retry.attempts = 0;
        settings.retry.interval = std::chrono::seconds(1);
        return settings;
    }

    // A store (again) on the fixture's folder, as a restarted daemon makes one.
    void makeStore(cimhost::SubscriptionLimits limits = {}) {
        router_.reset();
        host_.reset();
        store_ = std::make_unique<cimhost::SubscriptionStore>(
            cimhost::ServedSchemas{&interop_, &served_}, "testhost", limits, delivery_, folder_,
            log_);
        host_ = std::make_unique<cimhost::HostProviderSet>(
            std::vector<const cimhost::HostProvider*>{&facts_, store_.get()});
        router_ = std::make_unique<cimhost::Router>(runtime_, interop_, noProviders_, host_.get());
    }

    static cimhost::Operation operation(OperationKind kind) {
        cimhost::Operation op;
        op.kind = kind;
        op.method = cimhost::operationName(kind);
        op.nameSpace = "root/interop";
        return op;
    }

    // Runs `op`; the paths and instances of the reply come back as names and properties.
    cimhost::Status run(const cimhost::Operation& op, std::vector<ObjectName>* names = nullptr,
                        std::vector<Properties>* instances = nullptr) {
        cimbroker::RequestScope scope(runtime_);
        const cimhost::Reply reply = router_->route(op, scope.context());
        for (const CMPIObjectPath* path : reply.paths) {
            if (names != nullptr) {
                names->push_back(nameOf(path));
            }
        }
        for (const CMPIInstance* instance : reply.instances) {
            if (names != nullptr) {
                names->push_back(nameOf(instance->ft->getObjectPath(instance, nullptr)));
            }
            if (instances != nullptr) {
                instances->push_back(propertiesOf(instance));
            }
        }
        return reply.status;
    }

    static Properties propertiesOf(const CMPIInstance* instance) {
        Properties properties;
        for (const auto& p : cimbroker::propertiesOf(instance)) {
            properties[p.first] =
                cimbroker::holdsNoValue(p.second) ? "NULL" : cimbroker::dataToString(p.second);
        }
        return properties;
    }

    cimhost::Status create(const std::string& className, std::vector<PropertyValue> properties,
                           ObjectName* made = nullptr) {
        cimhost::Operation op = operation(OperationKind::CreateInstance);
        op.instance = InstanceValue{className, std::move(properties)};
        std::vector<ObjectName> names;
        const cimhost::Status status = run(op, &names);
        if (made != nullptr && !names.empty()) {
            *made = names.front();
        }
        return status;
    }

    // pywbem's destination and filter, and a subscription of the two.
    ObjectName destination(const std::string& name, const std::string& url,
                           const std::string& persistence = "2") {
        ObjectName made;
        const cimhost::Status status =
            create("CIM_ListenerDestinationCIMXML",
                   {text("CreationClassName", "CIM_ListenerDestinationCIMXML"),
                    text("SystemCreationClassName", "CIM_ComputerSystem"),
                    text("SystemName", "testhost"), text("Name", name), text("Destination", url),
                    text("PersistenceType", persistence, "uint16")},
                   &made);
        EXPECT_TRUE(status.isOk()) << status.description();
        return made;
    }
    ObjectName filter(const std::string& name, const std::string& query,
                      const std::string& source = "root/orvcim") {
        ObjectName made;
        const cimhost::Status status =
            create("CIM_IndicationFilter",
                   {text("Name", name), text("Query", query), text("QueryLanguage", "WQL"),
                    strings("SourceNamespaces", {source})},
                   &made);
        EXPECT_TRUE(status.isOk()) << status.description();
        return made;
    }
    ObjectName subscription(const ObjectName& filterName, const ObjectName& destinationName,
                            std::vector<PropertyValue> more = {}) {
        more.push_back(reference("Filter", filterName));
        more.push_back(reference("Handler", destinationName));
        ObjectName made;
        const cimhost::Status status = create("CIM_IndicationSubscription", more, &made);
        EXPECT_TRUE(status.isOk()) << status.description();
        return made;
    }

    Properties get(const ObjectName& name) {
        cimhost::Operation op = operation(OperationKind::GetInstance);
        op.objectName = name;
        std::vector<Properties> found;
        const cimhost::Status status = run(op, nullptr, &found);
        EXPECT_TRUE(status.isOk()) << status.description();
        return found.empty() ? Properties() : found.front();
    }

    std::vector<ObjectName> enumerate(const std::string& className) {
        cimhost::Operation op = operation(OperationKind::EnumerateInstanceNames);
        op.className = className;
        std::vector<ObjectName> names;
        const cimhost::Status status = run(op, &names);
        EXPECT_TRUE(status.isOk()) << status.description();
        return names;
    }

    cimhost::Status remove(const ObjectName& name) {
        cimhost::Operation op = operation(OperationKind::DeleteInstance);
        op.objectName = name;
        return run(op);
    }

    cimhost::Status modify(const ObjectName& name, std::vector<PropertyValue> properties,
                           std::optional<std::vector<std::string>> propertyList = std::nullopt) {
        cimhost::Operation op = operation(OperationKind::ModifyInstance);
        op.objectName = name;
        op.instance = InstanceValue{name.className, std::move(properties)};
        op.propertyList = std::move(propertyList);
        return run(op);
    }

    ObjectName serviceName() { return enumerate("CIM_IndicationService").at(0); }

    cimbroker::Runtime runtime_;
    const cimhost::NamespaceSchema interop_ = shippedSchema("root_interop.mof", "root/interop");
    const cimhost::NamespaceSchema served_ = shippedSchema("root_orvcim.mof", "root/orvcim");
    const cimhost::InteropProvider facts_{
        cimhost::ServerFacts{"root/interop", {"root/orvcim", "root/interop"}, {}, "testhost", "1"}};
    const cimhost::ProviderRegistry noProviders_;
    std::ostringstream log_;
    cimhost::DeliveryService delivery_;
    cimhost::StateFolder folder_;
    std::unique_ptr<cimhost::SubscriptionStore> store_;
    std::unique_ptr<cimhost::HostProviderSet> host_;
    std::unique_ptr<cimhost::Router> router_;
};

}  // namespace cimhosttest
