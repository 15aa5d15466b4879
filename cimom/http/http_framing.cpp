#include "cimom/http/http_framing.h"

#include "base/text.h"
#include "base/text_case.h"

namespace cimhost {
namespace {

using cimp::equalsIgnoreCase;
using cimp::trimmed;

// The declaration, if any, sits in the first bytes; a longer one is no declaration we accept.
constexpr std::size_t kDeclarationWindow = 256;

bool startsWith(const std::string& text, const char* prefix, std::size_t at = 0) {
    return text.compare(at, std::char_traits<char>::length(prefix), prefix) == 0;
}

// The encoding an XML declaration at `at` names; empty when none is named.
std::string declaredEncoding(const std::string& body, std::size_t at) {
    const std::string head = body.substr(at, kDeclarationWindow);
    const std::size_t end = head.find("?>");
    const std::size_t name = head.substr(0, end).find("encoding");
    if (name == std::string::npos) {
        return "";
    }
    const std::size_t quote = head.find_first_of("\"'", name);
    if (quote == std::string::npos || quote > end) {
        return "?";
    }
    const std::size_t close = head.find(head[quote], quote + 1);
    if (close == std::string::npos || close > end) {
        return "?";
    }
    return head.substr(quote + 1, close - quote - 1);
}

}  // namespace

HttpResponse Refusal::response() const {
    HttpResponse response;
    response.status = status;
    if (!cimError.empty()) {
        response.headers.emplace_back("CIMError", cimError);
    }
    return response;
}

std::string Refusal::logLine(const HttpRequest& request) const {
    return httpLogLine(request, status, cimError.empty() ? why : cimError + ": " + why);
}

std::optional<Refusal> refuseHeaders(const HttpRequest& request) {
    const std::string* length = nullptr;
    for (const auto& header : request.headers) {
        if (!equalsIgnoreCase(header.first, "Content-Length")) {
            continue;
        }
        if (length != nullptr && trimmed(*length) != trimmed(header.second)) {
            return Refusal{400, "", "two different Content-Length headers"};
        }
        length = &header.second;
    }
    const std::string* host = request.header("Host");
    if (host == nullptr || trimmed(*host).empty()) {
        return Refusal{400, "", "no Host header"};
    }
    const std::string* coding = request.header("Transfer-Encoding");
    if (coding != nullptr && !equalsIgnoreCase(trimmed(*coding), "chunked")) {
        return Refusal{501, "", "Transfer-Encoding " + *coding + " not implemented"};
    }
    return std::nullopt;
}

std::optional<Refusal> refuseBody(const HttpRequest& request) {
    const std::string& body = request.body;
    const bool utf16 = startsWith(body, "\xfe\xff") || startsWith(body, "\xff\xfe") ||
                       (body.size() >= 2 && (body[0] == '\0' || body[1] == '\0'));
    const std::size_t start = startsWith(body, "\xef\xbb\xbf") ? 3 : 0;
    const std::string encoding =
        startsWith(body, "<?xml", start) ? declaredEncoding(body, start) : "";
    if (utf16 || !(encoding.empty() || equalsIgnoreCase(encoding, "utf-8"))) {
        return Refusal{400, "request-not-valid",
                       "body is not in UTF-8" + (encoding.empty() ? "" : " but " + encoding)};
    }
    return std::nullopt;
}

}  // namespace cimhost
