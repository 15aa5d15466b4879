#include "cimom/http/login_throttle.h"

#include <algorithm>

namespace cimhost {
namespace {

constexpr unsigned kRowThatBlocks = 3;  // refusals in a row after which a peer must wait
constexpr unsigned kMaxBlockSeconds = 60;
constexpr std::size_t kMaxPeers = 4096;

}  // namespace

unsigned LoginThrottle::blockedFor(const std::string& peer, Clock::time_point now) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto found = peers_.find(peer);
    if (found == peers_.end() || found->second.until <= now) {
        return 0;
    }
    const auto left = std::chrono::ceil<std::chrono::seconds>(found->second.until - now);
    return static_cast<unsigned>(left.count());
}

void LoginThrottle::failed(const std::string& peer, Clock::time_point now) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (peers_.size() >= kMaxPeers && peers_.count(peer) == 0) {
        peers_.erase(std::min_element(
            peers_.begin(), peers_.end(),
            [](const auto& a, const auto& b) { return a.second.last < b.second.last; }));
    }
    Record& record = peers_[peer];
    record.failures += 1;
    record.last = now;
    if (record.failures >= kRowThatBlocks) {
        const unsigned doublings = std::min(record.failures - kRowThatBlocks, 6u);
        record.until = now + std::chrono::seconds(std::min(1u << doublings, kMaxBlockSeconds));
    }
}

void LoginThrottle::succeeded(const std::string& peer) {
    std::lock_guard<std::mutex> lock(mutex_);
    peers_.erase(peer);
}

}  // namespace cimhost
