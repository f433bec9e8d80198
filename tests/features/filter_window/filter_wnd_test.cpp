// Real filter windows under Wine: what they capture, draw and write, read back from the screen
// and from their controls.
#include "engine/filter/filter.h"
#include "engine/filter/filter_manager.h"
#include "features/app_messages.h"
#include "features/filter_window/filter_wnd_fixture.h"
#include "gui_objects.h"
#include "support/manual_clock.h"

namespace filter_wnd_test {

CPatternWindow* FilterWindowTest::s_pattern = nullptr;

TEST_F(FilterWindowTest, MagnifiesTheFilteredScreenInPixelBlocks) {
    CFilterWnd* window = OpenAndWait(Record("swap", 4, false));
    ASSERT_NE(window, nullptr);
    const HWND hwnd = window->GetHwnd();
    const CFilter* swap = GetFilterManager().FindFilter("swap");
    const CCaptureImage& image = window->GetModel().GetCaptureImage();
    const int w = image.GetWidth();
    const int h = image.GetHeight();
    const int x0 = kCursor.x - (w - 1) / 2;
    const int y0 = kCursor.y - (h - 1) / 2;

    RECT client{};
    GetClientRect(hwnd, &client);
    RECT bar{};
    GetWindowRect(GetDlgItem(hwnd, CFilterWnd::kStatusbarId), &bar);
    POINT barTop{bar.left, bar.top};
    ScreenToClient(hwnd, &barTop);
    const int areaWidth = client.right;
    const int areaHeight = barTop.y;
    EXPECT_EQ(w, (areaWidth + 3) / 4);
    EXPECT_EQ(h, (areaHeight + 3) / 4);

    int mismatches = 0;
    std::string first;
    const bool shown = WaitForPixels(hwnd, [&](const CScreenPixels& pixels) {
        mismatches = 0;
        for (int y = 0; y < areaHeight; ++y) {
            for (int x = 0; x < areaWidth; ++x) {
                const ColorValue expected =
                    swap->Transform(s_pattern->ColourAt(x0 + x / 4, y0 + y / 4));
                if (pixels.At(x, y) != expected && mismatches++ == 0) {
                    first = std::to_string(x) + "," + std::to_string(y);
                }
            }
        }
        return mismatches == 0;
    });
    EXPECT_TRUE(shown) << mismatches << " pixels differ, the first at " << first;
}

// Where the mark goes at other zooms, and that a reduced picture has none, is the geometry test's.
TEST_F(FilterWindowTest, CentreMarkOutlinesTheReferencePixelExactly) {
    CFilterWnd* window = OpenAndWait(Record("swap", 6, true));
    ASSERT_NE(window, nullptr);
    const HWND hwnd = window->GetHwnd();
    const CCaptureImage& image = window->GetModel().GetCaptureImage();
    const int z = 6;
    const int cx = (image.GetWidth() - 1) / 2;
    const int cy = (image.GetHeight() - 1) / 2;
    const int left = cx * z - 1;
    const int top = cy * z - 1;
    const int right = (cx + 1) * z; // inclusive
    const int bottom = (cy + 1) * z;
    const ColorValue centre = window->GetModel().GetFilteredColor();

    std::string wrong;
    const bool marked = WaitForPixels(hwnd, [&](const CScreenPixels& pixels) {
        wrong.clear();
        for (int y = top; y <= bottom; ++y) {
            for (int x = left; x <= right; ++x) {
                const bool corner = (x == left || x == right) && (y == top || y == bottom);
                const bool edge = x == left || x == right || y == top || y == bottom;
                const ColorValue expected =
                    corner ? kCenterMarkCornerColor : (edge ? kCenterMarkColor : centre);
                if (pixels.At(x, y) != expected) {
                    wrong = std::to_string(x) + "," + std::to_string(y);
                    return false;
                }
            }
        }
        return true;
    });
    EXPECT_TRUE(marked) << "first wrong pixel at " << wrong;
}

TEST_F(FilterWindowTest, StatusBarShowsTheReferencePixelAndFollowsTheSettings) {
    CFilterWnd* window = OpenAndWait(Record("swap", 4, true));
    ASSERT_NE(window, nullptr);
    const HWND hwnd = window->GetHwnd();
    // What the parts say is the model's; that they reach the control is read end to end.

    // Parts as laid out for this system: 90, 90 and 40 pixels wide at 96 dpi.
    int edges[4] = {};
    HWND bar = GetDlgItem(hwnd, CFilterWnd::kStatusbarId);
    ASSERT_EQ(SendMessageA(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges)), 4);
    EXPECT_EQ(edges[0], 90);
    EXPECT_EQ(edges[1], 180);
    EXPECT_EQ(edges[2], 220);

    // The display format and layout follow the general settings when they change.
    GetAppProfile().SetWindowColorDisplayFormat(3);
    PostMessageA(hwnd, WM_APP_SETTINGS_CHANGED, 0, 0);
    EXPECT_TRUE(PumpUntil(
        [&] {
            SendMessageA(bar, SB_GETPARTS, 4, reinterpret_cast<LPARAM>(edges));
            return edges[0] == 110;
        },
        kTimeoutMs));

