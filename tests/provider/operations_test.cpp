// The CMPI operations driven through the MI function tables, as a CIMOM drives them, on the
// simulated example machine.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>

#include "broker/cmpi_read.h"
#include "tests/provider/provider_fixture.h"

namespace {

using cimpsim::ErrlEvent;
using cimptest::TraceArgs;

constexpr char kServed[] = "Vesk_AssociatedTOvPassthru";
constexpr char kSystem[] = "Vesk_CEC";
constexpr char kService[] = "Vesk_TOvPassthru";
const std::string kServiceName = "9119MHE*10ABCDE";  // the example machine, type model "*" serial

enum class Op {
    EnumInstanceNames,
    EnumInstances,
    GetInstance,
    ReferenceNames,
    References,
    AssociatorNames,
    Associators
};

// A request's filters; a null one filters nothing.
struct Filters {
    const char* assocClass = nullptr;
    const char* resultClass = nullptr;
    const char* role = nullptr;
    const char* resultRole = nullptr;
    const char** properties = nullptr;
};

// The exit trace of each operation, in the order of Op; the names operations of references
// and associators trace no status there.
const char* exitTraceOf(Op op) {
    static const char* const traces[] = {
        "CIMP_Vesk_AssociatedTOvPassthruEnumInstanceNames: exit rc=0x%X",
        "CIMP_Vesk_AssociatedTOvPassthruEnumInstances: exit rc=0x%X",
        "CIMP_Vesk_AssociatedTOvPassthruGetInstance: exit rc=0x%X",
        "CIMP_Vesk_AssociatedTOvPassthruReferenceNames: exit",
        "CIMP_Vesk_AssociatedTOvPassthruReferences: exit",
        "CIMP_Vesk_AssociatedTOvPassthruAssociatorNames: exit",
        "CIMP_Vesk_AssociatedTOvPassthruAssociators: exit rc=0x%X"};
    return traces[static_cast<int>(op)];
}

std::string hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
    return text;
}

std::set<std::string> propertyNames(const CMPIInstance* instance) {
    std::set<std::string> names;
    for (const auto& property : cimbroker::propertiesOf(instance)) {
        names.insert(property.first);
    }
    return names;
}

struct Answer {
    CMPIStatus status;
    std::unique_ptr<cimbroker::Result> result;

    size_t objects() const { return result->objectPaths().size() + result->instances().size(); }
    std::string message() const { return cimbroker::toStdString(status.msg); }
};

// Platform states that close the gate, fail it, or break the builders.
enum class Platform { Example, RoleNotOne, Managed, PolicyOn, RoleUnreadable, SerialUnreadable };

class Operations : public cimptest::ProviderFixture {
  protected:
    void arrange(Platform platform) {
        removeRegistry("dscv/FspRole");
        removeRegistry("svpd/Raw_MachineSerialNumber");
        writeExampleMachine();
        if (platform == Platform::RoleNotOne) {
            setRegistry("dscv/FspRole", "\x02");
        } else if (platform == Platform::Managed) {
            setManaged("1");
        } else if (platform == Platform::PolicyOn) {
            setPolicy("1");
        } else if (platform == Platform::RoleUnreadable) {
            failRegistry("dscv/FspRole", 0xA5);
        } else if (platform == Platform::SerialUnreadable) {
            failRegistry("svpd/Raw_MachineSerialNumber", 0x5A);
        }
    }

    // Calls `op` through its MI table on a fresh result; the captures start empty.
    Answer call(Op op, const CMPIObjectPath* path, const Filters& f = {}) {
        capture_.clear();
        runtime_.calls().clear();
        Answer a{{CMPI_RC_OK, nullptr}, std::make_unique<cimbroker::Result>(runtime_)};
        const CMPIResult* r = a.result->cmpi();
        const CMPIContext* c = scope_.context();
        CMPIInstanceMI* i = instanceMI_;
        CMPIAssociationMI* m = associationMI_;
        switch (op) {
            case Op::EnumInstanceNames:
                a.status = i->ft->enumerateInstanceNames(i, c, r, path);
                break;
            case Op::EnumInstances:
                a.status = i->ft->enumerateInstances(i, c, r, path, f.properties);
                break;
            case Op::GetInstance:
                a.status = i->ft->getInstance(i, c, r, path, f.properties);
                break;
            case Op::ReferenceNames:
                a.status = m->ft->referenceNames(m, c, r, path, f.resultClass, f.role);
                break;
            case Op::References:
                a.status = m->ft->references(m, c, r, path, f.resultClass, f.role, f.properties);
                break;
            case Op::AssociatorNames:
                a.status = m->ft->associatorNames(m, c, r, path, f.assocClass, f.resultClass,
                                                  f.role, f.resultRole);
                break;
            case Op::Associators:
                a.status = m->ft->associators(m, c, r, path, f.assocClass, f.resultClass, f.role,
                                              f.resultRole, f.properties);
                break;
        }
        return a;
    }

