#include "tools/cimp-platform/root_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/sim/env.h"

namespace cimpcli {

cimp::Outcome checkRoot(const std::string& root) {
    std::error_code error;
    if (!std::filesystem::is_directory(root, error)) {
        return cimp::Outcome::failed(root,
                                     "not a platform root (no such directory); "
                                     "lay one out with cimp-platform init");
    }
    return cimp::Outcome::success();
}

cimp::FileContent readRootFile(const std::string& root, const std::string& file, size_t limit) {
    cimp::FileContent read;
    std::string path = root + "/" + file;
    // One byte beyond the limit tells a file that is too long from one that just fits.
    read.bytes.resize(limit + 1);
    const cimpsim::FileRead got =
        cimpsim::systemEnv().directory(root, false)->read(file, read.bytes.data(), limit + 1);
    read.bytes.resize(got.status == cimpsim::ReadStatus::Ok ? got.size : 0);
    read.missing = got.status == cimpsim::ReadStatus::Missing;
    if (read.missing) {
        read.status = cimp::Outcome::failed(path, "no such file");
    } else if (got.status == cimpsim::ReadStatus::Unreadable) {
        read.status = cimp::Outcome::failed(
            path, "cannot be read (not a regular file, a symbolic link, or no permission)");
    } else if (read.bytes.size() > limit) {
        read.status =
            cimp::Outcome::failed(path, "larger than " + std::to_string(limit) + " bytes");
    }
    return read;
}

cimp::Outcome replaceFile(const std::string& path, const std::string& bytes) {
    std::filesystem::path target(path);
    std::filesystem::path dir = target.parent_path().empty() ? "." : target.parent_path();
    std::error_code error;
    std::filesystem::create_directories(dir, error);
    if (error) {
        return cimp::Outcome::failed(dir.string(), error.message());
    }
    std::string temp = (dir / kTempPrefix).string() + "XXXXXX";
    int fd = ::mkstemp(&temp[0]);
    if (fd < 0) {
        return cimp::Outcome::failed(temp, std::strerror(errno));
    }
    // A value file is small: one write takes it whole, and a short one means the disk is full.
    errno = ENOSPC;
    bool written = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
                   ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0;
    int writeError = errno;
    if (::close(fd) != 0 && written) {
        written = false;
        writeError = errno;
    }
    if (!written) {
        ::unlink(temp.c_str());
        return cimp::Outcome::failed(temp, std::strerror(writeError));
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        int renameError = errno;
        ::unlink(temp.c_str());
        return cimp::Outcome::failed(path, std::strerror(renameError));
    }
    return cimp::Outcome::success();
}

cimp::Outcome removeRootFile(const std::string& root, const std::string& file) {
    std::string path = root + "/" + file;
    if (::unlink(path.c_str()) != 0) {
        return cimp::Outcome::failed(path, errno == ENOENT ? "no such file" : std::strerror(errno));
    }
    return cimp::Outcome::success();
}

}  // namespace cimpcli
