#include "tools/cimp-platform/machine_file.h"

#include <sstream>

#include "base/text.h"
#include "tools/cimp-platform/target.h"
#include "tools/cimp-platform/value_codec.h"

namespace cimpcli {

const char kExampleMachine[] =
    "# machine type 9119, model MHE, serial 10ABCDE (12 bytes, NUL-padded)\n"
    "svpd/Raw_MachineTypeModel = 9119-MHE\n"
    "svpd/Raw_MachineSerialNumber = hex:313041424344450000000000\n"
    "# role 1: this service processor serves CIM\n"
    "dscv/FspRole = byte:1\n"
    "fstp/eth0_ipaddress = 10.0.0.1\n"
    "fstp/eth1_ipaddress = 10.0.0.2\n"
    "fstp/SystemName = lab-system-7\n"
    "managed = 0\n"
    "policy = off\n";

namespace {

cimp::Outcome encodeFor(const Target& target, const std::string& value, std::string* bytes) {
    if (target.kind == TargetKind::Managed) {
        return encodeManaged(value, bytes);
    }
    return target.kind == TargetKind::Policy ? encodePolicy(value, bytes)
                                             : parseTaggedValue(value, bytes);
}

cimp::Outcome parseLine(const std::string& line, Machine* machine) {
    size_t equals = line.find('=');
    if (equals == std::string::npos) {
        return cimp::Outcome::failed("", "expected key = value");
    }
    Target target;
    cimp::Outcome status = parseTarget(cimp::trimmed(line.substr(0, equals)), &target);
    std::string bytes;
    if (status.ok()) {
        status = encodeFor(target, cimp::trimmed(line.substr(equals + 1)), &bytes);
    }
    if (!status.ok()) {
        return cimp::Outcome::failed("", status.what() + ": " + status.why());
    }
    (*machine)[target.file] = bytes;
    return cimp::Outcome::success();
}

}  // namespace

cimp::Outcome parseMachine(const std::string& source, const std::string& text, Machine* machine) {
    std::istringstream lines(text);
    std::string line;
    for (size_t lineNumber = 1; std::getline(lines, line); ++lineNumber) {
        line = cimp::trimmed(line);
        if (line.empty() || line[0] == '#') {
            continue;
        }
        cimp::Outcome status = parseLine(line, machine);
        if (!status.ok()) {
            return cimp::Outcome::failed(source + ":" + std::to_string(lineNumber), status.why());
        }
    }
    return cimp::Outcome::success();
}

}  // namespace cimpcli
