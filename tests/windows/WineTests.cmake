# Windows test programs run under Wine. A Wine that cannot load a program may still exit 0
# (wine64 with a 32-bit program), so every run is judged by the program's own output.
# Without a Wine the tests stay registered and report that Wine cannot start.
if(NOT VANTOREL_WINE)
  message(WARNING "Windows tests: no Wine loader found (set VANTOREL_WINE); they will not run")
endif()

set(VANTOREL_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
option(VANTOREL_REQUIRE_WINE "Fail the Windows tests when Wine cannot start at all" OFF)
# A Wine that cannot start marks the test skipped, with the reason in its output.
set(vantorel_wine_skip "Wine cannot start here")
set(vantorel_wine_check ${CMAKE_CURRENT_LIST_DIR}/RunUnderWine.cmake)

# Creates the build's own Wine prefix once, before any program runs in it.
add_test(NAME wine_prefix
  COMMAND ${CMAKE_COMMAND} -DWINE=${VANTOREL_WINE} -DWINE_PREFIX=${VANTOREL_WINE_PREFIX}
          -DMODE=prefix -DREQUIRE=${VANTOREL_REQUIRE_WINE} -P ${vantorel_wine_check})
set_tests_properties(wine_prefix PROPERTIES FIXTURES_SETUP wine
  SKIP_REGULAR_EXPRESSION "${vantorel_wine_skip}")

# One test that runs a GoogleTest program under Wine and wants every listed test to pass.
# EXPECT_OUTPUT adds a regular expression the output must match as well; DISPLAY names the
# xvfb-run that gives the program an X display of its own.
function(vantorel_add_wine_test name target)
  cmake_parse_arguments(arg "" "WORKING_DIRECTORY;EXPECT_OUTPUT;DISPLAY" "ARGS;PROPERTIES" ${ARGN})
  if(NOT arg_WORKING_DIRECTORY)
    set(arg_WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  endif()
  string(REPLACE ";" "|" packed_args "${arg_ARGS}")
  add_test(NAME ${name}
    COMMAND ${CMAKE_COMMAND} -DWINE=${VANTOREL_WINE} -DWINE_PREFIX=${VANTOREL_WINE_PREFIX}
            -DMODE=gtest -DPROGRAM=$<TARGET_FILE:${target}> "-DPROGRAM_ARGS=${packed_args}"
            "-DEXPECT_OUTPUT=${arg_EXPECT_OUTPUT}" -DREQUIRE=${VANTOREL_REQUIRE_WINE}
            -DXVFB_RUN=${arg_DISPLAY}
            -P ${vantorel_wine_check}
    WORKING_DIRECTORY ${arg_WORKING_DIRECTORY})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600
    SKIP_REGULAR_EXPRESSION "${vantorel_wine_skip}")
  if(arg_PROPERTIES)
    set_tests_properties(${name} PROPERTIES ${arg_PROPERTIES})
  endif()
endfunction()

# The unit-test folders register their programs through GoogleTest's helpers; in a Windows
# build those register one Wine run per program instead.
function(gtest_discover_tests target)
  cmake_parse_arguments(arg "" "WORKING_DIRECTORY;TEST_PREFIX" "EXTRA_ARGS;PROPERTIES" ${ARGN})
  set(options ARGS ${arg_EXTRA_ARGS} PROPERTIES ${arg_PROPERTIES})
  if(arg_WORKING_DIRECTORY)
    list(APPEND options WORKING_DIRECTORY ${arg_WORKING_DIRECTORY})
  endif()
  vantorel_add_wine_test(${arg_TEST_PREFIX}${target} ${target} ${options})
endfunction()

function(gtest_add_tests)
  cmake_parse_arguments(arg "" "TARGET;WORKING_DIRECTORY;TEST_PREFIX" "EXTRA_ARGS" ${ARGN})
  set(options ARGS ${arg_EXTRA_ARGS})
  if(arg_WORKING_DIRECTORY)
    list(APPEND options WORKING_DIRECTORY ${arg_WORKING_DIRECTORY})
  endif()
  vantorel_add_wine_test(${arg_TEST_PREFIX}${arg_TARGET} ${arg_TARGET} ${options})
endfunction()
