// The command line of cimp-cimom. Pure parsing: paths are taken as given and checked later.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cimom/host/http_limits.h"

namespace cimhost {

struct DaemonOptions {
    std::string address = "127.0.0.1";
    std::optional<std::uint16_t> port;  // plain HTTP; 5988 when neither it nor TLS is asked for
    std::uint16_t tlsPort = 5989;
    unsigned threads = 0;  // 0: one per core
    HttpLimits limits;
    bool quiet = false;
    std::string nameSpace = "root/orvcim";
    std::optional<std::string> schemaFile;
    std::optional<std::string> registrationFile;
    std::optional<std::string> providerDir;
    std::optional<std::string> platformRoot;
    std::optional<std::string> tlsCertificate;
    std::optional<std::string> tlsKey;
    std::optional<std::string> authFile;
    bool allowInsecureRemote = false;
    bool help = false;
};

struct ParsedOptions {
    DaemonOptions options;
    std::string error;  // empty when the command line was good
};

ParsedOptions parseDaemonOptions(const std::vector<std::string>& args);

// The --help text.
std::string daemonUsage();

}  // namespace cimhost
