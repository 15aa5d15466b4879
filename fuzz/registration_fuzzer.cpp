// Provider registration files as the host reads them at start-up.
#include <cstddef>
#include <cstdint>
#include <string>

#include <vector>

#include "cimom/mof/registration.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<cimmof::ProviderRegistration> registrations;
    cimmof::parseRegistrations(std::string(reinterpret_cast<const char*>(data), size),
                               "fuzz.registration", &registrations);
    for (const cimmof::ProviderRegistration& r : registrations) {
        // Every record the reader accepts serves at least one MI type.
        if (!r.instance && !r.association && !r.indication) {
            __builtin_trap();
        }
    }
    return 0;
}
