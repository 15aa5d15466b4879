#include "cimom/http/small_file.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace cimhost {

cimp::Outcome readSmallFile(const std::string& path, std::size_t maxSize, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return cimp::Outcome::failed("cannot read " + path, std::strerror(errno));
    }
    text->resize(maxSize + 1);
    in.read(&(*text)[0], static_cast<std::streamsize>(maxSize + 1));
    text->resize(static_cast<std::size_t>(in.gcount()));
    if (text->size() > maxSize) {
        return cimp::Outcome::failed(
            "", path + " is larger than " + std::to_string(maxSize) + " bytes");
    }
    return cimp::Outcome::success();
}

}  // namespace cimhost
