# Cross-compiles for 32-bit Windows (i386) with Debian's mingw-w64 toolchain.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(VYRTEL_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${VYRTEL_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${VYRTEL_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${VYRTEL_MINGW_PREFIX}-windres)
set(CMAKE_OBJDUMP ${VYRTEL_MINGW_PREFIX}-objdump)
set(CMAKE_DLLTOOL ${VYRTEL_MINGW_PREFIX}-dlltool)

set(CMAKE_FIND_ROOT_PATH /usr/${VYRTEL_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# What differs between the two Windows builds, for the build files only.
# The name of the package and of the build folder.
set(VYRTEL_WINDOWS_ARCH win32)
# C names of __stdcall functions carry an underscore and @<argument bytes>.
set(VYRTEL_STDCALL_DECORATED ON)
# Flags of the DLLs that live inside other processes. The ABI promises
# 4-byte stack alignment; asking for more only adds instructions to every
# call of the hook. Unwinding on i386 needs no tables.
set(VYRTEL_HOOK_ARCH_FLAGS -mpreferred-stack-boundary=2 -fno-asynchronous-unwind-tables)
