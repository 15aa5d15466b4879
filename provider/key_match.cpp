#include "provider/key_match.h"

#include <cmpift.h>

#include <cstdint>
#include <cstring>

#include "platform/trace_point.h"

namespace {

CMPICount readKeyCount(const CMPIObjectPath* path, CMPIStatus& status) {
    if (path == nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
        return 0;
    }
    return path->ft->getKeyCount(path, &status);
}

int compareStringValues(const CMPIString* requested, const CMPIString* candidate) {
    if (requested == nullptr && candidate == nullptr) {
        return CMPI_RC_OK;
    }
    if (requested == nullptr || candidate == nullptr) {
        CIMP_TRACE(" ", "cimpMatchObjectPathKeys: one string key value is null");
        return CMPI_RC_ERR_TYPE_MISMATCH;
    }
    const char* requestedText = static_cast<const char*>(requested->hdl);
    const char* candidateText = static_cast<const char*>(candidate->hdl);
    if (requestedText == nullptr || candidateText == nullptr) {
        // A broker that hands out a string without text leaves nothing to compare.
        CIMP_TRACE(" ", "cimpMatchObjectPathKeys: string key value without text");
        return CMPI_RC_ERR_FAILED;
    }
    if (std::strcmp(requestedText, candidateText) != 0) {
        CIMP_TRACE(" %s,%s",
                   "cimpMatchObjectPathKeys: string key differs requested=%s candidate=%s",
                   requestedText, candidateText);
        return CMPI_RC_ERR_TYPE_MISMATCH;
    }
    return CMPI_RC_OK;
}

// The key at `index` of `requested`, looked up by name in `candidate`.
int compareKeyAt(const CMPIObjectPath* requested, const CMPIObjectPath* candidate,
                 CMPICount index) {
    CMPIString* name = nullptr;
    const CMPIData requestedKey = requested->ft->getKeyAt(requested, index, &name, nullptr);
    if (requestedKey.state == CMPI_notFound || name == nullptr || name->hdl == nullptr) {
        CIMP_TRACE(" %d", "cimpMatchObjectPathKeys: no key at index %d", static_cast<int>(index));
        return CMPI_RC_ERR_FAILED;
    }

    const char* keyName = static_cast<const char*>(name->hdl);
    const CMPIData candidateKey = candidate->ft->getKey(candidate, keyName, nullptr);
    if (candidateKey.state == CMPI_notFound) {
        CIMP_TRACE(" ", "cimpMatchObjectPathKeys: key missing in candidate");
        return CMPI_RC_ERR_TYPE_MISMATCH;
    }
    if (requestedKey.type != candidateKey.type) {
        CIMP_TRACE(
            " %X,%X", "cimpMatchObjectPathKeys: key types differ requested=0x%X candidate=0x%X",
            static_cast<uint32_t>(requestedKey.type), static_cast<uint32_t>(candidateKey.type));
        return CMPI_RC_ERR_TYPE_MISMATCH;
    }

    switch (requestedKey.type) {
        case CMPI_string:
            return compareStringValues(requestedKey.value.string, candidateKey.value.string);
        case CMPI_ref:
            // The nested call traces its own outcome; this level adds nothing.
            return cimpMatchObjectPathKeys(requestedKey.value.ref, candidateKey.value.ref, true);
        default:
            CIMP_TRACE(" %X", "cimpMatchObjectPathKeys: key type 0x%X cannot be compared",
                       static_cast<uint32_t>(requestedKey.type));
            return CMPI_RC_ERR_FAILED;
    }
}

int compareKeys(const CMPIObjectPath* requested, const CMPIObjectPath* candidate,
                bool sameKeyCount) {
    CMPIStatus requestedStatus = {CMPI_RC_OK, nullptr};
    CMPIStatus candidateStatus = {CMPI_RC_OK, nullptr};
    const CMPICount requestedCount = readKeyCount(requested, requestedStatus);
    const CMPICount candidateCount = readKeyCount(candidate, candidateStatus);
    if (requestedStatus.rc != CMPI_RC_OK || candidateStatus.rc != CMPI_RC_OK) {
        CIMP_TRACE(" %X,%X", "cimpMatchObjectPathKeys: key count unreadable rc=0x%X,0x%X",
                   static_cast<uint32_t>(requestedStatus.rc),
                   static_cast<uint32_t>(candidateStatus.rc));
        return CMPI_RC_ERR_FAILED;
    }
    if (sameKeyCount && requestedCount != candidateCount) {
        CIMP_TRACE(" %X,%X", "cimpMatchObjectPathKeys: key counts differ candidate=%X requested=%X",
                   static_cast<uint32_t>(candidateCount), static_cast<uint32_t>(requestedCount));
        return CMPI_RC_ERR_TYPE_MISMATCH;
    }

    for (CMPICount index = 0; index < requestedCount; ++index) {
        const int result = compareKeyAt(requested, candidate, index);
        if (result != CMPI_RC_OK) {
            return result;
        }
    }
    return CMPI_RC_OK;
}

}  // namespace

int cimpMatchObjectPathKeys(const CMPIObjectPath* requested, const CMPIObjectPath* candidate,
                            bool sameKeyCount) {
    CIMP_TRACE(" %X", "cimpMatchObjectPathKeys: entry sameKeyCount=%X",
               static_cast<uint32_t>(sameKeyCount));
    const int result = compareKeys(requested, candidate, sameKeyCount);
    CIMP_TRACE(" %X", "cimpMatchObjectPathKeys: exit rc=0x%X", static_cast<uint32_t>(result));
    return result;
}
