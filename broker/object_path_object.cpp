#include "broker/object_path_object.h"

#include "broker/arena.h"
#include "broker/cmpi_read.h"
#include "broker/service_call.h"

namespace cimbroker {
namespace {

CMPIStatus pathSetNameSpace(CMPIObjectPath* op, const char* ns) {
    return runUpdate<ObjectPathObject>(op, "setNameSpace", nullptr, [ns](ObjectPathObject& self) {
        self.setNameSpace(ns);
        return okStatus();
    });
}

CMPIString* pathGetNameSpace(const CMPIObjectPath* op, CMPIStatus* rc) {
    return runQuery<ObjectPathObject>(
        op, rc, "getNameSpace", static_cast<CMPIString*>(nullptr),
        [](ObjectPathObject& self, CMPIStatus&) { return self.nameSpace().cmpi(); });
}

CMPIStatus pathSetHostname(CMPIObjectPath* op, const char* hn) {
    return runUpdate<ObjectPathObject>(op, "setHostname", nullptr, [hn](ObjectPathObject& self) {
        self.setHost(hn);
        return okStatus();
    });
}

CMPIString* pathGetHostname(const CMPIObjectPath* op, CMPIStatus* rc) {
    return runQuery<ObjectPathObject>(
        op, rc, "getHostname", static_cast<CMPIString*>(nullptr),
        [](ObjectPathObject& self, CMPIStatus&) { return self.host().cmpi(); });
}

CMPIStatus pathSetClassName(CMPIObjectPath* op, const char* cn) {
    return runUpdate<ObjectPathObject>(op, "setClassName", nullptr, [cn](ObjectPathObject& self) {
        self.setClassName(cn);
        return okStatus();
    });
}

CMPIString* pathGetClassName(const CMPIObjectPath* op, CMPIStatus* rc) {
    return runQuery<ObjectPathObject>(
        op, rc, "getClassName", static_cast<CMPIString*>(nullptr),
        [](ObjectPathObject& self, CMPIStatus&) { return self.className().cmpi(); });
}

CMPIStatus pathAddKey(CMPIObjectPath* op, const char* name, const CMPIValue* value,
                      const CMPIType type) {
    return runUpdate<ObjectPathObject>(op, "addKey", name, [&](ObjectPathObject& self) {
        return self.keys().store(self.runtime(), "addKey", name, value, type);
    });
}

CMPIData pathGetKey(const CMPIObjectPath* op, const char* name, CMPIStatus* rc) {
    return runQuery<ObjectPathObject>(
        op, rc, "getKey", nullData(), [name](ObjectPathObject& self, CMPIStatus& status) {
            const NamedValues::Entry* key = self.keys().find(name);
            if (key == nullptr) {
                status = errorStatus(self.runtime(), CMPI_RC_ERR_NO_SUCH_PROPERTY,
                                     std::string("no key ") + (name ? name : "(null)"));
            }
            return NamedValues::dataOf(key, CMPI_keyValue);
        });
}

CMPIData pathGetKeyAt(const CMPIObjectPath* op, CMPICount index, CMPIString** name,
                      CMPIStatus* rc) {
    return runQuery<ObjectPathObject>(
        op, rc, "getKeyAt", nullData(), [index, name](ObjectPathObject& self, CMPIStatus& status) {
            const NamedValues::Entry* key = self.keys().at(index);
            if (key == nullptr) {
                status = errorStatus(self.runtime(), CMPI_RC_ERR_NO_SUCH_PROPERTY,
                                     "no key at index " + std::to_string(index));
            }
            if (name != nullptr) {
                *name = key != nullptr ? key->name->cmpi() : nullptr;
            }
            return NamedValues::dataOf(key, CMPI_keyValue);
        });
}

CMPICount pathGetKeyCount(const CMPIObjectPath* op, CMPIStatus* rc) {
    return runQuery<ObjectPathObject>(op, rc, "getKeyCount", CMPICount{0},
                                      [](ObjectPathObject& self, CMPIStatus&) {
                                          return static_cast<CMPICount>(self.keys().size());
                                      });
}

CMPIStatus copyFromPath(CMPIObjectPath* op, const CMPIObjectPath* src, const char* service,
                        bool withHost) {
    return runUpdate<ObjectPathObject>(op, service, nullptr, [&](ObjectPathObject& self) {
        const ObjectPathObject* source = ObjectPathObject::from(src);
        if (source == nullptr) {
            return errorStatus(self.runtime(), CMPI_RC_ERR_INVALID_HANDLE,
                               std::string(service) + ": source path was not made by this broker");
        }
        self.setNameSpace(source->nameSpace().text().c_str());
        if (withHost) {
            self.setHost(source->host().text().c_str());
        }
        return okStatus();
    });
}

CMPIStatus pathSetNameSpaceFromObjectPath(CMPIObjectPath* op, const CMPIObjectPath* src) {
    return copyFromPath(op, src, "setNameSpaceFromObjectPath", false);
}

CMPIStatus pathSetHostAndNameSpaceFromObjectPath(CMPIObjectPath* op, const CMPIObjectPath* src) {
    return copyFromPath(op, src, "setHostAndNameSpaceFromObjectPath", true);
}

CMPIData qualifierNotSupported(const CMPIObjectPath* op, const char* service, CMPIStatus* rc) {
    return runQuery<ObjectPathObject>(
        op, rc, service, nullData(), [service](ObjectPathObject& self, CMPIStatus& status) {
            status = errorStatus(self.runtime(), CMPI_RC_ERR_NOT_SUPPORTED,
                                 std::string(service) + " is not supported by this broker");
            return nullData();
        });
}

CMPIData pathGetClassQualifier(const CMPIObjectPath* op, const char*, CMPIStatus* rc) {
    return qualifierNotSupported(op, "getClassQualifier", rc);
}

CMPIData pathGetPropertyQualifier(const CMPIObjectPath* op, const char*, const char*,
                                  CMPIStatus* rc) {
    return qualifierNotSupported(op, "getPropertyQualifier", rc);
}

CMPIData pathGetMethodQualifier(const CMPIObjectPath* op, const char*, const char*,
                                CMPIStatus* rc) {
    return qualifierNotSupported(op, "getMethodQualifier", rc);
}

CMPIData pathGetParameterQualifier(const CMPIObjectPath* op, const char*, const char*, const char*,
                                   CMPIStatus* rc) {
    return qualifierNotSupported(op, "getParameterQualifier", rc);
}

CMPIString* pathToString(const CMPIObjectPath* op, CMPIStatus* rc) {
    return runQuery<ObjectPathObject>(
        op, rc, "toString", static_cast<CMPIString*>(nullptr),
        [](ObjectPathObject& self, CMPIStatus&) {
            return makeInArena<StringObject>(self.runtime(), self.describe()).cmpi();
        });
}

CMPIObjectPathFT pathTable = {
    CMPICurrentVersion,
    releaseByCaller<CMPIObjectPath>,
    cloneForCaller<ObjectPathObject, CMPIObjectPath>,
    pathSetNameSpace,
    pathGetNameSpace,
    pathSetHostname,
    pathGetHostname,
    pathSetClassName,
    pathGetClassName,
    pathAddKey,
    pathGetKey,
    pathGetKeyAt,
    pathGetKeyCount,
    pathSetNameSpaceFromObjectPath,
    pathSetHostAndNameSpaceFromObjectPath,
    pathGetClassQualifier,
    pathGetPropertyQualifier,
    pathGetMethodQualifier,
    pathGetParameterQualifier,
    pathToString,
};

}  // namespace

ObjectPathObject::ObjectPathObject(RuntimeState& runtime, const std::string& nameSpace,
                                   const std::string& className, const std::string& host)
    : Encapsulated(runtime),
      host_(std::make_unique<StringObject>(runtime, host)),
      nameSpace_(std::make_unique<StringObject>(runtime, nameSpace)),
      className_(std::make_unique<StringObject>(runtime, className)) {}

CMPIObjectPathFT* ObjectPathObject::functionTable() {
    return &pathTable;
}

std::unique_ptr<ObjectPathObject> ObjectPathObject::clonePath() const {
    auto copy = std::make_unique<ObjectPathObject>(runtime(), nameSpace_->text(),
                                                   className_->text(), host_->text());
    copy->keys_ = keys_.clone(runtime());
    return copy;
}

std::string ObjectPathObject::describe() const {
    std::string text;
    if (!host_->text().empty()) {
        text += "//" + host_->text() + "/";
    }
    if (!nameSpace_->text().empty()) {
        text += nameSpace_->text() + ":";
    }
    text += className_->text();
    for (size_t i = 0; i < keys_.size(); ++i) {
        const NamedValues::Entry* key = keys_.at(i);
        text += (i == 0 ? "." : ",") + key->name->text() + "=" + dataToLiteral(key->value.data());
    }
    return text;
}

void ObjectPathObject::replace(std::unique_ptr<StringObject>& field, const char* text) {
    arenaFor(runtime()).adopt(std::move(field));
    field = std::make_unique<StringObject>(runtime(), text != nullptr ? text : "");
}

}  // namespace cimbroker
