// Runs the managed-object builders against the broker runtime and the simulated platform, and
// renders what they hand out as text, so tests compare whole objects in one line.
#ifndef CIMP_TESTS_MODEL_MODEL_HARNESS_H
#define CIMP_TESTS_MODEL_MODEL_HARNESS_H

#include <cstdint>
#include <string>
#include <vector>

#include "broker/broker_runtime.h"
#include "platform/sim/sim_capture.h"
#include "tests/support/platform_fixture.h"

namespace cimptest {

enum class Builder {
    CecPath,
    CecInstance,
    TovPath,
    TovInstance,
    AssocPath,
    AssocInstance,
    PkgPath,
    PkgInstance,
    PhysPkgPath,
    PhysPkgInstance,
};

// What a builder left for its caller.
struct Outcome {
    bool object = false;  // a path or instance was handed out
    // The status code handed out or, for builders that return a bare path, the one their exit
    // trace reports.
    uint32_t rc = 0;
    std::string message;   // "<none>" when the status carries no message
    std::string rendered;  // the object, when there is one
};

// The machine identity as the builders show it.
struct Identity {
    const char* name;
    std::string typeModel;  // raw registry values
    std::string serial;
    std::string type, model, serialOut;
    std::string compact() const { return type + model + "*" + serialOut; }
    std::string dashed() const { return type + "-" + model + "*" + serialOut; }
    std::string dotted() const { return type + "." + model + "." + serialOut; }
};

// Texts `render` gives for each builder's object on a good platform with `id`.
std::string expectedCecPath(const Identity& id);
std::string expectedTovPath(const Identity& id);
std::string expectedPkgPath(const Identity& id);
std::string expected(Builder builder, const Identity& id);

// "ns:Class{key=value,...}" for a path, "{prop=value,...}" for an instance; strings as they are,
// references rendered as paths, other types tagged ("uint8:1", "bool:false", "uint16[14]").
std::string render(const CMPIObjectPath* path);
std::string render(const CMPIInstance* instance);

// A good example machine, a broker runtime with its call log on, and one request scope.
class ModelTest : public PlatformFixture {
  public:
    ModelTest();

    void useIdentity(const Identity& id);
    Outcome build(Builder builder, const cimpsim::Capture& capture);

    cimbroker::Runtime runtime;

  private:
    cimbroker::RequestScope scope_{runtime};
};

// Every entry created was committed once with (0xd400, 0x2000) and then deleted, and there were
// `expected` of them.
void expectCommittedAndDeleted(const cimpsim::Capture& capture, size_t expected);

}  // namespace cimptest

#endif
