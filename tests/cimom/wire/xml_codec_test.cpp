// The XML side of the host: escaping, the expat reader with its refusals, and request decoding.
#include <gtest/gtest.h>

#include <string>

#include "cimom/wire/request_decoder.h"
#include "cimom/wire/value_text.h"
#include "cimom/wire/xml_event_reader.h"
#include "cimom/wire/xml_writer.h"
#include "xml_check.h"

namespace cimhost {
namespace {

using cimhosttest::readsAsXml;

TEST(EscapeXml, TurnsMarkupAndUnreadableBytesIntoSafeText) {
    struct Case {
        std::string in;
        std::string out;
    };
    // Longer than the writer's first allocation: every byte is kept as the document grows.
    const std::string block(5000, 'x');
    const Case cases[] = {
        {"plain 9119-MHE*10ABCDE", "plain 9119-MHE*10ABCDE"},
        {block + "&" + block + "&" + block + "&" + block,
         block + "&amp;" + block + "&amp;" + block + "&amp;" + block},
        {"<a href='x'>&\"</a>", "&lt;a href=&apos;x&apos;&gt;&amp;&quot;&lt;/a&gt;"},
        {"tab\tnl\ncr\r", "tab&#9;nl&#10;cr&#13;"},
        {std::string("nul\0x", 5), "nul\xEF\xBF\xBDx"},
        {"bell\x07", "bell\xEF\xBF\xBD"},
        {"caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", "caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},
        {"lone \x80 continuation", "lone \xEF\xBF\xBD continuation"},
        {"overlong \xC0\xAF", "overlong \xEF\xBF\xBD\xEF\xBF\xBD"},
        {"surrogate \xED\xA0\x80", "surrogate \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"cut \xE2\x82", "cut \xEF\xBF\xBD\xEF\xBF\xBD"},
        {"nonchar \xEF\xBF\xBF", "nonchar \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"beyond \xF4\x90\x80\x80", "beyond \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    for (const Case& c : cases) {
        XmlWriter out;
        out.open("V").text(c.in).close();
        const std::string written = out.finish();
        EXPECT_NE(written.find("<V>" + c.out + "</V>"), std::string::npos) << c.in.substr(0, 40);
        // Whatever went in, the result reads back as XML text.
        const XmlReadResult read = readsAsXml(written);
        EXPECT_TRUE(read.ok) << c.in.substr(0, 40) << ": " << read.error;
    }
}

// Attributes are escaped as ErrorResponse shows; empty elements close short in every answer.
// Every request of the e2e cases is read here: character references in attribute values
// (e2e.http_framing logs one) and entity references in text (e2e.raw_requests, query_where_*).
// Entity expansion and external entities are refused as e2e.raw_requests shows (doctype_*).
TEST(ReadXml, RefusesWhatCouldCostMoreThanTheBody) {
    std::string deep;
    for (int i = 0; i <= kMaxXmlDepth; ++i) {
        deep += "<A>";
    }
    const char* const refused[] = {
        "<!DOCTYPE A><A/>",
        "<!DOCTYPE A [<!ENTITY % p SYSTEM \"http://example.invalid/x\"> %p;]><A/>",
        "<A>&undeclared;</A>",
        "<A><B></A>",
        "",
        "<A/><B/>",
    };
    for (const char* text : refused) {
        const XmlReadResult read = readsAsXml(text);
        EXPECT_FALSE(read.ok) << text;
        EXPECT_FALSE(read.error.empty()) << text;
    }
    EXPECT_FALSE(readsAsXml(deep).ok);
    EXPECT_NE(readsAsXml("<!DOCTYPE A><A/>").error.find("document type"), std::string::npos);
}

TEST(ReadXml, BoundsAttributesAndTextOfOneElement) {
    std::string attributes;
    for (std::size_t i = 0; i < kMaxXmlAttributes; ++i) {
        attributes += " a" + std::to_string(i) + "=\"\"";
    }
    const std::string atLimit(kMaxXmlAttributeLength, 'x');
    const std::string textAtLimit(kMaxXmlTextLength, 't');
    struct Case {
        std::string document;
        bool accepted;
    };
    const Case cases[] = {
        {"<A" + attributes + "/>", true},
        {"<A" + attributes + " z=\"\"/>", false},
        {"<A V=\"" + atLimit + "\"/>", true},
        {"<A V=\"" + atLimit + "x\"/>", false},
        {"<A " + atLimit + "x=\"\"/>", false},
        {"<A>" + textAtLimit + "</A>", true},
        {"<A>" + textAtLimit + "&amp;</A>", false},
        {"<A>" + textAtLimit.substr(1) + "<B/>" + "tt</A>", false},
    };
    for (const Case& c : cases) {
        const XmlReadResult read = readsAsXml(c.document);
        EXPECT_EQ(read.ok, c.accepted) << c.document.substr(0, 60) << ": " << read.error;
    }
    // A refusal leaves this thread's parser fit for the next document.
    EXPECT_TRUE(readsAsXml("<A X=\"1\"/>").ok);
}

// A request envelope around `call`.
std::string message(const std::string& call) {
    return "<?xml version=\"1.0\"?><CIM CIMVERSION=\"2.0\" DTDVERSION=\"2.0\"><MESSAGE ID=\"77\" "
           "PROTOCOLVERSION=\"1.0\"><SIMPLEREQ>" +
           call + "</SIMPLEREQ></MESSAGE></CIM>";
}

std::string intrinsic(const std::string& method, const std::string& params) {
    return message("<IMETHODCALL NAME=\"" + method +
                   "\"><LOCALNAMESPACEPATH><NAMESPACE NAME=\"root\"/><NAMESPACE "
                   "NAME=\"orvcim\"/></LOCALNAMESPACEPATH>" +
                   params + "</IMETHODCALL>");
}

std::string param(const std::string& name, const std::string& value) {
    return "<IPARAMVALUE NAME=\"" + name + "\">" + value + "</IPARAMVALUE>";
}

const char kCecName[] =
    "<INSTANCENAME CLASSNAME=\"Vesk_CEC\"><KEYBINDING NAME=\"Name\"><KEYVALUE "
    "VALUETYPE=\"string\">9119-MHE*10ABCDE</KEYVALUE></KEYBINDING></INSTANCENAME>";

// Key and property values of every integer type go through this one parser.
TEST(ParseInteger, TakesWholeDecimalsWithinTheTypesRangeOnly) {
    const struct {
        const char* text;
        CMPIType type;
        const char* stored;  // nullptr: refused
    } cases[] = {
        {"255", CMPI_uint8, "255"},
        {"256", CMPI_uint8, nullptr},
        {"-1", CMPI_uint64, nullptr},
        {" -1", CMPI_uint32, nullptr},
        {"-128", CMPI_sint8, "-128"},
        {"-129", CMPI_sint8, nullptr},
        {"+7", CMPI_sint16, "7"},
        {"7x", CMPI_uint16, nullptr},
        {"", CMPI_sint32, nullptr},
        {"9223372036854775808", CMPI_sint64, nullptr},
        {"18446744073709551615", CMPI_uint64, "18446744073709551615"},
    };
    for (const auto& c : cases) {
        CMPIData data{c.type, CMPI_goodValue, {}};
        const bool parsed = parseInteger(c.text, c.type, &data.value);
        EXPECT_EQ(parsed, c.stored != nullptr) << c.text;
        if (parsed && c.stored != nullptr) {
            EXPECT_EQ(scalarText(data, "")->text.view(), c.stored) << c.text;
        }
    }
}

// Every parameter of Associators, in any order, and the message id echoed: e2e.raw_requests
// (associators_reordered_null) and e2e.wbemcli_associations, one filter at a time.
TEST(DecodeRequest, EmptyParameterIsNullAndAbsentFlagsTakeTheMethodsDefault) {
    struct Case {
        std::string request;
        bool localOnly, deepInheritance, includeQualifiers, includeClassOrigin;
        bool hasPropertyList;
    };
    const std::string cls = param("ClassName", "<CLASSNAME NAME=\"Vesk_CEC\"/>");
    const Case cases[] = {
        {intrinsic("EnumerateInstances", cls), true, true, false, false, false},
        {intrinsic("EnumerateInstances",
                   cls + param("DeepInheritance", "") + param("PropertyList", "")),
         true, true, false, false, false},
        {intrinsic("EnumerateInstances", cls + param("DeepInheritance", "<VALUE>FALSE</VALUE>") +
                                             param("PropertyList", "<VALUE.ARRAY/>")),
         true, false, false, false, true},
        {intrinsic("EnumerateClasses", ""), true, false, true, false, false},
        {intrinsic("GetClass", cls), true, false, true, false, false},
        {intrinsic("GetInstance", param("InstanceName", kCecName)), true, false, false, false,
         false},
        {intrinsic("References", param("ObjectName", kCecName)), false, false, false, false, false},
    };
    for (const Case& c : cases) {
        const DecodedRequest d = decodeRequest(c.request);
        ASSERT_TRUE(d.status.isOk()) << c.request << ": " << d.status.description();
        const Operation& op = d.operation;
        EXPECT_EQ(op.localOnly, c.localOnly) << c.request;
        EXPECT_EQ(op.deepInheritance, c.deepInheritance) << c.request;
        EXPECT_EQ(op.includeQualifiers, c.includeQualifiers) << c.request;
        EXPECT_EQ(op.includeClassOrigin, c.includeClassOrigin) << c.request;
        EXPECT_EQ(op.propertyList.has_value(), c.hasPropertyList) << c.request;
    }
}

TEST(DecodeRequest, ReadsReferenceKeysAndInstancesWithTheirTypes) {
    const std::string ref =
        "<KEYBINDING NAME=\"UserOfService\"><VALUE.REFERENCE><INSTANCEPATH><NAMESPACEPATH>"
        "<HOST>sp1</HOST><LOCALNAMESPACEPATH><NAMESPACE NAME=\"root\"/><NAMESPACE "
        "NAME=\"orvcim\"/></LOCALNAMESPACEPATH></NAMESPACEPATH>" +
        std::string(kCecName) +
        "</INSTANCEPATH></VALUE.REFERENCE></KEYBINDING>"
        "<KEYBINDING NAME=\"N\"><KEYVALUE VALUETYPE=\"numeric\"> 42 </KEYVALUE></KEYBINDING>"
        "<KEYBINDING NAME=\"B\"><KEYVALUE VALUETYPE=\"boolean\">TRUE</KEYVALUE></KEYBINDING>";
    const DecodedRequest get = decodeRequest(
        intrinsic("GetInstance",
                  param("InstanceName", "<INSTANCENAME CLASSNAME=\"Vesk_AssociatedTOvPassthru\">" +
                                            ref + "</INSTANCENAME>")));
    ASSERT_TRUE(get.status.isOk()) << get.status.description();
    const std::vector<KeyBinding>& keys = get.operation.objectName->keys;
    ASSERT_EQ(keys.size(), 3u);
    ASSERT_EQ(keys[0].value.type, KeyValue::Type::Reference);
    EXPECT_EQ(keys[0].value.reference->host, "sp1");
    EXPECT_EQ(keys[0].value.reference->nameSpace, "root/orvcim");
    EXPECT_EQ(keys[0].value.reference->className, "Vesk_CEC");
    EXPECT_EQ(keys[1].value.type, KeyValue::Type::Numeric);
    EXPECT_EQ(keys[1].value.text, "42");
    EXPECT_EQ(keys[2].value.type, KeyValue::Type::Boolean);

    const DecodedRequest create = decodeRequest(intrinsic(
        "CreateInstance",
        param("NewInstance",
              "<INSTANCE CLASSNAME=\"T\"><PROPERTY NAME=\"A\" TYPE=\"uint8\"><VALUE>7</VALUE>"
              "</PROPERTY><PROPERTY.ARRAY NAME=\"B\" TYPE=\"string\"><VALUE.ARRAY><VALUE>x</VALUE>"
              "<VALUE>y</VALUE></VALUE.ARRAY></PROPERTY.ARRAY><PROPERTY NAME=\"C\" "
              "TYPE=\"string\"/></INSTANCE>")));
    ASSERT_TRUE(create.status.isOk()) << create.status.description();
    const std::vector<PropertyValue>& props = create.operation.instance->properties;
    ASSERT_EQ(props.size(), 3u);
    EXPECT_EQ(props[0].type, "uint8");
    EXPECT_EQ(props[0].values, std::vector<std::string>{"7"});
    EXPECT_TRUE(props[1].isArray);
    EXPECT_EQ(props[1].values, (std::vector<std::string>{"x", "y"}));
    EXPECT_TRUE(props[2].isNull);
}

// A parameter given twice, a bad boolean, unknown and extrinsic methods: e2e.raw_requests.
TEST(DecodeRequest, AnswersBadParametersWithCimErrors) {
    const std::string cls = param("ClassName", "<CLASSNAME NAME=\"Vesk_CEC\"/>");
    struct Case {
        std::string request;
        CimCode code;
        const char* mentions;
    };
    const Case cases[] = {
        {intrinsic("EnumerateInstances", cls + param("Colour", "<VALUE>red</VALUE>")),
         CimCode::InvalidParameter, "Colour"},
        {intrinsic("EnumerateInstances", ""), CimCode::InvalidParameter, "ClassName"},
        {intrinsic("EnumerateInstances", param("ClassName", "")), CimCode::InvalidParameter,
         "NULL"},
        {intrinsic("EnumerateInstances", param("ClassName", "<VALUE>Vesk_CEC</VALUE>")),
         CimCode::InvalidParameter, "class name"},
        {intrinsic("GetInstance", param("InstanceName", "<CLASSNAME NAME=\"X\"/>")),
         CimCode::InvalidParameter, "instance name"},
        {intrinsic("GetInstance", param("InstanceName",
                                        "<INSTANCENAME CLASSNAME=\"X\"><KEYVALUE>"
                                        "1</KEYVALUE></INSTANCENAME>")),
         CimCode::InvalidParameter, "KEYBINDING"},
        // The count of values is judged before the first value is.
        {intrinsic("EnumerateInstances",
                   param("ClassName", "<VALUE>Vesk_CEC</VALUE><CLASSNAME NAME=\"Vesk_CEC\"/>")),
         CimCode::InvalidParameter, "more than one value"},
    };
    for (const Case& c : cases) {
        const DecodedRequest d = decodeRequest(c.request);
        ASSERT_FALSE(d.protocolError) << c.request << ": " << d.protocolError->message;
        EXPECT_EQ(d.status.code(), c.code) << c.request;
        EXPECT_NE(d.status.description().find(c.mentions), std::string::npos)
            << c.request << ": " << d.status.description();
        EXPECT_EQ(d.operation.messageId, "77");
    }
}

// No namespace, other CIM and DTD versions: e2e.raw_requests.
TEST(DecodeRequest, AnswersBrokenMessagesWithProtocolErrors) {
    const std::string cls = param("ClassName", "<CLASSNAME NAME=\"Vesk_CEC\"/>");
    struct Case {
        std::string request;
        const char* cimError;
    };
    const Case cases[] = {
        {message("<IMETHODCALL>" + cls + "</IMETHODCALL>"), "request-not-valid"},
        {message("<BOGUS/>"), "request-not-valid"},
        {"<CIM CIMVERSION=\"2.0\" DTDVERSION=\"2.0\"/>", "request-not-valid"},
        {"<NOTCIM/>", "request-not-valid"},
        {intrinsic("EnumerateInstances", "<KEYVALUE/>"), "request-not-valid"},
        // Whatever comes first in the body, the envelope and the namespace are judged before
        // the parameters.
        {message("<IMETHODCALL NAME=\"EnumerateInstances\"><LOCALNAMESPACEPATH><NAMESPACE "
                 "NAME=\"root\"/></LOCALNAMESPACEPATH>" +
                 cls + cls + "</IMETHODCALL><IMETHODCALL NAME=\"EnumerateInstances\"/>"),
         "request-not-valid"},
        {message("<IMETHODCALL NAME=\"EnumerateInstances\">" + cls + cls +
                 "<LOCALNAMESPACEPATH/></IMETHODCALL>"),
         "request-not-valid"},
        {intrinsic("GetInstance",
                   param("InstanceName",
                         "<INSTANCENAME CLASSNAME=\"A\"><KEYBINDING NAME=\"r\"><VALUE.REFERENCE>"
                         "<INSTANCEPATH><INSTANCENAME CLASSNAME=\"C\"><X/></INSTANCENAME>"
                         "</INSTANCEPATH></VALUE.REFERENCE></KEYBINDING></INSTANCENAME>")),
         "request-not-valid"},
        {"<CIM CIMVERSION=\"2.0\" DTDVERSION=\"2.0\"><MESSAGE ID=\"1\" "
         "PROTOCOLVERSION=\"2.0\"><SIMPLEREQ/></MESSAGE></CIM>",
         "unsupported-protocol-version"},
        {"<CIM CIMVERSION=\"2.0\" DTDVERSION=\"2.0\"><MESSAGE ID=\"1\" "
         "PROTOCOLVERSION=\"1.0\"><MULTIREQ/></MESSAGE></CIM>",
         "multiple-requests-unsupported"},
    };
    for (const Case& c : cases) {
        const DecodedRequest d = decodeRequest(c.request);
        ASSERT_TRUE(d.protocolError) << c.request;
        EXPECT_EQ(d.protocolError->cimError, c.cimError) << c.request;
    }
}

}  // namespace
}  // namespace cimhost
