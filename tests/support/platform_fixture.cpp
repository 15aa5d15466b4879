#include "tests/support/platform_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace cimptest {

constexpr char kRootVariable[] = "CIMP_PLATFORM_ROOT";

PlatformRoot::PlatformRoot() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp");
    pattern += "/cimp-platform-XXXXXX";
    if (mkdtemp(&pattern[0]) != nullptr) {
        root_ = pattern;
    } else {
        ADD_FAILURE() << "cannot create a temporary platform root from " << pattern;
    }
    if (const char* previous = std::getenv(kRootVariable)) {
        previousRoot_ = previous;
    }
    setenv(kRootVariable, root_.c_str(), 1);
}

PlatformRoot::~PlatformRoot() {
    if (previousRoot_) {
        setenv(kRootVariable, previousRoot_->c_str(), 1);
    } else {
        unsetenv(kRootVariable);
    }
    if (!root_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
}

void PlatformRoot::setRegistry(const std::string& key, const std::string& bytes) {
    writeFile(registryFile(key), bytes);
}

void PlatformRoot::removeRegistry(const std::string& key) {
    std::error_code ignored;
    std::filesystem::remove(registryFile(key), ignored);
    std::filesystem::remove(registryFile(key) + ".fail", ignored);
}

void PlatformRoot::failRegistry(const std::string& key, uint32_t rc) {
    writeFailFile(registryFile(key), rc);
}

void PlatformRoot::setManaged(const std::string& text) {
    writeFile(managedFile(), text);
}

void PlatformRoot::failManaged(uint32_t rc) {
    writeFailFile(managedFile(), rc);
}

void PlatformRoot::setPolicy(const std::string& text) {
    writeFile(policyFile(), text);
}

void PlatformRoot::failPolicy(uint32_t rc) {
    writeFailFile(policyFile(), rc);
}

void PlatformRoot::writeExampleMachine() {
    setRegistry("dscv/FspRole", std::string(1, '\x01'));
    setManaged("0\n");
    setPolicy("0\n");
    setRegistry("svpd/Raw_MachineTypeModel", "9119-MHE");
    setRegistry("svpd/Raw_MachineSerialNumber", std::string("10ABCDE\0\0\0\0\0", 12));
    setRegistry("fstp/eth0_ipaddress", "10.0.0.1");
    setRegistry("fstp/eth1_ipaddress", "10.0.0.2");
    setRegistry("fstp/SystemName", "lab-system-7");
}

std::string PlatformRoot::registryFile(const std::string& key) const {
    return root_ + "/registry/" + key;
}

std::string PlatformRoot::managedFile() const {
    return root_ + "/drax/managed";
}

std::string PlatformRoot::policyFile() const {
    return root_ + "/rmgr/policy_enabled";
}

std::string PlatformRoot::errlLogFile() const {
    return root_ + "/errl/log";
}

std::string PlatformRoot::traceFile(const std::string& name) const {
    return root_ + "/trace/" + name;
}

std::vector<std::string> PlatformRoot::errlLines() const {
    std::vector<std::string> lines;
    std::ifstream in(errlLogFile());
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (error || !out) {
        ADD_FAILURE() << "cannot write platform file " << path;
    }
}

void PlatformRoot::writeFailFile(const std::string& path, uint32_t rc) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X\n", static_cast<unsigned>(rc));
    writeFile(path + ".fail", text);
}

}  // namespace cimptest
