# Lists the module's defined dynamic symbols (cmake -P) and fails unless plugMain is the only
# one of the project's. Symbols of sanitizer runtimes are not the project's own.
if(NOT EXISTS "${MODULE}")
  message(FATAL_ERROR "export check: module '${MODULE}' does not exist; build the Vantorel target")
endif()
execute_process(COMMAND "${NM}" -D --defined-only "${MODULE}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE listing ERROR_VARIABLE errors)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "export check: '${NM} -D --defined-only ${MODULE}' failed (${rc}): ${errors}")
endif()

set(found_plugmain OFF)
set(unexpected "")
string(REPLACE "\n" ";" lines "${listing}")
foreach(line IN LISTS lines)
  # "address type name"; the name may carry a version suffix such as @@VERS.
  if(NOT line MATCHES "^[0-9a-fA-F]* *([A-Za-z]) ([^ @]+)")
    continue()
  endif()
  set(type "${CMAKE_MATCH_1}")
  set(name "${CMAKE_MATCH_2}")
  if(name STREQUAL "plugMain")
    if(type STREQUAL "T")
      set(found_plugmain ON)
    else()
      string(APPEND unexpected "  plugMain has type ${type}, want T (code)\n")
    endif()
  elseif(type STREQUAL "A" OR name MATCHES "^__(asan|ubsan|lsan|sanitizer)_")
    # version nodes and sanitizer runtime hooks
  else()
    string(APPEND unexpected "  ${type} ${name}\n")
  endif()
endforeach()

if(NOT found_plugmain)
  message(FATAL_ERROR "export check: ${MODULE} does not export plugMain; its dynamic symbols:\n"
                      "${listing}")
endif()
if(NOT unexpected STREQUAL "")
  message(FATAL_ERROR "export check: ${MODULE} exports more than plugMain:\n${unexpected}")
endif()
message(STATUS "export check: ${MODULE} exports plugMain only")
