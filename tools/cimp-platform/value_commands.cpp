#include "tools/cimp-platform/value_commands.h"

#include <optional>
#include <vector>

#include "sysdata/gate_inputs.h"
#include "tools/cimp-platform/root_files.h"
#include "tools/cimp-platform/target.h"
#include "tools/cimp-platform/value_codec.h"

namespace cimpcli {

namespace {

using Encoder = cimp::Outcome (*)(const std::string& text, std::string* bytes);
using TargetParser = cimp::Outcome (*)(const std::string& text, Target* target);

// The target `name` names, in a root that exists.
cimp::Outcome findTarget(const std::string& root, TargetParser parse, const std::string& name,
                         Target* target) {
    cimp::Outcome status = parse(name, target);
    return status.ok() ? checkRoot(root) : status;
}

// The one positional of `get` and `unset`: a registry key, in a root that exists.
cimp::Outcome takeRegistryKey(const std::string& root, ArgList& args, Target* key) {
    std::vector<std::string> positionals;
    cimp::Outcome status = args.takePositionals(1, 1, &positionals);
    return status.ok() ? findTarget(root, parseRegistryKey, positionals[0], key) : status;
}

// Writes `bytes` to the value file of the target `name` names.
cimp::Outcome writeValue(const std::string& root, TargetParser parse, const std::string& name,
                         const std::string& bytes) {
    Target target;
    cimp::Outcome status = findTarget(root, parse, name, &target);
    return status.ok() ? replaceFile(root + "/" + target.file, bytes) : status;
}

// A command writing one positional, encoded, to the value file of `targetName`.
cimp::Outcome writeEncoded(const std::string& root, ArgList& args, const char* targetName,
                           Encoder encode) {
    std::vector<std::string> positionals;
    std::string bytes;
    cimp::Outcome status = args.takePositionals(1, 1, &positionals);
    status = status.ok() ? encode(positionals[0], &bytes) : status;
    return status.ok() ? writeValue(root, parseTarget, targetName, bytes) : status;
}

cimp::Outcome runGet(const std::string& root, ArgList& args, std::ostream& out) {
    Target key;
    cimp::Outcome status = takeRegistryKey(root, args, &key);
    if (!status.ok()) {
        return status;
    }
    cimp::FileContent read = readRootFile(root, key.file, kMaxValueBytes);
    if (read.status.ok()) {
        out << displayValue(read.bytes) << "\n";
    }
    return read.status;
}

// The bytes `set` writes: VALUE as text (default) or hex digits, or --byte N alone.
cimp::Outcome setValue(ArgList& args, std::vector<std::string>* positionals, std::string* bytes) {
    bool hex = args.takeFlag("--hex");
    bool text = args.takeFlag("--text");
    std::optional<std::string> byte;
    cimp::Outcome status = args.takeOption("--byte", &byte);
    if (!status.ok()) {
        return status;
    }
    if (int(hex) + int(text) + int(byte.has_value()) > 1) {
        return cimp::Outcome::badUsage("set", "give at most one of --text, --hex, --byte");
    }
    status = args.takePositionals(byte ? 1 : 2, byte ? 1 : 2, positionals);
    if (!status.ok()) {
        return status;
    }
    if (byte) {
        return parseByte(*byte, bytes);
    }
    return hex ? parseHexBytes((*positionals)[1], bytes)
               : parseTaggedValue("text:" + (*positionals)[1], bytes);
}

cimp::Outcome runSet(const std::string& root, ArgList& args, std::ostream& /*out*/) {
    std::vector<std::string> positionals;
    std::string bytes;
    cimp::Outcome status = setValue(args, &positionals, &bytes);
    return status.ok() ? writeValue(root, parseRegistryKey, positionals[0], bytes) : status;
}

cimp::Outcome runUnset(const std::string& root, ArgList& args, std::ostream& /*out*/) {
    Target key;
    cimp::Outcome status = takeRegistryKey(root, args, &key);
    return status.ok() ? removeRootFile(root, key.file) : status;
}

cimp::Outcome runSetRole(const std::string& root, ArgList& args, std::ostream& /*out*/) {
    return writeEncoded(root, args, kCimpRoleKey, parseByte);
}

cimp::Outcome runSetManaged(const std::string& root, ArgList& args, std::ostream& /*out*/) {
    return writeEncoded(root, args, "managed", encodeManaged);
}

cimp::Outcome runSetPolicy(const std::string& root, ArgList& args, std::ostream& /*out*/) {
    return writeEncoded(root, args, "policy", encodePolicy);
}

}  // namespace

const Command kGetCommand = {
    "get", "KEY", "print the value of registry key KEY (area/name) as show does", runGet};
const Command kSetCommand = {
    "set", "KEY VALUE [--text | --hex] | KEY --byte N",
    "set registry key KEY to VALUE: text (default), hexadecimal digits two a byte, or the\n"
    "one byte N (0 to 255)",
    runSet};
const Command kUnsetCommand = {"unset", "KEY", "remove registry key KEY", runUnset};
const Command kSetRoleCommand = {
    "set-role", "N", "set the service processor role (dscv/FspRole) to the byte N; 1 serves CIM",
    runSetRole};
const Command kSetManagedCommand = {
    "set-managed", "N",
    "set the managed indicator to N (decimal or 0x); non-zero means a console manages the system",
    runSetManaged};
const Command kSetPolicyCommand = {
    "set-policy", "on|off|empty",
    "set the redundancy policy; empty makes the service answer without setting its flag",
    runSetPolicy};

}  // namespace cimpcli
