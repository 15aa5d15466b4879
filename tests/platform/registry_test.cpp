// The registry's file contract: <root>/registry/area/name, bounded reads, fault injection and
// keys that must never reach the file system.
#include <memory>
#include <string>
#include <utility>

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

TEST_F(Registry, ReadsAtMostCapacityBytesWithNulsAndReportsTheSize) {
    const struct {
        const char* key;
        std::string stored;
        unsigned int capacity;
        std::string expected;
    } cases[] = {
        {"fstp/eth0_ipaddress", "10.0.0.1", 16, "10.0.0.1"},
        {"svpd/Raw_MachineSerialNumber", "10ABCDE-and-much-more", 12, "10ABCDE-and-"},
        {"dscv/FspRole", std::string("\x01\0\x02", 3), 8, std::string("\x01\0\x02", 3)},
        {"fstp/SystemName", "", 32, ""},
        {"fstp/SystemName", "lab", 0, ""},
    };
    for (const auto& c : cases) {
        setRegistry(c.key, c.stored);
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

// A missing value fails as missing; a fault file wins over the value, or its absence, and a
// failed read leaves the size alone.
TEST_F(Registry, MissingValueOrFaultFileFailsTheRead) {
    EXPECT_EQ(readKey("svpd/Raw_MachineTypeModel", 8).entry->getRC(), cimpsim::kRcMissing);
    const std::pair<const char*, uint32_t> cases[] = {{"0xBC8A1234", 0xBC8A1234},
                                                      {"bc8a1234\n", 0xBC8A1234},
                                                      {"  0X7 \n", 0x7},
                                                      {"0", cimpsim::kRcBadFaultFile},
                                                      {"", cimpsim::kRcBadFaultFile},
                                                      {"0x1G", cimpsim::kRcBadFaultFile},
                                                      {"123456789", cimpsim::kRcBadFaultFile}};
    for (bool withValue : {true, false}) {
        if (withValue) {
            setRegistry("svpd/Raw_MachineTypeModel", "9119-MHE");
        } else {
            removeRegistry("svpd/Raw_MachineTypeModel");
        }
        for (const auto& [text, rc] : cases) {
            setRegistry("svpd/Raw_MachineTypeModel.fail", text);
            ReadResult result = readKey("svpd/Raw_MachineTypeModel", 8);
            ASSERT_NE(result.entry, nullptr) << text;
            EXPECT_EQ(result.entry->getRC(), rc) << text;
            EXPECT_EQ(result.size, 8u);
        }
    }
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
