// Schema: the checked class hierarchy of one namespace, loaded from MOF. Loading refuses a
// duplicate class, a superclass or referenced class not declared before use, a reference outside
// an association, and an override that changes a type or names nothing inherited; the MofError
// points at the declaration at fault. Class names are looked up without regard to case and come
// back as declared. A loaded Schema is immutable: share it freely between threads.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "cimom/mof/document.h"
#include "cimom/mof/mof_error.h"

namespace cimmof {

class Schema {
  public:
    // Follows #pragma include relative to the including file; throws MofError.
    static Schema loadFile(const std::string& path);
    // As loadFile for text in memory; `fileName` names it in errors and anchors its includes.
    static Schema loadString(const std::string& text, const std::string& fileName);
    // Checks and indexes classes already read; instances in a schema are refused.
    static Schema fromDocument(const MofDocument& doc);

    const ClassDecl* find(const std::string& name) const;
    // Inherited properties first, in the order the root class declares them; an override takes
    // the place of what it overrides and inherits its propagated qualifiers (Key among them).
    // classOrigin names the class of the effective declaration. Empty for an unknown class.
    std::vector<Property> allProperties(const std::string& cls) const;
    bool isA(const std::string& cls, const std::string& ancestor) const;
    std::vector<std::string> subclassesOf(const std::string& cls, bool deep) const;
    std::vector<std::string> classNames() const;
    // Associations with a reference that an instance of `cls` may fill.
    std::vector<const ClassDecl*> associationsReferencing(const std::string& cls) const;
    // (class, superclass) in declaration order; superclass empty for a root class.
    std::vector<std::pair<std::string, std::string>> hierarchy() const;

  private:
    void add(const ClassDecl& cls);
    std::string declaredName(const std::string& name) const;

    std::vector<ClassDecl> classes_;
    std::unordered_map<std::string, std::size_t> byLowerName_;
};

}  // namespace cimmof
