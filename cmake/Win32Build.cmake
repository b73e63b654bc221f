# The Win32 build: the hook library, the control program and its libraries,
# and the Windows-side programs of the Wine tests and benchmarks.
set(CMAKE_CXX_FLAGS "${CMAKE_CXX_FLAGS} -Wall -Wextra")

foreach(part hooklib controls framework res app tests/win32 bench/wine)
  if(EXISTS ${CMAKE_SOURCE_DIR}/${part}/CMakeLists.txt)
    add_subdirectory(${part})
  endif()
endforeach()
