// Routing through in-process fake providers: which provider is called, with which path and
// which arguments, and what the client gets when something is missing or fails.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "broker/broker_runtime.h"
#include "broker/cmpi_read.h"
#include "cimom/dispatch/router.h"
#include "tests/cimom/cim/host_test_schema.h"

namespace cimhost {
namespace {

using cimhosttest::kNamespace;

// What the fakes saw, and what they answer with. One test at a time uses them.
struct FakeWorld {
    const CMPIBroker* broker = nullptr;
    std::vector<std::string> calls;  // "<mi> <operation> <class> <args>"
    CMPIrc answer = CMPI_RC_OK;
    CMPIType lastKeyType = CMPI_null;
};
FakeWorld* world = nullptr;

std::string text(const char* s) {
    return s == nullptr ? "NULL" : s;
}

std::string list(const char** properties) {
    if (properties == nullptr) {
        return "*";
    }
    std::string joined;
    for (const char** p = properties; *p != nullptr; ++p) {
        joined += std::string(joined.empty() ? "" : ",") + *p;
    }
    return "[" + joined + "]";
}

void record(const void* mi, const std::string& what, const CMPIObjectPath* op,
            const std::string& args = "") {
    const char* name = static_cast<const char*>(static_cast<const CMPIInstanceMI*>(mi)->hdl);
    world->calls.push_back(std::string(name) + " " + what + " " + cimbroker::classNameOf(op) +
                           (args.empty() ? "" : " " + args));
}

// Every fake returns one path of the class it was asked about, keyed Id="<class>".
CMPIStatus answer(const CMPIResult* rslt, const CMPIObjectPath* op, bool asInstance) {
    const std::string cls = cimbroker::classNameOf(op);
    CMPIObjectPath* path =
        world->broker->eft->newObjectPath(world->broker, kNamespace, cls.c_str(), nullptr);
    path->ft->addKey(path, "Id", reinterpret_cast<const CMPIValue*>(cls.c_str()), CMPI_chars);
    if (asInstance) {
        rslt->ft->returnInstance(rslt,
                                 world->broker->eft->newInstance(world->broker, path, nullptr));
    } else {
        rslt->ft->returnObjectPath(rslt, path);
    }
    rslt->ft->returnDone(rslt);
    return CMPIStatus{world->answer, nullptr};
}

CMPIStatus enumNames(CMPIInstanceMI* mi, const CMPIContext*, const CMPIResult* r,
                     const CMPIObjectPath* op) {
    record(mi, "enumNames", op);
    return answer(r, op, false);
}
CMPIStatus enumInstances(CMPIInstanceMI* mi, const CMPIContext*, const CMPIResult* r,
                         const CMPIObjectPath* op, const char** props) {
    record(mi, "enumInstances", op, list(props));
    return answer(r, op, true);
}
CMPIStatus getInstance(CMPIInstanceMI* mi, const CMPIContext*, const CMPIResult* r,
                       const CMPIObjectPath* op, const char** props) {
    record(mi, "getInstance", op, list(props));
    world->lastKeyType = op->ft->getKey(op, "Num", nullptr).type;
    return answer(r, op, true);
}
CMPIStatus createInstance(CMPIInstanceMI* mi, const CMPIContext*, const CMPIResult*,
                          const CMPIObjectPath* op, const CMPIInstance*) {
    record(mi, "createInstance", op);
    return {CMPI_RC_ERR_NOT_SUPPORTED, nullptr};
}

CMPIStatus associators(CMPIAssociationMI* mi, const CMPIContext*, const CMPIResult* r,
                       const CMPIObjectPath* op, const char* assocClass, const char* resultClass,
                       const char* role, const char* resultRole, const char** props) {
    record(mi, "associators", op,
           text(assocClass) + "," + text(resultClass) + "," + text(role) + "," + text(resultRole) +
               "," + list(props));
    return answer(r, op, true);
}
CMPIStatus associatorNames(CMPIAssociationMI* mi, const CMPIContext*, const CMPIResult* r,
                           const CMPIObjectPath* op, const char* assocClass,
                           const char* resultClass, const char* role, const char* resultRole) {
    record(mi, "associatorNames", op,
           text(assocClass) + "," + text(resultClass) + "," + text(role) + "," + text(resultRole));
    return answer(r, op, false);
}
CMPIStatus references(CMPIAssociationMI* mi, const CMPIContext*, const CMPIResult* r,
                      const CMPIObjectPath* op, const char* resultClass, const char* role,
                      const char** props) {
    record(mi, "references", op, text(resultClass) + "," + text(role) + "," + list(props));
    return answer(r, op, true);
}
CMPIStatus referenceNames(CMPIAssociationMI* mi, const CMPIContext*, const CMPIResult* r,
                          const CMPIObjectPath* op, const char* resultClass, const char* role) {
    record(mi, "referenceNames", op, text(resultClass) + "," + text(role));
    return answer(r, op, false);
}

// These tests route nothing to cleanup, modifyInstance, deleteInstance or execQuery (a query is
// answered from enumerateInstances): those slots stay empty.
CMPIInstanceMIFT instanceTable = {100,       100,           "fake",      nullptr,
                                  enumNames, enumInstances, getInstance, createInstance,
                                  nullptr,   nullptr,       nullptr};
CMPIAssociationMIFT associationTable = {
    100, 100, "fake", nullptr, associators, associatorNames, references, referenceNames};

char nameA[] = "A";
char nameB[] = "B";
char nameL[] = "L";
CMPIInstanceMI miA = {nameA, &instanceTable};
CMPIInstanceMI miB = {nameB, &instanceTable};
CMPIAssociationMI miL = {nameL, &associationTable};

class RouterTest : public ::testing::Test {
  protected:
    RouterTest()
        : schema_(cimhosttest::testSchema()), router_(runtime_, schema_, bindTestProviders()) {
        world_.broker = runtime_.broker();
        world = &world_;
    }
    ~RouterTest() override { world = nullptr; }

