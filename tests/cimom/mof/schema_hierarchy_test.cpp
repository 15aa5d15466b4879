#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "cimom/mof/mof_reader.h"
#include "cimom/mof/schema.h"
#include "tests/cimom/mof/mof_error_assert.h"

namespace {

using cimmof::ClassDecl;
using cimmof::MofError;
using cimmof::Property;
using cimmof::Schema;

// Four levels of classes and two levels of associations, with overrides on the way down.
const char kTree[] = R"(
[Abstract, Description("root")]
class T_Root {
    [Key, Description("root key")] string Id;
    string Label;
    [Deprecated{"none"}] string Old;
};
class T_Mid : T_Root {
    [Override("Label"), Description("mid label")] string Label;
    uint8 Level = 3;
};
class T_Leaf : T_Mid {
    [Override("Id")] string Id;
    datetime Seen;
    real64 Ratio[4];
};
class T_Other : T_Root {
};
[Association]
class T_Link {
    [Key] T_Root REF Left;
    [Key] T_Root REF Right;
};
class t_narrowLink : T_Link {
    [Override("Left")] t_leaf REF Left;
};
)";

std::vector<std::string> names(const std::vector<Property>& properties) {
    std::vector<std::string> out;
    for (const Property& p : properties) {
        out.push_back(p.name);
    }
    return out;
}

const Property& named(const std::vector<Property>& properties, const std::string& name) {
    for (const Property& p : properties) {
        if (p.name == name) {
            return p;
        }
    }
    throw std::runtime_error("no property " + name);
}

TEST(SchemaHierarchy, IsAFollowsEveryLevelWithoutRegardToCase) {
    const Schema s = Schema::loadString(kTree, "tree.mof");
    EXPECT_TRUE(s.isA("T_Leaf", "T_Leaf"));
    EXPECT_TRUE(s.isA("T_Leaf", "T_Mid"));
    EXPECT_TRUE(s.isA("t_leaf", "T_ROOT"));
    EXPECT_TRUE(s.isA("T_NarrowLink", "T_Link"));
    EXPECT_FALSE(s.isA("T_Mid", "T_Leaf"));
    EXPECT_FALSE(s.isA("T_Other", "T_Mid"));
    EXPECT_FALSE(s.isA("T_Unknown", "T_Unknown"));
    EXPECT_FALSE(s.isA("T_Leaf", "T_Unknown"));
}

TEST(SchemaHierarchy, SubclassesAndHierarchyKeepDeclarationOrder) {
    const Schema s = Schema::loadString(kTree, "tree.mof");
    EXPECT_EQ(s.subclassesOf("t_root", false), (std::vector<std::string>{"T_Mid", "T_Other"}));
    EXPECT_EQ(s.subclassesOf("T_Root", true),
              (std::vector<std::string>{"T_Mid", "T_Leaf", "T_Other"}));
    EXPECT_TRUE(s.subclassesOf("T_Leaf", true).empty());
    EXPECT_EQ(s.classNames(), (std::vector<std::string>{"T_Root", "T_Mid", "T_Leaf", "T_Other",
                                                        "T_Link", "t_narrowLink"}));
    const auto pairs = s.hierarchy();
    ASSERT_EQ(pairs.size(), 6u);
    EXPECT_EQ(pairs[0], (std::pair<std::string, std::string>{"T_Root", ""}));
    EXPECT_EQ(pairs[2], (std::pair<std::string, std::string>{"T_Leaf", "T_Mid"}));
}

TEST(SchemaHierarchy, AllPropertiesPutsInheritedFirstAndOverridesInPlace) {
    const Schema s = Schema::loadString(kTree, "tree.mof");
    const std::vector<Property> leaf = s.allProperties("T_LEAF");
    EXPECT_EQ(names(leaf),
              (std::vector<std::string>{"Id", "Label", "Old", "Level", "Seen", "Ratio"}));
    EXPECT_EQ(named(leaf, "Id").classOrigin, "T_Leaf");
    EXPECT_EQ(named(leaf, "Label").classOrigin, "T_Mid");
    EXPECT_EQ(named(leaf, "Old").classOrigin, "T_Root");
    EXPECT_EQ(named(leaf, "Seen").type, "datetime");
    EXPECT_TRUE(named(leaf, "Ratio").isArray);
    EXPECT_EQ(named(leaf, "Ratio").arraySize, 4);
    EXPECT_EQ(named(leaf, "Level").defaultValue, "3");
    EXPECT_TRUE(s.allProperties("T_Nowhere").empty());
}

