// The registry's file contract: <root>/registry/area/name, bounded reads, fault injection and
// keys that must never reach the file system.
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "platform/errl_entry.h"
#include "platform/sim/sim_return_codes.h"
#include "platform/util_reg.h"
#include "tests/support/platform_fixture.h"

namespace {

using Entry = std::unique_ptr<ErrlEntry>;

struct ReadResult {
    Entry entry;
    std::string bytes;  // the buffer up to the size written back
    unsigned int size;
};

// Reads into a buffer of `capacity` bytes followed by guard bytes that must stay untouched.
ReadResult readKey(const char* key, unsigned int capacity) {
    std::string buffer(capacity + 4, '#');
    unsigned int size = capacity;
    Entry entry(UtilReg::read(key, capacity == 0 ? nullptr : &buffer[0], size, false, nullptr));
    EXPECT_EQ(buffer.substr(entry ? 0 : size), std::string(buffer.size() - (entry ? 0 : size), '#'))
        << "written beyond the value";
    buffer.resize(entry ? 0 : size);
    return {std::move(entry), buffer, size};
}

class Registry : public cimptest::PlatformFixture {};

// Rows without a stored value read what writeExampleMachine left.
TEST_F(Registry, ReadsAtMostCapacityBytesWithNulsAndReportsTheSize) {
    writeExampleMachine();
    struct Case {
        const char* key;
        std::optional<std::string> stored;
        unsigned int capacity;
        std::string expected;
    };
    const Case cases[] = {
        {"dscv/FspRole", std::nullopt, 1, std::string(1, '\x01')},
        {"svpd/Raw_MachineTypeModel", std::nullopt, 8, "9119-MHE"},
        {"svpd/Raw_MachineSerialNumber", std::nullopt, 12, std::string("10ABCDE\0\0\0\0\0", 12)},
        {"fstp/eth0_ipaddress", std::nullopt, 16, cimptest::example::kEth0},
        {"fstp/eth1_ipaddress", std::nullopt, 16, cimptest::example::kEth1},
        {"fstp/SystemName", std::nullopt, 32, cimptest::example::kSystemName},
        {"fstp/eth0_ipaddress", "10.0.0.1", 16, "10.0.0.1"},
        {"svpd/Raw_MachineSerialNumber", "10ABCDE-and-much-more", 12, "10ABCDE-and-"},
        {"dscv/FspRole", std::string("\x01\0\x02", 3), 8, std::string("\x01\0\x02", 3)},
        {"fstp/SystemName", "", 32, ""},
        {"fstp/SystemName", "lab", 0, ""},
    };
    for (const Case& c : cases) {
        if (c.stored) {
            setRegistry(c.key, *c.stored);
        }
        ReadResult result = readKey(c.key, c.capacity);
        ASSERT_EQ(result.entry, nullptr) << c.key;
        EXPECT_EQ(result.bytes, c.expected) << c.key;
        EXPECT_EQ(result.size, c.expected.size()) << c.key;
    }
}

TEST_F(Registry, CapacityFarBeyondTheValueReadsOnlyTheValue) {
    setRegistry("fstp/eth0_ipaddress", "10.0.0.1");
    char buffer[16] = {};
    unsigned int size = 1u << 31;  // the read must be sized by the file, not by this
    Entry entry(UtilReg::read("fstp/eth0_ipaddress", buffer, size, false, nullptr));
    ASSERT_EQ(entry, nullptr);
    EXPECT_EQ(size, 8u);
}

TEST_F(Registry, MissingValueFailsAndLeavesSizeAlone) {
    ReadResult result = readKey("fstp/SystemName", 32);
    ASSERT_NE(result.entry, nullptr);
    EXPECT_EQ(result.entry->getRC(), cimpsim::kRcMissing);
    EXPECT_EQ(result.size, 32u);
}

TEST_F(Registry, FaultFileOverridesTheValue) {
    struct Case {
        const char* text;
        uint32_t rc;
    };
    const Case cases[] = {{"0xBC8A1234", 0xBC8A1234},
                          {"bc8a1234\n", 0xBC8A1234},
                          {"  0X7 \n", 0x7},
                          {"0", cimpsim::kRcBadFaultFile},
                          {"", cimpsim::kRcBadFaultFile},
                          {"0x1G", cimpsim::kRcBadFaultFile},
                          {"123456789", cimpsim::kRcBadFaultFile}};
    setRegistry("svpd/Raw_MachineTypeModel", "9119-MHE");
    for (const Case& c : cases) {
        setRegistry("svpd/Raw_MachineTypeModel.fail", c.text);
        ReadResult result = readKey("svpd/Raw_MachineTypeModel", 8);
        ASSERT_NE(result.entry, nullptr) << c.text;
        EXPECT_EQ(result.entry->getRC(), c.rc) << c.text;
    }
    removeRegistry("svpd/Raw_MachineTypeModel");
    failRegistry("svpd/Raw_MachineTypeModel", 0xDEAD0001);
    ReadResult withoutValue = readKey("svpd/Raw_MachineTypeModel", 8);
    ASSERT_NE(withoutValue.entry, nullptr);
    EXPECT_EQ(withoutValue.entry->getRC(), 0xDEAD0001u);
}

TEST_F(Registry, HostileKeysFailWithoutTouchingFiles) {
    // Files that a key escaping the registry directory would find.
    setManaged("0");
    setRegistry("area/x", "inside");
    const std::string keys[] = {"../x",    "/etc/passwd", "a//b",   "a/b/c",
                                "a/",      "/a",          "..",     "a",
                                "./x",     "a/..",        "a/.",    "../drax/managed",
                                "a\\b/c",  "a/b\\c",      "a/b\nc", "a/b\tc",
                                "area/x/", "/area/x",     "",       "a/" + std::string(300, 'b')};
    for (const std::string& key : keys) {
        ReadResult result = readKey(key.c_str(), 8);
        ASSERT_NE(result.entry, nullptr) << "key '" << key << "'";
        EXPECT_EQ(result.entry->getRC(), cimpsim::kRcBadKey) << "key '" << key << "'";
        EXPECT_EQ(result.size, 8u);
    }
    EXPECT_EQ(readKey(nullptr, 8).entry->getRC(), cimpsim::kRcBadKey);
}

}  // namespace
