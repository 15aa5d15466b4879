#include "alert_provider/alert_classification.h"

namespace {

// CIM_AlertIndication.AlertType
constexpr uint16_t kAlertTypeOther = 1;
constexpr uint16_t kAlertTypeProcessingError = 4;
// CIM_AlertIndication.PerceivedSeverity
constexpr uint16_t kSeverityInformation = 2;
constexpr uint16_t kSeverityMajor = 5;
// CIM_AlertIndication.ProbableCause
constexpr uint16_t kCauseUnknown = 0;
constexpr uint16_t kCauseUnderlyingResourceUnavailable = 57;

}  // namespace

CimpAlertClassification cimpClassifyEntry(const ErrlCommittedEntry& entry) {
    // A named platform call failed to give the service processor its data: a processing error
    // whose cause is the platform service behind the call.
    const bool knownCall = !entry.call.empty();
    // The committer's first word is its severity; 0 marks an entry kept for information only.
    return {knownCall ? kAlertTypeProcessingError : kAlertTypeOther,
            entry.words[0] == 0 ? kSeverityInformation : kSeverityMajor,
            knownCall ? kCauseUnderlyingResourceUnavailable : kCauseUnknown};
}
