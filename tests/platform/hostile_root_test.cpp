// Whatever is planted under the platform root: every call fails quickly with a clear return code,
// and nothing outside the root is ever read or written.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/errl_entry.h"
#include "platform/sim/sim_return_codes.h"
#include "platform/trace.h"
#include "platform/util_reg.h"
#include "tests/support/platform_fixture.h"

namespace {

namespace fs = std::filesystem;

void writeText(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh root with a folder beside it holding "secret" and a valid fault code, both of which
// must stay out of reach.
class Planted : public cimptest::PlatformRoot {
  public:
    Planted() : outside(root() + "-outside"), traceName("Hostile" + std::to_string(rounds++)) {
        writeText(outside + "/v", "secret");
        writeText(outside + "/v.fail", "0x0BADC0DE");
        writeText(outside + "/area/v", "secret");
    }
    ~Planted() { fs::remove_all(outside); }

    std::string path(const std::string& relative) const { return root() + "/" + relative; }
    void folder(const std::string& relative) const { fs::create_directories(path(relative)); }
    void linkOut(const std::string& target, const std::string& relative) const {
        fs::create_directories(fs::path(path(relative)).parent_path());
        ASSERT_EQ(symlink((outside + "/" + target).c_str(), path(relative).c_str()), 0) << relative;
    }
    void hardLinkOut(const std::string& relative) const {
        folder(fs::path(relative).parent_path());
        ASSERT_EQ(link((outside + "/v").c_str(), path(relative).c_str()), 0) << relative;
    }
    void fifo(const std::string& relative) const {
        folder(fs::path(relative).parent_path());
        ASSERT_EQ(mkfifo(path(relative).c_str(), 0644), 0) << relative;
    }
    // Nothing outside was changed or added.
    void expectOutsideUntouched(const char* what) const {
        EXPECT_EQ(readText(outside + "/v"), "secret") << what;
        EXPECT_EQ(std::distance(fs::directory_iterator(outside), fs::directory_iterator()), 3)
            << what;
    }

    const std::string outside;
    // Trace buffers live as long as the process, so each root opens one of its own.
    const std::string traceName;

  private:
    static inline int rounds = 0;
};

uint32_t readRc(const char* key) {
    char buffer[8];
    unsigned int size = sizeof buffer;
    std::unique_ptr<ErrlEntry> entry(UtilReg::read(key, buffer, size, false, nullptr));
    return entry ? entry->getRC() : 0;
}

TEST(HostileRoot, ReadsFailClearlyOnAnythingButAPlainFileBeneathTheRoot) {
    using cimpsim::kRcBadFaultFile;
    using cimpsim::kRcMissing;
    using cimpsim::kRcUnreadable;
    struct Case {
        const char* what;
        std::function<void(const Planted&)> plant;
        uint32_t rc;
    };
    const Case cases[] = {
        {"value links out", [](const Planted& p) { p.linkOut("v", "registry/area/v"); },
         kRcUnreadable},
        {"area links out", [](const Planted& p) { p.linkOut("", "registry/area"); }, kRcUnreadable},
        {"registry links out", [](const Planted& p) { p.linkOut("", "registry"); }, kRcUnreadable},
        {"fault file links out",
         [](const Planted& p) { p.linkOut("v.fail", "registry/area/v.fail"); }, kRcUnreadable},
        {"value is a folder", [](const Planted& p) { p.folder("registry/area/v"); }, kRcUnreadable},
        {"value is a FIFO", [](const Planted& p) { p.fifo("registry/area/v"); }, kRcUnreadable},
        {"fault file is a FIFO", [](const Planted& p) { p.fifo("registry/area/v.fail"); },
         kRcUnreadable},
        {"fault file is a folder", [](const Planted& p) { p.folder("registry/area/v.fail"); },
         kRcUnreadable},
        {"area is a file", [](const Planted& p) { writeText(p.path("registry/area"), "x"); },
         kRcMissing},
        {"fault file holds binary",
         [](const Planted& p) {
             writeText(p.path("registry/area/v.fail"), std::string("\x00\xff\x1b", 3));
         },
         kRcBadFaultFile},
        {"fault file is huge",
         [](const Planted& p) {
             writeText(p.path("registry/area/v.fail"), std::string(1 << 20, '1'));
         },
         kRcBadFaultFile},
        {"value is huge",
         [](const Planted& p) { writeText(p.path("registry/area/v"), std::string(1 << 20, 'v')); },
         0},
    };
    for (const Case& c : cases) {
        Planted planted;
        c.plant(planted);
        EXPECT_EQ(readRc("area/v"), c.rc) << c.what;
        planted.expectOutsideUntouched(c.what);
    }
}

TEST(HostileRoot, WritesGoOnlyToPlainSingleLinkFilesBeneathTheRoot) {
    struct Case {
        const char* what;
        std::function<void(const Planted&)> plant;
    };
    const Case cases[] = {
        {"errl links out", [](const Planted& p) { p.linkOut("", "errl"); }},
        {"errl/log links out", [](const Planted& p) { p.linkOut("v", "errl/log"); }},
        {"errl/log has a second link", [](const Planted& p) { p.hardLinkOut("errl/log"); }},
        {"errl/log is a FIFO", [](const Planted& p) { p.fifo("errl/log"); }},
        {"trace links out", [](const Planted& p) { p.linkOut("", "trace"); }},
        {"trace file links out", [](const Planted& p) { p.linkOut("v", "trace/" + p.traceName); }},
        {"trace file has a second link",
         [](const Planted& p) { p.hardLinkOut("trace/" + p.traceName); }},
    };
    for (const Case& c : cases) {
        Planted planted;
        c.plant(planted);
        char buffer[4];
        unsigned int size = sizeof buffer;
        std::unique_ptr<ErrlEntry>(UtilReg::read("area/missing", buffer, size, false, nullptr))
            ->commit(0xD400, 0x2000);
        trace_desc_t td = TRACE_DESC_INVALID;
        ASSERT_EQ(trace_adal_init_buffer(&td, planted.traceName.c_str(), 4096), 0);
        EXPECT_EQ(trace_adal_write_all(td, 0x1, " %X", 1, 0, 0xFFFFFFFFu), 0) << c.what;
        planted.expectOutsideUntouched(c.what);
    }
}

}  // namespace
