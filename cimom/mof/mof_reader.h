// Reads MOF into a MofDocument, following #pragma include relative to the directory of the file
// that names it. Bounded: each file at most kMaxMofFileBytes, all files together at most
// kMaxMofTotalBytes, includes nested at most kMaxIncludeDepth deep; a file that includes itself,
// directly or through others, is refused. A failed include is reported at the #pragma that asked
// for it. Syntax only: the Schema checks meaning. Failed with the place of the fault (see
// mof_error.h). Thread-safe (no shared state).
#pragma once

#include <cstddef>
#include <string>

#include "base/outcome.h"
#include "cimom/mof/document.h"

namespace cimmof {

constexpr std::size_t kMaxMofFileBytes = 8u << 20;
constexpr std::size_t kMaxMofTotalBytes = 64u << 20;
constexpr int kMaxIncludeDepth = 16;

cimp::Outcome readMofFile(const std::string& path, MofDocument* doc);

// `fileName` names the text in errors and anchors its relative includes.
cimp::Outcome readMofText(const std::string& text, const std::string& fileName, MofDocument* doc);

}  // namespace cimmof
