# Configures this project against one CIMOM's CMPI header set, as -DCMPI_INCLUDE_DIR documents,
# builds the provider libraries alone with the project's -Werror flags, and checks their exports. The
# platform library it links is built from unity files: it does not see the headers under test.
# Usage: cmake -DSOURCE_DIR=<src> -DHEADERS=<dir> -DBINARY_DIR=<dir> -DGENERATOR=<g>
#              -DBUILD_TYPE=<t> -DCXX_COMPILER=<c++> -DC_COMPILER=<cc> -DNM=<nm> -P <this file>
if(NOT EXISTS "${HEADERS}/cmpidt.h")
    message("SKIPPED: no CMPI header set in ${HEADERS}")
    return()
endif()

execute_process(
    COMMAND "${CMAKE_COMMAND}" -S "${SOURCE_DIR}" -B "${BINARY_DIR}" -G "${GENERATOR}"
            "-DCMAKE_BUILD_TYPE=${BUILD_TYPE}" "-DCMAKE_CXX_COMPILER=${CXX_COMPILER}"
            "-DCMAKE_C_COMPILER=${C_COMPILER}" "-DCMPI_INCLUDE_DIR=${HEADERS}"
            -DBUILD_TESTING=OFF -DCIMP_BUILD_BENCHMARKS=OFF -DCMAKE_UNITY_BUILD=ON
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "configuring against ${HEADERS} failed")
endif()

execute_process(
    COMMAND "${CMAKE_COMMAND}" --build "${BINARY_DIR}" --target Vesk_AssociatedTOvPassthruProvider
            Vesk_AlertIndicationProvider
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "building the providers against ${HEADERS} failed")
endif()

set(LIBRARY "${BINARY_DIR}/libVesk_AssociatedTOvPassthruProvider.so")
include("${SOURCE_DIR}/tests/provider/check_exports.cmake")
set(LIBRARY "${BINARY_DIR}/libVesk_AlertIndicationProvider.so")
set(FACTORIES Vesk_AlertIndicationProvider_Create_IndicationMI)
include("${SOURCE_DIR}/tests/provider/check_exports.cmake")
