// CMPIObjectPath: host, namespace, class name and keys in the order added. Keys are found by name
// without regard to letter case; a key added as CMPI_chars reads back as CMPI_string, and a
// CMPI_ref key holds its own clone of the path given. A clone shares the host, namespace and class
// strings of the original, which never change. Qualifier access is not supported.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "broker/named_values.h"
#include "broker/object_model.h"
#include "broker/shared_string.h"
#include "cmpift.h"

namespace cimbroker {

class ObjectPathObject : public Encapsulated<CMPIObjectPath, ObjectPathObject> {
  public:
    ObjectPathObject(RuntimeState& runtime, std::string_view nameSpace, std::string_view className,
                     std::string_view host = std::string_view());
    static CMPIObjectPathFT* functionTable();

    const StringObject& host() const { return *host_; }
    const StringObject& nameSpace() const { return *nameSpace_; }
    const StringObject& className() const { return *className_; }
    void setHost(const char* host) { replace(host_, host); }
    void setNameSpace(const char* nameSpace) { replace(nameSpace_, nameSpace); }
    void setClassName(const char* className) { replace(className_, className); }

    CMPIStatus addKey(const char* name, const CMPIValue* value, CMPIType type);
    // For filling in a path the broker is making; changes a provider makes go through addKey.
    NamedValues& keys() { return keys_; }
    const NamedValues& keys() const { return keys_; }

    // The same host, namespace and class with no keys.
    std::unique_ptr<ObjectPathObject> cloneWithoutKeys() const;
    std::unique_ptr<ObjectPathObject> clonePath() const;
    std::unique_ptr<Object> cloneObject() const override { return clonePath(); }
    const char* typeName() const override { return "CMPIObjectPath"; }
    // "//host/ns:Class.k1=\"v\",k2=5", leaving out the parts that are empty.
    std::string describe() const override;

  private:
    ObjectPathObject(RuntimeState& runtime, SharedString nameSpace, SharedString className,
                     SharedString host);
    // Earlier readers of the old text keep a valid string until the request ends.
    void replace(SharedString& field, const char* text);

    SharedString host_;
    SharedString nameSpace_;
    SharedString className_;
    NamedValues keys_;
};

}  // namespace cimbroker
