// Arenas own the objects the broker makes. A RequestScope owns one arena and makes it current on
// its thread; the runtime keeps a fallback arena for objects made outside any scope. Arenas free
// their objects newest first when released (an object lent to a Result goes to that Result), then
// drop the shared strings they hold. A scope's arena is used only by the thread that made the
// scope, so it takes no lock; the runtime's fallback arena is shared by threads and locks.
//
// An arena also lends out the texts a request repeats (namespaces, class names, key and property
// names, string values): textOf answers the string made earlier in the same arena for the same
// text, so each is made once per request. At most kMaxReusedTexts are kept for reuse; later ones
// are made anew.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <string_view>
#include <utility>
#include <vector>

#include "broker/object_model.h"
#include "broker/shared_string.h"

namespace cimbroker {

class Arena {
  public:
    enum class Users { OneThread, AnyThread };
    explicit Arena(Users users) : locking_(users == Users::AnyThread) {}
    ~Arena();
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;

    template <typename T>
    T& adopt(std::unique_ptr<T> object) {
        T& kept = *object;
        keep(std::move(object));
        return kept;
    }
    // Holds a shared string until the arena is released: one retired from a value or a name.
    void hold(SharedString text);
    SharedString textOf(RuntimeState& runtime, std::string_view text);
    // Objects and strings held, not counting the texts kept for reuse.
    size_t size() const;
    void releaseAll();

    static constexpr size_t kMaxReusedTexts = 64;

  private:
    void keep(std::unique_ptr<Object> object);
    // Holds the mutex when threads share the arena; nothing otherwise.
    std::unique_lock<std::mutex> guard() const;

    const bool locking_;
    mutable std::mutex mutex_;
    std::vector<std::unique_ptr<Object>> objects_;
    std::vector<SharedString> texts_;
    std::vector<SharedString> reusable_;
};

// A scope's entry in its thread's stack of current arenas.
struct ScopeFrame {
    RuntimeState* runtime;
    Arena* arena;
    ScopeFrame* previous;
};
void enterScope(ScopeFrame& frame);
// Takes `frame` out of this thread's stack wherever it is (a provider thread may detach while a
// newer scope is open); changes nothing when it is not there.
void leaveScope(ScopeFrame& frame);

// Where objects of `runtime` made now on this thread belong: the newest scope of that runtime on
// this thread, else the runtime's fallback arena.
Arena& arenaFor(RuntimeState& runtime);

// A new string of `text` owned by the arena of `runtime` current on this thread.
StringObject& makeStringInArena(RuntimeState& runtime, std::string_view text);
// A shared string of `text` from the arena of `runtime` current on this thread.
SharedString sharedText(RuntimeState& runtime, std::string_view text);

template <typename T, typename... Args>
T& makeInArena(RuntimeState& runtime, Args&&... args) {
    return arenaFor(runtime).adopt(std::make_unique<T>(runtime, std::forward<Args>(args)...));
}

}  // namespace cimbroker
