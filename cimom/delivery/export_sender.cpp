#include "cimom/delivery/export_sender.h"

#include <curl/curl.h>

#include <mutex>

#include "base/text.h"
#include "base/text_case.h"
#include "cimom/wire/export_request.h"

namespace cimhost {

// What a listener answered: its CIMExport header and its body.
struct ExportAnswer {
    std::string cimExport;
    std::string body;
};

namespace {

// A listener's answer is a short acknowledgement; more is not read.
constexpr std::size_t kMaxAnswerBytes = 64 * 1024;
constexpr int kPollMillis = 1000;

void initCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* user) {
    const std::string_view line(data, size * count);
    const std::size_t colon = line.find(':');
    if (colon != std::string_view::npos &&
        cimp::equalsIgnoreCase(line.substr(0, colon), "CIMExport")) {
        static_cast<ExportAnswer*>(user)->cimExport = cimp::trimmed(line.substr(colon + 1));
    }
    return size * count;
}

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* user) {
    std::string& body = static_cast<ExportAnswer*>(user)->body;
    if (body.size() + size * count > kMaxAnswerBytes) {
        return 0;  // ends the transfer with CURLE_WRITE_ERROR
    }
    body.append(data, size * count);
    return size * count;
}

curl_slist* exportHeaders() {
    curl_slist* list = curl_slist_append(nullptr, "Expect:");  // no 100-continue round trip
    for (const ExportHeader& header : kExportRequestHeaders) {
        list = curl_slist_append(list, (std::string(header.name) + ": " + header.value).c_str());
    }
    return list;
}

}  // namespace

struct ExportSender::Handles {
    CURLM* multi = nullptr;
    CURL* easy = nullptr;
    curl_slist* headers = nullptr;
    ExportAnswer answer;

    ~Handles() {
        curl_easy_cleanup(easy);
        curl_multi_cleanup(multi);
        curl_slist_free_all(headers);
    }
};

ExportSender::ExportSender(const DeliverySettings& settings) : handles_(new Handles) {
    initCurlOnce();
    Handles& h = *handles_;
    h.multi = curl_multi_init();
    h.easy = curl_easy_init();
    h.headers = exportHeaders();
    curl_multi_setopt(h.multi, CURLMOPT_MAXCONNECTS, 1L);
    CURL* easy = h.easy;
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(easy, CURLOPT_PROXY, "");  // directly, whatever http_proxy says
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, h.headers);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS,
                     static_cast<long>(settings.connectTimeout.count()));
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS,
                     static_cast<long>((settings.connectTimeout + settings.sendTimeout).count()));
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, settings.verifyPeer ? 1L : 0L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, settings.verifyPeer ? 2L : 0L);
    if (!settings.caFile.empty()) {
        curl_easy_setopt(easy, CURLOPT_CAINFO, settings.caFile.c_str());
    }
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, &h.answer);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, onBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &h.answer);
}

ExportSender::~ExportSender() = default;

cimp::Outcome ExportSender::post(const std::string& url, const std::string& body) {
    Handles& h = *handles_;
    h.answer = ExportAnswer();
    curl_easy_setopt(h.easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(h.easy, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(h.easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_multi_add_handle(h.multi, h.easy);
    int running = 1;
    while (running != 0 && !interrupted_.load()) {
        curl_multi_perform(h.multi, &running);
        if (running != 0) {
            curl_multi_poll(h.multi, nullptr, 0, kPollMillis, nullptr);
        }
    }
    int pending = 0;
    const CURLMsg* message = curl_multi_info_read(h.multi, &pending);
    const CURLcode result = message != nullptr ? message->data.result : CURLE_ABORTED_BY_CALLBACK;
    long status = 0;
    curl_easy_getinfo(h.easy, CURLINFO_RESPONSE_CODE, &status);
    curl_multi_remove_handle(h.multi, h.easy);
    if (result != CURLE_OK) {
        return cimp::Outcome::failed(url,
                                     interrupted_.load() ? "stopped" : curl_easy_strerror(result));
    }
    if (!exportAccepted(status, h.answer.cimExport, h.answer.body)) {
        return cimp::Outcome::failed(url, "refused (HTTP " + std::to_string(status) + ")");
    }
    return cimp::Outcome::success();
}

void ExportSender::interrupt() {
    interrupted_.store(true);
    curl_multi_wakeup(handles_->multi);
}

}  // namespace cimhost