    // The router learns its targets when made, so the registry is filled first.
    const ProviderRegistry& bindTestProviders() {
        Provider& a = registry_.addProvider("A");
        a.instanceMI = &miA;
        Provider& b = registry_.addProvider("B");
        b.instanceMI = &miB;
        Provider& l = registry_.addProvider("L");
        l.associationMI = &miL;
        registry_.bind({kNamespace, "T_Sub1", &a, true, false});
        registry_.bind({kNamespace, "T_Other", &a, true, false});
        registry_.bind({kNamespace, "T_Sub2", &b, true, false});
        // One association provider registered for both association classes.
        registry_.bind({kNamespace, "T_Link", &l, false, true});
        registry_.bind({kNamespace, "T_SubLink", &l, false, true});
        return registry_;
    }

    Reply route(const Operation& op) {
        cimbroker::RequestScope scope(runtime_);
        Reply reply = router_.route(op, scope.context());
        // The objects of the scope end here; keep the class names the tests look at.
        names_.clear();
        for (const cimmof::ClassDecl* cls : reply.classes) {
            names_.push_back(cls->name);
        }
        for (const CMPIObjectPath* p : reply.paths) {
            names_.push_back(cimbroker::classNameOf(p));
        }
        for (const CMPIInstance* i : reply.instances) {
            names_.push_back(cimbroker::classNameOf(i->ft->getObjectPath(i, nullptr)));
        }
        return reply;
    }

    static Operation operation(OperationKind kind, const std::string& className = "") {
        Operation op;
        op.kind = kind;
        op.method = operationName(kind);
        op.nameSpace = kNamespace;
        op.className = className;
        return op;
    }

    static ObjectName name(const std::string& cls, KeyValue::Type type, const std::string& key,
                           const std::string& value) {
        KeyValue v;
        v.type = type;
        v.text = value;
        return ObjectName{"", "", cls, {KeyBinding{key, v}}};
    }

