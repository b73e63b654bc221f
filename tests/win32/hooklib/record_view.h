// Finds the shared section of a loaded Tavrilex.dll by its name in the
// image's section table: what another process sees of the shared record.
#pragma once

#include <windows.h>

#include <cstring>

namespace hooktest {

struct SectionView {
    const unsigned char* bytes = nullptr;
    DWORD size = 0;  // VirtualSize: the record and the section's padding
};

inline SectionView findSection(HMODULE module, const char* name) {
    const auto* base = reinterpret_cast<const unsigned char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        if (std::strncmp(reinterpret_cast<const char*>(section->Name), name, IMAGE_SIZEOF_SHORT_NAME) == 0) {
            return {base + section->VirtualAddress, section->Misc.VirtualSize};
        }
    }
    return {};
}

}  // namespace hooktest
