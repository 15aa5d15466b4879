#include "cimom/http/password_hash.h"

#include <crypt.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace cimhost {

bool equalInConstantTime(const std::string& a, const std::string& b) {
    unsigned char difference = a.size() == b.size() ? 0 : 1;
    for (std::size_t i = 0; i < b.size(); ++i) {
        difference |= static_cast<unsigned char>(a[i < a.size() ? i : 0] ^ b[i]);
    }
    return difference == 0 && !a.empty() == !b.empty();
}

cimp::Outcome hashPassword(const std::string& password, std::string* hash) {
    char salt[CRYPT_GENSALT_OUTPUT_SIZE];
    if (crypt_gensalt_rn("$y$", 0, nullptr, 0, salt, sizeof salt) == nullptr) {
        return cimp::Outcome::failed("cannot make a yescrypt salt", std::strerror(errno));
    }
    // crypt_data is some 32 KiB: on the heap (zeroed), one per call, so that threads never share
    // one.
    const auto data = std::make_unique<crypt_data>();
    const char* made = crypt_rn(password.c_str(), salt, data.get(), sizeof(crypt_data));
    if (made == nullptr || made[0] == '*') {
        return cimp::Outcome::failed("cannot hash the password", std::strerror(errno));
    }
    *hash = made;
    return cimp::Outcome::success();
}

bool passwordMatches(const std::string& password, const std::string& hash) {
    const auto data = std::make_unique<crypt_data>();
    const char* made = crypt_rn(password.c_str(), hash.c_str(), data.get(), sizeof(crypt_data));
    return made != nullptr && made[0] != '*' && equalInConstantTime(made, hash);
}

const std::string& unmatchableHash() {
    // Unknown users are checked against it only for the time it costs, and refused whatever
    // it says.
    static const std::string kHash = [] {
        std::string hash;
        hashPassword("\x01unmatchable", &hash);
        return hash;
    }();
    return kHash;
}

}  // namespace cimhost
