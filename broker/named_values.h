// An ordered list of named values: the keys of a path, the properties of an instance, the
// entries of a context or args. Order is that of first setting; names are found without regard
// to letter case and keep the spelling they were first set with. Each name is held as a
// CMPIString so getKeyAt and friends can hand it out; a clone shares the names and string values
// of the original. Not thread-safe.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "broker/owned_value.h"
#include "broker/shared_string.h"

namespace cimbroker {

class NamedValues {
  public:
    struct Entry {
        SharedString name;
        OwnedValue value;
    };

    const Entry* find(const char* name) const;
    const Entry* find(std::string_view name) const;
    const Entry* at(size_t index) const;
    size_t size() const { return entries_.size(); }

    // Replaces the value of `name` in place (the old value is retired) or appends a new entry.
    void set(RuntimeState& runtime, std::string_view name, OwnedValue value);
    // As set(), sharing `name` when the entry is new.
    void set(RuntimeState& runtime, const SharedString& name, OwnedValue value);

    // Drops the entries `keep` refuses, retiring their names and values.
    template <typename Keep>
    void keepOnly(RuntimeState& runtime, Keep keep) {
        std::vector<Entry> kept;
        for (Entry& entry : entries_) {
            if (keep(entry.name->text())) {
                kept.push_back(std::move(entry));
            } else {
                retire(runtime, entry);
            }
        }
        entries_.swap(kept);
    }

    NamedValues clone() const;

    // Copies a caller's value in and sets it under `name`: the work behind addKey, setProperty,
    // addEntry and addArg, whose name `service` goes into error messages.
    CMPIStatus store(RuntimeState& runtime, const char* service, const char* name,
                     const CMPIValue* value, CMPIType type);

    // The lookups behind getKey, getProperty, getEntry, getArg and their *At forms: the value with
    // `extraState` or'ed into its state, or CMPI_notFound with CMPI_RC_ERR_NO_SUCH_PROPERTY in
    // `status`. lookupAt also hands out the entry's name (null when there is none).
    CMPIData lookup(RuntimeState& runtime, const char* name, CMPIValueState extraState,
                    CMPIStatus& status) const;
    CMPIData lookupAt(RuntimeState& runtime, CMPICount index, CMPIString** name,
                      CMPIValueState extraState, CMPIStatus& status) const;

  private:
    static CMPIData dataOf(const Entry* entry, CMPIValueState extraState);
    static void retire(RuntimeState& runtime, Entry& entry);
    // Replaces the value of the entry named `name`; false when there is none.
    bool replace(RuntimeState& runtime, std::string_view name, OwnedValue& value);
    void append(Entry entry);

    std::vector<Entry> entries_;
};

}  // namespace cimbroker
