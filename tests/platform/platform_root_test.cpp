// Which root the platform's services read beneath, observed through the OS seam.
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "platform/errl_entry.h"
#include "platform/sim/scoped_env.h"
#include "platform/sim/platform_root.h"
#include "platform/util_reg.h"

namespace {

// Answers CIMP_PLATFORM_ROOT with a chosen value and notes each directory the platform opens,
// every one of them empty.
class RecordingEnv : public cimpsim::Env {
  public:
    explicit RecordingEnv(std::optional<std::string> root) : root_(std::move(root)) {}

    std::optional<std::string> variable(const char*) const override { return root_; }
    uint64_t nowNanos() const override { return 0; }
    std::shared_ptr<const cimpsim::Directory> directory(const std::string& path,
                                                        bool) const override {
        opened.push_back(path);
        return cimpsim::systemEnv().directory("/nonexistent/cimp-test-root", false);
    }

    mutable std::vector<std::string> opened;

  private:
    std::optional<std::string> root_;
};

TEST(PlatformRoot, ServicesReadBeneathTheVariableOrTheDefaultWhenItIsUnusable) {
    const std::string fallback = cimpsim::defaultPlatformRoot();
    ASSERT_EQ(fallback.front(), '/');
    const std::pair<std::optional<std::string>, std::string> cases[] = {
        {std::nullopt, fallback},
        {std::string(), fallback},
        {"relative/root", fallback},
        {"./root", fallback},
        {"/srv/platform", "/srv/platform"}};
    for (const auto& [variable, root] : cases) {
        RecordingEnv env(variable);
        cimpsim::ScopedEnv scoped(env);
        char buffer[4];
        unsigned int size = sizeof buffer;
        std::unique_ptr<ErrlEntry> entry(
            UtilReg::read("dscv/FspRole", buffer, size, false, nullptr));
        EXPECT_NE(entry, nullptr);
        ASSERT_FALSE(env.opened.empty()) << variable.value_or("unset");
        EXPECT_EQ(env.opened.back(), root) << variable.value_or("unset");
    }
}

}  // namespace
