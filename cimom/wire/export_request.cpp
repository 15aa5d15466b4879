#include "cimom/wire/export_request.h"

#include "cimom/wire/xml_event_reader.h"
#include "cimom/wire/xml_writer.h"

namespace cimhost {
namespace {

// Follows an export response for its EXPMETHODRESPONSE and any ERROR inside it.
class ExportResponseReader final : public XmlEventHandler {
  public:
    void startElement(std::string_view name, const XmlAttributes&) override {
        if (name == "EXPMETHODRESPONSE") {
            sawResponse_ = true;
        } else if (name == "ERROR") {
            sawError_ = true;
        }
    }
    void endElement() override {}
    void text(std::string_view) override {}

    bool accepted() const { return sawResponse_ && !sawError_; }

  private:
    bool sawResponse_ = false;
    bool sawError_ = false;
};

}  // namespace

const ExportHeader kExportRequestHeaders[3] = {
    {"Content-Type", "application/xml; charset=\"utf-8\""},
    {"CIMExport", "MethodRequest"},
    {"CIMExportMethod", "ExportIndication"},
};

std::string exportIndicationBody(std::string_view messageId, std::string_view instanceXml) {
    XmlWriter out;
    out.raw("<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n");
    out.open("CIM").attribute("CIMVERSION", "2.0").attribute("DTDVERSION", "2.0");
    out.open("MESSAGE").attribute("ID", messageId).attribute("PROTOCOLVERSION", "1.0");
    out.open("SIMPLEEXPREQ");
    out.open("EXPMETHODCALL").attribute("NAME", "ExportIndication");
    out.open("EXPPARAMVALUE").attribute("NAME", "NewIndication");
    out.raw(instanceXml);
    return out.finish();
}

bool exportAccepted(long httpStatus, std::string_view cimExportHeader, std::string_view body) {
    if (httpStatus != 200 || cimExportHeader != "MethodResponse") {
        return false;
    }
    ExportResponseReader reader;
    return readXml(body, reader).ok && reader.accepted();
}

}  // namespace cimhost
