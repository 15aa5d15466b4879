// The alert as the provider builds it against its class in schema/vesk_alert.mof: every property
// it sets is declared with its type, and every property the class adds is set.
#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "alert_provider/alert_indication.h"
#include "broker/broker_runtime.h"
#include "broker/cmpi_read.h"
#include "cimom/mof/schema.h"
#include "cmpimacs.h"

namespace {

std::string fileText(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_TRUE(in.good() || in.eof()) << path;
    return text.str();
}

// The MOF type of a CMPI value: "string", "uint16", ..., with "[]" for an array.
std::string mofTypeOf(CMPIType type) {
    const bool array = (type & CMPI_ARRAY) != 0;
    std::string name;
    switch (type & ~CMPI_ARRAY) {
        case CMPI_string: name = "string"; break;
        case CMPI_uint16: name = "uint16"; break;
        case CMPI_uint32: name = "uint32"; break;
        case CMPI_uint64: name = "uint64"; break;
        case CMPI_sint64: name = "sint64"; break;
        case CMPI_dateTime: name = "datetime"; break;
        default: name = "CMPI type " + std::to_string(type);
    }
    return array ? name + "[]" : name;
}

class AlertSchema : public ::testing::Test {
  protected:
    AlertSchema() {
        const std::string text = fileText(std::string(CIMP_SCHEMA_DIR) + "/cim_qualifiers.mof") +
                                 fileText(CIMP_TEST_DATA_DIR "/cim_alert_indication.mof") +
                                 fileText(std::string(CIMP_SCHEMA_DIR) + "/vesk_alert.mof");
        const cimp::Outcome loaded = cimmof::Schema::loadString(text, "alert.mof", &schema_);
        EXPECT_TRUE(loaded.ok()) << loaded.message();
    }

    cimmof::Schema schema_;
};

TEST_F(AlertSchema, EveryPropertyTheProviderSetsIsDeclaredAndEveryOwnOneIsSet) {
    ASSERT_TRUE(schema_.isA("Vesk_AlertIndication", "CIM_AlertIndication"));
    cimbroker::Runtime runtime;
    cimbroker::RequestScope scope(runtime);
    const ErrlCommittedEntry entry{7, 1700000000123456000u, 0x51A00001, {0xd400, 0x2000},
                                   "UtilReg::read", "svpd/Raw_MachineSerialNumber", 4242};
    CimpIdentityReading identity{true, true, {"9119", "MHE", "10ABCDE", "9119MHE*10ABCDE",
                                              "9119-MHE*10ABCDE", "9119.MHE.10ABCDE"}};
    CMPIStatus status{CMPI_RC_OK, nullptr};
    CMPIInstance* alert = cimpMakeAlertIndication(runtime.broker(), entry, identity, status);
    ASSERT_NE(alert, nullptr);

    std::set<std::string> set;
    for (const auto& [name, value] : cimbroker::propertiesOf(alert)) {
        set.insert(name);
        const std::vector<cimmof::Property>& declared =
            schema_.allProperties("Vesk_AlertIndication");
        auto found = std::find_if(declared.begin(), declared.end(),
                                  [&](const cimmof::Property& p) { return p.name == name; });
        ASSERT_NE(found, declared.end()) << name << " is not declared";
        EXPECT_EQ(found->type + (found->isArray ? "[]" : ""), mofTypeOf(value.type)) << name;
    }
    const cimmof::ClassDecl* cls = schema_.find("Vesk_AlertIndication");
    ASSERT_NE(cls, nullptr);
    for (const cimmof::Property& own : cls->properties) {
        if (own.name != "OtherAlertType") {  // only for an entry of unknown origin
            EXPECT_EQ(set.count(own.name), 1u) << own.name << " is never set";
        }
    }
}

}  // namespace
