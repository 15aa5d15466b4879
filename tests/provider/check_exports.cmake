# Checks the dynamic symbols the provider library defines: the CIMOM resolves the factories by
# their unmangled names, and the platform services must come from the platform's own library,
# never from a copy inside the provider.
# Usage: cmake -DLIBRARY=<path> -DNM=<nm> -P check_exports.cmake
execute_process(COMMAND "${NM}" -D --defined-only -C "${LIBRARY}"
                OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${NM} failed on ${LIBRARY}")
endif()

foreach(required
        " T Vesk_AssociatedTOvPassthruProvider_Create_InstanceMI\n"
        " T Vesk_AssociatedTOvPassthruProvider_Create_AssociationMI\n"
        " [BD] g_cimpTd\n")
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
