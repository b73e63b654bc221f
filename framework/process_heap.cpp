// The C++ allocation operators of every program built on the framework, on
// the process heap. The standard library's own versions report a failure by
// throwing, which would bring the whole exception runtime into programs
// that never use exceptions. A program that runs out of memory says so in a
// stop box and ends with exit code 1: no caller of `new` can go on without
// the object.
#include <windows.h>

#include <cstddef>
#include <new>

namespace {

void* allocate(std::size_t size) {
    if (void* block = HeapAlloc(GetProcessHeap(), 0, size ? size : 1)) return block;
    MessageBoxA(nullptr, "Out of memory.", nullptr, MB_OK | MB_ICONHAND | MB_TASKMODAL);
    ExitProcess(1);
}

void release(void* block) {
    if (block) HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* block) noexcept { release(block); }
void operator delete[](void* block) noexcept { release(block); }
void operator delete(void* block, std::size_t) noexcept { release(block); }
void operator delete[](void* block, std::size_t) noexcept { release(block); }