    size_t exitTraces(Op op) const { return traceArgsOf(exitTraceOf(op)).size(); }

    // Each error-log entry the platform made was committed once with (0xd400, 0x2000) and then
    // deleted; returns how many there were.
    size_t committedAndDeletedEntries() const {
        size_t created = 0, committed = 0, deleted = 0;
        const ErrlEvent* previous = nullptr;
        for (const ErrlEvent& event : capture_.errl()) {
            created += event.kind == ErrlEvent::Kind::Created;
            if (event.kind == ErrlEvent::Kind::Committed) {
                EXPECT_EQ(event.first, 0xd400);
                EXPECT_EQ(event.second, 0x2000);
                ++committed;
            }
            if (event.kind == ErrlEvent::Kind::Deleted) {
                EXPECT_TRUE(previous && previous->kind == ErrlEvent::Kind::Committed &&
                            previous->entry == event.entry);
                ++deleted;
            }
            previous = &event;
        }
        EXPECT_EQ(committed, created);
        EXPECT_EQ(deleted, created);
        return created;
    }

    void addKey(CMPIObjectPath* path, const char* key, const std::string& text) {
        CMPIValue value;
        value.string = broker()->eft->newString(broker(), text.c_str(), nullptr);
        path->ft->addKey(path, key, &value, CMPI_string);
    }
    void addKey(CMPIObjectPath* path, const char* key, CMPIObjectPath* target) {
        CMPIValue value;
        value.ref = target;
        path->ft->addKey(path, key, &value, CMPI_ref);
    }
    // A passthrough-service path as a CIMOM parses it from a request.
    CMPIObjectPath* servicePath(const std::string& name, bool withSystemName = true) {
        CMPIObjectPath* path = newPath(kService);
        addKey(path, "CreationClassName", kService);
        addKey(path, "Name", name);
        addKey(path, "SystemCreationClassName", "Vesk_FSP");
        if (withSystemName) {
            addKey(path, "SystemName", kServiceName);
        }
        return path;
    }
};

TEST_F(Operations, InstanceOperationsAnswerByGateAndRequestedClass) {
    const CMPIrc ok = CMPI_RC_OK, notFound = CMPI_RC_ERR_NOT_FOUND;
    const struct {
        const char* name;
        Platform platform;
        const char* className;
        CMPIrc enumRc;
        CMPIrc getRc;
    } cases[] = {
        {"served class", Platform::Example, kServed, ok, ok},
        {"other letter case", Platform::Example, "vesk_ASSOCIATEDtovpassthru", ok, ok},
        {"parent class", Platform::Example, "CIM_Dependency", CMPI_RC_ERR_INVALID_CLASS, notFound},
        {"class of one end", Platform::Example, kSystem, CMPI_RC_ERR_INVALID_CLASS, notFound},
        {"gate closed by role", Platform::RoleNotOne, kServed, ok, notFound},
        {"gate closed by console", Platform::Managed, kServed, ok, notFound},
        {"gate closed by policy", Platform::PolicyOn, kServed, ok, notFound},
        {"gate fails", Platform::RoleUnreadable, kServed, CMPI_RC_ERR_FAILED, notFound},
        {"identity unreadable", Platform::SerialUnreadable, kServed, CMPI_RC_ERR_FAILED, notFound},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        arrange(c.platform);
        const CMPIObjectPath* path = newPath(c.className);
        for (Op op : {Op::EnumInstanceNames, Op::EnumInstances, Op::GetInstance}) {
            SCOPED_TRACE(exitTraceOf(op));
            const Answer answer = call(op, path);
            const CMPIrc rc = op == Op::GetInstance ? c.getRc : c.enumRc;
            const bool answered = c.getRc == ok;
            EXPECT_EQ(answer.status.rc, rc);
            EXPECT_EQ(answer.status.msg, nullptr);
            EXPECT_EQ(answer.objects(), answered ? 1u : 0u);
            EXPECT_EQ(answer.result->doneCount(), answered ? 1 : 0);
            EXPECT_EQ(traceArgsOf(exitTraceOf(op)), (TraceArgs{{hex(rc)}}));
            // A closed or failing gate ends the request before the path is looked at.
            const bool gateOpen =
                c.platform == Platform::Example || c.platform == Platform::SerialUnreadable;
            EXPECT_EQ(runtime_.calls().count("getClassName") > 0, gateOpen);
            const size_t entries = committedAndDeletedEntries();
            if (c.platform == Platform::RoleUnreadable) {
                EXPECT_EQ(entries, 1u);
                EXPECT_EQ(capture_.errl().at(1).origin, "UtilReg::read dscv/FspRole");
            }
        }
    }
}

