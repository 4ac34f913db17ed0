# 32-bit Windows DLL and test programs with Debian's MinGW-w64; tests run under 32-bit Wine.
set(MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR X86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
# The 32-bit loader itself: wine64 runs a 32-bit program as a silent no-op, and Debian's wine
# wrapper falls back to wine64 when the 32-bit loader is missing.
find_program(VANTOREL_WINE NAMES wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
