#include "platform/sim/change_watch.h"

#include <sys/inotify.h>

#include <algorithm>

namespace cimpsim {

namespace {

// Every way an entry or a file's content can change; IN_ONLYDIR and IN_DONT_FOLLOW make the
// watch refuse anything but a real folder.
constexpr uint32_t kEntryChanges = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr uint32_t kEveryChange =
    kEntryChanges | IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_DELETE_SELF | IN_MOVE_SELF;
constexpr uint32_t kFolderOnly = IN_ONLYDIR | IN_DONT_FOLLOW | IN_MASK_ADD;

}  // namespace

ChangeWatch::ChangeWatch() : queue_(Fd::fromResult(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))) {}

int ChangeWatch::add(const std::string& path, uint32_t mask, Watched*& watched) {
    const int wd = inotify_add_watch(queue_.get(), path.c_str(), mask | kFolderOnly);
    if (wd < 0) {
        return errno;
    }
    auto found = folders_.find(wd);
    if (found == folders_.end() && folders_.size() >= kMaxFolders) {
        inotify_rm_watch(queue_.get(), wd);
        return ENOSPC;
    }
    watched = &folders_[wd];
    return 0;
}

int ChangeWatch::watchFolder(const std::string& path) {
    Watched* watched = nullptr;
    const int error = add(path, kEveryChange, watched);
    if (error == 0) {
        watched->everyEntry = true;
    }
    return error;
}

int ChangeWatch::watchEntry(const std::string& path, const std::string& name) {
    Watched* watched = nullptr;
    const int error = add(path, kEntryChanges, watched);
    if (error == 0 && std::find(watched->entries.begin(), watched->entries.end(), name) ==
                          watched->entries.end()) {
        watched->entries.push_back(name);
    }
    return error;
}

Change ChangeWatch::changeOf(uint32_t mask, int wd, const char* name) {
    if ((mask & (IN_Q_OVERFLOW | IN_UNMOUNT)) != 0) {
        return Change::Path;
    }
    auto found = folders_.find(wd);
    if (found == folders_.end()) {
        return Change::None;
    }
    const Watched& watched = found->second;
    if ((mask & IN_MOVE_SELF) != 0 && watched.everyEntry) {
        // A folder moved away no longer lies on the way to any file read; dropping its watch
        // keeps folders swapped in and out from piling up watches (IN_IGNORED follows).
        inotify_rm_watch(queue_.get(), wd);
    }
    const bool entryChanged =
        std::find(watched.entries.begin(), watched.entries.end(), name) != watched.entries.end();
    const Change change = entryChanged         ? Change::Path
                          : watched.everyEntry ? Change::Beneath
                                               : Change::None;
    if ((mask & IN_IGNORED) != 0) {
        // The folder is gone; a later read watches whatever takes its place, but a folder on
        // the way to the root cannot be replaced behind our back.
        const Change gone = watched.entries.empty() ? Change::Beneath : Change::Path;
        folders_.erase(found);
        return std::max(change, gone);
    }
    return change;
}

Change ChangeWatch::drain() {
    if (!queue_.valid()) {
        return Change::Path;
    }
    Change change = Change::None;
    alignas(inotify_event) char notices[4096];
    for (;;) {
        const ssize_t got = read(queue_.get(), notices, sizeof notices);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return got < 0 && errno == EAGAIN ? change : Change::Path;
        }
        for (ssize_t at = 0; at < got;) {
            const auto* notice = reinterpret_cast<const inotify_event*>(notices + at);
            const char* name = notice->len > 0 ? notice->name : "";
            change = std::max(change, changeOf(notice->mask, notice->wd, name));
            at += static_cast<ssize_t>(sizeof(inotify_event) + notice->len);
        }
    }
}

}  // namespace cimpsim
