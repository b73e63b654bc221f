// The control program's model: every call it makes into the hook library,
// in order, and the choices it then holds, from the start through each of
// the nine choices, layout changes with and without a coding, a table the
// library cannot hook, to the end.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/control_model.h"
#include "call_recorder.h"
#include "hooklib/tavrilex_api.h"

namespace {

using vyrtel::Choices;
using vyrtel::Coding;
using vyrtel::ControlModel;
using vyrtel::Layout;
using vyrtel::testing::CallRecorder;
using Calls = std::vector<std::string>;

constexpr std::int32_t kLeftRight = tavrilex::kToggleCtrlShiftLeftRight;
constexpr std::int32_t kScrollLock = tavrilex::kToggleScrollLock;
constexpr std::int32_t kNumLock = tavrilex::kToggleNumLock;
constexpr std::int32_t kCycled = tavrilex::kToggleCtrlShiftCycled;

// A model over a recording library, started, with a layout and a coding
// chosen; the calls so far taken.
struct Started {
    explicit Started(Coding coding = Coding::Disabled, Layout layout = Layout::Typewriter) {
        model.Start();
        if (layout != Layout::Typewriter) model.ChooseLayout(layout);
        if (coding != Coding::Disabled) model.ChooseCoding(coding);
        library.Take();
    }
    CallRecorder library;
    ControlModel model{library};
};

TEST(ControlModel, StartTakesOutAnyHookThenChoosesCtrlShiftLeftRight) {
    CallRecorder library;
    ControlModel model(library);
    EXPECT_EQ(library.calls, Calls{}) << "constructing calls nothing";
    EXPECT_EQ(model.Current(), (Choices{Coding::Disabled, Layout::Typewriter, 0}));

    EXPECT_EQ(model.Start(), (Choices{Coding::Disabled, Layout::Typewriter, kLeftRight}));
    EXPECT_EQ(library.Take(), (Calls{"DllCtrl null 0 -> 0", "SetToggler 3 -> 3"}));
}

TEST(ControlModel, StartForgetsEarlierChoices) {
    Started s(Coding::Koi8, Layout::Phonetic);
    s.model.ChooseToggleMethod(kNumLock);
    s.library.Take();
    EXPECT_EQ(s.model.Start(), (Choices{Coding::Disabled, Layout::Typewriter, kLeftRight}));
    EXPECT_EQ(s.library.Take(), (Calls{"DllCtrl null 0 -> 0", "SetToggler 3 -> 3"}));
}

struct Choice {
    const char* name;
    std::function<const Choices&(ControlModel&)> choose;
    const char* call;
    Choices after;
};

TEST(ControlModel, EachOfTheNineChoicesFromTheStartMakesOneCall) {
    const Choice choices[] = {
        {"KOI8", [](ControlModel& m) -> const Choices& { return m.ChooseCoding(Coding::Koi8); },
         "DllCtrlW koi8-typewriter 47 -> 1", {Coding::Koi8, Layout::Typewriter, kLeftRight}},
        {"CP1251", [](ControlModel& m) -> const Choices& { return m.ChooseCoding(Coding::Cp1251); },
         "DllCtrlW cp1251-typewriter 47 -> 1", {Coding::Cp1251, Layout::Typewriter, kLeftRight}},
        {"Disable", [](ControlModel& m) -> const Choices& { return m.ChooseCoding(Coding::Disabled); },
         "DllCtrl null 0 -> 0", {Coding::Disabled, Layout::Typewriter, kLeftRight}},
        {"Ctrl+Shift (Left/Right)", [](ControlModel& m) -> const Choices& { return m.ChooseToggleMethod(kLeftRight); },
         "SetToggler 3 -> 3", {Coding::Disabled, Layout::Typewriter, kLeftRight}},
        {"Scroll Lock", [](ControlModel& m) -> const Choices& { return m.ChooseToggleMethod(kScrollLock); },
         "SetToggler 0 -> 0", {Coding::Disabled, Layout::Typewriter, kScrollLock}},
        {"Num Lock", [](ControlModel& m) -> const Choices& { return m.ChooseToggleMethod(kNumLock); },
         "SetToggler 1 -> 1", {Coding::Disabled, Layout::Typewriter, kNumLock}},
        {"Ctrl+Shift (Cycled)", [](ControlModel& m) -> const Choices& { return m.ChooseToggleMethod(kCycled); },
         "SetToggler 2 -> 2", {Coding::Disabled, Layout::Typewriter, kCycled}},
        {"Typewriter", [](ControlModel& m) -> const Choices& { return m.ChooseLayout(Layout::Typewriter); },
         "DllCtrl null 0 -> 0", {Coding::Disabled, Layout::Typewriter, kLeftRight}},
        {"Phonetic", [](ControlModel& m) -> const Choices& { return m.ChooseLayout(Layout::Phonetic); },
         "DllCtrl null 0 -> 0", {Coding::Disabled, Layout::Phonetic, kLeftRight}},
    };
    for (const Choice& choice : choices) {
        SCOPED_TRACE(choice.name);
        Started s;
        EXPECT_EQ(choice.choose(s.model), choice.after);
        EXPECT_EQ(s.model.Current(), choice.after);
        EXPECT_EQ(s.library.Take(), Calls{choice.call});
    }
}

TEST(ControlModel, ACodingHandsOverItsTableInTheCurrentLayout) {
    Started s(Coding::Disabled, Layout::Phonetic);
    EXPECT_EQ(s.model.ChooseCoding(Coding::Koi8).coding, Coding::Koi8);
    EXPECT_EQ(s.model.ChooseCoding(Coding::Cp1251).coding, Coding::Cp1251);
    EXPECT_EQ(s.library.Take(), (Calls{"DllCtrlW koi8-phonetic 47 -> 1", "DllCtrlW cp1251-phonetic 47 -> 1"}));
}

TEST(ControlModel, ALayoutChangeHandsOverTheCodingsTableInTheNewLayout) {
    Started s(Coding::Cp1251);
    EXPECT_EQ(s.model.ChooseLayout(Layout::Phonetic), (Choices{Coding::Cp1251, Layout::Phonetic, kLeftRight}));
    EXPECT_EQ(s.model.ChooseLayout(Layout::Typewriter), (Choices{Coding::Cp1251, Layout::Typewriter, kLeftRight}));
    EXPECT_EQ(s.library.Take(), (Calls{"DllCtrlW cp1251-phonetic 47 -> 1", "DllCtrlW cp1251-typewriter 47 -> 1"}));
}

TEST(ControlModel, ALayoutChangeWithoutACodingTakesTheHookOutAgain) {
    Started s(Coding::Koi8);
    s.model.ChooseCoding(Coding::Disabled);
    s.library.Take();
    EXPECT_EQ(s.model.ChooseLayout(Layout::Phonetic), (Choices{Coding::Disabled, Layout::Phonetic, kLeftRight}));
    EXPECT_EQ(s.library.Take(), Calls{"DllCtrl null 0 -> 0"});
}

TEST(ControlModel, ARefusedTableLeavesTheCodingInForce) {
    Started s;
    s.library.refuseTables = true;
    EXPECT_EQ(s.model.ChooseCoding(Coding::Koi8).coding, Coding::Disabled) << "Disable stays";
    s.library.refuseTables = false;
    EXPECT_EQ(s.model.ChooseCoding(Coding::Cp1251).coding, Coding::Cp1251);

    s.library.refuseTables = true;
    EXPECT_EQ(s.model.ChooseCoding(Coding::Koi8).coding, Coding::Cp1251) << "CP1251 stays";
    EXPECT_EQ(s.model.ChooseLayout(Layout::Phonetic), (Choices{Coding::Cp1251, Layout::Phonetic, kLeftRight}))
        << "the layout changes all the same";
    EXPECT_EQ(s.model.ChooseCoding(Coding::Disabled).coding, Coding::Disabled);
    EXPECT_EQ(s.model.ChooseCoding(Coding::Koi8).coding, Coding::Disabled);
    EXPECT_EQ(s.library.Take(), (Calls{"DllCtrlW koi8-typewriter 47 -> 0", "DllCtrlW cp1251-typewriter 47 -> 1",
                                       "DllCtrlW koi8-typewriter 47 -> 0", "DllCtrlW cp1251-phonetic 47 -> 0",
                                       "DllCtrl null 0 -> 0", "DllCtrlW koi8-phonetic 47 -> 0"}));
}

TEST(ControlModel, RepeatingAChoiceRepeatsItsCall) {
    Started s;
    const Choices once = s.model.ChooseCoding(Coding::Cp1251);
    EXPECT_EQ(s.model.ChooseCoding(Coding::Cp1251), once);
    EXPECT_EQ(s.library.Take(), (Calls{"DllCtrlW cp1251-typewriter 47 -> 1", "DllCtrlW cp1251-typewriter 47 -> 1"}));
}

TEST(ControlModel, TheToggleMethodInForceIsTheLibrarysAnswerAndTouchesNothingElse) {
    Started s(Coding::Koi8, Layout::Phonetic);
    s.library.methodAnswer = kCycled;
    EXPECT_EQ(s.model.ChooseToggleMethod(kNumLock), (Choices{Coding::Koi8, Layout::Phonetic, kCycled}));
    EXPECT_EQ(s.library.Take(), Calls{"SetToggler 1 -> 2"});
}

TEST(ControlModel, TheEndTakesTheHookOutWhetherOrNotACodingWasChosen) {
    for (Coding coding : {Coding::Disabled, Coding::Koi8}) {
        Started s(coding);
        s.model.End();
        EXPECT_EQ(s.library.Take(), Calls{"DllCtrl null 0 -> 0"});
    }
}

}  // namespace
