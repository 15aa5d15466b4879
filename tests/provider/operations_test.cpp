// The provider frame and its CMPI operations, driven through the MI function tables as a CIMOM
// drives them, on the simulated example machine.
#include <gtest/gtest.h>
#include <strings.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>

#include "broker/broker_runtime.h"
#include "broker/cmpi_read.h"
#include "model/tovpassthru.h"
#include "platform/sim/sim_capture.h"
#include "platform/trace_point.h"
#include "provider/association_target.h"
#include "provider/mi_factories.h"
#include "tests/support/platform_fixture.h"

namespace {

using cimpsim::ErrlEvent;
using TraceArgs = std::vector<std::vector<std::string>>;
using Names = std::set<std::string>;

constexpr char kServed[] = "Vesk_AssociatedTOvPassthru";
constexpr char kSystem[] = "Vesk_CEC";
constexpr char kService[] = "Vesk_TOvPassthru";

enum class Op { EnumNames, Enum, Get, RefNames, Refs, AssocNames, Assocs };

// The exit trace of `op`; the names operations of references and associators and the references
// operation trace no status there.
std::string exitTraceOf(Op op) {
    static const char* const names[] = {"EnumInstanceNames", "EnumInstances", "GetInstance",
                                        "ReferenceNames",    "References",    "AssociatorNames",
                                        "Associators"};
    const bool withRc = op <= Op::Get || op == Op::Assocs;
    return std::string("CIMP_Vesk_AssociatedTOvPassthru") + names[static_cast<int>(op)] +
           (withRc ? ": exit rc=0x%X" : ": exit");
}

std::string hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
    return text;
}

std::string orNull(const char* text) {
    return text != nullptr ? text : "NULL";
}

Names propertyNames(const CMPIInstance* instance) {
    Names names;
    for (const auto& property : cimbroker::propertiesOf(instance)) {
        names.insert(property.first);
    }
    return names;
}

// A request's filters; a null one filters nothing.
struct Filters {
    const char* assocClass = nullptr;
    const char* resultClass = nullptr;
    const char* role = nullptr;
    const char* resultRole = nullptr;
    const char** properties = nullptr;
};

// A broker service whose nth call fails with `rc` and `message`, or answers null.
struct Fault {
    const char* service = nullptr;
    int nth = 1;
    bool null = false;
    CMPIrc rc = CMPI_RC_OK;
    const char* message = "";
};

struct Answer {
    CMPIStatus status;
    std::unique_ptr<cimbroker::Result> result;

    size_t objects() const { return result->objectPaths().size() + result->instances().size(); }
};

// Platform states that close the gate, fail it, or break the builders.
enum class Platform { Example, GateClosed, GateFails, SerialUnreadable };

// The example machine, a broker runtime whose broker both factories were given (call log on), a
// request scope on the test's thread and a capture of what the platform sees. The association is
// a CIM_Dependency and the passthrough service a CIM_Service.
class Operations : public cimptest::PlatformFixture {
  protected:
    Operations() {
        writeExampleMachine();
        cimbroker::ClassHierarchy hierarchy;
        hierarchy.add(kServed, "CIM_Dependency");
        hierarchy.add(kService, "CIM_Service");
        hierarchy.add("Vesk_SpecialCEC", kSystem);
        runtime_.setClassHierarchy(hierarchy);
        runtime_.calls().enable(true);
    }

    const CMPIBroker* broker() const { return runtime_.broker(); }

    // A path without keys in "root/orvcim", made by the fixture's own broker.
    CMPIObjectPath* newPath(const char* className) {
        return broker()->eft->newObjectPath(broker(), "root/orvcim", className, nullptr);
    }

    // The arguments of each trace entry written with exactly this format text, in order.
    TraceArgs traceArgsOf(const std::string& format) const {
        TraceArgs args;
        for (const cimpsim::TraceRecord& record : capture_.traces()) {
            if (record.formatId == cimp::traceFormatId(format.c_str())) {
                args.push_back(record.args);
            }
        }
        return args;
    }

