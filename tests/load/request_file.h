// A request file as the tests keep them (tests/e2e/requests, tests/load/requests): a method
// line, header lines, a blank line, then the body. Turned into the bytes a client sends.
#pragma once

#include <optional>
#include <string>

namespace cimpload {

// The whole HTTP/1.1 request to POST to /cimom on a keep-alive connection, or nothing when the
// file cannot be read or has no blank line after its headers.
std::optional<std::string> readRequestFile(const std::string& path);

}  // namespace cimpload
