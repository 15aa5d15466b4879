#include "cimom/daemon/default_paths.h"

#include <limits.h>
#include <stdlib.h>

#include <filesystem>

namespace cimhost {
namespace {

std::string canonical(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

// Empty when it cannot be told.
std::string runningExecutableDir() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).parent_path().string();
}

}  // namespace

DefaultPaths defaultPaths() {
    DefaultPaths paths;
    paths.buildTree = canonical(runningExecutableDir()) == canonical(CIMHOST_BUILD_DAEMON_DIR);
    const std::string schemaDir =
        paths.buildTree ? CIMHOST_SOURCE_SCHEMA_DIR : CIMHOST_INSTALL_SCHEMA_DIR;
    paths.schemaFile = schemaDir + "/root_orvcim.mof";
    // Every *.registration file there: the association provider's and the alert provider's.
    paths.registrationFile = schemaDir;
    if (paths.buildTree) {
        paths.providerDir = CIMHOST_BUILD_PROVIDER_DIR;
        paths.platformRoot = CIMHOST_SOURCE_PLATFORM_DIR;
    } else {
        paths.providerDir = CIMHOST_INSTALL_PROVIDER_DIR;
        paths.configFile = CIMHOST_INSTALL_CONFIG_FILE;
    }
    return paths;
}

}  // namespace cimhost
