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

// Answers CIMP_PLATFORM_ROOT with a chosen value and records the directories read from.
class RecordingEnv : public cimpsim::Env {
  public:
    explicit RecordingEnv(std::optional<std::string> root) : root_(std::move(root)) {}

    std::optional<std::string> variable(const char*) const override { return root_; }
    uint64_t nowNanos() const override { return 0; }
    cimpsim::ReadStatus readBeneath(const std::string& base, const std::string&, size_t,
                                    std::string&) const override {
        bases.push_back(base);
        return cimpsim::ReadStatus::Missing;
    }
    bool appendLocked(const std::string&, size_t,
                      const std::function<std::string(const std::string&)>&) const override {
        return false;
    }
    std::unique_ptr<cimpsim::SharedMapping> mapShared(
        const std::string&, size_t, const std::function<void(uint8_t*, size_t)>&) const override {
        return nullptr;
    }

    mutable std::vector<std::string> bases;

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
    ASSERT_FALSE(env.bases.empty());
    EXPECT_EQ(env.bases.back(), std::string(cimpsim::defaultPlatformRoot()) + "/registry");
}

}  // namespace
