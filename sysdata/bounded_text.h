// Copying registry text into fixed-width fields. Registry values need not carry a terminating
// NUL, so every copy is bounded by a count and never reads or writes past it.
#ifndef CIMP_SYSDATA_BOUNDED_TEXT_H
#define CIMP_SYSDATA_BOUNDED_TEXT_H

#include <cstddef>

// Copies the characters of `src` up to its first NUL, but at most `maxChars` of them, to `dst`.
// Reads at most `maxChars` bytes of `src` and writes only the bytes copied: no terminator, no
// padding; the caller decides how the field ends. Returns the number of characters copied.
std::size_t cimpCopyBoundedText(char* dst, const char* src, std::size_t maxChars);

#endif
