// The real zeziriv.exe under Wine, driven from outside.
#include "e2e_support.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

using namespace e2e;

namespace {

// The splash stays on: some tests look at it.
class ProgramTest : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        tree.AddFilter("protanopia", "E2E Protan");
        tree.AddFilter("deutanopia", "E2E Deutan");
        tree.AddFilter("hue_gbr", "E2E Hue GBR");
    }
};

} // namespace

TEST_F(ProgramTest, FirstRunExitsWithZeroAndSavesTheDefaults) {
    CProgram program(tree.GetExe());
    ASSERT_TRUE(program.IsStarted());
    const HWND frame = program.WaitFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_FALSE(IsWindowVisible(frame));
    EXPECT_TRUE(WaitFor(
        [&] {
            char title[64] = {};
            GetWindowTextA(frame, title, sizeof(title));
            return std::string(title) == "Zeziriv";
        },
        5000));
    EXPECT_FALSE(SettingsKeyExists()) << "nothing is written before the end";

    Exit(program, frame);

    const struct {
        const char* name;
        DWORD value;
    } numbers[] = {
        {"NoSplash", 0},
        {"DesktopHotKey", 131194},
        {"DesktopAdjustInitialPanelHeight", 1},
        {"QuickWaitingTime", 1000},
        {"WindowUpdateInterval", 100},
        {"WindowColorDisplayFormat", 0},
        {"WindowUnvisibleTaskBar", 0},
        {"WindowSimpleStatusbarInfo", 0},
        {"WindowShowOriginalColorInfo", 0},
        {"MultiWindowSettingNum", 0},
        {"ImageQuality", 0},
    };
    for (const auto& n : numbers) {
        EXPECT_EQ(ReadSettingDword(n.name), std::optional<DWORD>(n.value)) << n.name;
    }
    EXPECT_EQ(ReadSettingString("DesktopPanelPosition"), std::optional<std::string>("0,0,200,200"));
    EXPECT_EQ(ReadSettingString("QuickHotKeys"), std::optional<std::string>(""));
    EXPECT_EQ(ReadSettingString("EnableFilters"),
              std::optional<std::string>("_normal,protanopia,deutanopia,hue_gbr"));
    EXPECT_TRUE(ReadSettingString("WindowSetting").has_value());
    // Read but never written.
    EXPECT_FALSE(ReadSettingString("CopyColorFormat").has_value());
    EXPECT_FALSE(ReadSettingDword("WindowLeftTopOrigin").has_value());
}

TEST_F(ProgramTest, SecondInstanceEndsAtOnceAndTheFirstRunsOn) {
    CProgram first(tree.GetExe());
    const HWND frame = first.WaitFrame();
    ASSERT_NE(frame, nullptr);

    CProgram second(tree.GetExe());
    ASSERT_TRUE(second.IsStarted());
    EXPECT_EQ(second.WaitExit(), std::optional<DWORD>(0));
    EXPECT_TRUE(FindWindows(second.GetProcessId(), kDialogClass).empty());
    EXPECT_TRUE(first.IsRunning());
    EXPECT_TRUE(IsWindow(frame));

    Exit(first, frame);
}

