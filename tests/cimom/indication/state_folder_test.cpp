// The state folder as the daemon sees it: what it saves it loads back; a crash's leftovers and
// a missing file load as nothing; a damaged file is set aside and reported by place and new name.
#include "cimom/indication/state_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace cimhost {
namespace {

namespace fs = std::filesystem;

class StateFolderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "state-folder-XXXXXX").string();
        ASSERT_NE(::mkdtemp(&pattern[0]), nullptr);
        root_ = pattern;
        dir_ = root_ + "/state";
    }
    void TearDown() override { fs::remove_all(root_); }

    void writeFile(const std::string& name, const std::string& text) const {
        std::ofstream(dir_ + "/" + name, std::ios::binary) << text;
    }
    std::vector<std::string> filesInFolder() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string root_;
    std::string dir_;
};

cimmof::InstanceDecl destination(const std::string& name, const std::string& url) {
    cimmof::InstanceDecl inst;
    inst.className = "CIM_ListenerDestinationCIMXML";
    inst.values = {{"Name", name, {}, false, false},
                   {"Destination", url, {}, false, false},
                   {"PersistenceType", "2", {}, false, false}};
    return inst;
}

std::string destinationOf(const cimmof::InstanceDecl& inst) {
    return cimmof::findByName(inst.values, "Destination")->value;
}

TEST_F(StateFolderTest, SavedInstancesLoadBackAndReplaceTheOldOnes) {
    const StateFolder folder(dir_);
    ASSERT_TRUE(folder.persistent());
    ASSERT_TRUE(folder.save("destinations", {destination("a", "http://127.0.0.1:1/\"x\"")}).ok());
    ASSERT_TRUE(folder
                    .save("destinations", {destination("b", "https://127.0.0.1:2/"),
                                           destination("c", "http://127.0.0.1:3/")})
                    .ok());
    std::vector<cimmof::InstanceDecl> loaded;
    const cimp::Outcome outcome = folder.load("destinations", &loaded);
    ASSERT_TRUE(outcome.ok()) << outcome.message();
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(destinationOf(loaded[0]), "https://127.0.0.1:2/");
    EXPECT_EQ(destinationOf(loaded[1]), "http://127.0.0.1:3/");
    EXPECT_EQ(filesInFolder(), std::vector<std::string>{"destinations.mof"});
}

TEST_F(StateFolderTest, MissingFileAndCrashLeftoversLoadAsNothing) {
    const StateFolder folder(dir_);
    std::vector<cimmof::InstanceDecl> loaded{destination("stale", "http://127.0.0.1:9/")};
    ASSERT_TRUE(folder.load("filters", &loaded).ok());  // the folder does not exist yet
    EXPECT_TRUE(loaded.empty());

    ASSERT_TRUE(folder.save("filters", {destination("kept", "http://127.0.0.1:4/")}).ok());
    writeFile("filters.mof.tmp-ABC123", "instance of Half {");  // a save cut short by a crash
    ASSERT_TRUE(folder.load("filters", &loaded).ok());
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(destinationOf(loaded[0]), "http://127.0.0.1:4/");
}

TEST_F(StateFolderTest, DamagedFileIsSetAsideAndNamedWithItsLine) {
    const StateFolder folder(dir_);
    ASSERT_TRUE(folder.save("subscriptions", {}).ok());
    const std::vector<std::pair<std::string, std::string>> damaged = {
        {"instance of A { Name = \"a\"; };\ninstance of B {\n  Name = ;\n};\n", ".mof:3:"},
        {"class Evil { string X; };\n", ".mof:1:"},
        {"#pragma include(\"/etc/passwd\")\n", ".mof:1:"},
        {"instance of A { Name = \"unterminated\n", ".mof:1:"},
        {std::string(StateFolder::kMaxStateFileBytes + 1, ' '), ".mof: larger than"}};
    for (const auto& [text, place] : damaged) {
        SCOPED_TRACE(place);
        for (const auto& entry : fs::directory_iterator(dir_)) {
            fs::remove(entry.path());
        }
        writeFile("subscriptions.mof", text);
        std::vector<cimmof::InstanceDecl> loaded{destination("stale", "http://127.0.0.1:9/")};
        const cimp::Outcome outcome = folder.load("subscriptions", &loaded);
        EXPECT_FALSE(outcome.ok());
        EXPECT_TRUE(loaded.empty());
        const std::vector<std::string> files = filesInFolder();
        ASSERT_EQ(files.size(), 1u);
        EXPECT_EQ(files[0].rfind("subscriptions.mof.damaged-", 0), 0u);
        EXPECT_NE(outcome.message().find(dir_ + "/subscriptions" + place), std::string::npos)
            << outcome.message();
        EXPECT_NE(outcome.message().find("set aside as " + dir_ + "/" + files[0]),
                  std::string::npos)
            << outcome.message();
        EXPECT_EQ(fs::file_size(dir_ + "/" + files[0]), text.size());  // nothing is lost
    }
}

TEST_F(StateFolderTest, WithoutAFolderNothingPersists) {
    const StateFolder none("");
    EXPECT_FALSE(none.persistent());
    EXPECT_TRUE(none.save("filters", {destination("a", "http://127.0.0.1:1/")}).ok());
    std::vector<cimmof::InstanceDecl> loaded;
    EXPECT_TRUE(none.load("filters", &loaded).ok());
    EXPECT_TRUE(loaded.empty());
}

TEST_F(StateFolderTest, PrepareMakesTheFolderOrSaysWhyItCannot) {
    EXPECT_TRUE(StateFolder("").prepare().ok());
    EXPECT_TRUE(StateFolder(dir_).prepare().ok());
    EXPECT_TRUE(fs::is_directory(dir_));
    std::ofstream(root_ + "/plain-file") << "not a folder";
    const cimp::Outcome refused = StateFolder(root_ + "/plain-file/state").prepare();
    EXPECT_FALSE(refused.ok());
    EXPECT_NE(refused.message().find(root_ + "/plain-file/state"), std::string::npos)
        << refused.message();
}

TEST_F(StateFolderTest, RefusesRelativeFoldersAndPathNames) {
    EXPECT_FALSE(StateFolder("relative/state").save("filters", {}).ok());
    const StateFolder folder(dir_);
    std::vector<cimmof::InstanceDecl> loaded;
    EXPECT_FALSE(folder.save("../escape", {}).ok());
    EXPECT_FALSE(folder.load("../escape", &loaded).ok());
    EXPECT_FALSE(fs::exists(root_ + "/escape.mof"));
}

}  // namespace
}  // namespace cimhost
