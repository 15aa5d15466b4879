// Class name -> superclass map that classPathIsA answers from. Names are compared without regard
// to letter case. A value type: build it, then hand a copy to Runtime::setClassHierarchy. Const
// member functions are safe from any number of threads.
#pragma once

#include <string>
#include <unordered_map>

namespace cimbroker {

class ClassHierarchy {
  public:
    // Declares `cls` with its superclass ("" for a root). A later add of the same class replaces
    // its superclass.
    void add(const std::string& cls, const std::string& superclass);

    // True when `cls` is `ancestor` or derives from it. A class never added is only itself. A
    // cycle in the map ends the walk with false.
    bool isA(const std::string& cls, const std::string& ancestor) const;

    bool contains(const std::string& cls) const;

  private:
    std::unordered_map<std::string, std::string> superclassOf_;  // both lower-cased
};

}  // namespace cimbroker
