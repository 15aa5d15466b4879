#include "broker/arena.h"

#include "broker/runtime_state.h"

namespace cimbroker {
namespace {

thread_local ScopeFrame* tNewestScope = nullptr;

// A request makes a few dozen objects; one allocation holds their entries.
constexpr size_t kTypicalObjects = 32;

}  // namespace

Arena::~Arena() {
    releaseAll();
}

std::unique_lock<std::mutex> Arena::guard() const {
    return locking_ ? std::unique_lock<std::mutex>(mutex_) : std::unique_lock<std::mutex>();
}

size_t Arena::size() const {
    const auto lock = guard();
    return objects_.size() + texts_.size();
}

void Arena::releaseAll() {
    std::vector<std::unique_ptr<Object>> doomed;
    std::vector<SharedString> dropped;
    std::vector<SharedString> reusable;
    {
        const auto lock = guard();
        doomed.swap(objects_);
        dropped.swap(texts_);
        reusable.swap(reusable_);
    }
    while (!doomed.empty()) {
        Object::leaveArena(std::move(doomed.back()));
        doomed.pop_back();
    }
}

void Arena::keep(std::unique_ptr<Object> object) {
    const auto lock = guard();
    if (objects_.capacity() == 0) {
        objects_.reserve(kTypicalObjects);
    }
    object->enterArena();
    objects_.push_back(std::move(object));
}

void Arena::hold(SharedString text) {
    const auto lock = guard();
    texts_.push_back(std::move(text));
}

SharedString Arena::textOf(RuntimeState& runtime, std::string_view text) {
    const auto lock = guard();
    for (const SharedString& reused : reusable_) {
        if (reused->text() == text) {
            return reused;
        }
    }
    SharedString made = SharedString::make(runtime, text);
    if (reusable_.size() < kMaxReusedTexts) {
        if (reusable_.capacity() == 0) {
            reusable_.reserve(kMaxReusedTexts);
        }
        reusable_.push_back(made);
    }
    return made;
}

void enterScope(ScopeFrame& frame) {
    frame.previous = tNewestScope;
    tNewestScope = &frame;
}

void leaveScope(ScopeFrame& frame) {
    for (ScopeFrame** link = &tNewestScope; *link != nullptr; link = &(*link)->previous) {
        if (*link == &frame) {
            *link = frame.previous;
            return;
        }
    }
}

StringObject& makeStringInArena(RuntimeState& runtime, std::string_view text) {
    return arenaFor(runtime).adopt(StringObject::make(runtime, text));
}

SharedString sharedText(RuntimeState& runtime, std::string_view text) {
    return arenaFor(runtime).textOf(runtime, text);
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
