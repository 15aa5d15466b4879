// Where the simulated services report events to the live captures (see sim_capture.h).
//
// active() is the cheap check a service makes before building an event; the record functions
// deliver to every live capture. Thread-safe.
#ifndef CIMP_PLATFORM_SIM_CAPTURE_HUB_H
#define CIMP_PLATFORM_SIM_CAPTURE_HUB_H

#include <string>

#include "platform/sim/sim_capture.h"

namespace cimpsim {

class CaptureHub {
  public:
    static bool active();
    static void recordTrace(const TraceRecord& record);
    static void recordErrl(const ErrlEvent& event);
    static void recordCall(const std::string& call);

    static void attach(Capture* capture);
    static void detach(Capture* capture);

  private:
    template <typename T>
    static void deliver(std::vector<T> Capture::*field, const T& value);
};

}  // namespace cimpsim

#endif
