#include "tools/cimp-platform/show_command.h"

#include <iterator>
#include <vector>

#include "tools/cimp-platform/fault_commands.h"
#include "tools/cimp-platform/root_files.h"
#include "tools/cimp-platform/root_listing.h"
#include "tools/cimp-platform/serving_state.h"
#include "tools/cimp-platform/text_table.h"
#include "tools/cimp-platform/value_codec.h"

namespace cimpcli {

namespace {

std::string shownValue(const std::string& root, const Target& target) {
    cimp::FileContent read = readRootFile(root, target.file, kMaxValueBytes);
    if (!read.status.ok()) {
        return "(" + read.status.why() + ")";
    }
    return target.kind == TargetKind::Policy ? policyWord(read.bytes) : displayValue(read.bytes);
}

cimp::Outcome runShow(const std::string& root, ArgList& args, std::ostream& out) {
    std::vector<std::string> positionals;
    cimp::Outcome status = args.takePositionals(0, 0, &positionals);
    std::vector<Target> keys;
    std::vector<Target> faults;
    if (status.ok()) {
        status = checkRoot(root);
    }
    if (status.ok()) {
        status = listRegistryKeys(root, &keys);
    }
    if (status.ok()) {
        status = listFaults(root, &faults);
    }
    if (!status.ok()) {
        return status;
    }
    keys.insert(keys.end(), std::begin(kFixedTargets), std::end(kFixedTargets));

    TextTable table;
    for (const Target& key : keys) {
        table.emplace_back(key.name, shownValue(root, key));
    }
    for (const Target& fault : faults) {
        table.emplace_back("fail " + fault.name, describeFault(root, fault));
    }
    table.emplace_back("CIM serving", servingState(root));
    printTable(table, out);
    return status;
}

}  // namespace

const Command kShowCommand = {
    "show", "",
    "show every registry key with its value (text when printable, else hex:), the managed\n"
    "indicator, the policy, every injected failure, and whether CIM serving is on",
    runShow};

}  // namespace cimpcli