TEST_F(Operations, InstanceBuilderFailurePassesOnOrBecomesNotFound) {
    const struct {
        const char* service;
        CMPIrc rc;
        const char* message;
        bool pathFails;
    } cases[] = {
        {"newInstance", CMPI_RC_ERR_INVALID_PARAMETER, "refused", false},
        {"setProperty:UserOfService", CMPI_RC_ERR_NO_SUCH_PROPERTY, "no such", false},
        {"addKey:ServiceProvided", CMPI_RC_ERR_TYPE_MISMATCH, "bad key", true},
    };
    const CMPIObjectPath* path = newPath(kServed);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.service);
        for (Op op : {Op::EnumInstanceNames, Op::EnumInstances, Op::GetInstance}) {
            runtime_.faults().clear();
            runtime_.faults().failNth(c.service, 1, c.rc, c.message);
            const Answer answer = call(op, path);
            const bool fails = op != Op::EnumInstanceNames || c.pathFails;
            EXPECT_EQ(answer.status.rc, !fails                  ? CMPI_RC_OK
                                        : op == Op::GetInstance ? CMPI_RC_ERR_NOT_FOUND
                                                                : c.rc);
            EXPECT_EQ(answer.message(), fails ? c.message : "");
            EXPECT_EQ(answer.objects(), fails ? 0u : 1u);
            EXPECT_EQ(answer.result->doneCount(), fails ? 0 : 1);
        }
    }
}