TEST_F(ProgramTest, TrayMenuOpensOnButtonReleaseWithTheEnabledFiltersAsQuickViews) {
    WriteSettingDword("NoSplash", 1);
    CProgram program(tree.GetExe());
    const HWND frame = program.WaitFrame();
    ASSERT_NE(frame, nullptr);

    for (UINT press : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
        PostMessageA(frame, WM_APP_TRAY_NOTIFY, 100, press);
        // Nothing to poll for: the menu must stay away.
        EXPECT_FALSE(WaitFor([&] { return FindOpenMenu(program.GetProcessId()) != nullptr; }, 700))
            << "menu opened on press " << press;
    }

    for (UINT release : {WM_RBUTTONUP, WM_LBUTTONUP}) {
        SCOPED_TRACE(release);
        PostMessageA(frame, WM_APP_TRAY_NOTIFY, 100, release);
        HWND menuWindow = nullptr;
        ASSERT_TRUE(
            WaitFor([&] { return (menuWindow = FindOpenMenu(program.GetProcessId())) != nullptr; },
                    kStartTimeoutMs));
        const std::vector<MenuItem> items = ReadOpenMenu(menuWindow);
        ASSERT_EQ(items.size(), 15u);
        EXPECT_EQ(items[0].text, "&Desktop view");
        EXPECT_EQ(items[3].text, "&Quick view");
        EXPECT_EQ(items[14].text, "&Exit");
        EXPECT_EQ(items[14].id, kExitCommand);
        for (std::size_t i = 0; i < items.size(); ++i) {
            const bool separator = i == 2 || i == 4 || i == 8 || i == 11 || i == 13;
            EXPECT_EQ(items[i].text.empty(), separator) << i;
            if (!separator) {
                EXPECT_FALSE(items[i].grayed) << items[i].text;
            }
        }
        const std::vector<MenuItem>& quick = items[3].submenu;
        ASSERT_EQ(quick.size(), 4u);
        const char* names[] = {nullptr, "E2E Protan", "E2E Deutan", "E2E Hue GBR"};
        for (UINT i = 0; i < 4; ++i) {
            EXPECT_EQ(quick[i].id, 33500 + i);
            if (names[i] != nullptr) {
                EXPECT_EQ(quick[i].text, names[i]);
            }
        }
        CloseOpenMenu(program.GetProcessId());
    }
    Exit(program, frame);
}

TEST_F(ProgramTest, EndOfSessionSavesTheSettings) {
    CProgram program(tree.GetExe());
    const HWND frame = program.WaitFrame();
    ASSERT_NE(frame, nullptr);
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(frame, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 5000, &answer));
    EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
    ASSERT_TRUE(SendMessageTimeoutA(frame, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 5000, &answer));
    EXPECT_EQ(ReadSettingDword("DesktopHotKey"), std::optional<DWORD>(131194));
    EXPECT_EQ(ReadSettingString("EnableFilters"),
              std::optional<std::string>("_normal,protanopia,deutanopia,hue_gbr"));
    Exit(program, frame);
}

TEST_F(ProgramTest, SplashShowsForAMomentUnlessSwitchedOff) {
    {
        CProgram program(tree.GetExe());
        const HWND splash = WaitForWindow(program.GetProcessId(), kSplashClass, kStartTimeoutMs);
        ASSERT_NE(splash, nullptr);
        const ULONGLONG seen = GetTickCount64();
        const LONG exStyle = GetWindowLongA(splash, GWL_EXSTYLE);
        EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
        EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
        EXPECT_TRUE(exStyle & WS_EX_NOACTIVATE);
        // Sized to the picture while it is being created.
        EXPECT_TRUE(WaitFor(
            [&] {
                RECT rc{};
                GetWindowRect(splash, &rc);
                return rc.right - rc.left == 400 && rc.bottom - rc.top == 200;
            },
            5000));
        EXPECT_TRUE(WaitFor([&] { return !IsWindow(splash); }, 15000));
        EXPECT_GE(GetTickCount64() - seen, 1500u);
        const HWND frame = program.WaitFrame();
        ASSERT_NE(frame, nullptr);
        Exit(program, frame);
    }
    WriteSettingDword("NoSplash", 1);
    {
        CProgram program(tree.GetExe());
        const HWND frame = program.WaitFrame();
        ASSERT_NE(frame, nullptr);
        // The splash comes before the frame: by now it would exist.
        EXPECT_TRUE(FindWindows(program.GetProcessId(), kSplashClass).empty());
        Exit(program, frame);
    }
    EXPECT_EQ(ReadSettingDword("NoSplash"), std::optional<DWORD>(1));
}