    void arrange(Platform platform) {
        removeRegistry("dscv/FspRole");
        removeRegistry("svpd/Raw_MachineSerialNumber");
        writeExampleMachine();
        if (platform == Platform::GateClosed) {
            setRegistry("dscv/FspRole", "\x02");
        } else if (platform == Platform::GateFails) {
            failRegistry("dscv/FspRole", 0xA5);
        } else if (platform == Platform::SerialUnreadable) {
            failRegistry("svpd/Raw_MachineSerialNumber", 0x5A);
        }
    }

    // Calls `op` through its MI table on a fresh result, with `fault` planned; the captures start
    // empty.
    Answer call(Op op, const CMPIObjectPath* path, const Filters& f = {}, const Fault& fault = {}) {
        capture_.clear();
        runtime_.calls().clear();
        runtime_.faults().clear();
        if (fault.service != nullptr && fault.null) {
            runtime_.faults().nullNth(fault.service, fault.nth);
        } else if (fault.service != nullptr) {
            runtime_.faults().failNth(fault.service, fault.nth, fault.rc, fault.message);
        }
        Answer a{{CMPI_RC_OK, nullptr}, std::make_unique<cimbroker::Result>(runtime_)};
        a.status = invoke(op, a.result->cmpi(), path, f);
        runtime_.faults().clear();
        return a;
    }

    // Each error-log entry the platform made was committed once with (0xd400, 0x2000) and then
    // deleted; returns where each came from.
    std::vector<std::string> committedEntries() const {
        using Kind = ErrlEvent::Kind;
        const std::vector<ErrlEvent> events = capture_.errl();
        std::vector<std::string> origins;
        EXPECT_EQ(events.size() % 3, 0u);
        for (size_t i = 0; i + 2 < events.size(); i += 3) {
            origins.push_back(events[i].origin);
            EXPECT_TRUE(events[i].kind == Kind::Created && events[i + 1].kind == Kind::Committed &&
                        events[i + 1].first == 0xd400 && events[i + 1].second == 0x2000 &&
                        events[i + 2].kind == Kind::Deleted &&
                        events[i + 2].entry == events[i].entry);
        }
        return origins;
    }

  private:
    CMPIStatus invoke(Op op, const CMPIResult* r, const CMPIObjectPath* path, const Filters& f) {
        const CMPIContext* c = scope_.context();
        CMPIInstanceMI* i = instanceMI_;
        CMPIAssociationMI* m = associationMI_;
        switch (op) {
            case Op::EnumNames:
                return i->ft->enumerateInstanceNames(i, c, r, path);
            case Op::Enum:
                return i->ft->enumerateInstances(i, c, r, path, f.properties);
            case Op::Get:
                return i->ft->getInstance(i, c, r, path, f.properties);
            case Op::RefNames:
                return m->ft->referenceNames(m, c, r, path, f.resultClass, f.role);
            case Op::Refs:
                return m->ft->references(m, c, r, path, f.resultClass, f.role, f.properties);
            case Op::AssocNames:
                return m->ft->associatorNames(m, c, r, path, f.assocClass, f.resultClass, f.role,
                                              f.resultRole);
            case Op::Assocs:
                return m->ft->associators(m, c, r, path, f.assocClass, f.resultClass, f.role,
                                          f.resultRole, f.properties);
        }
        return {CMPI_RC_ERR_FAILED, nullptr};
    }

  protected:
    cimbroker::Runtime runtime_;
    CMPIInstanceMI* instanceMI_ =
        Vesk_AssociatedTOvPassthruProvider_Create_InstanceMI(runtime_.broker(), nullptr);
    CMPIAssociationMI* associationMI_ =
        Vesk_AssociatedTOvPassthruProvider_Create_AssociationMI(runtime_.broker(), nullptr);
    cimbroker::RequestScope scope_{runtime_};
    cimpsim::Capture capture_;
};

