// cimp-trace: prints a trace buffer of the simulated platform (see trace_printer.h).
#include <iostream>
#include <string>
#include <vector>

#include "platform/sim/printer/trace_format_table.h"
#include "platform/sim/printer/trace_printer.h"

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return cimpsim::runTracePrinter(args, cimpsim::kTraceFormats, cimpsim::kTraceFormatCount,
                                    std::cout, std::cerr);
}
