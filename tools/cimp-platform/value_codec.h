// Values as cimp-platform shows and takes them.
//
// Shown: the bytes themselves when they are printable ASCII without a blank at either end,
// else "hex:" and two digits a byte; a text that itself begins with one of the prefixes below is
// shown as "text:<text>". What show prints is therefore what set and a machine file take back.
//
// Taken (a tagged value): "hex:<digits>" (two a byte, "0x" optional), "byte:<N>" (one byte,
// decimal or 0x hexadecimal), "text:<text>", or plain text.
#ifndef CIMP_TOOLS_CIMP_PLATFORM_VALUE_CODEC_H
#define CIMP_TOOLS_CIMP_PLATFORM_VALUE_CODEC_H

#include <cstdint>
#include <string>

#include "base/outcome.h"

namespace cimpcli {

// The most bytes a registry value may hold here; the provider reads far fewer.
constexpr size_t kMaxValueBytes = 4096;

std::string displayValue(const std::string& bytes);

cimp::Outcome parseHexBytes(const std::string& digits, std::string* bytes);
cimp::Outcome parseByte(const std::string& number, std::string* bytes);
cimp::Outcome parseTaggedValue(const std::string& tagged, std::string* bytes);

// The managed indicator as the platform reads it: a 32-bit decimal or 0x number.
cimp::Outcome encodeManaged(const std::string& number, std::string* bytes);
// The policy file: on -> "1", off -> "0", empty -> "" (the service then leaves its flag alone).
cimp::Outcome encodePolicy(const std::string& word, std::string* bytes);
// What a policy file's bytes mean, in the words encodePolicy takes ("invalid" otherwise).
std::string policyWord(const std::string& bytes);

// A return code: non-zero 32-bit hexadecimal, "0x" optional.
cimp::Outcome parseReturnCode(const std::string& text, uint32_t* rc);
std::string formatReturnCode(uint32_t rc);

}  // namespace cimpcli

#endif
