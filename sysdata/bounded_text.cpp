#include "sysdata/bounded_text.h"

#include <cstring>

std::size_t cimpCopyBoundedText(char* dst, const char* src, std::size_t maxChars) {
    const void* nul = std::memchr(src, '\0', maxChars);
    const std::size_t length =
        nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - src) : maxChars;
    std::memcpy(dst, src, length);
    return length;
}
