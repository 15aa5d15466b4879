#include "broker/datetime_object.h"

#include "broker/arena.h"
#include "broker/service_call.h"
#include "broker/string_object.h"

namespace cimbroker {
namespace {

CMPIUint64 dateTimeGetBinaryFormat(const CMPIDateTime* dt, CMPIStatus* rc) {
    return runQuery<DateTimeObject>(
        dt, rc, "getBinaryFormat", CMPIUint64{0},
        [](DateTimeObject& self, CMPIStatus&) { return CMPIUint64{self.value().microseconds}; });
}

CMPIString* dateTimeGetStringFormat(const CMPIDateTime* dt, CMPIStatus* rc) {
    return runQuery<DateTimeObject>(
        dt, rc, "getStringFormat", static_cast<CMPIString*>(nullptr),
        [](DateTimeObject& self, CMPIStatus&) {
            return makeStringInArena(self.runtime(), self.describe()).cmpi();
        });
}

CMPIBoolean dateTimeIsInterval(const CMPIDateTime* dt, CMPIStatus* rc) {
    return runQuery<DateTimeObject>(
        dt, rc, "isInterval", CMPIBoolean{0}, [](DateTimeObject& self, CMPIStatus&) {
            return static_cast<CMPIBoolean>(self.value().interval ? 1 : 0);
        });
}

CMPIDateTimeFT dateTimeTable = {
    CMPICurrentVersion,
    releaseByCaller<CMPIDateTime>,
    cloneForCaller<DateTimeObject, CMPIDateTime>,
    dateTimeGetBinaryFormat,
    dateTimeGetStringFormat,
    dateTimeIsInterval,
};

}  // namespace

DateTimeObject::DateTimeObject(RuntimeState& runtime, CimDateTime value)
    : Encapsulated(runtime), value_(value) {}

CMPIDateTimeFT* DateTimeObject::functionTable() {
    return &dateTimeTable;
}

std::unique_ptr<Object> DateTimeObject::cloneObject() const {
    return std::make_unique<DateTimeObject>(runtime(), value_);
}

}  // namespace cimbroker
