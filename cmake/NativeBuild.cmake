# The host build: logic tests, benchmarks, and the Win32 sub-build with the
# tests that run its binaries under Wine.
include(CTest)
include(ExternalProject)

set(CMAKE_CXX_FLAGS "${CMAKE_CXX_FLAGS} -Wall -Wextra")

option(VYRTEL_WIN32 "Cross-build the Win32 binaries and run them under Wine" ON)
set(VYRTEL_WIN32_DIR ${CMAKE_BINARY_DIR}/win32)

add_subdirectory(tests/native)
add_subdirectory(bench)
add_subdirectory(tools)

if(VYRTEL_WIN32)
  ExternalProject_Add(win32
    SOURCE_DIR ${CMAKE_SOURCE_DIR}
    BINARY_DIR ${VYRTEL_WIN32_DIR}
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/mingw-w64-i686.cmake
      -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    USES_TERMINAL_BUILD ON)
  add_subdirectory(packaging)
  add_subdirectory(tests/wine)
endif()
