// Checks the reader tests share: readers pass entries up, so the error log shows creations only,
// and every reader ends with an exit trace.
#ifndef CIMP_TESTS_SYSDATA_READER_CHECKS_H
#define CIMP_TESTS_SYSDATA_READER_CHECKS_H

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/errl_entry.h"
#include "platform/sim/sim_capture.h"

namespace cimptest {

using EntryPtr = std::unique_ptr<ErrlEntry>;
using TraceArgs = std::vector<std::vector<std::string>>;

inline void expectOnlyCreated(const cimpsim::Capture& capture) {
    for (const cimpsim::ErrlEvent& event : capture.errl()) {
        EXPECT_EQ(event.kind, cimpsim::ErrlEvent::Kind::Created) << "rc " << event.rc;
    }
}

// The arguments of every trace entry, in order.
inline TraceArgs traceArgs(const cimpsim::Capture& capture) {
    TraceArgs args;
    for (const cimpsim::TraceRecord& record : capture.traces()) {
        args.push_back(record.args);
    }
    return args;
}

}  // namespace cimptest

#endif