TEST_F(ProgramTest, AboutTwiceGivesOneAboutBox) {
    WriteSettingDword("NoSplash", 1);
    CProgram program(tree.GetExe());
    const HWND frame = program.WaitFrame();
    ASSERT_NE(frame, nullptr);

    PostMessageA(frame, WM_COMMAND, kAboutCommand, 0);
    const HWND about =
        WaitForWindow(program.GetProcessId(), kDialogClass, kStartTimeoutMs, "About");
    ASSERT_NE(about, nullptr);
    // The box is found as soon as it exists, its controls a moment later.
    EXPECT_TRUE(
        WaitFor([&] { return GetStaticTexts(about).find("Zeziriv") != std::string::npos; }, 5000));
    // The frame answers a second About while the first box runs: no second box.
    DWORD_PTR result = 0;
    ASSERT_TRUE(
        SendMessageTimeoutA(frame, WM_COMMAND, kAboutCommand, 0, SMTO_NORMAL, 5000, &result));
    EXPECT_EQ(FindWindows(program.GetProcessId(), kDialogClass, "About").size(), 1u);

    PressButton(about, IDOK);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about); }, 5000));
    Exit(program, frame);
}

// A language library of this version supplies its texts; one of another version does not. The
// desktop hot key is held elsewhere, so every start shows its one message about it; the key is
// kept, to be tried again.
TEST_F(ProgramTest, DesktopKeyHeldElsewhereIsReportedOnceInTheLibrarysWordsAndKept) {
    const struct {
        const char* library;
        bool splash;
        const char* message;
        const char* desktopItem;
    } cases[] = {
        {"", true, "register hotkey failed. [code=", "&Desktop view"},
        {ZEZIRIV_E2E_LANG_SAME, false, "LANG hotkey failed [code=", "LANG &Desktop view"},
        {ZEZIRIV_E2E_LANG_OTHER, false, "register hotkey failed. [code=", "&Desktop view"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.library);
        const auto [message, desktopItem] = StartWithTheDesktopKeyHeld(c.library, c.splash);
        EXPECT_EQ(message.rfind(c.message, 0), 0u) << message;
        EXPECT_EQ(message.substr(message.size() - 1), "]");
        EXPECT_EQ(desktopItem, c.desktopItem);
        EXPECT_EQ(ReadSettingDword("DesktopHotKey"),
                  std::optional<DWORD>(MOD_CONTROL << 16 | VK_F11));
    }
}

// Installed below a folder whose name the system's code page cannot write (Greek and Japanese
// letters on an English system), with a filter file named so too, the program loads its filters
// and its windows offer them.
TEST_F(ProgramTest, UnderAFolderNamedOutsideTheCodePageTheFiltersLoad) {
    Prepare(0);
    ASSERT_TRUE(tree.CopyFilters(ZEZIRIV_SHIPPED_FILTERS, "filter\\system\\"));
    tree.AddFilter("greek", "Greek file name", "filter\\private\\");
    WriteSettingString("EnableFilters", "_normal,protanopia,greek,deutanopia");
    const CWideTreeCopy copy(tree, L"\u0396\u03b5\u03b6\u03af\u03c1\u03b9\u03b2 \u8272\u899a");
    ASSERT_TRUE(copy.IsComplete());
    const std::wstring privateDir = copy.GetDir() + L"filter\\private\\";
    ASSERT_TRUE(MoveFileW((privateDir + L"greek.xml").c_str(),
                          (privateDir + L"\u03c6\u03af\u03bb\u03c4\u03c1\u03bf.xml").c_str()));

    CProgram program(copy.GetExe());
    const HWND frame = program.WaitFrame();
    ASSERT_NE(frame, nullptr);
    PostMessageA(frame, WM_COMMAND, kOpenNewWindowCommand, 0);
    const HWND window = WaitForWindow(program.GetProcessId(), kFilterWindowClass, kStartTimeoutMs);
    ASSERT_NE(window, nullptr);
    const std::vector<MenuItem> items = ReadMenuAfter(
        program.GetProcessId(), [&] { PostMessageA(window, WM_RBUTTONUP, 0, MAKELPARAM(20, 20)); });
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(Texts(items[0].submenu),
              (std::vector<std::string>{"normal\t1", "Protanopia (no red cones)\t2",
                                        "Greek file name\t3", "Deuteranopia (no green cones)\t4"}));
    Exit(program, frame);
}

