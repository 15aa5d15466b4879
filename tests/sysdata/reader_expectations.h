// Assertions the reader tests share: what a reader leaves in the error log and the trace.
#ifndef CIMP_TESTS_SYSDATA_READER_EXPECTATIONS_H
#define CIMP_TESTS_SYSDATA_READER_EXPECTATIONS_H

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/errl_entry.h"
#include "platform/sim/sim_capture.h"

namespace cimptest {

using EntryPtr = std::unique_ptr<ErrlEntry>;

// Readers pass entries up: the log shows creations only, never a commit or a deletion.
inline void expectOnlyCreated(const cimpsim::Capture& capture) {
    for (const cimpsim::ErrlEvent& event : capture.errl()) {
        EXPECT_EQ(event.kind, cimpsim::ErrlEvent::Kind::Created) << "rc " << event.rc;
    }
}

// The arguments of the last trace entry, which every reader writes on exit.
inline std::vector<std::string> lastTraceArgs(const cimpsim::Capture& capture) {
    const std::vector<cimpsim::TraceRecord> traces = capture.traces();
    if (traces.empty()) {
        ADD_FAILURE() << "no trace entry was written";
        return {};
    }
    return traces.back().args;
}

// The arguments of every trace entry, in order.
inline std::vector<std::vector<std::string>> allTraceArgs(const cimpsim::Capture& capture) {
    std::vector<std::vector<std::string>> args;
    for (const cimpsim::TraceRecord& record : capture.traces()) {
        args.push_back(record.args);
    }
    return args;
}

// An entry's return code as the trace renders %X.
inline std::string hexText(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
    return text;
}

}  // namespace cimptest

#endif
