#include "broker/arena.h"

#include "broker/runtime_state.h"

namespace cimbroker {
namespace {

thread_local ScopeFrame* tNewestScope = nullptr;

}  // namespace

Arena::~Arena() {
    releaseAll();
}

size_t Arena::size() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return objects_.size() + texts_.size();
}

void Arena::releaseAll() {
    std::vector<std::unique_ptr<Object>> doomed;
    std::vector<SharedString> dropped;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        doomed.swap(objects_);
        dropped.swap(texts_);
    }
    while (!doomed.empty()) {
        doomed.pop_back();
    }
}

void Arena::keep(std::unique_ptr<Object> object) {
    std::lock_guard<std::mutex> lock(mutex_);
    objects_.push_back(std::move(object));
}

void Arena::hold(SharedString text) {
    std::lock_guard<std::mutex> lock(mutex_);
    texts_.push_back(std::move(text));
}

void enterScope(ScopeFrame& frame) {
    frame.previous = tNewestScope;
    tNewestScope = &frame;
}

void leaveScope(ScopeFrame& frame) {
    if (tNewestScope == &frame) {
        tNewestScope = frame.previous;
    }
}

Arena& arenaFor(RuntimeState& runtime) {
    for (ScopeFrame* frame = tNewestScope; frame != nullptr; frame = frame->previous) {
        if (frame->runtime == &runtime) {
            return *frame->arena;
        }
    }
    return runtime.fallback;
}

}  // namespace cimbroker
