#include "cimom/dispatch/instance_query_source.h"

#include "base/text_case.h"
#include "broker/cmpi_number.h"
#include "broker/cmpi_read.h"

namespace cimhost {

using cimbroker::holdsNoValue;
using cimquery::QueryValue;

namespace {

constexpr CMPIData kNotFound{CMPI_null, CMPI_notFound, {}};

// The property `name` of `instance`; property names match without regard to case, as everywhere
// in CIM.
CMPIData propertyOf(const CMPIInstance* instance, const std::string& name) {
    for (const auto& named : cimbroker::borrowProperties(instance)) {
        if (cimp::equalsIgnoreCase(named.first, name)) {
            return named.second;
        }
    }
    return kNotFound;
}

// The class of the object a value refers to or embeds; empty for any other value.
std::string objectClass(const CMPIData& d) {
    if (holdsNoValue(d)) {
        return "";
    }
    if (d.type == CMPI_ref) {
        return cimbroker::classNameOf(d.value.ref);
    }
    if (d.type == CMPI_instance && d.value.inst != nullptr) {
        return cimbroker::classNameOf(d.value.inst->ft->getObjectPath(d.value.inst, nullptr));
    }
    return "";
}

}  // namespace

InstanceQuerySource::InstanceQuerySource(const CMPIInstance* instance,
                                         const cimmof::Schema& classes)
    : instance_(instance), classes_(classes) {}

// A dotted name goes down through embedded instances one segment at a time.
CMPIData InstanceQuerySource::data(const std::string& property) const {
    const CMPIInstance* holder = instance_;
    std::size_t start = 0;
    for (;;) {
        const std::size_t dot = property.find('.', start);
        const CMPIData d = propertyOf(holder, property.substr(start, dot - start));
        if (dot == std::string::npos) {
            return d;
        }
        if (holdsNoValue(d) || d.type != CMPI_instance || d.value.inst == nullptr) {
            return kNotFound;
        }
        holder = d.value.inst;
        start = dot + 1;
    }
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
    const std::string cls = objectClass(data(property));
    return !cls.empty() && classes_.isA(cls, className);
}

}  // namespace cimhost
