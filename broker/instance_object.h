// CMPIInstance: the path it was made from (host, namespace, class, keys) and its properties in
// the order first set. A CMPI_chars property reads back as CMPI_string; arrays and other
// encapsulated values are cloned. A property filter, once set, drops the properties outside it
// and silently ignores later setProperty calls for them.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "broker/named_values.h"
#include "broker/object_model.h"
#include "broker/object_path_object.h"
#include "cmpift.h"

namespace cimbroker {

class InstanceObject : public Encapsulated<CMPIInstance, InstanceObject> {
  public:
    // Takes over `path`, a clone of the path the instance is made from.
    InstanceObject(RuntimeState& runtime, std::unique_ptr<ObjectPathObject> path);
    static CMPIInstanceFT* functionTable();

    const NamedValues& properties() const { return properties_; }
    CMPIStatus setProperty(const char* name, const CMPIValue* value, CMPIType type);
    // `allowed` null removes the filter; otherwise only its names and `keys` stay.
    CMPIStatus setPropertyFilter(const char** allowed, const char** keys);
    // The instance's path: the keys of the path it was made from, each taking the value of the
    // property of the same name when that is set.
    std::unique_ptr<ObjectPathObject> currentPath() const;

    std::unique_ptr<InstanceObject> cloneInstance() const;
    std::unique_ptr<Object> cloneObject() const override { return cloneInstance(); }
    const char* typeName() const override { return "CMPIInstance"; }
    // "instance of Class { Name = \"v\"; ... }"
    std::string describe() const override;

  private:
    bool passesFilter(std::string_view name) const;

    std::unique_ptr<ObjectPathObject> path_;
    NamedValues properties_;
    std::optional<std::vector<std::string>> filter_;  // lower-cased names allowed
};

}  // namespace cimbroker
