// The provider frame and its CMPI operations, driven through the MI function tables as a CIMOM
// drives them on the simulated example machine, and the object-path helpers they share.
#include <gtest/gtest.h>
#include <strings.h>

#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <set>
#include <string>

#include "broker/broker_runtime.h"
#include "broker/cmpi_read.h"
#include "model/tovpassthru.h"
#include "platform/trace_point.h"
#include "provider/key_match.h"
#include "provider/mi_factories.h"
#include "tests/support/call_probe.h"
#include "tests/support/platform_capture.h"
#include "tests/support/platform_fixture.h"

namespace {

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

// Platform states that close the gate, fail it, or break the builders.
enum class Platform { Example, GateClosed, GateFails, SerialUnreadable };

// The example machine, a broker runtime whose broker both factories were given (with a call probe),
// a request scope on the test's thread and a capture of what the platform sees. The association is
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
    }

    const CMPIBroker* broker() const { return runtime_.broker(); }

    // A path without keys in "root/orvcim", made by the fixture's own broker.
    CMPIObjectPath* newPath(const char* className) {
        return broker()->eft->newObjectPath(broker(), "root/orvcim", className, nullptr);
    }

    // The arguments of each trace entry written with exactly this format text, in order.
    TraceArgs traceArgsOf(const std::string& format) const {
        TraceArgs args;
        for (const cimptest::TraceRecord& record : capture_.traces()) {
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

    size_t objects() const { return result_->objectPaths().size() + result_->instances().size(); }

    // The association named by its service reference alone, with the service's name as given.
    CMPIObjectPath* naming(const char* serviceName) {
        CMPIObjectPath* service = CIMP_getTOvPassthruObjectPath(broker());
        CMPIValue value;
        value.string = broker()->eft->newString(broker(), serviceName, nullptr);
        service->ft->addKey(service, "Name", &value, CMPI_string);
        CMPIObjectPath* path = newPath(kServed);
        value.ref = service;
        path->ft->addKey(path, "ServiceProvided", &value, CMPI_ref);
        return path;
    }

    // Calls `op` through its MI table on a fresh result_, with `fault` planned; the captures start
    // empty.
    CMPIStatus call(Op op, const CMPIObjectPath* path, const Filters& f = {},
                    const Fault& fault = {}) {
        capture_.clear();
        probe_.clearCalls();
        probe_.clearFaults();
        if (fault.service != nullptr && fault.null) {
            probe_.nullNth(fault.service, fault.nth);
        } else if (fault.service != nullptr) {
            probe_.failNth(fault.service, fault.nth, fault.rc, fault.message);
        }
        result_ = std::make_unique<cimbroker::Result>(runtime_);
        const CMPIStatus status = invoke(op, result_->cmpi(), path, f);
        probe_.clearFaults();
        return status;
    }

    // The error-log entries the last call committed, each as "<origin>: <first>,<second>;".
    std::string errl() const {
        std::string text;
        for (const cimptest::ErrlRecord& e : capture_.errl()) {
            text += e.origin + ": " + hex(e.first) + "," + hex(e.second) + ";";
        }
        return text;
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
    cimptest::CallProbe probe_{runtime_};
    CMPIInstanceMI* instanceMI_ =
        Vesk_AssociatedTOvPassthruProvider_Create_InstanceMI(runtime_.broker(), nullptr);
    CMPIAssociationMI* associationMI_ =
        Vesk_AssociatedTOvPassthruProvider_Create_AssociationMI(runtime_.broker(), nullptr);
    cimbroker::RequestScope scope_{runtime_};
    cimptest::Capture capture_;
    std::unique_ptr<cimbroker::Result> result_;
};

TEST_F(Operations, LatestFactoryCallsBrokerServesBothTables) {
    cimbroker::Runtime latest[2];  // outlive every request of the test
    for (int k = 0; k < 2; ++k) {
        cimptest::CallProbe probe(latest[k]);
        k == 0 ? (void)Vesk_AssociatedTOvPassthruProvider_Create_InstanceMI(latest[k].broker(),
                                                                            nullptr)
               : (void)Vesk_AssociatedTOvPassthruProvider_Create_AssociationMI(latest[k].broker(),
                                                                               nullptr);
        for (const auto& [op, source] :
             {std::pair{Op::EnumNames, kServed}, std::pair{Op::RefNames, kSystem}}) {
            call(op, newPath(source));
            EXPECT_EQ(probe_.count("newObjectPath"), 0u);
        }
        EXPECT_EQ(probe.count("newObjectPath"), 6u);  // three paths per answer
    }
}

TEST_F(Operations, StubsAnswerNotSupportedAndCleanupReleasesNothing) {
    CMPIInstanceMI* mi = instanceMI_;
    capture_.clear();
    probe_.clearCalls();
    // The stubs look at none of their arguments.
    const std::pair<CMPIStatus, CMPIrc> answers[] = {
        {mi->ft->createInstance(nullptr, nullptr, nullptr, nullptr, nullptr),
         CMPI_RC_ERR_NOT_SUPPORTED},
        {mi->ft->modifyInstance(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
         CMPI_RC_ERR_NOT_SUPPORTED},
        {mi->ft->deleteInstance(nullptr, nullptr, nullptr, nullptr), CMPI_RC_ERR_NOT_SUPPORTED},
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
    EXPECT_TRUE(probe_.names().empty());

    EXPECT_EQ(call(Op::Get, newPath(kServed)).rc, CMPI_RC_OK);
    EXPECT_EQ(objects(), 1u);
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
        const char* serviceName = nullptr;  // the request names the association by this service
    } cases[] = {
        // clang-format off
        {"served class", Platform::Example, kServed, {}, {}, "AAA----"},
        {"request with the service's keys", Platform::Example, kServed, {}, {}, "AAA----", {}, "9119MHE*10ABCDE"},
        {"request with another service's keys", Platform::Example, kServed, {}, {}, "AAN----", {}, "9119MHE*X"},
        {"served class in other letter case", Platform::Example, "vesk_ASSOCIATEDtovpassthru", {}, {}, "AAA----"},
        {"parent class", Platform::Example, "CIM_Dependency", {}, {}, "IIN----"},
        {"managed system", Platform::Example, kSystem, {}, {}, "IINAAAA"},
        {"passthrough service", Platform::Example, kService, {}, {}, "IINAAAA"},
        {"end class in other letter case", Platform::Example, "VESK_cec", {}, {}, "IINAAAA"},
        {"subclass of an end", Platform::Example, "Vesk_SpecialCEC", {}, {}, "IIN----"},  // by name only
        {"class of neither end", Platform::Example, "CIM_Service", {}, {}, "IIN----"},
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
        const CMPIObjectPath* source = c.serviceName ? naming(c.serviceName) : newPath(c.source);
        const char* target = strcasecmp(c.source, kService) == 0 ? kSystem : kService;
        const bool gateShut =
            c.platform == Platform::GateClosed || c.platform == Platform::GateFails;
        for (int i = 0; i < 7; ++i) {
            const Op op = static_cast<Op>(i);
            const char outcome = c.outcomes[i];
            SCOPED_TRACE(exitTraceOf(op));
            const CMPIStatus status = call(op, source, c.filters, c.fault);

            const CMPIrc rc = outcome == 'I'                     ? CMPI_RC_ERR_INVALID_CLASS
                              : outcome == 'N' || outcome == 'n' ? CMPI_RC_ERR_NOT_FOUND
                              : outcome == '1'                   ? CMPI_RC_ERR_FAILED
                              : outcome == 'F'                   ? c.fault.rc
                                                                 : CMPI_RC_OK;
            EXPECT_EQ(status.rc, rc);
            EXPECT_EQ(cimbroker::toStdString(status.msg),
                      outcome == 'F' || outcome == 'n' ? c.fault.message : "");
            EXPECT_EQ(objects(), outcome == 'A' ? 1u : 0u);
            // Only associator names closes every answer that reaches its exit with returnDone.
            EXPECT_EQ(result_->doneCount(),
                      outcome == 'A' || (op == Op::AssocNames && outcome != 'x') ? 1 : 0);
            const bool withRc = exitTraceOf(op).find("%X") != std::string::npos;
            EXPECT_EQ(traceArgsOf(exitTraceOf(op)), outcome == 'x' ? TraceArgs{}
                                                    : withRc       ? TraceArgs{{hex(rc)}}
                                                                   : TraceArgs{{}});
            // A closed or failing gate ends the request before the path is looked at.
            EXPECT_EQ(probe_.count("getClassName") == 0, gateShut);
            // An entry from the gate or a builder is committed once.
            const std::string entry = c.platform == Platform::GateFails
                                          ? "UtilReg::read dscv/FspRole"
                                          : "UtilReg::read svpd/Raw_MachineSerialNumber";
            if (c.platform == Platform::GateFails || !errl().empty()) {
                EXPECT_EQ(errl(), entry + ": D400,2000;");
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
                EXPECT_EQ(cimbroker::classNameOf(result_->objectPaths()[0]),
                          op == Op::AssocNames ? target : kServed);
                continue;
            }
            const Names whole = target == kSystem ? wholeSystem : serviceKeys;
            EXPECT_EQ(propertyNames(result_->instances()[0]), op != Op::Assocs ? association
                                                              : f.properties   ? c.trimmed
                                                                               : whole);
            // Both references are keys, so the filter shows only in the call.
            EXPECT_EQ(probe_.count("setPropertyFilter"),
                      (op == Op::Refs || op == Op::Assocs) && f.properties ? 1u : 0u);
        }
    }
}

using Keys = std::vector<std::pair<const char*, CMPIData>>;

// A path with exactly the keys given, including types a broker never reports (CIMOMs hand
// CMPI_chars keys out as CMPI_string).
struct RawPath : CMPIObjectPath {
    explicit RawPath(const Keys& given);
    RawPath(const RawPath&) = delete;
    std::vector<std::pair<CMPIString, CMPIData>> keys;
};

RawPath& self(const CMPIObjectPath* op) {
    return *static_cast<RawPath*>(op->hdl);
}

CMPIObjectPathFT rawPathFt = [] {
    CMPIObjectPathFT ft{};
    ft.getKeyCount = [](const CMPIObjectPath* op, CMPIStatus*) {
        return static_cast<CMPICount>(self(op).keys.size());
    };
    ft.getKeyAt = [](const CMPIObjectPath* op, CMPICount i, CMPIString** name, CMPIStatus*) {
        *name = &self(op).keys.at(i).first;
        return self(op).keys.at(i).second;
    };
    ft.getKey = [](const CMPIObjectPath* op, const char* name, CMPIStatus*) {
        for (const auto& key : self(op).keys) {
            if (std::strcmp(static_cast<const char*>(key.first.hdl), name) == 0) {
                return key.second;
            }
        }
        return CMPIData{CMPI_null, CMPI_notFound, {}};
    };
    return ft;
}();

RawPath::RawPath(const Keys& given) : CMPIObjectPath{this, &rawPathFt} {
    for (const auto& [name, data] : given) {
        keys.push_back({{const_cast<char*>(name), nullptr}, data});
    }
}

CMPIData text(const char* s, CMPIValueState state = CMPI_goodValue) {
    static std::deque<CMPIString> strings;  // live as long as the test program
    strings.push_back({const_cast<char*>(s), nullptr});
    CMPIData data{CMPI_string, state, {}};
    data.value.string = state == CMPI_goodValue ? &strings.back() : nullptr;
    return data;
}
CMPIData chars(const char* s) {
    CMPIData data{CMPI_chars, CMPI_goodValue, {}};
    data.value.chars = const_cast<char*>(s);
    return data;
}
CMPIData reference(RawPath& path) {
    CMPIData data{CMPI_ref, CMPI_goodValue, {}};
    data.value.ref = &path;
    return data;
}

TEST(KeyMatching, EveryRequestedKeyMustBeInTheCandidateWithTheSameValue) {
    RawPath system({{"Name", text("a")}, {"UUID", text("0")}});
    RawPath sameSystem({{"UUID", text("0")}, {"Name", text("a")}});
    RawPath otherSystem({{"Name", text("b")}, {"UUID", text("0")}});
    RawPath systemWithMore({{"Name", text("a")}, {"UUID", text("0")}, {"MTMS", text("m")}});
    const CMPIData null = text(nullptr, CMPI_nullValue), noText = text(nullptr);
    const int ok = CMPI_RC_OK, differ = CMPI_RC_ERR_TYPE_MISMATCH, failed = CMPI_RC_ERR_FAILED;
    const struct {
        const char* name;
        Keys requested, candidate;
        bool sameKeyCount;
        int expected;
    } cases[] = {
        // clang-format off
        {"no keys", {}, {}, true, ok},
        {"subset", {{"Name", text("a")}}, {{"Name", text("a")}, {"CCN", text("X")}}, false, ok},
        {"superset", {{"Name", text("a")}, {"CCN", text("X")}}, {{"Name", text("a")}}, false, differ},
        {"subset, counts compared", {{"Name", text("a")}}, {{"Name", text("a")}, {"X", text("")}}, true, differ},
        {"value differs", {{"Name", text("a")}}, {{"Name", text("b")}}, false, differ},
        {"letter case differs", {{"Name", text("abc")}}, {{"Name", text("ABC")}}, false, differ},
        {"both null", {{"Name", null}}, {{"Name", null}}, false, ok},
        {"one null", {{"Name", null}}, {{"Name", text("a")}}, false, differ},
        {"string without text", {{"Name", noText}}, {{"Name", text("a")}}, false, failed},
        {"types differ", {{"Id", text("a")}}, {{"Id", chars("a")}}, false, differ},
        {"chars keys", {{"Id", chars("a")}}, {{"Id", chars("a")}}, false, failed},
        {"equal references", {{"R", reference(system)}}, {{"R", reference(sameSystem)}}, false, ok},
        {"references differ", {{"R", reference(system)}}, {{"R", reference(otherSystem)}}, false, differ},
        {"referenced key counts differ", {{"R", reference(system)}}, {{"R", reference(systemWithMore)}}, false, differ},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RawPath requested(c.requested);
        RawPath candidate(c.candidate);
        EXPECT_EQ(cimpMatchObjectPathKeys(&requested, &candidate, c.sameKeyCount), c.expected);
    }
    EXPECT_EQ(cimpMatchObjectPathKeys(nullptr, &system, false), failed);
}

}  // namespace
