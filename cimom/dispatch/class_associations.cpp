#include "cimom/dispatch/class_associations.h"

#include <algorithm>

#include "base/text_case.h"

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
    return wanted.empty() || cimp::equalsIgnoreCase(wanted, name);
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
        if (end.type != "ref" || cimp::equalsIgnoreCase(end.name, role) ||
            !namedOrAny(op.resultRole, end.name)) {
            continue;
        }
        const ResolvedClass* target = schema.resolve(end.refClass);
        if (target != nullptr && resultClass.passes(target)) {
            addOnce(reply, target);
        }
    }
}

// What `association` answers for each of its references that `source` may fill and the Role
// filter passes: the other ends, or for References the association itself.
void addThroughRoles(Reply& reply, const ResolvedClass& association, const ResolvedClass& source,
                     const Operation& op, bool references, const ClassFilter& resultClass,
                     const cimmof::Schema& schema) {
    for (const cimmof::Property& end : association.properties) {
        const ResolvedClass* target = end.type == "ref" ? schema.resolve(end.refClass) : nullptr;
        if (target == nullptr || !source.isA(*target) || !namedOrAny(op.role, end.name)) {
            continue;
        }
        if (!references) {
            addOtherEnds(reply, association, end.name, op, resultClass, schema);
        } else if (resultClass.passes(&association)) {  // References' result is the association
            addOnce(reply, &association);
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
    for (const cimmof::ClassDecl* declared : source->associations) {
        const ResolvedClass* association = schema.resolve(declared->name);
        if (assocClass.passes(association)) {
            addThroughRoles(reply, *association, *source, op, references, resultClass, schema);
        }
    }
    return reply;
}

}  // namespace cimhost
