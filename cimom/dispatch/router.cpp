#include "cimom/dispatch/router.h"

#include <algorithm>
#include <utility>

#include "base/text_case.h"
#include "broker/cmpi_read.h"
#include "cimom/dispatch/class_associations.h"
#include "cimom/dispatch/instance_query_source.h"
#include "cimom/query/wql_evaluator.h"
#include "cimom/query/wql_parser.h"
#include "cimom/wire/request_objects.h"

namespace cimhost {
namespace {

using cimp::equalsIgnoreCase;
using K = OperationKind;

// The client's PropertyList as CMPI wants it: a NULL-terminated array, or null for "all".
class PropertyArgument {
  public:
    explicit PropertyArgument(const std::optional<std::vector<std::string>>& list) {
        if (list) {
            for (const std::string& name : *list) {
                pointers_.push_back(name.c_str());
            }
            pointers_.push_back(nullptr);
        }
    }
    const char** get() { return pointers_.empty() ? nullptr : pointers_.data(); }

  private:
    std::vector<const char*> pointers_;
};

const char* nullIfEmpty(const std::string& text) {
    return text.empty() ? nullptr : text.c_str();
}

// Makes one provider call, `call(result)`, and takes what it returned into the reply; false when
// the call failed.
template <typename Call>
bool collect(cimbroker::Runtime& runtime, Reply& reply, Call call) {
    auto result = std::make_unique<cimbroker::Result>(runtime);
    const CMPIStatus rc = call(result->cmpi());
    if (rc.rc != CMPI_RC_OK) {
        reply.status = Status::fromCmpi(rc);
        return false;
    }
    for (const CMPIInstance* instance : result->instances()) {
        reply.instances.push_back(instance);
    }
    for (const CMPIObjectPath* path : result->objectPaths()) {
        reply.paths.push_back(path);
    }
    reply.results.push_back(std::move(result));
    return true;
}

Reply failure(Status status) {
    Reply reply;
    reply.status = std::move(status);
    return reply;
}

bool samePath(const CMPIObjectPath* a, const CMPIObjectPath* b);

// Whether two key values are equal: references name the same object wherever the paths say it
// lives, anything else as text.
bool sameKeyValue(const CMPIData& a, const CMPIData& b) {
    if (a.type == CMPI_ref && b.type == CMPI_ref) {
        return samePath(a.value.ref, b.value.ref);
    }
    return cimbroker::dataToString(a) == cimbroker::dataToString(b);
}

// Whether two paths have the same keys: names without regard to case.
bool sameKeys(const CMPIObjectPath* a, const CMPIObjectPath* b) {
    const cimbroker::NamedData left = cimbroker::keysOf(a);
    const cimbroker::NamedData right = cimbroker::keysOf(b);
    return left.size() == right.size() &&
           std::all_of(left.begin(), left.end(), [&](const auto& key) {
               return std::any_of(right.begin(), right.end(), [&](const auto& other) {
                   return equalsIgnoreCase(key.first, other.first) &&
                          sameKeyValue(key.second, other.second);
               });
           });
}

// Whether two paths name the same object, whatever host and namespace they give.
bool samePath(const CMPIObjectPath* a, const CMPIObjectPath* b) {
    return a != nullptr && b != nullptr &&
           equalsIgnoreCase(cimbroker::borrowClassName(a), cimbroker::borrowClassName(b)) &&
           sameKeys(a, b);
}

// Whether `name` passes a Role or ResultRole filter (empty: any).
bool roleMatches(const std::string& filter, std::string_view name) {
    return filter.empty() || equalsIgnoreCase(filter, name);
}

Status invalidQuery(const cimquery::QueryError& error) {
    return Status::withCode(CimCode::InvalidQuery, error.describe());
}

// One association provider's answer to the association operation `op` on `path`.
CMPIStatus callAssociationMI(CMPIAssociationMI* mi, const Operation& op, const CMPIContext* context,
                             const CMPIResult* out, const CMPIObjectPath* path) {
    PropertyArgument properties(op.propertyList);
    switch (op.kind) {
        case OperationKind::Associators:
            return mi->ft->associators(mi, context, out, path, nullIfEmpty(op.assocClass),
                                       nullIfEmpty(op.resultClass), nullIfEmpty(op.role),
                                       nullIfEmpty(op.resultRole), properties.get());
        case OperationKind::AssociatorNames:
            return mi->ft->associatorNames(mi, context, out, path, nullIfEmpty(op.assocClass),
                                           nullIfEmpty(op.resultClass), nullIfEmpty(op.role),
                                           nullIfEmpty(op.resultRole));
        case OperationKind::References:
            return mi->ft->references(mi, context, out, path, nullIfEmpty(op.resultClass),
                                      nullIfEmpty(op.role), properties.get());
        default:
            return mi->ft->referenceNames(mi, context, out, path, nullIfEmpty(op.resultClass),
                                          nullIfEmpty(op.role));
    }
}

void setInvocationFlags(const CMPIContext* context, const Operation& op) {
    CMPIValue flags{};
    flags.uint32 = (op.localOnly ? CMPI_FLAG_LocalOnly : 0) |
                   (op.deepInheritance ? CMPI_FLAG_DeepInheritance : 0) |
                   (op.includeQualifiers ? CMPI_FLAG_IncludeQualifiers : 0) |
                   (op.includeClassOrigin ? CMPI_FLAG_IncludeClassOrigin : 0);
    context->ft->addEntry(context, CMPIInvocationFlags, &flags, CMPI_uint32);
}

}  // namespace

Router::Router(cimbroker::Runtime& runtime, const NamespaceSchema& schema,
               const ProviderRegistry& providers, const HostProvider* internal)
    : runtime_(runtime), schema_(schema), providers_(providers), internal_(internal) {
    bindTargets();
}

void Router::bindTargets() {
    for (const cimmof::ResolvedClass* cls : schema_.classes.classes()) {
        for (const cimmof::ClassDecl* association : cls->associations) {
            const ClassBinding* binding = providers_.find(schema_.nameSpace, association->name);
            if (binding != nullptr && binding->association) {
                associationTargets_[cls].push_back(
                    {schema_.classes.resolve(association->name), binding->provider});
            }
        }
        for (const std::string& sub : cls->allSubclasses) {
            if (const Provider* provider = instanceProvider(sub)) {
                subclassTargets_[cls].push_back({&sub, provider});
            }
        }
    }
}

const Provider* Router::instanceProvider(const std::string& className) const {
    const ClassBinding* binding = providers_.find(schema_.nameSpace, className);
    return binding != nullptr && binding->instance ? binding->provider : nullptr;
}

bool Router::knownClass(const std::string& className) const {
    return schema_.classes.find(className) != nullptr ||
           providers_.find(schema_.nameSpace, className) != nullptr;
}

Reply Router::route(const Operation& op, const CMPIContext* context) const {
    if (op.extrinsic || op.kind == K::Unsupported) {
        return failure(Status::notSupported(op.method + " is not supported"));
    }
    if (!equalsIgnoreCase(op.nameSpace, schema_.nameSpace)) {
        return failure(Status::invalidNamespace(op.nameSpace));
    }
    setInvocationFlags(context, op);
    switch (op.kind) {
        case K::GetClass:
        case K::EnumerateClasses:
        case K::EnumerateClassNames:
            return classOperation(op);
        case K::EnumerateInstances:
        case K::EnumerateInstanceNames:
            return enumerateInstances(op, context);
        case K::GetInstance:
            return getInstance(op, context);
        case K::Associators:
        case K::AssociatorNames:
        case K::References:
        case K::ReferenceNames:
            return associationOperation(op, context);
        case K::GetQualifier:
        case K::EnumerateQualifiers:
            return qualifierOperation(op);
        case K::ExecQuery:
            return execQuery(op, context);
        case K::CreateInstance:
        case K::ModifyInstance:
        case K::DeleteInstance:
            return changeOperation(op, context);
        default:
            return failure(Status::notSupported(op.method + " is not supported"));
    }
}

Reply Router::qualifierOperation(const Operation& op) const {
    Reply reply;
    if (op.kind == K::EnumerateQualifiers) {
        for (const cimmof::QualifierType& type : schema_.qualifierTypes) {
            reply.qualifierTypes.push_back(&type);
        }
        return reply;
    }
    const cimmof::QualifierType* type = schema_.qualifierType(op.qualifierName);
    if (type == nullptr) {
        return failure(Status::notFound("qualifier " + op.qualifierName + " is not declared"));
    }
    reply.qualifierTypes.push_back(type);
    return reply;
}

// The instances of the class the query names and of its subclasses, those the condition selects.
Reply Router::execQuery(const Operation& op, const CMPIContext* context) const {
    if (!equalsIgnoreCase(op.queryLanguage, "WQL")) {
        return failure(
            Status::withCode(CimCode::QueryLanguageNotSupported,
                             "query language " + op.queryLanguage + " is not supported; use WQL"));
    }
    const cimquery::ParsedQuery parsed = cimquery::parseWql(op.query);
    if (parsed.error) {
        return failure(invalidQuery(*parsed.error));
    }
    const cimquery::Query& query = parsed.query;
    if (!knownClass(query.className)) {
        return failure(
            invalidQuery({query.classPosition, "class " + query.className + " does not exist"}));
    }
    const std::vector<cimmof::Property>& declared = schema_.classes.allProperties(query.className);
    for (const cimquery::PropertyName& used : cimquery::propertiesNamed(query)) {
        if (cimmof::findByName(declared, used.name) == nullptr) {
            return failure(invalidQuery(
                {used.position, "class " + query.className + " has no property " + used.name}));
        }
    }
    Operation all = op;
    all.kind = K::EnumerateInstances;
    all.className = query.className;
    all.deepInheritance = true;
    all.propertyList.reset();
    Reply reply = enumerateInstances(all, context);
    reply.instances.erase(std::remove_if(reply.instances.begin(), reply.instances.end(),
                                         [&](const CMPIInstance* instance) {
                                             return !cimquery::matches(
                                                 query,
                                                 InstanceQuerySource(instance, schema_.classes));
                                         }),
                          reply.instances.end());
    if (!query.selected.empty()) {
        reply.selectedProperties.emplace();
        for (const cimquery::PropertyName& name : query.selected) {
            reply.selectedProperties->push_back(name.name);
        }
    }
    return reply;
}

Reply Router::classOperation(const Operation& op) const {
    const cimmof::Schema& classes = schema_.classes;
    Reply reply;
    if (op.kind == K::GetClass) {
        const cimmof::ClassDecl* cls = classes.find(op.className);
        if (cls == nullptr) {
            return failure(Status::notFound("class " + op.className + " does not exist"));
        }
        reply.classes.push_back(cls);
        return reply;
    }
    if (op.className.empty()) {
        for (const cimmof::ResolvedClass* cls : classes.classes()) {
            if (op.deepInheritance || cls->decl.superclass.empty()) {
                reply.classes.push_back(&cls->decl);
            }
        }
        return reply;
    }
    if (classes.find(op.className) == nullptr) {
        return failure(Status::invalidClass(op.className));
    }
    for (const std::string& name : classes.subclassesOf(op.className, op.deepInheritance)) {
        reply.classes.push_back(classes.find(name));
    }
    return reply;
}

Reply Router::enumerateInstances(const Operation& op, const CMPIContext* context) const {
    if (!knownClass(op.className)) {
        return failure(Status::invalidClass(op.className));
    }
    // Names always come from the whole subtree; instances too, trimmed to the requested class's
    // properties when DeepInheritance is false.
    std::vector<SubclassTarget> targets;
    if (const Provider* own = instanceProvider(op.className)) {
        targets.push_back({&op.className, own});
    }
    const auto subclasses = subclassTargets_.find(schema_.classes.resolve(op.className));
    if (subclasses != subclassTargets_.end()) {
        targets.insert(targets.end(), subclasses->second.begin(), subclasses->second.end());
    }
    Reply reply;
    if (op.kind == K::EnumerateInstances && !op.deepInheritance) {
        reply.onlyPropertiesOf = op.className;
    }
    PropertyArgument properties(op.propertyList);
    for (const SubclassTarget& target : targets) {
        CMPIObjectPath* path =
            makeClassPath(runtime_.broker(), schema_.nameSpace, *target.className);
        if (path == nullptr) {
            return failure(Status::failed("the broker made no object path"));
        }
        CMPIInstanceMI* mi = target.provider->instanceMI;
        const bool ok = collect(runtime_, reply, [&](const CMPIResult* out) {
            return op.kind == K::EnumerateInstanceNames
                       ? mi->ft->enumerateInstanceNames(mi, context, out, path)
                       : mi->ft->enumerateInstances(mi, context, out, path, properties.get());
        });
        if (!ok) {
            return reply;
        }
    }
    if (internal_ == nullptr) {
        return reply;
    }
    return addInternalSubtree(op, std::move(reply));
}

// The host's own instances of the class and its subclasses that no provider serves.
Reply Router::addInternalSubtree(const Operation& op, Reply reply) const {
    std::vector<std::string> classes{op.className};
    const std::vector<std::string>& subclasses = schema_.classes.subclassesOf(op.className, true);
    classes.insert(classes.end(), subclasses.begin(), subclasses.end());
    for (const std::string& cls : classes) {
        if (instanceProvider(cls) != nullptr) {
            continue;
        }
        std::vector<CMPIInstance*> made;
        reply.status = internal_->instancesOf(runtime_.broker(), cls, made);
        for (const CMPIInstance* instance : made) {
            if (op.kind == K::EnumerateInstanceNames) {
                reply.paths.push_back(instance->ft->getObjectPath(instance, nullptr));
            } else {
                reply.instances.push_back(instance);
            }
        }
        if (!reply.status.isOk()) {
            return reply;
        }
    }
    return reply;
}

Reply Router::getInstance(const Operation& op, const CMPIContext* context) const {
    const std::string& className = op.objectName->className;
    const Provider* provider = instanceProvider(className);
    if (provider == nullptr && !knownClass(className)) {
        return failure(Status::invalidClass(className));
    }
    if (provider == nullptr && internal_ == nullptr) {
        return failure(Status::notFound("no provider serves instances of " + className));
    }
    Status status;
    CMPIObjectPath* path = makeObjectPath(runtime_.broker(), schema_, *op.objectName, status);
    if (path == nullptr) {
        return failure(status);
    }
    if (provider == nullptr) {
        return internalInstance(className, path);
    }
    CMPIInstanceMI* mi = provider->instanceMI;
    PropertyArgument properties(op.propertyList);
    Reply reply;
    if (collect(runtime_, reply,
                [&](const CMPIResult* out) {
                    return mi->ft->getInstance(mi, context, out, path, properties.get());
                }) &&
        reply.instances.empty()) {
        return failure(Status::notFound("the provider returned no instance"));
    }
    return reply;
}

Reply Router::associationOperation(const Operation& op, const CMPIContext* context) const {
    if (!op.objectName) {
        return classAssociations(op, schema_.classes);
    }
    const std::string& source = op.objectName->className;
    if (!knownClass(source)) {
        return failure(Status::invalidClass(source));
    }
    const bool references = op.kind == K::References || op.kind == K::ReferenceNames;
    // For References the result class is the association class.
    const std::string& assocFilter = references ? op.resultClass : op.assocClass;
    for (const std::string* named : {&op.assocClass, &op.resultClass}) {
        if (!named->empty() && !knownClass(*named)) {
            return failure(Status::invalidParameter("class " + *named + " does not exist"));
        }
    }
    const std::vector<CMPIAssociationMI*> targets = associationProviders(source, assocFilter);
    Reply reply;
    if (targets.empty() && internal_ == nullptr) {
        return reply;
    }
    Status status;
    CMPIObjectPath* path = makeObjectPath(runtime_.broker(), schema_, *op.objectName, status);
    if (path == nullptr) {
        return failure(status);
    }
    for (CMPIAssociationMI* mi : targets) {
        if (!collect(runtime_, reply, [&](const CMPIResult* out) {
                return callAssociationMI(mi, op, context, out, path);
            })) {
            return reply;
        }
    }
    if (internal_ != nullptr) {
        reply.status = addInternalAssociations(op, path, reply);
    }
    return reply;
}

// The host's association instances are read like any of its instances: each that refers to the
// source in a reference the role allows counts once for References, and gives the objects its
// other references name for Associators.
Status Router::addInternalAssociations(const Operation& op, const CMPIObjectPath* source,
                                       Reply& reply) const {
    const bool references = op.kind == K::References || op.kind == K::ReferenceNames;
    const cimmof::ResolvedClass* sourceClass = schema_.classes.resolve(op.objectName->className);
    const cimmof::ResolvedClass* filter =
        schema_.classes.resolve(references ? op.resultClass : op.assocClass);
    if (sourceClass == nullptr) {
        return Status::ok();
    }
    for (const cimmof::ClassDecl* association : sourceClass->associations) {
        if (instanceProvider(association->name) != nullptr ||
            (filter != nullptr && !schema_.classes.resolve(association->name)->isA(*filter))) {
            continue;
        }
        std::vector<CMPIInstance*> links;
        Status status = internal_->instancesOf(runtime_.broker(), association->name, links);
        for (const CMPIInstance* link : links) {
            const cimbroker::BorrowedNamedData ends = cimbroker::borrowProperties(link);
            const auto from = std::find_if(ends.begin(), ends.end(), [&](const auto& end) {
                return end.second.type == CMPI_ref && roleMatches(op.role, end.first) &&
                       samePath(end.second.value.ref, source);
            });
            if (from == ends.end()) {
                continue;
            }
            if (op.kind == K::References) {
                reply.instances.push_back(link);
            } else if (op.kind == K::ReferenceNames) {
                reply.paths.push_back(link->ft->getObjectPath(link, nullptr));
            } else {
                addOtherEnds(op, ends, from->first, reply, status);
            }
        }
        if (!status.isOk()) {
            return status;
        }
    }
    return Status::ok();
}

// The objects that an association instance's references other than `from` name, as the
// Associators filters allow: their paths for AssociatorNames, else those the host has.
void Router::addOtherEnds(const Operation& op, const cimbroker::BorrowedNamedData& ends,
                          std::string_view from, Reply& reply, Status& status) const {
    for (const auto& end : ends) {
        if (end.first == from || end.second.type != CMPI_ref ||
            !roleMatches(op.resultRole, end.first) ||
            (!op.resultClass.empty() &&
             !schema_.classes.isA(cimbroker::borrowClassName(end.second.value.ref),
                                  op.resultClass))) {
            continue;
        }
        if (op.kind == K::AssociatorNames) {
            reply.paths.push_back(end.second.value.ref);
        } else if (const CMPIInstance* other = findInternal(end.second.value.ref, status)) {
            reply.instances.push_back(other);
        }
    }
}

// Each provider bound to an association that may reference `source`, once, limited to
// associations of class `assocFilter` when one is named.
std::vector<CMPIAssociationMI*> Router::associationProviders(const std::string& source,
                                                             const std::string& assocFilter) const {
    std::vector<CMPIAssociationMI*> targets;
    const auto bound = associationTargets_.find(schema_.classes.resolve(source));
    if (bound == associationTargets_.end()) {
        return targets;
    }
    const cimmof::ResolvedClass* filter =
        assocFilter.empty() ? nullptr : schema_.classes.resolve(assocFilter);
    for (const AssociationTarget& target : bound->second) {
        if (!assocFilter.empty() && (filter == nullptr || !target.association->isA(*filter))) {
            continue;
        }
        CMPIAssociationMI* mi = target.provider->associationMI;
        if (std::find(targets.begin(), targets.end(), mi) == targets.end()) {
            targets.push_back(mi);
        }
    }
    return targets;
}

const CMPIInstance* Router::findInternal(const CMPIObjectPath* path, Status& status) const {
    std::vector<CMPIInstance*> made;
    status = internal_->instancesOf(runtime_.broker(),
                                    std::string(cimbroker::borrowClassName(path)), made);
    const auto found = std::find_if(made.begin(), made.end(), [path](const CMPIInstance* i) {
        return sameKeys(i->ft->getObjectPath(i, nullptr), path);
    });
    return found == made.end() ? nullptr : *found;
}

// The host's own instance at `path`, NOT_FOUND when it has none there.
Reply Router::internalInstance(const std::string& className, const CMPIObjectPath* path) const {
    Reply reply;
    const CMPIInstance* found = findInternal(path, reply.status);
    if (!reply.status.isOk()) {
        return reply;
    }
    if (found == nullptr) {
        return failure(Status::notFound("no instance of " + className + " has these keys"));
    }
    reply.instances.push_back(found);
    return reply;
}

// CreateInstance, ModifyInstance and DeleteInstance of a class the host keeps itself.
Reply Router::internalChange(const Operation& op) const {
    const CMPIBroker* broker = runtime_.broker();
    Reply reply;
    if (op.kind == K::CreateInstance) {
        ObjectName made;
        reply.status = internal_->create(broker, *op.instance, made);
        CMPIObjectPath* path =
            reply.status.isOk() ? makeObjectPath(broker, schema_, made, reply.status) : nullptr;
        if (path != nullptr) {
            reply.paths.push_back(path);
        }
    } else if (op.kind == K::ModifyInstance) {
        reply.status = internal_->modify(broker, *op.objectName, *op.instance, op.propertyList);
    } else {
        reply.status = internal_->remove(*op.objectName);
    }
    return reply;
}

// CreateInstance, ModifyInstance and DeleteInstance: handed to the instance provider of the class
// they name, or to the host when it keeps the class.
Reply Router::changeOperation(const Operation& op, const CMPIContext* context) const {
    const std::string& className =
        op.kind == K::CreateInstance ? op.instance->className : op.objectName->className;
    const Provider* provider = instanceProvider(className);
    if (provider == nullptr) {
        if (!knownClass(className)) {
            return failure(Status::invalidClass(className));
        }
        if (internal_ != nullptr && internal_->keeps(className)) {
            return internalChange(op);
        }
        return failure(Status::notSupported("no provider serves instances of " + className));
    }
    const CMPIBroker* broker = runtime_.broker();
    Status status;
    CMPIObjectPath* path = op.objectName ? makeObjectPath(broker, schema_, *op.objectName, status)
                                         : makeClassPath(broker, schema_.nameSpace, className);
    const CMPIInstance* instance = (path != nullptr && op.instance)
                                       ? makeInstance(broker, schema_, *op.instance, status)
                                       : nullptr;
    if (path == nullptr || (op.instance && instance == nullptr)) {
        return failure(status.isOk() ? Status::failed("the broker made no object") : status);
    }
    CMPIInstanceMI* mi = provider->instanceMI;
    PropertyArgument properties(op.propertyList);
    Reply reply;
    collect(runtime_, reply, [&](const CMPIResult* out) {
        switch (op.kind) {
            case K::CreateInstance:
                return mi->ft->createInstance(mi, context, out, path, instance);
            case K::ModifyInstance:
                return mi->ft->modifyInstance(mi, context, out, path, instance, properties.get());
            default:
                return mi->ft->deleteInstance(mi, context, out, path);
        }
    });
    return reply;
}

}  // namespace cimhost
