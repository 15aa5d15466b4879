#include "cimom/dispatch/instance_query_source.h"

#include "broker/cmpi_read.h"
#include "broker/text_case.h"

namespace cimhost {
namespace {

using cimquery::QueryValue;

bool isNull(const CMPIData& d) {
    return (d.state & (CMPI_nullValue | CMPI_notFound | CMPI_badValue)) != 0 || d.type == CMPI_null;
}

}  // namespace

InstanceQuerySource::InstanceQuerySource(const CMPIInstance* instance,
                                         const cimmof::Schema& classes)
    : instance_(instance), classes_(classes) {}

CMPIData InstanceQuerySource::data(const std::string& property) const {
    // Property names are matched without regard to case, as everywhere in CIM.
    for (const auto& named : cimbroker::propertiesOf(instance_)) {
        if (cimbroker::equalsIgnoreCase(named.first, property)) {
            return named.second;
        }
    }
    CMPIData missing{};
    missing.state = CMPI_notFound;
    return missing;
}

QueryValue InstanceQuerySource::value(const std::string& property) const {
    const CMPIData d = data(property);
    if (isNull(d) || (d.type & CMPI_ARRAY) != 0) {
        return QueryValue::null();
    }
    const CMPIValue& v = d.value;
    switch (d.type) {
        case CMPI_boolean:
            return QueryValue::ofBoolean(v.boolean != 0);
        case CMPI_uint8:
            return QueryValue::ofNumber(v.uint8);
        case CMPI_uint16:
            return QueryValue::ofNumber(v.uint16);
        case CMPI_uint32:
            return QueryValue::ofNumber(v.uint32);
        case CMPI_uint64:
            return QueryValue::ofNumber(v.uint64);
        case CMPI_sint8:
            return QueryValue::ofNumber(v.sint8);
        case CMPI_sint16:
            return QueryValue::ofNumber(v.sint16);
        case CMPI_sint32:
            return QueryValue::ofNumber(v.sint32);
        case CMPI_sint64:
            return QueryValue::ofNumber(v.sint64);
        case CMPI_real32:
            return QueryValue::ofNumber(v.real32);
        case CMPI_real64:
            return QueryValue::ofNumber(v.real64);
        case CMPI_string:
        case CMPI_chars:
        case CMPI_char16:
        case CMPI_dateTime:
        case CMPI_ref:
            return QueryValue::ofString(cimbroker::dataToString(d));
        default:
            return QueryValue::null();
    }
}

bool InstanceQuerySource::isA(const std::string& property, const std::string& className) const {
    const CMPIData d = data(property);
    return !isNull(d) && d.type == CMPI_ref &&
           classes_.isA(cimbroker::classNameOf(d.value.ref), className);
}

}  // namespace cimhost
