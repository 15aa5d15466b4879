// The CMPI number types (the eight integers and two reals): which member of a CMPIValue each one
// uses. The one place that switches over them; everything else visits or stores numbers through
// these templates. Pure functions.
#pragma once

#include <cstdint>
#include <limits>
#include <type_traits>

#include "cmpidt.h"

namespace cimbroker {

// Calls `use` with the member of `value` that `type` uses (CMPIUint8&, ..., CMPIReal64&, const
// when `value` is); false, without calling it, when `type` is not a number type.
template <typename Value, typename Use>
bool withNumberMember(Value& value, CMPIType type, Use&& use) {
    switch (type) {
        case CMPI_uint8:
            return use(value.uint8), true;
        case CMPI_uint16:
            return use(value.uint16), true;
        case CMPI_uint32:
            return use(value.uint32), true;
        case CMPI_uint64:
            return use(value.uint64), true;
        case CMPI_sint8:
            return use(value.sint8), true;
        case CMPI_sint16:
            return use(value.sint16), true;
        case CMPI_sint32:
            return use(value.sint32), true;
        case CMPI_sint64:
            return use(value.sint64), true;
        case CMPI_real32:
            return use(value.real32), true;
        case CMPI_real64:
            return use(value.real64), true;
        default:
            return false;
    }
}

inline bool isNumberType(CMPIType type) {
    CMPIValue value{};
    return withNumberMember(value, type, [](auto&) {});
}

// Calls `visit` with the number `value` holds as `type`, widened to std::uint64_t, std::int64_t
// or double; false when `type` is not a number type.
template <typename Visit>
bool visitNumber(const CMPIValue& value, CMPIType type, Visit&& visit) {
    return withNumberMember(value, type, [&visit](auto member) {
        using T = decltype(member);
        using Wide = std::conditional_t<
            std::is_floating_point_v<T>, double,
            std::conditional_t<std::is_signed_v<T>, std::int64_t, std::uint64_t>>;
        visit(static_cast<Wide>(member));
    });
}

// Whether `number` is a value of the number type T: any number is a real; an integer type holds
// the integers of its range and no real.
template <typename T, typename N>
bool holdsNumber(N number) {
    if constexpr (std::is_floating_point_v<T>) {
        return true;
    } else if constexpr (std::is_floating_point_v<N>) {
        return false;
    } else if constexpr (std::is_signed_v<N> && std::is_signed_v<T>) {
        return number >= std::numeric_limits<T>::min() && number <= std::numeric_limits<T>::max();
    } else if constexpr (std::is_signed_v<N>) {
        return number >= 0 && static_cast<std::uint64_t>(number) <=
                                  static_cast<std::uint64_t>(std::numeric_limits<T>::max());
    } else {
        return number <= static_cast<std::uint64_t>(std::numeric_limits<T>::max());
    }
}

// Stores `number` (std::uint64_t, std::int64_t or double) in the member of `out` that `type`
// uses; false, leaving `out` alone, when `type` is not a number type or cannot hold `number`.
template <typename N>
bool storeNumber(N number, CMPIType type, CMPIValue* out) {
    bool stored = false;
    withNumberMember(*out, type, [&](auto& member) {
        using T = std::remove_reference_t<decltype(member)>;
        stored = holdsNumber<T>(number);
        if (stored) {
            member = static_cast<T>(number);
        }
    });
    return stored;
}

}  // namespace cimbroker
