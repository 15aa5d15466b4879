#include "cimom/dispatch/pull_operations.h"

#include <utility>

#include "cimom/wire/object_encoder.h"
#include "cimom/wire/response_encoder.h"
#include "cimom/wire/xml_writer.h"

namespace cimhost {
namespace {

using K = OperationKind;

struct OpenKind {
    OperationKind open;
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
};

const OpenKind* openKind(OperationKind kind) {
    for (const OpenKind& entry : kOpenKinds) {
        if (entry.open == kind) {
            return &entry;
        }
    }
    return nullptr;
}

// Each object of the reply as its own VALUE.INSTANCEWITHPATH or INSTANCEPATH element.
std::vector<std::string> encodeObjects(const Reply& reply, const Operation& op,
                                       EnumerationKind kind, const NamespaceSchema& schema,
                                       const std::string& host) {
    PropertySelection selection;
    selection.propertyList = &op.propertyList;
    selection.includeClassOrigin = op.includeClassOrigin;
    selection.onlyOfClass = reply.onlyPropertiesOf;
    std::vector<std::string> items;
    const auto encodeOne = [&](const auto& write) {
        XmlWriter out;
        ObjectEncoder encode(out, schema, host, schema.nameSpace);
        write(encode, out);
        items.push_back(out.finish());
        // Items wait in the context until pulled: hold their bytes, not the writer's room.
        items.back().shrink_to_fit();
    };
    if (kind == EnumerationKind::Paths) {
        for (const CMPIObjectPath* path : reply.paths) {
            encodeOne([path](ObjectEncoder& encode, XmlWriter&) { encode.instancePath(path); });
        }
        return items;
    }
    for (const CMPIInstance* instance : reply.instances) {
        encodeOne([&](ObjectEncoder& encode, XmlWriter& out) {
            const CMPIObjectPath* path = instance->ft->getObjectPath(instance, nullptr);
            out.open("VALUE.INSTANCEWITHPATH");
            encode.instancePath(path);
            encode.instance(instance, path, selection);
            out.close();
        });
    }
    return items;
}

}  // namespace

PullOperations::PullOperations(EnumerationLimits limits) : table_(limits) {}

bool PullOperations::handles(OperationKind kind) {
    return openKind(kind) != nullptr || kind == K::PullInstancesWithPath ||
           kind == K::PullInstancePaths || kind == K::CloseEnumeration ||
           kind == K::EnumerationCount;
}

EnumerationBatch PullOperations::open(const Operation& op, const Router& router,
                                      const CMPIContext* context, const std::string& host) {
    const OpenKind& entry = *openKind(op.kind);
    if (op.filterQuery || op.filterQueryLanguage) {
        return EnumerationBatch::refused(Status::withCode(CimCode::FilteredEnumerationNotSupported,
                                                          "FilterQuery is not supported"));
    }
    if (op.continueOnError) {
        return EnumerationBatch::refused(Status::withCode(CimCode::ContinuationOnErrorNotSupported,
                                                          "ContinueOnError is not supported"));
    }
    const Status timeout = table_.checkTimeout(op.operationTimeout);
    if (!timeout.isOk()) {
        return EnumerationBatch::refused(timeout);
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
    switch (op.kind) {
        case K::PullInstancesWithPath:
        case K::PullInstancePaths: {
            const EnumerationKind kind = op.kind == K::PullInstancePaths
                                             ? EnumerationKind::Paths
                                             : EnumerationKind::InstancesWithPath;
            batch = table_.pull(ctx, kind, op.nameSpace, *op.maxObjectCount);
            break;
        }
        case K::CloseEnumeration:
            batch.status = table_.close(ctx, op.nameSpace);
            break;
        case K::EnumerationCount:
            batch.status = Status::notSupported("EnumerationCount is not supported");
            break;
        default:
            batch = open(op, router, context, host);
            break;
    }
    if (!batch.status.isOk()) {
        return PullAnswer{batch.status, encodeError(op, batch.status)};
    }
    return PullAnswer{batch.status, encodeEnumerationResponse(op, batch)};
}

}  // namespace cimhost
