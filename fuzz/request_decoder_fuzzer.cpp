// Request bodies as a client sends them: parsed and decoded into an operation or an error, the
// way the service reads every POST.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "cimom/wire/request_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const cimhost::DecodedRequest decoded =
        cimhost::decodeRequest(std::string_view(reinterpret_cast<const char*>(data), size));
    // A protocol error is answered with the CIMError header it names; an empty one is no answer.
    if (decoded.protocolError && decoded.protocolError->cimError.empty()) {
        __builtin_trap();
    }
    return 0;
}
