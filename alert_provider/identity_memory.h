// The machine identity the alerts name their system by, read without ever committing.
//
// Each read asks the registry again (sysdata/mtms.h). When that fails, the reader's error-log
// entry is deleted uncommitted, because an entry committed here would raise another alert and a
// failing identity key would feed a loop, and the identity read last stands in. Thread-safe: the
// activating CIMOM thread and the alert thread read at once.
#ifndef CIMP_ALERT_PROVIDER_IDENTITY_MEMORY_H
#define CIMP_ALERT_PROVIDER_IDENTITY_MEMORY_H

#include <mutex>

#include "sysdata/mtms.h"

struct CimpIdentityReading {
    bool known;    // an identity was read, now or before
    bool current;  // it was read by this call
    CimpMtms_t mtms;
};

class CimpIdentityMemory {
  public:
    CimpIdentityReading read();
    // As at load: no identity read yet.
    void forget();

  private:
    std::mutex mutex_;
    bool known_ = false;
    CimpMtms_t last_ = {};
};

#endif
