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
};

// The classes whose objects the library builds, with the keys of their object paths.
const ClassShape kBuilt[] = {
    {"Vesk_CEC", "CIM_ComputerSystem", false, {"Name", "CreationClassName", "UUID", "MTMS"}},
    {"Vesk_TOvPassthru",
     "CIM_Service",
     false,
     {"CreationClassName", "Name", "SystemCreationClassName", "SystemName"}},
    {"Vesk_AssociatedTOvPassthru",
     "CIM_ServiceAvailableToElement",
     true,
     {"ServiceProvided", "UserOfService"}},
    {"Vesk_CEC_Pkg", "CIM_PhysicalPackage", false, {"Tag", "CreationClassName"}},
    {"Vesk_AssocCECPhysPkg", "CIM_ComputerSystemPackage", true, {"Antecedent", "Dependent"}},
};

TEST(ShippedSchema, DeclaresTheBuiltClassesWithExactlyTheirKeys) {
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
        std::set<std::string> effectiveKeys;
        for (const Property& p : s.allProperties(shape.name)) {
            if (p.isKey) {
                effectiveKeys.insert(p.name);
            }
        }
        EXPECT_EQ(effectiveKeys, std::set<std::string>(shape.keys.begin(), shape.keys.end()))
            << "no inherited key beyond those the object paths carry";
    }
}

struct PropertyShape {
    const char* cls;
    const char* property;
    const char* type;
    bool isArray;
    const char* refClass;
};

// Every property the instance builders set, with the CIM type its CMPI value maps to.
const PropertyShape kProperties[] = {
    {"Vesk_CEC", "Dedicated", "uint16", true, ""},
    {"Vesk_CEC", "isOSContainer", "boolean", false, ""},
    {"Vesk_CEC", "PrimaryFSP_IP", "string", false, ""},
    {"Vesk_CEC", "BackupFSP_IP", "string", false, ""},
    {"Vesk_CEC", "State", "uint8", false, ""},
    {"Vesk_CEC", "UserDefinedName", "string", false, ""},
    {"Vesk_CEC", "Name", "string", false, ""},
    {"Vesk_CEC", "CreationClassName", "string", false, ""},
    {"Vesk_CEC", "UUID", "string", false, ""},
    {"Vesk_CEC", "MTMS", "string", false, ""},
    {"Vesk_TOvPassthru", "CreationClassName", "string", false, ""},
    {"Vesk_TOvPassthru", "Name", "string", false, ""},
    {"Vesk_TOvPassthru", "SystemCreationClassName", "string", false, ""},
    {"Vesk_TOvPassthru", "SystemName", "string", false, ""},
    {"Vesk_AssociatedTOvPassthru", "ServiceProvided", "ref", false, "Vesk_TOvPassthru"},
    {"Vesk_AssociatedTOvPassthru", "UserOfService", "ref", false, "Vesk_CEC"},
    {"Vesk_CEC_Pkg", "Tag", "string", false, ""},
    {"Vesk_CEC_Pkg", "CreationClassName", "string", false, ""},
    {"Vesk_CEC_Pkg", "VendorEquipmentType", "string", false, ""},
    {"Vesk_CEC_Pkg", "Model", "string", false, ""},
    {"Vesk_CEC_Pkg", "SerialNumber", "string", false, ""},
    {"Vesk_CEC_Pkg", "Manufacturer", "string", false, ""},
    {"Vesk_AssocCECPhysPkg", "Antecedent", "ref", false, "Vesk_CEC_Pkg"},
    {"Vesk_AssocCECPhysPkg", "Dependent", "ref", false, "Vesk_CEC"},
};

