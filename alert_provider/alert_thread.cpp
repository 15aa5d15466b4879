#include "alert_provider/alert_thread.h"

#include <cmpimacs.h>

#include <cstdint>
#include <new>

#include "alert_provider/alert_indication.h"
#include "model/cim_namespace.h"
#include "platform/trace_point.h"

CimpAlertThread::CimpAlertThread(const CMPIBroker* broker, CMPIContext* context, ErrlWatch& watch,
                                 CimpIdentityMemory& identity)
    : broker_(broker),
      context_(context),
      watch_(watch),
      identity_(identity),
      thread_([this] { run(); }) {}

CimpAlertThread::~CimpAlertThread() {
    stopping_.store(true);
    watch_.wake();
    thread_.join();
}

void CimpAlertThread::run() {
    CBAttachThread(broker_, context_);
    std::vector<ErrlCommittedEntry> entries;
    while (!stopping_.load()) {
        if (watch_.next(entries, -1) == ErrlWatch::Wait::Entries && !stopping_.load()) {
            deliver(entries);
        }
    }
    CBDetachThread(broker_, context_);
}

void CimpAlertThread::deliver(const std::vector<ErrlCommittedEntry>& entries) {
    // Without a context of its own the batch's objects stay with the thread's attachment.
    CMPIContext* batch = CBPrepareAttachThread(broker_, context_);
    if (batch != nullptr) {
        CBAttachThread(broker_, batch);
    }
    // Out of memory the rest of the batch is lost, not the process: no exception ends a thread.
    try {
        const CimpIdentityReading identity = identity_.read();
        for (const ErrlCommittedEntry& entry : entries) {
            CMPIStatus status = {CMPI_RC_OK, nullptr};
            CMPIInstance* alert = cimpMakeAlertIndication(broker_, entry, identity, status);
            if (alert != nullptr) {
                status = CBDeliverIndication(broker_, batch != nullptr ? batch : context_,
                                             kCimpNamespace, alert);
            }
            if (status.rc != CMPI_RC_OK) {
                CIMP_TRACE(" %X,%X", "alert for error-log entry not delivered entry=0x%X rc=0x%X",
                           static_cast<uint32_t>(entry.number), static_cast<uint32_t>(status.rc));
            }
        }
    } catch (const std::bad_alloc&) {
        CIMP_TRACE(" ", "alert provider: out of memory, alerts of a batch lost");
    }
    if (batch != nullptr) {
        CBDetachThread(broker_, batch);
    }
}
