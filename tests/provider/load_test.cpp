// Loading the built provider library the way a CIMOM does: dlopen, then resolve the factories by
// name and check the records they hand out.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmpidt.h>
#include <cmpift.h>

#include <filesystem>
#include <string>

#include "tests/support/platform_fixture.h"

namespace {

template <typename MI>
std::string describe(MI* (*factory)(const CMPIBroker*, const CMPIContext*)) {
    MI* mi = factory(nullptr, nullptr);
    // Every call hands out the same record.
    return std::to_string(mi == factory(nullptr, nullptr)) + "," +
           std::to_string(mi->hdl == nullptr) + "," + std::to_string(mi->ft->ftVersion) + "," +
           std::to_string(mi->ft->miVersion) + "," + mi->ft->miName;
}

TEST(ProviderLibraryLoad, OpensItsTraceBufferAndOffersBothFactories) {
    cimptest::PlatformRoot platform;
    void* library = dlopen(CIMP_PROVIDER_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    EXPECT_TRUE(std::filesystem::exists(platform.root() + "/trace/CIMP"));

    const auto instance =
        reinterpret_cast<CMPIInstanceMI* (*)(const CMPIBroker*, const CMPIContext*)>(
            dlsym(library, "Vesk_AssociatedTOvPassthruProvider_Create_InstanceMI"));
    const auto association =
        reinterpret_cast<CMPIAssociationMI* (*)(const CMPIBroker*, const CMPIContext*)>(
            dlsym(library, "Vesk_AssociatedTOvPassthruProvider_Create_AssociationMI"));
    ASSERT_NE(instance, nullptr);
    ASSERT_NE(association, nullptr);
    EXPECT_EQ(describe(instance), "1,1,100,100,instanceVesk_AssociatedTOvPassthruProvider");
    EXPECT_EQ(describe(association), "1,1,100,100,associationVesk_AssociatedTOvPassthruProvider");
    EXPECT_EQ(dlclose(library), 0);
}

}  // namespace
