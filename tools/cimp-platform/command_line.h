// cimp-platform's command line: [--root DIR] COMMAND [ARGS], --help overall or per command.
// Exit status 0 ok, 1 failed, 2 bad usage; every error goes to `err` as
// "cimp-platform: <what>: <why>".
#ifndef CIMP_TOOLS_CIMP_PLATFORM_COMMAND_LINE_H
#define CIMP_TOOLS_CIMP_PLATFORM_COMMAND_LINE_H

#include <ostream>
#include <string>
#include <vector>

namespace cimpcli {

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace cimpcli

#endif
