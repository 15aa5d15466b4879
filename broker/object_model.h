// Base of every encapsulated object the runtime makes, and the {hdl, ft} handle that stands for
// it in CMPI calls.
//
// An object is owned by exactly one of: an arena (broker-made objects), the caller-owned registry
// (clones), or another object (values inside a path, instance, array, ...); only strings, which
// never change, may instead have several holders (see SharedString). Objects are not copyable or
// movable: their CMPI handle and a string's character data live inside them.
#pragma once

#include <memory>
#include <string>

namespace cimbroker {

struct RuntimeState;

class Object {
  public:
    explicit Object(RuntimeState& runtime);
    virtual ~Object();
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    RuntimeState& runtime() const { return runtime_; }

    // The CMPI struct ({hdl, ft}) that stands for this object.
    virtual void* cmpiAddress() = 0;
    virtual std::unique_ptr<Object> cloneObject() const = 0;
    // The CMPI type name the broker's getType answers: "CMPIInstance", ...
    virtual const char* typeName() const = 0;
    // The text the broker's toString answers.
    virtual std::string describe() const = 0;

  private:
    RuntimeState& runtime_;
};

// Ties a CMPI struct type (CMPIString, CMPIInstance, ...) to the class that implements it. `Self`
// provides `static <Cmpi>FT* functionTable()`.
template <typename Cmpi, typename Self>
class Encapsulated : public Object {
  public:
    Cmpi* cmpi() const { return &handle_.cmpi; }
    void* cmpiAddress() override { return &handle_.cmpi; }

    // The object behind a handle, or null when the handle is null or not one of ours.
    static Self* from(const Cmpi* handle) {
        if (handle == nullptr || handle->ft != Self::functionTable()) {
            return nullptr;
        }
        // The CMPI struct is the first member of the standard-layout Handle, so the two
        // addresses are interconvertible.
        return static_cast<Self*>(reinterpret_cast<const Handle*>(handle)->object);
    }

    // As from(), and also null for an object of another runtime: whatever keeps a copy of it
    // would otherwise tie itself to that runtime's lifetime.
    static Self* from(const Cmpi* handle, const RuntimeState& owner) {
        Self* self = from(handle);
        return self != nullptr && &self->runtime() == &owner ? self : nullptr;
    }

  protected:
    explicit Encapsulated(RuntimeState& runtime) : Object(runtime) {
        handle_.cmpi.hdl = this;
        handle_.cmpi.ft = Self::functionTable();
        handle_.object = this;
    }
    void setHdl(void* hdl) { handle_.cmpi.hdl = hdl; }

  private:
    struct Handle {
        Cmpi cmpi;
        Object* object;
    };
    mutable Handle handle_;
};

}  // namespace cimbroker
