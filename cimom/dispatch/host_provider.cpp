#include "cimom/dispatch/host_provider.h"

#include <algorithm>
#include <utility>

namespace cimhost {
namespace {

Status keptByNone(const std::string& className) {
    return Status::notSupported("no provider serves instances of " + className);
}

}  // namespace

bool HostProvider::keeps(const std::string&) const {
    return false;
}

Status HostProvider::create(const CMPIBroker*, const InstanceValue& instance, ObjectName&) const {
    return keptByNone(instance.className);
}

Status HostProvider::modify(const CMPIBroker*, const ObjectName& name, const InstanceValue&,
                            const std::optional<std::vector<std::string>>&) const {
    return keptByNone(name.className);
}

Status HostProvider::remove(const ObjectName& name) const {
    return keptByNone(name.className);
}

HostProviderSet::HostProviderSet(std::vector<const HostProvider*> providers)
    : providers_(std::move(providers)) {}

Status HostProviderSet::instancesOf(const CMPIBroker* broker, const std::string& className,
                                    std::vector<CMPIInstance*>& out) const {
    for (const HostProvider* provider : providers_) {
        const Status status = provider->instancesOf(broker, className, out);
        if (!status.isOk()) {
            return status;
        }
    }
    return Status::ok();
}

const HostProvider* HostProviderSet::keeper(const std::string& className) const {
    const auto found =
        std::find_if(providers_.begin(), providers_.end(),
                     [&className](const HostProvider* p) { return p->keeps(className); });
    return found == providers_.end() ? nullptr : *found;
}

bool HostProviderSet::keeps(const std::string& className) const {
    return keeper(className) != nullptr;
}

Status HostProviderSet::create(const CMPIBroker* broker, const InstanceValue& instance,
                               ObjectName& made) const {
    const HostProvider* provider = keeper(instance.className);
    return provider != nullptr ? provider->create(broker, instance, made)
                               : HostProvider::create(broker, instance, made);
}

Status HostProviderSet::modify(const CMPIBroker* broker, const ObjectName& name,
                               const InstanceValue& instance,
                               const std::optional<std::vector<std::string>>& propertyList) const {
    const HostProvider* provider = keeper(name.className);
    return provider != nullptr ? provider->modify(broker, name, instance, propertyList)
                               : HostProvider::modify(broker, name, instance, propertyList);
}

Status HostProviderSet::remove(const ObjectName& name) const {
    const HostProvider* provider = keeper(name.className);
    return provider != nullptr ? provider->remove(name) : HostProvider::remove(name);
}

}  // namespace cimhost