    // Hiding and showing the bar; the picture area grows and shrinks with it.
    PostMessageA(hwnd, WM_APP_SET_STATUSBAR, 0, 0);
    EXPECT_TRUE(
        PumpUntil([&] { return GetDlgItem(hwnd, CFilterWnd::kStatusbarId) == nullptr; }, 5000));
    PostMessageA(hwnd, WM_APP_SET_STATUSBAR, 1, 0);
    EXPECT_TRUE(
        PumpUntil([&] { return GetDlgItem(hwnd, CFilterWnd::kStatusbarId) != nullptr; }, 5000));
    EXPECT_TRUE(window->GetModel().IsShowStatusbar());
}

TEST_F(FilterWindowTest, StatusBarThatCannotBeCreated) {
    CFilterWnd::SetFailStatusbarForTesting(true);
    CWindowCollection& windows = GetWindowCollection();
    const CWindowSetting withBar = Record("swap", 1, false);
    EXPECT_FALSE(windows.OpenFilterWindow(&withBar));
    EXPECT_EQ(windows.GetCount(), 0);
    EXPECT_TRUE(FilterWindowsOnScreen().empty());

    CWindowSetting bare = Record("swap", 1, false);
    bare.ShowStatusbar = false;
    CFilterWnd::SetFailStatusbarForTesting(false);
    CFilterWnd* window = OpenAndWait(bare);
    ASSERT_NE(window, nullptr);
    CFilterWnd::SetFailStatusbarForTesting(true);
    PostMessageA(window->GetHwnd(), WM_APP_SET_STATUSBAR, 1, 0);
    ASSERT_TRUE(win_test::FlushPostedMessages());
    EXPECT_FALSE(window->GetModel().IsShowStatusbar()) << "the bar stays hidden";
    EXPECT_EQ(GetDlgItem(window->GetHwnd(), CFilterWnd::kStatusbarId), nullptr);
}

// How damaged records are placed is the cascade's test; here the collection places them on the
// real screen.
TEST_F(FilterWindowTest, AbsurdRecordsOpenUsableWindowsOnTheScreen) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    for (const IntRect& rect : {IntRect{-5000, -5000, 90000, 90000},
                                IntRect{screenWidth + 50, 10, screenWidth + 250, 210}}) {
        CWindowSetting record = Record("swap", 1, true);
        record.WindowRect = rect;
        ASSERT_TRUE(GetWindowCollection().OpenFilterWindow(&record));
        const HWND hwnd = GetWindowCollection().GetWindows().back()->GetHwnd();
        const IntRect placed = WindowRectOf(hwnd);
        EXPECT_TRUE(placed.left >= 0 && placed.top >= 0 && placed.right <= screenWidth &&
                    placed.bottom <= screenHeight && placed.right - placed.left > 50)
            << placed.left << "," << placed.top << "," << placed.right << "," << placed.bottom;
        EXPECT_TRUE(IsWindowVisible(hwnd));
    }
    // A window shrunk to almost nothing and a minimised one keep running.
    CFilterWnd* tiny = GetWindowCollection().GetWindows().front();
    SetWindowPos(tiny->GetHwnd(), nullptr, 0, 0, 1, 1, SWP_NOZORDER | SWP_NOACTIVATE);
    CFilterWnd* minimised = GetWindowCollection().GetWindows().back();
    ShowWindow(minimised->GetHwnd(), SW_MINIMIZE);
    // A few refresh ticks later (another window captured again), both are still there.
    ASSERT_TRUE(GetWindowCollection().OpenFilterWindow(nullptr));
    const CFilterWnd* normal = GetWindowCollection().GetWindows()[2];
    const std::uint32_t captured = normal->GetModel().GetLastCaptureTime();
    EXPECT_TRUE(
        PumpUntil([&] { return normal->GetModel().GetLastCaptureTime() != captured; }, kTimeoutMs));
    EXPECT_TRUE(IsIconic(minimised->GetHwnd()));
    // A minimised window's record keeps where it will come back.
    const IntRect stored = minimised->GetWindowSetting().WindowRect;
    EXPECT_GE(stored.left, 0);
    EXPECT_GE(stored.top, 0);
}

TEST_F(FilterWindowTest, AtMostTwentyWindowsAndTheTwentyFirstIsRefusedQuietly) {
    CWindowCollection& windows = GetWindowCollection();
    for (int i = 0; i < 20; ++i) {
        ASSERT_TRUE(windows.OpenFilterWindow(nullptr));
    }
    EXPECT_EQ(windows.GetCount(), 20);
    EXPECT_TRUE(windows.OpenFilterWindow(nullptr));
    EXPECT_EQ(windows.GetCount(), 20);
    EXPECT_EQ(FilterWindowsOnScreen().size(), 20u);
}

