#include "sysdata/mtms.h"

#include <cstdio>
#include <cstring>

#include "platform/errl_entry.h"
#include "platform/trace_point.h"
#include "platform/util_reg.h"
#include "sysdata/bounded_text.h"
#include "sysdata/entry_rc.h"

namespace {

// Layout of "svpd/Raw_MachineTypeModel": type in bytes 0-3, one separator byte, model in 5-7.
constexpr std::size_t kTypeModelSize = 8;
constexpr std::size_t kTypeOffset = 0;
constexpr std::size_t kTypeChars = 4;
constexpr std::size_t kModelOffset = 5;
constexpr std::size_t kModelChars = 3;

// "svpd/Raw_MachineSerialNumber": the serial is bytes 0-6; the rest is not used.
constexpr std::size_t kSerialRawSize = 12;
constexpr std::size_t kSerialChars = 7;

static_assert(kTypeChars < sizeof(CimpMtms_t::type), "type field keeps its terminator");
static_assert(kModelChars < sizeof(CimpMtms_t::model), "model field keeps its terminator");
static_assert(kSerialChars < sizeof(CimpMtms_t::serial), "serial field keeps its terminator");
static_assert(kTypeChars + kModelChars + 1 + kSerialChars < sizeof(CimpMtms_t::mtmsCompact),
              "compact join always fits");
static_assert(kTypeChars + kModelChars + 2 + kSerialChars < sizeof(CimpMtms_t::mtmsDashed),
              "dashed join always fits");
static_assert(kTypeChars + kModelChars + 2 + kSerialChars < sizeof(CimpMtms_t::mtmsDotted),
              "dotted join always fits");

void fillRecord(CimpMtms_t& mtms, const char (&typeModel)[kTypeModelSize],
                const char (&serialRaw)[kSerialRawSize]) {
    std::memset(&mtms, 0, sizeof mtms);
    cimpCopyBoundedText(mtms.type, typeModel + kTypeOffset, kTypeChars);
    cimpCopyBoundedText(mtms.model, typeModel + kModelOffset, kModelChars);
    cimpCopyBoundedText(mtms.serial, serialRaw, kSerialChars);
    std::snprintf(mtms.mtmsCompact, sizeof mtms.mtmsCompact, "%s%s*%s", mtms.type, mtms.model,
                  mtms.serial);
    std::snprintf(mtms.mtmsDashed, sizeof mtms.mtmsDashed, "%s-%s*%s", mtms.type, mtms.model,
                  mtms.serial);
    std::snprintf(mtms.mtmsDotted, sizeof mtms.mtmsDotted, "%s.%s.%s", mtms.type, mtms.model,
                  mtms.serial);
}

}  // namespace

ErrlEntry* cimpGetMtms(CimpMtms_t& mtms) {
    CIMP_TRACE(" ", "cimpGetMtms: entry");

    // Cleared so that a value shorter than its buffer simply ends early.
    char typeModel[kTypeModelSize] = {};
    char serialRaw[kSerialRawSize] = {};

    unsigned int size = sizeof typeModel;
    ErrlEntry* entry = UtilReg::read("svpd/Raw_MachineTypeModel", typeModel, size, false, nullptr);
    if (entry != nullptr) {
        CIMP_TRACE(" %X", "cimpGetMtms: type-model read failed rc=0x%X", entry->getRC());
    } else {
        size = sizeof serialRaw;
        entry = UtilReg::read("svpd/Raw_MachineSerialNumber", serialRaw, size, false, nullptr);
        if (entry != nullptr) {
            CIMP_TRACE(" %X", "cimpGetMtms: serial read failed rc=0x%X", entry->getRC());
        }
    }

    // The record is touched only when both reads succeeded.
    if (entry == nullptr) {
        fillRecord(mtms, typeModel, serialRaw);
    }

    CIMP_TRACE(" %X", "cimpGetMtms: exit rc=0x%X", cimpEntryRcOrZero(entry));
    return entry;
}
