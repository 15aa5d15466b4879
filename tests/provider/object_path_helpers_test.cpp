// The object-path helpers shared by every operation: class name, key matching, association
// target and the filter-argument traces.
#include <gtest/gtest.h>

#include <cmpidt.h>
#include <cmpift.h>
#include <strings.h>

#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "broker/cmpi_read.h"
#include "provider/association_target.h"
#include "provider/class_name.h"
#include "provider/filter_trace.h"
#include "provider/key_match.h"
#include "tests/provider/provider_fixture.h"

namespace {

using cimptest::ProviderFixture;

class ObjectPathHelpers : public ProviderFixture {};

TEST_F(ObjectPathHelpers, ClassNameComesFromTheBrokersStringOrNotAtAll) {
    enum class Arrange { None, FailGetClassName, NullGetClassName, NullPath };
    const struct {
        const char* name;
        Arrange arrange;
        CMPIrc rc;
        const char* message;
        const char* className;
    } cases[] = {
        {"readable", Arrange::None, CMPI_RC_OK, nullptr, "Vesk_CEC"},
        {"broker fails", Arrange::FailGetClassName, CMPI_RC_ERR_INVALID_HANDLE, "stale path",
         nullptr},
        {"broker gives no string", Arrange::NullGetClassName, CMPI_RC_ERR_FAILED, nullptr, nullptr},
        {"null path", Arrange::NullPath, CMPI_RC_ERR_FAILED, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CMPIObjectPath* path = c.arrange == Arrange::NullPath ? nullptr : newPath("Vesk_CEC");
        runtime_.faults().clear();
        if (c.arrange == Arrange::FailGetClassName) {
            runtime_.faults().failNth("getClassName", 1, CMPI_RC_ERR_INVALID_HANDLE, "stale path");
        } else if (c.arrange == Arrange::NullGetClassName) {
            runtime_.faults().nullNth("getClassName", 1);
        }
        runtime_.calls().clear();
        char* className = reinterpret_cast<char*>(&className);

        const CMPIStatus status = cimpGetClassName(path, className);

        EXPECT_EQ(status.rc, c.rc);
        EXPECT_EQ(cimbroker::toStdString(status.msg), c.message ? c.message : "");
        EXPECT_EQ(status.msg == nullptr, c.message == nullptr);
        if (c.className == nullptr) {
            EXPECT_EQ(className, nullptr);
        } else {
            ASSERT_NE(className, nullptr);
            EXPECT_STREQ(className, c.className);
        }
        EXPECT_EQ(runtime_.calls().count("getCharPtr"), 0u);
    }
}

// A key of a path under test. `ref` describes the referenced path of a CMPI_ref key.
struct PathSpec;
struct KeySpec {
    std::string name;
    CMPIType type;
    std::string text;  // CMPI_string value; unused for a null string
    bool null;
    CMPIUint32 number;
    std::shared_ptr<PathSpec> ref;
};
struct PathSpec {
    std::string nameSpace;
    std::string className;
    std::vector<KeySpec> keys;
};

KeySpec text(const std::string& name, const std::string& value) {
    return {name, CMPI_string, value, false, 0, nullptr};
}
KeySpec nullText(const std::string& name) {
    return {name, CMPI_string, "", true, 0, nullptr};
}
KeySpec number(const std::string& name, CMPIUint32 value) {
    return {name, CMPI_uint32, "", false, value, nullptr};
}
KeySpec reference(const std::string& name, PathSpec path) {
    return {name, CMPI_ref, "", false, 0, std::make_shared<PathSpec>(std::move(path))};
}

class KeyMatching : public ProviderFixture {
  protected:
    CMPIObjectPath* build(const PathSpec& spec) {
        CMPIObjectPath* path = newPath(spec.className.c_str(), spec.nameSpace.c_str());
        for (const KeySpec& key : spec.keys) {
            CMPIValue value{};
            const CMPIValue* given = &value;
            if (key.type == CMPI_string) {
                value.string = broker()->eft->newString(broker(), key.text.c_str(), nullptr);
                given = key.null ? nullptr : &value;
            } else if (key.type == CMPI_ref) {
                value.ref = build(*key.ref);
            } else {
                value.uint32 = key.number;
            }
            EXPECT_EQ(path->ft->addKey(path, key.name.c_str(), given, key.type).rc, CMPI_RC_OK);
        }
        return path;
    }
};

TEST_F(KeyMatching, ComparesEveryRequestedKeyWithTheCandidate) {
    const PathSpec system{"root/orvcim", "Vesk_CEC", {text("Name", "a"), text("UUID", "0")}};
    const PathSpec systemElsewhere{
        "root/other", "CIM_ComputerSystem", {text("Name", "a"), text("UUID", "0")}};
    const PathSpec otherSystem{"root/orvcim", "Vesk_CEC", {text("Name", "b"), text("UUID", "0")}};
    const PathSpec systemWithMore{
        "root/orvcim", "Vesk_CEC", {text("Name", "a"), text("UUID", "0"), text("MTMS", "m")}};
    const struct {
        const char* name;
        PathSpec requested;
        PathSpec candidate;
        bool sameKeyCount;
        int expected;
    } cases[] = {
        {"no keys on either side",
         {"root/orvcim", "X", {}},
         {"root/orvcim", "X", {}},
         false,
         CMPI_RC_OK},
        {"no keys on either side, counts compared",
         {"root/orvcim", "X", {}},
         {"root/orvcim", "X", {}},
         true,
         CMPI_RC_OK},
        {"requested keys are a subset",
         {"root/orvcim", "X", {text("Name", "a")}},
         {"root/orvcim", "X", {text("Name", "a"), text("CreationClassName", "X")}},
         false,
         CMPI_RC_OK},
        {"candidate lacks a requested key",
         {"root/orvcim", "X", {text("Name", "a"), text("CreationClassName", "X")}},
         {"root/orvcim", "X", {text("Name", "a")}},
         false,
         CMPI_RC_ERR_TYPE_MISMATCH},
        {"subset refused when counts are compared",
         {"root/orvcim", "X", {text("Name", "a")}},
         {"root/orvcim", "X", {text("Name", "a"), text("CreationClassName", "X")}},
         true,
         CMPI_RC_ERR_TYPE_MISMATCH},
        {"values differ",
         {"root/orvcim", "X", {text("Name", "a")}},
         {"root/orvcim", "X", {text("Name", "b")}},
         false,
         CMPI_RC_ERR_TYPE_MISMATCH},
        {"values differ in letter case only",
         {"root/orvcim", "X", {text("Name", "abc")}},
         {"root/orvcim", "X", {text("Name", "ABC")}},
         false,
         CMPI_RC_ERR_TYPE_MISMATCH},
        {"two null strings",
         {"root/orvcim", "X", {nullText("Name")}},
         {"root/orvcim", "X", {nullText("Name")}},
         false,
         CMPI_RC_OK},
        {"one null string",
         {"root/orvcim", "X", {nullText("Name")}},
         {"root/orvcim", "X", {text("Name", "a")}},
         false,
         CMPI_RC_ERR_TYPE_MISMATCH},
        {"the other null string",
         {"root/orvcim", "X", {text("Name", "a")}},
         {"root/orvcim", "X", {nullText("Name")}},
         false,
         CMPI_RC_ERR_TYPE_MISMATCH},
        {"types differ",
         {"root/orvcim", "X", {text("Id", "7")}},
         {"root/orvcim", "X", {number("Id", 7)}},
         false,
         CMPI_RC_ERR_TYPE_MISMATCH},
        {"numeric keys cannot be compared",
         {"root/orvcim", "X", {number("Id", 7)}},
         {"root/orvcim", "X", {number("Id", 7)}},
         false,
         CMPI_RC_ERR_FAILED},
        {"references with equal keys, other class and namespace",
         {"root/orvcim", "A", {reference("UserOfService", system)}},
         {"root/orvcim", "A", {reference("UserOfService", systemElsewhere)}},
         false,
         CMPI_RC_OK},
        {"references whose keys differ",
         {"root/orvcim", "A", {reference("UserOfService", system)}},
         {"root/orvcim", "A", {reference("UserOfService", otherSystem)}},
         false,
         CMPI_RC_ERR_TYPE_MISMATCH},
        {"referenced paths must carry the same keys",
         {"root/orvcim", "A", {reference("UserOfService", system)}},
         {"root/orvcim", "A", {reference("UserOfService", systemWithMore)}},
         false,
         CMPI_RC_ERR_TYPE_MISMATCH},
        {"numeric key inside a reference",
         {"root/orvcim", "A", {reference("R", {"root/orvcim", "X", {number("Id", 7)}})}},
         {"root/orvcim", "A", {reference("R", {"root/orvcim", "X", {number("Id", 7)}})}},
         false,
         CMPI_RC_ERR_FAILED},
        {"first difference decides",
         {"root/orvcim", "X", {text("Name", "a"), number("Id", 7)}},
         {"root/orvcim", "X", {text("Name", "b"), number("Id", 7)}},
         false,
         CMPI_RC_ERR_TYPE_MISMATCH},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CMPIObjectPath* requested = build(c.requested);
        CMPIObjectPath* candidate = build(c.candidate);
        EXPECT_EQ(cimpMatchObjectPathKeys(requested, candidate, c.sameKeyCount), c.expected);
    }
}

TEST_F(KeyMatching, DifferentCountsAreRefusedBeforeAnyKeyIsRead) {
    CMPIObjectPath* requested = build({"root/orvcim", "X", {text("Name", "a")}});
    CMPIObjectPath* candidate = build({"root/orvcim", "X", {text("Name", "a"), text("B", "b")}});
    runtime_.calls().clear();
    EXPECT_EQ(cimpMatchObjectPathKeys(requested, candidate, true), CMPI_RC_ERR_TYPE_MISMATCH);
    EXPECT_EQ(runtime_.calls().count("getKeyAt"), 0u);
    EXPECT_EQ(runtime_.calls().count("getKey"), 0u);
}

TEST_F(KeyMatching, UnreadableCountsOrPathsFail) {
    CMPIObjectPath* path = build({"root/orvcim", "X", {text("Name", "a")}});
    for (int failing : {1, 2}) {
        SCOPED_TRACE(failing == 1 ? "requested count" : "candidate count");
        runtime_.faults().clear();
        runtime_.faults().failNth("getKeyCount", failing, CMPI_RC_ERR_INVALID_HANDLE, "gone");
        EXPECT_EQ(cimpMatchObjectPathKeys(path, path, false), CMPI_RC_ERR_FAILED);
    }
    runtime_.faults().clear();
    EXPECT_EQ(cimpMatchObjectPathKeys(nullptr, path, false), CMPI_RC_ERR_FAILED);
    EXPECT_EQ(cimpMatchObjectPathKeys(path, nullptr, false), CMPI_RC_ERR_FAILED);
}

// An object path whose keys carry exactly the CMPIData given, for key types the broker runtime
// never reports (it stores CMPI_chars keys as CMPI_string, as CIMOMs do).
class RawKeyPath {
  public:
    explicit RawKeyPath(std::vector<std::pair<std::string, CMPIData>> keys)
        : keys_(std::move(keys)) {
        for (auto& key : keys_) {
            names_.push_back({const_cast<char*>(key.first.c_str()), nullptr});
        }
        ft_.getKey = &getKey;
        ft_.getKeyAt = &getKeyAt;
        ft_.getKeyCount = &getKeyCount;
        path_ = {this, &ft_};
    }
    RawKeyPath(const RawKeyPath&) = delete;
    RawKeyPath& operator=(const RawKeyPath&) = delete;
    const CMPIObjectPath* cmpi() const { return &path_; }

  private:
    static const RawKeyPath& self(const CMPIObjectPath* op) {
        return *static_cast<const RawKeyPath*>(op->hdl);
    }
    static CMPIData notFound() { return {CMPI_null, CMPI_notFound, {}}; }
    static CMPIData getKey(const CMPIObjectPath* op, const char* name, CMPIStatus*) {
        for (const auto& key : self(op).keys_) {
            if (strcasecmp(key.first.c_str(), name) == 0) {
                return key.second;
            }
        }
        return notFound();
    }
    static CMPIData getKeyAt(const CMPIObjectPath* op, CMPICount index, CMPIString** name,
                             CMPIStatus*) {
        const RawKeyPath& path = self(op);
        if (index >= path.keys_.size()) {
            return notFound();
        }
        *name = const_cast<CMPIString*>(&path.names_[index]);
        return path.keys_[index].second;
    }
    static CMPICount getKeyCount(const CMPIObjectPath* op, CMPIStatus* rc) {
        if (rc != nullptr) {
            *rc = {CMPI_RC_OK, nullptr};
        }
        return static_cast<CMPICount>(self(op).keys_.size());
    }

    std::vector<std::pair<std::string, CMPIData>> keys_;
    std::vector<CMPIString> names_;
    CMPIObjectPathFT ft_{};
    CMPIObjectPath path_{};
};

TEST(RawKeyMatching, CharsKeysCannotBeComparedEvenWhenEqual) {
    char value[] = "Vesk_CEC";
    CMPIData chars{CMPI_chars, CMPI_goodValue, {}};
    chars.value.chars = value;
    const RawKeyPath requested({{"CreationClassName", chars}});
    const RawKeyPath candidate({{"CreationClassName", chars}});
    EXPECT_EQ(cimpMatchObjectPathKeys(requested.cmpi(), candidate.cmpi(), false),
              CMPI_RC_ERR_FAILED);
}

TEST(RawKeyMatching, StringWithoutCharacterDataFails) {
    CMPIString empty{nullptr, nullptr};
    CMPIData broken{CMPI_string, CMPI_goodValue, {}};
    broken.value.string = &empty;
    const RawKeyPath requested({{"Name", broken}});
    const RawKeyPath candidate({{"Name", broken}});
    EXPECT_EQ(cimpMatchObjectPathKeys(requested.cmpi(), candidate.cmpi(), false),
              CMPI_RC_ERR_FAILED);
}

class AssociationTarget : public ProviderFixture {
  protected:
    // The two class names as the associator operations pass them; results compare by pointer.
    const char* first_ = "Vesk_TOvPassthru";
    const char* second_ = "Vesk_CEC";
};

TEST_F(AssociationTarget, PicksTheOtherEndByNameThenByTheBrokersClassTest) {
    cimbroker::ClassHierarchy hierarchy;
    hierarchy.add("Vesk_TOvPassthru", "CIM_Service");
    hierarchy.add("Vesk_SpecialCEC", "Vesk_CEC");
    runtime_.setClassHierarchy(hierarchy);
    enum class Target { First, Second, None };
    const struct {
        const char* sourceClass;
        Target target;
        size_t classTests;
        const char* message;
    } cases[] = {
        {"Vesk_CEC", Target::First, 0, nullptr},
        {"Vesk_TOvPassthru", Target::Second, 0, nullptr},
        {"vesk_tovpassthru", Target::Second, 1, nullptr},
        {"VESK_CEC", Target::First, 2, nullptr},
        {"Vesk_SpecialCEC", Target::First, 2, nullptr},
        {"CIM_Service", Target::None, 2, "Object not involved in an association."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sourceClass);
        CMPIObjectPath* source = newPath(c.sourceClass);
        runtime_.calls().clear();
        CMPIStatus status = {CMPI_RC_OK, nullptr};

        const char* target =
            cimpGetAssociationTargetClassName(broker(), source, first_, second_, &status);

        EXPECT_EQ(target, c.target == Target::First    ? first_
                          : c.target == Target::Second ? second_
                                                       : nullptr);
        EXPECT_EQ(runtime_.calls().count("classPathIsA"), c.classTests);
        EXPECT_EQ(status.rc, c.message ? CMPI_RC_ERR_FAILED : CMPI_RC_OK);
        EXPECT_EQ(cimbroker::toStdString(status.msg), c.message ? c.message : "");
    }
}

TEST_F(AssociationTarget, ASourceOfBothClassesGetsTheSecond) {
    cimbroker::ClassHierarchy hierarchy;
    hierarchy.add("Vesk_CEC", "Vesk_TOvPassthru");
    runtime_.setClassHierarchy(hierarchy);
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    EXPECT_EQ(
        cimpGetAssociationTargetClassName(broker(), newPath("VESK_cec"), first_, second_, &status),
        second_);
}

TEST_F(AssociationTarget, SourceWithoutClassNameIsABadSourcePath) {
    CMPIObjectPath* source = newPath("Vesk_CEC");
    runtime_.faults().nullNth("getClassName", 1);
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    EXPECT_EQ(cimpGetAssociationTargetClassName(broker(), source, first_, second_, &status),
              nullptr);
    EXPECT_EQ(status.rc, CMPI_RC_ERR_FAILED);
    EXPECT_EQ(cimbroker::toStdString(status.msg), "Bad source object path.");
    EXPECT_EQ(traceArgsOf("cimpGetAssociationTargetClassName: exit rc=0x%X target=%s"),
              (std::vector<std::vector<std::string>>{{"1", "Class not found"}}));
}

class FilterTrace : public ProviderFixture {};

TEST_F(FilterTrace, WritesTheFiltersThenOneTracePerProperty) {
    const char* properties[] = {"Name", "UUID", nullptr};
    const char* emptyList[] = {nullptr};
    const char* referenceFilters = "cimpTraceReferenceArgs: resultClass=%s role=%s";
    const char* associatorFilters =
        "cimpTraceAssociatorArgs: assocClass=%s resultClass=%s role=%s resultRole=%s";
    const char* property = "request property list [%d]=%s";
    using Args = std::vector<std::vector<std::string>>;

    capture_.clear();
    cimpTraceReferenceArgs(nullptr, nullptr, nullptr);
    EXPECT_EQ(capture_.traces().size(), 1u);
    EXPECT_EQ(traceArgsOf(referenceFilters), (Args{{"NULL", "NULL"}}));

    capture_.clear();
    cimpTraceReferenceArgs("CIM_Dependency", "UserOfService", properties);
    EXPECT_EQ(capture_.traces().size(), 3u);
    EXPECT_EQ(traceArgsOf(referenceFilters), (Args{{"CIM_Dependency", "UserOfService"}}));
    EXPECT_EQ(traceArgsOf(property), (Args{{"0", "Name"}, {"1", "UUID"}}));

    capture_.clear();
    cimpTraceAssociatorArgs(nullptr, "Vesk_CEC", nullptr, "UserOfService", emptyList);
    EXPECT_EQ(capture_.traces().size(), 1u);
    EXPECT_EQ(traceArgsOf(associatorFilters),
              (Args{{"NULL", "Vesk_CEC", "NULL", "UserOfService"}}));

    capture_.clear();
    cimpTraceAssociatorArgs("A", "B", "C", "D", properties);
    EXPECT_EQ(capture_.traces().size(), 3u);
    EXPECT_EQ(traceArgsOf(property), (Args{{"0", "Name"}, {"1", "UUID"}}));
}

}  // namespace
