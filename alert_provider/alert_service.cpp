#include "alert_provider/alert_service.h"

#include <cmpimacs.h>

#include <system_error>

#include "platform/trace_point.h"

namespace {

CMPIStatus okStatus() {
    return {CMPI_RC_OK, nullptr};
}

}  // namespace

CimpAlertService::~CimpAlertService() {
    cleanup();
}

CMPIStatus CimpAlertService::startWhenWanted(const CMPIContext* context) {
    if (activeFilters_ == 0 || !enabled_ || thread_ != nullptr) {
        return okStatus();
    }
    const CMPIBroker* broker = broker_.load();
    CMPIContext* threadContext = broker != nullptr ? CBPrepareAttachThread(broker, context) : nullptr;
    if (threadContext == nullptr) {
        CIMP_TRACE(" ", "alert thread not started: no broker or no thread context");
        return {CMPI_RC_ERR_FAILED, nullptr};
    }
    try {
        thread_ = std::make_unique<CimpAlertThread>(broker, threadContext, *watch_, identity_);
    } catch (const std::system_error& error) {
        CIMP_TRACE(" %X", "alert thread not started errno=0x%X",
                   static_cast<uint32_t>(error.code().value()));
        return {CMPI_RC_ERR_FAILED, nullptr};
    }
    return okStatus();
}

CMPIStatus CimpAlertService::activateFilter(const CMPIContext* context) {
    // Read now, so that an alert can name the system even when every later read fails.
    identity_.read();
    std::lock_guard<std::mutex> lock(mutex_);
    if (activeFilters_ == 0) {
        watch_ = std::make_unique<ErrlWatch>();
    }
    ++activeFilters_;
    const CMPIStatus status = startWhenWanted(context);
    if (status.rc != CMPI_RC_OK && --activeFilters_ == 0) {
        watch_.reset();  // a filter that failed to activate is never deactivated
    }
    return status;
}

CMPIStatus CimpAlertService::deactivateFilter() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (activeFilters_ > 0 && --activeFilters_ == 0) {
        thread_.reset();
        watch_.reset();
    }
    return okStatus();
}

CMPIStatus CimpAlertService::enable(const CMPIContext* context) {
    std::lock_guard<std::mutex> lock(mutex_);
    enabled_ = true;
    return startWhenWanted(context);
}

CMPIStatus CimpAlertService::disable() {
    std::lock_guard<std::mutex> lock(mutex_);
    enabled_ = false;
    thread_.reset();
    return okStatus();
}

CMPIStatus CimpAlertService::cleanup() {
    std::lock_guard<std::mutex> lock(mutex_);
    thread_.reset();
    watch_.reset();
    activeFilters_ = 0;
    enabled_ = false;
    identity_.forget();
    return okStatus();
}
