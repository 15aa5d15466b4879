#include "broker/entry_list_objects.h"

#include "broker/cmpi_read.h"
#include "broker/named_value_calls.h"

namespace cimbroker {
namespace {

struct ContextNames {
    static constexpr const char* get = "getEntry";
    static constexpr const char* getAt = "getEntryAt";
    static constexpr const char* count = "getEntryCount";
    static constexpr const char* add = "addEntry";
};

struct ArgsNames {
    static constexpr const char* get = "getArg";
    static constexpr const char* getAt = "getArgAt";
    static constexpr const char* count = "getArgCount";
    static constexpr const char* add = "addArg";
};

template <typename Self, typename Cmpi, typename Names>
struct EntryFunctions
    : NamedValueGetters<Self, Cmpi, Names, EntryListObject<Cmpi, Self>, &Self::entries> {
    static CMPIStatus add(const Cmpi* handle, const char* name, const CMPIValue* value,
                          const CMPIType type) {
        return runUpdate<Self>(handle, Names::add, [&](Self& self) {
            return self.entries().store(self.runtime(), Names::add, name, value, type);
        });
    }
};

using ContextFunctions = EntryFunctions<ContextObject, CMPIContext, ContextNames>;
using ArgsFunctions = EntryFunctions<ArgsObject, CMPIArgs, ArgsNames>;

CMPIContextFT contextTable = {
    CMPICurrentVersion,    releaseByCaller<CMPIContext>, cloneForCaller<ContextObject, CMPIContext>,
    ContextFunctions::get, ContextFunctions::getAt,      ContextFunctions::count,
    ContextFunctions::add,
};

CMPIArgsFT argsTable = {
    CMPICurrentVersion,   releaseByCaller<CMPIArgs>, cloneForCaller<ArgsObject, CMPIArgs>,
    ArgsFunctions::add,   ArgsFunctions::get,        ArgsFunctions::getAt,
    ArgsFunctions::count,
};

}  // namespace

std::string describeEntries(const NamedValues& entries) {
    std::string text;
    for (size_t i = 0; i < entries.size(); ++i) {
        const NamedValues::Entry* entry = entries.at(i);
        text += (i == 0 ? "" : ", ") + entry->name->describe() + "=" +
                dataToLiteral(entry->value.data());
    }
    return text;
}

CMPIContextFT* ContextObject::functionTable() {
    return &contextTable;
}

CMPIArgsFT* ArgsObject::functionTable() {
    return &argsTable;
}

}  // namespace cimbroker
