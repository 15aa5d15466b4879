// CIM-XML answers built from broker-made objects: values typed as the schema declares them,
// paths completed, the client's PropertyList applied, errors escaped. The element each operation
// answers with, empty answers included, shows in e2e.raw_requests and the wbemcli cases.
#include <gtest/gtest.h>

#include <string>

#include "broker/broker_runtime.h"
#include "cimom/cim/status.h"
#include "cimom/wire/response_encoder.h"
#include "tests/cimom/cim/host_test_schema.h"
#include "xml_check.h"

namespace cimhost {
namespace {

using cimhosttest::kNamespace;

class ResponseEncoderTest : public ::testing::Test {
  protected:
    ResponseEncoderTest() : schema_(cimhosttest::testSchema()), scope_(runtime_) {}

    const CMPIBroker* broker() { return runtime_.broker(); }

    CMPIObjectPath* path(const char* cls, const char* nameSpace = kNamespace) {
        return broker()->eft->newObjectPath(broker(), nameSpace, cls, nullptr);
    }

    // A T_Sub1 instance with key Id="a<1>" whose properties are set by `fill`.
    template <class Fill>
    CMPIInstance* sub1(Fill fill) {
        CMPIObjectPath* p = path("T_Sub1");
        p->ft->addKey(p, "Id", reinterpret_cast<const CMPIValue*>("a<1>"), CMPI_chars);
        CMPIInstance* inst = broker()->eft->newInstance(broker(), p, nullptr);
        inst->ft->setProperty(inst, "Id", reinterpret_cast<const CMPIValue*>("a<1>"), CMPI_chars);
        fill(inst);
        return inst;
    }

    std::string encode(const Operation& op, const Reply& reply) {
        const std::string xml = encodeResponse(op, reply, schema_, "sp.example:5988");
        const XmlReadResult read = cimhosttest::readsAsXml(xml);
        EXPECT_TRUE(read.ok) << read.error << "\n" << xml;
        return xml;
    }

    static Operation operation(OperationKind kind) {
        Operation op;
        op.kind = kind;
        op.method = operationName(kind);
        op.messageId = "5";
        op.nameSpace = kNamespace;
        return op;
    }

