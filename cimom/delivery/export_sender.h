// ExportSender: one HTTP(S) connection slot that posts export requests with libcurl and judges
// the listener's answer. It keeps its connection open between posts, so consecutive posts to
// one destination reuse it; a post to another destination replaces it (one connection per
// sender at most). A post lasts at most the connect timeout plus the send timeout, or until
// interrupt(). One thread posts; interrupt() may come from any thread.
#pragma once

#include <atomic>
#include <string>

#include "base/outcome.h"
#include "cimom/delivery/delivery_service.h"

namespace cimhost {

class ExportSender {
  public:
    explicit ExportSender(const DeliverySettings& settings);
    ~ExportSender();
    ExportSender(const ExportSender&) = delete;
    ExportSender& operator=(const ExportSender&) = delete;

    // Posts `body` to `url` as an ExportIndication request. Failed, naming why (unreachable,
    // timed out, an HTTP status, a refusal in the answer), unless the listener accepted it.
    cimp::Outcome post(const std::string& url, const std::string& body);

    // Ends the post under way, and every later one, at once.
    void interrupt();
    bool interrupted() const { return interrupted_.load(); }

  private:
    struct Handles;
    std::unique_ptr<Handles> handles_;
    std::atomic<bool> interrupted_{false};
};

}  // namespace cimhost
