#include "cimom/mof/bounded_file.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "cimom/mof/mof_error.h"

namespace cimmof {

std::string readBoundedFile(const std::string& path, std::size_t maxBytes) {
    const SourceLocation whole{path, 0, 0};
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        throw MofError(whole, ec ? "cannot open: " + ec.message() : "not a regular file");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw MofError(whole, "cannot open for reading");
    }
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > maxBytes) {
        throw MofError(whole, ec ? "cannot size: " + ec.message()
                                 : "larger than " + std::to_string(maxBytes) + " bytes");
    }
    // Room for one byte more than the size seen: a file that grows while it is read is caught.
    std::string text(static_cast<std::size_t>(size) + 1, '\0');
    in.read(&text[0], static_cast<std::streamsize>(text.size()));
    if (in.bad()) {
        throw MofError(whole, "read failed");
    }
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got > size) {
        throw MofError(whole, "file grew while it was read");
    }
    text.resize(got);
    return text;
}

}  // namespace cimmof
