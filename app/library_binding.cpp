#include "app/library_binding.h"

namespace vyrtel {

namespace {

namespace api = tavrilex::api;

// GetProcAddress's result as the entry's real type.
template <class Entry>
void bindEntry(Entry& entry, HMODULE module, const char* name) {
    entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

LibraryBinding::Outcome LibraryBinding::Bind() {
    module_ = LoadLibraryA(api::kLibraryName);
    if (!module_) return Outcome::NotFound;

    // In this order; the hook procedure itself is never looked up.
    bindEntry(dllCtrl_, module_, api::kDllCtrl);
    bindEntry(dllReg_, module_, api::kDllReg);
    bindEntry(dllLock_, module_, api::kDllLock);
    bindEntry(setToggler_, module_, api::kSetToggler);
    bindEntry(setBeeper_, module_, api::kSetBeeper);
    bindEntry(dllCtrlW_, module_, api::kDllCtrlW);
    if (!dllCtrl_ || !dllReg_ || !dllLock_ || !setToggler_ || !setBeeper_) {
        // Unloaded before anybody is told, so nothing of it runs meanwhile.
        Unbind();
        return Outcome::Corrupted;
    }

    if (!dllLock_(module_)) {
        Unbind();
        return Outcome::Refused;
    }
    bindEntry(dllMode_, module_, api::kDllMode);
    bindEntry(dllSwitch_, module_, api::kDllSwitch);
    bindEntry(dllAutoMend_, module_, api::kDllAutoMend);
    return Outcome::Bound;
}

void LibraryBinding::Unbind() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
    dllCtrl_ = nullptr;
    dllCtrlW_ = nullptr;
    dllReg_ = nullptr;
    dllLock_ = nullptr;
    setToggler_ = nullptr;
    setBeeper_ = nullptr;
    dllMode_ = nullptr;
    dllSwitch_ = nullptr;
    dllAutoMend_ = nullptr;
}

std::optional<bool> LibraryBinding::Translating(std::int32_t method) {
    if (method == tavrilex::kToggleScrollLock) return (GetKeyState(VK_SCROLL) & 1) != 0;
    if (method == tavrilex::kToggleNumLock) return (GetKeyState(VK_NUMLOCK) & 1) != 0;
    if (dllMode_ == nullptr) return std::nullopt;
    return dllMode_() != 0;
}

bool LibraryBinding::PutTable(const layouts::BuiltinTable& table, const layouts::BuiltinLetters& letters) {
    static_assert(sizeof(WCHAR) == sizeof(char16_t));
    if (dllCtrlW_) {
        return dllCtrlW_(table.data(), reinterpret_cast<const WCHAR*>(letters.data()), layouts::kBuiltinEntryCount) != 0;
    }
    return dllCtrl_(table.data(), layouts::kBuiltinEntryCount) != 0;
}

}  // namespace vyrtel
