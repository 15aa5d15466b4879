// Loading providers named by registrations from a real shared library built for these tests.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "broker/broker_runtime.h"
#include "cimom/dispatch/provider_loader.h"

namespace cimhost {
namespace {

std::vector<cimmof::ProviderRegistration> registrations(const std::string& text) {
    std::vector<cimmof::ProviderRegistration> parsed;
    EXPECT_TRUE(cimmof::parseRegistrations(text, "test.registration", &parsed).ok());
    return parsed;
}

std::string record(const std::string& provider, const std::string& library, const std::string& cls,
                   const std::string& types, const std::string& nameSpace = "root/test") {
    return "provider: " + provider + "\nlibrary: " + library + "\nclass: " + cls +
           "\nnamespace: " + nameSpace + "\ntypes: " + types + "\n\n";
}

class ProviderLoaderTest : public ::testing::Test {
  protected:
    int load(const std::string& text) {
        cimbroker::RequestScope scope(runtime_);
        LoaderSettings settings;
        settings.searchDirs = {"/nonexistent-dir", CIMHOST_TEST_PROVIDER_DIR};
        settings.servedNamespace = "root/test";
        return loadProviders(registrations(text), settings, runtime_.broker(), scope.context(),
                             registry_, log_);
    }

    cimbroker::Runtime runtime_;
    ProviderRegistry registry_;
    std::ostringstream log_;
};

// The search directories are tried in order, a missing library by its bare name.
TEST_F(ProviderLoaderTest, BindsWhatLoadsAndReportsEachFaultWhileServingTheRest) {
    const int bound =
        load(record("HostTest", "cimhost_test_provider", "T_Good", "instance association") +
             record("HostTest", "cimhost_test_provider", "T_AlsoGood", "instance") +
             record("Missing", "cimhost_no_such_library", "T_Lost", "instance") +
             record("HostTestRefusing", "cimhost_test_provider", "T_Refused", "instance") +
             record("HostTest", "cimhost_test_provider", "T_Elsewhere", "instance", "root/other") +
             record("HostTest", "cimhost_test_provider", "T_OnlyAssoc", "association"));
    EXPECT_EQ(bound, 2);
    const ClassBinding* good = registry_.find("ROOT/TEST", "t_good");
    ASSERT_NE(good, nullptr);
    EXPECT_TRUE(good->instance);
    EXPECT_FALSE(good->association);
    ASSERT_NE(good->provider->instanceMI, nullptr);
    EXPECT_STREQ(good->provider->instanceMI->ft->miName, "instanceHostTest");
    // One provider, one factory call, one record for every class it serves.
    EXPECT_EQ(registry_.find("root/test", "T_AlsoGood")->provider, good->provider);
    for (const char* lost : {"T_Lost", "T_Refused", "T_Elsewhere", "T_OnlyAssoc"}) {
        EXPECT_EQ(registry_.find("root/test", lost), nullptr) << lost;
    }

    const std::string log = log_.str();
    const char* const reports[] = {
        "lacks symbol HostTest_Create_AssociationMI",
        "cannot load library libcimhost_no_such_library.so",
        "HostTestRefusing_Create_InstanceMI returned no MI (CIM_ERR_FAILED",
        "namespace root/other is not served",
        "class T_OnlyAssoc is not served",
        "test.registration:",
    };
    for (const char* report : reports) {
        EXPECT_NE(log.find(report), std::string::npos) << report << "\n" << log;
    }
    // The missing association symbol is reported once, not for every registration.
    EXPECT_EQ(log.find("lacks symbol"), log.rfind("lacks symbol")) << log;
}

// An indication provider that loads is bound and served as e2e.indication_alerts shows.
TEST_F(ProviderLoaderTest, ReportsAnIndicationProviderWithoutItsFactory) {
    EXPECT_EQ(load(record("HostTestRefusing", "cimhost_test_provider", "T_Quiet", "indication")),
              0);
    EXPECT_EQ(registry_.find("root/test", "T_Quiet"), nullptr);
    EXPECT_NE(log_.str().find("lacks symbol HostTestRefusing_Create_IndicationMI"),
              std::string::npos)
        << log_.str();
}

TEST_F(ProviderLoaderTest, RefusesAClassRegisteredTwice) {
    EXPECT_EQ(load(record("HostTest", "cimhost_test_provider", "T_Good", "instance")), 1);
    EXPECT_EQ(registry_.bindings().size(), 1u);
    ClassBinding again = registry_.bindings().front();
    EXPECT_FALSE(registry_.bind(again));
}

TEST_F(ProviderLoaderTest, CallsEachCleanupOnce) {
    ASSERT_EQ(load(record("HostTest", "cimhost_test_provider", "T_A", "instance") +
                   record("HostTest", "cimhost_test_provider", "T_B", "instance indication")),
              2);
    // The library is loaded already; this handle only reaches its counter.
    const std::string file =
        resolveLibraryFile("cimhost_test_provider", {CIMHOST_TEST_PROVIDER_DIR});
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(handle, nullptr) << file;
    auto cleanups = reinterpret_cast<int (*)()>(dlsym(handle, "hostTestCleanups"));
    ASSERT_NE(cleanups, nullptr);
    const int before = cleanups();
    cimbroker::RequestScope scope(runtime_);
    registry_.cleanup(scope.context(), log_);
    registry_.cleanup(scope.context(), log_);
    EXPECT_EQ(cleanups(), before + 2);  // the instance record's and the indication record's
    dlclose(handle);
}

}  // namespace
}  // namespace cimhost
