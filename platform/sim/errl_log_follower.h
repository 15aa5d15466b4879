// Follows the error-log file <root>/errl/log: hands out the entries appended since the last call,
// each once, a bounded batch at a time.
//
// A line counts once it is whole (ends in a newline): a last line cut short is left for a later
// call. A line that is not an entry is passed over. The log starts over when the file at the path
// is another one (replaced, rotated, removed and made anew) or no longer holds, where it was, the
// last line read (truncated, rewritten): it is then read from its first line, and of the entries
// that precede the first new one only those committed after the last one handed out (by commit
// time, then number) are new. Reads open the file by its path and hold no descriptor between calls.
// Not thread-safe: one follower belongs to one reader.
#ifndef CIMP_PLATFORM_SIM_ERRL_LOG_FOLLOWER_H
#define CIMP_PLATFORM_SIM_ERRL_LOG_FOLLOWER_H

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/errl_watch.h"

namespace cimpsim {

class ErrlLogFollower {
  public:
    // Follows `path` from after its last whole line now; entries committed at or before
    // `startNanos` are never handed out, even when a replaced log holds them.
    ErrlLogFollower(std::string path, uint64_t startNanos);

    // Appends to `entries` at most `limit` entries committed since the last call.
    void readNew(std::vector<ErrlCommittedEntry>& entries, size_t limit);

  private:
    bool stillHoldsLastLine(int fd, uint64_t size) const;
    void startOver(dev_t device, ino_t inode);
    // Takes the whole lines of [offset_, size): false when `limit` entries are in `entries`.
    bool takeLines(int fd, uint64_t size, std::vector<ErrlCommittedEntry>& entries, size_t limit);
    void takeLine(const std::string& line, uint64_t end, std::vector<ErrlCommittedEntry>& entries);

    std::string path_;
    bool known_ = false;  // device_ and inode_ name the file followed
    dev_t device_ = 0;
    ino_t inode_ = 0;
    uint64_t offset_ = 0;       // bytes of the file taken: whole lines, or a line too long to be one
    bool discarding_ = false;   // inside a line too long to be an entry, up to its newline
    std::string lastLine_;      // the last whole line taken, without its newline
    uint64_t lastLineEnd_ = 0;  // where it ends, its newline included
    bool filtering_ = false;    // after a start over, until the first new entry
    uint64_t lastNanos_;        // the last entry handed out, or the start
    uint64_t lastNumber_ = 0;
};

}  // namespace cimpsim

#endif
