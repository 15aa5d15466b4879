#include "broker/object_path_object.h"

#include "broker/arena.h"
#include "broker/cmpi_read.h"
#include "broker/name_table.h"
#include "broker/named_value_calls.h"
#include "broker/service_call.h"

namespace cimbroker {
namespace {

// The namespace, host name and class name slots differ only in the field they reach.
template <const char* service, void (ObjectPathObject::*set)(const char*)>
CMPIStatus setText(CMPIObjectPath* op, const char* text) {
    return runUpdate<ObjectPathObject>(op, service, [text](ObjectPathObject& self) {
        (self.*set)(text);
        return okStatus();
    });
}

template <const char* service, const StringObject& (ObjectPathObject::*get)() const>
CMPIString* getText(const CMPIObjectPath* op, CMPIStatus* rc) {
    return runQuery<ObjectPathObject>(
        op, rc, service, [](ObjectPathObject& self, CMPIStatus&) { return (self.*get)().cmpi(); });
}

constexpr char kSetNameSpace[] = "setNameSpace";
constexpr char kGetNameSpace[] = "getNameSpace";
constexpr char kSetHostname[] = "setHostname";
constexpr char kGetHostname[] = "getHostname";
constexpr char kSetClassName[] = "setClassName";
constexpr char kGetClassName[] = "getClassName";

constexpr char kAddKey[] = "addKey";

struct KeyNames {
    static constexpr const char* get = "getKey";
    static constexpr const char* getAt = "getKeyAt";
    static constexpr const char* count = "getKeyCount";
};

using KeyGetters = NamedValueGetters<ObjectPathObject, CMPIObjectPath, KeyNames, ObjectPathObject,
                                     &ObjectPathObject::keys, CMPI_keyValue>;

constexpr char kSetNameSpaceFrom[] = "setNameSpaceFromObjectPath";
constexpr char kSetHostAndNameSpaceFrom[] = "setHostAndNameSpaceFromObjectPath";

template <const char* service, bool withHost>
CMPIStatus copyFromPath(CMPIObjectPath* op, const CMPIObjectPath* src) {
    return runUpdate<ObjectPathObject>(op, service, [&](ObjectPathObject& self) {
        const ObjectPathObject* source = ObjectPathObject::from(src);
        if (source == nullptr) {
            return errorStatus(self.runtime(), CMPI_RC_ERR_INVALID_HANDLE,
                               std::string(service) + ": source path was not made by this broker");
        }
        self.setNameSpace(source->nameSpace().chars());
        if (withHost) {
            self.setHost(source->host().chars());
        }
        return okStatus();
    });
}

// Qualifiers are not offered.
constexpr char kGetClassQualifier[] = "getClassQualifier";
constexpr char kGetPropertyQualifier[] = "getPropertyQualifier";
constexpr char kGetMethodQualifier[] = "getMethodQualifier";
constexpr char kGetParameterQualifier[] = "getParameterQualifier";

constexpr char kToString[] = "toString";

CMPIObjectPathFT pathTable = {
    CMPICurrentVersion,
    releaseByCaller<CMPIObjectPath>,
    cloneForCaller<ObjectPathObject, CMPIObjectPath>,
    setText<kSetNameSpace, &ObjectPathObject::setNameSpace>,
    getText<kGetNameSpace, &ObjectPathObject::nameSpace>,
    setText<kSetHostname, &ObjectPathObject::setHost>,
    getText<kGetHostname, &ObjectPathObject::host>,
    setText<kSetClassName, &ObjectPathObject::setClassName>,
    getText<kGetClassName, &ObjectPathObject::className>,
    Forward<ObjectPathObject, decltype(CMPIObjectPathFT::addKey), kAddKey,
            &ObjectPathObject::addKey>::call,
    KeyGetters::get,
    KeyGetters::getAt,
    KeyGetters::count,
    copyFromPath<kSetNameSpaceFrom, false>,
    copyFromPath<kSetHostAndNameSpaceFrom, true>,
    Unsupported<ObjectPathObject, decltype(CMPIObjectPathFT::getClassQualifier),
                kGetClassQualifier>::call,
    Unsupported<ObjectPathObject, decltype(CMPIObjectPathFT::getPropertyQualifier),
                kGetPropertyQualifier>::call,
    Unsupported<ObjectPathObject, decltype(CMPIObjectPathFT::getMethodQualifier),
                kGetMethodQualifier>::call,
    Unsupported<ObjectPathObject, decltype(CMPIObjectPathFT::getParameterQualifier),
                kGetParameterQualifier>::call,
    describeForCaller<ObjectPathObject, CMPIObjectPath, kToString>,
};

}  // namespace

ObjectPathObject::ObjectPathObject(RuntimeState& runtime, std::string_view nameSpace,
                                   std::string_view className, std::string_view host)
    : Encapsulated(runtime),
      head_(std::make_shared<const Head>(Head{nameText(runtime, host), nameText(runtime, nameSpace),
                                              nameText(runtime, className)})) {}

ObjectPathObject::ObjectPathObject(RuntimeState& runtime, std::shared_ptr<const Head> head)
    : Encapsulated(runtime), head_(std::move(head)) {}

CMPIObjectPathFT* ObjectPathObject::functionTable() {
    return &pathTable;
}

std::unique_ptr<ObjectPathObject> ObjectPathObject::cloneWithoutKeys() const {
    return std::unique_ptr<ObjectPathObject>(new ObjectPathObject(runtime(), head_));
}

std::unique_ptr<ObjectPathObject> ObjectPathObject::clonePath() const {
    auto copy = cloneWithoutKeys();
    copy->keys_ = keys_.clone();
    return copy;
}

std::string ObjectPathObject::describe() const {
    std::string text;
    if (!host().text().empty()) {
        text += "//" + host().describe() + "/";
    }
    if (!nameSpace().text().empty()) {
        text += nameSpace().describe() + ":";
    }
    text += className().text();
    for (size_t i = 0; i < keys_.size(); ++i) {
        const NamedValues::Entry* key = keys_.at(i);
        text +=
            (i == 0 ? "." : ",") + key->name->describe() + "=" + dataToLiteral(key->value.data());
    }
    return text;
}

CMPIStatus ObjectPathObject::addKey(const char* name, const CMPIValue* value, CMPIType type) {
    beforeChange();
    return keys_.store(runtime(), "addKey", name, value, type);
}

void ObjectPathObject::replace(SharedString Head::*field, const char* text) {
    beforeChange();
    auto next = std::make_shared<Head>(*head_);
    arenaFor(runtime()).hold(std::move((*next).*field));
    (*next).*field = nameText(runtime(), text != nullptr ? text : "");
    head_ = std::move(next);
}

}  // namespace cimbroker
