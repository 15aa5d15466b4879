#include "broker/datetime_object.h"

#include "broker/service_call.h"

namespace cimbroker {
namespace {

CMPIUint64 dateTimeGetBinaryFormat(const CMPIDateTime* dt, CMPIStatus* rc) {
    return runQuery<DateTimeObject>(
        dt, rc, "getBinaryFormat",
        [](DateTimeObject& self, CMPIStatus&) { return CMPIUint64{self.value().microseconds}; });
}

constexpr char kGetStringFormat[] = "getStringFormat";

CMPIBoolean dateTimeIsInterval(const CMPIDateTime* dt, CMPIStatus* rc) {
    return runQuery<DateTimeObject>(dt, rc, "isInterval", [](DateTimeObject& self, CMPIStatus&) {
        return static_cast<CMPIBoolean>(self.value().interval ? 1 : 0);
    });
}

CMPIDateTimeFT dateTimeTable = {
    CMPICurrentVersion,
    releaseByCaller<CMPIDateTime>,
    cloneForCaller<DateTimeObject, CMPIDateTime>,
    dateTimeGetBinaryFormat,
    describeForCaller<DateTimeObject, CMPIDateTime, kGetStringFormat>,
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
