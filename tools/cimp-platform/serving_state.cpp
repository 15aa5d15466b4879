#include "tools/cimp-platform/serving_state.h"

#include <memory>
#include <optional>
#include <string>

#include "platform/errl_entry.h"
#include "platform/sim/env.h"
#include "platform/sim/service_file.h"
#include "platform/sim/value_parsers.h"
#include "sysdata/gate_inputs.h"
#include "tools/cimp-platform/value_codec.h"

namespace cimpcli {

namespace {

// The services' read limits: a longer managed indicator than 64 bytes or policy file than 2 is
// unparsable.
constexpr size_t kManagedLimit = 64;
constexpr size_t kPolicyLimit = 2;

// The bytes the service reads, or the reason its read fails.
std::optional<std::string> readFact(const cimpsim::Directory& root, const char* folder,
                                    const char* key, size_t limit, std::string* failure) {
    std::string bytes(limit, '\0');
    size_t size = bytes.size();
    std::unique_ptr<ErrlEntry> entry(
        cimpsim::readServiceFile(root, {"cimp-platform", folder, key}, bytes.data(), size));
    if (entry) {
        *failure =
            std::string("off (") + key + " fails with rc " + formatReturnCode(entry->getRC()) + ")";
        return std::nullopt;
    }
    bytes.resize(size);
    return bytes;
}

}  // namespace

std::string servingState(const std::string& rootPath) {
    const std::shared_ptr<const cimpsim::Directory> root =
        cimpsim::systemEnv().directory(rootPath, false);
    std::string failure;
    const std::string serving(1, static_cast<char>(kCimpServingRole));
    std::optional<std::string> role =
        readFact(*root, "registry/", kCimpRoleKey, serving.size(), &failure);
    if (!role) {
        return failure;
    }
    if (*role != serving) {
        return "off (role is " + displayValue(*role) + ", not " + displayValue(serving) + ")";
    }
    std::optional<std::string> managed =
        readFact(*root, "", "drax/managed", kManagedLimit + 1, &failure);
    if (!managed) {
        return failure;
    }
    std::optional<uint32_t> indicator =
        managed->size() <= kManagedLimit ? cimpsim::parseManagedIndicator(*managed) : std::nullopt;
    if (!indicator) {
        return "off (drax/managed is not a number: " + displayValue(*managed) + ")";
    }
    if (*indicator != 0) {
        return "off (managed by a console: managed = " + std::to_string(*indicator) + ")";
    }
    std::optional<std::string> policy =
        readFact(*root, "", "rmgr/policy_enabled", kPolicyLimit + 1, &failure);
    if (!policy) {
        return failure;
    }
    std::string word = policyWord(*policy);
    if (word != "off") {
        return "off (redundancy policy " + word + ")";
    }
    return "on";
}

}  // namespace cimpcli
