// The simulated platform's readings of its small files (fault codes, the managed indicator, the
// policy flag) and of registry key names, each checked against what its callers rely on.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/sim/registry_key.h"
#include "platform/sim/value_parsers.h"

namespace {

void check(bool holds) {
    if (!holds) {
        __builtin_trap();
    }
}

bool printableAscii(const std::string& text) {
    for (char c : text) {
        if (c < 0x21 || c > 0x7e) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (const std::optional<uint32_t> code = cimpsim::parseFaultCode(text)) {
        check(*code != 0);
    }
    if (const std::optional<uint32_t> managed = cimpsim::parseManagedIndicator(text)) {
        check(cimpsim::parseManagedIndicator(std::to_string(*managed)) == managed);
    }
    cimpsim::parsePolicy(text);
    // Key names end at the first NUL, as they do when they come through the C interface.
    const char* key = text.c_str();
    if (cimpsim::isPlainRegistryKey(key)) {
        // A plain key becomes a path below the registry folder: one folder, one file, no escape.
        const std::string plain(key);
        const size_t slash = plain.find('/');
        check(slash != std::string::npos && plain.find('/', slash + 1) == std::string::npos);
        for (const std::string& part : {plain.substr(0, slash), plain.substr(slash + 1)}) {
            check(!part.empty() && part != "." && part != "..");
        }
    }
    check(printableAscii(cimpsim::printableKey(key)));
    return 0;
}
