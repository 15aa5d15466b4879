// The host's own cost per request: CimService answering a prepared CIM-XML body in process, for
// the operations a client drives hardest, with the provider loaded from its library by its
// registration as the daemon does. Subtract provider_bench's time for the same operation to get
// what the host adds. Each case runs twice: with our schema alone and with a generated schema of
// 2,000 classes loaded beside it, so that any cost growing with the schema shows.
// Run: build-release/bench/host_bench --benchmark_min_time=0.5
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "broker/broker_runtime.h"
#include "cimom/dispatch/provider_loader.h"
#include "cimom/http/cim_service.h"
#include "generated_schema.h"
#include "tests/support/platform_fixture.h"

namespace {

const char kEnumerateInstanceNames[] =
    "<IMETHODCALL NAME=\"EnumerateInstanceNames\"><LOCALNAMESPACEPATH><NAMESPACE NAME=\"root\"/>"
    "<NAMESPACE NAME=\"orvcim\"/></LOCALNAMESPACEPATH><IPARAMVALUE NAME=\"ClassName\">"
    "<CLASSNAME NAME=\"Vesk_AssociatedTOvPassthru\"/></IPARAMVALUE></IMETHODCALL>";

const char kEnumerateInstances[] =
    "<IMETHODCALL NAME=\"EnumerateInstances\"><LOCALNAMESPACEPATH><NAMESPACE NAME=\"root\"/>"
    "<NAMESPACE NAME=\"orvcim\"/></LOCALNAMESPACEPATH><IPARAMVALUE NAME=\"ClassName\">"
    "<CLASSNAME NAME=\"Vesk_AssociatedTOvPassthru\"/></IPARAMVALUE></IMETHODCALL>";

const char kCecName[] =
    "<IPARAMVALUE NAME=\"ObjectName\"><INSTANCENAME CLASSNAME=\"Vesk_CEC\"><KEYBINDING "
    "NAME=\"CreationClassName\"><KEYVALUE>Vesk_CEC</KEYVALUE></KEYBINDING><KEYBINDING "
    "NAME=\"Name\"><KEYVALUE>9119MHE*10ABCDE</KEYVALUE></KEYBINDING></INSTANCENAME>"
    "</IPARAMVALUE>";

std::string associatorsBody() {
    return std::string(
               "<IMETHODCALL NAME=\"Associators\"><LOCALNAMESPACEPATH>"
               "<NAMESPACE NAME=\"root\"/><NAMESPACE NAME=\"orvcim\"/>"
               "</LOCALNAMESPACEPATH><IPARAMVALUE NAME=\"ResultClass\">"
               "<CLASSNAME NAME=\"Vesk_TOvPassthru\"/></IPARAMVALUE>") +
           kCecName + "</IMETHODCALL>";
}

std::string referencesBody() {
    return std::string(
               "<IMETHODCALL NAME=\"References\"><LOCALNAMESPACEPATH>"
               "<NAMESPACE NAME=\"root\"/><NAMESPACE NAME=\"orvcim\"/>"
               "</LOCALNAMESPACEPATH>") +
           kCecName + "</IMETHODCALL>";
}

cimhost::HttpRequest post(const std::string& method, const std::string& call) {
    cimhost::HttpRequest request;
    request.method = "POST";
    request.url = "/cimom";
    request.headers = {{"Host", "localhost:5988"},
                       {"Content-Type", "application/xml; charset=\"utf-8\""},
                       {"CIMOperation", "MethodCall"},
                       {"CIMMethod", method},
                       {"CIMObject", "root%2Forvcim"}};
    request.body =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><CIM CIMVERSION=\"2.0\" DTDVERSION=\"2.0\">"
        "<MESSAGE ID=\"1001\" PROTOCOLVERSION=\"1.0\"><SIMPLEREQ>" +
        call + "</SIMPLEREQ></MESSAGE></CIM>";
    return request;
}

// Swallows the request log: its cost belongs to the HTTP front, not to this measure.
class NullBuffer : public std::streambuf {
  protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// One daemon's worth of host in process: platform, runtime, schema, providers and service.
class Host {
  public:
    explicit Host(bool withGeneratedSchema) : nullLog_(&nullBuffer_), log_(nullLog_) {
        const cimp::Outcome loaded =
            withGeneratedSchema ? cimhost::NamespaceSchema::fromText(
                                      cimpbench::generatedSchemaMof(),
                                      CIMP_SCHEMA_DIR "/generated.mof", "root/orvcim", &schema_)
                                : cimhost::NamespaceSchema::load(CIMP_SCHEMA_DIR "/root_orvcim.mof",
                                                                 "root/orvcim", &schema_);
        std::vector<cimmof::ProviderRegistration> registrations;
        if (!loaded.ok() ||
            !cimmof::loadRegistrations(CIMP_SCHEMA_DIR "/Vesk_AssociatedTOvPassthru.registration",
                                       &registrations)
                 .ok()) {
            std::abort();
        }
        platform_.writeExampleMachine();
        cimbroker::ClassHierarchy hierarchy;
        for (const auto& entry : schema_.classes.hierarchy()) {
            hierarchy.add(entry.first, entry.second);
        }
        runtime_.setClassHierarchy(hierarchy);
        cimbroker::RequestScope scope(runtime_);
        cimhost::LoaderSettings settings;
        settings.searchDirs.push_back(CIMP_PROVIDER_DIR);
        settings.servedNamespace = "root/orvcim";
        cimhost::loadProviders(registrations, settings, runtime_.broker(), scope.context(),
                               providers_, nullLog_);
        service_ = std::make_unique<cimhost::CimService>(runtime_, schema_, providers_, log_);
    }

