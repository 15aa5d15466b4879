#include "tools/cimp-platform/init_command.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <system_error>

#include "tools/cimp-platform/machine_file.h"
#include "tools/cimp-platform/root_files.h"

namespace cimpcli {

namespace {

namespace fs = std::filesystem;

cimp::Outcome loadMachine(const std::optional<std::string>& machineFile, Machine* machine) {
    cimp::Outcome status = parseMachine("example machine", kExampleMachine, machine);
    if (!status.ok() || !machineFile) {
        return status;
    }
    cimp::FileContent read = cimp::readBoundedFile(*machineFile, kMaxMachineFileBytes);
    return read.status.ok() ? parseMachine(*machineFile, read.bytes, machine) : read.status;
}

cimp::Outcome layOut(const std::string& dir, const Machine& machine) {
    fs::path target = fs::absolute(dir);
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
    if (error) {
        return cimp::Outcome::failed(target.parent_path().string(), error.message());
    }
    std::string temp = target.string() + ".cimp-tmp-XXXXXX";
    if (::mkdtemp(&temp[0]) == nullptr) {
        return cimp::Outcome::failed(temp, std::strerror(errno));
    }
    cimp::Outcome status;
    for (auto file = machine.begin(); status.ok() && file != machine.end(); ++file) {
        status = replaceFile(temp + "/" + file->first, file->second);
    }
    if (status.ok() && ::chmod(temp.c_str(), 0755) != 0) {
        status = cimp::Outcome::failed(temp, std::strerror(errno));
    }
    // rename() replaces an empty directory and refuses any other, so nothing in DIR is lost.
    if (status.ok() && std::rename(temp.c_str(), target.c_str()) != 0) {
        status = cimp::Outcome::failed(dir, errno == ENOTEMPTY || errno == EEXIST
                                                ? "already holds files; init lays out only a new "
                                                  "or empty directory"
                                                : std::strerror(errno));
    }
    if (!status.ok()) {
        fs::remove_all(temp, error);
    }
    return status;
}

cimp::Outcome runInit(const std::string& /*root*/, ArgList& args, std::ostream& /*out*/) {
    std::optional<std::string> machineFile;
    std::vector<std::string> positionals;
    cimp::Outcome status = args.takeOption("--machine", &machineFile);
    if (status.ok()) {
        status = args.takePositionals(1, 1, &positionals);
    }
    Machine machine;
    if (status.ok()) {
        status = loadMachine(machineFile, &machine);
    }
    return status.ok() ? layOut(positionals[0], machine) : status;
}

}  // namespace

const Command kInitCommand = {
    "init", "DIR [--machine FILE]",
    "lay out a complete platform root in DIR (new or empty): the example machine, or the\n"
    "values of a machine file (key = value lines; see the README)",
    runInit};

}  // namespace cimpcli
