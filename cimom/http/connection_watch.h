// ConnectionWatch: a deadline for every open connection to finish receiving its request, kept
// by a thread of its own that cuts off (shutdown) the sockets that miss it.
//
// The HTTP library's own timeout only measures silence, so a client sending one byte a second
// would hold its connection for ever. Here a new connection must deliver its whole first request
// (headers and body) within `request` seconds; once a request is answered, the next one must
// start and arrive within `idle + request`; a request line that arrives narrows that to
// `request`. While a request is being served no deadline runs. shutdown() rather than close()
// leaves the descriptor to the library, which sees the end of the stream and cleans up as for
// any client that went away.
//
// Thread-safe; opened()/closed() and the transitions may come from any worker thread.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <unordered_set>

namespace cimhost {

class ConnectionWatch {
  public:
    struct Connection;

    ConnectionWatch(std::chrono::seconds request, std::chrono::seconds idle);
    ~ConnectionWatch();
    ConnectionWatch(const ConnectionWatch&) = delete;
    ConnectionWatch& operator=(const ConnectionWatch&) = delete;

    Connection* opened(int socket);
    // The library must call this before it closes the socket.
    void closed(Connection* connection);

    void requestLineArrived(Connection* connection);
    void serving(Connection* connection);
    void answered(Connection* connection);

  private:
    void run();
    void cutOverdue();

    const std::chrono::milliseconds request_;
    const std::chrono::milliseconds idle_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::unordered_set<Connection*> open_;
    std::thread reaper_;
};

}  // namespace cimhost
