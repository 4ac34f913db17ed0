# Runs one Windows program under Wine (cmake -P) and judges it by its output.
#   MODE=prefix: create the Wine prefix WINE_PREFIX.
#   MODE=gtest:  run PROGRAM with PROGRAM_ARGS ('|'-separated); pass only when the program
#                lists at least one test, reports "[  PASSED  ]" for exactly that many, names
#                no failure, exits 0, and matches EXPECT_OUTPUT when one is given.
cmake_minimum_required(VERSION 3.25)
#                XVFB_RUN: run it under this xvfb-run.
#   REQUIRE=ON: a Wine that cannot start at all fails the test; otherwise the test reports
#               "Wine cannot start here" and is counted as skipped (a kernel without 32-bit
#               support cannot start the 32-bit loader).
set(ENV{WINEPREFIX} "${WINE_PREFIX}")
set(ENV{WINELOADER} "${WINE}")
set(ENV{WINEDEBUG} "-all")
# No Mono or Gecko installer dialogs in a fresh prefix.
set(ENV{WINEDLLOVERRIDES} "mscoree,mshtml=")

execute_process(COMMAND ${WINE} --version RESULT_VARIABLE probe_rc OUTPUT_VARIABLE probe_out
                ERROR_VARIABLE probe_err)
if(NOT probe_rc EQUAL 0)
  set(why "'${WINE} --version' gave ${probe_rc}: ${probe_err}")
  if(REQUIRE)
    message(FATAL_ERROR "${PROGRAM}: Wine does not start: ${why}")
  endif()
  if(NOT PROGRAM)
    set(PROGRAM "its prefix")
  endif()
  message(FATAL_ERROR "Wine cannot start here, so ${PROGRAM} was not run: ${why}")
endif()

if(MODE STREQUAL "prefix")
  execute_process(COMMAND ${WINE} wineboot --init RESULT_VARIABLE rc
                  OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR NOT EXISTS "${WINE_PREFIX}/system.reg")
    message(FATAL_ERROR "wine prefix: '${WINE} wineboot --init' failed (${rc}):\n${out}${err}")
  endif()
  return()
endif()

string(REPLACE "|" ";" program_args "${PROGRAM_ARGS}")

# A program that opens windows gets a virtual X display and a prefix of its own, and its Wine
# session ends before the display does: a session started without a display, or on one that
# is gone, cannot open windows.
set(launcher "")
if(XVFB_RUN)
  set(ENV{WINEPREFIX} "${WINE_PREFIX}-display")
  get_filename_component(wine_dir "${WINE}" DIRECTORY)
  set(server "${wine_dir}/wineserver")
  if(NOT EXISTS "${server}")
    set(server wineserver)
  endif()
  set(launcher ${XVFB_RUN} -a -s "-screen 0 640x480x24"
      sh -c "\"$0\" \"$@\"\ns=$?\n\"${server}\" -w\nexit $s")  # no ';': CMake splits on it
endif()

execute_process(COMMAND ${launcher} ${WINE} ${PROGRAM} --gtest_list_tests ${program_args}
                RESULT_VARIABLE list_rc OUTPUT_VARIABLE listing ERROR_VARIABLE list_err)
# Test names are the indented lines under their suite's line; disabled ones never run.
set(expected 0)
string(REPLACE "\n" ";" listing_lines "${listing}")
foreach(line IN LISTS listing_lines)
  if(line MATCHES "^[^ ]")
    set(suite_disabled OFF)
    if(line MATCHES "^([^/ ]*/)?DISABLED_")
      set(suite_disabled ON)
    endif()
  elseif(line MATCHES "^  ([^ ]+)" AND NOT suite_disabled AND NOT CMAKE_MATCH_1 MATCHES "^DISABLED_")
    math(EXPR expected "${expected} + 1")
  endif()
endforeach()
if(expected EQUAL 0)
  message(FATAL_ERROR "${PROGRAM}: listed no tests under ${WINE} (exit ${list_rc}); "
                      "the program did not run:\n${listing}${list_err}")
endif()

execute_process(COMMAND ${launcher} ${WINE} ${PROGRAM} ${program_args}
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}${err}")
set(failures "")
if(NOT rc EQUAL 0)
  string(APPEND failures "exit status ${rc}, want 0; ")
endif()
set(skipped 0)
if(out MATCHES "\\[  SKIPPED \\] ([0-9]+) tests?,")
  set(skipped ${CMAKE_MATCH_1})
endif()
if(out MATCHES "\\[  PASSED  \\] ([0-9]+) tests?\\.")
  math(EXPR accounted "${CMAKE_MATCH_1} + ${skipped}")
  if(NOT accounted EQUAL expected)
    string(APPEND failures
           "${CMAKE_MATCH_1} passed and ${skipped} skipped, want ${expected} as listed; ")
  endif()
else()
  string(APPEND failures "no '[  PASSED  ]' line; ")
endif()
if(out MATCHES "\\[  FAILED  \\]")
  string(APPEND failures "a test failed; ")
endif()
if(EXPECT_OUTPUT AND NOT out MATCHES "${EXPECT_OUTPUT}")
  string(APPEND failures "output does not match '${EXPECT_OUTPUT}'; ")
endif()
if(failures)
  message(FATAL_ERROR "${PROGRAM} under ${WINE}: ${failures}")
endif()
