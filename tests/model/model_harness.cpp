#include "tests/model/model_harness.h"

#include <cmpimacs.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "broker/cmpi_read.h"
#include "model/assoc_cec_phys_pkg.h"
#include "model/associated_tovpassthru.h"
#include "model/cec.h"
#include "model/cec_pkg.h"
#include "model/tovpassthru.h"

namespace cimptest {

namespace {

std::string describe(const CMPIData& data) {
    if ((data.state & CMPI_nullValue) != 0) {
        return "null";
    }
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
            std::string text = "uint16[";
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

std::string describe(const cimbroker::NamedData& values) {
    std::string text = "{";
    for (const auto& [name, data] : values) {
        text += (text.size() > 1 ? "," : "") + name + "=" + describe(data);
    }
    return text + "}";
}

std::string messageOf(const CMPIStatus& status) {
    return status.msg != nullptr ? cimbroker::toStdString(status.msg) : "<none>";
}

uint32_t exitTraceRc(const cimpsim::Capture& capture) {
    const std::vector<cimpsim::TraceRecord> traces = capture.traces();
    if (traces.empty() || traces.back().args.size() != 1) {
        ADD_FAILURE() << "no exit trace with one argument";
        return UINT32_MAX;
    }
    return static_cast<uint32_t>(std::strtoul(traces.back().args[0].c_str(), nullptr, 16));
}

Outcome fromPath(const CMPIObjectPath* path, const cimpsim::Capture& capture) {
    Outcome out;
    out.object = path != nullptr;
    out.rc = exitTraceRc(capture);
    out.rendered = render(path);
    return out;
}

template <typename Object>
Outcome fromStatus(const Object* object, const CMPIStatus& status,
                   const cimpsim::Capture& capture) {
    Outcome out;
    out.object = object != nullptr;
    out.rc = static_cast<uint32_t>(status.rc);
    out.message = messageOf(status);
    out.rendered = render(object);
    EXPECT_EQ(exitTraceRc(capture), out.rc) << "the exit trace reports the code handed out";
    return out;
}

}  // namespace

std::string render(const CMPIObjectPath* path) {
    if (path == nullptr) {
        return "";
    }
    return cimbroker::nameSpaceOf(path) + ":" + cimbroker::classNameOf(path) +
           describe(cimbroker::keysOf(path));
}

std::string render(const CMPIInstance* instance) {
    return instance != nullptr ? describe(cimbroker::propertiesOf(instance)) : "";
}

std::string expectedCecPath(const Identity& id) {
    return "root/orvcim:Vesk_CEC{Name=" + id.dashed() +
           ",CreationClassName=Vesk_CEC,UUID=0,MTMS=" + id.dotted() + "}";
}

std::string expectedTovPath(const Identity& id) {
    return "root/orvcim:Vesk_TOvPassthru{CreationClassName=Vesk_TOvPassthru,Name=" + id.compact() +
           ",SystemCreationClassName=Vesk_FSP,SystemName=" + id.compact() + "}";
}

std::string expectedPkgPath(const Identity& id) {
    return "root/orvcim:Vesk_CEC_Pkg{Tag=" + id.dashed() + ",CreationClassName=Vesk_CEC_Pkg}";
}

std::string expected(Builder builder, const Identity& id) {
    const std::string serviceAndUser =
        "ServiceProvided=" + expectedTovPath(id) + ",UserOfService=" + expectedCecPath(id) + "}";
    const std::string packageAndSystem =
        "Antecedent=" + expectedPkgPath(id) + ",Dependent=" + expectedCecPath(id) + "}";
    switch (builder) {
        case Builder::CecPath:
            return expectedCecPath(id);
        case Builder::CecInstance:
            return "{Dedicated=uint16[14],isOSContainer=bool:false,PrimaryFSP_IP=" +
                   std::string(example::kEth0) + ",BackupFSP_IP=" + example::kEth1 +
                   ",State=uint8:1,UserDefinedName=" + example::kSystemName +
                   ",Name=" + id.dashed() +
                   ",CreationClassName=Vesk_CEC,UUID=0,MTMS=" + id.dotted() + "}";
        case Builder::TovPath:
            return expectedTovPath(id);
        case Builder::TovInstance:
            return "{CreationClassName=Vesk_TOvPassthru,Name=" + id.compact() +
                   ",SystemCreationClassName=Vesk_FSP,SystemName=" + id.compact() + "}";
        case Builder::AssocPath:
            return "root/orvcim:Vesk_AssociatedTOvPassthru{" + serviceAndUser;
        case Builder::AssocInstance:
            return "{" + serviceAndUser;
        case Builder::PkgPath:
            return expectedPkgPath(id);
        case Builder::PkgInstance:
            return "{Tag=" + id.dashed() +
                   ",CreationClassName=Vesk_CEC_Pkg,VendorEquipmentType=" + id.type +
                   ",Model=" + id.model + ",SerialNumber=" + id.serialOut + ",Manufacturer=ORV}";
        case Builder::PhysPkgPath:
            return "root/orvcim:Vesk_AssocCECPhysPkg{" + packageAndSystem;
        case Builder::PhysPkgInstance:
            return "{" + packageAndSystem;
    }
    return "";
}

ModelTest::ModelTest() {
    writeExampleMachine();
    runtime.calls().enable(true);
}

void ModelTest::useIdentity(const Identity& id) {
    setRegistry("svpd/Raw_MachineTypeModel", id.typeModel);
    setRegistry("svpd/Raw_MachineSerialNumber", id.serial);
}

Outcome ModelTest::build(Builder builder, const cimpsim::Capture& capture) {
    const CMPIBroker* broker = runtime.broker();
    // Stale values the builders must overwrite on every path.
    int sentinel = 0;
    CMPIInstance* instance = reinterpret_cast<CMPIInstance*>(&sentinel);
    CMPIObjectPath* path = reinterpret_cast<CMPIObjectPath*>(&sentinel);
    CMPIStatus status = {CMPI_RC_ERR_NOT_SUPPORTED, CMNewString(broker, "stale", nullptr)};
    switch (builder) {
        case Builder::CecPath:
            return fromPath(CIMP_getCECObjectPath(broker), capture);
        case Builder::CecInstance:
            CIMP_getCECInstance(broker, instance, &status);
            return fromStatus(instance, status, capture);
        case Builder::TovPath:
            return fromPath(CIMP_getTOvPassthruObjectPath(broker), capture);
        case Builder::TovInstance:
            CIMP_getTOvPassthruInstance(broker, instance, &status);
            return fromStatus(instance, status, capture);
        case Builder::AssocPath:
            status = CIMP_getAssociatedTOvPassthruObjectPath(broker, path);
            return fromStatus(path, status, capture);
        case Builder::AssocInstance:
            status = CIMP_getAssociatedTOvPassthruInstance(broker, instance);
            return fromStatus(instance, status, capture);
        case Builder::PkgPath:
            return fromPath(CIMP_getCECPkgObjectPath(broker), capture);
        case Builder::PkgInstance:
            CIMP_getCECPkgInstance(broker, instance, &status);
            return fromStatus(instance, status, capture);
        case Builder::PhysPkgPath:
            status = CIMP_getVesk_AssocCECPhysPkgObjectPath(broker, path);
            return fromStatus(path, status, capture);
        case Builder::PhysPkgInstance:
            status = CIMP_getVesk_AssocCECPhysPkgInstance(broker, instance);
            return fromStatus(instance, status, capture);
    }
    return Outcome();
}

void expectCommittedAndDeleted(const cimpsim::Capture& capture, size_t expected) {
    using Kind = cimpsim::ErrlEvent::Kind;
    // One build runs on one thread, so each entry's three events follow one another.
    const std::vector<cimpsim::ErrlEvent> events = capture.errl();
    ASSERT_EQ(events.size(), 3 * expected);
    for (size_t i = 0; i < events.size(); i += 3) {
        EXPECT_EQ(events[i].kind, Kind::Created);
        EXPECT_EQ(events[i + 1].kind, Kind::Committed);
        EXPECT_EQ(events[i + 2].kind, Kind::Deleted);
        EXPECT_TRUE(events[i + 1].entry == events[i].entry &&
                    events[i + 2].entry == events[i].entry);
        EXPECT_EQ(events[i + 1].first, 0xd400);
        EXPECT_EQ(events[i + 1].second, 0x2000);
    }
}

}  // namespace cimptest
