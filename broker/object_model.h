// Base of every encapsulated object the runtime makes, and the {hdl, ft} handle that stands for
// it in CMPI calls.
//
// An object is owned by exactly one of: an arena (broker-made objects), the caller-owned registry
// (clones), or another object (values inside a path, instance, array, ...); only strings, which
// never change, may instead have several holders (see SharedString). Objects are not copyable or
// movable: their CMPI handle and a string's character data live inside them.
//
// An object an arena owns may be lent to a Borrower (a Result) instead of copied into it: the
// borrower is told before the object's own state changes, so it can keep a copy as the object
// was, and it takes the object over when the arena is released.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace cimbroker {

struct RuntimeState;
class Object;

class Borrower {
  public:
    // `object`, lent as `slot`, is about to change: keep a copy of it as it is now.
    virtual void keepCopyOf(const Object& object, size_t slot) = 0;
    // The arena lets go of `object`, lent as `slot`: it is the borrower's now.
    virtual void takeOver(std::unique_ptr<Object> object, size_t slot) = 0;

  protected:
    ~Borrower() = default;
};

class Object {
  public:
    // `counted` false is for an object the runtime keeps to its end, as it keeps its broker: it is
    // not one of the live objects.
    explicit Object(RuntimeState& runtime, bool counted = true);
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

    // Whether an arena owns the object and it is not lent already.
    bool lendable() const { return inArena_ && borrower_ == nullptr; }
    void lendTo(Borrower& borrower, size_t slot);
    void endLoan() { borrower_ = nullptr; }
    // An arena owns the object from now on.
    void enterArena() { inArena_ = true; }
    // An arena lets go of `object`: its borrower takes it over, or it is freed.
    static void leaveArena(std::unique_ptr<Object> object);

  protected:
    // Every change of the object's own state calls this first: a borrower keeps its copy and the
    // loan ends.
    void beforeChange();

  private:
    RuntimeState& runtime_;
    const bool counted_;
    bool inArena_ = false;
    Borrower* borrower_ = nullptr;
    size_t loanSlot_ = 0;
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
    explicit Encapsulated(RuntimeState& runtime, bool counted = true) : Object(runtime, counted) {
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
