// Style arithmetic, show-command rules and message-box flags.
#include <gtest/gtest.h>

#include "framework/message_box_rules.h"
#include "framework/show_rules.h"
#include "framework/style_rules.h"

namespace {

using namespace framework;

TEST(FrameStyle, DefaultIsAVisibleOverlappedWindowThatClipsAClient) {
    EXPECT_EQ(frameDefaultStyle(false), 0x10CF0000u);
    EXPECT_EQ(frameDefaultStyle(true), 0x12CF0000u);
    // The main program's adjustment of that default lands on its fixed frame.
    EXPECT_EQ((frameDefaultStyle(true) | 0x12CA0000u) & 0xBF7AFFFFu, 0x124A0000u);
}

TEST(FittedClientStyle, CaptionedChildDialogLosesItsDialogFrameAndKeepsAThinBorder) {
    // The control dialog's template: WS_CHILD | WS_CAPTION | DS_SETFONT | DS_3DLOOK.
    const ClientStyle fitted = fittedClientStyle(0x40C00044u, 0x00010100u);
    EXPECT_EQ(fitted.style, 0x50800044u);     // WS_CHILD | WS_VISIBLE | WS_BORDER, dialog bits kept
    EXPECT_EQ(fitted.exStyle, 0x00010000u);   // WS_EX_CONTROLPARENT kept, WS_EX_WINDOWEDGE gone
    EXPECT_FALSE(fitted.becameChild);
}

TEST(FittedClientStyle, PopupBecomesAChildOfTheFrame) {
    const ClientStyle fitted = fittedClientStyle(0x90C800C4u, 0x00000101u);  // pop-up modal-frame box
    EXPECT_EQ(fitted.style & 0x80440000u, 0u);
    EXPECT_EQ(fitted.style & 0x50800000u, 0x50800000u);
    EXPECT_EQ(fitted.style & 0x000800C4u, 0x000800C4u);  // WS_SYSMENU and dialog styles untouched
    EXPECT_EQ(fitted.exStyle, 0u);
    EXPECT_TRUE(fitted.becameChild);
}

TEST(FittedClientStyle, SizingBorderAloneTriggersTheRewrite) {
    EXPECT_EQ(fittedClientStyle(0x40040000u, 0).style, 0x50800000u);
}

TEST(FittedClientStyle, PlainChildKeepsItsStyleButLosesEdges) {
    const ClientStyle fitted = fittedClientStyle(0x40000000u, 0x00020200u);  // static edge + client edge
    EXPECT_EQ(fitted.style, 0x40000000u);
    EXPECT_EQ(fitted.exStyle, 0x00000200u);  // WS_EX_CLIENTEDGE is not among the cleared bits
    EXPECT_FALSE(fitted.becameChild);
}

TEST(ShowRules, MinimiseOfAnExistingWindowGoesThroughTheSystemCommand) {
    EXPECT_EQ(showAction(6, true), ShowAction::SendMinimizeCommand);
    EXPECT_EQ(showAction(2, true), ShowAction::ShowWindow);  // SW_SHOWMINIMIZED is not SW_MINIMIZE
    EXPECT_EQ(showAction(7, true), ShowAction::ShowWindow);
    EXPECT_EQ(showAction(1, true), ShowAction::ShowWindow);
    EXPECT_EQ(showAction(0, true), ShowAction::ShowWindow);
}

TEST(ShowRules, WithoutAWindowACommandOnlyDecidesVisibility) {
    EXPECT_EQ(showAction(6, false), ShowAction::RecordOnly);
    EXPECT_EQ(showAction(1, false), ShowAction::RecordOnly);
    EXPECT_EQ(styleAfterShow(0x10CF0000u, 0), 0x00CF0000u);
    EXPECT_EQ(styleAfterShow(0x00CF0000u, 1), 0x10CF0000u);
    EXPECT_EQ(styleAfterShow(0x00CF0000u, 6), 0x10CF0000u);
}

// The flag decides, never the value: SW_HIDE (0) is a real request when the
// flag is set, and a leftover value counts for nothing when it is not.
TEST(StartupShowCommand, IsTheStartersCommandExactlyWhenTheFlagSaysThereIsOne) {
    EXPECT_EQ(startupShowCommand(true, kShowHide), kShowHide);
    EXPECT_EQ(startupShowCommand(true, kShowMinimize), kShowMinimize);
    EXPECT_EQ(startupShowCommand(true, 3), 3);  // SW_SHOWMAXIMIZED
    EXPECT_EQ(startupShowCommand(false, kShowMinimize), kShowDefault);
    EXPECT_EQ(startupShowCommand(false, kShowHide), kShowDefault);
}

TEST(MessageBoxType, OwnerlessBoxesBecomeTaskModalUnlessSystemModal) {
    EXPECT_EQ(messageBoxType(false, 0x10u), 0x2010u);   // MB_ICONHAND: the start-up failure boxes
    EXPECT_EQ(messageBoxType(false, 0x0u), 0x2000u);
    EXPECT_EQ(messageBoxType(false, 0x1010u), 0x1010u);  // MB_SYSTEMMODAL stays as it is
    EXPECT_EQ(messageBoxType(false, 0x2030u), 0x2030u);
}

TEST(MessageBoxType, BoxesWithAnOwnerKeepTheirType) {
    EXPECT_EQ(messageBoxType(true, 0x10u), 0x10u);
    EXPECT_EQ(messageBoxType(true, 0x24u), 0x24u);
}

}  // namespace
