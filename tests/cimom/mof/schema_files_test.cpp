#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "cimom/mof/mof_reader.h"
#include "cimom/mof/registration.h"
#include "cimom/mof/schema.h"
#include "tests/cimom/mof/mof_error_assert.h"

namespace {

using cimmof::ClassDecl;
using cimmof::Property;
using cimmof::Schema;

const std::string kSchemaDir = CIMP_SCHEMA_DIR;

const Schema& shippedSchema() {
    static const Schema schema = mofassert::schemaFromFile(kSchemaDir + "/root_orvcim.mof");
    return schema;
}

struct ClassShape {
    const char* name;
    const char* superclass;
    bool association;
    // Every property the instance builders set, as "Name type[] RefClass key", spelled as they
    // spell it; the keys come first, in the order the object paths carry them.
    std::vector<std::string> properties;
};

const ClassShape kBuilt[] = {
    // clang-format off
    {"Vesk_CEC", "CIM_ComputerSystem", false,
     {"Name string key", "CreationClassName string key", "UUID string key", "MTMS string key",
      "Dedicated uint16[]", "isOSContainer boolean", "PrimaryFSP_IP string", "BackupFSP_IP string",
      "State uint8", "UserDefinedName string"}},
    {"Vesk_TOvPassthru", "CIM_Service", false,
     {"CreationClassName string key", "Name string key", "SystemCreationClassName string key",
      "SystemName string key"}},
    {"Vesk_AssociatedTOvPassthru", "CIM_ServiceAvailableToElement", true,
     {"ServiceProvided ref Vesk_TOvPassthru key", "UserOfService ref Vesk_CEC key"}},
    {"Vesk_CEC_Pkg", "CIM_PhysicalPackage", false,
     {"Tag string key", "CreationClassName string key", "VendorEquipmentType string",
      "Model string", "SerialNumber string", "Manufacturer string"}},
    {"Vesk_AssocCECPhysPkg", "CIM_ComputerSystemPackage", true,
     {"Antecedent ref Vesk_CEC_Pkg key", "Dependent ref Vesk_CEC key"}},
    // clang-format on
};

void expectQualifiersDeclared(const cimmof::MofDocument& doc);

std::vector<std::string> keyNames(const std::vector<Property>& properties) {
    std::vector<std::string> keys;
    for (const Property& p : properties) {
        if (p.isKey) {
            keys.push_back(p.name);
        }
    }
    return keys;
}

TEST(ShippedSchema, DeclaresTheBuiltClassesWithTheirKeysAndPropertyTypes) {
    const Schema& s = shippedSchema();
    for (const ClassShape& shape : kBuilt) {
        SCOPED_TRACE(shape.name);
        const ClassDecl* cls = s.find(shape.name);
        ASSERT_NE(cls, nullptr);
        EXPECT_EQ(cls->superclass, shape.superclass);
        EXPECT_EQ(cls->isAssociation, shape.association);
        EXPECT_FALSE(cls->isAbstract);
        std::vector<std::string> keys;
        const std::vector<Property> all = s.allProperties(shape.name);
        for (const std::string& expected : shape.properties) {
            const Property* p = cimmof::findByName(all, expected.substr(0, expected.find(' ')));
            ASSERT_NE(p, nullptr) << expected;
            EXPECT_EQ(p->name + " " + p->type + (p->isArray ? "[]" : "") +
                          (p->refClass.empty() ? "" : " " + p->refClass) + (p->isKey ? " key" : ""),
                      expected);
            EXPECT_EQ(p->classOrigin, shape.name) << expected;
            if (p->isKey) {
                keys.push_back(p->name);
            }
        }
        EXPECT_EQ(keyNames(cls->properties), keys) << "declared in object-path order";
        EXPECT_EQ(keyNames(all).size(), keys.size()) << "no inherited key beyond the path's";
    }
}

TEST(ShippedSchema, DeclaresEveryQualifierItUses) {
    for (const char* root : {"/root_orvcim.mof", "/root_interop.mof"}) {
        SCOPED_TRACE(root);
        cimmof::MofDocument doc;
        ASSERT_TRUE(cimmof::readMofFile(kSchemaDir + root, &doc).ok());
        expectQualifiersDeclared(doc);
    }
}

// The interop namespace holds what a subscribing client creates and reads, with the keys and
// reference roles of the DMTF schema.
TEST(ShippedSchema, InteropDeclaresTheIndicationService) {
    const Schema s = mofassert::schemaFromFile(kSchemaDir + "/root_interop.mof");
    const std::set<std::string> systemKeys = {"SystemCreationClassName", "SystemName",
                                              "CreationClassName", "Name"};
    for (const char* cls : {"CIM_IndicationFilter", "CIM_ListenerDestinationCIMXML",
                            "CIM_IndicationHandlerCIMXML", "CIM_IndicationService"}) {
        const std::vector<std::string> keys = keyNames(s.allProperties(cls));
        EXPECT_EQ(std::set<std::string>(keys.begin(), keys.end()), systemKeys) << cls;
    }
    EXPECT_TRUE(s.isA("CIM_IndicationHandlerCIMXML", "CIM_ListenerDestination"));
    const ClassDecl* subscription = s.find("CIM_IndicationSubscription");
    ASSERT_NE(subscription, nullptr);
    EXPECT_TRUE(subscription->isAssociation);
    EXPECT_EQ(keyNames(subscription->properties), (std::vector<std::string>{"Filter", "Handler"}));
    EXPECT_EQ(subscription->properties[1].refClass, "CIM_ListenerDestination");
    for (const char* indication : {"CIM_InstCreation", "CIM_InstDeletion", "CIM_InstModification",
                                   "CIM_AlertIndication"}) {
        EXPECT_TRUE(s.isA(indication, "CIM_Indication")) << indication;
    }
    for (const char* association :
         {"CIM_HostedService", "CIM_ElementCapabilities", "CIM_ServiceAffectsElement"}) {
        EXPECT_TRUE(s.find(association)->isAssociation) << association;
    }
}

// An indication provider's classes in the served namespace derive from the standard ones.
TEST(ShippedSchema, ServedNamespaceHoldsTheIndicationClasses) {
    EXPECT_TRUE(shippedSchema().isA("CIM_AlertIndication", "CIM_Indication"));
    EXPECT_NE(cimmof::findByName(shippedSchema().allProperties("CIM_InstModification"),
                                 "PreviousInstance"),
              nullptr);
}

void expectQualifiersDeclared(const cimmof::MofDocument& doc) {
    std::set<std::string> declared;
    for (const cimmof::QualifierType& q : doc.qualifierTypes) {
        declared.insert(cimp::lowerCase(q.name));
    }
    std::set<std::string> undeclared;
    auto check = [&](const std::vector<cimmof::Qualifier>& qualifiers) {
        for (const cimmof::Qualifier& q : qualifiers) {
            if (!declared.count(cimp::lowerCase(q.name))) {
                undeclared.insert(q.name);
            }
        }
    };
    for (const ClassDecl& c : doc.classes) {
        check(c.qualifiers);
        EXPECT_NE(cimmof::findByName(c.qualifiers, "Description"), nullptr) << c.name;
        for (const Property& p : c.properties) {
            check(p.qualifiers);
        }
        for (const cimmof::Method& m : c.methods) {
            check(m.qualifiers);
            for (const Property& p : m.parameters) {
                check(p.qualifiers);
            }
        }
    }
    EXPECT_TRUE(undeclared.empty()) << *undeclared.begin();
}

TEST(ShippedSchema, VeskClassesLoadAfterTheBaseClassesAlone) {
    const Schema s = mofassert::schemaFromText(
        "#pragma include(\"cim_base.mof\")\n#pragma include(\"vesk.mof\")\n",
        kSchemaDir + "/inline.mof");
    EXPECT_EQ(s.hierarchy().back().first, "Vesk_AssocCECPhysPkg");
}

// The sfcb and Pegasus registrations named `base` must tell those CIMOMs what ours tells
// cimp-cimom: sfcb's type line `sfcbTypes`, Pegasus's ProviderType `pegasusTypes`.
void expectOtherCimomsSayWhatOursSays(const std::string& base, const std::string& sfcbTypes,
                                      const std::string& pegasusTypes) {
    std::vector<cimmof::ProviderRegistration> ours;
    ASSERT_TRUE(cimmof::loadRegistrations(kSchemaDir + "/" + base + ".registration", &ours).ok());
    ASSERT_EQ(ours.size(), 1u);
    const cimmof::ProviderRegistration& r = ours[0];
    const std::string types = std::string(r.instance ? " instance" : "") +
                              (r.association ? " association" : "") +
                              (r.indication ? " indication" : "");
    EXPECT_EQ("type:" + types, "type: " + sfcbTypes);

    // sfcb: "[Class]" then "key: value" lines.
    std::ifstream in(kSchemaDir + "/" + base + ".sfcb.reg");
    std::vector<std::string> sfcb;
    for (std::string line; std::getline(in, line);) {
        const std::size_t start = line.find_first_not_of(" \t");
        if (start != std::string::npos && line[start] != '#') {
            sfcb.push_back(line.substr(start));
        }
    }
    EXPECT_EQ(sfcb,
              (std::vector<std::string>{"[" + r.className + "]", "provider: " + r.providerName,
                                        "location: " + r.library, "type: " + sfcbTypes,
                                        "namespace: " + r.nameSpace}));

    // Pegasus: a module, a provider and its capabilities, tied by the module name.
    cimmof::MofDocument pegasus;
    ASSERT_TRUE(cimmof::readMofFile(kSchemaDir + "/" + base + ".pegasus.mof", &pegasus).ok());
    std::map<std::string, std::string> values;
    for (const cimmof::InstanceDecl& i : pegasus.instances) {
        for (const cimmof::PropertyValue& v : i.values) {
            values[i.className + "." + v.name] = v.isNull ? "NULL" : v.value;
        }
    }
    const std::string module = values["PG_ProviderModule.Name"];
    const std::map<std::string, std::string> expected = {
        {"PG_ProviderModule.Location", r.library},
        {"PG_ProviderModule.InterfaceType", "CMPI"},
        {"PG_ProviderModule.InterfaceVersion", "2.0.0"},
        {"PG_Provider.Name", r.providerName},
        {"PG_Provider.ProviderModuleName", module},
        {"PG_ProviderCapabilities.ProviderModuleName", module},
        {"PG_ProviderCapabilities.ProviderName", r.providerName},
        {"PG_ProviderCapabilities.ClassName", r.className},
        {"PG_ProviderCapabilities.Namespaces", r.nameSpace},
        {"PG_ProviderCapabilities.ProviderType", pegasusTypes},
        {"PG_ProviderCapabilities.SupportedProperties", "NULL"},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(values[e.first], e.second) << base << ": " << e.first;
    }
}

// Pegasus's ProviderType: 2 instance, 3 association, 4 indication.
TEST(ShippedRegistrations, SfcbAndPegasusSayWhatOursSays) {
    expectOtherCimomsSayWhatOursSays("Vesk_AssociatedTOvPassthru", "instance association", "2, 3");
    expectOtherCimomsSayWhatOursSays("Vesk_AlertIndication", "indication", "4");
}

}  // namespace
