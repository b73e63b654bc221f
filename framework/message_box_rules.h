// The type flags of the application's message boxes. Plain C++.
#pragma once

namespace framework {

inline constexpr unsigned kMessageBoxSystemModal = 0x1000;  // MB_SYSTEMMODAL
inline constexpr unsigned kMessageBoxTaskModal = 0x2000;    // MB_TASKMODAL

// A box without an owner would leave the program's other windows usable;
// unless it is system-modal it is made task-modal, which disables every
// top-level window of the thread while it is up. A box with an owner is
// modal to the owner already and keeps its type.
constexpr unsigned messageBoxType(bool hasOwner, unsigned type) {
    if (!hasOwner && !(type & kMessageBoxSystemModal)) type |= kMessageBoxTaskModal;
    return type;
}

}  // namespace framework
