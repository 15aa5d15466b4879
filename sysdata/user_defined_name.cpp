#include "sysdata/user_defined_name.h"

#include "platform/errl_entry.h"
#include "platform/trace_point.h"
#include "platform/util_reg.h"
#include "sysdata/bounded_text.h"
#include "sysdata/entry_rc.h"

namespace {

constexpr std::size_t kNameSize = 32;
// A value that fills all 32 bytes without a NUL is cut to 31 characters so the terminator fits.
constexpr std::size_t kNameChars = kNameSize - 1;

}  // namespace

ErrlEntry* CIMP_getCEC_UserDefName(char* name) {
    CIMP_TRACE(" ", "CIMP_getCEC_UserDefName: entry");

    char raw[kNameSize] = {};
    unsigned int size = sizeof raw;
    ErrlEntry* entry = UtilReg::read("fstp/SystemName", raw, size, false, nullptr);
    if (entry != nullptr) {
        CIMP_TRACE(" %X", "CIMP_getCEC_UserDefName: read failed rc=0x%X", entry->getRC());
    } else {
        const std::size_t copied = cimpCopyBoundedText(name, raw, kNameChars);
        name[copied] = '\0';
    }

    CIMP_TRACE(" %X", "CIMP_getCEC_UserDefName: exit rc=0x%X", cimpEntryRcOrZero(entry));
    return entry;
}
