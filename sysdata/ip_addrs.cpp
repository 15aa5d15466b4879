#include "sysdata/ip_addrs.h"

#include <cstring>

#include "platform/errl_entry.h"
#include "platform/trace_point.h"
#include "platform/util_reg.h"
#include "sysdata/bounded_text.h"
#include "sysdata/entry_rc.h"

namespace {

constexpr std::size_t kAddrRawSize = 16;
// The reader writes only the first 15 bytes of a field; the 16th is the caller's cleared NUL.
constexpr std::size_t kAddrChars = 15;
static_assert(kAddrChars < sizeof(CimpIpAddr_t::eth0Addr), "eth0 field keeps its terminator");
static_assert(kAddrChars < sizeof(CimpIpAddr_t::eth1Addr), "eth1 field keeps its terminator");

// Copies at most 15 characters of `text` into `field` and fills the rest of the 15 bytes with NULs.
void writeAddrField(char* field, const char* text) {
    const std::size_t copied = cimpCopyBoundedText(field, text, kAddrChars);
    std::memset(field + copied, 0, kAddrChars - copied);
}

}  // namespace

ErrlEntry* cimpGetIpAddrs(CimpIpAddr_t& addrs) {
    CIMP_TRACE(" ", "cimpGetIpAddrs: entry");

    char eth0[kAddrRawSize] = {};
    char eth1[kAddrRawSize] = {};

    unsigned int size = sizeof eth0;
    ErrlEntry* entry = UtilReg::read("fstp/eth0_ipaddress", eth0, size, false, nullptr);
    if (entry != nullptr) {
        CIMP_TRACE(" %X", "cimpGetIpAddrs: eth0 read failed rc=0x%X", entry->getRC());
    } else {
        size = sizeof eth1;
        entry = UtilReg::read("fstp/eth1_ipaddress", eth1, size, false, nullptr);
        if (entry != nullptr) {
            CIMP_TRACE(" %X", "cimpGetIpAddrs: eth1 read failed rc=0x%X", entry->getRC());
        }
    }

    if (entry == nullptr) {
        writeAddrField(addrs.eth0Addr, eth0);
        writeAddrField(addrs.eth1Addr, eth1);
    } else {
        // Both fields, so a good first address is never shown beside a failed second one.
        writeAddrField(addrs.eth0Addr, "Unavailable");
        writeAddrField(addrs.eth1Addr, "Unavailable");
    }

    CIMP_TRACE(" %X", "cimpGetIpAddrs: exit rc=0x%X", cimpEntryRcOrZero(entry));
    return entry;
}
