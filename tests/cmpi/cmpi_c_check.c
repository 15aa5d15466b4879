/*
 * Compiled as C99 into the layout test: proves the CMPI headers and the MI stub macros are
 * valid C, the stub's table taking each function in the slot of its own signature.
 */
#include "cmpidt.h"
#include "cmpift.h"
#include "cmpimacs.h"

static const CMPIBroker* c_broker;

static CMPIStatus CCheckAssociationCleanup(CMPIAssociationMI* mi, const CMPIContext* ctx,
                                           CMPIBoolean terminating) {
    (void)mi;
    (void)ctx;
    CMReturn(terminating ? CMPI_RC_OK : CMPI_RC_DO_NOT_UNLOAD);
}

static CMPIStatus CCheckAssociators(CMPIAssociationMI* mi, const CMPIContext* ctx,
                                    const CMPIResult* rslt, const CMPIObjectPath* op,
                                    const char* assocClass, const char* resultClass,
                                    const char* role, const char* resultRole,
                                    const char** properties) {
    (void)mi, (void)ctx, (void)rslt, (void)op, (void)assocClass, (void)resultClass;
    (void)role, (void)resultRole, (void)properties;
    CMReturn(CMPI_RC_ERR_NOT_SUPPORTED);
}

static CMPIStatus CCheckAssociatorNames(CMPIAssociationMI* mi, const CMPIContext* ctx,
                                        const CMPIResult* rslt, const CMPIObjectPath* op,
                                        const char* assocClass, const char* resultClass,
                                        const char* role, const char* resultRole) {
    (void)mi, (void)ctx, (void)rslt, (void)op, (void)assocClass, (void)resultClass;
    (void)role, (void)resultRole;
    CMReturn(CMPI_RC_ERR_NOT_SUPPORTED);
}

/* Returns the object path it was given as the single reference, then reports done. */
static CMPIStatus CCheckReferences(CMPIAssociationMI* mi, const CMPIContext* ctx,
                                   const CMPIResult* rslt, const CMPIObjectPath* op,
                                   const char* resultClass, const char* role,
                                   const char** properties) {
    (void)mi, (void)ctx, (void)resultClass, (void)role, (void)properties;
    CMReturnObjectPath(rslt, op);
    CMReturnDone(rslt);
    CMReturn(CMPI_RC_OK);
}

static CMPIStatus CCheckReferenceNames(CMPIAssociationMI* mi, const CMPIContext* ctx,
                                       const CMPIResult* rslt, const CMPIObjectPath* op,
                                       const char* resultClass, const char* role) {
    (void)mi, (void)ctx, (void)rslt, (void)op, (void)resultClass, (void)role;
    CMReturn(CMPI_RC_ERR_NOT_SUPPORTED);
}

CMAssociationMIStub(CCheck, cmpi_c_check, c_broker, CMNoHook)
