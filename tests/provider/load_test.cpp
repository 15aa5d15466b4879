// Loading the built provider library the way a CIMOM does: dlopen, then resolve the factories.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmpidt.h>
#include <cmpift.h>

#include <filesystem>

#include "tests/support/platform_fixture.h"

namespace {

TEST(ProviderLibraryLoad, OpensItsTraceBufferAndOffersBothFactories) {
    cimptest::PlatformRoot platform;
    void* library = dlopen(CIMP_PROVIDER_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();

    EXPECT_TRUE(std::filesystem::exists(platform.root() + "/trace/CIMP"));
    EXPECT_NE(dlsym(library, "g_cimpTd"), nullptr);

    using InstanceFactory = CMPIInstanceMI* (*)(const CMPIBroker*, const CMPIContext*);
    using AssociationFactory = CMPIAssociationMI* (*)(const CMPIBroker*, const CMPIContext*);
    const auto createInstanceMI = reinterpret_cast<InstanceFactory>(
        dlsym(library, "Vesk_AssociatedTOvPassthruProvider_Create_InstanceMI"));
    const auto createAssociationMI = reinterpret_cast<AssociationFactory>(
        dlsym(library, "Vesk_AssociatedTOvPassthruProvider_Create_AssociationMI"));
    ASSERT_NE(createInstanceMI, nullptr);
    ASSERT_NE(createAssociationMI, nullptr);
    EXPECT_STREQ(createInstanceMI(nullptr, nullptr)->ft->miName,
                 "instanceVesk_AssociatedTOvPassthruProvider");
    EXPECT_STREQ(createAssociationMI(nullptr, nullptr)->ft->miName,
                 "associationVesk_AssociatedTOvPassthruProvider");

    EXPECT_EQ(dlclose(library), 0);
}

}  // namespace
