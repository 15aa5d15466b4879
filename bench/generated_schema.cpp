#include "generated_schema.h"

namespace cimpbench {
namespace {

constexpr int kDepth = 10;
constexpr int kElementTrees = 170;     // 1,700 element classes
constexpr int kAssociationTrees = 30;  // 300 association classes

std::string elementClass(int tree, int level) {
    return "Gen_E" + std::to_string(tree) + "_" + std::to_string(level);
}

std::string associationClass(int tree, int level) {
    return "Gen_A" + std::to_string(tree) + "_" + std::to_string(level);
}

void addElementTree(std::string& mof, int tree) {
    for (int level = 0; level < kDepth; ++level) {
        const std::string name = elementClass(tree, level);
        const std::string parent = level == 0 ? "CIM_ManagedElement" : elementClass(tree, level - 1);
        mof += "[Version(\"1.0.0\"), Description(\"Generated element " + name + ".\")]\n";
        mof += "class " + name + " : " + parent + " {\n";
        if (level == 0) {
            mof += "    [Key, MaxLen(256)] string GenId;\n";
        }
        mof += "    [Description(\"A level property.\")] string Level" + std::to_string(level) +
               "Name;\n";
        mof += "    uint32 Level" + std::to_string(level) + "Count;\n};\n\n";
    }
}

// Every association's first role accepts any managed element, so each one references our
// classes too and an association operation has to look past all of them.
void addAssociationTree(std::string& mof, int tree) {
    for (int level = 0; level < kDepth; ++level) {
        const std::string name = associationClass(tree, level);
        mof += "[Association, Version(\"1.0.0\")]\nclass " + name;
        if (level == 0) {
            mof += " {\n    [Key] CIM_ManagedElement REF Antecedent;\n";
            mof += "    [Key] " + elementClass(tree, 0) + " REF Dependent;\n";
        } else {
            mof += " : " + associationClass(tree, level - 1) + " {\n";
            mof += "    [Override(\"Dependent\")] " + elementClass(tree, level) + " REF Dependent;\n";
        }
        mof += "    uint16 Level" + std::to_string(level) + "Weight;\n};\n\n";
    }
}

}  // namespace

std::string generatedSchemaMof() {
    std::string mof = "#pragma include(\"root_orvcim.mof\")\n\n";
    for (int tree = 0; tree < kElementTrees; ++tree) {
        addElementTree(mof, tree);
    }
    for (int tree = 0; tree < kAssociationTrees; ++tree) {
        addAssociationTree(mof, tree);
    }
    return mof;
}

}  // namespace cimpbench
