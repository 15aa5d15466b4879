// The alert provider's two costs, through its indication MI over the broker runtime with a sink
// that notes each alert's arrival, on a temporary root holding the example machine:
// - idle: with one active filter and indications enabled, the CPU time (user + system, getrusage)
//   the process spends over one second in which nothing is committed, beside the same second
//   without the provider;
// - latency: from the commit of an error-log entry to the alert's arrival at the sink, one entry
//   at a time; counters give the median and the 99th percentile.
// (The figure through the daemon to a listener is measured once the indication service is in.)
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <benchmark/benchmark.h>

#include "alert_provider/alert_mi.h"
#include "broker/broker_runtime.h"
#include "platform/errl_entry.h"
#include "platform/sim/sim_errl_entry.h"
#include "tests/support/platform_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;

class ArrivalSink : public cimbroker::IndicationSink {
  public:
    CMPIStatus deliver(const char*, const CMPIInstance*) override {
        std::lock_guard<std::mutex> lock(mutex_);
        ++arrived_;
        last_ = Clock::now();
        signal_.notify_all();
        return {CMPI_RC_OK, nullptr};
    }
    // The arrival time of the alert that makes `count` in all.
    Clock::time_point waitFor(size_t count) {
        std::unique_lock<std::mutex> lock(mutex_);
        signal_.wait(lock, [&] { return arrived_ >= count; });
        return last_;
    }

  private:
    std::mutex mutex_;
    std::condition_variable signal_;
    size_t arrived_ = 0;
    Clock::time_point last_;
};

// The example machine and the provider with one filter active and indications enabled.
class ActiveProvider {
  public:
    ActiveProvider() {
        root_.writeExampleMachine();
        runtime_.setIndicationSink(&sink_);
        mi_ = Vesk_AlertIndicationProvider_Create_IndicationMI(runtime_.broker(), scope_.context());
        mi_->ft->activateFilter(mi_, scope_.context(), filter_.cmpi(), "Vesk_AlertIndication",
                                nullptr, 1);
        mi_->ft->enableIndications(mi_, scope_.context());
    }
    ~ActiveProvider() { mi_->ft->cleanup(mi_, scope_.context(), 1); }

    ArrivalSink& sink() { return sink_; }

  private:
    cimptest::PlatformRoot root_;
    cimbroker::Runtime runtime_;
    cimbroker::RequestScope scope_{runtime_};
    cimbroker::SelectExpression filter_{runtime_, "SELECT * FROM Vesk_AlertIndication", "WQL"};
    ArrivalSink sink_;
    CMPIIndicationMI* mi_ = nullptr;
};

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The process's CPU time over each idle second, per second, in microseconds.
void measureIdleSeconds(benchmark::State& state) {
    double cpu = 0;
    for (auto _ : state) {
        const double before = cpuSeconds();
        std::this_thread::sleep_for(std::chrono::seconds(1));
        cpu += cpuSeconds() - before;
    }
    state.counters["cpu_us_per_idle_s"] =
        benchmark::Counter(cpu * 1e6 / static_cast<double>(state.iterations()));
}

// What an idle second costs the process with no provider at all: the baseline.
void BM_IdleSecondWithoutProvider(benchmark::State& state) {
    measureIdleSeconds(state);
}
BENCHMARK(BM_IdleSecondWithoutProvider)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_IdleSecondWithOneActiveFilter(benchmark::State& state) {
    ActiveProvider provider;
    measureIdleSeconds(state);
}
BENCHMARK(BM_IdleSecondWithOneActiveFilter)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_CommitToSink(benchmark::State& state) {
    ActiveProvider provider;
    std::vector<double> micros;
    size_t committed = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        std::unique_ptr<ErrlEntry>(
            new cimpsim::SimErrlEntry(0x51A00001, "UtilReg::read", "svpd/Raw_MachineSerialNumber"))
            ->commit(0xd400, 0x2000);
        const Clock::time_point arrived = provider.sink().waitFor(++committed);
        const std::chrono::duration<double> latency = arrived - start;
        state.SetIterationTime(latency.count());
        micros.push_back(latency.count() * 1e6);
    }
    std::sort(micros.begin(), micros.end());
    state.counters["p50_us"] = micros[micros.size() / 2];
    state.counters["p99_us"] = micros[std::min(micros.size() - 1, micros.size() * 99 / 100)];
}
BENCHMARK(BM_CommitToSink)->UseManualTime()->Iterations(2000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
