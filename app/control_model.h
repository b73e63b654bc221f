// The control program's three choices and their rules, without any window:
// the coding, the layout and the toggle method, and the calls into
// Tavrilex.dll that each choice makes. The control dialog shows what the
// model holds and hands each click to it; the application object ends it.
//
// - Every start begins with no hook (whatever an earlier copy left
//   installed), the typewriter layout and the Ctrl+Shift (Left/Right) method.
// - A coding hands the library that coding's table in the current layout,
//   with the letters its bytes stand for;
//   it becomes the current coding only when the library reports the hook
//   installed, else the coding in force stays. "Disable" takes the hook out.
// - A layout becomes current at once and the coding in force is applied
//   again, so that the library gets the new layout's table (without a
//   coding, the hook is taken out once more).
// - A toggle method is stored in the library, and its answer is current.
// - At the end no hook outlives the program, whether or not a coding was
//   ever chosen.
#pragma once

#include <cstdint>

#include "layouts/builtin_tables.h"

namespace vyrtel {

// Tavrilex.dll as the model uses it. The program's implementation is the
// library binding (library_binding.h); tests record the calls instead.
class HookLibrary {
public:
    // Hands the library a built-in table with all its entries and the
    // letters they stand for (DllCtrlW, or DllCtrl where the library has
    // no letters to take): the library copies both and installs the hook if
    // it can. True when a hook is installed afterwards.
    virtual bool PutTable(const layouts::BuiltinTable& table, const layouts::BuiltinLetters& letters) = 0;

    // Takes the hook out (DllCtrl without a table); the library keeps the
    // table it has.
    virtual void TakeTableOut() = 0;

    // Stores the toggle method (SetToggler); returns the method in force.
    virtual std::int32_t SetToggleMethod(std::int32_t method) = 0;

protected:
    ~HookLibrary() = default;
};

enum class Coding : std::int32_t { Disabled = 0, Koi8 = 1, Cp1251 = 2 };
enum class Layout : std::int32_t { Typewriter = 0, Phonetic = 1 };

// What the dialog shows. Before the start: all three at 0.
struct Choices {
    Coding coding = Coding::Disabled;
    Layout layout = Layout::Typewriter;
    std::int32_t toggleMethod = 0;  // as the library last answered (kToggle...)

    friend bool operator==(const Choices&, const Choices&) = default;
};

// The table of a coding (KOI8 or CP1251) in a layout, and its letters.
const layouts::BuiltinTable& tableOf(Coding coding, Layout layout);
const layouts::BuiltinLetters& lettersOf(Coding coding, Layout layout);

class ControlModel {
public:
    // Makes no call; the library must stay bound while the model is used.
    explicit ControlModel(HookLibrary& library) : library_(library) {}

    ControlModel(const ControlModel&) = delete;
    ControlModel& operator=(const ControlModel&) = delete;

    const Choices& Current() const { return choices_; }

    // The start state (see above). Each of these returns the choices now
    // in force.
    const Choices& Start();
    const Choices& ChooseCoding(Coding coding);
    const Choices& ChooseLayout(Layout layout);
    const Choices& ChooseToggleMethod(std::int32_t method);

    // The end of the program: the hook goes.
    void End();

private:
    HookLibrary& library_;
    Choices choices_;
};

}  // namespace vyrtel
