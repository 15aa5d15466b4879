// Whatever changes the platform's files between two calls, the second call sees it, in this
// process, on any of its threads, and in a child forked from it.
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <future>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/errl_entry.h"
#include "platform/util_reg.h"
#include "tests/support/platform_fixture.h"

namespace {

namespace fs = std::filesystem;

// The value of `area/v`, or its return code when the read fails.
std::string readValue() {
    char buffer[32];
    unsigned int size = sizeof buffer;
    std::unique_ptr<ErrlEntry> entry(UtilReg::read("area/v", buffer, size, false, nullptr));
    return entry ? "rc " + std::to_string(entry->getRC()) : std::string(buffer, size);
}

class ChangeSeen : public cimptest::PlatformFixture {
  protected:
    std::string path(const std::string& relative) const { return root() + "/" + relative; }
};

TEST_F(ChangeSeen, EveryKindOfChangeIsSeenByTheNextCall) {
    struct Case {
        const char* what;
        std::function<void()> change;
        std::string expected;
    };
    const std::string value = path("registry/area/v");
    const std::string spare = root() + "-spare";
    const Case cases[] = {
        {"rewritten in place, same size", [&] { cimptest::writeFile(value, "new"); }, "new"},
        {"replaced by a rename",
         [&] {
             cimptest::writeFile(value + ".tmp", "renamed");
             fs::rename(value + ".tmp", value);
         },
         "renamed"},
        {"fault file created", [&] { cimptest::writeFile(value + ".fail", "0x51A00009"); },
         "rc " + std::to_string(0x51A00009)},
        {"fault file removed", [&] { fs::remove(value + ".fail"); }, "renamed"},
        {"area replaced by another folder",
         [&] {
             fs::rename(path("registry/area"), path("registry/old"));
             fs::create_directories(path("registry/area"));
             cimptest::writeFile(value, "fresh area");
         },
         "fresh area"},
        {"written through a second link elsewhere",
         [&] {
             fs::create_directories(path("elsewhere"));
             fs::create_hard_link(value, path("elsewhere/v"));
             readValue();
             cimptest::writeFile(path("elsewhere/v"), "linked");
         },
         "linked"},
        {"root replaced at its path",
         [&] {
             fs::rename(root(), spare);
             fs::create_directories(path("registry/area"));
             cimptest::writeFile(value, "new root");
         },
         "new root"},
    };
    setRegistry("area/v", "old");
    for (const Case& c : cases) {
        readValue();
        c.change();
        EXPECT_EQ(readValue(), c.expected) << c.what;
    }
    fs::remove_all(spare);
}

TEST_F(ChangeSeen, ThroughALinkedRootThatIsRetargeted) {
    const std::string link = root() + "-link";
    const std::string other = root() + "-other";
    fs::create_directories(other + "/registry/area");
    cimptest::writeFile(other + "/registry/area/v", "other");
    setRegistry("area/v", "first");
    fs::create_directory_symlink(root(), link);
    setenv("CIMP_PLATFORM_ROOT", link.c_str(), 1);
    EXPECT_EQ(readValue(), "first");
    fs::remove(link);
    fs::create_directory_symlink(other, link);
    EXPECT_EQ(readValue(), "other");
    setenv("CIMP_PLATFORM_ROOT", root().c_str(), 1);
    fs::remove(link);
    fs::remove_all(other);
}

// Many threads alive at once, each reading after a change made while they wait; then a thread
// started afterwards, as a host that starts one per request does.
TEST_F(ChangeSeen, ByEveryThreadAndByThreadsThatComeLater) {
    constexpr int kThreads = 12;
    setRegistry("area/v", "first");
    std::vector<std::string> seen(kThreads);
    std::promise<void> changed;
    std::shared_future<void> go = changed.get_future().share();
    std::atomic<int> warm{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            readValue();
            ++warm;
            go.wait();
            seen[i] = readValue();
        });
    }
    while (warm < kThreads) {
        std::this_thread::yield();
    }
    cimptest::writeFile(path("registry/area/v"), "second");
    changed.set_value();
    for (std::thread& t : threads) {
        t.join();
    }
    EXPECT_EQ(seen, std::vector<std::string>(kThreads, "second"));

    cimptest::writeFile(path("registry/area/v"), "third");
    std::thread([&] { seen[0] = readValue(); }).join();
    EXPECT_EQ(seen[0], "third");
}

// The child inherits the parent's open files; its calls must neither miss a change nor hide one
// from the parent.
TEST_F(ChangeSeen, InAForkedChildAndInItsParentAfterwards) {
    setRegistry("area/v", "before");
    ASSERT_EQ(readValue(), "before");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        cimptest::writeFile(path("registry/area/v"), "child");
        _exit(readValue() == "child" ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child read a stale value";
    EXPECT_EQ(readValue(), "child");
}

}  // namespace
