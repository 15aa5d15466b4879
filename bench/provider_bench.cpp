// Time per request of the provider's operation families, driven through the MI tables with the
// broker runtime on a temporary simulated platform holding the example machine. Every request
// reads the registry afresh and builds its objects in its own request arena, as in service.
#include <benchmark/benchmark.h>

#include <cmpidt.h>
#include <cmpift.h>

#include "broker/broker_runtime.h"
#include "provider/mi_factories.h"
#include "tests/support/platform_fixture.h"

namespace {

// The platform root must exist before the runtime and the factories are used, and outlive them.
struct Host {
    Host() {
        platform.writeExampleMachine();
        instanceMI =
            Vesk_AssociatedTOvPassthruProvider_Create_InstanceMI(runtime.broker(), nullptr);
        associationMI =
            Vesk_AssociatedTOvPassthruProvider_Create_AssociationMI(runtime.broker(), nullptr);
    }

    const CMPIObjectPath* newPath(const char* className) const {
        return runtime.broker()->eft->newObjectPath(runtime.broker(), "root/orvcim", className,
                                                    nullptr);
    }

    cimptest::PlatformRoot platform;
    cimbroker::Runtime runtime;
    CMPIInstanceMI* instanceMI = nullptr;
    CMPIAssociationMI* associationMI = nullptr;
};

Host& host() {
    static Host instance;
    return instance;
}

enum class Answer { Instance, Path };

// Runs `request` once per iteration inside a fresh request arena and result; fails the
// benchmark when a request does not answer exactly one object of the kind expected.
template <typename Request>
void serve(benchmark::State& state, Request request, Answer answer = Answer::Instance) {
    Host& h = host();
    for (auto _ : state) {
        cimbroker::RequestScope scope(h.runtime);
        cimbroker::Result result(h.runtime);
        const CMPIStatus status = request(h, scope.context(), result.cmpi());
        const std::size_t answered = answer == Answer::Path ? result.objectPaths().size()
                                                            : result.instances().size();
        if (status.rc != CMPI_RC_OK || answered != 1) {
            state.SkipWithError("request did not answer one object");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_EnumInstanceNames(benchmark::State& state) {
    serve(
        state,
        [](Host& h, const CMPIContext* context, const CMPIResult* result) {
            return h.instanceMI->ft->enumerateInstanceNames(
                h.instanceMI, context, result, h.newPath("Vesk_AssociatedTOvPassthru"));
        },
        Answer::Path);
}
BENCHMARK(BM_EnumInstanceNames)->Unit(benchmark::kMicrosecond);

void BM_EnumInstances(benchmark::State& state) {
    serve(state, [](Host& h, const CMPIContext* context, const CMPIResult* result) {
        return h.instanceMI->ft->enumerateInstances(
            h.instanceMI, context, result, h.newPath("Vesk_AssociatedTOvPassthru"), nullptr);
    });
}
BENCHMARK(BM_EnumInstances)->Unit(benchmark::kMicrosecond);

void BM_AssociatorsWithResultClass(benchmark::State& state) {
    serve(state, [](Host& h, const CMPIContext* context, const CMPIResult* result) {
        return h.associationMI->ft->associators(h.associationMI, context, result,
                                                h.newPath("Vesk_CEC"), nullptr, "Vesk_TOvPassthru",
                                                nullptr, nullptr, nullptr);
    });
}
BENCHMARK(BM_AssociatorsWithResultClass)->Unit(benchmark::kMicrosecond);

void BM_References(benchmark::State& state) {
    serve(state, [](Host& h, const CMPIContext* context, const CMPIResult* result) {
        return h.associationMI->ft->references(h.associationMI, context, result,
                                               h.newPath("Vesk_CEC"), nullptr, nullptr, nullptr);
    });
}
BENCHMARK(BM_References)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
