#include "tools/cimp-platform/errl_commit_command.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

#include "base/absolute_path.h"
#include "platform/errl_entry.h"
#include "platform/sim/errl_log.h"
#include "platform/sim/sim_errl_entry.h"
#include "platform/sim/sim_return_codes.h"
#include "tools/cimp-platform/root_files.h"
#include "tools/cimp-platform/value_codec.h"

namespace cimpcli {

namespace {

constexpr char kDefaultCall[] = "UtilReg::read";
constexpr char kDefaultKey[] = "cimp-platform/errl_commit";
constexpr unsigned short kDefaultWords[2] = {0xd400, 0x2000};
constexpr size_t kMaxCallBytes = 64;

// A commit word: 16-bit hexadecimal, "0x" optional.
cimp::Outcome parseWord(const std::string& text, unsigned short* word) {
    const size_t skip = text.compare(0, 2, "0x") == 0 || text.compare(0, 2, "0X") == 0 ? 2 : 0;
    const char* begin = text.data() + skip;
    const char* end = text.data() + text.size();
    unsigned value = 0;
    const std::from_chars_result parsed = std::from_chars(begin, end, value, 16);
    if (begin == end || parsed.ec != std::errc() || parsed.ptr != end || value > 0xFFFF) {
        return cimp::Outcome::badUsage(text, "not a 16-bit hexadecimal word");
    }
    *word = static_cast<unsigned short>(value);
    return cimp::Outcome::success();
}

struct Commit {
    uint32_t rc = cimpsim::kRcCommittedByHand;
    unsigned short words[2] = {kDefaultWords[0], kDefaultWords[1]};
    std::string call = kDefaultCall;
    std::string key = kDefaultKey;
};

cimp::Outcome parseCommit(ArgList& args, Commit* commit) {
    std::optional<std::string> rc, call, key;
    std::optional<std::vector<std::string>> words;
    std::vector<std::string> positionals;
    cimp::Outcome status = args.takeOption("--rc", &rc);
    status = status.ok() ? args.takeOption("--call", &call) : status;
    status = status.ok() ? args.takeOption("--key", &key) : status;
    status = status.ok() ? args.takeOptionValues("--words", 2, &words) : status;
    status = status.ok() ? args.takePositionals(0, 0, &positionals) : status;
    status = status.ok() && rc ? parseReturnCode(*rc, &commit->rc) : status;
    for (size_t i = 0; status.ok() && words && i < 2; ++i) {
        status = parseWord((*words)[i], &commit->words[i]);
    }
    // The call is one field of the log line, written as it is.
    const auto printable = [](char c) { return c > ' ' && c < 0x7F; };
    if (status.ok() && call &&
        (call->empty() || call->size() > kMaxCallBytes ||
         !std::all_of(call->begin(), call->end(), printable))) {
        status = cimp::Outcome::badUsage(*call,
                                         "not a call name (1 to 64 printable characters, "
                                         "no blanks)");
    }
    commit->call = call.value_or(commit->call);
    commit->key = key.value_or(commit->key);
    return status;
}

}  // namespace

cimp::Outcome runErrlCommit(const std::string& root, ArgList& args, std::ostream& /*out*/) {
    Commit commit;
    cimp::Outcome status = parseCommit(args, &commit);
    status = status.ok() ? checkRoot(root) : status;
    if (!status.ok()) {
        return status;
    }
    // The platform finds its root in the environment, as in a CIMOM, and takes it absolute.
    const std::string platformRoot = cimp::absolutePath(root);
    setenv("CIMP_PLATFORM_ROOT", platformRoot.c_str(), 1);
    const std::string log = platformRoot + "/errl/log";
    const uint64_t before = cimpsim::lastSequenceOfLog(log);
    std::unique_ptr<ErrlEntry>(
        new cimpsim::SimErrlEntry(commit.rc, commit.call.c_str(), commit.key.c_str()))
        ->commit(commit.words[0], commit.words[1]);
    if (cimpsim::lastSequenceOfLog(log) == before) {
        return cimp::Outcome::failed(log, "the entry could not be written");
    }
    return cimp::Outcome::success();
}

}  // namespace cimpcli
