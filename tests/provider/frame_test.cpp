// The provider frame as a CIMOM sees it: factories, MI records, stubs and cleanup.
#include <gtest/gtest.h>

#include <utility>

#include "provider/mi_factories.h"
#include "tests/provider/provider_fixture.h"

namespace {

class ProviderFrame : public cimptest::ProviderFixture {};

TEST_F(ProviderFrame, FactoriesHandOutOneFixedRecordEach) {
    EXPECT_EQ(Vesk_AssociatedTOvPassthruProvider_Create_InstanceMI(broker(), nullptr), instanceMI_);
    EXPECT_EQ(Vesk_AssociatedTOvPassthruProvider_Create_AssociationMI(broker(), nullptr),
              associationMI_);

    const CMPIInstanceMIFT* instance = instanceMI_->ft;
    EXPECT_EQ(instanceMI_->hdl, nullptr);
    EXPECT_EQ(instance->ftVersion, 100);
    EXPECT_EQ(instance->miVersion, 100);
    EXPECT_STREQ(instance->miName, "instanceVesk_AssociatedTOvPassthruProvider");

    const CMPIAssociationMIFT* association = associationMI_->ft;
    EXPECT_EQ(associationMI_->hdl, nullptr);
    EXPECT_EQ(association->ftVersion, 100);
    EXPECT_EQ(association->miVersion, 100);
    EXPECT_STREQ(association->miName, "associationVesk_AssociatedTOvPassthruProvider");
}

TEST_F(ProviderFrame, LatestFactoryCallsBrokerServesEveryLaterOperation) {
    const auto instance = [](const CMPIBroker* b) {
        Vesk_AssociatedTOvPassthruProvider_Create_InstanceMI(b, nullptr);
    };
    const auto association = [](const CMPIBroker* b) {
        Vesk_AssociatedTOvPassthruProvider_Create_AssociationMI(b, nullptr);
    };
    using Factory = void (*)(const CMPIBroker*);
    const std::pair<Factory, Factory> orders[] = {
        {instance, instance}, {instance, association}, {association, instance}};
    for (const auto& [earlier, later] : orders) {
        cimbroker::Runtime latest;
        latest.calls().enable(true);
        earlier(broker());
        later(latest.broker());
        runtime_.calls().clear();
        {
            cimbroker::RequestScope scope(latest);
            cimbroker::Result result(latest);
            const CMPIBroker* b = latest.broker();
            const auto path = [b](const char* cls) {
                return b->eft->newObjectPath(b, "root/orvcim", cls, nullptr);
            };
            instanceMI_->ft->enumerateInstanceNames(instanceMI_, scope.context(), result.cmpi(),
                                                    path("Vesk_AssociatedTOvPassthru"));
            associationMI_->ft->referenceNames(associationMI_, scope.context(), result.cmpi(),
                                               path("Vesk_CEC"), nullptr, nullptr);
            EXPECT_EQ(result.objectPaths().size(), 2u);
        }
        EXPECT_GE(latest.calls().count("newObjectPath"), 8u);
        EXPECT_EQ(runtime_.calls().count("newObjectPath"), 0u);
        instance(broker());  // back to the fixture's broker before `latest` goes
    }
}

TEST_F(ProviderFrame, UnsupportedOperationsAnswerNotSupportedAndTouchNothing) {
    CMPIInstanceMI* mi = instanceMI_;
    cimbroker::Result result(runtime_);
    const CMPIResult* r = result.cmpi();
    CMPIObjectPath* path = newPath("Vesk_AssociatedTOvPassthru");
    const char* properties[] = {"ServiceProvided", nullptr};
    capture_.clear();
    runtime_.calls().clear();
    const CMPIStatus statuses[] = {
        mi->ft->createInstance(mi, scope_.context(), r, path, nullptr),
        mi->ft->modifyInstance(mi, scope_.context(), r, path, nullptr, properties),
        mi->ft->deleteInstance(mi, scope_.context(), r, path),
        mi->ft->execQuery(mi, scope_.context(), r, path, "SELECT * FROM CIM_Dependency", "WQL"),
        mi->ft->execQuery(nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
    };
    for (const CMPIStatus& status : statuses) {
        EXPECT_EQ(status.rc, CMPI_RC_ERR_NOT_SUPPORTED);
        EXPECT_EQ(status.msg, nullptr);
    }
    EXPECT_TRUE(capture_.traces().empty());
    EXPECT_TRUE(capture_.calls().empty());
    EXPECT_TRUE(runtime_.calls().names().empty());
}

TEST_F(ProviderFrame, CleanupSucceedsAndLeavesTheProviderWorking) {
    capture_.clear();
    CMPIStatus status = instanceMI_->ft->cleanup(instanceMI_, scope_.context(), 1);
    EXPECT_EQ(status.rc, CMPI_RC_OK);
    EXPECT_EQ(status.msg, nullptr);
    status = associationMI_->ft->cleanup(associationMI_, scope_.context(), 0);
    EXPECT_EQ(status.rc, CMPI_RC_OK);
    EXPECT_EQ(status.msg, nullptr);
    EXPECT_TRUE(capture_.traces().empty());

    cimbroker::Result result(runtime_);
    status = instanceMI_->ft->getInstance(instanceMI_, scope_.context(), result.cmpi(),
                                          newPath("Vesk_AssociatedTOvPassthru"), nullptr);
    EXPECT_EQ(status.rc, CMPI_RC_OK);
    EXPECT_EQ(result.instances().size(), 1u);
}

}  // namespace
