// The CMPI operations driven through the MI function tables, as a CIMOM drives them, on the
// simulated example machine.
#include <gtest/gtest.h>

#include <cmpidt.h>
#include <cmpift.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "broker/cmpi_read.h"
#include "tests/provider/provider_fixture.h"

namespace {

using cimpsim::ErrlEvent;
using cimptest::ProviderFixture;
using Args = std::vector<std::vector<std::string>>;

constexpr char kServed[] = "Vesk_AssociatedTOvPassthru";
constexpr char kSystem[] = "Vesk_CEC";
constexpr char kService[] = "Vesk_TOvPassthru";

std::string hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
    return text;
}

std::string messageOf(const CMPIStatus& status) {
    return cimbroker::toStdString(status.msg);
}

std::set<std::string> propertyNames(const CMPIInstance* instance) {
    std::set<std::string> names;
    for (const auto& property : cimbroker::propertiesOf(instance)) {
        names.insert(property.first);
    }
    return names;
}

// What one request answered.
struct Answer {
    CMPIStatus status;
    std::unique_ptr<cimbroker::Result> result;

    size_t objects() const { return result->objectPaths().size() + result->instances().size(); }
    int done() const { return result->doneCount(); }
};

// States of the platform that decide the enablement gate or break the builders.
enum class Platform {
    Example,
    RoleNotOne,
    Managed,
    PolicyEnabled,
    RoleUnreadable,
    SerialUnreadable
};

class Operations : public ProviderFixture {
  protected:
    void arrange(Platform platform) {
        removeRegistry("dscv/FspRole");
        removeRegistry("svpd/Raw_MachineSerialNumber");
        writeExampleMachine();
        switch (platform) {
            case Platform::Example:
                break;
            case Platform::RoleNotOne:
                setRegistry("dscv/FspRole", std::string(1, '\x02'));
                break;
            case Platform::Managed:
                setManaged("1");
                break;
            case Platform::PolicyEnabled:
                setPolicy("1");
                break;
            case Platform::RoleUnreadable:
                failRegistry("dscv/FspRole", 0xA5);
                break;
            case Platform::SerialUnreadable:
                failRegistry("svpd/Raw_MachineSerialNumber", 0x5A);
                break;
        }
    }

    // Runs `call` on a fresh result with fresh captures.
    Answer run(const std::function<CMPIStatus(const CMPIResult*)>& call) {
        capture_.clear();
        runtime_.calls().clear();
        Answer answer{{CMPI_RC_OK, nullptr}, std::make_unique<cimbroker::Result>(runtime_)};
        answer.status = call(answer.result->cmpi());
        return answer;
    }

    Answer enumInstanceNames(const CMPIObjectPath* path) {
        return run([&](const CMPIResult* result) {
            return instanceMI_->ft->enumerateInstanceNames(instanceMI_, scope_.context(), result,
                                                           path);
        });
    }
    Answer enumInstances(const CMPIObjectPath* path) {
        return run([&](const CMPIResult* result) {
            return instanceMI_->ft->enumerateInstances(instanceMI_, scope_.context(), result, path,
                                                       nullptr);
        });
    }
    Answer getInstance(const CMPIObjectPath* path) {
        return run([&](const CMPIResult* result) {
            return instanceMI_->ft->getInstance(instanceMI_, scope_.context(), result, path,
                                                nullptr);
        });
    }
    Answer referenceNames(const CMPIObjectPath* source, const char* resultClass, const char* role) {
        return run([&](const CMPIResult* result) {
            return associationMI_->ft->referenceNames(associationMI_, scope_.context(), result,
                                                      source, resultClass, role);
        });
    }
    Answer references(const CMPIObjectPath* source, const char* resultClass, const char* role,
                      const char** properties) {
        return run([&](const CMPIResult* result) {
            return associationMI_->ft->references(associationMI_, scope_.context(), result, source,
                                                  resultClass, role, properties);
        });
    }
    Answer associatorNames(const CMPIObjectPath* source, const char* assocClass,
                           const char* resultClass, const char* role, const char* resultRole) {
        return run([&](const CMPIResult* result) {
            return associationMI_->ft->associatorNames(associationMI_, scope_.context(), result,
                                                       source, assocClass, resultClass, role,
                                                       resultRole);
        });
    }
    Answer associators(const CMPIObjectPath* source, const char* assocClass,
                       const char* resultClass, const char* role, const char* resultRole,
                       const char** properties) {
        return run([&](const CMPIResult* result) {
            return associationMI_->ft->associators(associationMI_, scope_.context(), result, source,
                                                   assocClass, resultClass, role, resultRole,
                                                   properties);
        });
    }

