// What every CMPI function of the runtime does around its own work: resolve the handle, keep any
// exception from crossing into the C caller, and hand back a status. Also the status and data
// constants the functions answer with.
#pragma once

#include <new>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

#include "broker/arena.h"
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

// The answer of a call whose work ran out of memory: CMPI_RC_ERR_FAILED naming `service`, with no
// message when there is no memory left for one either.
CMPIStatus outOfMemory(RuntimeState& runtime, const char* service) noexcept;

// What a function answers when it has no answer: null data, or a zero or null value.
template <typename R>
R emptyAnswer() {
    if constexpr (std::is_same_v<R, CMPIData>) {
        return nullData();
    } else {
        return R{};
    }
}

// A function that answers a value and reports through CMPIStatus*: `body(self, status)` runs for
// a valid handle; otherwise, or when it runs out of memory, the empty answer of its type.
template <typename Self, typename Cmpi, typename Body>
auto runQuery(const Cmpi* handle, CMPIStatus* rc, const char* service, Body&& body) {
    using R = std::invoke_result_t<Body&, Self&, CMPIStatus&>;
    Self* self = Self::from(handle);
    if (self == nullptr) {
        report(rc, invalidHandleStatus());
        return emptyAnswer<R>();
    }
    try {
        CMPIStatus status = okStatus();
        R answer = body(*self, status);
        report(rc, status);
        return answer;
    } catch (const std::bad_alloc&) {
        report(rc, outOfMemory(self->runtime(), service));
        return emptyAnswer<R>();
    }
}

// A function that answers only a CMPIStatus: `body(self)` runs for a valid handle.
template <typename Self, typename Cmpi, typename Body>
CMPIStatus runUpdate(const Cmpi* handle, const char* service, Body&& body) {
    Self* self = Self::from(handle);
    if (self == nullptr) {
        return invalidHandleStatus();
    }
    try {
        return body(*self);
    } catch (const std::bad_alloc&) {
        return outOfMemory(self->runtime(), service);
    }
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
            return runUpdate<Self>(
                handle, service, [](Self& self) { return notSupported(self.runtime(), service); });
        } else {
            CMPIStatus* rc = std::get<sizeof...(Args) - 1>(std::forward_as_tuple(args...));
            return runQuery<Self>(handle, rc, service, [](Self& self, CMPIStatus& status) {
                status = notSupported(self.runtime(), service);
                return emptyAnswer<R>();
            });
        }
    }
};

// A slot that only hands its arguments to `method` of the object behind the handle, and answers
// its status: setProperty, addKey, setElementAt, returnData, ...
template <typename Self, typename Fn, const char* service, auto method>
struct Forward;

template <typename Self, typename Cmpi, typename... Args, const char* service, auto method>
struct Forward<Self, CMPIStatus (*)(Cmpi*, Args...), service, method> {
    static CMPIStatus call(Cmpi* handle, Args... args) {
        return runUpdate<Self>(handle, service,
                               [&](Self& self) { return (self.*method)(args...); });
    }
};

// A slot that answers the object's describe() text as a new string: toString and its kin.
template <typename Self, typename Cmpi, const char* service>
CMPIString* describeForCaller(const Cmpi* handle, CMPIStatus* rc) {
    return runQuery<Self>(handle, rc, service, [](Self& self, CMPIStatus&) {
        return makeStringInArena(self.runtime(), self.describe()).cmpi();
    });
}

// The `clone` slot of every object table: a deep copy owned by the caller.
template <typename Self, typename Cmpi>
Cmpi* cloneForCaller(const Cmpi* handle, CMPIStatus* rc) {
    return runQuery<Self>(handle, rc, "clone", [](Self& self, CMPIStatus&) {
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
