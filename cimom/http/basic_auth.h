// BasicAuth: HTTP Basic authentication (RFC 7617) of every request against the password file.
// A peer that keeps failing is throttled (LoginThrottle). A credential once accepted is kept
// per user and recognised by a constant-time comparison, so that a client sending the same
// Authorization header with every request pays for the slow password hash once, not per
// request. The hash is slow on purpose and runs on a worker that serves other connections too,
// so only one check runs at a time: a request that would start a second is told to retry
// (Busy) rather than letting guesses from many addresses occupy every worker. Thread-safe.
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>

#include "cimom/http/login_throttle.h"
#include "cimom/http/password_file.h"

namespace cimhost {

class BasicAuth {
  public:
    explicit BasicAuth(PasswordFile accounts) : accounts_(std::move(accounts)) {}

    enum class Outcome { Allowed, NoCredentials, Refused, Throttled, Busy };
    struct Verdict {
        Outcome outcome;
        std::string user;         // as the client named it, when it did
        unsigned retryAfter = 0;  // seconds, when throttled or busy
    };

    // `authorization` is the request's Authorization header, null when it sent none.
    Verdict check(const std::string* authorization, const std::string& peer);

  private:
    const PasswordFile accounts_;
    LoginThrottle throttle_;
    std::mutex mutex_;
    std::map<std::string, std::string> accepted_;  // user -> Authorization header
    std::atomic_flag hashing_ = ATOMIC_FLAG_INIT;
};

}  // namespace cimhost
