#include "app/selection_mend/clipboard_snapshot.h"

#include <cstring>

namespace vyrtel {

namespace {

constexpr DWORD kOpenDeadline = 1000;

HGLOBAL copyMemory(HANDLE source) {
    const SIZE_T size = GlobalSize(source);
    const void* from = GlobalLock(source);
    if (from == nullptr) return nullptr;
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size != 0 ? size : 1);
    if (void* to = copy != nullptr ? GlobalLock(copy) : nullptr) {
        std::memcpy(to, from, size);
        GlobalUnlock(copy);
    }
    GlobalUnlock(source);
    return copy;
}

HGLOBAL copyMetafilePicture(HANDLE source) {
    const auto* picture = static_cast<const METAFILEPICT*>(GlobalLock(source));
    if (picture == nullptr) return nullptr;
    METAFILEPICT kept = *picture;
    GlobalUnlock(source);
    kept.hMF = CopyMetaFileA(kept.hMF, nullptr);
    HGLOBAL copy = kept.hMF != nullptr ? GlobalAlloc(GMEM_MOVEABLE, sizeof kept) : nullptr;
    if (auto* to = copy != nullptr ? static_cast<METAFILEPICT*>(GlobalLock(copy)) : nullptr) {
        *to = kept;
        GlobalUnlock(copy);
    } else if (kept.hMF != nullptr) {
        DeleteMetaFile(kept.hMF);
    }
    return copy;
}

HPALETTE copyPalette(HANDLE source) {
    const auto palette = static_cast<HPALETTE>(source);
    const UINT count = GetPaletteEntries(palette, 0, 0, nullptr);
    if (count == 0) return nullptr;
    const SIZE_T size = sizeof(LOGPALETTE) + count * sizeof(PALETTEENTRY);
    auto* logical = static_cast<LOGPALETTE*>(HeapAlloc(GetProcessHeap(), 0, size));
    if (logical == nullptr) return nullptr;
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(count);
    GetPaletteEntries(palette, 0, count, logical->palPalEntry);
    HPALETTE copy = CreatePalette(logical);
    HeapFree(GetProcessHeap(), 0, logical);
    return copy;
}

HANDLE copyOf(clip::Copy copy, HANDLE source) {
    switch (copy) {
        case clip::Copy::Memory:
            return copyMemory(source);
        case clip::Copy::Bitmap:
            return CopyImage(source, IMAGE_BITMAP, 0, 0, 0);
        case clip::Copy::EnhMetafile:
            return CopyEnhMetaFileA(static_cast<HENHMETAFILE>(source), nullptr);
        case clip::Copy::MetafilePicture:
            return copyMetafilePicture(source);
        case clip::Copy::Palette:
            return copyPalette(source);
        case clip::Copy::Value:
            return source;
        case clip::Copy::Skip:
            break;
    }
    return nullptr;
}

void discard(clip::Copy copy, HANDLE data) {
    switch (copy) {
        case clip::Copy::Memory:
            GlobalFree(data);
            break;
        case clip::Copy::Bitmap:
        case clip::Copy::Palette:
            DeleteObject(data);
            break;
        case clip::Copy::EnhMetafile:
            DeleteEnhMetaFile(static_cast<HENHMETAFILE>(data));
            break;
        case clip::Copy::MetafilePicture:
            if (const auto* picture = static_cast<const METAFILEPICT*>(GlobalLock(data))) {
                DeleteMetaFile(picture->hMF);
                GlobalUnlock(data);
            }
            GlobalFree(data);
            break;
        case clip::Copy::Value:
        case clip::Copy::Skip:
            break;
    }
}

}  // namespace

bool openClipboard(HWND owner, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (!OpenClipboard(owner)) {
        if (GetTickCount() - start >= milliseconds) return false;
        Sleep(10);
    }
    return true;
}

bool ClipboardSnapshot::Take(HWND owner) {
    Release();
    if (!openClipboard(owner, kOpenDeadline)) return false;
    bool complete = true;
    for (UINT format = EnumClipboardFormats(0); format != 0 && complete; format = EnumClipboardFormats(format)) {
        const clip::Copy copy = clip::copyOf(format);
        if (copy == clip::Copy::Skip) continue;
        static_assert(sizeof(UINT) == sizeof(std::uint32_t));
        bool madeUp = false;
        for (int i = 0; i < count_ && !madeUp; ++i) {
            const std::uint32_t earlier = items_[i].format;
            madeUp = clip::madeFromEarlier(format, &earlier, 1);
        }
        if (madeUp) continue;
        HANDLE source = GetClipboardData(format);
        if (source == nullptr) continue;  // nothing to be had: an empty format
        HANDLE data = copyOf(copy, source);
        complete = data != nullptr && Keep(format, copy, data);
    }
    CloseClipboard();
    if (!complete) Release();
    return complete;
}

bool ClipboardSnapshot::Keep(UINT format, clip::Copy copy, HANDLE data) {
    if (count_ == capacity_) {
        const int capacity = capacity_ != 0 ? 2 * capacity_ : 16;
        void* grown = items_ == nullptr
                          ? HeapAlloc(GetProcessHeap(), 0, capacity * sizeof(Item))
                          : HeapReAlloc(GetProcessHeap(), 0, items_, capacity * sizeof(Item));
        if (grown == nullptr) {
            discard(copy, data);
            return false;
        }
        items_ = static_cast<Item*>(grown);
        capacity_ = capacity;
    }
    items_[count_++] = Item{format, copy, data};
    return true;
}

bool ClipboardSnapshot::PutBack(HWND owner) {
    if (!openClipboard(owner, kOpenDeadline)) return false;
    bool all = EmptyClipboard() != FALSE;
    for (int i = 0; i < count_; ++i) {
        Item& item = items_[i];
        if (SetClipboardData(item.format, item.data) != nullptr) {
            item.copy = clip::Copy::Skip;  // the clipboard's own now
        } else {
            all = false;
        }
    }
    CloseClipboard();
    Release();
    return all;
}

void ClipboardSnapshot::Release() {
    for (int i = 0; i < count_; ++i) discard(items_[i].copy, items_[i].data);
    if (items_ != nullptr) HeapFree(GetProcessHeap(), 0, items_);
    items_ = nullptr;
    count_ = capacity_ = 0;
}

}  // namespace vyrtel
