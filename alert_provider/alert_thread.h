// The thread that turns error-log entries into alerts while the alert provider serves a filter
// with indications enabled.
//
// It attaches to the broker under the context prepared for it, then waits on the error-log watch;
// for each batch of entries it attaches anew under a context of its own, reads the machine
// identity once, delivers one Vesk_AlertIndication per entry with deliverIndication and detaches,
// so the objects a batch made are the broker's to free. Destroying it wakes the watch and joins the
// thread: the host must not call into the provider's filter and enable functions from inside its
// deliverIndication, nor hold there a lock that those callers hold.
#ifndef CIMP_ALERT_PROVIDER_ALERT_THREAD_H
#define CIMP_ALERT_PROVIDER_ALERT_THREAD_H

#include <cmpidt.h>

#include <atomic>
#include <thread>
#include <vector>

#include "alert_provider/identity_memory.h"
#include "platform/errl_watch.h"

class CimpAlertThread {
  public:
    // Starts the thread; `context` comes from prepareAttachThread and is the thread's from now
    // on. `watch` and `identity` outlive the thread. Throws std::system_error when no thread starts.
    CimpAlertThread(const CMPIBroker* broker, CMPIContext* context, ErrlWatch& watch,
                    CimpIdentityMemory& identity);
    ~CimpAlertThread();
    CimpAlertThread(const CimpAlertThread&) = delete;
    CimpAlertThread& operator=(const CimpAlertThread&) = delete;

  private:
    void run();
    void deliver(const std::vector<ErrlCommittedEntry>& entries);

    const CMPIBroker* const broker_;
    CMPIContext* const context_;
    ErrlWatch& watch_;
    CimpIdentityMemory& identity_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;  // last: starts once everything it uses is set
};

#endif
