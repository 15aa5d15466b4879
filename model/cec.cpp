#include "model/cec.h"

#include <cmpimacs.h>

#include <cstdint>

#include "model/cec_path.h"
#include "model/chars_value.h"
#include "model/errl_commit.h"
#include "model/instance_of_path.h"
#include "platform/errl_entry.h"
#include "platform/trace_point.h"
#include "sysdata/ip_addrs.h"
#include "sysdata/mtms.h"
#include "sysdata/user_defined_name.h"

namespace {

constexpr CMPIUint16 kDedicatedValue = 14;
constexpr CMPIUint8 kStateValue = 1;
constexpr std::size_t kUserDefNameSize = 32;

// The three readers in order; the first failure ends the reading, so later readers are not asked.
ErrlEntry* readInstanceData(CimpMtms_t& mtms, CimpIpAddr_t& addrs,
                            char (&userDefName)[kUserDefNameSize]) {
    ErrlEntry* entry = cimpGetMtms(mtms);
    if (entry != nullptr) {
        CIMP_TRACE(" %X", "CIMP_getCECInstance: identity read failed rc=0x%X", entry->getRC());
        return entry;
    }
    entry = cimpGetIpAddrs(addrs);
    if (entry != nullptr) {
        CIMP_TRACE(" %X", "CIMP_getCECInstance: address read failed rc=0x%X", entry->getRC());
        return entry;
    }
    entry = CIMP_getCEC_UserDefName(userDefName);
    if (entry != nullptr) {
        CIMP_TRACE(" %X", "CIMP_getCECInstance: user-defined name read failed rc=0x%X",
                   entry->getRC());
    }
    return entry;
}

// The instance with its ten properties, or null with `status` saying why. The statuses of
// setElementAt and setProperty are not examined: the instance is handed out as far as it was
// built. A null path is already traced by the path builder, a broker refusal of newInstance is
// passed out as it came.
CMPIInstance* makeInstance(const CMPIBroker* broker, const CimpMtms_t& mtms,
                           const CimpIpAddr_t& addrs, const char* userDefName, CMPIStatus& status) {
    CMPIObjectPath* path = CIMP_getCECObjectPath(broker);
    CMPIInstance* instance = cimpNewInstanceOfPath(broker, path, status);
    if (instance == nullptr) {
        return nullptr;
    }
    CMPIArray* dedicated = CMNewArray(broker, 1, CMPI_uint16, &status);
    if (status.rc != CMPI_RC_OK) {
        CIMP_TRACE(" %X", "CIMP_getCECInstance: newArray failed rc=0x%X",
                   static_cast<uint32_t>(status.rc));
        return nullptr;
    }
    if (dedicated == nullptr) {
        CIMP_TRACE(" %X", "CIMP_getCECInstance: newArray gave no array rc=0x%X",
                   static_cast<uint32_t>(CMPI_RC_ERR_FAILED));
        status.rc = CMPI_RC_ERR_FAILED;
        return nullptr;
    }

    CMPIValue value;
    value.uint16 = kDedicatedValue;
    CMSetArrayElementAt(dedicated, 0, &value, CMPI_uint16);
    value.array = dedicated;
    CMSetProperty(instance, "Dedicated", &value, CMPI_uint16A);
    value.boolean = 0;
    CMSetProperty(instance, "isOSContainer", &value, CMPI_boolean);
    CMSetProperty(instance, "PrimaryFSP_IP", cimpCharsValue(addrs.eth0Addr), CMPI_chars);
    CMSetProperty(instance, "BackupFSP_IP", cimpCharsValue(addrs.eth1Addr), CMPI_chars);
    value.uint8 = kStateValue;
    CMSetProperty(instance, "State", &value, CMPI_uint8);
    CMSetProperty(instance, "UserDefinedName", cimpCharsValue(userDefName), CMPI_chars);
    CMSetProperty(instance, "Name", cimpCharsValue(mtms.mtmsDashed), CMPI_chars);
    CMSetProperty(instance, "CreationClassName", cimpCharsValue(kCimpCecClassName), CMPI_chars);
    CMSetProperty(instance, "UUID", cimpCharsValue(kCimpCecUuid), CMPI_chars);
    CMSetProperty(instance, "MTMS", cimpCharsValue(mtms.mtmsDotted), CMPI_chars);
    return instance;
}

}  // namespace

CMPIObjectPath* CIMP_getCECObjectPath(const CMPIBroker* broker) {
    CIMP_TRACE(" ", "CIMP_getCECObjectPath: entry");
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    CMPIObjectPath* path = nullptr;

    CimpMtms_t mtms = {};
    ErrlEntry* entry = cimpGetMtms(mtms);
    if (entry != nullptr) {
        CIMP_TRACE(" %X", "CIMP_getCECObjectPath: identity read failed rc=0x%X", entry->getRC());
    } else {
        path = cimpCECObjectPathOf(broker, mtms, status);
    }

    if (entry != nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        cimpCommitAndDelete(entry);
    }
    CIMP_TRACE(" %X", "CIMP_getCECObjectPath: exit rc=0x%X", static_cast<uint32_t>(status.rc));
    return path;
}

void CIMP_getCECInstance(const CMPIBroker* broker, CMPIInstance*& instance, CMPIStatus* status) {
    CIMP_TRACE(" ", "CIMP_getCECInstance: entry");
    instance = nullptr;
    CMPIStatus local = {CMPI_RC_OK, nullptr};

    CimpMtms_t mtms = {};
    CimpIpAddr_t addrs = {};
    char userDefName[kUserDefNameSize] = {};
    ErrlEntry* entry = readInstanceData(mtms, addrs, userDefName);
    if (entry == nullptr) {
        instance = makeInstance(broker, mtms, addrs, userDefName, local);
    }

    if (entry != nullptr) {
        local.rc = CMPI_RC_ERR_FAILED;
        cimpCommitAndDelete(entry);
    }
    CIMP_TRACE(" %X", "CIMP_getCECInstance: exit rc=0x%X", static_cast<uint32_t>(local.rc));
    *status = local;
}
