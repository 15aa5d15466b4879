// The registry's file contract: <root>/registry/area/name, bounded reads, fault injection and
// keys that must never reach the file system.
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/errl_entry.h"
#include "platform/sim/sim_capture.h"
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

ReadResult readKey(const char* key, unsigned int capacity) {
    std::string buffer(capacity, '#');
    unsigned int size = capacity;
    Entry entry(UtilReg::read(key, &buffer[0], size, false, nullptr));
    buffer.resize(entry ? 0 : size);
    return {std::move(entry), buffer, size};
}

class Registry : public cimptest::PlatformFixture {};

TEST_F(Registry, ShortValueIsCopiedWithItsSize) {
    setRegistry("fstp/eth0_ipaddress", "10.0.0.1");
    ReadResult result = readKey("fstp/eth0_ipaddress", 16);
    ASSERT_EQ(result.entry, nullptr);
    EXPECT_EQ(result.size, 8u);
    EXPECT_EQ(result.bytes, "10.0.0.1");
}

TEST_F(Registry, ValueLongerThanCapacityIsCutAndBytesBeyondAreUntouched) {
    setRegistry("svpd/Raw_MachineSerialNumber", "10ABCDE-and-much-more");
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    unsigned int size = 12;
    Entry entry(UtilReg::read("svpd/Raw_MachineSerialNumber", buffer, size, false, nullptr));
    ASSERT_EQ(entry, nullptr);
    EXPECT_EQ(size, 12u);
    EXPECT_EQ(std::string(buffer, 12), "10ABCDE-and-");
    EXPECT_EQ(std::string(buffer + 12, 4), "####");
}

TEST_F(Registry, CapacityFarBeyondTheValueReadsOnlyTheValue) {
    setRegistry("fstp/eth0_ipaddress", "10.0.0.1");
    char buffer[16] = {};
    unsigned int size = 1u << 31;  // the read must be sized by the file, not by this
    Entry entry(UtilReg::read("fstp/eth0_ipaddress", buffer, size, false, nullptr));
    ASSERT_EQ(entry, nullptr);
    EXPECT_EQ(size, 8u);
}

TEST_F(Registry, ExampleMachineReadsBack) {
    writeExampleMachine();
    struct Case {
        const char* key;
        unsigned int capacity;
        std::string value;
    };
    const Case cases[] = {
        {"dscv/FspRole", 1, std::string(1, '\x01')},
        {"svpd/Raw_MachineTypeModel", 8, "9119-MHE"},
        {"svpd/Raw_MachineSerialNumber", 12, std::string("10ABCDE\0\0\0\0\0", 12)},
        {"fstp/eth0_ipaddress", 16, cimptest::example::kEth0},
        {"fstp/eth1_ipaddress", 16, cimptest::example::kEth1},
        {"fstp/SystemName", 32, cimptest::example::kSystemName},
    };
    for (const Case& c : cases) {
        ReadResult result = readKey(c.key, c.capacity);
        ASSERT_EQ(result.entry, nullptr) << c.key;
        EXPECT_EQ(result.bytes, c.value) << c.key;
    }
}

TEST_F(Registry, BinaryValueKeepsItsNuls) {
    setRegistry("dscv/FspRole", std::string("\x01\0\x02", 3));
    ReadResult result = readKey("dscv/FspRole", 8);
    ASSERT_EQ(result.entry, nullptr);
    EXPECT_EQ(result.bytes, std::string("\x01\0\x02", 3));
}

TEST_F(Registry, EmptyValueAndZeroCapacityReadNothing) {
    setRegistry("fstp/SystemName", "");
    EXPECT_EQ(readKey("fstp/SystemName", 32).size, 0u);
    setRegistry("fstp/SystemName", "lab");
    unsigned int size = 0;
    Entry entry(UtilReg::read("fstp/SystemName", nullptr, size, false, nullptr));
    EXPECT_EQ(entry, nullptr);
    EXPECT_EQ(size, 0u);
}

TEST_F(Registry, MissingValueFailsAndLeavesSizeAlone) {
    ReadResult result = readKey("fstp/SystemName", 32);
    ASSERT_NE(result.entry, nullptr);
    EXPECT_EQ(result.entry->getRC(), cimpsim::kRcMissing);
    EXPECT_EQ(result.size, 32u);
}

TEST_F(Registry, UnreadableValuesFail) {
    setRegistry("fstp/SystemName", "x");
    ASSERT_EQ(symlink(registryFile("fstp/SystemName").c_str(), registryFile("fstp/Linked").c_str()),
              0);
    ASSERT_EQ(mkdir(registryFile("fstp/Directory").c_str(), 0755), 0);
    ASSERT_EQ(mkfifo(registryFile("fstp/Fifo").c_str(), 0644), 0);
    for (const char* key : {"fstp/Linked", "fstp/Directory", "fstp/Fifo"}) {
        ReadResult result = readKey(key, 8);
        ASSERT_NE(result.entry, nullptr) << key;
        EXPECT_EQ(result.entry->getRC(), cimpsim::kRcUnreadable) << key;
    }
}

TEST_F(Registry, SymlinkedAreaIsNotFollowed) {
    setRegistry("real/value", "secret");
    ASSERT_EQ(symlink(registryFile("real").c_str(), (root() + "/registry/alias").c_str()), 0);
    EXPECT_NE(readKey("alias/value", 8).entry, nullptr);
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
    const std::string longKey = "a/" + std::string(300, 'b');
    const char* keys[] = {"",
                          "../x",
                          "/etc/passwd",
                          "a//b",
                          "a/b/c",
                          "a/",
                          "/a",
                          "..",
                          "a",
                          "./x",
                          "a/..",
                          "a/.",
                          "../drax/managed",
                          "a\\b/c",
                          "a/b\\c",
                          "a/b\nc",
                          "a/b\tc",
                          "area/x/",
                          "/area/x",
                          longKey.c_str()};
    for (const char* key : keys) {
        ReadResult result = readKey(key, 8);
        ASSERT_NE(result.entry, nullptr) << "key '" << key << "'";
        EXPECT_EQ(result.entry->getRC(), cimpsim::kRcBadKey) << "key '" << key << "'";
        EXPECT_EQ(result.size, 8u);
    }
    unsigned int size = 8;
    char buffer[8];
    Entry entry(UtilReg::read(nullptr, buffer, size, false, nullptr));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->getRC(), cimpsim::kRcBadKey);
}

TEST_F(Registry, CallsAndCreatedEntriesAreCaptured) {
    cimpsim::Capture capture;
    setRegistry("fstp/eth0_ipaddress", "10.0.0.1");
    readKey("fstp/eth0_ipaddress", 16);
    ReadResult failed = readKey("fstp/eth1_ipaddress", 16);
    readKey(nullptr, 4);

    EXPECT_EQ(capture.calls(), (std::vector<std::string>{"UtilReg::read fstp/eth0_ipaddress",
                                                         "UtilReg::read fstp/eth1_ipaddress",
                                                         "UtilReg::read (null)"}));
    std::vector<cimpsim::ErrlEvent> events = capture.errl();
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0].kind, cimpsim::ErrlEvent::Kind::Created);
    EXPECT_EQ(events[0].entry, failed.entry.get());
    EXPECT_EQ(events[0].rc, cimpsim::kRcMissing);
    EXPECT_EQ(events[0].origin, "UtilReg::read fstp/eth1_ipaddress");
}

}  // namespace
