// CMPIObjectPath: host, namespace, class name and keys in the order added. Keys are found by name
// without regard to letter case; a key added as CMPI_chars reads back as CMPI_string, and a
// CMPI_ref key holds its own clone of the path given. A clone shares the host, namespace and class
// of the original, which never change, as one counted head: a path is cloned far more often than
// those are set. Qualifier access is not supported.
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

    const StringObject& host() const { return *head_->host; }
    const StringObject& nameSpace() const { return *head_->nameSpace; }
    const StringObject& className() const { return *head_->className; }
    void setHost(const char* host) { replace(&Head::host, host); }
    void setNameSpace(const char* nameSpace) { replace(&Head::nameSpace, nameSpace); }
    void setClassName(const char* className) { replace(&Head::className, className); }

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
    struct Head {
        SharedString host;
        SharedString nameSpace;
        SharedString className;
    };

    ObjectPathObject(RuntimeState& runtime, std::shared_ptr<const Head> head);
    // Earlier readers of the old text keep a valid string until the request ends.
    void replace(SharedString Head::*field, const char* text);

    std::shared_ptr<const Head> head_;
    NamedValues keys_;
};

}  // namespace cimbroker
