#include "platform/sim/capture_hub.h"

#include <algorithm>
#include <atomic>

namespace cimpsim {

namespace {

std::atomic<int> g_liveCaptures{0};

// Function-local so that captures in static objects of other libraries find it constructed.
struct CaptureList {
    std::mutex mutex;
    std::vector<Capture*> captures;
};

CaptureList& captureList() {
    static CaptureList list;
    return list;
}

}  // namespace

bool CaptureHub::active() {
    return g_liveCaptures.load(std::memory_order_acquire) != 0;
}

template <typename T>
void CaptureHub::deliver(std::vector<T> Capture::*field, const T& value) {
    CaptureList& list = captureList();
    std::lock_guard<std::mutex> lock(list.mutex);
    for (Capture* capture : list.captures) {
        std::lock_guard<std::mutex> own(capture->mutex_);
        (capture->*field).push_back(value);
    }
}

void CaptureHub::recordTrace(const TraceRecord& record) {
    deliver(&Capture::traces_, record);
}

void CaptureHub::recordErrl(const ErrlEvent& event) {
    deliver(&Capture::errl_, event);
}

void CaptureHub::recordCall(const std::string& call) {
    deliver(&Capture::calls_, call);
}

void CaptureHub::attach(Capture* capture) {
    CaptureList& list = captureList();
    std::lock_guard<std::mutex> lock(list.mutex);
    list.captures.push_back(capture);
    g_liveCaptures.fetch_add(1, std::memory_order_release);
}

void CaptureHub::detach(Capture* capture) {
    CaptureList& list = captureList();
    std::lock_guard<std::mutex> lock(list.mutex);
    list.captures.erase(std::remove(list.captures.begin(), list.captures.end(), capture),
                        list.captures.end());
    g_liveCaptures.fetch_sub(1, std::memory_order_release);
}

}  // namespace cimpsim
