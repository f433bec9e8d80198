// The filter window driven by real input under Wine: keys and mouse buttons go through
// SendInput, so the Ctrl and Shift state the window reads is the one the user pressed.
#include "features/app_messages.h"
#include "features/filter_window/copy_color_format.h"
#include "features/filter_window/filter_wnd_fixture.h"
#include "platform/utilities.h"
#include "resource.h"

#include <string>
#include <vector>

namespace filter_wnd_test {

namespace {

using win_test::ButtonInput;
using win_test::KeyInput;
using win_test::PressKeys;
using win_test::SendInputs;

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) {
        return "<clipboard busy>";
    }
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const auto* chars = static_cast<const char*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// Lets every queued input and the messages it causes be handled.
void Settle() {
    ASSERT_TRUE(win_test::FlushInput());
}

class FilterWindowInputTest : public FilterWindowTest {
protected:
    CFilterWnd* OpenFocused(const CWindowSetting& record) {
        CFilterWnd* window = OpenAndWait(record);
        if (window != nullptr) {
            SetForegroundWindow(window->GetHwnd());
            SetFocus(window->GetHwnd());
            PumpUntil([&] { return GetForegroundWindow() == window->GetHwnd(); }, 5000);
        }
        return window;
    }
    void TearDown() override {
        // No key may stay down for the next test.
        SendInputs({KeyInput(VK_CONTROL, true), KeyInput(VK_SHIFT, true), KeyInput(VK_MENU, true)});
        SetCursorPos(kCursor.x, kCursor.y);
        FilterWindowTest::TearDown();
    }
};

} // namespace

TEST_F(FilterWindowInputTest, CtrlCCopiesTheFilteredColourAndShiftTheOriginal) {
    GetAppProfile().SetCopyColorFormat("#%02XR%02XG%02XB");
    CFilterWnd* window = OpenFocused(Record("swap", 1, true));
    ASSERT_NE(window, nullptr);
    const ColorValue original = s_pattern->ColourAt(kCursor.x, kCursor.y);
    const ColorValue filtered = GetFilterManager().FindFilter("swap")->Transform(original);

    ASSERT_TRUE(CopyTextToClipboard(nullptr, "untouched"));
    PressKeys({'C'});
    Settle();
    EXPECT_EQ(ClipboardText(), "untouched") << "C alone copies nothing";

    PressKeys({VK_CONTROL, 'C'});
    EXPECT_TRUE(PumpUntil(
        [&] { return ClipboardText() == FormatCopyColor("#%02XR%02XG%02XB", filtered); }, 5000))
        << ClipboardText();
    EXPECT_EQ(GetClipboardOwner(), window->GetHwnd());
    PressKeys({VK_CONTROL, VK_SHIFT, 'C'});
    EXPECT_TRUE(PumpUntil(
        [&] { return ClipboardText() == FormatCopyColor("#%02XR%02XG%02XB", original); }, 5000))
        << ClipboardText();

    // The user's own template, as the window has it since the settings last changed.
    GetAppProfile().SetCopyColorFormat("rgb(%r, %g, %b) 100%%");
    SendMessageA(window->GetHwnd(), WM_APP_SETTINGS_CHANGED, 0, 0);
    PressKeys({VK_CONTROL, 'C'});
    EXPECT_TRUE(PumpUntil(
        [&] {
            return ClipboardText() == "rgb(" + std::to_string(RedOf(filtered)) + ", " +
                                          std::to_string(GreenOf(filtered)) + ", " +
                                          std::to_string(BlueOf(filtered)) + ") 100%";
        },
        5000))
        << ClipboardText();
}

TEST_F(FilterWindowInputTest, CtrlZoomKeysRaiseEveryWindowFromThisWindowsZoom) {
    std::vector<CFilterWnd*> windows;
    for (int zoom : {7, 2, 12}) {
        CWindowSetting record = Record("swap", zoom, false);
        record.WindowRect.left += 100 * static_cast<int>(windows.size());
        record.WindowRect.right += 100 * static_cast<int>(windows.size());
        windows.push_back(OpenAndWait(record));
        ASSERT_NE(windows.back(), nullptr);
    }
    SetForegroundWindow(windows[1]->GetHwnd());
    SetFocus(windows[1]->GetHwnd());
    PressKeys({VK_CONTROL, 'Z'});
    EXPECT_TRUE(PumpUntil(
        [&] {
            for (CFilterWnd* w : windows) {
                if (w->GetModel().GetZoom() != 3) {
                    return false;
                }
            }
            return true;
        },
        5000));
    // Without Ctrl only this window changes.
    PressKeys({VK_SUBTRACT});
    EXPECT_TRUE(PumpUntil([&] { return windows[1]->GetModel().GetZoom() == 2; }, 5000));
    EXPECT_EQ(windows[0]->GetModel().GetZoom(), 3);
    EXPECT_EQ(windows[2]->GetModel().GetZoom(), 3);
}

