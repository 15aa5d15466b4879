// Status: the outcome of one CIM operation inside the host, a CIM status code (DSP0200) and a
// description. Named constructors for the codes the host produces itself; fromCmpi converts a
// provider's CMPIStatus at the CMPI boundary. A plain value: copy freely, share between threads.
#pragma once

#include <string>

#include "cmpidt.h"

namespace cimhost {

enum class CimCode {
    Ok = 0,
    Failed = 1,
    AccessDenied = 2,
    InvalidNamespace = 3,
    InvalidParameter = 4,
    InvalidClass = 5,
    NotFound = 6,
    NotSupported = 7,
    ClassHasChildren = 8,
    ClassHasInstances = 9,
    InvalidSuperclass = 10,
    AlreadyExists = 11,
    NoSuchProperty = 12,
    TypeMismatch = 13,
    QueryLanguageNotSupported = 14,
    InvalidQuery = 15,
    MethodNotAvailable = 16,
    MethodNotFound = 17,
    // The pull operations' codes (DSP0200 1.3); CMPI 1.0 has none of them.
    InvalidEnumerationContext = 21,
    InvalidOperationTimeout = 22,
    FilteredEnumerationNotSupported = 25,
    ContinuationOnErrorNotSupported = 26,
    ServerLimitsExceeded = 27,
};

// The highest code DSP0200 defines; each code from 0 to it has its own name.
constexpr int kHighestCimCode = 28;

class Status {
  public:
    Status() = default;

    static Status ok() { return Status(); }
    static Status failed(std::string description);
    static Status invalidNamespace(const std::string& nameSpace);
    static Status invalidParameter(std::string description);
    static Status invalidClass(const std::string& className);
    static Status notFound(std::string description);
    static Status notSupported(std::string description);
    static Status withCode(CimCode code, std::string description);

    // CMPI codes 0 to 17 are the CIM codes of the same number; any other code becomes Failed
    // with a description naming it. The message, when the provider gave one, is kept.
    static Status fromCmpi(const CMPIStatus& status);

    bool isOk() const { return code_ == CimCode::Ok; }
    CimCode code() const { return code_; }
    int codeNumber() const { return static_cast<int>(code_); }
    const std::string& description() const { return description_; }

  private:
    Status(CimCode code, std::string description)
        : code_(code), description_(std::move(description)) {}

    CimCode code_ = CimCode::Ok;
    std::string description_;
};

// "CIM_ERR_NOT_FOUND" and so on; "unknown" for a code DSP0200 does not define.
const char* cimCodeName(CimCode code);

}  // namespace cimhost
