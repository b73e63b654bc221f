// The program's binding to Tavrilex.dll: its module handle and the five
// control exports, bound by name when the program starts.
//
// Invariant from the end of TVyrtelApp's construction until its
// destruction: either the module handle and all five entries are set, or
// all six are null. Only TVyrtelApp writes them; the frame and the control
// dialog read them and skip a call whose entry is null.
#pragma once

#include "hooklib/tavrilex_api.h"

namespace vyrtel {

struct LibraryBinding {
    HMODULE module = nullptr;
    tavrilex::api::DllCtrlFn dllCtrl = nullptr;
    tavrilex::api::DllRegFn dllReg = nullptr;
    tavrilex::api::DllLockFn dllLock = nullptr;
    tavrilex::api::SetTogglerFn setToggler = nullptr;
    tavrilex::api::SetBeeperFn setBeeper = nullptr;  // bound, never called

    // The library is loaded and `entry` (one of the above) is there to call.
    template <class Entry>
    bool Bound(Entry entry) const {
        return module != nullptr && entry != nullptr;
    }
};

// The binding of this process.
extern LibraryBinding tavrilexLibrary;

}  // namespace vyrtel
