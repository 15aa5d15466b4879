#include "provider/filter_trace.h"

#include "platform/trace_point.h"

namespace {

const char* textOrNull(const char* text) {
    return text != nullptr ? text : "NULL";
}

// References and associators share this trace point, so a property list reads the same in both.
void tracePropertyList(const char** properties) {
    if (properties == nullptr) {
        return;
    }
    for (int index = 0; properties[index] != nullptr; ++index) {
        CIMP_TRACE(" %d,%s", "request property list [%d]=%s", index, properties[index]);
    }
}

}  // namespace

void cimpTraceReferenceArgs(const char* resultClass, const char* role, const char** properties) {
    CIMP_TRACE(" %s,%s", "cimpTraceReferenceArgs: resultClass=%s role=%s", textOrNull(resultClass),
               textOrNull(role));
    tracePropertyList(properties);
}

void cimpTraceAssociatorArgs(const char* assocClass, const char* resultClass, const char* role,
                             const char* resultRole, const char** properties) {
    CIMP_TRACE(" %s,%s,%s,%s",
               "cimpTraceAssociatorArgs: assocClass=%s resultClass=%s role=%s resultRole=%s",
               textOrNull(assocClass), textOrNull(resultClass), textOrNull(role),
               textOrNull(resultRole));
    tracePropertyList(properties);
}
