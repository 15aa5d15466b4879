// Key matching of object paths, on paths whose keys carry exactly the CMPIData given.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <utility>
#include <vector>

#include <cmpift.h>

#include "provider/key_match.h"

namespace {

using Keys = std::vector<std::pair<const char*, CMPIData>>;

// A path with exactly the keys given, including types a broker never reports (CIMOMs hand
// CMPI_chars keys out as CMPI_string).
struct RawPath : CMPIObjectPath {
    explicit RawPath(const Keys& given);
    RawPath(const RawPath&) = delete;
    std::vector<std::pair<CMPIString, CMPIData>> keys;
};

RawPath& self(const CMPIObjectPath* op) {
    return *static_cast<RawPath*>(op->hdl);
}

CMPIObjectPathFT rawPathFt = [] {
    CMPIObjectPathFT ft{};
    ft.getKeyCount = [](const CMPIObjectPath* op, CMPIStatus*) {
        return static_cast<CMPICount>(self(op).keys.size());
    };
    ft.getKeyAt = [](const CMPIObjectPath* op, CMPICount i, CMPIString** name, CMPIStatus*) {
        *name = &self(op).keys.at(i).first;
        return self(op).keys.at(i).second;
    };
    ft.getKey = [](const CMPIObjectPath* op, const char* name, CMPIStatus*) {
        for (const auto& key : self(op).keys) {
            if (std::strcmp(static_cast<const char*>(key.first.hdl), name) == 0) {
                return key.second;
            }
        }
        return CMPIData{CMPI_null, CMPI_notFound, {}};
    };
    return ft;
}();

RawPath::RawPath(const Keys& given) : CMPIObjectPath{this, &rawPathFt} {
    for (const auto& [name, data] : given) {
        keys.push_back({{const_cast<char*>(name), nullptr}, data});
    }
}

CMPIData text(const char* s, CMPIValueState state = CMPI_goodValue) {
    static std::deque<CMPIString> strings;  // live as long as the test program
    strings.push_back({const_cast<char*>(s), nullptr});
    CMPIData data{CMPI_string, state, {}};
    data.value.string = state == CMPI_goodValue ? &strings.back() : nullptr;
    return data;
}
CMPIData chars(const char* s) {
    CMPIData data{CMPI_chars, CMPI_goodValue, {}};
    data.value.chars = const_cast<char*>(s);
    return data;
}
CMPIData reference(RawPath& path) {
    CMPIData data{CMPI_ref, CMPI_goodValue, {}};
    data.value.ref = &path;
    return data;
}

TEST(KeyMatching, EveryRequestedKeyMustBeInTheCandidateWithTheSameValue) {
    RawPath system({{"Name", text("a")}, {"UUID", text("0")}});
    RawPath sameSystem({{"UUID", text("0")}, {"Name", text("a")}});
    RawPath otherSystem({{"Name", text("b")}, {"UUID", text("0")}});
    RawPath systemWithMore({{"Name", text("a")}, {"UUID", text("0")}, {"MTMS", text("m")}});
    const CMPIData null = text(nullptr, CMPI_nullValue), noText = text(nullptr);
    const int ok = CMPI_RC_OK, differ = CMPI_RC_ERR_TYPE_MISMATCH, failed = CMPI_RC_ERR_FAILED;
    const struct {
        const char* name;
        Keys requested, candidate;
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
        {"both null", {{"Name", null}}, {{"Name", null}}, false, ok},
        {"one null", {{"Name", null}}, {{"Name", text("a")}}, false, differ},
        {"string without text", {{"Name", noText}}, {{"Name", text("a")}}, false, failed},
        {"types differ", {{"Id", text("a")}}, {{"Id", chars("a")}}, false, differ},
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
        EXPECT_EQ(cimpMatchObjectPathKeys(&requested, &candidate, c.sameKeyCount), c.expected);
    }
    EXPECT_EQ(cimpMatchObjectPathKeys(nullptr, &system, false), failed);
}

}  // namespace
