// The POSIX Directory: one open descriptor of the directory, and every file beneath it opened
// in one openat2 call with RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS, so the kernel refuses "..",
// absolute paths and symbolic links at every level in the same step that finds the file.
#ifndef CIMP_PLATFORM_SIM_POSIX_DIRECTORY_H
#define CIMP_PLATFORM_SIM_POSIX_DIRECTORY_H

#include <sys/stat.h>

#include <string>

#include "platform/sim/env.h"
#include "platform/sim/fd.h"

namespace cimpsim {

class PosixDirectory : public Directory {
  public:
    // Opens `path` (created with its parents first when `create` is set and it is missing),
    // following a link at `path` itself. One that cannot be opened keeps the error and answers
    // every call with it.
    PosixDirectory(const std::string& path, bool create);

    bool valid() const { return dir_.valid(); }
    // The open directory's descriptor, for naming it through /proc/self/fd.
    int descriptor() const { return dir_.get(); }
    // Whether `info` (a stat of some path) describes this very directory.
    bool isSameAs(const struct stat& info) const;

    FileRead read(const std::string& relative, char* buffer, size_t capacity) const override;
    // Reads as read() does and tells how many links the file has (0 when it was not read).
    FileRead readCountingLinks(const std::string& relative, char* buffer, size_t capacity,
                               nlink_t& links) const;
    bool appendLocked(const std::string& relative, size_t tailLimit,
                      const std::function<std::string(const std::string&)>& compose) const override;
    std::unique_ptr<SharedMapping> mapShared(
        const std::string& relative, size_t size,
        const std::function<void(uint8_t*, size_t)>& prepare) const override;

  private:
    Fd openBeneath(const std::string& relative, int flags) const;
    // Opens `relative` for writing, creating it and its missing folders, and locks it; fails
    // unless it is a regular file of one link. `info` describes it.
    Fd openLocked(const std::string& relative, int flags, struct stat& info) const;
    void createFolders(const std::string& relative) const;

    Fd dir_;
    dev_t device_;
    ino_t inode_;
};

}  // namespace cimpsim

#endif
