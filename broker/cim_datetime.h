// CIM date-time text ("yyyymmddhhmmss.mmmmmmsutc" for a point in time, "ddddddddhhmmss.mmmmmm:000"
// for an interval) to and from microseconds: since 1970-01-01 00:00:00 UTC, or the interval's
// length. Pure functions.
#pragma once

#include <cstdint>
#include <string>

namespace cimbroker {

struct CimDateTime {
    uint64_t microseconds;
    bool interval;
};

// False for text that is not 25 characters of the form above, holds an out-of-range field, uses
// wildcards, or names a time before 1970 UTC.
bool parseCimDateTime(const char* text, CimDateTime& out);

// Points in time are written in UTC ("+000").
std::string formatCimDateTime(const CimDateTime& value);

}  // namespace cimbroker
