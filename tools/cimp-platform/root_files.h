// Reading and writing the files below a platform root.
//
// Reads go through the simulated platform's own reader (bounded, following no symbolic link
// below the root), so this tool sees what the provider sees. Writes are atomic: the bytes go to a
// temporary file in the same directory, which is then renamed over the target, so a provider
// reading at the same moment sees the old value or the new one, never a torn one.
#ifndef CIMP_TOOLS_CIMP_PLATFORM_ROOT_FILES_H
#define CIMP_TOOLS_CIMP_PLATFORM_ROOT_FILES_H

#include <cstddef>
#include <string>

#include "base/bounded_file.h"
#include "base/outcome.h"

namespace cimpcli {

// Names of temporary files begin with this; listings skip them.
constexpr char kTempPrefix[] = ".cimp-tmp-";

// Fails unless `root` is a directory.
cimp::Outcome checkRoot(const std::string& root);

// At most `limit` bytes of <root>/<file>; a longer file fails.
cimp::FileContent readRootFile(const std::string& root, const std::string& file, size_t limit);

// Removes <root>/<file>; fails when it does not exist.
cimp::Outcome removeRootFile(const std::string& root, const std::string& file);

// Replaces the file at `path` atomically (temporary file and rename, mode 0644), creating its
// directory when needed.
cimp::Outcome replaceFile(const std::string& path, const std::string& bytes);

}  // namespace cimpcli

#endif
