/* Entry points of cmpi_c_check.c, a C99 translation unit built into the layout test. */
#ifndef TESTS_CMPI_CMPI_C_CHECK_H
#define TESTS_CMPI_CMPI_C_CHECK_H

#include "cmpift.h"

#ifdef __cplusplus
extern "C" {
#endif

const CMPIBroker* cmpi_c_check_broker(void);
CMPIAssociationMI* cmpi_c_check_Create_AssociationMI(const CMPIBroker* brkr, const CMPIContext* ctx,
                                                     CMPIStatus* rc);

#ifdef __cplusplus
}
#endif

#endif
