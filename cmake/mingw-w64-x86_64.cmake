# Cross-compiles for 64-bit Windows (x86-64) with Debian's mingw-w64 toolchain.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VYRTEL_MINGW_PREFIX x86_64-w64-mingw32)
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
set(VYRTEL_WINDOWS_ARCH win64)
# One calling convention, no decoration.
set(VYRTEL_STDCALL_DECORATED OFF)
# Flags of the DLLs that live inside other processes. The x86-64 ABI fixes
# 16-byte stack alignment, and its unwinder needs each function's unwind
# table (.pdata) to walk through a frame, so those tables stay.
set(VYRTEL_HOOK_ARCH_FLAGS)
