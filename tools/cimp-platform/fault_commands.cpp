#include "tools/cimp-platform/fault_commands.h"

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/sim/sim_return_codes.h"
#include "platform/sim/value_parsers.h"
#include "tools/cimp-platform/root_files.h"
#include "tools/cimp-platform/root_listing.h"
#include "tools/cimp-platform/text_table.h"
#include "tools/cimp-platform/value_codec.h"

namespace cimpcli {

namespace {

// The platform reads no more of a fault file.
constexpr size_t kFaultFileLimit = 64;

cimp::Outcome runFail(const std::string& root, ArgList& args, std::ostream& /*out*/) {
    std::vector<std::string> positionals;
    cimp::Outcome status = args.takePositionals(2, 2, &positionals);
    Target target;
    uint32_t rc = 0;
    if (status.ok()) {
        status = parseTarget(positionals[0], &target);
    }
    if (status.ok()) {
        status = parseReturnCode(positionals[1], &rc);
    }
    if (status.ok()) {
        status = checkRoot(root);
    }
    return status.ok()
               ? replaceFile(root + "/" + target.file + kFaultSuffix, formatReturnCode(rc) + "\n")
               : status;
}

cimp::Outcome runClear(const std::string& root, ArgList& args, std::ostream& /*out*/) {
    bool all = args.takeFlag("--all");
    std::vector<std::string> positionals;
    cimp::Outcome status = args.takePositionals(all ? 0 : 1, all ? 0 : 1, &positionals);
    if (status.ok()) {
        status = checkRoot(root);
    }
    std::vector<Target> targets;
    if (status.ok() && all) {
        status = listFaults(root, &targets);
    } else if (status.ok()) {
        targets.emplace_back();
        status = parseTarget(positionals[0], &targets.back());
    }
    for (size_t i = 0; status.ok() && i < targets.size(); ++i) {
        status = removeRootFile(root, targets[i].file + kFaultSuffix);
    }
    return status;
}

cimp::Outcome runFaults(const std::string& root, ArgList& args, std::ostream& out) {
    std::vector<std::string> positionals;
    cimp::Outcome status = args.takePositionals(0, 0, &positionals);
    std::vector<Target> faults;
    if (status.ok()) {
        status = checkRoot(root);
    }
    if (status.ok()) {
        status = listFaults(root, &faults);
    }
    TextTable table;
    for (const Target& target : faults) {
        table.emplace_back(target.name, describeFault(root, target));
    }
    printTable(table, out);
    return status;
}

}  // namespace

std::string describeFault(const std::string& root, const Target& target) {
    cimp::FileContent read = readRootFile(root, target.file + kFaultSuffix, kFaultFileLimit);
    std::optional<uint32_t> rc =
        read.status.ok() ? cimpsim::parseFaultCode(read.bytes) : std::nullopt;
    if (rc) {
        return formatReturnCode(*rc);
    }
    std::string why = read.status.ok() ? "holds " + displayValue(read.bytes) : read.status.why();
    return formatReturnCode(cimpsim::kRcBadFaultFile) + " (fault file " + why + ")";
}

const Command kFailCommand = {
    "fail", "TARGET RC",
    "make every read of TARGET (a registry key area/name, managed, or policy) fail with the\n"
    "hexadecimal return code RC",
    runFail};

const Command kClearCommand = {"clear", "TARGET | --all",
                               "remove the failure injected for TARGET, or every failure",
                               runClear};

const Command kFaultsCommand = {"faults", "", "list the injected failures: target and return code",
                                runFaults};

}  // namespace cimpcli
