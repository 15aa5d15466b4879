#include "broker/broker_factories.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "broker/array_object.h"
#include "broker/cmpi_read.h"
#include "broker/datetime_object.h"
#include "broker/entry_list_objects.h"
#include "broker/instance_object.h"
#include "broker/object_identity.h"
#include "broker/object_path_object.h"
#include "broker/service_call.h"
#include "broker/string_object.h"

namespace cimbroker {
namespace {

// getMessage inserts at most $0..$9.
constexpr CMPICount kMaxInserts = 10;

CMPIInstance* newInstance(const CMPIBroker* mb, const CMPIObjectPath* op, CMPIStatus* rc) {
    return runQuery<RuntimeState>(
        mb, rc, "newInstance", [op](RuntimeState& runtime, CMPIStatus& status) -> CMPIInstance* {
            const ObjectPathObject* path = ObjectPathObject::from(op, runtime);
            if (path == nullptr) {
                status = errorStatus(
                    runtime, op ? CMPI_RC_ERR_INVALID_HANDLE : CMPI_RC_ERR_INVALID_PARAMETER,
                    "newInstance: the path is null or not made by this runtime's broker");
                return nullptr;
            }
            return makeInArena<InstanceObject>(runtime, path->clonePath()).cmpi();
        });
}

CMPIObjectPath* newObjectPath(const CMPIBroker* mb, const char* ns, const char* cn,
                              CMPIStatus* rc) {
    return runQuery<RuntimeState>(
        mb, rc, "newObjectPath", [ns, cn](RuntimeState& runtime, CMPIStatus&) {
            return makeInArena<ObjectPathObject>(runtime, ns ? ns : "", cn ? cn : "").cmpi();
        });
}

CMPIArgs* newArgs(const CMPIBroker* mb, CMPIStatus* rc) {
    return runQuery<RuntimeState>(mb, rc, "newArgs", [](RuntimeState& runtime, CMPIStatus&) {
        return makeInArena<ArgsObject>(runtime).cmpi();
    });
}

CMPIString* newString(const CMPIBroker* mb, const char* data, CMPIStatus* rc) {
    return runQuery<RuntimeState>(
        mb, rc, "newString", [data](RuntimeState& runtime, CMPIStatus& status) -> CMPIString* {
            if (data == nullptr) {
                status = errorStatus(runtime, CMPI_RC_ERR_INVALID_PARAMETER,
                                     "newString: null character data");
                return nullptr;
            }
            return makeStringInArena(runtime, data).cmpi();
        });
}

CMPIArray* newArray(const CMPIBroker* mb, CMPICount max, CMPIType type, CMPIStatus* rc) {
    return runQuery<RuntimeState>(
        mb, rc, "newArray", [max, type](RuntimeState& runtime, CMPIStatus& status) -> CMPIArray* {
            // Providers pass the element type; some pass the array type, which means the same.
            const CMPIType element = storedType(static_cast<CMPIType>(type & ~CMPI_ARRAY));
            if (element == CMPI_null || !isStorableType(element)) {
                status = errorStatus(runtime, CMPI_RC_ERR_INVALID_DATA_TYPE,
                                     "newArray: unsupported element type " + std::to_string(type));
                return nullptr;
            }
            if (max > ArrayObject::kMaxSize) {
                status = errorStatus(runtime, CMPI_RC_ERR_INVALID_PARAMETER,
                                     "newArray: size " + std::to_string(max) + " exceeds " +
                                         std::to_string(ArrayObject::kMaxSize));
                return nullptr;
            }
            return makeInArena<ArrayObject>(runtime, element, max).cmpi();
        });
}

CMPIDateTime* makeDateTime(RuntimeState& runtime, CimDateTime value) {
    return makeInArena<DateTimeObject>(runtime, value).cmpi();
}

CMPIDateTime* newDateTime(const CMPIBroker* mb, CMPIStatus* rc) {
    return runQuery<RuntimeState>(mb, rc, "newDateTime", [](RuntimeState& runtime, CMPIStatus&) {
        const auto now = std::chrono::duration_cast<std::chrono::microseconds>(
            std::chrono::system_clock::now().time_since_epoch());
        return makeDateTime(runtime, CimDateTime{static_cast<uint64_t>(now.count()), false});
    });
}

CMPIDateTime* newDateTimeFromBinary(const CMPIBroker* mb, CMPIUint64 binTime, CMPIBoolean interval,
                                    CMPIStatus* rc) {
    return runQuery<RuntimeState>(
        mb, rc, "newDateTimeFromBinary", [binTime, interval](RuntimeState& runtime, CMPIStatus&) {
            return makeDateTime(runtime, CimDateTime{binTime, interval != 0});
        });
}

CMPIDateTime* newDateTimeFromChars(const CMPIBroker* mb, const char* utcTime, CMPIStatus* rc) {
    return runQuery<RuntimeState>(
        mb, rc, "newDateTimeFromChars",
        [utcTime](RuntimeState& runtime, CMPIStatus& status) -> CMPIDateTime* {
            CimDateTime value{};
            if (!parseCimDateTime(utcTime, value)) {
                status = errorStatus(runtime, CMPI_RC_ERR_INVALID_PARAMETER,
                                     "newDateTimeFromChars: not a CIM date-time: " +
                                         std::string(utcTime ? utcTime : "(null)"));
                return nullptr;
            }
            return makeDateTime(runtime, value);
        });
}

CMPISelectExp* newSelectExp(const CMPIBroker* mb, const char*, const char*, CMPIArray** projection,
                            CMPIStatus* rc) {
    if (projection != nullptr) {
        *projection = nullptr;
    }
    return runQuery<RuntimeState>(mb, rc, "newSelectExp",
                                  [](RuntimeState& runtime, CMPIStatus& status) {
                                      status = notSupported(runtime, "newSelectExp");
                                      return static_cast<CMPISelectExp*>(nullptr);
                                  });
}

CMPIBoolean classPathIsA(const CMPIBroker* mb, const CMPIObjectPath* op, const char* type,
                         CMPIStatus* rc) {
    return runQuery<RuntimeState>(
        mb, rc, "classPathIsA",
        [op, type](RuntimeState& runtime, CMPIStatus& status) -> CMPIBoolean {
            const ObjectPathObject* path = ObjectPathObject::from(op);
            if (path == nullptr || type == nullptr) {
                status = errorStatus(
                    runtime,
                    op && !path ? CMPI_RC_ERR_INVALID_HANDLE : CMPI_RC_ERR_INVALID_PARAMETER,
                    "classPathIsA: the path or the type is null, or the path is not ours");
                return 0;
            }
            return runtime.classIsA(path->className().text(), type) ? 1 : 0;
        });
}

// toString and getType: a text about any object of this broker.
CMPIString* textAbout(const CMPIBroker* mb, const void* object, CMPIStatus* rc, const char* service,
                      std::string (*render)(const Object&)) {
    return runQuery<RuntimeState>(
        mb, rc, service,
        [object, service, render](RuntimeState& runtime, CMPIStatus& status) -> CMPIString* {
            const Object* ours = identifyObject(object);
            if (ours == nullptr) {
                status = errorStatus(runtime, CMPI_RC_ERR_INVALID_HANDLE,
                                     std::string(service) + ": not an object of this broker");
                return nullptr;
            }
            return makeStringInArena(runtime, render(*ours)).cmpi();
        });
}

CMPIString* toString(const CMPIBroker* mb, const void* object, CMPIStatus* rc) {
    return textAbout(mb, object, rc, "toString",
                     [](const Object& ours) { return ours.describe(); });
}

CMPIBoolean isOfType(const CMPIBroker* mb, const void* object, const char* type, CMPIStatus* rc) {
    return runQuery<RuntimeState>(
        mb, rc, "isOfType",
        [object, type](RuntimeState& runtime, CMPIStatus& status) -> CMPIBoolean {
            const Object* ours = identifyObject(object);
            if (ours == nullptr || type == nullptr) {
                status = errorStatus(runtime, CMPI_RC_ERR_INVALID_HANDLE,
                                     "isOfType: not an object of this broker, or a null type");
                return 0;
            }
            return std::strcmp(ours->typeName(), type) == 0 ? 1 : 0;
        });
}

CMPIString* getType(const CMPIBroker* mb, const void* object, CMPIStatus* rc) {
    return textAbout(mb, object, rc, "getType",
                     [](const Object& ours) { return std::string(ours.typeName()); });
}

// Reads `count` (type, value) pairs with the argument types the CMFmt* macros pass (CMFmtSint
// passes a long); false at a type it cannot read, since nothing past it can be found.
bool readInserts(CMPICount count, va_list args, std::vector<std::string>& inserts) {
    for (CMPICount i = 0; i < count && i < kMaxInserts; ++i) {
        const int type = va_arg(args, int);  // CMPIType is promoted through "..."
        switch (type) {
            case CMPI_sint32:
                inserts.push_back(std::to_string(va_arg(args, long)));
                break;
            case CMPI_uint32:
                inserts.push_back(std::to_string(va_arg(args, unsigned long)));
                break;
            case CMPI_sint64:
                inserts.push_back(std::to_string(va_arg(args, long long)));
                break;
            case CMPI_uint64:
                inserts.push_back(std::to_string(va_arg(args, unsigned long long)));
                break;
            case CMPI_real64:
                inserts.push_back(std::to_string(va_arg(args, double)));
                break;
            case CMPI_boolean:
                inserts.push_back(va_arg(args, int) != 0 ? "true" : "false");
                break;
            case CMPI_chars: {
                const char* chars = va_arg(args, const char*);
                inserts.push_back(chars != nullptr ? chars : "");
                break;
            }
            case CMPI_string:
                inserts.push_back(toStdString(va_arg(args, const CMPIString*)));
                break;
            default:
                return false;
        }
    }
    return true;
}

std::string insertInto(const char* text, const std::vector<std::string>& inserts) {
    std::string out;
    for (const char* c = text; *c != '\0'; ++c) {
        if (c[0] == '$' && c[1] >= '0' && c[1] <= '9' &&
            static_cast<size_t>(c[1] - '0') < inserts.size()) {
            out += inserts[static_cast<size_t>(c[1] - '0')];
            ++c;
        } else {
            out += *c;
        }
    }
    return out;
}

// No message catalogue: the default message is the answer, with its $n inserts filled.
CMPIString* getMessage(const CMPIBroker* mb, const char*, const char* defMsg, CMPIStatus* rc,
                       CMPICount count, ...) {
    va_list args;
    va_start(args, count);
    CMPIString* message = runQuery<RuntimeState>(
        mb, rc, "getMessage", [&](RuntimeState& runtime, CMPIStatus& status) {
            std::vector<std::string> inserts;
            if (!readInserts(count, args, inserts)) {
                status = errorStatus(runtime, CMPI_RC_ERR_INVALID_DATA_TYPE,
                                     "getMessage: an insert has a type that cannot be formatted");
            }
            return makeStringInArena(runtime, insertInto(defMsg ? defMsg : "", inserts)).cmpi();
        });
    va_end(args);
    return message;
}

// logMessage and trace: echoed to stderr when the runtime is told to, otherwise dropped.
CMPIStatus echo(const CMPIBroker* mb, const char* service, const char* kind, int level,
                const char* source, const char* text, const CMPIString* string) {
    return runUpdate<RuntimeState>(mb, service, [&](RuntimeState& runtime) {
        if (runtime.echoDiagnostics.load(std::memory_order_relaxed)) {
            const std::string message = text != nullptr ? text : toStdString(string);
            std::fprintf(stderr, "cimbroker %s %d %s: %s\n", kind, level, source ? source : "-",
                         message.c_str());
        }
        return okStatus();
    });
}

CMPIStatus logMessage(const CMPIBroker* mb, int severity, const char* id, const char* text,
                      const CMPIString* string) {
    return echo(mb, "logMessage", "log", severity, id, text, string);
}

CMPIStatus trace(const CMPIBroker* mb, int level, const char* component, const char* text,
                 const CMPIString* string) {
    return echo(mb, "trace", "trace", level, component, text, string);
}

CMPIBrokerEncFT factoryTable = {
    CMPICurrentVersion,
    newInstance,
    newObjectPath,
    newArgs,
    newString,
    newArray,
    newDateTime,
    newDateTimeFromBinary,
    newDateTimeFromChars,
    newSelectExp,
    classPathIsA,
    toString,
    isOfType,
    getType,
    getMessage,
    logMessage,
    trace,
};

}  // namespace

CMPIBrokerEncFT* factoryFunctionTable() {
    return &factoryTable;
}

}  // namespace cimbroker
