#include "tools/cimp-platform/command_line.h"

#include <algorithm>
#include <iterator>
#include <optional>

#include "platform/sim/env.h"
#include "platform/sim/platform_root.h"
#include "tools/cimp-platform/errl_command.h"
#include "tools/cimp-platform/fault_commands.h"
#include "tools/cimp-platform/init_command.h"
#include "tools/cimp-platform/show_command.h"
#include "tools/cimp-platform/trace_command.h"
#include "tools/cimp-platform/value_commands.h"

namespace cimpcli {

namespace {

const Command* const kCommands[] = {
    &kInitCommand,    &kShowCommand,       &kGetCommand,       &kSetCommand,  &kUnsetCommand,
    &kSetRoleCommand, &kSetManagedCommand, &kSetPolicyCommand, &kFailCommand, &kClearCommand,
    &kFaultsCommand,  &kErrlCommand,       &kTraceCommand};

const Command* findCommand(const std::string& name) {
    auto found = std::find_if(std::begin(kCommands), std::end(kCommands),
                              [&](const Command* command) { return name == command->name; });
    return found != std::end(kCommands) ? *found : nullptr;
}

// "NAME USAGE", or just "NAME" when it takes no arguments.
std::string synopsis(const Command& command) {
    return std::string(command.name) + (*command.usage != '\0' ? " " : "") + command.usage;
}

void printUsage(std::ostream& out) {
    out << "usage: cimp-platform [--root DIR] COMMAND [ARGS]\n"
           "  DIR: the platform root; else $CIMP_PLATFORM_ROOT when absolute, else "
        << cimpsim::defaultPlatformRoot()
        << "\n"
           "  cimp-platform COMMAND --help describes one command.\n"
           "commands:\n";
    for (const Command* command : kCommands) {
        out << "  " << synopsis(*command) << "\n";
    }
}

void printCommandHelp(const Command& command, std::ostream& out) {
    out << "usage: cimp-platform [--root DIR] " << synopsis(command) << "\n"
        << command.summary << "\n";
}

int report(const cimp::Outcome& status, std::ostream& err) {
    if (!status.what().empty() || !status.why().empty()) {
        err << "cimp-platform: " << status.what() << ": " << status.why() << "\n";
    }
    return status.exitStatus();
}

}  // namespace

int runCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ArgList global(args);
    std::optional<std::string> root;
    cimp::Outcome status = global.takeOption("--root", &root);
    if (status.ok() && root && root->empty()) {
        status = cimp::Outcome::badUsage("--root", "needs a directory");
    }
    if (!status.ok()) {
        return report(status, err);
    }
    bool longHelp = global.takeFlag("--help");
    bool help = global.takeFlag("-h") || longHelp;
    std::vector<std::string> rest = global.remaining();
    if (rest.empty()) {
        printUsage(help ? out : err);
        return help ? 0 : 2;
    }
    const Command* command = findCommand(rest[0]);
    if (command == nullptr) {
        report(cimp::Outcome::badUsage(rest[0], "unknown command"), err);
        printUsage(err);
        return 2;
    }
    if (help) {
        printCommandHelp(*command, out);
        return 0;
    }
    ArgList commandArgs(std::vector<std::string>(rest.begin() + 1, rest.end()));
    status =
        command->run(root ? *root : cimpsim::platformRoot(cimpsim::currentEnv()), commandArgs, out);
    const int exitStatus = report(status, err);
    if (exitStatus == 2) {
        printCommandHelp(*command, err);
    }
    return exitStatus;
}

}  // namespace cimpcli
