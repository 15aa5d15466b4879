#include "tools/cimp-platform/root_listing.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "tools/cimp-platform/root_files.h"

namespace cimpcli {

namespace {

namespace fs = std::filesystem;

// Names of the regular files (symbolic links left out, as the platform refuses them) in the
// area directories below <root>/registry, as "registry/area/name".
cimp::Outcome registryFiles(const std::string& root, std::vector<std::string>* files) {
    fs::path registry = fs::path(root) / kRegistryDir;
    std::error_code error;
    if (!fs::is_directory(registry, error)) {
        return cimp::Outcome::success();
    }
    for (const fs::directory_entry& area : fs::directory_iterator(registry, error)) {
        if (!area.is_directory(error) || area.is_symlink(error)) {
            continue;
        }
        for (const fs::directory_entry& file : fs::directory_iterator(area.path(), error)) {
            if (!file.is_regular_file(error) || file.is_symlink(error)) {
                continue;
            }
            if (files->size() == kMaxListedFiles) {
                return cimp::Outcome::failed(
                    registry.string(), "more than " + std::to_string(kMaxListedFiles) + " files");
            }
            files->push_back(std::string(kRegistryDir) + "/" + area.path().filename().string() +
                             "/" + file.path().filename().string());
        }
    }
    if (error) {
        return cimp::Outcome::failed(registry.string(), error.message());
    }
    return cimp::Outcome::success();
}

void sortByName(std::vector<Target>& targets) {
    std::sort(targets.begin(), targets.end(),
              [](const Target& a, const Target& b) { return a.name < b.name; });
}

}  // namespace

cimp::Outcome listRegistryKeys(const std::string& root, std::vector<Target>* keys) {
    std::vector<std::string> files;
    cimp::Outcome status = registryFiles(root, &files);
    for (const std::string& file : files) {
        Target target;
        if (file.find(kTempPrefix) == std::string::npos && targetOfFile(file, &target)) {
            keys->push_back(target);
        }
    }
    sortByName(*keys);
    return status;
}

cimp::Outcome listFaults(const std::string& root, std::vector<Target>* faults) {
    std::vector<std::string> files;
    cimp::Outcome status = registryFiles(root, &files);
    for (const Target& fixed : kFixedTargets) {
        files.push_back(fixed.file + kFaultSuffix);
    }
    Target target;
    std::error_code error;
    for (const std::string& file : files) {
        if (!endsWith(file, kFaultSuffix)) {
            continue;
        }
        std::string valueFile = file.substr(0, file.size() - (sizeof kFaultSuffix - 1));
        if (fs::exists(fs::path(root) / file, error) && targetOfFile(valueFile, &target)) {
            faults->push_back(target);
        }
    }
    sortByName(*faults);
    return status;
}

}  // namespace cimpcli
