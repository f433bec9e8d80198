// The quick and desktop views of the real zeziriv.exe, opened the ways a user opens them: hot
// keys pressed on the keyboard, the tray's items, with the About box in the way.
#include "e2e_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace e2e;
using win_test::PressKeys;

namespace {

// Once the program has registered the hot key, no one else can.
bool WaitHotKeyTaken(UINT modifiers, UINT key) {
    return WaitFor([&] { return HotKeyIsTaken(modifiers, key); }, kStartTimeoutMs);
}

class PreviewProgramTest : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        Prepare(2);
    }

    HWND Start(CProgram& program) {
        const HWND frame = program.WaitFrame();
        EXPECT_TRUE(WaitHotKeyTaken(MOD_CONTROL, VK_F11));
        return frame;
    }
    std::vector<HWND> Views(const CProgram& program) {
        return FindWindows(program.GetProcessId(), kPreviewClass);
    }
    bool WaitViewGone(const CProgram& program) {
        return WaitFor(
            [&] {
                return Views(program).empty() &&
                       FindWindows(program.GetProcessId(), kPanelClass).empty();
            },
            kStartTimeoutMs);
    }
};

TEST_F(PreviewProgramTest, DesktopHotKeyAndTrayItemOpenTheViewAndExitSavesThePanelRectangle) {
    CProgram program(tree.GetExe());
    const HWND frame = Start(program);
    ASSERT_NE(frame, nullptr);

    PressKeys({VK_CONTROL, VK_F11});
    const HWND panel = WaitForWindow(program.GetProcessId(), kPanelClass, kStartTimeoutMs);
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(Views(program).size(), 1u);
    EXPECT_EQ(GetWindow(panel, GW_OWNER), Views(program)[0]);
    EXPECT_EQ(ListTexts(GetDlgItem(panel, kPanelListId)),
              (std::vector<std::string>{"normal", "E2E Protan", "E2E Deutan"}));
    EXPECT_EQ(ControlText(GetDlgItem(panel, kPanelButtonId)), "&Close");
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == panel; }, 5000));
    PressKeys({VK_ESCAPE});
    ASSERT_TRUE(WaitViewGone(program));

    // From the tray; the panel is moved while the log-on session ends and again before Exit.
    PostMessageA(frame, WM_COMMAND, kDesktopViewCommand, 0);
    const HWND moved = WaitForWindow(program.GetProcessId(), kPanelClass, kStartTimeoutMs);
    ASSERT_NE(moved, nullptr);
    ASSERT_TRUE(SetWindowPos(moved, nullptr, 30, 40, 260, 300, SWP_NOZORDER | SWP_NOACTIVATE));
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(frame, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 5000, &answer));
    EXPECT_EQ(ReadSettingString("DesktopPanelPosition"),
              std::optional<std::string>("30,40,260,300"));
    ASSERT_TRUE(SetWindowPos(moved, nullptr, 50, 60, 270, 310, SWP_NOZORDER | SWP_NOACTIVATE));
    PostMessageA(frame, WM_COMMAND, kExitCommand, 0);
    EXPECT_EQ(program.WaitExit(), std::optional<DWORD>(0));
    EXPECT_EQ(ReadSettingString("DesktopPanelPosition"),
              std::optional<std::string>("50,60,270,310"));
}

TEST_F(PreviewProgramTest, QuickViewsFromTheTrayAfterTheirDelayAndFromTheHotKey) {
    // Control+Alt+F8 as the profile stores a hot key: modifiers (2 | 1) << 16 | key.
    WriteSettingDword("QuickWaitingTime", 1000);
    WriteSettingString("QuickHotKeys", "deutanopia," + std::to_string((3u << 16) | VK_F8));
    CProgram program(tree.GetExe());
    const HWND frame = Start(program);
    ASSERT_NE(frame, nullptr);

    // The menu's item waits 50 ms before the screen is copied; the view then goes by itself.
    const ULONGLONG chosen = GetTickCount64();
    PostMessageA(frame, WM_COMMAND, kQuickViewCommandBase + 1, 0);
    ASSERT_NE(WaitForWindow(program.GetProcessId(), kPreviewClass, kStartTimeoutMs), nullptr);
    const ULONGLONG appeared = GetTickCount64();
    EXPECT_GE(appeared - chosen, 50u);
    EXPECT_TRUE(FindWindows(program.GetProcessId(), kPanelClass).empty());
    ASSERT_TRUE(WaitViewGone(program));
    EXPECT_GE(GetTickCount64() - appeared, 900u);

    // The quick hot key; pressed again while the view is up, it opens nothing more.
    ASSERT_TRUE(WaitHotKeyTaken(MOD_CONTROL | MOD_ALT, VK_F8));
    PressKeys({VK_CONTROL, VK_MENU, VK_F8});
    ASSERT_NE(WaitForWindow(program.GetProcessId(), kPreviewClass, kStartTimeoutMs), nullptr);
    PressKeys({VK_CONTROL, VK_MENU, VK_F8});
    EXPECT_EQ(Views(program).size(), 1u);
    ASSERT_TRUE(WaitViewGone(program));

    // An item beyond the enabled list does nothing; the desktop hot key closes the About box.
    PostMessageA(frame, WM_COMMAND, kQuickViewCommandBase + 7, 0);
    PostMessageA(frame, WM_COMMAND, kAboutCommand, 0);
    const HWND about =
        WaitForWindow(program.GetProcessId(), kDialogClass, kStartTimeoutMs, "About");
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(Views(program).empty());
    PressKeys({VK_CONTROL, VK_F11});
    EXPECT_NE(WaitForWindow(program.GetProcessId(), kPanelClass, kStartTimeoutMs), nullptr);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about); }, 10000));
    PostMessageA(frame, WM_COMMAND, kExitCommand, 0);
    EXPECT_EQ(program.WaitExit(), std::optional<DWORD>(0));
}

} // namespace
