// A listener's answer to an export request, as the delivery service judges it: any bytes, with
// and without the answer header a listener should send.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "cimom/wire/export_request.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    const bool accepted = cimhost::exportAccepted(200, "MethodResponse", body);
    // Without the header or with another status nothing is accepted, whatever the body.
    if (cimhost::exportAccepted(500, "MethodResponse", body) ||
        cimhost::exportAccepted(200, "", body) ||
        (accepted && body.find("EXPMETHODRESPONSE") == std::string_view::npos)) {
        __builtin_trap();
    }
    return 0;
}
