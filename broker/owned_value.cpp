#include "broker/owned_value.h"

#include <cstdio>
#include <cstring>

#include "broker/arena.h"
#include "broker/array_object.h"
#include "broker/cmpi_number.h"
#include "broker/datetime_object.h"
#include "broker/entry_list_objects.h"
#include "broker/enumeration_object.h"
#include "broker/instance_object.h"
#include "broker/object_path_object.h"
#include "broker/string_object.h"

namespace cimbroker {
namespace {

std::string hexType(CMPIType type) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(type));
    return text;
}

bool isStorableScalar(CMPIType type) {
    switch (type) {
        case CMPI_boolean:
        case CMPI_char16:
        case CMPI_string:
        case CMPI_chars:
        case CMPI_ref:
        case CMPI_instance:
        case CMPI_args:
        case CMPI_dateTime:
        case CMPI_enumeration:
        case CMPI_ptr:
        case CMPI_charsptr:
            return true;
        default:
            return isNumberType(type);
    }
}

// Copies only the member of the union that `type` names: providers often pass the address of a
// plain variable of that type rather than a whole CMPIValue.
CMPIValue copyScalar(const CMPIValue& from, CMPIType type) {
    CMPIValue to{};
    const auto copyMember = [&from](auto& member) { std::memcpy(&member, &from, sizeof member); };
    if (type == CMPI_boolean) {
        copyMember(to.boolean);
    } else if (type == CMPI_char16) {
        copyMember(to.char16);
    } else if (!withNumberMember(to, type, copyMember)) {
        copyMember(to.dataPtr);  // CMPI_ptr, CMPI_charsptr: the caller's pointer, not owned
    }
    return to;
}

// Clones the object of this runtime behind `handle`; any other handle is refused. An encapsulated
// value whose pointer is null is a null value of its type.
template <typename T, typename Cmpi>
CMPIrc cloneOurs(RuntimeState& runtime, const Cmpi* handle, CMPIType type, OwnedValue* out,
                 std::string* reason) {
    const T* ours = T::from(handle, runtime);
    if (handle == nullptr) {
        *out = OwnedValue::nullOf(type);
    } else if (ours == nullptr) {
        *reason = "value of type " + hexType(type) + " was not made by this runtime's broker";
        return CMPI_RC_ERR_INVALID_HANDLE;
    } else {
        *out = OwnedValue::adopt(type, ours->cloneObject());
    }
    return CMPI_RC_OK;
}

CMPIrc copyString(RuntimeState& runtime, const CMPIString* string, OwnedValue* out) {
    // Any string will do, another runtime's or a host's own: only its text is kept, and a shared
    // string of this runtime is simply shared.
    const StringObject* ours = StringObject::from(string);
    if (ours != nullptr && &ours->runtime() == &runtime) {
        SharedString joined = SharedString::join(*ours);
        *out = OwnedValue::ofText(joined ? std::move(joined) : sharedText(runtime, ours->text()));
        return CMPI_RC_OK;
    }
    const char* chars =
        ours != nullptr ? ours->chars()
        : string != nullptr && string->ft != nullptr && string->ft->getCharPtr != nullptr
            ? string->ft->getCharPtr(string, nullptr)
            : nullptr;
    *out = chars != nullptr ? OwnedValue::ofText(sharedText(runtime, chars))
                            : OwnedValue::nullOf(CMPI_string);
    return CMPI_RC_OK;
}

CMPIrc copyArray(RuntimeState& runtime, const CMPIArray* array, CMPIType type, OwnedValue* out,
                 std::string* reason) {
    const ArrayObject* ours = ArrayObject::from(array, runtime);
    if (array == nullptr) {
        *out = OwnedValue::nullOf(type);
        return CMPI_RC_OK;
    }
    if (ours == nullptr) {
        *reason = "array value was not made by this runtime's broker";
        return CMPI_RC_ERR_INVALID_HANDLE;
    }
    const CMPIType wanted = storedType(type) & ~CMPI_ARRAY;
    if (ours->elementType() != wanted) {
        *reason = "array of type " + hexType(ours->elementType()) + " given as " + hexType(type);
        return CMPI_RC_ERR_TYPE_MISMATCH;
    }
    *out = OwnedValue::adopt(storedType(type), ours->cloneObject());
    return CMPI_RC_OK;
}

}  // namespace