// The library's setting dialogs and the filter window's menu are used; it has no About box, so
// the program's is.
TEST_F(ProgramTest, DialogsAndMenusComeFromTheLanguageLibraryOrTheProgram) {
    WriteSettingDword("NoSplash", 1);
    InstallLanguageLibrary(ZEZIRIV_E2E_LANG_SAME);
    CProgram program(tree.GetExe());
    const HWND frame = program.WaitFrame();
    ASSERT_NE(frame, nullptr);
    for (const auto& [command, title] : {std::pair{kGeneralSettingCommand, "LANG Setting"},
                                         std::pair{kFilterSettingCommand, "LANG Filter setting"},
                                         std::pair{kAboutCommand, "About"}}) {
        const HWND dialog = OpenDialog(program.GetProcessId(), frame, command, title);
        ASSERT_NE(dialog, nullptr) << title;
        EXPECT_TRUE(CloseDialog(dialog, IDCANCEL));
    }
    PostMessageA(frame, WM_COMMAND, kOpenNewWindowCommand, 0);
    const HWND window = WaitForWindow(program.GetProcessId(), kFilterWindowClass, kStartTimeoutMs);
    ASSERT_NE(window, nullptr);
    const std::vector<MenuItem> items = ReadMenuAfter(
        program.GetProcessId(), [&] { PostMessageA(window, WM_RBUTTONUP, 0, MAKELPARAM(20, 20)); });
    ASSERT_EQ(items.size(), 11u);
    EXPECT_EQ(items[0].text, "LANG &Filter");
    EXPECT_EQ(items[0].submenu.size(), 4u) << "the enabled filters replace the placeholder";
    Exit(program, frame);
}

namespace {

// Asks the notification area to change (NIM_MODIFY) or delete the program's icon: only an
// existing icon can be changed.
bool TrayIcon(DWORD message, HWND frame) {
    NOTIFYICONDATAA data{};
    data.cbSize = sizeof(data);
    data.hWnd = frame;
    data.uID = 100;
    data.uFlags = NIF_TIP;
    std::strcpy(data.szTip, "Zeziriv");
    return Shell_NotifyIconA(message, &data) != FALSE;
}

} // namespace

TEST_F(ProgramTest, TrayIconComesBackWhenTheShellRestarts) {
    WriteSettingDword("NoSplash", 1);
    CProgram program(tree.GetExe());
    const HWND frame = program.WaitFrame();
    ASSERT_NE(frame, nullptr);
    ASSERT_TRUE(WaitFor([&] { return TrayIcon(NIM_MODIFY, frame); }, kStartTimeoutMs));

    // A restarted shell has lost every icon and says so to all top-level windows.
    ASSERT_TRUE(TrayIcon(NIM_DELETE, frame));
    EXPECT_FALSE(TrayIcon(NIM_MODIFY, frame));
    DWORD_PTR result = 0;
    SendMessageTimeoutA(frame, RegisterWindowMessageA("TaskbarCreated"), 0, 0, SMTO_NORMAL, 5000,
                        &result);
    EXPECT_TRUE(WaitFor([&] { return TrayIcon(NIM_MODIFY, frame); }, 5000));

    Exit(program, frame);
    EXPECT_FALSE(TrayIcon(NIM_MODIFY, frame)) << "the icon goes with the program";
}
