// The managed-object builders against the broker runtime and the simulated example machine. What a
// builder hands out is rendered as text, types included, so one comparison covers a whole object:
// whole objects on success, and what is left for the caller on every failure.
#include <cmpimacs.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "broker/broker_runtime.h"
#include "broker/cmpi_read.h"
#include "model/assoc_cec_phys_pkg.h"
#include "model/associated_tovpassthru.h"
#include "model/cec.h"
#include "model/cec_pkg.h"
#include "model/tovpassthru.h"
#include "tests/support/call_probe.h"
#include "tests/support/platform_capture.h"
#include "tests/support/platform_fixture.h"

namespace {

using std::string;

string render(const CMPIObjectPath* path);

// Strings as they are, references as paths, other types tagged ("uint8:1", "uint16[14]").
string describe(const CMPIData& data) {
    switch (data.type) {
        case CMPI_string:
            return cimbroker::toStdString(data.value.string);
        case CMPI_ref:
            return render(data.value.ref);
        case CMPI_boolean:
            return data.value.boolean ? "bool:true" : "bool:false";
        case CMPI_uint8:
            return "uint8:" + std::to_string(data.value.uint8);
        case CMPI_uint16A: {
            string text = "uint16[";
            for (const CMPIData& element : cimbroker::elementsOf(data.value.array)) {
                text += (text.back() == '[' ? "" : ",") + describe(element);
            }
            return text + "]";
        }
        case CMPI_uint16:
            return std::to_string(data.value.uint16);
        default:
            return "type:" + std::to_string(data.type);
    }
}

string describe(const cimbroker::NamedData& values) {
    string text = "{";
    for (const auto& [name, data] : values) {
        text += (text.size() > 1 ? "," : "") + name + "=" + describe(data);
    }
    return text + "}";
}

// "ns:Class{key=value,...}" for a path, "{prop=value,...}" for an instance, "" for none.
string render(const CMPIObjectPath* path) {
    return path == nullptr ? ""
                           : std::string(cimbroker::borrowNameSpace(path)) + ":" +
                                 cimbroker::classNameOf(path) + describe(cimbroker::keysOf(path));
}
string render(const CMPIInstance* instance) {
    return instance == nullptr ? "" : describe(cimbroker::propertiesOf(instance));
}

// `whole` without its first `part`: an object as far as a failing step left it.
string without(string whole, const string& part) {
    return whole.erase(whole.find(part), part.size());
}

// The example machine's objects.
const string kCec =
    "root/orvcim:Vesk_CEC{Name=9119-MHE*10ABCDE,CreationClassName=Vesk_CEC,UUID=0,"
    "MTMS=9119.MHE.10ABCDE}";
const string kTov =
    "root/orvcim:Vesk_TOvPassthru{CreationClassName=Vesk_TOvPassthru,Name=9119MHE*10ABCDE,"
    "SystemCreationClassName=Vesk_FSP,SystemName=9119MHE*10ABCDE}";
const string kPkg = "root/orvcim:Vesk_CEC_Pkg{Tag=9119-MHE*10ABCDE,CreationClassName=Vesk_CEC_Pkg}";
const string kCecInstance =
    "{Dedicated=uint16[14],isOSContainer=bool:false,PrimaryFSP_IP=10.0.0.1,BackupFSP_IP=10.0.0.2,"
    "State=uint8:1,UserDefinedName=lab-system-7,Name=9119-MHE*10ABCDE,CreationClassName=Vesk_CEC,"
    "UUID=0,MTMS=9119.MHE.10ABCDE}";
const string kTovInstance = kTov.substr(kTov.find('{'));
const string kPkgInstance =
    "{Tag=9119-MHE*10ABCDE,CreationClassName=Vesk_CEC_Pkg,VendorEquipmentType=9119,Model=MHE,"
    "SerialNumber=10ABCDE,Manufacturer=ORV}";
const string kAssocWhole = "root/orvcim:Vesk_AssociatedTOvPassthru{ServiceProvided=" + kTov +
                           ",UserOfService=" + kCec + "}";
const string kPhysWhole =
    "root/orvcim:Vesk_AssocCECPhysPkg{Antecedent=" + kPkg + ",Dependent=" + kCec + "}";
// The associations without their second reference.
const string kAssoc = without(kAssocWhole, ",UserOfService=" + kCec);
const string kPhys = without(kPhysWhole, ",Dependent=" + kCec);

// What a builder left for its caller.
struct Outcome {
    // The status code handed out or, for builders that return a bare path, the one their exit
    // trace reports.
    uint32_t rc = 0;
    string message;   // "<none>" when the status carries no message, "" when there is no status
    string rendered;  // the object, "" when there is none
};

uint32_t exitTraceRc(const cimptest::Capture& capture) {
    const std::vector<cimptest::TraceRecord> traces = capture.traces();
    if (traces.empty() || traces.back().args.size() != 1) {
        ADD_FAILURE() << "no exit trace with one argument";
        return UINT32_MAX;
    }
    return static_cast<uint32_t>(std::strtoul(traces.back().args[0].c_str(), nullptr, 16));
}

template <typename Object>
Outcome fromStatus(const Object* object, const CMPIStatus& status,
                   const cimptest::Capture& capture) {
    EXPECT_EQ(exitTraceRc(capture), static_cast<uint32_t>(status.rc))
        << "the exit trace reports the code handed out";
    return {static_cast<uint32_t>(status.rc),
            status.msg != nullptr ? cimbroker::toStdString(status.msg) : "<none>", render(object)};
}

// `expected` entries were committed, each with (0xd400, 0x2000). (An entry the builders forget
// to delete is a leak the sanitizer build reports.)
void expectCommitted(const cimptest::Capture& capture, size_t expected) {
    const std::vector<cimptest::ErrlRecord> committed = capture.errl();
    ASSERT_EQ(committed.size(), expected);
    for (const cimptest::ErrlRecord& entry : committed) {
        EXPECT_EQ(entry.first, 0xd400);
        EXPECT_EQ(entry.second, 0x2000);
    }
}

// Stale values the builders must overwrite on every path.
int sentinel = 0;
template <typename Object>
Object* stale() {
    return reinterpret_cast<Object*>(&sentinel);
}

// A builder called as its callers call it, and what it left them.
using Build = Outcome (*)(const CMPIBroker*, const cimptest::Capture&);
template <CMPIObjectPath* (*build)(const CMPIBroker*)>
Outcome bare(const CMPIBroker* broker, const cimptest::Capture& capture) {
    const CMPIObjectPath* path = build(broker);
    return {exitTraceRc(capture), "", render(path)};
}
template <void (*build)(const CMPIBroker*, CMPIInstance*&, CMPIStatus*)>
Outcome intoStatus(const CMPIBroker* broker, const cimptest::Capture& capture) {
    CMPIInstance* instance = stale<CMPIInstance>();
    CMPIStatus status = {CMPI_RC_ERR_NOT_SUPPORTED, CMNewString(broker, "stale", nullptr)};
    build(broker, instance, &status);
    return fromStatus(instance, status, capture);
}
template <typename Object, CMPIStatus (*build)(const CMPIBroker*, Object*&)>
Outcome returned(const CMPIBroker* broker, const cimptest::Capture& capture) {
    Object* object = stale<Object>();
    const CMPIStatus status = build(broker, object);
    return fromStatus(object, status, capture);
}
const Build CecPath = bare<CIMP_getCECObjectPath>, CecInstance = intoStatus<CIMP_getCECInstance>,
            TovPath = bare<CIMP_getTOvPassthruObjectPath>,
            TovInstance = intoStatus<CIMP_getTOvPassthruInstance>,
            AssocPath = returned<CMPIObjectPath, CIMP_getAssociatedTOvPassthruObjectPath>,
            AssocInstance = returned<CMPIInstance, CIMP_getAssociatedTOvPassthruInstance>,
            PkgPath = bare<CIMP_getCECPkgObjectPath>,
            PkgInstance = intoStatus<CIMP_getCECPkgInstance>,
            PhysPkgPath = returned<CMPIObjectPath, CIMP_getVesk_AssocCECPhysPkgObjectPath>,
            PhysPkgInstance = returned<CMPIInstance, CIMP_getVesk_AssocCECPhysPkgInstance>;

class ModelTest;
using Arrange = std::function<void(ModelTest&)>;

struct BuildCase {
    const char* name;
    Build builder;
    Arrange arrange;  // none for a good machine and broker
    uint32_t rc;
    string message;
    string rendered;
    size_t committedEntries;
    std::vector<string> notCalled;  // platform calls and broker services
    int identityReads = -1;         // not counted when negative; nothing is cached
};

void PrintTo(const BuildCase& c, std::ostream* os) {
    *os << c.name;
}

// A good example machine, a broker runtime with a call probe, and one request scope.
class ModelTest : public cimptest::PlatformFixture,
                  public ::testing::WithParamInterface<BuildCase> {
  public:
    ModelTest() { writeExampleMachine(); }

    cimbroker::Runtime runtime;
    cimptest::CallProbe probe{runtime};

  private:
    cimbroker::RequestScope scope_{runtime};
};

constexpr uint32_t kReadRc = 0x0BAD0001;
constexpr CMPIrc kBrokerRc = CMPI_RC_ERR_INVALID_CLASS;
const string kRefused = "refused";
const string kNone = "<none>";  // a status without message
const string kNoStatus = "";    // a builder that returns a bare path
const string kTypeModel = "svpd/Raw_MachineTypeModel";

Arrange failRead(const string& key) {
    return [key](ModelTest& t) { t.failRegistry(key, kReadRc); };
}
Arrange brokerFails(const string& service, int nth = 1) {
    return [=](ModelTest& t) { t.probe.failNth(service, nth, kBrokerRc, kRefused); };
}
Arrange brokerGivesNull(const string& service, int nth = 1) {
    return [=](ModelTest& t) { t.probe.nullNth(service, nth); };
}

const BuildCase kCases[] = {
    // clang-format off
    // Each builder whole, with the identity reads it makes.
    {"CecPath", CecPath, nullptr, 0, kNoStatus, kCec, 0, {}, 1},
    {"CecInstance", CecInstance, nullptr, 0, kNone, kCecInstance, 0, {}, 2},
    {"TovPath", TovPath, nullptr, 0, kNoStatus, kTov, 0, {}, 1},
    {"TovInstance", TovInstance, nullptr, 0, kNone, kTovInstance, 0, {}, 2},
    {"AssocPath", AssocPath, nullptr, 0, kNone, kAssocWhole, 0, {}, 2},
    {"AssocInstance", AssocInstance, nullptr, 0, kNone, kAssocWhole.substr(kAssocWhole.find('{')), 0, {}, 4},
    {"PkgPath", PkgPath, nullptr, 0, kNoStatus, kPkg, 0, {}, 1},
    {"PkgInstance", PkgInstance, nullptr, 0, kNone, kPkgInstance, 0, {}, 2},
    {"PhysPkgPath", PhysPkgPath, nullptr, 0, kNone, kPhysWhole, 0, {}, 2},
    {"PhysPkgInstance", PhysPkgInstance, nullptr, 0, kNone, kPhysWhole.substr(kPhysWhole.find('{')), 0, {}, 4},

    // Managed system path: a failed read is committed here; a broker status is reported as is.
    {"CecPath_IdentityRead", CecPath, failRead(kTypeModel), 1, kNoStatus, "", 1, {"newObjectPath", "UtilReg::read svpd/Raw_MachineSerialNumber"}},
    {"CecPath_NewObjectPathFails", CecPath, brokerFails("newObjectPath"), kBrokerRc, kNoStatus, "", 0, {"addKey"}},
    {"CecPath_NewObjectPathNull", CecPath, brokerGivesNull("newObjectPath"), 1, kNoStatus, "", 0, {"addKey"}},
    {"CecPath_AddKeyIgnored", CecPath, brokerFails("addKey:UUID"), 0, kNoStatus, without(kCec, "UUID=0,"), 0, {}},

    // Managed system instance: every reader failure ends the build before the next reader.
    {"CecInstance_IdentityRead", CecInstance, failRead(kTypeModel), 1, kNone, "", 1, {"UtilReg::read fstp/eth0_ipaddress", "newObjectPath"}},
    {"CecInstance_Eth0Read", CecInstance, failRead("fstp/eth0_ipaddress"), 1, kNone, "", 1, {"UtilReg::read fstp/eth1_ipaddress", "UtilReg::read fstp/SystemName"}},
    {"CecInstance_NameRead", CecInstance, failRead("fstp/SystemName"), 1, kNone, "", 1, {"newObjectPath"}},
    {"CecInstance_NoPath", CecInstance, brokerGivesNull("newObjectPath"), 1, kNone, "", 0, {"newInstance"}},
    {"CecInstance_NewInstanceFails", CecInstance, brokerFails("newInstance"), kBrokerRc, kRefused, "", 0, {"newArray"}},
    {"CecInstance_NewArrayFails", CecInstance, brokerFails("newArray"), kBrokerRc, kRefused, "", 0, {"setProperty"}},
    {"CecInstance_NewArrayNull", CecInstance, brokerGivesNull("newArray"), 1, kNone, "", 0, {"setProperty"}},
    {"CecInstance_SetPropertyIgnored", CecInstance, brokerFails("setProperty:State"), 0, kNone, without(kCecInstance, "State=uint8:1,"), 0, {}},

    // Passthrough service: the path builder asks for no status, the instance checks every property.
    {"TovPath_IdentityRead", TovPath, failRead(kTypeModel), 1, kNoStatus, "", 1, {"newObjectPath"}},
    {"TovPath_NewObjectPathFails", TovPath, brokerFails("newObjectPath"), 1, kNoStatus, "", 0, {"addKey"}},
    {"TovPath_AddKeyIgnored", TovPath, brokerFails("addKey:Name"), 0, kNoStatus, without(kTov, "Name=9119MHE*10ABCDE,"), 0, {}},
    {"TovInstance_IdentityRead", TovInstance, failRead(kTypeModel), 1, kNone, "", 1, {"newObjectPath"}},
    {"TovInstance_NameRefused", TovInstance, brokerFails("setProperty:Name"), kBrokerRc, kRefused, "", 0, {"setProperty:SystemCreationClassName", "setProperty:SystemName"}},

    // Service association: the path is handed out as soon as the broker made it.
    {"AssocPath_NewObjectPathFails", AssocPath, brokerFails("newObjectPath"), kBrokerRc, kRefused, "", 0, {"addKey"}},
    {"AssocPath_NoServicePath", AssocPath, failRead(kTypeModel), 1, kNone, "root/orvcim:Vesk_AssociatedTOvPassthru{}", 1, {"addKey"}},
    {"AssocPath_NoSystemPath", AssocPath, brokerGivesNull("newObjectPath", 3), 1, kNone, kAssoc, 0, {"addKey:UserOfService"}},
    {"AssocPath_UserKeyRefused", AssocPath, brokerFails("addKey:UserOfService"), kBrokerRc, kRefused, kAssoc, 0, {}},
    {"AssocInstance_PathFails", AssocInstance, failRead(kTypeModel), 1, kNone, "", 1, {"newInstance"}},
    {"AssocInstance_NewInstanceFails", AssocInstance, brokerFails("newInstance"), kBrokerRc, kRefused, "", 0, {"setProperty"}},
    {"AssocInstance_NoServicePath", AssocInstance, brokerGivesNull("newObjectPath", 4), 1, kNone, "", 0, {"setProperty"}},
    {"AssocInstance_UserRefused", AssocInstance, brokerFails("setProperty:UserOfService"), kBrokerRc, kRefused, "", 0, {}},

    // Physical package: identity failures are committed where the identity is read.
    {"PkgPath_IdentityRead", PkgPath, failRead(kTypeModel), 1, kNoStatus, "", 1, {"newObjectPath"}},
    {"PkgPath_NewObjectPathFails", PkgPath, brokerFails("newObjectPath"), kBrokerRc, kNoStatus, "", 0, {"addKey"}},
    {"PkgPath_NewObjectPathNull", PkgPath, brokerGivesNull("newObjectPath"), 1, kNoStatus, "", 0, {"addKey"}},
    {"PkgInstance_IdentityRead", PkgInstance, failRead(kTypeModel), 1, kNone, "", 1, {"newObjectPath"}},
    {"PkgInstance_SetPropertyIgnored", PkgInstance, brokerFails("setProperty:Model"), 0, kNone, without(kPkgInstance, "Model=MHE,"), 0, {}},
    {"PhysPkgPath_NoPackagePath", PhysPkgPath, failRead(kTypeModel), 1, kNone, "root/orvcim:Vesk_AssocCECPhysPkg{}", 1, {"addKey"}},
    {"PhysPkgPath_NoSystemPath", PhysPkgPath, brokerGivesNull("newObjectPath", 3), 1, kNone, kPhys, 0, {"addKey:Dependent"}},
    {"PhysPkgPath_DependentRefused", PhysPkgPath, brokerFails("addKey:Dependent"), kBrokerRc, kRefused, kPhys, 0, {}},
    {"PhysPkgInstance_PathFails", PhysPkgInstance, failRead(kTypeModel), 1, kNone, "", 1, {"newInstance"}},
    {"PhysPkgInstance_NewInstanceNull", PhysPkgInstance, brokerGivesNull("newInstance"), 1, kNone, "", 0, {"setProperty"}},
    {"PhysPkgInstance_AntecedentRefused", PhysPkgInstance, brokerFails("setProperty:Antecedent"), kBrokerRc, kRefused, "", 0, {"setProperty:Dependent"}},
    // clang-format on
};

TEST_P(ModelTest, BuilderLeavesTheCallerWhatItsContractSays) {
    const BuildCase& c = GetParam();
    if (c.arrange) {
        c.arrange(*this);
    }
    cimptest::Capture capture;

    const Outcome out = c.builder(runtime.broker(), capture);

    EXPECT_EQ(out.rc, c.rc);
    EXPECT_EQ(out.message, c.message);
    EXPECT_EQ(out.rendered, c.rendered);
    expectCommitted(capture, c.committedEntries);
    const std::vector<string> platformCalls = capture.calls();
    for (const string& name : c.notCalled) {
        EXPECT_EQ(std::count(platformCalls.begin(), platformCalls.end(), name), 0) << name;
        EXPECT_EQ(probe.count(name), 0u) << name;
    }
    if (c.identityReads >= 0) {
        EXPECT_EQ(
            std::count(platformCalls.begin(), platformCalls.end(), "UtilReg::read " + kTypeModel),
            c.identityReads);
    }
}

INSTANTIATE_TEST_SUITE_P(Model, ModelTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return string(info.param.name); });

}  // namespace
