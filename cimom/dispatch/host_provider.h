// HostProvider: instances the host keeps itself rather than a loaded provider (those of the
// interop namespace). They are read through the broker like a provider's, for the calling
// thread's RequestScope; the classes a host provider keeps are also created, modified and
// deleted through it, from the request's plain values. HostProviderSet serves several as one.
//
// Thread-safe: any number of request threads call at once; an implementation guards what it
// keeps itself.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cimom/cim/operation.h"
#include "cimom/cim/status.h"
#include "cmpidt.h"
#include "cmpift.h"

namespace cimhost {

class HostProvider {
  public:
    virtual ~HostProvider() = default;

    // Adds the instances of exactly `className` (subclasses are asked for by name) to `out`;
    // none for a class this provider does not serve.
    virtual Status instancesOf(const CMPIBroker* broker, const std::string& className,
                               std::vector<CMPIInstance*>& out) const = 0;

    // Whether CreateInstance, ModifyInstance and DeleteInstance of exactly `className` come here.
    virtual bool keeps(const std::string& className) const;
    // The name of the instance made, in `made`.
    virtual Status create(const CMPIBroker* broker, const InstanceValue& instance,
                          ObjectName& made) const;
    // Only the properties `propertyList` names change, every property the class lets change
    // when it is nullopt.
    virtual Status modify(const CMPIBroker* broker, const ObjectName& name,
                          const InstanceValue& instance,
                          const std::optional<std::vector<std::string>>& propertyList) const;
    virtual Status remove(const ObjectName& name) const;
};

class HostProviderSet : public HostProvider {
  public:
    // Instances come from each provider in this order; changes go to the first that keeps the
    // class. The providers must outlive the set.
    explicit HostProviderSet(std::vector<const HostProvider*> providers);

    Status instancesOf(const CMPIBroker* broker, const std::string& className,
                       std::vector<CMPIInstance*>& out) const override;
    bool keeps(const std::string& className) const override;
    Status create(const CMPIBroker* broker, const InstanceValue& instance,
                  ObjectName& made) const override;
    Status modify(const CMPIBroker* broker, const ObjectName& name, const InstanceValue& instance,
                  const std::optional<std::vector<std::string>>& propertyList) const override;
    Status remove(const ObjectName& name) const override;

  private:
    // The first provider that keeps `className`; null when none does.
    const HostProvider* keeper(const std::string& className) const;

    const std::vector<const HostProvider*> providers_;
};

}  // namespace cimhost
