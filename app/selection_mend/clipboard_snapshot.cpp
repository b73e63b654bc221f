#include "app/selection_mend/clipboard_snapshot.h"

#include <cstring>

namespace vyrtel {

namespace {

constexpr DWORD kOpenDeadline = 1000;

// What a copy costs the size budget: its memory block's size. The GDI
// objects go uncounted; the system's own bitmap and metafile formats come as
// memory blocks too (a DIB, a metafile's bits), and only one of each family
// is kept.
SIZE_T sizeOf(clip::Copy copy, HANDLE data) { return copy == clip::Copy::Memory ? GlobalSize(data) : 0; }

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
        case clip::Copy::Skip:
            break;
    }
}

// The state Take shares with its copying thread: whichever of the two
// lets go of it last frees it.
struct TakeJob {
    HANDLE opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    volatile LONG references = 2;
    volatile LONG abandoned = 0;
    HWND owner;
    DWORD milliseconds;
    SIZE_T bytes;
    SnapshotTaken taken = SnapshotTaken::Busy;
    ClipboardSnapshot copies;

    void LetGo() {
        if (InterlockedDecrement(&references) != 0) return;
        if (opened != nullptr) CloseHandle(opened);
        delete this;
    }
};

DWORD WINAPI copyClipboard(LPVOID argument) {
    auto* job = static_cast<TakeJob*>(argument);
    job->taken = job->copies.Copy(job->owner, job->milliseconds, job->bytes, &job->abandoned, job->opened);
    if (job->abandoned) job->copies.Release();
    job->LetGo();
    return 0;
}

HGLOBAL dword(DWORD value) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, sizeof value);
    if (void* to = memory != nullptr ? GlobalLock(memory) : nullptr) {
        std::memcpy(to, &value, sizeof value);
        GlobalUnlock(memory);
    }
    return memory;
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

void markForMonitors() {
    for (const char* name : {clip::kExcludeFromMonitors, clip::kNoHistory, clip::kNoCloudUpload}) {
        HGLOBAL value = dword(0);
        if (value != nullptr && SetClipboardData(RegisterClipboardFormatA(name), value) == nullptr) GlobalFree(value);
    }
}

SnapshotTaken ClipboardSnapshot::Take(HWND owner, DWORD milliseconds, SIZE_T bytes) {
    Release();
    auto* job = new TakeJob;
    job->owner = owner;
    job->milliseconds = milliseconds;
    job->bytes = bytes;
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, copyClipboard, job, 0, &id);
    if (thread == nullptr) {
        delete job;
        return SnapshotTaken::Busy;
    }
    // The opening waits for a program holding the clipboard; the copying
    // has its budget once the clipboard is open.
    HANDLE opening[] = {job->opened, thread};
    WaitForMultipleObjects(2, opening, FALSE, 2 * kOpenDeadline);
    const bool ended = WaitForSingleObject(thread, milliseconds) == WAIT_OBJECT_0;
    CloseHandle(thread);
    SnapshotTaken taken = SnapshotTaken::OverBudget;
    if (ended) {
        taken = job->taken;
        if (taken == SnapshotTaken::Taken) Swap(job->copies);
    } else {
        InterlockedExchange(&job->abandoned, 1);
    }
    job->LetGo();
    return taken;
}

SnapshotTaken ClipboardSnapshot::Copy(HWND owner, DWORD milliseconds, SIZE_T bytes, volatile LONG* abandoned,
                                      HANDLE opened) {
    Release();
    const bool open = openClipboard(owner, kOpenDeadline);
    if (opened != nullptr) SetEvent(opened);
    if (!open) return SnapshotTaken::Busy;
    const DWORD deadline = GetTickCount() + milliseconds;  // the budget counts from the opening
    SIZE_T total = 0;
    bool within = true;
    for (UINT format = EnumClipboardFormats(0); format != 0 && within; format = EnumClipboardFormats(format)) {
        char name[64] = {};
        if (format >= 0xC000) GetClipboardFormatNameA(format, name, sizeof name);
        const clip::Copy copy = clip::copyOf(format, name);
        if (copy == clip::Copy::Skip) continue;
        static_assert(sizeof(UINT) == sizeof(std::uint32_t));
        bool madeUp = false;
        for (int i = 0; i < count_ && !madeUp; ++i) {
            const std::uint32_t earlier = items_[i].format;
            madeUp = clip::madeFromEarlier(format, &earlier, 1);
        }
        if (madeUp) continue;
        HANDLE source = GetClipboardData(format);
        within = !*abandoned && static_cast<LONG>(GetTickCount() - deadline) < 0;
        if (source == nullptr || !within) continue;  // nothing to be had: an empty format
        total += sizeOf(copy, source);
        within = total <= bytes;
        HANDLE data = within ? copyOf(copy, source) : nullptr;
        if (data != nullptr) Keep(format, copy, data);  // one that fails to copy is left out
    }
    CloseClipboard();
    if (!within) Release();
    return within ? SnapshotTaken::Taken : SnapshotTaken::OverBudget;
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

bool ClipboardSnapshot::PutBack(HWND owner, DWORD milliseconds) {
    if (!openClipboard(owner, milliseconds)) return false;
    if (!EmptyClipboard()) {
        CloseClipboard();
        return false;
    }
    for (int i = 0; i < count_; ++i) {
        Item& item = items_[i];
        if (SetClipboardData(item.format, item.data) != nullptr) item.copy = clip::Copy::Skip;  // the clipboard's own now
    }
    markForMonitors();
    CloseClipboard();
    Release();
    return true;
}

void ClipboardSnapshot::Release() {
    for (int i = 0; i < count_; ++i) discard(items_[i].copy, items_[i].data);
    if (items_ != nullptr) HeapFree(GetProcessHeap(), 0, items_);
    items_ = nullptr;
    count_ = capacity_ = 0;
}

void ClipboardSnapshot::Swap(ClipboardSnapshot& other) {
    Item* items = items_;
    const int count = count_, capacity = capacity_;
    items_ = other.items_;
    count_ = other.count_;
    capacity_ = other.capacity_;
    other.items_ = items;
    other.count_ = count;
    other.capacity_ = capacity;
}

}  // namespace vyrtel
