#include "tests/provider/provider_fixture.h"

#include "platform/trace_point.h"
#include "provider/mi_factories.h"

namespace cimptest {

namespace {

cimbroker::ClassHierarchy exampleHierarchy() {
    cimbroker::ClassHierarchy hierarchy;
    hierarchy.add("CIM_Dependency", "");
    hierarchy.add("Vesk_AssociatedTOvPassthru", "CIM_Dependency");
    hierarchy.add("CIM_Service", "");
    hierarchy.add("Vesk_TOvPassthru", "CIM_Service");
    hierarchy.add("CIM_ComputerSystem", "");
    hierarchy.add("Vesk_CEC", "CIM_ComputerSystem");
    return hierarchy;
}

}  // namespace

ProviderFixture::ProviderFixture()
    : instanceMI_(Vesk_AssociatedTOvPassthruProvider_Create_InstanceMI(runtime_.broker(), nullptr)),
      associationMI_(
          Vesk_AssociatedTOvPassthruProvider_Create_AssociationMI(runtime_.broker(), nullptr)),
      scope_(runtime_) {
    writeExampleMachine();
    runtime_.setClassHierarchy(exampleHierarchy());
    runtime_.calls().enable(true);
}

CMPIObjectPath* ProviderFixture::newPath(const char* className, const char* nameSpace) {
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    CMPIObjectPath* path = broker()->eft->newObjectPath(broker(), nameSpace, className, &status);
    EXPECT_EQ(status.rc, CMPI_RC_OK);
    EXPECT_NE(path, nullptr);
    return path;
}

size_t ProviderFixture::tracesOf(const char* format) const {
    return traceArgsOf(format).size();
}

std::vector<std::vector<std::string>> ProviderFixture::traceArgsOf(const char* format) const {
    const uint32_t id = cimp::traceFormatId(format);
    std::vector<std::vector<std::string>> args;
    for (const cimpsim::TraceRecord& record : capture_.traces()) {
        if (record.formatId == id) {
            args.push_back(record.args);
        }
    }
    return args;
}

std::vector<cimpsim::ErrlEvent> ProviderFixture::errlEventsOf(cimpsim::ErrlEvent::Kind kind) const {
    std::vector<cimpsim::ErrlEvent> events;
    for (const cimpsim::ErrlEvent& event : capture_.errl()) {
        if (event.kind == kind) {
            events.push_back(event);
        }
    }
    return events;
}

std::string exampleDashedName() {
    return std::string(example::kType) + "-" + example::kModel + "*" + example::kSerial;
}

std::string exampleCompactName() {
    return std::string(example::kType) + example::kModel + "*" + example::kSerial;
}

}  // namespace cimptest
