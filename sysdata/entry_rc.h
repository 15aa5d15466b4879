// The return code a reader's exit trace reports: that of the entry it hands back, or 0 when the
// read succeeded and there is none.
#ifndef CIMP_SYSDATA_ENTRY_RC_H
#define CIMP_SYSDATA_ENTRY_RC_H

#include <cstdint>

class ErrlEntry;

uint32_t cimpEntryRcOrZero(const ErrlEntry* entry);

#endif
