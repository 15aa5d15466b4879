// What the simulated platform was asked and what it wrote, seen from a test in the same process.
//
// While a Capture lives it is the platform's Env (platform/sim/env.h): it passes everything on to
// the system's and notes each service call, by the `.fail` file every call looks for first, and
// each error-log line the platform appends. Traces are read back from the process's ring of the
// provider's buffer. Captures nest, the outer one seeing what the inner one sees. Create
// and destroy one while no other thread calls the platform.
#ifndef CIMP_TESTS_SUPPORT_PLATFORM_CAPTURE_H
#define CIMP_TESTS_SUPPORT_PLATFORM_CAPTURE_H

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/sim/scoped_env.h"
#include "platform/trace.h"

namespace cimptest {

struct TraceRecord {
    uint32_t formatId;
    std::string argTypes;
    uint32_t line;
    int32_t type;
    // %X as upper-case hexadecimal without "0x", %d as decimal, %s as the text kept or "(null)".
    std::vector<std::string> args;
};

// A committed error-log entry, as its log line tells it.
struct ErrlRecord {
    uint32_t rc;
    uint16_t first;
    uint16_t second;
    std::string origin;  // "<service> <key>", e.g. "UtilReg::read svpd/Raw_MachineSerialNumber"
};

// The entries of this process's trace buffer `td`, oldest first, from logical offset `from` on.
std::vector<TraceRecord> traceRecords(trace_desc_t td, uint64_t from = 0);

class Capture : public cimpsim::Env {
  public:
    // Captures traces of the provider's buffer "CIMP" (opened with 4096 bytes when it is new).
    Capture();
    ~Capture() override = default;

    std::vector<TraceRecord> traces() const;
    std::vector<ErrlRecord> errl() const;
    // "UtilReg::read <key>", "draxQueryDraManagedInfo", "rmgrIsRedPolicyEnabled".
    std::vector<std::string> calls() const;
    void clear();

    std::optional<std::string> variable(const char* name) const override;
    uint64_t nowNanos() const override;
    std::shared_ptr<const cimpsim::Directory> directory(const std::string& path,
                                                        bool create) const override;

  private:
    class Recording;
    void noteRead(const std::string& relative) const;
    void noteLine(const std::string& line) const;

    cimpsim::Env& next_;  // the Env that was in use: everything is passed on to it
    trace_desc_t td_ = TRACE_DESC_INVALID;
    mutable std::mutex mutex_;
    uint64_t traceStart_ = 0;                 // guarded by mutex_
    mutable std::vector<ErrlRecord> errl_;    // guarded by mutex_
    mutable std::vector<std::string> calls_;  // guarded by mutex_
    cimpsim::ScopedEnv scoped_{*this};        // last: installed once the rest is ready
};

}  // namespace cimptest

#endif
