#include "base/absolute_path.h"

#include <filesystem>
#include <system_error>

namespace cimp {

std::string absolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? path : full.string();
}

}  // namespace cimp
