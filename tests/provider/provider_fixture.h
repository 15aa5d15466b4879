// A CIMOM's side of provider requests, for the provider's tests.
//
// ProviderFixture builds on PlatformFixture with the example machine written, a broker runtime
// whose broker both factory functions have been given (call log on), a request scope on the
// test's thread and a capture of what the platform sees. The class hierarchy makes the
// association a CIM_Dependency and the passthrough service a CIM_Service. Objects made through
// newPath belong to the fixture's scope. One test thread, as PlatformFixture requires.
#ifndef CIMP_TESTS_PROVIDER_PROVIDER_FIXTURE_H
#define CIMP_TESTS_PROVIDER_PROVIDER_FIXTURE_H

#include <cmpidt.h>
#include <cmpift.h>

#include <string>
#include <vector>

#include "broker/broker_runtime.h"
#include "platform/sim/sim_capture.h"
#include "tests/support/platform_fixture.h"

namespace cimptest {

using TraceArgs = std::vector<std::vector<std::string>>;

class ProviderFixture : public PlatformFixture {
  protected:
    ProviderFixture();

    const CMPIBroker* broker() const { return runtime_.broker(); }

    // A path without keys in "root/orvcim".
    CMPIObjectPath* newPath(const char* className);

    // The arguments of each trace entry written with exactly this format text, in order.
    TraceArgs traceArgsOf(const char* format) const;

    cimbroker::Runtime runtime_;
    CMPIInstanceMI* instanceMI_;
    CMPIAssociationMI* associationMI_;
    cimbroker::RequestScope scope_;
    cimpsim::Capture capture_;
};

}  // namespace cimptest

#endif
