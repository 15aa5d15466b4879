#include "provider/class_name.h"

#include <cmpift.h>

#include <cstdint>

#include "platform/trace_point.h"

CMPIStatus cimpGetClassName(const CMPIObjectPath* path, char*& className) {
    CIMP_TRACE(" ", "cimpGetClassName: entry");
    CMPIStatus status = {CMPI_RC_OK, nullptr};
    className = nullptr;

    const CMPIString* name = nullptr;
    if (path == nullptr) {
        status.rc = CMPI_RC_ERR_FAILED;
    } else {
        name = path->ft->getClassName(path, &status);
    }
    if (status.rc == CMPI_RC_OK) {
        // The character data comes from the string's handle, never through its function table.
        if (name == nullptr || name->hdl == nullptr) {
            status.rc = CMPI_RC_ERR_FAILED;
        } else {
            // Some header sets declare the handle const; the name is only read through it.
            className = const_cast<char*>(static_cast<const char*>(name->hdl));
        }
    }

    CIMP_TRACE(" %X", "cimpGetClassName: exit rc=0x%X", static_cast<uint32_t>(status.rc));
    return status;
}