CMPIType storedType(CMPIType type) {
    if ((type & ~CMPI_ARRAY) == CMPI_chars) {
        return static_cast<CMPIType>((type & CMPI_ARRAY) | CMPI_string);
    }
    return type;
}

bool isStorableType(CMPIType type) {
    return type == CMPI_null || isStorableScalar(static_cast<CMPIType>(type & ~CMPI_ARRAY));
}

OwnedValue::OwnedValue() : data_{CMPI_null, CMPI_nullValue, {}} {}

OwnedValue OwnedValue::nullOf(CMPIType type) {
    OwnedValue value;
    value.data_.type = storedType(type);
    return value;
}

OwnedValue OwnedValue::adopt(CMPIType type, std::unique_ptr<Object> object) {
    OwnedValue value;
    value.data_.type = type;
    value.own(std::move(object));
    return value;
}

CMPIrc OwnedValue::copyFrom(RuntimeState& runtime, const CMPIValue* value, CMPIType type,
                            OwnedValue* out, std::string* reason) {
    if (!isStorableType(type)) {
        *reason = "unsupported value type " + hexType(type);
        return CMPI_RC_ERR_INVALID_DATA_TYPE;
    }
    if (type == CMPI_chars) {
        const char* chars = reinterpret_cast<const char*>(value);
        *out = chars != nullptr ? ofText(sharedText(runtime, chars)) : nullOf(CMPI_string);
        return CMPI_RC_OK;
    }
    if (type == CMPI_null || value == nullptr) {
        *out = nullOf(type);
        return CMPI_RC_OK;
    }
    if ((type & CMPI_ARRAY) != 0) {
        return copyArray(runtime, value->array, type, out, reason);
    }
    switch (type) {
        case CMPI_string:
            return copyString(runtime, value->string, out);
        case CMPI_ref:
            return cloneOurs<ObjectPathObject>(runtime, value->ref, type, out, reason);
        case CMPI_instance:
            return cloneOurs<InstanceObject>(runtime, value->inst, type, out, reason);
        case CMPI_args:
            return cloneOurs<ArgsObject>(runtime, value->args, type, out, reason);
        case CMPI_dateTime:
            return cloneOurs<DateTimeObject>(runtime, value->dateTime, type, out, reason);
        case CMPI_enumeration:
            return cloneOurs<EnumerationObject>(runtime, value->Enum, type, out, reason);
        default: {
            OwnedValue scalar;
            scalar.data_.type = type;
            scalar.data_.state = CMPI_goodValue;
            scalar.data_.value = copyScalar(*value, type);
            *out = std::move(scalar);
            return CMPI_RC_OK;
        }
    }
}

OwnedValue OwnedValue::ofText(SharedString text) {
    OwnedValue value;
    value.data_.type = CMPI_string;
    value.data_.state = CMPI_goodValue;
    value.data_.value.string = text->cmpi();
    value.text_ = std::move(text);
    return value;
}

OwnedValue OwnedValue::clone() const {
    if (text_) {
        return ofText(text_);
    }
    if (!owned_) {
        OwnedValue copy;
        copy.data_ = data_;
        return copy;
    }
    return adopt(data_.type, owned_->cloneObject());
}

void OwnedValue::retire(RuntimeState& runtime) {
    if (owned_) {
        arenaFor(runtime).adopt(std::move(owned_));
    }
    if (text_) {
        arenaFor(runtime).hold(std::move(text_));
    }
}

// Every encapsulated member of CMPIValue (array, ref, inst, args, dateTime, Enum) is a pointer at
// the start of the union, so the handle goes there whatever the object's type.
void OwnedValue::own(std::unique_ptr<Object> object) {
    void* handle = object->cmpiAddress();
    std::memcpy(&data_.value, &handle, sizeof handle);
    data_.state = CMPI_goodValue;
    owned_ = std::move(object);
}

}  // namespace cimbroker