TEST_F(Operations, GetInstanceFindsTheRequestedKeysInTheAssociation) {
    const auto association = [&](const char* key, CMPIObjectPath* target) {
        CMPIObjectPath* path = newPath(kServed);
        addKey(path, key, target);
        return path;
    };
    CMPIObjectPath* serviceAsText = newPath(kServed);
    addKey(serviceAsText, "ServiceProvided", kServiceName);
    const Answer enumerated = call(Op::EnumInstanceNames, newPath(kServed));
    ASSERT_EQ(enumerated.result->objectPaths().size(), 1u);
    const struct {
        const char* name;
        const CMPIObjectPath* request;
        bool found;
    } cases[] = {
        {"no keys", newPath(kServed), true},
        {"every key as enumerated", enumerated.result->objectPaths()[0], true},
        {"service reference only", association("ServiceProvided", servicePath(kServiceName)), true},
        {"service name differs", association("ServiceProvided", servicePath("9119MHE*X")), false},
        {"name in other letter case",
         association("ServiceProvided", servicePath("9119mhe*10abcde")), false},
        {"referenced path lacks a key",
         association("ServiceProvided", servicePath(kServiceName, false)), false},
        {"reference given as text", serviceAsText, false},
        {"key of another class", association("Antecedent", servicePath(kServiceName)), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Answer answer = call(Op::GetInstance, c.request);
        EXPECT_EQ(answer.status.rc, c.found ? CMPI_RC_OK : CMPI_RC_ERR_NOT_FOUND);
        EXPECT_EQ(answer.objects(), c.found ? 1u : 0u);
        EXPECT_EQ(answer.result->doneCount(), c.found ? 1 : 0);
    }
}

TEST_F(Operations, ReferenceFiltersDecideWhetherTheAssociationIsReturned) {
    const char* emptyList[] = {nullptr};
    const struct {
        const char* name;
        const char* source;
        Filters filters;
        bool answered;
        bool atOnce;  // returns without exit trace
    } cases[] = {
        // clang-format off
        {"managed system", kSystem, {}, true, false},
        {"passthrough service", kService, {}, true, false},
        {"source class in other letter case", "VESK_cec", {}, true, false},
        {"source of another class", "CIM_ComputerSystem", {}, false, false},
        {"role of the system", kSystem, {nullptr, nullptr, "userofservice"}, true, false},
        {"role of the other end", kSystem, {nullptr, nullptr, "ServiceProvided"}, false, false},
        {"empty role", kSystem, {nullptr, nullptr, ""}, false, false},
        {"role of the service", kService, {nullptr, nullptr, "SERVICEPROVIDED"}, true, false},
        {"result class itself", kSystem, {nullptr, kServed}, true, false},
        {"parent result class", kService, {nullptr, "CIM_Dependency"}, true, false},
        {"unrelated result class", kSystem, {nullptr, "CIM_Service"}, false, true},
        {"empty property list", kSystem, {nullptr, nullptr, nullptr, nullptr, emptyList}, true, false},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CMPIObjectPath* source = newPath(c.source);
        for (Op op : {Op::ReferenceNames, Op::References}) {
            const Answer answer = call(op, source, c.filters);
            EXPECT_EQ(answer.status.rc, CMPI_RC_OK);
            EXPECT_EQ(answer.objects(), c.answered ? 1u : 0u);
            EXPECT_EQ(answer.result->doneCount(), c.answered ? 1 : 0);
            EXPECT_EQ(exitTraces(op), c.atOnce ? 0u : 1u);
            if (op == Op::References && c.answered) {
                // Both references are keys, so any property list keeps them.
                EXPECT_EQ(propertyNames(answer.result->instances()[0]),
                          (std::set<std::string>{"ServiceProvided", "UserOfService"}));
                EXPECT_EQ(runtime_.calls().count("setPropertyFilter"),
                          c.filters.properties ? 1u : 0u);
            }
        }
    }
}

TEST_F(Operations, AssociatorsAnswerTheTypicalRequestWithThePassthroughService) {
    const Answer answer =
        call(Op::Associators, newPath(kSystem), {nullptr, kService, nullptr, "ServiceProvided"});
    EXPECT_EQ(answer.status.rc, CMPI_RC_OK);
    EXPECT_EQ(answer.status.msg, nullptr);
    ASSERT_EQ(answer.result->instances().size(), 1u);
    EXPECT_EQ(answer.result->doneCount(), 1);
    std::string properties;
    for (const auto& p : cimbroker::propertiesOf(answer.result->instances()[0])) {
        properties += p.first + "=" + cimbroker::dataToString(p.second) + ";";
    }
    EXPECT_EQ(properties, "CreationClassName=Vesk_TOvPassthru;Name=" + kServiceName +
                              ";SystemCreationClassName=Vesk_FSP;SystemName=" + kServiceName + ";");
    // The source is named exactly, so only the result class goes to the broker's class test.
    EXPECT_EQ(runtime_.calls().count("classPathIsA"), 1u);
    const std::vector<std::string> platformCalls = capture_.calls();
    ASSERT_GE(platformCalls.size(), 3u);
    EXPECT_EQ(platformCalls[0], "UtilReg::read dscv/FspRole");
    EXPECT_EQ(platformCalls[2], "rmgrIsRedPolicyEnabled");
    EXPECT_EQ(traceArgsOf("cimpTraceAssociatorArgs: assocClass=%s resultClass=%s role=%s "
                          "resultRole=%s"),
              (TraceArgs{{"NULL", kService, "NULL", "ServiceProvided"}}));
    EXPECT_EQ(traceArgsOf(exitTraceOf(Op::Associators)), (TraceArgs{{"0"}}));
}

TEST_F(Operations, AssociatorFiltersDecideWhatTheOtherEndReturns) {
    const char* state[] = {"State", nullptr};
    const char* emptyList[] = {nullptr};
    using Names = std::set<std::string>;
    const Names systemKeys{"Name", "CreationClassName", "UUID"};
    const Names wholeSystem{
        "Dedicated",       "isOSContainer", "PrimaryFSP_IP",     "BackupFSP_IP", "State",
        "UserDefinedName", "Name",          "CreationClassName", "UUID",         "MTMS"};
    const Names serviceKeys{"CreationClassName", "Name", "SystemCreationClassName", "SystemName"};
    const struct {
        const char* name;
        const char* source;
        Filters filters;
        const char* target;     // null for an empty answer
        bool namesAtOnce;       // the names operation returns without exit trace and returnDone
        Names properties = {};  // of the target's instance
    } cases[] = {
        // clang-format off
        {"managed system", kSystem, {}, kService, false, serviceKeys},
        {"passthrough service", kService, {}, kSystem, false, wholeSystem},
        {"result class of the source", kSystem, {nullptr, kSystem}, nullptr, true},
        {"parent result class", kSystem, {nullptr, "CIM_Service"}, kService, false, serviceKeys},
        {"source in other letter case", "VESK_CEC", {}, kService, false, serviceKeys},
        {"source of another class", "CIM_ComputerSystem", {}, nullptr, false},
        {"role of the source", kSystem, {nullptr, nullptr, "userofservice"}, kService, false, serviceKeys},
        {"role of the other end", kSystem, {nullptr, nullptr, "ServiceProvided"}, nullptr, false},
        {"empty role", kSystem, {nullptr, nullptr, ""}, nullptr, false},
        {"result role of the target", kService, {nullptr, nullptr, nullptr, "USEROFSERVICE"}, kSystem, false, wholeSystem},
        {"result role of the source", kSystem, {nullptr, nullptr, nullptr, "UserOfService"}, nullptr, false},
        {"association class itself", kSystem, {kServed}, kService, false, serviceKeys},
        {"parent association class", kService, {"CIM_Dependency"}, kSystem, false, wholeSystem},
        {"unrelated association class", kSystem, {"CIM_Service"}, nullptr, true},
        {"system trimmed to State", kService, {nullptr, nullptr, nullptr, nullptr, state}, kSystem, false, {"State", "Name", "CreationClassName", "UUID"}},
        {"system trimmed to its keys", kService, {nullptr, nullptr, nullptr, nullptr, emptyList}, kSystem, false, systemKeys},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CMPIObjectPath* source = newPath(c.source);

        const Answer names = call(Op::AssociatorNames, source, c.filters);
        EXPECT_EQ(names.status.rc, CMPI_RC_OK);
        ASSERT_EQ(names.objects(), c.target ? 1u : 0u);
        // The names operation closes every answer through its exit, empty ones included.
        EXPECT_EQ(names.result->doneCount(), c.namesAtOnce ? 0 : 1);
        EXPECT_EQ(exitTraces(Op::AssociatorNames), c.namesAtOnce ? 0u : 1u);
        if (c.target) {
            EXPECT_EQ(cimbroker::classNameOf(names.result->objectPaths()[0]), c.target);
        }

        const Answer instances = call(Op::Associators, source, c.filters);
        EXPECT_EQ(instances.status.rc, CMPI_RC_OK);
        ASSERT_EQ(instances.objects(), c.target ? 1u : 0u);
        EXPECT_EQ(instances.result->doneCount(), c.target ? 1 : 0);
        EXPECT_EQ(exitTraces(Op::Associators), 1u);
        if (c.target) {
            EXPECT_EQ(propertyNames(instances.result->instances()[0]), c.properties);
        }
    }
}

TEST_F(Operations, AssociationFailuresEndWithTheirStatus) {
    const char* keysOnly[] = {"Name", nullptr};
    const CMPIrc handle = CMPI_RC_ERR_INVALID_HANDLE, ns = CMPI_RC_ERR_INVALID_NAMESPACE,
                 param = CMPI_RC_ERR_INVALID_PARAMETER, failed = CMPI_RC_ERR_FAILED;
    const char* bad = "Bad source object path.";
    // `outcomes` has one letter per operation, in the order associatorNames, associators,
    // referenceNames, references: F fails with the injected status, 1 fails with
    // CMPI_RC_ERR_FAILED and no message, A answers one object, - answers nothing with CMPI_RC_OK.
    const Op ops[] = {Op::AssociatorNames, Op::Associators, Op::ReferenceNames, Op::References};
    const struct {
        const char* name;
        Platform platform;
        const char* source;
        const char* assocClass;
        const char* fault;  // its nth call fails with rc and message, or answers null
        int nth;
        bool nullAnswer;
        CMPIrc rc;
        const char* message;
        const char* outcomes;
    } cases[] = {
        // clang-format off
        {"gate closed", Platform::RoleNotOne, kSystem, nullptr, nullptr, 0, false, {}, "", "----"},
        {"gate fails", Platform::RoleUnreadable, kSystem, nullptr, nullptr, 0, false, {}, "", "1111"},
        {"class unreadable", Platform::Example, kSystem, nullptr, "getClassName", 1, false, handle, "stale", "FFFF"},
        {"class name missing", Platform::Example, kSystem, nullptr, "getClassName", 1, true, {}, "", "1111"},
        {"namespace unreadable", Platform::Example, kSystem, kServed, "getNameSpace", 1, false, ns, "no ns", "FFAA"},
        {"no namespace text", Platform::Example, kSystem, kServed, "getNameSpace", 1, true, {}, "", "11AA"},
        {"class path refused", Platform::Example, kSystem, kServed, "newObjectPath", 1, false, ns, "ns", "FFFF"},
        {"no class path", Platform::Example, kSystem, kServed, "newObjectPath", 1, true, {}, "", "1111"},
        {"no target class", Platform::Example, kSystem, nullptr, "getClassName", 2, true, failed, bad, "FFAA"},
        {"target path not built", Platform::Example, kSystem, nullptr, "newObjectPath", 1, true, {}, "", "1111"},
        {"identity unreadable", Platform::SerialUnreadable, kService, nullptr, nullptr, 0, false, {}, "", "1111"},
        {"system refused", Platform::Example, kService, nullptr, "newInstance", 1, false, param, "no", "AFAF"},
        {"service refused", Platform::Example, kSystem, nullptr, "newInstance", 1, false, param, "no", "AFAF"},
        {"filter refused", Platform::Example, kService, nullptr, "setPropertyFilter", 1, false, param, "no", "AFAF"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        arrange(c.platform);
        const CMPIObjectPath* source = newPath(c.source);
        for (size_t i = 0; i < 4; ++i) {
            SCOPED_TRACE(exitTraceOf(ops[i]));
            runtime_.faults().clear();
            if (c.fault != nullptr && c.nullAnswer) {
                runtime_.faults().nullNth(c.fault, c.nth);
            } else if (c.fault != nullptr) {
                runtime_.faults().failNth(c.fault, c.nth, c.rc, c.message);
            }
            const Answer answer =
                call(ops[i], source, {c.assocClass, nullptr, nullptr, nullptr, keysOnly});
            const char outcome = c.outcomes[i];
            EXPECT_EQ(answer.status.rc, outcome == 'F'   ? c.rc
                                        : outcome == '1' ? CMPI_RC_ERR_FAILED
                                                         : CMPI_RC_OK);
            EXPECT_EQ(answer.objects(), outcome == 'A' ? 1u : 0u);
            // Only associator names closes an empty answer with returnDone.
            EXPECT_EQ(answer.result->doneCount(), outcome == 'A' || i == 0 ? 1 : 0);
            EXPECT_EQ(exitTraces(ops[i]), 1u);
            const size_t entries = committedAndDeletedEntries();
            if (c.platform == Platform::RoleUnreadable) {
                EXPECT_EQ(entries, 1u);
            }
            if (outcome == 'F') {
                EXPECT_EQ(answer.message(), c.message);
            } else if (outcome == '1') {
                EXPECT_EQ(answer.status.msg, nullptr);
            }
        }
    }
}

}  // namespace
