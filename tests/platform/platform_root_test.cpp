// Which root the platform uses, observed through the OS seam.
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/errl_entry.h"
#include "platform/sim/env.h"
#include "platform/sim/platform_root.h"
#include "platform/util_reg.h"

namespace {

// A root where every file is missing; records the paths read.
class RecordingDirectory : public cimpsim::Directory {
  public:
    RecordingDirectory(std::string path, std::vector<std::string>& reads)
        : path_(std::move(path)), reads_(reads) {}
    cimpsim::FileRead read(const std::string& relative, char*, size_t) const override {
        reads_.push_back(path_ + "/" + relative);
        return {cimpsim::ReadStatus::Missing, 0};
    }
    bool appendLocked(const std::string&, size_t,
                      const std::function<std::string(const std::string&)>&) const override {
        return false;
    }
    std::unique_ptr<cimpsim::SharedMapping> mapShared(
        const std::string&, size_t, const std::function<void(uint8_t*, size_t)>&) const override {
        return nullptr;
    }

  private:
    std::string path_;
    std::vector<std::string>& reads_;
};

// Answers CIMP_PLATFORM_ROOT with a chosen value and records the files read.
class RecordingEnv : public cimpsim::Env {
  public:
    explicit RecordingEnv(std::optional<std::string> root) : root_(std::move(root)) {}

    std::optional<std::string> variable(const char*) const override { return root_; }
    uint64_t nowNanos() const override { return 0; }
    std::shared_ptr<const cimpsim::Directory> directory(const std::string& path,
                                                        bool) const override {
        return std::make_shared<RecordingDirectory>(path, reads);
    }

    mutable std::vector<std::string> reads;

  private:
    std::optional<std::string> root_;
};

TEST(PlatformRoot, UnusableVariableFallsBackToTheDefault) {
    const std::string fallback = cimpsim::defaultPlatformRoot();
    ASSERT_EQ(fallback.front(), '/');
    const std::optional<std::string> unusable[] = {
        std::nullopt, std::string(), std::string("relative/root"), std::string("./root")};
    for (const auto& value : unusable) {
        EXPECT_EQ(cimpsim::platformRoot(RecordingEnv(value)), fallback) << value.value_or("unset");
    }
    EXPECT_EQ(cimpsim::platformRoot(RecordingEnv(std::string("/srv/platform"))), "/srv/platform");
}

TEST(PlatformRoot, ServicesReadBeneathTheRootInForce) {
    RecordingEnv env(std::string("relative"));
    cimpsim::ScopedEnv scoped(env);
    char buffer[4];
    unsigned int size = sizeof buffer;
    std::unique_ptr<ErrlEntry> entry(UtilReg::read("dscv/FspRole", buffer, size, false, nullptr));
    ASSERT_NE(entry, nullptr);
    ASSERT_FALSE(env.reads.empty());
    EXPECT_EQ(env.reads.back(),
              std::string(cimpsim::defaultPlatformRoot()) + "/registry/dscv/FspRole");
}

}  // namespace
