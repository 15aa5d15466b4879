// The getters every named-value table shares (getKey / getProperty / getEntry / getArg, their *At
// forms and counts): they differ only in service names, the list they read and the state they add.
#pragma once

#include "broker/named_values.h"
#include "broker/service_call.h"

namespace cimbroker {

// `Names` gives the service names get, getAt and count; `values`, a member of Self or of its base
// `Owner`, reaches the list.
template <typename Self, typename Cmpi, typename Names, typename Owner,
          const NamedValues& (Owner::*values)() const, CMPIValueState extraState = CMPI_goodValue>
struct NamedValueGetters {
    static CMPIData get(const Cmpi* handle, const char* name, CMPIStatus* rc) {
        return runQuery<Self>(handle, rc, Names::get, [name](Self& self, CMPIStatus& status) {
            return (self.*values)().lookup(self.runtime(), name, extraState, status);
        });
    }

    static CMPIData getAt(const Cmpi* handle, CMPICount index, CMPIString** name, CMPIStatus* rc) {
        return runQuery<Self>(
            handle, rc, Names::getAt, [index, name](Self& self, CMPIStatus& status) {
                return (self.*values)().lookupAt(self.runtime(), index, name, extraState, status);
            });
    }

    static CMPICount count(const Cmpi* handle, CMPIStatus* rc) {
        return runQuery<Self>(handle, rc, Names::count, [](Self& self, CMPIStatus&) {
            return static_cast<CMPICount>((self.*values)().size());
        });
    }
};

}  // namespace cimbroker
