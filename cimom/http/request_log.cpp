#include "cimom/http/request_log.h"

#include <ostream>

namespace cimhost {
namespace {

constexpr std::size_t kWriteOutSize = 8192;

void appendEscaped(std::string& out, const std::string& text) {
    static const char kHex[] = "0123456789abcdef";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\\') {
            out += "\\\\";
        } else if (byte >= 0x20 && byte < 0x7f) {
            out += c;
        } else {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xf];
        }
    }
}

}  // namespace

RequestLog::RequestLog(std::ostream& out, bool quiet)
    : out_(out), quiet_(quiet), lastWriteOut_(std::chrono::steady_clock::now() - kFlushInterval) {}

RequestLog::~RequestLog() {
    flush();
}

void RequestLog::write(const std::string& line) {
    if (!quiet_) {
        event(line);
    }
}

void RequestLog::flush() {
    std::lock_guard<std::mutex> lock(mutex_);
    writeOut();
}

void RequestLog::event(const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    buffer_ += "cimp-cimom: ";
    appendEscaped(buffer_, line);
    buffer_ += '\n';
    if (buffer_.size() >= kWriteOutSize ||
        std::chrono::steady_clock::now() - lastWriteOut_ >= kFlushInterval) {
        writeOut();
    }
}

void RequestLog::writeOut() {
    lastWriteOut_ = std::chrono::steady_clock::now();
    if (buffer_.empty()) {
        return;
    }
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    out_.flush();
    buffer_.clear();
}

}  // namespace cimhost
