// What the notification-area icon shows, decided without windows: the
// typing mode and tooltip of each state of the model, and how the model
// learns whether typing is translated (from the library's switch or the
// lock key, and from the library's mode messages) and tells its observer.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/control_model.h"
#include "app/typing_mode.h"
#include "call_recorder.h"
#include "hooklib/tavrilex_api.h"

namespace {

using vyrtel::Choices;
using vyrtel::Coding;
using vyrtel::ControlModel;
using vyrtel::Layout;
using vyrtel::TypingMode;
using vyrtel::testing::CallRecorder;

constexpr std::int32_t kLeftRight = tavrilex::kToggleCtrlShiftLeftRight;
constexpr std::int32_t kCycled = tavrilex::kToggleCtrlShiftCycled;
constexpr std::int32_t kScrollLock = tavrilex::kToggleScrollLock;
constexpr std::int32_t kNumLock = tavrilex::kToggleNumLock;

std::string tooltip(TypingMode mode, Coding coding, Layout layout) {
    return vyrtel::tooltipOf(mode, Choices{coding, layout, kLeftRight}).text;
}

TEST(TypingMode, NoCodingIsOffWhateverTheSwitchAndACodingFollowsTheSwitch) {
    EXPECT_EQ(vyrtel::typingModeOf(Coding::Disabled, false), TypingMode::Off);
    EXPECT_EQ(vyrtel::typingModeOf(Coding::Disabled, true), TypingMode::Off);
    for (Coding coding : {Coding::Koi8, Coding::Cp1251}) {
        EXPECT_EQ(vyrtel::typingModeOf(coding, false), TypingMode::Latin);
        EXPECT_EQ(vyrtel::typingModeOf(coding, true), TypingMode::Ukrainian);
    }
}

TEST(TypingMode, TheTooltipNamesTheModeAndWhenUkrainianTheCodingAndLayout) {
    EXPECT_EQ(tooltip(TypingMode::Ukrainian, Coding::Cp1251, Layout::Typewriter), "Vyrtel: Ukrainian, CP1251, typewriter");
    EXPECT_EQ(tooltip(TypingMode::Ukrainian, Coding::Koi8, Layout::Phonetic), "Vyrtel: Ukrainian, KOI8, phonetic");
    EXPECT_EQ(tooltip(TypingMode::Latin, Coding::Koi8, Layout::Phonetic), "Vyrtel: Latin");
    EXPECT_EQ(tooltip(TypingMode::Off, Coding::Disabled, Layout::Typewriter), "Vyrtel: off");
    // Every tooltip fits the notification area's 64 characters with its end.
    const vyrtel::Tooltip longest = vyrtel::tooltipOf(TypingMode::Ukrainian, Choices{Coding::Cp1251, Layout::Typewriter, 0});
    EXPECT_LT(std::strlen(longest.text), vyrtel::kTooltipCapacity);
}

// The library's switch and the lock keys as the test sets them; without a
// DllMode the Ctrl+Shift methods cannot be told.
class FakeSwitch final : public vyrtel::SwitchReader {
public:
    std::optional<bool> Translating(std::int32_t method) override {
        asked.push_back(method);
        if (method == kScrollLock) return scrollLock;
        if (method == kNumLock) return numLock;
        if (!hasDllMode) return std::nullopt;
        return libraryswitch;
    }
    bool libraryswitch = false;
    bool scrollLock = false;
    bool numLock = false;
    bool hasDllMode = true;
    std::vector<std::int32_t> asked;
};

class CountingObserver final : public vyrtel::ModelObserver {
public:
    void ModelChanged(const ControlModel& model) override {
        modes.push_back(vyrtel::typingModeOf(model.Current().coding, model.Translated()));
    }
    std::vector<TypingMode> modes;
};

struct Watched {
    Watched() { model.SetObserver(&observer); }
    CallRecorder library;
    FakeSwitch reader;
    ControlModel model{library, &reader};
    CountingObserver observer;