TEST(SchemaHierarchy, OverridesInheritPropagatedQualifiersButNotRestrictedOnes) {
    const Schema s = Schema::loadString(kTree, "tree.mof");
    const std::vector<Property> leaf = s.allProperties("T_Leaf");
    const Property& id = named(leaf, "Id");
    EXPECT_TRUE(id.isKey) << "Key passes to an override that does not repeat it";
    EXPECT_EQ(cimmof::findQualifier(id.qualifiers, "Description")->value, "root key");
    EXPECT_EQ(cimmof::findQualifier(id.qualifiers, "Override")->value, "Id");
    const Property& label = named(leaf, "Label");
    EXPECT_EQ(cimmof::findQualifier(label.qualifiers, "Description")->value, "mid label");
    EXPECT_EQ(cimmof::findQualifier(label.qualifiers, "Override"), nullptr)
        << "Override describes T_Mid only";
    EXPECT_EQ(cimmof::findQualifier(named(leaf, "Old").qualifiers, "Deprecated"), nullptr);
    const ClassDecl* mid = s.find("T_Mid");
    ASSERT_NE(mid, nullptr);
    EXPECT_EQ(mid->properties.size(), 2u) << "a class keeps only its own declarations";
}

TEST(SchemaHierarchy, FindAndReferencesUseDeclaredSpelling) {
    const Schema s = Schema::loadString(kTree, "tree.mof");
    const ClassDecl* narrow = s.find("T_NARROWLINK");
    ASSERT_NE(narrow, nullptr);
    EXPECT_EQ(narrow->name, "t_narrowLink");
    EXPECT_EQ(narrow->superclass, "T_Link");
    EXPECT_TRUE(narrow->isAssociation) << "association-ness passes to subclasses";
    EXPECT_FALSE(narrow->isAbstract);
    EXPECT_TRUE(s.find("T_Root")->isAbstract);
    EXPECT_EQ(narrow->properties[0].refClass, "T_Leaf");
    EXPECT_EQ(narrow->file, "tree.mof");
    EXPECT_EQ(narrow->line, 24);
    const std::vector<Property> refs = s.allProperties("t_narrowLink");
    EXPECT_EQ(named(refs, "Left").refClass, "T_Leaf");
    EXPECT_EQ(named(refs, "Right").refClass, "T_Root");
    EXPECT_TRUE(named(refs, "Left").isKey);
}

TEST(SchemaHierarchy, AssociationsReferencingMatchesEveryRoleAClassCanFill) {
    const Schema s = Schema::loadString(kTree, "tree.mof");
    auto assocNames = [&](const std::string& cls) {
        std::vector<std::string> out;
        for (const ClassDecl* c : s.associationsReferencing(cls)) {
            out.push_back(c->name);
        }
        return out;
    };
    EXPECT_EQ(assocNames("T_Leaf"), (std::vector<std::string>{"T_Link", "t_narrowLink"}));
    EXPECT_EQ(assocNames("T_Other"), (std::vector<std::string>{"T_Link", "t_narrowLink"}))
        << "t_narrowLink's Right still takes any T_Root";
    EXPECT_TRUE(assocNames("T_Nowhere").empty());
}

