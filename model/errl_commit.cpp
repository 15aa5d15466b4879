#include "model/errl_commit.h"

#include "platform/errl_entry.h"

namespace {

// The two values every commit of this provider passes, in this order.
constexpr unsigned short kCommitSeverity = 0xd400;
constexpr unsigned short kCommitActions = 0x2000;

}  // namespace

void cimpCommitAndDelete(ErrlEntry* entry) {
    entry->commit(kCommitSeverity, kCommitActions);
    delete entry;
}