    TypingMode Mode() const { return vyrtel::typingModeOf(model.Current().coding, model.Translated()); }
};

TEST(TypingModeModel, TheStartReadsTheSwitchAnEarlierCopyLeftButShowsOffUntilACodingIsChosen) {
    Watched w;
    w.reader.libraryswitch = true;
    w.model.Start();
    EXPECT_TRUE(w.model.Translated());
    EXPECT_EQ(w.Mode(), TypingMode::Off);
    w.model.ChooseCoding(Coding::Koi8);
    EXPECT_EQ(w.Mode(), TypingMode::Ukrainian);
    EXPECT_EQ(w.library.Take(),
              (std::vector<std::string>{"DllCtrl null 0 -> 0", "SetToggler 3 -> 3", "DllCtrlW koi8-typewriter 47 -> 1"}))
        << "reading the switch adds no library call of the five";
}

TEST(TypingModeModel, ModeMessagesOfTheMethodInForceMoveTheModeAndOthersAreIgnored) {
    Watched w;
    w.model.Start();
    w.model.ChooseCoding(Coding::Cp1251);
    w.observer.modes.clear();
    w.model.NoteModeMessage(true, kLeftRight);
    EXPECT_EQ(w.Mode(), TypingMode::Ukrainian);
    w.model.NoteModeMessage(false, kScrollLock);  // sent before a change of method
    EXPECT_EQ(w.Mode(), TypingMode::Ukrainian);
    w.model.NoteModeMessage(false, kLeftRight);
    EXPECT_EQ(w.Mode(), TypingMode::Latin);
    EXPECT_EQ(w.observer.modes, (std::vector<TypingMode>{TypingMode::Ukrainian, TypingMode::Latin}));
}

TEST(TypingModeModel, AToggleMethodIsReadAnewTheLockKeyForLockMethodsTheSwitchForCtrlShift) {
    Watched w;
    w.model.Start();
    w.model.ChooseCoding(Coding::Koi8);
    w.reader.scrollLock = true;
    w.model.ChooseToggleMethod(kScrollLock);
    EXPECT_EQ(w.Mode(), TypingMode::Ukrainian);
    w.model.ChooseToggleMethod(kNumLock);
    EXPECT_EQ(w.Mode(), TypingMode::Latin);
    w.reader.libraryswitch = true;
    w.model.ChooseToggleMethod(kCycled);
    EXPECT_EQ(w.Mode(), TypingMode::Ukrainian);
    w.model.ChooseToggleMethod(7);  // a method the library translates under always
    EXPECT_EQ(w.Mode(), TypingMode::Ukrainian);
    EXPECT_EQ(w.reader.asked, (std::vector<std::int32_t>{kLeftRight, kLeftRight, kScrollLock, kNumLock, kCycled}));
}

TEST(TypingModeModel, ALockKeyTurnedWhileNoCodingWasChosenIsReadWhenOneIs) {
    Watched w;
    w.model.Start();
    w.model.ChooseToggleMethod(kScrollLock);
    w.reader.scrollLock = true;  // no hook: nobody announced it
    w.model.ChooseCoding(Coding::Koi8);
    EXPECT_EQ(w.Mode(), TypingMode::Ukrainian);
}

TEST(TypingModeModel, WithoutDllModeTheModeStartsLatinAndFollowsTheMessages) {
    Watched w;
    w.reader.hasDllMode = false;
    w.model.Start();
    w.model.ChooseCoding(Coding::Koi8);
    EXPECT_EQ(w.Mode(), TypingMode::Latin);
    w.model.NoteModeMessage(true, kLeftRight);
    w.model.ChooseCoding(Coding::Cp1251);  // the switch cannot be read: the last message stands
    EXPECT_EQ(w.Mode(), TypingMode::Ukrainian);
    w.reader.scrollLock = true;
    w.model.ChooseToggleMethod(kScrollLock);
    w.model.ChooseToggleMethod(kCycled);  // another method: what it holds is not known
    EXPECT_EQ(w.Mode(), TypingMode::Latin);
}

TEST(TypingModeModel, EveryChoiceTellsTheObserverButTheEndTellsNothing) {
    Watched w;
    w.model.Start();
    EXPECT_EQ(w.observer.modes.size(), 2u) << "the coding taken out, then the method";
    w.observer.modes.clear();
    w.model.ChooseCoding(Coding::Koi8);
    w.model.ChooseLayout(Layout::Phonetic);
    w.model.ChooseToggleMethod(kCycled);
    w.model.ChooseCoding(Coding::Disabled);
    EXPECT_EQ(w.observer.modes,
              (std::vector<TypingMode>{TypingMode::Latin, TypingMode::Latin, TypingMode::Latin, TypingMode::Off}));
    w.observer.modes.clear();
    w.model.End();
    EXPECT_TRUE(w.observer.modes.empty());
}

TEST(TypingModeModel, ARefusedTableKeepsTheModeInForce) {
    Watched w;
    w.reader.libraryswitch = true;
    w.model.Start();
    w.library.refuseTables = true;
    w.model.ChooseCoding(Coding::Koi8);
    EXPECT_EQ(w.Mode(), TypingMode::Off);
}

}  // namespace
