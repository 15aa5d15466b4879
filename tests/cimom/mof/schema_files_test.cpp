#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "cimom/mof/mof_reader.h"
#include "cimom/mof/registration.h"
#include "cimom/mof/schema.h"

namespace {

using cimmof::ClassDecl;
using cimmof::Property;
using cimmof::Schema;

const std::string kSchemaDir = CIMP_SCHEMA_DIR;

const Schema& shippedSchema() {
    static const Schema schema = Schema::loadFile(kSchemaDir + "/root_orvcim.mof");
    return schema;
}

struct ClassShape {
    const char* name;
    const char* superclass;
    bool association;
    std::vector<std::string> keys;  // in the order the object paths carry them
    // Every property the instance builders set, as "Name type[] RefClass", spelled as they do.
    std::vector<std::string> properties;
};

const ClassShape kBuilt[] = {
    {"Vesk_CEC",
     "CIM_ComputerSystem",
     false,
     {"Name", "CreationClassName", "UUID", "MTMS"},
     {"Dedicated uint16[]", "isOSContainer boolean", "PrimaryFSP_IP string", "BackupFSP_IP string",
      "State uint8", "UserDefinedName string", "Name string", "CreationClassName string",
      "UUID string", "MTMS string"}},
    {"Vesk_TOvPassthru",
     "CIM_Service",
     false,
     {"CreationClassName", "Name", "SystemCreationClassName", "SystemName"},
     {"CreationClassName string", "Name string", "SystemCreationClassName string",
      "SystemName string"}},
    {"Vesk_AssociatedTOvPassthru",
     "CIM_ServiceAvailableToElement",
     true,
     {"ServiceProvided", "UserOfService"},
     {"ServiceProvided ref Vesk_TOvPassthru", "UserOfService ref Vesk_CEC"}},
    {"Vesk_CEC_Pkg",
     "CIM_PhysicalPackage",
     false,
     {"Tag", "CreationClassName"},
     {"Tag string", "CreationClassName string", "VendorEquipmentType string", "Model string",
      "SerialNumber string", "Manufacturer string"}},
    {"Vesk_AssocCECPhysPkg",
     "CIM_ComputerSystemPackage",
     true,
     {"Antecedent", "Dependent"},
     {"Antecedent ref Vesk_CEC_Pkg", "Dependent ref Vesk_CEC"}},
};

TEST(ShippedSchema, DeclaresTheBuiltClassesWithTheirKeysAndPropertyTypes) {
    const Schema& s = shippedSchema();
    for (const ClassShape& shape : kBuilt) {
        SCOPED_TRACE(shape.name);
        const ClassDecl* cls = s.find(shape.name);
        ASSERT_NE(cls, nullptr);
        EXPECT_EQ(cls->superclass, shape.superclass);
        EXPECT_EQ(cls->isAssociation, shape.association);
        EXPECT_FALSE(cls->isAbstract);
        std::vector<std::string> ownKeys;
        for (const Property& p : cls->properties) {
            if (p.isKey) {
                ownKeys.push_back(p.name);
            }
        }
        EXPECT_EQ(ownKeys, shape.keys) << "declared in object-path order";
        const std::vector<Property> all = s.allProperties(shape.name);
        std::set<std::string> effectiveKeys;
        for (const Property& p : all) {
            if (p.isKey) {
                effectiveKeys.insert(p.name);
            }
        }
        EXPECT_EQ(effectiveKeys, std::set<std::string>(shape.keys.begin(), shape.keys.end()))
            << "no inherited key beyond those the object paths carry";
        for (const std::string& expected : shape.properties) {
            const Property* p = cimmof::findByName(all, expected.substr(0, expected.find(' ')));
            ASSERT_NE(p, nullptr) << expected;
            EXPECT_EQ(p->name + " " + p->type + (p->isArray ? "[]" : "") +
                          (p->refClass.empty() ? "" : " " + p->refClass),
                      expected);
            EXPECT_EQ(p->classOrigin, shape.name) << expected;
        }
    }
}

TEST(ShippedSchema, RelatesTheClassesThroughTheirAssociations) {
    const Schema& s = shippedSchema();
    EXPECT_TRUE(s.isA("Vesk_CEC", "CIM_ManagedElement"));
    EXPECT_TRUE(s.isA("Vesk_CEC", "CIM_System"));
    EXPECT_TRUE(s.isA("Vesk_TOvPassthru", "CIM_EnabledLogicalElement"));
    EXPECT_TRUE(s.isA("Vesk_CEC_Pkg", "CIM_PhysicalElement"));
    EXPECT_TRUE(s.isA("Vesk_AssocCECPhysPkg", "CIM_Dependency"));
    EXPECT_FALSE(s.isA("Vesk_TOvPassthru", "CIM_System"));
    auto served = [&](const std::string& cls) {
        std::set<std::string> out;
        for (const ClassDecl* c : s.associationsReferencing(cls)) {
            out.insert(c->name);
        }
        return out;
    };
    EXPECT_TRUE(served("Vesk_CEC").count("Vesk_AssociatedTOvPassthru"));
    EXPECT_TRUE(served("Vesk_CEC").count("Vesk_AssocCECPhysPkg"));
    EXPECT_TRUE(served("vesk_tovpassthru").count("Vesk_AssociatedTOvPassthru"));
    EXPECT_FALSE(served("vesk_tovpassthru").count("Vesk_AssocCECPhysPkg"));
    EXPECT_FALSE(served("Vesk_CEC_Pkg").count("Vesk_AssociatedTOvPassthru"));
}

TEST(ShippedSchema, DeclaresEveryQualifierItUses) {
    const cimmof::MofDocument doc = cimmof::readMofFile(kSchemaDir + "/root_orvcim.mof");
    std::set<std::string> declared;
    for (const cimmof::QualifierType& q : doc.qualifierTypes) {
        declared.insert(cimmof::toLowerAscii(q.name));
    }
    std::set<std::string> undeclared;
    auto check = [&](const std::vector<cimmof::Qualifier>& qualifiers) {
        for (const cimmof::Qualifier& q : qualifiers) {
            if (!declared.count(cimmof::toLowerAscii(q.name))) {
                undeclared.insert(q.name);
            }
        }
    };
    for (const ClassDecl& c : doc.classes) {
        check(c.qualifiers);
        EXPECT_NE(cimmof::findQualifier(c.qualifiers, "Description"), nullptr) << c.name;
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
    const Schema s =
        Schema::loadString("#pragma include(\"cim_base.mof\")\n#pragma include(\"vesk.mof\")\n",
                           kSchemaDir + "/inline.mof");
    EXPECT_EQ(s.classNames().back(), "Vesk_AssocCECPhysPkg");
}

// The three registration files must tell every CIMOM the same thing.
TEST(ShippedRegistrations, AgreeAcrossTheHostSfcbAndPegasus) {
    const std::vector<cimmof::ProviderRegistration> ours =
        cimmof::loadRegistrations(kSchemaDir + "/Vesk_AssociatedTOvPassthru.registration");
    ASSERT_EQ(ours.size(), 1u);
    const cimmof::ProviderRegistration& r = ours[0];
    const std::string provider = "Vesk_AssociatedTOvPassthruProvider";
    const std::string cls = "Vesk_AssociatedTOvPassthru";
    EXPECT_EQ(r.providerName, provider);
    EXPECT_EQ(r.library, provider);
    EXPECT_EQ(r.className, cls);
    EXPECT_EQ(r.nameSpace, "root/orvcim");
    EXPECT_TRUE(r.instance && r.association);
    EXPECT_NE(shippedSchema().find(cls), nullptr);

    // sfcb: "[Class]" then "key: value" lines.
    std::ifstream sfcb(kSchemaDir + "/Vesk_AssociatedTOvPassthru.sfcb.reg");
    std::map<std::string, std::string> stanza;
    for (std::string line; std::getline(sfcb, line);) {
        const std::size_t start = line.find_first_not_of(" \t");
        const std::size_t colon = line.find(':');
        if (start == std::string::npos || line[start] == '#') {
            continue;
        }
        stanza[line[start] == '[' ? "[]" : line.substr(start, colon - start)] =
            line[start] == '[' ? line.substr(start + 1, line.find(']') - start - 1)
                               : line.substr(line.find_first_not_of(' ', colon + 1));
    }
    EXPECT_EQ(stanza, (std::map<std::string, std::string>{{"[]", cls},
                                                          {"provider", provider},
                                                          {"location", provider},
                                                          {"type", "instance association"},
                                                          {"namespace", "root/orvcim"}}));

    // Pegasus: a module, a provider and its capabilities, tied by the module name.
    const cimmof::MofDocument pegasus =
        cimmof::readMofFile(kSchemaDir + "/Vesk_AssociatedTOvPassthru.pegasus.mof");
    std::map<std::string, std::string> values;
    for (const cimmof::InstanceDecl& i : pegasus.instances) {
        for (const cimmof::PropertyValue& v : i.values) {
            values[i.className + "." + v.name] = v.isNull ? "NULL" : v.value;
        }
    }
    const std::string module = values["PG_ProviderModule.Name"];
    const std::map<std::string, std::string> expected = {
        {"PG_ProviderModule.Location", provider},
        {"PG_ProviderModule.InterfaceType", "CMPI"},
        {"PG_ProviderModule.InterfaceVersion", "2.0.0"},
        {"PG_Provider.Name", provider},
        {"PG_Provider.ProviderModuleName", module},
        {"PG_ProviderCapabilities.ProviderModuleName", module},
        {"PG_ProviderCapabilities.ProviderName", provider},
        {"PG_ProviderCapabilities.ClassName", cls},
        {"PG_ProviderCapabilities.Namespaces", "root/orvcim"},
        {"PG_ProviderCapabilities.ProviderType", "2, 3"},
        {"PG_ProviderCapabilities.SupportedProperties", "NULL"},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(values[e.first], e.second) << e.first;
    }
}

}  // namespace
