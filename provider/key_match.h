// Compares the keys of a requested object path with those of a candidate path.
//
// Only keys count: namespaces, hosts and class names of the paths (and of the paths inside
// reference keys) play no part. Stateless; safe on any thread.
#ifndef CIMP_PROVIDER_KEY_MATCH_H
#define CIMP_PROVIDER_KEY_MATCH_H

#include <cmpidt.h>

// Returns a CMPIrc value:
//  - CMPI_RC_OK when every key of `requested` is in `candidate` with the same type and value;
//    `candidate` may carry further keys unless `sameKeyCount` is true.
//  - CMPI_RC_ERR_TYPE_MISMATCH on a difference: key counts (with `sameKeyCount`), a missing key,
//    a type, a string value (compared case-sensitively), or a referenced path's keys.
//  - CMPI_RC_ERR_FAILED when the comparison cannot be made: a null path, an unreadable key count
//    or key, a key whose type is neither CMPI_string nor CMPI_ref, or a non-null string value
//    without character data.
// Reference keys are compared by recursion with `sameKeyCount` true. Looking a key up by name
// is left to the broker's getKey and its rules on letter case.
int cimpMatchObjectPathKeys(const CMPIObjectPath* requested, const CMPIObjectPath* candidate,
                            bool sameKeyCount);

#endif
