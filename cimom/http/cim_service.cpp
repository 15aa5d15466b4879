#include "cimom/http/cim_service.h"

#include <charconv>
#include <chrono>
#include <sstream>

#include "base/text.h"
#include "base/text_case.h"
#include "cimom/http/http_framing.h"
#include "cimom/wire/request_decoder.h"
#include "cimom/wire/response_encoder.h"

namespace cimhost {
namespace {

using cimp::equalsIgnoreCase;
using cimp::trimmed;

HttpResponse cimResponse(std::string body) {
    HttpResponse response;
    response.headers.emplace_back("Content-Type", "application/xml; charset=\"utf-8\"");
    response.headers.emplace_back("CIMOperation", "MethodResponse");
    response.body = std::move(body);
    return response;
}

// application/xml or text/xml, with no charset or utf-8.
bool acceptableContentType(const std::string& value) {
    std::istringstream parts(value);
    std::string parameter;
    std::getline(parts, parameter, ';');
    const std::string media = trimmed(parameter);
    if (!equalsIgnoreCase(media, "application/xml") && !equalsIgnoreCase(media, "text/xml")) {
        return false;
    }
    while (std::getline(parts, parameter, ';')) {
        const std::size_t equals = parameter.find('=');
        if (equals != std::string::npos &&
            equalsIgnoreCase(trimmed(parameter.substr(0, equals)), "charset")) {
            std::string charset = trimmed(parameter.substr(equals + 1));
            if (charset.size() >= 2 && charset.front() == '"' && charset.back() == '"') {
                charset = charset.substr(1, charset.size() - 2);
            }
            if (!equalsIgnoreCase(charset, "utf-8")) {
                return false;
            }
        }
    }
    return true;
}

// %XX sequences decoded; nullopt when one is malformed.
std::optional<std::string> percentDecoded(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        const char* pair = text.data() + i + 1;
        unsigned int value = 0;
        if (i + 2 >= text.size() || std::from_chars(pair, pair + 2, value, 16).ptr != pair + 2) {
            return std::nullopt;
        }
        out += static_cast<char>(value);
        i += 2;
    }
    return out;
}

// The request's Host header when it is a plain host[:port], else "localhost".
std::string hostForPaths(const HttpRequest& request) {
    const std::string* host = request.header("Host");
    const bool plain = host != nullptr && !host->empty() && host->size() <= 255 &&
                       host->find_first_not_of(
                           "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-:[]") ==
                           std::string::npos;
    return plain ? *host : "localhost";
}

std::string classOf(const Operation& op) {
    if (op.objectName) {
        return op.objectName->className;
    }
    if (op.instance) {
        return op.instance->className;
    }
    return op.className;
}

std::size_t objectCount(const Reply& reply) {
    return reply.instances.size() + reply.paths.size() + reply.classes.size();
}

// The header (CIMMethod or CIMObject) that does not match the body, or null.
const char* mismatchedHeader(const HttpRequest& request, const Operation& op) {
    const std::string* method = request.header("CIMMethod");
    if (method == nullptr || !equalsIgnoreCase(trimmed(*method), op.method)) {
        return "CIMMethod";
    }
    // An extrinsic call's CIMObject is an object path; only intrinsic ones are checked here.
    const std::string* object = request.header("CIMObject");
    const std::optional<std::string> objectName =
        object != nullptr ? percentDecoded(trimmed(*object)) : std::nullopt;
    const bool objectMatches =
        op.extrinsic ||
        (objectName && equalsIgnoreCase(trimmed(*objectName, "/"), trimmed(op.nameSpace, "/")));
    return objectMatches ? nullptr : "CIMObject";
}

// The encoded answer of `reply` into `body`, or the limit it overran.
Status encodeWithinLimits(const Operation& op, const Reply& reply, const NamespaceSchema& schema,
                          const std::string& host, std::string* body) {
    if (objectCount(reply) > kMaxResponseObjects) {
        return Status::failed("the answer holds " + std::to_string(objectCount(reply)) +
                              " objects, more than the limit of " +
                              std::to_string(kMaxResponseObjects));
    }
    *body = encodeResponse(op, reply, schema, host);
    if (body->size() > kMaxResponseBytes) {
        return Status::failed("the answer would take " + std::to_string(body->size()) +
                              " bytes, more than the limit of " +
                              std::to_string(kMaxResponseBytes));
    }
    return Status::ok();
}

}  // namespace

