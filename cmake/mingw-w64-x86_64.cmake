# Cross-compiles for 64-bit Windows (x86-64) with Debian's mingw-w64 toolchain.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VYRTEL_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

# What differs between the two Windows builds, for the build files only.
# One calling convention, no decoration.
set(VYRTEL_STDCALL_DECORATED OFF)
# Flags of the DLLs that live inside other processes. The x86-64 ABI fixes
# 16-byte stack alignment, and its unwinder needs each function's unwind
# table (.pdata) to walk through a frame, so those tables stay.
set(VYRTEL_HOOK_ARCH_FLAGS)
# Flags of the programs built on the class framework: none of their own;
# the unwind tables stay, as the x86-64 ABI expects of every function.
set(VYRTEL_PROGRAM_ARCH_FLAGS)
