#include "cimom/mof/schema.h"

#include <algorithm>
#include <iterator>

#include "cimom/mof/class_checks.h"
#include "cimom/mof/mof_error.h"
#include "cimom/mof/mof_reader.h"

namespace cimmof {
namespace {

// The standard property qualifiers of the Restricted flavor: they describe the declaring class
// only and do not pass to subclasses.
const char* const kRestrictedQualifiers[] = {"Override", "Deprecated", "Experimental"};

void dropRestrictedQualifiers(std::vector<Qualifier>& qualifiers) {
    const auto restricted = [](const Qualifier& q) {
        return std::any_of(std::begin(kRestrictedQualifiers), std::end(kRestrictedQualifiers),
                           [&](const char* name) { return cimp::equalsIgnoreCase(q.name, name); });
    };
    qualifiers.erase(std::remove_if(qualifiers.begin(), qualifiers.end(), restricted),
                     qualifiers.end());
}

// `item` in place of the entry `same` finds, else after the others.
template <class T, class Same>
void replaceOrAppend(std::vector<T>& items, T item, Same same) {
    const auto found = std::find_if(items.begin(), items.end(), same);
    if (found != items.end()) {
        *found = std::move(item);
    } else {
        items.push_back(std::move(item));
    }
}

// The superclass's effective properties as a subclass inherits them, with the class's own
// declarations merged in.
std::vector<Property> effectiveProperties(const ResolvedClass* superclass,
                                          const std::vector<Property>& own) {
    std::vector<Property> effective;
    if (superclass != nullptr) {
        effective = superclass->properties;
        for (Property& inherited : effective) {
            dropRestrictedQualifiers(inherited.qualifiers);
        }
    }
    for (const Property& declared : own) {
        Property* overridden = findByName(effective, declared.name);
        if (overridden == nullptr) {
            effective.push_back(declared);
            continue;
        }
        // Own qualifiers replace inherited ones of the same name in place; new ones follow.
        std::vector<Qualifier> qualifiers = std::move(overridden->qualifiers);
        for (const Qualifier& q : declared.qualifiers) {
            replaceOrAppend(qualifiers, q, [&](const Qualifier& known) {
                return cimp::equalsIgnoreCase(known.name, q.name);
            });
        }
        *overridden = declared;
        overridden->qualifiers = std::move(qualifiers);
        overridden->isKey = hasFlag(overridden->qualifiers, "Key");
    }
    return effective;
}

std::vector<InheritedMethod> effectiveMethods(const ResolvedClass* superclass,
                                              const ClassDecl& cls) {
    std::vector<InheritedMethod> methods;
    if (superclass != nullptr) {
        methods = superclass->methods;
    }
    for (const Method& m : cls.methods) {
        // Names are unique within each class, so at most one inherited method matches.
        replaceOrAppend(methods, InheritedMethod{m, cls.name}, [&](const InheritedMethod& known) {
            return cimp::equalsIgnoreCase(known.method.name, m.name);
        });
    }
    return methods;
}

template <class T>
const T& emptyOf() {
    static const T empty;
    return empty;
}

}  // namespace

Schema::Schema() : model_(std::make_shared<Model>()) {}

cimp::Outcome Schema::loadString(const std::string& text, const std::string& fileName,
                                 Schema* out) {
    MofDocument doc;
    const cimp::Outcome read = readMofText(text, fileName, &doc);
    return read.ok() ? fromDocument(doc, out) : read;
}

cimp::Outcome Schema::fromDocument(const MofDocument& doc, Schema* out) {
    Schema schema;
    const cimp::Outcome checked = readGuarded([&] {
        if (!doc.instances.empty()) {
            const InstanceDecl& first = doc.instances.front();
            throw MofError(SourceLocation{first.file, first.line, 1},
                           "instance of " + first.className + ": a schema declares classes only");
        }
        for (const ClassDecl& cls : doc.classes) {
            checkClass(schema, cls);
            schema.add(cls);
        }
    });
    if (checked.ok()) {
        schema.indexAssociations();
        *out = std::move(schema);
    }
    return checked;
}

void Schema::add(const ClassDecl& cls) {
    ClassDecl stored = cls;
    // A reference names its class as declared; it may name this class, which is not indexed yet.
    auto declared = [&](Property& p) {
        const ClassDecl* known = p.type == "ref" ? find(p.refClass) : nullptr;
        if (p.type == "ref" && cimp::equalsIgnoreCase(p.refClass, cls.name)) {
            p.refClass = cls.name;
        } else if (known != nullptr) {
            p.refClass = known->name;
        }
    };
    ResolvedClass* superclass = nullptr;
    if (!stored.superclass.empty()) {
        superclass = model_->byName.at(stored.superclass);
        stored.superclass = superclass->decl.name;
        stored.isAssociation = stored.isAssociation || superclass->decl.isAssociation;
    }
    for (Property& p : stored.properties) {
        p.classOrigin = stored.name;
        declared(p);
    }
    for (Method& m : stored.methods) {
        std::for_each(m.parameters.begin(), m.parameters.end(), declared);
    }
    ResolvedClass& resolved = model_->resolved.emplace_back();
    resolved.properties = effectiveProperties(superclass, stored.properties);
    for (const Property& p : resolved.properties) {
        resolved.propertyHashes.push_back(cimp::foldedHash(p.name));
    }
    resolved.methods = effectiveMethods(superclass, stored);
    resolved.decl = std::move(stored);
    if (superclass != nullptr) {
        resolved.chain = superclass->chain;
        superclass->directSubclasses.push_back(resolved.decl.name);
        for (const ResolvedClass* ancestor : superclass->chain) {
            model_->byName.at(ancestor->decl.name)->allSubclasses.push_back(resolved.decl.name);
        }
    }
    resolved.chain.push_back(&resolved);
    model_->ordered.push_back(&resolved);
    model_->byName.emplace(resolved.decl.name, &resolved);
}

// Every class an association's reference may point at learns the association.
void Schema::indexAssociations() {
    for (const ResolvedClass* association : model_->ordered) {
        if (!association->decl.isAssociation) {
            continue;
        }
        for (const Property& p : association->properties) {
            ResolvedClass* target = p.type == "ref" ? model_->byName.at(p.refClass) : nullptr;
            if (target == nullptr) {
                continue;
            }
            std::vector<ResolvedClass*> reached{target};
            for (const std::string& sub : target->allSubclasses) {
                reached.push_back(model_->byName.at(sub));
            }
            for (ResolvedClass* filled : reached) {
                if (filled->associations.empty() ||
                    filled->associations.back() != &association->decl) {
                    filled->associations.push_back(&association->decl);
                }
            }
        }
    }
}

const ResolvedClass* Schema::resolve(std::string_view name) const {
    const auto it = model_->byName.find(name);
    return it == model_->byName.end() ? nullptr : it->second;
}

const ClassDecl* Schema::find(std::string_view name) const {
    const ResolvedClass* cls = resolve(name);
    return cls == nullptr ? nullptr : &cls->decl;
}

const std::vector<Property>& Schema::allProperties(std::string_view cls) const {
    const ResolvedClass* resolved = resolve(cls);
    return resolved == nullptr ? emptyOf<std::vector<Property>>() : resolved->properties;
}

bool Schema::isA(std::string_view cls, std::string_view ancestor) const {
    const ResolvedClass* below = resolve(cls);
    const ResolvedClass* above = resolve(ancestor);
    return below != nullptr && above != nullptr && below->isA(*above);
}

const std::vector<std::string>& Schema::subclassesOf(std::string_view cls, bool deep) const {
    const ResolvedClass* resolved = resolve(cls);
    if (resolved == nullptr) {
        return emptyOf<std::vector<std::string>>();
    }
    return deep ? resolved->allSubclasses : resolved->directSubclasses;
}

const std::vector<const ResolvedClass*>& Schema::classes() const {
    return model_->ordered;
}

std::vector<std::pair<std::string, std::string>> Schema::hierarchy() const {
    std::vector<std::pair<std::string, std::string>> pairs;
    pairs.reserve(model_->ordered.size());
    for (const ResolvedClass* c : model_->ordered) {
        pairs.emplace_back(c->decl.name, c->decl.superclass);
    }
    return pairs;
}

}  // namespace cimmof
