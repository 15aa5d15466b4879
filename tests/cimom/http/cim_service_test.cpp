// The HTTP side of a CIM request, without a socket: screening, header checks and answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "cimom/http/cim_service.h"
#include "tests/cimom/cim/host_test_schema.h"

namespace cimhost {
namespace {

const char kBody[] =
    "<?xml version=\"1.0\"?><CIM CIMVERSION=\"2.0\" DTDVERSION=\"2.0\"><MESSAGE ID=\"3\" "
    "PROTOCOLVERSION=\"1.0\"><SIMPLEREQ><IMETHODCALL NAME=\"EnumerateClassNames\">"
    "<LOCALNAMESPACEPATH><NAMESPACE NAME=\"root\"/><NAMESPACE NAME=\"test\"/>"
    "</LOCALNAMESPACEPATH></IMETHODCALL></SIMPLEREQ></MESSAGE></CIM>";

class CimServiceTest : public ::testing::Test {
  protected:
    CimServiceTest()
        : schema_(cimhosttest::testSchema()),
          log_(logText_),
          service_(runtime_, schema_, registry_, log_) {}

    static HttpRequest request(std::vector<std::pair<std::string, std::string>> changes = {}) {
        HttpRequest r;
        r.method = "POST";
        r.url = "/cimom";
        r.headers = {{"Content-Type", "application/xml; charset=\"utf-8\""},
                     {"CIMOperation", "MethodCall"},
                     {"CIMMethod", "EnumerateClassNames"},
                     {"CIMObject", "root%2Ftest"},
                     {"Host", "sp.example:5988"}};
        for (const auto& change : changes) {
            if (change.first == "method") {
                r.method = change.second;
            } else if (change.first == "url") {
                r.url = change.second;
            } else {
                const auto at =
                    std::find_if(r.headers.begin(), r.headers.end(),
                                 [&](const auto& h) { return h.first == change.first; });
                if (at == r.headers.end()) {
                    r.headers.push_back(change);
                } else {
                    at->second = change.second;
                }
            }
        }
        r.body = kBody;
        return r;
    }

    static std::string header(const HttpResponse& response, const char* name) {
        for (const auto& h : response.headers) {
            if (h.first == name) {
                return h.second;
            }
        }
        return "";
    }

    cimbroker::Runtime runtime_;
    NamespaceSchema schema_;
    ProviderRegistry registry_;
    std::ostringstream logText_;
    RequestLog log_;
    CimService service_;
};

// Another CIMOperation, another content type, and CIMMethod or CIMObject headers that do not match
// the body are refused as e2e.raw_requests shows.
TEST_F(CimServiceTest, RefusesWhatIsNoCimRequest) {
    struct Case {
        std::vector<std::pair<std::string, std::string>> changes;
        int status;
        const char* cimError;
    };
    const Case cases[] = {
        {{{"method", "GET"}}, 501, ""},
        {{{"method", "M-POST"}}, 501, ""},
        {{{"url", "/other"}}, 404, ""},
        {{{"CIMProtocolVersion", "2.0"}}, 501, "unsupported-protocol-version"},
        {{{"Content-Type", "application/xml; charset=iso-8859-1"}}, 400, "request-not-valid"},
        {{{"CIMObject", "root%2"}}, 400, "header-mismatch"},
        {{{"CIMObject", "root%zztest"}}, 400, "header-mismatch"},
    };
    for (const Case& c : cases) {
        const HttpResponse response = service_.handle(request(c.changes));
        EXPECT_EQ(response.status, c.status) << c.changes.front().second;
        EXPECT_EQ(header(response, "CIMError"), c.cimError) << c.changes.front().second;
        EXPECT_TRUE(response.body.empty());
    }
    HttpRequest big = request();
    EXPECT_EQ(service_.screen(big, kMaxRequestBody + 1)->status, 413);
    EXPECT_FALSE(service_.screen(big, kMaxRequestBody));
}

// The request log's lines are checked by e2e.concurrent_load and e2e.http_framing.
TEST_F(CimServiceTest, AnswersWithAMethodResponseWhateverTheHeadersSpelling) {
    for (const auto& changes : std::vector<std::vector<std::pair<std::string, std::string>>>{
             {},
             {{"CIMObject", "/root%2ftest/"}, {"Content-Type", "text/xml"}},
             {{"Content-Type", "application/xml;charset=UTF-8"}, {"url", "/cimom?x=1"}}}) {
        const HttpResponse response = service_.handle(request(changes));
        EXPECT_EQ(response.status, 200);
        EXPECT_EQ(header(response, "CIMOperation"), "MethodResponse");
        EXPECT_NE(response.body.find("<CLASSNAME NAME=\"T_Base\"/>"), std::string::npos)
            << response.body;
    }
}

}  // namespace
}  // namespace cimhost
