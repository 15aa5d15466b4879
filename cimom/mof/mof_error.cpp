#include "cimom/mof/mof_error.h"

namespace cimmof {
namespace {

std::string placeOf(const SourceLocation& where) {
    if (where.line <= 0) {
        return where.file;
    }
    return where.file + ":" + std::to_string(where.line) + ":" + std::to_string(where.column);
}

}  // namespace

MofError::MofError(const SourceLocation& where, const std::string& message)
    : std::runtime_error(placeOf(where)), detail(message) {}

}  // namespace cimmof
