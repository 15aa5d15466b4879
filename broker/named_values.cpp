#include "broker/named_values.h"

#include "broker/arena.h"
#include "broker/name_table.h"
#include "broker/service_call.h"
#include "base/text_case.h"

namespace cimbroker {

const NamedValues::Entry* NamedValues::find(const char* name) const {
    return name != nullptr ? find(std::string_view(name)) : nullptr;
}

const NamedValues::Entry* NamedValues::find(std::string_view name) const {
    for (const Entry& entry : entries_) {
        if (cimp::equalsIgnoreCase(entry.name->text(), name)) {
            return &entry;
        }
    }
    return nullptr;
}

const NamedValues::Entry* NamedValues::at(size_t index) const {
    return index < entries_.size() ? &entries_[index] : nullptr;
}

void NamedValues::set(RuntimeState& runtime, std::string_view name, OwnedValue value) {
    if (!replace(runtime, name, value)) {
        append(Entry{nameText(runtime, name), std::move(value)});
    }
}

void NamedValues::set(RuntimeState& runtime, const SharedString& name, OwnedValue value) {
    if (!replace(runtime, name->text(), value)) {
        append(Entry{name, std::move(value)});
    }
}

bool NamedValues::replace(RuntimeState& runtime, std::string_view name, OwnedValue& value) {
    for (Entry& entry : entries_) {
        if (cimp::equalsIgnoreCase(entry.name->text(), name)) {
            entry.value.retire(runtime);
            entry.value = std::move(value);
            return true;
        }
    }
    return false;
}

void NamedValues::append(Entry entry) {
    // Keys and properties come a handful at a time: one allocation holds a typical object's.
    constexpr size_t kTypicalEntries = 8;
    if (entries_.capacity() == 0) {
        entries_.reserve(kTypicalEntries);
    }
    entries_.push_back(std::move(entry));
}

CMPIStatus NamedValues::store(RuntimeState& runtime, const char* service, const char* name,
                              const CMPIValue* value, CMPIType type) {
    if (name == nullptr) {
        return errorStatus(runtime, CMPI_RC_ERR_INVALID_PARAMETER,
                           std::string(service) + ": null name");
    }
    OwnedValue copy;
    std::string reason;
    const CMPIrc rc = OwnedValue::copyFrom(runtime, value, type, &copy, &reason);
    if (rc != CMPI_RC_OK) {
        return errorStatus(runtime, rc, std::string(service) + " " + name + ": " + reason);
    }
    set(runtime, name, std::move(copy));
    return okStatus();
}

NamedValues NamedValues::clone() const {
    NamedValues copy;
    copy.entries_.reserve(entries_.size());
    for (const Entry& entry : entries_) {
        copy.entries_.push_back(Entry{entry.name, entry.value.clone()});
    }
    return copy;
}

CMPIData NamedValues::dataOf(const Entry* entry, CMPIValueState extraState) {
    if (entry == nullptr) {
        return notFoundData();
    }
    CMPIData data = entry->value.data();
    data.state = static_cast<CMPIValueState>(data.state | extraState);
    return data;
}

CMPIData NamedValues::lookup(RuntimeState& runtime, const char* name, CMPIValueState extraState,
                             CMPIStatus& status) const {
    const Entry* entry = find(name);
    if (entry == nullptr) {
        status = errorStatus(runtime, CMPI_RC_ERR_NO_SUCH_PROPERTY,
                             std::string("no entry named ") + (name ? name : "(null)"));
    }
    return dataOf(entry, extraState);
}

CMPIData NamedValues::lookupAt(RuntimeState& runtime, CMPICount index, CMPIString** name,
                               CMPIValueState extraState, CMPIStatus& status) const {
    const Entry* entry = at(index);
    if (entry == nullptr) {
        status = errorStatus(runtime, CMPI_RC_ERR_NO_SUCH_PROPERTY,
                             "no entry at index " + std::to_string(index));
    }
    if (name != nullptr) {
        *name = entry != nullptr ? entry->name->cmpi() : nullptr;
    }
    return dataOf(entry, extraState);
}

void NamedValues::retire(RuntimeState& runtime, Entry& entry) {
    entry.value.retire(runtime);
    arenaFor(runtime).hold(std::move(entry.name));
}

}  // namespace cimbroker
