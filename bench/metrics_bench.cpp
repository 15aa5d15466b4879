// What counting a request into Metrics costs the request path (alone and with threads counting at
// once into the same counters), and what one scrape costs.
#include <benchmark/benchmark.h>

#include "cimom/http/metrics.h"

namespace {

cimhost::Metrics& metrics() {
    static cimhost::Metrics shared([] { return std::uint64_t{0}; });
    return shared;
}

void BM_RecordOperation(benchmark::State& state) {
    for (auto _ : state) {
        metrics().recordOperation(cimhost::OperationKind::Associators, cimhost::CimCode::Ok,
                                  std::chrono::microseconds(420));
    }
}

void BM_Exposition(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(metrics().exposition());
    }
}

}  // namespace

BENCHMARK(BM_RecordOperation)->Threads(1)->Threads(2);
BENCHMARK(BM_Exposition)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
