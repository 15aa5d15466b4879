// Provider registration files as the host reads them at start-up.
#include <cstddef>
#include <cstdint>
#include <string>

#include "cimom/mof/mof_error.h"
#include "cimom/mof/registration.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        for (const cimmof::ProviderRegistration& r : cimmof::parseRegistrations(
                 std::string(reinterpret_cast<const char*>(data), size), "fuzz.registration")) {
            // Every record the reader accepts serves at least one MI type.
            if (!r.instance && !r.association) {
                __builtin_trap();
            }
        }
    } catch (const cimmof::MofError&) {
    }
    return 0;
}
