// Whatever is planted under the platform root: every call fails quickly with a clear return code,
// and nothing outside the root is ever read or written.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "platform/errl_entry.h"
#include "platform/sim/sim_return_codes.h"
#include "platform/trace.h"
#include "platform/util_reg.h"
#include "tests/support/platform_fixture.h"

namespace {

namespace fs = std::filesystem;

std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// What is planted at a path beneath the root: a symbolic link to `text` in the folder beside the
// root, a folder, a FIFO, a regular file holding `text`, or a second hard link to a file beside.
enum class Kind { LinkOut, Folder, Fifo, File, HardLinkOut };

struct Plant {
    const char* what;
    Kind kind;
    std::string relative;
    std::string text;
};

// A fresh root with a folder beside it holding "secret" and a valid fault code, both of which
// must stay out of reach.
class Planted : public cimptest::PlatformRoot {
  public:
    // A relative path "trace/*" names the file of the buffer `traceName`.
    explicit Planted(const Plant& plant, const std::string& traceName = "")
        : outside(root() + "-outside") {
        cimptest::writeFile(outside + "/v", "secret");
        cimptest::writeFile(outside + "/v.fail", "0x0BADC0DE");
        cimptest::writeFile(outside + "/area/v", "secret");
        const std::string path =
            root() + "/" + (plant.relative == "trace/*" ? "trace/" + traceName : plant.relative);
        fs::create_directories(fs::path(path).parent_path());
        const int failed = plant.kind == Kind::LinkOut
                               ? symlink((outside + "/" + plant.text).c_str(), path.c_str())
                           : plant.kind == Kind::HardLinkOut
                               ? link((outside + "/v").c_str(), path.c_str())
                           : plant.kind == Kind::Fifo   ? mkfifo(path.c_str(), 0644)
                           : plant.kind == Kind::Folder ? !fs::create_directories(path)
                                                        : (cimptest::writeFile(path, plant.text), 0);
        EXPECT_EQ(failed, 0) << plant.what;
    }
    ~Planted() { fs::remove_all(outside); }

    // Nothing outside was changed or added.
    void expectOutsideUntouched(const char* what) const {
        EXPECT_EQ(readText(outside + "/v"), "secret") << what;
        EXPECT_EQ(std::distance(fs::directory_iterator(outside), fs::directory_iterator()), 3)
            << what;
    }

    const std::string outside;
};

uint32_t readRc(const char* key) {
    char buffer[8];
    unsigned int size = sizeof buffer;
    std::unique_ptr<ErrlEntry> entry(UtilReg::read(key, buffer, size, false, nullptr));
    return entry ? entry->getRC() : 0;
}

TEST(HostileRoot, ReadsFailClearlyOnAnythingButAPlainFileBeneathTheRoot) {
    const std::pair<Plant, uint32_t> cases[] = {
        // clang-format off
        {{"value links out", Kind::LinkOut, "registry/area/v", "v"}, cimpsim::kRcUnreadable},
        {{"area links out", Kind::LinkOut, "registry/area", ""}, cimpsim::kRcUnreadable},
        {{"registry links out", Kind::LinkOut, "registry", ""}, cimpsim::kRcUnreadable},
        {{"fault file links out", Kind::LinkOut, "registry/area/v.fail", "v.fail"}, cimpsim::kRcUnreadable},
        {{"value is a folder", Kind::Folder, "registry/area/v", ""}, cimpsim::kRcUnreadable},
        {{"value is a FIFO", Kind::Fifo, "registry/area/v", ""}, cimpsim::kRcUnreadable},
        {{"fault file is a FIFO", Kind::Fifo, "registry/area/v.fail", ""}, cimpsim::kRcUnreadable},
        {{"fault file is a folder", Kind::Folder, "registry/area/v.fail", ""}, cimpsim::kRcUnreadable},
        {{"area is a file", Kind::File, "registry/area", "x"}, cimpsim::kRcMissing},
        {{"fault file holds binary", Kind::File, "registry/area/v.fail", std::string("\x00\xff\x1b", 3)}, cimpsim::kRcBadFaultFile},
        {{"fault file is huge", Kind::File, "registry/area/v.fail", std::string(1 << 20, '1')}, cimpsim::kRcBadFaultFile},
        {{"value is huge", Kind::File, "registry/area/v", std::string(1 << 20, 'v')}, 0},
        // clang-format on
    };
    for (const auto& [plant, rc] : cases) {
        Planted planted(plant);
        EXPECT_EQ(readRc("area/v"), rc) << plant.what;
        planted.expectOutsideUntouched(plant.what);
    }
}

// Trace buffers live as long as the process, so each root opens one of its own.
TEST(HostileRoot, WritesGoOnlyToPlainSingleLinkFilesBeneathTheRoot) {
    const Plant cases[] = {
        {"errl links out", Kind::LinkOut, "errl", ""},
        {"errl/log links out", Kind::LinkOut, "errl/log", "v"},
        {"errl/log has a second link", Kind::HardLinkOut, "errl/log", ""},
        {"errl/log is a FIFO", Kind::Fifo, "errl/log", ""},
        {"errl/log is a folder", Kind::Folder, "errl/log", ""},
        {"trace links out", Kind::LinkOut, "trace", ""},
        {"trace file links out", Kind::LinkOut, "trace/*", "v"},
        {"trace file has a second link", Kind::HardLinkOut, "trace/*", ""},
    };
    for (const Plant& plant : cases) {
        const std::string traceName = "Hostile" + std::to_string(&plant - cases);
        Planted planted(plant, traceName);
        char buffer[4];
        unsigned int size = sizeof buffer;
        std::unique_ptr<ErrlEntry>(UtilReg::read("area/missing", buffer, size, false, nullptr))
            ->commit(0xD400, 0x2000);
        trace_desc_t td = TRACE_DESC_INVALID;
        ASSERT_EQ(trace_adal_init_buffer(&td, traceName.c_str(), 4096), 0);
        EXPECT_EQ(trace_adal_write_all(td, 0x1, " %X", 1, 0, 0xFFFFFFFFu), 0) << plant.what;
        planted.expectOutsideUntouched(plant.what);
    }
}

}  // namespace
