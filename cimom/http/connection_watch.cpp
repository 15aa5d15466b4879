#include "cimom/http/connection_watch.h"

#include <sys/socket.h>

#include <limits>

namespace cimhost {
namespace {

using Clock = std::chrono::steady_clock;

// How often overdue connections are looked for: the precision of every deadline.
constexpr std::chrono::milliseconds kScanInterval{250};
constexpr std::int64_t kNoDeadline = std::numeric_limits<std::int64_t>::max();

std::int64_t nowMillis() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now().time_since_epoch())
        .count();
}

}  // namespace

struct ConnectionWatch::Connection {
    int socket;
    std::atomic<std::int64_t> deadline;
    bool cut = false;  // guarded by the watch's mutex
};

ConnectionWatch::ConnectionWatch(std::chrono::seconds request, std::chrono::seconds idle)
    : request_(request), idle_(idle), reaper_([this] { run(); }) {}

ConnectionWatch::~ConnectionWatch() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    reaper_.join();
    for (Connection* connection : open_) {
        delete connection;
    }
}

ConnectionWatch::Connection* ConnectionWatch::opened(int socket) {
    auto* connection = new Connection{socket, {nowMillis() + request_.count()}};
    std::lock_guard<std::mutex> lock(mutex_);
    open_.insert(connection);
    return connection;
}

void ConnectionWatch::closed(Connection* connection) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        open_.erase(connection);
    }
    delete connection;
}

void ConnectionWatch::requestLineArrived(Connection* connection) {
    const std::int64_t limit = nowMillis() + request_.count();
    if (connection->deadline.load(std::memory_order_relaxed) > limit) {
        connection->deadline.store(limit, std::memory_order_relaxed);
    }
}

void ConnectionWatch::serving(Connection* connection) {
    connection->deadline.store(kNoDeadline, std::memory_order_relaxed);
}

void ConnectionWatch::answered(Connection* connection) {
    connection->deadline.store(nowMillis() + idle_.count() + request_.count(),
                               std::memory_order_relaxed);
}

void ConnectionWatch::run() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!wake_.wait_for(lock, kScanInterval, [this] { return stopping_; })) {
        cutOverdue();
    }
}

void ConnectionWatch::cutOverdue() {
    const std::int64_t now = nowMillis();
    for (Connection* connection : open_) {
        if (!connection->cut && connection->deadline.load(std::memory_order_relaxed) <= now) {
            // The socket is still open: closed() cannot run while the mutex is held.
            shutdown(connection->socket, SHUT_RDWR);
            connection->cut = true;
        }
    }
}

}  // namespace cimhost
