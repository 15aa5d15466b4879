// In-process capture of what the simulated platform sees, for tests.
//
// While a Capture is alive it records, in order, every trace entry accepted on an open
// descriptor, every error-log event (an entry created by the simulated platform, committed, or
// destroyed) and every platform call. Several captures may be alive at once; each records
// everything. All members are thread-safe. With no capture alive the platform pays one atomic
// load per event.
#ifndef CIMP_PLATFORM_SIM_SIM_CAPTURE_H
#define CIMP_PLATFORM_SIM_SIM_CAPTURE_H

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

class ErrlEntry;

namespace cimpsim {

struct TraceRecord {
    uint32_t formatId;
    std::string argTypes;
    uint32_t line;
    int32_t type;
    // %X as upper-case hexadecimal without "0x", %d as decimal, %s as the text (cut to the same
    // bound as the trace buffer keeps) or "(null)".
    std::vector<std::string> args;
};

struct ErrlEvent {
    enum class Kind { Created, Committed, Deleted };
    Kind kind;
    // Identifies the entry; may dangle after its Deleted event, so compare, never dereference.
    const ErrlEntry* entry;
    uint32_t rc;
    // The two values given to commit; zero for the other kinds.
    uint16_t first;
    uint16_t second;
    // "<service> <key>" of the simulated call that created the entry, e.g.
    // "UtilReg::read svpd/Raw_MachineSerialNumber", on Created and Committed; empty on Deleted
    // (reported by the base destructor) and for entries made elsewhere.
    std::string origin;
};

class Capture {
  public:
    Capture();
    ~Capture();
    Capture(const Capture&) = delete;
    Capture& operator=(const Capture&) = delete;

    std::vector<TraceRecord> traces() const;
    std::vector<ErrlEvent> errl() const;
    // "UtilReg::read <key>", "draxQueryDraManagedInfo", "rmgrIsRedPolicyEnabled".
    std::vector<std::string> calls() const;
    void clear();

  private:
    friend class CaptureHub;

    mutable std::mutex mutex_;
    std::vector<TraceRecord> traces_;
    std::vector<ErrlEvent> errl_;
    std::vector<std::string> calls_;
};

}  // namespace cimpsim

#endif
