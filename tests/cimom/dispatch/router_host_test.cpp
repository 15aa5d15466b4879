// The router over the host's own instances: association operations answered from the host's
// association instances, and changes of classes the host does not keep refused. Changes of the
// classes it keeps reach it as e2e.indication_refusals shows.
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

// Holds T_Sub1 Id="x", T_Other Num=1, and the links T_Link (x, 1) and T_SubLink (x, 2), whose
// T_Other Num=2 the host does not have. Keeps T_Other: records what it is asked to create.
class FakeHost : public HostProvider {
  public:
    Status instancesOf(const CMPIBroker* broker, const std::string& className,
                       std::vector<CMPIInstance*>& out) const override {
        if (className == "T_Sub1") {
            out.push_back(instance(broker, path(broker, "T_Sub1", "Id", "x")));
        } else if (className == "T_Other") {
            out.push_back(instance(broker, other(broker, 1)));
        } else if (className == "T_Link" || className == "T_SubLink") {
            CMPIObjectPath* link = path(broker, className.c_str(), nullptr, nullptr);
            CMPIValue left{};
            left.ref = path(broker, "T_Sub1", "Id", "x");
            CMPIValue right{};
            right.ref = other(broker, className == "T_Link" ? 1 : 2);
            link->ft->addKey(link, "Left", &left, CMPI_ref);
            link->ft->addKey(link, "Right", &right, CMPI_ref);
            CMPIInstance* made = broker->eft->newInstance(broker, link, nullptr);
            made->ft->setProperty(made, "Left", &left, CMPI_ref);
            made->ft->setProperty(made, "Right", &right, CMPI_ref);
            out.push_back(made);
        }
        return Status::ok();
    }
    bool keeps(const std::string& className) const override { return className == "T_Other"; }
    Status create(const CMPIBroker*, const InstanceValue& value, ObjectName&) const override {
        calls.push_back("create " + value.className);
        return Status::ok();
    }

    mutable std::vector<std::string> calls;

  private:
    static CMPIObjectPath* path(const CMPIBroker* broker, const char* cls, const char* key,
                                const char* value) {
        CMPIObjectPath* made = broker->eft->newObjectPath(broker, kNamespace, cls, nullptr);
        if (key != nullptr) {
            made->ft->addKey(made, key, reinterpret_cast<const CMPIValue*>(value), CMPI_chars);
        }
        return made;
    }
    static CMPIObjectPath* other(const CMPIBroker* broker, CMPIUint16 num) {
        CMPIObjectPath* made = path(broker, "T_Other", nullptr, nullptr);
        CMPIValue value{};
        value.uint16 = num;
        made->ft->addKey(made, "Num", &value, CMPI_uint16);
        return made;
    }
    static CMPIInstance* instance(const CMPIBroker* broker, CMPIObjectPath* at) {
        return broker->eft->newInstance(broker, at, nullptr);
    }
};

class RouterHostTest : public ::testing::Test {
  protected:
    // What the reply holds, as "Class" or "Class Key=Value" for T_Other.
    std::vector<std::string> route(const Operation& op, CimCode expected = CimCode::Ok) {
        cimbroker::RequestScope scope(runtime_);
        const Reply reply = router_.route(op, scope.context());
        EXPECT_EQ(reply.status.code(), expected) << reply.status.description();
        std::vector<std::string> seen;
        auto describe = [&seen](const CMPIObjectPath* p) {
            const CMPIData num = p->ft->getKey(p, "Num", nullptr);
            seen.push_back(cimbroker::classNameOf(p) + (cimbroker::holdsNoValue(num)
                                                            ? ""
                                                            : " " + cimbroker::dataToString(num)));
        };
        for (const CMPIObjectPath* p : reply.paths) {
            describe(p);
        }
        for (const CMPIInstance* i : reply.instances) {
            describe(i->ft->getObjectPath(i, nullptr));
        }
        return seen;
    }

    static Operation onObject(OperationKind kind, ObjectName source) {
        Operation op;
        op.kind = kind;
        op.method = operationName(kind);
        op.nameSpace = kNamespace;
        op.objectName = std::move(source);
        return op;
    }
    static ObjectName sub1() {
        return ObjectName{"elsewhere:5988",
                          kNamespace,
                          "t_sub1",
                          {KeyBinding{"ID", KeyValue{KeyValue::Type::String, "x", nullptr}}}};
    }
    static ObjectName other(const char* num) {
        return ObjectName{"",
                          "",
                          "T_Other",
                          {KeyBinding{"Num", KeyValue{KeyValue::Type::Numeric, num, nullptr}}}};
    }

    cimbroker::Runtime runtime_;
    const NamespaceSchema schema_ = cimhosttest::testSchema();
    const ProviderRegistry noProviders_;
    FakeHost host_;
    Router router_{runtime_, schema_, noProviders_, &host_};
};

TEST_F(RouterHostTest, ReferencesAreTheHostsAssociationInstancesThatReferToTheObject) {
    EXPECT_EQ(route(onObject(OperationKind::ReferenceNames, sub1())),
              (std::vector<std::string>{"T_Link", "T_SubLink"}));
    EXPECT_EQ(route(onObject(OperationKind::References, other("1"))),
              std::vector<std::string>{"T_Link"});
    Operation subLinks = onObject(OperationKind::References, sub1());
    subLinks.resultClass = "T_SubLink";
    EXPECT_EQ(route(subLinks), std::vector<std::string>{"T_SubLink"});
    Operation wrongRole = onObject(OperationKind::ReferenceNames, sub1());
    wrongRole.role = "Right";
    EXPECT_TRUE(route(wrongRole).empty());
    EXPECT_TRUE(route(onObject(OperationKind::ReferenceNames, other("3"))).empty());
}

TEST_F(RouterHostTest, AssociatorsAreTheOtherEndsTheFiltersAllow) {
    EXPECT_EQ(route(onObject(OperationKind::AssociatorNames, sub1())),
              (std::vector<std::string>{"T_Other 1", "T_Other 2"}));
    // Only the objects the host has come back as instances.
    EXPECT_EQ(route(onObject(OperationKind::Associators, sub1())),
              std::vector<std::string>{"T_Other 1"});
    Operation filtered = onObject(OperationKind::AssociatorNames, sub1());
    filtered.assocClass = "T_SubLink";
    filtered.role = "LEFT";
    filtered.resultRole = "right";
    filtered.resultClass = "T_Other";
    EXPECT_EQ(route(filtered), std::vector<std::string>{"T_Other 2"});
    filtered.resultRole = "Left";
    EXPECT_TRUE(route(filtered).empty());
    EXPECT_EQ(route(onObject(OperationKind::Associators, other("1"))),
              std::vector<std::string>{"T_Sub1"});
}

TEST_F(RouterHostTest, CreatingAClassTheHostDoesNotKeepIsNotSupported) {
    Operation create = onObject(OperationKind::CreateInstance, other("0"));
    create.objectName.reset();
    create.instance = InstanceValue{"T_Sub1", {}};
    route(create, CimCode::NotSupported);
    EXPECT_TRUE(host_.calls.empty());
}

}  // namespace
}  // namespace cimhost
