#include "cimom/indication/state_folder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

#include "cimom/indication/state_file_io.h"
#include "cimom/mof/mof_writer.h"

namespace cimhost {
namespace {

constexpr const char* kNameCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_-";

std::string utcStamp() {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    gmtime_r(&now, &parts);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y%m%dT%H%M%SZ", &parts);
    return buf;
}

}  // namespace

StateFolder::StateFolder(std::string dir) : dir_(std::move(dir)) {}

bool StateFolder::persistent() const {
    return !dir_.empty();
}

const std::string& StateFolder::dir() const {
    return dir_;
}

cimp::Outcome StateFolder::checkPlace(const std::string& name) const {
    if (dir_[0] != '/') {
        return cimp::Outcome::failed(dir_, "the state folder must be an absolute path");
    }
    const bool plain =
        !name.empty() && name.find_first_not_of(kNameCharacters) == std::string::npos;
    return plain ? cimp::Outcome::success()
                 : cimp::Outcome::failed(name, "not a state file name ([A-Za-z0-9_-]+)");
}

std::string StateFolder::pathOf(const std::string& name) const {
    return dir_ + "/" + name + ".mof";
}

cimp::Outcome StateFolder::save(const std::string& name,
                                const std::vector<cimmof::InstanceDecl>& instances) const {
    if (!persistent()) {
        return cimp::Outcome::success();
    }
    cimp::Outcome outcome = checkPlace(name);
    std::string text;
    if (outcome.ok()) {
        outcome = cimmof::writeMofInstances(instances, &text);
    }
    if (outcome.ok()) {
        outcome = ensureFolder(dir_);
    }
    return outcome.ok() ? replaceFile(dir_, pathOf(name), text) : outcome;
}

cimp::Outcome StateFolder::prepare() const {
    if (!persistent()) {
        return cimp::Outcome::success();
    }
    const cimp::Outcome made = ensureFolder(dir_);
    if (made.ok() && ::access(dir_.c_str(), W_OK | X_OK) != 0) {
        return cimp::Outcome::failed(
            dir_, std::string("cannot write in the state folder: ") + std::strerror(errno));
    }
    return made;
}

cimp::Outcome StateFolder::load(const std::string& name,
                                std::vector<cimmof::InstanceDecl>* out) const {
    out->clear();
    if (!persistent()) {
        return cimp::Outcome::success();
    }
    const cimp::Outcome named = checkPlace(name);
    if (!named.ok()) {
        return named;
    }
    const std::string path = pathOf(name);
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 && errno == ENOENT) {
        return cimp::Outcome::success();
    }
    const cimp::Outcome read = readInstanceFile(path, kMaxStateFileBytes, out);
    return read.ok() ? read : setAside(path, read);
}

cimp::Outcome StateFolder::setAside(const std::string& path, const cimp::Outcome& fault) const {
    const std::string aside = path + ".damaged-" + utcStamp();
    const bool moved = std::rename(path.c_str(), aside.c_str()) == 0;
    return cimp::Outcome::failed(
        fault.what(), fault.why() + (moved ? "; set aside as " : "; could not be set aside as ") +
                          aside + ", starting without it");
}

}  // namespace cimhost
