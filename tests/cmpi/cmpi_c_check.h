/* Entry points of cmpi_c_check.c, a C99 translation unit built into the layout test. */
#ifndef TESTS_CMPI_CMPI_C_CHECK_H
#define TESTS_CMPI_CMPI_C_CHECK_H

#include <stddef.h>

#include "cmpift.h"

#ifdef __cplusplus
extern "C" {
#endif

struct cmpi_c_layout {
    size_t data_size;
    size_t data_value_offset;
    size_t status_size;
    size_t broker_size;
    size_t enc_class_path_is_a_offset;
    size_t assoc_reference_names_offset;
};

struct cmpi_c_layout cmpi_c_check_layout(void);
const CMPIBroker* cmpi_c_check_broker(void);
CMPIAssociationMI* cmpi_c_check_Create_AssociationMI(const CMPIBroker* brkr, const CMPIContext* ctx,
                                                     CMPIStatus* rc);

#ifdef __cplusplus
}
#endif

#endif
