#include "cimom/mof/registration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cimom/mof/mof_error_assert.h"

namespace {

using cimmof::MofError;
using cimmof::parseRegistrations;
using cimmof::ProviderRegistration;

const char kTwoRecords[] =
    "# two providers\r\n"
    "\r\n"
    "provider: P1\r\n"
    "  library:   libname-1.2\r\n"
    "class: C1\r\n"
    "namespace: root/orvcim\r\n"
    "types: instance\r\n"
    "provider:P2\n"
    "types:  association   instance  \n"
    "namespace: root/other_ns\n"
    "class: C1\n"
    "library: P2\n";

TEST(Registration, ReadsEveryRecordInOrder) {
    const std::vector<ProviderRegistration> regs = parseRegistrations(kTwoRecords, "r.reg");
    ASSERT_EQ(regs.size(), 2u);
    EXPECT_EQ(regs[0].providerName, "P1");
    EXPECT_EQ(regs[0].library, "libname-1.2");
    EXPECT_EQ(regs[0].className, "C1");
    EXPECT_EQ(regs[0].nameSpace, "root/orvcim");
    EXPECT_TRUE(regs[0].instance);
    EXPECT_FALSE(regs[0].association);
    EXPECT_EQ(regs[0].file, "r.reg");
    EXPECT_EQ(regs[0].line, 3);
    EXPECT_EQ(regs[1].providerName, "P2");
    EXPECT_EQ(regs[1].nameSpace, "root/other_ns");
    EXPECT_TRUE(regs[1].instance);
    EXPECT_TRUE(regs[1].association);
    EXPECT_EQ(regs[1].line, 8);
}

struct BadCase {
    const char* name;
    std::string text;
    int line;
    int column;
    const char* message;
};

const std::string kRecord =
    "provider: P\nlibrary: L\nclass: C\nnamespace: root/x\ntypes: instance\n";

TEST(Registration, RefusesBrokenFilesAtTheFault) {
    const BadCase cases[] = {
        {"empty", "# nothing\n\n", 0, 0, "no provider registration"},
        {"not key value", "provider P\n", 1, 1, "expected 'key: value'"},
        {"unknown key", kRecord + "  location: x\n", 6, 3, "unknown key 'location'"},
        {"key before provider", "class: C\n" + kRecord, 1, 1, "before the first 'provider'"},
        {"key twice", "provider: P\nclass: C\nclass: D\n", 3, 1, "given twice"},
        {"missing key", "provider: P\nlibrary: L\nclass: C\ntypes: instance\n", 1, 1,
         "lacks 'namespace'"},
        {"missing key before next record", "provider: P\n" + kRecord, 1, 1, "lacks 'library'"},
        {"library with directory", "provider: P\nlibrary: ../evil\n", 2, 10,
         "invalid library name '../evil'"},
        {"library with slash", "provider: P\nlibrary: a/b\n", 2, 10, "invalid library name"},
        {"hidden library", "provider: P\nlibrary: .so\n", 2, 10, "invalid library name"},
        {"empty provider", "provider:\n", 1, 10, "invalid provider name ''"},
        {"provider with blank", "provider: a b\n", 1, 11, "invalid provider name 'a b'"},
        {"class with dot", "provider: P\nclass: A.B\n", 2, 8, "invalid class name"},
        {"empty namespace segment", "provider: P\nnamespace: root//x\n", 2, 12,
         "invalid namespace"},
        {"trailing slash namespace", "provider: P\nnamespace: root/\n", 2, 12, "invalid namespace"},
        {"unsupported type", "provider: P\ntypes: instance method\n", 2, 17,
         "unsupported MI type 'method'"},
        {"no type", "provider: P\ntypes:   \n", 2, 10, "names no MI type"},
        {"same class twice", kRecord + "\n" + kRecord, 7, 1, "already registered at line 1"},
        {"same class other case",
         kRecord + "provider: Q\nlibrary: L\nclass: c\n"
                   "namespace: ROOT/X\ntypes: association\n",
         6, 1, "already registered"},
        {"overlong line", "provider: " + std::string(cimmof::kMaxRegistrationLineBytes, 'p'), 1, 1,
         "line longer than"},
    };
    for (const BadCase& c : cases) {
        EXPECT_TRUE(mofassert::failsAt([&] { parseRegistrations(c.text, "r.reg"); }, "r.reg",
                                       c.line, c.column, c.message))
            << c.name;
    }
}

TEST(Registration, RefusesUnreadableAndOversizedFiles) {
    EXPECT_THROW(cimmof::loadRegistrations("/nonexistent/x.registration"), MofError);
    EXPECT_THROW(cimmof::loadRegistrations("/"), MofError);
    EXPECT_THROW(
        parseRegistrations(std::string(cimmof::kMaxRegistrationFileBytes + 1, '\n'), "big"),
        MofError);
}

}  // namespace
