// What an alert says of its error-log entry in CIM_AlertIndication's own terms: the alert type,
// the perceived severity and the probable cause, chosen from the entry as schema/vesk_alert.mof
// documents. Pure functions; safe on any thread.
#ifndef CIMP_ALERT_PROVIDER_ALERT_CLASSIFICATION_H
#define CIMP_ALERT_PROVIDER_ALERT_CLASSIFICATION_H

#include <cstdint>

#include "platform/errl_watch.h"

struct CimpAlertClassification {
    uint16_t alertType;      // 4 Processing Error; 1 Other for an entry of unknown origin
    uint16_t severity;       // 2 Information for a first commit word of 0, else 5 Major
    uint16_t probableCause;  // 57 Underlying Resource Unavailable; 0 Unknown for unknown origin
};

CimpAlertClassification cimpClassifyEntry(const ErrlCommittedEntry& entry);

#endif
