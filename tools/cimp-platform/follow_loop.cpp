#include "tools/cimp-platform/follow_loop.h"

#include <signal.h>

#include <chrono>
#include <csignal>
#include <thread>

namespace cimpcli {

namespace {

volatile std::sig_atomic_t g_stopRequested = 0;

extern "C" void requestStop(int) {
    g_stopRequested = 1;
}

}  // namespace

cimp::Outcome followUntilStopped(std::ostream& out, const std::function<cimp::Outcome()>& poll) {
    struct sigaction action = {};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    while (g_stopRequested == 0) {
        cimp::Outcome status = poll();
        out.flush();
        if (!status.ok() || !out) {
            return status;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    return cimp::Outcome::success();
}

}  // namespace cimpcli
