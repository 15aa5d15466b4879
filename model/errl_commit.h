// The one way the provider disposes of an error-log entry it received: commit it with
// (0xd400, 0x2000), then delete it.
#ifndef CIMP_MODEL_ERRL_COMMIT_H
#define CIMP_MODEL_ERRL_COMMIT_H

class ErrlEntry;

void cimpCommitAndDelete(ErrlEntry* entry);

#endif
