#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cimom/mof/mof_reader.h"
#include "cimom/mof/schema.h"
#include "tests/cimom/mof/mof_error_assert.h"

namespace {

using cimmof::ClassDecl;
using cimmof::Property;
using cimmof::Schema;
using Strings = std::vector<std::string>;

// "Class:Superclass" for every class, as the hierarchy lists them.
Strings hierarchyOf(const Schema& s) {
    Strings names;
    for (const auto& [cls, superclass] : s.hierarchy()) {
        names.push_back(cls + ":" + superclass);
    }
    return names;
}

// Four levels of classes and two levels of associations, with overrides on the way down.
const Schema& tree() {
    static const Schema schema = mofassert::schemaFromText(R"(
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
)",
                                                           "tree.mof");
    return schema;
}

// "Name type[N] RefClass =default key (Origin) Qualifier=value..." for one property.
std::string describe(const Property& p) {
    std::string out = p.name + " " + p.type;
    if (p.isArray) {
        out += "[" + std::to_string(p.arraySize) + "]";
    }
    out += (p.refClass.empty() ? "" : " " + p.refClass) +
           (p.hasDefault ? " =" + p.defaultValue : "") + (p.isKey ? " key" : "") +
           (p.classOrigin.empty() ? "" : " (" + p.classOrigin + ")");
    for (const cimmof::Qualifier& q : p.qualifiers) {
        out += " " + q.name + "=" + q.value;
    }
    return out;
}

Strings describeAll(const std::vector<Property>& properties) {
    Strings out;
    for (const Property& p : properties) {
        out.push_back(describe(p));
    }
    return out;
}

TEST(SchemaHierarchy, IsAFollowsEveryLevelWithoutRegardToCase) {
    const Schema& s = tree();
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
    const Schema& s = tree();
    EXPECT_EQ(s.subclassesOf("t_root", false), (Strings{"T_Mid", "T_Other"}));
    EXPECT_EQ(s.subclassesOf("T_Root", true), (Strings{"T_Mid", "T_Leaf", "T_Other"}));
    EXPECT_TRUE(s.subclassesOf("T_Leaf", true).empty());
    EXPECT_EQ(hierarchyOf(s), (Strings{"T_Root:", "T_Mid:T_Root", "T_Leaf:T_Mid", "T_Other:T_Root",
                                       "T_Link:", "t_narrowLink:T_Link"}));
}

// Inherited properties come first and overrides stay in place; an override keeps the Key and the
// propagated qualifiers it does not repeat, but not the restricted ones (Override, Deprecated).
TEST(SchemaHierarchy, AllPropertiesMergesOverridesAndPropagatedQualifiers) {
    const Schema& s = tree();
    EXPECT_EQ(
        describeAll(s.allProperties("T_LEAF")),
        (Strings{"Id string key (T_Leaf) Key=true Description=root key Override=Id",
                 "Label string (T_Mid) Description=mid label", "Old string (T_Root)",
                 "Level uint8 =3 (T_Mid)", "Seen datetime (T_Leaf)", "Ratio real64[4] (T_Leaf)"}));
    EXPECT_EQ(s.find("T_Mid")->properties.size(), 2u) << "a class keeps only its own declarations";
    EXPECT_TRUE(s.allProperties("T_Nowhere").empty());
    EXPECT_EQ(describeAll(s.allProperties("t_narrowLink")),
              (Strings{"Left ref T_Leaf key (t_narrowLink) Key=true Override=Left",
                       "Right ref T_Root key (T_Link) Key=true"}));
}

TEST(SchemaHierarchy, FindUsesDeclaredSpellingAndPassesAssociationDown) {
    const Schema& s = tree();
    const ClassDecl* narrow = s.find("T_NARROWLINK");
    ASSERT_NE(narrow, nullptr);
    EXPECT_EQ(narrow->name + ":" + narrow->superclass + "@" + narrow->file + ":" +
                  std::to_string(narrow->line),
              "t_narrowLink:T_Link@tree.mof:24");
    EXPECT_TRUE(narrow->isAssociation);
    EXPECT_FALSE(narrow->isAbstract);
    EXPECT_TRUE(s.find("T_Root")->isAbstract);
}

