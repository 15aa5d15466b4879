#include "cimom/indication/record_instance.h"

#include "cimom/wire/request_objects.h"
#include "cimom/wire/value_text.h"

namespace cimhost {
namespace {

Status setDeclared(const CMPIBroker* broker, const NamespaceSchema& schema,
                   const HostRecord& record, const cimmof::Property& declared,
                   CMPIInstance* instance) {
    const std::string& className = record.name.className;
    const PropertyValue* given = findProperty(record.value, declared.name);
    if (given != nullptr && !given->isNull) {
        return setRequestProperty(broker, schema, className, *given, instance);
    }
    if (declared.hasDefault && !declared.isArray && declared.type != "ref") {
        const PropertyValue fallback{declared.name, declared.type,           false,
                                     false,         {declared.defaultValue}, nullptr};
        return setRequestProperty(broker, schema, className, fallback, instance);
    }
    const CMPIType type = declared.type == "ref" ? CMPI_ref : cimTypeCode(declared.type);
    instance->ft->setProperty(instance, declared.name.c_str(), nullptr,
                              declared.isArray ? (type | CMPI_ARRAY) : type);
    return Status::ok();
}

}  // namespace

CMPIInstance* recordInstance(const CMPIBroker* broker, const NamespaceSchema& schema,
                             const HostRecord& record, Status& status) {
    CMPIObjectPath* path = makeObjectPath(broker, schema, record.name, status);
    CMPIInstance* instance =
        path == nullptr ? nullptr : broker->eft->newInstance(broker, path, nullptr);
    if (instance == nullptr) {
        if (status.isOk()) {
            status = Status::failed("the broker made no instance");
        }
        return nullptr;
    }
    for (const cimmof::Property& declared : schema.classes.allProperties(record.name.className)) {
        status = setDeclared(broker, schema, record, declared, instance);
        if (!status.isOk()) {
            return nullptr;
        }
    }
    return instance;
}

}  // namespace cimhost
