// Response tables: which handler a command reaches through a class chain,
// and which WM_COMMAND notifications count as commands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/command_table.h"

namespace {

// Stands in for TWindow: the root of the lookup chain handles nothing.
class Root {
public:
    virtual ~Root() = default;
    virtual bool DispatchCommand(unsigned) { return false; }
    std::vector<std::string> calls;
};

class Base : public Root {
public:
    DECLARE_COMMAND_TABLE();
    void CmOk() { calls.push_back("Base::CmOk"); }
    void CmCancel() { calls.push_back("Base::CmCancel"); }
};

BEGIN_COMMAND_TABLE(Base, Root)
    COMMAND_ENTRY(1, CmOk)
    COMMAND_ENTRY(2, CmCancel)
END_COMMAND_TABLE()

class Derived : public Base {
public:
    DECLARE_COMMAND_TABLE();

private:
    // Handlers may be private: the table is part of the class.
    void CmMinimize() { calls.push_back("Derived::CmMinimize"); }
    void CmFirst() { calls.push_back("Derived::CmFirst"); }
    void CmSecond() { calls.push_back("Derived::CmSecond"); }
};

BEGIN_COMMAND_TABLE(Derived, Base)
    COMMAND_ENTRY(101, CmFirst)
    COMMAND_ENTRY(1, CmMinimize)
    COMMAND_ENTRY(101, CmSecond)
    COMMAND_ENTRY(0xFFFF, CmSecond)
END_COMMAND_TABLE()

// A class in the chain without entries of its own passes everything on.
class Empty : public Derived {
public:
    DECLARE_COMMAND_TABLE();
};

BEGIN_COMMAND_TABLE(Empty, Derived)
END_COMMAND_TABLE()

TEST(CommandTable, DerivedEntryWinsOverTheBaseEntryForTheSameId) {
    Derived window;
    EXPECT_TRUE(window.DispatchCommand(1));
    EXPECT_EQ(window.calls, std::vector<std::string>{"Derived::CmMinimize"});
}

TEST(CommandTable, IdsTheDerivedTableLacksReachTheBaseTable) {
    Derived window;
    EXPECT_TRUE(window.DispatchCommand(2));
    EXPECT_EQ(window.calls, std::vector<std::string>{"Base::CmCancel"});
}

TEST(CommandTable, LookupThroughABaseReferenceStartsAtTheMostDerivedClass) {
    Empty window;
    Root& root = window;
    EXPECT_TRUE(root.DispatchCommand(1));
    EXPECT_TRUE(root.DispatchCommand(2));
    EXPECT_TRUE(root.DispatchCommand(0xFFFF));
    EXPECT_EQ(window.calls,
              (std::vector<std::string>{"Derived::CmMinimize", "Base::CmCancel", "Derived::CmSecond"}));
}

TEST(CommandTable, FirstEntryOfATableWinsAndEachCommandRunsExactlyOneHandler) {
    Derived window;
    EXPECT_TRUE(window.DispatchCommand(101));
    EXPECT_EQ(window.calls, std::vector<std::string>{"Derived::CmFirst"});
}

TEST(CommandTable, UnknownIdsAreNotHandledAnywhere) {
    Empty window;
    EXPECT_FALSE(window.DispatchCommand(3));
    EXPECT_FALSE(window.DispatchCommand(0));  // the closing entry's id is no command
    EXPECT_TRUE(window.calls.empty());
    Base base;
    EXPECT_FALSE(base.DispatchCommand(101));
}

TEST(CommandNotification, ClicksMenusAndAcceleratorsAreCommands) {
    EXPECT_TRUE(framework::isCommandNotification(0, true));   // BN_CLICKED from a button
    EXPECT_TRUE(framework::isCommandNotification(0, false));  // menu item, or Esc/Enter from the dialog manager
    EXPECT_TRUE(framework::isCommandNotification(1, false));  // accelerator
}

TEST(CommandNotification, OtherControlNotificationsAreNotCommands) {
    EXPECT_FALSE(framework::isCommandNotification(1, true));       // BN_PAINT (not an accelerator)
    EXPECT_FALSE(framework::isCommandNotification(5, true));       // BN_DOUBLECLICKED
    EXPECT_FALSE(framework::isCommandNotification(6, true));       // BN_SETFOCUS
    EXPECT_FALSE(framework::isCommandNotification(0x0300, true));  // EN_CHANGE
    EXPECT_FALSE(framework::isCommandNotification(2, false));
}

}  // namespace
