// The CIM-XML export message that carries one indication to a listener (DSP0200, DSP0201):
// its body, the HTTP headers it travels with, and how a listener's answer is judged.
// Pure functions: thread-safe.
#pragma once

#include <string>
#include <string_view>

namespace cimhost {

// The headers of an export request, name and value.
struct ExportHeader {
    const char* name;
    const char* value;
};
extern const ExportHeader kExportRequestHeaders[3];

// CIM > MESSAGE (ID `messageId`, PROTOCOLVERSION 1.0) > SIMPLEEXPREQ > EXPMETHODCALL
// ExportIndication > EXPPARAMVALUE NewIndication > `instanceXml`, which the caller vouches is
// one encoded INSTANCE element.
std::string exportIndicationBody(std::string_view messageId, std::string_view instanceXml);

// Whether a listener took the indication: HTTP 200, "CIMExport: MethodResponse" and a body with
// an EXPMETHODRESPONSE that holds no ERROR. `cimExportHeader` is that header's value.
bool exportAccepted(long httpStatus, std::string_view cimExportHeader, std::string_view body);

}  // namespace cimhost
