// LoginThrottle: slows down password guessing from one peer address. From the third failure in a
// row on, the peer is refused without a check for a time that doubles with each further failure
// (1 s, 2 s, ... up to a minute); a success, however it was recognised, ends the row. Peers are
// remembered up to a bound, the longest-quiet forgotten first, so a flood of addresses cannot grow
// it. Thread-safe.
#pragma once

#include <chrono>
#include <cstddef>
#include <map>
#include <mutex>
#include <string>

namespace cimhost {

class LoginThrottle {
  public:
    using Clock = std::chrono::steady_clock;

    // Seconds until `peer` may try again; 0 when it may now.
    unsigned blockedFor(const std::string& peer, Clock::time_point now = Clock::now());
    void failed(const std::string& peer, Clock::time_point now = Clock::now());
    void succeeded(const std::string& peer);

  private:
    struct Record {
        unsigned failures = 0;
        Clock::time_point until;
        Clock::time_point last;
    };

    std::mutex mutex_;
    std::map<std::string, Record> peers_;
};

}  // namespace cimhost
