// Response tables: each window class maps command ids to member functions
// that take no arguments and return nothing. A class's table is searched
// before its base class's, so a derived class overrides a base entry simply
// by listing the same id. No windows.h here: the lookup is plain C++.
//
// Use, in the class (public section):
//
//     class TMyDialog : public TDialog {
//     public:
//         DECLARE_COMMAND_TABLE();
//     private:
//         void CmApply();   // handlers: void Handler()
//     };
//
// and in one source file:
//
//     BEGIN_COMMAND_TABLE(TMyDialog, TDialog)
//         COMMAND_ENTRY(IDOK, CmApply)        // void CmApply()
//         COMMAND_ENTRY(IDC_NAME, CmName)     // void CmName()
//     END_COMMAND_TABLE()
//
// The macros define `bool TMyDialog::DispatchCommand(unsigned commandId)`:
// it runs the first entry of this class's table with that id and returns
// true, or asks the base class's DispatchCommand. The root of the chain
// (TWindow) handles nothing and returns false.
#pragma once

#include <cstddef>

namespace framework {

// WM_COMMAND notification codes that make a command: a click on a button
// (BN_CLICKED, 0) or, with no control as sender, a menu item (0) or an
// accelerator (1). Every other notification of a control (focus changes,
// double clicks, ...) is not looked up in response tables.
inline constexpr unsigned kClickedNotification = 0;
inline constexpr unsigned kAcceleratorNotification = 1;

constexpr bool isCommandNotification(unsigned notifyCode, bool fromControl) {
    return notifyCode == kClickedNotification || (!fromControl && notifyCode == kAcceleratorNotification);
}

template <class Class>
struct CommandEntry {
    unsigned id;
    void (Class::*handler)();  // null only in the closing entry
};

// The first entry of `table` (closed by an entry with a null handler) that
// has `id`, or null.
template <class Class>
constexpr const CommandEntry<Class>* findCommand(const CommandEntry<Class>* table, unsigned id) {
    for (; table->handler != nullptr; ++table) {
        if (table->id == id) return table;
    }
    return nullptr;
}

// Runs the handler for `id` on `target`; false when the table has none.
template <class Class>
bool runCommand(Class& target, const CommandEntry<Class>* table, unsigned id) {
    const CommandEntry<Class>* entry = findCommand(table, id);
    if (entry == nullptr) return false;
    (target.*(entry->handler))();
    return true;
}

}  // namespace framework

// Declares the class's own table lookup (an override of DispatchCommand).
#define DECLARE_COMMAND_TABLE() bool DispatchCommand(unsigned commandId) override

// Opens the table of `Class`, whose lookup falls back to `Base`'s.
#define BEGIN_COMMAND_TABLE(Class, Base)                                  \
    bool Class::DispatchCommand(unsigned commandId) {                     \
        using CommandTableClass [[maybe_unused]] = Class;                                \
        using CommandTableBase = Base;                                    \
        static constexpr ::framework::CommandEntry<Class> commandTable[] = {

// One entry: command (control) id -> member function `void Handler()`.
#define COMMAND_ENTRY(id, Handler) {static_cast<unsigned>(id), &CommandTableClass::Handler},

// Closes the table.
#define END_COMMAND_TABLE()                                                      \
    {0u, nullptr}};                                                              \
    return ::framework::runCommand(*this, commandTable, commandId) ||           \
           CommandTableBase::DispatchCommand(commandId);                         \
    }
