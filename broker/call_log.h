// The sequence of broker and object services called, for tests that check call orders ("a failed
// build calls no returnDone"). Names are those of FaultPlan: "newInstance", "setProperty:Name",
// "addKey:Name", "returnDone", ...; the broker's own up-calls setProperty and getProperty are
// logged as "brokerSetProperty" and "brokerGetProperty". Off until enabled, so a host pays one
// relaxed atomic load per call. Thread-safe; calls from several threads interleave.
#pragma once

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

namespace cimbroker {

class CallLog {
  public:
    void enable(bool on) { enabled_.store(on, std::memory_order_relaxed); }
    bool enabled() const { return enabled_.load(std::memory_order_relaxed); }

    std::vector<std::string> names() const;
    void clear();

    // Calls logged under `name`, compared without regard to letter case. A name without a
    // qualifier also counts its qualified forms: "setProperty" counts "setProperty:Name".
    size_t count(const std::string& name) const;

    void record(std::string name);

  private:
    std::atomic<bool> enabled_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> names_;
};

}  // namespace cimbroker
