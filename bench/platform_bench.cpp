// Cost of the simulated platform's two hot calls on a temporary root holding the example
// machine: one registry read (steady, and right after a change, which sends it to the files)
// and one trace write into the file-backed ring, alone and from several threads at once.
#include <fcntl.h>
#include <sys/stat.h>

#include <memory>
#include <string>
#include <thread>

#include <benchmark/benchmark.h>

#include "platform/errl_entry.h"
#include "platform/trace.h"
#include "platform/util_reg.h"
#include "tests/support/platform_fixture.h"

namespace {

struct Platform {
    Platform() {
        root.writeExampleMachine();
        trace_adal_init_buffer(&td, "CIMP", 4096);
    }
    cimptest::PlatformRoot root;
    trace_desc_t td = TRACE_DESC_INVALID;
};

Platform& platform() {
    static Platform instance;
    return instance;
}

// One read of the machine's serial number into `buffer` (at least 12 bytes); false when the
// platform answers with an error-log entry.
bool readSerial(char* buffer) {
    unsigned int size = 12;
    std::unique_ptr<ErrlEntry> failure(
        UtilReg::read("svpd/Raw_MachineSerialNumber", buffer, size, false, nullptr));
    return failure == nullptr;
}

void BM_RegistryRead(benchmark::State& state) {
    platform();
    char buffer[16];
    for (auto _ : state) {
        if (!readSerial(buffer)) {
            state.SkipWithError("registry read failed");
            break;
        }
        benchmark::DoNotOptimize(buffer);
    }
}
BENCHMARK(BM_RegistryRead)->Unit(benchmark::kMicrosecond);

// A read on a thread of its own, as a host that starts a thread per request (sfcb, OpenPegasus)
// makes it; the thread's start and end are in the figure.
void BM_RegistryReadNewThread(benchmark::State& state) {
    platform();
    for (auto _ : state) {
        std::thread([&state] {
            char buffer[16];
            if (!readSerial(buffer)) {
                state.SkipWithError("registry read failed");
            }
            benchmark::DoNotOptimize(buffer);
        }).join();
    }
}
BENCHMARK(BM_RegistryReadNewThread)->Unit(benchmark::kMicrosecond);

// The same read when the value's folder changed since the last call (here its time stamps, one
// utimensat), so the platform must go to the files again.
void BM_RegistryReadAfterChange(benchmark::State& state) {
    const std::string value = platform().root.registryFile("svpd/Raw_MachineSerialNumber");
    char buffer[16];
    for (auto _ : state) {
        utimensat(AT_FDCWD, value.c_str(), nullptr, 0);
        readSerial(buffer);
        benchmark::DoNotOptimize(buffer);
    }
}
BENCHMARK(BM_RegistryReadAfterChange)->Unit(benchmark::kMicrosecond);

// The shape of a typical provider trace point: a number and a short text.
void BM_TraceWrite(benchmark::State& state) {
    const trace_desc_t td = platform().td;
    uint32_t n = 0;
    for (auto _ : state) {
        trace_adal_write_all(td, 0x5EED, " %X,%s", 42, 0, n++, "Vesk_TOvPassthru");
    }
}
BENCHMARK(BM_TraceWrite)->Threads(1)->Threads(2)->Unit(benchmark::kNanosecond);

}  // namespace

BENCHMARK_MAIN();
