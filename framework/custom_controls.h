// The framework's binding to the custom-control library, BWCC32.DLL, which
// supplies the dialog and control window classes that templates may name.
// It is loaded at run time by file name; of its entry points the framework
// looks up exactly four by name: BWCCIntlInit, BWCCRegister, BWCCIntlTerm
// and BWCCMessageBox. (The dialog functions DialogBoxParamA and
// CreateDialogParamA are bound at load time instead: the framework library
// links the `bwcc32_imports` import library.) Used through TApplication.
#pragma once

#include <windows.h>

namespace framework {

class CustomControlLibrary {
public:
    CustomControlLibrary() = default;
    ~CustomControlLibrary() { Disable(); }
    CustomControlLibrary(const CustomControlLibrary&) = delete;
    CustomControlLibrary& operator=(const CustomControlLibrary&) = delete;

    // Loads the library once, then BWCCIntlInit(language) and
    // BWCCRegister(instance). Returns whether it is loaded.
    bool Enable(unsigned language, HINSTANCE instance);
    bool Enabled() const { return module_ != nullptr; }

    // BWCCRegister(instance), when the library is loaded.
    void RegisterClasses(HINSTANCE instance) const;

    // Whether message boxes go to the library, and showing one there.
    bool HasMessageBox() const { return messageBox_ != nullptr; }
    int ShowBox(HWND owner, const char* text, const char* caption, UINT type) const;

    // BWCCIntlTerm(), then unloads the library; nothing when not loaded.
    void Disable();

private:
    using IntlInitFunction = BOOL(WINAPI*)(UINT);
    using RegisterFunction = BOOL(WINAPI*)(HINSTANCE);
    using IntlTermFunction = BOOL(WINAPI*)();
    using MessageBoxFunction = int(WINAPI*)(HWND, LPCSTR, LPCSTR, UINT);

    HMODULE module_ = nullptr;
    RegisterFunction register_ = nullptr;
    IntlTermFunction intlTerm_ = nullptr;
    MessageBoxFunction messageBox_ = nullptr;
};

}  // namespace framework
