#include "cimom/wire/response_encoder.h"

#include "cimom/wire/object_encoder.h"
#include "cimom/wire/xml_writer.h"

namespace cimhost {
namespace {

using K = OperationKind;

// Opens CIM, MESSAGE, SIMPLERSP and the (I)METHODRESPONSE; finish() closes them.
void openResponse(XmlWriter& out, const Operation& op) {
    out.raw("<?xml version=\"1.0\" encoding=\"utf-8\" ?>\n");
    out.open("CIM").attribute("CIMVERSION", "2.0").attribute("DTDVERSION", "2.0");
    out.open("MESSAGE").attribute("ID", op.messageId).attribute("PROTOCOLVERSION", "1.0");
    out.open("SIMPLERSP");
    out.open(op.extrinsic ? "METHODRESPONSE" : "IMETHODRESPONSE").attribute("NAME", op.method);
}

// Associators, References and ExecQuery: a VALUE.OBJECTWITHPATH for each instance, or for each
// class when the source was a class.
void objectsWithPath(ObjectEncoder& encode, XmlWriter& out, const Operation& op, const Reply& reply,
                     PropertySelection selection) {
    selection.includeQualifiers = op.includeQualifiers;  // of classes, when they are
    for (const CMPIInstance* instance : reply.instances) {
        encode.instanceWithPath("VALUE.OBJECTWITHPATH", instance, selection);
    }
    for (const cimmof::ClassDecl* cls : reply.classes) {
        out.open("VALUE.OBJECTWITHPATH");
        encode.classPath(cls->name);
        encode.classDeclaration(*cls, selection);
        out.close();
    }
}

// AssociatorNames and ReferenceNames: an OBJECTPATH for each instance path or class.
void objectPaths(ObjectEncoder& encode, XmlWriter& out, const Reply& reply) {
    for (const CMPIObjectPath* path : reply.paths) {
        out.open("OBJECTPATH");
        encode.instancePath(path);
        out.close();
    }
    for (const cimmof::ClassDecl* cls : reply.classes) {
        out.open("OBJECTPATH");
        encode.classPath(cls->name);
        out.close();
    }
}

// GetClass and EnumerateClasses: a CLASS for each, qualifiers and local properties as asked;
// EnumerateClassNames: a CLASSNAME for each.
void classes(ObjectEncoder& encode, XmlWriter& out, const Operation& op, const Reply& reply,
             PropertySelection selection) {
    if (op.kind == K::EnumerateClassNames) {
        for (const cimmof::ClassDecl* cls : reply.classes) {
            out.open("CLASSNAME").attribute("NAME", cls->name).close();
        }
        return;
    }
    selection.propertyList = op.kind == K::GetClass ? &op.propertyList : nullptr;
    selection.localOnly = op.localOnly;
    selection.includeQualifiers = op.includeQualifiers;
    for (const cimmof::ClassDecl* cls : reply.classes) {
        encode.classDeclaration(*cls, selection);
    }
}

}  // namespace

PropertySelection instanceSelection(const Operation& op, const Reply& reply) {
    PropertySelection selection;
    // A query has no PropertyList but its select list.
    selection.propertyList =
        reply.selectedProperties ? &reply.selectedProperties : &op.propertyList;
    selection.onlyOfClass = reply.onlyPropertiesOf;
    selection.includeClassOrigin = op.includeClassOrigin;
    return selection;
}

std::string encodeResponse(const Operation& op, const Reply& reply, const NamespaceSchema& schema,
                           const std::string& host) {
    XmlWriter out;
    openResponse(out, op);
    // Written as a start and end tag even when empty: wbemcli cannot read <IRETURNVALUE/>.
    out.open("IRETURNVALUE").text("");
    ObjectEncoder encode(out, schema, host, schema.nameSpace);
    const PropertySelection selection = instanceSelection(op, reply);
    switch (op.kind) {
        case K::GetClass:
        case K::EnumerateClasses:
        case K::EnumerateClassNames:
            classes(encode, out, op, reply, selection);
            break;
        case K::GetInstance:
            if (!reply.instances.empty()) {
                encode.instance(reply.instances.front(), selection);
            }
            break;
        case K::EnumerateInstances:
            for (const CMPIInstance* instance : reply.instances) {
                encode.instanceWithPath("VALUE.NAMEDINSTANCE", instance, selection, true);
            }
            break;
        case K::EnumerateInstanceNames:
        case K::CreateInstance:
            for (const CMPIObjectPath* path : reply.paths) {
                encode.instanceName(path);
            }
            break;
        case K::ExecQuery:
        case K::Associators:
        case K::References:
            objectsWithPath(encode, out, op, reply, selection);
            break;
        case K::AssociatorNames:
        case K::ReferenceNames:
            objectPaths(encode, out, reply);
            break;
        case K::GetQualifier:
        case K::EnumerateQualifiers:
            for (const cimmof::QualifierType* type : reply.qualifierTypes) {
                encode.qualifierDeclaration(*type);
            }
            break;
        default:
            break;
    }
    return out.finish();
}

std::string encodeEnumerationResponse(const Operation& op, const EnumerationBatch& batch) {
    XmlWriter out;
    openResponse(out, op);
    if (op.kind == K::CloseEnumeration) {
        return out.finish();
    }
    out.open("IRETURNVALUE").text("");
    for (const std::string& item : batch.items) {
        out.raw(item);
    }
    out.close();
    out.open("PARAMVALUE").attribute("NAME", "EndOfSequence").attribute("PARAMTYPE", "boolean");
    out.element("VALUE", batch.endOfSequence ? "TRUE" : "FALSE").close();
    out.open("PARAMVALUE").attribute("NAME", "EnumerationContext").attribute("PARAMTYPE", "string");
    if (!batch.endOfSequence) {
        out.element("VALUE", batch.context);
    }
    out.close();
    return out.finish();
}

std::string encodeError(const Operation& op, const Status& status) {
    XmlWriter out;
    openResponse(out, op);
    std::string description = status.description();
    if (description.empty()) {
        description = cimCodeName(status.code());
    }
    out.open("ERROR")
        .attribute("CODE", std::to_string(status.codeNumber()))
        .attribute("DESCRIPTION", description);
    return out.finish();
}

}  // namespace cimhost
