// The quick and desktop views of the real zeziriv.exe, opened the ways a user opens them: hot
// keys pressed on the keyboard, the tray's items, with the About box in the way.
#include "e2e_driver.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace e2e;

namespace {

constexpr const char* kPreviewClass = "ZezirivPreviewWnd";
constexpr const char* kPanelClass = "ZezirivOperateWnd";
constexpr UINT kAboutCommand = 33000;
constexpr UINT kExitCommand = 33003;
constexpr UINT kDesktopViewCommand = 33004;
constexpr UINT kQuickViewCommandBase = 33500;

void SendKeys(std::vector<WORD> keys) {
    std::vector<INPUT> input;
    for (int up = 0; up < 2; ++up) {
        for (std::size_t i = 0; i < keys.size(); ++i) {
            INPUT one{};
            one.type = INPUT_KEYBOARD;
            one.ki.wVk = keys[up ? keys.size() - 1 - i : i];
            one.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
            input.push_back(one);
        }
    }
    SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

// Once the program has registered the hot key, no one else can.
bool WaitHotKeyTaken(UINT modifiers, UINT key) {
    return WaitFor([&] { return !CHeldHotKey(modifiers, key).IsHeld(); }, kStartTimeoutMs);
}

// An item of another process's list box; list texts cross processes in the list's wide form.
std::string ListItemText(HWND list, int item) {
    wchar_t wide[256] = {};
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(wide));
    char text[512] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

class PreviewProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        WriteSettingDword("NoSplash", 1);
        tree.AddFilter("protanopia", "E2E Protan");
        tree.AddFilter("deutanopia", "E2E Deutan");
    }
    void TearDown() override { ClearSettings(); }

    HWND Start(CProgram& program) {
        const HWND frame = WaitForWindow(program.GetProcessId(), kFrameClass, kStartTimeoutMs);
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

    CInstallTree tree;
};

TEST_F(PreviewProgramTest, DesktopHotKeyAndTrayItemOpenTheViewAndExitSavesThePanelRectangle) {
    CProgram program(tree.GetExe());
    const HWND frame = Start(program);
    ASSERT_NE(frame, nullptr);

    SendKeys({VK_CONTROL, VK_F11});
    const HWND panel = WaitForWindow(program.GetProcessId(), kPanelClass, kStartTimeoutMs);
    ASSERT_NE(panel, nullptr);
    ASSERT_EQ(Views(program).size(), 1u);
    EXPECT_EQ(GetWindow(panel, GW_OWNER), Views(program)[0]);
    const HWND list = GetDlgItem(panel, 1050);
    ASSERT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(ListItemText(list, 0), "normal");
    EXPECT_EQ(ListItemText(list, 1), "E2E Protan");
    EXPECT_EQ(ListItemText(list, 2), "E2E Deutan");
    char button[64] = {};
    GetWindowTextA(GetDlgItem(panel, 1051), button, sizeof button);
    EXPECT_STREQ(button, "&Close");
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == panel; }, 5000));
    SendKeys({VK_ESCAPE});
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
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\zuvadur\\Zeziriv", 0, nullptr, 0,
                              KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::string quickKeys = "deutanopia," + std::to_string((3u << 16) | VK_F8);
    RegSetValueExA(key, "QuickHotKeys", 0, REG_SZ, reinterpret_cast<const BYTE*>(quickKeys.c_str()),
                   static_cast<DWORD>(quickKeys.size() + 1));
    RegCloseKey(key);
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
    SendKeys({VK_CONTROL, VK_MENU, VK_F8});
    ASSERT_NE(WaitForWindow(program.GetProcessId(), kPreviewClass, kStartTimeoutMs), nullptr);
    SendKeys({VK_CONTROL, VK_MENU, VK_F8});
    EXPECT_EQ(Views(program).size(), 1u);
    ASSERT_TRUE(WaitViewGone(program));

    // An item beyond the enabled list does nothing; the desktop hot key closes the About box.
    PostMessageA(frame, WM_COMMAND, kQuickViewCommandBase + 7, 0);
    PostMessageA(frame, WM_COMMAND, kAboutCommand, 0);
    const HWND about =
        WaitForWindow(program.GetProcessId(), kDialogClass, kStartTimeoutMs, "About");
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(Views(program).empty());
    SendKeys({VK_CONTROL, VK_F11});
    EXPECT_NE(WaitForWindow(program.GetProcessId(), kPanelClass, kStartTimeoutMs), nullptr);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about); }, 10000));
    PostMessageA(frame, WM_COMMAND, kExitCommand, 0);
    EXPECT_EQ(program.WaitExit(), std::optional<DWORD>(0));
}

} // namespace
