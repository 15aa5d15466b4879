// Turns a decoded trace entry into the text a reader sees.
#ifndef CIMP_PLATFORM_SIM_PRINTER_TRACE_MESSAGE_H
#define CIMP_PLATFORM_SIM_PRINTER_TRACE_MESSAGE_H

#include <string>

#include "platform/sim/printer/trace_ring_reader.h"

namespace cimpsim {

// `format` with its conversions (%X, %d, %s, with flags and widths) filled from the entry's
// arguments in order; "%%" is a percent sign. A conversion that does not fit its argument shows
// the argument as raw, a missing argument shows "<missing>", leftover arguments follow in
// brackets. With a null `format` (unknown id): "unknown format 0x%08X" and the raw arguments.
std::string traceMessage(const char* format, const DecodedEntry& entry);

// One printed line: "<UTC time> tid=<thread> line=<line> <message>".
std::string traceLine(const char* format, const DecodedEntry& entry);

}  // namespace cimpsim

#endif
