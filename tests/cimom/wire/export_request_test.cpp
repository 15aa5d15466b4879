// The export request's shape, and which listener answers count as accepted.
#include "cimom/wire/export_request.h"

#include <gtest/gtest.h>

#include "tests/cimom/wire/xml_check.h"

namespace {

using cimhost::exportAccepted;
using cimhost::exportIndicationBody;

constexpr const char* kInstance =
    "<INSTANCE CLASSNAME=\"CIM_AlertIndication\"><PROPERTY NAME=\"SequenceNumber\" "
    "TYPE=\"sint64\"><VALUE>4</VALUE></PROPERTY></INSTANCE>";

TEST(ExportRequest, WrapsTheInstanceInAnExportIndicationCall) {
    const std::string body = exportIndicationBody("17", kInstance);
    EXPECT_TRUE(cimhosttest::readsAsXml(body).ok);
    const std::string expected =
        "<CIM CIMVERSION=\"2.0\" DTDVERSION=\"2.0\"><MESSAGE ID=\"17\" PROTOCOLVERSION=\"1.0\">"
        "<SIMPLEEXPREQ><EXPMETHODCALL NAME=\"ExportIndication\">"
        "<EXPPARAMVALUE NAME=\"NewIndication\">" +
        std::string(kInstance) + "</EXPPARAMVALUE></EXPMETHODCALL></SIMPLEEXPREQ></MESSAGE></CIM>";
    EXPECT_NE(body.find(expected), std::string::npos) << body;
}

TEST(ExportRequest, TravelsWithTheExportHeaders) {
    std::string headers;
    for (const cimhost::ExportHeader& header : cimhost::kExportRequestHeaders) {
        headers += std::string(header.name) + ": " + header.value + "\n";
    }
    EXPECT_EQ(headers,
              "Content-Type: application/xml; charset=\"utf-8\"\nCIMExport: MethodRequest\n"
              "CIMExportMethod: ExportIndication\n");
}

TEST(ExportRequest, OnlyAnErrorFreeMethodResponseIsAccepted) {
    const std::string ok =
        "<CIM CIMVERSION=\"2.0\" DTDVERSION=\"2.0\"><MESSAGE ID=\"1\" PROTOCOLVERSION=\"1.0\">"
        "<SIMPLEEXPRSP><EXPMETHODRESPONSE NAME=\"ExportIndication\"/></SIMPLEEXPRSP></MESSAGE>"
        "</CIM>";
    std::string refused = ok;
    refused.replace(refused.find("/>"), 2, "><ERROR CODE=\"1\"/></EXPMETHODRESPONSE>");
    EXPECT_TRUE(exportAccepted(200, "MethodResponse", ok));
    EXPECT_FALSE(exportAccepted(200, "MethodResponse", refused));
    EXPECT_FALSE(exportAccepted(500, "MethodResponse", ok));
    EXPECT_FALSE(exportAccepted(200, "", ok));
    EXPECT_FALSE(exportAccepted(200, "MethodResponse", ""));
    EXPECT_FALSE(exportAccepted(200, "MethodResponse", ok.substr(0, ok.size() / 2)));
    EXPECT_FALSE(exportAccepted(200, "MethodResponse", "<CIM><MESSAGE/></CIM>"));
}

}  // namespace
