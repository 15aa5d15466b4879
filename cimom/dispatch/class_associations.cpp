#include "cimom/dispatch/class_associations.h"

#include <algorithm>

#include "broker/text_case.h"

namespace cimhost {
namespace {

using cimmof::ResolvedClass;

// A class filter as the client gave it: none, or a class every answer must derive from.
struct ClassFilter {
    const ResolvedClass* cls = nullptr;
    bool passes(const ResolvedClass* candidate) const {
        return cls == nullptr || (candidate != nullptr && candidate->isA(*cls));
    }
};

bool namedOrAny(const std::string& wanted, const std::string& name) {
    return wanted.empty() || cimbroker::equalsIgnoreCase(wanted, name);
}

void addOnce(Reply& reply, const ResolvedClass* cls) {
    if (std::find(reply.classes.begin(), reply.classes.end(), &cls->decl) == reply.classes.end()) {
        reply.classes.push_back(&cls->decl);
    }
}

// The classes at the other references of `association` than `role`, those the filters pass.
void addOtherEnds(Reply& reply, const ResolvedClass& association, const std::string& role,
                  const Operation& op, const ClassFilter& resultClass,
                  const cimmof::Schema& schema) {
    for (const cimmof::Property& end : association.properties) {
        if (end.type != "ref" || cimbroker::equalsIgnoreCase(end.name, role) ||
            !namedOrAny(op.resultRole, end.name)) {
            continue;
        }
        const ResolvedClass* target = schema.resolve(end.refClass);
        if (target != nullptr && resultClass.passes(target)) {
            addOnce(reply, target);
        }
    }
}

}  // namespace

Reply classAssociations(const Operation& op, const cimmof::Schema& schema) {
    Reply reply;
    const ResolvedClass* source = schema.resolve(op.className);
    if (source == nullptr) {
        reply.status = Status::invalidClass(op.className);
        return reply;
    }
    for (const std::string* named : {&op.assocClass, &op.resultClass}) {
        if (!named->empty() && schema.resolve(*named) == nullptr) {
            reply.status = Status::invalidParameter("class " + *named + " does not exist");
            return reply;
        }
    }
    const bool references =
        op.kind == OperationKind::References || op.kind == OperationKind::ReferenceNames;
    const ClassFilter assocClass{schema.resolve(op.assocClass)};
    const ClassFilter resultClass{schema.resolve(op.resultClass)};
    for (const cimmof::AssociationRole& role : source->roles) {
        const ResolvedClass* association = schema.resolve(role.association->name);
        if (!assocClass.passes(association) || !namedOrAny(op.role, role.role)) {
            continue;
        }
        if (!references) {
            addOtherEnds(reply, *association, role.role, op, resultClass, schema);
        } else if (resultClass.passes(association)) {  // References' result is the association
            addOnce(reply, association);
        }
    }
    return reply;
}

}  // namespace cimhost