    // Every error-log entry created since the last request was committed once with
    // (0xd400, 0x2000) and deleted right after; returns how many there were.
    size_t expectEntriesCommittedThenDeleted() const {
        const std::vector<ErrlEvent> events = capture_.errl();
        size_t created = 0;
        for (size_t i = 0; i < events.size(); ++i) {
            if (events[i].kind != ErrlEvent::Kind::Created) {
                continue;
            }
            ++created;
            const auto committed = std::find_if(events.begin() + i, events.end(), [&](auto& e) {
                return e.kind == ErrlEvent::Kind::Committed && e.entry == events[i].entry;
            });
            if (committed == events.end() || committed + 1 == events.end()) {
                ADD_FAILURE() << "entry " << events[i].origin << " not committed and deleted";
                continue;
            }
            EXPECT_EQ(committed->first, 0xd400);
            EXPECT_EQ(committed->second, 0x2000);
            EXPECT_EQ((committed + 1)->kind, ErrlEvent::Kind::Deleted);
            EXPECT_EQ((committed + 1)->entry, events[i].entry);
        }
        EXPECT_EQ(errlEventsOf(ErrlEvent::Kind::Committed).size(), created);
        return created;
    }

    // A Vesk_TOvPassthru path with its four keys as a CIMOM parses them from a request.
    CMPIObjectPath* servicePath(const std::string& name, bool withSystemName = true) {
        CMPIObjectPath* path = newPath(kService);
        addText(path, "CreationClassName", kService);
        addText(path, "Name", name);
        addText(path, "SystemCreationClassName", "Vesk_FSP");
        if (withSystemName) {
            addText(path, "SystemName", cimptest::exampleCompactName());
        }
        return path;
    }
    void addText(CMPIObjectPath* path, const char* key, const std::string& text) {
        CMPIValue value;
        value.string = broker()->eft->newString(broker(), text.c_str(), nullptr);
        path->ft->addKey(path, key, &value, CMPI_string);
    }
    void addReference(CMPIObjectPath* path, const char* key, CMPIObjectPath* target) {
        CMPIValue value;
        value.ref = target;
        path->ft->addKey(path, key, &value, CMPI_ref);
    }
};

// ---- Instance operations ----------------------------------------------------------------------

class InstanceOperations : public Operations {};

