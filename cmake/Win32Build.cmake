# The Windows build (i386 or x86-64, chosen by the toolchain file): the hook
# library, the control program and its libraries, and the Windows-side
# programs of the Wine tests and benchmarks.
set(CMAKE_CXX_FLAGS "${CMAKE_CXX_FLAGS} -Wall -Wextra")

# vyrtel_bare_dll(<target> <entry> <argument bytes of the entry>)
# A DLL that lives inside other processes and carries nothing but its own
# code: no C runtime, no start files, no stack probes.
# Loops must stay loops, never calls to a memcpy/memset it does not have.
# vyrtel_bare_code(<target>) compiles a library that links into such a DLL.
function(vyrtel_bare_code target)
  target_compile_options(${target} PRIVATE
    -O2 -fno-exceptions -fno-rtti -fno-ident
    -falign-jumps=1 -falign-labels=1 -falign-loops=1
    -fno-stack-protector -fno-stack-check -mno-stack-arg-probe
    ${VYRTEL_HOOK_ARCH_FLAGS}
    -fno-tree-loop-distribute-patterns -ffreestanding)
endfunction()

function(vyrtel_bare_dll target entry argument_bytes)
  if(VYRTEL_STDCALL_DECORATED)
    set(entry _${entry}@${argument_bytes})
  endif()
  vyrtel_bare_code(${target})
  target_link_options(${target} PRIVATE
    -nostdlib -nostartfiles -s
    -Wl,--entry,${entry}
    -Wl,--subsystem,windows
    -Wl,--enable-stdcall-fixup
    -Wl,--no-insert-timestamp)
endfunction()

foreach(part automend hooklib controls framework res app packaging/custom_action tests/win32 bench/wine)
  add_subdirectory(${part})
endforeach()

# binaries.txt: every program and library this build makes, as
# <file name>=<path>, so that tests and scripts take exact paths rather
# than searching the tree.
function(vyrtel_collect_binaries dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  set(lines "")
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "EXECUTABLE" OR type STREQUAL "SHARED_LIBRARY")
      string(APPEND lines "$<TARGET_FILE_NAME:${target}>=$<TARGET_FILE:${target}>\n")
    endif()
  endforeach()
  foreach(subdir ${subdirs})
    vyrtel_collect_binaries(${subdir} sublines)
    string(APPEND lines "${sublines}")
  endforeach()
  set(${out} "${lines}" PARENT_SCOPE)
endfunction()
vyrtel_collect_binaries(${CMAKE_SOURCE_DIR} binary_lines)
file(GENERATE OUTPUT ${CMAKE_BINARY_DIR}/binaries.txt CONTENT "${binary_lines}")
