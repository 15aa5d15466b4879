#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tests/model/model_harness.h"

namespace cimptest {
namespace {

using std::string;

constexpr uint32_t kReadRc = 0x0BAD0001;
constexpr CMPIrc kBrokerRc = CMPI_RC_ERR_INVALID_CLASS;
const string kRefused = "refused";
const string kNone = "<none>";  // a status without message
const string kNoStatus = "";    // a builder that returns a bare path

using Arrange = std::function<void(ModelTest&)>;

Arrange failRead(const string& key) {
    return [key](ModelTest& t) { t.failRegistry(key, kReadRc); };
}
Arrange brokerFails(const string& service, int nth = 1) {
    return [=](ModelTest& t) { t.runtime.faults().failNth(service, nth, kBrokerRc, kRefused); };
}
Arrange brokerGivesNull(const string& service, int nth = 1) {
    return [=](ModelTest& t) { t.runtime.faults().nullNth(service, nth); };
}

const string kTypeModel = "svpd/Raw_MachineTypeModel";
const Identity kExample = {"Example", "", "", "9119", "MHE", "10ABCDE"};
const string kCec = expectedCecPath(kExample);
const string kTov = expectedTovPath(kExample);
const string kPkg = expectedPkgPath(kExample);

template <typename... Names>
std::vector<string> never(Names... names) {
    return {names...};
}

struct FailureCase {
    const char* name;
    Builder builder;
    Arrange arrange;
    bool object;
    uint32_t rc;
    string message;
    // The object as far as it was built; not compared when empty and no object is expected.
    string rendered;
    size_t committedEntries;
    // Platform calls and broker services that must not have been made.
    std::vector<string> notCalled;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

const FailureCase kCases[] = {
    // Managed system path: a failed read is committed here; a broker status is reported as is.
    {"CecPath_IdentityRead", Builder::CecPath, failRead(kTypeModel), false, 1, kNoStatus, "", 1,
     never("newObjectPath", "UtilReg::read svpd/Raw_MachineSerialNumber")},
    {"CecPath_NewObjectPathFails", Builder::CecPath, brokerFails("newObjectPath"), false, kBrokerRc,
     kNoStatus, "", 0, never("addKey")},
    {"CecPath_NewObjectPathNull", Builder::CecPath, brokerGivesNull("newObjectPath"), false, 1,
     kNoStatus, "", 0, never("addKey")},
    {"CecPath_AddKeyIgnored", Builder::CecPath, brokerFails("addKey:UUID"), true, 0, kNoStatus,
     "root/orvcim:Vesk_CEC{Name=9119-MHE*10ABCDE,CreationClassName=Vesk_CEC,MTMS=9119.MHE.10ABCDE}",
     0, never()},

    // Managed system instance: every reader failure ends the build before the next reader.
    {"CecInstance_IdentityRead", Builder::CecInstance, failRead(kTypeModel), false, 1, kNone, "", 1,
     never("UtilReg::read fstp/eth0_ipaddress", "newObjectPath")},
    {"CecInstance_Eth0Read", Builder::CecInstance, failRead("fstp/eth0_ipaddress"), false, 1, kNone,
     "", 1, never("UtilReg::read fstp/eth1_ipaddress", "UtilReg::read fstp/SystemName")},
    {"CecInstance_NameRead", Builder::CecInstance, failRead("fstp/SystemName"), false, 1, kNone, "",
     1, never("newObjectPath")},
    {"CecInstance_NoPath", Builder::CecInstance, brokerGivesNull("newObjectPath"), false, 1, kNone,
     "", 0, never("newInstance")},
    {"CecInstance_NewInstanceFails", Builder::CecInstance, brokerFails("newInstance"), false,
     kBrokerRc, kRefused, "", 0, never("newArray")},
    {"CecInstance_NewArrayFails", Builder::CecInstance, brokerFails("newArray"), false, kBrokerRc,
     kRefused, "", 0, never("setProperty")},
    {"CecInstance_NewArrayNull", Builder::CecInstance, brokerGivesNull("newArray"), false, 1, kNone,
     "", 0, never("setProperty")},
    {"CecInstance_SetPropertyIgnored", Builder::CecInstance, brokerFails("setProperty:State"), true,
     0, kNone,
     "{Dedicated=uint16[14],isOSContainer=bool:false,PrimaryFSP_IP=10.0.0.1,BackupFSP_IP=10.0.0.2,"
     "UserDefinedName=lab-system-7,Name=9119-MHE*10ABCDE,CreationClassName=Vesk_CEC,UUID=0,"
     "MTMS=9119.MHE.10ABCDE}",
     0, never()},

    // Passthrough service: the path builder asks for no status, the instance checks every property.
    {"TovPath_IdentityRead", Builder::TovPath, failRead(kTypeModel), false, 1, kNoStatus, "", 1,
     never("newObjectPath")},
    {"TovPath_NewObjectPathFails", Builder::TovPath, brokerFails("newObjectPath"), false, 1,
     kNoStatus, "", 0, never("addKey")},
    {"TovPath_AddKeyIgnored", Builder::TovPath, brokerFails("addKey:Name"), true, 0, kNoStatus,
     "root/orvcim:Vesk_TOvPassthru{CreationClassName=Vesk_TOvPassthru,"
     "SystemCreationClassName=Vesk_FSP,SystemName=9119MHE*10ABCDE}",
     0, never()},
    {"TovInstance_IdentityRead", Builder::TovInstance, failRead(kTypeModel), false, 1, kNone, "", 1,
     never("newObjectPath")},
    {"TovInstance_NameRefused", Builder::TovInstance, brokerFails("setProperty:Name"), false,
     kBrokerRc, kRefused, "", 0,
     never("setProperty:SystemCreationClassName", "setProperty:SystemName")},

    // Service association: the path is handed out as soon as the broker made it.
    {"AssocPath_NewObjectPathFails", Builder::AssocPath, brokerFails("newObjectPath"), false,
     kBrokerRc, kRefused, "", 0, never("addKey")},
    {"AssocPath_NoServicePath", Builder::AssocPath, failRead(kTypeModel), true, 1, kNone,
     "root/orvcim:Vesk_AssociatedTOvPassthru{}", 1, never("addKey")},
    {"AssocPath_NoSystemPath", Builder::AssocPath, brokerGivesNull("newObjectPath", 3), true, 1,
     kNone, "root/orvcim:Vesk_AssociatedTOvPassthru{ServiceProvided=" + kTov + "}", 0,
     never("addKey:UserOfService")},
    {"AssocPath_UserKeyRefused", Builder::AssocPath, brokerFails("addKey:UserOfService"), true,
     kBrokerRc, kRefused, "root/orvcim:Vesk_AssociatedTOvPassthru{ServiceProvided=" + kTov + "}", 0,
     never()},
    {"AssocInstance_PathFails", Builder::AssocInstance, failRead(kTypeModel), false, 1, kNone, "",
     1, never("newInstance")},
    {"AssocInstance_NewInstanceFails", Builder::AssocInstance, brokerFails("newInstance"), false,
     kBrokerRc, kRefused, "", 0, never("setProperty")},
    {"AssocInstance_NoServicePath", Builder::AssocInstance, brokerGivesNull("newObjectPath", 4),
     false, 1, kNone, "", 0, never("setProperty")},
    {"AssocInstance_UserRefused", Builder::AssocInstance, brokerFails("setProperty:UserOfService"),
     false, kBrokerRc, kRefused, "", 0, never()},

    // Physical package: identity failures are committed where the identity is read.
    {"PkgPath_IdentityRead", Builder::PkgPath, failRead(kTypeModel), false, 1, kNoStatus, "", 1,
     never("newObjectPath")},
    {"PkgPath_NewObjectPathFails", Builder::PkgPath, brokerFails("newObjectPath"), false, kBrokerRc,
     kNoStatus, "", 0, never("addKey")},
    {"PkgPath_NewObjectPathNull", Builder::PkgPath, brokerGivesNull("newObjectPath"), false, 1,
     kNoStatus, "", 0, never("addKey")},
    {"PkgInstance_IdentityRead", Builder::PkgInstance, failRead(kTypeModel), false, 1, kNone, "", 1,
     never("newObjectPath")},
    {"PkgInstance_SetPropertyIgnored", Builder::PkgInstance, brokerFails("setProperty:Model"), true,
     0, kNone,
     "{Tag=9119-MHE*10ABCDE,CreationClassName=Vesk_CEC_Pkg,VendorEquipmentType=9119,"
     "SerialNumber=10ABCDE,Manufacturer=ORV}",
     0, never()},
    {"PhysPkgPath_NoPackagePath", Builder::PhysPkgPath, failRead(kTypeModel), true, 1, kNone,
     "root/orvcim:Vesk_AssocCECPhysPkg{}", 1, never("addKey")},
    {"PhysPkgPath_NoSystemPath", Builder::PhysPkgPath, brokerGivesNull("newObjectPath", 3), true, 1,
     kNone, "root/orvcim:Vesk_AssocCECPhysPkg{Antecedent=" + kPkg + "}", 0,
     never("addKey:Dependent")},
    {"PhysPkgPath_DependentRefused", Builder::PhysPkgPath, brokerFails("addKey:Dependent"), true,
     kBrokerRc, kRefused, "root/orvcim:Vesk_AssocCECPhysPkg{Antecedent=" + kPkg + "}", 0, never()},
    {"PhysPkgInstance_PathFails", Builder::PhysPkgInstance, failRead(kTypeModel), false, 1, kNone,
     "", 1, never("newInstance")},
    {"PhysPkgInstance_NewInstanceNull", Builder::PhysPkgInstance, brokerGivesNull("newInstance"),
     false, 1, kNone, "", 0, never("setProperty")},
    {"PhysPkgInstance_AntecedentRefused", Builder::PhysPkgInstance,
     brokerFails("setProperty:Antecedent"), false, kBrokerRc, kRefused, "", 0,
     never("setProperty:Dependent")},
};

class BuilderFailures : public ModelTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(BuilderFailures, LeaveCallerWhatTheirContractSays) {
    const FailureCase& c = GetParam();
    c.arrange(*this);
    cimpsim::Capture capture;

    const Outcome out = build(c.builder, capture);

    EXPECT_EQ(out.object, c.object);
    EXPECT_EQ(out.rc, c.rc);
    EXPECT_EQ(out.message, c.message);
    if (c.object || !c.rendered.empty()) {
        EXPECT_EQ(out.rendered, c.rendered);
    }
    expectCommittedAndDeleted(capture, c.committedEntries);
    const std::vector<string> platformCalls = capture.calls();
    for (const string& name : c.notCalled) {
        EXPECT_EQ(std::count(platformCalls.begin(), platformCalls.end(), name), 0) << name;
        EXPECT_EQ(runtime.calls().count(name), 0u) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Model, BuilderFailures, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return string(info.param.name); });

}  // namespace
}  // namespace cimptest