TEST_F(FilterWindowTest, CloseAllStoresTheLastWindowsRecordForTheNextOne) {
    CWindowCollection& windows = GetWindowCollection();
    for (int i = 0; i < 3; ++i) {
        CWindowSetting record = Record(i == 2 ? "seq" : "swap", i + 2, i == 1);
        record.WindowRect = {100 + 150 * i, 400, 300 + 150 * i, 600};
        ASSERT_TRUE(windows.OpenFilterWindow(&record));
    }
    const CWindowSetting last = windows.GetWindows()[2]->GetWindowSetting();
    windows.CloseAllWindows();
    EXPECT_EQ(windows.GetCount(), 3) << "each leaves when it is destroyed";
    ASSERT_TRUE(PumpUntil([] { return FilterWindowsOnScreen().empty(); }, kTimeoutMs));
    EXPECT_EQ(windows.GetCount(), 0);
    EXPECT_EQ(FormatSetting(GetAppProfile().GetWindowSetting()), FormatSetting(last));

    ASSERT_TRUE(windows.OpenFilterWindow(nullptr));
    CFilterWnd* next = windows.GetWindows().back();
    EXPECT_EQ(WindowRectOf(next->GetHwnd()), last.WindowRect);
    EXPECT_EQ(next->GetModel().GetZoom(), 4);
    EXPECT_EQ(Title(next->GetHwnd()), "Blink - Zeziriv");
}

// Saving every window's record and restoring them after a restart, each at its place, is seen
// end to end; here the empty cases and the windows a restore replaces.
TEST_F(FilterWindowTest, SaveAndRestoreAllWindowStatus) {
    CAppProfile& profile = GetAppProfile();
    CWindowSetting kept = Record("swap", 3, false);
    profile.SetMultiWindowSettings({kept, kept});
    GetWindowCollection().SaveAllWindowStatus(); // nothing open: the stored list stays
    EXPECT_EQ(profile.GetMultiWindowSettings().size(), 2u);

    profile.SetMultiWindowSettings({});
    CWindowCollection& windows = GetWindowCollection();
    ASSERT_TRUE(windows.OpenFilterWindow(nullptr));
    windows.RestoreAllWindowStatus(); // nothing stored: the open window stays
    EXPECT_EQ(windows.GetCount(), 1);

    profile.SetMultiWindowSettings({kept, Record("seq", 1, true), kept});
    const std::string defaultBefore = FormatSetting(profile.GetWindowSetting());
    ASSERT_TRUE(windows.OpenFilterWindow(nullptr));
    windows.RestoreAllWindowStatus();
    EXPECT_EQ(windows.GetCount(), 3);
    ASSERT_TRUE(PumpUntil([] { return FilterWindowsOnScreen().size() == 3; }, kTimeoutMs));
    EXPECT_EQ(Title(windows.GetWindows()[1]->GetHwnd()), "Blink - Zeziriv");
    EXPECT_EQ(FormatSetting(profile.GetWindowSetting()), defaultBefore)
        << "the replaced windows stored nothing";
}

TEST_F(FilterWindowTest, RefreshingForHundredsOfTicksLeaksNoHandles) {
    ManualClock clock(GetTickCount());
    CWindowCollection& windows = GetWindowCollection();
    for (int i = 0; i < 5; ++i) {
        CWindowSetting record = Record(i % 2 == 0 ? "swap" : "seq", i + 1, true);
        record.WindowRect = {400 + 60 * i, 40 + 60 * i, 640 + 60 * i, 240 + 60 * i};
        ASSERT_TRUE(windows.OpenFilterWindow(&record));
    }
    auto tickAll = [&] {
        clock.Advance(50);
        windows.RefreshTick();
        for (CFilterWnd* window : windows.GetWindows()) {
            UpdateWindow(window->GetHwnd());
        }
    };
    // The first two copies (at the first and the third tick) make the shared copy's two
    // surfaces, which stay while windows are open.
    for (int tick = 0; tick < 3; ++tick) {
        tickAll();
    }
    const ProcessGuiObjects before = CountProcessGuiObjects();
    {
        // The counter sees a single object more.
        HPEN pen = CreatePen(PS_SOLID, 1, 0);
        HMENU menu = CreatePopupMenu();
        const ProcessGuiObjects more = CountProcessGuiObjects();
        EXPECT_EQ(more.gdi, before.gdi + 1);
        EXPECT_EQ(more.user, before.user + 1);
        DeleteObject(pen);
        DestroyMenu(menu);
    }
    for (int tick = 1; tick <= 320; ++tick) {
        if (tick % 40 == 0) {
            for (CFilterWnd* window : windows.GetWindows()) {
                SendMessageA(window->GetHwnd(), WM_APP_SET_STATUSBAR,
                             window->GetModel().IsShowStatusbar() ? 0 : 1, 0);
                SendMessageA(window->GetHwnd(), WM_APP_SET_ZOOM,
                             static_cast<WPARAM>(tick % 80 == 0 ? -2 : 7), 0);
            }
        }
        tickAll();
    }
    // Every window ends where it started: status bar shown.
    for (CFilterWnd* window : windows.GetWindows()) {
        EXPECT_TRUE(window->GetModel().IsShowStatusbar());
    }
    const ProcessGuiObjects after = CountProcessGuiObjects();
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
}

} // namespace filter_wnd_test
