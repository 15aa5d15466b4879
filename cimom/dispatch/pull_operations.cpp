#include "cimom/dispatch/pull_operations.h"

#include <algorithm>

#include "cimom/wire/object_encoder.h"
#include "cimom/wire/response_encoder.h"
#include "cimom/wire/xml_writer.h"

namespace cimhost {
namespace {

using K = OperationKind;

struct OpenKind {
    OperationKind operation;    // the open operation
    OperationKind enumeration;  // the operation whose objects the open operation returns
    EnumerationKind kind;
};

const OpenKind kOpenKinds[] = {
    {K::OpenEnumerateInstances, K::EnumerateInstances, EnumerationKind::InstancesWithPath},
    {K::OpenEnumerateInstancePaths, K::EnumerateInstanceNames, EnumerationKind::Paths},
    {K::OpenAssociatorInstances, K::Associators, EnumerationKind::InstancesWithPath},
    {K::OpenAssociatorInstancePaths, K::AssociatorNames, EnumerationKind::Paths},
    {K::OpenReferenceInstances, K::References, EnumerationKind::InstancesWithPath},
    {K::OpenReferenceInstancePaths, K::ReferenceNames, EnumerationKind::Paths},
    {K::OpenQueryInstances, K::ExecQuery, EnumerationKind::Instances},
};

struct PullKind {
    OperationKind operation;  // the pull operation
    EnumerationKind kind;     // of the enumerations it may pull from
};

const PullKind kPullKinds[] = {
    {K::PullInstancesWithPath, EnumerationKind::InstancesWithPath},
    {K::PullInstancePaths, EnumerationKind::Paths},
    {K::PullInstances, EnumerationKind::Instances},
};

// The entry of `table` for the operation `kind`; null when it has none.
template <typename Entry, std::size_t N>
const Entry* entryFor(const Entry (&table)[N], OperationKind kind) {
    const Entry* found = std::find_if(
        table, table + N, [kind](const Entry& entry) { return entry.operation == kind; });
    return found == table + N ? nullptr : found;
}

// The first of the open operation's parameters that this server refuses; OK when none is.
Status refusedParameter(const Operation& op) {
    if (op.filterQuery || op.filterQueryLanguage) {
        return Status::withCode(CimCode::FilteredEnumerationNotSupported,
                                "FilterQuery is not supported");
    }
    if (op.continueOnError) {
        return Status::withCode(CimCode::ContinuationOnErrorNotSupported,
                                "ContinueOnError is not supported");
    }
    if (op.returnQueryResultClass) {
        return Status::notSupported("ReturnQueryResultClass is not supported");
    }
    return Status::ok();
}

// Each object of the reply as its own VALUE.INSTANCEWITHPATH, INSTANCEPATH or INSTANCE element.
std::vector<std::string> encodeObjects(const Reply& reply, const Operation& op,
                                       EnumerationKind kind, const NamespaceSchema& schema,
                                       const std::string& host) {
    const PropertySelection selection = instanceSelection(op, reply);
    const bool paths = kind == EnumerationKind::Paths;
    std::vector<std::string> items;
    for (std::size_t i = 0; i < (paths ? reply.paths.size() : reply.instances.size()); ++i) {
        XmlWriter out;
        ObjectEncoder encode(out, schema, host, schema.nameSpace);
        if (paths) {
            encode.instancePath(reply.paths[i]);
        } else if (kind == EnumerationKind::Instances) {
            encode.instance(reply.instances[i], selection);
        } else {
            encode.instanceWithPath("VALUE.INSTANCEWITHPATH", reply.instances[i], selection);
        }
        items.push_back(out.finish());
        // Items wait in the context until pulled: hold their bytes, not the writer's room.
        items.back().shrink_to_fit();
    }
    return items;
}

}  // namespace

bool PullOperations::handles(OperationKind kind) {
    return entryFor(kOpenKinds, kind) != nullptr || entryFor(kPullKinds, kind) != nullptr ||
           kind == K::CloseEnumeration || kind == K::EnumerationCount;
}

EnumerationBatch PullOperations::open(const Operation& op, const Router& router,
                                      const CMPIContext* context, const std::string& host) {
    const OpenKind& entry = *entryFor(kOpenKinds, op.kind);
    Status refused = refusedParameter(op);
    if (refused.isOk()) {
        refused = table_.checkTimeout(op.operationTimeout);
    }
    if (!refused.isOk()) {
        return EnumerationBatch::refused(refused);
    }
    Operation enumeration = op;
    enumeration.kind = entry.enumeration;
    const Reply reply = router.route(enumeration, context);
    if (!reply.status.isOk()) {
        return EnumerationBatch::refused(reply.status);
    }
    return table_.open(entry.kind, op.nameSpace,
                       encodeObjects(reply, op, entry.kind, router.schema(), host),
                       op.operationTimeout, op.maxObjectCount.value_or(0));
}

PullAnswer PullOperations::run(const Operation& op, const Router& router,
                               const CMPIContext* context, const std::string& host) {
    EnumerationBatch batch;
    const std::string& ctx = op.enumerationContext.value_or("");
    if (const PullKind* pull = entryFor(kPullKinds, op.kind)) {
        batch = table_.pull(ctx, pull->kind, op.nameSpace, *op.maxObjectCount);
    } else if (op.kind == K::CloseEnumeration) {
        batch.status = table_.close(ctx, op.nameSpace);
    } else if (op.kind == K::EnumerationCount) {
        batch.status = Status::notSupported("EnumerationCount is not supported");
    } else {
        batch = open(op, router, context, host);
    }
    if (!batch.status.isOk()) {
        return PullAnswer{batch.status, encodeError(op, batch.status)};
    }
    return PullAnswer{batch.status, encodeEnumerationResponse(op, batch)};
}

}  // namespace cimhost
