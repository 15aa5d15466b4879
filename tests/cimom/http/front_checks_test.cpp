// The HTTP front's own judgements, as a client meets them: framing refusals, Basic credentials
// and throttling, what reaches the request log, and the status names a scrape shows.
#include <gtest/gtest.h>

#include <sstream>

#include "cimom/http/basic_auth.h"
#include "cimom/http/http_framing.h"
#include "cimom/http/metrics.h"
#include "cimom/http/password_hash.h"
#include "cimom/http/request_log.h"

namespace cimhost {
namespace {

TEST(HttpFraming, RefusesWhatHttpForbidsOrLeavesToGuessing) {
    struct Case {
        std::vector<std::pair<std::string, std::string>> headers;
        std::string body;
        int status;  // 0: accepted
    };
    const std::string h = "Host";
    const Case cases[] = {
        {{{h, "x"}}, "<?xml version=\"1.0\" encoding=\"utf-8\"?><CIM/>", 0},
        {{{h, "x"}}, "\xef\xbb\xbf<?xml version='1.0' encoding='UTF-8'?><CIM/>", 0},
        {{{h, "x"}}, "<CIM/>", 0},
        {{{h, "x"}, {"Content-Length", "5"}, {"content-length", " 5"}}, "", 0},
        {{{h, "x"}, {"Transfer-Encoding", "Chunked"}}, "", 0},
        {{}, "", 400},
        {{{h, " "}}, "", 400},
        {{{h, "x"}, {"Content-Length", "5"}, {"Content-Length", "6"}}, "", 400},
        {{{h, "x"}, {"Transfer-Encoding", "gzip, chunked"}}, "", 501},
        {{{h, "x"}}, "<?xml version='1.0' encoding='UTF-16'?><CIM/>", 400},
        {{{h, "x"}}, "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><CIM/>", 400},
        {{{h, "x"}}, "<?xml version=\"1.0\" encoding=\"utf-8?><CIM/>", 400},
        {{{h, "x"}}, std::string("\xff\xfe<\0?\0", 6), 400},
        {{{h, "x"}}, std::string("\0<\0?", 4), 400},
    };
    for (const Case& c : cases) {
        HttpRequest request;
        request.headers = c.headers;
        request.body = c.body;
        std::optional<Refusal> refusal = refuseHeaders(request);
        if (!refusal) {
            refusal = refuseBody(request);
        }
        EXPECT_EQ(refusal ? refusal->status : 0, c.status) << c.body;
    }
}

TEST(BasicAuth, AllowsOnlyAKnownUserWithItsPasswordAndSlowsDownGuessing) {
    std::string hash;
    ASSERT_TRUE(hashPassword("s3cret", &hash).ok());
    BasicAuth auth(PasswordFile{{"alice", hash}});
    using O = BasicAuth::Outcome;
    const struct {
        const char* header;  // null: none sent
        const char* peer;
        O outcome;
    } cases[] = {
        {"Basic YWxpY2U6czNjcmV0", "192.0.2.1", O::Allowed},    // alice:s3cret
        {"basic   YWxpY2U6czNjcmV0", "192.0.2.1", O::Allowed},  // the scheme in any case
        {"Basic YWxpY2U6czNjcmV0", "192.0.2.1", O::Allowed},    // again
        {nullptr, "192.0.2.1", O::NoCredentials},
        {"Basic !!!!", "192.0.2.2", O::Refused},
        {"Bearer YWxpY2U6czNjcmV0", "192.0.2.3", O::Refused},
        {"Basic YWxpY2U6czNjcmV1", "192.0.2.1", O::Refused},  // alice:s3creu
        {"Basic Ym9iOnMzY3JldA==", "192.0.2.1", O::Refused},  // bob:s3cret, no such user
        {"Basic YWxpY2U6czNjcmV0", "192.0.2.1", O::Allowed},  // recognised: ends the row
        {"Basic YWxpY2U=", "192.0.2.1", O::Refused},          // alice, no colon
        {"Basic YWxpY2U6czNjcmV1", "192.0.2.1", O::Refused},
        {"Basic Ym9iOnMzY3JldA==", "192.0.2.1", O::Refused},    // the third in a row
        {"Basic YWxpY2U6czNjcmV0", "192.0.2.1", O::Throttled},  // even with the password
        {"Basic YWxpY2U6czNjcmV0", "192.0.2.2", O::Allowed},    // other peers are not
    };
    for (const auto& c : cases) {
        const std::string header = c.header != nullptr ? c.header : "";
        const BasicAuth::Verdict verdict =
            auth.check(c.header != nullptr ? &header : nullptr, c.peer);
        EXPECT_EQ(verdict.outcome, c.outcome) << header << " from " << c.peer;
    }
    const std::string good = "Basic YWxpY2U6czNjcmV0";
    EXPECT_EQ(auth.check(&good, "192.0.2.1").retryAfter, 1u);
}

TEST(Metrics, CountsEveryStatusUnderItsOwnName) {
    Metrics metrics([] { return std::uint64_t{0}; });
    const auto count = [&metrics](CimCode code) {
        metrics.recordOperation(OperationKind::OpenEnumerateInstancePaths, code,
                                std::chrono::microseconds(1));
    };
    count(CimCode::InvalidOperationTimeout);
    count(static_cast<CimCode>(28));
    count(static_cast<CimCode>(40));
    const std::string text = metrics.exposition();
    for (const char* status :
         {"CIM_ERR_INVALID_OPERATION_TIMEOUT", "CIM_ERR_SERVER_IS_SHUTTING_DOWN", "unknown"}) {
        EXPECT_NE(text.find(std::string("{operation=\"OpenEnumerateInstancePaths\",status=\"") +
                            status + "\"} 1\n"),
                  std::string::npos)
            << status << "\n"
            << text;
    }
    EXPECT_EQ(text.find("CIM_ERR_METHOD_NOT_FOUND"), std::string::npos) << text;
}

TEST(Metrics, CountsIndicationsByOutcomeOnceDeliveryIsWatched) {
    Metrics metrics([] { return std::uint64_t{0}; });
    EXPECT_EQ(metrics.exposition().find("cimp_indication"), std::string::npos);
    std::ostringstream log;
    cimhost::DeliverySettings settings;
    settings.queueLimit = 1;
    settings.retry.interval = std::chrono::hours(1);
    settings.log = &log;
    cimhost::DeliveryService delivery(settings);
    metrics.watchDelivery(&delivery);
    const cimhost::DeliveryTarget nowhere{"a", "http://127.0.0.1:1"};
    EXPECT_TRUE(delivery.enqueue(nowhere, "<INSTANCE CLASSNAME=\"CIM_AlertIndication\"/>"));
    EXPECT_FALSE(delivery.enqueue(nowhere, "<INSTANCE CLASSNAME=\"CIM_AlertIndication\"/>"));
    const std::string text = metrics.exposition();
    for (const char* line :
         {"cimp_indications_total{outcome=\"generated\"} 1\n",
          "cimp_indications_total{outcome=\"delivered\"} 0\n",
          "cimp_indications_total{outcome=\"dropped\"} 1\n", "cimp_indication_queue_depth 1\n"}) {
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    }
}

TEST(RequestLog, EscapesEveryByteAClientCouldUseToForgeOrColourALine) {
    std::ostringstream out;
    {
        RequestLog log(out);
        log.write("GetClass class=A\ncimp-cimom: forged\x1b[2J\\ \xc3\xa9");
        RequestLog quiet(out, true);
        quiet.write("dropped");
        quiet.event("login refused");
    }
    EXPECT_EQ(out.str(),
              "cimp-cimom: GetClass class=A\\x0acimp-cimom: forged\\x1b[2J\\\\ \\xc3\\xa9\n"
              "cimp-cimom: login refused\n");
}

}  // namespace
}  // namespace cimhost
