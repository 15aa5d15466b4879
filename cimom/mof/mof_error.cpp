#include "cimom/mof/mof_error.h"

namespace cimmof {
namespace {

std::string withLocation(const SourceLocation& where, const std::string& message) {
    if (where.line <= 0) {
        return where.file + ": " + message;
    }
    return where.file + ":" + std::to_string(where.line) + ":" + std::to_string(where.column) +
           ": " + message;
}

}  // namespace

MofError::MofError(const SourceLocation& where, const std::string& message)
    : std::runtime_error(withLocation(where, message)),
      file(where.file),
      line(where.line),
      column(where.column),
      detail(message) {}

}  // namespace cimmof
