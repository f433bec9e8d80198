// Filter windows of the real zeziriv.exe, opened from its tray menu and kept in its settings.
#include "e2e_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace e2e;

namespace {

RECT WindowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

std::string RectText(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," +
           std::to_string(r.right - r.left) + "," + std::to_string(r.bottom - r.top);
}

class FilterWindowProgramTest : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        Prepare(1);
    }

    static std::vector<HWND> FilterWindows(const CProgram& program) {
        return FindWindows(program.GetProcessId(), kFilterWindowClass, nullptr, true);
    }

    // Opens windows from the tray until `count` are on the screen.
    static std::vector<HWND> OpenFromTray(const CProgram& program, HWND frame, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            PostMessageA(frame, WM_COMMAND, kOpenNewWindowCommand, 0);
            EXPECT_TRUE(
                WaitFor([&] { return FilterWindows(program).size() == i + 1; }, kStartTimeoutMs));
        }
        return FilterWindows(program);
    }
};

} // namespace

TEST_F(FilterWindowProgramTest, TrayOpensAWindowWhoseRecordOutlivesTheProgram) {
    CProgram program(tree.GetExe());
    const HWND frame = program.WaitFrame();
    ASSERT_NE(frame, nullptr);
    const std::vector<HWND> windows = OpenFromTray(program, frame, 1);
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_TRUE(
        WaitFor([&] { return ControlText(windows[0]) == "normal - Zeziriv"; }, kStartTimeoutMs));
    const RECT rect = WindowRect(windows[0]);
    EXPECT_EQ(RectText(rect), "0,0,200,200");
    const LONG style = GetWindowLongA(windows[0], GWL_STYLE);
    // The system adds the sibling clipping to every top-level window.
    EXPECT_EQ(static_cast<DWORD>(style) & 0xFFFF0000u & ~DWORD{WS_CLIPSIBLINGS}, 0x90CE0000u);

    Exit(program, frame);
    EXPECT_EQ(ReadSettingString("WindowSetting"),
              std::optional<std::string>("1,0,0,0,0,0,1,0,0,200,200,_normal"));
}

TEST_F(FilterWindowProgramTest, SavedWindowsComeBackAfterARestart) {
    const int step = GetSystemMetrics(SM_CYCAPTION);
    std::vector<std::string> rects;
    {
        CProgram program(tree.GetExe());
        const HWND frame = program.WaitFrame();
        ASSERT_NE(frame, nullptr);
        const std::vector<HWND> windows = OpenFromTray(program, frame, 2);
        ASSERT_EQ(windows.size(), 2u);
        for (HWND w : windows) {
            rects.push_back(RectText(WindowRect(w)));
        }
        std::sort(rects.begin(), rects.end());
        EXPECT_EQ(rects[0], "0,0,200,200");
        EXPECT_EQ(rects[1], std::to_string(step) + "," + std::to_string(step) + ",200,200");
        PostMessageA(frame, WM_COMMAND, kSaveAllCommand, 0);
        Exit(program, frame);
    }
    EXPECT_EQ(ReadSettingDword("MultiWindowSettingNum"), std::optional<DWORD>(2));
    EXPECT_EQ(ReadSettingString("MultiWindowSetting_01"),
              std::optional<std::string>("1,0,0,0,0,0,1,0,0,200,200,_normal"));
    EXPECT_EQ(ReadSettingString("MultiWindowSetting_02"),
              std::optional<std::string>("1,0,0,0,0,0,1," + std::to_string(step) + "," +
                                         std::to_string(step) + ",200,200,_normal"));

    CProgram program(tree.GetExe());
    const HWND frame = program.WaitFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(FilterWindows(program).empty()) << "windows return only when asked";
    PostMessageA(frame, WM_COMMAND, kRestoreAllCommand, 0);
    ASSERT_TRUE(WaitFor([&] { return FilterWindows(program).size() == 2; }, kStartTimeoutMs));
    std::vector<std::string> restored;
    for (HWND w : FilterWindows(program)) {
        restored.push_back(RectText(WindowRect(w)));
    }
    std::sort(restored.begin(), restored.end());
    EXPECT_EQ(restored, rects);

    PostMessageA(frame, WM_COMMAND, kCloseAllCommand, 0);
    EXPECT_TRUE(WaitFor([&] { return FilterWindows(program).empty(); }, kStartTimeoutMs));
    Exit(program, frame);
}

