#include "cimom/http/basic_auth.h"

#include <optional>
#include <string_view>

#include "base/text_case.h"
#include "cimom/http/password_hash.h"

namespace cimhost {
namespace {

// Far above any real user:password pair; longer headers are not decoded at all.
constexpr std::size_t kMaxCredentials = 1024;

int base64Digit(char c) {
    const std::size_t at =
        std::string_view("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
            .find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

std::optional<std::string> base64Decoded(const std::string& text) {
    std::string out;
    unsigned bits = 0;
    int held = 0;
    const std::size_t end = text.find_last_not_of('=') + 1;  // npos + 1: all padding
    if (text.size() - end > 2) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < end; ++i) {
        const int digit = base64Digit(text[i]);
        if (digit < 0) {
            return std::nullopt;
        }
        bits = (bits << 6) | static_cast<unsigned>(digit);
        held += 6;
        if (held >= 8) {
            held -= 8;
            out += static_cast<char>((bits >> held) & 0xff);
        }
    }
    return out;
}

// "Basic <base64 of user:password>" split into user and password.
std::optional<std::pair<std::string, std::string>> basicCredentials(const std::string& header) {
    const std::size_t space = header.find(' ');
    if (space == std::string::npos || header.size() > kMaxCredentials ||
        !cimp::equalsIgnoreCase(header.substr(0, space), "Basic")) {
        return std::nullopt;
    }
    const std::size_t start = header.find_first_not_of(' ', space);
    const std::optional<std::string> decoded =
        base64Decoded(start == std::string::npos ? "" : header.substr(start));
    const std::size_t colon = decoded ? decoded->find(':') : std::string::npos;
    if (colon == std::string::npos) {
        return std::nullopt;
    }
    return std::make_pair(decoded->substr(0, colon), decoded->substr(colon + 1));
}

}  // namespace

BasicAuth::Verdict BasicAuth::check(const std::string* authorization, const std::string& peer) {
    if (const unsigned wait = throttle_.blockedFor(peer)) {
        return {Outcome::Throttled, "", wait};
    }
    if (authorization == nullptr) {
        return {Outcome::NoCredentials, ""};
    }
    const auto credentials = basicCredentials(*authorization);
    if (!credentials) {
        throttle_.failed(peer);
        return {Outcome::Refused, ""};
    }
    const std::string& user = credentials->first;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto known = accepted_.find(user);
        if (known != accepted_.end() && equalInConstantTime(*authorization, known->second)) {
            throttle_.succeeded(peer);
            return {Outcome::Allowed, user};
        }
    }
    if (hashing_.test_and_set(std::memory_order_acquire)) {
        return {Outcome::Busy, user, 1};
    }
    const auto account = accounts_.find(user);
    const bool matches = passwordMatches(
        credentials->second, account != accounts_.end() ? account->second : unmatchableHash());
    hashing_.clear(std::memory_order_release);
    if (!matches || account == accounts_.end()) {
        throttle_.failed(peer);
        return {Outcome::Refused, user};
    }
    throttle_.succeeded(peer);
    std::lock_guard<std::mutex> lock(mutex_);
    accepted_[user] = *authorization;
    return {Outcome::Allowed, user};
}

}  // namespace cimhost
