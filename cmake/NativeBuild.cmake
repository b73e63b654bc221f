# The host build: logic tests, benchmarks, and the two Windows sub-builds
# (win32/ for i386, win64/ for x86-64) with the tests that check their files
# and run their binaries under Wine.
include(CTest)
include(ExternalProject)

set(CMAKE_CXX_FLAGS "${CMAKE_CXX_FLAGS} -Wall -Wextra")

option(VYRTEL_WIN32 "Cross-build the Windows binaries and run them under Wine" ON)

# Each Windows build: its folder name, toolchain file and Wine loader.
set(VYRTEL_WINDOWS_ARCHES win32 win64)
set(VYRTEL_TOOLCHAIN_win32 mingw-w64-i686.cmake)
set(VYRTEL_TOOLCHAIN_win64 mingw-w64-x86_64.cmake)
set(VYRTEL_WINE_LOADER_win32 /usr/lib/wine/wine)
set(VYRTEL_WINE_LOADER_win64 /usr/lib/wine/wine64)
foreach(arch ${VYRTEL_WINDOWS_ARCHES})
  set(VYRTEL_${arch}_DIR ${CMAKE_BINARY_DIR}/${arch})
endforeach()
set(VYRTEL_WIN32_DIR ${VYRTEL_win32_DIR})

# Which of the builds this host can execute under Wine: x86-64 wherever Wine
# runs; i386 only where the kernel runs i386 code, which one small program
# tells, and the 32-bit Wine is installed. Asked again at each configure, so
# a build folder carried to another host follows it.
execute_process(COMMAND ${CMAKE_COMMAND} -E env BUILD_DIR=${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR}/scripts/wine32-runs.sh
  RESULT_VARIABLE runs_i386 OUTPUT_VARIABLE why_not_i386 OUTPUT_STRIP_TRAILING_WHITESPACE)
if(runs_i386 EQUAL 0)
  set(VYRTEL_RUNNABLE_ARCHES win32 win64)
else()
  set(VYRTEL_RUNNABLE_ARCHES win64)
  message(STATUS "i386: ${why_not_i386}; its files are checked, its Wine tests run against the x86-64 build")
endif()

add_subdirectory(automend)
add_subdirectory(tests/native)
add_test(NAME host.i386_probe_agrees_with_the_32_bit_wine_loader
  COMMAND ${CMAKE_SOURCE_DIR}/tests/host/probe_test.sh ${CMAKE_SOURCE_DIR}/scripts/host-runs-i386.sh
          ${VYRTEL_WINE_LOADER_win32})
set_tests_properties(host.i386_probe_agrees_with_the_32_bit_wine_loader PROPERTIES SKIP_RETURN_CODE 77)
add_test(NAME host.setup_decisions
  COMMAND ${CMAKE_SOURCE_DIR}/tests/host/setup_test.sh ${CMAKE_SOURCE_DIR}/scripts/setup.sh)
set_tests_properties(host.setup_decisions PROPERTIES TIMEOUT 300)
add_subdirectory(bench)
add_subdirectory(tools)

if(VYRTEL_WIN32)
  foreach(arch ${VYRTEL_WINDOWS_ARCHES})
    ExternalProject_Add(${arch}
      SOURCE_DIR ${CMAKE_SOURCE_DIR}
      BINARY_DIR ${VYRTEL_${arch}_DIR}
      CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_SOURCE_DIR}/cmake/${VYRTEL_TOOLCHAIN_${arch}}
        -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
        -DVYRTEL_AUTOMEND_MODEL_SOURCE=${VYRTEL_AUTOMEND_MODEL}
      DEPENDS automend_model
      BUILD_ALWAYS ON
      INSTALL_COMMAND ""
      USES_TERMINAL_BUILD ON)
  endforeach()
  add_subdirectory(packaging)
  add_subdirectory(tests/wine)
endif()
