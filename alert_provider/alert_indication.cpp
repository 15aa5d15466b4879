#include "alert_provider/alert_indication.h"

#include <cmpimacs.h>

#include <cinttypes>
#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "alert_provider/alert_classification.h"
#include "model/cec_path.h"
#include "model/chars_value.h"
#include "model/cim_namespace.h"
#include "model/instance_of_path.h"

namespace {

constexpr char kProviderName[] = "Vesk_AlertIndicationProvider";
constexpr char kOwningEntity[] = "Vesk";
// One message per way the system is named: by the identity read now, read last, or not at all.
constexpr char kMessageId[] = "VESK0001";
constexpr char kMessageIdLastIdentity[] = "VESK0002";
constexpr char kMessageIdNoIdentity[] = "VESK0003";
constexpr char kOtherAlertType[] = "Error-log entry of unknown origin";
constexpr char kDescription[] = "An entry was committed to the service processor's error log.";
// CIM_AlertIndication.AlertingElementFormat
constexpr uint16_t kFormatCimObjectPath = 2;

std::string printed(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string printed(const char* format, ...) {
    char text[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

// What the message names the failed call by: "UtilReg::read of svpd/Raw_MachineSerialNumber".
std::string callText(const ErrlCommittedEntry& entry) {
    if (entry.call.empty()) {
        return "an unknown platform call";
    }
    return entry.call + (entry.key.empty() ? "" : " of " + entry.key);
}

class AlertBuilder {
  public:
    AlertBuilder(const CMPIBroker* broker, CMPIInstance* instance)
        : broker_(broker), instance_(instance) {}

    void chars(const char* name, const std::string& text) {
        CMSetProperty(instance_, name, cimpCharsValue(text.c_str()), CMPI_chars);
    }
    template <typename T>
    void number(const char* name, T number, CMPIType type) {
        CMPIValue value;
        store(value, number);
        CMSetProperty(instance_, name, &value, type);
    }
    void time(const char* name, uint64_t nanos) {
        CMPIValue value;
        value.dateTime = CMNewDateTimeFromBinary(broker_, nanos / 1000u, 0, nullptr);
        if (value.dateTime != nullptr) {
            CMSetProperty(instance_, name, &value, CMPI_dateTime);
        }
    }
    void texts(const char* name, const std::vector<std::string>& texts) {
        CMPIValue value;
        value.array = CMNewArray(broker_, static_cast<CMPICount>(texts.size()), CMPI_string, nullptr);
        if (value.array == nullptr) {
            return;
        }
        for (size_t i = 0; i < texts.size(); ++i) {
            CMPIValue element;
            element.string = CMNewString(broker_, texts[i].c_str(), nullptr);
            CMSetArrayElementAt(value.array, static_cast<CMPICount>(i), &element, CMPI_string);
        }
        CMSetProperty(instance_, name, &value, CMPI_stringA);
    }

  private:
    static void store(CMPIValue& value, uint16_t number) { value.uint16 = number; }
    static void store(CMPIValue& value, uint32_t number) { value.uint32 = number; }
    static void store(CMPIValue& value, uint64_t number) { value.uint64 = number; }
    static void store(CMPIValue& value, int64_t number) { value.sint64 = number; }

    const CMPIBroker* broker_;
    CMPIInstance* instance_;
};

void setClassification(AlertBuilder& alert, const ErrlCommittedEntry& entry) {
    const CimpAlertClassification classification = cimpClassifyEntry(entry);
    alert.number("AlertType", classification.alertType, CMPI_uint16);
    if (entry.call.empty()) {
        alert.chars("OtherAlertType", kOtherAlertType);
    }
    alert.number("PerceivedSeverity", classification.severity, CMPI_uint16);
    alert.number("ProbableCause", classification.probableCause, CMPI_uint16);
    alert.chars("ProbableCauseDescription",
                printed("%s failed with return code 0x%08X", callText(entry).c_str(), entry.rc));
}

void setMessage(AlertBuilder& alert, const ErrlCommittedEntry& entry,
                const CimpIdentityReading& identity) {
    const std::string rc = printed("0x%08X", entry.rc);
    const std::string words = printed("0x%04X,0x%04X", entry.words[0], entry.words[1]);
    const std::string number = std::to_string(entry.number);
    const std::string pid = std::to_string(entry.pid);
    std::string message = "Error-log entry " + number + ": " + callText(entry) +
                          " failed with return code " + rc + "; committed with " + words +
                          " by process " + pid + ".";
    const char* id = kMessageId;
    if (!identity.current) {
        message += identity.known ? " The machine identity could not be read; the system is "
                                    "named by the identity read last."
                                  : " The machine identity could not be read; the system is "
                                    "not named.";
        id = identity.known ? kMessageIdLastIdentity : kMessageIdNoIdentity;
    }
    alert.chars("OwningEntity", kOwningEntity);
    alert.chars("MessageID", id);
    alert.chars("Message", message);
    alert.texts("MessageArguments", {number, entry.call, entry.key, rc, words, pid});
}

void setSystem(const CMPIBroker* broker, AlertBuilder& alert, const CimpMtms_t& mtms) {
    alert.chars("SystemCreationClassName", kCimpCecClassName);
    alert.chars("SystemName", mtms.mtmsDashed);
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    CMPIObjectPath* cec = cimpCECObjectPathOf(broker, mtms, status);
    CMPIString* text = cec != nullptr ? CDToString(broker, cec, nullptr) : nullptr;
    if (text != nullptr && text->hdl != nullptr) {
        alert.chars("AlertingManagedElement", static_cast<const char*>(text->hdl));
        alert.number("AlertingElementFormat", kFormatCimObjectPath, CMPI_uint16);
    }
}

void setEntryFields(AlertBuilder& alert, const ErrlCommittedEntry& entry) {
    alert.number("ErrlEntryNumber", entry.number, CMPI_uint64);
    alert.number("ErrlReturnCode", entry.rc, CMPI_uint32);
    alert.number("ErrlSeverity", entry.words[0], CMPI_uint16);
    alert.number("ErrlActions", entry.words[1], CMPI_uint16);
    if (!entry.call.empty()) {
        alert.chars("ErrlCall", entry.call);
        alert.chars("ErrlKey", entry.key);
    }
    alert.number("ErrlProcessID", entry.pid, CMPI_sint64);
}

}  // namespace

CMPIInstance* cimpMakeAlertIndication(const CMPIBroker* broker, const ErrlCommittedEntry& entry,
                                      const CimpIdentityReading& identity, CMPIStatus& status) {
    CMPIObjectPath* path = CMNewObjectPath(broker, kCimpNamespace, kCimpAlertClassName, &status);
    if (status.rc != CMPI_RC_OK) {
        return nullptr;
    }
    CMPIInstance* instance = cimpNewInstanceOfPath(broker, path, status);
    if (instance == nullptr) {
        return nullptr;
    }
    AlertBuilder alert(broker, instance);
    alert.chars("IndicationIdentifier",
                printed("Vesk:errl:%" PRIu64 ":%" PRIu64, entry.number, entry.committedNanos / 1000u));
    alert.time("IndicationTime", entry.committedNanos);
    alert.chars("Description", kDescription);
    alert.chars("ProviderName", kProviderName);
    setClassification(alert, entry);
    if (identity.known) {
        setSystem(broker, alert, identity.mtms);
    }
    setMessage(alert, entry, identity);
    setEntryFields(alert, entry);
    return instance;
}
