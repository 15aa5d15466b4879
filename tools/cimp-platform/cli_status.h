// How a cimp-platform step ends: ok, failed (exit 1) or bad usage (exit 2). A failure names the
// file or argument it concerns and the reason; main prints it as "cimp-platform: <what>: <why>".
#ifndef CIMP_TOOLS_CIMP_PLATFORM_CLI_STATUS_H
#define CIMP_TOOLS_CIMP_PLATFORM_CLI_STATUS_H

#include <string>
#include <utility>

namespace cimpcli {

struct CliStatus {
    int exitCode = 0;
    std::string what;
    std::string why;

    bool ok() const { return exitCode == 0; }

    static CliStatus success() { return {}; }
    static CliStatus failed(std::string what, std::string why) {
        return {1, std::move(what), std::move(why)};
    }
    static CliStatus badUsage(std::string what, std::string why) {
        return {2, std::move(what), std::move(why)};
    }
};

}  // namespace cimpcli

#endif
