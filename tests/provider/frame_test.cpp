// The provider frame as a CIMOM sees it: factories, MI records, stubs and cleanup.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "provider/associator_operations.h"
#include "provider/instance_operations.h"
#include "provider/mi_factories.h"
#include "provider/reference_operations.h"
#include "tests/provider/provider_fixture.h"

namespace {

using cimptest::ProviderFixture;

class ProviderFrame : public ProviderFixture {};

TEST_F(ProviderFrame, EveryFactoryCallReturnsTheSameRecord) {
    EXPECT_EQ(Vesk_AssociatedTOvPassthruProvider_Create_InstanceMI(broker(), nullptr), instanceMI_);
    EXPECT_EQ(Vesk_AssociatedTOvPassthruProvider_Create_InstanceMI(broker(), nullptr), instanceMI_);
    EXPECT_EQ(Vesk_AssociatedTOvPassthruProvider_Create_AssociationMI(broker(), nullptr),
              associationMI_);
    EXPECT_EQ(Vesk_AssociatedTOvPassthruProvider_Create_AssociationMI(broker(), nullptr),
              associationMI_);
}

TEST_F(ProviderFrame, InstanceRecordNamesItsOperations) {
    ASSERT_NE(instanceMI_, nullptr);
    EXPECT_EQ(instanceMI_->hdl, nullptr);
    const CMPIInstanceMIFT* ft = instanceMI_->ft;
    EXPECT_EQ(ft->ftVersion, 100);
    EXPECT_EQ(ft->miVersion, 100);
    EXPECT_STREQ(ft->miName, "instanceVesk_AssociatedTOvPassthruProvider");
    EXPECT_EQ(ft->enumerateInstanceNames, &CIMP_Vesk_AssociatedTOvPassthruEnumInstanceNames);
    EXPECT_EQ(ft->enumerateInstances, &CIMP_Vesk_AssociatedTOvPassthruEnumInstances);
    EXPECT_EQ(ft->getInstance, &CIMP_Vesk_AssociatedTOvPassthruGetInstance);
}

TEST_F(ProviderFrame, AssociationRecordNamesItsOperations) {
    ASSERT_NE(associationMI_, nullptr);
    EXPECT_EQ(associationMI_->hdl, nullptr);
    const CMPIAssociationMIFT* ft = associationMI_->ft;
    EXPECT_EQ(ft->ftVersion, 100);
    EXPECT_EQ(ft->miVersion, 100);
    EXPECT_STREQ(ft->miName, "associationVesk_AssociatedTOvPassthruProvider");
    EXPECT_EQ(ft->associators, &CIMP_Vesk_AssociatedTOvPassthruAssociators);
    EXPECT_EQ(ft->associatorNames, &CIMP_Vesk_AssociatedTOvPassthruAssociatorNames);
    EXPECT_EQ(ft->references, &CIMP_Vesk_AssociatedTOvPassthruReferences);
    EXPECT_EQ(ft->referenceNames, &CIMP_Vesk_AssociatedTOvPassthruReferenceNames);
}

TEST_F(ProviderFrame, LatestFactoryCallsBrokerServesEveryLaterOperation) {
    enum class Factory { Instance, Association };
    const auto store = [](Factory factory, const CMPIBroker* broker) {
        if (factory == Factory::Instance) {
            Vesk_AssociatedTOvPassthruProvider_Create_InstanceMI(broker, nullptr);
        } else {
            Vesk_AssociatedTOvPassthruProvider_Create_AssociationMI(broker, nullptr);
        }
    };
    const struct {
        const char* name;
        Factory earlier;
        Factory later;
    } cases[] = {
        {"instance factory twice", Factory::Instance, Factory::Instance},
        {"association factory after instance factory", Factory::Instance, Factory::Association},
        {"instance factory after association factory", Factory::Association, Factory::Instance},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        cimbroker::Runtime later;
        later.calls().enable(true);
        store(c.earlier, broker());
        store(c.later, later.broker());
        runtime_.calls().clear();
        {
            cimbroker::RequestScope scope(later);
            cimbroker::Result names(later);
            cimbroker::Result references(later);
            const CMPIBroker* laterBroker = later.broker();
            CMPIObjectPath* association = laterBroker->eft->newObjectPath(
                laterBroker, "root/orvcim", "Vesk_AssociatedTOvPassthru", nullptr);
            CMPIObjectPath* system =
                laterBroker->eft->newObjectPath(laterBroker, "root/orvcim", "Vesk_CEC", nullptr);

            EXPECT_EQ(instanceMI_->ft
                          ->enumerateInstanceNames(instanceMI_, scope.context(), names.cmpi(),
                                                   association)
                          .rc,
                      CMPI_RC_OK);
            EXPECT_EQ(associationMI_->ft
                          ->referenceNames(associationMI_, scope.context(), references.cmpi(),
                                           system, nullptr, nullptr)
                          .rc,
                      CMPI_RC_OK);
            EXPECT_EQ(names.objectPaths().size(), 1u);
            EXPECT_EQ(references.objectPaths().size(), 1u);
        }
        EXPECT_GE(later.calls().count("newObjectPath"), 8u);
        EXPECT_EQ(runtime_.calls().count("newObjectPath"), 0u);
        // Hand the slot back to the fixture's broker before `later` goes.
        store(Factory::Instance, broker());
    }
}

TEST_F(ProviderFrame, UnsupportedOperationsAnswerNotSupportedAndTouchNothing) {
    CMPIObjectPath* path = newPath("Vesk_AssociatedTOvPassthru");
    const char* properties[] = {"ServiceProvided", nullptr};
    const struct {
        const char* slot;
        std::function<CMPIStatus(const CMPIResult*)> call;
    } cases[] = {
        {"createInstance",
         [&](const CMPIResult* result) {
             return instanceMI_->ft->createInstance(instanceMI_, scope_.context(), result, path,
                                                    nullptr);
         }},
        {"modifyInstance",
         [&](const CMPIResult* result) {
             return instanceMI_->ft->modifyInstance(instanceMI_, scope_.context(), result, path,
                                                    nullptr, properties);
         }},
        {"deleteInstance",
         [&](const CMPIResult* result) {
             return instanceMI_->ft->deleteInstance(instanceMI_, scope_.context(), result, path);
         }},
        {"execQuery",
         [&](const CMPIResult* result) {
             return instanceMI_->ft->execQuery(instanceMI_, scope_.context(), result, path,
                                               "SELECT * FROM Vesk_AssociatedTOvPassthru", "WQL");
         }},
        {"execQuery with null arguments",
         [&](const CMPIResult*) {
             return instanceMI_->ft->execQuery(nullptr, nullptr, nullptr, nullptr, nullptr,
                                               nullptr);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.slot);
        cimbroker::Result result(runtime_);
        capture_.clear();
        runtime_.calls().clear();

        const CMPIStatus status = c.call(result.cmpi());

        EXPECT_EQ(status.rc, CMPI_RC_ERR_NOT_SUPPORTED);
        EXPECT_EQ(status.msg, nullptr);
        EXPECT_TRUE(capture_.traces().empty());
        EXPECT_TRUE(capture_.calls().empty());
        EXPECT_TRUE(runtime_.calls().names().empty());
        EXPECT_EQ(result.doneCount(), 0);
    }
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

    // Without a new factory call, the stored broker still serves.
    cimbroker::Result result(runtime_);
    status = instanceMI_->ft->getInstance(instanceMI_, scope_.context(), result.cmpi(),
                                          newPath("Vesk_AssociatedTOvPassthru"), nullptr);
    EXPECT_EQ(status.rc, CMPI_RC_OK);
    EXPECT_EQ(result.instances().size(), 1u);
    EXPECT_EQ(result.doneCount(), 1);
    EXPECT_EQ(Vesk_AssociatedTOvPassthruProvider_Create_InstanceMI(broker(), nullptr), instanceMI_);
}

}  // namespace
