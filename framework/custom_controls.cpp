#include "framework/custom_controls.h"

namespace framework {

namespace {
const char kLibraryFile[] = "BWCC32.DLL";

// GetProcAddress's result as the entry point's real type.
template <class Function>
Function entryPoint(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
}  // namespace

bool CustomControlLibrary::Enable(unsigned language, HINSTANCE instance) {
    if (module_) return true;
    module_ = LoadLibraryA(kLibraryFile);
    if (!module_) return false;
    auto intlInit = entryPoint<IntlInitFunction>(module_, "BWCCIntlInit");
    register_ = entryPoint<RegisterFunction>(module_, "BWCCRegister");
    intlTerm_ = entryPoint<IntlTermFunction>(module_, "BWCCIntlTerm");
    messageBox_ = entryPoint<MessageBoxFunction>(module_, "BWCCMessageBox");
    if (intlInit) intlInit(language);
    RegisterClasses(instance);
    return true;
}

void CustomControlLibrary::RegisterClasses(HINSTANCE instance) const {
    if (register_) register_(instance);
}

int CustomControlLibrary::ShowBox(HWND owner, const char* text, const char* caption, UINT type) const {
    return messageBox_(owner, text, caption, type);
}

void CustomControlLibrary::Disable() {
    if (!module_) return;
    if (intlTerm_) intlTerm_();
    FreeLibrary(module_);
    module_ = nullptr;
    register_ = nullptr;
    intlTerm_ = nullptr;
    messageBox_ = nullptr;
}

}  // namespace framework
