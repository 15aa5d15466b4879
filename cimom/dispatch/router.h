// Router: carries out one decoded operation as a CIMOM does. Class and qualifier operations
// answer from the schema. ExecQuery evaluates WQL over the instances of the class the query
// names. Instance operations go to the provider of the class and, for enumerations, to the
// providers of its subclasses, each called with a path of its own class. Association operations
// go to the association providers whose classes can reference the source object's class, once
// per provider, with the client's filters passed through unchanged; on a class name they answer
// classes from the schema (ClassAssociations). Anything else is
// CIM_ERR_NOT_SUPPORTED. Classes no provider serves may be served by the host's own provider
// (the interop namespace): its instances join enumerations, queries and GetInstance, creations,
// modifications and deletions of the classes it keeps go to it, and its association instances
// answer the association operations on the objects they refer to.
//
// LocalOnly on instance operations is ignored, as DSP0200 lets a server do now that the flag is
// deprecated; qualifiers are never put on instances.
//
// Which providers serve which class's subclasses and associations is worked out once, when the
// router is made: fill the registry first. Thread-safe: route() only reads the schema, the
// registry and those tables; run each call inside its own RequestScope of the runtime, on the
// thread that made the scope.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "broker/broker_runtime.h"
#include "broker/cmpi_read.h"
#include "cimom/cim/namespace_schema.h"
#include "cimom/cim/operation.h"
#include "cimom/cim/reply.h"
#include "cimom/cim/status.h"
#include "cimom/dispatch/host_provider.h"
#include "cimom/dispatch/provider_registry.h"

namespace cimhost {

class Router {
  public:
    // `internal`, when given, serves the instances of classes no provider is bound to.
    Router(cimbroker::Runtime& runtime, const NamespaceSchema& schema,
           const ProviderRegistry& providers, const HostProvider* internal = nullptr);

    const NamespaceSchema& schema() const { return schema_; }

    Reply route(const Operation& op, const CMPIContext* context) const;

  private:
    // An association class whose provider association operations on an instance may go to.
    struct AssociationTarget {
        const cimmof::ResolvedClass* association;
        const Provider* provider;
    };
    // A subclass an enumeration of its superclass is also sent to.
    struct SubclassTarget {
        const std::string* className;
        const Provider* provider;
    };

    void bindTargets();
    // The provider of the instances of exactly `className`; null when none is bound.
    const Provider* instanceProvider(const std::string& className) const;
    bool knownClass(const std::string& className) const;
    Reply classOperation(const Operation& op) const;
    Reply qualifierOperation(const Operation& op) const;
    Reply execQuery(const Operation& op, const CMPIContext* context) const;
    Reply internalInstance(const std::string& className, const CMPIObjectPath* path) const;
    // The host's own instance at `path`, or null (with `status` failed when reading failed).
    const CMPIInstance* findInternal(const CMPIObjectPath* path, Status& status) const;
    // The host's own association instances that refer to `source`, or what they associate it
    // with, as `op` asks, added to `reply`.
    Status addInternalAssociations(const Operation& op, const CMPIObjectPath* source,
                                   Reply& reply) const;
    void addOtherEnds(const Operation& op, const cimbroker::BorrowedNamedData& ends,
                      std::string_view from, Reply& reply, Status& status) const;
    Reply internalChange(const Operation& op) const;
    Reply addInternalSubtree(const Operation& op, Reply reply) const;
    Reply enumerateInstances(const Operation& op, const CMPIContext* context) const;
    Reply getInstance(const Operation& op, const CMPIContext* context) const;
    Reply associationOperation(const Operation& op, const CMPIContext* context) const;
    std::vector<CMPIAssociationMI*> associationProviders(const std::string& source,
                                                         const std::string& assocFilter) const;
    Reply changeOperation(const Operation& op, const CMPIContext* context) const;

    cimbroker::Runtime& runtime_;
    const NamespaceSchema& schema_;
    const ProviderRegistry& providers_;
    // Only classes that have any; both in the schema's declaration order.
    std::unordered_map<const cimmof::ResolvedClass*, std::vector<AssociationTarget>>
        associationTargets_;
    std::unordered_map<const cimmof::ResolvedClass*, std::vector<SubclassTarget>> subclassTargets_;
    const HostProvider* internal_;
};

}  // namespace cimhost
