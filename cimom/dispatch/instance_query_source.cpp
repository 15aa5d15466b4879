#include "cimom/dispatch/instance_query_source.h"

#include "broker/cmpi_number.h"
#include "broker/cmpi_read.h"
#include "base/text_case.h"

namespace cimhost {

using cimbroker::holdsNoValue;
using cimquery::QueryValue;

InstanceQuerySource::InstanceQuerySource(const CMPIInstance* instance,
                                         const cimmof::Schema& classes)
    : instance_(instance), classes_(classes) {}

CMPIData InstanceQuerySource::data(const std::string& property) const {
    // Property names are matched without regard to case, as everywhere in CIM.
    for (const auto& named : cimbroker::propertiesOf(instance_)) {
        if (cimp::equalsIgnoreCase(named.first, property)) {
            return named.second;
        }
    }
    CMPIData missing{};
    missing.state = CMPI_notFound;
    return missing;
}

QueryValue InstanceQuerySource::value(const std::string& property) const {
    const CMPIData d = data(property);
    if (holdsNoValue(d) || (d.type & CMPI_ARRAY) != 0) {
        return QueryValue::null();
    }
    QueryValue number = QueryValue::null();
    if (cimbroker::visitNumber(d.value, d.type,
                               [&number](auto n) { number = QueryValue::ofNumber(n); })) {
        return number;
    }
    switch (d.type) {
        case CMPI_boolean:
            return QueryValue::ofBoolean(d.value.boolean != 0);
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
    return !holdsNoValue(d) && d.type == CMPI_ref &&
           classes_.isA(cimbroker::classNameOf(d.value.ref), className);
}

}  // namespace cimhost