TEST(SchemaHierarchy, AssociationsOfAClassAreEveryOneWithARoleItCanFill) {
    auto assocNames = [](const std::string& cls) {
        Strings out;
        for (const ClassDecl* c : tree().resolve(cls)->associations) {
            out.push_back(c->name);
        }
        return out;
    };
    EXPECT_EQ(assocNames("T_Leaf"), (Strings{"T_Link", "t_narrowLink"}));
    EXPECT_EQ(assocNames("T_Other"), (Strings{"T_Link", "t_narrowLink"}))
        << "t_narrowLink's Right still takes any T_Root";
}

TEST(SchemaHierarchy, MethodsKeepTheirSignature) {
    const Schema s = mofassert::schemaFromText(R"(
        class M {
            [Description("go")] uint32 Go([In] string Why, [In, Out] uint16 Codes[], m REF Self);
            sint64 Nothing();
        };)",
                                               "m.mof");
    const ClassDecl* m = s.find("M");
    ASSERT_EQ(m->methods.size(), 2u);
    EXPECT_EQ(m->methods[0].name + " " + m->methods[0].returnType, "Go uint32");
    EXPECT_EQ(describeAll(m->methods[0].parameters),
              (Strings{"Why string In=true", "Codes uint16[0] In=true Out=true", "Self ref M"}));
    EXPECT_TRUE(m->methods[1].parameters.empty());
    EXPECT_TRUE(m->properties.empty());
}

class TempDir {
  public:
    TempDir() : path_(std::filesystem::temp_directory_path() / "mof_test_XXXXXX") {
        std::string pattern = path_.string();
        path_ = mkdtemp(&pattern[0]) == nullptr ? std::string() : pattern;
        EXPECT_FALSE(path_.empty()) << "mkdtemp failed";
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::string path(const std::string& name) const { return (path_ / name).string(); }
    std::string write(const std::string& name, const std::string& text) const {
        std::filesystem::create_directories((path_ / name).parent_path());
        std::ofstream(path_ / name) << text;
        return path(name);
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
    const Schema s = mofassert::schemaFromFile(top);
    EXPECT_EQ(hierarchyOf(s), (Strings{"B:", "L:B", "T:L"}));
    EXPECT_NE(s.find("L")->file.find("sub/deeper/leaf.mof"), std::string::npos);
}

TEST(SchemaIncludes, FailuresPointAtThePragma) {
    TempDir dir;
    dir.write("a.mof", "#pragma include(\"b.mof\")");
    dir.write("b.mof", "class B {};\n#pragma include(\"a.mof\")");
    dir.write("sub/x.mof", "");
    const int deep = cimmof::kMaxIncludeDepth + 2;
    for (int i = 0; i <= deep; ++i) {
        dir.write("n" + std::to_string(i) + ".mof",
                  i == deep ? "class End {};"
                            : "#pragma include(\"n" + std::to_string(i + 1) + ".mof\")");
    }
    const struct {
        std::string start;
        const char* text;  // of the start file; null when written above or absent
        std::string failing;
        int line;
        int column;
        const char* message;
    } cases[] = {
        {"missing.mof", "\n  #pragma include(\"nope.mof\")", "missing.mof", 2, 19,
         "cannot include"},
        {"absent.mof", nullptr, "absent.mof", 0, 0, ""},
        {"start.mof", "#pragma include(\"a.mof\")", "b.mof", 2, 17, "include cycle"},
        {"self.mof", "#pragma include(\"self.mof\")", "self.mof", 1, 17, "include cycle"},
        {"empty.mof", "#pragma include(\"\")", "empty.mof", 1, 17, "empty"},
        {"dir.mof", "#pragma include(\"sub\")", "dir.mof", 1, 17, "not a regular file"},
        // The outermost file is level 0, so the file at the limit is the one refused.
        {"n0.mof", nullptr, "n" + std::to_string(cimmof::kMaxIncludeDepth - 1) + ".mof", 1, 17,
         "nested more than"},
    };
    for (const auto& c : cases) {
        const std::string start = c.text ? dir.write(c.start, c.text) : dir.path(c.start);
        cimmof::MofDocument read;
        EXPECT_TRUE(mofassert::failsAt([&] { return cimmof::readMofFile(start, &read); },
                                       dir.path(c.failing), c.line, c.column, c.message));
    }
}

}  // namespace
