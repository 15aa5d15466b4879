// Class name -> superclass index that classPathIsA answers from. Names are compared without
// regard to letter case, through a hash of the case-folded name kept with each class, so a
// question costs a few lookups per level of inheritance and no copy, however many classes there
// are. A value type: build it, then hand a copy to Runtime::setClassHierarchy. Const member
// functions are safe from any number of threads.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/text_case.h"

namespace cimbroker {

class ClassHierarchy {
  public:
    ClassHierarchy() = default;
    ClassHierarchy(const ClassHierarchy& other);
    ClassHierarchy& operator=(const ClassHierarchy& other);
    ClassHierarchy(ClassHierarchy&&) = default;
    ClassHierarchy& operator=(ClassHierarchy&&) = default;

    // Declares `cls` with its superclass ("" for a root). A later add of the same class replaces
    // its superclass.
    void add(const std::string& cls, const std::string& superclass);

    // True when `cls` is `ancestor` or derives from it. A class never added is only itself. A
    // cycle in the map ends the walk with false.
    bool isA(std::string_view cls, std::string_view ancestor) const;

    bool contains(std::string_view cls) const;

  private:
    struct Node {
        std::string name;
        std::string superclass;
    };

    void index();

    std::deque<Node> nodes_;  // a deque: the index views names in it as it grows
    std::unordered_map<std::string_view, Node*, cimp::FoldedHash, cimp::FoldedEqual> byName_;
};

}  // namespace cimbroker
