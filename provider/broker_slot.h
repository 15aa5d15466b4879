// The broker slot: the one broker handle the provider keeps between requests.
//
// The two factory functions store the broker the CIMOM hands them; a later store replaces an
// earlier one and nothing clears it. The CMPI operations read it whenever they need the broker.
// It is a single pointer-sized atomic, so stores and loads from any thread need no lock.
#ifndef CIMP_PROVIDER_BROKER_SLOT_H
#define CIMP_PROVIDER_BROKER_SLOT_H

#include <cmpidt.h>

// Called by the factory functions only.
void cimpStoreBroker(const CMPIBroker* broker);

// The broker of the latest factory call; null before the first one.
const CMPIBroker* cimpStoredBroker();

#endif
