// The object-path helpers shared by every operation: key matching, association target and the
// filter-argument traces. Reading the class name is covered through the operations.
#include <gtest/gtest.h>
#include <strings.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "broker/cmpi_read.h"
#include "provider/association_target.h"
#include "provider/filter_trace.h"
#include "provider/key_match.h"
#include "tests/provider/provider_fixture.h"

namespace {

using cimptest::TraceArgs;

class ObjectPathHelpers : public cimptest::ProviderFixture {};

// An object path whose keys carry exactly the CMPIData given, including types a broker never
// reports (CMPI_chars keys come back as CMPI_string from CIMOMs).
class RawPath {
  public:
    using Keys = std::vector<std::pair<const char*, CMPIData>>;
    explicit RawPath(Keys keys) : keys_(std::move(keys)) {
        for (const auto& key : keys_) {
            names_.push_back({const_cast<char*>(key.first), nullptr});
        }
        ft_.getKey = [](const CMPIObjectPath* op, const char* name, CMPIStatus*) {
            for (const auto& key : self(op).keys_) {
                if (strcasecmp(key.first, name) == 0) {
                    return key.second;
                }
            }
            return CMPIData{CMPI_null, CMPI_notFound, {}};
        };
        ft_.getKeyAt = [](const CMPIObjectPath* op, CMPICount i, CMPIString** name, CMPIStatus*) {
            *name = &self(op).names_.at(i);
            return self(op).keys_.at(i).second;
        };
        ft_.getKeyCount = [](const CMPIObjectPath* op, CMPIStatus*) {
            return static_cast<CMPICount>(self(op).keys_.size());
        };
    }
    RawPath(const RawPath&) = delete;
    RawPath& operator=(const RawPath&) = delete;
    CMPIObjectPath* cmpi() { return &path_; }

  private:
    static RawPath& self(const CMPIObjectPath* op) { return *static_cast<RawPath*>(op->hdl); }

