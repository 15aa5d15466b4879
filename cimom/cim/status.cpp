#include "cimom/cim/status.h"

#include <iterator>
#include <utility>

#include "broker/cmpi_read.h"

namespace cimhost {
namespace {

constexpr int kHighestSharedCode = 17;

const char* const kCodeNames[] = {
    "CIM_ERR_OK",  // not an error; listed so the table is indexed by code
    "CIM_ERR_FAILED",
    "CIM_ERR_ACCESS_DENIED",
    "CIM_ERR_INVALID_NAMESPACE",
    "CIM_ERR_INVALID_PARAMETER",
    "CIM_ERR_INVALID_CLASS",
    "CIM_ERR_NOT_FOUND",
    "CIM_ERR_NOT_SUPPORTED",
    "CIM_ERR_CLASS_HAS_CHILDREN",
    "CIM_ERR_CLASS_HAS_INSTANCES",
    "CIM_ERR_INVALID_SUPERCLASS",
    "CIM_ERR_ALREADY_EXISTS",
    "CIM_ERR_NO_SUCH_PROPERTY",
    "CIM_ERR_TYPE_MISMATCH",
    "CIM_ERR_QUERY_LANGUAGE_NOT_SUPPORTED",
    "CIM_ERR_INVALID_QUERY",
    "CIM_ERR_METHOD_NOT_AVAILABLE",
    "CIM_ERR_METHOD_NOT_FOUND",
    "CIM_ERR_UNEXPECTED_RESPONSE",
    "CIM_ERR_INVALID_RESPONSE_DESTINATION",
    "CIM_ERR_NAMESPACE_NOT_EMPTY",
    "CIM_ERR_INVALID_ENUMERATION_CONTEXT",
    "CIM_ERR_INVALID_OPERATION_TIMEOUT",
    "CIM_ERR_PULL_HAS_BEEN_ABANDONED",
    "CIM_ERR_PULL_CANNOT_BE_ABANDONED",
    "CIM_ERR_FILTERED_ENUMERATION_NOT_SUPPORTED",
    "CIM_ERR_CONTINUATION_ON_ERROR_NOT_SUPPORTED",
    "CIM_ERR_SERVER_LIMITS_EXCEEDED",
    "CIM_ERR_SERVER_IS_SHUTTING_DOWN",
};
static_assert(std::size(kCodeNames) == kHighestCimCode + 1, "a name for every code");

}  // namespace

Status Status::failed(std::string description) {
    return Status(CimCode::Failed, std::move(description));
}

Status Status::invalidNamespace(const std::string& nameSpace) {
    return Status(CimCode::InvalidNamespace, "namespace " + nameSpace + " does not exist");
}

Status Status::invalidParameter(std::string description) {
    return Status(CimCode::InvalidParameter, std::move(description));
}

Status Status::invalidClass(const std::string& className) {
    return Status(CimCode::InvalidClass, "class " + className + " does not exist");
}

Status Status::notFound(std::string description) {
    return Status(CimCode::NotFound, std::move(description));
}

Status Status::notSupported(std::string description) {
    return Status(CimCode::NotSupported, std::move(description));
}

Status Status::withCode(CimCode code, std::string description) {
    return Status(code, std::move(description));
}

Status Status::fromCmpi(const CMPIStatus& status) {
    const std::string message = cimbroker::toStdString(status.msg);
    const int rc = static_cast<int>(status.rc);
    if (rc >= 0 && rc <= kHighestSharedCode) {
        return Status(static_cast<CimCode>(rc), message);
    }
    std::string description = "provider returned CMPI code " + std::to_string(rc);
    if (!message.empty()) {
        description += ": " + message;
    }
    return Status(CimCode::Failed, std::move(description));
}

const char* cimCodeName(CimCode code) {
    const int n = static_cast<int>(code);
    return (n >= 0 && n <= kHighestCimCode) ? kCodeNames[n] : "unknown";
}

}  // namespace cimhost