    cimbroker::Runtime runtime_;
    NamespaceSchema schema_;
    cimbroker::RequestScope scope_;
};

// Each of `present` occurs in `xml`, none of `absent` does.
void expectFragments(const std::string& xml, std::initializer_list<std::string> present,
                     std::initializer_list<std::string> absent = {}) {
    for (const std::string& fragment : present) {
        EXPECT_NE(xml.find(fragment), std::string::npos) << fragment << "\n" << xml;
    }
    for (const std::string& fragment : absent) {
        EXPECT_EQ(xml.find(fragment), std::string::npos) << fragment << "\n" << xml;
    }
}

void setUint32(CMPIInstance* inst, const char* name, CMPIUint32 v) {
    CMPIValue value{};
    value.uint32 = v;
    inst->ft->setProperty(inst, name, &value, CMPI_uint32);
}

TEST_F(ResponseEncoderTest, TypesValuesAsTheSchemaDeclaresThem) {
    CMPIInstance* inst = sub1([this](CMPIInstance* i) {
        setUint32(i, "Level", 7);  // declared uint16
        i->ft->setProperty(i, "Flag", reinterpret_cast<const CMPIValue*>("true"), CMPI_chars);
        setUint32(i, "Small", 300);  // too big for the declared uint8: keeps its own type
        CMPIValue shared{};
        shared.uint8 = 5;
        i->ft->setProperty(i, "Shared", &shared, CMPI_uint8);  // declared string
        i->ft->setProperty(i, "Undeclared", reinterpret_cast<const CMPIValue*>("u"), CMPI_chars);
        CMPIValue codes{};
        codes.array = broker()->eft->newArray(broker(), 2, CMPI_uint32, nullptr);
        CMPIValue element{};
        element.uint32 = 14;
        codes.array->ft->setElementAt(codes.array, 0, &element, CMPI_uint32);
        i->ft->setProperty(i, "Codes", &codes, CMPI_uint32A);  // declared uint16[]
    });
    Reply reply;
    reply.instances.push_back(inst);
    expectFragments(encode(operation(OperationKind::GetInstance), reply),
                    {"<INSTANCE CLASSNAME=\"T_Sub1\">",
                     "<PROPERTY NAME=\"Id\" TYPE=\"string\"><VALUE>a&lt;1&gt;</VALUE></PROPERTY>",
                     "<PROPERTY NAME=\"Level\" TYPE=\"uint16\"><VALUE>7</VALUE></PROPERTY>",
                     "<PROPERTY NAME=\"Flag\" TYPE=\"boolean\"><VALUE>TRUE</VALUE></PROPERTY>",
                     "<PROPERTY NAME=\"Small\" TYPE=\"uint32\"><VALUE>300</VALUE></PROPERTY>",
                     "<PROPERTY NAME=\"Shared\" TYPE=\"string\"><VALUE>5</VALUE></PROPERTY>",
                     "<PROPERTY NAME=\"Undeclared\" TYPE=\"string\"><VALUE>u</VALUE></PROPERTY>",
                     "<PROPERTY.ARRAY NAME=\"Codes\" TYPE=\"uint16\"><VALUE.ARRAY><VALUE>14</VALUE>"
                     "<VALUE.NULL/></VALUE.ARRAY></PROPERTY.ARRAY>",
                     "<IRETURNVALUE><INSTANCE"});
}

TEST_F(ResponseEncoderTest, CompletesReferencesAndKeepsKeysWhenThePropertyListTrims) {
    CMPIObjectPath* left = path("T_Sub1", "");
    left->ft->addKey(left, "Id", reinterpret_cast<const CMPIValue*>("L"), CMPI_chars);
    CMPIObjectPath* right = path("T_Other");
    CMPIValue num{};
    num.uint64 = 3;  // declared uint16; the key stays numeric
    right->ft->addKey(right, "Num", &num, CMPI_uint64);
    CMPIObjectPath* link = path("T_Link");
    CMPIValue ref{};
    ref.ref = left;
    link->ft->addKey(link, "Left", &ref, CMPI_ref);
    ref.ref = right;
    link->ft->addKey(link, "Right", &ref, CMPI_ref);
    CMPIInstance* inst = broker()->eft->newInstance(broker(), link, nullptr);
    ref.ref = left;
    inst->ft->setProperty(inst, "Left", &ref, CMPI_ref);
    ref.ref = right;
    inst->ft->setProperty(inst, "Right", &ref, CMPI_ref);

    Operation op = operation(OperationKind::EnumerateInstances);
    op.propertyList = std::vector<std::string>{"right"};
    Reply reply;
    reply.instances.push_back(inst);
    // References stay as the provider made them: no namespace, or a namespace and no host. The
    // name of the instance keeps both keys; the instance itself only what was asked for.
    expectFragments(
        encode(op, reply),
        {"<KEYBINDING NAME=\"Right\"><VALUE.REFERENCE><LOCALINSTANCEPATH><LOCALNAMESPACEPATH>"
         "<NAMESPACE NAME=\"root\"/><NAMESPACE NAME=\"test\"/></LOCALNAMESPACEPATH>"
         "<INSTANCENAME CLASSNAME=\"T_Other\">",
         "<VALUE.NAMEDINSTANCE><INSTANCENAME CLASSNAME=\"T_Link\"><KEYBINDING NAME=\"Left\">"
         "<VALUE.REFERENCE><INSTANCENAME CLASSNAME=\"T_Sub1\"><KEYBINDING NAME=\"Id\"><KEYVALUE "
         "VALUETYPE=\"string\">L</KEYVALUE></KEYBINDING></INSTANCENAME></VALUE.REFERENCE>",
         "<KEYBINDING NAME=\"Num\"><KEYVALUE VALUETYPE=\"numeric\">3</KEYVALUE>",
         "<PROPERTY.REFERENCE NAME=\"Right\" REFERENCECLASS=\"T_Other\">"},
        {"<PROPERTY.REFERENCE NAME=\"Left\""});
}

// What a listener reads back from an indication: the instance value escaped once more inside
// a string VALUE, so its own markup and escapes survive the outer document.
TEST_F(ResponseEncoderTest, WritesInstanceValuesAsEmbeddedInstances) {
    CMPIObjectPath* otherPath = path("T_Other");
    CMPIInstance* other = broker()->eft->newInstance(broker(), otherPath, nullptr);
    CMPIValue num{};
    num.uint16 = 3;
    other->ft->setProperty(other, "Num", &num, CMPI_uint16);
    CMPIInstance* inst = sub1([this, other](CMPIInstance* i) {
        CMPIValue value{};
        value.inst = sub1([](CMPIInstance*) {});
        i->ft->setProperty(i, "Shared", &value, CMPI_instance);  // declared string
        value.array = broker()->eft->newArray(broker(), 2, CMPI_instance, nullptr);
        CMPIValue element{};
        element.inst = other;
        value.array->ft->setElementAt(value.array, 0, &element, CMPI_instance);
        i->ft->setProperty(i, "Many", &value, CMPI_instanceA);
        i->ft->setProperty(i, "Unset", nullptr, CMPI_instance);
    });
    Reply reply;
    reply.instances.push_back(inst);
    expectFragments(
        encode(operation(OperationKind::GetInstance), reply),
        {"<PROPERTY NAME=\"Shared\" TYPE=\"string\" EmbeddedObject=\"instance\"><VALUE>"
         "&lt;INSTANCE CLASSNAME=&quot;T_Sub1&quot;&gt;&lt;PROPERTY NAME=&quot;Id&quot; "
         "TYPE=&quot;string&quot;&gt;&lt;VALUE&gt;a&amp;lt;1&amp;gt;&lt;/VALUE&gt;"
         "&lt;/PROPERTY&gt;&lt;/INSTANCE&gt;</VALUE></PROPERTY>",
         "<PROPERTY.ARRAY NAME=\"Many\" TYPE=\"string\" EmbeddedObject=\"instance\">"
         "<VALUE.ARRAY><VALUE>&lt;INSTANCE CLASSNAME=&quot;T_Other&quot;&gt;"
         "&lt;PROPERTY NAME=&quot;Num&quot; TYPE=&quot;uint16&quot;&gt;&lt;VALUE&gt;3"
         "&lt;/VALUE&gt;&lt;/PROPERTY&gt;&lt;/INSTANCE&gt;</VALUE><VALUE.NULL/></VALUE.ARRAY>"
         "</PROPERTY.ARRAY>",
         "<PROPERTY NAME=\"Unset\" TYPE=\"string\" EmbeddedObject=\"instance\"/>"});
}

TEST_F(ResponseEncoderTest, DeepInheritanceOffShowsOnlyTheRequestedClassesProperties) {
    CMPIInstance* inst = sub1([](CMPIInstance* i) { setUint32(i, "Level", 1); });
    Reply reply;
    reply.instances.push_back(inst);
    reply.onlyPropertiesOf = "T_Base";
    expectFragments(encode(operation(OperationKind::EnumerateInstances), reply), {"NAME=\"Id\""},
                    {"NAME=\"Level\""});
}

TEST_F(ResponseEncoderTest, WritesClassesFromTheSchema) {
    Operation op = operation(OperationKind::GetClass);
    op.localOnly = false;
    op.includeQualifiers = true;
    op.includeClassOrigin = true;
    Reply reply;
    reply.classes.push_back(schema_.classes.find("T_Sub1"));
    expectFragments(
        encode(op, reply),
        {"<CLASS NAME=\"T_Sub1\" SUPERCLASS=\"T_Base\">",
         "<PROPERTY NAME=\"Id\" TYPE=\"string\" CLASSORIGIN=\"T_Base\" PROPAGATED=\"true\">"
         "<QUALIFIER NAME=\"Key\" TYPE=\"boolean\"><VALUE>TRUE</VALUE></QUALIFIER>",
         "<PROPERTY.ARRAY NAME=\"Codes\" TYPE=\"uint16\" CLASSORIGIN=\"T_Sub1\"/>",
         "<METHOD NAME=\"Method1\" TYPE=\"uint32\" CLASSORIGIN=\"T_Base\" PROPAGATED=\"true\">"
         "<PARAMETER NAME=\"In\" TYPE=\"string\"/></METHOD>"});
    op.localOnly = true;
    op.propertyList = std::vector<std::string>{"Level"};
    expectFragments(encode(op, reply), {"NAME=\"Level\""},
                    {"NAME=\"Id\"", "NAME=\"Codes\"", "Method1"});

    reply.classes.front() = schema_.classes.find("T_Base");
    op.includeQualifiers = true;
    op.propertyList.reset();
    expectFragments(encode(op, reply), {"<QUALIFIER NAME=\"Description\" TYPE=\"string\"><VALUE>"
                                        "The base &amp; root.</VALUE></QUALIFIER>"});
}

// Each declaration carries its default as the MOF gives it, scalar or array. Boolean and plain
// string defaults, and NULL as no default, show in e2e.raw_requests (qualifier_*).
TEST(QualifierDeclarations, CarryTheirDefaultsAsDeclared) {
    NamespaceSchema schema;
    ASSERT_TRUE(NamespaceSchema::fromText(R"(
Qualifier Count : uint32 = 31, Scope(property);
Qualifier Ratio : real64 = -1.5, Scope(property);
Qualifier Letter : char16 = 'x', Scope(property);
Qualifier Text : string = "a<b", Scope(any);
Qualifier Codes : uint8[] = {1, 2}, Scope(property);
Qualifier Empty : string[] = {}, Scope(property);
)",
                                          "q.mof", "root/q", &schema)
                    .ok());
    Operation op;
    op.kind = OperationKind::EnumerateQualifiers;
    op.method = "EnumerateQualifiers";
    Reply reply;
    for (const cimmof::QualifierType& type : schema.qualifierTypes) {
        reply.qualifierTypes.push_back(&type);
    }
    const std::string xml = encodeResponse(op, reply, schema, "localhost");
    EXPECT_TRUE(cimhosttest::readsAsXml(xml).ok) << xml;
    expectFragments(xml,
                    {"\"/><VALUE>31</VALUE></QUALIFIER.DECLARATION>",
                     "\"/><VALUE>-1.5</VALUE></QUALIFIER.DECLARATION>",
                     "\"/><VALUE>x</VALUE></QUALIFIER.DECLARATION>",
                     "\"/><VALUE>a&lt;b</VALUE></QUALIFIER.DECLARATION>",
                     "\"/><VALUE.ARRAY><VALUE>1</VALUE><VALUE>2</VALUE></VALUE.ARRAY>"
                     "</QUALIFIER.DECLARATION>",
                     "<QUALIFIER.DECLARATION NAME=\"Empty\" TYPE=\"string\" ISARRAY=\"true\""});
    const std::size_t empty = xml.find("NAME=\"Empty\"");
    EXPECT_NE(xml.find("<VALUE.ARRAY", empty), std::string::npos) << xml;
}

TEST(ErrorResponse, CarriesTheCodeAndAnEscapedDescription) {
    Operation op;
    op.method = "GetInstance";
    op.messageId = "9";
    expectFragments(encodeError(op, Status::notFound("no <such> \"thing\"")),
                    {"<IMETHODRESPONSE NAME=\"GetInstance\"><ERROR CODE=\"6\" "
                     "DESCRIPTION=\"no &lt;such&gt; &quot;thing&quot;\"/></IMETHODRESPONSE>"});
    op.extrinsic = true;
    const std::string xml = encodeError(op, Status::notSupported(""));
    expectFragments(xml, {"<METHODRESPONSE NAME=\"GetInstance\"><ERROR CODE=\"7\" "
                          "DESCRIPTION=\"CIM_ERR_NOT_SUPPORTED\"/>"});
    EXPECT_TRUE(cimhosttest::readsAsXml(xml).ok);
}

}  // namespace
}  // namespace cimhost
