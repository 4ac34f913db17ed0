# Shared part of the MinGW-w64 cross toolchains; the including file sets MINGW_TRIPLE first.
set(CMAKE_SYSTEM_NAME Windows)

# The posix thread model: GoogleTest needs std::mutex, which the win32 model of GCC 12 lacks.
# Its winpthread runtime is linked statically like the rest (see the flags below).
find_program(MINGW_CC NAMES ${MINGW_TRIPLE}-gcc-posix REQUIRED)
find_program(MINGW_CXX NAMES ${MINGW_TRIPLE}-g++-posix REQUIRED)
find_program(MINGW_RC NAMES ${MINGW_TRIPLE}-windres REQUIRED)
set(CMAKE_C_COMPILER ${MINGW_CC})
set(CMAKE_CXX_COMPILER ${MINGW_CXX})
set(CMAKE_RC_COMPILER ${MINGW_RC})

set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program and the plugin carry their runtime: no libgcc/libstdc++/winpthread DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# There is no Windows GoogleTest package: build it from the sources Debian ships.
set(VANTOREL_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")

# The objdump that reads this target's export and import tables.
find_program(VANTOREL_OBJDUMP NAMES ${MINGW_TRIPLE}-objdump REQUIRED)