    ~Host() {
        cimbroker::RequestScope scope(runtime_);
        providers_.cleanup(scope.context(), nullLog_);
    }

    const cimhost::CimService& service() const { return *service_; }

  private:
    cimptest::PlatformRoot platform_;
    cimbroker::Runtime runtime_;
    cimhost::NamespaceSchema schema_;
    NullBuffer nullBuffer_;
    std::ostream nullLog_;
    cimhost::RequestLog log_;
    cimhost::ProviderRegistry providers_;
    std::unique_ptr<cimhost::CimService> service_;
};

// Only one platform root may be alive at a time, so the hosts are made one after the other.
const cimhost::CimService& service(bool withGeneratedSchema) {
    static std::unique_ptr<Host> host;
    static bool hostHasGenerated = false;
    if (!host || hostHasGenerated != withGeneratedSchema) {
        host.reset();
        host = std::make_unique<Host>(withGeneratedSchema);
        hostHasGenerated = withGeneratedSchema;
    }
    return host->service();
}

// Fails the benchmark unless the answer is a CIM result holding `expected`.
void serve(benchmark::State& state, const cimhost::HttpRequest& request, const char* expected) {
    const cimhost::CimService& cim = service(state.range(0) != 0);
    for (auto _ : state) {
        const cimhost::HttpResponse response = cim.handle(request);
        const std::string_view body(response.body.data(), response.body.size());
        if (response.status != 200 || body.find(expected) == std::string_view::npos) {
            state.SkipWithError("the request was not answered as expected");
            break;
        }
        benchmark::DoNotOptimize(response.body.data());
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel(state.range(0) != 0 ? "with 2000 generated classes" : "our schema");
}

void BM_EnumerateInstanceNames(benchmark::State& state) {
    static const cimhost::HttpRequest request =
        post("EnumerateInstanceNames", kEnumerateInstanceNames);
    serve(state, request, "<INSTANCENAME ");
}

void BM_EnumerateInstances(benchmark::State& state) {
    static const cimhost::HttpRequest request = post("EnumerateInstances", kEnumerateInstances);
    serve(state, request, "<VALUE.NAMEDINSTANCE>");
}

void BM_AssociatorsWithResultClass(benchmark::State& state) {
    static const cimhost::HttpRequest request = post("Associators", associatorsBody());
    serve(state, request, "<VALUE.OBJECTWITHPATH>");
}

void BM_References(benchmark::State& state) {
    static const cimhost::HttpRequest request = post("References", referencesBody());
    serve(state, request, "<VALUE.OBJECTWITHPATH>");
}

// Our schema alone first, then with the generated one: one host change between the two runs.
BENCHMARK(BM_EnumerateInstanceNames)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EnumerateInstances)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AssociatorsWithResultClass)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_References)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EnumerateInstanceNames)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EnumerateInstances)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_AssociatorsWithResultClass)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_References)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