TEST(SchemaHierarchy, MethodsKeepTheirSignature) {
    const Schema s = Schema::loadString(R"(
        class M {
            [Description("go")] uint32 Go([In] string Why, [In, Out] uint16 Codes[], m REF Self);
            sint64 Nothing();
        };)",
                                        "m.mof");
    const ClassDecl* m = s.find("M");
    ASSERT_EQ(m->methods.size(), 2u);
    EXPECT_EQ(m->methods[0].name, "Go");
    EXPECT_EQ(m->methods[0].returnType, "uint32");
    ASSERT_EQ(m->methods[0].parameters.size(), 3u);
    EXPECT_TRUE(m->methods[0].parameters[1].isArray);
    EXPECT_EQ(m->methods[0].parameters[2].refClass, "M");
    EXPECT_TRUE(m->methods[1].parameters.empty());
    EXPECT_TRUE(m->properties.empty());
}

class TempDir {
  public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "mof_test_XXXXXX").string();
        if (mkdtemp(&pattern[0]) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        path_ = pattern;
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::string write(const std::string& name, const std::string& text) const {
        const std::filesystem::path file = path_ / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << text;
        return file.string();
    }

  private:
    std::filesystem::path path_;
};

TEST(SchemaIncludes, AreResolvedRelativeToTheIncludingFile) {
    TempDir dir;
    dir.write("sub/base.mof", "class B {};\n#pragma include(\"deeper/leaf.mof\")\n");
    dir.write("sub/deeper/leaf.mof", "class L : B {};\n");
    const std::string top = dir.write(
        "top.mof", "#pragma locale(\"en_US\")\n#pragma include(\"sub/base.mof\")\nclass T : L {};");
    const Schema s = Schema::loadFile(top);
    EXPECT_EQ(s.classNames(), (std::vector<std::string>{"B", "L", "T"}));
    EXPECT_NE(s.find("L")->file.find("sub/deeper/leaf.mof"), std::string::npos);
}

TEST(SchemaIncludes, FailuresPointAtThePragma) {
    TempDir dir;
    const std::string missing = dir.write("missing.mof", "\n  #pragma include(\"nope.mof\")");
    EXPECT_TRUE(
        mofassert::failsAt([&] { Schema::loadFile(missing); }, missing, 2, 19, "cannot include"));

    dir.write("a.mof", "#pragma include(\"b.mof\")");
    const std::string b = dir.write("b.mof", "class B {};\n#pragma include(\"a.mof\")");
    const std::string start = dir.write("start.mof", "#pragma include(\"a.mof\")");
    EXPECT_TRUE(mofassert::failsAt([&] { Schema::loadFile(start); }, b, 2, 17, "include cycle"));

    const std::string self = dir.write("self.mof", "#pragma include(\"self.mof\")");
    EXPECT_TRUE(mofassert::failsAt([&] { Schema::loadFile(self); }, self, 1, 17, "include cycle"));
    const std::string empty = dir.write("empty.mof", "#pragma include(\"\")");
    EXPECT_TRUE(mofassert::failsAt([&] { Schema::loadFile(empty); }, empty, 1, 17, "empty"));
    const std::string directory = dir.write("dir.mof", "#pragma include(\"sub\")");
    dir.write("sub/x.mof", "");
    EXPECT_TRUE(mofassert::failsAt([&] { Schema::loadFile(directory); }, directory, 1, 17,
                                   "not a regular file"));
}

TEST(SchemaIncludes, NestingDepthIsBounded) {
    TempDir dir;
    const int chain = cimmof::kMaxIncludeDepth + 2;
    std::vector<std::string> files;
    for (int i = 0; i <= chain; ++i) {
        files.push_back(dir.write("n" + std::to_string(i) + ".mof",
                                  i == chain
                                      ? "class End {};"
                                      : "#pragma include(\"n" + std::to_string(i + 1) + ".mof\")"));
    }
    // The outermost file is level 0, so the file at the limit is the one refused.
    EXPECT_TRUE(mofassert::failsAt([&] { Schema::loadFile(files[0]); },
                                   files[cimmof::kMaxIncludeDepth - 1], 1, 17, "nested more than"));
}

TEST(SchemaIncludes, MissingTopFileIsNamed) {
    EXPECT_TRUE(mofassert::failsAt([] { Schema::loadFile("/nonexistent/dir/schema.mof"); },
                                   "/nonexistent/dir/schema.mof", 0, 0, ""));
}

}  // namespace