TEST_F(FilterWindowInputTest, DraggingOutOfTheWindowFixesTheReleasePoint) {
    CFilterWnd* window = OpenFocused(Record("swap", 2, true));
    ASSERT_NE(window, nullptr);
    const HWND hwnd = window->GetHwnd();
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    POINT inside{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};

    // Released inside: nothing changes.
    SetCursorPos(inside.x, inside.y);
    SendInputs({ButtonInput(MOUSEEVENTF_LEFTDOWN)});
    Settle();
    SetCursorPos(inside.x + 5, inside.y + 5);
    SendInputs({ButtonInput(MOUSEEVENTF_LEFTUP)});
    Settle();
    EXPECT_FALSE(window->GetModel().IsFixPosition());

    // Released over the pattern: that point is fixed, and the window keeps showing it. (Pressed
    // away from the last press, or the two would make a double click.)
    const POINT target{kPatternX + 30, kPatternY + 50};
    SetCursorPos(inside.x - 40, inside.y);
    SendInputs({ButtonInput(MOUSEEVENTF_LEFTDOWN)});
    Settle();
    SetCursorPos(target.x, target.y);
    Settle();
    SendInputs({ButtonInput(MOUSEEVENTF_LEFTUP)});
    ASSERT_TRUE(PumpUntil([&] { return window->GetModel().IsFixPosition(); }, 5000));
    EXPECT_EQ(window->GetModel().GetFixedPoint(), (IntPoint{target.x, target.y}));
    SetCursorPos(kCursor.x, kCursor.y);
    EXPECT_TRUE(PumpUntil(
        [&] {
            return StatusText(hwnd, 1) ==
                   std::to_string(target.x) + ", " + std::to_string(target.y);
        },
        5000));
    EXPECT_EQ(window->GetModel().GetOriginalColor(), s_pattern->ColourAt(target.x, target.y));

    // Dragging out again lets the picture follow the cursor until the release.
    SetCursorPos(inside.x + 40, inside.y);
    SendInputs({ButtonInput(MOUSEEVENTF_LEFTDOWN)});
    Settle();
    SetCursorPos(kCursor.x, kCursor.y);
    EXPECT_TRUE(PumpUntil([&] { return !window->GetModel().IsFixPosition(); }, 5000));
    SendInputs({ButtonInput(MOUSEEVENTF_LEFTUP)});
    EXPECT_TRUE(PumpUntil([&] { return window->GetModel().IsFixPosition(); }, 5000));
    EXPECT_EQ(window->GetModel().GetFixedPoint(), (IntPoint{kCursor.x, kCursor.y}));
}

// Which key gives which command is the key table's, and a key's command takes the path the
// Ctrl keys above take; the menu test picks a filter and the mark. Here what only the cursor
// keys, the fix key and the double click do.
TEST_F(FilterWindowInputTest, KeysMoveTheCursorAndFixItAndADoubleClickTogglesTheStatusBar) {
    CFilterWnd* window = OpenFocused(Record("swap", 1, false));
    ASSERT_NE(window, nullptr);
    const HWND hwnd = window->GetHwnd();
    SetCursorPos(kCursor.x, kCursor.y);
    PressKeys({VK_RIGHT});
    PressKeys({VK_CONTROL, VK_DOWN});
    POINT cursor{};
    EXPECT_TRUE(PumpUntil(
        [&] {
            GetCursorPos(&cursor);
            return cursor.x == kCursor.x + 1 && cursor.y == kCursor.y + 8;
        },
        5000))
        << cursor.x << "," << cursor.y;

    PressKeys({'F'});
    EXPECT_TRUE(PumpUntil([&] { return window->GetModel().IsFixPosition(); }, 5000));
    // A double click hides the status bar, another shows it again.
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    for (int round = 0; round < 2; ++round) {
        win_test::Click(rect.left + 40, rect.top + 60, 2);
        const bool shown = round == 1;
        EXPECT_TRUE(PumpUntil([&] { return window->GetModel().IsShowStatusbar() == shown; }, 5000));
    }
}

