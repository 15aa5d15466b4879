// Who frees what: request scopes free everything made in them, clones belong to the caller, and
// values read before an overwrite stay readable until the request ends. Run under ASan/LSan to
// catch the double frees and leaks these guard against.
#include <memory>

#include "broker_test_fixture.h"

namespace cimbroker {
namespace {

// The fixture's runtime and scope serve the tests that need no runtime of their own.
using Ownership = BrokerTest;

// Builds what one provider request typically builds: paths with keys, an instance, an array.
void buildRequestObjects(const CMPIBroker* mb) {
    CMPIObjectPath* op = CMNewObjectPath(mb, "root/orvcim", "Vesk_CEC", nullptr);
    CMAddKey(op, "Name", "n", CMPI_chars);
    CMPIObjectPath* assoc =
        CMNewObjectPath(mb, "root/orvcim", "Vesk_AssociatedTOvPassthru", nullptr);
    CMAddKey(assoc, "UserOfService", &op, CMPI_ref);
    CMPIInstance* inst = CMNewInstance(mb, op, nullptr);
    CMPIArray* array = CMNewArray(mb, 1, CMPI_uint16, nullptr);
    CMPIUint16 v = 14;
    CMSetArrayElementAt(array, 0, &v, CMPI_uint16);
    CMSetProperty(inst, "Dedicated", &array, CMPI_uint16A);
    CMGetObjectPath(inst, nullptr);
    CMGetClassName(op, nullptr);
}

TEST_F(Ownership, ScopeFreesEverythingMadeInIt) {
    Runtime own;
    for (int request = 0; request < 100; ++request) {
        RequestScope scope(own);
        buildRequestObjects(own.broker());
        EXPECT_GT(scope.liveObjects(), 0u);
    }
    EXPECT_EQ(own.liveObjects(), 0u);
}

TEST_F(Ownership, NestedScopeFreesOnlyItsOwnObjects) {
    CMPIObjectPath* kept = CMNewObjectPath(mb, "root", "Outer", nullptr);
    {
        RequestScope inner(runtime);
        CMNewObjectPath(mb, "root", "Inner", nullptr);
        EXPECT_EQ(inner.liveObjects(), 1u);
    }
    EXPECT_EQ(scope.liveObjects(), 1u);
    EXPECT_EQ(classNameOf(kept), "Outer");
}

TEST_F(Ownership, ScopeOfAnotherRuntimeDoesNotTakeObjects) {
    Runtime mine;
    Runtime other;
    RequestScope otherScope(other);
    {
        RequestScope myScope(mine);
        CMNewObjectPath(mine.broker(), "root", "A", nullptr);
        EXPECT_EQ(myScope.liveObjects(), 1u);
    }
    EXPECT_EQ(otherScope.liveObjects(), 0u);
    EXPECT_EQ(mine.liveObjects(), 0u);
}

TEST_F(Ownership, ObjectsMadeOutsideAnyScopeLiveUntilTheRuntimeEnds) {
    auto own = std::make_unique<Runtime>();
    CMPIObjectPath* op = CMNewObjectPath(own->broker(), "root", "A", nullptr);
    CMRelease(op);  // arena-owned: a no-op
    EXPECT_EQ(classNameOf(op), "A");
    EXPECT_EQ(own->liveObjects(), 1u);  // the path; its names are the runtime's own
    own.reset();  // LSan reports a leak if the fallback arena is not freed
}

TEST_F(Ownership, CloneOutlivesTheScopeUntilReleased) {
    Runtime own;
    CMPIInstance* clone = nullptr;
    {
        RequestScope scope(own);
        CMPIObjectPath* op = CMNewObjectPath(own.broker(), "root", "A", nullptr);
        CMPIInstance* inst = CMNewInstance(own.broker(), op, nullptr);
        CMSetProperty(inst, "P", "v", CMPI_chars);
        clone = CMClone(inst, nullptr);
        CMRelease(inst);  // arena-owned: the scope still frees it exactly once
    }
    ASSERT_NE(clone, nullptr);
    EXPECT_EQ(dataToString(CMGetProperty(clone, "P", nullptr)), "v");
    EXPECT_GT(own.liveObjects(), 0u);
    // Kept aside: after the release the handle's own table must not be read any more.
    auto release = clone->ft->release;
    EXPECT_EQ(release(clone).rc, CMPI_RC_OK);
    EXPECT_EQ(own.liveObjects(), 0u);
    EXPECT_EQ(release(clone).rc, CMPI_RC_OK);  // a stale handle is not touched
}

TEST_F(Ownership, ResultKeepsWhatWasReturnedPastLaterChangesAndTheScope) {
    Result result(runtime);
    {
        RequestScope inner(runtime);
        CMPIObjectPath* op = CMNewObjectPath(mb, "root", "A", nullptr);
        CMPIInstance* changed = CMNewInstance(mb, op, nullptr);
        CMSetProperty(changed, "P", "returned", CMPI_chars);
        CMPIInstance* untouched = CMNewInstance(mb, op, nullptr);
        CMSetProperty(untouched, "P", "kept", CMPI_chars);
        CMReturnInstance(result.cmpi(), changed);
        CMReturnInstance(result.cmpi(), untouched);
        CMReturnInstance(result.cmpi(), changed);
        CMReturnObjectPath(result.cmpi(), op);
        CMSetProperty(changed, "P", "later", CMPI_chars);
        CMSetClassName(op, "B");
    }
    ASSERT_EQ(result.instances().size(), 3u);
    EXPECT_EQ(dataToString(CMGetProperty(result.instances()[0], "P", nullptr)), "returned");
    EXPECT_EQ(dataToString(CMGetProperty(result.instances()[1], "P", nullptr)), "kept");
    EXPECT_EQ(dataToString(CMGetProperty(result.instances()[2], "P", nullptr)), "returned");
    EXPECT_EQ(classNameOf(result.objectPaths()[0]), "A");
}

TEST_F(Ownership, UnreleasedClonesGoWithTheRuntime) {
    auto own = std::make_unique<Runtime>();
    RequestScope* scope = new RequestScope(*own);
    CMPIString* s = CMNewString(own->broker(), "kept", nullptr);
    CMPIString* clone = CMClone(s, nullptr);
    delete scope;
    EXPECT_STREQ(CMGetCharPtr(clone), "kept");
    own.reset();  // LSan reports the clone if the runtime does not reclaim it
}

TEST_F(Ownership, ValuesReadBeforeAnOverwriteStayReadableInTheRequest) {
    CMPIObjectPath* op = CMNewObjectPath(mb, "root", "A", nullptr);
    CMAddKey(op, "Name", "first", CMPI_chars);
    CMPIData before = CMGetKey(op, "Name", nullptr);
    CMPIString* className = CMGetClassName(op, nullptr);
    CMAddKey(op, "Name", "second", CMPI_chars);
    CMSetClassName(op, "B");

    CMPIInstance* inst = CMNewInstance(mb, op, nullptr);
    CMSetProperty(inst, "P", "x", CMPI_chars);
    CMPIData property = CMGetProperty(inst, "P", nullptr);
    const char* none[] = {nullptr};
    CMSetPropertyFilter(inst, none, nullptr);

    EXPECT_STREQ(CMGetCharPtr(before.value.string), "first");
    EXPECT_STREQ(CMGetCharPtr(className), "A");
    EXPECT_STREQ(CMGetCharPtr(property.value.string), "x");
}

TEST_F(Ownership, ObjectsOfAnotherRuntimeAreRefusedWhereTheyWouldBeKept) {
    Runtime other;
    RequestScope otherScope(other);
    CMPIObjectPath* theirs = CMNewObjectPath(other.broker(), "root", "Theirs", nullptr);
    CMPIObjectPath* op = path("Mine", "root");

    EXPECT_EQ(CMAddKey(op, "Ref", &theirs, CMPI_ref).rc, CMPI_RC_ERR_INVALID_HANDLE);
    CMPIStatus rc{};
    EXPECT_EQ(CMNewInstance(mb, theirs, &rc), nullptr);
    EXPECT_EQ(rc.rc, CMPI_RC_ERR_INVALID_HANDLE);
    Result result(runtime);
    EXPECT_EQ(CMReturnObjectPath(result.cmpi(), theirs).rc, CMPI_RC_ERR_INVALID_HANDLE);

    // A string is only text: any runtime's will do.
    CMPIString* text = CMNewString(other.broker(), "shared", nullptr);
    EXPECT_EQ(CMAddKey(op, "Text", &text, CMPI_string).rc, CMPI_RC_OK);
    EXPECT_EQ(dataToString(CMGetKey(op, "Text", nullptr)), "shared");
}

}  // namespace
}  // namespace cimbroker
