#include "cimom/indication/lifecycle_indication.h"

#include "broker/cmpi_read.h"

namespace cimhost {
namespace {

void setText(CMPIInstance* indication, const char* name, const std::string& text) {
    indication->ft->setProperty(indication, name, reinterpret_cast<const CMPIValue*>(text.c_str()),
                                CMPI_chars);
}

void setInstance(CMPIInstance* indication, const char* name, const CMPIInstance* value) {
    CMPIValue held{};
    held.inst = const_cast<CMPIInstance*>(value);  // CMPIValue has no const member; only read
    indication->ft->setProperty(indication, name, &held, CMPI_instance);
}

}  // namespace

const char* lifecycleClassName(const LifecycleChange& change) {
    if (change.now == nullptr) {
        return "CIM_InstDeletion";
    }
    return change.before ? "CIM_InstModification" : "CIM_InstCreation";
}

const CMPIInstance* lifecycleIndication(const CMPIBroker* broker, const std::string& nameSpace,
                                        const LifecycleChange& change,
                                        const std::string& identifier) {
    CMPIObjectPath* path =
        broker->eft->newObjectPath(broker, nameSpace.c_str(), lifecycleClassName(change), nullptr);
    CMPIInstance* indication =
        path == nullptr ? nullptr : broker->eft->newInstance(broker, path, nullptr);
    if (indication == nullptr) {
        return nullptr;
    }
    setText(indication, "IndicationIdentifier", identifier);
    CMPIValue now{};
    now.dateTime = broker->eft->newDateTime(broker, nullptr);
    indication->ft->setProperty(indication, "IndicationTime", &now, CMPI_dateTime);
    const CMPIInstance* source = change.now != nullptr ? change.now : change.before.get();
    if (source != nullptr) {
        setInstance(indication, "SourceInstance", source);
        setText(indication, "SourceInstanceModelPath",
                cimbroker::pathToString(source->ft->getObjectPath(source, nullptr)));
    }
    if (change.now != nullptr && change.before) {
        setInstance(indication, "PreviousInstance", change.before.get());
    }
    return indication;
}

}  // namespace cimhost
