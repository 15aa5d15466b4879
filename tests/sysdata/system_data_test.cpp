// The registry readers and the enablement gate against the simulated platform. Readers and the gate
// pass a failed call's entry up, so the error log shows creations only.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/errl_entry.h"
#include "sysdata/enablement_gate.h"
#include "sysdata/ip_addrs.h"
#include "sysdata/mtms.h"
#include "sysdata/user_defined_name.h"
#include "tests/support/platform_capture.h"
#include "tests/support/platform_fixture.h"

namespace {

using EntryPtr = std::unique_ptr<ErrlEntry>;
using std::string;
using Strings = std::vector<string>;

const string kTypeModel = "svpd/Raw_MachineTypeModel", kSerial = "svpd/Raw_MachineSerialNumber";
const string kEth0 = "fstp/eth0_ipaddress", kEth1 = "fstp/eth1_ipaddress";
const string kName = "fstp/SystemName";

// The arguments of every trace entry, in order; and a check that no entry was committed.
std::vector<Strings> tracesPassingUp(const cimptest::Capture& capture) {
    EXPECT_TRUE(capture.errl().empty());
    std::vector<Strings> args;
    for (const cimptest::TraceRecord& record : capture.traces()) {
        args.push_back(record.args);
    }
    return args;
}

string padded(const string& text, size_t width) {
    return text + string(width - text.size(), '\0');
}

// Runs `read` on storage first filled with `fill`; returns every byte the storage then holds.
using Reader = string (*)(EntryPtr&, char);
template <typename Storage, ErrlEntry* (*read)(Storage&)>
string run(EntryPtr& entry, char fill) {
    Storage storage;
    std::memset(&storage, fill, sizeof storage);
    entry.reset(read(storage));
    return string(reinterpret_cast<const char*>(&storage), sizeof storage);
}
ErrlEntry* readName(char (&name)[32]) {
    return CIMP_getCEC_UserDefName(name);
}
// The identity record's fields and joined texts.
string readMtmsTexts(EntryPtr& entry, char) {
    CimpMtms_t m = {};
    entry.reset(cimpGetMtms(m));
    return string(m.type) + "|" + m.model + "|" + m.serial + " " + m.mtmsCompact + " " +
           m.mtmsDashed + " " + m.mtmsDotted;
}
const Reader readMtms = run<CimpMtms_t, cimpGetMtms>, readIps = run<CimpIpAddr_t, cimpGetIpAddrs>,
             readName32 = run<char[32], readName>;

TEST(RegistryReaders, CopyBoundedTextOrPassAFailedReadUpAndReadNoFurther) {
    constexpr char kFill = '\xA5';
    const string eth1 = padded("10.0.0.2", 16), mtms(sizeof(CimpMtms_t), kFill);
    // Only the first 15 bytes of an address field are the reader's.
    const string unavailable = padded("Unavailable", 15) + kFill;
    const std::vector<Strings> succeeded = {{}, {"0"}}, failed = {{}, {"C0FFEE"}, {"C0FFEE"}};
    const struct {
        string key, value;  // the value of `key`; none when the read fails
        bool fails;
        Reader reader;
        string expected;
    } cases[] = {
        // clang-format off
        {kTypeModel, "ABCDQXYZ", false, readMtmsTexts, "ABCD|XYZ|10ABCDE ABCDXYZ*10ABCDE ABCD-XYZ*10ABCDE ABCD.XYZ.10ABCDE"},
        {kTypeModel, "91", false, readMtmsTexts, "91||10ABCDE 91*10ABCDE 91-*10ABCDE 91..10ABCDE"},
        {kTypeModel, string("9\0\0\0-MHE", 8) + string(100, 'X'), false, readMtmsTexts, "9|MHE|10ABCDE 9MHE*10ABCDE 9-MHE*10ABCDE 9.MHE.10ABCDE"},
        {kSerial, "ABCDEFGHIJKL", false, readMtmsTexts, "9119|MHE|ABCDEFG 9119MHE*ABCDEFG 9119-MHE*ABCDEFG 9119.MHE.ABCDEFG"},
        {kSerial, string("12345\0XY", 8), false, readMtmsTexts, "9119|MHE|12345 9119MHE*12345 9119-MHE*12345 9119.MHE.12345"},
        {kSerial, "", false, readMtmsTexts, "9119|MHE| 9119MHE* 9119-MHE* 9119.MHE."},
        {kEth0, "255.255.255.255", false, readIps, "255.255.255.255" + string(1, '\0') + eth1},
        {kEth0, "1234567890ABCDEF", false, readIps, padded("1234567890ABCDE", 16) + eth1},
        {kEth0, string("1.2\0garbage", 11), false, readIps, padded("1.2", 16) + eth1},
        {kName, string(31, 'n'), false, readName32, padded(string(31, 'n'), 32)},
        {kName, string(32, 'n'), false, readName32, padded(string(31, 'n'), 32)},
        {kName, string("ab\0cd", 5), false, readName32, padded("ab", 32)},
        {kTypeModel, "", true, readMtms, mtms},
        {kSerial, "", true, readMtms, mtms},
        {kEth0, "", true, readIps, unavailable + unavailable},
        {kEth1, "", true, readIps, unavailable + unavailable},  // a good first address is never shown
        {kName, "", true, readName32, string(32, kFill)},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key + " " + c.value);
        cimptest::PlatformRoot platform;
        platform.writeExampleMachine();
        c.fails ? platform.failRegistry(c.key, 0xC0FFEE) : platform.setRegistry(c.key, c.value);
        cimptest::Capture capture;
        EntryPtr entry;

        EXPECT_EQ(c.reader(entry, c.fails ? kFill : 0), c.expected);

        EXPECT_EQ(entry ? entry->getRC() : 0u, c.fails ? 0xC0FFEEu : 0u);
        EXPECT_EQ(tracesPassingUp(capture), c.fails ? failed : succeeded);
        if (c.fails) {
            EXPECT_EQ(capture.calls().back(), "UtilReg::read " + c.key);
        }
    }
}

