#include "broker/instance_object.h"

#include <algorithm>

#include "base/text_case.h"
#include "broker/arena.h"
#include "broker/cmpi_read.h"
#include "broker/named_value_calls.h"
#include "broker/service_call.h"

namespace cimbroker {
namespace {

// A NULL-terminated name list longer than this is taken as a missing terminator.
constexpr size_t kMaxNames = 4096;

bool readNames(const char** list, std::vector<std::string>& names) {
    for (size_t i = 0; list != nullptr && list[i] != nullptr; ++i) {
        if (i == kMaxNames) {
            return false;
        }
        names.push_back(cimp::lowerCase(list[i]));
    }
    return true;
}

struct PropertyNames {
    static constexpr const char* get = "getProperty";
    static constexpr const char* getAt = "getPropertyAt";
    static constexpr const char* count = "getPropertyCount";
};

using PropertyGetters = NamedValueGetters<InstanceObject, CMPIInstance, PropertyNames,
                                          InstanceObject, &InstanceObject::properties>;

constexpr char kSetProperty[] = "setProperty";
constexpr char kSetPropertyFilter[] = "setPropertyFilter";

CMPIObjectPath* instanceGetObjectPath(const CMPIInstance* inst, CMPIStatus* rc) {
    return runQuery<InstanceObject>(
        inst, rc, "getObjectPath", [](InstanceObject& self, CMPIStatus&) {
            return arenaFor(self.runtime()).adopt(self.currentPath()).cmpi();
        });
}

CMPIInstanceFT instanceTable = {
    CMPICurrentVersion,
    releaseByCaller<CMPIInstance>,
    cloneForCaller<InstanceObject, CMPIInstance>,
    PropertyGetters::get,
    PropertyGetters::getAt,
    PropertyGetters::count,
    Forward<InstanceObject, decltype(CMPIInstanceFT::setProperty), kSetProperty,
            &InstanceObject::setProperty>::call,
    instanceGetObjectPath,
    Forward<InstanceObject, decltype(CMPIInstanceFT::setPropertyFilter), kSetPropertyFilter,
            &InstanceObject::setPropertyFilter>::call,
};

}  // namespace

InstanceObject::InstanceObject(RuntimeState& runtime, std::unique_ptr<ObjectPathObject> path)
    : Encapsulated(runtime), path_(std::move(path)) {}

CMPIInstanceFT* InstanceObject::functionTable() {
    return &instanceTable;
}

CMPIStatus InstanceObject::setProperty(const char* name, const CMPIValue* value, CMPIType type) {
    if (name != nullptr && !passesFilter(name)) {
        return okStatus();  // filtered out: CIMOMs drop such values without complaint
    }
    beforeChange();
    return properties_.store(runtime(), "setProperty", name, value, type);
}

CMPIStatus InstanceObject::setPropertyFilter(const char** allowed, const char** keys) {
    if (allowed == nullptr) {
        beforeChange();
        filter_.reset();
        return okStatus();
    }
    std::vector<std::string> names;
    if (!readNames(allowed, names) || !readNames(keys, names)) {
        return errorStatus(runtime(), CMPI_RC_ERR_INVALID_PARAMETER,
                           "setPropertyFilter: name list longer than " + std::to_string(kMaxNames) +
                               " or not NULL-terminated");
    }
    beforeChange();
    filter_ = std::move(names);
    properties_.keepOnly(runtime(), [this](std::string_view name) { return passesFilter(name); });
    return okStatus();
}

bool InstanceObject::passesFilter(std::string_view name) const {
    return !filter_ ||
           std::find(filter_->begin(), filter_->end(), cimp::lowerCase(name)) != filter_->end();
}

std::unique_ptr<ObjectPathObject> InstanceObject::currentPath() const {
    auto current = path_->cloneWithoutKeys();
    const NamedValues& keys = path_->keys();
    for (size_t i = 0; i < keys.size(); ++i) {
        const NamedValues::Entry* key = keys.at(i);
        const NamedValues::Entry* property = properties_.find(key->name->text());
        const OwnedValue& value =
            property != nullptr && !property->value.isNull() ? property->value : key->value;
        current->keys().set(runtime(), key->name, value.clone());
    }
    return current;
}

std::unique_ptr<InstanceObject> InstanceObject::cloneInstance() const {
    auto copy = std::make_unique<InstanceObject>(runtime(), path_->clonePath());
    copy->properties_ = properties_.clone();
    copy->filter_ = filter_;
    return copy;
}

std::string InstanceObject::describe() const {
    std::string text = "instance of " + path_->className().describe() + " {";
    for (size_t i = 0; i < properties_.size(); ++i) {
        const NamedValues::Entry* property = properties_.at(i);
        text +=
            " " + property->name->describe() + " = " + dataToLiteral(property->value.data()) + ";";
    }
    return text + " }";
}

}  // namespace cimbroker
