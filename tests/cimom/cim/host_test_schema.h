// A small schema for the host's tests: a base class with two subclasses, an unrelated class with
// a numeric key, and an association with a subclass of its own.
//
//   T_Base (Id) ─ T_Sub1 (Level uint16, Flag boolean, Codes uint16[], Small uint8)
//              └ T_Sub2 (Extra)
//   T_Other (Num uint16 key)
//   T_Link (Left: T_Base, Right: T_Other) ─ T_SubLink
#pragma once

#include <gtest/gtest.h>

#include "cimom/cim/namespace_schema.h"

namespace cimhosttest {

constexpr char kNamespace[] = "root/test";

inline const char* testMof() {
    return R"(
Qualifier Key : boolean = false, Scope(property, reference), Flavor(DisableOverride, ToSubclass);
Qualifier Association : boolean = false, Scope(association), Flavor(DisableOverride, ToSubclass);
Qualifier Description : string = null, Scope(any), Flavor(EnableOverride, ToSubclass, Translatable);

[Description("The base & root.")]
class T_Base {
    [Key] string Id;
    string Shared;
    uint32 Method1(string In);
};
class T_Sub1 : T_Base {
    uint16 Level;
    boolean Flag;
    uint16 Codes[];
    uint8 Small;
};
class T_Sub2 : T_Base { string Extra; };
class T_Other { [Key] uint16 Num; };
[Association] class T_Link { [Key] T_Base REF Left; [Key] T_Other REF Right; };
[Association] class T_SubLink : T_Link { };
)";
}

inline cimhost::NamespaceSchema testSchema() {
    cimhost::NamespaceSchema schema;
    EXPECT_TRUE(
        cimhost::NamespaceSchema::fromText(testMof(), "test.mof", kNamespace, &schema).ok());
    return schema;
}

}  // namespace cimhosttest
