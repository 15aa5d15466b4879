// A throw-away simulated platform for tests.
//
// PlatformRoot creates a fresh temporary platform root, points CIMP_PLATFORM_ROOT at it for its
// lifetime (restoring the previous value afterwards) and removes the whole tree when it goes. Its
// helpers write the files the simulated platform reads: registry values, the management-console
// indicator, the redundancy policy and `.fail` files that make a call fail with a chosen return
// code. PlatformFixture is the same as a GoogleTest fixture (TEST_F, or derive from it).
//
// Not thread-safe: set the platform up before starting threads that call the platform. Only one
// root should be alive at a time, since the environment variable is process-wide. A helper that
// cannot write its file reports a test failure naming the path.
#ifndef CIMP_TESTS_SUPPORT_PLATFORM_FIXTURE_H
#define CIMP_TESTS_SUPPORT_PLATFORM_FIXTURE_H

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace cimptest {

class PlatformRoot {
  public:
    PlatformRoot();
    ~PlatformRoot();
    PlatformRoot(const PlatformRoot&) = delete;
    PlatformRoot& operator=(const PlatformRoot&) = delete;

    // Absolute path of the temporary root.
    const std::string& root() const { return root_; }

    // Registry value `key` ("area/name") holds exactly `bytes` (NULs included).
    void setRegistry(const std::string& key, const std::string& bytes);
    // Removes the value of `key` (and its .fail file), so reads of it fail as missing.
    void removeRegistry(const std::string& key);
    // Reads of `key` fail with return code `rc`, whatever the value holds.
    void failRegistry(const std::string& key, uint32_t rc);

    // The management-console indicator file holds `text` ("0", "1", "0x10", ...).
    void setManaged(const std::string& text);
    void failManaged(uint32_t rc);

    // The redundancy-policy file holds `text` ("0", "1", "" ...).
    void setPolicy(const std::string& text);
    void failPolicy(uint32_t rc);

    // A complete good machine: role byte 1, not managed ("0"), policy "0", type-model
    // "9119-MHE", serial "10ABCDE" NUL-padded to 12 bytes, eth0 "10.0.0.1", eth1 "10.0.0.2",
    // system name "lab-system-7".
    void writeExampleMachine();

    // File paths under the root.
    std::string registryFile(const std::string& key) const;
    std::string managedFile() const;
    std::string policyFile() const;
    std::string errlLogFile() const;
    std::string traceFile(const std::string& name) const;

    // Lines of the error log so far (empty when nothing was committed).
    std::vector<std::string> errlLines() const;

  private:
    void writeFailFile(const std::string& path, uint32_t rc);

    std::string root_;
    std::optional<std::string> previousRoot_;
};

class PlatformFixture : public ::testing::Test, public PlatformRoot {};

// Writes `bytes` to the file `path`, creating its folders; a failure fails the test.
void writeFile(const std::string& path, const std::string& bytes);

}  // namespace cimptest

#endif
