// The program's binding to Tavrilex.dll: the library loaded by file name,
// its five control exports bound by name and its single-instance lock
// taken, then the calls the control model and the frame make into it.
// DllCtrlW, which also takes the letters of a table, is bound where the
// library has it; a library without it is driven through DllCtrl.
//
// The application object owns the one binding and hands it on by
// reference. Either the library is loaded and all five entries are set, or
// nothing is: a failed Bind leaves the library unloaded. DllMode,
// DllSwitch and DllAutoMend are bound when the library has them; a library
// without them serves all the same.
#pragma once

#include <windows.h>

#include "app/control_model.h"
#include "hooklib/tavrilex_api.h"

namespace vyrtel {

class LibraryBinding final : public HookLibrary, public SwitchReader {
public:
    enum class Outcome {
        Bound,      // loaded, bound, and this copy holds the lock
        NotFound,   // the library could not be loaded
        Corrupted,  // one or more of the five exports is missing
        Refused,    // another copy holds the lock (the library has brought it forward)
    };

    LibraryBinding() = default;
    ~LibraryBinding() { Unbind(); }

    LibraryBinding(const LibraryBinding&) = delete;
    LibraryBinding& operator=(const LibraryBinding&) = delete;

    // Loads the library, looks the five exports up in the order DllCtrl,
    // DllReg, DllLock, SetToggler, SetBeeper, and takes the lock; then looks
    // DllMode up. After any outcome but Bound the library is unloaded again.
    Outcome Bind();

    bool Bound() const { return module_ != nullptr; }

    // Frees the library; nothing when it is not loaded.
    void Unbind();

    // The window a refused DllLock of a later copy brings forward (DllReg).
    void RegisterWindow(HWND window) { dllReg_(window); }

    bool PutTable(const layouts::BuiltinTable& table, const layouts::BuiltinLetters& letters) override;
    void TakeTableOut() override { dllCtrl_(nullptr, 0); }
    std::int32_t SetToggleMethod(std::int32_t method) override { return setToggler_(method); }

    // Under the lock-key methods, the lock key's toggle state as this
    // thread's key state has it; under the Ctrl+Shift methods, DllMode's
    // answer, or nothing without DllMode.
    std::optional<bool> Translating(std::int32_t method) override;

    // Sets typing translated or not as the toggle keys would (DllSwitch):
    // 1 when something changed, 0 when it already was so, -1 under a method
    // that toggles nothing; nothing without DllSwitch. Safe from any thread
    // while bound.
    std::optional<LONG> SwitchTyping(bool on) const {
        if (dllSwitch_ == nullptr) return std::nullopt;
        return dllSwitch_(on ? 1 : 0);
    }

    // Turns the automatic mend on or off in every program (DllAutoMend);
    // returns whether it is on now, or nothing without DllAutoMend.
    std::optional<bool> SetAutoMend(bool on) const {
        if (dllAutoMend_ == nullptr) return std::nullopt;
        return dllAutoMend_(on ? 1 : 0) != 0;
    }
    bool HasAutoMend() const { return dllAutoMend_ != nullptr; }

private:
    HMODULE module_ = nullptr;
    tavrilex::api::DllCtrlFn dllCtrl_ = nullptr;
    tavrilex::api::DllCtrlWFn dllCtrlW_ = nullptr;  // optional
    tavrilex::api::DllRegFn dllReg_ = nullptr;
    tavrilex::api::DllLockFn dllLock_ = nullptr;
    tavrilex::api::SetTogglerFn setToggler_ = nullptr;
    tavrilex::api::SetBeeperFn setBeeper_ = nullptr;  // bound, never called
    tavrilex::api::DllModeFn dllMode_ = nullptr;      // null in a library without it
    tavrilex::api::DllSwitchFn dllSwitch_ = nullptr;  // null in a library without it
    tavrilex::api::DllAutoMendFn dllAutoMend_ = nullptr;  // null in a library without it
};

}  // namespace vyrtel
