// WQL conditions over CMPI instances: properties of embedded instances (SourceInstance.X) and
// ISA on an embedded instance, as filters on lifecycle indications use them.
#include "cimom/dispatch/instance_query_source.h"

#include <gtest/gtest.h>

#include "broker/broker_runtime.h"
#include "cimom/query/wql_parser.h"
#include "tests/cimom/cim/host_test_schema.h"

namespace cimhost {
namespace {

using cimhosttest::kNamespace;

class InstanceQuerySourceTest : public ::testing::Test {
  protected:
    CMPIInstance* instanceOf(const char* className) {
        const CMPIBroker* broker = runtime_.broker();
        CMPIObjectPath* path = broker->eft->newObjectPath(broker, kNamespace, className, nullptr);
        return broker->eft->newInstance(broker, path, nullptr);
    }

    // An indication whose SourceInstance embeds a T_Sub1 with Level 7 and Id "a".
    const CMPIInstance* indication() {
        CMPIInstance* source = instanceOf("T_Sub1");
        CMPIValue level{};
        level.uint16 = 7;
        source->ft->setProperty(source, "Level", &level, CMPI_uint16);
        source->ft->setProperty(source, "Id", reinterpret_cast<const CMPIValue*>("a"), CMPI_chars);
        CMPIInstance* indication = instanceOf("T_Other");
        CMPIValue embedded{};
        embedded.inst = source;
        indication->ft->setProperty(indication, "SourceInstance", &embedded, CMPI_instance);
        indication->ft->setProperty(indication, "Plain", reinterpret_cast<const CMPIValue*>("p"),
                                    CMPI_chars);
        return indication;
    }

    bool matches(const std::string& where) {
        const cimquery::ParsedQuery parsed = cimquery::parseWql("SELECT * FROM X WHERE " + where);
        EXPECT_FALSE(parsed.error) << where;
        return cimquery::matches(parsed.query, InstanceQuerySource(indication(), schema_.classes));
    }

    cimbroker::Runtime runtime_;
    cimbroker::RequestScope scope_{runtime_};
    const NamespaceSchema schema_ = cimhosttest::testSchema();
};

TEST_F(InstanceQuerySourceTest, ReadsPropertiesOfAnEmbeddedInstance) {
    EXPECT_TRUE(matches("SourceInstance.Level = 7"));
    EXPECT_TRUE(matches("sourceinstance.ID = 'a'"));
    EXPECT_FALSE(matches("SourceInstance.Level = 8"));
    EXPECT_TRUE(matches("SourceInstance.Missing IS NULL"));
    EXPECT_TRUE(matches("Plain.Level IS NULL"));  // not an embedded instance: nothing to read
    EXPECT_TRUE(matches("Plain = 'p' AND SourceInstance.Level > 6"));
}

TEST_F(InstanceQuerySourceTest, IsaAsksTheSchemaAboutTheEmbeddedInstancesClass) {
    EXPECT_TRUE(matches("SourceInstance ISA T_Sub1"));
    EXPECT_TRUE(matches("SourceInstance ISA t_base"));
    EXPECT_FALSE(matches("SourceInstance ISA T_Sub2"));
    EXPECT_FALSE(matches("Plain ISA T_Base"));
    EXPECT_FALSE(matches("Missing ISA T_Base"));
}

}  // namespace
}  // namespace cimhost