TEST_F(InstanceOperations, AnswerByGateAndRequestedClass) {
    const struct {
        const char* name;
        Platform platform;
        const char* className;
        CMPIrc enumRc;
        CMPIrc getRc;
        bool answered;
        bool classRead;
    } cases[] = {
        {"served class", Platform::Example, kServed, CMPI_RC_OK, CMPI_RC_OK, true, true},
        {"served class in other letter case", Platform::Example, "vesk_ASSOCIATEDtovpassthru",
         CMPI_RC_OK, CMPI_RC_OK, true, true},
        {"parent class", Platform::Example, "CIM_Dependency", CMPI_RC_ERR_INVALID_CLASS,
         CMPI_RC_ERR_NOT_FOUND, false, true},
        {"class of one end", Platform::Example, kSystem, CMPI_RC_ERR_INVALID_CLASS,
         CMPI_RC_ERR_NOT_FOUND, false, true},
        {"gate closed by role", Platform::RoleNotOne, kServed, CMPI_RC_OK, CMPI_RC_ERR_NOT_FOUND,
         false, false},
        {"gate closed by console", Platform::Managed, kServed, CMPI_RC_OK, CMPI_RC_ERR_NOT_FOUND,
         false, false},
        {"gate closed by policy", Platform::PolicyEnabled, kServed, CMPI_RC_OK,
         CMPI_RC_ERR_NOT_FOUND, false, false},
        {"gate fails", Platform::RoleUnreadable, kServed, CMPI_RC_ERR_FAILED, CMPI_RC_ERR_NOT_FOUND,
         false, false},
        {"machine identity unreadable", Platform::SerialUnreadable, kServed, CMPI_RC_ERR_FAILED,
         CMPI_RC_ERR_NOT_FOUND, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        arrange(c.platform);
        const CMPIObjectPath* path = newPath(c.className);
        const struct {
            const char* operation;
            std::function<Answer()> call;
            CMPIrc rc;
            const char* exitTrace;
        } operations[] = {
            {"enumInstanceNames", [&] { return enumInstanceNames(path); }, c.enumRc,
             "CIMP_Vesk_AssociatedTOvPassthruEnumInstanceNames: exit rc=0x%X"},
            {"enumInstances", [&] { return enumInstances(path); }, c.enumRc,
             "CIMP_Vesk_AssociatedTOvPassthruEnumInstances: exit rc=0x%X"},
            {"getInstance", [&] { return getInstance(path); }, c.getRc,
             "CIMP_Vesk_AssociatedTOvPassthruGetInstance: exit rc=0x%X"},
        };
        for (const auto& operation : operations) {
            SCOPED_TRACE(operation.operation);
            const Answer answer = operation.call();
            EXPECT_EQ(answer.status.rc, operation.rc);
            EXPECT_EQ(answer.status.msg, nullptr);
            EXPECT_EQ(answer.objects(), c.answered ? 1u : 0u);
            EXPECT_EQ(answer.done(), c.answered ? 1 : 0);
            EXPECT_EQ(runtime_.calls().count("getClassName") > 0, c.classRead);
            EXPECT_EQ(traceArgsOf(operation.exitTrace), (Args{{hex(operation.rc)}}));
            const size_t entries = expectEntriesCommittedThenDeleted();
            if (c.platform == Platform::RoleUnreadable) {
                EXPECT_EQ(entries, 1u);
                EXPECT_EQ(errlEventsOf(ErrlEvent::Kind::Committed).at(0).origin,
                          "UtilReg::read dscv/FspRole");
            }
        }
    }
}

TEST_F(InstanceOperations, AnswerWithTheOneAssociation) {
    const CMPIObjectPath* request = newPath(kServed);
    const Answer names = enumInstanceNames(request);
    ASSERT_EQ(names.result->objectPaths().size(), 1u);
    const CMPIObjectPath* path = names.result->objectPaths()[0];
    EXPECT_EQ(cimbroker::classNameOf(path), kServed);
    EXPECT_EQ(cimbroker::nameSpaceOf(path), "root/orvcim");
    const cimbroker::NamedData keys = cimbroker::keysOf(path);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].first, "ServiceProvided");
    EXPECT_EQ(keys[1].first, "UserOfService");

    const Answer instances = enumInstances(request);
    ASSERT_EQ(instances.result->instances().size(), 1u);
    EXPECT_EQ(propertyNames(instances.result->instances()[0]),
              (std::set<std::string>{"ServiceProvided", "UserOfService"}));
}

TEST_F(InstanceOperations, BuilderFailurePassesOnOrBecomesNotFound) {
    const struct {
        const char* service;
        CMPIrc rc;
        const char* message;
        bool namesFail;
    } cases[] = {
        {"newInstance", CMPI_RC_ERR_INVALID_PARAMETER, "refused", false},
        {"setProperty:ServiceProvided", CMPI_RC_ERR_NO_SUCH_PROPERTY, "no such", false},
        {"addKey:UserOfService", CMPI_RC_ERR_TYPE_MISMATCH, "bad key", true},
    };
    const CMPIObjectPath* request = newPath(kServed);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.service);
        const auto failing = [&](const std::function<Answer()>& call) {
            runtime_.faults().clear();
            runtime_.faults().failNth(c.service, 1, c.rc, c.message);
            return call();
        };

        const Answer names = failing([&] { return enumInstanceNames(request); });
        EXPECT_EQ(names.status.rc, c.namesFail ? c.rc : CMPI_RC_OK);
        EXPECT_EQ(names.objects(), c.namesFail ? 0u : 1u);

        const Answer instances = failing([&] { return enumInstances(request); });
        EXPECT_EQ(instances.status.rc, c.rc);
        EXPECT_EQ(messageOf(instances.status), c.message);
        EXPECT_EQ(instances.objects(), 0u);
        EXPECT_EQ(instances.done(), 0);

        const Answer got = failing([&] { return getInstance(request); });
        EXPECT_EQ(got.status.rc, CMPI_RC_ERR_NOT_FOUND);
        EXPECT_EQ(messageOf(got.status), c.message);
        EXPECT_EQ(got.objects(), 0u);
        EXPECT_EQ(got.done(), 0);
        EXPECT_EQ(tracesOf("CIMP_Vesk_AssociatedTOvPassthruGetInstance: answered as not found"),
                  1u);
    }
}

