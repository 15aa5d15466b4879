// ASCII letter-case helpers for CIM names, which compare without regard to case: the broker's,
// the MOF reader's and the host's one copy. Pure functions; safe from any thread.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace cimp {

std::string lowerCase(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);
// A hash of `text` as if lower-cased, so names that differ only in case hash alike; computed
// without a copy.
std::size_t foldedHash(std::string_view text);

// Hash and equality for containers keyed by CIM names.
struct FoldedHash {
    std::size_t operator()(std::string_view text) const { return foldedHash(text); }
};
struct FoldedEqual {
    bool operator()(std::string_view a, std::string_view b) const { return equalsIgnoreCase(a, b); }
};

}  // namespace cimp
