# Checks the dynamic symbols a provider library defines: the CIMOM resolves the factories by
# their unmangled names, and the platform services must come from the platform's own library,
# never from a copy inside the provider.
# Usage: cmake -DLIBRARY=<path> -DNM=<nm> [-DFACTORIES=<name;name>] -P check_exports.cmake
# FACTORIES defaults to the association provider's two factory functions.
execute_process(COMMAND "${NM}" -D --defined-only -C "${LIBRARY}"
                OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()

if(NOT FACTORIES)
    set(FACTORIES Vesk_AssociatedTOvPassthruProvider_Create_InstanceMI
                  Vesk_AssociatedTOvPassthruProvider_Create_AssociationMI)
endif()
set(required_symbols " [BD] g_cimpTd\n")
foreach(factory IN LISTS FACTORIES)
    list(APPEND required_symbols " T ${factory}\n")
endforeach()
foreach(required IN LISTS required_symbols)
    if(NOT symbols MATCHES "${required}")
        message(FATAL_ERROR "${LIBRARY} does not export '${required}'")
    endif()
endforeach()

foreach(forbidden trace_adal_ "UtilReg::" "ErrlEntry::" draxQueryDraManagedInfo
        rmgrIsRedPolicyEnabled)
    string(FIND "${symbols}" "${forbidden}" position)
    if(NOT position EQUAL -1)
        message(FATAL_ERROR "${LIBRARY} defines a platform service symbol: ${forbidden}")
    endif()
endforeach()