TEST_F(InstanceOperations, GetInstanceFindsTheRequestedKeysInTheAssociation) {
    const std::string name = cimptest::exampleCompactName();
    const auto association = [&](std::function<void(CMPIObjectPath*)> addKeys) {
        CMPIObjectPath* path = newPath(kServed);
        addKeys(path);
        return path;
    };
    const Answer enumerated = enumInstanceNames(newPath(kServed));
    ASSERT_EQ(enumerated.result->objectPaths().size(), 1u);

    const struct {
        const char* name;
        const CMPIObjectPath* request;
        CMPIrc rc;
    } cases[] = {
        {"no keys", newPath(kServed), CMPI_RC_OK},
        {"every key as enumerated", enumerated.result->objectPaths()[0], CMPI_RC_OK},
        {"only the service reference", association([&](CMPIObjectPath* p) {
             addReference(p, "ServiceProvided", servicePath(name));
         }),
         CMPI_RC_OK},
        {"service name differs", association([&](CMPIObjectPath* p) {
             addReference(p, "ServiceProvided", servicePath("9119MHE*OTHER"));
         }),
         CMPI_RC_ERR_NOT_FOUND},
        {"service name in other letter case", association([&](CMPIObjectPath* p) {
             std::string lower = name;
             std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
             addReference(p, "ServiceProvided", servicePath(lower));
         }),
         CMPI_RC_ERR_NOT_FOUND},
        {"referenced service lacks a key", association([&](CMPIObjectPath* p) {
             addReference(p, "ServiceProvided", servicePath(name, false));
         }),
         CMPI_RC_ERR_NOT_FOUND},
        {"reference given as text",
         association([&](CMPIObjectPath* p) { addText(p, "ServiceProvided", name); }),
         CMPI_RC_ERR_NOT_FOUND},
        {"key the association does not have",
         association([&](CMPIObjectPath* p) { addText(p, "Antecedent", name); }),
         CMPI_RC_ERR_NOT_FOUND},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Answer answer = getInstance(c.request);
        EXPECT_EQ(answer.status.rc, c.rc);
        EXPECT_EQ(answer.objects(), c.rc == CMPI_RC_OK ? 1u : 0u);
        EXPECT_EQ(answer.done(), c.rc == CMPI_RC_OK ? 1 : 0);
        EXPECT_EQ(tracesOf("CIMP_Vesk_AssociatedTOvPassthruGetInstance: keys differ rc=0x%X"),
                  c.rc == CMPI_RC_OK ? 0u : 1u);
    }
}

// ---- Reference operations ---------------------------------------------------------------------

class ReferenceOperations : public Operations {};

TEST_F(ReferenceOperations, FiltersDecideWhetherTheAssociationIsReturned) {
    const struct {
        const char* name;
        const char* sourceClass;
        const char* resultClass;
        const char* role;
        bool answered;
        bool returnsAtOnce;
    } cases[] = {
        {"managed system", kSystem, nullptr, nullptr, true, false},
        {"passthrough service", kService, nullptr, nullptr, true, false},
        {"source class in other letter case", "VESK_cec", nullptr, nullptr, true, false},
        {"source of another class", "CIM_ComputerSystem", nullptr, nullptr, false, false},
        {"role of the system", kSystem, nullptr, "UserOfService", true, false},
        {"role in other letter case", kSystem, nullptr, "userofservice", true, false},
        {"role of the other end", kSystem, nullptr, "ServiceProvided", false, false},
        {"empty role", kSystem, nullptr, "", false, false},
        {"role of the service", kService, nullptr, "SERVICEPROVIDED", true, false},
        {"result class is the association", kSystem, kServed, nullptr, true, false},
        {"result class is a parent of it", kService, "CIM_Dependency", nullptr, true, false},
        {"unrelated result class", kSystem, "CIM_Service", nullptr, false, true},
    };
    const char* properties[] = {"ServiceProvided", nullptr};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CMPIObjectPath* source = newPath(c.sourceClass);

        const Answer names = referenceNames(source, c.resultClass, c.role);
        EXPECT_EQ(names.status.rc, CMPI_RC_OK);
        ASSERT_EQ(names.result->objectPaths().size(), c.answered ? 1u : 0u);
        EXPECT_EQ(names.done(), c.answered ? 1 : 0);
        EXPECT_EQ(tracesOf("CIMP_Vesk_AssociatedTOvPassthruReferenceNames: exit"),
                  c.returnsAtOnce ? 0u : 1u);
        if (c.answered) {
            EXPECT_EQ(cimbroker::classNameOf(names.result->objectPaths()[0]), kServed);
        }

        const Answer instances = references(source, c.resultClass, c.role, properties);
        EXPECT_EQ(instances.status.rc, CMPI_RC_OK);
        ASSERT_EQ(instances.result->instances().size(), c.answered ? 1u : 0u);
        EXPECT_EQ(instances.done(), c.answered ? 1 : 0);
        EXPECT_EQ(tracesOf("CIMP_Vesk_AssociatedTOvPassthruReferences: exit"),
                  c.returnsAtOnce ? 0u : 1u);
        if (c.answered) {
            EXPECT_EQ(propertyNames(instances.result->instances()[0]),
                      (std::set<std::string>{"ServiceProvided", "UserOfService"}));
        }
    }
}

