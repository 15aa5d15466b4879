#include "cimom/mof/registration.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cimom/mof/mof_error_assert.h"

namespace {

using cimmof::parseRegistrations;
using cimmof::ProviderRegistration;

cimp::Outcome parse(const std::string& text, const std::string& fileName) {
    std::vector<ProviderRegistration> regs;
    return parseRegistrations(text, fileName, &regs);
}

std::string describe(const ProviderRegistration& r) {
    return r.providerName + " " + r.library + " " + r.className + " " + r.nameSpace +
           (r.instance ? " instance" : "") + (r.association ? " association" : "") +
           (r.indication ? " indication" : "") + " @" + r.file + ":" + std::to_string(r.line);
}

std::vector<std::string> describeAll(const std::vector<ProviderRegistration>& regs) {
    std::vector<std::string> described;
    for (const ProviderRegistration& r : regs) {
        described.push_back(describe(r));
    }
    return described;
}

TEST(Registration, ReadsEveryRecordInOrder) {
    const auto regs = mofassert::mustRead<std::vector<ProviderRegistration>>([](auto* out) {
        return parseRegistrations(
            "# two providers\r\n\r\nprovider: P1\r\n  library:   libname-1.2\r\nclass: C1\r\n"
            "namespace: root/orvcim\r\ntypes: instance\r\n"
            "provider:P2\ntypes:  association   instance  \nnamespace: root/other_ns\nclass: C1\n"
            "library: P2\n"
            "provider: P3\nlibrary: P3\nclass: Alert\nnamespace: root/orvcim\ntypes: indication\n",
            "r.reg", out);
    });
    EXPECT_EQ(describeAll(regs),
              (std::vector<std::string>{"P1 libname-1.2 C1 root/orvcim instance @r.reg:3",
                                        "P2 P2 C1 root/other_ns instance association @r.reg:8",
                                        "P3 P3 Alert root/orvcim indication @r.reg:13"}));
}

// A folder is its *.registration files in name order, as the shipped schema folder holds them.
TEST(Registration, AFolderIsItsRegistrationFilesInNameOrder) {
    const std::string folder = CIMP_SCHEMA_DIR;
    const auto regs = mofassert::mustRead<std::vector<ProviderRegistration>>(
        [&](auto* out) { return cimmof::loadRegistrations(folder, out); });
    EXPECT_EQ(describeAll(regs),
              (std::vector<std::string>{
                  "Vesk_AlertIndicationProvider Vesk_AlertIndicationProvider Vesk_AlertIndication "
                  "root/orvcim indication @" +
                      folder + "/Vesk_AlertIndication.registration:8",
                  "Vesk_AssociatedTOvPassthruProvider Vesk_AssociatedTOvPassthruProvider "
                  "Vesk_AssociatedTOvPassthru root/orvcim instance association @" +
                      folder + "/Vesk_AssociatedTOvPassthru.registration:9"}));
}

struct BadCase {
    std::string text;
    int line;
    int column;
    const char* message;
};

const std::string kRecord =
    "provider: P\nlibrary: L\nclass: C\nnamespace: root/x\ntypes: instance\n";

TEST(Registration, RefusesBrokenFilesAtTheFault) {
    const BadCase cases[] = {
        {"# nothing\n\n", 0, 0, "no provider registration"},
        {"provider P\n", 1, 1, "expected 'key: value'"},
        {kRecord + "  location: x\n", 6, 3, "unknown key 'location'"},
        {"class: C\n" + kRecord, 1, 1, "before the first 'provider'"},
        {"provider: P\nclass: C\nclass: D\n", 3, 1, "given twice"},
        {"provider: P\nlibrary: L\nclass: C\ntypes: instance\n", 1, 1, "lacks 'namespace'"},
        {"provider: P\n" + kRecord, 1, 1, "lacks 'library'"},
        {"provider: P\nlibrary: ../evil\n", 2, 10, "invalid library name '../evil'"},
        {"provider: a b\n", 1, 11, "invalid provider name 'a b'"},
        {"provider: P\nclass: A.B\n", 2, 8, "invalid class name"},
        {"provider: P\nnamespace: root//x\n", 2, 12, "invalid namespace"},
        {"provider: P\ntypes: instance method\n", 2, 17, "unsupported MI type 'method'"},
        {"provider: P\ntypes:   \n", 2, 10, "names no MI type"},
        // The same class in another case and namespace spelling is the same registration.
        {kRecord + "provider: Q\nlibrary: L\nclass: c\nnamespace: ROOT/X\ntypes: association\n", 6,
         1, "already registered at line 1"},
        {"provider: " + std::string(cimmof::kMaxRegistrationLineBytes, 'p'), 1, 1,
         "line longer than"},
    };
    for (const BadCase& c : cases) {
        EXPECT_TRUE(mofassert::failsAt([&] { return parse(c.text, "r.reg"); }, "r.reg", c.line,
                                       c.column, c.message))
            << c.text;
    }
}

TEST(Registration, RefusesUnreadableAndOversizedFiles) {
    std::vector<ProviderRegistration> regs;
    EXPECT_FALSE(cimmof::loadRegistrations("/nonexistent/x.registration", &regs).ok());
    EXPECT_FALSE(cimmof::loadRegistrations("/", &regs).ok());
    EXPECT_FALSE(
        parseRegistrations(std::string(cimmof::kMaxRegistrationFileBytes + 1, '\n'), "big", &regs)
            .ok());
}

}  // namespace
