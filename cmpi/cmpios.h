/*
 * cmpios.h - CMPI 1.0 operating-system bindings for Linux with gcc or clang, written from the
 * Open Group CMPI standard: thread, mutex and condition handle types used by CMPIBrokerExtFT,
 * and the export decoration for the MI factory functions a CIMOM looks up with dlsym().
 */
#if !defined(CMPIOS_H) && !defined(_CMPIOS_H_)
#define CMPIOS_H
#define _CMPIOS_H_ /* the guard name the CIMOMs' own copies use */

#include <pthread.h>

#define CMPI_PLATFORM_LINUX_GENERIC_GNU 1

/* Handles passed through CMPIBrokerExtFT; the broker owns what they point at. */
#define CMPI_THREAD_RETURN void*
#define CMPI_THREAD_TYPE void*
#define CMPI_MUTEX_TYPE void*
#define CMPI_COND_TYPE void*
#define CMPI_THREAD_KEY_TYPE pthread_key_t
#define CMPI_THREAD_CDECL

#if defined(__GNUC__) || defined(__clang__)
#define CMPI_EXPORT __attribute__((visibility("default")))
#define CMPI_NO_EXPORT __attribute__((visibility("hidden")))
#else
#define CMPI_EXPORT
#define CMPI_NO_EXPORT
#endif
#define CMPI_IMPORT

/* Decoration for <mi-name>_Create_<mi-type>MI(): C linkage, visible from the shared object. */
#ifdef __cplusplus
#define CMPI_EXTERN_C extern "C" CMPI_EXPORT
#else
#define CMPI_EXTERN_C CMPI_EXPORT
#endif

#endif /* CMPIOS_H */
