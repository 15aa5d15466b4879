// The simulated registry: key "area/name" is the file <root>/registry/area/name.
//
// The flag and the parent entry are accepted and ignored; the sim links no entries.
#include "platform/util_reg.h"

#include "platform/sim/platform_root.h"
#include "platform/sim/registry_key.h"
#include "platform/sim/service_file.h"
#include "platform/sim/sim_errl_entry.h"
#include "platform/sim/sim_return_codes.h"

namespace {

constexpr char kService[] = "UtilReg::read";

}  // namespace

ErrlEntry* UtilReg::read(const char* key, void* buffer, unsigned int& size, bool /*flag*/,
                         ErrlEntry* /*parent*/) {
    using namespace cimpsim;
    return entryOrOutOfMemory([&]() -> ErrlEntry* {
        if (!isPlainRegistryKey(key)) {
            return new SimErrlEntry(kRcBadKey, kService, key);
        }
        if (buffer == nullptr && size != 0) {
            return new SimErrlEntry(kRcBadArgument, kService, key);
        }
        size_t capacity = size;
        ErrlEntry* failure =
            readServiceFile(*platformDirectory(currentEnv(), false), {kService, "registry/", key},
                            static_cast<char*>(buffer), capacity);
        if (failure == nullptr) {
            size = static_cast<unsigned int>(capacity);
        }
        return failure;
    });
}
