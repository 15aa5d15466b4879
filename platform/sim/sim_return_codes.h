// Return codes the simulated platform gives the error-log entries of its own failures.
//
// A `.fail` file beside a platform file makes a call fail with the code it holds instead; these
// codes are what a call fails with when the simulated platform itself finds something wrong. All
// share the component prefix 0x51A0 so that a log reader tells them from injected codes.
#ifndef CIMP_PLATFORM_SIM_SIM_RETURN_CODES_H
#define CIMP_PLATFORM_SIM_SIM_RETURN_CODES_H

#include <cstdint>

namespace cimpsim {

// The value file (registry value, managed indicator, policy) does not exist.
constexpr uint32_t kRcMissing = 0x51A00001;
// The value file exists but cannot be read: permissions, not a regular file, a symbolic link, an
// I/O error.
constexpr uint32_t kRcUnreadable = 0x51A00002;
// The registry key is not a plain "area/name" (null, empty part, "." or "..", extra or leading
// slashes, backslashes or control characters, longer than 255 bytes).
constexpr uint32_t kRcBadKey = 0x51A00003;
// The managed indicator or the policy file holds something other than its documented form.
constexpr uint32_t kRcUnparsable = 0x51A00004;
// A `.fail` file exists but does not hold a non-zero hexadecimal 32-bit code.
constexpr uint32_t kRcBadFaultFile = 0x51A00005;
// A registry read was given no buffer for a non-zero capacity.
constexpr uint32_t kRcBadArgument = 0x51A00006;
// The call ran out of memory.
constexpr uint32_t kRcOutOfMemory = 0x51A00007;
// An entry committed by hand (cimp-platform errl commit) without a return code of its own.
constexpr uint32_t kRcCommittedByHand = 0x51A00010;

}  // namespace cimpsim

#endif
