# 32-bit Linux with the host's multilib compilers (-m32).
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER gcc)
set(CMAKE_CXX_COMPILER g++)
set(CMAKE_C_FLAGS_INIT -m32)
set(CMAKE_CXX_FLAGS_INIT -m32)
set(CMAKE_EXE_LINKER_FLAGS_INIT -m32)
set(CMAKE_SHARED_LINKER_FLAGS_INIT -m32)
set(CMAKE_MODULE_LINKER_FLAGS_INIT -m32)
# Libraries come from the i386 multiarch directory, never the 64-bit one.
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
set(CMAKE_SYSTEM_IGNORE_PATH /usr/lib/x86_64-linux-gnu /lib/x86_64-linux-gnu)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
# The amd64 GoogleTest package cannot link here: build it from the shipped sources.
set(VANTOREL_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")

# A kernel without 32-bit support cannot start the test programs: run them under qemu-i386.
execute_process(COMMAND /lib/ld-linux.so.2 --version RESULT_VARIABLE i386_native
                OUTPUT_QUIET ERROR_QUIET)
if(NOT i386_native EQUAL 0)
  find_program(VANTOREL_QEMU_I386 NAMES qemu-i386 qemu-i386-static)
  if(VANTOREL_QEMU_I386)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VANTOREL_QEMU_I386})
  endif()
endif()
