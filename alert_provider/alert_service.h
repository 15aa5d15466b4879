// The alert provider's state: how many filters the CIMOM has activated, whether it takes
// indications, and the error-log watch and alert thread that follow from both.
//
// The watch exists while at least one filter is active (so entries committed after an activation
// are told even when indications are enabled a moment later); the thread runs while, besides,
// indications are enabled. Neither exists otherwise: no thread, no descriptor. The thread is
// stopped and joined on disable, on the last deactivation, on cleanup and when the service ends.
// Every call may come from any CIMOM thread, several at once; a mutex orders them.
#ifndef CIMP_ALERT_PROVIDER_ALERT_SERVICE_H
#define CIMP_ALERT_PROVIDER_ALERT_SERVICE_H

#include <cmpidt.h>

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>

#include "alert_provider/alert_thread.h"
#include "alert_provider/identity_memory.h"
#include "platform/errl_watch.h"

class CimpAlertService {
  public:
    CimpAlertService() = default;
    ~CimpAlertService();
    CimpAlertService(const CimpAlertService&) = delete;
    CimpAlertService& operator=(const CimpAlertService&) = delete;

    // The broker the alerts are made and delivered through: the factory's latest.
    void setBroker(const CMPIBroker* broker) { broker_.store(broker); }

    // `context` is the calling CIMOM operation's: a thread started now runs under a copy of it.
    CMPIStatus activateFilter(const CMPIContext* context);
    CMPIStatus deactivateFilter();
    CMPIStatus enable(const CMPIContext* context);
    CMPIStatus disable();
    // Back to the state at load: no filter, indications disabled.
    CMPIStatus cleanup();

  private:
    // Starts the thread when a filter is active, indications are enabled and none runs.
    CMPIStatus startWhenWanted(const CMPIContext* context);

    std::atomic<const CMPIBroker*> broker_{nullptr};
    CimpIdentityMemory identity_;
    std::mutex mutex_;
    size_t activeFilters_ = 0;
    bool enabled_ = false;
    std::unique_ptr<ErrlWatch> watch_;
    std::unique_ptr<CimpAlertThread> thread_;  // after watch_: ends before it
};

#endif