CimService::CimService(cimbroker::Runtime& runtime, const NamespaceSchema& schema,
                       const ProviderRegistry& providers, RequestLog& log,
                       const InteropNamespace* interop, Metrics* metrics,
                       const HostProvider* interopHost)
    : runtime_(runtime), router_(runtime, schema, providers), log_(log), metrics_(metrics) {
    if (interop != nullptr) {
        interopRouter_ =
            std::make_unique<Router>(runtime, interop->schema, noProviders_,
                                     interopHost != nullptr ? interopHost : &interop->provider);
    }
}

const Router& CimService::routerFor(const Operation& op) const {
    if (interopRouter_ && equalsIgnoreCase(op.nameSpace, interopRouter_->schema().nameSpace)) {
        return *interopRouter_;
    }
    return router_;
}

std::optional<HttpResponse> CimService::screen(const HttpRequest& request,
                                               std::optional<std::size_t> declaredLength) const {
    Refusal refusal;
    const std::string path = request.url.substr(0, request.url.find('?'));
    const std::string* operation = request.header("CIMOperation");
    const std::string* contentType = request.header("Content-Type");
    const std::string* protocolVersion = request.header("CIMProtocolVersion");
    if (request.method != "POST") {
        refusal = {501, "", "method " + request.method + " not implemented"};
    } else if (path != "/cimom") {
        refusal = {404, "", "no CIM service at " + path};
    } else if (declaredLength && *declaredLength > kMaxRequestBody) {
        refusal = {413, "", "body of " + std::to_string(*declaredLength) + " bytes"};
    } else if (operation == nullptr || !equalsIgnoreCase(trimmed(*operation), "MethodCall")) {
        refusal = {400, "unsupported-operation", "CIMOperation header is not MethodCall"};
    } else if (protocolVersion != nullptr && trimmed(*protocolVersion).rfind("1.", 0) != 0) {
        refusal = {501, "unsupported-protocol-version", "CIMProtocolVersion " + *protocolVersion};
    } else if (contentType == nullptr || !acceptableContentType(*contentType)) {
        refusal = {400, "request-not-valid",
                   "Content-Type is not application/xml or text/xml in utf-8"};
    } else {
        return std::nullopt;
    }
    log_.write(refusal.logLine(request));
    return refusal.response();
}

HttpResponse CimService::handle(const HttpRequest& request) const {
    if (std::optional<HttpResponse> refused = screen(request, request.body.size())) {
        return *refused;
    }
    const auto start = std::chrono::steady_clock::now();
    Outcome outcome = run(request);
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    log_.write(outcome.logLine + " " + std::to_string(micros.count()) + "us");
    if (metrics_ != nullptr && outcome.operation) {
        metrics_->recordOperation(*outcome.operation, outcome.code, micros);
    }
    return std::move(outcome.response);
}

CimService::Outcome CimService::run(const HttpRequest& request) const {
    const auto refused = [&request](const Refusal& refusal) -> Outcome {
        return {refusal.response(), refusal.logLine(request), std::nullopt, CimCode::Ok};
    };
    const DecodedRequest decoded = decodeRequest(request.body);
    if (decoded.protocolError) {
        return refused({400, decoded.protocolError->cimError, decoded.protocolError->message});
    }
    const Operation& op = decoded.operation;
    if (const char* header = mismatchedHeader(request, op)) {
        return refused(
            {400, "header-mismatch", std::string(header) + " header does not match the body"});
    }
    // The CIM answer `body` to the operation, which came to `status`.
    const auto answered = [&op](const Status& status, std::string body) -> Outcome {
        return {
            cimResponse(std::move(body)),
            op.method + " class=" + classOf(op) + " status=" + std::to_string(status.codeNumber()),
            op.kind, status.code()};
    };
    if (!decoded.status.isOk()) {
        return answered(decoded.status, encodeError(op, decoded.status));
    }
    const Router& router = routerFor(op);
    cimbroker::RequestScope scope(runtime_);
    if (PullOperations::handles(op.kind)) {
        if (!equalsIgnoreCase(op.nameSpace, router.schema().nameSpace)) {
            const Status refused = Status::invalidNamespace(op.nameSpace);
            return answered(refused, encodeError(op, refused));
        }
        PullAnswer answer = pulls_.run(op, router, scope.context(), hostForPaths(request));
        return answered(answer.status, std::move(answer.body));
    }
    const Reply reply = router.route(op, scope.context());
    std::string body;
    const Status status = reply.status.isOk() ? encodeWithinLimits(op, reply, router.schema(),
                                                                   hostForPaths(request), &body)
                                              : reply.status;
    return answered(status, status.isOk() ? std::move(body) : encodeError(op, status));
}

}  // namespace cimhost
