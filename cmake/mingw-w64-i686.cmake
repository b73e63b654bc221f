# Cross-compiles for 32-bit Windows (i386) with Debian's mingw-w64 toolchain.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VYRTEL_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# What differs between the two Windows builds, for the build files only.
# C names of __stdcall functions carry an underscore and @<argument bytes>.
set(VYRTEL_STDCALL_DECORATED ON)
# Flags of the DLLs that live inside other processes. The ABI promises
# 4-byte stack alignment; asking for more only adds instructions to every
# call of the hook. Unwinding on i386 needs no tables.
set(VYRTEL_HOOK_ARCH_FLAGS -mpreferred-stack-boundary=2 -fno-asynchronous-unwind-tables)
# Flags of the programs built on the class framework: without exceptions,
# nothing on i386 unwinds through their frames, so they need no tables.
set(VYRTEL_PROGRAM_ARCH_FLAGS -fno-asynchronous-unwind-tables)
