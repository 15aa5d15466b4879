#include "cimom/mof/class_checks.h"

#include <string>
#include <vector>

#include "base/text_case.h"
#include "cimom/mof/mof_error.h"

namespace cimmof {
namespace {

std::string typeText(const Property& p) {
    return (p.type == "ref" ? p.refClass + " REF" : p.type) + (p.isArray ? "[]" : "");
}

class ClassChecker {
  public:
    ClassChecker(const Schema& earlier, const ClassDecl& cls) : earlier_(earlier), cls_(cls) {}

    void run() {
        const ClassDecl* previous = earlier_.find(cls_.name);
        if (previous != nullptr) {
            failAtClass("class " + cls_.name + " is already declared at " + previous->file + ":" +
                        std::to_string(previous->line));
        }
        bool association = cls_.isAssociation;
        if (!cls_.superclass.empty()) {
            const ClassDecl* super = earlier_.find(cls_.superclass);
            if (super == nullptr) {
                failAtClass("superclass " + cls_.superclass + " of " + cls_.name +
                            " is not declared before it");
            }
            if (cls_.isAssociation && !super->isAssociation) {
                failAtClass("association " + cls_.name + " cannot derive from " + super->name +
                            ", which is not an association");
            }
            association = association || super->isAssociation;
            inherited_ = earlier_.allProperties(super->name);
        }
        for (const Property& p : cls_.properties) {
            checkProperty(p, association);
        }
        for (const Method& m : cls_.methods) {
            for (const Property& parameter : m.parameters) {
                checkReferenceTarget(parameter, m.name + "(" + parameter.name + ")");
            }
        }
    }

  private:
    [[noreturn]] void failAtClass(const std::string& message) const {
        throw MofError(SourceLocation{cls_.file, cls_.line, cls_.column}, message);
    }
    [[noreturn]] void failAt(const Property& p, const std::string& message) const {
        throw MofError(SourceLocation{cls_.file, p.line, p.column}, message);
    }

    bool isSelf(const std::string& name) const {
        return cimp::equalsIgnoreCase(name, cls_.name);
    }

    // isA that also knows the class being checked, which a reference may name.
    bool classIsA(const std::string& name, const std::string& ancestor) const {
        if (isSelf(name)) {
            return isSelf(ancestor) || earlier_.isA(cls_.superclass, ancestor);
        }
        return earlier_.isA(name, ancestor);
    }

    void checkReferenceTarget(const Property& p, const std::string& what) const {
        if (p.type == "ref" && !isSelf(p.refClass) && earlier_.find(p.refClass) == nullptr) {
            failAt(p, cls_.name + "." + what + " refers to class " + p.refClass +
                          ", which is not declared before it");
        }
    }

    void checkProperty(const Property& p, bool association) const {
        const std::string what = cls_.name + "." + p.name;
        if (p.type == "ref" && !association) {
            failAt(p, what + ": only an association may declare a reference");
        }
        checkReferenceTarget(p, p.name);
        if (p.isKey && p.isArray) {
            failAt(p, what + ": a key cannot be an array");
        }
        const Qualifier* override = findByName(p.qualifiers, "Override");
        if (override != nullptr && !cimp::equalsIgnoreCase(override->value, p.name)) {
            failAt(p, what + " names " + override->value + " in Override; an override keeps " +
                          "the name of the property it replaces");
        }
        const Property* base = findByName(inherited_, p.name);
        if (base == nullptr) {
            if (override != nullptr) {
                failAt(p, what + " overrides " + p.name + ", which no superclass declares");
            }
            return;
        }
        if (base->type != p.type || base->isArray != p.isArray) {
            failAt(p, what + " is " + typeText(p) + " but overrides " + base->classOrigin + "." +
                          base->name + " of type " + typeText(*base));
        }
        if (p.type == "ref" && !classIsA(p.refClass, base->refClass)) {
            failAt(p, what + " refers to " + p.refClass + ", which is not a " + base->refClass +
                          " as " + base->classOrigin + "." + base->name + " requires");
        }
        const Qualifier* key = findByName(p.qualifiers, "Key");
        if (base->isKey && key != nullptr && cimp::equalsIgnoreCase(key->value, "false")) {
            failAt(p, what + " cannot drop the Key qualifier of " + base->classOrigin + "." +
                          base->name);
        }
    }

    const Schema& earlier_;
    const ClassDecl& cls_;
    std::vector<Property> inherited_;
};

}  // namespace

void checkClass(const Schema& earlier, const ClassDecl& cls) {
    ClassChecker(earlier, cls).run();
}

}  // namespace cimmof
