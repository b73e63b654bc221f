// Which C++ object belongs to which window handle. Window and dialog
// procedures receive only a handle; the registry answers with the object.
// While a window is being created its object is "parked": the first
// message that arrives for a handle nobody owns yet binds that handle to
// the parked object, so even the messages sent before CreateWindowEx or
// CreateDialogParamA return (WM_NCCREATE, WM_CREATE, WM_INITDIALOG...)
// reach the object. Plain C++ (no windows.h, no standard containers, whose
// growth can throw), one user-interface thread.
#pragma once

#include <cstddef>
#include <utility>

namespace framework {

template <class Handle, class Object>
class HandleRegistry {
public:
    constexpr HandleRegistry() = default;
    ~HandleRegistry() {
        if (entries_ != firstEntries_) delete[] entries_;
    }

    HandleRegistry(const HandleRegistry&) = delete;
    HandleRegistry& operator=(const HandleRegistry&) = delete;

    Object* find(Handle handle) const {
        const Entry* entry = entryOf(handle);
        return entry ? entry->object : nullptr;
    }

    // Binds `handle` to `object`, replacing a binding the handle had.
    void bind(Handle handle, Object* object) {
        if (Entry* entry = entryOf(handle)) {
            entry->object = object;
            return;
        }
        if (size_ == capacity_) grow();
        entries_[size_++] = Entry{handle, object};
    }

    void unbind(Handle handle) {
        if (Entry* entry = entryOf(handle)) *entry = entries_[--size_];
    }

    // Parks `object` (or null) for the next unknown handle; returns what was
    // parked before, for the caller to restore when its creation is over.
    Object* park(Object* object) { return std::exchange(parked_, object); }

    Object* parked() const { return parked_; }

    // The object a message to `handle` is for: its bound object, else the
    // parked one, which becomes bound to `handle` and is no longer parked.
    // Null when neither exists.
    Object* claim(Handle handle) {
        if (Object* bound = find(handle)) return bound;
        Object* object = std::exchange(parked_, nullptr);
        if (object != nullptr) bind(handle, object);
        return object;
    }

    std::size_t size() const { return size_; }

private:
    struct Entry {
        Handle handle;
        Object* object;
    };

    Entry* entryOf(Handle handle) const {
        for (std::size_t i = 0; i < size_; ++i) {
            if (entries_[i].handle == handle) return &entries_[i];
        }
        return nullptr;
    }

    void grow() {
        const std::size_t capacity = 2 * capacity_;
        Entry* entries = new Entry[capacity];
        for (std::size_t i = 0; i < size_; ++i) entries[i] = entries_[i];
        if (entries_ != firstEntries_) delete[] entries_;
        entries_ = entries;
        capacity_ = capacity;
    }

    // Room for the windows of a small program without any allocation.
    static constexpr std::size_t kFirstCapacity = 16;
    Entry firstEntries_[kFirstCapacity] = {};
    Entry* entries_ = firstEntries_;
    std::size_t size_ = 0;
    std::size_t capacity_ = kFirstCapacity;
    Object* parked_ = nullptr;
};

// Parks an object for the duration of one creation call and puts back
// whatever was parked before (creations may nest: a frame creates its
// client while its own creation is still running).
template <class Registry, class Object>
class ParkingScope {
public:
    ParkingScope(Registry& registry, Object* object) : registry_(registry), previous_(registry.park(object)) {}
    ~ParkingScope() { registry_.park(previous_); }
    ParkingScope(const ParkingScope&) = delete;
    ParkingScope& operator=(const ParkingScope&) = delete;

private:
    Registry& registry_;
    Object* previous_;
};

}  // namespace framework
