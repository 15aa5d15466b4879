// Delivery of indications to one local listener, in process: the throughput of a burst, and the
// time from enqueue to receipt at a steady 1,000 indications per second (50th and 99th
// percentile). The listener is a small libmicrohttpd server here, so that it is not what is
// measured; each indication carries its enqueue time, read back at receipt.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <microhttpd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "cimom/delivery/delivery_service.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kStampMarker = "NAME=\"Stamp\" TYPE=\"uint64\"><VALUE>";
constexpr const char* kAnswer =
    "<?xml version=\"1.0\" encoding=\"utf-8\" ?><CIM CIMVERSION=\"2.0\" DTDVERSION=\"2.0\">"
    "<MESSAGE ID=\"1\" PROTOCOLVERSION=\"1.0\"><SIMPLEEXPRSP>"
    "<EXPMETHODRESPONSE NAME=\"ExportIndication\"/></SIMPLEEXPRSP></MESSAGE></CIM>";

std::int64_t nowNanos() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

// Takes every export request, notes how long ago its indication was enqueued, answers 200.
class BenchListener {
  public:
    BenchListener() {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        daemon_ =
            MHD_start_daemon(MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_EPOLL, 0, nullptr, nullptr,
                             &onRequest, this, MHD_OPTION_SOCK_ADDR, &address, MHD_OPTION_END);
        port_ = MHD_get_daemon_info(daemon_, MHD_DAEMON_INFO_BIND_PORT)->port;
    }
    ~BenchListener() { MHD_stop_daemon(daemon_); }

    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }
    std::vector<std::int64_t> takeLatencies() {
        std::lock_guard<std::mutex> lock(mutex_);
        return std::move(latencies_);
    }

  private:
    static MHD_Result onRequest(void* self, MHD_Connection* connection, const char*, const char*,
                                const char*, const char* data, size_t* size, void** context) {
        auto* body = static_cast<std::string*>(*context);
        if (body == nullptr) {
            *context = new std::string;
            MHD_set_connection_option(connection, MHD_CONNECTION_OPTION_TIMEOUT, 0u);
            return MHD_YES;
        }
        if (*size != 0) {
            body->append(data, *size);
            *size = 0;
            return MHD_YES;
        }
        static_cast<BenchListener*>(self)->note(*body);
        delete body;
        *context = nullptr;
        MHD_Response* response = MHD_create_response_from_buffer(
            std::strlen(kAnswer), const_cast<char*>(kAnswer), MHD_RESPMEM_PERSISTENT);
        MHD_add_response_header(response, "CIMExport", "MethodResponse");
        const MHD_Result queued = MHD_queue_response(connection, MHD_HTTP_OK, response);
        MHD_destroy_response(response);
        return queued;
    }

    void note(const std::string& body) {
        const std::size_t at = body.find(kStampMarker);
        if (at == std::string::npos) {
            return;
        }
        const std::int64_t sent = std::stoll(body.substr(at + std::strlen(kStampMarker)));
        std::lock_guard<std::mutex> lock(mutex_);
        latencies_.push_back(nowNanos() - sent);
    }

    MHD_Daemon* daemon_ = nullptr;
    unsigned port_ = 0;
    std::mutex mutex_;
    std::vector<std::int64_t> latencies_;
};

std::string stampedIndication() {
    return "<INSTANCE CLASSNAME=\"CIM_AlertIndication\"><PROPERTY NAME=\"Stamp\" "
           "TYPE=\"uint64\"><VALUE>" +
           std::to_string(nowNanos()) +
           "</VALUE></PROPERTY><PROPERTY NAME=\"Description\" TYPE=\"string\"><VALUE>" +
           std::string(200, 'x') + "</VALUE></PROPERTY></INSTANCE>";
}

void waitDelivered(const cimhost::DeliveryService& service, std::uint64_t count) {
    while (service.counters().delivered + service.counters().dropped < count) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
}

// A burst of 1,000 indications queued at once, delivered in order.
void BM_DeliveryThroughput(benchmark::State& state) {
    BenchListener listener;
    cimhost::DeliverySettings settings;
    settings.queueLimit = 1000;
    cimhost::DeliveryService service(settings);
    const cimhost::DeliveryTarget target{"bench", listener.url()};
    std::uint64_t total = 0;
    for (auto _ : state) {
        for (int i = 0; i < 1000; ++i) {
            service.enqueue(target, stampedIndication());
        }
        total += 1000;
        waitDelivered(service, total);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(total));
    state.counters["dropped"] = static_cast<double>(service.counters().dropped);
}

// 2,000 indications at 1,000 per second; the percentiles from enqueue to receipt in ms.
void BM_DeliveryLatencyAt1000PerSecond(benchmark::State& state) {
    BenchListener listener;
    cimhost::DeliveryService service(cimhost::DeliverySettings{});
    const cimhost::DeliveryTarget target{"bench", listener.url()};
    std::vector<std::int64_t> latencies;
    std::uint64_t total = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        for (int i = 0; i < 2000; ++i) {
            std::this_thread::sleep_until(start + std::chrono::milliseconds(i));
            service.enqueue(target, stampedIndication());
        }
        total += 2000;
        waitDelivered(service, total);
        const std::vector<std::int64_t> more = listener.takeLatencies();
        latencies.insert(latencies.end(), more.begin(), more.end());
    }
    std::sort(latencies.begin(), latencies.end());
    const auto percentile = [&latencies](double p) {
        return latencies.empty() ? 0.0
                                 : static_cast<double>(latencies[static_cast<std::size_t>(
                                       p * static_cast<double>(latencies.size() - 1))]) /
                                       1e6;
    };
    state.counters["p50_ms"] = percentile(0.50);
    state.counters["p99_ms"] = percentile(0.99);
    state.counters["max_ms"] = percentile(1.0);
}

}  // namespace

BENCHMARK(BM_DeliveryThroughput)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DeliveryLatencyAt1000PerSecond)->Unit(benchmark::kMillisecond)->Iterations(2);

BENCHMARK_MAIN();
