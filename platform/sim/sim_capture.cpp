#include "platform/sim/sim_capture.h"

#include "platform/sim/capture_hub.h"

namespace cimpsim {

Capture::Capture() {
    CaptureHub::attach(this);
}

Capture::~Capture() {
    CaptureHub::detach(this);
}

std::vector<TraceRecord> Capture::traces() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return traces_;
}

std::vector<ErrlEvent> Capture::errl() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return errl_;
}

std::vector<std::string> Capture::calls() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return calls_;
}

void Capture::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    traces_.clear();
    errl_.clear();
    calls_.clear();
}

}  // namespace cimpsim
