// The simulated management-console information service: <root>/drax/managed holds the managed
// indicator (decimal or 0x-hexadecimal). The `current` flag is accepted and ignored.
#include "platform/drax.h"

#include <optional>
#include <string>

#include "platform/sim/platform_root.h"
#include "platform/sim/service_file.h"
#include "platform/sim/sim_errl_entry.h"
#include "platform/sim/sim_return_codes.h"
#include "platform/sim/value_parsers.h"

namespace {

constexpr char kService[] = "draxQueryDraManagedInfo";
constexpr char kFile[] = "drax/managed";
// Longer content is not a number with blanks around it.
constexpr size_t kLimit = 64;

}  // namespace

ErrlEntry* draxQueryDraManagedInfo(DraxManagedInfo& info, bool /*current*/) {
    using namespace cimpsim;
    return entryOrOutOfMemory([&]() -> ErrlEntry* {
        char text[kLimit + 1];
        size_t size = sizeof text;
        ErrlEntry* failure = readServiceFile(*platformDirectory(currentEnv(), false),
                                             {kService, "", kFile}, text, size);
        if (failure != nullptr) {
            return failure;
        }
        std::optional<uint32_t> managed =
            size <= kLimit ? parseManagedIndicator(std::string(text, size)) : std::nullopt;
        if (!managed) {
            return new SimErrlEntry(kRcUnparsable, kService, kFile);
        }
        info = DraxManagedInfo{*managed, {}};
        return nullptr;
    });
}