    Keys keys_;
    std::vector<CMPIString> names_;
    CMPIObjectPathFT ft_{};
    CMPIObjectPath path_{this, &ft_};
};

CMPIData value(CMPIType type, CMPIValue v) {
    return {type, CMPI_goodValue, v};
}
CMPIData text(const char* s) {
    static std::deque<CMPIString> strings;
    strings.push_back({const_cast<char*>(s), nullptr});
    CMPIValue v{};
    v.string = &strings.back();
    return value(CMPI_string, v);
}
CMPIData nullText() {
    return {CMPI_string, CMPI_nullValue, {}};
}
CMPIData number(CMPIUint32 n) {
    CMPIValue v{};
    v.uint32 = n;
    return value(CMPI_uint32, v);
}
CMPIData chars(const char* s) {
    CMPIValue v{};
    v.chars = const_cast<char*>(s);
    return value(CMPI_chars, v);
}
CMPIData reference(RawPath& path) {
    CMPIValue v{};
    v.ref = path.cmpi();
    return value(CMPI_ref, v);
}

TEST(KeyMatching, EveryRequestedKeyMustBeInTheCandidateWithTheSameValue) {
    RawPath system({{"Name", text("a")}, {"UUID", text("0")}});
    RawPath sameSystem({{"UUID", text("0")}, {"Name", text("a")}});
    RawPath otherSystem({{"Name", text("b")}, {"UUID", text("0")}});
    RawPath systemWithMore({{"Name", text("a")}, {"UUID", text("0")}, {"MTMS", text("m")}});
    CMPIString noText{nullptr, nullptr};
    CMPIValue noTextValue{};
    noTextValue.string = &noText;
    const int ok = CMPI_RC_OK, differ = CMPI_RC_ERR_TYPE_MISMATCH, failed = CMPI_RC_ERR_FAILED;
    const struct {
        const char* name;
        RawPath::Keys requested;
        RawPath::Keys candidate;
        bool sameKeyCount;
        int expected;
    } cases[] = {
        // clang-format off
        {"no keys", {}, {}, true, ok},
        {"subset", {{"Name", text("a")}}, {{"Name", text("a")}, {"CCN", text("X")}}, false, ok},
        {"superset", {{"Name", text("a")}, {"CCN", text("X")}}, {{"Name", text("a")}}, false, differ},
        {"subset, counts compared", {{"Name", text("a")}}, {{"Name", text("a")}, {"X", text("")}}, true, differ},
        {"value differs", {{"Name", text("a")}}, {{"Name", text("b")}}, false, differ},
        {"letter case differs", {{"Name", text("abc")}}, {{"Name", text("ABC")}}, false, differ},
        {"both null", {{"Name", nullText()}}, {{"Name", nullText()}}, false, ok},
        {"one null", {{"Name", nullText()}}, {{"Name", text("a")}}, false, differ},
        {"other null", {{"Name", text("a")}}, {{"Name", nullText()}}, false, differ},
        {"string without text", {{"Name", value(CMPI_string, noTextValue)}}, {{"Name", text("a")}}, false, failed},
        {"types differ", {{"Id", text("7")}}, {{"Id", number(7)}}, false, differ},
        {"numeric keys", {{"Id", number(7)}}, {{"Id", number(7)}}, false, failed},
        {"chars keys", {{"Id", chars("a")}}, {{"Id", chars("a")}}, false, failed},
        {"equal references", {{"R", reference(system)}}, {{"R", reference(sameSystem)}}, false, ok},
        {"references differ", {{"R", reference(system)}}, {{"R", reference(otherSystem)}}, false, differ},
        {"referenced key counts differ", {{"R", reference(system)}}, {{"R", reference(systemWithMore)}}, false, differ},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RawPath requested(c.requested);
        RawPath candidate(c.candidate);
        EXPECT_EQ(cimpMatchObjectPathKeys(requested.cmpi(), candidate.cmpi(), c.sameKeyCount),
                  c.expected);
    }
    EXPECT_EQ(cimpMatchObjectPathKeys(nullptr, system.cmpi(), false), failed);
    EXPECT_EQ(cimpMatchObjectPathKeys(system.cmpi(), nullptr, false), failed);
}

TEST_F(ObjectPathHelpers, TargetIsTheOtherEndByNameThenByTheBrokersClassTest) {
    cimbroker::ClassHierarchy hierarchy;
    hierarchy.add("Vesk_SpecialCEC", "Vesk_CEC");
    runtime_.setClassHierarchy(hierarchy);
    const char* first = "Vesk_TOvPassthru";
    const char* second = "Vesk_CEC";
    const struct {
        const char* sourceClass;
        bool nullClassName;
        const char* target;
        size_t classTests;
        const char* message;
    } cases[] = {
        {"Vesk_CEC", false, first, 0, ""},
        {"Vesk_TOvPassthru", false, second, 0, ""},
        {"vesk_tovpassthru", false, second, 1, ""},
        {"VESK_CEC", false, first, 2, ""},
        {"Vesk_SpecialCEC", false, first, 2, ""},
        {"CIM_Service", false, nullptr, 2, "Object not involved in an association."},
        {"Vesk_CEC", true, nullptr, 0, "Bad source object path."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sourceClass);
        CMPIObjectPath* source = newPath(c.sourceClass);
        runtime_.faults().clear();
        if (c.nullClassName) {
            runtime_.faults().nullNth("getClassName", 1);
        }
        runtime_.calls().clear();
        capture_.clear();
        CMPIStatus status = {CMPI_RC_OK, nullptr};

        EXPECT_EQ(cimpGetAssociationTargetClassName(broker(), source, first, second, &status),
                  c.target);
        EXPECT_EQ(runtime_.calls().count("classPathIsA"), c.classTests);
        EXPECT_EQ(status.rc, c.target ? CMPI_RC_OK : CMPI_RC_ERR_FAILED);
        EXPECT_EQ(cimbroker::toStdString(status.msg), c.message);
        EXPECT_EQ(traceArgsOf("cimpGetAssociationTargetClassName: exit rc=0x%X target=%s"),
                  (TraceArgs{{c.target ? "0" : "1", c.target ? c.target : "Class not found"}}));
    }
}

TEST_F(ObjectPathHelpers, FilterTracesWriteTheFiltersThenOneTracePerProperty) {
    const char* properties[] = {"Name", "UUID", nullptr};
    const char* emptyList[] = {nullptr};
    capture_.clear();
    cimpTraceReferenceArgs(nullptr, nullptr, nullptr);
    cimpTraceReferenceArgs("CIM_Dependency", "UserOfService", emptyList);
    cimpTraceAssociatorArgs("A", nullptr, "C", "D", properties);
    EXPECT_EQ(traceArgsOf("cimpTraceReferenceArgs: resultClass=%s role=%s"),
              (TraceArgs{{"NULL", "NULL"}, {"CIM_Dependency", "UserOfService"}}));
    EXPECT_EQ(traceArgsOf("cimpTraceAssociatorArgs: assocClass=%s resultClass=%s role=%s "
                          "resultRole=%s"),
              (TraceArgs{{"A", "NULL", "C", "D"}}));
    EXPECT_EQ(traceArgsOf("request property list [%d]=%s"),
              (TraceArgs{{"0", "Name"}, {"1", "UUID"}}));
    EXPECT_EQ(capture_.traces().size(), 5u);
}

}  // namespace
