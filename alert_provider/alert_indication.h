// One Vesk_AlertIndication (namespace "root/orvcim") for one committed error-log entry: the
// CIM_AlertIndication properties chosen from the entry as schema/vesk_alert.mof documents, the
// system named by a machine identity, and the entry's own fields. Objects belong to the broker.
// Keeps no state; safe on any thread.
#ifndef CIMP_ALERT_PROVIDER_ALERT_INDICATION_H
#define CIMP_ALERT_PROVIDER_ALERT_INDICATION_H

#include <cmpidt.h>

#include "alert_provider/identity_memory.h"
#include "platform/errl_watch.h"

inline constexpr char kCimpAlertClassName[] = "Vesk_AlertIndication";

// The alert, or null with `status` saying why. When `identity` is not known, SystemName,
// SystemCreationClassName, AlertingManagedElement and AlertingElementFormat are left out; when it
// is known but not current, the message says the system is named by the identity read last. The
// statuses of setProperty are not examined: the alert goes out as far as it was built.
CMPIInstance* cimpMakeAlertIndication(const CMPIBroker* broker, const ErrlCommittedEntry& entry,
                                      const CimpIdentityReading& identity, CMPIStatus& status);

#endif
