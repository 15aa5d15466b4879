// The file steps under StateFolder: an atomic replace of a file's whole content, and a bounded
// read of instance declarations only. POSIX; each failure names the file and the reason.
#pragma once

#include <string>
#include <vector>

#include "base/outcome.h"
#include "cimom/mof/document.h"

namespace cimhost {

// Creates `dir` 0700 when it is missing (its parent must exist).
cimp::Outcome ensureFolder(const std::string& dir);

// Writes `text` to a fresh 0600 temporary file in `dir`, fsyncs it, renames it over `path` and
// fsyncs `dir`; on failure the temporary file is removed and `path` is untouched.
cimp::Outcome replaceFile(const std::string& dir, const std::string& path, const std::string& text);

// Reads `path` (at most `maxBytes`) as instance declarations; failed with "file:line:column" as
// its what() when the file is unreadable, not MOF, or holds anything else (classes, qualifier
// types, includes).
cimp::Outcome readInstanceFile(const std::string& path, std::size_t maxBytes,
                               std::vector<cimmof::InstanceDecl>* out);

}  // namespace cimhost
