#include "cimom/dispatch/interop_provider.h"

#include <initializer_list>
#include <utility>

#include "broker/text_case.h"

namespace cimhost {
namespace {

using cimbroker::equalsIgnoreCase;

constexpr const char* kSystemClass = "CIM_ComputerSystem";
constexpr const char* kObjectManagerClass = "CIM_ObjectManager";
constexpr const char* kObjectManagerName = "cimp-cimom";

// Makes one instance: string keys, then other properties set through `fill`.
class InstanceMaker {
  public:
    InstanceMaker(const CMPIBroker* broker, const std::string& nameSpace,
                  const std::string& className)
        : broker_(broker) {
        path_ = broker->eft->newObjectPath(broker, nameSpace.c_str(), className.c_str(), nullptr);
    }

    InstanceMaker& key(const char* name, const std::string& value) {
        if (path_ != nullptr) {
            path_->ft->addKey(path_, name, reinterpret_cast<const CMPIValue*>(value.c_str()),
                              CMPI_chars);
        }
        keys_.emplace_back(name, value);
        return *this;
    }

    // The instance with its keys and `strings` set, or null when the broker made none.
    CMPIInstance* make(const std::vector<std::pair<const char*, std::string>>& strings) {
        CMPIInstance* instance =
            path_ == nullptr ? nullptr : broker_->eft->newInstance(broker_, path_, nullptr);
        if (instance == nullptr) {
            return nullptr;
        }
        using Strings = std::vector<std::pair<const char*, std::string>>;
        for (const Strings* list : std::initializer_list<const Strings*>{&keys_, &strings}) {
            for (const auto& named : *list) {
                instance->ft->setProperty(instance, named.first,
                                          reinterpret_cast<const CMPIValue*>(named.second.c_str()),
                                          CMPI_chars);
            }
        }
        return instance;
    }

  private:
    const CMPIBroker* broker_;
    CMPIObjectPath* path_ = nullptr;
    std::vector<std::pair<const char*, std::string>> keys_;
};

void setUint16(CMPIInstance* instance, const char* name, CMPIUint16 number) {
    CMPIValue value{};
    value.uint16 = number;
    instance->ft->setProperty(instance, name, &value, CMPI_uint16);
}

}  // namespace

InteropProvider::InteropProvider(ServerFacts facts) : facts_(std::move(facts)) {}

Status InteropProvider::instancesOf(const CMPIBroker* broker, const std::string& className,
                                    std::vector<CMPIInstance*>& out) const {
    const std::string& ns = facts_.interopNamespace;
    std::vector<CMPIInstance*> made;
    if (equalsIgnoreCase(className, "CIM_Namespace")) {
        for (const std::string& served : facts_.namespaces) {
            InstanceMaker maker(broker, ns, "CIM_Namespace");
            maker.key("SystemCreationClassName", kSystemClass)
                .key("SystemName", facts_.systemName)
                .key("ObjectManagerCreationClassName", kObjectManagerClass)
                .key("ObjectManagerName", kObjectManagerName)
                .key("CreationClassName", "CIM_Namespace")
                .key("Name", served);
            CMPIInstance* instance = maker.make({{"ElementName", served}});
            if (instance != nullptr) {
                setUint16(instance, "ClassInfo", 0);
            }
            made.push_back(instance);
        }
    } else if (equalsIgnoreCase(className, kObjectManagerClass)) {
        InstanceMaker maker(broker, ns, kObjectManagerClass);
        maker.key("SystemCreationClassName", kSystemClass)
            .key("SystemName", facts_.systemName)
            .key("CreationClassName", kObjectManagerClass)
            .key("Name", kObjectManagerName);
        made.push_back(maker.make(
            {{"ElementName", kObjectManagerName},
             {"Description", std::string(kObjectManagerName) + " Version " + facts_.version}}));
    } else if (equalsIgnoreCase(className, "CIM_RegisteredProfile")) {
        for (const std::string& provider : facts_.providers) {
            InstanceMaker maker(broker, ns, "CIM_RegisteredProfile");
            maker.key("InstanceID", "cimp:" + provider);
            CMPIInstance* instance = maker.make({{"OtherRegisteredOrganization", "Vesk"},
                                                 {"RegisteredName", provider},
                                                 {"RegisteredVersion", facts_.version}});
            if (instance != nullptr) {
                setUint16(instance, "RegisteredOrganization", 1);  // Other
            }
            made.push_back(instance);
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
