// Machine identity: type, model and serial number read from the registry, and the three joined
// texts the managed objects are named by. Keeps no state; safe on any thread.
#ifndef CIMP_SYSDATA_MTMS_H
#define CIMP_SYSDATA_MTMS_H

class ErrlEntry;

struct CimpMtms_t {
    char type[5];          // machine type, at most 4 characters
    char model[4];         // model, at most 3 characters
    char serial[8];        // serial number, at most 7 characters
    char mtmsCompact[16];  // type model "*" serial
    char mtmsDashed[17];   // type "-" model "*" serial
    char mtmsDotted[17];   // type "." model "." serial
};

// Fills `mtms` from "svpd/Raw_MachineTypeModel" and "svpd/Raw_MachineSerialNumber". Returns null
// on success; on failure returns the failed read's entry (owned by the caller) and leaves `mtms`
// as it was passed in.
ErrlEntry* cimpGetMtms(CimpMtms_t& mtms);

#endif
