#include "sysdata/entry_rc.h"

#include "platform/errl_entry.h"

uint32_t cimpEntryRcOrZero(const ErrlEntry* entry) {
    return entry != nullptr ? entry->getRC() : 0;
}
