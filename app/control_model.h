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
// - Whether typing is translated right now is learnt from the library's
//   switch or the lock key (SwitchReader) at the start, when a coding or a
//   toggle method is chosen, and from the library's mode messages between.
//   With the coding it decides the typing mode (typing_mode.h).
// - Every change is told to the observer, if any: the dialog's marks and the
//   notification-area icon follow the one model.
#pragma once

#include <cstdint>
#include <optional>

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

// Whether typing is translated right now under a toggle method: the
// library's switch (DllMode) under the Ctrl+Shift methods, the lock key's
// toggle state under the lock-key methods. Nothing when it cannot be told
// (a library without DllMode).
class SwitchReader {
public:
    virtual std::optional<bool> Translating(std::int32_t method) = 0;

protected:
    ~SwitchReader() = default;
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

// The built-in table of a coding (KOI8 or CP1251) in a layout, with its
// letters: what the library is handed, what the layout window shows, and
// what a selection is mended by.
struct Builtin {
    const layouts::BuiltinTable& table;
    const layouts::BuiltinLetters& letters;
};
Builtin builtinOf(Coding coding, Layout layout);

class ControlModel;

// Told after every change of the choices or of the translation.
class ModelObserver {
public:
    virtual void ModelChanged(const ControlModel& model) = 0;

protected:
    ~ModelObserver() = default;
};

class ControlModel {
public:
    // Makes no call; the library must stay bound while the model is used.
    // Without a reader, translation counts as off until a mode message says
    // otherwise.
    explicit ControlModel(HookLibrary& library, SwitchReader* reader = nullptr)
        : library_(library), reader_(reader) {}

    ControlModel(const ControlModel&) = delete;
    ControlModel& operator=(const ControlModel&) = delete;

    const Choices& Current() const { return choices_; }

    // Whether typing would be translated under the toggle method in force,
    // were a coding chosen (as last learnt).
    bool Translated() const { return translated_; }

    // One observer at a time (null: none); it must outlive the model or be
    // unset first.
    void SetObserver(ModelObserver* observer) { observer_ = observer; }

    // The start state (see above). Each of these returns the choices now
    // in force.
    const Choices& Start();
    const Choices& ChooseCoding(Coding coding);
    const Choices& ChooseLayout(Layout layout);
    const Choices& ChooseToggleMethod(std::int32_t method);

    // The library's mode message: typing under `method` is now translated
    // or not. A message about another method than the one in force (sent
    // before the method changed) is ignored.
    void NoteModeMessage(bool translated, std::int32_t method);

    // The end of the program: the hook goes.
    void End();

private:
    // Asks the reader about the method in force. When it cannot tell, the
    // last value stands while the method stays, else translation counts as
    // off.
    void LearnTranslation(bool methodChanged);
    const Choices& Changed();

    HookLibrary& library_;
    SwitchReader* reader_;
    ModelObserver* observer_ = nullptr;
    Choices choices_;
    bool translated_ = false;
};

}  // namespace vyrtel