TEST_F(FilterWindowInputTest, CtrlNOpensATwinOneCaptionFurther) {
    CFilterWnd* window = OpenFocused(Record("seq", 6, true));
    ASSERT_NE(window, nullptr);
    PressKeys({VK_CONTROL, 'N'});
    CWindowCollection& windows = GetWindowCollection();
    ASSERT_TRUE(PumpUntil([&] { return windows.GetCount() == 2; }, 5000));
    CFilterWnd* twin = windows.GetWindows().back();
    const int step = GetSystemMetrics(SM_CYCAPTION);
    const IntRect first = WindowRectOf(window->GetHwnd());
    EXPECT_EQ(WindowRectOf(twin->GetHwnd()), (IntRect{first.left + step, first.top + step,
                                                      first.right + step, first.bottom + step}));
    EXPECT_EQ(twin->GetModel().GetZoom(), 6);
    EXPECT_TRUE(twin->GetModel().IsMarkCenter());
    EXPECT_EQ(Title(twin->GetHwnd()), "Blink - Zeziriv");
}

TEST_F(FilterWindowInputTest, AltF4ClosesOneWindowAndStoresItsRecord) {
    CWindowSetting other = Record("swap", 3, false);
    other.WindowRect = {50, 600, 250, 800};
    ASSERT_TRUE(GetWindowCollection().OpenFilterWindow(&other));
    CFilterWnd* window = OpenFocused(Record("seq", 5, true));
    ASSERT_NE(window, nullptr);
    const std::string record = FormatSetting(window->GetWindowSetting());
    const HWND hwnd = window->GetHwnd();
    PressKeys({VK_MENU, VK_F4});
    ASSERT_TRUE(PumpUntil([&] { return !IsWindow(hwnd); }, 5000));
    EXPECT_EQ(FormatSetting(GetAppProfile().GetWindowSetting()), record);
    EXPECT_EQ(GetWindowCollection().GetCount(), 1);
}

TEST_F(FilterWindowInputTest, MenuCommandsActOnThisWindowOrWithCtrlOnAll) {
    std::vector<CFilterWnd*> windows;
    for (int i = 0; i < 2; ++i) {
        CWindowSetting record = Record("swap", 1, false);
        record.WindowRect.left += 150 * i;
        record.WindowRect.right += 150 * i;
        windows.push_back(OpenAndWait(record));
        ASSERT_NE(windows.back(), nullptr);
    }
    const HWND first = windows[0]->GetHwnd();
    // (A filter and the mark picked from the menu are seen end to end.)
    SendMessageA(first, WM_COMMAND, ID_ZOOM_BASE + 8, 0);
    SendMessageA(first, WM_COMMAND, ID_FILTER_BASE + 7, 0); // no eighth filter
    Settle();
    EXPECT_EQ(windows[0]->GetModel().GetZoom(), 8);
    EXPECT_EQ(Title(first), "Swap - Zeziriv");
    EXPECT_EQ(windows[1]->GetModel().GetZoom(), 1);

    // Ctrl held while the command is handled: every window takes this window's negation.
    SendInputs({KeyInput(VK_CONTROL, false)});
    PumpUntil([] { return GetAsyncKeyState(VK_CONTROL) < 0; }, 2000);
    SendMessageA(first, WM_COMMAND, ID_ZOOM_BASE + 16, 0);
    SendMessageA(first, WM_COMMAND, ID_VIEW_TOPMOST, 0);
    SendInputs({KeyInput(VK_CONTROL, true)});
    EXPECT_TRUE(PumpUntil(
        [&] {
            return windows[1]->GetModel().GetZoom() == 16 && windows[1]->GetModel().IsTopmost() &&
                   windows[0]->GetModel().IsTopmost();
        },
        5000));
    EXPECT_TRUE(GetWindowLongA(windows[1]->GetHwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);

    SendMessageA(first, WM_COMMAND, ID_CLOSE_WINDOW, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(first); }, 5000));
}

} // namespace filter_wnd_test
