// A CMPI value with its own copies of everything it refers to: the store behind keys, properties,
// array elements, arguments and context entries.
//
// Copying in follows what CIMOMs do: a CMPI_chars value (whose CMPIValue* is the character
// pointer itself) is stored as a CMPI_string, and encapsulated values (strings, paths, instances,
// arrays, ...) are cloned, so the caller's object may change or go away; strings, which never
// change, are shared with the string they were copied from where that one is shared. data() hands
// out pointers to the owned copies; they stay valid while the value does, or until the request ends
// once the value is retired. Not thread-safe.
#pragma once

#include <memory>
#include <string>

#include "broker/object_model.h"
#include "broker/shared_string.h"
#include "cmpidt.h"

namespace cimbroker {

// chars -> string, charsA -> stringA; other types unchanged.
CMPIType storedType(CMPIType type);
// Whether values of `type` can be stored: scalars, strings, paths, instances, args, date-times,
// enumerations, opaque pointers, and arrays of those.
bool isStorableType(CMPIType type);

class OwnedValue {
  public:
    OwnedValue();
    OwnedValue(OwnedValue&&) = default;
    OwnedValue& operator=(OwnedValue&&) = default;

    // A null value of `type` (stored form).
    static OwnedValue nullOf(CMPIType type);
    // Takes over `object` as the value of encapsulated type `type`.
    static OwnedValue adopt(CMPIType type, std::unique_ptr<Object> object);
    // A CMPI_string value held through `text`.
    static OwnedValue ofText(SharedString text);

    // Copies a caller's value; a null `value` gives a null value of the type. On failure `out` is
    // unchanged and `reason` says why.
    static CMPIrc copyFrom(RuntimeState& runtime, const CMPIValue* value, CMPIType type,
                           OwnedValue* out, std::string* reason);

    OwnedValue clone() const;
    // Type in stored form; state CMPI_goodValue or CMPI_nullValue.
    const CMPIData& data() const { return data_; }
    CMPIType type() const { return data_.type; }
    bool isNull() const { return (data_.state & CMPI_nullValue) != 0; }

    // Hands the owned copy to the current arena, so data() given out before stays valid until
    // the request ends; call before overwriting or dropping a value.
    void retire(RuntimeState& runtime);

  private:
    void own(std::unique_ptr<Object> object);

    CMPIData data_;
    std::unique_ptr<Object> owned_;  // an encapsulated value other than a string
    SharedString text_;              // a string value
};

}  // namespace cimbroker
