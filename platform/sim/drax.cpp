// The simulated management-console information service: <root>/drax/managed holds the managed
// indicator (decimal or 0x-hexadecimal). The `current` flag is accepted and ignored.
#include "platform/drax.h"

#include <cstring>
#include <optional>
#include <string>

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
    std::string text;
    ErrlEntry* failure = callFileService(kService, kFile, kLimit + 1, text);
    if (failure != nullptr) {
        return failure;
    }
    std::optional<uint32_t> managed =
        text.size() <= kLimit ? parseManagedIndicator(text) : std::nullopt;
    if (!managed) {
        return new SimErrlEntry(kRcUnparsable, kService, kFile);
    }
    info.managed = *managed;
    std::memset(info.reserved, 0, sizeof info.reserved);
    return nullptr;
}
