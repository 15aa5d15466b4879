// Finding trace points in sources and building the format table.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sim/tools/trace_format_scanner.h"
#include "platform/trace_point.h"

namespace {

using cimpsim::ScanError;
using cimpsim::TraceFormatSite;

std::vector<TraceFormatSite> scan(const std::string& source) {
    std::vector<TraceFormatSite> sites;
    ScanError error;
    EXPECT_TRUE(cimpsim::scanTraceFormats("src.cpp", source, sites, error)) << error.message;
    return sites;
}

TEST(TraceFormatScanner, FindsInvocationsInTheirWrittenForms) {
    const std::string source = R"src(
#include "platform/trace_point.h"
#define CIMP_TRACE_LATER(x) CIMP_TRACE(" ", x)
// CIMP_TRACE(" ", "in a line comment");
/* CIMP_TRACE(" ", "in a block comment"); */
const char* s = "CIMP_TRACE(\" \", \"in a string\")";
int separated = 1'000'000;
void f(unsigned rc, const char* a) {
    CIMP_TRACE(" ", "f: entry");
    CIMP_TRACE(" %X",
               "f: exit rc=0x%X", rc);
    CIMP_TRACE
    (
        " %s" /* types */ ,
        "say \"%s\"\t\\ \x41\101" // the format
        , a);
    CIMP_TRACE(pick(" %X", 1), "f: %X", rc);
}
)src";
    std::vector<std::string> found;
    for (const TraceFormatSite& site : scan(source)) {
        EXPECT_EQ(site.id, cimp::traceFormatId(site.text.c_str()));
        found.push_back(site.file + ":" + std::to_string(site.line) + " " + site.text);
    }
    EXPECT_EQ(found,
              (std::vector<std::string>{"src.cpp:9 f: entry", "src.cpp:10 f: exit rc=0x%X",
                                        "src.cpp:12 say \"%s\"\t\\ AA", "src.cpp:17 f: %X"}));
}

TEST(TraceFormatScanner, UnparsableInvocationsNameTheirLine) {
    struct Case {
        const char* source;
        unsigned line;
    };
    const Case cases[] = {
        {"\nCIMP_TRACE(\" %s\", kFormat, a);", 2},
        {"x;\n\nCIMP_TRACE(\" \", \"split \" \"literal\");", 3},
        {"CIMP_TRACE(\" \", u8\"prefixed\");", 1},
        {"CIMP_TRACE(\" \");", 1},
        {"CIMP_TRACE(\" \", \"bad \\q escape\");", 1},
        {"CIMP_TRACE(\" \", \"unterminated\n\");", 1},
        {"CIMP_TRACE(\" \"", 1},
    };
    for (const Case& c : cases) {
        std::vector<TraceFormatSite> sites;
        ScanError error;
        EXPECT_FALSE(cimpsim::scanTraceFormats("bad.cpp", c.source, sites, error)) << c.source;
        EXPECT_EQ(error.file, "bad.cpp");
        EXPECT_EQ(error.line, c.line) << c.source;
        EXPECT_NE(error.message.find("CIMP_TRACE"), std::string::npos) << error.message;
    }
}

TEST(TraceFormatScanner, TableMergesRepeatsAndRejectsCollisions) {
    std::vector<TraceFormatSite> sites = scan(
        "CIMP_TRACE(\" \", \"liquid\");\nCIMP_TRACE(\" \", \"liquid\");\n"
        "CIMP_TRACE(\" \", \"solid\");\n");
    std::map<uint32_t, std::string> table;
    ScanError error;
    ASSERT_TRUE(cimpsim::buildFormatTable(sites, table, error));
    EXPECT_EQ(table.size(), 2u);

    // "costarring" and "liquid" share their FNV-1a hash.
    sites.push_back({cimp::traceFormatId("costarring"), "costarring", "other.cpp", 9});
    ASSERT_EQ(sites.back().id, sites.front().id);
    EXPECT_FALSE(cimpsim::buildFormatTable(sites, table, error));
    EXPECT_EQ(error.file, "other.cpp");
    EXPECT_EQ(error.line, 9u);
    EXPECT_NE(error.message.find("\"liquid\" at src.cpp:1"), std::string::npos) << error.message;
}

TEST(TraceFormatScanner, RenderedTableEscapesTexts) {
    std::map<uint32_t, std::string> table{{0x10, "q\"b\\n\n?"}};
    std::string source = cimpsim::renderFormatTableSource(table);
    EXPECT_NE(source.find("{0x00000010u, \"q\\\"b\\\\n\\012\\077\"},"), std::string::npos)
        << source;
    EXPECT_NE(source.find("kTraceFormatCount = 1;"), std::string::npos);
}

}  // namespace
