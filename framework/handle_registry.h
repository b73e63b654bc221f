// Which C++ object belongs to which window handle. Window and dialog
// procedures receive only a handle; the registry answers with the object.
// While a window is being created its object is "parked": the first
// message that arrives for a handle nobody owns yet binds that handle to
// the parked object, so even the messages sent before CreateWindowEx or
// CreateDialogParamA return (WM_NCCREATE, WM_CREATE, WM_INITDIALOG...)
// reach the object. Plain C++ (no windows.h), one user-interface thread.
#pragma once

#include <utility>
#include <vector>

namespace framework {

template <class Handle, class Object>
class HandleRegistry {
public:
    Object* find(Handle handle) const {
        for (const auto& entry : entries_) {
            if (entry.first == handle) return entry.second;
        }
        return nullptr;
    }

    // Binds `handle` to `object`, replacing a binding the handle had.
    void bind(Handle handle, Object* object) {
        for (auto& entry : entries_) {
            if (entry.first == handle) {
                entry.second = object;
                return;
            }
        }
        entries_.emplace_back(handle, object);
    }

    void unbind(Handle handle) {
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->first == handle) {
                entries_.erase(it);
                return;
            }
        }
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

    std::size_t size() const { return entries_.size(); }

private:
    std::vector<std::pair<Handle, Object*>> entries_;
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
