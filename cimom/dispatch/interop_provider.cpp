#include "cimom/dispatch/interop_provider.h"

#include <initializer_list>
#include <utility>

#include "base/text_case.h"

namespace cimhost {
namespace {

using cimp::equalsIgnoreCase;

constexpr const char* kSystemClass = "CIM_ComputerSystem";
constexpr const char* kObjectManagerClass = "CIM_ObjectManager";
constexpr const char* kObjectManagerName = "cimp-cimom";

using Strings = std::vector<std::pair<const char*, std::string>>;

// One instance of `className` with `keys` as its keys, and `keys`, `strings` and the uint16
// `number`, when named, as its properties; null when the broker made none.
CMPIInstance* newInstance(const CMPIBroker* broker, const std::string& nameSpace,
                          const char* className, const Strings& keys, const Strings& strings,
                          std::pair<const char*, CMPIUint16> number = {nullptr, 0}) {
    CMPIObjectPath* path =
        broker->eft->newObjectPath(broker, nameSpace.c_str(), className, nullptr);
    if (path == nullptr) {
        return nullptr;
    }
    for (const auto& key : keys) {
        path->ft->addKey(path, key.first, reinterpret_cast<const CMPIValue*>(key.second.c_str()),
                         CMPI_chars);
    }
    CMPIInstance* instance = broker->eft->newInstance(broker, path, nullptr);
    if (instance == nullptr) {
        return nullptr;
    }
    for (const Strings* list : {&keys, &strings}) {
        for (const auto& named : *list) {
            instance->ft->setProperty(instance, named.first,
                                      reinterpret_cast<const CMPIValue*>(named.second.c_str()),
                                      CMPI_chars);
        }
    }
    if (number.first != nullptr) {
        CMPIValue value{};
        value.uint16 = number.second;
        instance->ft->setProperty(instance, number.first, &value, CMPI_uint16);
    }
    return instance;
}

}  // namespace

InteropProvider::InteropProvider(ServerFacts facts) : facts_(std::move(facts)) {}

Status InteropProvider::instancesOf(const CMPIBroker* broker, const std::string& className,
                                    std::vector<CMPIInstance*>& out) const {
    const std::string& ns = facts_.interopNamespace;
    std::vector<CMPIInstance*> made;
    if (equalsIgnoreCase(className, "CIM_Namespace")) {
        for (const std::string& served : facts_.namespaces) {
            made.push_back(newInstance(broker, ns, "CIM_Namespace",
                                       {{"SystemCreationClassName", kSystemClass},
                                        {"SystemName", facts_.systemName},
                                        {"ObjectManagerCreationClassName", kObjectManagerClass},
                                        {"ObjectManagerName", kObjectManagerName},
                                        {"CreationClassName", "CIM_Namespace"},
                                        {"Name", served}},
                                       {{"ElementName", served}}, {"ClassInfo", 0}));
        }
    } else if (equalsIgnoreCase(className, kObjectManagerClass)) {
        made.push_back(newInstance(
            broker, ns, kObjectManagerClass,
            {{"SystemCreationClassName", kSystemClass},
             {"SystemName", facts_.systemName},
             {"CreationClassName", kObjectManagerClass},
             {"Name", kObjectManagerName}},
            {{"ElementName", kObjectManagerName},
             {"Description", std::string(kObjectManagerName) + " Version " + facts_.version}}));
    } else if (equalsIgnoreCase(className, "CIM_RegisteredProfile")) {
        for (const std::string& provider : facts_.providers) {
            made.push_back(newInstance(broker, ns, "CIM_RegisteredProfile",
                                       {{"InstanceID", "cimp:" + provider}},
                                       {{"OtherRegisteredOrganization", "Vesk"},
                                        {"RegisteredName", provider},
                                        {"RegisteredVersion", facts_.version}},
                                       {"RegisteredOrganization", 1}));  // Other
        }
    }
    for (CMPIInstance* instance : made) {
        if (instance == nullptr) {
            return Status::failed("the broker made no instance");
        }
        out.push_back(instance);
    }
    return Status::ok();
}

}  // namespace cimhost
