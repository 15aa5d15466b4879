// WQL as a client sees it: which queries are refused, where the fault is reported, and which
// instances a condition selects.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "cimom/query/wql_evaluator.h"
#include "cimom/query/wql_parser.h"

namespace cimquery {
namespace {

TEST(WqlParse, SelectListAndClass) {
    const ParsedQuery all = parseWql("select * from CIM_Namespace");
    ASSERT_FALSE(all.error);
    EXPECT_TRUE(all.query.selected.empty());
    EXPECT_EQ(all.query.className, "CIM_Namespace");
    EXPECT_FALSE(all.query.where);

    const ParsedQuery some = parseWql("SELECT Name, ElementName FROM CIM_X WHERE Name IS NULL");
    ASSERT_FALSE(some.error);
    ASSERT_EQ(some.query.selected.size(), 2u);
    EXPECT_EQ(some.query.selected[1].name, "ElementName");
    EXPECT_EQ(some.query.selected[1].position, 14u);
    EXPECT_EQ(some.query.classPosition, 31u);
}

// A dotted name is one property: a property of an embedded instance, as filters on lifecycle
// indications use them.
TEST(WqlParse, DottedNamesNameEmbeddedProperties) {
    const ParsedQuery parsed = parseWql(
        "SELECT * FROM CIM_InstModification WHERE SourceInstance ISA T_Sub1 AND "
        "(SourceInstance.Level <> PreviousInstance.Level OR SourceInstance.a.b IS NULL)");
    ASSERT_FALSE(parsed.error) << parsed.error->describe();
    std::vector<std::string> names;
    for (const PropertyName& p : propertiesNamed(parsed.query)) {
        names.push_back(p.name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"SourceInstance", "SourceInstance.Level",
                                               "PreviousInstance.Level", "SourceInstance.a.b"}));
}

TEST(WqlParse, FaultsArePlaced) {
    struct Case {
        std::string query;
        std::string description;
    };
    const Case cases[] = {
        {"", "expected SELECT, found the end of the query at position 1"},
        {"SELECT FROM X", "expected a property name or *, found 'FROM' at position 8"},
        {"SELECT a, FROM X", "expected a property name or *, found 'FROM' at position 11"},
        {"SELECT * X", "expected FROM, found 'X' at position 10"},
        {"SELECT * FROM", "expected a class name, found the end of the query at position 14"},
        {"SELECT * FROM X WHERE",
         "expected a property or a literal, found the end of the query at position 22"},
        {"SELECT * FROM X WHERE a",
         "expected a comparison, IS or ISA, found the end of the query at position 24"},
        {"SELECT * FROM X WHERE a LIKE 'b%'", "LIKE is not supported at position 25"},
        {"SELECT * FROM X WHERE a = 'open", "string not closed at position 27"},
        {"SELECT * FROM X WHERE a = #", "unexpected character '#' at position 27"},
        {"SELECT * FROM X WHERE a. = 1", "unexpected character '.' at position 24"},
        {"SELECT * FROM X WHERE a.1 = 1",
         "expected a comparison, IS or ISA, found '.1' at position 24"},
        {"SELECT * FROM X WHERE (a = 1", "expected ')', found the end of the query at position 29"},
        {"SELECT * FROM X WHERE a IS 1", "expected NULL, found '1' at position 28"},
        {"SELECT * FROM X WHERE 'a' ISA Y", "ISA needs a property on its left at position 23"},
        {"SELECT * FROM X WHERE a = 1 b",
         "expected the end of the query, found 'b' at position 29"},
        {"SELECT * FROM X WHERE a = 12abc", "a number runs into a name at position 29"},
        {"SELECT * FROM X WHERE " + std::string(100, '(') + "a=1" + std::string(100, ')'),
         "conditions nested deeper than 64 levels at position 87"},
        {std::string(kMaxQueryLength + 1, ' '),
         "query longer than 16384 characters at position 16385"},
    };
    for (const Case& c : cases) {
        const ParsedQuery parsed = parseWql(c.query);
        ASSERT_TRUE(parsed.error) << c.query;
        EXPECT_EQ(parsed.error->describe(), c.description) << c.query;
    }
}

class MapSource : public ValueSource {
  public:
    QueryValue value(const std::string& property) const override {
        const auto found = values_.find(property);
        return found == values_.end() ? QueryValue::null() : found->second;
    }
    bool isA(const std::string& property, const std::string& className) const override {
        return property == "Antecedent" && (className == "CIM_Base" || className == "CIM_Sub");
    }

  private:
    std::map<std::string, QueryValue> values_{
        {"Name", QueryValue::ofString("root/orvcim")},
        {"Count", QueryValue::ofNumber(18446744073709551615.0L)},
        {"Small", QueryValue::ofNumber(-3)},
        {"Enabled", QueryValue::ofBoolean(true)},
    };
};

TEST(WqlEvaluate, ConditionsSelectInstances) {
    struct Case {
        const char* where;
        bool matches;
    };
    const Case cases[] = {
        {"Name = 'root/orvcim'", true},
        {"Name = \"root/orvcim\"", true},
        {"Name <> 'root/orvcim'", false},
        {"Name != 'root/interop'", true},
        {"Name > 'root/interop'", true},
        {"'root/a' < Name", true},
        {"Count = 18446744073709551615", true},
        {"Count > 18446744073709551614", true},
        {"Small >= -3 AND Small <= -3", true},
        {"Small < -3.5", false},
        {"Enabled = TRUE", true},
        {"Enabled = FALSE", false},
        {"Name = 5", false},
        {"NOT Name = 5", false},
        {"Missing = 1", false},
        {"NOT Missing = 1", false},
        {"Missing = 1 OR Enabled = TRUE", true},
        {"Missing = 1 AND Enabled = FALSE", false},
        {"NOT (Missing = 1 AND Enabled = FALSE)", true},
        {"Missing IS NULL", true},
        {"Name IS NULL", false},
        {"Name IS NOT NULL AND NOT Missing IS NOT NULL", true},
        {"Small = -3 OR Small = 0 AND Enabled = FALSE", true},
        {"(Small = -3 OR Small = 0) AND Enabled = FALSE", false},
        {"Antecedent ISA CIM_Base", true},
        {"Antecedent ISA CIM_Other", false},
        {"Name = NULL", false},
    };
    const MapSource instance;
    for (const Case& c : cases) {
        const ParsedQuery parsed = parseWql(std::string("SELECT * FROM X WHERE ") + c.where);
        ASSERT_FALSE(parsed.error) << c.where << ": " << parsed.error->describe();
        EXPECT_EQ(matches(parsed.query, instance), c.matches) << c.where;
    }
}

}  // namespace
}  // namespace cimquery
