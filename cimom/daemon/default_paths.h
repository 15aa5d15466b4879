// Where cimp-cimom finds what it is not told on the command line or in its configuration file. A daemon run from its build
// directory uses the source tree's schema/ and examples/platform and the provider the build
// made and reads no configuration file unless told; an installed one uses the installed schema,
// provider directory and configuration file and leaves the platform root to the simulated
// platform's own default. The paths are fixed at build time; which set
// applies is decided by where the running executable lives (/proc/self/exe).
#pragma once

#include <string>

namespace cimhost {

struct DefaultPaths {
    std::string schemaFile;
    std::string registrationFile;
    std::string providerDir;
    std::string platformRoot;  // empty: let the simulated platform choose
    std::string configFile;    // empty: none
    bool buildTree = false;
};

DefaultPaths defaultPaths();

}  // namespace cimhost
