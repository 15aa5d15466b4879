#include "tools/cimp-platform/errl_command.h"

#include <regex.h>

#include <cstdio>
#include <optional>
#include <vector>

#include "platform/sim/errl_log.h"
#include "platform/sim/value_parsers.h"
#include "tools/cimp-platform/errl_commit_command.h"
#include "tools/cimp-platform/follow_loop.h"
#include "tools/cimp-platform/line_tail.h"
#include "tools/cimp-platform/value_codec.h"

namespace cimpcli {

namespace {

struct ErrlFilter {
    std::optional<std::string> since;  // without its "Z", compared as text
    uint32_t rc = 0;                   // 0 keeps any: a return code is never 0
};

std::string withoutZone(const std::string& time) {
    return !time.empty() && time.back() == 'Z' ? time.substr(0, time.size() - 1) : time;
}

// YYYY-MM-DD, then optionally THH:MM, :SS and a fraction, then optionally Z.
bool isUtcTime(const std::string& time) {
    static regex_t shape;
    static const bool compiled =
        regcomp(&shape,
                "^[0-9]{4}-[0-9]{2}-[0-9]{2}(T[0-9]{2}:[0-9]{2}(:[0-9]{2}(\\.[0-9]+)?)?)?Z?$",
                REG_EXTENDED | REG_NOSUB) == 0;
    return compiled && regexec(&shape, time.c_str(), 0, nullptr, 0) == 0;
}

bool keeps(const ErrlFilter& filter, const std::optional<cimpsim::ErrlLine>& entry) {
    if (!entry) {
        return !filter.since && filter.rc == 0;
    }
    return (!filter.since || withoutZone(entry->committed) >= *filter.since) &&
           (filter.rc == 0 || cimpsim::parseFaultCode(entry->rc) == filter.rc);
}

std::string alignedEntry(const cimpsim::ErrlLine& f) {
    char line[kMaxLineBytes + 256];
    std::snprintf(line, sizeof line, "%6s  %-27s  %-10s  %-13s  %-23s  %-28s  %-27s  %s",
                  f.sequence.c_str(), f.committed.c_str(), f.rc.c_str(), f.values.c_str(),
                  f.service.c_str(), f.key.c_str(), f.created.c_str(), f.pid.c_str());
    return line;
}

cimp::Outcome parseFilter(ArgList& args, ErrlFilter* filter) {
    std::optional<std::string> since;
    std::optional<std::string> rc;
    cimp::Outcome status = args.takeOption("--since", &since);
    if (status.ok()) {
        status = args.takeOption("--rc", &rc);
    }
    if (status.ok() && since && !isUtcTime(*since)) {
        status =
            cimp::Outcome::badUsage(*since, "not a UTC time YYYY-MM-DD[THH:MM[:SS[.fraction]]][Z]");
    }
    if (status.ok() && since) {
        filter->since = withoutZone(*since);
    }
    return status.ok() && rc ? parseReturnCode(*rc, &filter->rc) : status;
}

cimp::Outcome runErrl(const std::string& root, ArgList& args, std::ostream& out) {
    if (!args.remaining().empty() && args.remaining().front() == "commit") {
        ArgList commitArgs(
            std::vector<std::string>(args.remaining().begin() + 1, args.remaining().end()));
        return runErrlCommit(root, commitArgs, out);
    }
    bool follow = args.takeFlag("--follow");
    ErrlFilter filter;
    std::vector<std::string> positionals;
    cimp::Outcome status = parseFilter(args, &filter);
    if (status.ok()) {
        status = args.takePositionals(0, 0, &positionals);
    }
    if (!status.ok()) {
        return status;
    }
    LineTail log(root + "/errl/log");
    auto print = [&](const std::string& line) {
        std::optional<cimpsim::ErrlLine> entry = cimpsim::parseErrlLine(line);
        if (keeps(filter, entry)) {
            out << (entry ? alignedEntry(*entry) : line) << "\n";
        }
    };
    return follow ? followUntilStopped(out, [&] { return log.poll(print); }) : log.poll(print);
}

}  // namespace

const Command kErrlCommand = {
    "errl",
    "[--follow] [--since TIME] [--rc CODE] | commit [--rc CODE] [--words W1 W2] [--call NAME] "
    "[--key KEY]",
    "print the error log, one entry a line; --since keeps entries committed at or after TIME\n"
    "(UTC, YYYY-MM-DD[THH:MM[:SS[.fraction]]][Z]), --rc those with return code CODE (hex),\n"
    "--follow keeps printing new entries until interrupted.\n"
    "errl commit commits one entry as a failing platform read commits it, raising an alert:\n"
    "return code CODE (hex, default 51A00010), the two words W1 W2 it is committed with (hex,\n"
    "default D400 2000), the failing call NAME (default UtilReg::read) and its key KEY\n"
    "(default cimp-platform/errl_commit)",
    runErrl};

}  // namespace cimpcli
