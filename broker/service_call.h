// What every CMPI function of the runtime does around its own work: resolve the handle, tell the
// call hook (call_hook.h) if there is one, and hand back a status. Also the status and data
// constants the functions answer with.
#pragma once

#include <optional>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

#include "broker/call_hook.h"
#include "broker/caller_owned.h"
#include "broker/runtime_state.h"
#include "cmpift.h"

namespace cimbroker {

CMPIStatus okStatus();
// A status whose message string belongs to the current arena.
CMPIStatus errorStatus(RuntimeState& runtime, CMPIrc rc, const std::string& message);
// For a service this broker does not offer.
CMPIStatus notSupported(RuntimeState& runtime, const char* service);
// For a handle that is null or not ours: there is no runtime to own a message.
CMPIStatus invalidHandleStatus();
inline void report(CMPIStatus* out, const CMPIStatus& status) {
    if (out != nullptr) {
        *out = status;
    }
}

CMPIData nullData();
CMPIData notFoundData();

// While alive, calls on this thread are not told to the call hook: the readers of cmpi_read.h use
// it so that inspecting a result does not disturb what a test checks.
class UninstrumentedScope {
  public:
    UninstrumentedScope();
    ~UninstrumentedScope();
    UninstrumentedScope(const UninstrumentedScope&) = delete;
    UninstrumentedScope& operator=(const UninstrumentedScope&) = delete;

  private:
    bool previous_;
};

// Tells the call hook, if any, of one call. `qualifier` names the property or key of a
// setProperty or addKey call.
class ServiceCall {
  public:
    ServiceCall(RuntimeState& runtime, const char* service, const char* qualifier = nullptr)
        : runtime_(runtime) {
        CallHook* hook = runtime.callHook.load(std::memory_order_acquire);
        if (hook != nullptr) {
            consult(*hook, service, qualifier);
        }
    }
    bool faulted() const { return fault_.has_value(); }
    // The answer of a faulted call: the injected code and message, or OK for an empty answer.
    CMPIStatus faultStatus() const;

  private:
    void consult(CallHook& hook, const char* service, const char* qualifier);

    RuntimeState& runtime_;
    std::optional<InjectedFault> fault_;
};

// A function that answers a value and reports through CMPIStatus*: `body(self, status)` runs only
// for a valid, unfaulted call; otherwise `empty` is answered.
template <typename Self, typename Cmpi, typename R, typename Body>
R runQuery(const Cmpi* handle, CMPIStatus* rc, const char* service, R empty, Body&& body) {
    Self* self = Self::from(handle);
    if (self == nullptr) {
        report(rc, invalidHandleStatus());
        return empty;
    }
    ServiceCall call(self->runtime(), service);
    if (call.faulted()) {
        report(rc, call.faultStatus());
        return empty;
    }
    CMPIStatus status = okStatus();
    R answer = body(*self, status);
    report(rc, status);
    return answer;
}

// A function that answers only a CMPIStatus: `body(self)` runs for a valid, unfaulted call.
template <typename Self, typename Cmpi, typename Body>
CMPIStatus runUpdate(const Cmpi* handle, const char* service, const char* qualifier, Body&& body) {
    Self* self = Self::from(handle);
    if (self == nullptr) {
        return invalidHandleStatus();
    }
    ServiceCall call(self->runtime(), service, qualifier);
    if (call.faulted()) {
        return call.faultStatus();
    }
    return body(*self);
}

// A function this broker does not offer, whatever its signature after the handle of a `Self`:
// answers not-supported as its status, or through its last parameter (CMPIStatus* rc) with an
// empty answer.
template <typename Self, typename Fn, const char* service>
struct Unsupported;

template <typename Self, typename R, typename Cmpi, typename... Args, const char* service>
struct Unsupported<Self, R (*)(const Cmpi*, Args...), service> {
    static R call(const Cmpi* handle, [[maybe_unused]] Args... args) {
        if constexpr (std::is_same_v<R, CMPIStatus>) {
            return runUpdate<Self>(handle, service, nullptr, [](Self& self) {
                return notSupported(self.runtime(), service);
            });
        } else {
            R empty{};
            if constexpr (std::is_same_v<R, CMPIData>) {
                empty = nullData();
            }
            CMPIStatus* rc = std::get<sizeof...(Args) - 1>(std::forward_as_tuple(args...));
            return runQuery<Self>(handle, rc, service, empty,
                                  [empty](Self& self, CMPIStatus& status) {
                                      status = notSupported(self.runtime(), service);
                                      return empty;
                                  });
        }
    }
};

// The `clone` slot of every object table: a deep copy owned by the caller.
template <typename Self, typename Cmpi>
Cmpi* cloneForCaller(const Cmpi* handle, CMPIStatus* rc) {
    return runQuery<Self>(handle, rc, "clone", static_cast<Cmpi*>(nullptr),
                          [](Self& self, CMPIStatus&) {
                              return static_cast<Cmpi*>(handToCaller(self.cloneObject()));
                          });
}

// The `release` slot of every object table. Frees a clone; any other object stays with its owner.
template <typename Cmpi>
CMPIStatus releaseByCaller(Cmpi* handle) {
    if (handle == nullptr) {
        return invalidHandleStatus();
    }
    takeBackFromCaller(handle);
    return okStatus();
}

}  // namespace cimbroker
