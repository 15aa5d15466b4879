#include "broker/object_identity.h"

#include "broker/array_object.h"
#include "broker/datetime_object.h"
#include "broker/entry_list_objects.h"
#include "broker/enumeration_object.h"
#include "broker/instance_object.h"
#include "broker/object_path_object.h"
#include "broker/result_object.h"
#include "broker/select_exp_object.h"
#include "broker/string_object.h"

namespace cimbroker {
namespace {

template <typename T, typename Cmpi>
Object* as(const void* handle) {
    return T::from(static_cast<const Cmpi*>(handle));
}

}  // namespace

Object* identifyObject(const void* handle) {
    if (handle == nullptr) {
        return nullptr;
    }
    using Probe = Object* (*)(const void*);
    static const Probe probes[] = {
        as<StringObject, CMPIString>,     as<ObjectPathObject, CMPIObjectPath>,
        as<InstanceObject, CMPIInstance>, as<ArrayObject, CMPIArray>,
        as<ContextObject, CMPIContext>,   as<ArgsObject, CMPIArgs>,
        as<DateTimeObject, CMPIDateTime>, as<EnumerationObject, CMPIEnumeration>,
        as<ResultObject, CMPIResult>,     as<SelectExpObject, CMPISelectExp>,
    };
    for (Probe probe : probes) {
        if (Object* object = probe(handle)) {
            return object;
        }
    }
    return nullptr;
}

}  // namespace cimbroker
