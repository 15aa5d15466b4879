// One keep-alive HTTP/1.1 connection to a server on 127.0.0.1, for the load tools: sends a
// request and reads one whole answer (Content-Length framed, as the daemon sends them).
// Reconnects when the server closed the connection. Not thread-safe: one per thread.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace cimpload {

struct HttpAnswer {
    int status = 0;
    std::string body;
};

class HttpConnection {
  public:
    explicit HttpConnection(int port);
    ~HttpConnection();
    HttpConnection(const HttpConnection&) = delete;
    HttpConnection& operator=(const HttpConnection&) = delete;

    // The answer to `request` (complete wire bytes), or nothing when the exchange failed.
    std::optional<HttpAnswer> exchange(const std::string& request);

  private:
    bool connectIfClosed();
    void close();
    bool sendAll(const std::string& bytes);
    std::optional<HttpAnswer> readAnswer();
    bool fill();

    int port_;
    int fd_ = -1;
    std::string pending_;  // bytes read beyond the previous answer
};

}  // namespace cimpload