    cimbroker::Runtime runtime_;
    NamespaceSchema schema_;
    ProviderRegistry registry_;
    Router router_;
    FakeWorld world_;
    std::vector<std::string> names_;
};

TEST_F(RouterTest, EnumeratingASuperclassAsksEachSubclassProviderWithItsOwnClass) {
    Reply reply = route(operation(OperationKind::EnumerateInstanceNames, "t_base"));
    ASSERT_TRUE(reply.status.isOk()) << reply.status.description();
    EXPECT_EQ(world_.calls, (std::vector<std::string>{"A enumNames T_Sub1", "B enumNames T_Sub2"}));
    EXPECT_EQ(names_, (std::vector<std::string>{"T_Sub1", "T_Sub2"}));

    world_.calls.clear();
    Operation op = operation(OperationKind::EnumerateInstances, "T_Base");
    op.deepInheritance = false;
    op.propertyList = std::vector<std::string>{"Id", "Shared"};
    reply = route(op);
    EXPECT_EQ(world_.calls, (std::vector<std::string>{"A enumInstances T_Sub1 [Id,Shared]",
                                                      "B enumInstances T_Sub2 [Id,Shared]"}));
    EXPECT_EQ(reply.onlyPropertiesOf, "T_Base");

    world_.calls.clear();
    reply = route(operation(OperationKind::EnumerateInstanceNames, "T_Sub2"));
    EXPECT_EQ(world_.calls, std::vector<std::string>{"B enumNames T_Sub2"});
}

TEST_F(RouterTest, AssociationRequestsReachEachAssociationProviderOnceWithTheFiltersAsGiven) {
    Operation op = operation(OperationKind::Associators);
    op.objectName = name("T_Sub1", KeyValue::Type::String, "Id", "x");
    op.assocClass = "t_link";
    op.resultClass = "T_Other";
    op.role = "left";
    op.resultRole = "RIGHT";
    op.propertyList = std::vector<std::string>{};
    Reply reply = route(op);
    ASSERT_TRUE(reply.status.isOk()) << reply.status.description();
    EXPECT_EQ(world_.calls,
              std::vector<std::string>{"L associators T_Sub1 t_link,T_Other,left,RIGHT,[]"});

    const struct {
        OperationKind kind;
        const char* call;
    } unfiltered[] = {
        {OperationKind::AssociatorNames, "L associatorNames T_Other NULL,NULL,NULL,NULL"},
        {OperationKind::References, "L references T_Other NULL,NULL,*"},
        {OperationKind::ReferenceNames, "L referenceNames T_Other NULL,NULL"},
    };
    for (const auto& c : unfiltered) {
        world_.calls.clear();
        Operation plain = operation(c.kind);
        plain.objectName = name("T_Other", KeyValue::Type::Numeric, "Num", "1");
        reply = route(plain);
        EXPECT_EQ(world_.calls, std::vector<std::string>{c.call});
        EXPECT_EQ(names_, std::vector<std::string>{"T_Other"});
    }

    // A narrower association class still reaches its provider; a class that is no association
    // reaches none.
    for (const char* assocClass : {"T_SubLink", "T_Other"}) {
        world_.calls.clear();
        op.assocClass = assocClass;
        op.objectName = name("T_Sub2", KeyValue::Type::String, "Id", "x");
        reply = route(op);
        EXPECT_TRUE(reply.status.isOk());
        EXPECT_EQ(world_.calls.size(), assocClass == std::string("T_SubLink") ? 1u : 0u)
            << assocClass;
    }
}

TEST_F(RouterTest, AssociationRequestsOnAClassAnswerClassesFromTheSchemaAlone) {
    using K = OperationKind;
    const struct {
        K kind;
        const char* source;
        const char* assocClass;
        const char* resultClass;
        const char* role;
        const char* resultRole;
        std::vector<std::string> classes;
    } cases[] = {
        {K::Associators, "T_Sub1", "", "", "", "", {"T_Other"}},  // through both links, once
        {K::AssociatorNames, "t_other", "", "T_BASE", "right", "LEFT", {"T_Base"}},
        {K::AssociatorNames, "T_Other", "", "T_Sub1", "", "", {}},  // T_Base is no T_Sub1
        {K::AssociatorNames, "T_Other", "", "", "Left", "", {}},    // T_Other fills Right only
        {K::AssociatorNames, "T_Other", "", "", "", "Right", {}},
        {K::AssociatorNames, "T_Other", "T_SubLink", "", "", "", {"T_Base"}},
        {K::AssociatorNames, "T_Other", "T_Base", "", "", "", {}},
        {K::AssociatorNames, "T_Link", "", "", "", "", {}},  // nothing references an association
        {K::References, "T_Sub2", "", "", "", "", {"T_Link", "T_SubLink"}},
        {K::ReferenceNames, "T_Sub2", "", "T_SubLink", "left", "", {"T_SubLink"}},
        {K::ReferenceNames, "T_Other", "", "", "left", "", {}},
    };
    for (const auto& c : cases) {
        Operation op = operation(c.kind, c.source);
        op.assocClass = c.assocClass;
        op.resultClass = c.resultClass;
        op.role = c.role;
        op.resultRole = c.resultRole;
        const Reply reply = route(op);
        ASSERT_TRUE(reply.status.isOk()) << reply.status.description();
        EXPECT_EQ(names_, c.classes) << operationName(c.kind) << " " << c.source << " "
                                     << c.assocClass << c.resultClass << c.role << c.resultRole;
    }
    EXPECT_TRUE(world_.calls.empty());
}

TEST_F(RouterTest, TypesRequestKeysFromTheSchema) {
    Operation op = operation(OperationKind::GetInstance);
    op.objectName = name("T_Other", KeyValue::Type::Numeric, "Num", "65535");
    Reply reply = route(op);
    ASSERT_TRUE(reply.status.isOk()) << reply.status.description();
    EXPECT_EQ(world_.lastKeyType, CMPI_uint16);
    EXPECT_EQ(names_, std::vector<std::string>{"T_Other"});

    op.objectName = name("T_Other", KeyValue::Type::Numeric, "Num", "65536");
    reply = route(op);
    EXPECT_EQ(reply.status.code(), CimCode::InvalidParameter);
    EXPECT_NE(reply.status.description().find("Num"), std::string::npos);
}

// An unknown namespace or class, GetInstance of a class no provider serves, GetClass of an unknown
// class, a query that does not parse, another query language and extrinsic methods are refused
// as e2e.wbemcli_instances and e2e.raw_requests show.
TEST_F(RouterTest, AnswersWhatNoProviderCanWithTheRightCimError) {
    struct Case {
        const char* what;
        Operation op;
        CimCode code;
        const char* mentions = "";
    };
    Operation getUnknown = operation(OperationKind::GetInstance);
    getUnknown.objectName = name("T_Nothing", KeyValue::Type::String, "Id", "x");
    Operation classLevel = operation(OperationKind::References, "T_Nothing");
    Operation classLevelFilter = operation(OperationKind::AssociatorNames, "T_Sub1");
    classLevelFilter.resultClass = "T_Nothing";
    Operation unknownAssoc = operation(OperationKind::AssociatorNames);
    unknownAssoc.objectName = name("T_Sub1", KeyValue::Type::String, "Id", "x");
    unknownAssoc.assocClass = "T_Nothing";
    Operation unknownSource = operation(OperationKind::ReferenceNames);
    unknownSource.objectName = name("T_Nothing", KeyValue::Type::String, "Id", "x");
    Operation query = operation(OperationKind::ExecQuery);
    query.queryLanguage = "WQL";
    query.query = "select Id from T_Sub2 where Id = 'from'";
    Operation unknownProperty = query;
    unknownProperty.query = "select Id from T_Sub2 where Nope = 1";
    Operation unknownQueryClass = query;
    unknownQueryClass.query = "select * from T_Nothing";
    const Case cases[] = {
        {"get unknown", getUnknown, CimCode::InvalidClass},
        {"class-level references of an unknown class", classLevel, CimCode::InvalidClass},
        {"class-level unknown result class", classLevelFilter, CimCode::InvalidParameter},
        {"unknown association class", unknownAssoc, CimCode::InvalidParameter},
        {"unknown source", unknownSource, CimCode::InvalidClass},
        {"query over the class's instances", query, CimCode::Ok},
        {"query of an unknown property", unknownProperty, CimCode::InvalidQuery,
         "has no property Nope at position 29"},
        {"query of an unknown class", unknownQueryClass, CimCode::InvalidQuery,
         "class T_Nothing does not exist at position 15"},
        {"subclasses of unknown", operation(OperationKind::EnumerateClassNames, "T_Nothing"),
         CimCode::InvalidClass},
    };
    for (const Case& c : cases) {
        const Status status = route(c.op).status;
        EXPECT_EQ(status.code(), c.code) << c.what;
        EXPECT_NE(status.description().find(c.mentions), std::string::npos)
            << c.what << ": " << status.description();
    }
    EXPECT_EQ(world_.calls, std::vector<std::string>{"B enumInstances T_Sub2 *"});
}

// A CMPI code CIM shares is passed on as it is; any other is a failure that names it.
TEST_F(RouterTest, PassesProviderFailuresOnAndDropsPartialResults) {
    const struct {
        CMPIrc rc;
        CimCode code;
        const char* description;
    } cases[] = {
        {CMPI_RC_ERR_ACCESS_DENIED, CimCode::AccessDenied, ""},
        {CMPI_RC_ERR_FAILED, CimCode::Failed, ""},
        {CMPI_RC_ERR_NOT_FOUND, CimCode::NotFound, ""},
        {CMPI_RC_ERR_METHOD_NOT_FOUND, CimCode::MethodNotFound, ""},
        {CMPI_RC_DO_NOT_UNLOAD, CimCode::Failed, "provider returned CMPI code 50"},
        {CMPI_RC_NEVER_UNLOAD, CimCode::Failed, "provider returned CMPI code 51"},
        {CMPI_RC_ERR_INVALID_HANDLE, CimCode::Failed, "provider returned CMPI code 60"},
        {CMPI_RC_ERROR_SYSTEM, CimCode::Failed, "provider returned CMPI code 100"},
    };
    for (const auto& c : cases) {
        world_.answer = c.rc;
        Reply reply = route(operation(OperationKind::EnumerateInstanceNames, "T_Base"));
        EXPECT_EQ(reply.status.code(), c.code) << c.rc;
        EXPECT_EQ(reply.status.description(), c.description) << c.rc;
        EXPECT_TRUE(names_.empty()) << c.rc;
        // The first provider's failure ends the request.
        EXPECT_EQ(world_.calls.back(), "A enumNames T_Sub1");
    }
    world_.answer = CMPI_RC_OK;
    Operation create = operation(OperationKind::CreateInstance);
    create.instance =
        InstanceValue{"T_Sub1", {PropertyValue{"Level", "uint16", false, false, {"3"}, nullptr}}};
    EXPECT_EQ(route(create).status.code(), CimCode::NotSupported);
    EXPECT_EQ(world_.calls.back(), "A createInstance T_Sub1");
    create.instance->properties.front().values = {"lots"};
    EXPECT_EQ(route(create).status.code(), CimCode::InvalidParameter);
}

TEST_F(RouterTest, ListsClassesFromTheSchema) {
    struct Case {
        std::string className;
        bool deep;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"", false, {"T_Base", "T_Other", "T_Link"}},
        {"", true, {"T_Base", "T_Sub1", "T_Sub2", "T_Other", "T_Link", "T_SubLink"}},
        {"t_base", false, {"T_Sub1", "T_Sub2"}},
        {"T_Sub1", true, {}},
    };
    for (const Case& c : cases) {
        Operation op = operation(OperationKind::EnumerateClassNames, c.className);
        op.deepInheritance = c.deep;
        route(op);
        EXPECT_EQ(names_, c.names) << c.className << " deep=" << c.deep;
    }
}

}  // namespace
}  // namespace cimhost
