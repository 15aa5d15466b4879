// One cimp-platform subcommand: its name, usage, one-line summary and what runs it. A command
// gets the platform root in force (--root, else CIMP_PLATFORM_ROOT when absolute, else the
// build's default), its own arguments, and the stream for its output.
#ifndef CIMP_TOOLS_CIMP_PLATFORM_COMMAND_H
#define CIMP_TOOLS_CIMP_PLATFORM_COMMAND_H

#include <ostream>
#include <string>

#include "base/outcome.h"
#include "tools/cimp-platform/arg_list.h"

namespace cimpcli {

struct Command {
    const char* name;
    const char* usage;    // arguments after the name
    const char* summary;  // what it does, for --help
    cimp::Outcome (*run)(const std::string& root, ArgList& args, std::ostream& out);
};

}  // namespace cimpcli

#endif
