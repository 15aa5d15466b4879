// A CIMOM's side of provider requests, for the provider's tests.
//
// ProviderFixture builds on PlatformFixture with the example machine written, a broker runtime
// whose broker both factory functions have been given, a request scope on the test's thread and
// a capture of the platform's traces, error-log events and calls. The class hierarchy makes the
// association a CIM_Dependency, the passthrough service a CIM_Service and the managed system a
// CIM_ComputerSystem. Objects made through newPath belong to the fixture's scope. Not
// thread-safe: one test thread, as PlatformFixture requires.
#ifndef CIMP_TESTS_PROVIDER_PROVIDER_FIXTURE_H
#define CIMP_TESTS_PROVIDER_PROVIDER_FIXTURE_H

#include <cmpidt.h>
#include <cmpift.h>

#include <cstddef>
#include <string>
#include <vector>

#include "broker/broker_runtime.h"
#include "platform/sim/sim_capture.h"
#include "tests/support/platform_fixture.h"

namespace cimptest {

class ProviderFixture : public PlatformFixture {
  protected:
    ProviderFixture();

    const CMPIBroker* broker() const { return runtime_.broker(); }

    // A path without keys; a null `nameSpace` makes one without a namespace.
    CMPIObjectPath* newPath(const char* className, const char* nameSpace = "root/orvcim");

    // Trace entries written with exactly this format text.
    size_t tracesOf(const char* format) const;
    // Arguments of the trace entries written with this format text, in order.
    std::vector<std::vector<std::string>> traceArgsOf(const char* format) const;

    // Error-log events of one kind, in order.
    std::vector<cimpsim::ErrlEvent> errlEventsOf(cimpsim::ErrlEvent::Kind kind) const;

    cimbroker::Runtime runtime_;
    CMPIInstanceMI* instanceMI_;
    CMPIAssociationMI* associationMI_;
    cimbroker::RequestScope scope_;
    cimpsim::Capture capture_;
};

// The example machine's identity texts, as the builders join them.
std::string exampleDashedName();   // type "-" model "*" serial
std::string exampleCompactName();  // type model "*" serial

}  // namespace cimptest

#endif