namespace {

// Keys given to an open popup menu, as a user walks it.
void WalkMenu(DWORD process, std::initializer_list<WPARAM> keys) {
    const HWND menu = FindOpenMenu(process);
    for (WPARAM key : keys) {
        PostMessageA(menu != nullptr ? menu : FindOpenMenu(process), WM_KEYDOWN, key, 0);
    }
}

HWND OpenContextMenu(const CProgram& program, HWND window) {
    PostMessageA(window, WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
    HWND menu = nullptr;
    WaitFor([&] { return (menu = FindOpenMenu(program.GetProcessId())) != nullptr; },
            kStartTimeoutMs);
    return menu;
}

} // namespace

TEST_F(FilterWindowProgramTest, ContextMenuChoicesReachTheStoredRecord) {
    tree.AddFilter("deutanopia", "E2E Deutan");
    CProgram program(tree.GetExe());
    const HWND frame = program.WaitFrame();
    ASSERT_NE(frame, nullptr);
    const std::vector<HWND> windows = OpenFromTray(program, frame, 1);
    ASSERT_EQ(windows.size(), 1u);
    const HWND window = windows[0];

    HWND menu = OpenContextMenu(program, window);
    ASSERT_NE(menu, nullptr);
    const std::vector<MenuItem> items = ReadOpenMenu(menu);
    ASSERT_EQ(items.size(), 11u);
    EXPECT_EQ(items[0].text, "&Filter");
    ASSERT_EQ(items[0].submenu.size(), 3u);
    const char* filters[] = {"normal\t1", "E2E Protan\t2", "E2E Deutan\t3"};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(items[0].submenu[i].text, filters[i]);
        EXPECT_EQ(items[0].submenu[i].id, 33500 + i);
        EXPECT_EQ(items[0].submenu[i].checked, i == 0);
    }
    ASSERT_EQ(items[1].submenu.size(), 13u);
    for (std::size_t i = 0; i < 13; ++i) {
        EXPECT_EQ(items[1].submenu[i].checked, i == 1) << items[1].submenu[i].text; // x1
    }
    EXPECT_FALSE(items[2].checked) << items[2].text;
    EXPECT_EQ(items[3].text, "Highlight &look-alikes\tH");
    EXPECT_EQ(items[3].id, 33146u);
    EXPECT_FALSE(items[3].checked) << items[3].text;
    EXPECT_FALSE(items[4].checked) << items[4].text;
    EXPECT_FALSE(items[6].submenu[0].checked) << "topmost";
    EXPECT_TRUE(items[6].submenu[1].checked) << "status bar";
    EXPECT_EQ(items[10].text, "&Close");

    // The third filter: down to the Filter submenu, into it, two down, Enter.
    WalkMenu(program.GetProcessId(), {VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_RETURN});
    EXPECT_TRUE(
        WaitFor([&] { return ControlText(window) == "E2E Deutan - Zeziriv"; }, kStartTimeoutMs));
    // x4: the Zoom submenu's fifth item.
    ASSERT_NE(OpenContextMenu(program, window), nullptr);
    WalkMenu(program.GetProcessId(),
             {VK_DOWN, VK_DOWN, VK_RIGHT, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    ASSERT_TRUE(
        WaitFor([&] { return FindOpenMenu(program.GetProcessId()) == nullptr; }, kStartTimeoutMs));

    menu = OpenContextMenu(program, window);
    ASSERT_NE(menu, nullptr);
    const std::vector<MenuItem> again = ReadOpenMenu(menu);
    ASSERT_EQ(again.size(), 11u);
    EXPECT_TRUE(again[0].submenu[2].checked);
    EXPECT_TRUE(again[1].submenu[4].checked) << again[1].submenu[4].text;
    CloseOpenMenu(program.GetProcessId());

    Exit(program, frame);
    EXPECT_EQ(ReadSettingString("WindowSetting"),
              std::optional<std::string>("4,0,0,0,0,0,1,0,0,200,200,deutanopia"));
}

TEST_F(FilterWindowProgramTest, WindowsAndMenusLeaveNoObjectsBehind) {
    CProgram program(tree.GetExe());
    const HWND frame = program.WaitFrame();
    ASSERT_NE(frame, nullptr);
    auto openAndCloseAll = [&] {
        OpenFromTray(program, frame, 3);
        for (HWND window : FilterWindows(program)) {
            ASSERT_NE(OpenContextMenu(program, window), nullptr);
            CloseOpenMenu(program.GetProcessId());
        }
        PostMessageA(frame, WM_COMMAND, kCloseAllCommand, 0);
        ASSERT_TRUE(WaitFor([&] { return FilterWindows(program).empty(); }, kStartTimeoutMs));
    };
    openAndCloseAll(); // the first round loads what stays for the whole run
    const auto before = CountGuiObjects(frame);
    ASSERT_TRUE(before.has_value());
    for (int round = 0; round < 5; ++round) {
        openAndCloseAll();
    }
    const auto after = CountGuiObjects(frame);
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(after->gdi, before->gdi);
    EXPECT_EQ(after->user, before->user);
    Exit(program, frame);
}
