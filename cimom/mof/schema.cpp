#include "cimom/mof/schema.h"

#include "cimom/mof/ascii_case.h"
#include "cimom/mof/class_checks.h"
#include "cimom/mof/mof_reader.h"

namespace cimmof {
namespace {

// The standard property qualifiers of the Restricted flavor: they describe the declaring class
// only and do not pass to subclasses.
const char* const kRestrictedQualifiers[] = {"Override", "Deprecated", "Experimental"};

bool restricted(const Qualifier& q) {
    for (const char* name : kRestrictedQualifiers) {
        if (equalsIgnoreCase(q.name, name)) {
            return true;
        }
    }
    return false;
}

void dropRestrictedQualifiers(std::vector<Qualifier>& qualifiers) {
    std::vector<Qualifier> kept;
    for (Qualifier& q : qualifiers) {
        if (!restricted(q)) {
            kept.push_back(std::move(q));
        }
    }
    qualifiers = std::move(kept);
}

// Own qualifiers replace inherited ones of the same name in place; new ones follow.
void mergeByName(std::vector<Qualifier>& inherited, const std::vector<Qualifier>& own) {
    for (const Qualifier& q : own) {
        Qualifier* same = findByName(inherited, q.name);
        if (same != nullptr) {
            *same = q;
        } else {
            inherited.push_back(q);
        }
    }
}

}  // namespace

Schema Schema::loadFile(const std::string& path) {
    return fromDocument(readMofFile(path));
}

Schema Schema::loadString(const std::string& text, const std::string& fileName) {
    return fromDocument(readMofText(text, fileName));
}

Schema Schema::fromDocument(const MofDocument& doc) {
    if (!doc.instances.empty()) {
        const InstanceDecl& first = doc.instances.front();
        throw MofError(SourceLocation{first.file, first.line, 1},
                       "instance of " + first.className + ": a schema declares classes only");
    }
    Schema schema;
    for (const ClassDecl& cls : doc.classes) {
        checkClass(schema, cls);
        schema.add(cls);
    }
    return schema;
}

void Schema::add(const ClassDecl& cls) {
    ClassDecl stored = cls;
    // References may name the class itself, which is not indexed yet.
    auto declared = [&](const std::string& name) {
        return equalsIgnoreCase(name, cls.name) ? cls.name : declaredName(name);
    };
    if (!stored.superclass.empty()) {
        stored.superclass = declaredName(stored.superclass);
        stored.isAssociation = stored.isAssociation || find(stored.superclass)->isAssociation;
    }
    for (Property& p : stored.properties) {
        p.classOrigin = stored.name;
        if (p.type == "ref") {
            p.refClass = declared(p.refClass);
        }
    }
    for (Method& m : stored.methods) {
        for (Property& parameter : m.parameters) {
            if (parameter.type == "ref") {
                parameter.refClass = declared(parameter.refClass);
            }
        }
    }
    byLowerName_.emplace(toLowerAscii(stored.name), classes_.size());
    classes_.push_back(std::move(stored));
}

std::string Schema::declaredName(const std::string& name) const {
    const ClassDecl* cls = find(name);
    return cls != nullptr ? cls->name : name;
}

const ClassDecl* Schema::find(const std::string& name) const {
    const auto it = byLowerName_.find(toLowerAscii(name));
    return it == byLowerName_.end() ? nullptr : &classes_[it->second];
}

std::vector<Property> Schema::allProperties(const std::string& cls) const {
    std::vector<const ClassDecl*> chain;  // the class first, the root last
    for (const ClassDecl* c = find(cls); c != nullptr; c = find(c->superclass)) {
        chain.push_back(c);
    }
    std::vector<Property> effective;
    for (auto level = chain.rbegin(); level != chain.rend(); ++level) {
        for (Property& inherited : effective) {
            dropRestrictedQualifiers(inherited.qualifiers);
        }
        for (const Property& own : (*level)->properties) {
            Property* overridden = findByName(effective, own.name);
            if (overridden == nullptr) {
                effective.push_back(own);
                continue;
            }
            std::vector<Qualifier> qualifiers = std::move(overridden->qualifiers);
            mergeByName(qualifiers, own.qualifiers);
            *overridden = own;
            overridden->qualifiers = std::move(qualifiers);
            overridden->isKey = hasFlag(overridden->qualifiers, "Key");
        }
    }
    return effective;
}

bool Schema::isA(const std::string& cls, const std::string& ancestor) const {
    for (const ClassDecl* c = find(cls); c != nullptr; c = find(c->superclass)) {
        if (equalsIgnoreCase(c->name, ancestor)) {
            return true;
        }
    }
    return false;
}

std::vector<std::string> Schema::subclassesOf(const std::string& cls, bool deep) const {
    std::vector<std::string> names;
    for (const ClassDecl& c : classes_) {
        const bool below = deep ? (isA(c.superclass, cls)) : equalsIgnoreCase(c.superclass, cls);
        if (below && !c.superclass.empty()) {
            names.push_back(c.name);
        }
    }
    return names;
}

std::vector<std::string> Schema::classNames() const {
    std::vector<std::string> names;
    names.reserve(classes_.size());
    for (const ClassDecl& c : classes_) {
        names.push_back(c.name);
    }
    return names;
}

std::vector<const ClassDecl*> Schema::associationsReferencing(const std::string& cls) const {
    std::vector<const ClassDecl*> found;
    for (const ClassDecl& c : classes_) {
        if (!c.isAssociation) {
            continue;
        }
        for (const Property& p : allProperties(c.name)) {
            if (p.type == "ref" && isA(cls, p.refClass)) {
                found.push_back(&c);
                break;
            }
        }
    }
    return found;
}

std::vector<std::pair<std::string, std::string>> Schema::hierarchy() const {
    std::vector<std::pair<std::string, std::string>> pairs;
    pairs.reserve(classes_.size());
    for (const ClassDecl& c : classes_) {
        pairs.emplace_back(c.name, c.superclass);
    }
    return pairs;
}

}  // namespace cimmof
