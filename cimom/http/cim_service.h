// CimService: the CIM-XML over HTTP protocol of DSP0200 for one request, apart from the socket.
// It screens the request line and headers, parses and decodes the body, checks the CIMMethod
// and CIMObject headers against it, runs the operation inside its own RequestScope, encodes the
// answer and logs one line (operation, class, status, microseconds), which it also counts in
// Metrics when given.
//
// Answers: CIM results and CIM errors in HTTP 200 with "CIMOperation: MethodResponse"; protocol
// errors in HTTP 400 with a CIMError header; a body over kMaxRequestBody 413; a method other
// than POST 501 (M-POST too, so that clients fall back to POST); another path than /cimom 404.
// An answer of more than kMaxResponseObjects objects or kMaxResponseBytes bytes is not sent:
// the client gets CIM_ERR_FAILED saying which limit it reached.
//
// With an InteropNamespace it serves root/interop too, from the host's own provider. The pull
// operations keep their enumeration contexts here, shared by every request thread.
//
// Thread-safe: any number of threads may call handle() at once.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>

#include "broker/broker_runtime.h"
#include "cimom/cim/namespace_schema.h"
#include "cimom/dispatch/interop_namespace.h"
#include "cimom/dispatch/provider_registry.h"
#include "cimom/dispatch/pull_operations.h"
#include "cimom/dispatch/router.h"
#include "cimom/http/http_limits.h"
#include "cimom/http/http_message.h"
#include "cimom/http/metrics.h"
#include "cimom/http/request_log.h"

namespace cimhost {

constexpr std::size_t kMaxResponseObjects = 10000;
constexpr std::size_t kMaxResponseBytes = 16u << 20;

class CimService {
  public:
    // `interopHost`, when given, serves the interop namespace's instances in place of
    // `interop`'s own provider (which it should include).
    CimService(cimbroker::Runtime& runtime, const NamespaceSchema& schema,
               const ProviderRegistry& providers, RequestLog& log,
               const InteropNamespace* interop = nullptr, Metrics* metrics = nullptr,
               const HostProvider* interopHost = nullptr);

    // Judges method, path and headers before the body arrives (`request.body` is not read;
    // `declaredLength` is the Content-Length when one was sent). A response when the request
    // is refused already; the refusal is logged.
    std::optional<HttpResponse> screen(const HttpRequest& request,
                                       std::optional<std::size_t> declaredLength) const;

    HttpResponse handle(const HttpRequest& request) const;

  private:
    // What one request came to: the answer, and the log line (without its duration).
    struct Outcome {
        HttpResponse response;
        std::string logLine;
        std::optional<OperationKind> operation;  // set when a CIM result or error was sent
        CimCode code = CimCode::Ok;
    };

    Outcome run(const HttpRequest& request) const;
    // The router of the namespace `op` names; the served namespace's, which refuses any other.
    const Router& routerFor(const Operation& op) const;

    cimbroker::Runtime& runtime_;
    Router router_;
    const ProviderRegistry noProviders_;
    std::unique_ptr<Router> interopRouter_;
    mutable PullOperations pulls_;  // thread-safe itself
    RequestLog& log_;
    Metrics* metrics_;
};

}  // namespace cimhost
