#include "platform/sim/thread_roots.h"

#include <algorithm>
#include <mutex>
#include <utility>

namespace cimpsim {

// The calling thread's root; given back when the thread ends.
struct ThreadRoots::Lease {
    ThreadRoots* roots = nullptr;
    Owned owned;

    ~Lease() {
        if (owned.root != nullptr) {
            roots->giveBack(std::move(owned));
        }
    }
};

std::shared_ptr<const Directory> ThreadRoots::directory(const std::string& path, bool create) {
    thread_local Lease lease;
    if (lease.owned.root != nullptr) {
        if (lease.owned.path != path) {
            giveBack(std::move(lease.owned));
        } else if (lease.owned.root->stillCurrent()) {
            return lease.owned.root;
        } else {
            drop();
        }
        lease.owned = {};
    }
    Root root = adopt(path);
    if (root == nullptr) {
        root = openOwned(path, create);
    }
    if (root == nullptr) {
        return shared(path, create);
    }
    if (!root->valid()) {
        drop();  // nothing to watch or remember: not worth a place
        return root;
    }
    root->listenOnCallingThread();
    lease.roots = this;
    lease.owned = {path, root};
    return root;
}

// A kept root for `path` that still names it; the others go.
ThreadRoots::Root ThreadRoots::adopt(const std::string& path) {
    for (;;) {
        Owned kept;
        {
            std::lock_guard<AdaptiveMutex> lock(mutex_);
            auto found = std::find_if(idle_.begin(), idle_.end(),
                                      [&](const Owned& o) { return o.path == path; });
            if (found == idle_.end()) {
                return nullptr;
            }
            kept = std::move(*found);
            idle_.erase(found);
        }
        if (kept.root->stillCurrent()) {
            return kept.root;
        }
        drop();
    }
}

// A new root of the thread's own, or null when kMaxOwnedRoots are held by threads. A kept root
// (of another path: adopt() found none of this one) makes way.
ThreadRoots::Root ThreadRoots::openOwned(const std::string& path, bool create) {
    Owned evicted;  // closed after the lock is let go
    {
        std::lock_guard<AdaptiveMutex> lock(mutex_);
        if (owned_ >= kMaxOwnedRoots) {
            if (idle_.empty()) {
                return nullptr;
            }
            evicted = std::move(idle_.front());
            idle_.erase(idle_.begin());
        } else {
            ++owned_;
        }
    }
    return WatchedDirectory::open(path, create);
}

void ThreadRoots::giveBack(Owned owned) {
    std::lock_guard<AdaptiveMutex> lock(mutex_);
    idle_.push_back(std::move(owned));
}

void ThreadRoots::drop() {
    std::lock_guard<AdaptiveMutex> lock(mutex_);
    --owned_;
}

ThreadRoots::Root ThreadRoots::shared(const std::string& path, bool create) {
    Root current;
    {
        std::lock_guard<AdaptiveMutex> lock(mutex_);
        if (shared_.path == path) {
            current = shared_.root;
        }
    }
    if (current != nullptr && current->stillCurrent()) {
        return current;
    }
    Root opened = WatchedDirectory::open(path, create);
    if (opened->valid()) {
        std::lock_guard<AdaptiveMutex> lock(mutex_);
        shared_ = {path, opened};
    }
    return opened;
}

}  // namespace cimpsim