TEST(EnablementGate, AsksInOrderAndStopsAtFirstNo) {
    const string role1 = "\x01";
    const Strings allCalls = {"UtilReg::read dscv/FspRole", "draxQueryDraManagedInfo",
                              "rmgrIsRedPolicyEnabled"};
    const struct {
        string role, managed, policy;
        bool open;
        size_t callsMade;  // the first services of allCalls that are asked
        bool failed;       // the last service asked fails
    } cases[] = {
        {role1, "0", "0", true, 3, false},
        {"\x02", "0", "0", false, 1, false},
        {"", "0", "0", false, 1, false},                    // empty value: the cleared byte
        {string("\x01\x07", 2), "0", "0", true, 3, false},  // only the first byte counts
        {role1, "0", "0", false, 1, true},
        {role1, "1", "0", false, 2, false},
        {role1, "0x80000000", "0", false, 2, false},
        {role1, "0", "0", false, 2, true},
        {role1, "0", "1", false, 3, false},
        {role1, "0", "", false, 3, false},  // the service answers without setting the flag
        {role1, "0", "0", false, 3, true},
    };
    for (auto gate : {&cimpQueryCimEnabled, &cimpQueryTovPassthroughEnabled}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << "case " << &c - cases << " cim gate "
                                            << (gate == &cimpQueryCimEnabled));
            cimptest::PlatformRoot platform;
            platform.setRegistry("dscv/FspRole", c.role);
            platform.setManaged(c.managed);
            platform.setPolicy(c.policy);
            if (c.failed) {
                c.callsMade == 1   ? platform.failRegistry("dscv/FspRole", 0x4711)
                : c.callsMade == 2 ? platform.failManaged(0x4711)
                                   : platform.failPolicy(0x4711);
            }
            cimptest::Capture capture;
            bool enabled = !c.open;  // so that a path which forgets the flag shows

            EntryPtr entry(gate(enabled));

            EXPECT_EQ(enabled, c.open);
            EXPECT_EQ(entry ? entry->getRC() : 0u, c.failed ? 0x4711u : 0u);
            EXPECT_EQ(capture.calls(), Strings(allCalls.begin(), allCalls.begin() + c.callsMade));
            const std::vector<Strings> traces = tracesPassingUp(capture);
            // Entry and exit, one more where the gate closed or failed, and the wrapper's own two.
            ASSERT_EQ(traces.size(), (c.open ? 2u : 3u) + (gate == &cimpQueryCimEnabled ? 0u : 2u));
            EXPECT_EQ(traces.back(), (Strings{c.failed ? "4711" : "0", c.open ? "1" : "0"}));
        }
    }
}

}  // namespace