TEST_F(Operations, LatestFactoryCallsBrokerServesBothTables) {
    for (const bool instanceLast : {true, false}) {
        cimbroker::Runtime latest;
        latest.calls().enable(true);
        instanceLast
            ? (void)Vesk_AssociatedTOvPassthruProvider_Create_InstanceMI(latest.broker(), nullptr)
            : (void)Vesk_AssociatedTOvPassthruProvider_Create_AssociationMI(latest.broker(),
                                                                            nullptr);
        for (const auto& [op, source] :
             {std::pair{Op::EnumNames, kServed}, std::pair{Op::RefNames, kSystem}}) {
            call(op, newPath(source));
            EXPECT_EQ(runtime_.calls().count("newObjectPath"), 0u);
        }
        EXPECT_EQ(latest.calls().count("newObjectPath"), 6u);  // three paths per answer
        // Back to the fixture's broker, through the other factory, before `latest` goes.
        instanceLast
            ? (void)Vesk_AssociatedTOvPassthruProvider_Create_AssociationMI(broker(), nullptr)
            : (void)Vesk_AssociatedTOvPassthruProvider_Create_InstanceMI(broker(), nullptr);
    }
}

TEST_F(Operations, StubsAnswerNotSupportedAndCleanupReleasesNothing) {
    CMPIInstanceMI* mi = instanceMI_;
    cimbroker::Result result(runtime_);
    const CMPIResult* r = result.cmpi();
    CMPIObjectPath* path = newPath(kServed);
    const char* properties[] = {"ServiceProvided", nullptr};
    capture_.clear();
    runtime_.calls().clear();
    const std::pair<CMPIStatus, CMPIrc> answers[] = {
        {mi->ft->createInstance(mi, scope_.context(), r, path, nullptr), CMPI_RC_ERR_NOT_SUPPORTED},
        {mi->ft->modifyInstance(mi, scope_.context(), r, path, nullptr, properties),
         CMPI_RC_ERR_NOT_SUPPORTED},
        {mi->ft->deleteInstance(mi, scope_.context(), r, path), CMPI_RC_ERR_NOT_SUPPORTED},
        {mi->ft->execQuery(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
         CMPI_RC_ERR_NOT_SUPPORTED},
        {mi->ft->cleanup(mi, scope_.context(), 1), CMPI_RC_OK},
        {associationMI_->ft->cleanup(associationMI_, scope_.context(), 0), CMPI_RC_OK},
    };
    for (const auto& [status, rc] : answers) {
        EXPECT_EQ(status.rc, rc);
        EXPECT_EQ(status.msg, nullptr);
    }
    EXPECT_TRUE(capture_.traces().empty());
    EXPECT_TRUE(capture_.calls().empty());
    EXPECT_TRUE(runtime_.calls().names().empty());

    const Answer answer = call(Op::Get, path);
    EXPECT_EQ(answer.status.rc, CMPI_RC_OK);
    EXPECT_EQ(answer.objects(), 1u);
}

TEST_F(Operations, EachOperationAnswersAsTheGateThePathFiltersAndBrokerAllow) {
    const char* state[] = {"State", nullptr};
    const char* emptyList[] = {nullptr};
    const Names systemKeys{"Name", "CreationClassName", "UUID"};
    const Names wholeSystem{
        "Dedicated",       "isOSContainer", "PrimaryFSP_IP",     "BackupFSP_IP", "State",
        "UserDefinedName", "Name",          "CreationClassName", "UUID",         "MTMS"};
    const Names serviceKeys{"CreationClassName", "Name", "SystemCreationClassName", "SystemName"};
    const Names association{"ServiceProvided", "UserOfService"};
    const CMPIrc handle = CMPI_RC_ERR_INVALID_HANDLE, ns = CMPI_RC_ERR_INVALID_NAMESPACE,
                 param = CMPI_RC_ERR_INVALID_PARAMETER;
    const Filters servedAssoc{kServed};
    // `outcomes` holds one letter per operation, in the order of Op: A answers one object with
    // CMPI_RC_OK; - answers nothing with CMPI_RC_OK; x answers nothing and returns at once, with
    // neither exit trace nor returnDone; I is CMPI_RC_ERR_INVALID_CLASS; N is
    // CMPI_RC_ERR_NOT_FOUND and n the same with the fault's message; 1 is CMPI_RC_ERR_FAILED
    // without message; F is the fault's status.
    const struct {
        const char* name;
        Platform platform;
        const char* source;  // class of the request path
        Filters filters;
        Fault fault;
        const char* outcomes;
        Names trimmed = {};  // the associators' answer, when a property list trims it
    } cases[] = {
        // clang-format off
        {"served class", Platform::Example, kServed, {}, {}, "AAA----"},
        {"served class in other letter case", Platform::Example, "vesk_ASSOCIATEDtovpassthru", {}, {}, "AAA----"},
        {"parent class", Platform::Example, "CIM_Dependency", {}, {}, "IIN----"},
        {"managed system", Platform::Example, kSystem, {}, {}, "IINAAAA"},
        {"passthrough service", Platform::Example, kService, {}, {}, "IINAAAA"},
        {"end class in other letter case", Platform::Example, "VESK_cec", {}, {}, "IINAAAA"},
        {"role of the source", Platform::Example, kSystem, {nullptr, nullptr, "userofservice"}, {}, "IINAAAA"},
        {"role of the service", Platform::Example, kService, {nullptr, nullptr, "SERVICEPROVIDED"}, {}, "IINAAAA"},
        {"role of the other end", Platform::Example, kSystem, {nullptr, nullptr, "ServiceProvided"}, {}, "IIN----"},
        {"empty role", Platform::Example, kSystem, {nullptr, nullptr, ""}, {}, "IIN----"},
        {"result class served", Platform::Example, kSystem, {nullptr, kServed}, {}, "IINAAx-"},
        {"result class parent of served", Platform::Example, kService, {nullptr, "CIM_Dependency"}, {}, "IINAAx-"},
        {"result class parent of service", Platform::Example, kSystem, {nullptr, "CIM_Service"}, {}, "IINxxAA"},
        {"typical associators request", Platform::Example, kSystem, {nullptr, kService, nullptr, "ServiceProvided"}, {}, "IINxxAA"},
        {"result role of the target", Platform::Example, kService, {nullptr, nullptr, nullptr, "USEROFSERVICE"}, {}, "IINAAAA"},
        {"result role of the source", Platform::Example, kSystem, {nullptr, nullptr, nullptr, "UserOfService"}, {}, "IINAA--"},
        {"association class served", Platform::Example, kSystem, servedAssoc, {}, "IINAAAA"},
        {"association class parent", Platform::Example, kService, {"CIM_Dependency"}, {}, "IINAAAA"},
        {"association class unrelated", Platform::Example, kSystem, {"CIM_Service"}, {}, "IINAAx-"},
        {"system trimmed to State", Platform::Example, kService, {nullptr, nullptr, nullptr, nullptr, state}, {}, "IINAAAA", {"State", "Name", "CreationClassName", "UUID"}},
        {"system trimmed to its keys", Platform::Example, kService, {nullptr, nullptr, nullptr, nullptr, emptyList}, {}, "IINAAAA", systemKeys},
        {"gate closed", Platform::GateClosed, kSystem, {}, {}, "--N----"},
        {"gate fails", Platform::GateFails, kSystem, {}, {}, "11N1111"},
        {"identity unreadable, served class", Platform::SerialUnreadable, kServed, {}, {}, "11N----"},
        {"identity unreadable, an end", Platform::SerialUnreadable, kService, {}, {}, "IIN1111"},
        {"association refused", Platform::Example, kServed, {}, {"newInstance", 1, false, param, "refused"}, "AFn----"},
        {"association property refused", Platform::Example, kServed, {}, {"setProperty:UserOfService", 1, false, CMPI_RC_ERR_NO_SUCH_PROPERTY, "no such"}, "AFn----"},
        {"association key refused", Platform::Example, kServed, {}, {"addKey:ServiceProvided", 1, false, CMPI_RC_ERR_TYPE_MISMATCH, "bad key"}, "FFn----"},
        {"class unreadable", Platform::Example, kSystem, {}, {"getClassName", 1, false, handle, "stale"}, "FFnFFFF"},
        {"class name missing", Platform::Example, kSystem, {}, {"getClassName", 1, true}, "11N1111"},
        {"namespace unreadable", Platform::Example, kSystem, servedAssoc, {"getNameSpace", 1, false, ns, "no ns"}, "IINAAFF"},
        {"no namespace text", Platform::Example, kSystem, servedAssoc, {"getNameSpace", 1, true}, "IINAA11"},
        {"class path refused", Platform::Example, kSystem, servedAssoc, {"newObjectPath", 1, false, ns, "ns"}, "IINFFFF"},
        {"no class path", Platform::Example, kSystem, servedAssoc, {"newObjectPath", 1, true}, "IIN1111"},
        {"no target class", Platform::Example, kSystem, {}, {"getClassName", 2, true, CMPI_RC_ERR_FAILED, "Bad source object path."}, "IINAAFF"},
        {"target path not built", Platform::Example, kSystem, {}, {"newObjectPath", 1, true}, "IIN1111"},
        {"system refused", Platform::Example, kService, {}, {"newInstance", 1, false, param, "no"}, "IINAFAF"},
        {"service refused", Platform::Example, kSystem, {}, {"newInstance", 1, false, param, "no"}, "IINAFAF"},
        {"filter refused", Platform::Example, kService, {nullptr, nullptr, nullptr, nullptr, state}, {"setPropertyFilter", 1, false, param, "no"}, "IINAFAF"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        arrange(c.platform);
        const CMPIObjectPath* source = newPath(c.source);
        const char* target = strcasecmp(c.source, kService) == 0 ? kSystem : kService;
        const bool gateShut =
            c.platform == Platform::GateClosed || c.platform == Platform::GateFails;
        for (int i = 0; i < 7; ++i) {
            const Op op = static_cast<Op>(i);
            const char outcome = c.outcomes[i];
            SCOPED_TRACE(exitTraceOf(op));
            const Answer answer = call(op, source, c.filters, c.fault);

            const CMPIrc rc = outcome == 'I'                     ? CMPI_RC_ERR_INVALID_CLASS
                              : outcome == 'N' || outcome == 'n' ? CMPI_RC_ERR_NOT_FOUND
                              : outcome == '1'                   ? CMPI_RC_ERR_FAILED
                              : outcome == 'F'                   ? c.fault.rc
                                                                 : CMPI_RC_OK;
            EXPECT_EQ(answer.status.rc, rc);
            EXPECT_EQ(cimbroker::toStdString(answer.status.msg),
                      outcome == 'F' || outcome == 'n' ? c.fault.message : "");
            EXPECT_EQ(answer.objects(), outcome == 'A' ? 1u : 0u);
            // Only associator names closes every answer that reaches its exit with returnDone.
            EXPECT_EQ(answer.result->doneCount(),
                      outcome == 'A' || (op == Op::AssocNames && outcome != 'x') ? 1 : 0);
            const bool withRc = exitTraceOf(op).find("%X") != std::string::npos;
            EXPECT_EQ(traceArgsOf(exitTraceOf(op)), outcome == 'x' ? TraceArgs{}
                                                    : withRc       ? TraceArgs{{hex(rc)}}
                                                                   : TraceArgs{{}});
            // A closed or failing gate ends the request before the path is looked at.
            EXPECT_EQ(runtime_.calls().count("getClassName") == 0, gateShut);
            const std::vector<std::string> entries = committedEntries();
            if (c.platform == Platform::GateFails) {
                EXPECT_EQ(entries, std::vector<std::string>{"UtilReg::read dscv/FspRole"});
            }
            const Filters& f = c.filters;
            TraceArgs listed;
            for (int k = 0;
                 (op == Op::Refs || op == Op::Assocs) && f.properties && f.properties[k] != nullptr;
                 ++k) {
                listed.push_back({std::to_string(k), f.properties[k]});
            }
            EXPECT_EQ(traceArgsOf("request property list [%d]=%s"), listed);
            if (op == Op::RefNames || op == Op::Refs) {
                EXPECT_EQ(traceArgsOf("cimpTraceReferenceArgs: resultClass=%s role=%s"),
                          (TraceArgs{{orNull(f.resultClass), orNull(f.role)}}));
            } else if (op >= Op::AssocNames) {
                EXPECT_EQ(traceArgsOf("cimpTraceAssociatorArgs: assocClass=%s resultClass=%s "
                                      "role=%s resultRole=%s"),
                          (TraceArgs{{orNull(f.assocClass), orNull(f.resultClass), orNull(f.role),
                                      orNull(f.resultRole)}}));
            }
            if (outcome != 'A') {
                continue;
            }
            if (op == Op::EnumNames || op == Op::RefNames || op == Op::AssocNames) {
                EXPECT_EQ(cimbroker::classNameOf(answer.result->objectPaths()[0]),
                          op == Op::AssocNames ? target : kServed);
                continue;
            }
            const Names whole = target == kSystem ? wholeSystem : serviceKeys;
            EXPECT_EQ(propertyNames(answer.result->instances()[0]), op != Op::Assocs ? association
                                                                    : f.properties   ? c.trimmed
                                                                                     : whole);
            // Both references are keys, so the filter shows only in the call.
            EXPECT_EQ(runtime_.calls().count("setPropertyFilter"),
                      op != Op::RefNames && f.properties ? 1u : 0u);
        }
    }
}

TEST_F(Operations, GetInstanceAnswersOnlyWhenTheAssociationHasTheRequestedKeys) {
    // The association named by its service reference alone, the reference's name as given.
    const auto request = [this](const char* name) {
        CMPIObjectPath* service = CIMP_getTOvPassthruObjectPath(broker());
        CMPIValue value;
        value.string = broker()->eft->newString(broker(), name, nullptr);
        service->ft->addKey(service, "Name", &value, CMPI_string);
        CMPIObjectPath* path = newPath(kServed);
        value.ref = service;
        path->ft->addKey(path, "ServiceProvided", &value, CMPI_ref);
        return path;
    };
    for (const char* name : {"9119MHE*10ABCDE", "9119MHE*X"}) {
        const bool found = std::string(name) == "9119MHE*10ABCDE";
        const Answer answer = call(Op::Get, request(name));
        EXPECT_EQ(answer.status.rc, found ? CMPI_RC_OK : CMPI_RC_ERR_NOT_FOUND);
        EXPECT_EQ(answer.objects(), found ? 1u : 0u);
        EXPECT_EQ(answer.result->doneCount(), found ? 1 : 0);
    }
}

TEST_F(Operations, TargetIsTheOtherEndByNameThenByTheBrokersClassTest) {
    const struct {
        const char* sourceClass;
        bool nullClassName;
        const char* target;
        size_t classTests;
        const char* message;
    } cases[] = {
        {kSystem, false, kService, 0, ""},
        {kService, false, kSystem, 0, ""},
        {"vesk_tovpassthru", false, kSystem, 1, ""},
        {"VESK_CEC", false, kService, 2, ""},
        {"Vesk_SpecialCEC", false, kService, 2, ""},
        {"CIM_Service", false, nullptr, 2, "Object not involved in an association."},
        {kSystem, true, nullptr, 0, "Bad source object path."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sourceClass);
        CMPIObjectPath* source = newPath(c.sourceClass);
        runtime_.calls().clear();
        capture_.clear();
        if (c.nullClassName) {
            runtime_.faults().nullNth("getClassName", 1);
        }
        CMPIStatus status = {CMPI_RC_OK, nullptr};

        EXPECT_EQ(cimpGetAssociationTargetClassName(broker(), source, kService, kSystem, &status),
                  c.target);
        runtime_.faults().clear();
        EXPECT_EQ(runtime_.calls().count("classPathIsA"), c.classTests);
        EXPECT_EQ(status.rc, c.target ? CMPI_RC_OK : CMPI_RC_ERR_FAILED);
        EXPECT_EQ(cimbroker::toStdString(status.msg), c.message);
        EXPECT_EQ(traceArgsOf("cimpGetAssociationTargetClassName: exit rc=0x%X target=%s"),
                  (TraceArgs{{c.target ? "0" : "1", c.target ? c.target : "Class not found"}}));
    }
}

}  // namespace
