# 64-bit Windows DLL and test programs with Debian's MinGW-w64; tests run under wine64.
set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# The 64-bit loader itself: Debian's wine wrapper prefers the 32-bit one once that is installed.
find_program(VANTOREL_WINE NAMES wine64 PATHS /usr/lib/wine)