TEST(ShippedSchema, GivesEveryBuiltPropertyItsType) {
    const Schema& s = shippedSchema();
    for (const PropertyShape& shape : kProperties) {
        SCOPED_TRACE(std::string(shape.cls) + "." + shape.property);
        const std::vector<Property> all = s.allProperties(shape.cls);
        const Property* p = cimmof::findByName(all, shape.property);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(p->name, shape.property) << "spelled as the builders spell it";
        EXPECT_EQ(p->type, shape.type);
        EXPECT_EQ(p->isArray, shape.isArray);
        EXPECT_EQ(p->refClass, shape.refClass);
        EXPECT_EQ(p->classOrigin, shape.cls);
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
    const std::set<std::string> forCec = served("Vesk_CEC");
    EXPECT_TRUE(forCec.count("Vesk_AssociatedTOvPassthru"));
    EXPECT_TRUE(forCec.count("Vesk_AssocCECPhysPkg"));
    const std::set<std::string> forService = served("vesk_tovpassthru");
    EXPECT_TRUE(forService.count("Vesk_AssociatedTOvPassthru"));
    EXPECT_FALSE(forService.count("Vesk_AssocCECPhysPkg"));
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
    EXPECT_EQ(r.providerName, "Vesk_AssociatedTOvPassthruProvider");
    EXPECT_EQ(r.library, "Vesk_AssociatedTOvPassthruProvider");
    EXPECT_EQ(r.className, "Vesk_AssociatedTOvPassthru");
    EXPECT_EQ(r.nameSpace, "root/orvcim");
    EXPECT_TRUE(r.instance);
    EXPECT_TRUE(r.association);
    EXPECT_NE(shippedSchema().find(r.className), nullptr);

    std::ifstream sfcb(kSchemaDir + "/Vesk_AssociatedTOvPassthru.sfcb.reg");
    std::map<std::string, std::string> stanza;
    std::string section;
    for (std::string line; std::getline(sfcb, line);) {
        const std::size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line[start] == '#') {
            continue;
        }
        if (line[start] == '[') {
            section = line.substr(start + 1, line.find(']') - start - 1);
            continue;
        }
        const std::size_t colon = line.find(':');
        ASSERT_NE(colon, std::string::npos) << line;
        stanza[line.substr(start, colon - start)] =
            line.substr(line.find_first_not_of(' ', colon + 1));
    }
    EXPECT_EQ(section, r.className);
    EXPECT_EQ(stanza["provider"], r.providerName);
    EXPECT_EQ(stanza["location"], r.library);
    EXPECT_EQ(stanza["type"], "instance association");
    EXPECT_EQ(stanza["namespace"], r.nameSpace);

    const cimmof::MofDocument pegasus =
        cimmof::readMofFile(kSchemaDir + "/Vesk_AssociatedTOvPassthru.pegasus.mof");
    std::map<std::string, const cimmof::InstanceDecl*> byClass;
    for (const cimmof::InstanceDecl& i : pegasus.instances) {
        byClass[i.className] = &i;
    }
    ASSERT_EQ(byClass.size(), 3u);
    auto value = [&](const char* cls, const char* property) {
        const cimmof::PropertyValue* v = cimmof::findByName(byClass.at(cls)->values, property);
        return v == nullptr ? std::string("<missing>") : v->value;
    };
    const std::string module = value("PG_ProviderModule", "Name");
    EXPECT_EQ(value("PG_ProviderModule", "Location"), r.library);
    EXPECT_EQ(value("PG_ProviderModule", "InterfaceType"), "CMPI");
    EXPECT_EQ(value("PG_ProviderModule", "InterfaceVersion"), "2.0.0");
    EXPECT_EQ(value("PG_Provider", "Name"), r.providerName);
    EXPECT_EQ(value("PG_Provider", "ProviderModuleName"), module);
    EXPECT_EQ(value("PG_ProviderCapabilities", "ProviderModuleName"), module);
    EXPECT_EQ(value("PG_ProviderCapabilities", "ProviderName"), r.providerName);
    EXPECT_EQ(value("PG_ProviderCapabilities", "ClassName"), r.className);
    EXPECT_EQ(value("PG_ProviderCapabilities", "Namespaces"), r.nameSpace);
    EXPECT_EQ(value("PG_ProviderCapabilities", "ProviderType"), "2, 3");
    EXPECT_TRUE(
        cimmof::findByName(byClass.at("PG_ProviderCapabilities")->values, "SupportedProperties")
            ->isNull);
}

}  // namespace
