#include "base/bounded_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace cimp {

FileContent readBoundedFile(const std::string& path, std::size_t maxBytes) {
    FileContent read;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        read.missing = error == std::errc::no_such_file_or_directory;
        read.status = Outcome::failed(path, error ? error.message() : "not a regular file");
        return read;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        read.status = Outcome::failed(path, std::strerror(errno));
        return read;
    }
    // One byte beyond the limit tells a file that is too long (or grew) from one that just fits.
    read.bytes.resize(maxBytes + 1);
    in.read(&read.bytes[0], static_cast<std::streamsize>(read.bytes.size()));
    read.bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (in.bad()) {
        read.status = Outcome::failed(path, "cannot be read");
    } else if (read.bytes.size() > maxBytes) {
        read.status = Outcome::failed(path, "larger than " + std::to_string(maxBytes) + " bytes");
    }
    if (!read.status.ok()) {
        read.bytes.clear();
    }
    return read;
}

}  // namespace cimp
