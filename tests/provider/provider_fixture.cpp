#include "tests/provider/provider_fixture.h"

#include "platform/trace_point.h"
#include "provider/mi_factories.h"

namespace cimptest {

ProviderFixture::ProviderFixture()
    : instanceMI_(Vesk_AssociatedTOvPassthruProvider_Create_InstanceMI(runtime_.broker(), nullptr)),
      associationMI_(
          Vesk_AssociatedTOvPassthruProvider_Create_AssociationMI(runtime_.broker(), nullptr)),
      scope_(runtime_) {
    writeExampleMachine();
    cimbroker::ClassHierarchy hierarchy;
    hierarchy.add("Vesk_AssociatedTOvPassthru", "CIM_Dependency");
    hierarchy.add("Vesk_TOvPassthru", "CIM_Service");
    runtime_.setClassHierarchy(hierarchy);
    runtime_.calls().enable(true);
}

CMPIObjectPath* ProviderFixture::newPath(const char* className) {
    CMPIObjectPath* path =
        broker()->eft->newObjectPath(broker(), "root/orvcim", className, nullptr);
    EXPECT_NE(path, nullptr);
    return path;
}

TraceArgs ProviderFixture::traceArgsOf(const char* format) const {
    const uint32_t id = cimp::traceFormatId(format);
    TraceArgs args;
    for (const cimpsim::TraceRecord& record : capture_.traces()) {
        if (record.formatId == id) {
            args.push_back(record.args);
        }
    }
    return args;
}

}  // namespace cimptest
