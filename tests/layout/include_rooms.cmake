# Fails when an include runs against the layering: inside cimom/ a room includes only itself and
# the rooms below it (mof < query < cim < wire < delivery < dispatch < indication < http <
# daemon), and nothing of the simulated platform (the schema reader and the query nothing of the
# broker either); the provider's layers run one way, provider -> model -> sysdata -> platform,
# and include nothing of cimom/, broker/ or tools/; broker/ includes nothing of cimom/; base/
# includes only itself; nothing includes tools/; the alert provider nothing of the association
# provider.
# Run: cmake -DSOURCE_DIR=<repository> -P include_rooms.cmake
cmake_minimum_required(VERSION 3.16)
set(ranks mof query cim wire delivery dispatch indication http daemon)
set(faults "")

function(includes_of file out)
    file(STRINGS "${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
    set(${out} "${lines}" PARENT_SCOPE)
endfunction()

function(sources_under dir out)
    file(GLOB_RECURSE found "${SOURCE_DIR}/${dir}/*.h" "${SOURCE_DIR}/${dir}/*.cpp"
        "${SOURCE_DIR}/${dir}/*.c")
    set(${out} "${found}" PARENT_SCOPE)
endfunction()

foreach(room IN LISTS ranks)
    list(FIND ranks ${room} own)
    sources_under(cimom/${room} files)
    foreach(file IN LISTS files)
        includes_of("${file}" lines)
        foreach(line IN LISTS lines)
            if(line MATCHES "\"cimom/([^/\"]+)/")
                list(FIND ranks "${CMAKE_MATCH_1}" other)
                if(other EQUAL -1 OR other GREATER own)
                    list(APPEND faults "${file}: ${line}")
                endif()
            endif()
        endforeach()
    endforeach()
endforeach()

file(GLOB rooms LIST_DIRECTORIES true RELATIVE "${SOURCE_DIR}/cimom" "${SOURCE_DIR}/cimom/*")
foreach(room IN LISTS rooms)
    if(IS_DIRECTORY "${SOURCE_DIR}/cimom/${room}" AND NOT room IN_LIST ranks)
        list(APPEND faults "cimom/${room}: a folder outside the known rooms")
    endif()
endforeach()

function(forbid dirs pattern)
    foreach(dir IN LISTS dirs)
        sources_under(${dir} files)
        foreach(file IN LISTS files)
            includes_of("${file}" lines)
            foreach(line IN LISTS lines)
                if(line MATCHES "\"(${pattern})/")
                    list(APPEND faults "${file}: ${line}")
                endif()
            endforeach()
        endforeach()
    endforeach()
    set(faults "${faults}" PARENT_SCOPE)
endfunction()

forbid("provider;alert_provider;model;sysdata;platform" "cimom|broker|tools")
forbid("alert_provider" "provider")
forbid("model" "provider")
forbid("sysdata" "provider|model")
forbid("platform" "provider|model|sysdata")
forbid("broker" "cimom|tools")
forbid("cimom" "platform/sim|tools")
forbid("cimom/mof;cimom/query" "broker")
forbid("base" "provider|model|sysdata|platform|broker|cimom|tools")

if(faults)
    list(JOIN faults "\n  " text)
    message(FATAL_ERROR "includes against the layering:\n  ${text}")
endif()
