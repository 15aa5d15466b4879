// The daemon's settings from its configuration file and command line: what an operator sees on
// a mistake, and which source wins.
#include "cimom/daemon/daemon_settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace cimhost {
namespace {

class DaemonSettingsTest : public ::testing::Test {
  protected:
    // One file per test: CTest runs the tests of this suite as processes side by side.
    const std::string file = ::testing::TempDir() + "/cimp-cimom-settings-" +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name() +
                             ".conf";

    ~DaemonSettingsTest() override { std::remove(file.c_str()); }

    cimp::Outcome load(const std::string& text, std::vector<std::string> args) {
        std::ofstream(file) << text;
        args.insert(args.begin(), {"--config", file});
        settings = DaemonSettings();
        return loadDaemonSettings(args, "", &settings);
    }

    DaemonSettings settings;
};

// A bad yes/no in the file and bad ports on the command line: e2e.metrics_and_config and
// e2e.startup_and_shutdown.
TEST_F(DaemonSettingsTest, StopsOnAMistakeNamingWhereItIs) {
    const struct {
        std::string text;
        std::vector<std::string> args;
        std::string error;  // FILE stands for the file's name
    } cases[] = {
        {"port = 80\nbogus = 1\n", {}, "FILE:2: unknown setting \"bogus\""},
        {"\n# threads = 2\nthreads = 0\n", {}, "FILE:3: threads takes 1 to 64, not \"0\""},
        {"port 80", {}, "FILE:1: expected \"key = value\""},
        {"port = 1\nport = 2\n", {}, "FILE:2: port is set on FILE:1 already"},
        {"address =   # nothing", {}, "FILE:1: address needs a value"},
        {"max-connections = 100001",
         {},
         "FILE:1: max-connections takes 1 to 100000, not \"100001\""},
        {"", {"--nope"}, "unknown option --nope"},
        {"", {"--idle-timeout"}, "--idle-timeout needs a value"},
        {"", {"--state-dir"}, "--state-dir needs a value"},
        {"state-dir =", {}, "FILE:1: state-dir needs a value"},
        {"tls-cert = cert.pem", {}, "tls-cert and tls-key go together"},
        {"",
         {"--delivery-queue-limit", "0"},
         "--delivery-queue-limit takes 1 to 1000000, not \"0\""},
        {"",
         {"--lifecycle-poll-interval=0"},
         "--lifecycle-poll-interval takes 1 to 3600, not \"0\""},
    };
    for (const auto& c : cases) {
        const cimp::Outcome status = load(c.text, c.args);
        std::string expected = c.error;
        for (auto at = expected.find("FILE"); at != std::string::npos;
             at = expected.find("FILE", at + file.size())) {
            expected.replace(at, 4, file);
        }
        EXPECT_EQ(status.message(), expected) << c.text;
        EXPECT_EQ(status.exitStatus(), 2) << c.text;
    }
    EXPECT_FALSE(loadDaemonSettings({"--config", file + ".missing"}, "", &settings).ok());
}

TEST_F(DaemonSettingsTest, CommandLineOverridesFileOverridesDefault) {
    ASSERT_TRUE(load("port = 6000\n\tthreads = 3   # three\nquiet = yes\nschema = a#b.mof\n",
                     {"--port", "7000", "--quiet=no", "--tls-port=0", "--state-dir", "/srv/state"})
                    .ok());
    const struct {
        const char* line;
        std::string origin;
    } expected[] = {
        {"port = 7000", "command line"},      {"threads = 3", file + ":2"},
        {"quiet = no", "command line"},       {"schema = a#b.mof", file + ":4"},
        {"tls-port = 0", "command line"},     {"address = 127.0.0.1", "default"},
        {"auth-file = (not set)", "default"}, {"state-dir = /srv/state", "command line"},
    };
    const std::string shown = "\n" + describeSettings(settings);
    for (const auto& e : expected) {
        const std::size_t at = shown.find(std::string("\n") + e.line + " ");
        ASSERT_NE(at, std::string::npos) << e.line << " in\n" << shown;
        const std::string line = shown.substr(at + 1, shown.find('\n', at + 1) - at - 1);
        EXPECT_EQ(line.substr(line.rfind("# ") + 2), e.origin) << line;
    }
    EXPECT_EQ(settings.options.limits.maxConnections, 1024u);
    EXPECT_EQ(settings.options.lifecycle.pollInterval, std::chrono::seconds(5));
}

// The delivery and lifecycle settings come out ready for their services, durations given in
// seconds.
TEST_F(DaemonSettingsTest, SettingsAreReadyForTheServices) {
    const cimp::Outcome loaded =
        load("delivery-verify = no\ndelivery-ca-file = /etc/ca.pem\nlifecycle-poll-interval = 2\n",
             {"--delivery-connect-timeout", "2", "--delivery-send-timeout=30",
              "--delivery-queue-limit", "50", "--delivery-senders", "3"});
    ASSERT_TRUE(loaded.ok()) << loaded.message();
    const DeliverySettings& delivery = settings.options.delivery;
    EXPECT_EQ(delivery.connectTimeout, std::chrono::seconds(2));
    EXPECT_EQ(delivery.sendTimeout, std::chrono::seconds(30));
    EXPECT_EQ(delivery.queueLimit, 50u);
    EXPECT_EQ(delivery.senders, 3u);
    EXPECT_EQ(delivery.caFile, "/etc/ca.pem");
    EXPECT_FALSE(delivery.verifyPeer);
    EXPECT_NE(describeSettings(settings).find("delivery-send-timeout = 30 "), std::string::npos);
    EXPECT_EQ(settings.options.lifecycle.pollInterval, std::chrono::seconds(2));
}

// The shipped file names every setting, each with a value the daemon takes.
TEST_F(DaemonSettingsTest, ShippedFileCoversEverySettingWhenUncommented) {
    std::ifstream shipped(CIMHOST_SHIPPED_CONFIG);
    std::string text;
    for (std::string line; std::getline(shipped, line);) {
        const bool setting = line.rfind("# ", 0) == 0 && line.find(" = ") != std::string::npos &&
                             line.find_first_of(" ", 2) == line.find(" = ");
        text += (setting ? line.substr(2) : line) + "\n";
    }
    const cimp::Outcome loaded = load(text, {});
    ASSERT_TRUE(loaded.ok()) << loaded.message();
    for (const std::string& origin : settings.origins) {
        EXPECT_NE(origin, "default");
    }
}

}  // namespace
}  // namespace cimhost
