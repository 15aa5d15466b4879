// Schema: the checked class hierarchy of one namespace, loaded from MOF. Loading refuses a
// duplicate class, a superclass or referenced class not declared before use, a reference outside
// an association, and an override that changes a type or names nothing inherited; the failed
// Outcome points at the declaration at fault. Every class is resolved once as it loads
// (ResolvedClass), so no query re-derives inheritance and none costs more with a larger schema.
// Class names are looked up without regard to case, through a hash of the case-folded name, and
// come back as declared. A loaded Schema is immutable and its copies share one model: share freely
// between threads.
#pragma once

#include <cstddef>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "base/outcome.h"
#include "base/text_case.h"
#include "cimom/mof/document.h"
#include "cimom/mof/resolved_class.h"

namespace cimmof {

class Schema {
  public:
    Schema();

    // MOF text in memory; `fileName` names it in errors and anchors its includes (#pragma
    // include, relative to the including file).
    static cimp::Outcome loadString(const std::string& text, const std::string& fileName,
                                    Schema* out);
    // Checks and indexes classes already read; instances in a schema are refused.
    static cimp::Outcome fromDocument(const MofDocument& doc, Schema* out);

    const ResolvedClass* resolve(std::string_view name) const;
    const ClassDecl* find(std::string_view name) const;
    // The effective properties of `cls` (see ResolvedClass); empty for an unknown class.
    // classOrigin names the class of the effective declaration.
    const std::vector<Property>& allProperties(std::string_view cls) const;
    bool isA(std::string_view cls, std::string_view ancestor) const;
    const std::vector<std::string>& subclassesOf(std::string_view cls, bool deep) const;
    // Every class, in declaration order.
    const std::vector<const ResolvedClass*>& classes() const;
    // (class, superclass) in declaration order; superclass empty for a root class.
    std::vector<std::pair<std::string, std::string>> hierarchy() const;

  private:
    struct Model {
        std::deque<ResolvedClass> resolved;  // a deque: the index points into it as it grows
        std::vector<const ResolvedClass*> ordered;
        std::unordered_map<std::string_view, ResolvedClass*, cimp::FoldedHash, cimp::FoldedEqual>
            byName;
    };

    void add(const ClassDecl& cls);
    void indexAssociations();

    std::shared_ptr<Model> model_;  // written only while loading
};

}  // namespace cimmof
