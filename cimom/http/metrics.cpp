#include "cimom/http/metrics.h"

#include <algorithm>
#include <utility>

namespace cimhost {
namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;

std::string secondsText(std::uint64_t micros) {
    std::string text = std::to_string(micros / 1000000) + "." +
                       std::to_string(1000000 + micros % 1000000).substr(1);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') {
        text.pop_back();
    }
    return text;
}

void appendHeader(std::string& out, const char* name, const char* type, const char* help) {
    out += std::string("# HELP ") + name + " " + help + "\n# TYPE " + name + " " + type + "\n";
}

void appendSample(std::string& out, const std::string& name, const std::string& value) {
    out += name + " " + value + "\n";
}

// A metric of one sample without labels.
void appendSingle(std::string& out, const char* name, const char* type, const char* help,
                  const std::string& value) {
    appendHeader(out, name, type, help);
    appendSample(out, name, value);
}

}  // namespace

Metrics::Metrics(ErrlCount errlEntries)
    : errlEntries_(std::move(errlEntries)), started_(std::chrono::system_clock::now()) {}

void Metrics::recordOperation(OperationKind kind, CimCode code, std::chrono::microseconds latency) {
    const std::size_t operation = std::min(static_cast<std::size_t>(kind), kOperations - 1);
    const std::size_t status = std::min(static_cast<std::size_t>(code), kCodes - 1);
    requests_[operation][status].fetch_add(1, kRelaxed);
    const auto micros = static_cast<std::uint64_t>(std::max<std::int64_t>(latency.count(), 0));
    const std::size_t bucket =
        std::lower_bound(kBucketMicros.begin(), kBucketMicros.end(), micros) -
        kBucketMicros.begin();
    latencies_[operation].buckets[bucket].fetch_add(1, kRelaxed);
    latencies_[operation].sumMicros.fetch_add(micros, kRelaxed);
}

std::string Metrics::exposition() const {
    std::string out;
    appendRequests(out);
    appendLatencies(out);
    appendSingle(out, "cimp_requests_in_flight", "gauge", "CIM-XML requests being handled.",
                 std::to_string(inFlight_.load(kRelaxed)));
    appendSingle(out, "cimp_http_connections_open", "gauge", "Open HTTP(S) connections.",
                 std::to_string(connections_.load(kRelaxed)));
    appendSingle(out, "cimp_provider_load_failures", "gauge",
                 "Provider registrations that could not be loaded or bound at start.",
                 std::to_string(providerFailures_));
    appendSingle(out, "cimp_platform_errl_entries_total", "counter",
                 "Entries committed to the platform error log (its last sequence number).",
                 std::to_string(errlEntries_()));
    const auto startMicros =
        std::chrono::duration_cast<std::chrono::microseconds>(started_.time_since_epoch());
    appendSingle(out, "process_start_time_seconds", "gauge",
                 "Start time of the process since the Unix epoch in seconds.",
                 secondsText(static_cast<std::uint64_t>(startMicros.count())));
    appendIndications(out);
    return out;
}

void Metrics::appendIndications(std::string& out) const {
    const DeliveryService* delivery = delivery_.load();
    if (delivery == nullptr) {
        return;
    }
    const DeliveryCounters counters = delivery->counters();
    constexpr const char* kName = "cimp_indications_total";
    appendHeader(out, kName, "counter",
                 "Indications generated for listeners, and what became of them: delivered, "
                 "retried (a send repeated) or dropped.");
    const std::pair<const char*, std::uint64_t> outcomes[] = {{"generated", counters.generated},
                                                              {"delivered", counters.delivered},
                                                              {"retried", counters.retried},
                                                              {"dropped", counters.dropped}};
    for (const auto& [outcome, count] : outcomes) {
        appendSample(out, std::string(kName) + "{outcome=\"" + outcome + "\"}",
                     std::to_string(count));
    }
    appendSingle(out, "cimp_indication_queue_depth", "gauge",
                 "Indications waiting for their listeners, all destinations together.",
                 std::to_string(counters.queued));
}

void Metrics::appendRequests(std::string& out) const {
    appendHeader(out, "cimp_cim_requests_total", "counter",
                 "CIM operations answered, by operation and CIM status.");
    for (std::size_t operation = 0; operation < kOperations; ++operation) {
        for (std::size_t status = 0; status < kCodes; ++status) {
            const std::uint64_t count = requests_[operation][status].load(kRelaxed);
            if (count != 0) {
                appendSample(out,
                             std::string("cimp_cim_requests_total{operation=\"") +
                                 operationName(static_cast<OperationKind>(operation)) +
                                 "\",status=\"" + cimCodeName(static_cast<CimCode>(status)) + "\"}",
                             std::to_string(count));
            }
        }
    }
}

void Metrics::appendLatencies(std::string& out) const {
    constexpr const char* kName = "cimp_cim_request_duration_seconds";
    appendHeader(out, kName, "histogram", "Time to answer a CIM operation, by operation.");
    for (std::size_t operation = 0; operation < kOperations; ++operation) {
        const Latency& latency = latencies_[operation];
        const std::string label = std::string("{operation=\"") +
                                  operationName(static_cast<OperationKind>(operation)) + "\"";
        std::uint64_t cumulative = 0;
        std::string buckets;
        for (std::size_t bucket = 0; bucket < latency.buckets.size(); ++bucket) {
            cumulative += latency.buckets[bucket].load(kRelaxed);
            const std::string bound =
                bucket < kBucketMicros.size() ? secondsText(kBucketMicros[bucket]) : "+Inf";
            appendSample(buckets, std::string(kName) + "_bucket" + label + ",le=\"" + bound + "\"}",
                         std::to_string(cumulative));
        }
        if (cumulative == 0) {
            continue;
        }
        out += buckets;
        appendSample(out, std::string(kName) + "_sum" + label + "}",
                     secondsText(latency.sumMicros.load(kRelaxed)));
        appendSample(out, std::string(kName) + "_count" + label + "}", std::to_string(cumulative));
    }
}

}  // namespace cimhost
