#include "tests/load/http_connection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <strings.h>
#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace cimpload {
namespace {

// Larger answers than this mean the server misbehaves; a load tool does not wait for them.
constexpr std::size_t kMaxAnswerBytes = 16u << 20;

// The value of header `name` (lower case, with its colon) in `head`, or nothing.
std::optional<std::string> header(const std::string& head, const std::string& name) {
    for (std::size_t at = head.find("\r\n"); at != std::string::npos;
         at = head.find("\r\n", at + 2)) {
        if (strncasecmp(head.c_str() + at + 2, name.c_str(), name.size()) == 0) {
            const std::size_t value =
                std::min(head.find_first_not_of(' ', at + 2 + name.size()), head.size());
            return head.substr(value, head.find("\r\n", at + 2) - value);
        }
    }
    return std::nullopt;
}

}  // namespace

HttpConnection::HttpConnection(int port) : port_(port) {}

HttpConnection::~HttpConnection() {
    close();
}

std::optional<HttpAnswer> HttpConnection::exchange(const std::string& request) {
    if (!connectIfClosed() || !sendAll(request)) {
        close();
        return std::nullopt;
    }
    std::optional<HttpAnswer> answer = readAnswer();
    if (!answer) {
        close();
    }
    return answer;
}

bool HttpConnection::connectIfClosed() {
    if (fd_ >= 0) {
        return true;
    }
    fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd_ < 0) {
        return false;
    }
    const int on = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port_));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    pending_.clear();
    return ::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

void HttpConnection::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

bool HttpConnection::sendAll(const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

bool HttpConnection::fill() {
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0 || pending_.size() + static_cast<std::size_t>(n) > kMaxAnswerBytes) {
            return false;
        }
        pending_.append(buffer, static_cast<std::size_t>(n));
        return true;
    }
}

std::optional<HttpAnswer> HttpConnection::readAnswer() {
    std::size_t headEnd;
    while ((headEnd = pending_.find("\r\n\r\n")) == std::string::npos) {
        if (!fill()) {
            return std::nullopt;
        }
    }
    const std::string head = pending_.substr(0, headEnd);
    const std::optional<std::string> lengthText = header(head, "content-length:");
    const unsigned long long length =
        lengthText ? std::strtoull(lengthText->c_str(), nullptr, 10) : 0;
    if (!lengthText || length > kMaxAnswerBytes || head.compare(0, 9, "HTTP/1.1 ") != 0) {
        return std::nullopt;
    }
    const std::size_t bodyStart = headEnd + 4;
    while (pending_.size() < bodyStart + length) {
        if (!fill()) {
            return std::nullopt;
        }
    }
    HttpAnswer answer;
    answer.status = std::atoi(head.c_str() + 9);
    answer.body = pending_.substr(bodyStart, length);
    pending_.erase(0, bodyStart + length);
    if (header(head, "connection:").value_or("").compare(0, 5, "close") == 0) {
        close();
    }
    return answer;
}

}  // namespace cimpload