TEST_F(ReferenceOperations, PropertyListIsAppliedWheneverGiven) {
    const char* serviceOnly[] = {"ServiceProvided", nullptr};
    const char* emptyList[] = {nullptr};
    const struct {
        const char* name;
        const char** properties;
        size_t filterCalls;
    } cases[] = {
        {"no list", nullptr, 0},
        {"one property", serviceOnly, 1},
        {"empty list", emptyList, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Answer answer = references(newPath(kSystem), nullptr, nullptr, c.properties);
        EXPECT_EQ(answer.status.rc, CMPI_RC_OK);
        EXPECT_EQ(runtime_.calls().count("setPropertyFilter"), c.filterCalls);
        ASSERT_EQ(answer.result->instances().size(), 1u);
        // Both references are keys and survive any list.
        EXPECT_EQ(propertyNames(answer.result->instances()[0]).size(), 2u);
    }
}

TEST_F(ReferenceOperations, FailuresAnswerNothing) {
    const char* properties[] = {"UserOfService", nullptr};
    const struct {
        const char* name;
        Platform platform;
        const char* service;  // failed once per request, when set
        CMPIrc rc;
        const char* message;
        bool namesAnswered;
    } cases[] = {
        {"gate closed", Platform::PolicyEnabled, nullptr, CMPI_RC_OK, "", false},
        {"gate fails", Platform::RoleUnreadable, nullptr, CMPI_RC_ERR_FAILED, "", false},
        {"source class unreadable", Platform::Example, "getClassName", CMPI_RC_ERR_INVALID_HANDLE,
         "stale", false},
        {"association not built", Platform::Example, "addKey:ServiceProvided",
         CMPI_RC_ERR_TYPE_MISMATCH, "bad key", false},
        {"property filter refused", Platform::Example, "setPropertyFilter",
         CMPI_RC_ERR_NO_SUCH_PROPERTY, "no filter", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        arrange(c.platform);
        const CMPIObjectPath* source = newPath(kService);
        const auto arm = [&] {
            runtime_.faults().clear();
            if (c.service != nullptr) {
                runtime_.faults().failNth(c.service, 1, c.rc, c.message);
            }
        };

        arm();
        const Answer names = referenceNames(source, nullptr, nullptr);
        EXPECT_EQ(names.status.rc, c.namesAnswered ? CMPI_RC_OK : c.rc);
        EXPECT_EQ(names.objects(), c.namesAnswered ? 1u : 0u);
        EXPECT_EQ(names.done(), c.namesAnswered ? 1 : 0);
        EXPECT_EQ(expectEntriesCommittedThenDeleted(),
                  c.platform == Platform::RoleUnreadable ? 1u : 0u);

        arm();
        const Answer instances = references(source, nullptr, nullptr, properties);
        EXPECT_EQ(instances.status.rc, c.rc);
        EXPECT_EQ(messageOf(instances.status), c.message);
        EXPECT_EQ(instances.objects(), 0u);
        EXPECT_EQ(instances.done(), 0);
        EXPECT_EQ(tracesOf("CIMP_Vesk_AssociatedTOvPassthruReferences: exit"), 1u);
        EXPECT_EQ(expectEntriesCommittedThenDeleted(),
                  c.platform == Platform::RoleUnreadable ? 1u : 0u);
    }
}

// ---- Associator operations --------------------------------------------------------------------

class AssociatorOperations : public Operations {};

TEST_F(AssociatorOperations, TypicalRequestReturnsThePassthroughService) {
    const Answer answer =
        associators(newPath(kSystem), nullptr, kService, nullptr, "ServiceProvided", nullptr);

    EXPECT_EQ(answer.status.rc, CMPI_RC_OK);
    EXPECT_EQ(answer.status.msg, nullptr);
    ASSERT_EQ(answer.result->instances().size(), 1u);
    EXPECT_EQ(answer.done(), 1);
    const cimbroker::NamedData properties = cimbroker::propertiesOf(answer.result->instances()[0]);
    ASSERT_EQ(properties.size(), 4u);
    const std::string name = cimptest::exampleCompactName();
    const std::pair<std::string, std::string> expected[] = {
        {"CreationClassName", kService},
        {"Name", name},
        {"SystemCreationClassName", "Vesk_FSP"},
        {"SystemName", name},
    };
    for (size_t i = 0; i < properties.size(); ++i) {
        EXPECT_EQ(properties[i].first, expected[i].first);
        EXPECT_EQ(cimbroker::dataToString(properties[i].second), expected[i].second);
    }

    // The source is named exactly, so only the result class is put to the broker.
    EXPECT_EQ(runtime_.calls().count("classPathIsA"), 1u);
    const std::vector<std::string> platformCalls = capture_.calls();
    ASSERT_GE(platformCalls.size(), 3u);
    EXPECT_EQ(platformCalls[0], "UtilReg::read dscv/FspRole");
    EXPECT_EQ(platformCalls[1], "draxQueryDraManagedInfo");
    EXPECT_EQ(platformCalls[2], "rmgrIsRedPolicyEnabled");
    EXPECT_EQ(traceArgsOf("cimpTraceAssociatorArgs: assocClass=%s resultClass=%s role=%s "
                          "resultRole=%s"),
              (Args{{"NULL", kService, "NULL", "ServiceProvided"}}));
    EXPECT_EQ(tracesOf("CIMP_Vesk_AssociatedTOvPassthruAssociators: entry"), 1u);
    EXPECT_EQ(traceArgsOf("CIMP_Vesk_AssociatedTOvPassthruAssociators: exit rc=0x%X"),
              (Args{{"0"}}));
}

TEST_F(AssociatorOperations, FiltersDecideWhatTheOtherEndReturns) {
    const struct {
        const char* name;
        const char* sourceClass;
        const char* assocClass;
        const char* resultClass;
        const char* role;
        const char* resultRole;
        const char* target;  // class answered with; null for an empty answer
        bool namesReturnAtOnce;
    } cases[] = {
        {"managed system", kSystem, nullptr, nullptr, nullptr, nullptr, kService, false},
        {"passthrough service", kService, nullptr, nullptr, nullptr, nullptr, kSystem, false},
        {"typical request", kSystem, nullptr, kService, nullptr, "ServiceProvided", kService,
         false},
        {"result class of the source's own end", kSystem, nullptr, kSystem, nullptr, nullptr,
         nullptr, true},
        {"result class is a parent of the target", kSystem, nullptr, "CIM_Service", nullptr,
         nullptr, kService, false},
        {"source class in other letter case", "VESK_CEC", nullptr, nullptr, nullptr, nullptr,
         kService, false},
        {"source of another class", "CIM_ComputerSystem", nullptr, nullptr, nullptr, nullptr,
         nullptr, false},
        {"role of the source", kSystem, nullptr, nullptr, "userofservice", nullptr, kService,
         false},
        {"role of the other end", kSystem, nullptr, nullptr, "ServiceProvided", nullptr, nullptr,
         false},
        {"empty role", kSystem, nullptr, nullptr, "", nullptr, nullptr, false},
        {"result role of the target", kService, nullptr, nullptr, nullptr, "USEROFSERVICE", kSystem,
         false},
        {"result role of the source", kSystem, nullptr, nullptr, nullptr, "UserOfService", nullptr,
         false},
        {"association class itself", kSystem, kServed, nullptr, nullptr, nullptr, kService, false},
        {"parent of the association class", kService, "CIM_Dependency", nullptr, nullptr, nullptr,
         kSystem, false},
        {"unrelated association class", kSystem, "CIM_Service", nullptr, nullptr, nullptr, nullptr,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CMPIObjectPath* source = newPath(c.sourceClass);
        const size_t expectedObjects = c.target != nullptr ? 1u : 0u;

        const Answer names =
            associatorNames(source, c.assocClass, c.resultClass, c.role, c.resultRole);
        EXPECT_EQ(names.status.rc, CMPI_RC_OK);
        ASSERT_EQ(names.result->objectPaths().size(), expectedObjects);
        // The names operation closes every answer through its exit, empty ones included.
        EXPECT_EQ(names.done(), c.namesReturnAtOnce ? 0 : 1);
        EXPECT_EQ(tracesOf("CIMP_Vesk_AssociatedTOvPassthruAssociatorNames: exit"),
                  c.namesReturnAtOnce ? 0u : 1u);
        if (c.target != nullptr) {
            EXPECT_EQ(cimbroker::classNameOf(names.result->objectPaths()[0]), c.target);
        }

        const Answer instances =
            associators(source, c.assocClass, c.resultClass, c.role, c.resultRole, nullptr);
        EXPECT_EQ(instances.status.rc, CMPI_RC_OK);
        ASSERT_EQ(instances.result->instances().size(), expectedObjects);
        EXPECT_EQ(instances.done(), c.target != nullptr ? 1 : 0);
        EXPECT_EQ(traceArgsOf("CIMP_Vesk_AssociatedTOvPassthruAssociators: exit rc=0x%X"),
                  (Args{{"0"}}));
        if (c.target != nullptr) {
            const CMPIObjectPath* path = instances.result->instances()[0]->ft->getObjectPath(
                instances.result->instances()[0], nullptr);
            EXPECT_EQ(cimbroker::classNameOf(path), c.target);
        }
    }
}

TEST_F(AssociatorOperations, PropertyListTrimsTheTargetButKeepsItsKeys) {
    const char* state[] = {"State", nullptr};
    const char* emptyList[] = {nullptr};
    using Names = std::set<std::string>;
    const Names systemKeys{"Name", "CreationClassName", "UUID"};
    const Names serviceKeys{"CreationClassName", "Name", "SystemCreationClassName", "SystemName"};
    const struct {
        const char* name;
        const char* sourceClass;
        const char** properties;
        Names expected;
    } cases[] = {
        {"system without a list",
         kService,
         nullptr,
         {"Dedicated", "isOSContainer", "PrimaryFSP_IP", "BackupFSP_IP", "State", "UserDefinedName",
          "Name", "CreationClassName", "UUID", "MTMS"}},
        {"system trimmed to State",
         kService,
         state,
         {"State", "Name", "CreationClassName", "UUID"}},
        {"system with an empty list", kService, emptyList, systemKeys},
        {"service with an empty list", kSystem, emptyList, serviceKeys},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Answer answer =
            associators(newPath(c.sourceClass), nullptr, nullptr, nullptr, nullptr, c.properties);
        EXPECT_EQ(answer.status.rc, CMPI_RC_OK);
        ASSERT_EQ(answer.result->instances().size(), 1u);
        EXPECT_EQ(propertyNames(answer.result->instances()[0]), c.expected);
    }
}

TEST_F(AssociatorOperations, FailuresEndWithTheirStatus) {
    struct Outcome {
        CMPIrc rc;
        const char* message;
        size_t objects;
        int done;
    };
    const char* properties[] = {"Name", nullptr};
    const struct {
        const char* name;
        Platform platform;
        const char* sourceClass;
        const char* assocClass;
        bool nullCall;        // the faulty call answers null instead of failing
        const char* service;  // the faulty call, when set
        int nth;
        CMPIrc rc;
        const char* message;
        Outcome names;
        Outcome instances;
    } cases[] = {
        {"gate closed",
         Platform::RoleNotOne,
         kSystem,
         nullptr,
         false,
         nullptr,
         0,
         CMPI_RC_OK,
         "",
         {CMPI_RC_OK, "", 0, 1},
         {CMPI_RC_OK, "", 0, 0}},
        {"gate fails",
         Platform::RoleUnreadable,
         kSystem,
         nullptr,
         false,
         nullptr,
         0,
         CMPI_RC_OK,
         "",
         {CMPI_RC_ERR_FAILED, "", 0, 1},
         {CMPI_RC_ERR_FAILED, "", 0, 0}},
        {"source class unreadable",
         Platform::Example,
         kSystem,
         nullptr,
         false,
         "getClassName",
         1,
         CMPI_RC_ERR_INVALID_HANDLE,
         "stale",
         {CMPI_RC_ERR_INVALID_HANDLE, "stale", 0, 1},
         {CMPI_RC_ERR_INVALID_HANDLE, "stale", 0, 0}},
        {"source namespace unreadable",
         Platform::Example,
         kSystem,
         kServed,
         false,
         "getNameSpace",
         1,
         CMPI_RC_ERR_INVALID_NAMESPACE,
         "no ns",
         {CMPI_RC_ERR_INVALID_NAMESPACE, "no ns", 0, 1},
         {CMPI_RC_ERR_INVALID_NAMESPACE, "no ns", 0, 0}},
        {"source without namespace text",
         Platform::Example,
         kSystem,
         kServed,
         true,
         "getNameSpace",
         1,
         CMPI_RC_OK,
         "",
         {CMPI_RC_ERR_FAILED, "", 0, 1},
         {CMPI_RC_ERR_FAILED, "", 0, 0}},
        {"association class path refused",
         Platform::Example,
         kSystem,
         kServed,
         false,
         "newObjectPath",
         1,
         CMPI_RC_ERR_INVALID_NAMESPACE,
         "bad ns",
         {CMPI_RC_ERR_INVALID_NAMESPACE, "bad ns", 0, 1},
         {CMPI_RC_ERR_INVALID_NAMESPACE, "bad ns", 0, 0}},
        {"no association class path",
         Platform::Example,
         kSystem,
         kServed,
         true,
         "newObjectPath",
         1,
         CMPI_RC_OK,
         "",
         {CMPI_RC_ERR_FAILED, "", 0, 1},
         {CMPI_RC_ERR_FAILED, "", 0, 0}},
        {"no target class",
         Platform::Example,
         kSystem,
         nullptr,
         true,
         "getClassName",
         2,
         CMPI_RC_OK,
         "",
         {CMPI_RC_ERR_FAILED, "Bad source object path.", 0, 1},
         {CMPI_RC_ERR_FAILED, "Bad source object path.", 0, 0}},
        {"target path not built",
         Platform::Example,
         kSystem,
         nullptr,
         true,
         "newObjectPath",
         1,
         CMPI_RC_OK,
         "",
         {CMPI_RC_ERR_FAILED, "", 0, 1},
         {CMPI_RC_ERR_FAILED, "", 0, 0}},
        {"machine identity unreadable",
         Platform::SerialUnreadable,
         kService,
         nullptr,
         false,
         nullptr,
         0,
         CMPI_RC_OK,
         "",
         {CMPI_RC_ERR_FAILED, "", 0, 1},
         {CMPI_RC_ERR_FAILED, "", 0, 0}},
        {"system instance refused",
         Platform::Example,
         kService,
         nullptr,
         false,
         "newInstance",
         1,
         CMPI_RC_ERR_INVALID_PARAMETER,
         "refused",
         {CMPI_RC_OK, "", 1, 1},
         {CMPI_RC_ERR_INVALID_PARAMETER, "refused", 0, 0}},
        {"service instance refused",
         Platform::Example,
         kSystem,
         nullptr,
         false,
         "newInstance",
         1,
         CMPI_RC_ERR_INVALID_PARAMETER,
         "refused",
         {CMPI_RC_OK, "", 1, 1},
         {CMPI_RC_ERR_INVALID_PARAMETER, "refused", 0, 0}},
        {"property filter refused",
         Platform::Example,
         kService,
         nullptr,
         false,
         "setPropertyFilter",
         1,
         CMPI_RC_ERR_NO_SUCH_PROPERTY,
         "no filter",
         {CMPI_RC_OK, "", 1, 1},
         {CMPI_RC_ERR_NO_SUCH_PROPERTY, "no filter", 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        arrange(c.platform);
        const CMPIObjectPath* source = newPath(c.sourceClass);
        const auto arm = [&] {
            runtime_.faults().clear();
            if (c.service != nullptr && c.nullCall) {
                runtime_.faults().nullNth(c.service, c.nth);
            } else if (c.service != nullptr) {
                runtime_.faults().failNth(c.service, c.nth, c.rc, c.message);
            }
        };
        const auto expectOutcome = [&](const Answer& answer, const Outcome& outcome) {
            EXPECT_EQ(answer.status.rc, outcome.rc);
            EXPECT_EQ(messageOf(answer.status), outcome.message);
            EXPECT_EQ(answer.objects(), outcome.objects);
            EXPECT_EQ(answer.done(), outcome.done);
            const size_t entries = expectEntriesCommittedThenDeleted();
            if (c.platform == Platform::RoleUnreadable) {
                EXPECT_EQ(entries, 1u);
            }
        };

        arm();
        expectOutcome(associatorNames(source, c.assocClass, nullptr, nullptr, nullptr), c.names);
        EXPECT_EQ(tracesOf("CIMP_Vesk_AssociatedTOvPassthruAssociatorNames: exit"), 1u);

        arm();
        expectOutcome(associators(source, c.assocClass, nullptr, nullptr, nullptr, properties),
                      c.instances);
        EXPECT_EQ(traceArgsOf("CIMP_Vesk_AssociatedTOvPassthruAssociators: exit rc=0x%X"),
                  (Args{{hex(c.instances.rc)}}));
    }
}

}  // namespace
