// CMPIContext and CMPIArgs: ordered named values (see NamedValues), found by name without regard
// to letter case. They differ only in their CMPI function names.
#pragma once

#include <memory>
#include <string>

#include "broker/named_values.h"
#include "broker/object_model.h"
#include "cmpift.h"

namespace cimbroker {

// "name=literal, ..."
std::string describeEntries(const NamedValues& entries);

template <typename Cmpi, typename Self>
class EntryListObject : public Encapsulated<Cmpi, Self> {
  public:
    NamedValues& entries() { return entries_; }
    const NamedValues& entries() const { return entries_; }
    std::unique_ptr<Object> cloneObject() const override {
        auto copy = std::make_unique<Self>(this->runtime());
        copy->entries_ = entries_.clone();
        return copy;
    }
    std::string describe() const override { return describeEntries(entries_); }

  protected:
    explicit EntryListObject(RuntimeState& runtime) : Encapsulated<Cmpi, Self>(runtime) {}

  private:
    NamedValues entries_;
};

class ContextObject : public EntryListObject<CMPIContext, ContextObject> {
  public:
    explicit ContextObject(RuntimeState& runtime) : EntryListObject(runtime) {}
    static CMPIContextFT* functionTable();
    const char* typeName() const override { return "CMPIContext"; }
};

class ArgsObject : public EntryListObject<CMPIArgs, ArgsObject> {
  public:
    explicit ArgsObject(RuntimeState& runtime) : EntryListObject(runtime) {}
    static CMPIArgsFT* functionTable();
    const char* typeName() const override { return "CMPIArgs"; }
};

}  // namespace cimbroker
